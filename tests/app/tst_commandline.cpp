// korvex export|import: byte-identical round trips of full-size databases and of hostile bytes,
// refusals that leave the game file as it was, and the exit statuses of the real program.
#include "CommandRun.h"
#include "TestFiles.h"
#include "tests/gamedb/DbFiles.h"

#include "app/CommandLine.h"
#include "gamedb/Csv.h"
#include "gamedb/Formats.h"
#include "gamedb/ManagerDb.h"
#include "gamedb/PlayerDb.h"
#include "gamedb/TeamDb.h"
#include "sample/SampleGame.h"

#include <QProcess>
#include <QtTest>

#include <sstream>

using namespace gamedb;
using namespace testfiles;
using cmdrun::korvex;
using cmdrun::Run;

namespace {

const DbFormat& formatOf(const QString& kind)
{
    return *formatNamed(kind.toStdString());
}

std::uint8_t* at(QByteArray& r, const DbFormat& f, const char* control)
{
    return dbfiles::bytesOf(r) + fieldNamed(f.schema, control).offset;
}

// A record of zeros but for its ID and its first name.
QByteArray fixtureRecord(const DbFormat& f, int id)
{
    QByteArray r = dbfiles::blankRecord(f);
    writeNumber(dbfiles::bytesOf(r), f.schema[0], id);
    writeText(dbfiles::bytesOf(r), f.schema[1], "Name" + std::to_string(id));
    return r;
}

// Bytes no page would write: a name without a zero byte, junk after a zero, a rating stored
// in an uncommon form, a position flag of 7, potential -1, a flag of 7, an unknown code.
QList<QByteArray> hostilePlayers()
{
    const DbFormat& f = kPlayerFormat;
    QList<QByteArray> out;
    for (int i = 0; i < 3; ++i)
        out << fixtureRecord(f, 100 + i);
    std::memset(at(out[0], f, "PlSName"), 'S', 35);
    std::memcpy(at(out[0], f, "PlFName"), "Ren\xE9\0junk", 9);
    at(out[1], f, "PlMSk1")[1] = 200; // 0, 200 reads 200; a page writes 1, 72
    *at(out[1], f, "PlGK") = 7;
    writeNumber(dbfiles::bytesOf(out[2]), fieldNamed(f.schema, "PlMSk2"), -1);
    std::memcpy(at(out[2], f, "PlClub"), "A, \"quoted\"\r\nclub", 17);
    return out;
}

QList<QByteArray> hostileTeams()
{
    const DbFormat& f = kTeamFormat;
    QList<QByteArray> out;
    for (int i = 0; i < 2; ++i)
        out << fixtureRecord(f, 7 + i);
    std::memset(at(out[0], f, "TeLong0"), 'L', 35);
    std::memcpy(at(out[0], f, "TeForm"), "ZZZ\0old", 7); // not a formation code
    *at(out[1], f, "TeEU") = 7;
    std::memcpy(at(out[1], f, "TeColor1"),
                "\xC9"
                "carlate",
                8);
    return out;
}

} // namespace

class TestCommandLine : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void fullSampleRoundTripIsByteIdentical_data();
    void fullSampleRoundTripIsByteIdentical();
    void hostileBytesSurvive_data();
    void hostileBytesSurvive();
    void changedCellChangesOnlyItsField();
    void newRowAppendsWithSmallestFreeId();
    void refusalLeavesFileUntouched_data();
    void refusalLeavesFileUntouched();
    void wrongUsage_data();
    void wrongUsage();
    void realProgramExitStatuses();

private:
    QString writeFile(const DbFormat& f, const QList<QByteArray>& records);
    QString gamePath(const DbFormat& f) const { return dir_.path() + "/" + QString::fromUtf8(f.fileName); }

    QTemporaryDir full_;
    QTemporaryDir dir_;
};

void TestCommandLine::initTestCase()
{
    QVERIFY(full_.isValid() && dir_.isValid());
    sample::writeSampleGame(full_.path(), sample::Size::Full);
}

