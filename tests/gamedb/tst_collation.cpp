// The lists' byte-weight order against the collator it was generated from: every text of one
// and two bytes, and many random names, sort alike, ties included.
#include "gamedb/GameText.h"
#include "gamedb/ListOrder.h"
#include "gamedb/SortKey.h"

#include <QCollator>
#include <QLocale>
#include <QtTest>

#include <algorithm>
#include <random>

using namespace gamedb;

namespace {

int sign(int v)
{
    return (v > 0) - (v < 0);
}

// The collator the lists called before their order became ours: English, letter case ignored,
// punctuation counted.
QCollator listCollator()
{
    QCollator c(QLocale(QLocale::English, QLocale::UnitedKingdom));
    c.setCaseSensitivity(Qt::CaseInsensitive);
    c.setIgnorePunctuation(false);
    return c;
}

std::string game(const QString& text)
{
    return toGame(text).value();
}

// Sorts texts by the collator, then checks that each neighbour compares the same way by sort
// key: both orders are total, so agreeing on every neighbour is agreeing on every pair.
void compareOrders(std::vector<std::string> texts)
{
    const QCollator collator = listCollator();
    struct Entry {
        std::string bytes;
        QCollatorSortKey collated;
        std::string key;
    };
    std::vector<Entry> entries;
    entries.reserve(texts.size());
    int badStarts = 0;
    for (std::string& t : texts) {
        QCollatorSortKey k = collator.sortKey(fromGame(t));
        std::string key = sortKey(t);
        // The lists compare the first 16 bytes, made without the rest.
        std::uint8_t start[16];
        const std::size_t n = sortKeyStart(t, start, sizeof start);
        badStarts += std::string_view(reinterpret_cast<const char*>(start), n) != std::string_view(key).substr(0, 16);
        entries.push_back({std::move(t), std::move(k), std::move(key)});
    }
    std::sort(entries.begin(), entries.end(),
              [](const Entry& a, const Entry& b) { return a.collated.compare(b.collated) < 0; });
    int mismatches = 0;
    QString first;
    for (std::size_t i = 1; i < entries.size(); ++i) {
        const Entry& a = entries[i - 1];
        const Entry& b = entries[i];
        if (sign(a.collated.compare(b.collated)) != sign(a.key.compare(b.key))) {
            if (mismatches++ == 0)
                first = QStringLiteral("'%1' and '%2'").arg(fromGame(a.bytes), fromGame(b.bytes));
        }
    }
    QCOMPARE(badStarts, 0);
    QVERIFY2(mismatches == 0, qPrintable(QStringLiteral("%1 neighbours differ, first %2").arg(mismatches).arg(first)));
}

} // namespace

class TestCollation : public QObject {
    Q_OBJECT
private slots:
    void init();
    void pairsOrderAsTheCollatorOrdersThem_data();
    void pairsOrderAsTheCollatorOrdersThem();
    void everyTextOfOneAndTwoBytes();
    void randomNames();
    void listLinesOrderByWholeKeysTiesInRecordOrder();
};

void TestCollation::init()
{
#ifndef Q_OS_LINUX
    QSKIP("the weights were generated from the collator on Linux (ICU); other platforms' collators differ");
#endif
}

void TestCollation::pairsOrderAsTheCollatorOrdersThem_data()
{
    QTest::addColumn<QString>("a");
    QTest::addColumn<QString>("b");
    QTest::addColumn<int>("order"); // sign of a against b
    QTest::newRow("a before á") << "a"
                                << "\u00e1" << -1;
    QTest::newRow("ab after áa: base letters first") << "ab"
                                                     << "\u00e1a" << 1;
    QTest::newRow("letter case ignored") << "Dorm"
                                         << "dORM" << 0;
    QTest::newRow("a leading space first") << " Zed"
                                           << "Adam" << -1;
    QTest::newRow("æ expands to ae") << "\u00e6z"
                                     << "aez" << 1;
    QTest::newRow("æ before af") << "\u00e6"
                                 << "af" << -1;
    QTest::newRow("ß expands to ss") << "Stra\u00dfe"
                                     << "Strasse" << 1;
    QTest::newRow("ß before st") << "\u00df"
                                 << "st" << -1;
    QTest::newRow("a control byte is ignored") << "A\u0081b"
                                               << "Ab" << 0;
    QTest::newRow("a soft hyphen is ignored") << "Ab\u00adc"
                                              << "Abc" << 0;
    QTest::newRow("a prefix first") << "Borsk"
                                    << "Borsko" << -1;
    QTest::newRow("ø beside o") << "S\u00f8ren"
                                << "Soren" << 1;
    QTest::newRow("ø before p") << "S\u00f8ren"
                                << "Sp" << -1;
    QTest::newRow("the ellipsis as three stops") << "a\u2026"
                                                 << "a..." << 0;
    QTest::newRow("l and a middle dot weigh as one letter") << "l\u00b7b"
                                                            << "la" << 1;
}

