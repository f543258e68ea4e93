#include "gamedb/FileIo.h"

#include "gamedb/FileIoDetail.h"

#include <QDir>
#include <QRandomGenerator>

#include <algorithm>
#include <cctype>
#include <cstring>
#include <functional>
#include <utility>

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

// Eight independent lanes, each one multiply per word: the multiplies overlap, so a stamp costs
// about as much as a copy of the file (std::hash's single chain took five times as long). Every
// step of a lane is invertible, so a change confined to one lane, a single word say, always
// changes the stamp.
namespace {

constexpr std::uint64_t kPrime1 = 0x9E3779B185EBCA87ull;
constexpr std::uint64_t kPrime2 = 0xC2B2AE3D27D4EB4Full;

constexpr std::uint64_t rotl(std::uint64_t v, int by)
{
    return v << by | v >> (64 - by);
}

} // namespace

const std::array<std::uint64_t, 8> Stamper::kStart = {kPrime1,     kPrime2,     kPrime1 ^ 1, kPrime2 ^ 1,
                                                      kPrime1 ^ 2, kPrime2 ^ 2, kPrime1 ^ 3, kPrime2 ^ 3};

void Stamper::addBlock(const std::uint8_t* block)
{
    std::uint64_t words[8];
    std::memcpy(words, block, sizeof words); // the machine's byte order: stamps never leave the run
    for (std::size_t l = 0; l < 8; ++l)
        lanes_[l] = rotl(lanes_[l] + words[l], 29) * kPrime1;
}

void Stamper::add(std::span<const std::uint8_t> bytes)
{
    if (bytes.empty()) // an empty piece may carry a null pointer, which memcpy must not see
        return;
    size_ += bytes.size();
    std::size_t at = 0;
    if (pendingSize_ > 0) {
        const std::size_t take = std::min(bytes.size(), pending_.size() - pendingSize_);
        std::memcpy(pending_.data() + pendingSize_, bytes.data(), take);
        pendingSize_ += take;
        at = take;
        if (pendingSize_ < pending_.size())
            return;
        addBlock(pending_.data());
        pendingSize_ = 0;
    }
    for (; bytes.size() - at >= pending_.size(); at += pending_.size())
        addBlock(bytes.data() + at);
    if (at < bytes.size()) {
        pendingSize_ = bytes.size() - at;
        std::memcpy(pending_.data(), bytes.data() + at, pendingSize_);
    }
}

FileStamp Stamper::stamp() const
{
    std::uint64_t h = size_ * kPrime2;
    for (const std::uint64_t lane : lanes_)
        h = rotl(h ^ lane * kPrime2, 27) * kPrime1;
    for (std::size_t i = 0; i < pendingSize_; ++i)
        h = rotl(h ^ pending_[i], 11) * kPrime1;
    h ^= h >> 29;
    return {true, size_, h};
}

FileStamp stampOf(std::span<const std::uint8_t> bytes)
{
    Stamper s;
    s.add(bytes);
    return s.stamp();
}

StampedReader::StampedReader(const QString& path) : reader_(path) {}

Bytes StampedReader::read(std::size_t n)
{
    Bytes piece = reader_.read(n);
    stamper_.add(piece);
    if (std::exchange(first_, false) && detail::faults() && detail::faults()->afterFirstPiece)
        detail::faults()->afterFirstPiece();
    return piece;
}

FileStamp StampedReader::finish()
{
    // Mostly nothing: a game file ends with its last record.
    for (Bytes rest = reader_.read(1 << 16); !rest.empty(); rest = reader_.read(1 << 16))
        stamper_.add(rest);
    reader_.close();
    return stamper_.stamp();
}

std::span<const std::string_view> gameFileNames()
{
    return kGameFiles;
}

} // namespace gamedb
