#include "gamedb/PlayerDb.h"

#include "gamedb/TextField.h"

#include <cstring>

namespace gamedb {
namespace {

using E = Encoding;

// In record order, laid out so that the layout reads as a table.
// clang-format off
constexpr Field kPlayerFields[] = {
    {"PlID", 0, 4, E::Septet, "id"},
    {"PlFName", 4, 30, E::Text, "first_name"},
    {"PlSName", 34, 35, E::Text, "second_name"},
    {"PlNation", 69, 35, E::Text, "nationality"},
    {"PlCaps", 104, 1, E::Byte, "caps"},
    {"PlGoals", 105, 1, E::Byte, "goals"},
    {"PlClub", 106, 35, E::Text, "club"},
    {"PlJDate", 141, 10, E::Text, "contract_started", nullptr, DateForm::MonthYear},
    {"PlCEnds", 151, 10, E::Text, "contract_ends", nullptr, DateForm::MonthYear},
    {"PlDOB", 161, 13, E::Text, "date_of_birth", nullptr, DateForm::DayMonthYear},
    {"PlAge", 174, 1, E::Byte, "age"},
    {"PlGK", 175, 1, E::PositionFlag, "goalkeeper"},
    {"PlSw", 176, 1, E::PositionFlag, "sweeper"},
    {"PlDef", 177, 1, E::PositionFlag, "defender"},
    {"PlAnc", 178, 1, E::PositionFlag, "anchor"},
    {"PlMid", 179, 1, E::PositionFlag, "midfielder"},
    {"PlSup", 180, 1, E::PositionFlag, "support"},
    {"PlAtt", 181, 1, E::PositionFlag, "attacker"},
    {"PlRight", 182, 1, E::PositionFlag, "right_sided"},
    {"PlLeft", 183, 1, E::PositionFlag, "left_sided"},
    {"PlCentral", 184, 1, E::PositionFlag, "central"},
    {"PlMSk1", 185, 2, E::Rating, "ability"},
    {"PlMSk2", 187, 2, E::SignedRating, "potential"},
    {"PlMSk3", 189, 2, E::Rating, "reputation"},
    {"PlSk1", 191, 1, E::Byte, "adaptability"},
    {"PlSk2", 192, 1, E::Byte, "aggression"},
    {"PlSk3", 193, 1, E::Byte, "big_occasion"},
    {"PlSk4", 194, 1, E::Byte, "character"},
    {"PlSk5", 195, 1, E::Byte, "consistency"},
    {"PlSk6", 196, 1, E::Byte, "creativity"},
    {"PlSk7", 197, 1, E::Byte, "determination"},
    {"PlSk8", 198, 1, E::Byte, "dirtiness"},
    {"PlSk9", 199, 1, E::Byte, "dribbling"},
    {"PlSk10", 200, 1, E::Byte, "flair"},
    {"PlSk11", 201, 1, E::Byte, "heading"},
    {"PlSk12", 202, 1, E::Byte, "influence"},
    {"PlSk13", 203, 1, E::Byte, "injury_proneness"},
    {"PlSk14", 204, 1, E::Byte, "marking"},
    {"PlSk15", 205, 1, E::Byte, "off_the_ball"},
    {"PlSk16", 206, 1, E::Byte, "pace"},
    {"PlSk17", 207, 1, E::Byte, "passing"},
    {"PlSk18", 208, 1, E::Byte, "positioning"},
    {"PlSk19", 209, 1, E::Byte, "set_pieces"},
    {"PlSk20", 210, 1, E::Byte, "shooting"},
    {"PlSk21", 211, 1, E::Byte, "stamina"},
    {"PlSk22", 212, 1, E::Byte, "strength"},
    {"PlSk23", 213, 1, E::Byte, "tackling"},
    {"PlSk24", 214, 1, E::Byte, "technique"},
};
// clang-format on
static_assert(tilesRecord(kPlayerFields, 215));

// "second, first"; room for the tab and record number that follow, so a load of 20000 players
// allocates once per line.
void playerListName(const std::uint8_t* r, std::string& out)
{
    out += listText(r + 34, 35);
    out += ", ";
    out += listText(r + 4, 30);
}

} // namespace

// Player records are kept byte for byte: only the page's store step writes canonical values.
const DbFormat kPlayerFormat{
    "Players.db1", "players",       660, 215, 20000, "Loading Player Data", "Saving Player Data", kPlayerFields,
    false,         &playerListName,
};

} // namespace gamedb
