#include "TestFiles.h"

#include "gamedb/FileIo.h"
#include "gamedb/GameError.h"

#include <QProcess>
#include <QtTest>

#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace testfiles;

class TestFileIo : public QObject {
    Q_OBJECT
private slots:
    void replaceFollowsWritePermission_data();
    void replaceFollowsWritePermission();
    void readOnlyTargetOfALinkIsLeftAlone();
    void replaceKeepsOwnerGroupAndMode();
    void newFileFollowsTheUmask();
    void folderLockWaitsThenRefusesAndDiesWithItsHolder();
    void nativeNamesRoundTrip_data();
    void nativeNamesRoundTrip();
    void inputIsBounded();
};

namespace {

mode_t modeOf(const QString& path)
{
    struct stat st {};
    if (::stat(QFile::encodeName(path).constData(), &st) != 0)
        return 0;
    return st.st_mode & 07777;
}

void setMode(const QString& path, mode_t mode)
{
    QCOMPARE(::chmod(QFile::encodeName(path).constData(), mode), 0);
}

} // namespace

void TestFileIo::replaceFollowsWritePermission_data()
{
    // Modes whose outcome is the same for root and for the file's owner.
    QTest::addColumn<int>("mode");
    QTest::addColumn<bool>("replaced");
    QTest::newRow("rw-r--r--") << 0644 << true;
    QTest::newRow("rw-------") << 0600 << true;
    QTest::newRow("-w-------") << 0200 << true;
    QTest::newRow("r--r--r--") << 0444 << false;
    QTest::newRow("r--------") << 0400 << false;
    QTest::newRow("---------") << 0 << false;
}

void TestFileIo::replaceFollowsWritePermission()
{
    QFETCH(int, mode);
    QFETCH(bool, replaced);
    QTemporaryDir dir;
    const QString path = dir.path() + "/Hiscores.bin";
    writeAll(path, "old bytes");
    setMode(path, mode_t(mode));

    QString error;
    try {
        gamedb::writeGameFile(path, toBytes("new"));
    } catch (const gamedb::GameError& e) {
        error = QString::fromStdString(e.what());
    }
    QCOMPARE(error, replaced ? QString() : QString("File access denied"));
    QCOMPARE(modeOf(path), mode_t(mode));
    setMode(path, 0600); // to read it back as any user
    QCOMPARE(readAll(path), replaced ? QByteArray("new") : QByteArray("old bytes"));
    QCOMPARE(filesIn(dir.path()), QStringList{"Hiscores.bin"});
}

void TestFileIo::readOnlyTargetOfALinkIsLeftAlone()
{
    QTemporaryDir dir;
    const QString target = dir.path() + "/real.db1";
    const QString link = dir.path() + "/Mgdata.db1";
    writeAll(target, "old");
    QVERIFY(QFile::link(target, link));
    setMode(target, 0444);
    QVERIFY_THROWS_EXCEPTION(gamedb::GameError, gamedb::writeGameFile(link, toBytes("new")));
    QVERIFY(QFileInfo(link).isSymLink());
    QCOMPARE(readAll(target), QByteArray("old"));

    setMode(target, 0644);
    gamedb::writeGameFile(link, toBytes("new"));
    QVERIFY(QFileInfo(link).isSymLink());
    QCOMPARE(readAll(target), QByteArray("new"));
}

// As root the replaced file keeps its owner, so the user who owns it can still read it.
void TestFileIo::replaceKeepsOwnerGroupAndMode()
{
    if (::geteuid() != 0)
        QSKIP("only root can give a file to another user");
    const passwd* nobody = ::getpwnam("nobody");
    QVERIFY(nobody);
    QTemporaryDir dir;
    const QString path = dir.path() + "/Players.db1";
    writeAll(path, "old");
    const QByteArray native = QFile::encodeName(path);
    QCOMPARE(::chown(native.constData(), nobody->pw_uid, nobody->pw_gid), 0);
    setMode(path, 0600);
    gamedb::writeGameFile(path, toBytes("new"));
    struct stat st {};
    QCOMPARE(::stat(native.constData(), &st), 0);
    QCOMPARE(st.st_uid, nobody->pw_uid);
    QCOMPARE(st.st_gid, nobody->pw_gid);
    QCOMPARE(st.st_mode & 07777, mode_t(0600));
    QCOMPARE(readAll(path), QByteArray("new"));
}

void TestFileIo::newFileFollowsTheUmask()
{
    QTemporaryDir dir;
    const mode_t old = ::umask(027);
    gamedb::writeGameFile(dir.path() + "/out.csv", toBytes("x"));
    ::umask(old);
    QCOMPARE(modeOf(dir.path() + "/out.csv"), mode_t(0640));
}

