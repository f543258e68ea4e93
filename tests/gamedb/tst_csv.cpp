// CSV export and import of the three tables: the schema's column names, what the export writes,
// byte-exact round trips, partial and reordered sheets, new records, and every refusal.
#include "gamedb/Csv.h"
#include "gamedb/CsvText.h"
#include "gamedb/Formats.h"
#include "gamedb/GameError.h"
#include "gamedb/ManagerDb.h"
#include "gamedb/PlayerDb.h"
#include "gamedb/TeamDb.h"
#include "sample/Names.h"

#include <QRegularExpression>
#include <QtTest>

#include <set>

using namespace gamedb;

namespace {

const DbFormat& formatOf(const QString& kind)
{
    return *formatNamed(kind.toStdString());
}

const Field& column(const DbFormat& f, std::string_view name)
{
    for (const Field& field : f.schema) {
        if (field.column == name)
            return field;
    }
    throw std::logic_error("no column " + std::string(name));
}

void setText(RecordTable& t, int n, std::string_view col, std::string_view text)
{
    writeText(t.record(n), column(t.format(), col), text);
}

void setNumber(RecordTable& t, int n, std::string_view col, long long v)
{
    writeNumber(t.record(n), column(t.format(), col), v);
}

// Every byte random: texts without a zero byte, junk after one, control characters, commas,
// quotes and line breaks, septets above what their encoding writes, flags of any value.
RecordTable noisyTable(const DbFormat& f, int n)
{
    sample::Rng rng(static_cast<std::uint32_t>(f.recordSize + 7));
    RecordTable t(f);
    for (int i = 0; i < n; ++i) {
        std::uint8_t* r = t.record(t.append());
        for (std::size_t b = 0; b < f.recordSize; ++b)
            r[b] = static_cast<std::uint8_t>(rng.below(256));
        // Some texts short, so that a zero byte ends them with junk behind it.
        for (const Field& field : f.schema) {
            if (field.encoding == Encoding::Text && rng.below(2) == 0)
                r[field.offset + rng.below(field.width)] = 0;
        }
    }
    return t;
}

// count players with simple names and ascending IDs from firstId.
RecordTable players(int count, int firstId = 10)
{
    RecordTable t(kPlayerFormat);
    for (int i = 1; i <= count; ++i) {
        t.append();
        setNumber(t, i, "id", firstId + i - 1);
        setText(t, i, "first_name", "First" + std::to_string(i));
        setText(t, i, "second_name", "Second" + std::to_string(i));
        setNumber(t, i, "age", 20 + i);
    }
    return t;
}

QString importError(RecordTable& t, const std::string& csv)
{
    try {
        importCsv(t, csv);
    } catch (const GameError& e) {
        return QString::fromUtf8(e.what());
    }
    return {};
}

std::vector<std::string> split(const std::string& s, const std::string& sep)
{
    std::vector<std::string> out;
    std::size_t at = 0;
    for (std::size_t next; (next = s.find(sep, at)) != std::string::npos; at = next + sep.size())
        out.push_back(s.substr(at, next - at));
    out.push_back(s.substr(at));
    return out;
}

std::string join(const std::vector<std::string>& parts, const std::string& sep)
{
    std::string out;
    for (std::size_t i = 0; i < parts.size(); ++i)
        out += (i ? sep : "") + parts[i];
    return out;
}

// A cell as a CSV writer quotes it.
std::string csvCell(const std::string& text)
{
    if (text.find_first_of(",\"\r\n") == std::string::npos && !text.starts_with(' ') && !text.ends_with(' '))
        return text;
    std::string out = "\"";
    for (const char c : text)
        out += c == '"' ? std::string("\"\"") : std::string(1, c);
    return out + "\"";
}

std::string utf8Of(const QByteArray& game)
{
    std::string out;
    appendUtf8(out, std::string_view(game.constData(), static_cast<std::size_t>(game.size())));
    return out;
}

QByteArray recordBytes(const RecordTable& t, int n)
{
    return QByteArray(reinterpret_cast<const char*>(t.record(n)), static_cast<qsizetype>(t.format().recordSize));
}

} // namespace

