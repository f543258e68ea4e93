#include "gamedb/Csv.h"

#include "gamedb/CodeTables.h"
#include "gamedb/CsvText.h"
#include "gamedb/GameError.h"

#include <csv.h>

#include <algorithm>
#include <charconv>
#include <optional>
#include <unordered_map>
#include <utility>
#include <vector>

namespace gamedb {
namespace {

constexpr int kProblemsListed = 10;
constexpr int kRecordCol = -1; // in a header map: the record-number column

// Digits with an optional minus sign and nothing else, as the pages' number boxes take them.
std::optional<std::string> parseInteger(std::string_view cell, long long& v, const Field* f)
{
    const char* end = cell.data() + cell.size();
    const auto [ptr, ec] = std::from_chars(cell.data(), end, v);
    if (cell.empty() || ptr != end || (ec != std::errc() && ec != std::errc::result_out_of_range))
        return quotedCell(cell) + " is not a valid integer value";
    if (ec == std::errc::result_out_of_range) {
        if (!f)
            return quotedCell(cell) + " is too large";
        const Range r = rangeOf(*f);
        return quotedCell(cell) + " does not fit this field: allowed are " + std::to_string(r.min) + " to " +
               std::to_string(r.max);
    }
    return std::nullopt;
}

// What a person calls the codes of a drop-down's table.
std::string codeNoun(const CodeTable* codes)
{
    if (codes == &kFormationCodes)
        return "a formation code";
    if (codes == &kStyleCodes)
        return "a style code";
    if (codes == &kColourCodes)
        return "a colour code";
    if (codes == &kDivisionCodes || codes == &kLastDivisionCodes)
        return "a division code";
    if (codes == &kRegionCodes)
        return "a region";
    return "one of this field's codes";
}

// A code field holds a code of its table, stored as the pages store it (the code, then zero
// bytes), or nothing. Returns the refusal, if any.
std::optional<std::string> checkCode(const CodeTable* codes, std::string_view cell, std::string_view game)
{
    if (game.empty())
        return std::nullopt;
    for (const CodeEntry& e : *codes) {
        if (e.code == game)
            return std::nullopt;
    }
    std::string refusal = quotedCell(cell) + " is not " + codeNoun(codes);
    // The list's text typed for its code.
    for (const CodeEntry& e : *codes) {
        if (e.text == game) {
            refusal += " (" + std::string(e.text) + " is " + std::string(e.code) + ")";
            break;
        }
    }
    return refusal;
}

// Writes cell into its field. A cell equal to what the export writes for the field keeps the
// field's bytes, however they are stored. Returns the refusal, if any.
std::optional<std::string> applyCell(std::uint8_t* record, const Field& f, std::string_view cell, std::string& game,
                                     std::string& scratch)
{
    if (f.encoding == Encoding::Text) {
        if (!utf8ToGame(unguarded(cell, scratch), game))
            return quotedCell(cell) + " holds a character the game cannot store";
        if (game == readText(record, f))
            return std::nullopt;
        if (f.codes) {
            if (auto bad = checkCode(f.codes, cell, game))
                return bad;
        }
        if (game.size() > f.width) {
            return quotedCell(cell) + " is longer than this field: at most " + std::to_string(f.width) + " characters";
        }
        writeText(record, f, game);
        return std::nullopt;
    }
    long long v = 0;
    if (auto bad = parseInteger(cell, v, &f))
        return bad;
    if (v == readNumber(record, f))
        return std::nullopt;
    try {
        writeNumber(record, f, v);
    } catch (const GameError& e) {
        return std::string(e.what());
    }
    return std::nullopt;
}

class Importer {
public:
    explicit Importer(const RecordTable& table)
        : copy_(table), schema_(table.format().schema), originalCount_(table.count()),
          lineOfRecord_(static_cast<std::size_t>(table.count()) + 1, 0)
    {
        for (const Field& f : schema_) {
            if (f.column == kIdColumn)
                idField_ = &f;
        }
    }

