// The manager page driven through its widgets: show and store, key rules, codes, New, Delete,
// Reset, Search and numbers that do not fit.

#include "EditorFixture.h"

#include "gamedb/ManagerDb.h"
#include "gamedb/Schema.h"
#include "gamedb/TextField.h"
#include "sample/SampleGame.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QtTest>

using namespace gamedb;
using fixture::Editor;
using fixture::fourManagers;
using fixture::managerText;
using fixture::Mgr;
using Kind = ScriptedPrompts::Kind;

namespace {

const Field& F(const char* name)
{
    return fieldNamed(kManagerFormat.schema, name);
}

QByteArray rawField(const std::uint8_t* r, const char* name)
{
    return QByteArray(reinterpret_cast<const char*>(r + F(name).offset), F(name).width);
}

} // namespace

class TestManagerPage : public QObject {
    Q_OBJECT
private slots:
    void showsTheFirstLinesRecordAndStoresOnClick();
    void everyFieldHasACaptionOrAName();
    void textLimitsAndDigits();
    void everyEditSetsTheModifiedMark();
    void dateRules_data();
    void dateRules();
    void codesShowAndStore_data();
    void codesShowAndStore();
    void newGivesTheSmallestFreeIdAndAnEmptyRecord();
    void newAtTheLimitIsRefused();
    void deleteMovesTheLastRecord_data();
    void deleteMovesTheLastRecord();
    void resetRefreshesTheList();
    void search_data();
    void search();
    void numbersThatDoNotFitAreRefused_data();
    void numbersThatDoNotFitAreRefused();
    void longTextIsCutAtItsField();
    void playerManagerBoxSetsTheMark();
};

void TestManagerPage::showsTheFirstLinesRecordAndStoresOnClick()
{
    Editor e;
    e.writeManagers(fourManagers());
    e.load();
    auto& p = e.page();
    QCOMPARE(Editor::names(p.ManList), QStringList({"Ahlberg, Ola", "Borsk, Erik", "Cantu, Kari", "Dorm, Anna"}));
    QCOMPARE(p.MaRec->text(), QString("3"));
    QCOMPARE(p.MaID->text(), QString("3"));
    QCOMPARE(p.MaForN->text(), QString("Ola"));
    QCOMPARE(p.MaForma->currentText(), QString("4-3-3"));
    QVERIFY(p.ManList->selectionModel()->selectedIndexes().isEmpty());
    QCOMPARE(p.ManList->currentIndex().row(), 0);

    e.ed().Menu->setCurrentWidget(&p);
    p.ManPa->setCurrentWidget(p.Man2);
    p.MaRep->clear();
    QTest::keyClicks(p.MaRep, "177");
    Editor::clickRow(p.ManList, 3); // Dorm
    QCOMPARE(p.MaRec->text(), QString("2"));
    QCOMPARE(p.MaForN->text(), QString("Anna"));
    QCOMPARE(p.MaRep->text(), QString("50"));
    QVERIFY(p.MaPlay->isChecked());
    QCOMPARE(readNumber(e.record(3), F("MaRep")), 177LL);

    // Clicking the line already shown stores it again.
    p.MaRep->clear();
    QTest::keyClicks(p.MaRep, "51");
    Editor::clickRow(p.ManList, 3);
    QCOMPARE(readNumber(e.record(2), F("MaRep")), 51LL);
    QCOMPARE(p.MaRec->text(), QString("2"));

    // Keyboard moves store too.
    p.ManList->setFocus();
    p.MaRep->clear();
    QTest::keyClicks(p.MaRep, "52");
    QTest::keyClick(p.ManList, Qt::Key_Up);
    QCOMPARE(p.MaRec->text(), QString("4"));
    QCOMPARE(readNumber(e.record(2), F("MaRep")), 52LL);
    QVERIFY(e.prompts.asked.isEmpty());
}

void TestManagerPage::everyFieldHasACaptionOrAName()
{
    Editor e;
    e.writeManagers(fourManagers());
    auto& p = e.open().Manager[0];
    QList<QWidget*> fields;
    for (auto* w : p.findChildren<QLineEdit*>())
        fields << w;
    for (auto* w : p.findChildren<QComboBox*>())
        fields << w;
    QCOMPARE(fields.size(), 15);
    for (QWidget* w : fields) {
        QLabel* caption = nullptr;
        for (QLabel* l : p.findChildren<QLabel*>()) {
            if (l->buddy() == w)
                caption = l;
        }
        QVERIFY2(caption || !w->accessibleName().isEmpty(), qPrintable(w->objectName()));
        QVERIFY2(!w->toolTip().isEmpty(), qPrintable(w->objectName()));
    }
    QCOMPARE(p.MaNatio->toolTip(), QString("National team he is  managing (30 Characters)"));
    QCOMPARE(p.MaPlay->text(), QString("Player Manager:"));
}

