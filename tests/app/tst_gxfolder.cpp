#include "ScriptedPrompts.h"
#include "TestFiles.h"
#include "WindowSystem.h"

#include "app/TGXFolder.h"
#include "app/THovedmenu.h"
#include "widgets/AppConfig.h"

#include <QtTest>

#include <QComboBox>
#include <QListWidget>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>

#include <cerrno>

using namespace testfiles;
using Kind = ScriptedPrompts::Kind;

namespace {

// The game folder's subfolders in the order the list shows them.
// Hidden folders are listed too: a game may be installed below one.
const QStringList kGameSubfolders{".hidden", "Alpha", "beta", "Delta", "\u00c9tude", "gamma"};

QStringList texts(const QListWidget* list)
{
    QStringList out;
    for (int i = 0; i < list->count(); ++i)
        out << list->item(i)->text();
    return out;
}

QListWidgetItem* entry(const QListWidget* list, const QString& text)
{
    const QList<QListWidgetItem*> found = list->findItems(text, Qt::MatchExactly);
    return found.isEmpty() ? nullptr : found.first();
}

// The root of an absolute path: "/", or a drive's "C:/".
QString rootOf(const QString& path)
{
    return path.size() >= 2 && path[1] == QLatin1Char(':') ? path.left(2) + QLatin1Char('/') : QStringLiteral("/");
}

// How a folder is stored as the game folder: native separators, a drive root as letter and colon.
QString held(const QString& path)
{
    return withoutRootSeparator(QDir::toNativeSeparators(path));
}

// The list's entries for the path of folder: its root ("/", "C:\"), then every folder on the way down.
QStringList pathColumn(const QString& folder)
{
    const QString clean = QDir::cleanPath(folder);
    const QString root = rootOf(clean);
    return QStringList{QDir::toNativeSeparators(root)} + clean.mid(root.size()).split('/', Qt::SkipEmptyParts);
}

void doubleClick(QListWidget* list, const QString& text)
{
    QListWidgetItem* item = entry(list, text);
    QVERIFY2(item, qPrintable(text));
    list->scrollToItem(item);
    // A real double click: the first click, then the second one arriving as a double click.
    const QPoint at = list->visualItemRect(item).center();
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, at);
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, at);
}

} // namespace

class TestGXFolder : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void menuOpensANewDialogEachTime();
    void listShowsPathThenSortedSubfolders();
    void browsingByDoubleClickAndEnter();
    void okStoresTheFolderShown_data();
    void okStoresTheFolderShown();
    void okKeepsTheRestOfTheIniFile_data();
    void okKeepsTheRestOfTheIniFile();
    void hiddenFolderCanBeChosen();
    void folderWithALineBreakIsRefused();
    void leavingWithoutOkChangesNothing_data();
    void leavingWithoutOkChangesNothing();
    void unwritableIniKeepsTheDialogOpen_data();
    void unwritableIniKeepsTheDialogOpen();
    void gameFolderThatCannotBeShown_data();
    void gameFolderThatCannotBeShown();
    void emptyGameFolderIsTheRoot();
    void driveSelector();
    void wheelChangesTheDriveOnlyWithFocus();

private:
    // Opens the dialog the way the user does, through the main window's menu.
    TGXFolder* open();
    QString game() const { return tmp_->path() + "/game"; }
    QString ini() const { return config_->ini().path(); }
    int openDialogs() const { return int(main_->mdiArea()->subWindowList().size()); }

    std::unique_ptr<QTemporaryDir> tmp_;
    std::unique_ptr<AppConfig> config_;
    std::unique_ptr<THovedmenu> main_;
    ScriptedPrompts prompts_;
    QString cwd_;
};

void TestGXFolder::init()
{
    cwd_ = QDir::currentPath();
    tmp_ = std::make_unique<QTemporaryDir>();
    QVERIFY(tmp_->isValid());
    QDir t(tmp_->path());
    for (const char* d :
         {"start", "game/beta/deep", "game/Alpha", "game/gamma", "game/\u00c9tude", "game/Delta", "game/.hidden"})
        QVERIFY(t.mkpath(QString::fromUtf8(d)));
    writeAll(game() + "/notes.txt", "not a folder");
    config_ = std::make_unique<AppConfig>(tmp_->path() + "/start");
    config_->setGameFolder(game());
    prompts_ = ScriptedPrompts();
    main_ = std::make_unique<THovedmenu>(*config_, prompts_);
    main_->resize(800, 700);
    main_->show();
    QVERIFY(QTest::qWaitForWindowExposed(main_.get()));
}

