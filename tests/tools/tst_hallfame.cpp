#include "ScriptedPrompts.h"
#include "TestFiles.h"

#include "app/THovedmenu.h"
#include "gamedb/GameError.h"
#include "tools/THallFame.h"
#include "widgets/AppConfig.h"

#include <QAction>
#include <QClipboard>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QTableWidget>
#include <QtTest>

#include <memory>

using namespace testfiles;
using Kind = ScriptedPrompts::Kind;

namespace {

constexpr int R = 164;

// QTest::keyClicks takes Latin-1 only; this types any character as a key without a key code.
void typeText(QWidget* w, const QString& text)
{
    for (const QChar c : text)
        QTest::sendKeyEvent(QTest::Click, w, Qt::Key_unknown, QString(c), Qt::NoModifier);
}

QByteArray field(const QByteArray& text)
{
    return text.leftJustified(80, '\0', true);
}

QByteArray points(qint32 v)
{
    QByteArray p(4, '\0');
    qToLittleEndian(v, p.data());
    return p;
}

QByteArray record(const QByteArray& manager, const QByteArray& team, qint32 pts)
{
    return field(manager) + field(team) + points(pts);
}

// Thirty plain entries: "Manager k", "Team k", k * 100 - 500 points.
QByteArray plainFile()
{
    QByteArray f;
    for (int k = 1; k <= 30; ++k)
        f += record("Manager " + QByteArray::number(k), "Team " + QByteArray::number(k), k * 100 - 500);
    return f;
}

class Editor {
public:
    explicit Editor(const QString& folder) : config(folder)
    {
        window = std::make_unique<THallFame>(ToolContext{config, prompts});
        window->show();
        grid = window->findChild<QTableWidget*>("Manag");
        manager = window->findChild<QLineEdit*>("Manager");
        team = window->findChild<QLineEdit*>("Team");
        pointsBox = window->findChild<QLineEdit*>("Points");
        save = window->findChild<QPushButton*>("Button1");
        cancel = window->findChild<QPushButton*>("Button2");
    }
    QString cell(int row, int column) const { return grid->item(row, column)->text(); }
    QStringList rowValues(int row) const { return {cell(row, 0), cell(row, 1), cell(row, 2)}; }
    QStringList boxes() const { return {manager->text(), team->text(), pointsBox->text()}; }
    void clickRow(int row)
    {
        const QRect r = grid->visualRect(grid->model()->index(row, 1));
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, r.center());
    }

    AppConfig config;
    ScriptedPrompts prompts;
    std::unique_ptr<THallFame> window;
    QTableWidget* grid;
    QLineEdit* manager;
    QLineEdit* team;
    QLineEdit* pointsBox;
    QPushButton* save;
    QPushButton* cancel;
};

} // namespace

class TestHallFame : public QObject {
    Q_OBJECT
private slots:
    void init();
    void opensWithTheFile();
    void opensWithoutTheFileAsThirtyEmptyRows();
    void typingChangesOnlyTheCurrentRow();
    void unchangedSaveIsByteIdenticalButForBytesAfterANamesZero();
    void keysMakeCancelAsk_data();
    void keysMakeCancelAsk();
    void cancelWithoutKeysClosesWithoutAQuestion_data();
    void cancelWithoutKeysClosesWithoutAQuestion();
    void invalidPointsStopTheSave_data();
    void invalidPointsStopTheSave();
    void pointsTakeOnlyDigits();
    void writeFailureLeavesTheFileAndTheWindow();
    void shortFileIsRefused();
    void menuAsksToCreateAMissingFile_data();
    void menuAsksToCreateAMissingFile();
    void menuShowsReadErrorsAndOpensNothing();
    void exitWithAFailingSaveKeepsTheProgramRunning();

private:
    std::unique_ptr<QTemporaryDir> dir_;
    QString path() const { return dir_->path() + "/Hiscores.bin"; }
};

