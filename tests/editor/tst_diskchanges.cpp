// A save of the data editor over a file another program changed after the load asks first; the
// other ticked databases are saved either way, and a lock held by another writer stops the save.
#include "EditorFixture.h"

#include "editor/ManagerPage.h"
#include "editor/TeamPage.h"
#include "gamedb/FileIo.h"
#include "gamedb/ManagerDb.h"
#include "gamedb/TeamDb.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QProcess>
#include <QtTest>

using namespace fixture;
using namespace testfiles;
using Kind = ScriptedPrompts::Kind;
using Answer = Prompts::Answer;
using gamedb::kManagerFormat;
using gamedb::kTeamFormat;

namespace {

const QString kQuestion = "Mgdata.db1 was changed by another program after it was loaded. Overwrite it?";

// Edits the first name of the manager shown, as a user types it.
void retype(Editor& e, const QString& name)
{
    e.page().MaForN->selectAll();
    QTest::keyClicks(e.page().MaForN, name);
}

} // namespace

class TestDiskChanges : public QObject {
    Q_OBJECT
private slots:
    void changedFileAsksBeforeOverwrite_data();
    void changedFileAsksBeforeOverwrite();
    void changeDuringTheLoad_data();
    void changeDuringTheLoad();
    void sameBytesOrOwnSaveDoNotAsk();
    void anotherWriterHoldingTheFolderStopsTheSave();
    void firstSaveOfTheRunIsBackedUp();
    void failedBackupStopsTheSave();
};

void TestDiskChanges::changedFileAsksBeforeOverwrite_data()
{
    QTest::addColumn<int>("answer");
    QTest::addColumn<bool>("overwritten");
    QTest::newRow("Yes") << int(Answer::Yes) << true;
    QTest::newRow("No") << int(Answer::No) << false;
    QTest::newRow("Escape") << int(Answer::Dismissed) << false;
}

void TestDiskChanges::changedFileAsksBeforeOverwrite()
{
    QFETCH(int, answer);
    QFETCH(bool, overwritten);
    Editor e;
    e.writeManagers(fourManagers());
    writeTeams(e, {teamRecord(1, "Alpha"), teamRecord(2, "Beta")});
    e.open();
    e.load(true, true);
    retype(e, "Edited");
    teamPage(e).TeStad->setText("New Ground");

    // Another program (the game, the command line) writes the managers after the load.
    QList<Mgr> theirs = fourManagers();
    theirs[0].first = "Theirs";
    e.writeManagers(theirs);
    const QByteArray theirBytes = readAll(e.path(kManagerFormat));

    e.prompts.confirmAnswers << ScriptedPrompts::Reply(Answer(answer));
    e.save(true, true);
    QCOMPARE(e.prompts.texts(Kind::Confirm), QStringList{kQuestion});
    QCOMPARE(e.prompts.texts(Kind::GeneralError), QStringList());
    if (overwritten) {
        QVERIFY(readAll(e.path(kManagerFormat)) != theirBytes);
        QVERIFY(!e.page().isModified());
    } else {
        QCOMPARE(readAll(e.path(kManagerFormat)), theirBytes);
        QVERIFY(e.page().isModified()); // the edits are still there to save
    }
    // The teams were saved as usual.
    QVERIFY(readAll(e.path(kTeamFormat)).contains("New Ground"));
}

void TestDiskChanges::changeDuringTheLoad_data()
{
    QTest::addColumn<QString>("how");
    QTest::addColumn<bool>("asks");
    QTest::addColumn<QByteArray>("loadedFirst"); // manager 1's first name as loaded
    // Their file put in place of ours: the load reads on in ours, which is no longer on disk.
    QTest::newRow("replaced while the records are read") << "replace" << true << QByteArray("Erik");
    // Their header written over ours once ours was read: the table holds bytes no longer there.
    QTest::newRow("header rewritten after it was read") << "header" << true << QByteArray("Erik");
    // Their records written over ours before the load reached them: it read theirs, all of them.
    QTest::newRow("records rewritten before they were read") << "records" << false << QByteArray("Theirs");
}

// Another program writes the managers while the load is reading them (between the header and
// the records): whatever change the loaded table does not hold, the save asks about.
void TestDiskChanges::changeDuringTheLoad()
{
    QFETCH(QString, how);
    QFETCH(bool, asks);
    QFETCH(QByteArray, loadedFirst);
#ifdef Q_OS_WIN
    if (how == "replace")
        QSKIP("Windows refuses to replace a file another handle holds open (the load's)");
#endif
    Editor e;
    e.writeManagers(fourManagers());
    const QByteArray ours = readAll(e.path(kManagerFormat));
    QList<Mgr> theirs = fourManagers();
    theirs[0].first = "Theirs";
    e.writeManagers(theirs);
    QByteArray theirBytes = readAll(e.path(kManagerFormat));
    writeAll(e.path(kManagerFormat), ours);
    if (how == "header") {
        theirBytes = ours;
        theirBytes[0] = static_cast<char>(theirBytes[0] ^ 0x55);
    }
    QVERIFY(theirBytes != ours);
    QCOMPARE(theirBytes.size(), ours.size());

    gamedb::IoFaults faults;
    int runs = 0;
    faults.afterFirstPiece = [&] {
        ++runs;
        if (how == "replace")
            gamedb::writeGameFile(e.path(kManagerFormat), gamedb::Bytes(theirBytes.begin(), theirBytes.end()));
        else
            writeAll(e.path(kManagerFormat), theirBytes); // in place, the file the load holds open
    };
    gamedb::setIoFaults(&faults);
    e.open();
    e.load();
    gamedb::setIoFaults(nullptr);
    QCOMPARE(runs, 1);
    QCOMPARE(e.prompts.texts(Kind::GeneralError), QStringList());
    QCOMPARE(managerText(e.record(1), "MaForN"), loadedFirst);

    retype(e, "Edited");
    e.prompts.confirmAnswers << ScriptedPrompts::Reply(Answer::No);
    e.save();
    QCOMPARE(e.prompts.texts(Kind::Confirm), asks ? QStringList{kQuestion} : QStringList());
    const QByteArray saved = readAll(e.path(kManagerFormat));
    if (asks)
        QCOMPARE(saved, theirBytes);
    else
        QVERIFY(saved.contains("Edited") && saved.contains("Theirs")); // their change kept
}

