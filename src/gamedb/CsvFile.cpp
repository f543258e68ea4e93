#include "gamedb/CsvFile.h"

#include "gamedb/FileIo.h"
#include "gamedb/GameError.h"

#include <QFile>
#include <QFileInfo>

#include <cerrno>

namespace gamedb {

std::string readCsvFile(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        const QFileInfo info(path);
        throw GameError(ioErrorText(!info.exists() ? ENOENT : info.isDir() ? EISDIR : EACCES));
    }
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        throw GameError(ioErrorText(EIO));
    return bytes.toStdString();
}

void writeCsvFile(const QString& path, std::string_view csv)
{
    writeGameFile(path, std::span(reinterpret_cast<const std::uint8_t*>(csv.data()), csv.size()));
}

} // namespace gamedb
