// Small parts of the host's user-interface library: the screen-scale ratio,
// visual styles, opening addresses with the desktop, and the set-up every
// program with windows does before it makes its application object.
#pragma once

#include <functional>
#include <initializer_list>

#include "host/cstring.h"
#include "host/ui/wnd.h"

class QWidget;

class CResScale {
  public:
    // The screen's scale against the standard 96 dots per inch of the
    // window's screen (the primary screen without a window): 1.0 at the
    // standard resolution, 1.5 at 144 dpi.
    static double GetRatio(const QWidget* window);
};

class CLumTheme {
  public:
    // Switches visual styles off for a window when both names are empty.
    // Qt draws every widget with the application's one style, so there is
    // nothing to switch: returns 0 (success) and changes nothing.
    static int SetWindowTheme(CWnd* window, const char16_t* appName, const char16_t* idList);
};

namespace host::ui {

// A string of the module's table (res/), else of the framework's own
// (the prompt of its help command, 57670); empty for an unknown id.
CString LoadString(int id);

// Opens an address with the desktop's handler (the browser, the mail
// program); non-zero when it was handed over.  Every program of the module
// opens addresses through here.
int ShellOpen(const CString& address);
// Whether `address` starts with one of `prefixes` ("https://", "mailto:"),
// in any letter case, and names something after it.  What comes from a
// text, a comment or the gallery is opened only when it passes this test.
bool HasPrefix(const CString& address, std::initializer_list<const char16_t*> prefixes);
// Replaces the desktop's handler (tests record what would be opened); an
// empty function restores it.
void SetShellOpenHandler(std::function<int(const CString&)> handler);

// Style sheet of the dark look's scroll bars: dark grooves, grey handles.
const char* DarkScrollBarStyle();
// Gives a dialog window the palettes' dark look: the palette's background
// and text colours, darker fields, and the dark scroll bars.
void ApplyDarkLook(QWidget* window);

// Run before the QApplication is made: selects the shipped fontconfig file
// (res/fonts/fonts.conf, which maps the dialogs' Windows font names to
// IPAGothic) unless FONTCONFIG_FILE is already set, and leaves out of Qt's
// messages the offscreen platform's notes that it cannot raise a window or
// make it translucent (it says so at every show; the windows keep those
// states all the same).
void PrepareEnvironment();

}  // namespace host::ui
