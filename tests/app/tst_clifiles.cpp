// The command line against real files and real processes: the game's own files refused as export
// targets, pipes, devices and inherited descriptors used as streams, two imports at once, killed
// imports, an endless input and names that are not UTF-8.
#include "CommandRun.h"
#include "TestFiles.h"

#include "app/CommandLine.h"
#include "gamedb/Backups.h"
#include "gamedb/Csv.h"
#include "gamedb/FileIo.h"
#include "gamedb/Formats.h"
#include "gamedb/PlayerDb.h"
#include "sample/SampleGame.h"

#include <QElapsedTimer>
#include <QProcess>
#include <QtTest>

#include <sstream>

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

using namespace gamedb;
using namespace testfiles;
using cmdrun::korvex;
using cmdrun::Run;

namespace {

// The real program, with no display, through bash so that a test can use its redirections.
struct Shell {
    int status;
    QByteArray out;
    QByteArray err;
};

Shell shell(const QString& script, const QString& cwd = {})
{
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove("DISPLAY");
    env.remove("WAYLAND_DISPLAY");
    env.insert("KORVEX", KORVEX_EXE);
    p.setProcessEnvironment(env);
    if (!cwd.isEmpty())
        p.setWorkingDirectory(cwd);
    p.start("bash", {"-c", script});
    if (!p.waitForFinished(120000))
        qFatal("bash did not finish: %s", qPrintable(script));
    return {p.exitCode(), p.readAllStandardOutput(), p.readAllStandardError()};
}

bool isKind(const QString& path, mode_t kind)
{
    struct stat st {};
    return ::lstat(QFile::encodeName(path).constData(), &st) == 0 && (st.st_mode & S_IFMT) == kind;
}

// The age of player n as a sheet changes it.
QByteArray ageSheet(int record, int age)
{
    return "record,age\r\n" + QByteArray::number(record) + "," + QByteArray::number(age) + "\r\n";
}

int ageOf(const QString& playersFile, int record)
{
    const QByteArray bytes = readAll(playersFile);
    const Field& age = fieldNamed(kPlayerFormat.schema, "PlAge");
    const auto* r = reinterpret_cast<const std::uint8_t*>(bytes.constData()) + kPlayerFormat.recordsStart() +
                    std::size_t(record - 1) * kPlayerFormat.recordSize;
    return int(readNumber(r, age));
}

} // namespace

class TestCliFiles : public QObject {
    Q_OBJECT
private slots:
    void init();
    void exportRefusesTheGamesFiles_data();
    void exportRefusesTheGamesFiles();
    void exportIntoPipeAndDevice();
    void inheritedDescriptorsAreStreams();
    void missingFileIsNamed_data();
    void missingFileIsNamed();
    void twoImportsAtOnceBothKept();
    void killedImportLeavesNoTemporaryFile();
    void staleTemporariesAreRemoved();
    void importKeepsABackup();
    void endlessInputIsRefused();
    void namesThatAreNotUtf8();

private:
    QString players() const { return dir_->path() + "/Players.db1"; }
    std::optional<QTemporaryDir> dir_;
    QByteArray expectedCsv_;
};

void TestCliFiles::init()
{
    dir_.emplace();
    QVERIFY(dir_->isValid());
    sample::writeSampleGame(dir_->path(), sample::Size::Moderate);
    const Run r = korvex({"export", dir_->path(), "players", "-"});
    QCOMPARE(r.status, cli::kOk);
    expectedCsv_ = QByteArray::fromStdString(r.out);
}

void TestCliFiles::exportRefusesTheGamesFiles_data()
{
    QTest::addColumn<QString>("target"); // relative to the game folder's parent
    QTest::addColumn<QString>("file");   // the game file it would destroy
    QTest::newRow("the file itself") << "G/Players.db1" << "Players.db1";
    QTest::newRow("another database") << "G/Mgdata.db1" << "Mgdata.db1";
    QTest::newRow("other letter case") << "G/PLAYERS.DB1" << "Players.db1";
    QTest::newRow("a game file not there yet") << "G/Plhist98.bin" << "Plhist98.bin";
    QTest::newRow("another spelling of the folder") << "G/./../G/Hiscores.bin" << "Hiscores.bin";
    QTest::newRow("a symbolic link elsewhere") << "link.csv" << "Players.db1";
    QTest::newRow("a hard link elsewhere") << "hard.csv" << "Players.db1";
    QTest::newRow("through a linked folder") << "linked/Gamess16.idx" << "Gamess16.idx";
}

