#include "widgets/LoadedFile.h"

#include "widgets/Prompts.h"

bool LoadedFile::mayOverwrite(Prompts& prompts, QWidget* parent, const QString& path) const
{
    if (gamedb::stampFile(path) == stamp_)
        return true;
    const QString question = QStringLiteral("%1 was changed by another program after it was loaded. Overwrite it?")
                                 .arg(gamedb::nameOf(path));
    return prompts.confirm(parent, question) == Prompts::Answer::Yes;
}
