// The table window on a data editor's own table: headers and values as the pages show them,
// sorting, the filter boxes, editing in place by the page's rules, the page and the table following
// each other, going to a record, the filtered export.
#include "EditorFixture.h"
#include "WindowSystem.h"

#include "editor/FilterHeader.h"
#include "editor/PlayerPage.h"
#include "editor/RecordTableModel.h"
#include "editor/TableWindow.h"
#include "editor/TeamPage.h"
#include "gamedb/Csv.h"
#include "gamedb/GameError.h"
#include "gamedb/GameText.h"
#include "gamedb/ManagerDb.h"
#include "gamedb/PlayerDb.h"
#include "gamedb/TeamDb.h"
#include "widgets/Prompts.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QCollator>
#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QPointer>
#include <QPushButton>
#include <QTableView>
#include <QtTest>

#include <algorithm>
#include <cstring>

using namespace gamedb;
using fixture::Editor;
using Kind = ScriptedPrompts::Kind;

namespace {

// The page's own action, as the list's context menu and Ctrl+B trigger it.
editor::TableWindow* openTable(Editor& e, editor::RecordPage* page)
{
    auto* browse = page->findChild<QAction*>("BrowseTable");
    if (!browse)
        return nullptr;
    browse->trigger();
    const auto all = std::array<editor::RecordPage*, 3>{e.ed().Manager, e.ed().TeamTab, e.ed().Player};
    return e.ed().tableWindow(int(std::find(all.begin(), all.end(), page) - all.begin()));
}

QString cell(editor::TableWindow* w, int row, int column)
{
    return w->model()->index(row, column).data().toString();
}

int checkState(editor::TableWindow* w, int row, int column)
{
    return w->model()->index(row, column).data(Qt::CheckStateRole).toInt();
}

// The column of a schema field by control name.
int columnOf(editor::TableWindow* w, const char* control)
{
    for (int c = 1; c < w->model()->columnCount(); ++c) {
        if (w->model()->fieldOf(c)->control == control)
            return c;
    }
    return -1;
}

QList<int> shownRecords(editor::TableWindow* w)
{
    const auto& rows = w->model()->rows();
    return QList<int>(rows.begin(), rows.end());
}

void clickHeader(editor::TableWindow* w, int column)
{
    QHeaderView* h = w->TableHeader;
    w->TableView->scrollTo(w->model()->index(0, column));
    const QPoint at(h->sectionViewportPosition(column) + h->sectionSize(column) / 2, 5);
    QTest::mouseClick(h->viewport(), Qt::LeftButton, {}, at);
}

// Keys as the window system delivers them: to whatever has the focus.
void type(const QString& keys)
{
    for (const QChar c : keys)
        QTest::keyClick(QApplication::focusWidget(), c.toLatin1());
}

// Return commits an editor's value once the editor has seen the key, from the event loop.
void commit(QWidget* editor)
{
    QTest::keyClick(editor, Qt::Key_Return);
    QCoreApplication::processEvents();
}

void activate(QWidget* w)
{
    w->activateWindow();
    QTRY_VERIFY(w->isActiveWindow());
}

// Four players: pace 18, 12, 20, 5; age 20, 25, 19, 33; positions 0, 2, 1, 0.
QList<QByteArray> fourPlayers()
{
    QList<QByteArray> out;
    const char* const first[] = {"Erik", "Anna", "Ola", "Kari"};
    const char* const second[] = {"Borsk", "Dorm", "Ahlberg", "Cantu"};
    const int pace[] = {18, 12, 20, 5};
    const int age[] = {20, 25, 19, 33};
    const int keeper[] = {0, 2, 1, 0};
    for (int i = 0; i < 4; ++i) {
        QByteArray r = fixture::playerRecord(10 + i, first[i], second[i]);
        fixture::setPlayerNumber(r, "PlSk16", pace[i]);
        fixture::setPlayerNumber(r, "PlAge", age[i]);
        fixture::setPlayerNumber(r, "PlGK", keeper[i]);
        fixture::setPlayerText(r, "PlClub", i % 2 ? "Oslo FC" : "Braadford Town");
        out << r;
    }
    return out;
}

} // namespace

