#pragma once
// The order of the record lists: alphabetical as a person expects it (letter case ignored,
// accented letters beside their base letters), by sort keys of the game's bytes, so the order is
// the same on every machine whatever its locale or collator.

#include <QString>

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace gamedb {

class RecordTable;

// A record list's lines: each a record number and its name(s) as the game's bytes, which become
// text only when a view shows the line. The names share one buffer, so a list of 20000 records
// costs a few allocations, not one per line.
class ListLines {
public:
    std::size_t size() const { return lines_.size(); }
    bool empty() const { return lines_.empty(); }
    void clear();
    void reserve(std::size_t lines);

    // The line of record number of table, named as the table lists it.
    void add(const RecordTable& table, int number);
    // A line named by gameName (game bytes), not taken from a table.
    void add(std::string_view gameName, int number);

    // Into list order: by sort key, ties in record order.
    void sort();
    // Among lines in list order: the row where sort() would place a line, and its insertion
    // there.
    std::size_t rowFor(std::string_view gameName, int number) const;
    void insert(std::size_t row, std::string_view gameName, int number);

    int record(std::size_t row) const { return lines_[row].record; }
    std::string_view gameName(std::size_t row) const;
    // The name as the list shows it.
    QString name(std::size_t row) const;

    // A line: the first 16 bytes of its name's sort key as two big-endian words (most
    // comparisons end there; a whole key is made only for names that begin alike), where its
    // name lies in the names' buffer, and its record.
    struct Line {
        std::uint64_t high;
        std::uint64_t low;
        std::uint32_t nameAt;
        std::uint32_t nameSize;
        int record;
    };

private:
    void push(std::size_t nameAt, int number);
    std::string_view nameOf(const Line& line) const;

    std::string names_;
    std::vector<Line> lines_;
};

} // namespace gamedb
