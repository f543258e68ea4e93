// The Windows forms of the file access rules, on the real file system: the replace that keeps the
// original, the read-only attribute, a file held open by another program, the error texts, drive
// roots, the folder lock and its stale temporaries, devices and pipes written as streams.
#include "TestFiles.h"

#include "gamedb/FileIo.h"
#include "gamedb/GameError.h"
#include "widgets/AppConfig.h"

#include <QtTest>

#include <windows.h>

#include <cerrno>
#include <thread>

using namespace testfiles;

class TestFileIoWin : public QObject {
    Q_OBJECT
private slots:
    void failedReplaceKeepsTheOriginal_data();
    void failedReplaceKeepsTheOriginal();
    void readOnlyAttributeIsNeverReplaced();
    void replaceKeepsTheFilesAttributes();
    void fileHeldOpenIsInUse_data();
    void fileHeldOpenIsInUse();
    void errorTexts_data();
    void errorTexts();
    void driveRoots();
    void folderLockWaitsThenRefuses();
    void staleTemporariesAreRemoved();
    void devicesAndPipesAreStreams();
};

namespace {

std::wstring wide(const QString& path)
{
    return QDir::toNativeSeparators(path).toStdWString();
}

DWORD attributes(const QString& path)
{
    return GetFileAttributesW(wide(path).c_str());
}

QString errorOf(const std::function<void()>& fn)
{
    try {
        fn();
    } catch (const gamedb::GameError& e) {
        return QString::fromStdString(e.what());
    }
    return {};
}

bool underWine()
{
    return GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "wine_get_version") != nullptr;
}

} // namespace

void TestFileIoWin::failedReplaceKeepsTheOriginal_data()
{
    QTest::addColumn<int>("writeLimit");
    QTest::addColumn<int>("renameErrno");
    QTest::addColumn<QString>("error");
    QTest::newRow("disk full at once") << 0 << 0 << "Disk full";
    QTest::newRow("disk full midway") << 3 << 0 << "Disk full";
    QTest::newRow("replace fails") << -1 << EIO << "I/O error 5";
}

void TestFileIoWin::failedReplaceKeepsTheOriginal()
{
    QFETCH(int, writeLimit);
    QFETCH(int, renameErrno);
    QFETCH(QString, error);
    QTemporaryDir dir;
    const QString path = QDir::toNativeSeparators(dir.path() + "/Players.db1");
    writeAll(path, "old bytes");
    {
        FaultScope faults(gamedb::IoFaults{.writeLimit = writeLimit, .renameErrno = renameErrno});
        QCOMPARE(errorOf([&] { gamedb::writeGameFile(path, toBytes("new bytes, longer")); }), error);
    }
    QCOMPARE(readAll(path), QByteArray("old bytes"));
    QCOMPARE(filesIn(dir.path()), QStringList{"Players.db1"});

    gamedb::writeGameFile(path, toBytes("new"));
    QCOMPARE(readAll(path), QByteArray("new"));
    QCOMPARE(filesIn(dir.path()), QStringList{"Players.db1"});
}

// Wine's own MoveFileExW replaces a read-only file; the rule must not depend on it.
void TestFileIoWin::readOnlyAttributeIsNeverReplaced()
{
    QTemporaryDir dir;
    const QString path = QDir::toNativeSeparators(dir.path() + "/Hiscores.bin");
    writeAll(path, "old bytes");
    QVERIFY(SetFileAttributesW(wide(path).c_str(), FILE_ATTRIBUTE_READONLY));

    QCOMPARE(errorOf([&] { gamedb::writeGameFile(path, toBytes("new")); }), QString("File access denied"));
    QCOMPARE(readAll(path), QByteArray("old bytes"));
    QVERIFY(attributes(path) & FILE_ATTRIBUTE_READONLY);
    QCOMPARE(filesIn(dir.path()), QStringList{"Hiscores.bin"});
    // The game's files are opened for writing even to be read, so a read-only one is refused.
    QCOMPARE(errorOf([&] { gamedb::readGameFile(path); }), QString("File access denied"));
    QCOMPARE(gamedb::readGameFile(path, -1, gamedb::Access::ReadOnly), toBytes("old bytes"));

    QVERIFY(SetFileAttributesW(wide(path).c_str(), FILE_ATTRIBUTE_NORMAL));
    gamedb::writeGameFile(path, toBytes("new"));
    QCOMPARE(readAll(path), QByteArray("new"));
}

