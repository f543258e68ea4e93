#include "app/AppConfig.h"
#include "app/Prompts.h"
#include "app/THovedmenu.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Korvex"));
    QApplication::setApplicationDisplayName(QStringLiteral("Korvex"));

    AppConfig config(currentStartupDirectory());
    DialogPrompts prompts;
    THovedmenu window(config, prompts);
    window.showMaximized();
    return QApplication::exec();
}