void TestCliFiles::exportRefusesTheGamesFiles()
{
    QFETCH(QString, target);
    QFETCH(QString, file);
    const QString top = dir_->path();
    const QString game = top + "/G";
    QVERIFY(QDir(top).mkdir("G"));
    sample::writeSampleGame(game, sample::Size::Moderate);
    QFile::remove(game + "/Plhist98.bin");
    QVERIFY(QFile::link(game + "/Players.db1", top + "/link.csv"));
    QCOMPARE(::link(QFile::encodeName(game + "/Players.db1").constData(), QFile::encodeName(top + "/hard.csv").constData()), 0);
    QVERIFY(QFile::link(game, top + "/linked"));
    QMap<QString, QByteArray> before;
    for (const QString& name : filesIn(game))
        before[name] = readAll(game + "/" + name);

    const Run r = korvex({"export", game, "players", top + "/" + target});
    QCOMPARE(r.status, cli::kRefused);
    QCOMPARE(QString::fromStdString(r.err), "korvex: " + top + "/" + target + ": That is the game's own file " + file +
                                                ", which an export never writes over; choose another name\n");
    QCOMPARE(filesIn(game), QStringList(before.keys()));
    for (const QString& name : before.keys())
        QCOMPARE(readAll(game + "/" + name), before[name]);
}

