#include "widgets/AppConfig.h"

#include "gamedb/FileIo.h"

#include <QDir>

QString withoutRootSeparator(const QString& dir)
{
    if (dir == QDir::separator())
        return {};
    if (dir.size() == 3 && dir[1] == QLatin1Char(':') && (dir[2] == QLatin1Char('\\') || dir[2] == QLatin1Char('/')))
        return dir.left(2);
    return dir;
}

QString currentStartupDirectory()
{
    return withoutRootSeparator(QDir::toNativeSeparators(QDir::currentPath()));
}

AppConfig::AppConfig(QString startupDir, QString backupRoot)
    : startupDir_(std::move(startupDir)), ini_(startupDir_ + QDir::separator() + QStringLiteral("KRVX.ini")),
      gameFolder_(ini_.read(QStringLiteral("Path"), QStringLiteral("GXPath"), startupDir_)),
      backups_(std::move(backupRoot))
{
}

QString AppConfig::gameFile(const QString& name) const
{
    return gamedb::gameFilePath(gameFolder_, name);
}

bool AppConfig::gameFileExists(const QString& name) const
{
    return gamedb::gameFileExists(gameFolder_, name);
}
