// The palette's telescope button slewing a real INDI mount: indiserver
// with the telescope simulator on a free loopback port.
#include <gtest/gtest.h>

#include <QToolButton>
#include <chrono>
#include <cmath>
#include <thread>

#include "palette/dlg_click_data.h"
#include "sky/replay_engine.h"
#include "telescope/indi_telescope.h"
#include "telescope/jnow.h"
#include "tests/test_support.h"
#include "tests/ui/ui_support.h"

// The INDI client library of Debian 12 (1.9.9) keeps each device and its
// properties in a cycle of shared pointers that it never breaks: what it
// allocated for the simulator's properties stays when the client goes (all
// of it "indirect", reachable only from that cycle).  LeakSanitizer is told
// to leave the library's own allocations alone.
extern "C" const char* __lsan_default_suppressions() {
    return "leak:libindiclient.so\n";
}

namespace {

TEST(PaletteTelescope, ButtonSlewsTheSimulatorToTheObjectOfDate) {
    const std::string server = Which("indiserver");
    if (server.empty() || Which("indi_simulator_telescope").empty())
        GTEST_SKIP() << "indiserver or indi_simulator_telescope is not installed (Debian indi-bin, "
                        "which scripts/install-deps.sh installs)";
    TempDir dir;
    ScopedEnv store{"VEXCLK_REGISTRY", dir.path() + "/registry.json"};
    const int port = FreePort();
    ASSERT_GT(port, 0);
    IndiServer running(server, port);
    CIndiTelescope scope({"127.0.0.1", port, "", 20000});
    std::string error;
    int connected = 0;
    // The server takes a moment to listen.
    for (int i = 0; i < 100 && !connected; ++i) {
        connected = scope.Connect(&error);
        if (!connected) std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    ASSERT_TRUE(connected) << error;
    EXPECT_EQ(scope.DeviceName(), "Telescope Simulator");

    CReplayEngine engine;
    ASSERT_TRUE(engine.LoadFile(VEXCLK_SOURCE_DIR "/examples/sirius.replies", &error)) << error;
    engine.SetReply(u"? ClickData.Object", u"Star.Hip32349");
    CDlgClickData palette(nullptr, CString::FromUtf8(dir.path() + "/"));
    palette.m_telescope = &scope;
    palette.SetCorLum(&engine, nullptr);
    palette.ShowClickData(u"");
    QToolButton* button = FindButton(palette.GetSafeHwnd(), ID_BTN_TEL);
    ASSERT_TRUE(button->isEnabled());  // enabled while the mount is connected
    button->click();
    ASSERT_TRUE(scope.WaitForSlew(120000));
    double ra = 0, dec = 0;
    int slewing = 1;
    ASSERT_TRUE(scope.ReadMount(&ra, &dec, &slewing));
    EXPECT_EQ(slewing, 0);
    // Sirius of the transcript, J2000 6.7524770222 h, -16.7161158611°, now.
    const telescope::EquatorialOfDate want =
        telescope::J2000ToJNow(6.7524770222 * 15.0, -16.7161158611, telescope::JdUtcNow());
    EXPECT_LT(SeparationArcsec(ra, dec, want.raHours, want.decDeg), 60.0)
        << "mount at " << ra << " h " << dec << "°";
    // Not the J2000 place: the precession since 2000 is some 20'.
    EXPECT_GT(SeparationArcsec(ra, dec, 6.7524770222, -16.7161158611), 600.0);
}

}  // namespace