class TestCsv : public QObject {
    Q_OBJECT
private slots:
    void columnNamesAreDistinctAndReadable_data();
    void columnNamesAreDistinctAndReadable();
    void columnsNameTheRightFields_data();
    void columnsNameTheRightFields();
    void exportWritesWhatThePagesShow();
    void roundTripKeepsEveryByte_data();
    void roundTripKeepsEveryByte();
    void oneChangedCellChangesOnlyItsField();
    void sortedFilteredSheetUpdatesOnlyItsRows();
    void newRowsAppendWithSmallestFreeId();
    void exportGuardsWhatASpreadsheetWouldChange_data();
    void exportGuardsWhatASpreadsheetWouldChange();
    void guardedCellsReadAsTheirText_data();
    void guardedCellsReadAsTheirText();
    void fileVariantsReadAlike_data();
    void fileVariantsReadAlike();
    void refusalsChangeNothing_data();
    void refusalsChangeNothing();
    void manyProblemsListTheFirst();
    void codeFieldsTakeCodesOrNothing();
    void hugeCellsMakeShortMessages();
    void zeroBytesDoNotCutTheMessage();
    void utf16IsNamed_data();
    void utf16IsNamed();
    void trailingEmptyHeaderCellsAreIgnored();
};

void TestCsv::columnNamesAreDistinctAndReadable_data()
{
    QTest::addColumn<QString>("kind");
    for (const char* k : {"managers", "teams", "players"})
        QTest::newRow(k) << QString(k);
}

// A repeated or missing name would make a column ambiguous or unreachable.
void TestCsv::columnNamesAreDistinctAndReadable()
{
    QFETCH(QString, kind);
    const DbFormat& f = formatOf(kind);
    std::set<std::string_view> seen{kRecordColumn};
    const QRegularExpression readable("^[a-z][a-z0-9]*(_[a-z0-9]+)*$");
    for (const Field& field : f.schema) {
        const QString name = QString::fromUtf8(field.column.data(), static_cast<qsizetype>(field.column.size()));
        QVERIFY2(readable.match(name).hasMatch(), qPrintable(QString::fromUtf8(field.control.data()) + ": " + name));
        QVERIFY2(seen.insert(field.column).second, qPrintable(name));
    }
    QCOMPARE(column(f, kIdColumn).offset, 0);
}

void TestCsv::columnsNameTheRightFields_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("column");
    QTest::addColumn<int>("offset");
    QTest::newRow("player first name") << "players"
                                       << "first_name" << 4;
    QTest::newRow("date of birth") << "players"
                                   << "date_of_birth" << 161;
    QTest::newRow("goalkeeper") << "players"
                                << "goalkeeper" << 175;
    QTest::newRow("potential") << "players"
                               << "potential" << 187;
    QTest::newRow("passing") << "players"
                             << "passing" << 207;
    QTest::newRow("technique") << "players"
                               << "technique" << 214;
    QTest::newRow("long name ita") << "teams"
                                   << "long_name_ita" << 109;
    QTest::newRow("short name fre") << "teams"
                                    << "short_name_fre" << 459;
    QTest::newRow("description dut") << "teams"
                                     << "description_dut" << 704;
    QTest::newRow("colour secondary home") << "teams"
                                           << "colour_secondary_home" << 918;
    QTest::newRow("colour primary home") << "teams"
                                         << "colour_primary_home" << 933;
    QTest::newRow("colour primary away") << "teams"
                                         << "colour_primary_away" << 963;
    QTest::newRow("gender fre") << "teams"
                                << "gender_fre" << 1022;
    QTest::newRow("gender por") << "teams"
                                << "gender_por" << 1023;
    QTest::newRow("manager last name") << "managers"
                                       << "last_name" << 24;
    QTest::newRow("board confidence") << "managers"
                                      << "board_confidence" << 247;
}

void TestCsv::columnsNameTheRightFields()
{
    QFETCH(QString, kind);
    QFETCH(QString, column);
    QFETCH(int, offset);
    QCOMPARE(int(::column(formatOf(kind), column.toStdString()).offset), offset);
}

