// Rules every record page shares, driven through the manager page and, where the pages differ,
// through each: untouched values keep their bytes, New keeps what was typed and keeps to the new
// record, Delete removes the record shown, the modified mark follows every change of the table,
// key rules judge characters however they arrive, and value labels read as their values.
#include "EditorFixture.h"
#include "WindowSystem.h"

#include "editor/PlayerPage.h"
#include "editor/TeamPage.h"
#include "gamedb/ManagerDb.h"
#include "gamedb/PlayerDb.h"
#include "gamedb/Schema.h"
#include "gamedb/TeamDb.h"

#include <QAccessible>
#include <QCheckBox>
#include <QComboBox>
#include <QInputMethodEvent>
#include <QKeyEvent>
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

QByteArray rawRecord(const std::uint8_t* r)
{
    return QByteArray(reinterpret_cast<const char*>(r), static_cast<qsizetype>(kManagerFormat.recordSize));
}

void sendKey(QWidget* w, int key, Qt::KeyboardModifiers mods, const QString& text)
{
    QKeyEvent press(QEvent::KeyPress, key, mods, text);
    QApplication::sendEvent(w, &press);
    QKeyEvent release(QEvent::KeyRelease, key, mods, text);
    QApplication::sendEvent(w, &release);
}

void commitText(QWidget* w, const QString& text)
{
    QInputMethodEvent e;
    e.setCommitString(text);
    QApplication::sendEvent(w, &e);
}

} // namespace

class TestRecordPage : public QObject {
    Q_OBJECT
private slots:
    void unwritableStoredValuesKeepTheirBytes_data();
    void unwritableStoredValuesKeepTheirBytes();
    void untouchedCodesAndFlagsKeepTheirBytes();
    void typedValuesThatDoNotFitAreStillRefused();
    void newKeepsWhatWasTyped();
    void newThenResetOrSaveKeepsToTheNewRecord_data();
    void newThenResetOrSaveKeepsToTheNewRecord();
    void deleteRemovesTheRecordShown_data();
    void deleteRemovesTheRecordShown();
    void deleteSetsTheMarkEvenWhenItsLastStepFails();
    void keyRulesJudgeCharactersHoweverTheyArrive_data();
    void keyRulesJudgeCharactersHoweverTheyArrive();
    void shortcutsThatInsertNothingAreNotJudged();
    void valueLabelsReadAsTheirValues();
    void wheelChangesOnlyAFocusedDropDown_data();
    void wheelChangesOnlyAFocusedDropDown();
};

void TestRecordPage::unwritableStoredValuesKeepTheirBytes_data()
{
    QTest::addColumn<int>("offset"); // of the odd bytes in the record
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("control");
    QTest::addColumn<QString>("shown");
    QTest::newRow("reputation 255, 200") << 134 << QByteArray("\xff\xc8", 2) << "MaRep"
                                         << "32840";
    QTest::newRow("ID 255, 255, 255, 255") << 0 << QByteArray("\xff\xff\xff\xff", 4) << "MaID"
                                           << "536870911";
}

void TestRecordPage::unwritableStoredValuesKeepTheirBytes()
{
    QFETCH(int, offset);
    QFETCH(QByteArray, bytes);
    QFETCH(QString, control);
    QFETCH(QString, shown);
    Editor e;
    QList<QByteArray> records;
    for (const Mgr& m : fourManagers())
        records << fixture::managerRecord(m);
    records[2].replace(offset, bytes.size(), bytes); // Ahlberg, the first line
    e.write(kManagerFormat, records);
    e.load();
    auto& p = e.page();
    e.ed().Menu->setCurrentWidget(&p);
    QCOMPARE(p.MaRec->text(), QString("3"));
    auto* box = p.findChild<QWidget*>(control);
    const QString text = box->property("text").toString();
    if (control == "MaID")
        QVERIFY2(text.toLongLong() > 536870911LL, qPrintable(text)); // more than the encoding can write
    else
        QCOMPARE(text, shown);
    const QByteArray before = rawRecord(e.record(3));

    // Leaving the record, coming back, Reset and Save: no error and the bytes stay.
    Editor::clickRow(p.ManList, 1);
    QCOMPARE(p.MaRec->text(), QString("1"));
    Editor::clickRow(p.ManList, 0);
    QTest::mouseClick(p.ManRes, Qt::LeftButton);
    e.save();
    QCOMPARE(e.prompts.texts(Kind::GeneralError), QStringList());
    QCOMPARE(rawRecord(e.record(3)), before);
    const QByteArray file = testfiles::readAll(e.path(kManagerFormat));
    QCOMPARE(file.mid(kManagerFormat.recordsStart() + 2 * kManagerFormat.recordSize + offset, bytes.size()), bytes);
}