    // Feeds the parser one physical line at a time, so that every row knows the line it starts on.
    void parse(std::string_view csv)
    {
        if (isUtf16(csv)) {
            fileProblem("the file is UTF-16; save it as UTF-8");
            return;
        }
        if (csv.starts_with(kUtf8Bom))
            csv.remove_prefix(kUtf8Bom.size());
        csv_parser p{};
        if (csv_init(&p, CSV_STRICT | CSV_STRICT_FINI) != 0)
            throw GameError("Out of memory");
        // Spaces belong to the cell: a name may start with one.
        csv_set_space_func(&p, [](unsigned char) { return 0; });
        // The parser grows its cell buffer by one block at a time: with its 128 bytes, a cell of
        // megabytes would take tens of thousands of copies of itself.
        csv_set_blk_size(&p, std::max<std::size_t>(4096, csv.size() / 8));
        struct Free {
            csv_parser* p;
            ~Free() { csv_free(p); }
        } freeParser{&p};

        std::size_t pos = 0;
        int line = 0;
        while (pos < csv.size() && !stopped_) {
            ++line;
            std::size_t end = csv.find_first_of("\r\n", pos);
            if (end == std::string_view::npos)
                end = csv.size();
            else
                end += (csv[end] == '\r' && end + 1 < csv.size() && csv[end + 1] == '\n') ? 2 : 1;
            const std::string_view chunk = csv.substr(pos, end - pos);
            if (rowLine_ == 0 && chunk.find_first_not_of("\r\n") != std::string_view::npos)
                rowLine_ = line;
            if (csv_parse(&p, chunk.data(), chunk.size(), &Importer::onCell, &Importer::onRowEnd, this) !=
                chunk.size()) {
                malformed(line, p);
                return;
            }
            pos = end;
        }
        if (!stopped_ && csv_fini(&p, &Importer::onCell, &Importer::onRowEnd, this) != 0)
            malformed(rowLine_ ? rowLine_ : line, p);
    }

    // The checks that need every row: the header's presence, the IDs.
    void finish()
    {
        if (stopped_)
            return;
        if (!headerSeen_) {
            problem(1, {}, "the file holds no header row");
            return;
        }
        if (!idField_)
            return;
        assignFreeIds();
        checkIdsUnique();
    }

    bool refused() const { return problemCount_ > 0; }

    std::string message() const
    {
        std::string m;
        for (const std::string& p : problems_) {
            if (!m.empty())
                m += '\n';
            m += p;
        }
        if (problemCount_ > static_cast<int>(problems_.size()))
            m += "\n(and " + std::to_string(problemCount_ - static_cast<int>(problems_.size())) + " more)";
        return m;
    }

    RecordTable& result() { return copy_; }

private:
    static void onCell(void* s, std::size_t len, void* data)
    {
        auto* self = static_cast<Importer*>(data);
        self->cellStarts_.push_back(self->cells_.size());
        if (len > 0) // an empty cell may come with a null pointer
            self->cells_.append(static_cast<const char*>(s), len);
    }

    static void onRowEnd(int, void* data)
    {
        auto* self = static_cast<Importer*>(data);
        self->cellStarts_.push_back(self->cells_.size());
        if (!self->stopped_) {
            if (self->headerSeen_)
                self->row();
            else
                self->header();
        }
        self->cells_.clear();
        self->cellStarts_.clear();
        self->rowLine_ = 0;
    }

    std::size_t cellCount() const { return cellStarts_.size() - 1; }
    std::string_view cell(std::size_t i) const
    {
        return std::string_view(cells_).substr(cellStarts_[i], cellStarts_[i + 1] - cellStarts_[i]);
    }

    void problem(int line, std::string_view column, const std::string& text)
    {
        ++problemCount_;
        if (static_cast<int>(problems_.size()) >= kProblemsListed)
            return;
        std::string p = "line " + std::to_string(line);
        if (!column.empty()) {
            p += ", column ";
            p += column;
        }
        p += ": ";
        p += text;
        problems_.push_back(std::move(p));
    }

    void fileProblem(const std::string& text)
    {
        ++problemCount_;
        problems_.push_back(text);
        stopped_ = true;
    }

    // By its byte-order mark, or by the zero byte beside the header's first character.
    static bool isUtf16(std::string_view csv)
    {
        if (csv.starts_with("\xFF\xFE") || csv.starts_with("\xFE\xFF"))
            return true;
        return csv.size() >= 2 && (csv[0] == '\0') != (csv[1] == '\0');
    }

