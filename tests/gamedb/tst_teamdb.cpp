// Tmdata.db1: where each field sits in the 1024-byte record, septets rewritten in ordinary form,
// the team list line.
#include "DbFiles.h"
#include "TestFiles.h"

#include "gamedb/Database.h"
#include "gamedb/TeamDb.h"

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

} // namespace

class TestTeamDb : public QObject {
    Q_OBJECT
private slots:
    void fieldSitsAtItsOffset_data();
    void fieldSitsAtItsOffset();
    void saveWritesSeptetsInOrdinaryForm();
    void listLine_data();
    void listLine();

private:
    QTemporaryDir dir_;
};

void TestTeamDb::fieldSitsAtItsOffset_data()
{
    QTest::addColumn<QString>("control");
    QTest::addColumn<int>("offset");
    QTest::addColumn<QByteArray>("bytes"); // as the file holds them
    QTest::addColumn<qlonglong>("number"); // read from them; unused for text
    using T = QByteArray;
    QTest::newRow("ID 300") << "TeID" << 0 << raw({0, 0, 2, 44}) << 300LL;
    QTest::newRow("UK long name") << "TeLong0" << 4 << T("Zarholm Rovers") << 0LL;
    QTest::newRow("UK description") << "TeDesc0" << 74 << T("Zarish") << 0LL;
    QTest::newRow("Italian long name") << "TeLong1" << 109 << T("AC Zarholm") << 0LL;
    QTest::newRow("German short name") << "TeShort2" << 249 << T("Zarh.") << 0LL;
    QTest::newRow("French short name") << "TeShort4" << 459 << T("Zarholm") << 0LL;
    QTest::newRow("Dutch description") << "TeDesc6" << 704 << T("Zarees") << 0LL;
    QTest::newRow("nation") << "TeNat" << 739 << T("Valdoria") << 0LL;
    QTest::newRow("region") << "TeReg" << 774 << T("Low Countries") << 0LL;
    QTest::newRow("developed") << "TeDev" << 809 << raw({3}) << 3LL;
    QTest::newRow("X") << "TeX" << 810 << raw({200}) << 200LL;
    QTest::newRow("Y") << "TeY" << 811 << raw({17}) << 17LL;
    QTest::newRow("EU") << "TeEU" << 812 << raw({1}) << 1LL;
    QTest::newRow("T coefficient") << "TeTCoe" << 813 << raw({0, 0, 0, 45}) << 45LL;
    QTest::newRow("city") << "TeCity" << 817 << T("Zarholm") << 0LL;
    QTest::newRow("stadium") << "TeStad" << 852 << T("Zarholm Park") << 0LL;
    QTest::newRow("capacity 45000") << "TeCap" << 887 << raw({0, 2, 95, 72}) << 45000LL;
    QTest::newRow("seating") << "TeSeat" << 891 << raw({0, 0, 96, 57}) << 12345LL;
    QTest::newRow("following") << "TeFollow" << 895 << raw({250}) << 250LL;
    QTest::newRow("reputation") << "TeRep" << 896 << raw({20}) << 20LL;
    QTest::newRow("blend") << "TeBlend" << 897 << raw({9}) << 9LL;
    QTest::newRow("formation") << "TeForm" << 898 << T("433VA") << 0LL;
    QTest::newRow("style") << "TeStyle" << 908 << T("LONG") << 0LL;
    QTest::newRow("secondary home colour") << "TeColor0" << 918 << T("VLTRQ") << 0LL;
    QTest::newRow("primary home colour") << "TeColor1" << 933 << T("RED") << 0LL;
    QTest::newRow("secondary away colour") << "TeColor2" << 948 << T("BLA") << 0LL;
    QTest::newRow("primary away colour") << "TeColor3" << 963 << T("VDWIN") << 0LL;
    QTest::newRow("division") << "TeDivi" << 978 << T("EPR") << 0LL;
    QTest::newRow("last division") << "TeLDivi" << 993 << T("ED1") << 0LL;
    QTest::newRow("last position") << "TeLPos" << 1008 << raw({24}) << 24LL;
    QTest::newRow("cash") << "TeCash" << 1009 << raw({0, 1, 106, 48}) << 30000LL;
    QTest::newRow("league standard") << "TeLStd" << 1013 << raw({20}) << 20LL;
    QTest::newRow("U21") << "TeU21" << 1014 << raw({1}) << 1LL;
    QTest::newRow("B-team") << "TeBT" << 1015 << raw({1}) << 1LL;
    QTest::newRow("essential") << "TeEsse" << 1016 << raw({1}) << 1LL;
    QTest::newRow("transfer record, eight nines") << "TeTrRec" << 1017 << raw({47, 87, 65, 127}) << 99999999LL;
    QTest::newRow("Italian gender") << "TeGend0" << 1021 << raw({2}) << 2LL;
    QTest::newRow("French gender") << "TeGend1" << 1022 << raw({1}) << 1LL;
    QTest::newRow("Portuguese gender, last byte") << "TeGend2" << 1023 << raw({7}) << 7LL;
}

