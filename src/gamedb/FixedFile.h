#pragma once
// The side tools' files: a fixed number of bytes holding 80-byte zero-padded names (and, in the
// hall of fame, points). Read whole, edited in memory, written whole.

#include "gamedb/FileIo.h"
#include "gamedb/GameError.h"
#include "gamedb/GameText.h"
#include "gamedb/TextField.h"

#include <QString>

#include <cstdint>

namespace gamedb {

inline constexpr std::size_t kNameWidth = 80;

// The first size bytes of the file; a shorter file is refused. Later bytes are not read.
inline Bytes readFixedFile(const QString& path, std::size_t size)
{
    Bytes data = readGameFile(path, static_cast<long long>(size));
    if (data.size() < size)
        throw GameError(kReadBeyondEnd);
    return data;
}

// Up to the first zero byte, or all 80 bytes when the field has none.
inline QString readName(const Bytes& data, std::size_t offset)
{
    return fromGame(displayText(data.data() + offset, kNameWidth));
}

// The name cut at 80 bytes, then zeros to the end of the field: never a byte into the next one.
inline void writeName(Bytes& data, std::size_t offset, const QString& name)
{
    const auto bytes = toGame(name);
    if (!bytes)
        throw GameError("'" + name.toStdString() + "' holds a character the game cannot store");
    assignText(data.data() + offset, kNameWidth, *bytes);
}

inline std::int32_t readInt32(const Bytes& data, std::size_t offset)
{
    std::uint32_t v = 0;
    for (int i = 3; i >= 0; --i)
        v = (v << 8) | data[offset + static_cast<std::size_t>(i)];
    return static_cast<std::int32_t>(v);
}

inline void writeInt32(Bytes& data, std::size_t offset, std::int32_t value)
{
    auto v = static_cast<std::uint32_t>(value);
    for (int i = 0; i < 4; ++i, v >>= 8)
        data[offset + static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(v & 0xFF);
}

} // namespace gamedb
