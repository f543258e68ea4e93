// What a save would write, seen on the real windows: the Save page's summary, the changes
// window's lines, its filters and sorting, reverts with the bytes they leave, and Revert All
// giving the file a save straight after the load writes.
#include "EditorFixture.h"

#include "editor/ChangesWindow.h"
#include "editor/LoadedTables.h"
#include "editor/PlayerPage.h"
#include "editor/TeamPage.h"
#include "gamedb/ManagerDb.h"
#include "gamedb/PlayerDb.h"
#include "gamedb/TeamDb.h"

#include <QCheckBox>
#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTreeView>
#include <QtTest>

using namespace fixture;
using namespace testfiles;
using editor::ChangesWindow;
using gamedb::kManagerFormat;
using Kind = ScriptedPrompts::Kind;

namespace {

void retype(QLineEdit* box, const QString& text)
{
    box->setFocus();
    box->selectAll();
    QTest::keyClicks(box, text);
}

// Every shown line as "Database|Record|ID|Field|Old|New".
QStringList linesOf(ChangesWindow* w)
{
    QStringList out;
    const QAbstractItemModel* m = w->lines();
    for (int row = 0; row < m->rowCount(); ++row) {
        QStringList cells;
        for (int c = 0; c < ChangesWindow::Columns; ++c)
            cells << m->index(row, c).data().toString();
        out << cells.join('|');
    }
    return out;
}

// Ctrl+R on the page as the window system delivers it, so that the shortcut sees it.
ChangesWindow* openWithKeys(Editor& e, QWidget* focus)
{
    QWidget* top = focus->window();
    top->activateWindow();
    if (!QTest::qWaitForWindowActive(top))
        return nullptr;
    focus->setFocus();
    QTest::keyClick(top->windowHandle(), Qt::Key_R, Qt::ControlModifier);
    return e.ed().changesWindow();
}

int rowWhere(ChangesWindow* w, int column, const QString& text)
{
    for (int row = 0; row < w->lines()->rowCount(); ++row) {
        if (w->lines()->index(row, column).data().toString() == text)
            return row;
    }
    return -1;
}

void selectRows(ChangesWindow* w, std::initializer_list<int> rows)
{
    w->ChList->clearSelection();
    for (const int row : rows) {
        QVERIFY(row >= 0);
        w->ChList->selectionModel()->select(w->lines()->index(row, 0),
                                            QItemSelectionModel::Select | QItemSelectionModel::Rows);
    }
}

QByteArray recordBytes(const std::uint8_t* r)
{
    return QByteArray(reinterpret_cast<const char*>(r), qsizetype(kManagerFormat.recordSize));
}

// The records of a manager file as the table holds them after a load.
QByteArray fileRecords(const QString& path)
{
    return readAll(path).mid(qsizetype(kManagerFormat.recordsStart()));
}

QByteArray tableBytes(Editor& e)
{
    const auto& b = e.page().table().bytes();
    return QByteArray(reinterpret_cast<const char*>(b.data()), qsizetype(b.size()));
}

// Ahlberg (3) is shown after the load. His first name is edited, New adds "Zed" (ID 2), and
// Delete removes Dorm (2, ID 1), moving the new record into its place.
void editNewDelete(Editor& e)
{
    auto& p = e.page();
    e.ed().Menu->setCurrentWidget(&p);
    QCOMPARE(p.MaRec->text(), QString("3"));
    retype(p.MaForN, "Olle");
    QTest::mouseClick(p.ManNew, Qt::LeftButton);
    retype(p.MaEft, "Zed");
    Editor::clickRow(p.ManList, Editor::rowOfRecord(p.ManList, 2));
    QCOMPARE(p.MaEft->text(), QString("Dorm"));
    QTest::mouseClick(p.ManDel, Qt::LeftButton);
    QCOMPARE(p.table().count(), 4);
}

} // namespace

class TestChangesWindow : public QObject {
    Q_OBJECT
private slots:
    void saveSummaryAfterEditsNewAndDelete();
    void saveSummaryCountsRecords();
    void linesOfEachKind();
    void sortFilterAndShowOnThePage();
    void captions_data();
    void captions();
    void revertAFieldAnAddedAndADeletedRecord();
    void deletedRecordRefusedWhenTheTableIsFull();
    void revertAllThenSaveWritesTheLoadedFile();
};

