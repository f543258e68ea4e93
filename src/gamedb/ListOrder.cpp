#include "gamedb/ListOrder.h"

#include "gamedb/GameText.h"
#include "gamedb/RecordTable.h"

#include <QCollator>
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
    QCollator collator{QLocale(QLocale::English, QLocale::UnitedKingdom)};
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    collator.setIgnorePunctuation(false);

    // One sort key per line, then a sort of indices: a comparison is a memcmp, not a collation.
    std::vector<QCollatorSortKey> keys;
    keys.reserve(lines.size());
    for (const ListLine& l : lines)
        keys.push_back(collator.sortKey(l.name));
    std::vector<std::size_t> order(lines.size());
    std::iota(order.begin(), order.end(), std::size_t{0});
    std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
        const int c = keys[a].compare(keys[b]);
        return c != 0 ? c < 0 : lines[a].record < lines[b].record;
    });
    std::vector<ListLine> sorted;
    sorted.reserve(lines.size());
    for (const std::size_t i : order)
        sorted.push_back(std::move(lines[i]));
    lines = std::move(sorted);
}

} // namespace gamedb
