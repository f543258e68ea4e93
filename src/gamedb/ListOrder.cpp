#include "gamedb/ListOrder.h"

#include "gamedb/GameText.h"

#include <QCollator>
#include <QLocale>

#include <algorithm>
#include <charconv>
#include <numeric>

namespace gamedb {

ListLine parseListLine(std::string_view line)
{
    const auto tab = line.rfind('\t');
    if (tab == std::string_view::npos)
        return {fromGame(line), 0};
    int record = 0;
    std::from_chars(line.data() + tab + 1, line.data() + line.size(), record);
    return {fromGame(line.substr(0, tab)), record};
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
