#include "sample/SampleGame.h"

namespace sample {

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
