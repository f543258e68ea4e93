#include "gamedb/FileIo.h"

#include "gamedb/FileIoDetail.h"

#include <QDir>
#include <QRandomGenerator>

#include <algorithm>
#include <cctype>
#include <functional>

// What does not depend on the system: names, stamps and the test seam. The system calls are in
// FileIoPosix.cpp or FileIoWin.cpp, whichever the build picks.

namespace gamedb {
namespace {

const IoFaults* g_faults = nullptr;

constexpr std::string_view kGameFiles[] = {"Mgdata.db1",   "Tmdata.db1",   "Players.db1", "Plhist98.bin",
                                           "Hiscores.bin", "Gamess16.idx", "Gamess8.idx"};

} // namespace

namespace detail {

const IoFaults* faults()
{
    return g_faults;
}

std::string temporarySuffix()
{
    static constexpr char kChars[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
    std::string out;
    for (int i = 0; i < 6; ++i)
        out += kChars[QRandomGenerator::global()->bounded(static_cast<int>(sizeof kChars - 1))];
    return out;
}

// Our temporary names: "." + name + "." + six letters or digits.
bool isTemporaryOf(std::string_view entry, std::string_view name)
{
    if (entry.size() != name.size() + 8 || entry[0] != '.' || entry[name.size() + 1] != '.')
        return false;
    const std::string_view middle = entry.substr(1, name.size());
    const bool sameName = std::equal(middle.begin(), middle.end(), name.begin(), name.end(), [](char a, char b) {
        return std::tolower(static_cast<unsigned char>(a)) == std::tolower(static_cast<unsigned char>(b));
    });
    return sameName && std::all_of(entry.end() - 6, entry.end(),
                                   [](char c) { return std::isalnum(static_cast<unsigned char>(c)); });
}

std::string lockTimeoutText(std::chrono::milliseconds wait)
{
    return "Another Korvex is saving into the game folder and did not finish within " +
           std::to_string((wait.count() + 999) / 1000) + " seconds; nothing was written, try again later";
}

} // namespace detail

void setIoFaults(const IoFaults* faults)
{
    g_faults = faults;
}

QString pathFromNative(std::string_view native)
{
    QString out;
    out.reserve(static_cast<qsizetype>(native.size()));
    const auto* p = reinterpret_cast<const unsigned char*>(native.data());
    const auto* end = p + native.size();
    while (p < end) {
        // The length of a well-formed UTF-8 sequence at p, or 0.
        int len = 0;
        char32_t cp = 0;
        if (*p < 0x80) {
            len = 1;
            cp = *p;
        } else if ((*p & 0xE0) == 0xC0) {
            len = 2;
            cp = *p & 0x1F;
        } else if ((*p & 0xF0) == 0xE0) {
            len = 3;
            cp = *p & 0x0F;
        } else if ((*p & 0xF8) == 0xF0) {
            len = 4;
            cp = *p & 0x07;
        }
        if (len > end - p)
            len = 0;
        for (int i = 1; i < len; ++i) {
            if ((p[i] & 0xC0) != 0x80) {
                len = 0;
                break;
            }
            cp = (cp << 6) | (p[i] & 0x3F);
        }
        static constexpr char32_t kLeast[] = {0, 0, 0x80, 0x800, 0x10000};
        if (len > 0 && (cp < kLeast[len] || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)))
            len = 0;
        if (len == 0) {
            out += QChar(static_cast<char16_t>(0xDC00 + *p));
            ++p;
            continue;
        }
        if (cp >= 0x10000) {
            out += QChar(QChar::highSurrogate(cp));
            out += QChar(QChar::lowSurrogate(cp));
        } else {
            out += QChar(static_cast<char16_t>(cp));
        }
        p += len;
    }
    return out;
}

std::string nativePath(const QString& path)
{
    static const char32_t kSeparator = QDir::separator().unicode();
    std::string out;
    out.reserve(static_cast<std::size_t>(path.size()));
    const QChar* p = path.constData();
    const QChar* end = p + path.size();
    for (; p < end; ++p) {
        char32_t cp = p->unicode();
        if (cp == '/')
            cp = kSeparator; // Windows' own separator there
        if (cp >= 0xDC80 && cp <= 0xDCFF) {
            out += static_cast<char>(cp - 0xDC00); // a byte that was not UTF-8
            continue;
        }
        if (p->isHighSurrogate() && p + 1 < end && (p + 1)->isLowSurrogate()) {
            cp = QChar::surrogateToUcs4(*p, *(p + 1));
            ++p;
        } else if (p->isSurrogate()) {
            cp = 0xFFFD;
        }
        if (cp < 0x80) {
            out += static_cast<char>(cp);
        } else if (cp < 0x800) {
            out += static_cast<char>(0xC0 | (cp >> 6));
            out += static_cast<char>(0x80 | (cp & 0x3F));
        } else if (cp < 0x10000) {
            out += static_cast<char>(0xE0 | (cp >> 12));
            out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (cp & 0x3F));
        } else {
            out += static_cast<char>(0xF0 | (cp >> 18));
            out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
            out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (cp & 0x3F));
        }
    }
    return out;
}

FileStamp stampOf(std::span<const std::uint8_t> bytes)
{
    const std::string_view view(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    return {true, bytes.size(), std::hash<std::string_view>{}(view)};
}

std::span<const std::string_view> gameFileNames()
{
    return kGameFiles;
}

} // namespace gamedb
