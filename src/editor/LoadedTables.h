#pragma once
// What each of the data editor's tables held when it was loaded or last saved, kept once per
// load (no copy per edit), and what has changed since: the Save page's summary and the changes
// window read it, and reverts put the loaded bytes back.

#include "gamedb/Changes.h"

#include <QObject>
#include <QString>

#include <array>
#include <optional>
#include <span>
#include <vector>

class Prompts;

namespace editor {

class RecordPage;

class LoadedTables : public QObject {
    Q_OBJECT
public:
    static constexpr int kTables = 3;

    // The managers', teams' and players' pages.
    LoadedTables(std::array<RecordPage*, kTables> pages, Prompts& prompts, QObject* parent = nullptr);

    RecordPage* page(int table) const { return pages_[static_cast<std::size_t>(table)]; }
    // "Managers", "Teams", "Players"
    QString name(int table) const;
    bool isLoaded(int table) const { return loaded_[static_cast<std::size_t>(table)].has_value(); }
    const gamedb::RecordTable& loaded(int table) const { return *loaded_[static_cast<std::size_t>(table)]; }

    // After a load or a successful save: the table as it is now is what it is compared with.
    void remember(int table);

    std::vector<gamedb::RecordChange> changes(int table) const;
    // "Players: 12 changed, 1 added, 2 deleted", "Players: no changes"; empty when not loaded.
    QString summary(int table) const;

    // Stores the record each loaded page shows; false when a value was refused, which is shown
    // unless quietly.
    bool storeShown(bool quietly = false);

    // Takes items of table back: the page stores its record first and then shows the reverted
    // table; the modified mark is cleared when nothing is left to save. A deleted record that no
    // longer fits is refused with the page's limit message.
    void revert(int table, std::span<const gamedb::RevertItem> items);
    // The table exactly as loaded, the same records in the same order, byte for byte.
    void revertAll(int table);

signals:
    // A table or what it is compared with changed.
    void changed(int table);

private:
    void follow(int table, int show);

    std::array<RecordPage*, kTables> pages_;
    Prompts& prompts_;
    std::array<std::optional<gamedb::RecordTable>, kTables> loaded_;
};

} // namespace editor
