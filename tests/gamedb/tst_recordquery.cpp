// Values as the pages show them, each column's order and the filter expressions, on small tables
// of players and teams.
#include "gamedb/GameError.h"
#include "gamedb/GameText.h"
#include "gamedb/PlayerDb.h"
#include "gamedb/RecordQuery.h"
#include "gamedb/SortKey.h"
#include "gamedb/TeamDb.h"

#include <QCollator>
#include <QLocale>
#include <QtTest>

#include <cctype>
#include <random>

using namespace gamedb;

namespace {

struct Player {
    const char* first;
    const char* second; // game bytes
    const char* club;
    int pace;
    int potential;
    const char* ends;
    int keeper; // the position byte as stored
};

// Record numbers 1 to 6, in this order.
const Player kPlayers[] = {
    {"Erik", "Borsk", "Braadford Town", 18, 150, "06.98", 0},
    {"Anna", "D\xF6rm", "braadford town", 12, 90, "06.01", 2},
    {"Ola", "Ahlberg", "", 20, 120, "12.99", 1},
    {"Kari", "Cantu", "Oslo FC", 5, 30, "", 7},
    {"Zed", "\xC5s", "Braadford United", 18, 0, "xx", 0},
    {"Lars", "Eng", "Oslo FC", 0, -1, "01.05", 0},
};

const RecordTable& players()
{
    static const RecordTable table = [] {
        RecordTable t(kPlayerFormat);
        const Schema s = kPlayerFormat.schema;
        for (const Player& p : kPlayers) {
            std::uint8_t* r = t.record(t.append());
            writeNumber(r, fieldNamed(s, "PlID"), t.count() * 10);
            writeText(r, fieldNamed(s, "PlFName"), p.first);
            writeText(r, fieldNamed(s, "PlSName"), p.second);
            writeText(r, fieldNamed(s, "PlClub"), p.club);
            writeNumber(r, fieldNamed(s, "PlSk16"), p.pace);
            writeNumber(r, fieldNamed(s, "PlMSk2"), p.potential);
            writeText(r, fieldNamed(s, "PlCEnds"), p.ends);
            r[fieldNamed(s, "PlGK").offset] = static_cast<std::uint8_t>(p.keeper);
        }
        return t;
    }();
    return table;
}

// Formations: a known code, another, one no table knows, none, a third; EU flags 1, 0, 2, 0, 1.
const RecordTable& teams()
{
    static const RecordTable table = [] {
        RecordTable t(kTeamFormat);
        const Schema s = kTeamFormat.schema;
        const char* const forms[] = {"442A", "442N", "ZZZZ", "", "433N"};
        const int eu[] = {1, 0, 2, 0, 1};
        const char* const stadiums[] = {"Park", "", "Arena", "", "Field"};
        for (int i = 0; i < 5; ++i) {
            std::uint8_t* r = t.record(t.append());
            writeText(r, fieldNamed(s, "TeForm"), forms[i]);
            writeText(r, fieldNamed(s, "TeStad"), stadiums[i]);
            r[fieldNamed(s, "TeEU").offset] = static_cast<std::uint8_t>(eu[i]);
        }
        return t;
    }();
    return table;
}

// The column by CSV name; "record" is the record number.
const Field* column(const RecordTable& t, const QString& name)
{
    if (name == "record")
        return nullptr;
    for (const Field& f : t.format().schema) {
        if (QString::fromUtf8(f.column.data(), qsizetype(f.column.size())) == name)
            return &f;
    }
    qFatal("no column %s", qPrintable(name));
}

QList<int> records(const std::vector<int>& v)
{
    return QList<int>(v.begin(), v.end());
}

std::vector<int> oneToN(int n)
{
    std::vector<int> v;
    for (int i = 1; i <= n; ++i)
        v.push_back(i);
    return v;
}

} // namespace

