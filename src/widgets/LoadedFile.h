#pragma once
// What a window read from one of the game's files, so that its save can tell whether another
// program (the game, the command line, a second editor) has changed the file since.

#include "gamedb/FileIo.h"

#include <QString>

class Prompts;
class QWidget;

class LoadedFile {
public:
    LoadedFile() = default;
    // Takes the file's stamp now: call it before reading, so that a change between the stamp and
    // the read counts as a change rather than going unseen. A missing file is remembered as such.
    explicit LoadedFile(const QString& path) : stamp_(gamedb::stampFile(path)) {}

    // True when the file at path (the file the save replaces, also after the game folder was
    // changed) holds what was loaded, or when the user answered Yes to overwriting it anyway.
    // Call it under the game folder's lock.
    bool mayOverwrite(Prompts& prompts, QWidget* parent, const QString& path) const;
    // After a save: the file now holds these bytes.
    void wrote(std::span<const std::uint8_t> bytes) { stamp_ = gamedb::stampOf(bytes); }
    void wrote(const gamedb::FileStamp& stamp) { stamp_ = stamp; }

private:
    gamedb::FileStamp stamp_;
};