class TestTableWindow : public QObject {
    Q_OBJECT
private slots:
    void tableOfALoadedPage();
    void slotFieldsAreHeadedByTheirSelectorsEntry_data();
    void slotFieldsAreHeadedByTheirSelectorsEntry();
    void closesWithItsDataEditor();
    void sortsByNumberAndByText();
    void textSortIsTheCollatorsOrder();
    void filterExpressions_data();
    void filterExpressions();
    void filterBoxesFromTheKeyboard();
    void editRefusedAndAccepted();
    void refusedOnTheRealMessageBox();
    void editStoresThePageFirst();
    void typingStartsAnEditThatReplacesTheValue();
    void checkBoxesEditAsThePageDoes();
    void pageEditsNewAndDeleteShowInTheTable();
    void ctrlEnterShowsTheRecordOnThePage();
    void exportsTheRowsShown();

private:
    editor::TableWindow* openPlayers(Editor& e);
};

editor::TableWindow* TestTableWindow::openPlayers(Editor& e)
{
    fixture::writePlayers(e, fourPlayers());
    e.load(false, false, true);
    return openTable(e, e.ed().Player);
}

void TestTableWindow::tableOfALoadedPage()
{
    Editor e;
    e.writeManagers(fixture::fourManagers());
    e.load();
    editor::TableWindow* w = openTable(e, e.ed().Manager);
    QVERIFY(w);
    QCOMPARE(w->windowTitle(), QString("Managers \u2014 Table"));
    QCOMPARE(w->TableCount->text(), QString("4 of 4 managers"));
    QCOMPARE(w->TableCount->accessibleName(), QString("4 of 4 managers"));
    QAbstractItemModel* m = w->model();
    QCOMPARE(m->columnCount(), int(kManagerFormat.schema.size()) + 1);
    QStringList headers;
    for (int c = 0; c < 6; ++c)
        headers << m->headerData(c, Qt::Horizontal).toString();
    QCOMPARE(headers,
             QStringList({"Record", "Unique ID", "First Name", "Last Name", "Nationality", "Years Of Experience"}));
    QCOMPARE(m->headerData(0, Qt::Horizontal, Qt::ToolTipRole).toString(), QString("record"));
    QCOMPARE(m->headerData(4, Qt::Horizontal, Qt::ToolTipRole).toString(), QString("nationality"));
    QCOMPARE(m->headerData(columnOf(w, "MaMot"), Qt::Horizontal).toString(), QString("Motivating Ability"));
    QCOMPARE(m->headerData(columnOf(w, "MaPlay"), Qt::Horizontal).toString(), QString("Player Manager"));
    // Record order; numbers decoded, texts as shown, codes as their entries, flags checked.
    QCOMPARE(cell(w, 0, 0), QString("1"));
    QCOMPARE(cell(w, 1, 1), QString("1"));
    QCOMPARE(cell(w, 0, 3), QString("Borsk"));
    QCOMPARE(cell(w, 0, columnOf(w, "MaForma")), QString("4-4-2 Attacking"));
    QCOMPARE(cell(w, 0, columnOf(w, "MaRep")), QString("120"));
    QCOMPARE(checkState(w, 1, columnOf(w, "MaPlay")), int(Qt::Checked));
    QCOMPARE(checkState(w, 0, columnOf(w, "MaPlay")), int(Qt::Unchecked));
    // The filter boxes read as their columns.
    QCOMPARE(w->filterBox(3)->accessibleName(), QString("Last Name filter"));
    QVERIFY(w->filterBox(3)->isVisible());
    // Opened again, the same window comes to the front.
    QCOMPARE(openTable(e, e.ed().Manager), w);
}

void TestTableWindow::slotFieldsAreHeadedByTheirSelectorsEntry_data()
{
    QTest::addColumn<QString>("control");
    QTest::addColumn<QString>("header");
    QTest::addColumn<QString>("tooltip");
    QTest::newRow("long name") << "TeLong1"
                               << "Ita Long"
                               << "long_name_ita";
    // The short names' selector shows the long names' entries: its columns are told apart.
    QTest::newRow("short name") << "TeShort1"
                                << "Ita Short"
                                << "short_name_ita";
    QTest::newRow("first short name") << "TeShort0"
                                      << "UK Short"
                                      << "short_name_eng";
    QTest::newRow("last short name") << "TeShort6"
                                     << "Dut Short"
                                     << "short_name_dut";
    QTest::newRow("description") << "TeDesc2"
                                 << "Ger Description"
                                 << "description_ger";
    QTest::newRow("colour") << "TeColor2"
                            << "Secondary Away Colour"
                            << "colour_secondary_away";
    QTest::newRow("gender") << "TeGend0"
                            << "Ita Gender"
                            << "gender_ita";
    QTest::newRow("captioned box") << "TeStad"
                                   << "Stadium Name"
                                   << "stadium";
    QTest::newRow("check box") << "TeEsse"
                               << "Essential"
                               << "essential";
}

