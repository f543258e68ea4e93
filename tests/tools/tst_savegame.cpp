#include "ScriptedPrompts.h"
#include "TestFiles.h"

#include "app/THovedmenu.h"
#include "gamedb/GameError.h"
#include "tools/TSaveGame.h"
#include "widgets/AppConfig.h"

#include <QAction>
#include <QClipboard>
#include <QGroupBox>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QtTest>

#include <memory>

using namespace testfiles;
using Kind = ScriptedPrompts::Kind;

namespace {

// QTest::keyClicks takes Latin-1 only; this types any character as a key without a key code.
void typeText(QWidget* w, const QString& text)
{
    for (const QChar c : text)
        QTest::sendKeyEvent(QTest::Click, w, Qt::Key_unknown, QString(c), Qt::NoModifier);
}

QByteArray slot(const QByteArray& name)
{
    return name.leftJustified(80, '\0', true);
}

QByteArray index(const QList<QByteArray>& names)
{
    QByteArray f;
    for (int i = 0; i < 7; ++i)
        f += slot(i < names.size() ? names[i] : QByteArray());
    return f;
}

const QByteArray k16 = index({"Spring save", "", "Cup run", "", "", "", "Last"});
const QByteArray k8 = index({"", "Small one"});

class Renamer {
public:
    explicit Renamer(const QString& folder) : config(folder)
    {
        window = std::make_unique<TSaveGame>(ToolContext{config, prompts});
        window->show();
        save = window->findChild<QPushButton*>("Button1");
        cancel = window->findChild<QPushButton*>("Button2");
    }
    QLineEdit* box(const QString& name) const { return window->findChild<QLineEdit*>(name); }
    QStringList names(const QString& prefix) const
    {
        QStringList out;
        for (int i = 1; i <= 7; ++i)
            out << box(prefix + QString::number(i))->text();
        return out;
    }
    // Shown as the user sees it once the window is up (the window itself is shown).
    bool shown(const char* name) const { return window->findChild<QWidget*>(name)->isVisible(); }

    AppConfig config;
    ScriptedPrompts prompts;
    std::unique_ptr<TSaveGame> window;
    QPushButton* save;
    QPushButton* cancel;
};

} // namespace

class TestSaveGame : public QObject {
    Q_OBJECT
private slots:
    void init();
    void opensTheIndexesThatExist_data();
    void opensTheIndexesThatExist();
    void createEightThenSave();
    void unchangedSaveRewritesZerosAfterNamesAndDropsTheTail();
    void namesStopAtEightyCharacters();
    void cancelAsksOnlyAfterAnEdit_data();
    void cancelAsksOnlyAfterAnEdit();
    void failureOnTheEightMbFileKeepsTheWindow();
    void shortIndexIsRefused_data();
    void shortIndexIsRefused();
    void menuOpensAndClosesTheRenamer();

private:
    std::unique_ptr<QTemporaryDir> dir_;
    QString path16() const { return dir_->path() + "/Gamess16.idx"; }
    QString path8() const { return dir_->path() + "/Gamess8.idx"; }
};

void TestSaveGame::init()
{
    dir_ = std::make_unique<QTemporaryDir>();
    QVERIFY(dir_->isValid());
}

void TestSaveGame::opensTheIndexesThatExist_data()
{
    QTest::addColumn<bool>("has16");
    QTest::addColumn<bool>("has8");
    QTest::newRow("neither") << false << false;
    QTest::newRow("16 only") << true << false;
    QTest::newRow("8 only") << false << true;
    QTest::newRow("both") << true << true;
}

