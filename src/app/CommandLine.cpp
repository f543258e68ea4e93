#include "app/CommandLine.h"

#include "gamedb/Backups.h"
#include "gamedb/Csv.h"
#include "gamedb/CsvFile.h"
#include "gamedb/Database.h"
#include "gamedb/FileIo.h"
#include "gamedb/GameError.h"
#include "gamedb/Formats.h"

#include <exception>
#include <istream>
#include <ostream>

namespace cli {
namespace {

constexpr const char* kUsageText = "usage: korvex export FOLDER managers|teams|players FILE\n"
                                   "       korvex import FOLDER managers|teams|players FILE\n"
                                   "Export writes the database of the game folder FOLDER as CSV to FILE; import\n"
                                   "applies FILE to it and saves the game file. FILE - is standard output or input.\n"
                                   "Without arguments korvex opens its window.\n";

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

void exportTo(const gamedb::DbFormat& f, const QString& folder, const QString& file, std::ostream& out)
{
    const std::string csv = gamedb::exportCsv(load(f, folder));
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
    const gamedb::DbFormat* f = args.size() == 5 ? gamedb::formatNamed(args[3].toStdString()) : nullptr;
    if (!isCommand(args) || !f) {
        err << kUsageText;
        return kUsage;
    }
    const QString& folder = args[2];
    const QString& file = args[4];
    try {
        if (args[1] == QLatin1String("export"))
            exportTo(*f, folder, file, out);
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