void TestFileIoWin::replaceKeepsTheFilesAttributes()
{
    QTemporaryDir dir;
    const QString path = QDir::toNativeSeparators(dir.path() + "/Tmdata.db1");
    writeAll(path, "old");
    QVERIFY(SetFileAttributesW(wide(path).c_str(), FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_ARCHIVE));
    gamedb::writeGameFile(path, toBytes("new"));
    QCOMPARE(readAll(path), QByteArray("new"));
    if (underWine() && !(attributes(path) & FILE_ATTRIBUTE_HIDDEN))
        QSKIP("Wine's ReplaceFileW does not carry the replaced file's attributes over; Windows does");
    QVERIFY(attributes(path) & FILE_ATTRIBUTE_HIDDEN);
}

void TestFileIoWin::fileHeldOpenIsInUse_data()
{
    // How another program (the game) holds the file, and whether we may still read it.
    QTest::addColumn<int>("share");
    QTest::addColumn<bool>("readable");
    QTest::newRow("not shared") << 0 << false;
    QTest::newRow("shared for reading") << int(FILE_SHARE_READ) << false;
    QTest::newRow("shared for reading and writing") << int(FILE_SHARE_READ | FILE_SHARE_WRITE) << true;
}

void TestFileIoWin::fileHeldOpenIsInUse()
{
    QFETCH(int, share);
    QFETCH(bool, readable);
    QTemporaryDir dir;
    const QString path = QDir::toNativeSeparators(dir.path() + "/Mgdata.db1");
    writeAll(path, "old bytes");
    const HANDLE game = CreateFileW(wide(path).c_str(), GENERIC_READ | GENERIC_WRITE, DWORD(share), nullptr,
                                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    QVERIFY(game != INVALID_HANDLE_VALUE);
    const QString inUse = gamedb::kFileInUse;
    QCOMPARE(errorOf([&] { gamedb::writeGameFile(path, toBytes("new")); }), inUse);
    QCOMPARE(errorOf([&] { gamedb::readGameFile(path); }), readable ? QString() : inUse);
    CloseHandle(game);
    QCOMPARE(readAll(path), QByteArray("old bytes"));
    QCOMPARE(filesIn(dir.path()), QStringList{"Mgdata.db1"});
}

void TestFileIoWin::errorTexts_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("write");
    QTest::addColumn<QString>("error");
    QTest::newRow("missing file") << "Mgdata.db1" << false << "File not found";
    QTest::newRow("missing folder") << "gone/Mgdata.db1" << false << "Invalid filename";
    QTest::newRow("write into a missing folder") << "gone/Mgdata.db1" << true << "Invalid filename";
    QTest::newRow("a character no name may hold") << "Mg<data>.db1" << false << "Invalid filename";
    QTest::newRow("a folder read as a file") << "folder" << false << "File access denied";
    QTest::newRow("a folder written as a file") << "folder" << true << "File access denied";
}

void TestFileIoWin::errorTexts()
{
    QFETCH(QString, name);
    QFETCH(bool, write);
    QFETCH(QString, error);
    QTemporaryDir dir;
    QVERIFY(QDir(dir.path()).mkdir("folder"));
    const QString path = QDir::toNativeSeparators(dir.path() + "/" + name);
    if (write)
        QCOMPARE(errorOf([&] { gamedb::writeGameFile(path, toBytes("x")); }), error);
    else
        QCOMPARE(errorOf([&] { gamedb::readGameFile(path); }), error);
}

void TestFileIoWin::driveRoots()
{
    // A drive root is held as letter and colon; its files are letter, colon, backslash, name.
    QCOMPARE(withoutRootSeparator("C:\\"), QString("C:"));
    QCOMPARE(gamedb::gameFilePath("C:", "Mgdata.db1"), QString("C:\\Mgdata.db1"));
    QCOMPARE(gamedb::gameFilePath("", "Mgdata.db1"), QString("\\Mgdata.db1"));
    QCOMPARE(gamedb::gameFilePath("C:\\Games\\GX", "Players.db1"), QString("C:\\Games\\GX\\Players.db1"));
    QCOMPARE(gamedb::folderOf("C:\\Mgdata.db1"), QString("C:"));
    QCOMPARE(gamedb::nameOf("C:\\Mgdata.db1"), QString("Mgdata.db1"));
    QCOMPARE(gamedb::folderPath("C:"), QString("C:\\"));
    QCOMPARE(AppConfig("C:").ini().path(), QString("C:\\KRVX.ini"));

    // "C:" is the drive's root, not the current directory on that drive.
    const QString drive = QDir::currentPath().left(2);
    QVERIFY(gamedb::sameFolder(drive, drive + "\\"));
    QVERIFY(gamedb::sameFolder(drive.toLower(), drive + "/"));
    gamedb::checkListable(drive);
    QVERIFY(gamedb::volumeRoots().contains(drive.toUpper() + "/"));

    // Names are found whatever their letter case, as the file system does.
    const QString windir = QString::fromWCharArray(_wgetenv(L"WINDIR"));
    QVERIFY(gamedb::gameFileExists(windir, "WIN.INI"));
    QVERIFY(gamedb::gameFileExists(windir.toUpper(), "win.ini"));
    QVERIFY(!gamedb::gameFileExists(windir.left(2), QDir(windir).dirName())); // a folder is no game file
}

