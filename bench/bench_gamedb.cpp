// Loading and saving the full-size databases, each beside the plain file operation of the same
// size, building and sorting the player list, and CSV export and import beside a plain read and
// write of the same CSV bytes. Prints medians and their ratios at the end.
#include "gamedb/Csv.h"
#include "gamedb/CsvFile.h"
#include "gamedb/Database.h"
#include "gamedb/FileIo.h"
#include "gamedb/Formats.h"
#include "gamedb/ListOrder.h"
#include "gamedb/ManagerDb.h"
#include "gamedb/PlayerDb.h"
#include "gamedb/TeamDb.h"
#include "sample/SampleGame.h"

#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QDir>
#include <QTemporaryDir>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <map>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

using gamedb::DbFormat;

// The generator's full-size folder, made once for the whole run.
const QString& folder()
{
    static QTemporaryDir dir;
    static const bool written = [] {
        if (!dir.isValid())
            throw std::runtime_error("no temporary folder");
        sample::writeSampleGame(dir.path(), sample::Size::Full);
        return true;
    }();
    static const QString path = dir.path();
    (void)written;
    return path;
}

std::string pathOf(const DbFormat& f)
{
    return (folder() + "/" + QString::fromUtf8(f.fileName)).toStdString();
}

std::size_t fileSize(const DbFormat& f)
{
    struct stat st {};
    if (::stat(pathOf(f).c_str(), &st) != 0)
        throw std::runtime_error("missing " + pathOf(f));
    return static_cast<std::size_t>(st.st_size);
}

// A page whose list keeps every line, as the real list does.
class KeepingPage : public gamedb::NoPage {
public:
    void clearList() override
    {
        lines.clear();
        lines.reserve(20000);
    }
    void addLine(const gamedb::RecordTable& table, int number) override { lines.push_back(table.listLine(number)); }
    std::vector<std::string> lines;
};

// Without a page, as tools load; with one that keeps every line, as the data editor's list does.
template <class Page> void load(benchmark::State& state, const DbFormat* f)
{
    gamedb::RecordTable table(*f);
    gamedb::NoProgress progress;
    Page page;
    for (auto _ : state) {
        gamedb::loadDatabase(table, folder(), progress, page);
        benchmark::DoNotOptimize(table.bytes().data());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * fileSize(*f)));
}

void readWhole(benchmark::State& state, const std::string& path, std::size_t size)
{
    for (auto _ : state) {
        std::vector<char> buf(size);
        const int fd = ::open(path.c_str(), O_RDONLY);
        std::size_t got = 0;
        while (got < size) {
            const ssize_t r = ::read(fd, buf.data() + got, size - got);
            if (r <= 0)
                break;
            got += static_cast<std::size_t>(r);
        }
        ::close(fd);
        if (got != size)
            state.SkipWithError("short read");
        benchmark::DoNotOptimize(buf.data());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * size));
}

void plainRead(benchmark::State& state, const DbFormat* f)
{
    readWhole(state, pathOf(*f), fileSize(*f));
}

void save(benchmark::State& state, const DbFormat* f)
{
    gamedb::RecordTable table(*f);
    gamedb::NoProgress progress;
    gamedb::NoPage page;
    gamedb::loadDatabase(table, folder(), progress, page);
    for (auto _ : state)
        gamedb::saveDatabase(table, folder(), progress, page);
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * fileSize(*f)));
}

// Write the same number of bytes to a new file beside the original and rename it over a copy:
// what any safe rewrite costs at the least. With sync, the data reach the disk before the rename,
// as a save makes sure they do.
void writeRename(benchmark::State& state, const std::string& path, std::size_t size, bool sync)
{
    const std::vector<char> data(size, 'k');
    const std::string target = path + ".plain";
    const std::string tmp = target + ".tmp";
    for (auto _ : state) {
        const int fd = ::open(tmp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
        std::size_t put = 0;
        while (put < data.size()) {
            const ssize_t w = ::write(fd, data.data() + put, data.size() - put);
            if (w <= 0)
                break;
            put += static_cast<std::size_t>(w);
        }
        if (sync)
            ::fsync(fd);
        ::close(fd);
        if (put != data.size() || ::rename(tmp.c_str(), target.c_str()) != 0)
            state.SkipWithError("write failed");
    }
    ::unlink(target.c_str());
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * data.size()));
}

