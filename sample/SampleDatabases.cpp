// Synthetic manager, team and player databases: invented clubs and nations, every code field holding a code
// the pages know, every rating within its range.
#include "sample/SampleGame.h"

#include "gamedb/Database.h"
#include "gamedb/FileIo.h"
#include "gamedb/ManagerDb.h"
#include "gamedb/PlayerDb.h"
#include "gamedb/TeamDb.h"
#include "sample/Names.h"

#include <QDir>

#include <algorithm>
#include <array>
#include <cstdio>
#include <string>
#include <unordered_map>
#include <vector>

namespace sample {
namespace {

using gamedb::Bytes;
using gamedb::Field;
using gamedb::fieldNamed;
using gamedb::RecordTable;

constexpr std::array<const char*, 19> kFormations = {"VDEF",  "532VD", "SWPVD", "442D",  "451D", "CNTN", "532N",
                                                     "352SW", "352N",  "AJAX",  "442N",  "CMSN", "DIAN", "433N",
                                                     "532A",  "442A",  "433VA", "424VA", "VATT"};
constexpr std::array<const char*, 4> kStyles = {"CONT", "PASS", "DRCT", "LONG"};
constexpr std::array<const char*, 53> kColours = {
    "BLA",   "WHI",   "DWHI",  "VLRED", "LRED",  "RED",   "DRED",  "VDRED", "VLORA", "LORA",  "ORA",
    "DORA",  "VDORA", "VLYEL", "LYEL",  "YEL",   "DYEL",  "VDYEL", "VLGRN", "LGRN",  "GRN",   "DGRN",
    "VDGRN", "VLBLU", "LBLU",  "BLU",   "DBLU",  "VDBLU", "VLPUR", "LPUR",  "PUR",   "DPUR",  "VDPUR",
    "VLGRY", "LGRY",  "GRY",   "DGRY",  "VDGRY", "VLCYA", "LCYA",  "CYA",   "DCYA",  "VDCYA", "VLTRQ",
    "LTRQ",  "TRQ",   "DTRQ",  "VDTRQ", "VLWIN", "LWIN",  "WIN",   "DWIN",  "VDWIN"};
constexpr std::array<const char*, 40> kDivisions = {
    "BD1", "BD2", "BNL", "DD1", "DD2", "DD3", "DD4", "DNL", "EPR", "ED1", "ED2", "ED3", "ENL", "FD1",
    "FD2", "FNL", "GD1", "GD2", "GNL", "HD1", "HD2", "HNL", "ISA", "ISB", "ISC", "ND1", "ND2", "ND3",
    "ND4", "NNL", "PD1", "PD2", "PNL", "SP1", "SP2", "SPN", "WD1", "WD2", "WD3", "WNL"};
constexpr std::array<const char*, 23> kRegions = {
    "Asia",           "Balkan",         "Brazil",        "Caribbean",       "Central Africa", "Central America",
    "Central Europe", "Eastern Europe", "France",        "Germany",         "Great Britain",  "Italy",
    "Low Countries",  "Middle East",    "North Africa",  "Northern Europe", "Oceania",        "Russia",
    "Scandinavia",    "South Africa",   "South America", "Southern Europe", "Spain"};
// The club's name as each of the seven languages writes it: UK, Italian, German, Spanish, French,
// Portuguese, Dutch.
constexpr std::array<const char*, 7> kClubPrefix = {"", "AC ", "FC ", "CD ", "AS ", "SC ", "VV "};
constexpr std::array<const char*, 5> kGrounds = {" Park", " Stadium", " Arena", " Road", " Ground"};

// A header block that looks like one but means nothing: the game never shows it to us either.
Bytes headerPrefix(std::size_t headerSize, std::uint32_t seed)
{
    Bytes prefix(headerSize + 4, 0);
    const char tag[] = "KORVEX SAMPLE DATABASE";
    std::copy(std::begin(tag), std::end(tag) - 1, prefix.begin());
    Rng rng(seed);
    for (std::size_t i = 32; i < headerSize; ++i)
        prefix[i] = static_cast<std::uint8_t>(rng.below(256));
    prefix[headerSize + 2] = 0x05; // carried word
    prefix[headerSize + 3] = 0x21;
    return prefix;
}

void writeTable(const QString& folder, const RecordTable& table, std::uint32_t seed)
{
    const auto& f = table.format();
    const Bytes bytes = gamedb::encodeDatabase(table, headerPrefix(f.headerSize, seed));
    gamedb::writeGameFile(folder + QDir::separator() + QString::fromUtf8(f.fileName), bytes);
}

// Each field is looked up by name once per table, not once per record.
class Writer {
public:
    explicit Writer(RecordTable& t) : t_(t) {}
    void text(int n, const std::string& control, const std::string& s)
    {
        gamedb::writeText(t_.record(n), field(control), s);
    }
    void number(int n, const std::string& control, long long v)
    {
        gamedb::writeNumber(t_.record(n), field(control), v);
    }

private:
    const Field& field(const std::string& control)
    {
        auto [it, fresh] = fields_.try_emplace(control, nullptr);
        if (fresh)
            it->second = &fieldNamed(t_.format().schema, control);
        return *it->second;
    }
    RecordTable& t_;
    std::unordered_map<std::string, const Field*> fields_;
};

std::string nationAdjective(const std::string& nation)
{
    const std::string stem = nation.substr(0, nation.find(' '));
    return stem.back() == 'a' ? stem + "n" : stem + "ian";
}

// Nations first (one record each), then clubs. Both generators use it, so players play for clubs
// that the team file holds.
struct TeamName {
    std::string name;
    std::string town;
    std::string nation;
    bool national;
};

std::vector<TeamName> teamNames(int count)
{
    Rng rng(2300);
    std::vector<TeamName> out;
    out.reserve(static_cast<std::size_t>(count));
    Rng nations(77);
    std::vector<std::string> seen;
    // The invented nations, each once, as national teams.
    for (int tries = 0; tries < 400 && static_cast<int>(out.size()) < count && seen.size() < 12; ++tries) {
        const std::string nation = nationality(nations);
        if (std::find(seen.begin(), seen.end(), nation) != seen.end())
            continue;
        seen.push_back(nation);
        out.push_back({nation, nation, nation, true});
    }
    while (static_cast<int>(out.size()) < count) {
        const std::string town = townName(rng);
        std::string name = clubName(rng);
        name.replace(0, name.find(' '), town);
        const std::string nation =
            seen.empty() ? nationality(rng) : seen[static_cast<std::size_t>(rng.below(static_cast<int>(seen.size())))];
        out.push_back({name, town, nation, false});
    }
    return out;
}

std::string twoDigits(int v)
{
    char buf[8];
    std::snprintf(buf, sizeof buf, "%02d", v % 100);
    return buf;
}

} // namespace

void writeSampleManagers(const QString& folder, int count)
{
    Rng rng(1000);
    RecordTable t(gamedb::kManagerFormat);
    Writer w(t);
    for (int i = 0; i < count; ++i) {
        const int n = t.append();
        w.number(n, "MaID", i);
        w.text(n, "MaForN", firstName(rng));
        w.text(n, "MaEft", lastName(rng));
        w.text(n, "MaNat", nationality(rng));
        w.number(n, "MaAr", rng.below(30));
        w.text(n, "MaFClub", clubName(rng));
        w.number(n, "MaMot", rng.below(201));
        w.number(n, "MaJudge", rng.below(201));
        w.number(n, "MaRep", rng.below(201));
        w.text(n, "MaForma", pick(rng, kFormations));
        w.text(n, "MaStyle", pick(rng, kStyles));
        if (rng.below(10) < 8) {
            w.text(n, "MaClub", clubName(rng));
            w.text(n, "MaJoin", monthYear(rng));
        }
        if (rng.below(10) == 0) {
            w.text(n, "MaNatio", nationality(rng));
            w.text(n, "MaStart", monthYear(rng));
        }
        w.number(n, "MaPlay", rng.below(12) == 0 ? 1 : 0);
        w.number(n, "MaBoard", rng.below(101));
    }
    writeTable(folder, t, 262);
}

void writeSampleTeams(const QString& folder, int count)
{
    const std::vector<TeamName> names = teamNames(count);
    Rng rng(889);
    RecordTable t(gamedb::kTeamFormat);
    Writer w(t);
    for (int i = 0; i < count; ++i) {
        const TeamName& team = names[static_cast<std::size_t>(i)];
        const int n = t.append();
        w.number(n, "TeID", i);
        for (int lang = 0; lang < gamedb::kTeamLanguages; ++lang) {
            const std::string k = std::to_string(lang);
            w.text(n, "TeLong" + k, team.national ? team.name : kClubPrefix[std::size_t(lang)] + team.name);
            w.text(n, "TeShort" + k, team.town);
            if (team.national)
                w.text(n, "TeDesc" + k, nationAdjective(team.nation));
        }
        w.text(n, "TeNat", team.nation);
        w.text(n, "TeReg", pick(rng, kRegions));
        w.number(n, "TeDev", 1 + rng.below(3));
        w.number(n, "TeX", rng.below(256));
        w.number(n, "TeY", rng.below(256));
        w.number(n, "TeEU", rng.below(2));
        w.number(n, "TeTCoe", team.national ? rng.below(60) : 0);
        w.text(n, "TeCity", team.town);
        w.text(n, "TeStad", team.town + pick(rng, kGrounds));
        const int capacity = 2000 + rng.below(88001);
        w.number(n, "TeCap", capacity);
        w.number(n, "TeSeat", capacity / 4 + rng.below(capacity - capacity / 4 + 1));
        w.number(n, "TeFollow", 1 + rng.below(255));
        w.number(n, "TeRep", 1 + rng.below(20));
        w.number(n, "TeBlend", 1 + rng.below(20));
        w.text(n, "TeForm", pick(rng, kFormations));
        w.text(n, "TeStyle", pick(rng, kStyles));
        for (int c = 0; c < 4; ++c)
            w.text(n, "TeColor" + std::to_string(c), pick(rng, kColours));
        w.text(n, "TeDivi", pick(rng, kDivisions));
        w.text(n, "TeLDivi", pick(rng, kDivisions));
        w.number(n, "TeLPos", team.national ? 0 : 1 + rng.below(24));
        w.number(n, "TeCash", rng.below(40000));
        w.number(n, "TeLStd", 1 + rng.below(20));
        w.number(n, "TeU21", team.national && rng.below(4) == 0 ? 1 : 0);
        w.number(n, "TeBT", !team.national && rng.below(15) == 0 ? 1 : 0);
        w.number(n, "TeEsse", rng.below(6) == 0 ? 1 : 0);
        // Now and then the largest record the page lets a user type.
        w.number(n, "TeTrRec", rng.below(50) == 0 ? 99999999 : 1000 * rng.below(12000));
        for (int g = 0; g < 3; ++g)
            w.number(n, "TeGend" + std::to_string(g), rng.below(3));
    }
    writeTable(folder, t, 889);
}

void writeSamplePlayers(const QString& folder, int count, int teams)
{
    const std::vector<TeamName> clubs = teamNames(teams);
    Rng rng(660);
    RecordTable t(gamedb::kPlayerFormat);
    Writer w(t);
    static const char* const kFlags[] = {"PlGK",  "PlSw",  "PlDef",   "PlAnc",  "PlMid",
                                         "PlSup", "PlAtt", "PlRight", "PlLeft", "PlCentral"};
    for (int i = 0; i < count; ++i) {
        const int n = t.append();
        w.number(n, "PlID", i);
        w.text(n, "PlFName", firstName(rng));
        w.text(n, "PlSName", lastName(rng));
        const TeamName club = clubs.empty()
                                  ? TeamName{clubName(rng), "", nationality(rng), false}
                                  : clubs[static_cast<std::size_t>(rng.below(static_cast<int>(clubs.size())))];
        w.text(n, "PlNation", rng.below(5) == 0 ? nationality(rng) : club.nation);
        const int caps = rng.below(4) == 0 ? rng.below(121) : 0;
        w.number(n, "PlCaps", caps);
        w.number(n, "PlGoals", caps ? rng.below(caps / 3 + 1) : 0);
        if (!club.national)
            w.text(n, "PlClub", club.name);
        const int birthYear = 62 + rng.below(20);
        w.text(n, "PlDOB",
               twoDigits(1 + rng.below(28)) + "." + twoDigits(1 + rng.below(12)) + "." + twoDigits(birthYear));
        w.number(n, "PlAge", 97 - birthYear);
        const int joined = std::min(97, birthYear + 17 + rng.below(8));
        w.text(n, "PlJDate", twoDigits(1 + rng.below(12)) + "." + twoDigits(joined));
        w.text(n, "PlCEnds", twoDigits(1 + rng.below(12)) + "." + twoDigits(98 + rng.below(5)));

        // One position played, sometimes a second one tried, and a side.
        const int main = rng.below(7);
        w.number(n, kFlags[main], 2);
        if (rng.below(3) == 0)
            w.number(n, kFlags[(main + 1 + rng.below(6)) % 7], 1);
        if (main != 0) {
            const int side = rng.below(4);
            w.number(n, kFlags[7 + (side == 3 ? 2 : side)], 2);
            if (side == 3)
                w.number(n, kFlags[7 + rng.below(2)], 1);
        }

        const int ability = 1 + rng.below(200);
        w.number(n, "PlMSk1", ability);
        w.number(n, "PlMSk2", rng.below(8) == 0 ? -1 : ability + rng.below(201 - ability));
        w.number(n, "PlMSk3", rng.below(201));
        for (int s = 1; s <= 24; ++s)
            w.number(n, "PlSk" + std::to_string(s), 1 + rng.below(20));
    }
    writeTable(folder, t, 660);
}

} // namespace sample