void TestTableWindow::slotFieldsAreHeadedByTheirSelectorsEntry()
{
    QFETCH(QString, control);
    QFETCH(QString, header);
    QFETCH(QString, tooltip);
    Editor e;
    QByteArray team = fixture::teamRecord(1, "Braadford Town");
    fixture::setTeamText(team, "TeForm", "442A");
    e.write(kTeamFormat, {team});
    e.load(false, true, false);
    editor::TableWindow* w = openTable(e, e.ed().TeamTab);
    QVERIFY(w);
    QCOMPARE(w->windowTitle(), QString("Teams \u2014 Table"));
    const int column = columnOf(w, control.toLatin1().constData());
    QVERIFY(column > 0);
    QCOMPARE(w->model()->headerData(column, Qt::Horizontal).toString(), header);
    QCOMPARE(w->model()->headerData(column, Qt::Horizontal, Qt::ToolTipRole).toString(), tooltip);
    QCOMPARE(w->filterBox(column)->accessibleName(), header + " filter");
    QCOMPARE(cell(w, 0, columnOf(w, "TeForm")), QString("4-4-2 Attacking"));
    // The page's selectors keep their entries.
    auto* shortSelector = e.ed().TeamTab->findChild<QComboBox*>("TeShortC");
    QVERIFY(shortSelector);
    QCOMPARE(shortSelector->itemText(1), QString("Ita Long"));
    QCOMPARE(shortSelector->itemText(6), QString("Dut Long"));
}

void TestTableWindow::closesWithItsDataEditor()
{
    auto e = std::make_unique<Editor>();
    e->writeManagers(fixture::fourManagers());
    e->load();
    QPointer<editor::TableWindow> w = openTable(*e, e->ed().Manager);
    QVERIFY(w);
    e.reset();
    QVERIFY(!w);

    // In the main frame the table is a window of the frame's, not the editor's child.
    QMdiArea frame;
    e = std::make_unique<Editor>();
    e->writeManagers(fixture::fourManagers());
    e->load();
    frame.addSubWindow(&e->ed());
    w = openTable(*e, e->ed().Manager);
    QVERIFY(w);
    QCOMPARE(frame.subWindowList().size(), 2);
    e.reset();
    QVERIFY(!w);
    QCOMPARE(frame.subWindowList().size(), 1); // the editor's own, emptied frame
}

void TestTableWindow::sortsByNumberAndByText()
{
    Editor e;
    e.writeManagers(fixture::fourManagers()); // reputation 120, 50, 10, 0
    e.load();
    editor::TableWindow* w = openTable(e, e.ed().Manager);
    w->show();
    QVERIFY(QTest::qWaitForWindowExposed(w));
    const int rep = columnOf(w, "MaRep");
    clickHeader(w, rep);
    QCOMPARE(shownRecords(w), QList<int>({4, 3, 2, 1}));
    QCOMPARE(w->TableHeader->sortIndicatorOrder(), Qt::AscendingOrder);
    clickHeader(w, rep);
    QCOMPARE(shownRecords(w), QList<int>({1, 2, 3, 4}));
    // Last names Borsk, Dorm, Ahlberg, Cantu.
    clickHeader(w, columnOf(w, "MaEft"));
    QCOMPARE(shownRecords(w), QList<int>({3, 1, 4, 2}));
    clickHeader(w, columnOf(w, "MaEft"));
    QCOMPARE(shownRecords(w), QList<int>({2, 4, 1, 3}));
}