// A code the drop-downs do not know and a flag byte of 2 survive browsing, Reset and Save; what
// the user changes is still written.
void TestRecordPage::untouchedCodesAndFlagsKeepTheirBytes()
{
    Editor e;
    QList<QByteArray> records;
    for (const Mgr& m : fourManagers())
        records << fixture::managerRecord(m);
    QByteArray& ahlberg = records[2]; // record 3, the first line
    fixture::setFieldText(ahlberg, kManagerFormat, "MaForma", "ZZZZ");
    fixture::setFieldText(ahlberg, kManagerFormat, "MaStyle", "PASSX\0Q");
    ahlberg[fieldNamed(kManagerFormat.schema, "MaPlay").offset] = '\2';
    e.write(kManagerFormat, records);
    e.load();
    auto& p = e.page();
    e.ed().Menu->setCurrentWidget(&p);
    QCOMPARE(p.MaRec->text(), QString("3"));
    QCOMPARE(p.MaForma->currentIndex(), -1);
    QCOMPARE(p.MaStyle->currentText(), QString("Passing"));
    QVERIFY(!p.MaPlay->isChecked());
    const QByteArray before = rawRecord(e.record(3));

    Editor::clickRow(p.ManList, 1);
    Editor::clickRow(p.ManList, 0);
    QTest::mouseClick(p.ManRes, Qt::LeftButton);
    e.save();
    QCOMPARE(e.prompts.texts(Kind::GeneralError), QStringList());
    QCOMPARE(rawRecord(e.record(3)), before);
    const auto at = qsizetype(kManagerFormat.recordsStart() + 2 * kManagerFormat.recordSize);
    QCOMPARE(testfiles::readAll(e.path(kManagerFormat)).mid(at, qsizetype(kManagerFormat.recordSize)), before);

    // Chosen by the user: the formation's first entry and a ticked box; the style stays.
    QCOMPARE(p.MaRec->text(), QString("3"));
    QTest::keyClick(p.MaForma, Qt::Key_Down);
    p.ManPa->setCurrentIndex(1);
    QTest::keyClick(p.MaPlay, Qt::Key_Space);
    Editor::clickRow(p.ManList, 1);
    QCOMPARE(managerText(e.record(3), "MaForma"), QByteArray("VDEF"));
    QCOMPARE(readNumber(e.record(3), fieldNamed(kManagerFormat.schema, "MaPlay")), 1LL);
    QCOMPARE(rawRecord(e.record(3)).mid(146, 10), before.mid(146, 10));
    QVERIFY(p.isModified());
}

void TestRecordPage::typedValuesThatDoNotFitAreStillRefused()
{
    Editor e;
    QList<QByteArray> records;
    for (const Mgr& m : fourManagers())
        records << fixture::managerRecord(m);
    records[2].replace(134, 2, QByteArray("\xff\xc8", 2));
    e.write(kManagerFormat, records);
    e.load();
    auto& p = e.page();
    e.ed().Menu->setCurrentWidget(&p);
    p.MaRep->selectAll();
    QTest::keyClicks(p.MaRep, "40000");
    Editor::clickRow(p.ManList, 1);
    QCOMPARE(e.prompts.texts(Kind::GeneralError),
             QStringList("'40000' does not fit this field: allowed are 0 to 32767."));
    QCOMPARE(p.MaRec->text(), QString("3")); // the record stays shown for correction
    QCOMPARE(QByteArray(reinterpret_cast<const char*>(e.record(3)) + 134, 2), QByteArray("\xff\xc8", 2));
}

