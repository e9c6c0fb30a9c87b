// A program of its own, built against an installed vexclk (tests/package):
//   sirius TIME [OBJECT]
// prints the folder the installed sky engine reads its catalogues from, then
// the information text of OBJECT (default Sirius) at TIME (ISO 8601, the
// engine's zone when it names none), seen from the engine's default place
// with the display settings of the store, as `vexclk text --time TIME` does.
#include <cstdio>
#include <memory>
#include <string>

#include "clickdata/click_data.h"
#include "host/iso_time.h"
#include "settings/cdstatus.h"
#include "sky/catalog.h"
#include "sky/sky_engine.h"

int main(int argc, char** argv) {
    if (argc < 2 || argc > 3) {
        std::fprintf(stderr, "usage: sirius TIME [OBJECT]\n");
        return 2;
    }
    const std::string dir = CSkyCatalog::DefaultDataDir();
    std::printf("data: %s\n", dir.c_str());
    auto catalog = std::make_shared<CSkyCatalog>();
    std::string error;
    if (!catalog->Load(dir, &error)) {
        std::fprintf(stderr, "sirius: %s\n", error.c_str());
        return 1;
    }
    CSkyEngine engine(catalog);
    double jd = 0.0;
    if (!host::ParseIsoTime(argv[1], engine.GetTz(), &jd, &error) || !engine.SetJd(jd)) {
        std::fprintf(stderr, "sirius: bad time: %s\n", error.c_str());
        return 2;
    }
    CCdStatus status;
    status.Load();
    CLumClickData data;
    data.SetStatus(&status);
    const CString object = CString::FromUtf8(argc > 2 ? argv[2] : "Star.HIP32349");
    const CString text = data.GetText(&engine, object, 0);
    std::fputs(text.ToUtf8().c_str(), stdout);
    return text.IsEmpty() ? 1 : 0;
}