// The byte-weight order the table sorts texts by, against the collator it was made from, on
// names whose accents, expansions, letter case and punctuation decide their places.
void TestTableWindow::textSortIsTheCollatorsOrder()
{
#ifndef Q_OS_LINUX
    QSKIP("the weights were generated from the collator on Linux (ICU); other platforms' collators differ");
#endif
    const QStringList names{"Zorn",     "\u00c5berg",    "Aberg",  "\u00d6berg",  "Oberg",   "\u00d8degaard",
                            "Odegaard", "\u00c6r\u00f8", "Aero",   "Strau\u00df", "Strauss", "d'Arcy",
                            "Darcy",    "van Dijk",      "Vance",  "M\u00fcller", "Mueller", "aberg",
                            "Muller",   "O'Brien",       "Obrien", "\u00e9mile",  "Emile",   "\u0160koda"};
    QList<QByteArray> records;
    for (int i = 0; i < names.size(); ++i)
        records << fixture::playerRecord(i, "A", QByteArray::fromStdString(toGame(names[i]).value()));
    Editor e;
    fixture::writePlayers(e, records);
    e.load(false, false, true);
    editor::TableWindow* w = openTable(e, e.ed().Player);
    w->show();
    QVERIFY(QTest::qWaitForWindowExposed(w));

    QCollator collator(QLocale(QLocale::English, QLocale::UnitedKingdom));
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    collator.setIgnorePunctuation(false);
    QList<int> ascending;
    for (int r = 1; r <= names.size(); ++r)
        ascending << r;
    QList<int> descending = ascending;
    auto name = [&](int record) { return names[record - 1]; };
    // Equal names keep record order either way.
    std::stable_sort(ascending.begin(), ascending.end(),
                     [&](int a, int b) { return collator.compare(name(a), name(b)) < 0; });
    std::stable_sort(descending.begin(), descending.end(),
                     [&](int a, int b) { return collator.compare(name(a), name(b)) > 0; });
    QCOMPARE(collator.compare(name(3), name(18)), 0); // "Aberg" and "aberg": a tie, in record order

    const int column = columnOf(w, "PlSName");
    clickHeader(w, column);
    QCOMPARE(shownRecords(w), ascending);
    QStringList shown;
    for (int row = 0; row < names.size(); ++row)
        shown << cell(w, row, column);
    QStringList expected;
    for (const int r : ascending)
        expected << name(r);
    QCOMPARE(shown, expected);
    clickHeader(w, column);
    QCOMPARE(shownRecords(w), descending);
}

void TestTableWindow::filterExpressions_data()
{
    QTest::addColumn<QString>("control");
    QTest::addColumn<QString>("expression");
    QTest::addColumn<QList<int>>("shown");
    QTest::addColumn<QString>("count");
    QTest::addColumn<QString>("refusal");
    // Pace 18, 12, 20, 5; clubs Braadford Town, Oslo FC, Braadford Town, Oslo FC.
    QTest::newRow("contains") << "PlClub"
                              << "braad" << QList<int>{1, 3} << "2 of 4 players"
                              << "";
    QTest::newRow("exact") << "PlClub"
                           << "=Oslo FC" << QList<int>{2, 4} << "2 of 4 players"
                           << "";
    QTest::newRow("at least") << "PlSk16"
                              << ">=18" << QList<int>{1, 3} << "2 of 4 players"
                              << "";
    QTest::newRow("greater") << "PlSk16"
                             << ">18" << QList<int>{3} << "1 of 4 players"
                             << "";
    QTest::newRow("at most") << "PlSk16"
                             << "<=12" << QList<int>{2, 4} << "2 of 4 players"
                             << "";
    QTest::newRow("not equal") << "PlSk16"
                               << "<>12" << QList<int>{1, 3, 4} << "3 of 4 players"
                               << "";
    QTest::newRow("exactly a number") << "PlSk16"
                                      << "18" << QList<int>{1} << "1 of 4 players"
                                      << "";
    QTest::newRow("less") << "PlSk16"
                          << "<12" << QList<int>{4} << "1 of 4 players"
                          << "";
    QTest::newRow("range") << "PlSk16"
                           << "12~18" << QList<int>{1, 2} << "2 of 4 players"
                           << "";
    QTest::newRow("regex") << "PlSName"
                           << "/^[ab]/" << QList<int>{1, 3} << "2 of 4 players"
                           << "";
    QTest::newRow("position by number") << "PlGK"
                                        << "2" << QList<int>{2} << "1 of 4 players"
                                        << "";
    QTest::newRow("empty") << "PlNation"
                           << "=" << QList<int>{1, 2, 3, 4} << "4 of 4 players"
                           << "";
    QTest::newRow("not empty") << "PlNation"
                               << "<>" << QList<int>{} << "0 of 4 players"
                               << "";
    QTest::newRow("none match") << "PlClub"
                                << "=oslo" << QList<int>{} << "0 of 4 players"
                                << "";
    QTest::newRow("unreadable: filters nothing") << "PlSk16"
                                                 << ">=fast" << QList<int>{1, 2, 3, 4} << "4 of 4 players"
                                                 << "'fast' is not a whole number";
    QTest::newRow("unreadable regex") << "PlSName"
                                      << "/(/" << QList<int>{1, 2, 3, 4} << "4 of 4 players"
                                      << "'/(/' is not a valid regular expression: missing closing parenthesis";
}