void TestCollation::pairsOrderAsTheCollatorOrdersThem()
{
    QFETCH(QString, a);
    QFETCH(QString, b);
    QFETCH(int, order);
    QCOMPARE(sign(listCollator().compare(a, b)), order);
    QCOMPARE(sign(sortKey(game(a)).compare(sortKey(game(b)))), order);
}

void TestCollation::everyTextOfOneAndTwoBytes()
{
    std::vector<std::string> texts;
    texts.reserve(255 + 255 * 255);
    for (int a = 1; a < 256; ++a) {
        texts.push_back(std::string(1, static_cast<char>(a)));
        for (int b = 1; b < 256; ++b)
            texts.push_back({static_cast<char>(a), static_cast<char>(b)});
    }
    compareOrders(std::move(texts));
}

void TestCollation::randomNames()
{
    // Mostly what names are made of, with now and then any byte at all.
    const std::string common = "aaabcdeeefghiijklmnoopqrsstuuvwxyz AEIOUSTMBK-'.,\xE0\xE1\xE2\xE4\xE5\xE6\xE7\xE8\xE9"
                               "\xEA\xEB\xED\xEF\xF1\xF3\xF6\xF8\xFA\xFC\xFD\xC5\xC6\xC9\xD6\xD8\xDC\xDF\x8A\x9A\x8E"
                               "\x9E\x8C\x9C";
    std::mt19937 rng(20240611);
    std::uniform_int_distribution<std::size_t> length(1, 24);
    std::uniform_int_distribution<std::size_t> pick(0, common.size() - 1);
    std::uniform_int_distribution<int> anyByte(1, 255);
    std::uniform_int_distribution<int> rare(0, 19);
    std::vector<std::string> names;
    for (int i = 0; i < 40000; ++i) {
        std::string n;
        for (std::size_t k = length(rng); k > 0; --k)
            n += rare(rng) == 0 ? static_cast<char>(anyByte(rng)) : common[pick(rng)];
        names.push_back(std::move(n));
        // A near twin, one byte changed: neighbours that share all but one letter, so that the
        // second level and ties decide as often as the first.
        std::string twin = names.back();
        twin[twin.size() / 2] = common[pick(rng)];
        names.push_back(std::move(twin));
    }
    compareOrders(std::move(names));
}

void TestCollation::listLinesOrderByWholeKeysTiesInRecordOrder()
{
    // Names that begin alike beyond the keys' first 16 bytes are ordered by their whole keys.
    std::vector<ListLine> lines{{"borsk, erik", 3},
                                {"Ahlberg, Ola", 4},
                                {"Andersen-Kristiansen, Bo", 6},
                                {"Borsk, Erik", 1},
                                {"Andersen-Kristiansen, Åsa", 2},
                                {"Andersen-Kristiansen, Al", 5}};
    sortListLines(lines);
    QList<int> order;
    for (const ListLine& l : lines)
        order << l.record;
    QCOMPARE(order, QList<int>({4, 5, 2, 6, 1, 3}));
    ListLine asa{"Andersen-Kristiansen, Asa", 7};
    ensureKey(asa);
    QVERIFY(listLess(lines[1], asa) && listLess(asa, lines[2]));
}

QTEST_GUILESS_MAIN(TestCollation)
#include "tst_collation.moc"
