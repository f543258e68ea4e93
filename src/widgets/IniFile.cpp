#include "widgets/IniFile.h"

#include "gamedb/FileIo.h"

#include <QFile>
#include <QStringList>

namespace {

constexpr int kMaxValue = 2047;

QString sectionName(const QString& line)
{
    const QString t = line.trimmed();
    if (t.startsWith(QLatin1Char('[')) && t.contains(QLatin1Char(']')))
        return t.mid(1, t.indexOf(QLatin1Char(']')) - 1).trimmed();
    return {};
}

bool isSection(const QString& line)
{
    const QString t = line.trimmed();
    return t.startsWith(QLatin1Char('[')) && t.contains(QLatin1Char(']'));
}

// The key of a "key=value" line, or empty for comments and other lines.
QString keyOf(const QString& line)
{
    const QString t = line.trimmed();
    if (t.startsWith(QLatin1Char(';')) || t.startsWith(QLatin1Char('#')))
        return {};
    const int eq = line.indexOf(QLatin1Char('='));
    return eq > 0 ? line.left(eq).trimmed() : QString();
}

QStringList readLines(const QString& path, bool* exists)
{
    QFile f(path);
    *exists = f.open(QIODevice::ReadOnly);
    if (!*exists)
        return {};
    QString text = QString::fromUtf8(f.readAll());
    text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    QStringList lines = text.split(QLatin1Char('\n'));
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    return lines;
}

} // namespace

QString IniFile::read(const QString& section, const QString& key, const QString& fallback) const
{
    bool exists = false;
    const QStringList lines = readLines(path_, &exists);
    bool inSection = false;
    for (const QString& line : lines) {
        if (isSection(line)) {
            inSection = sectionName(line).compare(section, Qt::CaseInsensitive) == 0;
            continue;
        }
        if (inSection && keyOf(line).compare(key, Qt::CaseInsensitive) == 0 && !keyOf(line).isEmpty()) {
            QString value = line.mid(line.indexOf(QLatin1Char('=')) + 1).trimmed();
            return value.left(kMaxValue);
        }
    }
    return fallback;
}

bool IniFile::write(const QString& section, const QString& key, const QString& value) const
{
    bool exists = false;
    QStringList lines = readLines(path_, &exists);
    if (!exists && QFile::exists(path_))
        return false; // there, but unreadable: rewriting it would lose what it holds

    const QString entry = key + QLatin1Char('=') + value;
    int sectionAt = -1;
    int insertAt = -1;
    bool done = false;
    for (int i = 0; i < lines.size() && !done; ++i) {
        if (isSection(lines[i])) {
            if (sectionAt >= 0)
                break;
            if (sectionName(lines[i]).compare(section, Qt::CaseInsensitive) == 0) {
                sectionAt = i;
                insertAt = i + 1;
            }
            continue;
        }
        if (sectionAt < 0)
            continue;
        if (keyOf(lines[i]).compare(key, Qt::CaseInsensitive) == 0 && !keyOf(lines[i]).isEmpty()) {
            lines[i] = entry;
            done = true;
        } else if (!lines[i].trimmed().isEmpty()) {
            insertAt = i + 1;
        }
    }
    if (!done) {
        if (sectionAt >= 0) {
            lines.insert(insertAt, entry);
        } else {
            lines << QLatin1Char('[') + section + QLatin1Char(']') << entry;
        }
    }
    const QByteArray bytes = (lines.join(QLatin1String("\r\n")) + QLatin1String("\r\n")).toUtf8();
    try {
        gamedb::writeGameFile(path_, std::span(reinterpret_cast<const std::uint8_t*>(bytes.constData()),
                                               static_cast<std::size_t>(bytes.size())));
    } catch (const std::exception&) {
        return false;
    }
    return true;
}