void TestSaveGame::opensTheIndexesThatExist()
{
    QFETCH(bool, has16);
    QFETCH(bool, has8);
    if (has16)
        writeAll(path16(), k16);
    if (has8)
        writeAll(path8(), k8);
    Renamer r(dir_->path());
    QCOMPARE(r.window->size(), QSize(374, 247));
    QCOMPARE(r.window->windowTitle(), QString("KRVX Saved Game Renamer"));
    QCOMPARE(r.window->findChild<QGroupBox*>("Mb16G")->title(), QString("16 Mb Games:"));
    QCOMPARE(r.window->findChild<QGroupBox*>("Mb8G")->title(), QString("8 Mb Games:"));
    QCOMPARE(r.shown("Mb16G"), has16);
    QCOMPARE(r.shown("C16"), !has16);
    QCOMPARE(r.shown("Mb8G"), has8);
    QCOMPARE(r.shown("C8"), !has8);
    QCOMPARE(r.names("Mb16"), has16 ? (QStringList{"Spring save", "", "Cup run", "", "", "", "Last"}) : QStringList(7));
    QCOMPARE(r.names("Mb8"), has8 ? (QStringList{"", "Small one", "", "", "", "", ""}) : QStringList(7));

    // Saving writes exactly the sides that are shown, even unchanged, and closes.
    QTest::mouseClick(r.save, Qt::LeftButton);
    QVERIFY(r.prompts.asked.isEmpty());
    QVERIFY(!r.window->isVisible());
    QCOMPARE(QFile::exists(path16()), has16);
    QCOMPARE(QFile::exists(path8()), has8);
    if (has16)
        QCOMPARE(readAll(path16()), k16);
    if (has8)
        QCOMPARE(readAll(path8()), k8);
}

void TestSaveGame::createEightThenSave()
{
    writeAll(path16(), k16);
    Renamer r(dir_->path());
    QTest::mouseClick(r.window->findChild<QPushButton*>("C8"), Qt::LeftButton);
    QVERIFY(r.shown("Mb8G"));
    QVERIFY(!r.shown("C8"));
    QCOMPARE(r.names("Mb8"), QStringList(7));
    QTest::keyClicks(r.box("Mb81"), "First small");
    typeText(r.box("Mb87"), QString::fromUtf8("\u00c9t\u00e9"));
    QTest::keyClick(r.box("Mb163"), Qt::Key_End);
    QTest::keyClicks(r.box("Mb163"), " final");
    QTest::keyClick(r.box("Mb163"), Qt::Key_Enter); // the default button
    QVERIFY(!r.window->isVisible());
    QVERIFY(r.prompts.asked.isEmpty());

    const QByteArray eight = readAll(path8());
    QCOMPARE(eight.size(), qsizetype(560));
    QCOMPARE(eight, index({"First small", "", "", "", "", "", "\xc9t\xe9"}));
    QCOMPARE(readAll(path16()), index({"Spring save", "", "Cup run final", "", "", "", "Last"}));
    QCOMPARE(filesIn(dir_->path()), (QStringList{"Gamess16.idx", "Gamess8.idx"}));
}

void TestSaveGame::unchangedSaveRewritesZerosAfterNamesAndDropsTheTail()
{
    QByteArray file = k16;
    file.replace(80 + 5, 4, "JUNK"); // slot 2 is empty: everything after its first byte is junk
    file.replace(2 * 80 + 60, 3, "abc");
    file.append("tail");
    writeAll(path16(), file);
    Renamer r(dir_->path());
    QCOMPARE(r.names("Mb16")[1], QString());
    QTest::mouseClick(r.save, Qt::LeftButton);
    QCOMPARE(readAll(path16()), k16);
    QVERIFY(!QFile::exists(path8()));
}

