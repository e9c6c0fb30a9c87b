// vexclk-palette: shows the object-information palette for an object of the
// sky engine (or of a transcript), the way the planetarium shows it; or,
// with --screenshot, renders it offscreen into a PNG file.
#include <QApplication>
#include <QTimer>
#include <QWidget>
#include <cstdlib>
#include <ctime>
#include <iostream>
#include <memory>
#include <string>
#include <vector>

#include "apps/cli.h"
#include "engine/corlum.h"
#include "host/file_system.h"
#include "host/ui/event_hook.h"
#include "host/ui/ui_misc.h"
#include "palette/dlg_click_data.h"
#include "sky/replay_engine.h"
#include "sky/sky_engine.h"
#include "telescope/indi_telescope.h"

namespace {

const char* const kUsage =
    "usage: vexclk-palette [ENGINE OPTIONS] [--telescope HOST[:PORT]]\n"
    "                      [--screenshot FILE] [OBJECT]\n"
    "\n"
    "Shows the object-information palette for OBJECT (an engine identifier; by\n"
    "default Star.HIP32349, Sirius), as the planetarium does when the object is\n"
    "clicked.  Without --time the sky engine follows the clock, refreshing the\n"
    "palette every 10 seconds.  Closing the palette ends the program.\n"
    "\n"
    "  --screenshot FILE  render the palette offscreen into the PNG file FILE and\n"
    "                     exit (no display needed)\n"
    "  --telescope HOST[:PORT]\n"
    "                     drive the mount of the INDI server at HOST (port 7624\n"
    "                     unless given) with the telescope button\n"
    "\n"
    "ENGINE OPTIONS: --replies FILE (a transcript), or the sky engine with\n"
    "--time ISO-8601, --tz HOURS, --lat DEG, --lon DEG, --height METRES,\n"
    "--pick STAR, as for 'vexclk text'.\n"
    "\n"
    "The palette keeps its settings and window place in the settings store, and\n"
    "the comments in the comment file, as 'vexclk settings' and 'vexclk comment'\n"
    "describe.\n";

constexpr const char16_t* kDefaultObject = u"Star.HIP32349";
constexpr int kRefreshMs = 10000;

int Fail(const std::string& message) {
    std::string line = message;
    // The engine options' messages name the command as "vexclk palette".
    if (line.rfind("vexclk palette", 0) == 0) line.replace(0, 14, "vexclk-palette");
    std::cerr << line << "\n";
    return 2;
}

double NowJd() {
    return std::time(nullptr) / 86400.0 + 2440587.5;
}

}  // namespace

int main(int argc, char** argv) {
    std::vector<std::string> args{"palette"};
    std::string screenshot;
    std::string address;
    bool live = true;
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        if (a == "--help") {
            std::cout << kUsage;
            return 0;
        }
        if (a == "--screenshot" || a == "--telescope") {
            if (i + 1 >= argc || !*argv[i + 1])
                return Fail("vexclk-palette: " + a + " needs a value");
            (a == "--screenshot" ? screenshot : address) = argv[++i];
            continue;
        }
        if (a == "--time" || a == "--replies") live = false;
        args.push_back(a);
    }
    vexclk::CommandEngine made;
    std::string error;
    if (!vexclk::MakeCommandEngine(args, &made, &error)) return Fail(error);
    if (made.operands.size() > 1) return Fail("vexclk-palette: give one OBJECT at most");
    const CString object =
        made.operands.empty() ? CString(kDefaultObject) : CString::FromUtf8(made.operands[0]);

    // A transcript cannot take the selection as the sky engine does: it
    // answers with OBJECT.
    if (auto* replay = dynamic_cast<CReplayEngine*>(made.engine.get())) {
        replay->SetReply(u"? ClickData.Object", object);
    }
    std::unique_ptr<CIndiTelescope> telescope;
    if (!address.empty()) {
        telescope = CIndiTelescope::ConnectTo(address, &error);
        if (!telescope) return Fail("vexclk-palette: --telescope: " + error);
    }

    host::ui::PrepareEnvironment();
    if (!screenshot.empty()) setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QApplication app(argc, argv);
    const std::string data = host::XdgFolder("XDG_DATA_HOME", ".local/share");
    CDlgClickData palette(nullptr, CString::FromUtf8(data.empty() ? "" : data + "/vexclk/"));
    palette.SetCorLum(made.engine.get(), nullptr);
    palette.m_telescope = telescope.get();
    if (!palette.Create()) return Fail("vexclk-palette: the palette window cannot be made");
    palette.ShowClickData(object);
    QWidget* window = palette.GetSafeHwnd();

    if (!screenshot.empty()) {
        QApplication::processEvents();
        if (!window->grab().save(QString::fromStdString(screenshot), "PNG")) {
            return Fail("vexclk-palette: cannot write " + screenshot);
        }
        return 0;
    }
    new host::ui::EventHook(window, [](QEvent* event) {
        if (event->type() == QEvent::Hide) QApplication::quit();
        return false;
    });
    QTimer clock;
    if (live && made.sky) {
        QObject::connect(&clock, &QTimer::timeout, [&] {
            made.sky->SetJd(NowJd());
            palette.OnUpdate(0);
        });
        clock.start(kRefreshMs);
    }
    return QApplication::exec();
}