void TestChangesWindow::saveSummaryAfterEditsNewAndDelete()
{
    Editor e;
    e.writeManagers(fourManagers());
    e.load();
    TDataEditor& ed = e.ed();
    ed.Menu->setCurrentWidget(ed.SaveTab);
    QCOMPARE(ed.ManSum->text(), QString("Managers: no changes"));
    QCOMPARE(ed.TeamSum->text(), QString()); // not loaded
    QCOMPARE(ed.ManSa->accessibleDescription(), QString("Managers: no changes"));

    // A name typed and not yet stored counts: opening the Save page stores the shown record.
    ed.Menu->setCurrentWidget(ed.Manager);
    retype(e.page().MaForN, "Olle");
    ed.Menu->setCurrentWidget(ed.SaveTab);
    QCOMPARE(ed.ManSum->text(), QString("Managers: 1 changed"));

    editNewDelete(e);
    ed.Menu->setCurrentWidget(ed.SaveTab);
    QCOMPARE(ed.ManSum->text(), QString("Managers: 1 changed, 1 added, 1 deleted"));
    QCOMPARE(e.prompts.asked.size(), 0);

    // A saved table is the new baseline.
    e.save();
    QCOMPARE(e.prompts.texts(Kind::GeneralError), QStringList());
    QCOMPARE(ed.ManSum->text(), QString("Managers: no changes"));
    QVERIFY(!e.page().isModified());
}

// Counts of records, not of fields: one record with two fields edited is one change; a Delete that
// moves the last record into the freed place is one deletion.
void TestChangesWindow::saveSummaryCountsRecords()
{
    Editor e;
    QList<QByteArray> records;
    for (int i = 1; i <= 6; ++i)
        records << playerRecord(i, "First" + QByteArray::number(i), "Second" + QByteArray::number(i));
    writePlayers(e, records);
    e.load(false, false, true);
    TDataEditor& ed = e.ed();
    editor::PlayerPage& p = *ed.Player;
    ed.Menu->setCurrentWidget(ed.SaveTab);
    QCOMPARE(ed.PlaySum->text(), QString("Players: no changes"));
    QCOMPARE(ed.ManSum->text(), QString()); // not loaded

    ed.Menu->setCurrentWidget(&p);
    auto show = [&](int record) {
        Editor::clickRow(p.PlayList, Editor::rowOfRecord(p.PlayList, record));
        QCOMPARE(p.PlRec->text(), QString::number(record));
    };
    show(1);
    retype(p.PlFName, "Edited");
    retype(p.PlAge, "30");
    show(2);
    retype(p.PlFName, "Edited");
    show(3);
    retype(p.PlSName, "Edited");
    show(4);
    ed.Menu->setCurrentWidget(ed.SaveTab);
    QCOMPARE(ed.PlaySum->text(), QString("Players: 3 changed"));

    ed.Menu->setCurrentWidget(&p);
    QTest::mouseClick(p.PlNew, Qt::LeftButton);
    show(5);
    QTest::mouseClick(p.PlDel, Qt::LeftButton); // the new record moves into 5
    show(6);
    QTest::mouseClick(p.PlDel, Qt::LeftButton);
    QCOMPARE(p.table().count(), 5);
    ed.Menu->setCurrentWidget(ed.SaveTab);
    QCOMPARE(ed.PlaySum->text(), QString("Players: 3 changed, 1 added, 2 deleted"));
    QCOMPARE(ed.PlaySa->accessibleDescription(), QString("Players: 3 changed, 1 added, 2 deleted"));
    QCOMPARE(e.prompts.asked.size(), 0);

    e.save(false, false, true);
    QCOMPARE(e.prompts.texts(Kind::GeneralError), QStringList());
    QCOMPARE(ed.PlaySum->text(), QString("Players: no changes"));
}

void TestChangesWindow::linesOfEachKind()
{
    Editor e;
    e.writeManagers(fourManagers());
    e.load();
    editNewDelete(e);
    ChangesWindow* w = openWithKeys(e, e.page().MaForN);
    QVERIFY(w);
    QVERIFY(w->isVisible());
    // The Delete that moved the new record into Dorm's place is one deletion.
    QCOMPARE(linesOf(w),
             (QStringList{"Managers|Zed, |2|(added record)||", "Managers|Ahlberg, Olle|3|First Name|Ola|Olle",
                          "Managers|Dorm, Anna|1|(deleted record)||"}));
    QCOMPARE(w->ChCount->text(), QString("3 of 3 lines"));

    // The window follows the page as it stores: one more field of Ahlberg.
    auto& p = e.page();
    Editor::clickRow(p.ManList, Editor::rowOfRecord(p.ManList, 3));
    retype(p.MaRep, "77");
    Editor::clickRow(p.ManList, Editor::rowOfRecord(p.ManList, 1));
    QVERIFY(linesOf(w).contains("Managers|Ahlberg, Olle|3|Reputation|10|77"));
    // A second Ctrl+R brings the same window back.
    QCOMPARE(openWithKeys(e, p.MaEft), w);
}

