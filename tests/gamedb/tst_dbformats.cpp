// The file skeleton as each of the three databases fills it in: header size, count range, capacity.
#include "DbFiles.h"
#include "Recorders.h"
#include "TestFiles.h"

#include "gamedb/Database.h"
#include "gamedb/GameError.h"
#include "gamedb/ManagerDb.h"
#include "gamedb/PlayerDb.h"
#include "gamedb/TeamDb.h"
#include "gamedb/TextField.h"
#include "sample/Names.h"
#include "sample/SampleGame.h"

#include <QtTest>

using namespace gamedb;
using namespace testfiles;

namespace {

struct Kind {
    const DbFormat* format;
    const char* idField;
    const char* nameField; // the name that leads the list line
};

Kind kindOf(const QString& name)
{
    if (name == "managers")
        return {&kManagerFormat, "MaID", "MaEft"};
    if (name == "teams")
        return {&kTeamFormat, "TeID", "TeLong0"};
    return {&kPlayerFormat, "PlID", "PlSName"};
}

// Every byte set to something, septet numbers in their ordinary form (a team save rewrites the
// others), and a name to list the record by.
QByteArray noisyRecord(const Kind& k, int id, sample::Rng& rng)
{
    QByteArray r = dbfiles::blankRecord(*k.format);
    std::uint8_t* p = dbfiles::bytesOf(r);
    for (qsizetype i = 0; i < r.size(); ++i)
        p[i] = static_cast<std::uint8_t>(rng.below(256));
    for (const Field& f : k.format->schema) {
        if (f.encoding == Encoding::Septet)
            writeNumber(p, f, rng.below(30000));
    }
    writeNumber(p, fieldNamed(k.format->schema, k.idField), id);
    const Field& name = fieldNamed(k.format->schema, k.nameField);
    std::memcpy(p + name.offset, "Tamsen", 7); // bytes after the zero stay noise
    return r;
}

QList<QByteArray> noisyRecords(const Kind& k, int n)
{
    sample::Rng rng(static_cast<std::uint32_t>(k.format->recordSize));
    QList<QByteArray> out;
    out.reserve(n);
    for (int i = 0; i < n; ++i)
        out << noisyRecord(k, i, rng);
    return out;
}

void addFormatRows()
{
    QTest::addColumn<QString>("kind");
    for (const char* k : {"managers", "teams", "players"})
        QTest::newRow(k) << QString(k);
}

} // namespace

class TestDbFormats : public QObject {
    Q_OBJECT
private slots:
    void init();
    void fullTableRoundTrips_data();
    void fullTableRoundTrips();
    void emptyTableSavesHeaderOnly_data() { addFormatRows(); }
    void emptyTableSavesHeaderOnly();
    void failedLoadKeepsTheTable_data();
    void failedLoadKeepsTheTable();
    void saveTakesHeaderFromFileOnDisk_data() { addFormatRows(); }
    void saveTakesHeaderFromFileOnDisk();
    void failedSaveLeavesFileUntouched_data();
    void failedSaveLeavesFileUntouched();
    void fullSampleFolderLoads();

private:
    QTemporaryDir dir_;
    QString pathOf(const Kind& k) const { return dir_.path() + "/" + QString::fromUtf8(k.format->fileName); }
};

void TestDbFormats::init()
{
    QVERIFY(dir_.isValid());
    for (const QString& f : filesIn(dir_.path()))
        QFile::remove(dir_.path() + "/" + f);
}

void TestDbFormats::fullTableRoundTrips_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<int>("count");
    QTest::addColumn<QByteArray>("countBytes");
    QTest::newRow("1000 managers") << "managers" << 1000 << QByteArray("\x07\x68", 2);
    QTest::newRow("2300 teams") << "teams" << 2300 << QByteArray("\x11\x7c", 2);       // 17, 124
    QTest::newRow("20000 players") << "players" << 20000 << QByteArray("\x9c\x20", 2); // 156, 32
}

