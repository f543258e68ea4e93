#include "widgets/AppConfig.h"
#include "widgets/Prompts.h"
#include "app/THovedmenu.h"

#include <QApplication>
#include <QScreen>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Korvex"));
    // No display name: Qt would append it to every top-level title ("Confirm — Korvex").

    AppConfig config(currentStartupDirectory());
    DialogPrompts prompts;
    THovedmenu window(config, prompts);
    // Fill the screen also where no window manager maximizes (a bare X server).
    window.setGeometry(window.screen()->availableGeometry());
    window.showMaximized();
    return QApplication::exec();
}
