#include "gamedb/Csv.h"

#include "gamedb/CsvText.h"

#include <csv.h>

#include <charconv>

namespace gamedb {
namespace {

// A spreadsheet (and most readers) would split at these, or trim the spaces.
bool needsQuotes(std::string_view cell)
{
    if (cell.empty())
        return false;
    if (cell.find_first_of(",\"\r\n") != std::string_view::npos)
        return true;
    const auto isBlank = [](char c) { return c == ' ' || c == '\t'; };
    return isBlank(cell.front()) || isBlank(cell.back());
}

// A spreadsheet takes "05.97" for the number 5.97 and "=x" for a formula, and would save them
// back changed. Such texts go out as the formula ="05.97", which shows and saves as the text.
bool needsTextGuard(std::string_view text)
{
    return !text.empty() && std::string_view("0123456789+-=@.").find(text.front()) != std::string_view::npos;
}

void guardText(std::string_view text, std::string& guarded)
{
    guarded = "=\"";
    for (const char c : text) {
        guarded += c;
        if (c == '"')
            guarded += '"';
    }
    guarded += '"';
}

void appendCell(std::string& out, std::string_view cell, std::string& quoted)
{
    if (!needsQuotes(cell)) {
        out += cell;
        return;
    }
    // Every character doubled at most, plus the two quotes.
    quoted.resize(cell.size() * 2 + 2);
    const std::size_t n = csv_write(quoted.data(), quoted.size(), cell.data(), cell.size());
    out.append(quoted.data(), n);
}

void appendNumber(std::string& out, long long v)
{
    char digits[24];
    const auto end = std::to_chars(digits, digits + sizeof digits, v).ptr;
    out.append(digits, end);
}

} // namespace

std::string exportCsv(const RecordTable& table)
{
    const Schema schema = table.format().schema;
    std::string out;
    // Texts rarely fill their fields; numbers are short. One growth at most for most tables.
    out.reserve(kUtf8Bom.size() + 64 * schema.size() +
                static_cast<std::size_t>(table.count()) * (table.format().recordSize + 4 * schema.size()));
    std::string text;
    std::string quoted;
    std::string guarded;

    out += kUtf8Bom;
    out += kRecordColumn;
    for (const Field& f : schema) {
        out += ',';
        out += f.column;
    }
    out += "\r\n";

    for (int i = 1; i <= table.count(); ++i) {
        const std::uint8_t* r = table.record(i);
        appendNumber(out, i);
        for (const Field& f : schema) {
            out += ',';
            if (f.encoding == Encoding::Text) {
                text.clear();
                appendUtf8(text, readText(r, f));
                if (needsTextGuard(text)) {
                    guardText(text, guarded);
                    text.swap(guarded);
                }
                appendCell(out, text, quoted);
            } else {
                appendNumber(out, readNumber(r, f));
            }
        }
        out += "\r\n";
    }
    return out;
}

} // namespace gamedb
