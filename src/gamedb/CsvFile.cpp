#include "gamedb/CsvFile.h"

#include "gamedb/FileIo.h"
#include "gamedb/GameError.h"

namespace gamedb {
namespace {

// The game file that path would overwrite, or an empty string.
std::string gameFileAt(const QString& gameFolder, const QString& path)
{
    const bool inGameFolder = sameFolder(folderOf(path), gameFolder);
    for (const std::string_view name : gameFileNames()) {
        const QString game = QString::fromLatin1(name.data(), static_cast<qsizetype>(name.size()));
        // Another spelling of a name in the game folder would be taken for the game's file.
        if ((inGameFolder && nameOf(path).compare(game, Qt::CaseInsensitive) == 0) ||
            sameFile(path, gameFilePath(gameFolder, game)))
            return std::string(name);
    }
    return {};
}

} // namespace

std::string csvTooLargeText()
{
    return "the sheet is larger than " + std::to_string(kCsvSizeLimit >> 20) +
           " MB, more than any database's sheet can be; nothing was read";
}

std::string readCsvFile(const QString& path)
{
    const Bytes bytes = readInputFile(path, kCsvSizeLimit, csvTooLargeText());
    return std::string(bytes.begin(), bytes.end());
}

void writeCsvFile(const QString& gameFolder, const QString& path, std::string_view csv)
{
    if (const std::string game = gameFileAt(gameFolder, path); !game.empty()) {
        throw GameError("That is the game's own file " + game +
                        ", which an export never writes over; choose another name");
    }
    writeOutputFile(path, std::span(reinterpret_cast<const std::uint8_t*>(csv.data()), csv.size()));
}

} // namespace gamedb
