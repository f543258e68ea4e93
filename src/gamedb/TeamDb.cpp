#include "gamedb/TeamDb.h"

#include "gamedb/TextField.h"

namespace gamedb {
namespace {

using E = Encoding;

// In record order, laid out so that the layout reads as a table.
// clang-format off
constexpr Field kTeamFields[] = {
    {"TeID", 0, 4, E::Septet},
    {"TeLong0", 4, 35, E::Text},   {"TeShort0", 39, 35, E::Text},  {"TeDesc0", 74, 35, E::Text},
    {"TeLong1", 109, 35, E::Text}, {"TeShort1", 144, 35, E::Text}, {"TeDesc1", 179, 35, E::Text},
    {"TeLong2", 214, 35, E::Text}, {"TeShort2", 249, 35, E::Text}, {"TeDesc2", 284, 35, E::Text},
    {"TeLong3", 319, 35, E::Text}, {"TeShort3", 354, 35, E::Text}, {"TeDesc3", 389, 35, E::Text},
    {"TeLong4", 424, 35, E::Text}, {"TeShort4", 459, 35, E::Text}, {"TeDesc4", 494, 35, E::Text},
    {"TeLong5", 529, 35, E::Text}, {"TeShort5", 564, 35, E::Text}, {"TeDesc5", 599, 35, E::Text},
    {"TeLong6", 634, 35, E::Text}, {"TeShort6", 669, 35, E::Text}, {"TeDesc6", 704, 35, E::Text},
    {"TeNat", 739, 35, E::Text},
    {"TeReg", 774, 35, E::Text},
    {"TeDev", 809, 1, E::Byte},
    {"TeX", 810, 1, E::Byte},
    {"TeY", 811, 1, E::Byte},
    {"TeEU", 812, 1, E::Flag},
    {"TeTCoe", 813, 4, E::Septet},
    {"TeCity", 817, 35, E::Text},
    {"TeStad", 852, 35, E::Text},
    {"TeCap", 887, 4, E::Septet},
    {"TeSeat", 891, 4, E::Septet},
    {"TeFollow", 895, 1, E::Byte},
    {"TeRep", 896, 1, E::Byte},
    {"TeBlend", 897, 1, E::Byte},
    {"TeForm", 898, 10, E::Text},
    {"TeStyle", 908, 10, E::Text},
    {"TeColor0", 918, 15, E::Text},
    {"TeColor1", 933, 15, E::Text},
    {"TeColor2", 948, 15, E::Text},
    {"TeColor3", 963, 15, E::Text},
    {"TeDivi", 978, 15, E::Text},
    {"TeLDivi", 993, 15, E::Text},
    {"TeLPos", 1008, 1, E::Byte},
    {"TeCash", 1009, 4, E::Septet},
    {"TeLStd", 1013, 1, E::Byte},
    {"TeU21", 1014, 1, E::Flag},
    {"TeBT", 1015, 1, E::Flag},
    {"TeEsse", 1016, 1, E::Flag},
    {"TeTrRec", 1017, 4, E::Septet},
    {"TeGend0", 1021, 1, E::Byte},
    {"TeGend1", 1022, 1, E::Byte},
    {"TeGend2", 1023, 1, E::Byte},
};
// clang-format on
static_assert(tilesRecord(kTeamFields, 1024));

// The UK long name, with room for the tab and record number that follow.
void teamListName(const std::uint8_t* r, std::string& out)
{
    out += listText(r + 4, 35);
}

} // namespace

const DbFormat kTeamFormat{
    "Tmdata.db1", "teams", 889, 1024, 2300, "Loading Team Data", "Saving Team Data", kTeamFields, true, &teamListName,
};

} // namespace gamedb
