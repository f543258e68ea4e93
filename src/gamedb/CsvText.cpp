#include "gamedb/CsvText.h"

#include "gamedb/GameText.h"

#include <QString>

#include <algorithm>
#include <array>
#include <cstdint>
#include <stdexcept>
#include <vector>

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

// Character classes of the game's code page (Windows-1252) for the spreadsheet guard.
enum : std::uint8_t { kLetter = 1, kDigit = 2, kBlank = 4 };

constexpr std::array<std::uint8_t, 256> kClass = [] {
    std::array<std::uint8_t, 256> c{};
    for (int b = 'A'; b <= 'Z'; ++b)
        c[b] = c[b + 32] = kLetter;
    for (int b : {0x8A, 0x8C, 0x8E, 0x9A, 0x9C, 0x9E, 0x9F})
        c[b] = kLetter;
    for (int b = 0xC0; b <= 0xFF; ++b)
        c[b] = (b == 0xD7 || b == 0xF7) ? 0 : kLetter;
    // Superscripts and vulgar fractions count as digits: some spreadsheet may read them so.
    for (int b = '0'; b <= '9'; ++b)
        c[b] = kDigit;
    for (int b : {0xB2, 0xB3, 0xB9, 0xBC, 0xBD, 0xBE})
        c[b] = kDigit;
    // Spaces, controls and the invisible ones a spreadsheet may trim.
    for (int b = 0; b <= 0x20; ++b)
        c[b] = kBlank;
    for (int b : {0x7F, 0x81, 0x8D, 0x8F, 0x90, 0x9D, 0xA0, 0xAD})
        c[b] = kBlank;
    return c;
}();

std::uint8_t classOf(char ch)
{
    return kClass[static_cast<unsigned char>(ch)];
}

char lowered(char ch)
{
    const auto b = static_cast<unsigned char>(ch);
    if ((b >= 'A' && b <= 'Z') || (b >= 0xC0 && b <= 0xDE && b != 0xD7))
        return static_cast<char>(b + 0x20);
    if (b == 0x8A || b == 0x8C || b == 0x8E)
        return static_cast<char>(b + 0x10);
    return b == 0x9F ? static_cast<char>(0xFF) : ch;
}

// Each of lines holds words parted by spaces, in UTF-8; the result holds them as game bytes,
// sorted, for a binary search.
template <std::size_t N> std::vector<std::string> gameWords(const std::string_view (&lines)[N])
{
    std::vector<std::string> out;
    std::string game;
    for (std::string_view line : lines) {
        while (!line.empty()) {
            const std::size_t end = std::min(line.find(' '), line.size());
            if (!utf8ToGame(line.substr(0, end), game))
                throw std::logic_error("a word outside the code page");
            out.push_back(game);
            line.remove_prefix(std::min(end + 1, line.size()));
        }
    }
    std::sort(out.begin(), out.end());
    out.erase(std::unique(out.begin(), out.end()), out.end());
    return out;
}

// The words a spreadsheet reads as part of a date, in the languages whose letters the game can
// store, in lower case. An abbreviation is a prefix of its word.
const std::vector<std::string>& dateWords()
{
    static constexpr std::string_view kLines[] = {
        // English
        "january february march april may june july august september october november december",
        "monday tuesday wednesday thursday friday saturday sunday",
        // German
        "januar jänner februar feber märz april mai juni juli august september oktober november dezember",
        "montag dienstag mittwoch donnerstag freitag samstag sonnabend sonntag vormittag nachmittag",
        // French
        "janvier février mars avril mai juin juillet août septembre octobre novembre décembre",
        "lundi mardi mercredi jeudi vendredi samedi dimanche",
        // Spanish, Catalan, Galician
        "enero febrero marzo abril mayo junio julio agosto septiembre setiembre octubre noviembre diciembre",
        "lunes martes miércoles jueves viernes sábado domingo",
        "gener febrer març abril maig juny juliol agost setembre octubre novembre desembre",
        "dilluns dimarts dimecres dijous divendres dissabte diumenge",
        "xaneiro febreiro marzo abril maio xuño xullo agosto setembro outubro novembro decembro",
        "luns martes mércores xoves venres sábado domingo",
        // Italian
        "gennaio febbraio marzo aprile maggio giugno luglio agosto settembre ottobre novembre dicembre",
        "lunedì martedì mercoledì giovedì venerdì sabato domenica",
        // Portuguese
        "janeiro fevereiro março abril maio junho julho agosto setembro outubro novembro dezembro",
        "segunda terça quarta quinta sexta feira sábado domingo",
        // Dutch
        "januari februari maart april mei juni juli augustus september oktober november december",
        "maandag dinsdag woensdag donderdag vrijdag zaterdag zondag",
        // Danish, Norwegian, Swedish
        "januar februar marts mars april maj mai juni juli august september oktober november december desember",
        "mandag tirsdag onsdag torsdag fredag lørdag søndag måndag tysdag laurdag sundag",
        "januari februari mars april maj juni juli augusti september oktober november december",
        "måndag tisdag onsdag torsdag fredag lördag söndag",
        // Finnish, with the forms a date writes
        "tammikuu helmikuu maaliskuu huhtikuu toukokuu kesäkuu heinäkuu elokuu syyskuu lokakuu marraskuu joulukuu",
        "tammikuuta helmikuuta maaliskuuta huhtikuuta toukokuuta kesäkuuta heinäkuuta elokuuta syyskuuta "
        "lokakuuta marraskuuta joulukuuta",
        "maanantai tiistai keskiviikko torstai perjantai lauantai sunnuntai",
        // Icelandic
        "janúar febrúar mars apríl maí júní júlí ágúst september október nóvember desember",
        "mánudagur þriðjudagur miðvikudagur fimmtudagur föstudagur laugardagur sunnudagur",
    };
    static const std::vector<std::string> words = gameWords(kLines);
    return words;
}

