// The main window with the sky chart over the real sky engine: clicks
// select through the engine and show the palette, the time controls
// refresh it, the palette's messages reach the frame, the place is stored,
// the sample gallery serves, and the window renders.
#include <gtest/gtest.h>
#include <httplib.h>

#include <QAction>
#include <QCoreApplication>
#include <QImage>
#include <QTextEdit>
#include <QToolButton>
#include <QWheelEvent>
#include <cmath>

#include "gui/dictionary.h"
#include "gui/main_frame.h"
#include "gui/place_dialog.h"
#include "gui/sample_gallery.h"
#include "host/registry.h"
#include "host/vexacl.h"
#include "telescope/indi_telescope.h"
#include "telescope/jnow.h"
#include "tests/test_support.h"
#include "tests/ui/ui_support.h"

namespace {

using gui::CMainFrame;

constexpr const char16_t* kSirius = u"Star.HIP32349";
constexpr const char16_t* kBetelgeuse = u"Star.HIP27989";

struct FrameTest : ::testing::Test {
    TempDir dir;
    ScopedEnv store{"VEXCLK_REGISTRY", dir.path() + "/registry.json"};
    ScopedEnv gallery{"VEXCLK_GALLERY_URL", std::nullopt};
    CSkyEngine sky{SharedSkyCatalog()};
    std::unique_ptr<CMainFrame> frame;