void TestGXFolder::cleanup()
{
    main_.reset();
    // Browsing never moves the process's current directory.
    QCOMPARE(QDir::currentPath(), cwd_);
}

TGXFolder* TestGXFolder::open()
{
    main_->GXFolder1->trigger();
    const QList<QMdiSubWindow*> subs = main_->mdiArea()->subWindowList();
    if (subs.isEmpty())
        return nullptr;
    auto* dialog = qobject_cast<TGXFolder*>(subs.last()->widget());
    if (dialog)
        dialog->activateWindow();
    return dialog;
}

void TestGXFolder::menuOpensANewDialogEachTime()
{
    TGXFolder* first = open();
    TGXFolder* second = open();
    QVERIFY(first && second && first != second);
    QCOMPARE(openDialogs(), 2);
    QCOMPARE(second->objectName(), QString("GXFolder"));
    QCOMPARE(main_->mdiArea()->subWindowList().last()->windowTitle(), QString("GX Folder"));
    QCOMPARE(second->minimumSize(), second->maximumSize());
    QVERIFY(second->Dir->height() >= 200);
    QCOMPARE(second->Button1->text(), QString("OK"));
    QCOMPARE(second->Button2->text(), QString("Cancel"));
    QVERIFY(second->Button1->isDefault());
    QVERIFY(!second->Dir->accessibleName().isEmpty());
    QVERIFY(!second->Drive->accessibleName().isEmpty());
    QVERIFY(prompts_.asked.isEmpty());

    // The main window's closing goes through each dialog's own close.
    QVERIFY(main_->close());
    QTRY_COMPARE(openDialogs(), 0);
}

void TestGXFolder::listShowsPathThenSortedSubfolders()
{
    TGXFolder* dialog = open();
    QVERIFY(dialog);
    QVERIFY(prompts_.asked.isEmpty());
    QCOMPARE(dialog->directory(), QDir::cleanPath(game()));
    // Letter case ignored, the accented letter beside its base letter; no file.
    QCOMPARE(texts(dialog->Dir), pathColumn(game()) + kGameSubfolders);
    QCOMPARE(dialog->Dir->currentItem()->text(), QString("game"));
    QVERIFY(dialog->Dir->hasFocus());
}

void TestGXFolder::browsingByDoubleClickAndEnter()
{
    TGXFolder* dialog = open();
    QVERIFY(dialog);
    QListWidget* dir = dialog->Dir;

    doubleClick(dir, "beta");
    QCOMPARE(dialog->directory(), QDir::cleanPath(game() + "/beta"));
    QCOMPARE(texts(dir), pathColumn(game() + "/beta") + QStringList{"deep"});
    QCOMPARE(dir->currentItem()->text(), QString("beta"));

    // Up to the parent entry and open it with Enter: back in the game folder, the dialog open.
    QTest::keyClick(dir, Qt::Key_Up);
    QCOMPARE(dir->currentItem()->text(), QString("game"));
    QTest::keyClick(dir, Qt::Key_Return);
    QCOMPARE(dialog->directory(), QDir::cleanPath(game()));
    QCOMPARE(texts(dir), pathColumn(game()) + kGameSubfolders);

    // Down to the first subfolder (a hidden one) and in with the keypad's Enter.
    QTest::keyClick(dir, Qt::Key_Down);
    QTest::keyClick(dir, Qt::Key_Enter);
    QCOMPARE(dialog->directory(), QDir::cleanPath(game() + "/.hidden"));
    QCOMPARE(texts(dir), pathColumn(game() + "/.hidden"));

    // The root entry.
    const QString root = rootOf(tmp_->path());
    doubleClick(dir, QDir::toNativeSeparators(root));
    QCOMPARE(dialog->directory(), root);
    QCOMPARE(texts(dir).first(), QDir::toNativeSeparators(root));
    QCOMPARE(dir->currentRow(), 0);
    QVERIFY(entry(dir, pathColumn(tmp_->path()).at(1)));

    QCOMPARE(openDialogs(), 1);
    QCOMPARE(config_->gameFolder(), game());
    QVERIFY(!QFile::exists(ini()));
    QVERIFY(prompts_.asked.isEmpty());
}