void TestChangesWindow::sortFilterAndShowOnThePage()
{
    Editor e;
    e.writeManagers(fourManagers());
    e.load();
    editNewDelete(e);
    e.ed().ReviewBClick();
    ChangesWindow* w = e.ed().changesWindow();
    QHeaderView* header = w->ChList->header();
    auto clickHeader = [&](int column) {
        QTest::mouseClick(header->viewport(), Qt::LeftButton, {},
                          QPoint(header->sectionViewportPosition(column) + 5, header->height() / 2));
    };
    clickHeader(ChangesWindow::Record);
    auto column = [&](int c) {
        QStringList out;
        for (int row = 0; row < w->lines()->rowCount(); ++row)
            out << w->lines()->index(row, c).data().toString();
        return out;
    };
    QCOMPARE(column(ChangesWindow::Record), (QStringList{"Ahlberg, Olle", "Dorm, Anna", "Zed, "}));
    clickHeader(ChangesWindow::Id);
    QCOMPARE(column(ChangesWindow::Id), (QStringList{"1", "2", "3"}));
    clickHeader(ChangesWindow::Id);
    QCOMPARE(column(ChangesWindow::Id), (QStringList{"3", "2", "1"}));

    w->ChRecord->setText("DORM");
    QCOMPARE(column(ChangesWindow::Record), QStringList{"Dorm, Anna"});
    w->ChRecord->setText("3");
    QCOMPARE(column(ChangesWindow::Record), QStringList{"Ahlberg, Olle"});
    QCOMPARE(w->ChCount->text(), QString("1 of 3 lines"));
    w->ChDb->setCurrentIndex(w->ChDb->findText("Teams"));
    QCOMPARE(w->lines()->rowCount(), 0);
    w->ChDb->setCurrentIndex(w->ChDb->findText("Managers"));
    w->ChRecord->clear();
    QCOMPARE(w->lines()->rowCount(), 3);

    // A double-click shows the record on its page, its line current, after a Search too.
    e.ed().Menu->setCurrentWidget(e.ed().SaveTab);
    e.prompts.textAnswers << QString("Borsk");
    QTest::mouseClick(e.page().ManSrc, Qt::LeftButton);
    QCOMPARE(Editor::names(e.page().ManList), QStringList{"Borsk, Erik"});
    const QModelIndex zed = w->lines()->index(rowWhere(w, ChangesWindow::Record, "Zed, "), 0);
    w->ChList->scrollTo(zed);
    // A real double click: the first click, then the second one arriving as a double click.
    QTest::mouseClick(w->ChList->viewport(), Qt::LeftButton, {}, w->ChList->visualRect(zed).center());
    QTest::mouseDClick(w->ChList->viewport(), Qt::LeftButton, {}, w->ChList->visualRect(zed).center());
    QCOMPARE(e.ed().Menu->currentWidget(), e.ed().Manager);
    QCOMPARE(e.page().MaRec->text(), QString("2"));
    QCOMPARE(e.page().MaEft->text(), QString("Zed"));
    QCOMPARE(Editor::recordAt(e.page().ManList, e.page().ManList->currentIndex().row()), 2);
}

void TestChangesWindow::captions_data()
{
    QTest::addColumn<int>("page");
    QTest::addColumn<QByteArray>("field");
    QTest::addColumn<QString>("caption");
    QTest::newRow("captioned box") << 0 << QByteArray("MaForN") << "First Name";
    QTest::newRow("check box") << 0 << QByteArray("MaPlay") << "Player Manager";
    QTest::newRow("ID label") << 0 << QByteArray("MaID") << "Unique ID";
    QTest::newRow("language slot") << 1 << QByteArray("TeLong1") << "Ita Long";
    // The short names' selector shows the long names' entries; a changes line tells them apart.
    QTest::newRow("short name slot") << 1 << QByteArray("TeShort1") << "Ita Short";
    QTest::newRow("colour slot") << 1 << QByteArray("TeColor2") << "Secondary Away Colour";
    QTest::newRow("drop-down") << 1 << QByteArray("TeLDivi") << "Last Division";
    QTest::newRow("position") << 2 << QByteArray("PlSup") << "Support";
    QTest::newRow("rating") << 2 << QByteArray("PlMSk2") << "Potential";
}

