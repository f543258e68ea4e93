#include "gamedb/Schema.h"

#include "gamedb/GameError.h"
#include "gamedb/Septet.h"
#include "gamedb/TextField.h"

#include <stdexcept>

namespace gamedb {

const Field& fieldNamed(Schema schema, std::string_view control)
{
    for (const Field& f : schema) {
        if (f.control == control)
            return f;
    }
    throw std::logic_error("no field " + std::string(control));
}

bool isNumeric(Encoding e)
{
    return e != Encoding::Text;
}

Range rangeOf(const Field& f)
{
    switch (f.encoding) {
    case Encoding::Septet:
        return {0, septetMax(f.width)};
    case Encoding::Byte:
        return {0, 255};
    case Encoding::Flag:
        return {0, 1};
    case Encoding::PositionFlag:
        return {0, 2};
    case Encoding::Rating:
        return {0, 32767};
    case Encoding::SignedRating:
        // -128 would need a high byte of -1, which reads back as 32640.
        return {-127, 32767};
    case Encoding::Text:
        break;
    }
    return {0, 0};
}

long long readNumber(const std::uint8_t* record, const Field& f)
{
    const std::uint8_t* p = record + f.offset;
    switch (f.encoding) {
    case Encoding::Septet:
        return readSeptet(p, f.width);
    case Encoding::Byte:
    case Encoding::Flag:
        return p[0];
    case Encoding::PositionFlag:
        return p[0] <= 1 ? p[0] : 2;
    case Encoding::Rating:
        return p[0] * 128LL + p[1];
    case Encoding::SignedRating:
        return p[0] * 128LL + static_cast<std::int8_t>(p[1]);
    case Encoding::Text:
        break;
    }
    throw std::logic_error("not a number field");
}

void writeNumber(std::uint8_t* record, const Field& f, long long value)
{
    const Range r = rangeOf(f);
    if (value < r.min || value > r.max) {
        throw GameError("'" + std::to_string(value) + "' does not fit this field: allowed are " +
                        std::to_string(r.min) + " to " + std::to_string(r.max));
    }
    std::uint8_t* p = record + f.offset;
    switch (f.encoding) {
    case Encoding::Septet:
        writeSeptet(p, f.width, static_cast<std::uint32_t>(value));
        return;
    case Encoding::Byte:
    case Encoding::Flag:
    case Encoding::PositionFlag:
        p[0] = static_cast<std::uint8_t>(value);
        return;
    case Encoding::Rating:
    case Encoding::SignedRating: {
        const long long high = value / 128; // truncates toward zero
        p[0] = static_cast<std::uint8_t>(high);
        p[1] = static_cast<std::uint8_t>((value - 128 * high) & 0xFF);
        return;
    }
    case Encoding::Text:
        break;
    }
    throw std::logic_error("not a number field");
}

std::string_view readText(const std::uint8_t* record, const Field& f)
{
    return displayText(record + f.offset, f.width);
}

void writeText(std::uint8_t* record, const Field& f, std::string_view text)
{
    assignText(record + f.offset, f.width, text);
}

void canonicalise(std::uint8_t* record, Schema schema)
{
    for (const Field& f : schema) {
        if (f.encoding != Encoding::Septet)
            continue;
        const std::uint32_t v = readSeptet(record + f.offset, f.width);
        if (v <= septetMax(f.width))
            writeSeptet(record + f.offset, f.width, v);
    }
}

} // namespace gamedb
