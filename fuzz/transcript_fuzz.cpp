// The transcript reader of the replay engine, and the getters that read the
// loaded table, on any file a user might pass to --replies.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "sky/replay_engine.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    CReplayEngine engine;
    std::string error;
    if (!engine.LoadText(std::string_view(reinterpret_cast<const char*>(data), size), &error)) {
        return 0;
    }
    engine.GetJd();
    engine.GetTz();
    engine.GetLatitude();
    engine.GetLongitude();
    engine.GetHeight();
    engine.OnEarth();
    engine.GetMoonAge();
    engine.GetDate();
    int y, mo, d, h, mi, s;
    engine.GetLT(&y, &mo, &d, &h, &mi, &s);
    engine.Doit(u"? ClickData.Object");
    return 0;
}
