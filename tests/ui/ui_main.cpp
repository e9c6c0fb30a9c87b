// The window tests run on Qt's offscreen platform, with the shipped font
// mapping, in one application object.
#include <gtest/gtest.h>

#include <QApplication>
#include <cstdlib>

#include "host/ui/ui_misc.h"

int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    host::ui::PrepareEnvironment();
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
