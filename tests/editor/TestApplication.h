#pragma once

#include <QApplication>

namespace tavro::test {

// The one QApplication of a test program, on the offscreen platform so the
// tests need no display.
inline QApplication& TestApplication() {
    static int argc = 1;
    static char name[] = "tavro-tests";
    static char* argv[] = {name, nullptr};
    static QApplication* application = [] {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        return new QApplication(argc, argv);
    }();
    return *application;
}

}  // namespace tavro::test