class TestRecordQuery : public QObject {
    Q_OBJECT
private slots:
    void valuesShowAsThePagesShowThem();
    void datesReadByYearThenMonth_data();
    void datesReadByYearThenMonth();
    void sortsByColumn_data();
    void sortsByColumn();
    void textsThatBeginAlikeSortByTheirWholeKeys();
    void textColumnsSortAsTheCollator();
    void filterExpressions_data();
    void filterExpressions();
    void unreadableExpressions_data();
    void unreadableExpressions();
    void filtersOfSeveralColumnsAllApply();
};

void TestRecordQuery::valuesShowAsThePagesShowThem()
{
    const RecordTable& p = players();
    QCOMPARE(shownValue(p, 2, column(p, "second_name")), QString::fromUtf8("D\u00f6rm"));
    QCOMPARE(shownValue(p, 6, column(p, "potential")), QString("-1"));
    QCOMPARE(shownValue(p, 4, nullptr), QString("4"));
    QCOMPARE(shownValue(p, 4, column(p, "goalkeeper")), QString("2")); // 7 reads as 2
    QCOMPARE(checkState(p.record(3), *column(p, "goalkeeper")), 1);
    const RecordTable& t = teams();
    QCOMPARE(shownValue(t, 1, column(t, "formation")), QString("4-4-2 Attacking"));
    QCOMPARE(shownValue(t, 3, column(t, "formation")), QString("ZZZZ")); // no entry: as stored
    QCOMPARE(shownValue(t, 4, column(t, "formation")), QString());
    // A flag is checked only when it is 1, as the page's box shows it; it matches by its byte.
    QCOMPARE(checkState(t.record(1), *column(t, "eu_member")), 2);
    QCOMPARE(checkState(t.record(3), *column(t, "eu_member")), 0);
    QCOMPARE(shownValue(t, 3, column(t, "eu_member")), QString("2"));
    QCOMPARE(valueKind(column(t, "formation")), ValueKind::Code);
    QCOMPARE(valueKind(column(p, "contract_ends")), ValueKind::Date);
    QCOMPARE(valueKind(column(p, "date_of_birth")), ValueKind::Date);
    QCOMPARE(valueKind(column(p, "club")), ValueKind::Text);
}

void TestRecordQuery::datesReadByYearThenMonth_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<int>("form");
    QTest::addColumn<int>("value"); // -1: not a date
    const int my = int(DateForm::MonthYear);
    const int dmy = int(DateForm::DayMonthYear);
    QTest::newRow("06.98") << QByteArray("06.98") << my << 19980600;
    QTest::newRow("50 is 1950") << QByteArray("01.50") << my << 19500100;
    QTest::newRow("49 is 2049") << QByteArray("12.49") << my << 20491200;
    QTest::newRow("00 is 2000") << QByteArray("03.00") << my << 20000300;
    QTest::newRow("month 00, as the page takes it") << QByteArray("00.97") << my << 19970000;
    QTest::newRow("day, month, year") << QByteArray("24.12.78") << dmy << 19781224;
    QTest::newRow("empty") << QByteArray("") << my << -1;
    QTest::newRow("one digit") << QByteArray("6.98") << my << -1;
    QTest::newRow("more after") << QByteArray("06.985") << my << -1;
    QTest::newRow("no stop") << QByteArray("06,98") << my << -1;
    QTest::newRow("month and year where a day is wanted") << QByteArray("06.98") << dmy << -1;
}

void TestRecordQuery::datesReadByYearThenMonth()
{
    QFETCH(QByteArray, text);
    QFETCH(int, form);
    QFETCH(int, value);
    QCOMPARE(dateValue(text.toStdString(), DateForm(form)).value_or(-1), value);
}

