#include "gamedb/TeamDb.h"

#include "gamedb/CodeTables.h"
#include "gamedb/TextField.h"

namespace gamedb {
namespace {

using E = Encoding;

// In record order, laid out so that the layout reads as a table.
// clang-format off
constexpr Field kTeamFields[] = {
    {"TeID", 0, 4, E::Septet, "id"},
    {"TeLong0", 4, 35, E::Text, "long_name_eng"},   {"TeShort0", 39, 35, E::Text, "short_name_eng"},  {"TeDesc0", 74, 35, E::Text, "description_eng"},
    {"TeLong1", 109, 35, E::Text, "long_name_ita"}, {"TeShort1", 144, 35, E::Text, "short_name_ita"}, {"TeDesc1", 179, 35, E::Text, "description_ita"},
    {"TeLong2", 214, 35, E::Text, "long_name_ger"}, {"TeShort2", 249, 35, E::Text, "short_name_ger"}, {"TeDesc2", 284, 35, E::Text, "description_ger"},
    {"TeLong3", 319, 35, E::Text, "long_name_spa"}, {"TeShort3", 354, 35, E::Text, "short_name_spa"}, {"TeDesc3", 389, 35, E::Text, "description_spa"},
    {"TeLong4", 424, 35, E::Text, "long_name_fre"}, {"TeShort4", 459, 35, E::Text, "short_name_fre"}, {"TeDesc4", 494, 35, E::Text, "description_fre"},
    {"TeLong5", 529, 35, E::Text, "long_name_por"}, {"TeShort5", 564, 35, E::Text, "short_name_por"}, {"TeDesc5", 599, 35, E::Text, "description_por"},
    {"TeLong6", 634, 35, E::Text, "long_name_dut"}, {"TeShort6", 669, 35, E::Text, "short_name_dut"}, {"TeDesc6", 704, 35, E::Text, "description_dut"},
    {"TeNat", 739, 35, E::Text, "nation"},
    {"TeReg", 774, 35, E::Text, "region", &kRegionCodes},
    {"TeDev", 809, 1, E::Byte, "developed"},
    {"TeX", 810, 1, E::Byte, "x_coord"},
    {"TeY", 811, 1, E::Byte, "y_coord"},
    {"TeEU", 812, 1, E::Flag, "eu_member"},
    {"TeTCoe", 813, 4, E::Septet, "t_coefficient"},
    {"TeCity", 817, 35, E::Text, "city"},
    {"TeStad", 852, 35, E::Text, "stadium"},
    {"TeCap", 887, 4, E::Septet, "capacity"},
    {"TeSeat", 891, 4, E::Septet, "seating"},
    {"TeFollow", 895, 1, E::Byte, "following"},
    {"TeRep", 896, 1, E::Byte, "reputation"},
    {"TeBlend", 897, 1, E::Byte, "blend"},
    {"TeForm", 898, 10, E::Text, "formation", &kFormationCodes},
    {"TeStyle", 908, 10, E::Text, "style", &kStyleCodes},
    {"TeColor0", 918, 15, E::Text, "colour_secondary_home", &kColourCodes},
    {"TeColor1", 933, 15, E::Text, "colour_primary_home", &kColourCodes},
    {"TeColor2", 948, 15, E::Text, "colour_secondary_away", &kColourCodes},
    {"TeColor3", 963, 15, E::Text, "colour_primary_away", &kColourCodes},
    {"TeDivi", 978, 15, E::Text, "division", &kDivisionCodes},
    {"TeLDivi", 993, 15, E::Text, "last_division", &kLastDivisionCodes},
    {"TeLPos", 1008, 1, E::Byte, "last_position"},
    {"TeCash", 1009, 4, E::Septet, "cash"},
    {"TeLStd", 1013, 1, E::Byte, "league_standard"},
    {"TeU21", 1014, 1, E::Flag, "u21_team"},
    {"TeBT", 1015, 1, E::Flag, "b_team"},
    {"TeEsse", 1016, 1, E::Flag, "essential"},
    {"TeTrRec", 1017, 4, E::Septet, "transfer_record"},
    {"TeGend0", 1021, 1, E::Byte, "gender_ita"},
    {"TeGend1", 1022, 1, E::Byte, "gender_fre"},
    {"TeGend2", 1023, 1, E::Byte, "gender_por"},
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