    void malformed(int line, csv_parser& p)
    {
        problem(line, {}, std::string("the file is not valid CSV here (") + csv_strerror(csv_error(&p)) + ")");
        stopped_ = true;
    }

    void header()
    {
        headerSeen_ = true;
        const int line = rowLine_;
        bool recordSeen = false;
        // A spreadsheet may save empty header cells after the last column.
        headerCells_ = cellCount();
        std::size_t named = headerCells_;
        while (named > 0 && cell(named - 1).empty())
            --named;
        for (std::size_t i = 0; i < named; ++i) {
            const std::string_view name = cell(i);
            int target = kRecordCol;
            if (name.empty()) {
                problem(line, {}, "header cell " + std::to_string(i + 1) + " is empty: every column needs its name");
                continue;
            }
            if (name != kRecordColumn) {
                const auto it =
                    std::find_if(schema_.begin(), schema_.end(), [&](const Field& f) { return f.column == name; });
                if (it == schema_.end()) {
                    problem(line, shownCell(name),
                            "the " + std::string(copy_.format().recordNoun) + " have no such column");
                    continue;
                }
                target = static_cast<int>(it - schema_.begin());
            }
            if (std::find(columns_.begin(), columns_.end(), target) != columns_.end()) {
                problem(line, shownCell(name), "the column appears twice");
                continue;
            }
            recordSeen = recordSeen || target == kRecordCol;
            columns_.push_back(target);
        }
        if (!recordSeen)
            problem(line, {}, "the column " + std::string(kRecordColumn) + " (the record numbers) is missing");
        // Rows cannot be read against a header that is wrong.
        stopped_ = refused();
        if (!stopped_) {
            const auto at = std::find(columns_.begin(), columns_.end(), kRecordCol);
            recordIndex_ = static_cast<std::size_t>(at - columns_.begin());
        }
    }

    void row()
    {
        const int line = rowLine_;
        bool allEmpty = true;
        for (std::size_t i = 0; i < cellCount() && allEmpty; ++i)
            allEmpty = cell(i).empty();
        if (allEmpty) // a spreadsheet's trailing row of separators, not a record
            return;
        // Cells under the header's empty trailing cells may be left out, or be empty.
        if (cellCount() < columns_.size() || cellCount() > headerCells_) {
            problem(line, {},
                    "this row has " + std::to_string(cellCount()) + " cells, the header " +
                        std::to_string(cellCount() < columns_.size() ? columns_.size() : headerCells_));
            return;
        }
        for (std::size_t i = columns_.size(); i < cellCount(); ++i) {
            if (!cell(i).empty()) {
                problem(line, {},
                        "cell " + std::to_string(i + 1) + " holds " + quotedCell(cell(i)) +
                            ", but its column has no name in the header");
                return;
            }
        }

        const std::string_view recordCell = cell(recordIndex_);
        int number = 0;
        const bool added = recordCell.empty();
        if (added) {
            if (copy_.full()) {
                problem(line, kRecordColumn,
                        "no room for another record: the table holds at most " + std::to_string(copy_.capacity()) +
                            " " + std::string(copy_.format().recordNoun));
                return;
            }
            number = copy_.append();
        } else {
            long long n = 0;
            if (auto bad = parseInteger(recordCell, n, nullptr)) {
                problem(line, kRecordColumn, *bad);
                return;
            }
            if (n < 1 || n > originalCount_) {
                problem(line, kRecordColumn,
                        "there is no record " + shownCell(recordCell) + ": " +
                            (originalCount_ == 0 ? std::string("the table holds none")
                                                 : "the records are 1 to " + std::to_string(originalCount_)));
                return;
            }
            number = static_cast<int>(n);
            int& seen = lineOfRecord_[static_cast<std::size_t>(number)];
            if (seen != 0) {
                problem(line, kRecordColumn,
                        "record " + std::to_string(number) + " appears twice (also on line " + std::to_string(seen) +
                            ")");
                return;
            }
            seen = line;
        }

        std::uint8_t* record = copy_.record(number);
        bool idGiven = false;
        for (std::size_t i = 0; i < columns_.size(); ++i) {
            if (columns_[i] == kRecordCol)
                continue;
            const Field& f = schema_[static_cast<std::size_t>(columns_[i])];
            const std::string_view c = cell(i);
            // In a new row an empty cell leaves the field as a new record has it (zero).
            if (added && c.empty())
                continue;
            const long long before = &f == idField_ ? readNumber(record, f) : 0;
            if (auto bad = applyCell(record, f, c, game_, scratch_)) {
                problem(line, f.column, *bad);
                continue;
            }
            if (&f == idField_) {
                idGiven = true;
                if (added || readNumber(record, f) != before)
                    idsGiven_.push_back({number, line});
            }
        }
        if (added && !idGiven)
            freeIdWanted_.push_back({number, line});
    }

