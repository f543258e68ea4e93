// korvex export … --where COLUMN EXPR: only the matching records, in record order, through the
// same filters as the table window's boxes; an unknown column or an unreadable expression exits 2
// with the reason and writes nothing.
#include "CommandRun.h"
#include "TestFiles.h"
#include "tests/gamedb/DbFiles.h"

#include "gamedb/PlayerDb.h"

#include <QDir>
#include <QProcess>
#include <QtTest>

using namespace gamedb;
using cmdrun::korvex;

namespace {

// Pace 18, 12, 20, 5, 18; clubs alternate Braadford Town and Oslo FC.
QList<QByteArray> fivePlayers()
{
    QList<QByteArray> out;
    const int pace[] = {18, 12, 20, 5, 18};
    for (int i = 0; i < 5; ++i) {
        QByteArray r = dbfiles::blankRecord(kPlayerFormat);
        std::uint8_t* b = dbfiles::bytesOf(r);
        const Schema s = kPlayerFormat.schema;
        writeNumber(b, fieldNamed(s, "PlID"), 100 + i);
        writeText(b, fieldNamed(s, "PlSName"), "Name" + std::to_string(i + 1));
        writeText(b, fieldNamed(s, "PlClub"), i % 2 ? "Oslo FC" : "Braadford Town");
        writeNumber(b, fieldNamed(s, "PlSk16"), pace[i]);
        out << r;
    }
    return out;
}

// The record numbers of the exported rows, in their order.
QList<int> exportedRecords(const std::string& csv)
{
    QList<int> out;
    const QList<QByteArray> lines = QByteArray::fromStdString(csv).split('\n');
    for (qsizetype i = 1; i < lines.size(); ++i) {
        if (!lines[i].isEmpty())
            out << lines[i].left(lines[i].indexOf(',')).toInt();
    }
    return out;
}

} // namespace

class TestExportWhere : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void exportsTheMatchingRecords_data();
    void exportsTheMatchingRecords();
    void refusals_data();
    void refusals();
    void realProgram();

private:
    QTemporaryDir dir_;
};

void TestExportWhere::initTestCase()
{
    QVERIFY(dir_.isValid());
    testfiles::writeAll(dir_.path() + "/Players.db1", dbfiles::file(kPlayerFormat, fivePlayers()));
}

void TestExportWhere::exportsTheMatchingRecords_data()
{
    QTest::addColumn<QStringList>("where");
    QTest::addColumn<QList<int>>("records");
    QTest::newRow("none: all") << QStringList{} << QList<int>{1, 2, 3, 4, 5};
    QTest::newRow("a comparison") << QStringList{"--where", "pace", ">=18"} << QList<int>{1, 3, 5};
    QTest::newRow("a text") << QStringList{"--where", "club", "oslo"} << QList<int>{2, 4};
    QTest::newRow("a whole text") << QStringList{"--where", "club", "=Oslo FC"} << QList<int>{2, 4};
    QTest::newRow("greater") << QStringList{"--where", "pace", ">18"} << QList<int>{3};
    QTest::newRow("less") << QStringList{"--where", "pace", "<12"} << QList<int>{4};
    QTest::newRow("at most") << QStringList{"--where", "pace", "<=12"} << QList<int>{2, 4};
    QTest::newRow("equal") << QStringList{"--where", "pace", "18"} << QList<int>{1, 5};
    QTest::newRow("not equal") << QStringList{"--where", "pace", "<>18"} << QList<int>{2, 3, 4};
    QTest::newRow("empty") << QStringList{"--where", "first_name", "="} << QList<int>{1, 2, 3, 4, 5};
    QTest::newRow("not empty") << QStringList{"--where", "first_name", "<>"} << QList<int>{};
    QTest::newRow("repeated: all apply") << QStringList{"--where", "pace", ">=18", "--where", "club", "=Braadford Town"}
                                         << QList<int>{1, 3, 5};
    QTest::newRow("a range and the record number")
        << QStringList{"--where", "pace", "12~18", "--where", "record", "<>1"} << QList<int>{2, 5};
    QTest::newRow("a regex") << QStringList{"--where", "second_name", "/[24]$/"} << QList<int>{2, 4};
    QTest::newRow("none match") << QStringList{"--where", "pace", ">20"} << QList<int>{};
}