void TestGXFolder::okStoresTheFolderShown_data()
{
    QTest::addColumn<QStringList>("openEntries");
    QTest::addColumn<bool>("byEnter");
    QTest::addColumn<QString>("folder");

    // "/" stands for the root entry, "/" or a drive's "C:\\".
    QTest::newRow("root by click") << QStringList{"/"} << false << QString();
    QTest::newRow("root by Enter") << QStringList{"/"} << true << QString();
    QTest::newRow("deeper by click") << QStringList{"beta", "deep"} << false << QString("game/beta/deep");
    QTest::newRow("deeper by Enter") << QStringList{"gamma"} << true << QString("game/gamma");
}

void TestGXFolder::okStoresTheFolderShown()
{
    QFETCH(QStringList, openEntries);
    QFETCH(bool, byEnter);
    QFETCH(QString, folder);
    const QString root = rootOf(tmp_->path());
    const QString expected = held(folder.isEmpty() ? root : QDir::cleanPath(tmp_->path() + "/" + folder));

    TGXFolder* dialog = open();
    QVERIFY(dialog);
    for (const QString& name : openEntries)
        doubleClick(dialog->Dir, name == "/" ? QDir::toNativeSeparators(root) : name);
    QVERIFY(!QFile::exists(ini()));

    if (byEnter) {
        // Enter outside the folder list is the default button's.
        dialog->Drive->setFocus();
        QTest::keyClick(dialog->Drive, Qt::Key_Return);
    } else {
        QTest::mouseClick(dialog->Button1, Qt::LeftButton);
    }

    QVERIFY(prompts_.asked.isEmpty());
    QCOMPARE(config_->gameFolder(), expected);
    QCOMPARE(readAll(ini()), ("[Path]\r\nGXPath=" + expected + "\r\n").toUtf8());
    QCOMPARE(AppConfig(config_->startupDir()).gameFolder(), expected);
    QCOMPARE(config_->gameFile("Mgdata.db1"), expected + QDir::separator() + "Mgdata.db1");
    QTRY_COMPARE(openDialogs(), 0);
}

void TestGXFolder::okKeepsTheRestOfTheIniFile_data()
{
    // "@" stands for the game folder's path.
    QTest::addColumn<QByteArray>("before");
    QTest::newRow("CRLF") << QByteArray("; kept as it is\r\n[Other]\r\nKey=C:\\Games\\OLD, with comma\r\n"
                                        "[path]\r\ngxpath=@\r\nExtra=1\r\n\r\n[Last]\r\nA=b\r\n");
    QTest::newRow("LF, a byte that is not UTF-8, no final ending")
        << QByteArray("\xEF\xBB\xBF[Managers]\nLast=Andr\xE9\n[Path]\nGXPath=@\n[Last]\nA=b");
}

void TestGXFolder::okKeepsTheRestOfTheIniFile()
{
    QFETCH(QByteArray, before);
    before.replace("@", game().toUtf8());
    writeAll(ini(), before);
    main_.reset();
    config_ = std::make_unique<AppConfig>(tmp_->path() + "/start");
    main_ = std::make_unique<THovedmenu>(*config_, prompts_);
    main_->show();
    QVERIFY(QTest::qWaitForWindowExposed(main_.get()));

    TGXFolder* dialog = open();
    QVERIFY(dialog);
    QCOMPARE(dialog->directory(), QDir::cleanPath(game()));
    doubleClick(dialog->Dir, "Delta");
    QTest::mouseClick(dialog->Button1, Qt::LeftButton);

    QVERIFY(prompts_.asked.isEmpty());
    QByteArray after = before;
    after.replace("=" + game().toUtf8(), "=" + held(QDir::cleanPath(game() + "/Delta")).toUtf8());
    QCOMPARE(readAll(ini()), after);
    QTRY_COMPARE(openDialogs(), 0);
}

