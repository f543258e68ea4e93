#include "gamedb/CodeTables.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <stdexcept>

namespace gamedb {
namespace {

constexpr CodeEntry kStyle[] = {
    {"CONT", "Continental"},
    {"PASS", "Passing"},
    {"DRCT", "Direct"},
    {"LONG", "Long Ball"},
};

constexpr CodeEntry kFormation[] = {
    {"VDEF", "Very Defensive"},
    {"532VD", "5-3-2 Very Defensive"},
    {"SWPVD", "Sweeper Very Defensive"},
    {"442D", "4-4-2 Defensive"},
    {"451D", "4-5-1 Defensive"},
    {"CNTN", "Continental"},
    {"532N", "5-3-2"},
    {"352SW", "3-5-2 Sweeper"},
    {"352N", "3-5-2"},
    {"AJAX", "Ajax"},
    {"442N", "4-4-2"},
    {"CMSN", "Christmas Tree"},
    {"DIAN", "Diamond"},
    {"433N", "4-3-3"},
    {"532A", "5-3-2 Attacking"},
    {"442A", "4-4-2 Attacking"},
    {"433VA", "4-3-3 Very Attacking"},
    {"424VA", "4-2-4 Very Attacking"},
    {"VATT", "All Out Attack"},
};

constexpr CodeEntry kColour[] = {
    {"BLA", "Black"},
    {"WHI", "White"},
    {"DWHI", "Dark White (off white)"},
    {"VLRED", "Very Light Red"},
    {"LRED", "Light Red"},
    {"RED", "Red"},
    {"DRED", "Dark Red"},
    {"VDRED", "Very Dark Red"},
    {"VLORA", "Very Light Orange"},
    {"LORA", "Light Orange"},
    {"ORA", "Orange"},
    {"DORA", "Dark Orange"},
    {"VDORA", "Very Dark Orange"},
    {"VLYEL", "Very Light Yellow"},
    {"LYEL", "Light Yellow"},
    {"YEL", "Yellow"},
    {"DYEL", "Dark Yellow"},
    {"VDYEL", "Very Dark Yellow"},
    {"VLGRN", "Very Light Green"},
    {"LGRN", "Light Green"},
    {"GRN", "Green"},
    {"DGRN", "Dark Green"},
    {"VDGRN", "Very Dark Green"},
    {"VLBLU", "Very Light Blue"},
    {"LBLU", "Light Blue"},
    {"BLU", "Blue"},
    {"DBLU", "Dark Blue"},
    {"VDBLU", "Very Dark Blue"},
    {"VLPUR", "Very Light Purple"},
    {"LPUR", "Light Purple"},
    {"PUR", "Purple"},
    {"DPUR", "Dark Purple"},
    {"VDPUR", "Very Dark Purple"},
    {"VLGRY", "Very Light Grey"},
    {"LGRY", "Light Grey"},
    {"GRY", "Grey"},
    {"DGRY", "Dark Grey"},
    {"VDGRY", "Very Dark Grey"},
    {"VLCYA", "Very Light Cyan"},
    {"LCYA", "Light Cyan"},
    {"CYA", "Cyan"},
    {"DCYA", "Dark Cyan"},
    {"VDCYA", "Very Dark Cyan"},
    {"VLTRQ", "Very Light Turquoise"},
    {"LTRQ", "Light Turquoise"},
    {"TRQ", "Turquoise"},
    {"DTRQ", "Dark Turquoise"},
    {"VDTRQ", "Very Dark Turquoise"},
    {"VLWIN", "Very Light Wine"},
    {"LWIN", "Light Wine"},
    {"WIN", "Wine"},
    {"DWIN", "Dark Wine"},
    {"VDWIN", "Very Dark Wine"},
};

constexpr CodeEntry kDivision[] = {
    {"BD1", "Belgian Top Division"},
    {"BD2", "Belgian Second Division"},
    {"BNL", "Belgian Non League"},
    {"DD1", "Danish Top Division"},
    {"DD2", "Danish Second Division"},
    {"DD3", "Danish Third Division"},
    {"DD4", "Danish Fourth Division"},
    {"DNL", "Danish Non League"},
    {"EPR", "English Premier League"},
    {"ED1", "English First Division"},
    {"ED2", "English Second Division"},
    {"ED3", "English Third Division"},
    {"ENL", "English Non League"},
    {"FD1", "French Top Division"},
    {"FD2", "French Second Division"},
    {"FNL", "French Non League"},
    {"GD1", "German Top Division"},
    {"GD2", "German Second Division"},
    {"GNL", "German Non League"},
    {"HD1", "Holland Top Division"},
    {"HD2", "Holland Second Division"},
    {"HNL", "Holland Non League"},
    {"ISA", "Italian Serie A"},
    {"ISB", "Italian Serie B"},
    {"ISC", "Italian Serie C and Non League teams"},
    {"ND1", "Norwegian Top Division"},
    {"ND2", "Norwegian Second Division"},
    {"ND3", "Norwegian Third Division"},
    {"ND4", "Norwegian Fourth Division"},
    {"NNL", "Norwegian Non League"},
    {"PD1", "Portuguese Top Division"},
    {"PD2", "Portuguese Second Division"},
    {"PNL", "Portuguese Non League"},
    {"SP1", "Spanish Top Division"},
    {"SP2", "Spanish Second Division"},
    {"SPN", "Spanish Non League"},
    {"WD1", "Swedish Top Division"},
    {"WD2", "Swedish Second Division"},
    {"WD3", "Swedish Third Division"},
    {"WNL", "Swedish Non League"},
};

// The same codes; only the first entry's text differs, by a trailing space.
constexpr auto kLastDivision = [] {
    std::array<CodeEntry, std::size(kDivision)> out{};
    std::copy(std::begin(kDivision), std::end(kDivision), out.begin());
    out[0].text = "Belgian Top Division ";
    return out;
}();

constexpr CodeEntry kRegion[] = {
    {"Asia", "Asia"},
    {"Balkan", "Balkan"},
    {"Brazil", "Brazil"},
    {"Caribbean", "Caribbean"},
    {"Central Africa", "Central Africa"},
    {"Central America", "Central America"},
    {"Central Europe", "Central Europe"},
    {"Eastern Europe", "Eastern Europe"},
    {"France", "France"},
    {"Germany", "Germany"},
    {"Great Britain", "Great Britain"},
    {"Italy", "Italy"},
    {"Low Countries", "Low Countries"},
    {"Middle East", "Middle East"},
    {"North Africa", "North Africa"},
    {"Northern Europe", "Northern Europe"},
    {"Oceania", "Oceania"},
    {"Russia", "Russia"},
    {"Scandinavia", "Scandinavia"},
    {"South Africa", "South Africa"},
    {"South America", "South America"},
    {"Southern Europe", "Southern Europe"},
    {"Spain", "Spain"},
};

static_assert(std::size(kStyle) == 4 && std::size(kFormation) == 19 && std::size(kColour) == 53 &&
              std::size(kDivision) == 40 && std::size(kLastDivision) == 40 && std::size(kRegion) == 23);

} // namespace

const CodeTable kStyleCodes{kStyle};
const CodeTable kFormationCodes{kFormation};
const CodeTable kColourCodes{kColour};
const CodeTable kDivisionCodes{kDivision};
const CodeTable kLastDivisionCodes{kLastDivision};
const CodeTable kRegionCodes{kRegion};

QStringList codeTexts(CodeTable table)
{
    QStringList out;
    out.reserve(static_cast<qsizetype>(table.size()));
    for (const CodeEntry& e : table)
        out << QString::fromLatin1(e.text.data(), static_cast<qsizetype>(e.text.size()));
    return out;
}

int matchCode(CodeTable table, const std::uint8_t* record, const Field& field)
{
    const std::uint8_t* p = record + field.offset;
    int match = -1;
    for (std::size_t i = 0; i < table.size(); ++i) {
        const std::string_view code = table[i].code;
        if (code.size() <= field.width && std::memcmp(p, code.data(), code.size()) == 0)
            match = static_cast<int>(i);
    }
    return match;
}

void storeCode(CodeTable table, int index, std::uint8_t* record, const Field& field)
{
    if (index < -1 || index >= static_cast<int>(table.size()))
        throw std::out_of_range("no code " + std::to_string(index));
    // An empty literal, not a null view: the copy must never see a null source.
    writeText(record, field, index < 0 ? std::string_view("") : table[static_cast<std::size_t>(index)].code);
}

} // namespace gamedb
