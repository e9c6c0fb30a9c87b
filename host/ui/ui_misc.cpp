#include "host/ui/ui_misc.h"

#include <QDesktopServices>
#include <QGuiApplication>
#include <QScreen>
#include <QUrl>
#include <QWidget>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "host/install_dir.h"
#include "host/ui/qt_text.h"
#include "res/string_table.h"

double CResScale::GetRatio(const QWidget* window) {
    const QScreen* screen = window ? window->screen() : QGuiApplication::primaryScreen();
    if (!screen) return 1.0;
    const double dpi = screen->logicalDotsPerInchY() * screen->devicePixelRatio();
    return dpi > 0 ? dpi / 96.0 : 1.0;
}

int CLumTheme::SetWindowTheme(CWnd* window, const char16_t* appName, const char16_t* idList) {
    (void)window, (void)appName, (void)idList;
    return 0;
}

namespace host::ui {

namespace {

// The framework's help command and its "text\ntool tip".
constexpr int kHelpCommand = 57670;
constexpr const char16_t* kHelpPrompt = u"ヘルプ\nヘルプ";

std::function<int(const CString&)>& OpenHandler() {
    static std::function<int(const CString&)> handler;
    return handler;
}

}  // namespace

CString LoadString(int id) {
    if (id == kHelpCommand) return kHelpPrompt;
    return LoadResString(id);
}

int ShellOpen(const CString& address) {
    if (OpenHandler()) return OpenHandler()(address);
    return QDesktopServices::openUrl(QUrl(ToQString(address))) ? 1 : 0;
}

bool HasPrefix(const CString& address, std::initializer_list<const char16_t*> prefixes) {
    for (const char16_t* prefix : prefixes) {
        const int length = CString(prefix).GetLength();
        if (address.GetLength() > length && address.Left(length).CompareNoCase(prefix) == 0)
            return true;
    }
    return false;
}

void SetShellOpenHandler(std::function<int(const CString&)> handler) {
    OpenHandler() = std::move(handler);
}

void ApplyDarkLook(QWidget* window) {
    // #282828 and #c4c4c4 are the palette's background and text.
    window->setStyleSheet(
        QStringLiteral("QWidget { background-color: #282828; color: #c4c4c4; }"
                       "QListWidget, QTextEdit { background-color: #1c1c1c;"
                       " border: 1px solid #505050; }"
                       "QPushButton { background-color: #3a3a3a; border: 1px solid #606060;"
                       " padding: 2px 6px; }"
                       "QPushButton:default { border-color: #9a9a9a; }"
                       "QPushButton:pressed { background-color: #505050; }"
                       "QGroupBox { border: 1px solid #505050; margin-top: 6px; }"
                       "QGroupBox::title { subcontrol-origin: margin; left: 6px; }") +
        QString::fromLatin1(DarkScrollBarStyle()));
}

const char* DarkScrollBarStyle() {
    return "QScrollBar { background: rgb(48,48,48); border: none; }"
           "QScrollBar:horizontal { height: 14px; } QScrollBar:vertical { width: 14px; }"
           "QScrollBar::handle { background: rgb(96,96,96); border-radius: 3px; }"
           "QScrollBar::handle:horizontal { min-width: 16px; }"
           "QScrollBar::handle:vertical { min-height: 16px; }"
           "QScrollBar::add-line, QScrollBar::sub-line { background: rgb(64,64,64); border: none; }"
           "QScrollBar::add-line:horizontal, QScrollBar::sub-line:horizontal { width: 14px; }"
           "QScrollBar::add-line:vertical, QScrollBar::sub-line:vertical { height: 14px; }"
           "QScrollBar::add-page, QScrollBar::sub-page { background: none; }";
}

namespace {

void WithoutPlatformNotes(QtMsgType, const QMessageLogContext&, const QString& message) {
    if (message.startsWith(QStringLiteral("This plugin does not support"))) return;
    std::fprintf(stderr, "%s\n", qPrintable(message));
}

}  // namespace

void PrepareEnvironment() {
    // The installed copy of the shipped file, else VEXCLK_FONTCONFIG_FILE,
    // where the build tree has it.
    const std::string installed = host::InstalledShareDir();
    const std::string fonts =
        installed.empty() ? std::string(VEXCLK_FONTCONFIG_FILE) : installed + "/fonts/fonts.conf";
    setenv("FONTCONFIG_FILE", fonts.c_str(), 0);
    qInstallMessageHandler(WithoutPlatformNotes);
}

}  // namespace host::ui
