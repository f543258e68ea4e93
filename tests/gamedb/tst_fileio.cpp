#include "TestFiles.h"

#include "gamedb/FileIo.h"
#include "gamedb/GameError.h"

#include <QtTest>

#include <sys/stat.h>

using namespace testfiles;

class TestFileIo : public QObject {
    Q_OBJECT
private slots:
    void replaceFollowsWritePermission_data();
    void replaceFollowsWritePermission();
    void readOnlyTargetOfALinkIsLeftAlone();
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

QTEST_APPLESS_MAIN(TestFileIo)
#include "tst_fileio.moc"