void TestCsv::exportWritesWhatThePagesShow()
{
    RecordTable t = players(2);
    setText(t, 1, "first_name", "Zo\xEB");       // Zoë in the game's code page
    setText(t, 1, "second_name", "O\"Neil, Jr"); // quote and comma
    setText(t, 1, "club", " Leading space");     // a spreadsheet may trim it
    setText(t, 1, "contract_started", "05.97");  // a spreadsheet would read the number 5.97
    setText(t, 2, "date_of_birth", "=1+1");      // or a formula
    setNumber(t, 1, "potential", -1);
    t.record(1)[column(kPlayerFormat, "goalkeeper").offset] = 7;    // read as 2
    std::memset(t.record(2) + 69, 'N', 35);                         // nationality without a zero byte
    std::memcpy(t.record(2) + 106, "Club\0junk", 9);                // junk after the zero byte
    t.record(2)[column(kPlayerFormat, "ability").offset + 1] = 200; // stored 0, 200: reads 200

    const std::string csv = exportCsv(t);
    QVERIFY(csv.starts_with("\xEF\xBB\xBF"
                            "record,id,first_name,second_name,nationality,caps,goals,club,"
                            "contract_started,contract_ends,date_of_birth,age,goalkeeper,sweeper,"));
    const std::vector<std::string> lines = split(csv, "\r\n");
    QCOMPARE(lines.size(), std::size_t(4)); // header, two records, nothing after the last line end
    QVERIFY(lines[0].ends_with(",tackling,technique"));
    QCOMPARE(lines[3], std::string());
    QVERIFY(lines[1].starts_with(
        "1,10,Zo\xC3\xAB,\"O\"\"Neil, Jr\",,0,0,\"=\"\" Leading space\"\"\",\"=\"\"05.97\"\"\",,,21,2,0,"));
    QVERIFY(lines[1].find(",0,-1,0,") != std::string::npos); // ability, potential, reputation
    QVERIFY(lines[2].starts_with("2,11,First2,Second2," + std::string(35, 'N') + ",0,0,Club,,,\"=\"\"=1+1\"\"\",22,"));
    QVERIFY(lines[2].find(",200,0,0,") != std::string::npos);
}

void TestCsv::roundTripKeepsEveryByte_data()
{
    QTest::addColumn<QString>("kind");
    for (const char* k : {"managers", "teams", "players"})
        QTest::newRow(k) << QString(k);
}

void TestCsv::roundTripKeepsEveryByte()
{
    QFETCH(QString, kind);
    RecordTable t = noisyTable(formatOf(kind), 400);
    const std::vector<std::uint8_t> before = t.bytes();
    importCsv(t, exportCsv(t));
    QCOMPARE(t.count(), 400);
    QVERIFY(t.bytes() == before);
}

void TestCsv::oneChangedCellChangesOnlyItsField()
{
    RecordTable t = noisyTable(kPlayerFormat, 50);
    // No line break inside a cell, so that a row is a line; commas and quotes stay.
    for (int i = 1; i <= t.count(); ++i) {
        for (const Field& f : kPlayerFormat.schema) {
            for (int b = 0; f.encoding == Encoding::Text && b < f.width; ++b) {
                std::uint8_t& c = t.record(i)[f.offset + b];
                c = (c == '\r' || c == '\n') ? 'x' : c;
            }
        }
    }
    const std::vector<std::uint8_t> before = t.bytes();

    std::vector<std::string> lines = split(exportCsv(t), "\r\n");
    const std::vector<std::string> header = split(lines[0], ",");
    // Only numbers follow the age, so it is found counting from the end of the row.
    const auto fromEnd = header.end() - std::find(header.begin(), header.end(), "age");
    std::vector<std::string> row = split(lines[7], ",");
    QVERIFY(row.front() == "7");
    row[row.size() - static_cast<std::size_t>(fromEnd)] = "99";
    lines[7] = join(row, ",");
    importCsv(t, join(lines, "\r\n"));

    std::vector<std::uint8_t> expected = before;
    expected[6 * kPlayerFormat.recordSize + column(kPlayerFormat, "age").offset] = 99;
    QVERIFY(t.bytes() == expected);
}

void TestCsv::sortedFilteredSheetUpdatesOnlyItsRows()
{
    RecordTable t = players(5);
    const RecordTable before = t;
    // Sorted by age downwards, filtered to two players, with only three columns kept.
    importCsv(t, "first_name,age,record\n"
                 "Fourth,40,4\n"
                 "First2,30,2\n");
    QCOMPARE(t.count(), 5);
    for (int n : {1, 3, 5})
        QCOMPARE(recordBytes(t, n), recordBytes(before, n));
    RecordTable expected = before;
    setText(expected, 4, "first_name", "Fourth");
    setNumber(expected, 4, "age", 40);
    setNumber(expected, 2, "age", 30);
    QCOMPARE(recordBytes(t, 4), recordBytes(expected, 4));
    QCOMPARE(recordBytes(t, 2), recordBytes(expected, 2));
}

