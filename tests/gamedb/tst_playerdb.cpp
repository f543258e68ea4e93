// Players.db1: where each field sits in the 215-byte record, the ratings' two-byte form, records
// kept byte for byte, the player list line.
#include "DbFiles.h"
#include "TestFiles.h"

#include "gamedb/Database.h"
#include "gamedb/GameError.h"
#include "gamedb/PlayerDb.h"

#include <QtTest>

using namespace gamedb;

namespace {

QByteArray raw(std::initializer_list<int> bytes)
{
    QByteArray out;
    for (const int b : bytes)
        out.append(static_cast<char>(b));
    return out;
}

QByteArray playerRecord(const QByteArray& first, const QByteArray& second)
{
    QByteArray r = dbfiles::blankRecord(kPlayerFormat);
    r.replace(4, first.size(), first);
    r.replace(34, second.size(), second);
    return r;
}

} // namespace

class TestPlayerDb : public QObject {
    Q_OBJECT
private slots:
    void fieldSitsAtItsOffset_data();
    void fieldSitsAtItsOffset();
    void readsOddBytesButSavesThemUnchanged();
    void ratingsRefuseWhatTheyCannotHold_data();
    void ratingsRefuseWhatTheyCannotHold();
    void listLine_data();
    void listLine();

private:
    QTemporaryDir dir_;
};

void TestPlayerDb::fieldSitsAtItsOffset_data()
{
    QTest::addColumn<QString>("control");
    QTest::addColumn<int>("offset");
    QTest::addColumn<QByteArray>("bytes"); // as the file holds them
    QTest::addColumn<qlonglong>("number"); // read from them; unused for text
    using T = QByteArray;
    QTest::newRow("ID 300") << "PlID" << 0 << raw({0, 0, 2, 44}) << 300LL;
    QTest::newRow("first name") << "PlFName" << 4 << T("Ivo") << 0LL;
    QTest::newRow("second name") << "PlSName" << 34 << T("Tamsen") << 0LL;
    QTest::newRow("nationality") << "PlNation" << 69 << T("Quessa") << 0LL;
    QTest::newRow("caps") << "PlCaps" << 104 << raw({120}) << 120LL;
    QTest::newRow("goals") << "PlGoals" << 105 << raw({33}) << 33LL;
    QTest::newRow("club") << "PlClub" << 106 << T("Velford Rovers") << 0LL;
    QTest::newRow("joined") << "PlJDate" << 141 << T("07.95") << 0LL;
    QTest::newRow("contract ends") << "PlCEnds" << 151 << T("06.01") << 0LL;
    QTest::newRow("date of birth") << "PlDOB" << 161 << T("12.03.71") << 0LL;
    QTest::newRow("age") << "PlAge" << 174 << raw({26}) << 26LL;
    QTest::newRow("goalkeeper") << "PlGK" << 175 << raw({2}) << 2LL;
    QTest::newRow("sweeper") << "PlSw" << 176 << raw({1}) << 1LL;
    QTest::newRow("anchor") << "PlAnc" << 178 << raw({2}) << 2LL;
    QTest::newRow("attacker") << "PlAtt" << 181 << raw({1}) << 1LL;
    QTest::newRow("right-sided") << "PlRight" << 182 << raw({2}) << 2LL;
    QTest::newRow("left-sided") << "PlLeft" << 183 << raw({1}) << 1LL;
    QTest::newRow("central") << "PlCentral" << 184 << raw({2}) << 2LL;
    QTest::newRow("ability 200") << "PlMSk1" << 185 << raw({1, 72}) << 200LL;
    QTest::newRow("potential -1") << "PlMSk2" << 187 << raw({0, 255}) << -1LL;
    QTest::newRow("potential 200") << "PlMSk2" << 187 << raw({1, 72}) << 200LL;
    QTest::newRow("potential 127") << "PlMSk2" << 187 << raw({0, 127}) << 127LL;
    QTest::newRow("reputation 150") << "PlMSk3" << 189 << raw({1, 22}) << 150LL;
    QTest::newRow("adaptability") << "PlSk1" << 191 << raw({20}) << 20LL;
    QTest::newRow("dirtiness") << "PlSk8" << 198 << raw({3}) << 3LL;
    QTest::newRow("injury proneness") << "PlSk13" << 203 << raw({11}) << 11LL;
    QTest::newRow("technique, last byte") << "PlSk24" << 214 << raw({7}) << 7LL;
}

