#include "gamedb/SortKey.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstdint>
#include <cstring>
#include <iterator>

namespace gamedb {
namespace {

struct ByteWeights {
    std::uint8_t primary[3];   // 0 for none
    std::uint8_t secondary[3]; // 0 for none
};

struct Contraction {
    std::uint8_t first;
    std::uint8_t second;
    ByteWeights weights;
};

// kWeights and kContractions, generated once from the collator on Linux (CollationGen.cpp).
#include "gamedb/CollationWeights.inc"

constexpr std::array<bool, 256> kStartsContraction = [] {
    std::array<bool, 256> starts{};
    for (const Contraction& c : kContractions)
        starts[c.first] = true;
    return starts;
}();

// A unit's weights as the key's loops take them: each level's weights side by side, then zeros,
// so that a level can be copied four bytes at a time.
struct Packed {
    std::array<std::array<std::uint8_t, 4>, 2> weights; // [0] primary, [1] secondary
    std::array<std::uint8_t, 2> counts;
};

constexpr Packed pack(const ByteWeights& w)
{
    Packed p{};
    for (std::size_t k = 0; k < 3 && w.primary[k] != 0; ++k)
        p.weights[0][p.counts[0]++] = w.primary[k];
    for (std::size_t k = 0; k < 3 && w.secondary[k] != 0; ++k)
        p.weights[1][p.counts[1]++] = w.secondary[k];
    return p;
}

constexpr std::array<Packed, 256> kPacked = [] {
    std::array<Packed, 256> packed{};
    for (std::size_t b = 0; b < packed.size(); ++b)
        packed[b] = pack(kWeights[b]);
    return packed;
}();

constexpr std::array<Packed, std::size(kContractions)> kPackedContractions = [] {
    std::array<Packed, std::size(kContractions)> packed{};
    for (std::size_t c = 0; c < packed.size(); ++c)
        packed[c] = pack(kContractions[c].weights);
    return packed;
}();

constexpr std::array<bool, 256> kEndsContraction = [] {
    std::array<bool, 256> ends{};
    for (const Contraction& c : kContractions)
        ends[c.second] = true;
    return ends;
}();

// Per byte its first base weight, and whether it is plain: one weight at each level, and no
// byte before it takes it into a pair.
struct First {
    std::uint8_t primary;
    bool plain;
};
constexpr std::array<First, 256> kFirst = [] {
    std::array<First, 256> first{};
    for (std::size_t b = 0; b < first.size(); ++b) {
        first[b].primary = kPacked[b].weights[0][0];
        first[b].plain = kPacked[b].counts[0] == 1 && kPacked[b].counts[1] == 1 && !kEndsContraction[b];
    }
    return first;
}();

// The weights of the unit at text[i], a byte or a pair weighed as one; i moves past it.
const ByteWeights& unitAt(std::string_view text, std::size_t& i)
{
    const auto b = static_cast<std::uint8_t>(text[i++]);
    if (kStartsContraction[b] && i < text.size()) {
        for (const Contraction& c : kContractions) {
            if (c.first == b && c.second == static_cast<std::uint8_t>(text[i])) {
                ++i;
                return c.weights;
            }
        }
    }
    return kWeights[b];
}

// The same, packed.
const Packed& packedAt(std::string_view text, std::size_t& i)
{
    const auto b = static_cast<std::uint8_t>(text[i++]);
    if (kStartsContraction[b] && i < text.size()) {
        for (std::size_t c = 0; c < std::size(kContractions); ++c) {
            if (kContractions[c].first == b && kContractions[c].second == static_cast<std::uint8_t>(text[i])) {
                ++i;
                return kPackedContractions[c];
            }
        }
    }
    return kPacked[b];
}

std::uint64_t bigEndian(const std::uint8_t* bytes)
{
    std::uint64_t v;
    std::memcpy(&v, bytes, sizeof v);
    if constexpr (std::endian::native == std::endian::little) {
#if defined(__GNUC__)
        v = __builtin_bswap64(v);
#else
        std::uint64_t swapped = 0;
        for (std::size_t i = 0; i < sizeof v; ++i, v >>= 8)
            swapped = swapped << 8 | (v & 0xFF);
        v = swapped;
#endif
    }
    return v;
}

// Lower than any weight: a text that is the start of another sorts first at each level.
constexpr char kLevelEnd = 0;

} // namespace

void appendSortKey(std::string_view gameBytes, std::string& key)
{
    // One weight per byte cannot give the collator's order ("a" before "á", but "áa" before
    // "ab"): every base letter counts before any accent.
    for (std::size_t i = 0; i < gameBytes.size();) {
        const ByteWeights& w = unitAt(gameBytes, i);
        for (const std::uint8_t p : w.primary) {
            if (p == 0)
                break;
            key += static_cast<char>(p);
        }
    }
    key += kLevelEnd;
    for (std::size_t i = 0; i < gameBytes.size();) {
        const ByteWeights& w = unitAt(gameBytes, i);
        for (const std::uint8_t s : w.secondary) {
            if (s == 0)
                break;
            key += static_cast<char>(s);
        }
    }
}

std::size_t sortKeyStart(std::string_view gameBytes, std::uint8_t* out, std::size_t size)
{
    std::size_t n = 0;
    for (std::size_t i = 0; i < gameBytes.size() && n < size;) {
        const ByteWeights& w = unitAt(gameBytes, i);
        for (std::size_t k = 0; k < 3 && w.primary[k] != 0 && n < size; ++k)
            out[n++] = w.primary[k];
    }
    if (n < size)
        out[n++] = static_cast<std::uint8_t>(kLevelEnd);
    for (std::size_t i = 0; i < gameBytes.size() && n < size;) {
        const ByteWeights& w = unitAt(gameBytes, i);
        for (std::size_t k = 0; k < 3 && w.secondary[k] != 0 && n < size; ++k)
            out[n++] = w.secondary[k];
    }
    return n;
}

std::array<std::uint64_t, 2> sortKeyStart16(std::string_view gameBytes)
{
    // Room for a unit's four bytes from the 16th on: the copies need no bound, and the zeros
    // they bring are the zeros after the key's end.
    std::array<std::uint8_t, 16 + 4> bytes{};
    const auto* text = reinterpret_cast<const std::uint8_t*>(gameBytes.data());
    const std::size_t size = gameBytes.size();
    // Most names are plain letters, one weight a level each: their weights are the key's bytes,
    // each found on its own rather than after the one before.
    const std::size_t head = std::min<std::size_t>(size, 16);
    bool plain = head == size || !kEndsContraction[text[head]]; // nor the byte after them
    for (std::size_t i = 0; i < head; ++i) {
        const First f = kFirst[text[i]];
        bytes[i] = f.primary;
        plain &= f.plain;
    }
    if (plain) {
        if (size < 16) {
            bytes[size] = static_cast<std::uint8_t>(kLevelEnd);
            for (std::size_t i = 0; i < size && size + 1 + i < 16; ++i)
                bytes[size + 1 + i] = kPacked[text[i]].weights[1][0];
        }
    } else {
        bytes = {};
        std::size_t n = 0;
        for (std::size_t level = 0; level < 2 && n < 16; ++level) {
            if (level == 1)
                bytes[n++] = static_cast<std::uint8_t>(kLevelEnd);
            for (std::size_t i = 0; i < size && n < 16;) {
                const Packed& w = packedAt(gameBytes, i);
                std::memcpy(bytes.data() + n, w.weights[level].data(), 4);
                n += w.counts[level];
            }
        }
    }
    return {bigEndian(bytes.data()), bigEndian(bytes.data() + 8)};
}

std::string sortKey(std::string_view gameBytes)
{
    std::string key;
    key.reserve(gameBytes.size() * 2 + 1);
    appendSortKey(gameBytes, key);
    return key;
}

} // namespace gamedb