// The truth values a spreadsheet reads in these languages.
const std::vector<std::string>& truthWords()
{
    static constexpr std::string_view kLines[] = {
        "true false wahr falsch vrai faux verdadero falso verdadeiro vero waar onwaar",
        "sand falsk sann usann sant falskt cert fals tosi epätosi satt ósatt",
    };
    static const std::vector<std::string> words = gameWords(kLines);
    return words;
}

// True when some word of four letters or more is no date word: then no spreadsheet reads the text
// as a date or a number. Shorter words may be abbreviations, currencies or the marks of a time.
bool hasPlainWord(std::string_view text)
{
    const std::vector<std::string>& words = dateWords();
    char run[16];
    std::size_t n = 0;
    bool tooLong = false;
    const auto endOfRun = [&] {
        bool plain = false;
        if (tooLong) {
            plain = true;
        } else if (n >= 4) {
            const std::string_view w(run, n);
            const auto it = std::lower_bound(words.begin(), words.end(), w);
            plain = it == words.end() || !std::string_view(*it).starts_with(w);
        }
        n = 0;
        tooLong = false;
        return plain;
    };
    for (const char ch : text) {
        if (classOf(ch) & kLetter) {
            if (n < sizeof run)
                run[n++] = lowered(ch);
            else
                tooLong = true;
        } else if ((n > 0 || tooLong) && endOfRun()) {
            return true;
        }
    }
    return (n > 0 || tooLong) && endOfRun();
}

bool isTruthWord(std::string_view text)
{
    if (text.size() < 4 || text.size() > 10)
        return false;
    char low[10];
    for (std::size_t i = 0; i < text.size(); ++i)
        low[i] = lowered(text[i]);
    const std::vector<std::string>& words = truthWords();
    return std::binary_search(words.begin(), words.end(), std::string_view(low, text.size()));
}

constexpr std::size_t kShownCharacters = 40;

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

bool needsSheetGuard(std::string_view gameBytes)
{
    if (gameBytes.empty())
        return false;
    if (!(classOf(gameBytes.front()) & kLetter) || (classOf(gameBytes.back()) & kBlank))
        return true;
    const bool digit = std::any_of(gameBytes.begin(), gameBytes.end(), [](char c) { return classOf(c) & kDigit; });
    return digit ? !hasPlainWord(gameBytes) : isTruthWord(gameBytes);
}

void appendGuarded(std::string& out, std::string_view utf8)
{
    out += "=\"";
    for (const char c : utf8) {
        out += c;
        if (c == '"')
            out += '"';
    }
    out += '"';
}

std::string_view unguarded(std::string_view cell, std::string& scratch)
{
    if (cell.size() < 3 || !cell.starts_with("=\"") || !cell.ends_with('"'))
        return cell;
    scratch.clear();
    const std::string_view inner = cell.substr(2, cell.size() - 3);
    for (std::size_t i = 0; i < inner.size(); ++i) {
        scratch += inner[i];
        if (inner[i] == '"') {
            if (i + 1 >= inner.size() || inner[i + 1] != '"')
                return cell; // not the export's form: taken as it stands
            ++i;
        }
    }
    return scratch;
}

std::string shownCell(std::string_view cell)
{
    // No character takes more than four bytes; a byte that is not UTF-8 becomes U+FFFD.
    const std::string_view head = cell.substr(0, 4 * kShownCharacters);
    QString text = QString::fromUtf8(head.data(), static_cast<qsizetype>(head.size()));
    const bool cut = text.size() > static_cast<qsizetype>(kShownCharacters) || head.size() < cell.size();
    text.truncate(static_cast<qsizetype>(kShownCharacters));
    for (QChar& c : text) {
        if (c.unicode() < 0x20) // the control pictures: a zero byte shows as NUL
            c = QChar(char16_t(0x2400 + c.unicode()));
        else if (c.unicode() == 0x7F)
            c = QChar(char16_t(0x2421));
    }
    if (cut)
        text += QChar(0x2026);
    const QByteArray utf8 = text.toUtf8();
    return std::string(utf8.constData(), static_cast<std::size_t>(utf8.size()));
}

std::string quotedCell(std::string_view cell)
{
    return "'" + shownCell(cell) + "'";
}

} // namespace gamedb
