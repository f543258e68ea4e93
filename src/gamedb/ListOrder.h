#pragma once
// The order of the record lists: alphabetical as a person expects it (letter case ignored,
// accented letters beside their base letters), the same on every machine whatever its locale.

#include <QCollator>
#include <QString>

#include <optional>
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

// The same order for one list, remembering the sort key of each record's line: a list refilled
// with lines it has seen (Reset, Search) compares keys instead of computing them again, and one
// new line finds its place among sorted ones without a sort.
class ListSorter {
public:
    ListSorter();
    void sort(std::vector<ListLine>& lines);
    bool less(const ListLine& a, const ListLine& b);

private:
    struct Known {
        QString name;
        std::optional<QCollatorSortKey> key;
    };
    void makeRoom(int record);
    const QCollatorSortKey& keyOf(const ListLine& line);

    QCollator collator_;
    std::vector<Known> known_; // by record number
};

} // namespace gamedb
