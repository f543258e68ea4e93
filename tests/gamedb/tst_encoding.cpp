#include "gamedb/GameText.h"
#include "gamedb/Schema.h"
#include "gamedb/Septet.h"
#include "gamedb/TextField.h"

#include <QtTest>

#include <array>

using namespace gamedb;

class TestEncoding : public QObject {
    Q_OBJECT
private slots:
    void septetRead_data();
    void septetRead();
    void septetWrite_data();
    void septetWrite();
    void septetRoundTripAtLimits();
    void textFieldReadings();
    void textFieldWriteZeroFillsAndCuts();
    void numbersRefusedWhenTheyDoNotFit_data();
    void numbersRefusedWhenTheyDoNotFit();
    void ratingsKeepTheSignOfPotential();
    void positionFlagReadsUnknownAsTwo();
    void canonicalKeepsWhatItCannotWrite();
    void codecRoundTripsEveryByte();
    void codecRefusesCharactersOutsideTheCodePage();
};

static QByteArray bytesOf(std::initializer_list<int> v)
{
    QByteArray a;
    for (int b : v)
        a.append(static_cast<char>(b));
    return a;
}

void TestEncoding::septetRead_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<quint32>("value");
    QTest::newRow("zero") << bytesOf({0, 0}) << 0u;
    QTest::newRow("16383") << bytesOf({127, 127}) << 16383u;
    QTest::newRow("20000 needs the eighth bit") << bytesOf({156, 32}) << 20000u;
    QTest::newRow("1,200 is not masked") << bytesOf({1, 200}) << 328u;
    QTest::newRow("1,144 is not masked") << bytesOf({1, 144}) << 272u;
    QTest::newRow("four digits 5000") << bytesOf({0, 0, 39, 8}) << 5000u;
    QTest::newRow("four digits 300") << bytesOf({0, 0, 2, 44}) << 300u;
    QTest::newRow("non-canonical 0,0,200,0") << bytesOf({0, 0, 200, 0}) << 25600u;
}

void TestEncoding::septetRead()
{
    QFETCH(QByteArray, bytes);
    QFETCH(quint32, value);
    QCOMPARE(readSeptet(reinterpret_cast<const std::uint8_t*>(bytes.constData()), int(bytes.size())), value);
}

void TestEncoding::septetWrite_data()
{
    QTest::addColumn<int>("digits");
    QTest::addColumn<quint32>("value");
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("0") << 2 << 0u << bytesOf({0, 0});
    QTest::newRow("127") << 2 << 127u << bytesOf({0, 127});
    QTest::newRow("128") << 2 << 128u << bytesOf({1, 0});
    QTest::newRow("200") << 2 << 200u << bytesOf({1, 72});
    QTest::newRow("16383") << 2 << 16383u << bytesOf({127, 127});
    QTest::newRow("20000") << 2 << 20000u << bytesOf({156, 32});
    QTest::newRow("2300") << 2 << 2300u << bytesOf({17, 124});
    QTest::newRow("32767") << 2 << 32767u << bytesOf({255, 127});
    QTest::newRow("5000") << 4 << 5000u << bytesOf({0, 0, 39, 8});
    QTest::newRow("45000") << 4 << 45000u << bytesOf({0, 2, 95, 72});
    QTest::newRow("eight nines") << 4 << 99999999u << bytesOf({47, 87, 65, 127});
    QTest::newRow("four-digit max") << 4 << 536870911u << bytesOf({255, 127, 127, 127});
}

void TestEncoding::septetWrite()
{
    QFETCH(int, digits);
    QFETCH(quint32, value);
    QFETCH(QByteArray, bytes);
    std::array<std::uint8_t, 6> buf{0xEE, 0xEE, 0xEE, 0xEE, 0xEE, 0xEE};
    writeSeptet(buf.data() + 1, digits, value);
    QCOMPARE(QByteArray(reinterpret_cast<const char*>(buf.data() + 1), digits), bytes);
    QCOMPARE(buf[0], std::uint8_t{0xEE});
    QCOMPARE(buf[1 + digits], std::uint8_t{0xEE});
}

