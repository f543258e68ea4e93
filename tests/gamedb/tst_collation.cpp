// The lists' byte-weight order against the collator it was generated from: every text of one
// and two bytes, and many random names, sort alike, ties included.
#include "gamedb/GameText.h"
#include "gamedb/ListOrder.h"
#include "gamedb/SortKey.h"

#include <QCollator>
#include <QLocale>
#include <QtTest>

#include <algorithm>
#include <array>
#include <numeric>
#include <random>
#include <utility>

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
        // The same bytes as two words, zeros after the key's end.
        std::array<std::uint64_t, 2> words{};
        for (std::size_t i = 0; i < 16; ++i)
            words[i / 8] = words[i / 8] << 8 | (i < n ? start[i] : 0);
        badStarts += sortKeyStart16(t) != words;
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
    void listLinesSortAsWholeKeys();
};

// Our order is the same everywhere; the collator to hold it against is the one on Linux (ICU).
void TestCollation::init()
{
#ifndef Q_OS_LINUX
    const QByteArray test = QTest::currentTestFunction();
    if (test == "everyTextOfOneAndTwoBytes" || test == "randomNames")
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
#ifdef Q_OS_LINUX
    QCOMPARE(sign(listCollator().compare(a, b)), order);
#endif
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
    ListLines lines;
    for (const auto& [name, record] : std::initializer_list<std::pair<QString, int>>{{"borsk, erik", 3},
                                                                                     {"Ahlberg, Ola", 4},
                                                                                     {"Andersen-Kristiansen, Bo", 6},
                                                                                     {"Borsk, Erik", 1},
                                                                                     {"Andersen-Kristiansen, Åsa", 2},
                                                                                     {"Andersen-Kristiansen, Al", 5}})
        lines.add(game(name), record);
    lines.sort();
    QList<int> order;
    for (std::size_t row = 0; row < lines.size(); ++row)
        order << lines.record(row);
    QCOMPARE(order, QList<int>({4, 5, 2, 6, 1, 3}));
    QCOMPARE(lines.name(2), QString("Andersen-Kristiansen, Åsa"));
    // A new line goes between its neighbours, a tie after the lower record.
    const std::size_t asa = lines.rowFor(game("Andersen-Kristiansen, Asa"), 7);
    QCOMPARE(asa, std::size_t(2)); // a before å
    lines.insert(asa, game("Andersen-Kristiansen, Asa"), 7);
    QCOMPARE(lines.rowFor(game("BORSK, ERIK"), 2), std::size_t(6));
    QCOMPARE(lines.rowFor(game("Aa"), 9), std::size_t(0));
    QCOMPARE(lines.rowFor(game("Zed"), 9), lines.size());
}

// Many lines, most beginning like others (long common starts, twins, repeats), in the order of
// their whole keys and records, and a new line placed where a new sort puts it.
void TestCollation::listLinesSortAsWholeKeys()
{
    const std::vector<std::string> starts{
        "", "Ma", "Mart", "Andersen-Kristiansen, ", "Andersen-Kristiansen, A", "\xC5ngstr\xF6m-Lindqvist, "};
    const std::string letters = "aabeilmnorst \xE5\xE4\xF6\xE9-";
    std::mt19937 rng(7);
    std::uniform_int_distribution<std::size_t> start(0, starts.size() - 1);
    std::uniform_int_distribution<std::size_t> letter(0, letters.size() - 1);
    std::uniform_int_distribution<std::size_t> length(0, 6);
    std::vector<std::string> names;
    for (int i = 0; i < 5000; ++i) {
        std::string n = starts[start(rng)];
        for (std::size_t k = length(rng); k > 0; --k)
            n += letters[letter(rng)];
        names.push_back(i % 10 == 9 ? names[static_cast<std::size_t>(i) / 2] : n); // some repeated
    }
    std::vector<int> records(names.size());
    std::iota(records.begin(), records.end(), 1);
    std::shuffle(records.begin(), records.end(), rng);
    ListLines lines;
    for (std::size_t i = 0; i < names.size(); ++i)
        lines.add(names[i], records[i]);
    lines.sort();

    std::vector<std::pair<std::string, int>> expected;
    for (std::size_t i = 0; i < names.size(); ++i)
        expected.emplace_back(sortKey(names[i]), records[i]);
    std::sort(expected.begin(), expected.end());
    int wrong = 0;
    for (std::size_t row = 0; row < lines.size(); ++row)
        wrong += lines.record(row) != expected[row].second || sortKey(lines.gameName(row)) != expected[row].first;
    QCOMPARE(wrong, 0);

    for (const std::string& name : {names[17], names[18] + "a", std::string("Andersen-Kristiansen, Aa")}) {
        const int record = static_cast<int>(lines.size()) + 1;
        const std::size_t row = lines.rowFor(name, record);
        lines.insert(row, name, record);
        ListLines resorted = lines;
        resorted.sort();
        QCOMPARE(resorted.record(row), record);
    }
}

QTEST_GUILESS_MAIN(TestCollation)
#include "tst_collation.moc"
