#pragma once
// The order of the record lists: alphabetical as a person expects it (letter case ignored,
// accented letters beside their base letters), by sort keys of the game's bytes, so the order is
// the same on every machine whatever its locale or collator.

#include <QString>

#include <array>
#include <cstdint>
#include <vector>

namespace gamedb {

struct ListLine {
    QString name; // the visible part, before the tab
    int record;   // the number after the tab
    // The first 16 bytes of the name's sort key, for a comparison without the whole key; the rest
    // is made from the name when two lines begin alike.
    std::array<std::uint64_t, 2> prefix = {};
    bool keyed = false; // prefix holds the key's start
};

class RecordTable;

// The list line of record number: its name(s) as shown, the number behind the tab, its key's start.
ListLine listLineOf(const RecordTable& table, int number);

// Gives a line made from a name alone the start of its key.
void ensureKey(ListLine& line);
// By key, ties in record order; lines without a key get one first.
void sortListLines(std::vector<ListLine>& lines);
// The same order for two lines that have their keys.
bool listLess(const ListLine& a, const ListLine& b);

} // namespace gamedb