// The lock is the kernel's own (flock(1) takes the same one): a second taker waits, then gives
// up with a message; a holder killed with SIGKILL releases it at once.
void TestFileIo::folderLockWaitsThenRefusesAndDiesWithItsHolder()
{
    QTemporaryDir dir;
    QProcess holder;
    holder.start("flock", {"--exclusive", "--no-fork", dir.path(), "sleep", "60"});
    QVERIFY(holder.waitForStarted());
    QString error;
    QTRY_VERIFY_WITH_TIMEOUT(
        [&] {
            try {
                gamedb::FolderLock probe(dir.path(), std::chrono::milliseconds(0));
                return false;
            } catch (const gamedb::GameError& e) {
                error = QString::fromStdString(e.what());
                return true;
            }
        }(),
        5000);
    QElapsedTimer t;
    t.start();
    QVERIFY_THROWS_EXCEPTION(gamedb::GameError, gamedb::FolderLock(dir.path(), std::chrono::milliseconds(300)));
    QVERIFY(t.elapsed() >= 300);
    QCOMPARE(error, QString("Another Korvex is saving into the game folder and did not finish within 0 seconds; "
                            "nothing was written, try again later"));

    holder.kill(); // SIGKILL: no chance to clean up
    QVERIFY(holder.waitForFinished());
    t.restart();
    { const gamedb::FolderLock lock(dir.path(), std::chrono::milliseconds(2000)); }
    QVERIFY(t.elapsed() < 1000);
    QCOMPARE(filesIn(dir.path()), QStringList()); // the lock adds nothing to the folder

    // Within one program, too, a second lock waits for the first.
    const gamedb::FolderLock first(dir.path());
    QVERIFY_THROWS_EXCEPTION(gamedb::GameError, gamedb::FolderLock(dir.path(), std::chrono::milliseconds(50)));
}

void TestFileIo::nativeNamesRoundTrip_data()
{
    QTest::addColumn<QByteArray>("native");
    QTest::addColumn<QString>("shown"); // how the name reads where it is valid UTF-8
    QTest::newRow("ASCII") << QByteArray("/games/Old Game") << QString("/games/Old Game");
    QTest::newRow("UTF-8") << QByteArray("caf\xC3\xA9/\xE2\x82\xAC") << QString("caf\u00E9/\u20AC");
    QTest::newRow("four bytes") << QByteArray("\xF0\x9F\x98\x80") << QString::fromUcs4(U"\U0001F600");
    QTest::newRow("Latin-1") << QByteArray("caf\xE9.csv") << QString();
    QTest::newRow("cut sequence") << QByteArray("a\xC3") << QString();
    QTest::newRow("overlong slash") << QByteArray("\xC0\xAF") << QString();
    QTest::newRow("encoded surrogate") << QByteArray("\xED\xA0\x80") << QString();
    QTest::newRow("beyond U+10FFFF") << QByteArray("\xF4\x90\x80\x80") << QString();
}

void TestFileIo::nativeNamesRoundTrip()
{
    QFETCH(QByteArray, native);
    QFETCH(QString, shown);
    const QString path = gamedb::pathFromNative(native.toStdString());
    if (!shown.isEmpty())
        QCOMPARE(path, shown);
    QCOMPARE(QByteArray::fromStdString(gamedb::nativePath(path)), native);
}

// A file is judged by its size before it is read; a stream is cut off one byte past the limit.
void TestFileIo::inputIsBounded()
{
    QTemporaryDir dir;
    const QString path = dir.path() + "/sheet.csv";
    writeAll(path, "12345");
    QCOMPARE(fromBytes(gamedb::readInputFile(path, 5, "too large")), QByteArray("12345"));
    QVERIFY_THROWS_EXCEPTION(gamedb::GameError, gamedb::readInputFile(path, 4, "too large"));
    QCOMPARE(gamedb::readInputFile("/dev/null", 4, "too large").size(), std::size_t(0));
    try {
        gamedb::readInputFile("/dev/zero", 1 << 20, "too large");
        QFAIL("an endless stream was read");
    } catch (const gamedb::GameError& e) {
        QCOMPARE(QString(e.what()), QString("too large"));
    }
    QVERIFY(gamedb::isStream("/dev/null"));
    QVERIFY(gamedb::isStream("/dev/stdout"));
    QVERIFY(gamedb::isStream("/dev/fd/1"));
    QVERIFY(!gamedb::isStream(path));
    QVERIFY(!gamedb::isStream(dir.path() + "/not there yet.csv"));
}

QTEST_APPLESS_MAIN(TestFileIo)
#include "tst_fileio.moc"