void TestRecordQuery::sortsByColumn_data()
{
    QTest::addColumn<QString>("column");
    QTest::addColumn<bool>("descending");
    QTest::addColumn<QList<int>>("order");
    // Pace 18, 12, 20, 5, 18, 0: ties keep record order both ways.
    QTest::newRow("number") << "pace" << false << QList<int>{6, 4, 2, 1, 5, 3};
    QTest::newRow("number, descending") << "pace" << true << QList<int>{3, 1, 5, 2, 4, 6};
    QTest::newRow("signed number") << "potential" << false << QList<int>{6, 5, 4, 2, 3, 1};
    // Borsk, Dörm, Ahlberg, Cantu, Ås, Eng: Å beside A, ö beside o.
    QTest::newRow("text") << "second_name" << false << QList<int>{3, 5, 1, 4, 2, 6};
    QTest::newRow("text, descending") << "second_name" << true << QList<int>{6, 2, 4, 1, 5, 3};
    // 06.98, 06.01, 12.99, none, xx, 01.05: what is no date first, then by year and month.
    QTest::newRow("date") << "contract_ends" << false << QList<int>{4, 5, 1, 3, 2, 6};
    QTest::newRow("date, descending") << "contract_ends" << true << QList<int>{6, 2, 3, 1, 5, 4};
    // Positions 0, 2, 1, 2 (stored 7), 0, 0.
    QTest::newRow("position") << "goalkeeper" << false << QList<int>{1, 5, 6, 3, 2, 4};
    QTest::newRow("record number, descending") << "record" << true << QList<int>{6, 5, 4, 3, 2, 1};
}

void TestRecordQuery::sortsByColumn()
{
    QFETCH(QString, column);
    QFETCH(bool, descending);
    QFETCH(QList<int>, order);
    std::vector<int> rows = oneToN(players().count());
    sortRecords(players(), rows, ::column(players(), column), descending);
    QCOMPARE(records(rows), order);
}

void TestRecordQuery::textsThatBeginAlikeSortByTheirWholeKeys()
{
    // Alike beyond the keys' first 16 bytes: the order of whole sort keys, ties in record order.
    const char* const clubs[] = {"Braadford Town Football Club B",
                                 "Braadford Town Football Club A",
                                 "Braadford Town Football Club \xC5",
                                 "braadford town football club a",
                                 "Braadford Town Football Clu",
                                 "Braadford Town Football Club \xC1"
                                 "b"};
    RecordTable t(kPlayerFormat);
    const Field& club = fieldNamed(kPlayerFormat.schema, "PlClub");
    for (const char* c : clubs)
        writeText(t.record(t.append()), club, c);
    std::vector<int> expected = oneToN(t.count());
    std::sort(expected.begin(), expected.end(), [&](int a, int b) {
        const int c = sortKey(readText(t.record(a), club)).compare(sortKey(readText(t.record(b), club)));
        return c != 0 ? c < 0 : a < b;
    });
    QCOMPARE(records(expected), QList<int>({5, 2, 4, 3, 6, 1}));
    std::vector<int> rows = oneToN(t.count());
    sortRecords(t, rows, &club, false);
    QCOMPARE(records(rows), records(expected));
}

