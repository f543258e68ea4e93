#pragma once
// The lists' order as bytes: a game text's sort key, built level by level from per-byte weights
// (base letters first, then accents) as a collator builds it. Keys compare as plain bytes, the
// same on every platform, and two texts that differ only in letter case have equal keys.

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace gamedb {

// Appends the sort key of the game text (bytes of the game's code page) to key.
void appendSortKey(std::string_view gameBytes, std::string& key);
std::string sortKey(std::string_view gameBytes);
// The key's first bytes, at most size of them, without making the rest; returns how many.
std::size_t sortKeyStart(std::string_view gameBytes, std::uint8_t* out, std::size_t size);
// The key's first 16 bytes as two big-endian words, zero after the key's end: comparing them
// compares those bytes.
std::array<std::uint64_t, 2> sortKeyStart16(std::string_view gameBytes);

} // namespace gamedb
