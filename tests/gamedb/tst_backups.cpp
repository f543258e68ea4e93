// Copies of a game file before it is replaced: once per run, again after another program's
// change, the oldest and the newest 20 kept, names any file system takes, no save without one.
#include "TestFiles.h"

#include "gamedb/Backups.h"
#include "gamedb/GameError.h"

#include <QtTest>

#include <sys/stat.h>
#include <unistd.h>

using namespace testfiles;
using gamedb::Backups;

class TestBackups : public QObject {
    Q_OBJECT
private slots:
    void firstSaveOfARunAndChangesByOthers();
    void oldestAndNewestTwentyKept();
    void oneFolderPerGameFolderAndSafeNames();
    void anotherSpellingKeepsOneFolder();
    void missingFileNeedsNoCopy();
    void unwritableBackupStopsTheSave();
};

void TestBackups::firstSaveOfARunAndChangesByOthers()
{
    QTemporaryDir game, root;
    const QString path = game.path() + "/Players.db1";
    writeAll(path, "loaded");
    Backups backups(root.path());
    backups.beforeSave(game.path(), path, false);
    writeAll(path, "our save");
    backups.beforeSave(game.path(), path, false); // the second save of the run: no copy
    writeAll(path, "the game's save");
    backups.beforeSave(game.path(), path, true); // another program changed it: copied again
    const auto copies = backups.list(game.path());
    QCOMPARE(copies.size(), std::size_t(2));
    QCOMPARE(readAll(copies[0].path), QByteArray("loaded"));
    QCOMPARE(readAll(copies[1].path), QByteArray("the game's save"));
    QCOMPARE(copies[0].file, QString("Players.db1"));
    QCOMPARE(copies[1].size, 15LL);
    // A new run (a new program) copies again before its first save.
    Backups nextRun(root.path());
    nextRun.beforeSave(game.path(), path, false);
    QCOMPARE(nextRun.list(game.path()).size(), std::size_t(3));
    QCOMPARE(filesIn(backups.folderFor(game.path())).filter(QRegularExpression("^\\.")), QStringList());
}

// Twenty-five runs within a few seconds: numbered copies in the same second, and the first
// copy (the original) survives the pruning.
void TestBackups::oldestAndNewestTwentyKept()
{
    QTemporaryDir game, root;
    const QString path = game.path() + "/Mgdata.db1";
    for (int run = 0; run < 25; ++run) {
        writeAll(path, "state " + QByteArray::number(run));
        Backups(root.path()).beforeSave(game.path(), path, false);
    }
    writeAll(game.path() + "/Tmdata.db1", "teams");
    Backups(root.path()).beforeSave(game.path(), game.path() + "/Tmdata.db1", false);

    std::vector<Backups::Copy> copies = Backups(root.path()).list(game.path());
    std::erase_if(copies, [](const Backups::Copy& c) { return c.file != "Mgdata.db1"; });
    QCOMPARE(copies.size(), std::size_t(1 + Backups::kKeptNewest));
    QCOMPARE(readAll(copies.front().path), QByteArray("state 0"));
    for (int i = 1; i <= Backups::kKeptNewest; ++i)
        QCOMPARE(readAll(copies[std::size_t(i)].path), "state " + QByteArray::number(4 + i));
    QCOMPARE(filesIn(Backups(root.path()).folderFor(game.path())).filter("Tmdata.db1").size(), 1);
}

void TestBackups::oneFolderPerGameFolderAndSafeNames()
{
#ifdef Q_OS_WIN
    QSKIP("a Windows folder name cannot hold ':' or '*'");
#endif
    QTemporaryDir top, root;
    QVERIFY(QDir(top.path()).mkpath("a/Old Game: 2*"));
    QVERIFY(QDir(top.path()).mkpath("b/Old Game: 2*"));
    const Backups backups(root.path());
    const QString a = top.path() + "/a/Old Game: 2*";
    QCOMPARE(backups.folderFor(a), backups.folderFor(top.path() + "/a/./Old Game: 2*/"));
    QVERIFY(backups.folderFor(a) != backups.folderFor(top.path() + "/b/Old Game: 2*"));
    const QString name = QFileInfo(backups.folderFor(a)).fileName();
    QVERIFY2(QRegularExpression("^Old Game_ 2_ [0-9a-f]{8}$").match(name).hasMatch(), qPrintable(name));

    writeAll(a + "/Hiscores.bin", "x");
    Backups run(root.path());
    run.beforeSave(a, a + "/Hiscores.bin", false);
    const QString copy = QFileInfo(run.list(a).at(0).path).fileName();
    QVERIFY2(QRegularExpression("^Hiscores\\.bin \\d{4}-\\d\\d-\\d\\d \\d\\d-\\d\\d-\\d\\d\\.bak$").match(copy).hasMatch(),
             qPrintable(copy));
    for (const QChar c : QString("<>:\"/\\|?*"))
        QVERIFY(!copy.contains(c));
}

// The same game folder reached by another spelling keeps its backups, and lists them, in one
// place: a link to it, or on Windows other letter case and backslashes.
void TestBackups::anotherSpellingKeepsOneFolder()
{
    QTemporaryDir top, root;
    QVERIFY(QDir(top.path()).mkpath("Game Folder"));
    const QString game = top.path() + "/Game Folder";
#ifdef Q_OS_WIN
    const QString other = QDir::toNativeSeparators(game.toUpper()) + "\\";
#else
    const QString other = top.path() + "/link";
    QVERIFY(QFile::link(game, other));
#endif
    const Backups backups(root.path());
    QCOMPARE(backups.folderFor(other), backups.folderFor(game));
    QVERIFY(QFileInfo(backups.folderFor(other)).fileName().startsWith("Game Folder "));
    writeAll(game + "/Hiscores.bin", "x");
    Backups run(root.path());
    run.beforeSave(other, other + "/Hiscores.bin", false);
    QCOMPARE(run.list(game).size(), std::size_t(1));
}

// A new Hiscores.bin has nothing to keep.
void TestBackups::missingFileNeedsNoCopy()
{
    QTemporaryDir game, root;
    Backups backups(root.path());
    backups.beforeSave(game.path(), game.path() + "/Hiscores.bin", false);
    QVERIFY(backups.list(game.path()).empty());
}

void TestBackups::unwritableBackupStopsTheSave()
{
    QTemporaryDir game, root;
    const QString path = game.path() + "/Players.db1";
    writeAll(path, "original");
    // The backup root is a file: no folder can be made under it, for root as for anyone.
    const QString blocked = root.path() + "/blocked";
    writeAll(blocked, "not a folder");
    Backups backups(blocked);
    try {
        backups.beforeSave(game.path(), path, false);
        QFAIL("the save went on without its backup");
    } catch (const gamedb::GameError& e) {
        const QString m = QString::fromStdString(e.what());
        QVERIFY2(m.startsWith("The backup of Players.db1 could not be written to " +
                              QDir::toNativeSeparators(blocked + "/")),
                 qPrintable(m));
        QVERIFY2(m.endsWith("; nothing was saved"), qPrintable(m));
    }
    QCOMPARE(readAll(path), QByteArray("original"));
    // Not marked as copied: the next attempt tries again.
    QVERIFY_THROWS_EXCEPTION(gamedb::GameError, backups.beforeSave(game.path(), path, false));
}

QTEST_GUILESS_MAIN(TestBackups)
#include "tst_backups.moc"