void TestFileIoWin::folderLockWaitsThenRefuses()
{
    QTemporaryDir dir;
    const QString folder = QDir::toNativeSeparators(dir.path());
    // A lock file left by a crash (no process holds it open) does not block.
    writeAll(folder + "\\.korvex-lock", "");
    {
        const gamedb::FolderLock held(folder);
        QElapsedTimer timer;
        timer.start();
        const QString error = errorOf([&] { gamedb::FolderLock second(folder, std::chrono::milliseconds(300)); });
        QVERIFY2(error.startsWith("Another Korvex is saving into the game folder"), qPrintable(error));
        QVERIFY(timer.elapsed() >= 290);
        // Another spelling of the same folder is the same lock.
        QVERIFY(
            !errorOf([&] { gamedb::FolderLock second(dir.path().toLower(), std::chrono::milliseconds(0)); }).isEmpty());
    }
    // Released with its holder, and nothing of it stays in the user's folder.
    QCOMPARE(filesIn(dir.path()), QStringList{});
    const gamedb::FolderLock again(folder, std::chrono::milliseconds(0));
    QCOMPARE(errorOf([&] { gamedb::FolderLock missing(folder + "\\gone"); }), QString("Invalid filename"));
}

void TestFileIoWin::staleTemporariesAreRemoved()
{
    QTemporaryDir dir;
    const QStringList stale{".Players.db1.Ab12Cd", ".PLAYERS.DB1.x9Y8z7", ".Hiscores.bin.000000"};
    const QStringList kept{".Players.db1.toolong1", ".notes.txt.Ab12Cd", "Players.db1"};
    for (const QString& name : stale + kept)
        writeAll(dir.path() + "/" + name, "x");
    {
        const gamedb::FolderLock lock(QDir::toNativeSeparators(dir.path()));
    }
    QStringList expected = kept;
    expected.sort();
    QCOMPARE(filesIn(dir.path()), expected);
}

void TestFileIoWin::devicesAndPipesAreStreams()
{
    QTemporaryDir dir;
    const QString file = QDir::toNativeSeparators(dir.path() + "/sheet.csv");
    writeAll(file, "x");
    QVERIFY(!gamedb::isStream(file));
    QVERIFY(!gamedb::isStream(dir.path()));
    QVERIFY(!gamedb::isStream(dir.path() + "/missing.csv"));
    for (const char* device : {"NUL", "nul", "CON", "conout$", "C:\\some\\where\\NUL", "NUL.csv", "COM1"})
        QVERIFY2(gamedb::isStream(device), device);

    // Written into, never replaced: no file named NUL appears.
    QVERIFY(QDir::setCurrent(dir.path()));
    gamedb::writeOutputFile("NUL", toBytes("discarded"));
    QCOMPARE(filesIn(dir.path()), QStringList{"sheet.csv"});

    // A named pipe receives the bytes as written.
    const std::wstring pipeName = L"\\\\.\\pipe\\korvex-test-" + std::to_wstring(GetCurrentProcessId());
    const HANDLE server =
        CreateNamedPipeW(pipeName.c_str(), PIPE_ACCESS_INBOUND, PIPE_TYPE_BYTE | PIPE_WAIT, 1, 0, 65536, 0, nullptr);
    QVERIFY(server != INVALID_HANDLE_VALUE);
    QByteArray received;
    std::thread reader([&] {
        ConnectNamedPipe(server, nullptr);
        char buf[256];
        DWORD n = 0;
        while (ReadFile(server, buf, sizeof buf, &n, nullptr) && n > 0)
            received.append(buf, int(n));
    });
    const QString pipe = QString::fromStdWString(pipeName);
    QVERIFY(gamedb::isStream(pipe));
    gamedb::writeOutputFile(pipe, toBytes("record,age\r\n1,30\r\n"));
    reader.join();
    CloseHandle(server);
    QCOMPARE(received, QByteArray("record,age\r\n1,30\r\n"));
}

QTEST_GUILESS_MAIN(TestFileIoWin)
#include "tst_fileiowin.moc"