void TestManagerPage::textLimitsAndDigits()
{
    Editor e;
    e.writeManagers({{0, "", "", "", "", 0, 0}});
    e.load();
    auto& p = e.page();
    p.MaForN->clear();
    QTest::keyClicks(p.MaForN, "ABCDEFGHIJKLMNOPQ");
    QCOMPARE(p.MaForN->text(), QString("ABCDEFGHIJKLMNO"));
    QTest::keyClick(p.MaForN, Qt::Key_Backspace);
    QCOMPARE(p.MaForN->text().size(), 14);
    // A longer name from the file may grow: the limit is a test for exactly 15.
    p.MaForN->setText("ABCDEFGHIJKLMNOP");
    QTest::keyClicks(p.MaForN, "Q");
    QCOMPARE(p.MaForN->text().size(), 17);

    for (QLineEdit* box : {p.MaEft, p.MaNat, p.MaClub, p.MaNatio, p.MaFClub}) {
        box->clear();
        QTest::keyClicks(box, QString(32, QLatin1Char('x')));
        QCOMPARE(box->text().size(), 30);
    }
    for (QLineEdit* box : {p.MaMot, p.MaJudge, p.MaRep, p.MaAr, p.MaBoard}) {
        box->clear();
        QTest::keyClicks(box, "1a2-3 .4567890");
        QCOMPARE(box->text(), QString("1234567890"));
    }
    // A character the game's code page cannot hold never reaches a box.
    p.MaEft->clear();
    for (const QChar c : QString::fromUtf8("A\u0416B")) {
        QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(c));
        QApplication::sendEvent(p.MaEft, &press);
    }
    QCOMPARE(p.MaEft->text(), QString("AB"));
}

void TestManagerPage::everyEditSetsTheModifiedMark()
{
    Editor e;
    e.writeManagers({{0, "Ola", "Berg", "", "", 0, 0}});
    e.load();
    auto& p = e.page();
    QVERIFY(!p.isModified());
    QVERIFY(!e.ed().anyModified());

    // A refused key does not set it; an accepted one does.
    QTest::keyClick(p.MaRep, Qt::Key_A);
    QVERIFY(!p.isModified());
    QTest::keyClick(p.MaRep, Qt::Key_7);
    QVERIFY(p.isModified());

    // The Delete key types no character, yet changes the text.
    p.clearModified();
    p.MaEft->setFocus();
    p.MaEft->setCursorPosition(0);
    QTest::keyClick(p.MaEft, Qt::Key_Delete);
    QCOMPARE(p.MaEft->text(), QString("erg"));
    QVERIFY(p.isModified());

    // Choosing a drop-down entry.
    p.clearModified();
    p.MaStyle->setCurrentIndex(2);
    QVERIFY(!p.isModified());
    emit p.MaStyle->activated(2);
    QVERIFY(p.isModified());
}

void TestManagerPage::dateRules_data()
{
    QTest::addColumn<QString>("before");
    QTest::addColumn<QString>("keys");
    QTest::addColumn<QString>("after");
    QTest::addColumn<bool>("marks");
    QTest::newRow("month starts 0") << ""
                                    << "0"
                                    << "0" << true;
    QTest::newRow("month starts 1") << ""
                                    << "1"
                                    << "1" << true;
    QTest::newRow("month cannot start 2") << ""
                                          << "2"
                                          << "" << true;
    QTest::newRow("10 to 12") << "1"
                              << "2"
                              << "12" << true;
    QTest::newRow("no month 13") << "1"
                                 << "3"
                                 << "1" << true;
    QTest::newRow("01 to 09") << "0"
                              << "9"
                              << "09" << true;
    QTest::newRow("00 allowed") << "0"
                                << "0"
                                << "00" << true;
    QTest::newRow("dot after the month") << "12"
                                         << "."
                                         << "12." << true;
    QTest::newRow("no digit for the dot") << "12"
                                          << "5"
                                          << "12" << true;
    QTest::newRow("year digits") << "12."
                                 << "98"
                                 << "12.98" << true;
    QTest::newRow("no letters in the year") << "12.9"
                                            << "x"
                                            << "12.9" << true;
    QTest::newRow("full date takes nothing") << "12.98"
                                             << "1"
                                             << "12.98" << false;
    QTest::newRow("backspace always") << "12.98"
                                      << "\b"
                                      << "12.9" << true;
    QTest::newRow("odd one-character text takes any") << "7"
                                                      << "x"
                                                      << "7x" << true;
    QTest::newRow("long text from the file takes any") << "12.1998"
                                                       << "x"
                                                       << "12.1998x" << true;
    QTest::newRow("whole date typed") << ""
                                      << "1299.97"
                                      << "12.97" << true;
}

