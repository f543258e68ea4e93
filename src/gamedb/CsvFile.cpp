#include "gamedb/CsvFile.h"

#include "gamedb/FileIo.h"

namespace gamedb {

std::string readCsvFile(const QString& path)
{
    const Bytes bytes = readGameFile(path, -1, Access::ReadOnly);
    return std::string(bytes.begin(), bytes.end());
}

void writeCsvFile(const QString& path, std::string_view csv)
{
    writeGameFile(path, std::span(reinterpret_cast<const std::uint8_t*>(csv.data()), csv.size()));
}

} // namespace gamedb
