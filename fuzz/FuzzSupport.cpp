#include "fuzz/FuzzSupport.h"

#include "gamedb/Database.h"
#include "gamedb/Formats.h"
#include "gamedb/GameError.h"
#include "sample/SampleGame.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace fuzz {

void broken(std::string_view rule, std::string_view detail)
{
    std::fprintf(stderr, "\n*** round-trip rule broken: %.*s\n", static_cast<int>(rule.size()), rule.data());
    if (!detail.empty())
        std::fprintf(stderr, "*** %.*s\n", static_cast<int>(detail.size()), detail.data());
    std::abort();
}

const QString& scratchFolder()
{
    static QTemporaryDir dir(QDir::tempPath() + QStringLiteral("/korvex-fuzz-XXXXXX"));
    static const QString path = [] {
        require(dir.isValid(), "a scratch folder can be made");
        return dir.path();
    }();
    return path;
}

void writeFile(const QString& path, std::span<const std::uint8_t> bytes)
{
    QFile f(path);
    const bool ok = f.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
                    f.write(reinterpret_cast<const char*>(bytes.data()), static_cast<qint64>(bytes.size())) ==
                        static_cast<qint64>(bytes.size());
    require(ok, "the scratch file can be written");
}

gamedb::Bytes readFile(const QString& path)
{
    QFile f(path);
    require(f.open(QIODevice::ReadOnly), "the scratch file can be read");
    const QByteArray a = f.readAll();
    return gamedb::Bytes(a.begin(), a.end());
}

bool loadFromBytes(gamedb::RecordTable& table, std::span<const std::uint8_t> file)
{
    const QString folder = scratchFolder();
    writeFile(folder + QLatin1Char('/') + QString::fromUtf8(table.format().fileName), file);
    gamedb::NoProgress progress;
    gamedb::NoPage page;
    try {
        gamedb::loadDatabase(table, folder, progress, page);
    } catch (const gamedb::GameError&) {
        return false;
    }
    return true;
}

bool sameRecords(const gamedb::RecordTable& a, const gamedb::RecordTable& b)
{
    if (a.count() != b.count())
        return false;
    for (int i = 1; i <= a.count(); ++i) {
        if (std::memcmp(a.record(i), b.record(i), a.format().recordSize) != 0)
            return false;
    }
    return true;
}

void writeFixture(const QString& folder, const gamedb::DbFormat& format)
{
    const std::string_view noun = format.recordNoun;
    if (noun == "managers")
        sample::writeSampleManagers(folder, 5);
    else if (noun == "teams")
        sample::writeSampleTeams(folder, 4);
    else
        sample::writeSamplePlayers(folder, 6, 4);
}

const gamedb::DbFormat& formatNamed(std::string_view noun)
{
    const gamedb::DbFormat* format = gamedb::formatNamed(noun);
    require(format != nullptr, "the target names one of the databases");
    return *format;
}

} // namespace fuzz