void TestManagerPage::dateRules()
{
    QFETCH(QString, before);
    QFETCH(QString, keys);
    QFETCH(QString, after);
    QFETCH(bool, marks);
    Editor e;
    e.writeManagers({{0, "Ola", "Berg", "", "", 0, 0}});
    e.load();
    auto& p = e.page();
    for (QLineEdit* box : {p.MaJoin, p.MaStart}) {
        box->setText(before);
        box->setCursorPosition(int(before.size()));
        p.clearModified();
        for (QChar c : keys) {
            if (c == QLatin1Char('\b'))
                QTest::keyClick(box, Qt::Key_Backspace);
            else
                QTest::keyClicks(box, QString(c));
        }
        QCOMPARE(box->text(), after);
        QCOMPARE(p.isModified(), marks);
    }
}

void TestManagerPage::codesShowAndStore_data()
{
    QTest::addColumn<QByteArray>("forma");
    QTest::addColumn<QByteArray>("style");
    QTest::addColumn<QString>("formaText");
    QTest::addColumn<QString>("styleText");
    QTest::addColumn<QByteArray>("formaChosen"); // the code of the entry after the one shown
    QTest::newRow("plain codes") << QByteArray("442A") << QByteArray("LONG") << "4-4-2 Attacking"
                                 << "Long Ball" << QByteArray("433VA");
    QTest::newRow("code followed by letters") << QByteArray("352SWEEPER") << QByteArray("PASSX") << "3-5-2 Sweeper"
                                              << "Passing" << QByteArray("352N");
    QTest::newRow("unknown codes") << QByteArray("5-3-2") << QByteArray("cont") << ""
                                   << "" << QByteArray("VDEF");
    QTest::newRow("empty fields") << QByteArray() << QByteArray() << ""
                                  << "" << QByteArray("VDEF");
}

// Stored back untouched, a code keeps its bytes, known or not; a chosen entry stores its code
// and zero bytes.
void TestManagerPage::codesShowAndStore()
{
    QFETCH(QByteArray, forma);
    QFETCH(QByteArray, style);
    QFETCH(QString, formaText);
    QFETCH(QString, styleText);
    QFETCH(QByteArray, formaChosen);
    Editor e;
    e.writeManagers({{0, "Ola", "Berg", forma, style, 0, 0}});
    e.load();
    auto& p = e.page();
    QCOMPARE(p.MaForma->currentText(), formaText);
    QCOMPARE(p.MaStyle->currentText(), styleText);
    QCOMPARE(p.MaForma->count(), 19);
    QCOMPARE(p.MaStyle->count(), 4);
    e.ed().Menu->setCurrentWidget(&p);
    Editor::clickRow(p.ManList, 0);
    QCOMPARE(rawField(e.record(1), "MaForma"), forma.leftJustified(10, '\0', true));
    QCOMPARE(rawField(e.record(1), "MaStyle"), style.leftJustified(10, '\0', true));
    QVERIFY(!p.isModified());

    QTest::keyClick(p.MaForma, Qt::Key_Down);
    QVERIFY(p.isModified());
    Editor::clickRow(p.ManList, 0);
    QCOMPARE(rawField(e.record(1), "MaForma"), formaChosen.leftJustified(10, '\0'));
    QCOMPARE(rawField(e.record(1), "MaStyle"), style.leftJustified(10, '\0', true));
}

