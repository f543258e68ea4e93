#include "sample/SampleGame.h"

#include "gamedb/FixedFile.h"
#include "sample/Names.h"

#include <QDir>

namespace sample {

void writeSampleHallOfFame(const QString& folder)
{
    constexpr std::size_t kRecord = 164;
    Rng rng(4920);
    gamedb::Bytes data(30 * kRecord, 0);
    for (std::size_t k = 0; k < 30; ++k) {
        const std::size_t at = k * kRecord;
        gamedb::assignText(data.data() + at, gamedb::kNameWidth, firstName(rng) + " " + lastName(rng));
        gamedb::assignText(data.data() + at + 80, gamedb::kNameWidth, clubName(rng));
        // Best first, falling away; the last two managers ended in debt.
        std::int32_t points = 9000 - static_cast<std::int32_t>(k) * 300 + rng.below(250);
        if (k >= 28)
            points = -1 - rng.below(400);
        gamedb::writeInt32(data, at + 160, points);
    }
    gamedb::writeGameFile(folder + QDir::separator() + QStringLiteral("Hiscores.bin"), data);
}

void writeSampleSaveIndex(const QString& folder)
{
    gamedb::Bytes data(7 * gamedb::kNameWidth, 0);
    Rng rng(560);
    // Slots 1, 2, 4 and 7 hold saved games; 3, 5 and 6 are free.
    for (std::size_t slot : {0u, 1u, 3u, 6u}) {
        const std::string name = clubName(rng) + " " + std::to_string(90 + rng.below(9));
        gamedb::assignText(data.data() + slot * gamedb::kNameWidth, gamedb::kNameWidth, name);
    }
    gamedb::writeGameFile(folder + QDir::separator() + QStringLiteral("Gamess16.idx"), data);
}

} // namespace sample