void TestRecordPage::newKeepsWhatWasTyped()
{
    Editor e;
    e.writeManagers(fourManagers());
    e.load();
    auto& p = e.page();
    e.ed().Menu->setCurrentWidget(&p);
    p.MaClub->selectAll();
    QTest::keyClicks(p.MaClub, "Nordvik");
    QTest::mouseClick(p.ManNew, Qt::LeftButton);
    QCOMPARE(managerText(e.record(3), "MaClub"), QByteArray("Nordvik"));
    QCOMPARE(p.MaRec->text(), QString("5"));

    // A value that cannot be stored stops New: no record is made, the record stays shown.
    Editor::clickRow(p.ManList, Editor::rowOfRecord(p.ManList, 1));
    p.MaRep->selectAll();
    QTest::keyClicks(p.MaRep, "99999");
    QTest::mouseClick(p.ManNew, Qt::LeftButton);
    QCOMPARE(e.prompts.texts(Kind::GeneralError),
             QStringList("'99999' does not fit this field: allowed are 0 to 32767."));
    QCOMPARE(p.table().count(), 5);
    QCOMPARE(p.MaRec->text(), QString("1"));
}

void TestRecordPage::newThenResetOrSaveKeepsToTheNewRecord_data()
{
    QTest::addColumn<int>("database"); // 0 managers, 1 teams, 2 players
    QTest::addColumn<QString>("nameBox");
    QTest::addColumn<bool>("reset"); // Reset, or else Save
    for (const bool reset : {true, false}) {
        const char* step = reset ? "Reset" : "Save";
        QTest::newRow(qPrintable(QString("managers, ") + step)) << 0 << "MaForN" << reset;
        QTest::newRow(qPrintable(QString("teams, ") + step)) << 1 << "TeLong" << reset;
        QTest::newRow(qPrintable(QString("players, ") + step)) << 2 << "PlFName" << reset;
    }
}

// New's line sorts first, above the line that was current: the new record must stay the one the
// page comes back to, and what is typed into it must reach it.
void TestRecordPage::newThenResetOrSaveKeepsToTheNewRecord()
{
    QFETCH(int, database);
    QFETCH(QString, nameBox);
    QFETCH(bool, reset);
    const DbFormat& f = database == 0 ? kManagerFormat : database == 1 ? kTeamFormat : kPlayerFormat;
    Editor e;
    auto named = [&](int id, const QByteArray& name) {
        return fixture::namedRecord(f, id, name, database == 2 ? name : QByteArray()); // players by second name
    };
    e.write(f, {named(0, "Cora"), named(1, "Alva"), named(2, "Bror")});
    e.load(database == 0, database == 1, database == 2);
    editor::RecordPage* page = database == 0   ? static_cast<editor::RecordPage*>(e.ed().Manager)
                               : database == 1 ? static_cast<editor::RecordPage*>(e.ed().TeamTab)
                                               : static_cast<editor::RecordPage*>(e.ed().Player);
    e.ed().Menu->setCurrentWidget(page);
    Editor::clickRow(page->listView(), 1); // Bror's line, record 3
    auto* rec = page->findChild<QLabel*>(QString::fromLatin1(f.schema[0].control).left(2) + "Rec");
    QCOMPARE(rec->text(), QString("3"));

    auto button = [&](const char* manager, const char* other) {
        return page->findChild<QPushButton*>(QString::fromLatin1(database == 0 ? manager : other));
    };
    QTest::mouseClick(button("ManNew", database == 1 ? "TeNew" : "PlNew"), Qt::LeftButton);
    QCOMPARE(rec->text(), QString("4"));
    QCOMPARE(page->currentRecord(), 4);
    QVERIFY(page->listView()->selectionModel()->selectedIndexes().isEmpty());
    auto* name = page->findChild<QLineEdit*>(nameBox);
    QVERIFY(name);
    QTest::keyClicks(name, "Nyby");

    const Field& nameField = fieldNamed(f.schema, f.schema[1].control);
    if (reset) {
        QTest::mouseClick(button("ManRes", database == 1 ? "TeRes" : "PlRes"), Qt::LeftButton);
        QCOMPARE(rec->text(), QString("4"));
        QCOMPARE(name->text(), QString("Nyby"));
    } else {
        e.save(database == 0, database == 1, database == 2);
        QCOMPARE(rec->text(), QString("4"));
        const QByteArray file = testfiles::readAll(e.path(f));
        const auto at = qsizetype(f.recordsStart() + 3 * f.recordSize + nameField.offset);
        QCOMPARE(file.mid(at, 5), QByteArray("Nyby\0", 5));
    }
    QVERIFY(readText(page->table().record(4), nameField) == "Nyby");
    for (int n = 1; n <= 3; ++n)
        QVERIFY(readText(page->table().record(n), nameField) != "Nyby");
    QCOMPARE(e.prompts.texts(Kind::GeneralError), QStringList());
}