void TestCsv::newRowsAppendWithSmallestFreeId()
{
    RecordTable t = players(3, 1);
    setNumber(t, 3, "id", 4); // IDs 1, 2, 4
    const RecordTable before = t;
    // The first new row takes 0 (its own zero bytes are no ID yet); the third must not take the
    // 3 that the second asks for. A row of empty cells is a spreadsheet's leftover, not a record.
    importCsv(t, "record,id,first_name,age,potential\r\n"
                 ",,Newcomer,,-1\r\n"
                 ",3,Other,17,5\r\n"
                 ",,,,\r\n"
                 ",,Third,,\r\n"
                 "1,1,First1,21,0\r\n");
    QCOMPARE(t.count(), 6);
    for (int n = 1; n <= 3; ++n)
        QCOMPARE(recordBytes(t, n), recordBytes(before, n));

    RecordTable expected(kPlayerFormat);
    for (int i = 0; i < 3; ++i)
        expected.append();
    setText(expected, 1, "first_name", "Newcomer");
    setNumber(expected, 1, "potential", -1);
    setNumber(expected, 2, "id", 3);
    setText(expected, 2, "first_name", "Other");
    setNumber(expected, 2, "age", 17);
    setNumber(expected, 2, "potential", 5);
    setNumber(expected, 3, "id", 5);
    setText(expected, 3, "first_name", "Third");
    QCOMPARE(recordBytes(t, 4), recordBytes(expected, 1));
    QCOMPARE(recordBytes(t, 5), recordBytes(expected, 2));
    QCOMPARE(recordBytes(t, 6), recordBytes(expected, 3));
}

void TestCsv::exportGuardsWhatASpreadsheetWouldChange_data()
{
    QTest::addColumn<QByteArray>("text"); // game bytes
    QTest::addColumn<bool>("guarded");
    const std::pair<const char*, const char*> plain[] = {
        {"surname", "Smith"},
        {"two words", "Braadford Town"},
        {"apostrophe", "O'Neil"},
        {"hyphen", "Jean-Paul"},
        {"accents", "Zo\xEB M\xFCller"},
        {"club with a year", "Hannover 96"},
        {"word then digits", "Anna12"},
        {"word beginning like a month", "Marseille 5"},
        {"truth word inside a name", "True Blues"},
        {"month alone", "May"},
        {"two months", "Jan-Feb"},
    };
    for (const auto& [name, text] : plain)
        QTest::newRow(name) << QByteArray(text) << false;
    const std::pair<const char*, const char*> guarded[] = {
        {"contract date", "05.97"},
        {"leading space", " 05.97"},
        {"leading space before a number", " 12"},
        {"trailing space", "12 "},
        {"trailing space after a name", "Smith "},
        {"leading tab", "\tSmith"},
        {"trailing no-break space", "Smith\xA0"},
        {"negative in brackets", "(12)"},
        {"exponent", "1e5"},
        {"decimal comma", "1,5"},
        {"leading decimal comma", ",5"},
        {"percentage", "12%"},
        {"dollars", "$5"},
        {"euros before", "\x80"
                         "5"},
        {"euros after", "5 \x80"},
        {"pounds", "\xA3"
                   "5"},
        {"crowns", "kr 5"},
        {"currency code", "EUR 5"},
        {"fraction", "1/2"},
        {"hex", "0x1F"},
        {"month and year", "May 98"},
        {"month-year", "Dec-99"},
        {"abbreviation with a dot", "Sept. 5"},
        {"German month", "Mai 98"},
        {"French month", "mars 5"},
        {"Finnish month as a date writes it", "tammikuuta 5"},
        {"Portuguese month, capitals", "OUTUBRO 99"},
        {"day and month", "12/5"},
        {"ISO date", "2024-01-01"},
        {"time", "12:30"},
        {"true", "true"},
        {"FALSE", "FALSE"},
        {"German truth", "Wahr"},
        {"Danish truth", "Sand"},
        {"Finnish truth with an accent", "EP\xC4TOSI"},
        {"formula", "=1+1"},
        {"a guard's form", "=\"x\""},
        {"at sign", "@x"},
        {"plus", "+x"},
        {"minus", "-x"},
        {"apostrophe first", "'t Hart"},
        {"short word and digits", "FC 04"},
        {"superscript", "x\xB2"},
    };
    for (const auto& [name, text] : guarded)
        QTest::newRow(name) << QByteArray(text) << true;
}

// The export writes such a text as ="text"; a spreadsheet shows and saves the formula's result,
// the text, so import must read both forms as the same bytes.
void TestCsv::exportGuardsWhatASpreadsheetWouldChange()
{
    QFETCH(QByteArray, text);
    QFETCH(bool, guarded);
    RecordTable t = players(1);
    setText(t, 1, "club", text.toStdString());
    const std::vector<std::uint8_t> before = t.bytes();
    const std::string csv = exportCsv(t);
    const std::string utf8 = utf8Of(text);
    std::string guardForm;
    appendGuarded(guardForm, utf8);
    const std::string expected = csvCell(guarded ? guardForm : utf8);
    QVERIFY2(split(csv, "\r\n")[1].find("," + expected + ",") != std::string::npos, split(csv, "\r\n")[1].c_str());

    setText(t, 1, "club", "Other");
    importCsv(t, csv);
    QVERIFY(t.bytes() == before);
    if (!utf8.starts_with("=\"")) { // a guard's own form is the one text a spreadsheet cannot keep
        setText(t, 1, "club", "Other");
        importCsv(t, "record,club\n1," + csvCell(utf8) + "\n");
        QVERIFY(t.bytes() == before);
    }
}

