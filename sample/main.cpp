// Writes a synthetic game folder: korvex-sample FOLDER [--full]
#include "sample/SampleGame.h"

#include "gamedb/GameError.h"

#include <QCoreApplication>
#include <QDir>

#include <cstdio>

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments().mid(1);
    if (args.isEmpty()) {
        std::fprintf(stderr, "usage: korvex-sample FOLDER [--full]\n");
        return 2;
    }
    const QString folder = args.first();
    if (!QDir().mkpath(folder)) {
        std::fprintf(stderr, "cannot create %s\n", qPrintable(folder));
        return 1;
    }
    try {
        sample::writeSampleGame(folder,
                                args.contains(QStringLiteral("--full")) ? sample::Size::Full : sample::Size::Moderate);
    } catch (const gamedb::GameError& e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 1;
    }
    return 0;
}