void TestHallFame::init()
{
    dir_ = std::make_unique<QTemporaryDir>();
    QVERIFY(dir_->isValid());
}

void TestHallFame::opensWithTheFile()
{
    writeAll(path(), plainFile());
    Editor e(dir_->path());
    QCOMPARE(e.grid->rowCount(), 30);
    QCOMPARE(e.grid->columnCount(), 3);
    QCOMPARE(e.grid->horizontalHeaderItem(0)->text(), QString("Manager"));
    QCOMPARE(e.grid->horizontalHeaderItem(1)->text(), QString("Team"));
    QCOMPARE(e.grid->horizontalHeaderItem(2)->text(), QString("Points"));
    QCOMPARE(e.grid->columnWidth(0), 133);
    QCOMPARE(e.grid->columnWidth(1), 144);
    QCOMPARE(e.grid->columnWidth(2), 70);
    QCOMPARE(e.grid->rowHeight(7), 15);
    QCOMPARE(e.window->size(), QSize(383, 260));
    QCOMPARE(e.window->windowTitle(), QString("KRVX Hall of Fame Editor"));

    QCOMPARE(e.grid->currentRow(), 0);
    QCOMPARE(e.boxes(), (QStringList{"Manager 1", "Team 1", "-400"}));
    QCOMPARE(e.rowValues(29), (QStringList{"Manager 30", "Team 30", "2500"}));
    QCOMPARE(e.rowValues(4), (QStringList{"Manager 5", "Team 5", "0"}));
    QVERIFY(!e.window->isModified());
}

void TestHallFame::opensWithoutTheFileAsThirtyEmptyRows()
{
    Editor e(dir_->path());
    QCOMPARE(e.grid->rowCount(), 30);
    for (int r = 0; r < 30; ++r)
        QCOMPARE(e.rowValues(r), (QStringList{"", "", ""}));
    QCOMPARE(e.boxes(), (QStringList{"", "", ""}));
    QCOMPARE(e.grid->currentRow(), 0);
    QVERIFY(!QFile::exists(path()));
}

void TestHallFame::typingChangesOnlyTheCurrentRow()
{
    const QByteArray original = plainFile();
    writeAll(path(), original);
    Editor e(dir_->path());

    e.clickRow(4);
    QCOMPARE(e.grid->currentRow(), 4);
    QCOMPARE(e.boxes(), (QStringList{"Manager 5", "Team 5", "0"}));
    QTest::keyClick(e.team, Qt::Key_End);
    QTest::keyClicks(e.team, "X");
    QCOMPARE(e.cell(4, 1), QString("Team 5X"));
    QVERIFY(e.window->isModified());

    // Another row by mouse and by keyboard: its values come up, the typed change stays behind.
    e.clickRow(1);
    QCOMPARE(e.boxes(), (QStringList{"Manager 2", "Team 2", "-300"}));
    e.grid->setFocus();
    QTest::keyClick(e.grid, Qt::Key_Down);
    QCOMPARE(e.boxes(), (QStringList{"Manager 3", "Team 3", "-200"}));
    QTest::keyClick(e.manager, Qt::Key_End);
    QTest::keyClicks(e.manager, "!");
    QCOMPARE(e.cell(2, 0), QString("Manager 3!"));
    for (int r = 0; r < 30; ++r) {
        if (r == 4 || r == 2)
            continue;
        QCOMPARE(e.rowValues(r), (QStringList{QString("Manager %1").arg(r + 1), QString("Team %1").arg(r + 1),
                                              QString::number((r + 1) * 100 - 500)}));
    }
    QCOMPARE(e.cell(4, 0), QString("Manager 5"));

    QTest::mouseClick(e.save, Qt::LeftButton);
    QVERIFY(e.prompts.asked.isEmpty());
    QVERIFY(!e.window->isVisible());
    QByteArray expected = original;
    expected.replace(4 * R + 80, 80, field("Team 5X"));
    expected.replace(2 * R, 80, field("Manager 3!"));
    QCOMPARE(readAll(path()), expected);
}