void TestTeamDb::fieldSitsAtItsOffset()
{
    QFETCH(QString, control);
    QFETCH(int, offset);
    QFETCH(QByteArray, bytes);
    QFETCH(qlonglong, number);
    dbfiles::checkFieldAtOffset(kTeamFormat, dir_.path(), control, offset, bytes, number);
}

void TestTeamDb::saveWritesSeptetsInOrdinaryForm()
{
    QByteArray record = dbfiles::blankRecord(kTeamFormat);
    record.replace(4, 5, QByteArray("Esk\0Q", 5));      // text after its zero byte carries along
    record.replace(887, 4, raw({0, 0, 200, 0}));        // capacity 25600, a digit over 127
    record.replace(1009, 4, raw({0, 1, 144, 1}));       // cash 1 * 16384 + 144 * 128 + 1
    record.replace(1017, 4, raw({255, 255, 255, 255})); // more than four digits can write
    record[812] = 7;                                    // a flag byte that is neither 0 nor 1
    record[1023] = char(250);
    const RecordTable table = dbfiles::load(kTeamFormat, dir_.path(), {record});
    QCOMPARE(readNumber(table.record(1), fieldNamed(kTeamFormat.schema, "TeCap")), 25600LL);
    QCOMPARE(readNumber(table.record(1), fieldNamed(kTeamFormat.schema, "TeCash")), 34817LL);
    dbfiles::save(table, dir_.path());

    QByteArray expected = record;
    expected.replace(887, 4, raw({0, 1, 72, 0}));
    expected.replace(1009, 4, raw({0, 2, 16, 1}));
    QCOMPARE(dbfiles::savedRecord(kTeamFormat, dir_.path(), 1), expected);
}

void TestTeamDb::listLine_data()
{
    QTest::addColumn<QByteArray>("ukLongName"); // the 35 bytes of the field
    QTest::addColumn<QByteArray>("frenchLongName");
    QTest::addColumn<QString>("line");
    const QByteArray full35(35, 'W');
    QTest::newRow("name") << QByteArray("Zarholm Rovers") << QByteArray("AS Zarholm") << "Zarholm Rovers\t2";
    QTest::newRow("no zero byte lists as empty") << full35 << QByteArray("AS Zarholm") << "\t2";
    QTest::newRow("only the UK name counts") << QByteArray() << QByteArray("AS Zarholm") << "\t2";
}

void TestTeamDb::listLine()
{
    QFETCH(QByteArray, ukLongName);
    QFETCH(QByteArray, frenchLongName);
    QFETCH(QString, line);
    QByteArray record = dbfiles::blankRecord(kTeamFormat);
    record.replace(4, ukLongName.size(), ukLongName);
    record.replace(424, frenchLongName.size(), frenchLongName);
    QByteArray first = dbfiles::blankRecord(kTeamFormat);
    first.replace(4, 5, "First");
    const RecordTable table = dbfiles::load(kTeamFormat, dir_.path(), {first, record});
    QCOMPARE(QString::fromStdString(table.listLine(2)), line);
    QCOMPARE(table.listLine(1), std::string("First\t1"));
}

QTEST_APPLESS_MAIN(TestTeamDb)
#include "tst_teamdb.moc"
