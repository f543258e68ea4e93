#include "gamedb/ListOrder.h"

#include "gamedb/GameText.h"
#include "gamedb/RecordTable.h"
#include "gamedb/SortKey.h"

#include <algorithm>
#include <numeric>

namespace gamedb {
namespace {

} // namespace

void ensureKey(ListLine& line)
{
    if (line.key.empty())
        line.key = sortKey(toGame(line.name).value_or(std::string()));
}

bool listLess(const ListLine& a, const ListLine& b)
{
    const int c = a.key.compare(b.key);
    return c != 0 ? c < 0 : a.record < b.record;
}

ListLine listLineOf(const RecordTable& table, int number)
{
    thread_local std::string name;
    name.clear();
    table.appendListName(number, name);
    return {fromGame(name), number, sortKey(name)};
}

void sortListLines(std::vector<ListLine>& lines)
{
    for (ListLine& l : lines)
        ensureKey(l);
    // A sort of indices moves each line once. A stable sort is quick on lines that are already
    // nearly in order.
    std::vector<std::uint32_t> order(lines.size());
    std::iota(order.begin(), order.end(), 0u);
    std::stable_sort(order.begin(), order.end(),
                     [&](std::uint32_t a, std::uint32_t b) { return listLess(lines[a], lines[b]); });
    std::vector<ListLine> sorted;
    sorted.reserve(lines.size());
    for (const std::uint32_t i : order)
        sorted.push_back(std::move(lines[i]));
    lines = std::move(sorted);
}

} // namespace gamedb