void TestCsv::guardedCellsReadAsTheirText_data()
{
    QTest::addColumn<QByteArray>("cell");
    QTest::addColumn<QByteArray>("text");
    QTest::newRow("as exported") << QByteArray("\"=\"\"05.97\"\"\"") << QByteArray("05.97");
    QTest::newRow("as a spreadsheet saves it") << QByteArray("05.97") << QByteArray("05.97");
    QTest::newRow("quote inside") << QByteArray("\"=\"\"A\"\"\"\"B\"\"\"") << QByteArray("A\"B");
    QTest::newRow("not the export's form") << QByteArray("\"=\"\"A\"\"B\"\"\"") << QByteArray("=\"A\"B\"");
    QTest::newRow("formula of its own") << QByteArray("=1+1") << QByteArray("=1+1");
    QTest::newRow("a guard's own text, guarded once")
        << QByteArray("\"=\"\"=\"\"\"\"x\"\"\"\"\"\"\"") << QByteArray("=\"x\"");
}

// The export's guard against a spreadsheet's number and formula reading is no part of the text.
void TestCsv::guardedCellsReadAsTheirText()
{
    QFETCH(QByteArray, cell);
    QFETCH(QByteArray, text);
    RecordTable t = players(1);
    importCsv(t, "record,contract_started\n1," + cell.toStdString() + "\n");
    const Field& f = column(kPlayerFormat, "contract_started");
    QCOMPARE(QByteArray(reinterpret_cast<const char*>(t.record(1)) + f.offset, f.width),
             text + QByteArray(f.width - text.size(), '\0'));
}

void TestCsv::fileVariantsReadAlike_data()
{
    QTest::addColumn<bool>("bom");
    QTest::addColumn<QString>("lineEnd");
    QTest::newRow("BOM, CRLF") << true << "\r\n";
    QTest::newRow("BOM, LF") << true << "\n";
    QTest::newRow("no BOM, CRLF") << false << "\r\n";
    QTest::newRow("no BOM, LF, no final line end") << false << "";
}

// Quoted cells hold commas, quotes and line breaks; the line numbers of later rows count the
// physical lines, so the refusal after the two-line cell names line 4.
void TestCsv::fileVariantsReadAlike()
{
    QFETCH(bool, bom);
    QFETCH(QString, lineEnd);
    const std::string end = lineEnd.isEmpty() ? "\n" : lineEnd.toStdString();
    const std::string prefix = bom ? "\xEF\xBB\xBF" : "";
    const std::string head = prefix + "record,first_name,second_name,age" + end;
    const std::string row1 = "1,\"Zo\xC3\xAB, \"\"Z\"\"\",\"Two\nLines\",33" + end;
    const std::string last = lineEnd.isEmpty() ? "2,Al,Bo,44" : "2,Al,Bo,44" + end;

    RecordTable t = players(2);
    importCsv(t, head + row1 + last);
    QCOMPARE(QByteArray(reinterpret_cast<const char*>(t.record(1)) + 4, 11), QByteArray("Zo\xEB, \"Z\"\0\0", 11));
    QCOMPARE(QByteArray(reinterpret_cast<const char*>(t.record(1)) + 34, 10), QByteArray("Two\nLines\0", 10));
    QCOMPARE(int(t.record(1)[174]), 33);
    QCOMPARE(QByteArray(reinterpret_cast<const char*>(t.record(2)) + 4, 3), QByteArray("Al\0", 3));
    QCOMPARE(int(t.record(2)[174]), 44);

    const RecordTable before = t;
    const QString error = importError(t, head + row1 + "2,Al,Bo,300" + end);
    QCOMPARE(error, "line 4, column age: '300' does not fit this field: allowed are 0 to 255");
    QVERIFY(t.bytes() == before.bytes());
}