    // In row order, after every ID the rows give, so that no new record takes an ID a later row
    // asks for.
    void assignFreeIds()
    {
        if (freeIdWanted_.empty())
            return;
        // The records waiting for an ID hold zero bytes, not an ID.
        std::vector<bool> waiting(static_cast<std::size_t>(copy_.count()) + 1, false);
        for (const auto& [number, line] : freeIdWanted_)
            waiting[static_cast<std::size_t>(number)] = true;
        std::vector<long long> used;
        used.reserve(static_cast<std::size_t>(copy_.count()));
        for (int i = 1; i <= copy_.count(); ++i) {
            if (!waiting[static_cast<std::size_t>(i)])
                used.push_back(readNumber(copy_.record(i), *idField_));
        }
        std::sort(used.begin(), used.end());
        long long candidate = 0;
        auto at = used.begin();
        for (const auto& [number, line] : freeIdWanted_) {
            for (;;) {
                at = std::lower_bound(at, used.end(), candidate);
                if (at == used.end() || *at != candidate)
                    break;
                ++candidate;
            }
            writeNumber(copy_.record(number), *idField_, candidate++);
        }
    }

    // An ID the import gives a record must be that record's alone. IDs the file already shared
    // are not the import's doing and are left alone.
    void checkIdsUnique()
    {
        if (idsGiven_.empty())
            return;
        struct Holders {
            int count = 0;
            int first = 0;
            int second = 0;
        };
        std::unordered_map<long long, Holders> holders;
        holders.reserve(static_cast<std::size_t>(copy_.count()));
        for (int i = 1; i <= copy_.count(); ++i) {
            Holders& h = holders[readNumber(copy_.record(i), *idField_)];
            if (h.count++ == 0)
                h.first = i;
            else if (h.count == 2)
                h.second = i;
        }
        for (const auto& [number, line] : idsGiven_) {
            const long long id = readNumber(copy_.record(number), *idField_);
            const Holders& h = holders[id];
            if (h.count > 1) {
                const int other = h.first != number ? h.first : h.second;
                problem(line, kIdColumn,
                        quotedCell(std::to_string(id)) + " is also the ID of " +
                            (other > originalCount_ ? "a record this file adds" : "record " + std::to_string(other)));
            }
        }
    }

    RecordTable copy_;
    Schema schema_;
    int originalCount_;
    const Field* idField_ = nullptr;

    std::vector<int> columns_;    // per header cell: a schema field's index, or kRecordCol
    std::size_t headerCells_ = 0; // the named columns, then any empty header cells after them
    std::size_t recordIndex_ = 0;
    bool headerSeen_ = false;

    std::string cells_; // the current row's cells, back to back
    std::vector<std::size_t> cellStarts_;
    int rowLine_ = 0;
    std::string game_;
    std::string scratch_;

    std::vector<int> lineOfRecord_;                 // by record number; 0 while not seen
    std::vector<std::pair<int, int>> idsGiven_;     // record number, line
    std::vector<std::pair<int, int>> freeIdWanted_; // record number, line
    std::vector<std::string> problems_;
    int problemCount_ = 0;
    bool stopped_ = false;
};

} // namespace

void importCsv(RecordTable& table, std::string_view csv)
{
    Importer importer(table);
    importer.parse(csv);
    importer.finish();
    if (importer.refused())
        throw GameError(importer.message());
    table = std::move(importer.result());
}

} // namespace gamedb