void TestHallFame::unchangedSaveIsByteIdenticalButForBytesAfterANamesZero()
{
    QByteArray original = plainFile();
    original.replace(1 * R + 160, 4, points(-1));
    original.replace(27 * R + 160, 4, points(std::numeric_limits<qint32>::min()));
    original.replace(28 * R + 160, 4, points(std::numeric_limits<qint32>::max()));
    original.replace(6 * R + 80, 80, QByteArray(80, 'x'));      // a team name without zero
    original.replace(9 * R, 80, field("Ren\xe9 \xc5str\xf6m")); // code-page letters
    QByteArray expected = original;
    original.replace(3 * R + 20, 5, "JUNK!"); // after "Manager 4" and its zero
    original.replace(12 * R + 80 + 70, 10, "0123456789");
    original.append("tail bytes after the 30th record");
    writeAll(path(), original);

    Editor e(dir_->path());
    QCOMPARE(e.cell(1, 2), QString("-1"));
    QCOMPARE(e.cell(27, 2), QString("-2147483648"));
    QCOMPARE(e.cell(28, 2), QString("2147483647"));
    QCOMPARE(e.cell(6, 1), QString(80, QChar('x')));
    QCOMPARE(e.cell(9, 0), QString::fromUtf8("Ren\u00e9 \u00c5str\u00f6m"));
    QCOMPARE(e.cell(3, 0), QString("Manager 4"));

    QTest::keyClick(e.save, Qt::Key_Space);
    QVERIFY(!e.window->isVisible());
    QCOMPARE(readAll(path()), expected);
    QCOMPARE(readAll(path()).size(), qsizetype(4920));
    QCOMPARE(filesIn(dir_->path()), QStringList{"Hiscores.bin"});
}

void TestHallFame::keysMakeCancelAsk_data()
{
    using A = Prompts::Answer;
    QTest::addColumn<QString>("box");
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("answer"); // to "Save Changes?"
    QTest::addColumn<bool>("escape");
    QTest::newRow("left arrow in Manager, No") << "Manager" << int(Qt::Key_Left) << int(A::No) << false;
    QTest::newRow("right arrow in Team, Yes") << "Team" << int(Qt::Key_Right) << int(A::Yes) << false;
    QTest::newRow("home in Points, Escape, No") << "Points" << int(Qt::Key_Home) << int(A::No) << true;
    QTest::newRow("shift in Points, Escape, Yes") << "Points" << int(Qt::Key_Shift) << int(A::Yes) << true;
    QTest::newRow("end in Team, question dismissed") << "Team" << int(Qt::Key_End) << int(A::Dismissed) << false;
    QTest::newRow("left arrow in Manager, Escape, question dismissed")
        << "Manager" << int(Qt::Key_Left) << int(A::Dismissed) << true;
}

void TestHallFame::keysMakeCancelAsk()
{
    QFETCH(QString, box);
    QFETCH(int, key);
    QFETCH(int, answer);
    QFETCH(bool, escape);
    QByteArray original = plainFile();
    original.replace(R + 10, 3, "ABC"); // after a zero: only a save clears it
    writeAll(path(), original);
    Editor e(dir_->path());
    auto* target = e.window->findChild<QLineEdit*>(box);
    const QString before = target->text();
    QTest::keyClick(target, Qt::Key(key));
    QCOMPARE(target->text(), before);
    QVERIFY(e.window->isModified());

    e.prompts.confirmAnswers = {Prompts::Answer(answer)};
    if (escape)
        QTest::keyClick(target, Qt::Key_Escape);
    else
        QTest::mouseClick(e.cancel, Qt::LeftButton);
    QCOMPARE(e.prompts.texts(Kind::Confirm), QStringList{"Save Changes?"});
    QVERIFY(!e.window->isVisible());
    // Only No throws the edits away.
    const bool saved = Prompts::Answer(answer) != Prompts::Answer::No;
    QCOMPARE(readAll(path()) == original, !saved);
    if (saved)
        QCOMPARE(readAll(path()).mid(R + 10, 3), QByteArray(3, '\0'));
}