void plainWriteRename(benchmark::State& state, const DbFormat* f, bool sync)
{
    writeRename(state, pathOf(*f), fileSize(*f), sync);
}

gamedb::RecordTable loaded(const DbFormat& f)
{
    gamedb::RecordTable table(f);
    gamedb::NoProgress progress;
    gamedb::NoPage page;
    gamedb::loadDatabase(table, folder(), progress, page);
    return table;
}

// The unchanged export of the sample, written once beside the game files.
std::string csvPathOf(const DbFormat& f)
{
    const std::string path = (folder() + "/" + QString::fromUtf8(f.recordNoun) + ".csv").toStdString();
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0)
        gamedb::writeCsvFile(folder(), QString::fromStdString(path), gamedb::exportCsv(loaded(f)));
    return path;
}

std::size_t csvSize(const DbFormat& f)
{
    struct stat st {};
    if (::stat(csvPathOf(f).c_str(), &st) != 0)
        throw std::runtime_error("missing " + csvPathOf(f));
    return static_cast<std::size_t>(st.st_size);
}

// From the table in memory to the file on disk, through the atomic write (with its fsync).
void csvExport(benchmark::State& state, const DbFormat* f)
{
    const gamedb::RecordTable table = loaded(*f);
    const QString path = QString::fromStdString(csvPathOf(*f) + ".out");
    for (auto _ : state)
        gamedb::writeCsvFile(folder(), path, gamedb::exportCsv(table));
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * csvSize(*f)));
}

// The export alone, in memory.
void csvExportMemory(benchmark::State& state, const DbFormat* f)
{
    const gamedb::RecordTable table = loaded(*f);
    for (auto _ : state) {
        std::string csv = gamedb::exportCsv(table);
        benchmark::DoNotOptimize(csv.data());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * csvSize(*f)));
}

// From the file on disk into the table in memory: read, parse, check every cell, apply. Each
// iteration starts from the loaded table, as the editor's import does.
void csvImport(benchmark::State& state, const DbFormat* f)
{
    const gamedb::RecordTable table = loaded(*f);
    const QString path = QString::fromStdString(csvPathOf(*f));
    for (auto _ : state) {
        gamedb::RecordTable t = table;
        gamedb::importCsv(t, gamedb::readCsvFile(path));
        benchmark::DoNotOptimize(t.bytes().data());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * csvSize(*f)));
}

void plainReadCsv(benchmark::State& state, const DbFormat* f)
{
    readWhole(state, csvPathOf(*f), csvSize(*f));
}

void plainWriteRenameCsv(benchmark::State& state, const DbFormat* f, bool sync)
{
    writeRename(state, csvPathOf(*f), csvSize(*f), sync);
}

// The player page's list: one line per record, split into name and number, sorted.
void playerListLines(benchmark::State& state)
{
    gamedb::RecordTable table(gamedb::kPlayerFormat);
    gamedb::NoProgress progress;
    gamedb::NoPage page;
    gamedb::loadDatabase(table, folder(), progress, page);
    for (auto _ : state) {
        gamedb::ListLines lines;
        lines.reserve(static_cast<std::size_t>(table.count()));
        for (int i = 1; i <= table.count(); ++i)
            lines.add(table, i);
        lines.sort();
        benchmark::DoNotOptimize(lines.record(0));
    }
    state.SetItemsProcessed(state.iterations() * table.count());
}

// Passes everything on to the console and remembers each benchmark's median.
class MedianReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override
    {
        for (const Run& r : runs) {
            if (r.run_type == Run::RT_Aggregate && r.aggregate_name == "median")
                medians[r.run_name.function_name] = r.GetAdjustedRealTime();
        }
        ConsoleReporter::ReportRuns(runs);
    }
    std::map<std::string, double> medians; // milliseconds
};

