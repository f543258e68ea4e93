#pragma once
// A database held in memory as its records' file bytes, numbered 1..count.

#include "gamedb/DbFormat.h"

#include <cstdint>
#include <string>
#include <vector>

namespace gamedb {

class RecordTable {
public:
    explicit RecordTable(const DbFormat& format) : format_(&format) {}

    const DbFormat& format() const { return *format_; }
    int count() const { return count_; }
    int capacity() const { return format_->capacity; }
    bool full() const { return count_ >= format_->capacity; }

    std::uint8_t* record(int number) { return data_.data() + offsetOf(number); }
    const std::uint8_t* record(int number) const { return data_.data() + offsetOf(number); }

    // A new, all-zero record at the end; returns its number. The caller checks full() first.
    int append();
    // The last record moves into the freed place and takes its number.
    void remove(int number);

    // "name(s)\tnumber"
    std::string listLine(int number) const;
    // The visible part of the list line, the name(s), appended to out.
    void appendListName(int number, std::string& out) const { format_->appendListName(record(number), out); }

    // Smallest value from 0 upward that no record holds in the field.
    long long smallestFreeValue(const Field& field) const;

    // Replaces the records with count records read from bytes (count * recordSize of them).
    void assign(const std::uint8_t* bytes, int count);
    // The same, taking over a buffer that starts with the records (as read from the file).
    void assign(std::vector<std::uint8_t>&& records, int count);
    const std::vector<std::uint8_t>& bytes() const { return data_; }

private:
    std::size_t offsetOf(int number) const;

    const DbFormat* format_;
    int count_ = 0;
    std::vector<std::uint8_t> data_;
};

} // namespace gamedb
