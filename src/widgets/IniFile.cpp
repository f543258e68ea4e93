#include "widgets/IniFile.h"

#include "gamedb/FileIo.h"

#include <QFile>
#include <QStringDecoder>

#include <optional>
#include <vector>

namespace {

constexpr int kMaxValue = 2047;
const QByteArray kBom("\xEF\xBB\xBF");

bool isBlank(char c)
{
    return c == ' ' || c == '\t';
}

bool isLineEnd(char c)
{
    return c == '\r' || c == '\n';
}

// Offsets into the file's bytes: [begin, end) is the line's text, [end, next) its line ending
// (empty on a last line without one).
struct Line {
    qsizetype begin;
    qsizetype end;
    qsizetype next;
};

// A key's value, [begin, end), without the blanks around it.
struct Entry {
    qsizetype line;
    qsizetype begin;
    qsizetype end;
};

class Layout {
public:
    explicit Layout(const QByteArray& bytes) : bytes_(bytes)
    {
        qsizetype i = bytes.startsWith(kBom) ? kBom.size() : 0;
        bodyStart_ = i;
        while (i < bytes.size()) {
            qsizetype end = i;
            while (end < bytes.size() && !isLineEnd(bytes[end]))
                ++end;
            qsizetype next = end;
            if (next < bytes.size())
                next += bytes[next] == '\r' && next + 1 < bytes.size() && bytes[next + 1] == '\n' ? 2 : 1;
            lines_.push_back({i, end, next});
            i = next;
        }
    }

    const std::vector<Line>& lines() const { return lines_; }
    qsizetype bodyStart() const { return bodyStart_; }

    // The ending the file already uses; a Windows profile routine's CRLF for a file without one.
    QByteArray lineEnding() const
    {
        for (const Line& l : lines_) {
            if (l.next > l.end)
                return bytes_.mid(l.end, l.next - l.end);
        }
        return QByteArrayLiteral("\r\n");
    }

    // The line after which the section's text ends, or nullopt when the section is missing.
    // Only the first section of that name counts.
    std::optional<qsizetype> section(const QByteArray& name) const
    {
        for (qsizetype i = 0; i < qsizetype(lines_.size()); ++i) {
            const std::optional<QByteArray> found = sectionName(i);
            if (found && found->compare(name, Qt::CaseInsensitive) == 0)
                return i;
        }
        return std::nullopt;
    }

    std::optional<Entry> entry(qsizetype sectionLine, const QByteArray& key) const
    {
        for (qsizetype i = sectionLine + 1; i < qsizetype(lines_.size()) && !sectionName(i); ++i) {
            const Line& l = lines_[std::size_t(i)];
            const qsizetype from = skipBlanks(l.begin, l.end);
            if (from == l.end || bytes_[from] == ';' || bytes_[from] == '#')
                continue;
            const qsizetype eq = bytes_.indexOf('=', from);
            if (eq < 0 || eq >= l.end || trimmed(from, eq).compare(key, Qt::CaseInsensitive) != 0)
                continue;
            const qsizetype begin = skipBlanks(eq + 1, l.end);
            qsizetype end = l.end;
            while (end > begin && isBlank(bytes_[end - 1]))
                --end;
            return Entry{i, begin, end};
        }
        return std::nullopt;
    }

    // The last line of the section that holds more than blanks: a new key goes after it.
    qsizetype lastFilledLine(qsizetype sectionLine) const
    {
        qsizetype last = sectionLine;
        for (qsizetype i = sectionLine + 1; i < qsizetype(lines_.size()) && !sectionName(i); ++i) {
            const Line& l = lines_[std::size_t(i)];
            if (skipBlanks(l.begin, l.end) < l.end)
                last = i;
        }
        return last;
    }

private:
    std::optional<QByteArray> sectionName(qsizetype i) const
    {
        const Line& l = lines_[std::size_t(i)];
        const qsizetype from = skipBlanks(l.begin, l.end);
        if (from == l.end || bytes_[from] != '[')
            return std::nullopt;
        const qsizetype close = bytes_.indexOf(']', from);
        if (close < 0 || close >= l.end)
            return std::nullopt;
        return trimmed(from + 1, close);
    }