// At capacity, the count's first byte beyond seven bits for players; the save is the file again
// but for the cleared word and what followed the last record.
void TestDbFormats::fullTableRoundTrips()
{
    QFETCH(QString, kind);
    QFETCH(int, count);
    QFETCH(QByteArray, countBytes);
    const Kind k = kindOf(kind);
    const DbFormat& f = *k.format;
    QCOMPARE(f.capacity, count);
    QByteArray original = dbfiles::file(f, noisyRecords(k, count));
    QCOMPARE(original.mid(qsizetype(f.headerSize), 2), countBytes);
    original += "tail the game never wrote";
    writeAll(pathOf(k), original);

    RecordTable table(f);
    RecordingProgress progress;
    RecordingPage page;
    const FileStamp stamp = loadDatabase(table, dir_.path(), progress, page);
    // The stamp is of every byte read, the tail too; and the same however the bytes are cut.
    const Bytes bytes = toBytes(original);
    QCOMPARE(stamp, stampOf(bytes));
    QCOMPARE(stamp, stampFile(pathOf(k)));
    Stamper pieces;
    const std::span<const std::uint8_t> all(bytes);
    std::size_t at = 0;
    for (const std::size_t n : {std::size_t(1), std::size_t(63), std::size_t(64), std::size_t(65), std::size_t(200)}) {
        pieces.add(all.subspan(at, n));
        at += n;
    }
    pieces.add(all.subspan(at));
    QCOMPARE(pieces.stamp(), stamp);
    Bytes changed = bytes; // the last byte of the tail; two records trading places
    changed.back() ^= 1;
    QVERIFY(stampOf(changed) != stamp);
    changed = bytes;
    std::swap_ranges(changed.begin() + qsizetype(f.recordsStart()),
                     changed.begin() + qsizetype(f.recordsStart() + f.recordSize),
                     changed.begin() + qsizetype(f.recordsStart() + f.recordSize));
    QVERIFY(changed != bytes && stampOf(changed) != stamp);
    QCOMPARE(table.count(), count);
    QCOMPARE(page.lines.size(), std::size_t(count));
    QVERIFY(page.lines.back().ends_with("\t" + std::to_string(count)));
    QVERIFY(page.lines.back().starts_with("Tamsen"));
    QCOMPARE(table.full(), true);

    saveDatabase(table, dir_.path(), progress, page);
    QByteArray expected = original.left(qsizetype(f.recordsStart() + f.recordSize * std::size_t(count)));
    expected[qsizetype(f.headerSize) + 4] = 0;
    expected[qsizetype(f.headerSize) + 5] = 0;
    const QByteArray saved = readAll(pathOf(k));
    QCOMPARE(saved.size(), expected.size());
    QVERIFY(saved == expected);
    QCOMPARE(progress.begun, (std::vector<std::string>{std::string(f.loadText), std::string(f.saveText)}));
}

void TestDbFormats::emptyTableSavesHeaderOnly()
{
    QFETCH(QString, kind);
    const Kind k = kindOf(kind);
    const DbFormat& f = *k.format;
    writeAll(pathOf(k), dbfiles::file(f, {}, 0) + QByteArray(100, 'x'));
    RecordTable table(f);
    NoProgress progress;
    RecordingPage page;
    loadDatabase(table, dir_.path(), progress, page);
    QCOMPARE(table.count(), 0);
    QVERIFY(page.lines.empty());
    saveDatabase(table, dir_.path(), progress, page);
    const QByteArray saved = readAll(pathOf(k));
    QCOMPARE(saved.size(), qsizetype(f.headerSize + 6));
    QCOMPARE(saved.mid(qsizetype(f.headerSize)), QByteArray("\x00\x00\x11\x22\x00\x00", 6));
}

