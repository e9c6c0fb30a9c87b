// vexclk-gui: the planetarium's main window, a sky chart whose clicks show
// the object-information palette; or, with --screenshot, the window
// rendered offscreen into a PNG file.
#include <QApplication>
#include <QElapsedTimer>
#include <cstdlib>
#include <iostream>
#include <memory>
#include <string>
#include <vector>

#include "apps/cli.h"
#include "gui/main_frame.h"
#include "gui/sample_gallery.h"
#include "host/file_system.h"
#include "host/ui/ui_misc.h"
#include "telescope/indi_telescope.h"

namespace {

const char* const kUsage =
    "usage: vexclk-gui [--time ISO-8601] [--tz HOURS] [--lat DEG] [--lon DEG]\n"
    "                  [--height METRES] [--object ID] [--equatorial]\n"
    "                  [--telescope HOST[:PORT]] [--sample-gallery] [--screenshot FILE]\n"
    "\n"
    "Shows the sky chart of the sky engine.  A click on an object shows its\n"
    "information palette; the wheel zooms, a drag pans.  The toolbar sets the\n"
    "time (now, one hour or one day either way, a running clock), the place\n"
    "(kept in the settings store) and the frame (horizon or equatorial).\n"
    "Without --time the chart starts now with the clock running; without\n"
    "--lat, --lon, --height and --tz at the stored place (else Tokyo).\n"
    "\n"
    "  --object ID        select ID (an engine identifier such as Star.HIP32349)\n"
    "                     and turn the chart towards it\n"
    "  --equatorial       start in the equatorial frame\n"
    "  --telescope HOST[:PORT]\n"
    "                     drive the mount of the INDI server at HOST (port 7624\n"
    "                     unless given) with the palette's telescope button\n"
    "  --sample-gallery   serve a few generated pictures on 127.0.0.1 as the\n"
    "                     posted-image gallery, for the thumbnail strip\n"
    "  --screenshot FILE  render the window (and the palette) offscreen into the\n"
    "                     PNG file FILE and exit (no display needed)\n";

// How long a screenshot waits for the thumbnail strip, milliseconds.
constexpr int kGalleryWaitMs = 3000;

int Fail(const std::string& message) {
    std::string line = message;
    // The engine options' messages name the command as "vexclk gui".
    if (line.rfind("vexclk gui", 0) == 0) line.replace(0, 10, "vexclk-gui");
    std::cerr << line << "\n";
    return 2;
}

struct Options {
    std::vector<std::string> engineArgs{"gui"};
    std::string screenshot;
    std::string object;
    std::string telescope;
    bool sampleGallery = false;
    bool equatorial = false;
    bool timeGiven = false;
    bool placeGiven = false;
};

// Reads the command line; false with a message on bad input.
bool ReadOptions(int argc, char** argv, Options* o, std::string* error) {
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        if (a == "--screenshot" || a == "--object" || a == "--telescope") {
            if (i + 1 >= argc || !*argv[i + 1]) {
                *error = "vexclk-gui: " + a + " needs a value";
                return false;
            }
            (a == "--screenshot" ? o->screenshot
             : a == "--object"   ? o->object
                                 : o->telescope) = argv[++i];
        } else if (a == "--sample-gallery") {
            o->sampleGallery = true;
        } else if (a == "--equatorial") {
            o->equatorial = true;
        } else if (a == "--replies") {
            *error = "vexclk-gui: the chart needs the sky engine, not a transcript";
            return false;
        } else {
            o->timeGiven = o->timeGiven || a == "--time";
            o->placeGiven =
                o->placeGiven || a == "--lat" || a == "--lon" || a == "--height" || a == "--tz";
            o->engineArgs.push_back(a);
        }
    }
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        if (std::string(argv[i]) == "--help") {
            std::cout << kUsage;
            return 0;
        }
    }
    Options options;
    std::string error;
    if (!ReadOptions(argc, argv, &options, &error)) return Fail(error);
    vexclk::CommandEngine made;
    if (!vexclk::MakeCommandEngine(options.engineArgs, &made, &error)) return Fail(error);
    if (!made.operands.empty()) return Fail("vexclk-gui: unexpected " + made.operands[0]);
    CSkyEngine& sky = *made.sky;
    const CString object = CString::FromUtf8(options.object);
    if (!object.IsEmpty() && sky.Doit(u"? " + object + u".Position.Altitude").IsEmpty()) {
        return Fail("vexclk-gui: no object " + options.object);
    }
    std::unique_ptr<CIndiTelescope> telescope;
    if (!options.telescope.empty()) {
        telescope = CIndiTelescope::ConnectTo(options.telescope, &error);
        if (!telescope) return Fail("vexclk-gui: --telescope: " + error);
    }

    host::ui::PrepareEnvironment();
    if (!options.screenshot.empty()) setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QApplication app(argc, argv);
    std::unique_ptr<gui::CSampleGallery> gallery;
    if (options.sampleGallery) {
        gallery = std::make_unique<gui::CSampleGallery>();
        if (!gallery->IsRunning()) return Fail("vexclk-gui: the sample gallery cannot start");
        // The gallery client takes this address over the stored one.
        setenv("VEXCLK_GALLERY_URL", gallery->SearchUrl().c_str(), 1);
    }
    const std::string data = host::XdgFolder("XDG_DATA_HOME", ".local/share");
    gui::CMainFrame frame(&sky, CString::FromUtf8(data.empty() ? "" : data + "/vexclk/"));
    if (!frame.Create()) return Fail("vexclk-gui: the window cannot be made");
    gui::ObserverPlace place = gui::ReadStoredPlace();
    if (options.placeGiven) {
        place = {u"任意の地点", sky.GetLatitude(), sky.GetLongitude(), sky.GetHeight(),
                 sky.GetTz()};
    }
    frame.ApplyPlace(place, false);
    frame.SetTelescope(telescope.get());
    if (options.equatorial) frame.Action("equatorial")->trigger();
    frame.ShowWindow(SW_SHOW);
    if (!object.IsEmpty()) {
        frame.Chart()->TurnTowards(object);
        frame.Palette().ShowClickData(object);
    }

    if (!options.screenshot.empty()) {
        QElapsedTimer waited;
        waited.start();
        do {
            QApplication::processEvents(QEventLoop::AllEvents, 50);
        } while (gallery && waited.elapsed() < kGalleryWaitMs);
        if (!frame.Render().save(QString::fromStdString(options.screenshot), "PNG")) {
            return Fail("vexclk-gui: cannot write " + options.screenshot);
        }
        return 0;
    }
    if (!options.timeGiven) {
        frame.SetNow();
        frame.SetClockRunning(true);
    }
    return QApplication::exec();
}