void TestManagerPage::newGivesTheSmallestFreeIdAndAnEmptyRecord()
{
    Editor e;
    e.writeManagers(fourManagers()); // IDs 0, 1, 3, 5
    e.load();
    auto& p = e.page();
    e.ed().Menu->setCurrentWidget(&p);
    p.MaForN->selectAll();
    QTest::keyClicks(p.MaForN, "Olaf"); // New stores it into the record shown first
    QTest::mouseClick(p.ManNew, Qt::LeftButton);
    QCOMPARE(p.MaID->text(), QString("2"));
    QCOMPARE(p.MaRec->text(), QString("5"));
    QCOMPARE(p.table().count(), 5);
    for (QLineEdit* box : p.findChildren<QLineEdit*>())
        QVERIFY2(box->text().isEmpty(), qPrintable(box->objectName()));
    QCOMPARE(p.MaForma->currentIndex(), -1);
    QVERIFY(!p.MaPlay->isChecked());
    // The new line sorts first and is the current line, not highlighted.
    QCOMPARE(Editor::names(p.ManList).first(), QString(" , "));
    QCOMPARE(Editor::recordAt(p.ManList, 0), 5);
    QCOMPARE(Editor::recordAt(p.ManList, p.ManList->currentIndex().row()), 5);
    QVERIFY(p.ManList->selectionModel()->selectedIndexes().isEmpty());
    QCOMPARE(managerText(e.record(3), "MaForN"), QByteArray("Olaf"));

    QTest::mouseClick(p.ManNew, Qt::LeftButton);
    QCOMPARE(p.MaID->text(), QString("4"));
    QCOMPARE(p.MaRec->text(), QString("6"));
    QCOMPARE(Editor::names(p.ManList).count(QString(" , ")), 2);

    // Both new records are clean apart from their IDs.
    for (int n : {5, 6}) {
        QByteArray rest(reinterpret_cast<const char*>(e.record(n)) + 4, 244);
        QCOMPARE(rest, QByteArray(244, '\0'));
    }
    QCOMPARE(readNumber(e.record(5), F("MaID")), 2LL);

    // A name typed into the new record is stored on the next click; its line stays " , ".
    QTest::keyClicks(p.MaForN, "Nils");
    Editor::clickRow(p.ManList, Editor::rowOfRecord(p.ManList, 1));
    QCOMPARE(managerText(e.record(6), "MaForN"), QByteArray("Nils"));
    QCOMPARE(readNumber(e.record(6), F("MaID")), 4LL);
    QCOMPARE(Editor::names(p.ManList).count(QString(" , ")), 2);
}

void TestManagerPage::newAtTheLimitIsRefused()
{
    Editor e;
    sample::writeSampleManagers(e.dir.path(), 1000);
    e.load();
    auto& p = e.page();
    const QString shown = p.MaRec->text();
    QTest::mouseClick(p.ManNew, Qt::LeftButton);
    QCOMPARE(e.prompts.texts(Kind::Notice),
             QStringList("The manager database can only contain 1000 records. You can delete a record, and then add "
                         "the new!"));
    QCOMPARE(p.table().count(), 1000);
    QCOMPARE(p.MaRec->text(), shown);
    QCOMPARE(p.ManList->model()->rowCount(), 1000);
}

void TestManagerPage::deleteMovesTheLastRecord_data()
{
    QTest::addColumn<int>("deleted");
    QTest::newRow("a middle record") << 3; // Ahlberg; Cantu (4) moves into slot 3
    QTest::newRow("the last record") << 4;
}

void TestManagerPage::deleteMovesTheLastRecord()
{
    QFETCH(int, deleted);
    Editor e;
    e.writeManagers(fourManagers());
    e.load();
    auto& p = e.page();
    e.ed().Menu->setCurrentWidget(&p);
    Editor::clickRow(p.ManList, Editor::rowOfRecord(p.ManList, deleted));
    p.MaForN->setText("dropped");
    p.clearModified();
    QTest::mouseClick(p.ManDel, Qt::LeftButton);

    QCOMPARE(p.table().count(), 3);
    QVERIFY(p.isModified());
    QStringList expected{"Borsk, Erik", "Cantu, Kari", "Dorm, Anna"};
    if (deleted == 4)
        expected = {"Ahlberg, Ola", "Borsk, Erik", "Dorm, Anna"};
    QCOMPARE(Editor::names(p.ManList), expected);
    if (deleted == 3) {
        QCOMPARE(Editor::recordAt(p.ManList, 1), 3); // Cantu took the freed number
        QCOMPARE(managerText(e.record(3), "MaEft"), QByteArray("Cantu"));
        QCOMPARE(readNumber(e.record(3), F("MaID")), 5LL);
    }
    // The first line is current and highlighted, and its record shown.
    QCOMPARE(p.ManList->currentIndex().row(), 0);
    QCOMPARE(p.ManList->selectionModel()->selectedIndexes().size(), 1);
    QCOMPARE(p.MaRec->text(), QString::number(Editor::recordAt(p.ManList, 0)));
    QCOMPARE(p.MaForN->text(), expected.first().section(", ", 1));
    for (int i = 1; i <= 3; ++i)
        QVERIFY(managerText(e.record(i), "MaForN") != "dropped");
    QVERIFY(e.prompts.asked.isEmpty());
}

