#include "EditorFixture.h"

#include "gamedb/ManagerDb.h"
#include "gamedb/Schema.h"

#include <QCheckBox>
#include <QPushButton>
#include <QtTest>

using namespace gamedb;

namespace fixture {

namespace {

std::uint8_t* bytes(QByteArray& a)
{
    return reinterpret_cast<std::uint8_t*>(a.data());
}

void setText(QByteArray& r, const DbFormat& f, const char* field, const QByteArray& text)
{
    writeText(bytes(r), fieldNamed(f.schema, field),
              std::string_view(text.constData(), static_cast<std::size_t>(text.size())));
}

} // namespace

QByteArray managerRecord(const Mgr& m)
{
    const DbFormat& f = kManagerFormat;
    QByteArray r(static_cast<qsizetype>(f.recordSize), '\0');
    writeNumber(bytes(r), fieldNamed(f.schema, "MaID"), m.id);
    setText(r, f, "MaForN", m.first);
    setText(r, f, "MaEft", m.last);
    setText(r, f, "MaForma", m.forma);
    setText(r, f, "MaStyle", m.style);
    writeNumber(bytes(r), fieldNamed(f.schema, "MaRep"), m.rep);
    writeNumber(bytes(r), fieldNamed(f.schema, "MaPlay"), m.play);
    return r;
}

QByteArray namedRecord(const DbFormat& f, int id, const QByteArray& first, const QByteArray& second)
{
    QByteArray r(static_cast<qsizetype>(f.recordSize), '\0');
    writeNumber(bytes(r), f.schema[0], id);
    // The first text field after the ID is the UK long name or the first name; the player's
    // second name follows the first.
    setText(r, f, std::string(f.schema[1].control).c_str(), first);
    if (!second.isEmpty())
        setText(r, f, std::string(f.schema[2].control).c_str(), second);
    return r;
}

QByteArray databaseFile(const DbFormat& f, const QList<QByteArray>& records)
{
    QByteArray file(static_cast<qsizetype>(f.headerSize), '\0');
    for (qsizetype i = 0; i < file.size(); ++i)
        file[i] = static_cast<char>((i * 7 + 3) & 0xFF);
    const auto n = records.size();
    file.append(static_cast<char>(n / 128)).append(static_cast<char>(n % 128));
    file.append("\x11\x22\x33\x44", 4);
    for (const QByteArray& r : records)
        file.append(r);
    return file;
}

Editor::Editor()
{
    config = std::make_unique<AppConfig>(dir.path());
}

QString Editor::path(const DbFormat& f) const
{
    return dir.path() + QLatin1Char('/') +
           QString::fromLatin1(f.fileName.data(), static_cast<qsizetype>(f.fileName.size()));
}

void Editor::write(const DbFormat& f, const QList<QByteArray>& records)
{
    testfiles::writeAll(path(f), databaseFile(f, records));
}

void Editor::writeManagers(const QList<Mgr>& managers)
{
    QList<QByteArray> records;
    for (const Mgr& m : managers)
        records << managerRecord(m);
    write(kManagerFormat, records);
}

TDataEditor& Editor::open()
{
    ed_ = std::make_unique<TDataEditor>(ToolContext{*config, prompts});
    ed_->show();
    return *ed_;
}

void Editor::load(bool managers, bool teams, bool players)
{
    if (!ed_)
        open();
    ed_->ManC->setChecked(managers);
    ed_->TeamC->setChecked(teams);
    ed_->PlayC->setChecked(players);
    QTest::mouseClick(ed_->LoadB, Qt::LeftButton);
}

void Editor::save(bool managers, bool teams, bool players)
{
    ed_->Menu->setCurrentWidget(ed_->SaveTab);
    ed_->ManSa->setChecked(managers);
    ed_->TeamSa->setChecked(teams);
    ed_->PlaySa->setChecked(players);
    QTest::mouseClick(ed_->SaveB, Qt::LeftButton);
}

QStringList Editor::names(QListView* list)
{
    QStringList out;
    for (int i = 0; i < list->model()->rowCount(); ++i)
        out << list->model()->index(i, 0).data().toString();
    return out;
}

int Editor::recordAt(QListView* list, int row)
{
    return list->model()->index(row, 0).data(Qt::UserRole).toInt();
}

int Editor::rowOfRecord(QListView* list, int record)
{
    for (int i = 0; i < list->model()->rowCount(); ++i) {
        if (recordAt(list, i) == record)
            return i;
    }
    return -1;
}

void Editor::clickRow(QListView* list, int row)
{
    const QModelIndex index = list->model()->index(row, 0);
    list->scrollTo(index);
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualRect(index).center());
}

} // namespace fixture

// --- team page --------------------------------------------------------------------------

#include "editor/TeamPage.h"
#include "gamedb/TeamDb.h"

#include <cstring>

namespace fixture {

QByteArray teamRecord(int id, const QByteArray& ukLong)
{
    return namedRecord(kTeamFormat, id, ukLong);
}

void setTeamBytes(QByteArray& record, const char* field, const QByteArray& raw)
{
    const Field& f = fieldNamed(kTeamFormat.schema, field);
    QVERIFY(std::size_t(raw.size()) <= f.width);
    std::memcpy(record.data() + f.offset, raw.constData(), std::size_t(raw.size()));
}

void setTeamText(QByteArray& record, const char* field, const QByteArray& text)
{
    writeText(reinterpret_cast<std::uint8_t*>(record.data()), fieldNamed(kTeamFormat.schema, field),
              std::string_view(text.constData(), std::size_t(text.size())));
}

void setTeamNumber(QByteArray& record, const char* field, long long value)
{
    writeNumber(reinterpret_cast<std::uint8_t*>(record.data()), fieldNamed(kTeamFormat.schema, field), value);
}

void writeTeams(Editor& e, const QList<QByteArray>& records)
{
    e.write(kTeamFormat, records);
}

editor::TeamPage& teamPage(Editor& e)
{
    return *e.ed().TeamTab;
}

const std::uint8_t* teamAt(Editor& e, int number)
{
    return e.ed().TeamTab->table().record(number);
}

} // namespace fixture

// --- player page ------------------------------------------------------------------------

#include "editor/PlayerPage.h"
#include "gamedb/PlayerDb.h"

namespace fixture {

QByteArray playerRecord(int id, const QByteArray& first, const QByteArray& second)
{
    return namedRecord(kPlayerFormat, id, first, second);
}

void setPlayerText(QByteArray& record, const char* field, const QByteArray& text)
{
    writeText(reinterpret_cast<std::uint8_t*>(record.data()), fieldNamed(kPlayerFormat.schema, field),
              std::string_view(text.constData(), std::size_t(text.size())));
}

void setPlayerNumber(QByteArray& record, const char* field, long long value)
{
    const Field& f = fieldNamed(kPlayerFormat.schema, field);
    if (f.encoding == Encoding::PositionFlag) // any byte, as a file may hold it
        record[f.offset] = static_cast<char>(value);
    else
        writeNumber(reinterpret_cast<std::uint8_t*>(record.data()), f, value);
}

void writePlayers(Editor& e, const QList<QByteArray>& records)
{
    e.write(kPlayerFormat, records);
}

editor::PlayerPage& playerPage(Editor& e)
{
    return *e.ed().Player;
}

const std::uint8_t* playerAt(Editor& e, int number)
{
    return e.ed().Player->table().record(number);
}

} // namespace fixture
