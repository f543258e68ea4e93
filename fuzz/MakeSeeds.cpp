// Writes the seed corpus of every fuzz target from our own sample: korvex-fuzz-seeds FOLDER
// fills FOLDER/<target>/ with a few small files each target starts from.
#include "fuzz/FuzzSupport.h"

#include "gamedb/Csv.h"
#include "gamedb/Database.h"
#include "gamedb/Formats.h"
#include "sample/SampleGame.h"

#include <QCoreApplication>
#include <QDir>

#include <cstdio>
#include <string>

using namespace gamedb;
using namespace std::string_view_literals;

namespace {

QString targetFolder(const QString& root, const QString& target)
{
    const QString folder = root + QLatin1Char('/') + target;
    fuzz::require(QDir().mkpath(folder), "the corpus folder can be made");
    return folder;
}

void writeSeed(const QString& folder, const char* name, std::string_view bytes)
{
    fuzz::writeFile(folder + QLatin1Char('/') + QLatin1String(name),
                    std::span(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()));
}

void copySeed(const QString& from, const QString& folder, const char* name)
{
    const Bytes bytes = fuzz::readFile(from);
    fuzz::writeFile(folder + QLatin1Char('/') + QLatin1String(name), bytes);
}

// The sheet's first line (its header) and its first record's row.
std::pair<std::string_view, std::string_view> headerAndFirstRow(std::string_view sheet)
{
    const std::size_t headerEnd = sheet.find("\r\n") + 2;
    const std::size_t rowEnd = sheet.find("\r\n", headerEnd) + 2;
    return {sheet.substr(0, headerEnd), sheet.substr(headerEnd, rowEnd - headerEnd)};
}

void writeDatabaseSeeds(const QString& root, const QString& scratch, const DbFormat& f)
{
    const QString noun = QString::fromUtf8(f.recordNoun);
    const QString file = scratch + QLatin1Char('/') + QString::fromUtf8(f.fileName);

    // The database target: the fixture's file, and one with no records.
    fuzz::writeFixture(scratch, f);
    const QString db = targetFolder(root, noun);
    copySeed(file, db, "sample");
    Bytes empty = fuzz::readFile(file);
    empty.resize(f.recordsStart());
    empty[f.headerSize] = 0;
    empty[f.headerSize + 1] = 0;
    fuzz::writeFile(db + QStringLiteral("/empty"), empty);

    // The CSV target imports into the fixture: its own sheet, the sheet with one row more (a
    // record to add), its header alone, and one record's row changed.
    RecordTable table(f);
    NoProgress progress;
    NoPage page;
    loadDatabase(table, scratch, progress, page);
    const std::string sheet = exportCsv(table);
    const auto [header, first] = headerAndFirstRow(sheet);
    const QString csv = targetFolder(root, QStringLiteral("csv_") + noun);
    writeSeed(csv, "export.csv", sheet);
    // The ID is every schema's first column; left empty, the new record takes a free one.
    writeSeed(csv, "added.csv", sheet + "," + std::string(first.substr(first.find(',', first.find(',') + 1))));
    writeSeed(csv, "header.csv", header);
    std::string changed(header);
    changed += first;
    changed[changed.size() - 3] = changed[changed.size() - 3] == '1' ? '2' : '1';
    writeSeed(csv, "changed.csv", changed);
}

void writeIniSeeds(const QString& root)
{
    const QString ini = targetFolder(root, QStringLiteral("ini"));
    writeSeed(ini, "plain.ini", "[Path]\r\nGXPath=C:\\Games\\KRVX\r\n");
    writeSeed(ini, "others.ini",
              "\xEF\xBB\xBF; settings\n[Window]\nLeft=10\n\n[path]\n  gxpath = \"D:\\Old Games\\KRVX \"  \n"
              "Other=1\n[Caf\xE9]\nName=Z\xFCrich");
    writeSeed(ini, "nopath.ini", "[Window]\r\nLeft=10\r\nTop=20");
    writeSeed(ini, "nokey.ini", "[Path]\n\n[Next]\nx=1\n");
    writeSeed(ini, "empty.ini", "");
    // A folder to write, then a zero byte, then the file.
    writeSeed(ini, "value.ini", "  /home/user/games/KRVX\0[Path]\rGXPath=\r"sv);
    writeSeed(ini, "quoted.ini", "\"quoted\"\0[Path]\nGXPath=\"x\"\n"sv);
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    if (args.size() != 2) {
        std::fprintf(stderr, "usage: korvex-fuzz-seeds FOLDER\n");
        return 2;
    }
    const QString root = args[1];
    const QString scratch = fuzz::scratchFolder();

    for (const DbFormat* f : allFormats())
        writeDatabaseSeeds(root, scratch, *f);

    sample::writeSampleHallOfFame(scratch);
    copySeed(scratch + QStringLiteral("/Hiscores.bin"), targetFolder(root, QStringLiteral("halloffame")), "sample");
    sample::writeSampleSaveIndex(scratch);
    copySeed(scratch + QStringLiteral("/Gamess16.idx"), targetFolder(root, QStringLiteral("savedgames")), "sample");

    writeIniSeeds(root);
    return 0;
}