    FrameTest() {
        // 2026-12-07 01:00 JST in Tokyo: Orion and Sirius high in the south.
        sky.SetJd(vexacl::GetJd(tagADATE{2026, 12, 7, 1, 0, 0.0, 9.0}));
        frame = std::make_unique<CMainFrame>(&sky, CString::FromUtf8(dir.path() + "/"));
        EXPECT_TRUE(frame->Create());
        frame->ShowWindow(SW_SHOW);
        frame->Chart()->CentreOn(kSirius);
        PumpUntil([&] { return frame->Chart()->width() > 400; });
    }
    QString PaletteText() {
        auto* text = dynamic_cast<QTextEdit*>(frame->Palette().GetDlgItem(IDC_CLICKDATA_TEXT));
        return text ? text->toPlainText() : QString();
    }
    // A click on the chart where the object is drawn.
    void ClickOn(const CString& id) {
        const auto at = frame->Chart()->ScreenOf(id);
        ASSERT_TRUE(at);
        const QPoint p(static_cast<int>(std::lround(at->x)), static_cast<int>(std::lround(at->y)));
        SendMouse(frame->Chart(), QEvent::MouseButtonPress, p);
        SendMouse(frame->Chart(), QEvent::MouseButtonRelease, p);
    }
    // How far from the chart's middle the object is drawn, pixels.
    double OffCentrePx(const CString& id) {
        const auto at = frame->Chart()->ScreenOf(id);
        if (!at) return HUGE_VAL;
        return std::hypot(at->x - frame->Chart()->width() / 2.0,
                          at->y - frame->Chart()->height() / 2.0);
    }
    void ClickPaletteButton(int id) {
        QToolButton* button = FindButton(frame->Palette().GetSafeHwnd(), id);
        ASSERT_TRUE(button && button->isEnabled()) << id;
        button->click();
    }
};

TEST_F(FrameTest, AClickOnAStarShowsItsText) {
    EXPECT_FALSE(frame->Palette().GetSafeHwnd()->isVisible());
    ClickOn(kSirius);
    // Selected in the engine, shown in the palette, ringed on the chart.
    EXPECT_EQ(U8(sky.Doit(u"? ClickData.Object")), "Star.HIP32349");
    EXPECT_TRUE(frame->Palette().GetSafeHwnd()->isVisible());
    EXPECT_TRUE(PaletteText().startsWith(QStringLiteral("恒星"))) << PaletteText().toStdString();
    EXPECT_TRUE(PaletteText().contains(QStringLiteral("シリウス")));
    EXPECT_EQ(U8(frame->Chart()->Highlight()), "Star.HIP32349");
    // A click a few pixels off still picks it; one far from any object
    // changes nothing.
    const auto at = frame->Chart()->ScreenOf(kBetelgeuse);
    ASSERT_TRUE(at);
    const auto near = frame->Chart()->ObjectAt({at->x + 3, at->y - 3});
    ASSERT_TRUE(near);
    EXPECT_EQ(U8(frame->Chart()->Objects()[*near].id), "Star.HIP27989");
}

TEST_F(FrameTest, TimeStepsRefreshThePalette) {
    ClickOn(kSirius);
    const QString before = PaletteText();
    const double jd = sky.GetJd();
    struct Step {
        const char* action;
        double days;
    } steps[] = {{"forward-hour", 1.0 / 24},
                 {"forward-day", 1.0},
                 {"back-day", -1.0},
                 {"back-hour", -1.0 / 24}};
    double expected = jd;
    for (const Step& s : steps) {
        SCOPED_TRACE(s.action);
        const QString previous = PaletteText();
        frame->Action(s.action)->trigger();
        expected += s.days;
        EXPECT_NEAR(sky.GetJd(), expected, 1e-7);  // the engine keeps 1e-8 day
        // The horizon place and the hour angle follow the time.
        EXPECT_NE(PaletteText(), previous);
    }
    // Back where it started: the same text.
    EXPECT_EQ(PaletteText(), before);
    frame->Action("now")->trigger();
    EXPECT_NEAR(sky.GetJd(), std::time(nullptr) / 86400.0 + 2440587.5, 1.0 / 86400 * 5);
}

TEST_F(FrameTest, TheRunningClockMovesTheSky) {
    const double jd = sky.GetJd();
    frame->SetClockRunning(true);
    EXPECT_TRUE(frame->Action("clock")->isChecked());
    ASSERT_TRUE(PumpUntil([&] { return sky.GetJd() > jd; }));
    EXPECT_LT(sky.GetJd() - jd, 30.0 / 86400);
    frame->SetClockRunning(false);
    EXPECT_FALSE(frame->Action("clock")->isChecked());
}

TEST_F(FrameTest, TheDictionaryMessageOpensTheEntry) {
    const struct {
        const char16_t* key;
        const char* expected[2];
    } cases[] = {
        {kSirius, {"日本語名: シリウス", "種類: 恒星"}},
        {u"DeepSky.M42", {"M42", "種類: "}},
        {u"Constellation.Ori", {"オリオン座", "種類: 星座"}},
    };
    for (const auto& c : cases) {
        CString key = c.key;
        frame->SendMessage(CDlgClickData::WM_CLICKDATA_DICTIONARY, 0,
                           reinterpret_cast<LPARAM>(&key));
        ASSERT_NE(frame->Dictionary(), nullptr);
        EXPECT_TRUE(frame->Dictionary()->isVisible());
        const std::string text = U8(frame->Dictionary()->Text());
        EXPECT_EQ(text.rfind(U8(key) + "\n", 0), 0u) << text;
        for (const char* line : c.expected) EXPECT_NE(text.find(line), std::string::npos) << text;
    }
}

TEST_F(FrameTest, AModalDialogStopsClicks) {
    ClickOn(kSirius);
    frame->SendMessage(CDlgClickData::WM_CLICKDATA_MODAL, 1, 0);
    EXPECT_FALSE(frame->Chart()->ClicksEnabled());
    ClickOn(kBetelgeuse);
    EXPECT_EQ(U8(frame->Palette().GetClickDataObject()), "Star.HIP32349");
    frame->SendMessage(CDlgClickData::WM_CLICKDATA_MODAL, 0, 0);
    ClickOn(kBetelgeuse);
    EXPECT_EQ(U8(frame->Palette().GetClickDataObject()), "Star.HIP27989");
    EXPECT_TRUE(PaletteText().contains(QStringLiteral("ベテルギウス")));
}

TEST_F(FrameTest, TheSelectMessageRingsTheObject) {
    // Sent by the palette when it selects an object itself.
    frame->Palette().UpdateClickDataObj(u"Solar.Planet.Jupiter");
    EXPECT_EQ(U8(frame->Chart()->Highlight()), "Solar.Planet.Jupiter");
    CString id = kBetelgeuse;
    frame->SendMessage(CDlgClickData::WM_CLICKDATA_SELECT, reinterpret_cast<WPARAM>(&id), 0);
    EXPECT_EQ(U8(frame->Chart()->Highlight()), "Star.HIP27989");
    // The ring is drawn: the chart's picture changes there.
    const auto at = frame->Chart()->ScreenOf(id);
    ASSERT_TRUE(at);
    const QImage ringed = frame->Chart()->grab().toImage();
    frame->Chart()->SetHighlight(CString());
    const QImage plain = frame->Chart()->grab().toImage();
    EXPECT_NE(ringed.pixel(static_cast<int>(at->x) + 12, static_cast<int>(at->y)),
              plain.pixel(static_cast<int>(at->x) + 12, static_cast<int>(at->y)));
}

TEST_F(FrameTest, WheelZoomsAndDragPansWithoutPicking) {
    const gui::ChartView before = frame->Chart()->View();
    const QPointF centre(frame->Chart()->width() / 2.0, frame->Chart()->height() / 2.0);
    QWheelEvent wheel(centre, frame->Chart()->mapToGlobal(centre), QPoint(), QPoint(0, 120),
                      Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QCoreApplication::sendEvent(frame->Chart(), &wheel);
    EXPECT_NEAR(frame->Chart()->View().fov_deg, before.fov_deg * 0.8, 1e-9);

    const auto at = frame->Chart()->ScreenOf(kSirius);
    ASSERT_TRUE(at);
    const QPoint start(static_cast<int>(at->x), static_cast<int>(at->y));
    SendMouse(frame->Chart(), QEvent::MouseButtonPress, start);
    SendMouse(frame->Chart(), QEvent::MouseMove, start + QPoint(30, 0));
    SendMouse(frame->Chart(), QEvent::MouseMove, start + QPoint(60, 20));
    SendMouse(frame->Chart(), QEvent::MouseButtonRelease, start + QPoint(60, 20));
    EXPECT_NE(frame->Chart()->View().centre_lon_deg, before.centre_lon_deg);
    EXPECT_FALSE(frame->Palette().GetSafeHwnd()->isVisible());  // a drag is no click
    // Sirius, at the centre, moved with the drag, to first order.
    const auto moved = frame->Chart()->ScreenOf(kSirius);
    ASSERT_TRUE(moved);
    EXPECT_NEAR(moved->x, at->x + 60, 3.0);
    EXPECT_NEAR(moved->y, at->y + 20, 3.0);
}

TEST_F(FrameTest, ThePlaceIsStoredAndMovesTheSky) {
    // Nothing stored: Tokyo.
    EXPECT_EQ(U8(gui::ReadStoredPlace().name), "東京");
    gui::CPlaceDialog dialog(frame->GetSafeHwnd(), gui::ReadStoredPlace());
    const auto& cities = gui::JapaneseCities();
    int naha = -1;
    for (size_t i = 0; i < cities.size(); ++i) {
        if (U8(cities[i].name) == "那覇") naha = static_cast<int>(i);
    }
    ASSERT_GE(naha, 0);
    dialog.ChooseCity(naha);
    const gui::ObserverPlace chosen = dialog.Place();
    EXPECT_EQ(U8(chosen.name), "那覇");
    EXPECT_NEAR(chosen.latitude_deg, 26.2124, 1e-9);
    EXPECT_NEAR(chosen.longitude_deg, 127.6809, 1e-9);

    ClickOn(kSirius);
    const QString before = PaletteText();
    frame->ApplyPlace(chosen, true);
    EXPECT_NEAR(sky.GetLatitude(), 26.2124, 1e-9);
    EXPECT_NE(PaletteText(), before);  // the palette follows the place
    const gui::ObserverPlace stored = gui::ReadStoredPlace();
    EXPECT_EQ(U8(stored.name), "那覇");
    EXPECT_NEAR(stored.longitude_deg, 127.6809, 1e-6);
    EXPECT_NEAR(stored.timezone_h, 9.0, 1e-9);
    EXPECT_TRUE(frame->StatusText().contains(QStringLiteral("那覇")));

    // A place off the Earth is neither applied nor stored; a broken store
    // reads as Tokyo.
    gui::ObserverPlace wrong = chosen;
    wrong.latitude_deg = 123.0;
    EXPECT_EQ(gui::WriteStoredPlace(wrong), 0);
    frame->ApplyPlace(wrong, true);
    EXPECT_NEAR(sky.GetLatitude(), 26.2124, 1e-9);
    ASSERT_TRUE(CRegistry::Write(u"Location", u"Latitude", CString(u"north")));
    EXPECT_EQ(U8(gui::ReadStoredPlace().name), "東京");
}

TEST_F(FrameTest, TheWindowRendersTheChartAndThePalette) {
    ClickOn(kSirius);
    QCoreApplication::processEvents();
    const QImage image = frame->Render();
    ASSERT_FALSE(image.isNull());
    EXPECT_TRUE(image.save(VEXCLK_ARTEFACT_DIR "/gui-sirius.png", "PNG"));
    // Not blank: the grey levels vary.
    double sum = 0, squares = 0;
    int n = 0;
    for (int y = 0; y < image.height(); y += 3) {
        for (int x = 0; x < image.width(); x += 3) {
            const double g = qGray(image.pixel(x, y));
            sum += g;
            squares += g * g;
            ++n;
        }
    }
    const double variance = squares / n - (sum / n) * (sum / n);
    EXPECT_GT(variance, 100.0);
    // The palette's dark text area is in the picture, over the chart's
    // top-right corner.
    const QImage palette = frame->Palette().GetSafeHwnd()->grab().toImage();
    EXPECT_EQ(image.pixel(image.width() - 12 - palette.width() / 2, 48 + palette.height() / 2),
              palette.pixel(palette.width() / 2, palette.height() / 2));
}

TEST(SampleGallery, ServesPagesAndPictures) {
    gui::CSampleGallery gallery;
    ASSERT_TRUE(gallery.IsRunning());
    const std::string url = gallery.SearchUrl();
    ASSERT_EQ(url.rfind("http://127.0.0.1:", 0), 0u);
    const std::string hostPort = url.substr(7, url.find('/', 7) - 7);
    httplib::Client client(hostPort);
    auto reply = client.Get("/search?o=STAR%20HIP32349&offset=0");
    ASSERT_TRUE(reply);
    EXPECT_EQ(reply->status, 200);
    EXPECT_NE(reply->body.find("\"total\":\"6\""), std::string::npos);
    EXPECT_NE(reply->body.find("/t/5.png"), std::string::npos);
    // Past the last post: an empty page.
    reply = client.Get("/search?o=X&offset=6");
    ASSERT_TRUE(reply);
    EXPECT_NE(reply->body.find("\"item_list\":[]"), std::string::npos);
    for (const char* path : {"/t/0.png", "/l/5.png"}) {
        reply = client.Get(path);
        ASSERT_TRUE(reply);
        EXPECT_EQ(reply->status, 200);
        QImage picture;
        EXPECT_TRUE(picture.loadFromData(reinterpret_cast<const uchar*>(reply->body.data()),
                                         static_cast<int>(reply->body.size()), "PNG"));
        EXPECT_GT(picture.width(), 90);
    }
    reply = client.Get("/t/6.png");
    ASSERT_TRUE(reply);
    EXPECT_EQ(reply->status, 404);
}

TEST_F(FrameTest, CentreAndTrackCommandsMoveTheChart) {
    frame->Palette().ShowClickData(kBetelgeuse);
    ASSERT_GT(OffCentrePx(kBetelgeuse), 50.0);  // Sirius is in the middle
    ClickPaletteButton(ID_BTN_LOOK);
    EXPECT_LT(OffCentrePx(kBetelgeuse), 1.0);
    // Centred once, not followed: an hour later the sky has turned by 15°.
    frame->StepTime(1.0 / 24.0);
    EXPECT_GT(OffCentrePx(kBetelgeuse), 50.0);

    ClickPaletteButton(ID_BTN_TRACK);
    EXPECT_LT(OffCentrePx(kBetelgeuse), 1.0);
    frame->StepTime(1.0 / 24.0);
    EXPECT_LT(OffCentrePx(kBetelgeuse), 1.0);
    frame->StepTime(-1.0);
    EXPECT_LT(OffCentrePx(kBetelgeuse), 1.0);

    // Tracking off: the view stays where it was and the sky moves on.
    ClickPaletteButton(ID_BTN_TRACK);
    EXPECT_LT(OffCentrePx(kBetelgeuse), 1.0);
    frame->StepTime(1.0 / 24.0);
    EXPECT_GT(OffCentrePx(kBetelgeuse), 50.0);
}

TEST_F(FrameTest, ATelescopeByAddressSlewsFromThePalette) {
    const std::string server = Which("indiserver");
    if (server.empty() || Which("indi_simulator_telescope").empty())
        GTEST_SKIP() << "indiserver or indi_simulator_telescope is not installed (Debian indi-bin)";
    const int port = FreePort();
    ASSERT_GT(port, 0);
    IndiServer running(server, port);
    ASSERT_TRUE(running.WaitListening());
    std::string error;
    // As vexclk-gui --telescope 127.0.0.1:PORT connects it.
    const auto scope = CIndiTelescope::ConnectTo("127.0.0.1:" + std::to_string(port), &error);
    ASSERT_TRUE(scope) << error;
    struct Lent {
        CMainFrame* frame;
        ~Lent() { frame->SetTelescope(nullptr); }
    } lent{frame.get()};
    frame->Palette().ShowClickData(kSirius);
    frame->SetTelescope(scope.get());
    ClickPaletteButton(ID_BTN_TEL);
    ASSERT_TRUE(scope->WaitForSlew(120000));
    double ra = 0, dec = 0;
    int slewing = 1;
    ASSERT_TRUE(scope->ReadMount(&ra, &dec, &slewing));
    // Sirius, Hipparcos J2000 101.28715533°, -16.71611586°, carried to the
    // equator of now; 120" takes its proper motion since 1991.25 (1.3"/yr)
    // and the simulator's arcminute.
    const telescope::EquatorialOfDate want =
        telescope::J2000ToJNow(101.28715533, -16.71611586, telescope::JdUtcNow());
    EXPECT_LT(SeparationArcsec(ra, dec, want.raHours, want.decDeg), 120.0)
        << "mount at " << ra << " h " << dec << "°";
}

}  // namespace
