#pragma once
// A table as rows of values, for the table window and the command line: each field's value as the
// pages show it, each column's order, and the filter expressions a column's box takes.
//
// A column is the record number (no field) or a schema field. Filters:
//   any column   /regex/ (letter case ignored), = (an empty cell), <> (a cell that is not empty)
//   numbers      18, =18, <>0, >18, >=18, <21, <=21, 10~20 (inclusive); flags and positions too (0, 1, 2)
//   texts        text (contains, letters A to Z in either case, as Search matches), =text (the whole
//                text), <>text (anything else), >text, >=text, <text, <=text (in the lists' order)
//   codes        as texts, matching the drop-down's entry or the stored code
//   dates        as texts; >, >=, <, <=, ~ take a date of the column's form and compare by date

#include "gamedb/RecordTable.h"

#include <QRegularExpression>
#include <QString>

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace gamedb {

// How a column's values show, sort and match.
enum class ValueKind : std::uint8_t { Number, Text, Date, Code, Flag, Position };
ValueKind valueKind(const Field* column);

// As the pages show it: a number in decimal, a text through the code page, a code as its
// drop-down entry (one the table does not know as the bytes stored), a flag or a position as the
// number it is matched by.
QString shownValue(const RecordTable& table, int record, const Field* column);

// A check box's state as the page shows the field: 0 unchecked, 1 grey, 2 checked. A flag is
// checked exactly when its byte is 1; a position shows 0, 1 or 2.
int checkState(const std::uint8_t* record, const Field& field);

// A date text's value, ordered by year, then month, then day; none when the text does not read as
// a date of its form. Two-digit years 50 to 99 are 1950 to 1999, and 00 to 49 are 2000 to 2049:
// the game's dates are births from the 1950s and contracts into the 2000s.
std::optional<int> dateValue(std::string_view text, DateForm form);

// Sorts record numbers by the column's values, ascending or descending; equal values keep record
// order either way.
void sortRecords(const RecordTable& table, std::vector<int>& records, const Field* column, bool descending);

class CellFilter {
public:
    // Reads expression as the column's filter box takes it; throws GameError with the reason
    // when it cannot be read. An empty expression passes every record.
    CellFilter(const Field* column, const QString& expression);

    bool matches(const RecordTable& table, int record) const;
    const Field* column() const { return column_; }

private:
    enum class Op : std::uint8_t {
        All,
        Empty,
        NonEmpty,
        Equal,
        NotEqual,
        Less,
        LessEqual,
        Greater,
        GreaterEqual,
        Range,
        Contains,
        Regex
    };
    bool numberMatches(long long v) const;
    bool cellMatches(Op op, const std::uint8_t* record, std::string_view stored) const;
    bool textMatches(Op op, std::string_view stored, std::string_view folded) const;
    void readNumbers(const QString& operand);
    void readDates(const QString& operand);
    void readText(const QString& operand);

    const Field* column_;
    ValueKind kind_;
    Op op_ = Op::All;
    long long low_ = 0; // the number or date compared with; a range's low end
    long long high_ = 0;
    std::string text_; // game bytes, letters A to Z in lower case
    std::string key_;  // text_'s sort key, for comparisons of texts
    QRegularExpression regex_;
};

// The records that pass every filter, in record order.
std::vector<int> matchingRecords(const RecordTable& table, const std::vector<CellFilter>& filters);

} // namespace gamedb