void TestHallFame::cancelWithoutKeysClosesWithoutAQuestion_data()
{
    QTest::addColumn<bool>("file");
    QTest::addColumn<bool>("escape");
    QTest::newRow("file, Cancel") << true << false;
    QTest::newRow("file, Escape in grid") << true << true;
    QTest::newRow("no file, Cancel") << false << false;
}

void TestHallFame::cancelWithoutKeysClosesWithoutAQuestion()
{
    QFETCH(bool, file);
    QFETCH(bool, escape);
    if (file)
        writeAll(path(), plainFile());
    Editor e(dir_->path());
    e.clickRow(6); // choosing rows is no change
    QVERIFY(!e.window->isModified());
    if (escape)
        QTest::keyClick(e.grid, Qt::Key_Escape);
    else
        QTest::mouseClick(e.cancel, Qt::LeftButton);
    QVERIFY(e.prompts.asked.isEmpty());
    QVERIFY(!e.window->isVisible());
    QCOMPARE(QFile::exists(path()), file);
}

void TestHallFame::invalidPointsStopTheSave_data()
{
    QTest::addColumn<QString>("paste"); // replaces row 3's points
    QTest::addColumn<QString>("typed"); // then typed
    QTest::addColumn<QString>("cell");
    QTest::newRow("emptied") << ""
                             << ""
                             << "";
    QTest::newRow("not a number") << "12x"
                                  << ""
                                  << "12x";
    QTest::newRow("spaces") << " 7"
                            << ""
                            << " 7";
    QTest::newRow("hexadecimal") << "$1F"
                                 << ""
                                 << "$1F";
    QTest::newRow("above 32 bits") << ""
                                   << "2147483648"
                                   << "2147483648";
    QTest::newRow("below 32 bits") << "-2147483649"
                                   << ""
                                   << "-2147483649";
    QTest::newRow("line feed after") << "12\n"
                                     << ""
                                     << "12\n";
    QTest::newRow("CRLF after") << "7\r\n"
                                << ""
                                << "7\r\n";
    QTest::newRow("tab before") << "\t5"
                                << ""
                                << "\t5";
    QTest::newRow("space after") << "5 "
                                 << ""
                                 << "5 ";
    QTest::newRow("far too long") << ""
                                  << "99999999999999999999999"
                                  << "99999999999999999999999";
}

void TestHallFame::invalidPointsStopTheSave()
{
    QFETCH(QString, paste);
    QFETCH(QString, typed);
    QFETCH(QString, cell);
    const QByteArray original = plainFile();
    writeAll(path(), original);
    Editor e(dir_->path());
    e.clickRow(2);
    QTest::keyClick(e.manager, Qt::Key_End);
    QTest::keyClicks(e.manager, "Q");
    e.pointsBox->selectAll();
    QTest::keyClick(e.pointsBox, Qt::Key_Backspace);
    if (!paste.isEmpty()) {
        QGuiApplication::clipboard()->setText(paste);
        QTest::keyClick(e.pointsBox, Qt::Key_V, Qt::ControlModifier);
    }
    QTest::keyClicks(e.pointsBox, typed);
    QCOMPARE(e.cell(2, 2), cell);

    QTest::mouseClick(e.save, Qt::LeftButton);
    QCOMPARE(e.prompts.texts(Kind::GeneralError), QStringList{QString("'%1' is not a valid integer value.").arg(cell)});
    QCOMPARE(readAll(path()), original);
    QVERIFY(e.window->isVisible());
    QCOMPARE(e.cell(2, 0), QString("Manager 3Q"));
    QCOMPARE(e.cell(2, 2), cell);

    // Corrected, the same window saves.
    e.pointsBox->selectAll();
    QTest::keyClicks(e.pointsBox, "15");
    QTest::keyClick(e.pointsBox, Qt::Key_Return);
    QVERIFY(!e.window->isVisible());
    QByteArray expected = original;
    expected.replace(2 * R, 80, field("Manager 3Q"));
    expected.replace(2 * R + 160, 4, points(15));
    QCOMPARE(readAll(path()), expected);
}

