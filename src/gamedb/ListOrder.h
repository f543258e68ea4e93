#pragma once
// The order of the record lists: alphabetical as a person expects it (letter case ignored,
// accented letters beside their base letters), the same on every machine whatever its locale.

#include <QString>

#include <string_view>
#include <vector>

namespace gamedb {

struct ListLine {
    QString name; // the visible part, before the tab
    int record;   // the number after the tab
};

class RecordTable;

// The list line of record number: its name(s) as shown, and the number behind the tab.
ListLine listLineOf(const RecordTable& table, int number);

void sortListLines(std::vector<ListLine>& lines);

} // namespace gamedb
