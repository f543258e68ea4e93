// The lists' context menu: export of the table as it stands (unsaved edits included), import into
// the in-memory table with the modified mark set, refusals that change nothing, cancelled dialogs.
#include "EditorFixture.h"

#include "editor/PlayerPage.h"
#include "gamedb/Csv.h"
#include "gamedb/Database.h"
#include "gamedb/PlayerDb.h"

#include <QAction>
#include <QApplication>
#include <QContextMenuEvent>
#include <QLineEdit>
#include <QMenu>
#include <QTimer>
#include <QtTest>

using namespace gamedb;
using Kind = ScriptedPrompts::Kind;

namespace {

const QString kFilter = "CSV files (*.csv);;All files (*)";

// Opens the list's context menu as a right click does and clicks the entry with this text.
void chooseFromContextMenu(QListView* list, const QString& text)
{
    QStringList offered;
    bool clicked = false;
    QTimer::singleShot(0, list, [&] {
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        if (!menu)
            return;
        for (QAction* a : menu->actions()) {
            offered << a->text();
            if (a->text() == text && !clicked) {
                clicked = true;
                QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(a).center());
            }
        }
        if (!clicked)
            menu->close();
    });
    const QPoint pos = list->viewport()->rect().center();
    QContextMenuEvent event(QContextMenuEvent::Mouse, pos, list->viewport()->mapToGlobal(pos));
    QApplication::sendEvent(list->viewport(), &event);
    QCOMPARE(offered, QStringList({"Export to CSV\u2026", "Import from CSV\u2026", "Browse in a Table\u2026"}));
    QVERIFY(clicked);
}

QList<QByteArray> threePlayers()
{
    return {fixture::namedRecord(kPlayerFormat, 10, "Anna", "Berg"),
            fixture::namedRecord(kPlayerFormat, 11, "Carl", "Dahl"),
            fixture::namedRecord(kPlayerFormat, 12, "Eva", "Falk")};
}

RecordTable loadFile(const QString& folder)
{
    RecordTable t(kPlayerFormat);
    NoProgress progress;
    NoPage page;
    loadDatabase(t, folder, progress, page);
    return t;
}

} // namespace

class TestCsvMenu : public QObject {
    Q_OBJECT
private slots:
    void everyListOffersTheMenu();
    void exportIncludesUnsavedEdits();
    void importUpdatesTableListAndMark();
    void refusedImportChangesNothing();
    void cancelledDialogsDoNothing();

private:
    // Players loaded; the player page on top.
    void openPlayers(fixture::Editor& e);
    QListView* playList(fixture::Editor& e) { return e.ed().findChild<QListView*>("PlayList"); }
};

void TestCsvMenu::openPlayers(fixture::Editor& e)
{
    e.write(kPlayerFormat, threePlayers());
    e.load(false, false, true);
    e.ed().Menu->setCurrentWidget(e.ed().Player);
    QVERIFY(!e.ed().Player->isModified());
}

void TestCsvMenu::everyListOffersTheMenu()
{
    fixture::Editor e;
    e.open();
    for (const char* name : {"ManList", "TeamList", "PlayList"}) {
        auto* list = e.ed().findChild<QListView*>(name);
        QVERIFY2(list, name);
        QCOMPARE(list->contextMenuPolicy(), Qt::ActionsContextMenu);
        QStringList names;
        for (QAction* a : list->actions())
            names << a->objectName();
        QCOMPARE(names, QStringList({"ExportCsv", "ImportCsv", "BrowseTable"}));
    }
}

void TestCsvMenu::exportIncludesUnsavedEdits()
{
    fixture::Editor e;
    openPlayers(e);
    const QByteArray gameFile = testfiles::readAll(e.path(kPlayerFormat));
    auto* age = e.ed().findChild<QLineEdit*>("PlAge");
    QVERIFY(age);
    age->selectAll();
    QTest::keyClicks(age, "33"); // typed into record 1, not stored yet

    const QString csvPath = e.dir.path() + "/players.csv";
    e.prompts.fileAnswers = {csvPath};
    chooseFromContextMenu(playList(e), "Export to CSV\u2026");
    QCOMPARE(e.prompts.texts(Kind::SaveFile), QStringList({"Export to CSV|players.csv|" + kFilter}));
    QCOMPARE(e.prompts.texts(Kind::GeneralError), QStringList());

    const QList<QByteArray> lines = testfiles::readAll(csvPath).split('\n');
    QCOMPARE(lines.size(), 5); // header, three records, nothing after the last line end
    QVERIFY(lines[0].startsWith("\xEF\xBB\xBFrecord,id,first_name,second_name,"));
    QCOMPARE(lines[1].split(',').mid(0, 4), QList<QByteArray>({"1", "10", "Anna", "Berg"}));
    QCOMPARE(lines[1].split(',').at(11), QByteArray("33"));
    QCOMPARE(lines[2].split(',').at(11), QByteArray("0"));
    // Export saves nothing.
    QCOMPARE(testfiles::readAll(e.path(kPlayerFormat)), gameFile);
}

