#include "widgets/LoadedFile.h"

#include "widgets/AppConfig.h"
#include "widgets/Prompts.h"

bool LoadedFile::readyToReplace(ToolContext ctx, QWidget* parent, const QString& path) const
{
    const bool changed = gamedb::stampFile(path) != stamp_;
    if (changed) {
        const QString question =
            QStringLiteral("%1 was changed by another program after it was loaded. Overwrite it?")
                .arg(gamedb::nameOf(path));
        if (ctx.prompts.confirm(parent, question) != Prompts::Answer::Yes)
            return false;
    }
    ctx.config.backups().beforeSave(ctx.config.gameFolder(), path, changed);
    return true;
}
