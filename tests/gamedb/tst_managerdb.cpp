#include "Recorders.h"
#include "TestFiles.h"

#include "gamedb/Database.h"
#include "gamedb/GameError.h"
#include "gamedb/ManagerDb.h"
#include "gamedb/TextField.h"
#include "sample/SampleGame.h"

#include <QtTest>

#include <sys/stat.h>

using namespace gamedb;
using namespace testfiles;

namespace {

constexpr int H = 262;
constexpr int S = 248;

QByteArray header()
{
    QByteArray h(H, '\0');
    for (int i = 0; i < H; ++i)
        h[i] = static_cast<char>((i * 7 + 3) & 0xFF);
    return h;
}

QByteArray managerRecord(int id, const char* first, const char* last)
{
    QByteArray r(S, '\0');
    auto* p = reinterpret_cast<std::uint8_t*>(r.data());
    writeNumber(p, fieldNamed(kManagerFormat.schema, "MaID"), id);
    assignText(p + 4, 20, first);
    assignText(p + 24, 35, last);
    assignText(p + 136, 10, "442A");
    p[246] = 1;
    // Bytes after the names' zero bytes carry along untouched.
    p[24 + 30] = 'Q';
    return r;
}

QByteArray managerFile(const QList<QByteArray>& records, int count = -1, QByteArray carried = "\x11\x22",
                       QByteArray cleared = "\x33\x44")
{
    if (count < 0)
        count = int(records.size());
    QByteArray f = header();
    f.append(static_cast<char>(count / 128)).append(static_cast<char>(count % 128));
    f.append(carried).append(cleared);
    for (const QByteArray& r : records)
        f.append(r);
    return f;
}

} // namespace

class TestManagerDb : public QObject {
    Q_OBJECT
private slots:
    void init();
    void loadReadsRecordsAndRunsHooksInOrder();
    void loadThenSaveIsByteIdenticalButForClearedWordAndTail();
    void emptyFileLoadsAndSavesAsHeaderOnly();
    void progressStepsOnWholePercentages();
    void failedLoadsLeaveTheTableAlone_data();
    void failedLoadsLeaveTheTableAlone();
    void saveKeepsTheHeaderOfTheFileOnDisk();
    void failedSavesLeaveTheFileUntouched_data();
    void failedSavesLeaveTheFileUntouched();
    void saveStopsWhenThePageCannotStore();
    void saveReEncodesSeptetsInTheirOrdinaryForm();
    void fileNameMatchedWithoutRegardToCase();
    void sampleFolderLoads();

private:
    QTemporaryDir dir_;
    QString path() const { return dir_.path() + "/Mgdata.db1"; }
};

void TestManagerDb::init()
{
    QVERIFY(dir_.isValid());
    for (const QString& f : filesIn(dir_.path()))
        QFile::remove(dir_.path() + "/" + f);
}

void TestManagerDb::loadReadsRecordsAndRunsHooksInOrder()
{
    writeAll(path(), managerFile({managerRecord(5, "Ivor", "Tamsen"), managerRecord(9, "Bram", "Esk")}));
    RecordTable table(kManagerFormat);
    RecordingProgress progress;
    RecordingPage page;
    loadDatabase(table, dir_.path(), progress, page);

    QCOMPARE(table.count(), 2);
    QCOMPARE(readNumber(table.record(2), fieldNamed(kManagerFormat.schema, "MaID")), 9LL);
    QCOMPARE(page.calls, (std::vector<std::string>{"clearList", "addLine", "showPages", "storeAndShow", "setLoaded"}));
    QCOMPARE(page.lines, (std::vector<std::string>{"Tamsen, Ivor\t1", "Esk, Bram\t2"}));
    QCOMPARE(progress.begun, std::vector<std::string>{"Loading Manager Data"});
    QCOMPARE(progress.ended, 1);
}

void TestManagerDb::loadThenSaveIsByteIdenticalButForClearedWordAndTail()
{
    QByteArray original = managerFile({managerRecord(0, "Ann", "Lunar"), managerRecord(1, "", "")});
    original.append("trailing junk");
    writeAll(path(), original);
    RecordTable table(kManagerFormat);
    NoProgress progress;
    RecordingPage page;
    loadDatabase(table, dir_.path(), progress, page);
    QCOMPARE(page.lines[1], std::string(", \t2"));
    saveDatabase(table, dir_.path(), progress, page);

    QByteArray expected = original.left(H + 6 + 2 * S);
    expected[H + 4] = 0;
    expected[H + 5] = 0;
    QCOMPARE(readAll(path()), expected);
    QCOMPARE(page.calls.back(), std::string("clearModified"));
    QCOMPARE(filesIn(dir_.path()), QStringList{"Mgdata.db1"});
}

