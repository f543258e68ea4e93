#pragma once
// Numbers in the game's databases are stored as base-128 digits, most significant first.
// The first digit may use all eight bits, so a k-digit number holds 0 .. 256*128^(k-1) - 1.

#include <cstdint>

namespace gamedb {

// Largest value the writer can produce in k digits (32767 for two, 536,870,911 for four).
constexpr std::uint32_t septetMax(int digits)
{
    std::uint32_t v = 256;
    for (int i = 1; i < digits; ++i)
        v *= 128;
    return v - 1;
}

// Every byte counts with its full value: the bytes 1, 144 read as 272.
inline std::uint32_t readSeptet(const std::uint8_t* p, int digits)
{
    std::uint32_t v = 0;
    for (int i = 0; i < digits; ++i)
        v = v * 128 + p[i];
    return v;
}

// Caller guarantees v <= septetMax(digits); every digit but the first then lies in 0..127.
inline void writeSeptet(std::uint8_t* p, int digits, std::uint32_t v)
{
    for (int i = digits - 1; i >= 0; --i) {
        if (i == 0) {
            p[0] = static_cast<std::uint8_t>(v);
        } else {
            p[i] = static_cast<std::uint8_t>(v % 128);
            v /= 128;
        }
    }
}

} // namespace gamedb
