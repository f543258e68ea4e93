// Writes CollationWeights.inc: for every byte of the game's code page, its weights at the two
// levels the lists compare (base letters, then accents), read once from the collator the lists
// used to call (ICU, English, letter case ignored, punctuation not ignored). Run it by hand when
// the order should follow another collator:
//   cmake --build BUILD --target korvex_collation_gen
//   BUILD/src/gamedb/korvex_collation_gen > src/gamedb/CollationWeights.inc

#include "gamedb/GameText.h"

#include <unicode/ucol.h>
#include <unicode/ucoleitr.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <map>
#include <string>
#include <vector>

namespace {

constexpr std::size_t kMaxWeights = 3;

struct Element {
    std::uint32_t primary;
    std::uint16_t secondary;
};

// The collation elements of one character: each 32-bit element holds the top of the primary and
// of the secondary weight, and a continuation (marked 0xC0 in its low byte) holds the rest.
std::vector<Element> elementsOf(UCollator* collator, const UChar* text, int length)
{
    UErrorCode status = U_ZERO_ERROR;
    UCollationElements* it = ucol_openElements(collator, text, length, &status);
    std::vector<Element> out;
    for (;;) {
        const std::int32_t ce = ucol_next(it, &status);
        if (ce == UCOL_NULLORDER || U_FAILURE(status))
            break;
        const auto u = static_cast<std::uint32_t>(ce);
        if ((u & 0xC0) == 0xC0 && !out.empty()) {
            out.back().primary |= u >> 16;
            out.back().secondary = static_cast<std::uint16_t>(out.back().secondary | ((u >> 8) & 0xFF));
            continue;
        }
        out.push_back({u & 0xFFFF0000u, static_cast<std::uint16_t>(u & 0xFF00)});
    }
    ucol_closeElements(it);
    if (U_FAILURE(status)) {
        std::fprintf(stderr, "collation elements: %s\n", u_errorName(status));
        std::exit(1);
    }
    return out;
}

void collect(const std::vector<Element>& elements, std::vector<std::uint32_t>& primaries,
             std::vector<std::uint16_t>& secondaries)
{
    for (const Element& e : elements) {
        if (e.primary != 0)
            primaries.push_back(e.primary);
        if (e.secondary != 0)
            secondaries.push_back(e.secondary);
    }
}

// Equal as far as the two levels go: fully ignorable elements do not count.
bool sameElements(const std::vector<Element>& a, const std::vector<Element>& b)
{
    auto weighty = [](const std::vector<Element>& v) {
        std::vector<std::pair<std::uint32_t, std::uint16_t>> out;
        for (const Element& e : v) {
            if (e.primary != 0 || e.secondary != 0)
                out.emplace_back(e.primary, e.secondary);
        }
        return out;
    };
    return weighty(a) == weighty(b);
}

// Weights as ranks from 1: the order is all that a comparison needs, and a byte holds each.
template <class W> std::map<W, int> ranks(const std::vector<W>& weights)
{
    std::map<W, int> out;
    for (const W w : weights)
        out.emplace(w, 0);
    int next = 1;
    for (auto& [w, rank] : out)
        rank = next++;
    if (next > 256) {
        std::fprintf(stderr, "more than 255 weights at one level\n");
        std::exit(1);
    }
    return out;
}

} // namespace

int main()
{
    UErrorCode status = U_ZERO_ERROR;
    UCollator* collator = ucol_open("en_GB", &status);
    ucol_setAttribute(collator, UCOL_STRENGTH, UCOL_SECONDARY, &status);
    ucol_setAttribute(collator, UCOL_ALTERNATE_HANDLING, UCOL_NON_IGNORABLE, &status);
    ucol_setAttribute(collator, UCOL_NORMALIZATION_MODE, UCOL_ON, &status);
    if (U_FAILURE(status)) {
        std::fprintf(stderr, "collator: %s\n", u_errorName(status));
        return 1;
    }

    std::vector<std::vector<Element>> elements(256);
    std::vector<std::uint32_t> primaries;
    std::vector<std::uint16_t> secondaries;
    for (int b = 1; b < 256; ++b) {
        const char byte = static_cast<char>(b);
        const QString ch = gamedb::fromGame(std::string_view(&byte, 1));
        elements[b] = elementsOf(collator, reinterpret_cast<const UChar*>(ch.utf16()), static_cast<int>(ch.size()));
        collect(elements[b], primaries, secondaries);
    }
    // Pairs that the collator reads as one unit (a contraction, such as l with a middle dot).
    struct Contraction {
        int first;
        int second;
        std::vector<Element> elements;
    };
    std::vector<Contraction> contractions;
    for (int a = 1; a < 256; ++a) {
        for (int b = 1; b < 256; ++b) {
            const char bytes[] = {static_cast<char>(a), static_cast<char>(b)};
            const QString pair = gamedb::fromGame(std::string_view(bytes, 2));
            std::vector<Element> both =
                elementsOf(collator, reinterpret_cast<const UChar*>(pair.utf16()), static_cast<int>(pair.size()));
            std::vector<Element> apart = elements[a];
            apart.insert(apart.end(), elements[b].begin(), elements[b].end());
            if (!sameElements(both, apart)) {
                collect(both, primaries, secondaries);
                contractions.push_back({a, b, std::move(both)});
            }
        }
    }
    ucol_close(collator);
    const auto primaryRank = ranks(primaries);
    const auto secondaryRank = ranks(secondaries);

    std::printf("// Generated by CollationGen.cpp from the collator (ICU %s, en_GB, secondary strength,\n"
                "// punctuation not ignored); do not edit. Weights are ranks from 1 in their level's order,\n"
                "// 0 for none; a byte with none is ignored.\n\n",
                U_ICU_VERSION);
    auto weights = [&](const std::vector<Element>& elements, const char* what) {
        std::string p;
        std::string s;
        std::size_t np = 0;
        std::size_t ns = 0;
        for (const Element& e : elements) {
            if (e.primary != 0)
                p += (np++ ? ", " : "") + std::to_string(primaryRank.at(e.primary));
            if (e.secondary != 0)
                s += (ns++ ? ", " : "") + std::to_string(secondaryRank.at(e.secondary));
        }
        if (np > kMaxWeights || ns > kMaxWeights) {
            std::fprintf(stderr, "%s has more than %zu weights at a level\n", what, kMaxWeights);
            std::exit(1);
        }
        return "{{" + p + "}, {" + s + "}}";
    };
    std::printf("// Per byte.\nconstexpr ByteWeights kWeights[256] = {\n");
    for (int b = 0; b < 256; ++b)
        std::printf("    %s, // 0x%02X\n", weights(elements[b], "a byte").c_str(), b);
    std::printf("};\n\n// Pairs of bytes weighed as one.\nconstexpr Contraction kContractions[] = {\n");
    for (const Contraction& c : contractions)
        std::printf("    {0x%02X, 0x%02X, %s},\n", c.first, c.second, weights(c.elements, "a pair").c_str());
    std::printf("};\n");
    return 0;
}