void TestManagerDb::emptyFileLoadsAndSavesAsHeaderOnly()
{
    writeAll(path(), managerFile({}));
    RecordTable table(kManagerFormat);
    NoProgress progress;
    RecordingPage page;
    loadDatabase(table, dir_.path(), progress, page);
    QCOMPARE(table.count(), 0);
    QVERIFY(page.lines.empty());
    QCOMPARE(page.calls, (std::vector<std::string>{"clearList", "showPages", "storeAndShow", "setLoaded"}));
    saveDatabase(table, dir_.path(), progress, page);
    QCOMPARE(readAll(path()).size(), qsizetype(268));

    // A file that ends right after its count of 0 loads empty; a save, which carries the word
    // after the count, refuses it and leaves the file as it was.
    const QByteArray bare = managerFile({}).left(H + 2);
    writeAll(path(), bare);
    loadDatabase(table, dir_.path(), progress, page);
    QCOMPARE(table.count(), 0);
    try {
        saveDatabase(table, dir_.path(), progress, page);
        QFAIL("the save succeeded");
    } catch (const GameError& e) {
        QCOMPARE(QString::fromUtf8(e.what()), QString("Read beyond end of file"));
    }
    QCOMPARE(readAll(path()), bare);
}

void TestManagerDb::progressStepsOnWholePercentages()
{
    writeAll(path(), managerFile({managerRecord(0, "A", "B"), managerRecord(1, "C", "D"), managerRecord(2, "E", "F")}));
    RecordTable table(kManagerFormat);
    RecordingProgress progress;
    NoPage page;
    loadDatabase(table, dir_.path(), progress, page);
    QCOMPARE(progress.steps, (std::vector<int>{33, 66, 100}));

    // 1000 records repaint the bar once per whole percentage, not once per record.
    QList<QByteArray> many;
    for (int i = 0; i < 1000; ++i)
        many << managerRecord(i, "X", "Y");
    writeAll(path(), managerFile(many));
    RecordingProgress big;
    loadDatabase(table, dir_.path(), big, page);
    QCOMPARE(big.steps.size(), std::size_t{100});
    QCOMPARE(big.steps.back(), 100);
}

void TestManagerDb::failedLoadsLeaveTheTableAlone_data()
{
    QTest::addColumn<QByteArray>("file"); // empty: no file at all
    QTest::addColumn<QString>("message");
    QList<QByteArray> two{managerRecord(0, "A", "B"), managerRecord(1, "C", "D")};
    QTest::newRow("missing") << QByteArray() << "File not found";
    QTest::newRow("truncated record") << managerFile(two, 3) << "Read beyond end of file";
    QTest::newRow("no count") << header().left(100) << "Read beyond end of file";
    QTest::newRow("count over 1000")
        << managerFile(two, 1001)
        << "Mgdata.db1 holds 1001 records, but at most 1000 managers can be loaded. Nothing was loaded";
}

void TestManagerDb::failedLoadsLeaveTheTableAlone()
{
    QFETCH(QByteArray, file);
    QFETCH(QString, message);
    // A table that already holds something.
    writeAll(path(), managerFile({managerRecord(77, "Old", "Table")}));
    RecordTable table(kManagerFormat);
    NoProgress quiet;
    NoPage none;
    loadDatabase(table, dir_.path(), quiet, none);

    if (file.isEmpty())
        QFile::remove(path());
    else
        writeAll(path(), file);
    RecordingProgress progress;
    RecordingPage page;
    try {
        loadDatabase(table, dir_.path(), progress, page);
        QFAIL("the load succeeded");
    } catch (const GameError& e) {
        QCOMPARE(QString::fromUtf8(e.what()), message);
    }
    QCOMPARE(table.count(), 1);
    QCOMPARE(readText(table.record(1), fieldNamed(kManagerFormat.schema, "MaEft")), std::string_view("Table"));
    QVERIFY(page.calls.empty());
    QCOMPARE(progress.ended, 1); // the busy cursor goes back also on failure
}

void TestManagerDb::saveKeepsTheHeaderOfTheFileOnDisk()
{
    writeAll(path(), managerFile({managerRecord(0, "A", "B")}));
    RecordTable table(kManagerFormat);
    NoProgress progress;
    NoPage page;
    loadDatabase(table, dir_.path(), progress, page);

    QByteArray replaced = managerFile({}, 0, "\x7e\x7f");
    replaced[0] = 'N';
    replaced[261] = 'W';
    writeAll(path(), replaced);
    saveDatabase(table, dir_.path(), progress, page);
    const QByteArray saved = readAll(path());
    QCOMPARE(saved.left(H), replaced.left(H));
    QCOMPARE(saved.mid(H, 6), QByteArray("\x00\x01\x7e\x7f\x00\x00", 6));
    QCOMPARE(saved.size(), qsizetype(H + 6 + S));
}

void TestManagerDb::failedSavesLeaveTheFileUntouched_data()
{
    QTest::addColumn<int>("openErrno");
    QTest::addColumn<qlonglong>("writeLimit");
    QTest::addColumn<int>("renameErrno");
    QTest::addColumn<QString>("message");
    QTest::newRow("write-protected folder") << EACCES << -1LL << 0 << "File access denied";
    QTest::newRow("disk full mid-write") << 0 << 300LL << 0 << "Disk full";
    QTest::newRow("rename refused") << 0 << -1LL << EACCES << "File access denied";
}

