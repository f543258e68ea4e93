#include "gamedb/Formats.h"

#include "gamedb/ManagerDb.h"
#include "gamedb/PlayerDb.h"
#include "gamedb/TeamDb.h"

namespace gamedb {

std::span<const DbFormat* const> allFormats()
{
    static const DbFormat* const formats[] = {&kManagerFormat, &kTeamFormat, &kPlayerFormat};
    return formats;
}

const DbFormat* formatNamed(std::string_view noun)
{
    for (const DbFormat* f : allFormats()) {
        if (f->recordNoun == noun)
            return f;
    }
    return nullptr;
}

} // namespace gamedb