// A column of random names, sorted both ways: each neighbour in the order of the collator's sort
// keys, ties in record order. Names of up to 30 bytes: the keys' first 32 bytes decide most, whole
// keys the rest. (The collator's compare() puts an empty text before any other, also before one of
// ignorable control bytes only, which its own keys and ours hold equal.)
void TestRecordQuery::textColumnsSortAsTheCollator()
{
#ifndef Q_OS_LINUX
    QSKIP("the weights were generated from the collator on Linux (ICU); other platforms' collators differ");
#endif
    QCollator collator(QLocale(QLocale::English, QLocale::UnitedKingdom));
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    collator.setIgnorePunctuation(false);
    const std::string common =
        "aabcdeefghiklmnoprstuyz AEOSB-'.\xE0\xE1\xE4\xE5\xE6\xE9\xF6\xF8\xFC\xC5\xD6\xDF\x8A\x9A";
    std::mt19937 rng(7);
    std::uniform_int_distribution<std::size_t> length(0, 30);
    std::uniform_int_distribution<std::size_t> pick(0, common.size() - 1);
    std::uniform_int_distribution<int> anyByte(1, 255);
    std::uniform_int_distribution<int> rare(0, 24);
    RecordTable t(kPlayerFormat);
    const Field& name = fieldNamed(kPlayerFormat.schema, "PlSName");
    std::vector<QCollatorSortKey> keys{collator.sortKey(QString())}; // by record number
    for (int i = 0; i < 3000; ++i) {
        std::string n;
        for (std::size_t k = length(rng); k > 0; --k)
            n += rare(rng) == 0 ? static_cast<char>(anyByte(rng)) : common[pick(rng)];
        for (int twin = 0; twin < 2; ++twin) {
            // A twin shares all but one letter, or is the same name in other letter case.
            if (twin == 1 && !n.empty()) {
                std::size_t at = n.size() / 2;
                if (i % 3 == 0)
                    n[at] = static_cast<char>(std::toupper(static_cast<unsigned char>(n[at])));
                else
                    n[at] = common[pick(rng)];
            }
            writeText(t.record(t.append()), name, n);
            keys.push_back(collator.sortKey(fromGame(readText(t.record(t.count()), name))));
        }
    }
    for (const bool descending : {false, true}) {
        std::vector<int> rows = oneToN(t.count());
        sortRecords(t, rows, &name, descending);
        QCOMPARE(int(rows.size()), t.count());
        int wrong = 0;
        QString first;
        for (std::size_t i = 1; i < rows.size(); ++i) {
            const int a = rows[i - 1];
            const int b = rows[i];
            int c = keys[std::size_t(a)].compare(keys[std::size_t(b)]);
            if (descending)
                c = -c;
            if (c > 0 || (c == 0 && a > b)) {
                if (wrong++ == 0) {
                    auto bytes = [&](int r) {
                        return QByteArray::fromStdString(std::string(readText(t.record(r), name)));
                    };
                    first = QStringLiteral("%1 (record %2) before %3 (record %4)")
                                .arg(QString::fromLatin1(bytes(a).toHex(' ')))
                                .arg(a)
                                .arg(QString::fromLatin1(bytes(b).toHex(' ')))
                                .arg(b);
                }
            }
        }
        QVERIFY2(wrong == 0, qPrintable(QStringLiteral("%1 neighbours out of order, first %2").arg(wrong).arg(first)));
    }
}

void TestRecordQuery::filterExpressions_data()
{
    QTest::addColumn<bool>("onTeams");
    QTest::addColumn<QString>("column");
    QTest::addColumn<QString>("expression");
    QTest::addColumn<QList<int>>("matched");
    auto player = [](const char* name, const QString& col, const QString& expr, QList<int> m) {
        QTest::newRow(name) << false << col << expr << m;
    };
    auto team = [](const char* name, const QString& col, const QString& expr, QList<int> m) {
        QTest::newRow(name) << true << col << expr << m;
    };
    player("empty expression: all", "club", "", {1, 2, 3, 4, 5, 6});
    player("text contains, A to Z either case", "club", "braadford", {1, 2, 5});
    player("text contains with a blank", "club", " town", {1, 2});
    player("text exact", "club", "=Braadford Town", {1, 2});
    player("text exact is the whole text", "club", "=Braadford", {});
    player("text not equal", "club", "<>Oslo FC", {1, 2, 3, 5});
    player("= alone: empty", "club", "=", {3});
    player("<> alone: not empty", "club", "<>", {1, 2, 4, 5, 6});
    player("text before, in list order", "second_name", "<C", {1, 3, 5});
    player("text from, in list order", "second_name", ">=d\xC3\xB6rm", {2, 6});
    player("accents are not folded by contains", "second_name", "dorm", {});
    player("regex", "club", "/^braadford (town|united)$/", {1, 2, 5});
    player("regex, letter case ignored", "club", "/TOWN$/", {1, 2});
    player("number equals", "pace", "18", {1, 5});
    player("number with blanks", "pace", " >= 18 ", {1, 3, 5});
    player("greater", "pace", ">18", {3});
    player("at least", "pace", ">=18", {1, 3, 5});
    player("less", "pace", "<12", {4, 6});
    player("at most", "pace", "<=12", {2, 4, 6});
    player("not zero", "pace", "<>0", {1, 2, 3, 4, 5});
    player("= number", "pace", "=0", {6});
    player("range, inclusive", "pace", "12~18", {1, 2, 5});
    player("range, ends swapped", "pace", "18~12", {1, 2, 5});
    player("negative", "potential", "<0", {6});
    player("regex on a number", "pace", "/^1/", {1, 2, 5});
    player("= on a number: never empty", "pace", "=", {});
    player("record number", "record", ">4", {5, 6});
    player("position by number", "goalkeeper", "2", {2, 4});
    player("position not 0", "goalkeeper", "<>0", {2, 3, 4});
    player("date after", "contract_ends", ">06.99", {2, 3, 6});
    player("date range", "contract_ends", "06.98~12.99", {1, 3});
    player("date contains, as a text", "contract_ends", "99", {3});
    player("date exact, as a text", "contract_ends", "=06.01", {2});
    player("date empty", "contract_ends", "=", {4});
    team("code by its entry", "formation", "4-4-2", {1, 2});
    team("code by the code", "formation", "442", {1, 2});
    team("code exact code", "formation", "=442a", {1});
    team("code exact entry", "formation", "=4-4-2", {2});
    team("code not equal: neither entry nor code", "formation", "<>4-4-2", {1, 3, 4, 5});
    team("code the table does not know", "formation", "ZZ", {3});
    team("code empty", "formation", "=", {4});
    team("code regex", "formation", "/attacking/", {1});
    team("no stadium name", "stadium", "=", {2, 4});
    team("flag by its byte", "eu_member", "1", {1, 5});
    team("flag stored 2", "eu_member", "2", {3});
}

