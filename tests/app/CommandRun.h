#pragma once
// Runs a korvex command in the test's own process, with strings for its standard streams.

#include "app/CommandLine.h"

#include <QStringList>

#include <sstream>
#include <string>

namespace cmdrun {

struct Run {
    int status;
    std::string out;
    std::string err;
};

inline Run korvex(const QStringList& args, const std::string& input = {})
{
    std::istringstream in(input);
    std::ostringstream out;
    std::ostringstream err;
    const int status = cli::runCommand(QStringList{"korvex"} + args, in, out, err);
    return {status, out.str(), err.str()};
}

} // namespace cmdrun