void TestSaveGame::namesStopAtEightyCharacters()
{
    QByteArray file = k8;
    file.replace(0, 80, QByteArray(79, 'n') + "Z"); // no zero in slot 1
    writeAll(path8(), file);
    Renamer r(dir_->path());
    QCOMPARE(r.box("Mb81")->text(), QString(79, QChar('n')) + "Z");
    QCOMPARE(r.box("Mb82")->text(), QString("Small one"));

    QTest::keyClicks(r.box("Mb81"), "more");
    QCOMPARE(r.box("Mb81")->text().size(), 80);
    QTest::keyClicks(r.box("Mb83"), QString(78, QChar('t')));
    QGuiApplication::clipboard()->setText("pasted text");
    QTest::keyClick(r.box("Mb83"), Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(r.box("Mb83")->text(), QString(78, QChar('t')) + "pa");
    typeText(r.box("Mb84"), QString::fromUtf8("x\u4e2dy")); // outside the code page
    QCOMPARE(r.box("Mb84")->text(), QString("xy"));

    QTest::mouseClick(r.save, Qt::LeftButton);
    const QByteArray written = readAll(path8());
    QCOMPARE(written.size(), qsizetype(560));
    QCOMPARE(written.left(80), QByteArray(79, 'n') + "Z");
    QCOMPARE(written.mid(80, 80), slot("Small one"));
    QCOMPARE(written.mid(160, 80), QByteArray(78, 't') + "pa");
    QCOMPARE(written.mid(240, 80), slot("xy"));
}

void TestSaveGame::cancelAsksOnlyAfterAnEdit_data()
{
    using A = Prompts::Answer;
    QTest::addColumn<QString>("keys"); // typed into Mb82, then taken back
    QTest::addColumn<bool>("undo");    // taken back by Ctrl+Z rather than Backspace
    QTest::addColumn<int>("answer");   // to "Save Changes?"
    QTest::addColumn<bool>("escape");  // Escape in the window rather than Cancel
    QTest::newRow("nothing typed") << "" << false << int(A::No) << false;
    QTest::newRow("nothing typed, Escape") << "" << false << int(A::No) << true;
    QTest::newRow("typed and deleted, No") << "a" << false << int(A::No) << false;
    QTest::newRow("typed and deleted, Yes, Escape") << "ab" << false << int(A::Yes) << true;
    QTest::newRow("typed and deleted, question dismissed") << "ab" << false << int(A::Dismissed) << false;
    QTest::newRow("typed and undone, No") << "abc" << true << int(A::No) << false;
    QTest::newRow("typed and undone, Yes") << "a" << true << int(A::Yes) << false;
    QTest::newRow("typed and undone, Escape, question dismissed") << "ab" << true << int(A::Dismissed) << true;
}

void TestSaveGame::cancelAsksOnlyAfterAnEdit()
{
    QFETCH(QString, keys);
    QFETCH(bool, undo);
    QFETCH(int, answer);
    QFETCH(bool, escape);
    QByteArray file = k16;
    file.replace(80 + 3, 2, "zz"); // after a zero: only a save clears it
    writeAll(path16(), file);
    Renamer r(dir_->path());
    QTest::mouseClick(r.window->findChild<QPushButton*>("C8"), Qt::LeftButton); // no edit
    QLineEdit* box = r.box("Mb162");
    QTest::keyClicks(box, keys);
    for (int i = 0; i < keys.size() && !box->text().isEmpty(); ++i)
        QTest::keyClick(box, undo ? Qt::Key_Z : Qt::Key_Backspace, undo ? Qt::ControlModifier : Qt::NoModifier);
    QCOMPARE(box->text(), QString());
    if (undo)
        QVERIFY(!box->isModified()); // the box itself forgets the edit

    r.prompts.confirmAnswers = {Prompts::Answer(answer)};
    if (escape)
        QTest::keyClick(r.box("Mb161"), Qt::Key_Escape);
    else
        QTest::mouseClick(r.cancel, Qt::LeftButton);
    QVERIFY(!r.window->isVisible());
    QCOMPARE(r.prompts.texts(Kind::Confirm), keys.isEmpty() ? QStringList() : QStringList{"Save Changes?"});
    // Only Yes saves.
    const bool saved = Prompts::Answer(answer) == Prompts::Answer::Yes;
    QCOMPARE(readAll(path16()), saved ? k16 : file);
    QCOMPARE(QFile::exists(path8()), saved);
}

void TestSaveGame::failureOnTheEightMbFileKeepsTheWindow()
{
    writeAll(path16(), k16);
    writeAll(path8(), k8);
    Renamer r(dir_->path());
    QTest::keyClicks(r.box("Mb162"), "new 16");
    QTest::keyClicks(r.box("Mb81"), "new 8");
    // The 8 Mb index becomes a folder while the window is open: its replacement cannot be
    // renamed over it, whoever runs the test.
    QVERIFY(QFile::remove(path8()));
    QVERIFY(QDir().mkpath(path8() + "/inside"));

    QTest::mouseClick(r.save, Qt::LeftButton);
    QCOMPARE(r.prompts.texts(Kind::GeneralError).size(), 1);
    QVERIFY(r.window->isVisible());
    QCOMPARE(readAll(path16()), index({"Spring save", "new 16", "Cup run", "", "", "", "Last"}));
    QVERIFY(QFileInfo(path8()).isDir());
    QCOMPARE(filesIn(dir_->path()), QStringList{"Gamess16.idx"});
    QCOMPARE(r.box("Mb81")->text(), QString("new 8"));

    // Once the folder is gone again, the same window saves both, after asking: the file it read
    // is gone, which only another program can have done.
    QVERIFY(QDir(path8()).removeRecursively());
    r.prompts.confirmAnswers << true;
    QTest::mouseClick(r.save, Qt::LeftButton);
    QCOMPARE(r.prompts.texts(Kind::Confirm),
             QStringList{"Gamess8.idx was changed by another program after it was loaded. Overwrite it?"});
    QVERIFY(!r.window->isVisible());
    QCOMPARE(readAll(path8()), index({"new 8", "Small one"}));
}

void TestSaveGame::shortIndexIsRefused_data()
{
    QTest::addColumn<bool>("sixteen");
    QTest::newRow("Gamess16.idx") << true;
    QTest::newRow("Gamess8.idx") << false;
}

void TestSaveGame::shortIndexIsRefused()
{
    QFETCH(bool, sixteen);
    writeAll(sixteen ? path16() : path8(), k16.left(559));
    writeAll(sixteen ? path8() : path16(), k8);
    AppConfig config(dir_->path());
    ScriptedPrompts prompts;
    try {
        TSaveGame window(ToolContext{config, prompts});
        QFAIL("the window opened");
    } catch (const gamedb::GameError& e) {
        QCOMPARE(QString(e.what()), QString("Read beyond end of file"));
    }

    THovedmenu menu(config, prompts);
    menu.show();
    menu.RenameSavedGames1->trigger();
    QCOMPARE(prompts.texts(Kind::GeneralError), QStringList{"Read beyond end of file."});
    QVERIFY(menu.mdiArea()->subWindowList().isEmpty());
    QCOMPARE(readAll(sixteen ? path16() : path8()).size(), qsizetype(559));
}

void TestSaveGame::menuOpensAndClosesTheRenamer()
{
    writeAll(path16(), k16);
    AppConfig config(dir_->path());
    ScriptedPrompts prompts;
    THovedmenu menu(config, prompts);
    menu.show();
    menu.RenameSavedGames1->trigger();
    menu.RenameSavedGames1->trigger(); // a new window every time
    QCOMPARE(menu.mdiArea()->subWindowList().size(), 2);
    const auto renamers = menu.findChildren<TSaveGame*>("SaveGame");
    QCOMPARE(renamers.size(), 2);
    QCOMPARE(menu.mdiArea()->subWindowList().first()->windowTitle(), QString("KRVX Saved Game Renamer"));

    // Exit runs each renamer's close path: the edited one asks, the other closes quietly.
    QTest::keyClicks(renamers[1]->findChild<QLineEdit*>("Mb164"), "Exit save");
    prompts.confirmAnswers = {true};
    QVERIFY(menu.close());
    QCOMPARE(prompts.texts(Kind::Confirm), QStringList{"Save Changes?"});
    QCOMPARE(readAll(path16()), index({"Spring save", "", "Cup run", "Exit save", "", "", "Last"}));
    QVERIFY(!QFile::exists(path8()));
    QTRY_VERIFY(menu.mdiArea()->subWindowList().isEmpty());
}

QTEST_MAIN(TestSaveGame)
#include "tst_savegame.moc"