void TestCsv::refusalsChangeNothing_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<int>("records");
    QTest::addColumn<QByteArray>("csv");
    QTest::addColumn<QString>("message"); // the first problem listed

    const char* h = "record,id,first_name,second_name,caps,age,potential\r\n";
    auto csv = [&](const char* rows) { return QByteArray(h) + rows; };
    QTest::newRow("unknown column") << "players" << 3 << QByteArray("record,shoe_size\r\n1,3\r\n")
                                    << "line 1, column shoe_size: the players have no such column";
    QTest::newRow("column twice") << "players" << 3 << QByteArray("record,age,age\r\n1,3,3\r\n")
                                  << "line 1, column age: the column appears twice";
    QTest::newRow("no record column") << "players" << 3 << QByteArray("id,age\r\n10,3\r\n")
                                      << "line 1: the column record (the record numbers) is missing";
    QTest::newRow("empty file") << "players" << 3 << QByteArray() << "line 1: the file holds no header row";
    QTest::newRow("record twice") << "players" << 3 << csv("1,10,A,B,0,20,0\r\n2,11,A,B,0,20,0\r\n1,10,A,B,0,21,0\r\n")
                                  << "line 4, column record: record 1 appears twice (also on line 2)";
    QTest::newRow("record beyond count") << "players" << 3 << csv("4,13,A,B,0,20,0\r\n")
                                         << "line 2, column record: there is no record 4: the records are 1 to 3";
    QTest::newRow("record 0") << "players" << 3 << csv("0,13,A,B,0,20,0\r\n")
                              << "line 2, column record: there is no record 0: the records are 1 to 3";
    QTest::newRow("record not a number") << "players" << 3 << csv("one,13,A,B,0,20,0\r\n")
                                         << "line 2, column record: 'one' is not a valid integer value";
    QTest::newRow("300 in one byte") << "players" << 3 << csv("1,10,A,B,0,300,0\r\n")
                                     << "line 2, column age: '300' does not fit this field: allowed are 0 to 255";
    QTest::newRow("huge number") << "players" << 3 << csv("1,10,A,B,99999999999999999999,20,0\r\n")
                                 << "line 2, column caps: '99999999999999999999' does not fit this field: "
                                    "allowed are 0 to 255";
    QTest::newRow("potential below -127") << "players" << 3 << csv("1,10,A,B,0,20,-128\r\n")
                                          << "line 2, column potential: '-128' does not fit this field: "
                                             "allowed are -127 to 32767";
    QTest::newRow("36-character name") << "players" << 3
                                       << csv(("1,10,A," + std::string(36, 'x') + ",0,20,0\r\n").c_str())
                                       << "line 2, column second_name: '" + QString(36, 'x') +
                                              "' is longer than this field: at most 35 characters";
    QTest::newRow("31-character first name with accents")
        << "players" << 3
        << csv(("1,10," + std::string(15, 'x') + std::string(8, 'a') +
                "\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9,B,0,20,0\r\n")
                   .c_str())
        << QString("line 2, column first_name: '") + QString(15, 'x') + QString(8, 'a') + QString(8, QChar(0xE9)) +
               "' is longer than this field: at most 30 characters";
    QTest::newRow("outside the code page")
        << "players" << 3 << csv("1,10,\xCE\xA9mega,B,0,20,0\r\n")
        << QString("line 2, column first_name: '") + QChar(0x3A9) + "mega' holds a character the game cannot store";
    QTest::newRow("not UTF-8") << "players" << 3 << csv("1,10,Zo\xEB,B,0,20,0\r\n")
                               << "line 2, column first_name: 'Zo\xEF\xBF\xBD' holds a character the game cannot store";
    QTest::newRow("12a") << "players" << 3 << csv("1,10,A,B,12a,20,0\r\n")
                         << "line 2, column caps: '12a' is not a valid integer value";
    QTest::newRow("empty number") << "players" << 3 << csv("1,10,A,B,,20,0\r\n")
                                  << "line 2, column caps: '' is not a valid integer value";
    QTest::newRow("plus sign") << "players" << 3 << csv("1,10,A,B,+3,20,0\r\n")
                               << "line 2, column caps: '+3' is not a valid integer value";
    QTest::newRow("ID of another record")
        << "players" << 3 << csv("2,10,A,B,0,20,0\r\n") << "line 2, column id: '10' is also the ID of record 1";
    QTest::newRow("new row with a taken ID")
        << "players" << 3 << csv(",12,A,B,0,20,0\r\n") << "line 2, column id: '12' is also the ID of record 3";
    QTest::newRow("two new rows, one ID") << "players" << 3 << csv(",50,A,B,0,20,0\r\n,50,C,D,0,20,0\r\n")
                                          << "line 2, column id: '50' is also the ID of a record this file adds";
    QTest::newRow("cells missing") << "players" << 3 << csv("1,10,A\r\n")
                                   << "line 2: this row has 3 cells, the header 7";
    QTest::newRow("quote never closed") << "players" << 3 << csv("1,10,\"A,B,0,20,0\r\n")
                                        << "line 2: the file is not valid CSV here";
    QTest::newRow("flag of 2") << "teams" << 3 << QByteArray("record,eu_member\r\n1,2\r\n")
                               << "line 2, column eu_member: '2' does not fit this field: allowed are 0 to 1";
    QTest::newRow("unknown formation") << "managers" << 3 << QByteArray("record,formation\r\n1,BOGUS\r\n")
                                       << "line 2, column formation: 'BOGUS' is not a formation code";
    QTest::newRow("unknown style") << "managers" << 3 << QByteArray("record,style\r\n1,NOPE\r\n")
                                   << "line 2, column style: 'NOPE' is not a style code";
    QTest::newRow("unknown region") << "teams" << 3 << QByteArray("record,region\r\n1,Atlantis\r\n")
                                    << "line 2, column region: 'Atlantis' is not a region";
    QTest::newRow("unknown colour") << "teams" << 3 << QByteArray("record,colour_primary_home\r\n1,PLAID\r\n")
                                    << "line 2, column colour_primary_home: 'PLAID' is not a colour code";
    QTest::newRow("a list's text for its code")
        << "teams" << 3 << QByteArray("record,last_division\r\n1,English First Division\r\n")
        << "line 2, column last_division: 'English First Division' is not a division code "
           "(English First Division is ED1)";
    QTest::newRow("code in lower case") << "managers" << 3 << QByteArray("record,formation\r\n1,442n\r\n")
                                        << "line 2, column formation: '442n' is not a formation code";
    QTest::newRow("code and a blank") << "managers" << 3 << QByteArray("record,formation\r\n1,442N \r\n")
                                      << "line 2, column formation: '442N ' is not a formation code";
    QTest::newRow("unknown code in a new row")
        << "managers" << 3 << QByteArray("record,first_name,style\r\n,New,LOB\r\n")
        << "line 2, column style: 'LOB' is not a style code";
    QTest::newRow("header cell empty") << "players" << 3 << QByteArray("record,,age\r\n1,,20\r\n")
                                       << "line 1: header cell 2 is empty: every column needs its name";
    QTest::newRow("cell under an empty trailing header cell")
        << "players" << 3 << QByteArray("record,age,,\r\n1,20,,\r\n2,21,x,\r\n")
        << "line 3: cell 3 holds 'x', but its column has no name in the header";
    QTest::newRow("more cells than the header's")
        << "players" << 3 << QByteArray("record,age,,\r\n1,20,,,\r\n") << "line 2: this row has 5 cells, the header 4";
    QTest::newRow("capacity") << "managers" << 1000 << QByteArray("record,id,first_name\r\n,,Extra\r\n")
                              << "line 2, column record: no room for another record: the table holds at most "
                                 "1000 managers";
}

