#include "gamedb/Csv.h"

#include "gamedb/CsvText.h"

#include <csv.h>

#include <charconv>
#include <numeric>
#include <vector>

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
    std::vector<int> all(static_cast<std::size_t>(table.count()));
    std::iota(all.begin(), all.end(), 1);
    return exportCsv(table, all);
}

std::string exportCsv(const RecordTable& table, std::span<const int> records)
{
    const Schema schema = table.format().schema;
    std::string out;
    // Texts rarely fill their fields; numbers are short. One growth at most for most tables.
    out.reserve(kUtf8Bom.size() + 64 * schema.size() +
                records.size() * (table.format().recordSize + 4 * schema.size()));
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

    for (const int i : records) {
        const std::uint8_t* r = table.record(i);
        appendNumber(out, i);
        for (const Field& f : schema) {
            out += ',';
            if (f.encoding == Encoding::Text) {
                const std::string_view game = readText(r, f);
                text.clear();
                appendUtf8(text, game);
                // A spreadsheet would read such a text as a number, a date or a formula and save
                // it back changed; as the formula ="text" it shows and saves as the text.
                if (needsSheetGuard(game)) {
                    guarded.clear();
                    appendGuarded(guarded, text);
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
