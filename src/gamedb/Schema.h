#pragma once
// One table per record layout: every field's control name, offset, width, encoding and CSV column.
// The same table drives decoding, save-time re-encoding, list lines, the pages' show and store
// steps and the CSV export and import.

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace gamedb {

enum class Encoding : std::uint8_t {
    Septet,       // unsigned base-128 number, width digits
    Text,         // zero-padded text of width bytes
    Byte,         // one unsigned byte
    Flag,         // one byte, 0 or 1
    PositionFlag, // one byte, 0, 1 or 2; anything else reads as 2
    Rating,       // two bytes: unsigned high * 128 + unsigned low
    SignedRating, // two bytes: unsigned high * 128 + signed low (potential -1 is 0, 255)
};

// A drop-down's table: entry i stands for code i. Records store the code; the list shows the text.
struct CodeEntry {
    std::string_view code;
    std::string_view text;
};
using CodeTable = std::span<const CodeEntry>;

// A text the pages take as a date, two digits each part.
enum class DateForm : std::uint8_t {
    None,
    MonthYear,    // "mm.yy"
    DayMonthYear, // "dd.mm.yy"
};

struct Field {
    std::string_view control; // the page control that shows it
    std::uint16_t offset;
    std::uint16_t width;
    Encoding encoding;
    std::string_view column;          // its CSV column: lower case, words joined by '_'
    const CodeTable* codes = nullptr; // a text that holds one of these codes (a drop-down)
    DateForm date = DateForm::None;   // a text that holds a date
};

using Schema = std::span<const Field>;

// True when the fields follow one another without gap or overlap and fill the record exactly.
template <std::size_t N> constexpr bool tilesRecord(const Field (&fields)[N], std::size_t recordSize)
{
    std::size_t at = 0;
    for (const Field& f : fields) {
        if (f.offset != at)
            return false;
        at += f.width;
    }
    return at == recordSize;
}

const Field& fieldNamed(Schema schema, std::string_view control);

bool isNumeric(Encoding e);

// The range a numeric field can hold without losing anything.
struct Range {
    long long min;
    long long max;
};
Range rangeOf(const Field& f);

long long readNumber(const std::uint8_t* record, const Field& f);
// Throws GameError naming the value and the range when it does not fit.
void writeNumber(std::uint8_t* record, const Field& f, long long value);

std::string_view readText(const std::uint8_t* record, const Field& f);
void writeText(std::uint8_t* record, const Field& f, std::string_view text);

// Rewrites every septet number in its ordinary form; a stored value the encoding cannot write
// (digits reading above its limit) is left exactly as it was.
void canonicalise(std::uint8_t* record, Schema schema);

} // namespace gamedb