void TestRecordPage::deleteRemovesTheRecordShown_data()
{
    QTest::addColumn<QString>("before"); // what the user did before Delete
    QTest::addColumn<QString>("gone");   // last name of the record that must go
    QTest::addColumn<int>("count");
    QTest::newRow("a search listing others") << "search orm"
                                             << "Ahlberg" << 3;
    QTest::newRow("a search listing nothing") << "search zzz"
                                              << "Ahlberg" << 3;
    QTest::newRow("a line clicked, then Reset") << "reset"
                                                << "Cantu" << 3;
    QTest::newRow("New") << "new"
                         << "" << 4; // the new, empty record goes
}

void TestRecordPage::deleteRemovesTheRecordShown()
{
    QFETCH(QString, before);
    QFETCH(QString, gone);
    QFETCH(int, count);
    Editor e;
    e.writeManagers(fourManagers());
    e.load();
    auto& p = e.page();
    e.ed().Menu->setCurrentWidget(&p);
    if (before.startsWith("search ")) {
        e.prompts.textAnswers << before.mid(7);
        QTest::mouseClick(p.ManSrc, Qt::LeftButton);
    } else if (before == "reset") {
        Editor::clickRow(p.ManList, Editor::rowOfRecord(p.ManList, 4)); // Cantu
        QTest::mouseClick(p.ManRes, Qt::LeftButton);
        QCOMPARE(p.ManList->currentIndex().row(), 0); // Ahlberg's line is current, Cantu shown
    } else {
        QTest::mouseClick(p.ManNew, Qt::LeftButton);
    }
    const QString shown = p.MaEft->text();
    QCOMPARE(shown, gone);
    p.clearModified();
    QTest::mouseClick(p.ManDel, Qt::LeftButton);

    QCOMPARE(p.table().count(), count);
    QVERIFY(p.isModified());
    QStringList left;
    for (int i = 1; i <= p.table().count(); ++i)
        left << QString::fromLatin1(managerText(e.record(i), "MaEft"));
    QVERIFY2(!left.contains(gone), qPrintable(left.join(',')));
    for (const char* kept : {"Ahlberg", "Borsk", "Cantu", "Dorm"}) {
        if (gone != kept)
            QVERIFY2(left.contains(kept), kept);
    }
    // The list holds every record again and its first line is shown.
    QCOMPARE(p.ManList->model()->rowCount(), count);
    QCOMPARE(p.MaRec->text(), QString::number(Editor::recordAt(p.ManList, 0)));
    QCOMPARE(e.prompts.texts(Kind::GeneralError), QStringList());
}