void TestDbFormats::failedLoadKeepsTheTable_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<int>("records"); // present in the file
    QTest::addColumn<int>("count");   // what the file claims
    QTest::addColumn<QString>("message");
    QTest::newRow("managers over capacity")
        << "managers" << 1001 << 1001
        << "Mgdata.db1 holds 1001 records, but at most 1000 managers can be loaded. Nothing was loaded";
    QTest::newRow("teams over capacity")
        << "teams" << 2301 << 2301
        << "Tmdata.db1 holds 2301 records, but at most 2300 teams can be loaded. Nothing was loaded";
    QTest::newRow("players over capacity")
        << "players" << 20001 << 20001
        << "Players.db1 holds 20001 records, but at most 20000 players can be loaded. Nothing was loaded";
    QTest::newRow("teams truncated") << "teams" << 3 << 4 << "Read beyond end of file";
    QTest::newRow("players truncated") << "players" << 3 << 4 << "Read beyond end of file";
}

void TestDbFormats::failedLoadKeepsTheTable()
{
    QFETCH(QString, kind);
    QFETCH(int, records);
    QFETCH(int, count);
    QFETCH(QString, message);
    const Kind k = kindOf(kind);
    const DbFormat& f = *k.format;
    sample::Rng rng(5);
    writeAll(pathOf(k), dbfiles::file(f, {noisyRecord(k, 41, rng), noisyRecord(k, 42, rng)}));
    RecordTable table(f);
    NoProgress quiet;
    NoPage none;
    loadDatabase(table, dir_.path(), quiet, none);
    const std::vector<std::uint8_t> before = table.bytes();

    QByteArray bad = dbfiles::file(f, noisyRecords(k, records), count);
    if (records < count)
        bad += QByteArray(qsizetype(f.recordSize / 2), 'h'); // half of the last record
    writeAll(pathOf(k), bad);
    RecordingProgress progress;
    RecordingPage page;
    try {
        loadDatabase(table, dir_.path(), progress, page);
        QFAIL("the load succeeded");
    } catch (const GameError& e) {
        QCOMPARE(QString::fromUtf8(e.what()), message);
    }
    QCOMPARE(table.count(), 2);
    QVERIFY(table.bytes() == before);
    QVERIFY(page.calls.empty());
    QCOMPARE(progress.ended, 1);

    // A save now writes the two records loaded before, nothing of the refused file.
    saveDatabase(table, dir_.path(), quiet, none);
    const QByteArray saved = readAll(pathOf(k));
    QCOMPARE(saved.size(), qsizetype(f.recordsStart() + 2 * f.recordSize));
    QCOMPARE(saved.mid(qsizetype(f.headerSize), 2), QByteArray("\x00\x02", 2));
}

void TestDbFormats::saveTakesHeaderFromFileOnDisk()
{
    QFETCH(QString, kind);
    const Kind k = kindOf(kind);
    const DbFormat& f = *k.format;
    const QList<QByteArray> records = noisyRecords(k, 3);
    writeAll(pathOf(k), dbfiles::file(f, records));
    RecordTable table(f);
    NoProgress progress;
    RecordingPage page;
    loadDatabase(table, dir_.path(), progress, page);

    // Someone replaces the file between load and save: its header and carried word win.
    const QByteArray replaced = dbfiles::file(f, {}, 0, QByteArray("\x7e\x7f", 2), QByteArray("\x01\x02", 2), 99);
    writeAll(pathOf(k), replaced);
    saveDatabase(table, dir_.path(), progress, page);
    const QByteArray saved = readAll(pathOf(k));
    QCOMPARE(saved.left(qsizetype(f.headerSize)), replaced.left(qsizetype(f.headerSize)));
    QCOMPARE(saved.mid(qsizetype(f.headerSize), 6), QByteArray("\x00\x03\x7e\x7f\x00\x00", 6));
    QCOMPARE(saved.mid(qsizetype(f.recordsStart())), records.join());
    QCOMPARE(page.calls.back(), std::string("clearModified"));
}

