#include "EditorFixture.h"

#include "editor/PlayerPage.h"
#include "editor/TeamPage.h"
#include "gamedb/ManagerDb.h"
#include "gamedb/PlayerDb.h"
#include "gamedb/Schema.h"
#include "gamedb/TeamDb.h"

#include <QCheckBox>
#include <QPushButton>
#include <QtTest>

#include <cstring>

using namespace gamedb;

namespace fixture {

namespace {

std::uint8_t* bytes(QByteArray& a)
{
    return reinterpret_cast<std::uint8_t*>(a.data());
}

} // namespace

void setFieldText(QByteArray& record, const DbFormat& f, const char* field, const QByteArray& text)
{
    writeText(bytes(record), fieldNamed(f.schema, field),
              std::string_view(text.constData(), static_cast<std::size_t>(text.size())));
}

void setFieldNumber(QByteArray& record, const DbFormat& f, const char* field, long long value)
{
    writeNumber(bytes(record), fieldNamed(f.schema, field), value);
}

QList<Mgr> fourManagers()
{
    return {
        {0, "Erik", "Borsk", "442A", "PASS", 120, 0},
        {1, "Anna", "Dorm", "VDEF", "LONG", 50, 1},
        {3, "Ola", "Ahlberg", "433N", "CONT", 10, 0},
        {5, "Kari", "Cantu", "", "", 0, 0},
    };
}

QByteArray managerText(const std::uint8_t* record, const char* field)
{
    const auto t = readText(record, fieldNamed(kManagerFormat.schema, field));
    return QByteArray(t.data(), static_cast<qsizetype>(t.size()));
}

QByteArray managerRecord(const Mgr& m)
{
    const DbFormat& f = kManagerFormat;
    QByteArray r(static_cast<qsizetype>(f.recordSize), '\0');
    setFieldNumber(r, f, "MaID", m.id);
    setFieldText(r, f, "MaForN", m.first);
    setFieldText(r, f, "MaEft", m.last);
    setFieldText(r, f, "MaForma", m.forma);
    setFieldText(r, f, "MaStyle", m.style);
    setFieldNumber(r, f, "MaRep", m.rep);
    setFieldNumber(r, f, "MaPlay", m.play);
    return r;
}

QByteArray namedRecord(const DbFormat& f, int id, const QByteArray& first, const QByteArray& second)
{
    QByteArray r(static_cast<qsizetype>(f.recordSize), '\0');
    writeNumber(bytes(r), f.schema[0], id);
    // The first text field after the ID is the UK long name or the first name; the player's
    // second name follows the first.
    setFieldText(r, f, std::string(f.schema[1].control).c_str(), first);
    if (!second.isEmpty())
        setFieldText(r, f, std::string(f.schema[2].control).c_str(), second);
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
    setFieldText(record, kTeamFormat, field, text);
}

void setTeamNumber(QByteArray& record, const char* field, long long value)
{
    setFieldNumber(record, kTeamFormat, field, value);
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

namespace fixture {

QByteArray playerRecord(int id, const QByteArray& first, const QByteArray& second)
{
    return namedRecord(kPlayerFormat, id, first, second);
}

void setPlayerText(QByteArray& record, const char* field, const QByteArray& text)
{
    setFieldText(record, kPlayerFormat, field, text);
}

void setPlayerNumber(QByteArray& record, const char* field, long long value)
{
    const Field& f = fieldNamed(kPlayerFormat.schema, field);
    if (f.encoding == Encoding::PositionFlag) // any byte, as a file may hold it
        record[f.offset] = static_cast<char>(value);
    else
        setFieldNumber(record, kPlayerFormat, field, value);
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