QString TestCommandLine::writeFile(const DbFormat& f, const QList<QByteArray>& records)
{
    // A cleared word of zeros, as every save writes it, so that an unchanged file compares equal.
    writeAll(gamePath(f), dbfiles::file(f, records, -1, QByteArray("\x11\x22", 2), QByteArray(2, '\0')));
    return gamePath(f);
}

void TestCommandLine::fullSampleRoundTripIsByteIdentical_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<bool>("standardStreams");
    for (const char* k : {"managers", "teams", "players"}) {
        QTest::addRow("%s, files", k) << QString(k) << false;
        QTest::addRow("%s, - for output and input", k) << QString(k) << true;
    }
}

void TestCommandLine::fullSampleRoundTripIsByteIdentical()
{
    QFETCH(QString, kind);
    QFETCH(bool, standardStreams);
    const DbFormat& f = formatOf(kind);
    const QString game = full_.path() + "/" + QString::fromUtf8(f.fileName);
    const QByteArray before = readAll(game);
    QCOMPARE(before.size(), qsizetype(f.recordsStart() + f.recordSize * std::size_t(f.capacity)));

    const QString csvPath = full_.path() + "/" + kind + ".csv";
    const QString target = standardStreams ? QString("-") : csvPath;
    const Run exported = korvex({"export", full_.path(), kind, target});
    QCOMPARE(exported.status, cli::kOk);
    QCOMPARE(QString::fromStdString(exported.err), QString());
    const std::string csv = standardStreams ? exported.out : readAll(csvPath).toStdString();
    QVERIFY(csv.starts_with(std::string(kUtf8Bom) + "record,id,"));
    QCOMPARE(std::count(csv.begin(), csv.end(), '\n'), std::ptrdiff_t(f.capacity + 1));

    const Run imported = korvex({"import", full_.path(), kind, target}, standardStreams ? csv : std::string());
    QCOMPARE(QString::fromStdString(imported.err), QString());
    QCOMPARE(imported.status, cli::kOk);
    QVERIFY(readAll(game) == before);
}

void TestCommandLine::hostileBytesSurvive_data()
{
    QTest::addColumn<QString>("kind");
    QTest::newRow("players") << "players";
    QTest::newRow("teams") << "teams";
}

void TestCommandLine::hostileBytesSurvive()
{
    QFETCH(QString, kind);
    const DbFormat& f = formatOf(kind);
    const QString game = writeFile(f, kind == "players" ? hostilePlayers() : hostileTeams());
    const QByteArray before = readAll(game);
    const QString csvPath = dir_.path() + "/out.csv";
    QCOMPARE(korvex({"export", dir_.path(), kind, csvPath}).status, cli::kOk);
    const QByteArray csv = readAll(csvPath);
    QVERIFY(!csv.contains("junk") && !csv.contains("old"));
    const Run imported = korvex({"import", dir_.path(), kind, csvPath});
    QCOMPARE(QString::fromStdString(imported.err), QString());
    QCOMPARE(imported.status, cli::kOk);
    QCOMPARE(readAll(game), before);
}

void TestCommandLine::changedCellChangesOnlyItsField()
{
    const DbFormat& f = kPlayerFormat;
    const QString game = writeFile(f, hostilePlayers());
    QByteArray expected = readAll(game);
    const QString csvPath = dir_.path() + "/out.csv";
    QCOMPARE(korvex({"export", dir_.path(), "players", csvPath}).status, cli::kOk);
    QByteArray csv = readAll(csvPath);
    // Record 2's potential (0 in the fixture) becomes 150: the cell after ability 200.
    QVERIFY(csv.count(",200,0,0,") == 1);
    csv.replace(",200,0,0,", ",200,150,0,");
    writeAll(csvPath, csv);

    QCOMPARE(korvex({"import", dir_.path(), "players", csvPath}).status, cli::kOk);
    const qsizetype potential = qsizetype(f.recordsStart() + f.recordSize + fieldNamed(f.schema, "PlMSk2").offset);
    expected[potential] = 1; // 150 = 1 * 128 + 22
    expected[potential + 1] = 22;
    QCOMPARE(readAll(game), expected);
}

