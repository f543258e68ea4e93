#pragma once
// Copies of the game's files as they were before Korvex replaced them: one folder per game
// folder under a root (the application-data location's backups/), the oldest copy and the
// newest kKeptNewest of each file.

#include <QDateTime>
#include <QString>

#include <mutex>
#include <set>
#include <string>
#include <vector>

namespace gamedb {

class Backups {
public:
    static constexpr int kKeptNewest = 20;

    // The platform's application-data location + "/backups".
    static QString defaultRoot();

    explicit Backups(QString root) : root_(std::move(root)) {}
    const QString& root() const { return root_; }

    // The folder that holds the copies of gameFolder's files.
    QString folderFor(const QString& gameFolder) const;

    // Call under the game folder's lock, before path (a file of gameFolder) is replaced. Copies it
    // the first time in this run, and again whenever another program has changed it since it was
    // loaded (changedOnDisk). A file that does not exist needs no copy. Throws GameError when the
    // copy cannot be made: a save never goes on without its backup.
    void beforeSave(const QString& gameFolder, const QString& path, bool changedOnDisk);

    struct Copy {
        QString file;   // the game file's name
        QDateTime time; // when it was copied (to the second)
        int number;     // 1, or 2, 3, ... for copies within the same second
        QString path;
        long long size;
    };
    // The copies of gameFolder's files, oldest first.
    std::vector<Copy> list(const QString& gameFolder) const;

    // What a window would read from copy: a database's record count, or -1 for any other file.
    // Throws GameError when the copy cannot be read or would no longer load.
    static int checkCopy(const Copy& copy);
    // Puts copy back in place of its game file in gameFolder through the atomic replace, under
    // the folder's lock; the file it replaces is backed up first, so that the restore can be
    // undone. Throws GameError, the game file untouched, when the copy no longer loads.
    void restore(const QString& gameFolder, const Copy& copy);

private:
    void copy(const QString& gameFolder, const QString& path);
    void prune(const QString& folder, const QString& file) const;
    static std::vector<Copy> copiesIn(const QString& folder);

    QString root_;
    std::mutex mutex_;
    std::set<std::string> copied_; // the files copied in this run, by native path
};

} // namespace gamedb
