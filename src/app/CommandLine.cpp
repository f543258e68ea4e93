#include "app/CommandLine.h"

#include "gamedb/Backups.h"
#include "gamedb/Csv.h"
#include "gamedb/CsvFile.h"
#include "gamedb/Database.h"
#include "gamedb/FileIo.h"
#include "gamedb/GameError.h"
#include "gamedb/Formats.h"
#include "gamedb/RecordQuery.h"

#include <algorithm>
#include <exception>
#include <istream>
#include <optional>
#include <ostream>
#include <stdexcept>
#include <vector>

namespace cli {
namespace {

constexpr const char* kUsageText = "usage: korvex export FOLDER managers|teams|players FILE [--where COLUMN EXPR]...\n"
                                   "       korvex import FOLDER managers|teams|players FILE\n"
                                   "Export writes the database of the game folder FOLDER as CSV to FILE; import\n"
                                   "applies FILE to it and saves the game file. FILE - is standard output or input.\n"
                                   "--where exports only the records whose CSV column COLUMN (record: the record\n"
                                   "number) matches EXPR, as a filter box of the table window takes it: text\n"
                                   "(contains), =text, 18, >18, >=18, <21, <=21, <>0, 10~20 (inclusive), /regex/,\n"
                                   "= (empty), <> (not empty); repeated, all must match; in record order. An\n"
                                   "unknown COLUMN or an EXPR that cannot be read exits 2 with the reason.\n"
                                   "Without arguments korvex opens its window.\n";

// The reason an export's --where cannot be used: its column or its expression.
struct WhereError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

// The filters of the --where COLUMN EXPR triples that follow an export's four arguments; none
// when the arguments are not such triples.
std::optional<std::vector<gamedb::CellFilter>> filtersOf(const gamedb::DbFormat& f, const QStringList& args)
{
    std::vector<gamedb::CellFilter> out;
    for (qsizetype i = 5; i < args.size(); i += 3) {
        if (args[i] != QLatin1String("--where") || i + 2 >= args.size())
            return std::nullopt;
        const std::string name = args[i + 1].toStdString();
        const gamedb::Field* column = nullptr;
        if (name != gamedb::kRecordColumn) {
            const auto it = std::find_if(f.schema.begin(), f.schema.end(),
                                         [&](const gamedb::Field& c) { return c.column == name; });
            if (it == f.schema.end())
                throw WhereError("--where: the " + std::string(f.recordNoun) + " have no column '" + name + "'");
            column = &*it;
        }
        try {
            out.emplace_back(column, args[i + 2]);
        } catch (const gamedb::GameError& e) {
            throw WhereError("--where " + name + ": " + e.what());
        }
    }
    return out;
}

// A file's failure names the file, so that "File not found" says whether the sheet or the
// database is missing.
template <class Fn> auto naming(const QString& path, Fn&& fn)
{
    try {
        return fn();
    } catch (const gamedb::GameError& e) {
        throw gamedb::GameError(gamedb::nativePath(path) + ": " + e.what());
    }
}

QString databasePath(const gamedb::DbFormat& f, const QString& folder)
{
    return gamedb::gameFilePath(folder, QString::fromUtf8(f.fileName.data(), static_cast<qsizetype>(f.fileName.size())));
}

gamedb::RecordTable load(const gamedb::DbFormat& f, const QString& folder)
{
    gamedb::RecordTable table(f);
    gamedb::NoProgress progress;
    gamedb::NoPage page;
    naming(databasePath(f, folder), [&] { gamedb::loadDatabase(table, folder, progress, page); });
    return table;
}

void exportTo(const gamedb::DbFormat& f, const QString& folder, const QString& file,
              const std::vector<gamedb::CellFilter>& filters, std::ostream& out)
{
    const gamedb::RecordTable table = load(f, folder);
    const std::string csv =
        filters.empty() ? gamedb::exportCsv(table) : gamedb::exportCsv(table, gamedb::matchingRecords(table, filters));
    if (file != QLatin1String("-")) {
        naming(file, [&] { gamedb::writeCsvFile(folder, file, csv); });
        return;
    }
    out.write(csv.data(), static_cast<std::streamsize>(csv.size()));
    out.flush();
    if (!out)
        throw std::runtime_error("could not write to standard output");
}

std::string readSheet(const QString& file, std::istream& in)
{
    if (file != QLatin1String("-"))
        return naming(file, [&] { return gamedb::readCsvFile(file); });
    // Read in pieces, so that an endless input is refused at the limit, not when memory runs out.
    std::string csv;
    char buf[65536];
    while (in.read(buf, sizeof buf) || in.gcount() > 0) {
        csv.append(buf, static_cast<std::size_t>(in.gcount()));
        if (csv.size() > gamedb::kCsvSizeLimit)
            throw gamedb::GameError("standard input: " + gamedb::csvTooLargeText());
    }
    if (in.bad())
        throw std::runtime_error("could not read standard input");
    return csv;
}

void importFrom(const gamedb::DbFormat& f, const QString& folder, const QString& file, std::istream& in)
{
    const std::string csv = readSheet(file, in);
    // No other writer may change the file between the read the import builds on and the replace.
    const gamedb::FolderLock lock = naming(folder, [&] { return gamedb::FolderLock(folder); });
    gamedb::RecordTable table = load(f, folder);
    gamedb::importCsv(table, csv);
    gamedb::NoProgress progress;
    gamedb::NoPage page;
    const QString path = databasePath(f, folder);
    gamedb::Backups(gamedb::Backups::defaultRoot()).beforeSave(folder, path, false);
    naming(path, [&] { gamedb::saveDatabase(table, folder, progress, page); });
}

} // namespace

bool isCommand(const QStringList& args)
{
    return args.size() > 1 && (args[1] == QLatin1String("export") || args[1] == QLatin1String("import"));
}

int runCommand(const QStringList& args, std::istream& in, std::ostream& out, std::ostream& err)
{
    const bool exporting = isCommand(args) && args[1] == QLatin1String("export");
    const gamedb::DbFormat* f =
        args.size() == 5 || (exporting && args.size() > 5) ? gamedb::formatNamed(args[3].toStdString()) : nullptr;
    std::optional<std::vector<gamedb::CellFilter>> filters;
    try {
        if (f && exporting)
            filters = filtersOf(*f, args);
    } catch (const WhereError& e) {
        err << "korvex: " << e.what() << "\n";
        return kUsage;
    }
    if (!isCommand(args) || !f || (exporting && !filters)) {
        err << kUsageText;
        return kUsage;
    }
    const QString& folder = args[2];
    const QString& file = args[4];
    try {
        if (exporting)
            exportTo(*f, folder, file, *filters, out);
        else
            importFrom(*f, folder, file, in);
    } catch (const std::exception& e) {
        err << "korvex: " << e.what() << "\n";
        if (args[1] == QLatin1String("import"))
            err << "korvex: nothing was written\n";
        return kRefused;
    }
    return kOk;
}

} // namespace cli