void TestDbFormats::failedSaveLeavesFileUntouched_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<qlonglong>("writeLimit");
    QTest::addColumn<int>("renameErrno");
    QTest::addColumn<QString>("message");
    for (const char* k : {"teams", "players"}) {
        const qlonglong midRecord = qlonglong(kindOf(k).format->recordsStart() + 300);
        QTest::addRow("%s, disk full in a record", k) << QString(k) << midRecord << 0 << "Disk full";
        QTest::addRow("%s, rename refused", k) << QString(k) << -1LL << int(EACCES) << "File access denied";
    }
}

void TestDbFormats::failedSaveLeavesFileUntouched()
{
    QFETCH(QString, kind);
    QFETCH(qlonglong, writeLimit);
    QFETCH(int, renameErrno);
    QFETCH(QString, message);
    const Kind k = kindOf(kind);
    const QByteArray original = dbfiles::file(*k.format, noisyRecords(k, 4));
    writeAll(pathOf(k), original);
    RecordTable table(*k.format);
    NoProgress progress;
    RecordingPage page;
    loadDatabase(table, dir_.path(), progress, page);
    table.remove(1);
    page.calls.clear();

    IoFaults faults;
    faults.writeLimit = writeLimit;
    faults.renameErrno = renameErrno;
    try {
        FaultScope scope(faults);
        saveDatabase(table, dir_.path(), progress, page);
        QFAIL("the save succeeded");
    } catch (const GameError& e) {
        QCOMPARE(QString::fromUtf8(e.what()), message);
    }
    QVERIFY(readAll(pathOf(k)) == original);
    QCOMPARE(filesIn(dir_.path()), QStringList{QString::fromUtf8(k.format->fileName)});
    QVERIFY(std::find(page.calls.begin(), page.calls.end(), "clearModified") == page.calls.end());
}

// The generator's full-size folder: every table at capacity, every record listed by a name.
void TestDbFormats::fullSampleFolderLoads()
{
    sample::writeSampleGame(dir_.path(), sample::Size::Full);
    for (const char* kind : {"managers", "teams", "players"}) {
        const Kind k = kindOf(kind);
        RecordTable table(*k.format);
        NoProgress progress;
        RecordingPage page;
        loadDatabase(table, dir_.path(), progress, page);
        QCOMPARE(table.count(), k.format->capacity);
        QCOMPARE(page.lines.size(), std::size_t(k.format->capacity));
        for (int i = 1; i <= table.count(); ++i) {
            const std::string& line = page.lines[std::size_t(i - 1)];
            const auto tab = line.find('\t');
            QVERIFY2(tab != std::string::npos && tab > 0 && line.find(", ") != 0, line.c_str());
            QCOMPARE(line.substr(tab + 1), std::to_string(i));
        }
        QCOMPARE(table.smallestFreeValue(fieldNamed(k.format->schema, k.idField)), (long long)table.count());
    }

    // Ratings within what the player page offers, potential sometimes unknown.
    RecordTable players(kPlayerFormat);
    NoProgress progress;
    NoPage page;
    loadDatabase(players, dir_.path(), progress, page);
    const Schema s = kPlayerFormat.schema;
    int unknownPotential = 0;
    for (int i = 1; i <= players.count(); ++i) {
        const std::uint8_t* r = players.record(i);
        QVERIFY(readNumber(r, fieldNamed(s, "PlMSk1")) <= 200);
        const long long potential = readNumber(r, fieldNamed(s, "PlMSk2"));
        QVERIFY(potential >= -1 && potential <= 200);
        unknownPotential += potential == -1;
        QVERIFY(readNumber(r, fieldNamed(s, "PlMSk3")) <= 200);
        QVERIFY(readNumber(r, fieldNamed(s, "PlSk24")) <= 20);
    }
    QVERIFY(unknownPotential > 0 && unknownPotential < players.count() / 2);
}

QTEST_APPLESS_MAIN(TestDbFormats)
#include "tst_dbformats.moc"
