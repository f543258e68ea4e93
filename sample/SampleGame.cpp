#include "sample/SampleGame.h"

#include "gamedb/Database.h"
#include "gamedb/FileIo.h"
#include "gamedb/ManagerDb.h"
#include "sample/Names.h"

#include <QDir>

namespace sample {
namespace {

using gamedb::Bytes;
using gamedb::fieldNamed;
using gamedb::RecordTable;

// A header block that looks like one but means nothing: the game never shows it to us either.
Bytes headerPrefix(std::size_t headerSize, std::uint32_t seed)
{
    Bytes prefix(headerSize + 4, 0);
    const char tag[] = "KORVEX SAMPLE DATABASE";
    std::copy(std::begin(tag), std::end(tag) - 1, prefix.begin());
    Rng rng(seed);
    for (std::size_t i = 32; i < headerSize; ++i)
        prefix[i] = static_cast<std::uint8_t>(rng.below(256));
    prefix[headerSize + 2] = 0x05;  // carried word
    prefix[headerSize + 3] = 0x21;
    return prefix;
}

void writeTable(const QString& folder, const RecordTable& table, std::uint32_t seed)
{
    const auto& f = table.format();
    const Bytes prefix = headerPrefix(f.headerSize, seed);
    const Bytes bytes = gamedb::encodeDatabase(table, prefix);
    gamedb::writeGameFile(folder + QDir::separator() + QString::fromUtf8(f.fileName), bytes);
}

void setText(RecordTable& t, int n, const char* control, const std::string& text)
{
    gamedb::writeText(t.record(n), fieldNamed(t.format().schema, control), text);
}

void setNumber(RecordTable& t, int n, const char* control, long long v)
{
    gamedb::writeNumber(t.record(n), fieldNamed(t.format().schema, control), v);
}

} // namespace

void writeSampleManagers(const QString& folder, int count)
{
    static const char* const kFormations[] = {"VDEF", "532VD", "SWPVD", "442D", "451D", "CNTN", "532N",
                                              "352SW", "352N", "AJAX", "442N", "CMSN", "DIAN", "433N",
                                              "532A", "442A", "433VA", "424VA", "VATT"};
    static const char* const kStyles[] = {"CONT", "PASS", "DRCT", "LONG"};
    Rng rng(1000);
    RecordTable t(gamedb::kManagerFormat);
    for (int i = 0; i < count; ++i) {
        const int n = t.append();
        setNumber(t, n, "MaID", i);
        setText(t, n, "MaForN", firstName(rng));
        setText(t, n, "MaEft", lastName(rng));
        setText(t, n, "MaNat", nationality(rng));
        setNumber(t, n, "MaAr", rng.below(30));
        setText(t, n, "MaFClub", clubName(rng));
        setNumber(t, n, "MaMot", rng.below(201));
        setNumber(t, n, "MaJudge", rng.below(201));
        setNumber(t, n, "MaRep", rng.below(201));
        setText(t, n, "MaForma", kFormations[rng.below(19)]);
        setText(t, n, "MaStyle", kStyles[rng.below(4)]);
        if (rng.below(10) < 8) {
            setText(t, n, "MaClub", clubName(rng));
            setText(t, n, "MaJoin", monthYear(rng));
        }
        if (rng.below(10) == 0) {
            setText(t, n, "MaNatio", nationality(rng));
            setText(t, n, "MaStart", monthYear(rng));
        }
        setNumber(t, n, "MaPlay", rng.below(12) == 0 ? 1 : 0);
        setNumber(t, n, "MaBoard", rng.below(101));
    }
    writeTable(folder, t, 262);
}

void writeSampleGame(const QString& folder, Size size)
{
    const bool full = size == Size::Full;
    writeSampleManagers(folder, full ? 1000 : 120);
    const int teams = full ? 2300 : 300;
    writeSampleTeams(folder, teams);
    writeSamplePlayers(folder, full ? 20000 : 2000, teams);
    writeSampleHallOfFame(folder);
    writeSampleSaveIndex(folder);
}

} // namespace sample