void TestManagerPage::resetRefreshesTheList()
{
    Editor e;
    e.writeManagers(fourManagers());
    e.load();
    auto& p = e.page();
    e.ed().Menu->setCurrentWidget(&p);
    p.MaEft->setText("Zeta"); // Ahlberg renamed; the list keeps the old name until Reset
    Editor::clickRow(p.ManList, 1);
    QCOMPARE(Editor::names(p.ManList).first(), QString("Ahlberg, Ola"));
    p.MaEft->setText("Aaby"); // Borsk, shown now, renamed too: Reset stores it first
    QTest::mouseClick(p.ManRes, Qt::LeftButton);
    QCOMPARE(Editor::names(p.ManList), QStringList({"Aaby, Erik", "Cantu, Kari", "Dorm, Anna", "Zeta, Ola"}));
    QCOMPARE(p.MaRec->text(), QString("1")); // still the record shown before
    QCOMPARE(p.ManList->currentIndex().row(), 0);
    QVERIFY(p.ManList->selectionModel()->selectedIndexes().isEmpty());
}

void TestManagerPage::search_data()
{
    QTest::addColumn<QList<Mgr>>("managers");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("found");
    const QList<Mgr> people{
        {0, "Jan", "ANDERSEN", "", "", 0, 0}, {1, "Hanna", "Berg", "", "", 0, 0},
        {2, "Per", "Olsen", "", "", 0, 0},    {3, "\xc9lise", "Moreau", "", "", 0, 0}, // É in the code page
        {4, "Ren\xe9", "Viel", "", "", 0, 0},
    };
    QTest::newRow("lower case finds any case") << people << "an" << QStringList({"ANDERSEN, Jan", "Berg, Hanna"});
    QTest::newRow("across the blank") << people << "NA BE" << QStringList({"Berg, Hanna"});
    QTest::newRow("last name first never matches") << people << "Berg Hanna" << QStringList();
    QTest::newRow("accented letters fold not") << people << QString::fromUtf8("é") << QStringList({"Viel, Ren\u00e9"});
    QTest::newRow("accented capital") << people << QString::fromUtf8("É") << QStringList({"Moreau, \u00c9lise"});
    QTest::newRow("empty text finds nothing") << people << "" << QStringList();
    QTest::newRow("no match") << people << "xyz" << QStringList();
}

void TestManagerPage::search()
{
    QFETCH(QList<Mgr>, managers);
    QFETCH(QString, text);
    QFETCH(QStringList, found);
    Editor e;
    e.writeManagers(managers);
    e.load();
    auto& p = e.page();
    p.MaForN->setText("edited");
    const QString shown = p.MaRec->text();
    e.prompts.textAnswers << text;
    QTest::mouseClick(p.ManSrc, Qt::LeftButton);
    QCOMPARE(e.prompts.texts(Kind::AskText), QStringList("Search|Text to search for"));
    QCOMPARE(Editor::names(p.ManList), found);
    // The page is not touched: nothing stored, nothing shown.
    QCOMPARE(p.MaRec->text(), shown);
    QCOMPARE(p.MaForN->text(), QString("edited"));
    if (!found.isEmpty()) {
        QCOMPARE(p.ManList->currentIndex().row(), 0);
        QVERIFY(p.ManList->selectionModel()->selectedIndexes().isEmpty());
    }
    // Cancel changes nothing.
    QTest::mouseClick(p.ManSrc, Qt::LeftButton);
    QCOMPARE(Editor::names(p.ManList), found);
}