void TestHallFame::pointsTakeOnlyDigits()
{
    Editor e(dir_->path());
    QTest::keyClicks(e.pointsBox, "-1a2 .3+");
    QCOMPARE(e.pointsBox->text(), QString("123"));
    QCOMPARE(e.cell(0, 2), QString("123"));
    // A name box takes what the game can store, and no more than a field holds.
    QTest::keyClicks(e.manager, QString(85, QChar('m')));
    QCOMPARE(e.cell(0, 0), QString(80, QChar('m')));
    typeText(e.team, QString::fromUtf8("A\u20acB\u4e2dC")); // the euro sign is in the code page
    QCOMPARE(e.cell(0, 1), QString::fromUtf8("A\u20acBC"));
}

void TestHallFame::writeFailureLeavesTheFileAndTheWindow()
{
    const QByteArray original = plainFile();
    writeAll(path(), original);
    Editor e(dir_->path());
    QTest::keyClick(e.team, Qt::Key_End);
    QTest::keyClicks(e.team, "Y");
    // The run's backup is made, so that the fault hits the write of the file itself.
    e.config.backups().beforeSave(dir_->path(), path(), false);
    {
        FaultScope faults(gamedb::IoFaults{.writeLimit = 1000});
        QTest::mouseClick(e.save, Qt::LeftButton);
    }
    QCOMPARE(e.prompts.texts(Kind::GeneralError), QStringList{"Disk full."});
    QCOMPARE(readAll(path()), original);
    QCOMPARE(filesIn(dir_->path()), QStringList{"Hiscores.bin"});
    QVERIFY(e.window->isVisible());
    QCOMPARE(e.cell(0, 1), QString("Team 1Y"));

    // The close box asks, the save fails again, and the window stays.
    e.prompts.confirmAnswers = {true};
    {
        FaultScope faults(gamedb::IoFaults{.renameErrno = EIO});
        QVERIFY(!e.window->close());
    }
    QCOMPARE(e.prompts.texts(Kind::Confirm), QStringList{"Save Changes?"});
    QCOMPARE(e.prompts.texts(Kind::GeneralError).size(), 2);
    QCOMPARE(readAll(path()), original);
    QVERIFY(e.window->isVisible());

    QTest::mouseClick(e.save, Qt::LeftButton);
    QVERIFY(!e.window->isVisible());
    QCOMPARE(readAll(path()).mid(80, 80), field("Team 1Y"));
}

void TestHallFame::shortFileIsRefused()
{
    writeAll(path(), plainFile().left(4919));
    AppConfig config(dir_->path());
    ScriptedPrompts prompts;
    try {
        THallFame window(ToolContext{config, prompts});
        QFAIL("the window opened");
    } catch (const gamedb::GameError& e) {
        QCOMPARE(QString(e.what()), QString("Read beyond end of file"));
    }
    QCOMPARE(readAll(path()).size(), qsizetype(4919));
}

void TestHallFame::menuAsksToCreateAMissingFile_data()
{
    QTest::addColumn<bool>("yes");
    QTest::newRow("Yes") << true;
    QTest::newRow("No") << false;
}