// The table keeps every byte and its count; the message names line and column.
void TestCsv::refusalsChangeNothing()
{
    QFETCH(QString, kind);
    QFETCH(int, records);
    QFETCH(QByteArray, csv);
    QFETCH(QString, message);
    const DbFormat& f = formatOf(kind);
    RecordTable t(f);
    for (int i = 1; i <= records; ++i) {
        t.append();
        setNumber(t, i, "id", 9 + i);
    }
    const RecordTable before = t;
    const QString error = importError(t, csv.toStdString());
    QVERIFY2(error.startsWith(message), qPrintable(error));
    QCOMPARE(t.count(), records);
    QVERIFY(t.bytes() == before.bytes());
}

void TestCsv::manyProblemsListTheFirst()
{
    RecordTable t = players(20);
    std::string csv = "record,age\n";
    for (int i = 1; i <= 12; ++i)
        csv += std::to_string(i) + ",1000\n";
    const QStringList lines = importError(t, csv).split('\n');
    QCOMPARE(lines.size(), 11);
    QCOMPARE(lines.first(), "line 2, column age: '1000' does not fit this field: allowed are 0 to 255");
    QVERIFY(lines[9].startsWith("line 11, column age:"));
    QCOMPARE(lines.last(), "(and 2 more)");
}

