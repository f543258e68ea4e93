#include "gamedb/ListOrder.h"

#include "gamedb/GameText.h"
#include "gamedb/RecordTable.h"

#include <QLocale>

#include <algorithm>
#include <numeric>

namespace gamedb {

ListLine listLineOf(const RecordTable& table, int number)
{
    thread_local std::string name;
    name.clear();
    table.appendListName(number, name);
    return {fromGame(name), number};
}

void sortListLines(std::vector<ListLine>& lines)
{
    ListSorter().sort(lines);
}

ListSorter::ListSorter() : collator_(QLocale(QLocale::English, QLocale::UnitedKingdom))
{
    collator_.setCaseSensitivity(Qt::CaseInsensitive);
    collator_.setIgnorePunctuation(false);
}

void ListSorter::makeRoom(int record)
{
    const auto needed = static_cast<std::size_t>(std::max(record, 0)) + 1;
    if (known_.size() < needed)
        known_.resize(needed);
}

// Valid until the next makeRoom.
const QCollatorSortKey& ListSorter::keyOf(const ListLine& line)
{
    Known& k = known_[static_cast<std::size_t>(std::max(line.record, 0))];
    if (!k.key || k.name != line.name) {
        k.name = line.name;
        k.key = collator_.sortKey(line.name);
    }
    return *k.key;
}

void ListSorter::sort(std::vector<ListLine>& lines)
{
    int highest = 0;
    for (const ListLine& l : lines)
        highest = std::max(highest, l.record);
    makeRoom(highest);
    // One key per line, then a sort of indices: a comparison is a memcmp, not a collation. A
    // stable sort is quick on lines that are already nearly in order.
    std::vector<const QCollatorSortKey*> keys;
    keys.reserve(lines.size());
    for (const ListLine& l : lines)
        keys.push_back(&keyOf(l));
    std::vector<std::size_t> order(lines.size());
    std::iota(order.begin(), order.end(), std::size_t{0});
    std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
        const int c = keys[a]->compare(*keys[b]);
        return c != 0 ? c < 0 : lines[a].record < lines[b].record;
    });
    std::vector<ListLine> sorted;
    sorted.reserve(lines.size());
    for (const std::size_t i : order)
        sorted.push_back(std::move(lines[i]));
    lines = std::move(sorted);
}

bool ListSorter::less(const ListLine& a, const ListLine& b)
{
    makeRoom(std::max(a.record, b.record));
    const int c = keyOf(a).compare(keyOf(b));
    return c != 0 ? c < 0 : a.record < b.record;
}

} // namespace gamedb