void TestCommandLine::newRowAppendsWithSmallestFreeId()
{
    const DbFormat& f = kTeamFormat;
    QList<QByteArray> teams{fixtureRecord(f, 0), fixtureRecord(f, 1), fixtureRecord(f, 3)};
    const QString game = writeFile(f, teams);
    const QByteArray before = readAll(game);
    const Run r = korvex({"import", dir_.path(), "teams", "-"}, "record,long_name_eng,reputation,id\n,Neustadt,12,\n");
    QCOMPARE(QString::fromStdString(r.err), QString());
    QCOMPARE(r.status, cli::kOk);

    QByteArray added = dbfiles::blankRecord(f);
    writeNumber(dbfiles::bytesOf(added), fieldNamed(f.schema, "TeID"), 2);
    writeText(dbfiles::bytesOf(added), fieldNamed(f.schema, "TeLong0"), "Neustadt");
    writeNumber(dbfiles::bytesOf(added), fieldNamed(f.schema, "TeRep"), 12);
    teams << added;
    QCOMPARE(readAll(game), dbfiles::file(f, teams, -1, QByteArray("\x11\x22", 2), QByteArray(2, '\0')));
    QCOMPARE(before.size() + qsizetype(f.recordSize), readAll(game).size());
}

void TestCommandLine::refusalLeavesFileUntouched_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QByteArray>("csv");
    QTest::addColumn<QString>("message");
    const QByteArray h = "record,id,first_name,second_name,age\r\n";
    QTest::newRow("unknown column") << "players" << QByteArray("record,shirt\r\n1,9\r\n")
                                    << "line 1, column shirt: the players have no such column";
    QTest::newRow("record twice") << "players" << h + "2,101,A,B,20\r\n2,101,A,B,21\r\n"
                                  << "line 3, column record: record 2 appears twice (also on line 2)";
    QTest::newRow("record beyond count") << "players" << h + "4,104,A,B,20\r\n"
                                         << "line 2, column record: there is no record 4: the records are 1 to 3";
    QTest::newRow("300 in a one-byte column")
        << "players" << h + "1,100,A,B,20\r\n3,102,A,B,300\r\n"
        << "line 3, column age: '300' does not fit this field: allowed are 0 to 255";
    QTest::newRow("36-character name") << "players" << h + "1,100,A," + QByteArray(36, 'n') + ",20\r\n"
                                       << "line 2, column second_name: '" + QString(36, 'n') +
                                              "' is longer than this field: at most 35 characters";
    QTest::newRow("outside the code page") << "players" << h + "1,100,\xE2\x82\xAC\xE2\x86\x92,B,20\r\n"
                                           << QString("line 2, column first_name: '") + QChar(0x20AC) + QChar(0x2192) +
                                                  "' holds a character the game cannot store";
    QTest::newRow("12a") << "players" << h + "1,100,A,B,12a\r\n"
                         << "line 2, column age: '12a' is not a valid integer value";
    QTest::newRow("duplicate ID") << "players" << h + "3,100,A,B,20\r\n"
                                  << "line 2, column id: '100' is also the ID of record 1";
    QTest::newRow("capacity") << "managers" << QByteArray("record,last_name\r\n,One too many\r\n")
                              << "line 2, column record: no room for another record: the table holds at most "
                                 "1000 managers";
}

