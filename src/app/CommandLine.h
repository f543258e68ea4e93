#pragma once
// korvex export|import FOLDER managers|teams|players FILE: the CSV round trip without a window; an
// export may keep only the records that match --where COLUMN EXPR filters.

#include <QStringList>

#include <iosfwd>
#include <optional>

namespace cli {

// Exit statuses: success, a refusal or error (message on err, nothing written), wrong usage.
inline constexpr int kOk = 0;
inline constexpr int kRefused = 1;
inline constexpr int kUsage = 2;

// True when the arguments (program name first) ask for a command rather than the window.
bool isCommand(const QStringList& args);

// Runs the command; FILE "-" is in for import and out for export.
int runCommand(const QStringList& args, std::istream& in, std::ostream& out, std::ostream& err);

} // namespace cli
