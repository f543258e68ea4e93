#include "gamedb/ListOrder.h"

#include "gamedb/GameText.h"
#include "gamedb/RecordTable.h"
#include "gamedb/SortKey.h"

#include <algorithm>

namespace gamedb {
namespace {

std::string fullKey(const ListLine& line)
{
    return sortKey(toGame(line.name).value_or(std::string()));
}

// Big-endian, zero after the key's end: comparing two prefixes compares the keys' first 16 bytes.
void setPrefix(ListLine& line, std::string_view gameBytes)
{
    std::uint8_t start[16] = {};
    sortKeyStart(gameBytes, start, sizeof start);
    for (std::size_t half = 0; half < 2; ++half) {
        std::uint64_t v = 0;
        for (std::size_t i = 0; i < 8; ++i)
            v = v << 8 | start[half * 8 + i];
        line.prefix[half] = v;
    }
    line.keyed = true;
}

// Negative, zero or positive by the keys' first 16 bytes.
int comparePrefix(const ListLine& a, const ListLine& b)
{
    for (std::size_t half = 0; half < 2; ++half) {
        if (a.prefix[half] != b.prefix[half])
            return a.prefix[half] < b.prefix[half] ? -1 : 1;
    }
    return 0;
}

} // namespace

void ensureKey(ListLine& line)
{
    if (!line.keyed)
        setPrefix(line, toGame(line.name).value_or(std::string()));
}

bool listLess(const ListLine& a, const ListLine& b)
{
    int c = comparePrefix(a, b);
    if (c == 0)
        c = fullKey(a).compare(fullKey(b));
    return c != 0 ? c < 0 : a.record < b.record;
}

ListLine listLineOf(const RecordTable& table, int number)
{
    thread_local std::string name;
    name.clear();
    table.appendListName(number, name);
    ListLine line{fromGame(name), number};
    setPrefix(line, name);
    return line;
}

void sortListLines(std::vector<ListLine>& lines)
{
    // The keys' starts side by side: most comparisons end there, in memory the sort walks in
    // order. Whole keys are made only for lines that begin alike, once each.
    struct Start {
        std::uint64_t high;
        std::uint64_t low;
        std::uint32_t line;
    };
    std::vector<Start> starts(lines.size());
    for (std::uint32_t i = 0; i < lines.size(); ++i) {
        ensureKey(lines[i]);
        starts[i] = {lines[i].prefix[0], lines[i].prefix[1], i};
    }
    std::vector<std::string> whole;
    auto wholeKey = [&](std::uint32_t i) -> const std::string& {
        whole.resize(lines.size());
        if (whole[i].empty())
            whole[i] = fullKey(lines[i]);
        return whole[i];
    };
    std::sort(starts.begin(), starts.end(), [&](const Start& a, const Start& b) {
        if (a.high != b.high)
            return a.high < b.high;
        if (a.low != b.low)
            return a.low < b.low;
        const int c = wholeKey(a.line).compare(wholeKey(b.line));
        return c != 0 ? c < 0 : lines[a.line].record < lines[b.line].record;
    });
    std::vector<ListLine> sorted;
    sorted.reserve(lines.size());
    for (const Start& s : starts)
        sorted.push_back(std::move(lines[s.line]));
    lines = std::move(sorted);
}

} // namespace gamedb