// A named pipe and a device node are written into, never replaced by a regular file.
void TestCliFiles::exportIntoPipeAndDevice()
{
    const QString fifo = dir_->path() + "/pipe.csv";
    QCOMPARE(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    QProcess reader;
    reader.start("bash", {"-c", "cat \"$0\" > \"$0.out\"", fifo});
    QVERIFY(reader.waitForStarted());
    QCOMPARE(korvex({"export", dir_->path(), "players", fifo}).status, cli::kOk);
    QVERIFY(reader.waitForFinished(30000));
    QVERIFY(isKind(fifo, S_IFIFO));
    QCOMPARE(readAll(fifo + ".out"), expectedCsv_);

    const QString device = dir_->path() + "/null.csv";
    if (::mknod(QFile::encodeName(device).constData(), S_IFCHR | 0666, makedev(1, 3)) != 0)
        QSKIP("no right to make a device node here (needs root)");
    QCOMPARE(korvex({"export", dir_->path(), "players", device}).status, cli::kOk);
    QVERIFY(isKind(device, S_IFCHR));
    QCOMPARE(filesIn(dir_->path()).filter(".null.csv"), QStringList());
}

// /dev/stdout, /dev/stdin and process substitution, as the shell hands them over.
void TestCliFiles::inheritedDescriptorsAreStreams()
{
    const QString g = dir_->path();
    Shell s = shell("\"$KORVEX\" export . players /dev/stdout", g);
    QCOMPARE(s.status, 0);
    QCOMPARE(s.out, expectedCsv_);

    s = shell("\"$KORVEX\" export . players >(cat > sub.csv) && wait", g);
    QCOMPARE(s.status, 0);
    QTRY_COMPARE(readAll(g + "/sub.csv"), expectedCsv_);

    // Standard output redirected to a file with >>: written at its end, as the shell opened it.
    writeAll(g + "/appended.csv", "before\n");
    s = shell("\"$KORVEX\" export . players /dev/stdout >> appended.csv", g);
    QCOMPARE(s.status, 0);
    QCOMPARE(readAll(g + "/appended.csv"), "before\n" + expectedCsv_);

    writeAll(g + "/sheet.csv", ageSheet(2, 31));
    s = shell("\"$KORVEX\" import . players /dev/stdin < sheet.csv", g);
    QCOMPARE(QString::fromUtf8(s.err), QString());
    QCOMPARE(s.status, 0);
    QCOMPARE(ageOf(players(), 2), 31);

    s = shell("\"$KORVEX\" import . players <(cat sheet.csv | sed s/31/32/)", g);
    QCOMPARE(QString::fromUtf8(s.err), QString());
    QCOMPARE(s.status, 0);
    QCOMPARE(ageOf(players(), 2), 32);
}

void TestCliFiles::missingFileIsNamed_data()
{
    QTest::addColumn<QString>("folder");
    QTest::addColumn<QString>("sheet");
    QTest::addColumn<QString>("named");
    QTest::newRow("the sheet") << "" << "/missing.csv" << "/missing.csv";
    QTest::newRow("the database") << "/empty" << "/sheet.csv" << "/empty/Players.db1";
}

void TestCliFiles::missingFileIsNamed()
{
    QFETCH(QString, folder);
    QFETCH(QString, sheet);
    QFETCH(QString, named);
    QVERIFY(QDir(dir_->path()).mkdir("empty"));
    writeAll(dir_->path() + "/sheet.csv", ageSheet(1, 20));
    const Run r = korvex({"import", dir_->path() + folder, "players", dir_->path() + sheet});
    QCOMPARE(r.status, cli::kRefused);
    QCOMPARE(QString::fromStdString(r.err),
             "korvex: " + dir_->path() + named + ": File not found\nkorvex: nothing was written\n");
}

// Each import holds the folder from its read to its replace, so neither change is lost.
void TestCliFiles::twoImportsAtOnceBothKept()
{
    const QString g = dir_->path();
    sample::writeSampleGame(g, sample::Size::Full);
    for (int round = 0; round < 6; ++round) {
        writeAll(g + "/a.csv", ageSheet(10, 20 + round));
        writeAll(g + "/b.csv", ageSheet(20000, 30 + round));
        const Shell s = shell("\"$KORVEX\" import . players a.csv & a=$!; \"$KORVEX\" import . players b.csv & b=$!; "
                              "wait $a && wait $b",
                              g);
        QCOMPARE(QString::fromUtf8(s.err), QString());
        QCOMPARE(s.status, 0);
        QCOMPARE(ageOf(players(), 10), 20 + round);
        QCOMPARE(ageOf(players(), 20000), 30 + round);
    }
}

// Killed at any moment, an import leaves the old file or the new one, and nothing else.
void TestCliFiles::killedImportLeavesNoTemporaryFile()
{
    const QString g = dir_->path();
    sample::writeSampleGame(g, sample::Size::Full);
    writeAll(g + "/sheet.csv", ageSheet(5, 77));
    const QStringList files = filesIn(g);
    const QByteArray old = readAll(players());
    QElapsedTimer whole;
    whole.start();
    QVERIFY(shell("\"$KORVEX\" import . players sheet.csv", g).status == 0);
    const qint64 runMs = whole.elapsed();
    const QByteArray changed = readAll(players());
    QVERIFY(changed != old);

    for (int i = 0; i < 24; ++i) {
        writeAll(players(), old);
        QProcess p;
        p.setWorkingDirectory(g);
        p.start(KORVEX_EXE, {"import", ".", "players", "sheet.csv"});
        QVERIFY(p.waitForStarted());
        QTest::qWait(int(runMs * i / 20));
        p.kill(); // SIGKILL; nothing when the import has already finished
        QVERIFY(p.waitForFinished(30000) || p.state() == QProcess::NotRunning);
        // The complete file has a name only between its link and its rename; a kill in that
        // instant leaves it, and the next writer of the folder (any holder of its lock) removes it.
        QStringList left = filesIn(g);
        for (const QString& name : files)
            left.removeOne(name);
        for (const QString& name : left)
            QVERIFY2(QRegularExpression("^\\.Players\\.db1\\.[A-Za-z0-9]{6}$").match(name).hasMatch(), qPrintable(name));
        { const gamedb::FolderLock next(g); }
        QCOMPARE(filesIn(g), files);
        const QByteArray now = readAll(players());
        QVERIFY2(now == old || now == changed, "a torn file");
    }
}

// A temporary file that a killed writer left (where the file system has no nameless files) is
// removed by the next writer of that game folder; nothing else is.
void TestCliFiles::staleTemporariesAreRemoved()
{
    const QString g = dir_->path();
    const QStringList files = filesIn(g);
    for (const char* name : {".Players.db1.Ab12Cd", ".Mgdata.db1.zzzzzz", ".Players.db1.keep", ".notes.txt.Ab12Cd"})
        writeAll(g + "/" + name, "left behind");
    writeAll(g + "/sheet.csv", ageSheet(1, 25));
    QCOMPARE(korvex({"import", g, "players", g + "/sheet.csv"}).status, cli::kOk);
    QStringList expected = files;
    expected << ".Players.db1.keep" << ".notes.txt.Ab12Cd" << "sheet.csv";
    expected.sort();
    QCOMPARE(filesIn(g), expected);
}

// Each import is a run of its own: the file it replaces is copied first.
void TestCliFiles::importKeepsABackup()
{
    const QString g = dir_->path();
    const QByteArray before = readAll(players());
    writeAll(g + "/sheet.csv", ageSheet(1, 25));
    QCOMPARE(korvex({"import", g, "players", g + "/sheet.csv"}).status, cli::kOk);
    writeAll(g + "/sheet.csv", ageSheet(1, 26));
    QCOMPARE(korvex({"import", g, "players", g + "/sheet.csv"}).status, cli::kOk);
    const auto copies = Backups(Backups::defaultRoot()).list(g);
    QCOMPARE(copies.size(), std::size_t(2));
    QCOMPARE(readAll(copies[0].path), before);
    QCOMPARE(ageOf(copies[1].path, 1), 25);
}

void TestCliFiles::endlessInputIsRefused()
{
    const QString g = dir_->path();
    const QByteArray before = readAll(players());
    QElapsedTimer t;
    t.start();
    Shell s = shell("\"$KORVEX\" import . players - < /dev/zero", g);
    QCOMPARE(s.status, 1);
    QVERIFY2(s.err.contains("larger than 64 MB"), s.err.constData());
    s = shell("\"$KORVEX\" import . players /dev/stdin < /dev/zero", g);
    QCOMPARE(s.status, 1);
    QVERIFY2(s.err.contains("/dev/stdin: the sheet is larger than 64 MB"), s.err.constData());
    QVERIFY2(t.elapsed() < 60000, "took too long");

    // A regular file is judged by its size, before it is read.
    const QString big = g + "/big.csv";
    writeAll(big, "record,age\r\n");
    QVERIFY(QFile::resize(big, (qint64(64) << 20) + 1));
    const Run r = korvex({"import", g, "players", big});
    QCOMPARE(r.status, cli::kRefused);
    QVERIFY(QString::fromStdString(r.err).startsWith("korvex: " + big + ": the sheet is larger than 64 MB"));
    QCOMPARE(readAll(players()), before);
}

// Bytes that are not UTF-8 in a name reach the system as they were typed.
void TestCliFiles::namesThatAreNotUtf8()
{
    const QString g = dir_->path();
    Shell s = shell("\"$KORVEX\" export . players $'out\\xe9.csv'", g);
    QCOMPARE(s.status, 0);
    struct stat st {};
    QCOMPARE(::stat(QFile::encodeName(g).constData() + QByteArray("/out\xe9.csv"), &st), 0);
    QVERIFY(::stat(QFile::encodeName(g).constData() + QByteArray("/out\xef\xbf\xbd.csv"), &st) != 0);

    QVERIFY(QDir(g).mkdir("latin"));
    sample::writeSampleGame(g + "/latin", sample::Size::Moderate);
    const QByteArray native = QFile::encodeName(g);
    QCOMPARE(::rename((native + "/latin").constData(), (native + "/caf\xe9").constData()), 0);
    s = shell("\"$KORVEX\" export $'caf\\xe9' players - && \"$KORVEX\" import $'caf\\xe9' players $'out\\xe9.csv'", g);
    QCOMPARE(QString::fromUtf8(s.err), QString());
    QCOMPARE(s.status, 0);
    QCOMPARE(s.out, expectedCsv_);

    // The name comes back in a message as the bytes it was.
    s = shell("\"$KORVEX\" import . players $'gone\\xe9.csv'", g);
    QCOMPARE(s.status, 1);
    QVERIFY(s.err.startsWith("korvex: gone\xe9.csv: File not found\n"));
    // QTemporaryDir cannot remove what it cannot name.
    QCOMPARE(::rename((native + "/caf\xe9").constData(), (native + "/latin").constData()), 0);
    QCOMPARE(::unlink((native + "/out\xe9.csv").constData()), 0);
}

QTEST_GUILESS_MAIN(TestCliFiles)
#include "tst_clifiles.moc"