void TestRecordPage::deleteSetsTheMarkEvenWhenItsLastStepFails()
{
    Editor e;
    e.writeManagers(fourManagers());
    e.load();
    auto& p = e.page();
    e.ed().Menu->setCurrentWidget(&p);
    p.clearModified();
    // Something puts text that is not a number into a box while Delete shows the next record,
    // so that Delete's closing store-and-show step fails.
    bool armed = true;
    connect(p.MaRep, &QLineEdit::textChanged, &p, [&] {
        if (armed) {
            armed = false;
            p.MaRep->setText("12a");
        }
    });
    QTest::mouseClick(p.ManDel, Qt::LeftButton);
    QCOMPARE(e.prompts.texts(Kind::GeneralError), QStringList("'12a' is not a valid integer value."));
    QCOMPARE(p.table().count(), 3);
    QVERIFY(p.isModified());
    // So closing asks before the delete is lost.
    e.prompts.confirmAnswers << false;
    QVERIFY(!e.ed().close());
    QCOMPARE(e.prompts.texts(Kind::Confirm), QStringList("Exit Data Editor without saving?"));
}

void TestRecordPage::keyRulesJudgeCharactersHoweverTheyArrive_data()
{
    QTest::addColumn<QString>("control");
    QTest::addColumn<QString>("start"); // the box's text before
    QTest::addColumn<QString>("input");
    QTest::addColumn<bool>("inputMethod"); // else a key pressed with Ctrl+Alt (AltGr)
    QTest::addColumn<QString>("after");
    QTest::newRow("date, AltGr {") << "MaJoin"
                                   << ""
                                   << "{" << false << "";
    QTest::newRow("date, input method {") << "MaJoin"
                                          << ""
                                          << "{" << true << "";
    QTest::newRow("date, AltGr digit taken") << "MaJoin"
                                             << ""
                                             << "1" << false << "1";
    QTest::newRow("number, AltGr é") << "MaRep"
                                     << "1"
                                     << "é" << false << "1";
    QTest::newRow("number, input method é") << "MaRep"
                                            << "1"
                                            << "é" << true << "1";
    QTest::newRow("number, input method keeps digits") << "MaRep"
                                                       << "1"
                                                       << "2é3" << true << "123";
    QTest::newRow("full name, AltGr @") << "MaForN"
                                        << "ABCDEFGHIJKLMNO"
                                        << "@" << false << "ABCDEFGHIJKLMNO";
    QTest::newRow("full name, input method") << "MaForN"
                                             << "ABCDEFGHIJKLMN"
                                             << "€€" << true << "ABCDEFGHIJKLMN€";
    QTest::newRow("name, AltGr € taken") << "MaForN"
                                         << "A"
                                         << "€" << false << "A€";
}

void TestRecordPage::keyRulesJudgeCharactersHoweverTheyArrive()
{
    QFETCH(QString, control);
    QFETCH(QString, start);
    QFETCH(QString, input);
    QFETCH(bool, inputMethod);
    QFETCH(QString, after);
    Editor e;
    e.writeManagers(fourManagers());
    e.load();
    auto& p = e.page();
    e.ed().Menu->setCurrentWidget(&p);
    auto* box = p.findChild<QLineEdit*>(control);
    box->setText(start);
    box->setFocus();
    if (inputMethod)
        commitText(box, input);
    else
        sendKey(box, Qt::Key_2, Qt::ControlModifier | Qt::AltModifier, input);
    QCOMPARE(box->text(), after);
}

void TestRecordPage::shortcutsThatInsertNothingAreNotJudged()
{
    Editor e;
    e.writeManagers(fourManagers());
    e.load();
    auto& p = e.page();
    e.ed().Menu->setCurrentWidget(&p);
    p.MaForN->setText("ABCDEFGHIJKLMNO"); // at its limit of 15
    p.MaForN->setFocus();
    QTest::keyClick(p.MaForN, Qt::Key_A, Qt::ControlModifier);
    QCOMPARE(p.MaForN->selectedText(), QString("ABCDEFGHIJKLMNO"));
    // Backspace passes at the limit.
    QTest::keyClick(p.MaForN, Qt::Key_Backspace);
    QCOMPARE(p.MaForN->text(), QString());
}