void TestGXFolder::hiddenFolderCanBeChosen()
{
    QVERIFY(QDir().mkpath(game() + "/.hidden/drive_c"));
    TGXFolder* dialog = open();
    QVERIFY(dialog);
    doubleClick(dialog->Dir, ".hidden");
    QCOMPARE(texts(dialog->Dir), pathColumn(game() + "/.hidden") + QStringList{"drive_c"});
    doubleClick(dialog->Dir, "drive_c");
    QTest::mouseClick(dialog->Button1, Qt::LeftButton);
    QVERIFY(prompts_.asked.isEmpty());
    QCOMPARE(config_->gameFolder(), held(QDir::cleanPath(game() + "/.hidden/drive_c")));
    QCOMPARE(AppConfig(config_->startupDir()).gameFolder(), config_->gameFolder());
}

void TestGXFolder::folderWithALineBreakIsRefused()
{
#ifdef Q_OS_WIN
    QSKIP("a Windows folder name cannot hold a line break");
#endif
    const QByteArray before = "[Path]\nGXPath=" + game().toUtf8() + "\n";
    writeAll(ini(), before);
    QVERIFY(QDir().mkpath(game() + "/two\nlines"));
    TGXFolder* dialog = open();
    QVERIFY(dialog);
    doubleClick(dialog->Dir, "two\nlines");
    QCOMPARE(dialog->directory(), QDir::cleanPath(game() + "/two\nlines"));
    QTest::mouseClick(dialog->Button1, Qt::LeftButton);

    QCOMPARE(prompts_.texts(Kind::GeneralError),
             QStringList{"A folder whose name holds a line break cannot be stored in KRVX.ini; rename it or choose "
                         "another."});
    QCOMPARE(config_->gameFolder(), game());
    QCOMPARE(readAll(ini()), before);
    QTest::qWait(20);
    QCOMPARE(openDialogs(), 1);

    // Another folder from the same dialog is taken.
    doubleClick(dialog->Dir, "game");
    doubleClick(dialog->Dir, "gamma");
    QTest::mouseClick(dialog->Button1, Qt::LeftButton);
    QTRY_COMPARE(openDialogs(), 0);
    QCOMPARE(readAll(ini()), "[Path]\nGXPath=" + QDir::cleanPath(game() + "/gamma").toUtf8() + "\n");
}

void TestGXFolder::leavingWithoutOkChangesNothing_data()
{
    QTest::addColumn<QString>("how");
    QTest::newRow("Cancel") << "cancel";
    QTest::newRow("Escape in the list") << "escape-list";
    QTest::newRow("Escape on OK") << "escape-button";
    QTest::newRow("Enter on Cancel") << "enter-cancel";
    QTest::newRow("close box") << "close";
}

void TestGXFolder::leavingWithoutOkChangesNothing()
{
    QFETCH(QString, how);
    const QByteArray before = "[Path]\r\nGXPath=" + game().toUtf8() + "\r\n";
    writeAll(ini(), before);

    TGXFolder* dialog = open();
    QVERIFY(dialog);
    doubleClick(dialog->Dir, "beta");
    doubleClick(dialog->Dir, "deep");
    QCOMPARE(dialog->directory(), QDir::cleanPath(game() + "/beta/deep"));

    if (how == "cancel") {
        QTest::mouseClick(dialog->Button2, Qt::LeftButton);
    } else if (how == "escape-list") {
        QTest::keyClick(dialog->Dir, Qt::Key_Escape);
    } else if (how == "escape-button") {
        dialog->Button1->setFocus();
        QTest::keyClick(dialog->Button1, Qt::Key_Escape);
    } else if (how == "enter-cancel") {
        dialog->Button2->setFocus();
        QTest::keyClick(dialog->Button2, Qt::Key_Return);
    } else {
        QVERIFY(main_->mdiArea()->subWindowList().first()->close());
    }

    QTRY_COMPARE(openDialogs(), 0);
    QCOMPARE(config_->gameFolder(), game());
    QCOMPARE(readAll(ini()), before);
    QVERIFY(prompts_.asked.isEmpty());
}

void TestGXFolder::unwritableIniKeepsTheDialogOpen_data()
{
    QTest::addColumn<QString>("blocker");
    QTest::newRow("start-up path is a file") << "file";
    QTest::newRow("KRVX.ini is a folder") << "folder";
    QTest::newRow("disk full") << "full";
    QTest::newRow("open refused") << "refused";
    QTest::newRow("KRVX.ini read-only") << "read-only";
}

