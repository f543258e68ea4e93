#include "gamedb/Database.h"

#include "gamedb/FileIo.h"
#include "gamedb/GameError.h"
#include "gamedb/Septet.h"

#include <algorithm>
#include <cstring>
#include <stdexcept>

namespace gamedb {
namespace {

// The record count of a file that starts with head; refused as a load refuses it.
int recordCount(const DbFormat& f, std::span<const std::uint8_t> head)
{
    if (head.size() < f.headerSize + 2)
        throw GameError(kReadBeyondEnd);
    const int count = static_cast<int>(readSeptet(head.data() + f.headerSize, 2));
    if (count > f.capacity) {
        throw GameError(std::string(f.fileName) + " holds " + std::to_string(count) + " records, but at most " +
                        std::to_string(f.capacity) + " " + std::string(f.recordNoun) +
                        " can be loaded. Nothing was loaded");
    }
    return count;
}

// An empty table may end right after its count: its two spare words are never needed.
void checkComplete(const DbFormat& f, int count, std::size_t headSize, std::size_t recordBytes)
{
    if ((count > 0 && headSize < f.recordsStart()) || recordBytes < static_cast<std::size_t>(count) * f.recordSize)
        throw GameError(kReadBeyondEnd);
}

} // namespace

int databaseRecords(const DbFormat& f, std::span<const std::uint8_t> start, std::uint64_t fileSize)
{
    const std::size_t head = static_cast<std::size_t>(std::min<std::uint64_t>(fileSize, f.recordsStart()));
    if (start.size() < head)
        throw std::logic_error("the start of the file is shorter than its head");
    const int count = recordCount(f, start.first(head));
    checkComplete(f, count, head, static_cast<std::size_t>(fileSize - head));
    return count;
}

FileStamp loadDatabase(RecordTable& table, const QString& folder, Progress& progress, PageHooks& page)
{
    const DbFormat& f = table.format();
    ProgressRun run(progress, f.loadText);

    const QString path = gameFilePath(folder, QString::fromUtf8(f.fileName));
    StampedReader reader(path);
    const Bytes head = reader.read(f.recordsStart());
    const int count = recordCount(f, head);
    // The records go straight into the buffer the table keeps.
    const std::size_t size = static_cast<std::size_t>(count) * f.recordSize;
    Bytes records = reader.read(size);
    checkComplete(f, count, head.size(), records.size());
    const FileStamp stamp = reader.finish();

    RecordTable fresh(f);
    fresh.assign(std::move(records), count);

    table = std::move(fresh);
    page.clearList();
    for (int i = 1; i <= count; ++i) {
        page.addLine(table, i);
        run.record(i, count);
    }
    page.showPages();
    page.storeAndShow();
    page.setLoaded();
    return stamp;
}

Bytes encodeDatabase(const RecordTable& table, std::span<const std::uint8_t> existingPrefix, ProgressRun* run)
{
    const DbFormat& f = table.format();
    const int n = table.count();
    Bytes out(f.recordsStart() + static_cast<std::size_t>(n) * f.recordSize);
    std::memcpy(out.data(), existingPrefix.data(), f.headerSize);
    writeSeptet(out.data() + f.headerSize, 2, static_cast<std::uint32_t>(n));
    out[f.headerSize + 2] = existingPrefix[f.headerSize + 2];
    out[f.headerSize + 3] = existingPrefix[f.headerSize + 3];
    // out[H+4], out[H+5]: the cleared word, already zero.
    std::uint8_t* dst = out.data() + f.recordsStart();
    for (int i = 1; i <= n; ++i, dst += f.recordSize) {
        std::memcpy(dst, table.record(i), f.recordSize);
        if (f.canonicalOnSave)
            canonicalise(dst, f.schema);
        if (run)
            run->record(i, n);
    }
    return out;
}

FileStamp saveDatabase(const RecordTable& table, const QString& folder, Progress& progress, PageHooks& page)
{
    const DbFormat& f = table.format();
    ProgressRun run(progress, f.saveText);
    page.storeAndShow();

    const QString path = gameFilePath(folder, QString::fromUtf8(f.fileName));
    const Bytes prefix = readGameFile(path, static_cast<long long>(f.headerSize + 4));
    if (prefix.size() < f.headerSize + 4)
        throw GameError(kReadBeyondEnd);

    const Bytes out = encodeDatabase(table, prefix, &run);
    writeGameFile(path, out);
    page.clearModified();
    return stampOf(out);
}

} // namespace gamedb