void TestChangesWindow::captions()
{
    QFETCH(int, page);
    QFETCH(QByteArray, field);
    QFETCH(QString, caption);
    Editor e;
    e.open();
    const editor::RecordPage* p = e.ed().loadedTables().page(page);
    QCOMPARE(p->fieldCaption(gamedb::fieldNamed(p->table().format().schema, field.toStdString())), caption);
}

void TestChangesWindow::revertAFieldAnAddedAndADeletedRecord()
{
    Editor e;
    QList<QByteArray> records;
    for (const Mgr& m : fourManagers())
        records << managerRecord(m);
    // Ahlberg's first name as loaded carries bytes after its end that no page shows.
    records[2].replace(4, 9, QByteArray("Ola\0junk!", 9));
    e.write(kManagerFormat, records);
    e.load();
    const QByteArray loaded = fileRecords(e.path(kManagerFormat));
    auto& p = e.page();
    e.ed().Menu->setCurrentWidget(&p);
    retype(p.MaForN, "Olle");
    ChangesWindow* w = openWithKeys(e, p.MaForN);
    QCOMPARE(linesOf(w), QStringList{"Managers|Ahlberg, Olle|3|First Name|Ola|Olle"});
    selectRows(w, {0});
    QTest::mouseClick(w->ChRevert, Qt::LeftButton);
    QCOMPARE(recordBytes(e.record(3)), loaded.mid(2 * 248, 248));
    QCOMPARE(p.MaForN->text(), QString("Ola"));
    QCOMPARE(linesOf(w), QStringList());
    QVERIFY(!p.isModified());

    // An added record goes as Delete removes it; the page shows what it showed.
    QTest::mouseClick(p.ManNew, Qt::LeftButton);
    retype(p.MaEft, "Zed");
    Editor::clickRow(p.ManList, Editor::rowOfRecord(p.ManList, 1));
    QCOMPARE(linesOf(w), QStringList{"Managers|Zed, |2|(added record)||"});
    selectRows(w, {0});
    QTest::mouseClick(w->ChRevert, Qt::LeftButton);
    QCOMPARE(p.table().count(), 4);
    // New stored Ahlberg's page first: his name's stray bytes were tidied, which is no change.
    QByteArray tidied = loaded;
    tidied.replace(2 * 248 + 4, 9, QByteArray(9, '\0').replace(0, 3, "Ola"));
    QCOMPARE(tableBytes(e), tidied);
    QCOMPARE(p.MaRec->text(), QString("1"));
    QCOMPARE(Editor::names(p.ManList), (QStringList{"Ahlberg, Ola", "Borsk, Erik", "Cantu, Kari", "Dorm, Anna"}));
    QVERIFY(!p.isModified());

    // A deleted record comes back at the end with its loaded bytes; a field edit stays.
    Editor::clickRow(p.ManList, Editor::rowOfRecord(p.ManList, 2));
    QTest::mouseClick(p.ManDel, Qt::LeftButton); // Cantu (4) moves into 2
    Editor::clickRow(p.ManList, Editor::rowOfRecord(p.ManList, 1));
    retype(p.MaEft, "Borg");
    e.ed().Menu->setCurrentWidget(e.ed().SaveTab);
    QCOMPARE(e.ed().ManSum->text(), QString("Managers: 1 changed, 1 deleted"));
    QCOMPARE(linesOf(w),
             (QStringList{"Managers|Borg, Erik|0|Last Name|Borsk|Borg", "Managers|Dorm, Anna|1|(deleted record)||"}));
    selectRows(w, {1});
    QTest::mouseClick(w->ChRevert, Qt::LeftButton);
    QCOMPARE(p.table().count(), 4);
    QCOMPARE(recordBytes(e.record(4)), loaded.mid(248, 248));
    QCOMPARE(recordBytes(e.record(2)), loaded.mid(3 * 248, 248));
    QCOMPARE(linesOf(w), QStringList{"Managers|Borg, Erik|0|Last Name|Borsk|Borg"});
    // The Save page, where the revert happened, follows at once; the mark stays for the edit.
    QCOMPARE(e.ed().ManSum->text(), QString("Managers: 1 changed"));
    QVERIFY(p.isModified());
    QVERIFY(Editor::names(p.ManList).contains("Dorm, Anna"));
    QCOMPARE(e.prompts.asked.size(), 0);
}

