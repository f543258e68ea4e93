#include "gamedb/PlayerDb.h"

#include "gamedb/TextField.h"

#include <cstring>

namespace gamedb {
namespace {

using E = Encoding;

// In record order, laid out so that the layout reads as a table.
// clang-format off
constexpr Field kPlayerFields[] = {
    {"PlID", 0, 4, E::Septet},
    {"PlFName", 4, 30, E::Text},
    {"PlSName", 34, 35, E::Text},
    {"PlNation", 69, 35, E::Text},
    {"PlCaps", 104, 1, E::Byte},
    {"PlGoals", 105, 1, E::Byte},
    {"PlClub", 106, 35, E::Text},
    {"PlJDate", 141, 10, E::Text},
    {"PlCEnds", 151, 10, E::Text},
    {"PlDOB", 161, 13, E::Text},
    {"PlAge", 174, 1, E::Byte},
    {"PlGK", 175, 1, E::PositionFlag},
    {"PlSw", 176, 1, E::PositionFlag},
    {"PlDef", 177, 1, E::PositionFlag},
    {"PlAnc", 178, 1, E::PositionFlag},
    {"PlMid", 179, 1, E::PositionFlag},
    {"PlSup", 180, 1, E::PositionFlag},
    {"PlAtt", 181, 1, E::PositionFlag},
    {"PlRight", 182, 1, E::PositionFlag},
    {"PlLeft", 183, 1, E::PositionFlag},
    {"PlCentral", 184, 1, E::PositionFlag},
    {"PlMSk1", 185, 2, E::Rating},
    {"PlMSk2", 187, 2, E::SignedRating},
    {"PlMSk3", 189, 2, E::Rating},
    {"PlSk1", 191, 1, E::Byte},
    {"PlSk2", 192, 1, E::Byte},
    {"PlSk3", 193, 1, E::Byte},
    {"PlSk4", 194, 1, E::Byte},
    {"PlSk5", 195, 1, E::Byte},
    {"PlSk6", 196, 1, E::Byte},
    {"PlSk7", 197, 1, E::Byte},
    {"PlSk8", 198, 1, E::Byte},
    {"PlSk9", 199, 1, E::Byte},
    {"PlSk10", 200, 1, E::Byte},
    {"PlSk11", 201, 1, E::Byte},
    {"PlSk12", 202, 1, E::Byte},
    {"PlSk13", 203, 1, E::Byte},
    {"PlSk14", 204, 1, E::Byte},
    {"PlSk15", 205, 1, E::Byte},
    {"PlSk16", 206, 1, E::Byte},
    {"PlSk17", 207, 1, E::Byte},
    {"PlSk18", 208, 1, E::Byte},
    {"PlSk19", 209, 1, E::Byte},
    {"PlSk20", 210, 1, E::Byte},
    {"PlSk21", 211, 1, E::Byte},
    {"PlSk22", 212, 1, E::Byte},
    {"PlSk23", 213, 1, E::Byte},
    {"PlSk24", 214, 1, E::Byte},
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
