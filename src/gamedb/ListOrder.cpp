#include "gamedb/ListOrder.h"

#include "gamedb/GameText.h"
#include "gamedb/RecordTable.h"
#include "gamedb/SortKey.h"

#include <algorithm>
#include <array>
#include <utility>

namespace gamedb {
namespace {

using Line = ListLines::Line;

bool startLess(const Line& a, const Line& b)
{
    return a.high != b.high ? a.high < b.high : a.low < b.low;
}

bool sameStart(const Line& a, const Line& b)
{
    return a.high == b.high && a.low == b.low;
}

// Sorts lines by the first word of their key starts, stably, 11 bits at a time from the lowest
// (a comparison sort of 20000 names spends most of its time on mispredicted branches); what
// moves is the word and the line's place, the lines themselves once at the end.
void sortByHigh(std::vector<Line>& lines)
{
    struct Entry {
        std::uint64_t high;
        std::uint64_t line;
    };
    constexpr int kBits = 11;
    constexpr int kPasses = (64 + kBits - 1) / kBits;
    constexpr std::uint64_t kMask = (1u << kBits) - 1;
    const std::size_t n = lines.size();
    std::vector<Entry> from(n);
    std::vector<Entry> to(n);
    std::vector<std::array<std::uint32_t, 1u << kBits>> count(kPasses);
    for (std::size_t i = 0; i < n; ++i) {
        from[i] = {lines[i].high, i};
        for (int p = 0; p < kPasses; ++p)
            ++count[static_cast<std::size_t>(p)][(lines[i].high >> (kBits * p)) & kMask];
    }
    for (int p = 0; p < kPasses; ++p) {
        auto& c = count[static_cast<std::size_t>(p)];
        if (n == 0 || c[(from[0].high >> (kBits * p)) & kMask] == n)
            continue; // all alike in these bits
        std::uint32_t at = 0;
        for (std::uint32_t& k : c)
            at += std::exchange(k, at);
        for (const Entry& e : from)
            to[c[(e.high >> (kBits * p)) & kMask]++] = e;
        from.swap(to);
    }
    // Each line to its place in turn, following the cycles of the order: no second list.
    for (std::size_t i = 0; i < n; ++i) {
        if (from[i].line == i)
            continue;
        const Line first = lines[i];
        std::size_t at = i;
        for (;;) {
            const std::size_t source = static_cast<std::size_t>(std::exchange(from[at].line, at));
            if (source == i) {
                lines[at] = first;
                break;
            }
            lines[at] = lines[source];
            at = source;
        }
    }
}

} // namespace

void ListLines::clear()
{
    names_.clear();
    lines_.clear();
}

void ListLines::reserve(std::size_t lines)
{
    lines_.reserve(lines);
    names_.reserve(lines * 20); // a surname and a first name, most of them
}

void ListLines::push(std::size_t nameAt, int number)
{
    const std::string_view name = std::string_view(names_).substr(nameAt);
    const std::array<std::uint64_t, 2> start = sortKeyStart16(name);
    lines_.push_back(
        {start[0], start[1], static_cast<std::uint32_t>(nameAt), static_cast<std::uint32_t>(name.size()), number});
}

void ListLines::add(const RecordTable& table, int number)
{
    const std::size_t at = names_.size();
    table.appendListName(number, names_);
    push(at, number);
}

void ListLines::add(std::string_view gameName, int number)
{
    const std::size_t at = names_.size();
    names_ += gameName;
    push(at, number);
}

std::string_view ListLines::gameName(std::size_t row) const
{
    return nameOf(lines_[row]);
}

QString ListLines::name(std::size_t row) const
{
    return fromGame(gameName(row));
}

std::string_view ListLines::nameOf(const Line& line) const
{
    return std::string_view(names_).substr(line.nameAt, line.nameSize);
}

void ListLines::sort()
{
    sortByHigh(lines_);
    // Then lines alike in that word by the second (a few lines at a time), and lines alike in
    // both, their keys' first 16 bytes, by whole keys, each made once, then by record.
    for (std::size_t i = 0; i < lines_.size();) {
        std::size_t end = i + 1;
        while (end < lines_.size() && lines_[i].high == lines_[end].high)
            ++end;
        const auto first = lines_.begin() + static_cast<std::ptrdiff_t>(i);
        const auto last = lines_.begin() + static_cast<std::ptrdiff_t>(end);
        if (end - i > 16) {
            std::sort(first, last, startLess);
        } else {
            for (auto at = first + 1; at < last; ++at) {
                const Line l = *at;
                auto to = at;
                for (; to > first && l.low < (to - 1)->low; --to)
                    *to = *(to - 1);
                *to = l;
            }
        }
        i = end;
    }
    std::vector<std::pair<std::string, Line>> tied;
    for (std::size_t i = 0; i < lines_.size();) {
        std::size_t end = i + 1;
        while (end < lines_.size() && sameStart(lines_[i], lines_[end]))
            ++end;
        if (end - i > 1) {
            tied.clear();
            for (std::size_t k = i; k < end; ++k)
                tied.emplace_back(sortKey(nameOf(lines_[k])), lines_[k]);
            std::sort(tied.begin(), tied.end(), [](const auto& a, const auto& b) {
                const int c = a.first.compare(b.first);
                return c != 0 ? c < 0 : a.second.record < b.second.record;
            });
            for (std::size_t k = i; k < end; ++k)
                lines_[k] = tied[k - i].second;
        }
        i = end;
    }
}

std::size_t ListLines::rowFor(std::string_view gameName, int number) const
{
    const std::array<std::uint64_t, 2> start = sortKeyStart16(gameName);
    std::string key; // made only when a line begins alike
    const auto at = std::partition_point(lines_.begin(), lines_.end(), [&](const Line& l) {
        if (l.high != start[0] || l.low != start[1])
            return l.high != start[0] ? l.high < start[0] : l.low < start[1];
        if (key.empty())
            key = sortKey(gameName);
        const int c = sortKey(nameOf(l)).compare(key);
        return c != 0 ? c < 0 : l.record <= number;
    });
    return static_cast<std::size_t>(at - lines_.begin());
}

void ListLines::insert(std::size_t row, std::string_view gameName, int number)
{
    add(gameName, number);
    std::rotate(lines_.begin() + static_cast<std::ptrdiff_t>(row), lines_.end() - 1, lines_.end());
}

} // namespace gamedb
