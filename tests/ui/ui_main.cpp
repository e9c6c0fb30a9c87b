// The window tests run on Qt's offscreen platform, with the shipped font
// mapping, in one application object.
#include <gtest/gtest.h>

#include <QApplication>
#include <cstdio>
#include <cstdlib>

#include "host/ui/ui_misc.h"

namespace {

// The offscreen platform says so each time a window asks it for what only
// a screen can do (raising, opacity); the tests read those states from
// the widgets instead.
void QuietOffscreenNotes(QtMsgType type, const QMessageLogContext&, const QString& message) {
    if (message.startsWith(QStringLiteral("This plugin does not support"))) return;
    if (type != QtDebugMsg) fprintf(stderr, "%s\n", qPrintable(message));
}

}  // namespace

int main(int argc, char** argv) {
    qInstallMessageHandler(QuietOffscreenNotes);
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    host::ui::PrepareEnvironment();
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
