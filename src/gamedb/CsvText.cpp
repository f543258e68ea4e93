#include "gamedb/CsvText.h"

#include "gamedb/GameText.h"

#include <QString>

#include <array>

namespace gamedb {
namespace {

struct Utf8Of {
    char bytes[4];
    unsigned char size;
};

// Built once from the codec itself, so CSV and the pages can never disagree on a character.
const std::array<Utf8Of, 256>& utf8Table()
{
    static const std::array<Utf8Of, 256> table = [] {
        std::array<Utf8Of, 256> t{};
        for (int b = 0; b < 256; ++b) {
            const char ch = static_cast<char>(b);
            const QByteArray u = fromGame(std::string_view(&ch, 1)).toUtf8();
            t[static_cast<std::size_t>(b)].size = static_cast<unsigned char>(u.size());
            for (qsizetype i = 0; i < u.size() && i < 4; ++i)
                t[static_cast<std::size_t>(b)].bytes[i] = u[i];
        }
        return t;
    }();
    return table;
}

} // namespace

void appendUtf8(std::string& out, std::string_view gameBytes)
{
    const auto& table = utf8Table();
    for (const char ch : gameBytes) {
        const Utf8Of& u = table[static_cast<unsigned char>(ch)];
        if (u.size == 1)
            out.push_back(ch);
        else
            out.append(u.bytes, u.size);
    }
}

bool utf8ToGame(std::string_view utf8, std::string& out)
{
    out.clear();
    bool ascii = true;
    for (const char ch : utf8) {
        if (ch == '\0')
            return false;
        ascii = ascii && static_cast<unsigned char>(ch) < 0x80;
    }
    if (ascii) {
        out.assign(utf8);
        return true;
    }
    const QByteArray bytes = QByteArray::fromRawData(utf8.data(), static_cast<qsizetype>(utf8.size()));
    const QString text = QString::fromUtf8(bytes);
    // Malformed UTF-8 decodes to U+FFFD, which the code page does not hold; a replacement
    // character typed as such is refused the same way.
    auto game = toGame(text);
    if (!game)
        return false;
    out = std::move(*game);
    return true;
}

} // namespace gamedb
