#include "editor/LoadedTables.h"

#include "editor/RecordPage.h"
#include "widgets/Prompts.h"

#include <QStringList>

namespace editor {

LoadedTables::LoadedTables(std::array<RecordPage*, kTables> pages, Prompts& prompts, QObject* parent)
    : QObject(parent), pages_(pages), prompts_(prompts)
{
    for (int i = 0; i < kTables; ++i)
        connect(page(i), &RecordPage::tableEdited, this, [this, i] { emit changed(i); });
}

QString LoadedTables::name(int table) const
{
    const std::string_view noun = page(table)->table().format().recordNoun;
    QString text = QString::fromLatin1(noun.data(), static_cast<qsizetype>(noun.size()));
    if (!text.isEmpty())
        text[0] = text[0].toUpper();
    return text;
}

void LoadedTables::remember(int table)
{
    loaded_[static_cast<std::size_t>(table)] = page(table)->table();
    emit changed(table);
}

std::vector<gamedb::RecordChange> LoadedTables::changes(int table) const
{
    if (!isLoaded(table))
        return {};
    return gamedb::changesBetween(loaded(table), page(table)->table());
}

QString LoadedTables::summary(int table) const
{
    if (!isLoaded(table))
        return {};
    const gamedb::ChangeCount n = gamedb::countOf(changes(table));
    if (n.none())
        return name(table) + QStringLiteral(": no changes");
    QStringList parts;
    if (n.changed)
        parts << QStringLiteral("%1 changed").arg(n.changed);
    if (n.added)
        parts << QStringLiteral("%1 added").arg(n.added);
    if (n.deleted)
        parts << QStringLiteral("%1 deleted").arg(n.deleted);
    return name(table) + QStringLiteral(": ") + parts.join(QStringLiteral(", "));
}

bool LoadedTables::storeShown(bool quietly)
{
    bool ok = true;
    for (int i = 0; i < kTables; ++i) {
        if (isLoaded(i))
            ok = (quietly ? page(i)->storeShownQuietly() : page(i)->storeShown()) && ok;
    }
    return ok;
}

void LoadedTables::revert(int table, std::span<const gamedb::RevertItem> items)
{
    RecordPage* p = page(table);
    // What the user typed goes into the table first; the page then shows what the revert left
    // and stores nothing of what it showed before.
    if (!p->storeShown())
        return;
    const gamedb::RevertResult r = gamedb::revertChanges(p->table(), loaded(table), items, p->shownRecord());
    follow(table, r.follow);
    if (r.refused > 0)
        prompts_.notice(p, p->limitMessage());
}

void LoadedTables::revertAll(int table)
{
    RecordPage* p = page(table);
    const int shown = p->shownRecord();
    p->table() = loaded(table);
    follow(table, shown);
}

void LoadedTables::follow(int table, int show)
{
    RecordPage* p = page(table);
    p->showChangedTable(show);
    // After showing: a page may count what showing a record does to its boxes as an edit.
    if (changes(table).empty())
        p->clearModified();
    else
        p->setModified();
}

} // namespace editor