// Bytes written back unchanged (a touch, a copy) are no change; after its own save the editor
// knows what the file holds.
void TestDiskChanges::sameBytesOrOwnSaveDoNotAsk()
{
    Editor e;
    e.writeManagers(fourManagers());
    e.open();
    e.load();
    const QByteArray bytes = readAll(e.path(kManagerFormat));
    QFile::remove(e.path(kManagerFormat));
    writeAll(e.path(kManagerFormat), bytes);
    retype(e, "First");
    e.save();
    retype(e, "Second");
    e.save();
    QCOMPARE(e.prompts.texts(Kind::Confirm), QStringList());
    QVERIFY(readAll(e.path(kManagerFormat)).contains("Second"));
}

// A second writer (here flock(1), which takes the same kernel lock) holds the game folder: after
// the wait the save stops with a message and writes nothing.
void TestDiskChanges::anotherWriterHoldingTheFolderStopsTheSave()
{
#ifdef Q_OS_WIN
    QSKIP("flock(1) takes the POSIX lock; tst_fileiowin holds Windows' lock file against a second holder");
#endif
    Editor e;
    e.writeManagers(fourManagers());
    e.open();
    e.load();
    retype(e, "Edited");
    const QByteArray before = readAll(e.path(kManagerFormat));
    QProcess holder;
    holder.start("flock", {"--exclusive", "--no-fork", e.dir.path(), "sleep", "30"});
    QVERIFY(holder.waitForStarted());
    QTRY_VERIFY_WITH_TIMEOUT(
        [&] {
            try {
                gamedb::FolderLock probe(e.dir.path(), std::chrono::milliseconds(0));
                return false;
            } catch (const std::exception&) {
                return true;
            }
        }(),
        5000);
    QElapsedTimer t;
    t.start();
    e.save();
    QVERIFY(t.elapsed() >= 9000);
    holder.kill();
    holder.waitForFinished();
    QCOMPARE(e.prompts.texts(Kind::GeneralError),
             QStringList{"Another Korvex is saving into the game folder and did not finish within 10 seconds; "
                         "nothing was written, try again later."});
    QCOMPARE(readAll(e.path(kManagerFormat)), before);
    QVERIFY(e.page().isModified());
    // Once the other writer is gone, the save goes through.
    e.save();
    QVERIFY(readAll(e.path(kManagerFormat)).contains("Edited"));
}

// The file as it was on disk is copied before the first save, not before the second; again
// before a save over another program's change.
void TestDiskChanges::firstSaveOfTheRunIsBackedUp()
{
    Editor e;
    QTemporaryDir root;
    e.config = std::make_unique<AppConfig>(e.dir.path(), root.path());
    e.writeManagers(fourManagers());
    const QByteArray loaded = readAll(e.path(kManagerFormat));
    e.open();
    e.load();
    retype(e, "First");
    e.save();
    retype(e, "Second");
    e.save();
    auto copies = e.config->backups().list(e.dir.path());
    QCOMPARE(copies.size(), std::size_t(1));
    QCOMPARE(readAll(copies[0].path), loaded);

    QList<Mgr> theirs = fourManagers();
    theirs[1].first = "Theirs";
    e.writeManagers(theirs);
    const QByteArray theirBytes = readAll(e.path(kManagerFormat));
    e.prompts.confirmAnswers << true;
    retype(e, "Third");
    e.save();
    copies = e.config->backups().list(e.dir.path());
    QCOMPARE(copies.size(), std::size_t(2));
    QCOMPARE(readAll(copies[1].path), theirBytes);
}

void TestDiskChanges::failedBackupStopsTheSave()
{
    Editor e;
    QTemporaryDir root;
    writeAll(root.path() + "/file", "a file, not a folder");
    e.config = std::make_unique<AppConfig>(e.dir.path(), root.path() + "/file");
    e.writeManagers(fourManagers());
    writeTeams(e, {teamRecord(1, "Alpha")});
    const QByteArray managers = readAll(e.path(kManagerFormat));
    const QByteArray teams = readAll(e.path(kTeamFormat));
    e.open();
    e.load(true, true);
    retype(e, "Edited");
    e.save(true, true);
    const QStringList errors = e.prompts.texts(Kind::GeneralError);
    QCOMPARE(errors.size(), 1);
    QVERIFY2(errors[0].startsWith("The backup of Mgdata.db1 could not be written to "), qPrintable(errors[0]));
    QCOMPARE(readAll(e.path(kManagerFormat)), managers);
    QCOMPARE(readAll(e.path(kTeamFormat)), teams);
    QVERIFY(e.page().isModified());
}

QTEST_MAIN(TestDiskChanges)
#include "tst_diskchanges.moc"