// A table with IDs 0..998 and 5000: Delete of 5000 and New (ID 999) leave it full with a deletion.
void TestChangesWindow::deletedRecordRefusedWhenTheTableIsFull()
{
    Editor e;
    QList<QByteArray> records;
    for (int i = 0; i < 1000; ++i)
        records << managerRecord({i < 999 ? i : 5000, "A", "M" + QByteArray::number(i), "", "", 0, 0});
    e.write(kManagerFormat, records);
    e.load();
    auto& p = e.page();
    e.ed().Menu->setCurrentWidget(&p);
    Editor::clickRow(p.ManList, Editor::rowOfRecord(p.ManList, 1000));
    QTest::mouseClick(p.ManDel, Qt::LeftButton);
    QTest::mouseClick(p.ManNew, Qt::LeftButton);
    QVERIFY(p.table().full());
    e.ed().ReviewBClick();
    ChangesWindow* w = e.ed().changesWindow();
    QCOMPARE(linesOf(w), (QStringList{"Managers|, |999|(added record)||", "Managers|M999, A|5000|(deleted record)||"}));
    const QByteArray before = tableBytes(e);
    selectRows(w, {1});
    QTest::mouseClick(w->ChRevert, Qt::LeftButton);
    QCOMPARE(e.prompts.texts(Kind::Notice), QStringList{p.limitMessage()});
    QCOMPARE(tableBytes(e), before);
    QCOMPARE(w->lines()->rowCount(), 2);
    // Taken back together, the added record makes the room.
    e.prompts.clear();
    selectRows(w, {0, 1});
    QTest::mouseClick(w->ChRevert, Qt::LeftButton);
    QCOMPARE(e.prompts.asked.size(), 0);
    QCOMPARE(linesOf(w), QStringList());
}

// Edits, New, Delete, an import-like change of bytes nothing shows: Revert All, and the save
// writes what a save straight after the load writes.
void TestChangesWindow::revertAllThenSaveWritesTheLoadedFile()
{
    QList<QByteArray> records;
    for (const Mgr& m : fourManagers())
        records << managerRecord(m);
    records[0].replace(134, 2, QByteArray("\x00\x85", 2)); // a reputation of 133 not in its ordinary form
    records[1].replace(4, 8, QByteArray("Anna\0xyz", 8));

    Editor plain;
    plain.write(kManagerFormat, records);
    plain.load();
    plain.save();
    const QByteArray straight = readAll(plain.path(kManagerFormat));

    Editor e;
    e.write(kManagerFormat, records);
    e.load();
    const QByteArray loaded = tableBytes(e);
    editNewDelete(e);
    auto& p = e.page();
    Editor::clickRow(p.ManList, Editor::rowOfRecord(p.ManList, 1)); // shows and stores: tidies
    Editor::clickRow(p.ManList, Editor::rowOfRecord(p.ManList, 3));
    ChangesWindow* w = openWithKeys(e, p.ManList);
    QCOMPARE(w->lines()->rowCount(), 3);
    e.prompts.confirmAnswers << false;
    QTest::mouseClick(w->ChRevertAll, Qt::LeftButton);
    QCOMPARE(e.prompts.texts(Kind::Confirm),
             QStringList{"Put Managers back exactly as loaded? Every change not saved is lost."});
    QCOMPARE(w->lines()->rowCount(), 3);
    e.prompts.confirmAnswers << true;
    QTest::mouseClick(w->ChRevertAll, Qt::LeftButton);
    QCOMPARE(tableBytes(e), loaded);
    QCOMPARE(w->lines()->rowCount(), 0);
    QVERIFY(!p.isModified());
    QCOMPARE(Editor::names(p.ManList), (QStringList{"Ahlberg, Ola", "Borsk, Erik", "Cantu, Kari", "Dorm, Anna"}));

    e.save();
    QCOMPARE(e.prompts.texts(Kind::GeneralError), QStringList());
    QCOMPARE(readAll(e.path(kManagerFormat)), straight);
}

QTEST_MAIN(TestChangesWindow)
#include "tst_changeswindow.moc"