void TestTableWindow::filterExpressions()
{
    QFETCH(QString, control);
    QFETCH(QString, expression);
    QFETCH(QList<int>, shown);
    QFETCH(QString, count);
    QFETCH(QString, refusal);
    Editor e;
    editor::TableWindow* w = openPlayers(e);
    w->show();
    QLineEdit* box = w->filterBox(columnOf(w, control.toLatin1().constData()));
    const QColor normal = box->palette().color(QPalette::Base);
    QTest::keyClicks(box, expression);
    QCOMPARE(shownRecords(w), shown);
    QCOMPARE(w->TableCount->text(), count);
    QCOMPARE(box->palette().color(QPalette::Base) != normal, !refusal.isEmpty());
    if (!refusal.isEmpty())
        QCOMPARE(box->toolTip(), refusal);
    // Emptied, the box filters nothing and looks as it did.
    box->selectAll();
    QTest::keyClick(box, Qt::Key_Backspace);
    QCOMPARE(shownRecords(w), QList<int>({1, 2, 3, 4}));
    QCOMPARE(box->palette().color(QPalette::Base), normal);
}

void TestTableWindow::filterBoxesFromTheKeyboard()
{
    Editor e;
    editor::TableWindow* w = openPlayers(e);
    activate(w);
    QCOMPARE(QApplication::focusWidget(), w->TableView); // the table takes the keys when it opens
    const int pace = columnOf(w, "PlSk16");
    w->TableView->setCurrentIndex(w->model()->index(1, pace));
    QTest::keyClick(w->TableView, Qt::Key_F, Qt::ControlModifier);
    QCOMPARE(QApplication::focusWidget(), w->filterBox(pace));
    type("<9");
    QCOMPARE(shownRecords(w), QList<int>({4}));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    QCOMPARE(QApplication::focusWidget(), w->TableView);
    QCOMPARE(w->TableView->currentIndex(), w->model()->index(0, pace));
}

void TestTableWindow::editRefusedAndAccepted()
{
    Editor e;
    editor::TableWindow* w = openPlayers(e);
    editor::PlayerPage& p = *e.ed().Player;
    const int age = columnOf(w, "PlAge");
    const Field& ageField = fieldNamed(kPlayerFormat.schema, "PlAge");
    QVERIFY(!p.isModified());
    QCOMPARE(p.PlRec->text(), QString("3")); // the page shows the record edited below
    const QByteArray before(reinterpret_cast<const char*>(p.table().record(3)), int(kPlayerFormat.recordSize));

    // The page's key rule: three digits at most, letters refused.
    QTableView* view = w->TableView;
    activate(w);
    view->setCurrentIndex(w->model()->index(2, age));
    view->setFocus();
    QTest::keyClick(view, Qt::Key_F2);
    auto* box = qobject_cast<QLineEdit*>(QApplication::focusWidget());
    QVERIFY(box);
    QCOMPARE(box->text(), QString("19"));
    box->selectAll();
    type("9x99");
    QCOMPARE(box->text(), QString("999"));
    // The range check and its message: refused, the old value kept, nothing marked.
    commit(box);
    QCOMPARE(e.prompts.texts(Kind::GeneralError),
             QStringList({"'999' does not fit this field: allowed are 0 to 255."}));
    QCOMPARE(QByteArray(reinterpret_cast<const char*>(p.table().record(3)), int(kPlayerFormat.recordSize)), before);
    QCOMPARE(cell(w, 2, age), QString("19"));
    QCOMPARE(p.PlAge->text(), QString("19"));
    QVERIFY(!p.isModified());

    // Accepted: that field's byte and nothing else; the mark set.
    e.prompts.clear();
    view->setCurrentIndex(w->model()->index(2, age));
    view->setFocus();
    QTest::keyClick(view, Qt::Key_F2);
    box = qobject_cast<QLineEdit*>(QApplication::focusWidget());
    QVERIFY(box);
    box->selectAll();
    type("21");
    commit(box);
    QVERIFY(e.prompts.asked.isEmpty());
    QByteArray expected = before;
    expected[ageField.offset] = 21;
    QCOMPARE(QByteArray(reinterpret_cast<const char*>(p.table().record(3)), int(kPlayerFormat.recordSize)), expected);
    QCOMPARE(cell(w, 2, age), QString("21"));
    QCOMPARE(p.PlAge->text(), QString("21"));
    QVERIFY(p.isModified());
}