void TestGXFolder::unwritableIniKeepsTheDialogOpen()
{
    QFETCH(QString, blocker);
    if (blocker == "file") {
        writeAll(tmp_->path() + "/startfile", "a file, not a folder");
        main_.reset();
        config_ = std::make_unique<AppConfig>(tmp_->path() + "/startfile");
        config_->setGameFolder(game());
        main_ = std::make_unique<THovedmenu>(*config_, prompts_);
        main_->show();
        QVERIFY(QTest::qWaitForWindowExposed(main_.get()));
    } else if (blocker == "folder") {
        QVERIFY(QDir().mkpath(ini()));
    } else if (blocker == "read-only") {
        // Without any write permission: not replaced, also when the test runs as root.
        writeAll(ini(), "[Path]\nGXPath=/old\n");
        QVERIFY(QFile::setPermissions(ini(), QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther));
    }
    gamedb::IoFaults faults;
    if (blocker == "full")
        faults.writeLimit = 3;
    if (blocker == "refused")
        faults.openErrno = EACCES;

    TGXFolder* dialog = open();
    QVERIFY(dialog);
    doubleClick(dialog->Dir, "gamma");
    {
        FaultScope scope(faults);
        QTest::mouseClick(dialog->Button1, Qt::LeftButton);
    }

    QCOMPARE(prompts_.texts(Kind::GeneralError), QStringList{"Unable to write to " + ini() + "."});
    QCOMPARE(config_->gameFolder(), held(QDir::cleanPath(game() + "/gamma")));
    QCOMPARE(openDialogs(), 1);
    QTest::qWait(20);
    QCOMPARE(openDialogs(), 1);
    QVERIFY(dialog->isVisible());
    if (blocker == "folder")
        QVERIFY(QFileInfo(ini()).isDir());
    else if (blocker == "read-only")
        QCOMPARE(readAll(ini()), QByteArray("[Path]\nGXPath=/old\n"));
    else
        QVERIFY(!QFileInfo::exists(ini()));
    // No temporary file left behind.
    QCOMPARE(filesIn(QFileInfo(ini()).path()).filter("KRVX", Qt::CaseInsensitive),
             blocker == "read-only" ? QStringList{"KRVX.ini"} : QStringList{});

    // Once the file can be written the same dialog finishes normally.
    if (blocker == "read-only")
        QVERIFY(QFile::setPermissions(ini(), QFile::ReadOwner | QFile::WriteOwner));
    if (blocker == "read-only") {
        QTest::mouseClick(dialog->Button1, Qt::LeftButton);
        QTRY_COMPARE(openDialogs(), 0);
        QCOMPARE(readAll(ini()), "[Path]\nGXPath=" + held(QDir::cleanPath(game() + "/gamma")).toUtf8() + "\n");
    }
    if (blocker == "full" || blocker == "refused") {
        QTest::mouseClick(dialog->Button1, Qt::LeftButton);
        QTRY_COMPARE(openDialogs(), 0);
        QCOMPARE(readAll(ini()), ("[Path]\r\nGXPath=" + held(QDir::cleanPath(game() + "/gamma")) + "\r\n").toUtf8());
    }
}

void TestGXFolder::gameFolderThatCannotBeShown_data()
{
    QTest::addColumn<QString>("folder");
    QTest::addColumn<QStringList>("errors");
    QTest::newRow("missing folder") << "game/missing" << QStringList{"Invalid filename."};
    QTest::newRow("under a missing folder") << "nowhere/at/all" << QStringList{"Invalid filename."};
    QTest::newRow("a file") << "game/notes.txt" << QStringList{"Invalid filename."};
}

void TestGXFolder::gameFolderThatCannotBeShown()
{
    QFETCH(QString, folder);
    QFETCH(QStringList, errors);
    const QString gameFolder = tmp_->path() + "/" + folder;
    config_->setGameFolder(gameFolder);

    TGXFolder* dialog = open();
    QVERIFY(dialog);
    QCOMPARE(prompts_.texts(Kind::GeneralError), errors);
    QCOMPARE(openDialogs(), 1);
    QCOMPARE(dialog->directory(), QDir::cleanPath(cwd_));
    QCOMPARE(texts(dialog->Dir).mid(0, pathColumn(cwd_).size()), pathColumn(cwd_));
    QCOMPARE(dialog->Dir->currentRow(), pathColumn(cwd_).size() - 1);
    QCOMPARE(config_->gameFolder(), gameFolder);

    // OK from there stores the current directory.
    QTest::mouseClick(dialog->Button1, Qt::LeftButton);
    QCOMPARE(config_->gameFolder(), held(QDir::cleanPath(cwd_)));
    QTRY_COMPARE(openDialogs(), 0);
}

