#include "sample/Names.h"

#include <array>
#include <cstdio>

namespace sample {
namespace {

constexpr std::array<const char*, 24> kStart = {"Bra",  "Kor", "Vel", "Tam", "Dro", "Esk", "Fal", "Gun",
                                                "Hal",  "Iv",  "Jor", "Lun", "Mar", "Nes", "Ost", "Pel",
                                                "Quen", "Ros", "Sav", "Tor", "Ul",  "Vad", "Wen", "Zar"};
constexpr std::array<const char*, 16> kMiddle = {"a",  "e",  "i",  "o",  "u",  "an", "el", "or",
                                                 "in", "ar", "ev", "ul", "is", "om", "ad", "ir"};
constexpr std::array<const char*, 16> kEnd = {"son", "ek", "ard", "ini", "ov",   "sen", "ez", "mann",
                                              "ley", "ak", "ius", "to",  "berg", "ais", "ic", "dal"};
constexpr std::array<const char*, 14> kFirstEnd = {"o",  "an", "ek", "is", "im", "or", "en",
                                                   "ux", "ir", "as", "e",  "io", "al", "\xe9"};
constexpr std::array<const char*, 12> kNations = {"Valdoria", "Ostermark",     "Kelvaria", "Brannos",
                                                  "Sorvenia", "Tamaric Isles", "Lunesia",  "Eskarr",
                                                  "Pellavia", "Norvund",       "Quessa",   "Drovania"};
constexpr std::array<const char*, 10> kClubWords = {"United",   "Athletic", "Rovers", "Wanderers", "City",
                                                    "Sporting", "Olympic",  "Albion", "Dynamo",    "Town"};

} // namespace

std::string firstName(Rng& rng)
{
    return std::string(pick(rng, kStart)) + pick(rng, kFirstEnd);
}

std::string lastName(Rng& rng)
{
    std::string s = std::string(pick(rng, kStart)) + pick(rng, kMiddle) + pick(rng, kEnd);
    if (rng.below(20) == 0)
        s = std::string(pick(rng, kStart)) + "-" + s;
    return s;
}

std::string nationality(Rng& rng)
{
    return pick(rng, kNations);
}

std::string townName(Rng& rng)
{
    return std::string(pick(rng, kStart)) + pick(rng, kMiddle) + (rng.below(2) ? "ford" : "holm");
}

std::string clubName(Rng& rng)
{
    return townName(rng) + " " + pick(rng, kClubWords);
}

std::string monthYear(Rng& rng)
{
    char buf[24];
    std::snprintf(buf, sizeof buf, "%02d.%02d", 1 + rng.below(12), 85 + rng.below(13));
    return buf;
}

} // namespace sample