// Exit status 1, the problem on standard error, and not one byte of the game file changed.
void TestCommandLine::refusalLeavesFileUntouched()
{
    QFETCH(QString, kind);
    QFETCH(QByteArray, csv);
    QFETCH(QString, message);
    const DbFormat& f = formatOf(kind);
    if (kind == "managers")
        sample::writeSampleManagers(dir_.path(), f.capacity);
    else
        writeFile(f, hostilePlayers());
    const QByteArray before = readAll(gamePath(f));
    const QString csvPath = dir_.path() + "/sheet.csv";
    writeAll(csvPath, csv);
    const QStringList filesBefore = filesIn(dir_.path());

    const Run r = korvex({"import", dir_.path(), kind, csvPath});
    QCOMPARE(r.status, cli::kRefused);
    const QString err = QString::fromStdString(r.err);
    QVERIFY2(err.startsWith("korvex: " + message + "\n"), qPrintable(err));
    QVERIFY(err.endsWith("korvex: nothing was written\n"));
    QCOMPARE(readAll(gamePath(f)), before);
    QCOMPARE(filesIn(dir_.path()), filesBefore); // no temporary file left behind
}

void TestCommandLine::wrongUsage_data()
{
    QTest::addColumn<QStringList>("args");
    QTest::newRow("no folder") << QStringList{"export"};
    QTest::newRow("no file") << QStringList{"import", "/tmp", "players"};
    QTest::newRow("unknown database") << QStringList{"export", "/tmp", "goalies", "-"};
    QTest::newRow("one argument too many") << QStringList{"export", "/tmp", "players", "-", "x"};
}

void TestCommandLine::wrongUsage()
{
    QFETCH(QStringList, args);
    QVERIFY(cli::isCommand(QStringList{"korvex"} + args));
    const Run r = korvex(args);
    QCOMPARE(r.status, cli::kUsage);
    QVERIFY(r.err.starts_with("usage: korvex export FOLDER managers|teams|players FILE [--where COLUMN EXPR]...\n"));
    QVERIFY(r.out.empty());
}

// The program itself: the commands run before any window (no display is needed), standard
// output carries the CSV bytes, and the statuses reach the shell.
void TestCommandLine::realProgramExitStatuses()
{
    writeFile(kPlayerFormat, hostilePlayers());
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove("QT_QPA_PLATFORM");
    env.remove("DISPLAY");
    env.remove("WAYLAND_DISPLAY");
    p.setProcessEnvironment(env);

    p.start(KORVEX_EXE, {"export", dir_.path(), "players", "-"});
    QVERIFY(p.waitForFinished(60000));
    QCOMPARE(p.exitCode(), 0);
    const QByteArray csv = p.readAllStandardOutput();
    QVERIFY(csv.startsWith("\xEF\xBB\xBFrecord,id,first_name,"));
    QVERIFY(csv.contains("\r\n1,100,Ren\xC3\xA9,"));

    p.start(KORVEX_EXE, {"import", dir_.path(), "players", "-"});
    QVERIFY(p.waitForStarted());
    p.write("record,age\n1,256\n");
    p.closeWriteChannel();
    QVERIFY(p.waitForFinished(60000));
    QCOMPARE(p.exitCode(), 1);
    QVERIFY(p.readAllStandardError().startsWith(
        "korvex: line 2, column age: '256' does not fit this field: allowed are 0 to 255\n"));

    p.start(KORVEX_EXE, {"import", dir_.path(), "players"});
    QVERIFY(p.waitForFinished(60000));
    QCOMPARE(p.exitCode(), 2);
    QVERIFY(p.readAllStandardError().startsWith("usage: "));

    QVERIFY(QDir(dir_.path()).mkpath("empty"));
    p.start(KORVEX_EXE, {"export", dir_.path() + "/empty", "players", "-"});
    QVERIFY(p.waitForFinished(60000));
    QCOMPARE(p.exitCode(), 1);
    // The message names the file that is missing: here the database, not the sheet.
    QCOMPARE(
        p.readAllStandardError(),
        ("korvex: " + QDir::toNativeSeparators(dir_.path() + "/empty/Players.db1") + ": File not found\n").toUtf8());
}

QTEST_GUILESS_MAIN(TestCommandLine)
#include "tst_commandline.moc"