void TestManagerDb::failedSavesLeaveTheFileUntouched()
{
    QFETCH(int, openErrno);
    QFETCH(qlonglong, writeLimit);
    QFETCH(int, renameErrno);
    QFETCH(QString, message);
    const QByteArray original = managerFile({managerRecord(0, "A", "B"), managerRecord(1, "C", "D")});
    writeAll(path(), original);
    RecordTable table(kManagerFormat);
    NoProgress progress;
    RecordingPage page;
    loadDatabase(table, dir_.path(), progress, page);
    table.append();
    page.calls.clear();

    // Reading the header goes first and succeeds; only the writing fails.
    IoFaults faults;
    faults.writeLimit = writeLimit;
    faults.renameErrno = renameErrno;
    try {
        if (openErrno) {
            // The open of the existing file must still succeed: fail the temporary file only.
            const Bytes prefix = readGameFile(path(), H + 4);
            faults.openErrno = openErrno;
            FaultScope scope(faults);
            writeGameFile(path(), encodeDatabase(table, prefix));
        } else {
            FaultScope scope(faults);
            saveDatabase(table, dir_.path(), progress, page);
        }
        QFAIL("the save succeeded");
    } catch (const GameError& e) {
        QCOMPARE(QString::fromUtf8(e.what()), message);
    }
    QCOMPARE(readAll(path()), original);
    QCOMPARE(filesIn(dir_.path()), QStringList{"Mgdata.db1"});
    QVERIFY(std::find(page.calls.begin(), page.calls.end(), "clearModified") == page.calls.end());
}

void TestManagerDb::saveStopsWhenThePageCannotStore()
{
    const QByteArray original = managerFile({managerRecord(0, "A", "B")});
    writeAll(path(), original);
    RecordTable table(kManagerFormat);
    NoProgress progress;
    RecordingPage page;
    loadDatabase(table, dir_.path(), progress, page);
    table.append();
    page.storeThrows = true;
    QVERIFY_THROWS_EXCEPTION(std::runtime_error, saveDatabase(table, dir_.path(), progress, page));
    QCOMPARE(readAll(path()), original);

    // A folder that vanished: the save reports it and leaves nothing behind.
    page.storeThrows = false;
    try {
        saveDatabase(table, dir_.path() + "/gone", progress, page);
        QFAIL("the save succeeded");
    } catch (const GameError& e) {
        QCOMPARE(QString::fromUtf8(e.what()), QString("Invalid filename"));
    }
}

void TestManagerDb::saveReEncodesSeptetsInTheirOrdinaryForm()
{
    QByteArray rec = managerRecord(0, "A", "B");
    rec[0] = 0;
    rec[1] = 0;
    rec[2] = char(200);
    rec[3] = 0; // ID 25600, digits not in ordinary form
    rec[134] = char(255);
    rec[135] = char(200); // reputation 32840: more than two digits can write, kept as stored
    writeAll(path(), managerFile({rec}));
    RecordTable table(kManagerFormat);
    NoProgress progress;
    NoPage page;
    loadDatabase(table, dir_.path(), progress, page);
    saveDatabase(table, dir_.path(), progress, page);
    const QByteArray saved = readAll(path());
    QCOMPARE(saved.mid(268, 4), QByteArray("\x00\x01\x48\x00", 4));
    QCOMPARE(saved.mid(268 + 134, 2), QByteArray("\xff\xc8", 2));
}

void TestManagerDb::fileNameMatchedWithoutRegardToCase()
{
    const QByteArray original = managerFile({managerRecord(3, "A", "B")});
    writeAll(dir_.path() + "/MGDATA.DB1", original);
    QVERIFY(gameFileExists(dir_.path(), "Mgdata.db1"));
    RecordTable table(kManagerFormat);
    NoProgress progress;
    NoPage page;
    loadDatabase(table, dir_.path(), progress, page);
    QCOMPARE(table.count(), 1);
    table.append();
    saveDatabase(table, dir_.path(), progress, page);
    // Saved under the name it had, not beside it under a second name.
    QCOMPARE(filesIn(dir_.path()), QStringList{"MGDATA.DB1"});
    QCOMPARE(readAll(dir_.path() + "/MGDATA.DB1").size(), qsizetype(H + 6 + 2 * S));
}

void TestManagerDb::sampleFolderLoads()
{
    sample::writeSampleGame(dir_.path(), sample::Size::Full);
    RecordTable table(kManagerFormat);
    NoProgress progress;
    RecordingPage page;
    loadDatabase(table, dir_.path(), progress, page);
    QCOMPARE(table.count(), 1000);
    QCOMPARE(page.lines.size(), std::size_t{1000});
    const Field& id = fieldNamed(kManagerFormat.schema, "MaID");
    QCOMPARE(table.smallestFreeValue(id), 1000LL);
    for (int i = 1; i <= table.count(); ++i) {
        const auto first = listText(table.record(i) + 4, 20);
        QVERIFY(!first.empty());
        QVERIFY(readNumber(table.record(i), fieldNamed(kManagerFormat.schema, "MaRep")) <= 200);
    }
}

QTEST_APPLESS_MAIN(TestManagerDb)
#include "tst_managerdb.moc"
