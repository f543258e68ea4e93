#include "app/CommandLine.h"

#include "gamedb/Csv.h"
#include "gamedb/CsvFile.h"
#include "gamedb/Database.h"
#include "gamedb/Formats.h"

#include <exception>
#include <istream>
#include <iterator>
#include <ostream>

namespace cli {
namespace {

constexpr const char* kUsageText = "usage: korvex export FOLDER managers|teams|players FILE\n"
                                   "       korvex import FOLDER managers|teams|players FILE\n"
                                   "Export writes the database of the game folder FOLDER as CSV to FILE; import\n"
                                   "applies FILE to it and saves the game file. FILE - is standard output or input.\n"
                                   "Without arguments korvex opens its window.\n";

gamedb::RecordTable load(const gamedb::DbFormat& f, const QString& folder)
{
    gamedb::RecordTable table(f);
    gamedb::NoProgress progress;
    gamedb::NoPage page;
    gamedb::loadDatabase(table, folder, progress, page);
    return table;
}

void exportTo(const gamedb::DbFormat& f, const QString& folder, const QString& file, std::ostream& out)
{
    const std::string csv = gamedb::exportCsv(load(f, folder));
    if (file != QLatin1String("-")) {
        gamedb::writeCsvFile(file, csv);
        return;
    }
    out.write(csv.data(), static_cast<std::streamsize>(csv.size()));
    out.flush();
    if (!out)
        throw std::runtime_error("could not write to standard output");
}

void importFrom(const gamedb::DbFormat& f, const QString& folder, const QString& file, std::istream& in)
{
    gamedb::RecordTable table = load(f, folder);
    std::string csv;
    if (file == QLatin1String("-")) {
        csv.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
        if (in.bad())
            throw std::runtime_error("could not read standard input");
    } else {
        csv = gamedb::readCsvFile(file);
    }
    gamedb::importCsv(table, csv);
    gamedb::NoProgress progress;
    gamedb::NoPage page;
    gamedb::saveDatabase(table, folder, progress, page);
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
