// The one application object of a test program that drives widgets offscreen.
#pragma once

#include <QApplication>

namespace tallyon {

// Creates the application object, of type `App`, on the first call; later calls find it.
template <typename App = QApplication>
void EnsureApplication() {
    if (QApplication::instance()) return;
    static int argc = 1;
    static char name[] = "tallyon_tests";
    static char* argv[] = {name, nullptr};
    new App(argc, argv);
}

}  // namespace tallyon
