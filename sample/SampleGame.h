#pragma once
// A synthetic game folder of our own making: invented names, varied values, every field in range.

#include <QString>

namespace sample {

enum class Size {
    Moderate, // enough to browse: a few hundred records
    Full,     // every table at its capacity
};

// Writes the game's files into folder (which must exist). Deterministic for a given size.
void writeSampleGame(const QString& folder, Size size);

// Mgdata.db1 alone, with count managers.
void writeSampleManagers(const QString& folder, int count);

// Tmdata.db1 alone: the first teams are national teams, the rest clubs (SampleDatabases.cpp).
void writeSampleTeams(const QString& folder, int count);

// Players.db1 alone; players belong to the clubs of a team file of the given size.
void writeSamplePlayers(const QString& folder, int count, int teams);

// Hiscores.bin: 30 entries, points falling from the top, the last two negative (SampleTools.cpp).
void writeSampleHallOfFame(const QString& folder);

// Gamess16.idx with some slots named and some free; no Gamess8.idx (SampleTools.cpp).
void writeSampleSaveIndex(const QString& folder);

} // namespace sample
