#include "gamedb/Backups.h"

#include "gamedb/Database.h"
#include "gamedb/FileIo.h"
#include "gamedb/Formats.h"
#include "gamedb/GameError.h"
#include "gamedb/HallOfFame.h"
#include "gamedb/SavedGames.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <QStandardPaths>

#include <algorithm>
#include <tuple>

namespace gamedb {
namespace {

const QString kTimeFormat = QStringLiteral("yyyy-MM-dd HH-mm-ss");

// Letters, digits and a few marks: a name every file system takes, Windows' included.
QString safeName(const QString& text)
{
    QString out;
    for (const QChar c : text) {
        const bool plain = c.unicode() < 128 && (c.isLetterOrNumber() || c == QLatin1Char(' ') ||
                                                 c == QLatin1Char('-') || c == QLatin1Char('_'));
        out += plain ? c : QLatin1Char('_');
    }
    return out.trimmed().right(40);
}

std::uint32_t fnv1a(const std::string& bytes)
{
    std::uint32_t h = 2166136261u;
    for (const char c : bytes) {
        h ^= static_cast<unsigned char>(c);
        h *= 16777619u;
    }
    return h;
}

QString copyName(const QString& file, const QDateTime& time, int number)
{
    QString name = file + QLatin1Char(' ') + time.toString(kTimeFormat);
    if (number > 1)
        name += QStringLiteral(" (%1)").arg(number);
    return name + QStringLiteral(".bak");
}

const QRegularExpression& copyPattern()
{
    static const QRegularExpression re(
        QStringLiteral(R"(^(.+) (\d{4}-\d\d-\d\d \d\d-\d\d-\d\d)(?: \((\d+)\))?\.bak$)"));
    return re;
}

bool earlier(const Backups::Copy& a, const Backups::Copy& b)
{
    return std::tie(a.time, a.number) < std::tie(b.time, b.number);
}

// A copy as its name tells it. Its stamp's digits sort as its time does, and reading them needs
// none of the local-time lookups that make a QDateTime per name cost a quarter of a millisecond.
struct Named {
    QString file;
    QString stamp;
    int number;
    QString path;
};

bool validStamp(const QString& stamp)
{
    auto part = [&stamp](int at, int n) { return QStringView(stamp).mid(at, n).toInt(); };
    return QDate(part(0, 4), part(5, 2), part(8, 2)).isValid() &&
           QTime(part(11, 2), part(14, 2), part(17, 2)).isValid();
}

// Oldest first.
std::vector<Named> namedIn(const QString& folder)
{
    std::vector<Named> out;
    for (const QString& name : QDir(folder).entryList(QDir::Files)) {
        const QRegularExpressionMatch m = copyPattern().match(name);
        if (!m.hasMatch() || !validStamp(m.captured(2)))
            continue;
        const int number = m.captured(3).isEmpty() ? 1 : m.captured(3).toInt();
        out.push_back({m.captured(1), m.captured(2), number, folder + QLatin1Char('/') + name});
    }
    std::sort(out.begin(), out.end(),
              [](const Named& a, const Named& b) { return std::tie(a.stamp, a.number) < std::tie(b.stamp, b.number); });
    return out;
}

bool named(const QString& file, std::string_view name)
{
    return file.compare(QString::fromLatin1(name.data(), static_cast<qsizetype>(name.size())), Qt::CaseInsensitive) ==
           0;
}

const DbFormat* databaseNamed(const QString& file)
{
    for (const DbFormat* f : allFormats()) {
        if (named(file, f->fileName))
            return f;
    }
    return nullptr;
}

// Read as the window that opens the file reads it; bytes is the whole file, or for a database at
// least its start.
int check(const QString& file, const Bytes& bytes, std::uint64_t size)
{
    if (const DbFormat* f = databaseNamed(file))
        return databaseRecords(*f, bytes, size);
    if (named(file, "Hiscores.bin"))
        decodeHallOfFame(bytes);
    else if (named(file, "Gamess16.idx") || named(file, "Gamess8.idx"))
        decodeSavedGames(bytes);
    return -1;
}

} // namespace

QString Backups::defaultRoot()
{
    return QStandardPaths::writableLocation(QStandardPaths::AppDataLocation) + QStringLiteral("/backups");
}

QString Backups::folderFor(const QString& gameFolder) const
{
    // One folder per game folder, however it was spelled (a link, another letter case on
    // Windows): its one spelling names it, readably by its last part and uniquely by a hash.
    const QString absolute = canonicalFolder(gameFolder);
    QString readable = safeName(absolute.section(QLatin1Char('/'), -1));
    if (readable.isEmpty())
        readable = QStringLiteral("root");
    return root_ + QLatin1Char('/') + readable + QLatin1Char(' ') +
           QStringLiteral("%1").arg(fnv1a(nativePath(absolute)), 8, 16, QLatin1Char('0'));
}

void Backups::beforeSave(const QString& gameFolder, const QString& path, bool changedOnDisk)
{
    const std::string key = nativePath(path);
    const std::lock_guard lock(mutex_);
    if (!changedOnDisk && copied_.count(key))
        return;
    if (gameFileExists(folderOf(path), nameOf(path))) // a missing file has nothing to keep
        copy(gameFolder, path);
    copied_.insert(key);
}

void Backups::copy(const QString& gameFolder, const QString& path)
{
    const QString file = nameOf(path);
    const QString folder = folderFor(gameFolder);
    try {
        const Bytes bytes = readGameFile(path, -1, Access::ReadOnly);
        if (!QDir().mkpath(folder))
            throw GameError("the folder cannot be made");
        QDateTime now = QDateTime::currentDateTime();
        now = now.addMSecs(-now.time().msec()); // names hold whole seconds
        // After the newest copy of that second, never in a gap that pruning left: the number
        // orders copies within a second.
        const QString stamp = now.toString(kTimeFormat);
        int number = 1;
        for (const Named& c : namedIn(folder)) {
            if (c.file == file && c.stamp == stamp)
                number = std::max(number, c.number + 1);
        }
        writeGameFile(folder + QLatin1Char('/') + copyName(file, now, number), bytes);
    } catch (const GameError& e) {
        throw GameError("The backup of " + file.toStdString() + " could not be written to " + nativePath(folder) +
                        " (" + e.what() + "); nothing was saved");
    }
    prune(folder, file);
}

void Backups::prune(const QString& folder, const QString& file) const
{
    std::vector<Named> copies;
    for (Named& c : namedIn(folder)) {
        if (c.file == file)
            copies.push_back(std::move(c));
    }
    // The oldest stays, so that a run of scripted saves never pushes out the original.
    for (std::size_t i = 1; i + kKeptNewest < copies.size(); ++i)
        QFile::remove(copies[i].path);
}

std::vector<Backups::Copy> Backups::list(const QString& gameFolder) const
{
    return copiesIn(folderFor(gameFolder));
}

std::vector<Backups::Copy> Backups::copiesIn(const QString& folder)
{
    std::vector<Copy> out;
    const QDir dir(folder);
    for (const QFileInfo& info : dir.entryInfoList(QDir::Files)) {
        const QRegularExpressionMatch m = copyPattern().match(info.fileName());
        if (!m.hasMatch())
            continue;
        const QDateTime time = QDateTime::fromString(m.captured(2), kTimeFormat);
        if (!time.isValid())
            continue;
        const int number = m.captured(3).isEmpty() ? 1 : m.captured(3).toInt();
        out.push_back({m.captured(1), time, number, info.filePath(), info.size()});
    }
    std::sort(out.begin(), out.end(), earlier);
    return out;
}

int Backups::checkCopy(const Copy& copy)
{
    // A database's head and size tell it all; the other files are small.
    const DbFormat* f = databaseNamed(copy.file);
    const long long head = f ? static_cast<long long>(f->recordsStart()) : -1;
    return check(copy.file, readGameFile(copy.path, head, Access::ReadOnly), static_cast<std::uint64_t>(copy.size));
}

void Backups::restore(const QString& gameFolder, const Copy& copy)
{
    const Bytes bytes = readGameFile(copy.path, -1, Access::ReadOnly);
    try {
        check(copy.file, bytes, bytes.size());
    } catch (const GameError& e) {
        throw GameError("The copy of " + copy.file.toStdString() + " from " +
                        copy.time.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")).toStdString() + " no longer loads (" +
                        e.what() + "); nothing was restored");
    }
    const QString path = gameFilePath(gameFolder, copy.file);
    const FolderLock lock(gameFolder);
    beforeSave(gameFolder, path, true);
    writeGameFile(path, bytes);
}

} // namespace gamedb