    qsizetype skipBlanks(qsizetype from, qsizetype end) const
    {
        while (from < end && isBlank(bytes_[from]))
            ++from;
        return from;
    }

    QByteArray trimmed(qsizetype from, qsizetype end) const
    {
        from = skipBlanks(from, end);
        while (end > from && isBlank(bytes_[end - 1]))
            --end;
        return bytes_.mid(from, end - from);
    }

    const QByteArray& bytes_;
    qsizetype bodyStart_ = 0;
    std::vector<Line> lines_;
};

std::optional<QByteArray> readBytes(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return std::nullopt;
    return f.readAll();
}

// Quoted only where a plain value would not read back as itself: blanks at either end, or a
// value that is itself wholly in double quotes.
QByteArray stored(const QString& value)
{
    const QByteArray raw = value.toUtf8();
    const bool quote = !raw.isEmpty() && (isBlank(raw.front()) || isBlank(raw.back()) ||
                                          (raw.size() >= 2 && raw.front() == '"' && raw.back() == '"'));
    return quote ? '"' + raw + '"' : raw;
}

} // namespace

bool IniFile::holdsOnOneLine(const QString& value)
{
    return !value.contains(QLatin1Char('\n')) && !value.contains(QLatin1Char('\r')) && !value.contains(QChar(0));
}

QString IniFile::read(const QString& section, const QString& key, const QString& fallback) const
{
    const std::optional<QByteArray> bytes = readBytes(path_);
    if (!bytes)
        return fallback;
    const Layout layout(*bytes);
    const std::optional<qsizetype> at = layout.section(section.toUtf8());
    const std::optional<Entry> entry = at ? layout.entry(*at, key.toUtf8()) : std::nullopt;
    if (!entry)
        return fallback;
    QByteArray value = bytes->mid(entry->begin, entry->end - entry->begin);
    if (value.size() >= 2 && value.front() == '"' && value.back() == '"')
        value = value.mid(1, value.size() - 2);
    // A value is read as it was written: fromUtf8 would drop a leading U+FEFF as a byte-order mark.
    QStringDecoder utf8(QStringDecoder::Utf8, QStringConverter::Flag::ConvertInitialBom);
    return QString(utf8(value)).left(kMaxValue);
}

bool IniFile::write(const QString& section, const QString& key, const QString& value) const
{
    if (!holdsOnOneLine(value))
        return false;
    std::optional<QByteArray> read = readBytes(path_);
    if (!read && QFile::exists(path_))
        return false; // there, but unreadable: rewriting it would lose what it holds
    QByteArray bytes = read.value_or(QByteArray());
    const Layout layout(bytes);
    const QByteArray eol = layout.lineEnding();
    const QByteArray entryLine = key.toUtf8() + '=' + stored(value);

    // Text added where there is no line ending yet takes one first, and the file keeps ending
    // the way it ended.
    auto insertLines = [&](qsizetype after, const QByteArray& text) {
        if (after < 0) {
            bytes.insert(layout.bodyStart(), text + eol);
            return;
        }
        const Line& l = layout.lines()[std::size_t(after)];
        if (l.next > l.end)
            bytes.insert(l.next, text + eol);
        else
            bytes.insert(l.next, eol + text);
    };

    if (const std::optional<qsizetype> at = layout.section(section.toUtf8())) {
        if (const std::optional<Entry> entry = layout.entry(*at, key.toUtf8()))
            bytes.replace(entry->begin, layout.lines()[std::size_t(entry->line)].end - entry->begin, stored(value));
        else
            insertLines(layout.lastFilledLine(*at), entryLine);
    } else {
        const QByteArray block = '[' + section.toUtf8() + ']' + eol + entryLine;
        insertLines(layout.lines().empty() ? -1 : qsizetype(layout.lines().size()) - 1, block);
    }

    try {
        gamedb::writeGameFile(path_, std::span(reinterpret_cast<const std::uint8_t*>(bytes.constData()),
                                               static_cast<std::size_t>(bytes.size())));
    } catch (const std::exception&) {
        return false;
    }
    return true;
}
