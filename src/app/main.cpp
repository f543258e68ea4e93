#include "app/CommandLine.h"
#include "app/THovedmenu.h"
#include "gamedb/FileIo.h"
#include "widgets/AppConfig.h"
#include "widgets/Prompts.h"

#include <QApplication>
#include <QScreen>

#include <iostream>

int main(int argc, char* argv[])
{
    // The backups' place is named after the program, for the commands as for the window.
    QCoreApplication::setApplicationName(QStringLiteral("Korvex"));
    // The CSV commands run before, and without, any window.
    const QStringList args = gamedb::commandLineArguments(argc, argv); // every name as the system gave it
    if (cli::isCommand(args))
        return cli::runCommand(args, std::cin, std::cout, std::cerr);

    QApplication app(argc, argv);
    // No display name: Qt would append it to every top-level title ("Confirm — Korvex").

    AppConfig config(currentStartupDirectory());
    DialogPrompts prompts;
    THovedmenu window(config, prompts);
    // Fill the screen also where no window manager maximizes (a bare X server).
    window.setGeometry(window.screen()->availableGeometry());
    window.showMaximized();
    return QApplication::exec();
}