void TestGXFolder::emptyGameFolderIsTheRoot()
{
    config_->setGameFolder(QString());
    TGXFolder* dialog = open();
    QVERIFY(dialog);
    QVERIFY(prompts_.asked.isEmpty());
    // The root of the current drive, where "\\Mgdata.db1" is.
    QCOMPARE(dialog->directory(), rootOf(cwd_));
    QCOMPARE(dialog->Dir->currentRow(), 0);

    QTest::mouseClick(dialog->Button1, Qt::LeftButton);
    QCOMPARE(config_->gameFolder(), held(rootOf(cwd_)));
    QTRY_COMPARE(openDialogs(), 0);
}

void TestGXFolder::driveSelector()
{
    TGXFolder* dialog = open();
    QVERIFY(dialog);
    QComboBox* drive = dialog->Drive;
    QVERIFY(drive->count() >= 1);
#ifdef Q_OS_WIN
    // Every drive letter, as letter, colon and backslash.
    for (int i = 0; i < drive->count(); ++i)
        QVERIFY2(QRegularExpression("^[A-Z]:\\\\$").match(drive->itemText(i)).hasMatch(),
                 qPrintable(drive->itemText(i)));
#else
    QCOMPARE(drive->itemText(0), QString("/"));
#endif
    for (int i = 0; i < drive->count(); ++i)
        QVERIFY2(QFileInfo(drive->itemData(i).toString()).isDir(), qPrintable(drive->itemText(i)));
    // It starts on the current directory's volume, not the game folder's.
    const QString startRoot = drive->currentData().toString();
    QVERIFY2(cwd_.startsWith(startRoot), qPrintable(startRoot));

    // A volume that is there: the list goes to its root.
    const QString volume = QDir::cleanPath(game() + "/beta");
    drive->addItem(volume, volume);
    drive->setFocus();
    QTest::keyClick(drive, Qt::Key_End);
    QCOMPARE(drive->currentIndex(), drive->count() - 1);
    QCOMPARE(dialog->directory(), volume);
    QVERIFY(prompts_.asked.isEmpty());

    // Browse off that volume, then choose one that is not ready.
    doubleClick(dialog->Dir, "game");
    QCOMPARE(dialog->directory(), QDir::cleanPath(game()));
    const QStringList listed = texts(dialog->Dir);
    drive->addItem("/no-such-volume", "/no-such-volume");
    drive->setFocus();
    QTest::keyClick(drive, Qt::Key_End);

    QCOMPARE(prompts_.texts(Kind::OwnError), QStringList{"Drive Not Ready"});
    QCOMPARE(texts(dialog->Dir), listed);
    QCOMPARE(dialog->directory(), QDir::cleanPath(game()));
    // Back to the volume the list shows, which is not the one chosen before.
    const QString shown = drive->currentData().toString();
    QVERIFY2(game().startsWith(shown) && shown != volume, qPrintable(shown));
    QCOMPARE(openDialogs(), 1);
    QCOMPARE(config_->gameFolder(), game());
}

// A wheel turned over the selector as the window system delivers it, through the main window.
void TestGXFolder::wheelChangesTheDriveOnlyWithFocus()
{
    TGXFolder* dialog = open();
    QVERIFY(dialog);
    QVERIFY(QTest::qWaitForWindowActive(main_.get()));
    QComboBox* drive = dialog->Drive;
    const int start = drive->currentIndex();
    const QString volume = QDir::cleanPath(game() + "/beta");
    drive->insertItem(start + 1, volume, volume);
    const QString before = dialog->directory();

    dialog->Dir->setFocus();
    windowsystem::wheel(drive, -1);
    QCOMPARE(drive->currentIndex(), start);
    QCOMPARE(dialog->directory(), before);
    QVERIFY(dialog->Dir->hasFocus());

    drive->setFocus();
    windowsystem::wheel(drive, -1);
    QCOMPARE(drive->currentIndex(), start + 1);
    QCOMPARE(dialog->directory(), volume);
    QVERIFY(prompts_.asked.isEmpty());
}

QTEST_MAIN(TestGXFolder)
#include "tst_gxfolder.moc"