// A cell as stored stays; otherwise a code field takes one of its table's codes, stored as the
// pages store it, or nothing (the drop-down's empty entry).
void TestCsv::codeFieldsTakeCodesOrNothing()
{
    RecordTable t(kManagerFormat);
    for (int i = 1; i <= 3; ++i) {
        t.append();
        setNumber(t, i, "id", i);
    }
    const Field& formation = column(kManagerFormat, "formation");
    const Field& style = column(kManagerFormat, "style");
    std::memcpy(t.record(1) + formation.offset, "ZZZZ\0junk", 9);
    std::memcpy(t.record(2) + formation.offset, "442N", 4);
    std::memcpy(t.record(3) + style.offset, "NOPE", 4);
    const std::vector<std::uint8_t> before = t.bytes();
    importCsv(t, exportCsv(t));
    QVERIFY(t.bytes() == before);

    importCsv(t, "record,id,formation,style\n"
                 "1,1,442N,\n"
                 "2,2,,\"=\"\"CONT\"\"\"\n"
                 "3,3,VATT,NOPE\n"
                 ",,532N,\n");
    RecordTable expected = t;
    std::memcpy(expected.record(1), before.data(), 3 * kManagerFormat.recordSize);
    writeText(expected.record(1), formation, "442N");
    writeText(expected.record(2), formation, "");
    writeText(expected.record(2), style, "CONT");
    writeText(expected.record(3), formation, "VATT");
    QCOMPARE(t.count(), 4);
    for (int n = 1; n <= 3; ++n)
        QCOMPARE(recordBytes(t, n), recordBytes(expected, n));
    QCOMPARE(QByteArray(reinterpret_cast<const char*>(t.record(4)) + formation.offset, formation.width),
             QByteArray("532N\0\0\0\0\0\0", 10));
}

// Ten megabytes in a cell are quoted as forty characters: the list of problems stays readable.
void TestCsv::hugeCellsMakeShortMessages()
{
    RecordTable t = players(2);
    const std::vector<std::uint8_t> before = t.bytes();
    const std::size_t size = 10 * 1024 * 1024;
    const std::string csv =
        "record,first_name,caps\n1," + std::string(size, 'x') + ",1\n2,A," + std::string(size, '9') + "\n";
    const QString error = importError(t, csv);
    QCOMPARE(error, "line 2, column first_name: '" + QString(40, 'x') +
                        "\u2026' is longer than this field: at most 30 characters\n"
                        "line 3, column caps: '" +
                        QString(40, '9') + "\u2026' does not fit this field: allowed are 0 to 255");
    QVERIFY(t.bytes() == before);
}

// The message travels as a C string (what()); a zero byte in it would end every problem after it.
void TestCsv::zeroBytesDoNotCutTheMessage()
{
    using namespace std::string_literals;
    RecordTable t = players(3);
    const QString error = importError(t, "record,first_name,age\n1,A\0B,20\n2,C,1\0\n3,D,300\n"s);
    QCOMPARE(error, "line 2, column first_name: 'A\u2400B' holds a character the game cannot store\n"
                    "line 3, column age: '1\u2400' is not a valid integer value\n"
                    "line 4, column age: '300' does not fit this field: allowed are 0 to 255");
}

void TestCsv::utf16IsNamed_data()
{
    QTest::addColumn<QByteArray>("csv");
    const QString text = "record,age\r\n1,20\r\n";
    QByteArray le;
    QByteArray be;
    for (const QChar c : text) {
        le += char(c.unicode() & 0xFF);
        le += char(c.unicode() >> 8);
        be += char(c.unicode() >> 8);
        be += char(c.unicode() & 0xFF);
    }
    QTest::newRow("little-endian, byte-order mark") << QByteArray("\xFF\xFE") + le;
    QTest::newRow("big-endian, byte-order mark") << QByteArray("\xFE\xFF") + be;
    QTest::newRow("little-endian") << le;
    QTest::newRow("big-endian") << be;
}

void TestCsv::utf16IsNamed()
{
    QFETCH(QByteArray, csv);
    RecordTable t = players(1);
    const std::vector<std::uint8_t> before = t.bytes();
    QCOMPARE(importError(t, csv.toStdString()), "the file is UTF-16; save it as UTF-8");
    QVERIFY(t.bytes() == before);
}

// A spreadsheet saves empty header cells after the last column, and empty cells under them.
void TestCsv::trailingEmptyHeaderCellsAreIgnored()
{
    RecordTable t = players(3);
    importCsv(t, "record,age,,,\r\n1,30,,,\r\n2,31\r\n3,32,\r\n,,,,\r\n");
    QCOMPARE(t.count(), 3);
    RecordTable expected = players(3);
    setNumber(expected, 1, "age", 30);
    setNumber(expected, 2, "age", 31);
    setNumber(expected, 3, "age", 32);
    QVERIFY(t.bytes() == expected.bytes());
}

QTEST_GUILESS_MAIN(TestCsv)
#include "tst_csv.moc"
