#pragma once
// What a window read from one of the game's files, so that its save can tell whether another
// program (the game, the command line, a second editor) has changed the file since.

#include "gamedb/FileIo.h"
#include "widgets/ToolContext.h"

#include <QString>

class QWidget;

class LoadedFile {
public:
    LoadedFile() = default;
    // Takes the file's stamp now: call it before reading, so that a change between the stamp and
    // the read counts as a change rather than going unseen. A missing file is remembered as such.
    explicit LoadedFile(const QString& path) : stamp_(gamedb::stampFile(path)) {}
    // The stamp of the very bytes a read took (a StampedReader's), which nothing can come between.
    explicit LoadedFile(const gamedb::FileStamp& read) : stamp_(read) {}

    // Call under the game folder's lock, just before path (the file the save replaces, also
    // after the game folder was changed) is written. False when the file holds another
    // program's change and the user did not answer Yes to overwriting it. Otherwise the file as
    // it is on disk is backed up first (before the first save of the run, and again over
    // another program's change); a backup that fails throws, and the save must not go on.
    bool readyToReplace(ToolContext ctx, QWidget* parent, const QString& path) const;
    // After a save: the file now holds these bytes.
    void wrote(std::span<const std::uint8_t> bytes) { stamp_ = gamedb::stampOf(bytes); }
    void wrote(const gamedb::FileStamp& stamp) { stamp_ = stamp; }

private:
    gamedb::FileStamp stamp_;
};
