#include "gamedb/GameText.h"

#include <array>

namespace gamedb {
namespace {

// 0x80..0x9F; the unassigned five stand for themselves.
constexpr std::array<char16_t, 32> kHigh = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

std::optional<unsigned char> byteOf(char16_t u)
{
    if ((u >= 0x01 && u < 0x80) || (u >= 0xA0 && u <= 0xFF))
        return static_cast<unsigned char>(u);
    for (std::size_t i = 0; i < kHigh.size(); ++i) {
        if (kHigh[i] == u)
            return static_cast<unsigned char>(0x80 + i);
    }
    return std::nullopt;
}

} // namespace

QString fromGame(std::string_view bytes)
{
    QString out(static_cast<qsizetype>(bytes.size()), Qt::Uninitialized);
    QChar* d = out.data();
    for (const char ch : bytes) {
        const auto b = static_cast<unsigned char>(ch);
        *d++ = QChar(b >= 0x80 && b < 0xA0 ? kHigh[b - 0x80] : char16_t(b));
    }
    return out;
}

std::optional<std::string> toGame(const QString& text)
{
    std::string out;
    out.reserve(static_cast<std::size_t>(text.size()));
    for (const QChar c : text) {
        const auto b = byteOf(c.unicode());
        if (!b)
            return std::nullopt;
        out.push_back(static_cast<char>(*b));
    }
    return out;
}

bool isGameChar(QChar c)
{
    return byteOf(c.unicode()).has_value();
}

} // namespace gamedb
