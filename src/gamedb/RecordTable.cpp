#include "gamedb/RecordTable.h"

#include <algorithm>
#include <cassert>
#include <charconv>
#include <cstring>
#include <stdexcept>

namespace gamedb {

std::size_t RecordTable::offsetOf(int number) const
{
    if (number < 1 || number > count_)
        throw std::out_of_range("record number " + std::to_string(number) + " is not in the table");
    return static_cast<std::size_t>(number - 1) * format_->recordSize;
}

int RecordTable::append()
{
    if (full())
        throw std::logic_error("table is full");
    data_.resize(data_.size() + format_->recordSize, 0);
    return ++count_;
}

void RecordTable::remove(int number)
{
    const std::size_t s = format_->recordSize;
    if (number != count_)
        std::memcpy(record(number), record(count_), s);
    data_.resize(data_.size() - s);
    --count_;
}

std::string RecordTable::listLine(int number) const
{
    std::string line;
    appendListName(number, line);
    char digits[12];
    const auto end = std::to_chars(digits, digits + sizeof digits, number).ptr;
    line += '\t';
    line.append(digits, end);
    return line;
}

long long RecordTable::smallestFreeValue(const Field& field) const
{
    std::vector<long long> used;
    used.reserve(static_cast<std::size_t>(count_));
    for (int i = 1; i <= count_; ++i)
        used.push_back(readNumber(record(i), field));
    std::sort(used.begin(), used.end());
    long long candidate = 0;
    for (const long long v : used) {
        if (v == candidate)
            ++candidate;
        else if (v > candidate)
            break;
    }
    return candidate;
}

void RecordTable::assign(std::vector<std::uint8_t>&& records, int count)
{
    const std::size_t size = static_cast<std::size_t>(count) * format_->recordSize;
    assert(count >= 0 && count <= format_->capacity && records.size() >= size);
    records.resize(size);
    data_ = std::move(records);
    count_ = count;
}

void RecordTable::assign(const std::uint8_t* bytes, int count)
{
    assert(count >= 0 && count <= format_->capacity);
    data_.assign(bytes, bytes + static_cast<std::size_t>(count) * format_->recordSize);
    count_ = count;
}

} // namespace gamedb