void TestPlayerDb::fieldSitsAtItsOffset()
{
    QFETCH(QString, control);
    QFETCH(int, offset);
    QFETCH(QByteArray, bytes);
    QFETCH(qlonglong, number);
    dbfiles::checkFieldAtOffset(kPlayerFormat, dir_.path(), control, offset, bytes, number);
}

// Values no page would write read as the page would show them, but a save leaves the record's
// bytes exactly as they came: only the page's store step rewrites a player.
void TestPlayerDb::readsOddBytesButSavesThemUnchanged()
{
    QByteArray record = playerRecord(QByteArray("Ivo\0junk", 8), "Tamsen");
    record.replace(0, 4, raw({0, 0, 200, 0})); // ID with a digit over 127
    record[175] = 7;                           // goalkeeper flag: neither 0, 1 nor 2
    record[176] = char(255);
    record.replace(185, 2, raw({0, 200})); // ability 200 in a form the writer never uses
    record.replace(187, 2, raw({1, 200})); // potential with a negative low byte: 128 - 56
    record[214] = 99;
    const RecordTable table = dbfiles::load(kPlayerFormat, dir_.path(), {record});
    const Schema s = kPlayerFormat.schema;
    QCOMPARE(readNumber(table.record(1), fieldNamed(s, "PlID")), 25600LL);
    QCOMPARE(readNumber(table.record(1), fieldNamed(s, "PlGK")), 2LL);
    QCOMPARE(readNumber(table.record(1), fieldNamed(s, "PlSw")), 2LL);
    QCOMPARE(readNumber(table.record(1), fieldNamed(s, "PlMSk1")), 200LL);
    QCOMPARE(readNumber(table.record(1), fieldNamed(s, "PlMSk2")), 72LL);
    QCOMPARE(readNumber(table.record(1), fieldNamed(s, "PlSk24")), 99LL);

    dbfiles::save(table, dir_.path());
    QCOMPARE(dbfiles::savedRecord(kPlayerFormat, dir_.path(), 1), record);
}

void TestPlayerDb::ratingsRefuseWhatTheyCannotHold_data()
{
    QTest::addColumn<QString>("control");
    QTest::addColumn<qlonglong>("value");
    QTest::newRow("ability below 0") << "PlMSk1" << -1LL;
    QTest::newRow("reputation over two bytes") << "PlMSk3" << 32768LL;
    // Its high byte would be -1, which reads back as 32640.
    QTest::newRow("potential -128") << "PlMSk2" << -128LL;
    QTest::newRow("flag 3") << "PlGK" << 3LL;
    QTest::newRow("skill 256") << "PlSk1" << 256LL;
}

void TestPlayerDb::ratingsRefuseWhatTheyCannotHold()
{
    QFETCH(QString, control);
    QFETCH(qlonglong, value);
    QByteArray record = playerRecord("Ivo", "Tamsen");
    const QByteArray before = record;
    QVERIFY_THROWS_EXCEPTION(GameError, writeNumber(dbfiles::bytesOf(record),
                                                    fieldNamed(kPlayerFormat.schema, control.toStdString()), value));
    QCOMPARE(record, before);
}

void TestPlayerDb::listLine_data()
{
    QTest::addColumn<QByteArray>("first");  // bytes of the 30-byte field
    QTest::addColumn<QByteArray>("second"); // bytes of the 35-byte field
    QTest::addColumn<QString>("line");
    QTest::newRow("both names") << QByteArray("Ivo") << QByteArray("Tamsen") << "Tamsen, Ivo\t2";
    QTest::newRow("second name without zero byte") << QByteArray("Ivo") << QByteArray(35, 'T') << ", Ivo\t2";
    QTest::newRow("first name without zero byte") << QByteArray(30, 'I') << QByteArray("Tamsen") << "Tamsen, \t2";
    QTest::newRow("no names") << QByteArray() << QByteArray() << ", \t2";
    QTest::newRow("30 letters and a zero")
        << QByteArray(29, 'I') << QByteArray("T") << "T, " + QString(29, 'I') + "\t2";
}

void TestPlayerDb::listLine()
{
    QFETCH(QByteArray, first);
    QFETCH(QByteArray, second);
    QFETCH(QString, line);
    const RecordTable table =
        dbfiles::load(kPlayerFormat, dir_.path(), {playerRecord("A", "B"), playerRecord(first, second)});
    QCOMPARE(QString::fromStdString(table.listLine(2)), line);
    QCOMPARE(table.listLine(1), std::string("B, A\t1"));
}

QTEST_APPLESS_MAIN(TestPlayerDb)
#include "tst_playerdb.moc"
