#pragma once
// Invented names from made-up syllables; nothing here is a real person, club or country.

#include <cstdint>
#include <iterator>
#include <string>

namespace sample {

// A small deterministic generator (xorshift), the same on every machine.
class Rng {
public:
    explicit Rng(std::uint32_t seed) : s_(seed * 2654435761u + 1) {}
    std::uint32_t next()
    {
        s_ ^= s_ << 13;
        s_ ^= s_ >> 17;
        s_ ^= s_ << 5;
        return s_;
    }
    int below(int n) { return static_cast<int>(next() % static_cast<std::uint32_t>(n)); }

private:
    std::uint32_t s_;
};

template <class Array> auto pick(Rng& rng, const Array& from)
{
    return from[static_cast<std::size_t>(rng.below(static_cast<int>(std::size(from))))];
}

std::string firstName(Rng& rng);
std::string lastName(Rng& rng);
std::string nationality(Rng& rng);
std::string clubName(Rng& rng);
std::string townName(Rng& rng);
std::string monthYear(Rng& rng); // "mm.yy"

} // namespace sample