// Ctrl+B as the user presses it, and a refusal on the real message box: it shows once, with the
// page's message, and the value stays as it was.
void TestTableWindow::refusedOnTheRealMessageBox()
{
    Editor e;
    fixture::writePlayers(e, fourPlayers());
    DialogPrompts real;
    TDataEditor ed(ToolContext{*e.config, real});
    ed.show();
    QVERIFY(QTest::qWaitForWindowExposed(&ed));
    ed.PlayC->setChecked(true);
    QTest::mouseClick(ed.LoadB, Qt::LeftButton);
    ed.Menu->setCurrentWidget(ed.Player);
    ed.Player->PlayList->setFocus();
    // Ctrl+B on the page, as the user presses it.
    activate(&ed);
    QTest::keyClick(ed.Player->PlayList, Qt::Key_B, Qt::ControlModifier);
    editor::TableWindow* w = ed.tableWindow(2);
    QVERIFY(w);
    activate(w);
    w->TableView->setFocus();
    const int age = columnOf(w, "PlAge");
    w->TableView->setCurrentIndex(w->model()->index(0, age));
    QTest::keyClick(w->TableView, Qt::Key_9);
    QVERIFY(qobject_cast<QLineEdit*>(QApplication::focusWidget()));
    type("99");
    const auto first = windowsystem::answerNextBox(windowsystem::BoxAct::Escape);
    commit(QApplication::focusWidget());
    QTRY_VERIFY(first->answered);
    QCOMPARE(first->text, QString("'999' does not fit this field: allowed are 0 to 255."));
    QVERIFY(!first->stuck);
    const auto second = windowsystem::answerNextBox(windowsystem::BoxAct::Escape);
    QTest::qWait(300);
    QVERIFY(!second->answered);
    QCOMPARE(cell(w, 0, age), QString("20"));
    QVERIFY(!ed.Player->isModified());
}

void TestTableWindow::editStoresThePageFirst()
{
    Editor e;
    editor::TableWindow* w = openPlayers(e);
    editor::PlayerPage& p = *e.ed().Player;
    // The page shows record 3 (Ahlberg, first in the list) with a first name typed and not stored.
    QCOMPARE(p.PlRec->text(), QString("3"));
    p.PlFName->setText("Olaf");
    QVERIFY(
        w->model()->write(2, [](std::uint8_t* r) { writeNumber(r, fieldNamed(kPlayerFormat.schema, "PlSk16"), 17); }));
    QCOMPARE(fixture::playerAt(e, 3)[fieldNamed(kPlayerFormat.schema, "PlSk16").offset], 17);
    QCOMPARE(QByteArray(reinterpret_cast<const char*>(fixture::playerAt(e, 3)) + 4, 4), QByteArray("Olaf"));
    // The page shows the record again, with the table's edit.
    QCOMPARE(p.PlSk16->text(), QString("17"));
    QCOMPARE(p.PlFName->text(), QString("Olaf"));
    QCOMPARE(cell(w, 2, columnOf(w, "PlFName")), QString("Olaf"));

    // A value the page cannot store stops the table's edit with its message.
    p.PlAge->setText("300");
    QVERIFY(
        !w->model()->write(2, [](std::uint8_t* r) { writeNumber(r, fieldNamed(kPlayerFormat.schema, "PlSk16"), 3); }));
    QCOMPARE(e.prompts.texts(Kind::GeneralError),
             QStringList({"'300' does not fit this field: allowed are 0 to 255."}));
    QCOMPARE(fixture::playerAt(e, 3)[fieldNamed(kPlayerFormat.schema, "PlSk16").offset], 17);
}