void TestRecordPage::valueLabelsReadAsTheirValues()
{
    Editor e;
    e.writeManagers(fourManagers());
    e.load();
    auto& p = e.page();
    e.ed().Menu->setCurrentWidget(&p);
    QCOMPARE(p.MaRec->accessibleName(), QString("3"));
    QCOMPARE(p.MaID->accessibleName(), QString("3"));
    Editor::clickRow(p.ManList, Editor::rowOfRecord(p.ManList, 4));
    QCOMPARE(p.MaRec->accessibleName(), QString("4"));
    QCOMPARE(p.MaID->accessibleName(), QString("5"));
    QTest::mouseClick(p.ManNew, Qt::LeftButton);
    QCOMPARE(p.MaRec->accessibleName(), QString("5"));
    QCOMPARE(p.MaID->accessibleName(), QString("2"));
    QCOMPARE(p.ManList->accessibleName(), QString("Managers"));
    // Their captions are tied to them.
    for (QLabel* value : {p.MaRec, p.MaID}) {
        bool captioned = false;
        for (QLabel* l : p.findChildren<QLabel*>())
            captioned = captioned || l->buddy() == value;
        QVERIFY(captioned);
    }
}

void TestRecordPage::wheelChangesOnlyAFocusedDropDown_data()
{
    QTest::addColumn<bool>("teams"); // or managers
    QTest::addColumn<QString>("control");
    QTest::addColumn<bool>("marks"); // a value drop-down; a selector only switches the slot
    QTest::newRow("manager formation") << false << "MaForma" << true;
    QTest::newRow("manager style") << false << "MaStyle" << true;
    QTest::newRow("team formation") << true << "TeForm" << true;
    QTest::newRow("region") << true << "TeReg" << true;
    QTest::newRow("colour") << true << "TeColor" << true;
    QTest::newRow("division") << true << "TeDivi" << true;
    QTest::newRow("last division") << true << "TeLDivi" << true;
    QTest::newRow("colour slot selector") << true << "TeColC" << false;
}

// A wheel turned over a drop-down, delivered as the window system delivers it, which would give
// a wheel-focus box the focus first.
void TestRecordPage::wheelChangesOnlyAFocusedDropDown()
{
    QFETCH(bool, teams);
    QFETCH(QString, control);
    QFETCH(bool, marks);
    Editor e;
    if (teams) {
        QByteArray team = fixture::teamRecord(0, "Aarhem");
        for (const auto& [field, code] : {std::pair{"TeForm", "442A"},
                                          {"TeReg", "Northern Europe"},
                                          {"TeColor0", "RED"},
                                          {"TeDivi", "ND1"},
                                          {"TeLDivi", "ND1"}})
            fixture::setTeamText(team, field, code);
        fixture::writeTeams(e, {team});
    } else {
        e.writeManagers(fourManagers());
    }
    e.load(!teams, teams);
    editor::RecordPage* page = teams ? static_cast<editor::RecordPage*>(e.ed().TeamTab) : e.ed().Manager;
    e.ed().Menu->setCurrentWidget(page);
    auto* box = page->findChild<QComboBox*>(control);
    QVERIFY(box);
    for (int i = 0; i < page->subPages()->count(); ++i) {
        if (page->subPages()->widget(i)->isAncestorOf(box))
            page->subPages()->setCurrentIndex(i);
    }
    QVERIFY(QTest::qWaitForWindowActive(&e.ed()));
    QVERIFY(box->isVisible());
    const int shown = box->currentIndex();
    QVERIFY(shown >= 0 && shown < box->count() - 1);

    page->listView()->setFocus();
    page->clearModified();
    windowsystem::wheel(box, -1);
    QCOMPARE(box->currentIndex(), shown);
    QVERIFY(!box->hasFocus());
    QVERIFY(page->listView()->hasFocus());
    QVERIFY(!page->isModified());

    box->setFocus();
    QVERIFY(box->hasFocus());
    windowsystem::wheel(box, -1);
    QCOMPARE(box->currentIndex(), shown + 1);
    QCOMPARE(page->isModified(), marks);
}

QTEST_MAIN(TestRecordPage)
#include "tst_recordpage.moc"