void TestHallFame::menuAsksToCreateAMissingFile()
{
    QFETCH(bool, yes);
    AppConfig config(dir_->path());
    ScriptedPrompts prompts;
    THovedmenu menu(config, prompts);
    menu.show();
    prompts.confirmAnswers = {yes};
    menu.EditHiscores1->trigger();
    QCOMPARE(prompts.texts(Kind::Confirm), QStringList{"File doesn't exist. Create?"});
    QCOMPARE(menu.mdiArea()->subWindowList().size(), yes ? 1 : 0);
    QVERIFY(!QFile::exists(path()));
    if (!yes)
        return;

    auto* editor = menu.findChild<THallFame*>("HallFame");
    QVERIFY(editor);
    auto* grid = editor->findChild<QTableWidget*>("Manag");
    for (int r = 0; r < 30; ++r)
        QCOMPARE(grid->item(r, 0)->text() + grid->item(r, 1)->text() + grid->item(r, 2)->text(), QString());
    QCOMPARE(menu.mdiArea()->subWindowList().first()->windowTitle(), QString("KRVX Hall of Fame Editor"));

    // A new table saves once every row has points.
    auto* pointsBox = editor->findChild<QLineEdit*>("Points");
    for (int r = 0; r < 30; ++r) {
        grid->setCurrentCell(r, 0);
        QTest::keyClicks(pointsBox, QString::number(r));
    }
    QTest::keyClicks(editor->findChild<QLineEdit*>("Manager"), "Ivo");
    QTest::mouseClick(editor->findChild<QPushButton*>("Button1"), Qt::LeftButton);
    QTRY_VERIFY(menu.mdiArea()->subWindowList().isEmpty());
    const QByteArray written = readAll(path());
    QCOMPARE(written.size(), qsizetype(4920));
    QCOMPARE(written.mid(29 * R, R), record("Ivo", "", 29));

    // Now the file exists: no question.
    prompts.clear();
    menu.EditHiscores1->trigger();
    QVERIFY(prompts.asked.isEmpty());
    QCOMPARE(menu.mdiArea()->subWindowList().size(), 1);
    auto* again = qobject_cast<THallFame*>(menu.mdiArea()->subWindowList().first()->widget());
    QCOMPARE(again->findChild<QLineEdit*>("Points")->text(), QString("0"));
    QTest::mouseClick(again->findChild<QPushButton*>("Button2"), Qt::LeftButton);
    QTRY_VERIFY(menu.mdiArea()->subWindowList().isEmpty());
}

void TestHallFame::menuShowsReadErrorsAndOpensNothing()
{
    writeAll(path(), plainFile().left(164));
    AppConfig config(dir_->path());
    ScriptedPrompts prompts;
    THovedmenu menu(config, prompts);
    menu.show();
    menu.EditHiscores1->trigger();
    QCOMPARE(prompts.texts(Kind::GeneralError), QStringList{"Read beyond end of file."});
    QVERIFY(prompts.texts(Kind::Confirm).isEmpty());
    QVERIFY(menu.mdiArea()->subWindowList().isEmpty());
    QVERIFY(!menu.findChild<THallFame*>());
}

void TestHallFame::exitWithAFailingSaveKeepsTheProgramRunning()
{
    AppConfig config(dir_->path());
    ScriptedPrompts prompts;
    THovedmenu menu(config, prompts);
    menu.show();
    prompts.confirmAnswers = {true};
    menu.EditHiscores1->trigger();
    auto* editor = menu.findChild<THallFame*>("HallFame");
    QVERIFY(editor);
    QTest::keyClicks(editor->findChild<QLineEdit*>("Manager"), "Ann");

    // Save Changes? Yes: the empty points stop the save, so the editor and the program stay.
    prompts.clear();
    prompts.confirmAnswers = {true};
    QVERIFY(!menu.close());
    QCOMPARE(prompts.texts(Kind::Confirm), QStringList{"Save Changes?"});
    QCOMPARE(prompts.texts(Kind::GeneralError), QStringList{"'' is not a valid integer value."});
    QCOMPARE(menu.mdiArea()->subWindowList().size(), 1);
    QVERIFY(menu.isVisible());
    QVERIFY(!QFile::exists(path()));

    // Answered No, the edits are dropped and the program ends.
    prompts.confirmAnswers = {false};
    QVERIFY(menu.close());
    QVERIFY(!QFile::exists(path()));
}

QTEST_MAIN(TestHallFame)
#include "tst_hallfame.moc"