void TestEncoding::septetRoundTripAtLimits()
{
    QCOMPARE(septetMax(2), 32767u);
    QCOMPARE(septetMax(4), 536870911u);
    for (quint32 v : {0u, 1u, 127u, 128u, 16384u, 32766u, 32767u}) {
        std::array<std::uint8_t, 2> b{};
        writeSeptet(b.data(), 2, v);
        QCOMPARE(readSeptet(b.data(), 2), v);
        QVERIFY(b[1] < 128);
    }
}

void TestEncoding::textFieldReadings()
{
    const std::array<std::uint8_t, 8> withZero{'A', 'b', 'c', 0, 'X', 'Y', 0, 'Z'};
    QCOMPARE(displayText(withZero.data(), 8), std::string_view("Abc"));
    QCOMPARE(listText(withZero.data(), 8), std::string_view("Abc"));

    std::array<std::uint8_t, 35> full{};
    full.fill('q');
    QCOMPARE(displayText(full.data(), 35).size(), std::size_t{35});
    QVERIFY(listText(full.data(), 35).empty());

    const std::array<std::uint8_t, 3> empty{0, 'a', 'b'};
    QVERIFY(displayText(empty.data(), 3).empty());
}

void TestEncoding::textFieldWriteZeroFillsAndCuts()
{
    std::array<std::uint8_t, 22> buf{};
    buf.fill(0xEE);
    assignText(buf.data() + 1, 20, "Pelar");
    QCOMPARE(QByteArray(reinterpret_cast<const char*>(buf.data() + 1), 5), QByteArray("Pelar"));
    for (int i = 6; i <= 20; ++i)
        QCOMPARE(buf[std::size_t(i)], std::uint8_t{0});
    QCOMPARE(buf[21], std::uint8_t{0xEE});

    // A text longer than the field is cut at the field's end: the neighbour stays untouched.
    assignText(buf.data() + 1, 20, std::string(40, 'x'));
    QCOMPARE(buf[0], std::uint8_t{0xEE});
    QCOMPARE(buf[20], std::uint8_t{'x'});
    QCOMPARE(buf[21], std::uint8_t{0xEE});
}

void TestEncoding::numbersRefusedWhenTheyDoNotFit_data()
{
    QTest::addColumn<int>("encoding");
    QTest::addColumn<int>("width");
    QTest::addColumn<qlonglong>("value");
    QTest::addColumn<bool>("fits");
    QTest::newRow("septet2 32767") << int(Encoding::Septet) << 2 << 32767LL << true;
    QTest::newRow("septet2 32768") << int(Encoding::Septet) << 2 << 32768LL << false;
    QTest::newRow("septet2 -1") << int(Encoding::Septet) << 2 << -1LL << false;
    QTest::newRow("septet4 max") << int(Encoding::Septet) << 4 << 536870911LL << true;
    QTest::newRow("septet4 max+1") << int(Encoding::Septet) << 4 << 536870912LL << false;
    QTest::newRow("byte 255") << int(Encoding::Byte) << 1 << 255LL << true;
    QTest::newRow("byte 300") << int(Encoding::Byte) << 1 << 300LL << false;
    QTest::newRow("potential -1") << int(Encoding::SignedRating) << 2 << -1LL << true;
    QTest::newRow("potential -128") << int(Encoding::SignedRating) << 2 << -128LL << false;
    QTest::newRow("ability -1") << int(Encoding::Rating) << 2 << -1LL << false;
}