void TestCsvMenu::importUpdatesTableListAndMark()
{
    fixture::Editor e;
    openPlayers(e);
    const QByteArray gameFile = testfiles::readAll(e.path(kPlayerFormat));
    auto* age = e.ed().findChild<QLineEdit*>("PlAge");
    age->selectAll();
    QTest::keyClicks(age, "33"); // record 1, shown and not stored: the import must not lose it

    const QString csvPath = e.dir.path() + "/sheet.csv";
    testfiles::writeAll(csvPath, "record,first_name,second_name,age\r\n"
                                 "2,Carl,Zander,40\r\n"
                                 ",Nils,Olsen,19\r\n");
    e.prompts.fileAnswers = {csvPath};
    chooseFromContextMenu(playList(e), "Import from CSV\u2026");
    QCOMPARE(e.prompts.texts(Kind::OpenFile), QStringList({"Import from CSV|" + kFilter}));
    QCOMPARE(e.prompts.texts(Kind::GeneralError), QStringList());

    QVERIFY(e.ed().Player->isModified());
    QCOMPARE(fixture::Editor::names(playList(e)),
             QStringList({"Berg, Anna", "Falk, Eva", "Olsen, Nils", "Zander, Carl"}));
    QCOMPARE(e.ed().findChild<QLineEdit*>("PlFName")->text(), "Anna"); // the first line's record
    QCOMPARE(age->text(), "33");
    QCOMPARE(testfiles::readAll(e.path(kPlayerFormat)), gameFile); // nothing saved yet

    e.save(false, false, true);
    QVERIFY(!e.ed().Player->isModified());
    const RecordTable saved = loadFile(e.dir.path());
    QCOMPARE(saved.count(), 4);
    const Schema s = kPlayerFormat.schema;
    QCOMPARE(readNumber(saved.record(1), fieldNamed(s, "PlAge")), 33);
    QCOMPARE(readText(saved.record(2), fieldNamed(s, "PlSName")), "Zander");
    QCOMPARE(readNumber(saved.record(2), fieldNamed(s, "PlAge")), 40);
    QCOMPARE(readNumber(saved.record(4), fieldNamed(s, "PlID")), 0); // smallest free ID
    QCOMPARE(readText(saved.record(4), fieldNamed(s, "PlFName")), "Nils");
}

void TestCsvMenu::refusedImportChangesNothing()
{
    fixture::Editor e;
    openPlayers(e);
    const std::vector<std::uint8_t> before = e.ed().Player->table().bytes();
    const QStringList namesBefore = fixture::Editor::names(playList(e));

    const QString csvPath = e.dir.path() + "/sheet.csv";
    testfiles::writeAll(csvPath, "record,second_name,age\n3,Nilsson,30\n1,Berg,300\n");
    e.prompts.fileAnswers = {csvPath};
    chooseFromContextMenu(playList(e), "Import from CSV\u2026");
    QCOMPARE(e.prompts.texts(Kind::GeneralError),
             QStringList({"line 3, column age: '300' does not fit this field: allowed are 0 to 255."}));
    QVERIFY(e.ed().Player->table().bytes() == before);
    QCOMPARE(fixture::Editor::names(playList(e)), namesBefore);
    QVERIFY(!e.ed().Player->isModified());
}

void TestCsvMenu::cancelledDialogsDoNothing()
{
    fixture::Editor e;
    openPlayers(e);
    const std::vector<std::uint8_t> before = e.ed().Player->table().bytes();
    e.prompts.fileAnswers = {std::nullopt, std::nullopt};
    chooseFromContextMenu(playList(e), "Export to CSV\u2026");
    chooseFromContextMenu(playList(e), "Import from CSV\u2026");
    QCOMPARE(e.prompts.texts(Kind::SaveFile).size(), 1);
    QCOMPARE(e.prompts.texts(Kind::OpenFile).size(), 1);
    QCOMPARE(e.prompts.texts(Kind::GeneralError), QStringList());
    QVERIFY(e.ed().Player->table().bytes() == before);
    QVERIFY(!e.ed().Player->isModified());
    QCOMPARE(testfiles::filesIn(e.dir.path()), QStringList({"Players.db1"}));
}

QTEST_MAIN(TestCsvMenu)
#include "tst_csvmenu.moc"