void TestTableWindow::typingStartsAnEditThatReplacesTheValue()
{
    Editor e;
    editor::TableWindow* w = openPlayers(e);
    activate(w);
    const int pace = columnOf(w, "PlSk16");
    w->TableView->setCurrentIndex(w->model()->index(0, pace));
    w->TableView->setFocus();
    // Pace 18: a two-digit box would take no key while it is full, but the typed key replaces it.
    QTest::keyClick(w->TableView, Qt::Key_7);
    auto* box = qobject_cast<QLineEdit*>(QApplication::focusWidget());
    QVERIFY(box);
    QCOMPARE(box->text(), QString("7"));
    type("3");
    QCOMPARE(box->text(), QString("73")); // two digits, as the page's box takes
    type("1");
    QCOMPARE(box->text(), QString("73"));
    commit(box);
    QCOMPARE(cell(w, 0, pace), QString("73"));
    // Escape leaves the value as it was.
    QTest::keyClick(w->TableView, Qt::Key_5);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
    QCOMPARE(cell(w, 0, pace), QString("73"));
}

void TestTableWindow::checkBoxesEditAsThePageDoes()
{
    Editor e;
    QList<QByteArray> players = fourPlayers();
    players[0][fieldNamed(kPlayerFormat.schema, "PlGK").offset] = 7; // shows checked
    fixture::writePlayers(e, players);
    e.load(false, false, true);
    editor::TableWindow* w = openTable(e, e.ed().Player);
    activate(w);
    const int keeper = columnOf(w, "PlGK");
    QCOMPARE(checkState(w, 0, keeper), int(Qt::Checked)); // a stored 7 reads as 2
    QVERIFY(w->model()->flags(w->model()->index(0, keeper)) & Qt::ItemIsUserTristate);
    // Space cycles the three states as the page's box does: unchecked, grey, checked.
    const std::size_t at = fieldNamed(kPlayerFormat.schema, "PlGK").offset;
    w->TableView->setCurrentIndex(w->model()->index(3, keeper));
    w->TableView->setFocus();
    QTest::keyClick(w->TableView, Qt::Key_Space);
    QCOMPARE(fixture::playerAt(e, 4)[at], 1);
    QCOMPARE(checkState(w, 3, keeper), int(Qt::PartiallyChecked));
    QTest::keyClick(w->TableView, Qt::Key_Space);
    QCOMPARE(fixture::playerAt(e, 4)[at], 2);
    QTest::keyClick(w->TableView, Qt::Key_Space);
    QCOMPARE(fixture::playerAt(e, 4)[at], 0);
    QVERIFY(e.ed().Player->isModified());

    // The ID has no box on the page: not edited here either; nor the record number.
    QVERIFY(!(w->model()->flags(w->model()->index(0, 1)) & Qt::ItemIsEditable));
    QVERIFY(!(w->model()->flags(w->model()->index(0, 0)) & Qt::ItemIsEditable));
}

void TestTableWindow::pageEditsNewAndDeleteShowInTheTable()
{
    Editor e;
    e.writeManagers(fixture::fourManagers());
    e.load();
    editor::TableWindow* w = openTable(e, e.ed().Manager);
    editor::ManagerPage& p = e.page();
    // Sorted by reputation: records 4, 3, 2, 1.
    w->model()->sort(columnOf(w, "MaRep"), Qt::AscendingOrder);
    QCOMPARE(shownRecords(w), QList<int>({4, 3, 2, 1}));
    // A store on the page shows up at once; the edited row stays where it is.
    QCOMPARE(p.MaRec->text(), QString("3")); // Ahlberg, first in the list
    p.MaRep->setText("99");
    Editor::clickRow(p.ManList, 1);
    QCOMPARE(cell(w, 1, columnOf(w, "MaRep")), QString("99"));
    QCOMPARE(shownRecords(w), QList<int>({4, 3, 2, 1}));
    // F5 sorts again.
    w->refresh();
    QCOMPARE(shownRecords(w), QList<int>({4, 2, 3, 1}));

    // New: a row at the end.
    QTest::mouseClick(p.ManNew, Qt::LeftButton);
    QCOMPARE(shownRecords(w), QList<int>({4, 2, 3, 1, 5}));
    QCOMPARE(w->TableCount->text(), QString("5 of 5 managers"));

    // Delete of record 2 (Dorm): its row goes, and the last record takes its number.
    Editor::clickRow(p.ManList, Editor::rowOfRecord(p.ManList, 2));
    QCOMPARE(p.MaRec->text(), QString("2"));
    QTest::mouseClick(p.ManDel, Qt::LeftButton);
    QCOMPARE(shownRecords(w), QList<int>({4, 3, 1, 2}));
    QCOMPARE(cell(w, 3, columnOf(w, "MaID")), QString("2")); // New gave it the smallest free ID
    QCOMPARE(w->TableCount->text(), QString("4 of 4 managers"));
    for (int row = 0; row < 4; ++row)
        QCOMPARE(cell(w, row, 0).toInt(), shownRecords(w)[row]);
}