void TestEncoding::numbersRefusedWhenTheyDoNotFit()
{
    QFETCH(int, encoding);
    QFETCH(int, width);
    QFETCH(qlonglong, value);
    QFETCH(bool, fits);
    const Field f{"X", 1, static_cast<std::uint16_t>(width), static_cast<Encoding>(encoding), "x"};
    std::array<std::uint8_t, 6> rec{};
    rec.fill(0xAB);
    const auto before = rec;
    try {
        writeNumber(rec.data(), f, value);
        QVERIFY2(fits, "an unfitting value was written");
        QCOMPARE(readNumber(rec.data(), f), value);
    } catch (const std::exception& e) {
        QVERIFY2(!fits, e.what());
        QVERIFY(QString::fromUtf8(e.what()).contains(QString::number(value)));
        QVERIFY(rec == before);
    }
}

void TestEncoding::ratingsKeepTheSignOfPotential()
{
    const Field potential{"PlMSk2", 0, 2, Encoding::SignedRating, "potential"};
    const Field ability{"PlMSk1", 0, 2, Encoding::Rating, "ability"};
    std::array<std::uint8_t, 2> b{};
    writeNumber(b.data(), potential, -1);
    QCOMPARE(b, (std::array<std::uint8_t, 2>{0, 255}));
    QCOMPARE(readNumber(b.data(), potential), -1LL);
    QCOMPARE(readNumber(b.data(), ability), 255LL); // the same bytes read unsigned
    writeNumber(b.data(), potential, 200);
    QCOMPARE(b, (std::array<std::uint8_t, 2>{1, 72}));
    writeNumber(b.data(), ability, 200);
    QCOMPARE(b, (std::array<std::uint8_t, 2>{1, 72}));
}

void TestEncoding::positionFlagReadsUnknownAsTwo()
{
    const Field f{"PlGK", 0, 1, Encoding::PositionFlag, "goalkeeper"};
    for (auto [stored, read] : {std::pair{0, 0}, {1, 1}, {2, 2}, {7, 2}, {255, 2}}) {
        const std::uint8_t b = static_cast<std::uint8_t>(stored);
        QCOMPARE(readNumber(&b, f), static_cast<long long>(read));
    }
}

void TestEncoding::canonicalKeepsWhatItCannotWrite()
{
    static const Field fields[] = {{"A", 0, 4, Encoding::Septet, "a"}, {"B", 4, 2, Encoding::Septet, "b"}};
    std::array<std::uint8_t, 6> rec{0, 0, 200, 0, 255, 200};
    canonicalise(rec.data(), fields);
    // 25600 in its ordinary form; 255,200 reads as 32840, above what two digits can write: kept.
    QCOMPARE(rec, (std::array<std::uint8_t, 6>{0, 1, 72, 0, 255, 200}));
}

void TestEncoding::codecRoundTripsEveryByte()
{
    std::string all;
    for (int b = 1; b < 256; ++b)
        all.push_back(static_cast<char>(b));
    const QString text = fromGame(all);
    QCOMPARE(text.size(), qsizetype(255));
    QCOMPARE(text.at(0x80 - 1), QChar(0x20AC)); // euro sign
    QCOMPARE(text.at(0x81 - 1), QChar(0x81));   // unassigned: its C1 control
    QCOMPARE(text.at(0xE9 - 1), QChar(0xE9));
    const auto back = toGame(text);
    QVERIFY(back.has_value());
    QCOMPARE(*back, all);
}

void TestEncoding::codecRefusesCharactersOutsideTheCodePage()
{
    QVERIFY(!toGame(QStringLiteral("Dvo\u0159\u00e1k")).has_value()); // r with caron
    QVERIFY(!toGame(QString(QChar(0x80))).has_value());               // a C1 control cp1252 uses
    QVERIFY(toGame(QStringLiteral("Jos\u00e9 \u20ac")).has_value());
    QVERIFY(!isGameChar(QChar(0x0416)));
    QVERIFY(isGameChar(QChar(0x0178)));
}

QTEST_APPLESS_MAIN(TestEncoding)
#include "tst_encoding.moc"
