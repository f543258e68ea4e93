#pragma once
// The game's texts are single bytes in the Windows-1252 code page. The five bytes that code page
// leaves unassigned map to the C1 controls of the same number, so every byte 1..255 round-trips.

#include <QString>

#include <optional>
#include <string>
#include <string_view>

namespace gamedb {

QString fromGame(std::string_view bytes);

// Empty when the text holds a character the code page cannot store.
std::optional<std::string> toGame(const QString& text);

bool isGameChar(QChar c);

} // namespace gamedb
