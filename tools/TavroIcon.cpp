// tavro-icon: writes the program's picture as the application icon of the
// hicolor icon theme, one PNG file per size.

#include <QDir>
#include <QGuiApplication>

#include <iostream>

#include "editor/ProgramBadge.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: tavro-icon FOLDER\n"
                     "writes FOLDER/hicolor/SIZExSIZE/apps/tavro.png\n";
        return 2;
    }
    // Drawing needs no display.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    const QGuiApplication application(argc, argv);
    const QString folder = QString::fromLocal8Bit(argv[1]);
    for (int size : {16, 22, 24, 32, 48, 64, 128, 256}) {
        const QString apps = QStringLiteral("%1/hicolor/%2x%2/apps").arg(folder).arg(size);
        const QString file = apps + QStringLiteral("/tavro.png");
        if (!QDir().mkpath(apps) ||
            !tavro::DrawProgramBadge(size, tavro::kBadgeNormalColour).save(file, "PNG")) {
            std::cerr << "tavro-icon: cannot write " << file.toStdString() << '\n';
            return 1;
        }
    }
    return 0;
}
