#pragma once
// Database files built byte by byte for tests, for any of the three formats.

#include "TestFiles.h"

#include "gamedb/Database.h"
#include "gamedb/DbFormat.h"
#include "gamedb/Septet.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QtTest>

namespace dbfiles {

// A header block no two formats share, so a header taken from the wrong place shows.
inline QByteArray header(const gamedb::DbFormat& f, int salt = 0)
{
    QByteArray h(static_cast<qsizetype>(f.headerSize), '\0');
    for (qsizetype i = 0; i < h.size(); ++i)
        h[i] = static_cast<char>((i * 7 + 3 + salt) & 0xFF);
    return h;
}

inline QByteArray countBytes(int count)
{
    std::uint8_t b[2];
    gamedb::writeSeptet(b, 2, static_cast<std::uint32_t>(count));
    return QByteArray(reinterpret_cast<const char*>(b), 2);
}

inline QByteArray blankRecord(const gamedb::DbFormat& f)
{
    return QByteArray(static_cast<qsizetype>(f.recordSize), '\0');
}

inline std::uint8_t* bytesOf(QByteArray& record)
{
    return reinterpret_cast<std::uint8_t*>(record.data());
}

// Header, count (the number of records unless given), carried word, cleared word, records.
inline QByteArray file(const gamedb::DbFormat& f, const QList<QByteArray>& records, int count = -1,
                       const QByteArray& carried = QByteArray("\x11\x22", 2),
                       const QByteArray& cleared = QByteArray("\x33\x44", 2), int headerSalt = 0)
{
    QByteArray out = header(f, headerSalt);
    out += countBytes(count < 0 ? int(records.size()) : count);
    out += carried;
    out += cleared;
    for (const QByteArray& r : records)
        out += r;
    return out;
}

// Writes a file holding these records into folder and loads it, as the data editor would.
inline gamedb::RecordTable load(const gamedb::DbFormat& f, const QString& folder, const QList<QByteArray>& records)
{
    testfiles::writeAll(folder + "/" + QString::fromUtf8(f.fileName), file(f, records));
    gamedb::RecordTable table(f);
    gamedb::NoProgress progress;
    gamedb::NoPage page;
    gamedb::loadDatabase(table, folder, progress, page);
    return table;
}

// The bytes of record n as a save writes them.
inline QByteArray savedRecord(const gamedb::DbFormat& f, const QString& folder, int n)
{
    const QByteArray saved = testfiles::readAll(folder + "/" + QString::fromUtf8(f.fileName));
    return saved.mid(qsizetype(f.recordsStart() + f.recordSize * std::size_t(n - 1)), qsizetype(f.recordSize));
}

inline void save(const gamedb::RecordTable& table, const QString& folder)
{
    gamedb::NoProgress progress;
    gamedb::NoPage page;
    gamedb::saveDatabase(table, folder, progress, page);
}

// A field read from a file holding bytes at offset, and written into an empty record: the same
// bytes at the same place and nothing else touched. Numbers read as number.
inline void checkFieldAtOffset(const gamedb::DbFormat& f, const QString& folder, const QString& control, int offset,
                               const QByteArray& bytes, long long number)
{
    const gamedb::Field& field = gamedb::fieldNamed(f.schema, control.toStdString());
    QCOMPARE(int(field.offset), offset);
    QByteArray record = blankRecord(f);
    record.replace(offset, bytes.size(), bytes);
    QCOMPARE(record.size(), qsizetype(f.recordSize));

    const gamedb::RecordTable table = load(f, folder, {record});
    QByteArray written = blankRecord(f);
    if (field.encoding == gamedb::Encoding::Text) {
        QCOMPARE(QByteArray::fromStdString(std::string(gamedb::readText(table.record(1), field))), bytes);
        gamedb::writeText(bytesOf(written), field, bytes.toStdString());
    } else {
        QCOMPARE(gamedb::readNumber(table.record(1), field), number);
        gamedb::writeNumber(bytesOf(written), field, number);
    }
    QCOMPARE(written, record);
}

} // namespace dbfiles