void TestManagerPage::numbersThatDoNotFitAreRefused_data()
{
    QTest::addColumn<QString>("box");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("message");
    QTest::newRow("reputation above 32767") << "MaRep"
                                            << "40000"
                                            << "'40000' does not fit this field: allowed are 0 to 32767.";
    QTest::newRow("years above 255") << "MaAr"
                                     << "300"
                                     << "'300' does not fit this field: allowed are 0 to 255.";
    QTest::newRow("board above 255") << "MaBoard"
                                     << "256"
                                     << "'256' does not fit this field: allowed are 0 to 255.";
    QTest::newRow("not a number") << "MaJudge"
                                  << "12x"
                                  << "'12x' is not a valid integer value.";
    QTest::newRow("beyond 32 bits") << "MaMot"
                                    << "99999999999"
                                    << "'99999999999' is not a valid integer value.";
}

void TestManagerPage::numbersThatDoNotFitAreRefused()
{
    QFETCH(QString, box);
    QFETCH(QString, text);
    QFETCH(QString, message);
    Editor e;
    e.writeManagers(fourManagers());
    e.load();
    const QByteArray before = testfiles::readAll(e.path(kManagerFormat));
    auto& p = e.page();
    e.ed().Menu->setCurrentWidget(&p);
    const QByteArray stored(reinterpret_cast<const char*>(e.record(3)), 248);
    p.MaForN->setText("Changed");
    p.findChild<QLineEdit*>(box)->setText(text); // as pasted

    for (int attempt = 0; attempt < 3; ++attempt) {
        e.prompts.clear();
        if (attempt == 0)
            Editor::clickRow(p.ManList, 2);
        else if (attempt == 1)
            QTest::mouseClick(p.ManRes, Qt::LeftButton);
        else
            e.save();
        QCOMPARE(e.prompts.texts(Kind::GeneralError), QStringList(message));
        // The record stays shown and unchanged in the table; nothing else happened.
        QCOMPARE(p.MaRec->text(), QString("3"));
        QCOMPARE(p.MaForN->text(), QString("Changed"));
        QCOMPARE(QByteArray(reinterpret_cast<const char*>(e.record(3)), 248), stored);
    }
    QCOMPARE(testfiles::readAll(e.path(kManagerFormat)), before);
    QVERIFY(e.ed().ProgS->isHidden());
    QVERIFY(!QGuiApplication::overrideCursor());

    // Corrected (an empty box stores 0), the store goes through.
    p.findChild<QLineEdit*>(box)->clear();
    Editor::clickRow(p.ManList, 2);
    QCOMPARE(readNumber(e.record(3), F(box.toLatin1().constData())), 0LL);
    QCOMPARE(managerText(e.record(3), "MaForN"), QByteArray("Changed"));
}

void TestManagerPage::longTextIsCutAtItsField()
{
    Editor e;
    e.writeManagers({{0, "Ola", "Berg", "", "", 0, 0}});
    e.load();
    auto& p = e.page();
    p.MaNat->setText("Norway");
    p.MaEft->setText(QString(50, QLatin1Char('L'))); // as pasted
    p.MaForN->setText(QString(25, QLatin1Char('F')));
    QTest::mouseClick(p.ManRes, Qt::LeftButton);
    QCOMPARE(rawField(e.record(1), "MaEft"), QByteArray(35, 'L'));
    QCOMPARE(rawField(e.record(1), "MaForN"), QByteArray(20, 'F'));
    QCOMPARE(managerText(e.record(1), "MaNat"), QByteArray("Norway"));
}

void TestManagerPage::playerManagerBoxSetsTheMark()
{
    Editor e;
    // Sorted: Aas (not playing) first, then Berg (playing).
    e.writeManagers({{0, "Ola", "Berg", "", "", 0, 1}, {1, "Per", "Aas", "", "", 0, 0}});
    e.load();
    auto& p = e.page();
    QVERIFY(!p.isModified());
    e.ed().Menu->setCurrentWidget(&p);
    // Showing a record that changes the box counts as a change of the box.
    Editor::clickRow(p.ManList, 1);
    QVERIFY(p.MaPlay->isChecked());
    QVERIFY(p.isModified());
    p.clearModified();
    p.ManPa->setCurrentWidget(p.Man2);
    QTest::keyClick(p.MaPlay, Qt::Key_Space);
    QVERIFY(p.isModified());
    QVERIFY(!p.MaPlay->isChecked());
    Editor::clickRow(p.ManList, 0);
    QCOMPARE(readNumber(e.record(1), F("MaPlay")), 0LL);
}

QTEST_MAIN(TestManagerPage)
#include "tst_managerpage.moc"