void TestTableWindow::ctrlEnterShowsTheRecordOnThePage()
{
    Editor e;
    e.writeManagers(fixture::fourManagers());
    e.load();
    editor::ManagerPage& p = e.page();
    // A Search leaves only Borsk in the list: the list is reset to show Cantu.
    e.prompts.textAnswers = {QString("Borsk")};
    QTest::mouseClick(p.ManSrc, Qt::LeftButton);
    QCOMPARE(Editor::names(p.ManList), QStringList({"Borsk, Erik"}));
    QCOMPARE(p.MaRec->text(), QString("3"));
    editor::TableWindow* w = openTable(e, &p);
    p.MaRep->setText("77"); // typed on the page, not stored yet
    e.ed().Menu->setCurrentWidget(e.ed().Load);
    activate(w);
    w->TableView->setCurrentIndex(w->model()->index(3, 2)); // record 4, Cantu
    w->TableView->setFocus();
    QTest::keyClick(w->TableView, Qt::Key_Return, Qt::ControlModifier);
    QCOMPARE(e.ed().Menu->currentWidget(), &p);
    QCOMPARE(p.MaRec->text(), QString("4"));
    QCOMPARE(p.MaEft->text(), QString("Cantu"));
    QCOMPARE(Editor::names(p.ManList).size(), 4);
    QCOMPARE(p.ManList->currentIndex().row(), Editor::rowOfRecord(p.ManList, 4));
    // The record shown before was stored first.
    QCOMPARE(readNumber(e.record(3), fieldNamed(kManagerFormat.schema, "MaRep")), 77);

    // A double-click on the record number does the same: a press and a release, then the second
    // press as the window system reports it.
    activate(w);
    const QPoint one = w->TableView->visualRect(w->model()->index(0, 0)).center();
    QTest::mouseClick(w->TableView->viewport(), Qt::LeftButton, {}, one);
    QTest::mouseDClick(w->TableView->viewport(), Qt::LeftButton, {}, one);
    QCOMPARE(p.MaRec->text(), QString("1"));
}

void TestTableWindow::exportsTheRowsShown()
{
    Editor e;
    editor::TableWindow* w = openPlayers(e);
    w->show();
    QVERIFY(QTest::qWaitForWindowExposed(w));
    QTest::keyClicks(w->filterBox(columnOf(w, "PlClub")), "braadford");
    clickHeader(w, columnOf(w, "PlSName"));
    QCOMPARE(shownRecords(w), QList<int>({3, 1})); // Ahlberg, Borsk: not record order
    const QString path = e.dir.path() + "/some.csv";
    e.prompts.fileAnswers = {path};
    QVERIFY(w->ExportRows->text() == QString("Export These Rows to CSV\u2026"));
    w->ExportRows->trigger();
    QCOMPARE(e.prompts.texts(Kind::SaveFile),
             QStringList({"Export These Rows to CSV|players.csv|CSV files (*.csv);;All files (*)"}));
    const QByteArray csv = testfiles::readAll(path);
    const QList<QByteArray> lines = csv.split('\n');
    QCOMPARE(lines.size(), 4); // header, two rows, and the end after the last line break
    QVERIFY(lines[1].startsWith("3,12,Ola,Ahlberg,"));
    QVERIFY(lines[2].startsWith("1,10,Erik,Borsk,"));
    QCOMPARE(std::string(csv.constData(), std::size_t(csv.size())),
             exportCsv(e.ed().Player->table(), std::vector<int>{3, 1}));
    // The import takes such a subset, and an unchanged one changes nothing.
    RecordTable copy = e.ed().Player->table();
    importCsv(copy, std::string_view(csv.constData(), std::size_t(csv.size())));
    QVERIFY(copy.bytes() == e.ed().Player->table().bytes());
}

QTEST_MAIN(TestTableWindow)
#include "tst_tablewindow.moc"
