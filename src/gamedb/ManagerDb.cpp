#include "gamedb/ManagerDb.h"

#include "gamedb/CodeTables.h"
#include "gamedb/TextField.h"

namespace gamedb {
namespace {

using E = Encoding;

// In record order, laid out so that the layout reads as a table.
// clang-format off
constexpr Field kManagerFields[] = {
    {"MaID", 0, 4, E::Septet, "id"},
    {"MaForN", 4, 20, E::Text, "first_name"},
    {"MaEft", 24, 35, E::Text, "last_name"},
    {"MaNat", 59, 35, E::Text, "nationality"},
    {"MaAr", 94, 1, E::Byte, "years_as_manager"},
    {"MaFClub", 95, 35, E::Text, "favoured_club"},
    {"MaMot", 130, 2, E::Septet, "motivating"},
    {"MaJudge", 132, 2, E::Septet, "judgement"},
    {"MaRep", 134, 2, E::Septet, "reputation"},
    {"MaForma", 136, 10, E::Text, "formation", &kFormationCodes},
    {"MaStyle", 146, 10, E::Text, "style", &kStyleCodes},
    {"MaClub", 156, 35, E::Text, "club"},
    {"MaJoin", 191, 10, E::Text, "joined_club", nullptr, DateForm::MonthYear},
    {"MaNatio", 201, 35, E::Text, "national_job"},
    {"MaStart", 236, 10, E::Text, "national_job_started", nullptr, DateForm::MonthYear},
    {"MaPlay", 246, 1, E::Flag, "player_manager"},
    {"MaBoard", 247, 1, E::Byte, "board_confidence"},
};
// clang-format on
static_assert(tilesRecord(kManagerFields, 248));

void managerListName(const std::uint8_t* r, std::string& out)
{
    out += listText(r + 24, 35);
    out += ", ";
    out += listText(r + 4, 20);
}

} // namespace

const DbFormat kManagerFormat{
    "Mgdata.db1", "managers",       262, 248, 1000, "Loading Manager Data", "Saving Manager Data", kManagerFields,
    true,         &managerListName,
};

} // namespace gamedb