void TestExportWhere::exportsTheMatchingRecords()
{
    QFETCH(QStringList, where);
    QFETCH(QList<int>, records);
    const cmdrun::Run run = korvex(QStringList{"export", dir_.path(), "players", "-"} + where);
    QCOMPARE(QString::fromStdString(run.err), QString());
    QCOMPARE(run.status, cli::kOk);
    QVERIFY(run.out.starts_with("\xEF\xBB\xBFrecord,id,"));
    QCOMPARE(exportedRecords(run.out), records);
}

void TestExportWhere::refusals_data()
{
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<QString>("err");
    const QStringList exportTo{"export", "DIR", "players", "FILE"};
    QTest::newRow("unknown column") << exportTo + QStringList{"--where", "speed", "18"}
                                    << "korvex: --where: the players have no column 'speed'\n";
    QTest::newRow("unreadable expression")
        << exportTo + QStringList{"--where", "pace", ">=x"} << "korvex: --where pace: 'x' is not a whole number\n";
    QTest::newRow("the second of two") << exportTo + QStringList{"--where", "pace", "18", "--where", "club", "/(/"}
                                       << "korvex: --where club: '/(/' is not a valid regular expression: "
                                          "missing closing parenthesis\n";
    QTest::newRow("no expression") << exportTo + QStringList{"--where", "pace"} << "usage:";
    QTest::newRow("not --where") << exportTo + QStringList{"--filter", "pace", "18"} << "usage:";
    QTest::newRow("on an import") << QStringList{"import", "DIR", "players", "FILE", "--where", "pace", "18"}
                                  << "usage:";
}

void TestExportWhere::refusals()
{
    QFETCH(QStringList, args);
    QFETCH(QString, err);
    const QString target = dir_.path() + "/out.csv";
    args.replaceInStrings("DIR", dir_.path()).replaceInStrings("FILE", target);
    const QByteArray before = testfiles::readAll(dir_.path() + "/Players.db1");
    const cmdrun::Run run = korvex(args);
    QCOMPARE(run.status, cli::kUsage);
    if (err == "usage:")
        QVERIFY(run.err.starts_with("usage: korvex export FOLDER managers|teams|players FILE [--where COLUMN EXPR]"));
    else
        QCOMPARE(QString::fromStdString(run.err), err);
    QVERIFY(run.out.empty());
    QVERIFY(!QFile::exists(target));
    QCOMPARE(testfiles::readAll(dir_.path() + "/Players.db1"), before);
}

void TestExportWhere::realProgram()
{
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove("QT_QPA_PLATFORM");
    env.remove("DISPLAY");
    env.remove("WAYLAND_DISPLAY");
    p.setProcessEnvironment(env);
    const QString target = dir_.path() + "/fast.csv";
    p.start(KORVEX_EXE, {"export", dir_.path(), "players", target, "--where", "pace", ">=18"});
    QVERIFY(p.waitForFinished(60000));
    QCOMPARE(p.readAllStandardError(), QByteArray());
    QCOMPARE(p.exitCode(), 0);
    QCOMPARE(exportedRecords(testfiles::readAll(target).toStdString()), (QList<int>{1, 3, 5}));

    p.start(KORVEX_EXE, {"export", dir_.path(), "players", "-", "--where", "pace", "fast"});
    QVERIFY(p.waitForFinished(60000));
    QCOMPARE(p.exitCode(), 2);
    QCOMPARE(p.readAllStandardError(), QByteArray("korvex: --where pace: 'fast' is not a whole number\n"));
    QCOMPARE(p.readAllStandardOutput(), QByteArray());
}

QTEST_GUILESS_MAIN(TestExportWhere)
#include "tst_exportwhere.moc"
