#pragma once
// The program's one setting, the game folder, with the start-up directory that holds KRVX.ini.

#include "gamedb/Backups.h"
#include "widgets/IniFile.h"

#include <QString>

// A drive root is held without its separator: "C:\" becomes "C:", "/" becomes "".
QString withoutRootSeparator(const QString& dir);

// The current directory, native, with the root rule applied.
QString currentStartupDirectory();

class AppConfig {
public:
    // Binds KRVX.ini in startupDir and reads the game folder from it (the start-up directory
    // when file, section or key is missing; an empty value stays empty). Copies of the files the
    // windows replace go under backupRoot.
    explicit AppConfig(QString startupDir, QString backupRoot = gamedb::Backups::defaultRoot());

    const QString& startupDir() const { return startupDir_; }
    const IniFile& ini() const { return ini_; }

    const QString& gameFolder() const { return gameFolder_; }
    void setGameFolder(const QString& folder) { gameFolder_ = folder; }

    // The path of one of the game's files in the current game folder.
    QString gameFile(const QString& name) const;
    bool gameFileExists(const QString& name) const;

    // The copies kept of the files this run replaces.
    gamedb::Backups& backups() { return backups_; }

private:
    QString startupDir_;
    IniFile ini_;
    QString gameFolder_;
    gamedb::Backups backups_;
};