void registerAll()
{
    const struct {
        const char* name;
        const DbFormat* format;
    } kinds[] = {
        {"managers", &gamedb::kManagerFormat}, {"teams", &gamedb::kTeamFormat}, {"players", &gamedb::kPlayerFormat}};
    for (const auto& k : kinds) {
        const std::string n = k.name;
        benchmark::RegisterBenchmark(("load/" + n).c_str(), load<gamedb::NoPage>, k.format)
            ->Unit(benchmark::kMillisecond)
            ->UseRealTime();
        benchmark::RegisterBenchmark(("load_keeping_lines/" + n).c_str(), load<KeepingPage>, k.format)
            ->Unit(benchmark::kMillisecond)
            ->UseRealTime();
        benchmark::RegisterBenchmark(("plain_read/" + n).c_str(), plainRead, k.format)
            ->Unit(benchmark::kMillisecond)
            ->UseRealTime();
        benchmark::RegisterBenchmark(("save/" + n).c_str(), save, k.format)
            ->Unit(benchmark::kMillisecond)
            ->UseRealTime();
        benchmark::RegisterBenchmark(("plain_write_rename/" + n).c_str(), plainWriteRename, k.format, false)
            ->Unit(benchmark::kMillisecond)
            ->UseRealTime();
        benchmark::RegisterBenchmark(("plain_write_fsync_rename/" + n).c_str(), plainWriteRename, k.format, true)
            ->Unit(benchmark::kMillisecond)
            ->UseRealTime();
        benchmark::RegisterBenchmark(("csv_export/" + n).c_str(), csvExport, k.format)
            ->Unit(benchmark::kMillisecond)
            ->UseRealTime();
        benchmark::RegisterBenchmark(("csv_export_in_memory/" + n).c_str(), csvExportMemory, k.format)
            ->Unit(benchmark::kMillisecond)
            ->UseRealTime();
        benchmark::RegisterBenchmark(("plain_write_rename_csv/" + n).c_str(), plainWriteRenameCsv, k.format, false)
            ->Unit(benchmark::kMillisecond)
            ->UseRealTime();
        benchmark::RegisterBenchmark(("plain_write_fsync_rename_csv/" + n).c_str(), plainWriteRenameCsv, k.format, true)
            ->Unit(benchmark::kMillisecond)
            ->UseRealTime();
        benchmark::RegisterBenchmark(("csv_import/" + n).c_str(), csvImport, k.format)
            ->Unit(benchmark::kMillisecond)
            ->UseRealTime();
        benchmark::RegisterBenchmark(("plain_read_csv/" + n).c_str(), plainReadCsv, k.format)
            ->Unit(benchmark::kMillisecond)
            ->UseRealTime();
    }
    benchmark::RegisterBenchmark("list_lines/players", playerListLines)->Unit(benchmark::kMillisecond)->UseRealTime();
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    // Medians of ten runs unless asked otherwise.
    std::vector<char*> args(argv, argv + argc);
    bool repetitionsGiven = false;
    for (int i = 1; i < argc; ++i)
        repetitionsGiven = repetitionsGiven || std::strncmp(argv[i], "--benchmark_repetitions", 23) == 0;
    static char reps[] = "--benchmark_repetitions=10";
    static char aggregates[] = "--benchmark_report_aggregates_only=true";
    if (!repetitionsGiven) {
        args.push_back(reps);
        args.push_back(aggregates);
    }
    int n = static_cast<int>(args.size());
    benchmark::Initialize(&n, args.data());
    if (benchmark::ReportUnrecognizedArguments(n, args.data()))
        return 1;

    folder(); // generated before any timing starts
    for (const DbFormat* f : gamedb::allFormats())
        csvPathOf(*f);
    registerAll();
    MedianReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();

    const auto& m = reporter.medians;
    auto ratio = [&](const std::string& a, const std::string& b) {
        if (!m.count(a) || !m.count(b))
            return;
        std::printf("%-30s %8.3f ms / %-34s %8.3f ms = %5.2fx\n", a.c_str(), m.at(a), b.c_str(), m.at(b),
                    m.at(a) / m.at(b));
    };
    std::printf("\nMedians and ratios (real time):\n");
    for (const char* k : {"managers", "teams", "players"}) {
        const std::string n = k;
        ratio("load/" + n, "plain_read/" + n);
        ratio("load_keeping_lines/" + n, "plain_read/" + n);
        ratio("save/" + n, "plain_write_rename/" + n);
        ratio("save/" + n, "plain_write_fsync_rename/" + n);
        ratio("csv_export/" + n, "plain_write_rename_csv/" + n);
        ratio("csv_export/" + n, "plain_write_fsync_rename_csv/" + n);
        ratio("csv_export_in_memory/" + n, "plain_write_rename_csv/" + n);
        ratio("csv_import/" + n, "plain_read_csv/" + n);
    }
    if (m.count("list_lines/players"))
        std::printf("list_lines/players: %.3f ms for 20000 lines built and sorted\n", m.at("list_lines/players"));
    return 0;
}
