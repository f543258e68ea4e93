#pragma once
// A synthetic game folder of our own making: invented names, varied values, every field in range.

#include <QString>

namespace sample {

enum class Size {
    Moderate,  // enough to browse: a few hundred records
    Full,      // every table at its capacity
};

// Writes the game's files into folder (which must exist). Deterministic for a given size.
void writeSampleGame(const QString& folder, Size size);

// Mgdata.db1 alone, with count managers.
void writeSampleManagers(const QString& folder, int count);

} // namespace sample
