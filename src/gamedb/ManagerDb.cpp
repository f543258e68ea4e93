#include "gamedb/ManagerDb.h"

#include "gamedb/TextField.h"

namespace gamedb {
namespace {

using E = Encoding;

// In record order, laid out so that the layout reads as a table.
// clang-format off
constexpr Field kManagerFields[] = {
    {"MaID", 0, 4, E::Septet},
    {"MaForN", 4, 20, E::Text},
    {"MaEft", 24, 35, E::Text},
    {"MaNat", 59, 35, E::Text},
    {"MaAr", 94, 1, E::Byte},
    {"MaFClub", 95, 35, E::Text},
    {"MaMot", 130, 2, E::Septet},
    {"MaJudge", 132, 2, E::Septet},
    {"MaRep", 134, 2, E::Septet},
    {"MaForma", 136, 10, E::Text},
    {"MaStyle", 146, 10, E::Text},
    {"MaClub", 156, 35, E::Text},
    {"MaJoin", 191, 10, E::Text},
    {"MaNatio", 201, 35, E::Text},
    {"MaStart", 236, 10, E::Text},
    {"MaPlay", 246, 1, E::Flag},
    {"MaBoard", 247, 1, E::Byte},
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