void TestRecordQuery::filterExpressions()
{
    QFETCH(bool, onTeams);
    QFETCH(QString, column);
    QFETCH(QString, expression);
    QFETCH(QList<int>, matched);
    const RecordTable& t = onTeams ? teams() : players();
    const std::vector<CellFilter> filters{CellFilter(::column(t, column), expression)};
    QCOMPARE(records(matchingRecords(t, filters)), matched);
}

void TestRecordQuery::unreadableExpressions_data()
{
    QTest::addColumn<QString>("column");
    QTest::addColumn<QString>("expression");
    QTest::addColumn<QString>("reason");
    QTest::newRow("no number") << "pace"
                               << ">=x"
                               << "'x' is not a whole number";
    QTest::newRow("text on a number") << "pace"
                                      << "fast"
                                      << "'fast' is not a whole number";
    QTest::newRow("half a range") << "pace"
                                  << "10~"
                                  << "'10~' is not a range of whole numbers, such as 10~20";
    QTest::newRow("regex") << "club"
                           << "/(/"
                           << "'/(/' is not a valid regular expression: missing closing parenthesis";
    QTest::newRow("no date") << "contract_ends"
                             << ">6.98"
                             << "'6.98' is not a date mm.yy";
    QTest::newRow("no date in a range") << "contract_ends"
                                        << "06.98~"
                                        << "'' is not a date mm.yy";
    QTest::newRow("a character the game has not") << "club"
                                                  << "\u03a9mega"
                                                  << "'\u03a9mega' holds a character the game cannot store";
}

void TestRecordQuery::unreadableExpressions()
{
    QFETCH(QString, column);
    QFETCH(QString, expression);
    QFETCH(QString, reason);
    try {
        CellFilter(::column(players(), column), expression);
        QFAIL("read");
    } catch (const GameError& e) {
        QCOMPARE(QString::fromUtf8(e.what()), reason);
    }
}

void TestRecordQuery::filtersOfSeveralColumnsAllApply()
{
    const RecordTable& p = players();
    const std::vector<CellFilter> filters{CellFilter(column(p, "club"), "braadford"),
                                          CellFilter(column(p, "pace"), ">=18")};
    QCOMPARE(records(matchingRecords(p, filters)), (QList<int>{1, 5}));
}

QTEST_GUILESS_MAIN(TestRecordQuery)
#include "tst_recordquery.moc"
