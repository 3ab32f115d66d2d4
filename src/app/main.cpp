// tavro: watches what is typed on the X11 desktop and replaces triggers.

#include <QApplication>

#include <cstdlib>
#include <iostream>
#include <stdexcept>

#include "app/TavroApplication.h"

int main(int argc, char** argv) {
    const char* display = std::getenv("DISPLAY");
    if (display == nullptr || *display == '\0') {
        std::cerr << "tavro: no X display. Tavro watches and types into X11 applications; "
                     "start it inside an X session (DISPLAY is not set).\n";
        return 1;
    }
    // The key capture and injection talk to the X server: Qt must use it too,
    // also in a Wayland session (through XWayland).
    qputenv("QT_QPA_PLATFORM", "xcb");
    try {
        const tavro::x11::XConnection probe;
    } catch (const std::runtime_error& error) {
        std::cerr << "tavro: cannot use the X display " << display << ": " << error.what() << '\n';
        return 1;
    }
    QApplication application(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);
    QApplication::setApplicationName(QStringLiteral("Tavro"));
    try {
        tavro::TavroApplication tavro(QApplication::applicationDirPath().toStdU16String());
        if (!tavro.BecomeTheOnlyInstance()) {
            std::cout << "Tavro is already running on this display: its main window is shown."
                      << std::endl;
            return 0;
        }
        tavro.Start();
        std::cout << "Tavro is running." << std::endl;
        return QApplication::exec();
    } catch (const std::runtime_error& error) {
        std::cerr << "tavro: " << error.what() << '\n';
        return 1;
    }
}
