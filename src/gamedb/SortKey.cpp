#include "gamedb/SortKey.h"

#include <array>
#include <cstdint>

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

std::string sortKey(std::string_view gameBytes)
{
    std::string key;
    key.reserve(gameBytes.size() * 2 + 1);
    appendSortKey(gameBytes, key);
    return key;
}

} // namespace gamedb
