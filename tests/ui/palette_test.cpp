// The palette on the offscreen platform, answered by the replay engine.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextEdit>
#include <QToolButton>
#include <filesystem>
#include <future>
#include <memory>
#include <mutex>

#include "host/registry.h"
#include "host/ui/ui_misc.h"
#include "palette/dlg_click_data.h"
#include "sky/replay_engine.h"
#include "tests/loopback.h"
#include "tests/test_support.h"
#include "tests/ui/ui_support.h"

namespace {

constexpr const char16_t* kSirius = u"Star.Hip32349";

// A palette with a private settings store and data folder, lent a replay
// engine that answers the Sirius transcript in an unchanging sky.
struct PaletteTest : ::testing::Test {
    TempDir dir;
    ScopedEnv store{"VEXCLK_REGISTRY", dir.path() + "/registry.json"};
    CReplayEngine engine;
    std::unique_ptr<CDlgClickData> palette;

    PaletteTest() {
        std::string error;
        EXPECT_TRUE(engine.LoadFile(VEXCLK_SOURCE_DIR "/examples/sirius.replies", &error)) << error;
        engine.SetReply(u"? ClickData.Object", kSirius);
        engine.SetReply(u"? Time.jd", u"2461381.0");
        engine.SetReply(u"? Location.Longitude", u"139.6917");
        engine.SetReply(u"? Location.Latitude", u"35.6895");
        engine.SetReply(u"? Location.Altitude", u"40");
    }
    template <typename Palette = CDlgClickData>
    Palette& Open() {
        auto made = std::make_unique<Palette>(nullptr, CString::FromUtf8(dir.path() + "/data/"));
        Palette& p = *made;
        palette = std::move(made);
        p.SetCorLum(&engine, nullptr);
        p.ShowClickData(u"");
        return p;
    }
    static void Save(int CCdStatus::*field, int value) {
        CCdStatus status;
        status.Load();
        status.*field = value;
        status.Save();
    }
    QWidget* Window() const { return palette->GetSafeHwnd(); }
    QTextEdit* Text() const {
        return dynamic_cast<QTextEdit*>(palette->GetDlgItem(IDC_CLICKDATA_TEXT));
    }
    // Whether the last refresh rebuilt the palette (the graph asks the view).
    bool Rebuilt() const {
        for (const CString& c : engine.Commands()) {
            if (c == u"? View.Projection") return true;
        }
        return false;
    }
    bool Asked(const CString& command) const {
        for (const CString& c : engine.Commands()) {
            if (c == command) return true;
        }
        return false;
    }
};

TEST_F(PaletteTest, UnchangedRefreshAsksFiveQueriesAndForceRebuilds) {
    Open();
    engine.ClearCommands();
    palette->OnUpdate(0);
    const std::vector<CString> five = {u"? ClickData.Object", u"? Time.jd", u"? Location.Longitude",
                                       u"? Location.Latitude", u"? Location.Altitude"};
    EXPECT_EQ(engine.Commands(), five);
    palette->OnUpdate(1);
    EXPECT_TRUE(Rebuilt());
}

TEST_F(PaletteTest, AnIdlePaletteAsksTheEngineNothing) {
    Open();
    const auto idle = [] {
        QElapsedTimer clock;
        clock.start();
        while (clock.elapsed() < 200) QCoreApplication::processEvents();
    };
    idle();
    engine.ClearCommands();
    idle();  // a repaint that caused another would ask for the graph again and again
    EXPECT_TRUE(engine.Commands().empty());
}

TEST_F(PaletteTest, EachChangeOfSkyOrSelectionRebuilds) {
    const struct {
        const char16_t* command;
        const char16_t* reply;
    } changes[] = {
        {u"? Time.jd", u"2461381.1"},
        {u"? Location.Longitude", u"135"},
        {u"? Location.Latitude", u"34"},
        {u"? Location.Altitude", u"41"},  // altitude alone
        {u"? ClickData.Object", u"DeepSky.M42"},
    };
    Open();
    for (const auto& change : changes) {
        engine.SetReply(change.command, change.reply);
        engine.ClearCommands();
        palette->OnUpdate(0);
        EXPECT_TRUE(Rebuilt()) << U8(change.command);
    }
}

TEST_F(PaletteTest, PickedStarSlotWithANewStarBehindIt) {
    engine.SetReply(u"? ClickData.Object", u"star.Xno0");
    engine.SetReply(u"? star.Xno0.Id", u"HIP 32349");
    Open();
    engine.ClearCommands();
    palette->OnUpdate(0);
    EXPECT_EQ(engine.Commands().size(), 6u);
    EXPECT_FALSE(Rebuilt());
    engine.SetReply(u"? star.Xno0.Id", u"HIP 27989");
    palette->OnUpdate(0);
    EXPECT_TRUE(Rebuilt());
}

TEST_F(PaletteTest, NameOnTitleBar) {
    Save(&CCdStatus::DispNameOnBar, 1);
    Open();
    const CString title = palette->GetWindowText();
    EXPECT_EQ(U8(title).rfind("恒星", 0), 0u) << U8(title);
    // The heading is on the bar, not in the text.
    EXPECT_EQ(Text()->toPlainText().indexOf(QString::fromStdString(U8(title))), -1);
    engine.SetReply(u"? ClickData.Object", u"");
    palette->OnUpdate(0);
    EXPECT_EQ(palette->GetWindowText(), u"天体情報");
    EXPECT_TRUE(Text()->toPlainText().isEmpty());
}

TEST_F(PaletteTest, NoTextHidesThePaletteOnlyWithIgnoreErase) {
    for (const int ignoreErase : {1, 0}) {
        Save(&CCdStatus::IgnoreErase, ignoreErase);
        engine.SetReply(u"? ClickData.Object", u"Nothing.Here");
        Open();
        EXPECT_EQ(palette->IsWindowVisible(), !ignoreErase);
    }
}

TEST_F(PaletteTest, AltitudeGraphTargetAndTime) {
    engine.SetReply(u"? Solar.Planet.Mars.Position.Altitude", u"12.5");
    for (const char16_t* object : {u"Solar.Planet.Earth", u"Solar.Planet.Mars"}) {
        engine.SetReply(u"? ClickData.Object", object);
        engine.ClearCommands();
        Open();
        const bool earth = CString(object) == u"Solar.Planet.Earth";
        EXPECT_EQ(Asked(CString(u"? ") + object + u".Position.Altitude"), !earth) << U8(object);
        // The engine's time is put back exactly as it was.
        CString lastTime;
        for (const CString& c : engine.Commands()) {
            if (c.Left(10) == u"Time.jd = ") lastTime = c;
        }
        EXPECT_EQ(lastTime, earth ? u"" : u"Time.jd = 2461381.0");
    }
}

TEST_F(PaletteTest, GraphDisabledAwayFromTheSkyView) {
    const struct {
        const char16_t* projection;
        const char16_t* location;
        bool enabled;
    } rows[] = {
        {u"Horizon", u"4", true},
        {u"solarsystem", u"4", false},
        {u"SolarSystem.Top", u"4", true},  // the whole reply must match
        {u"Horizon", u"5", false},         // the observer stands on Mars
    };
    for (const auto& row : rows) {
        engine.SetReply(u"? View.Projection", row.projection);
        engine.SetReply(u"? Location.Object", row.location);
        Open();
        EXPECT_EQ(palette->GetDlgItem(IDC_ALT_GRAPH)->isEnabled(), row.enabled)
            << U8(row.projection);
    }
}

TEST_F(PaletteTest, ButtonStatesByMode) {
    using R = std::vector<std::pair<const char16_t*, const char16_t*>>;
    const struct {
        int uiStyle;
        const char16_t* object;
        R replies;
        int centre, track, tracked, flight;
    } rows[] = {
        {0, kSirius, {{u"? View.Center.Track", u"FALSE"}}, 1, 1, 0, 0},
        {0, kSirius, {{u"? View.Center.Track", u"true"}, {u"? View.Center", kSirius}}, 0, 1, 1, 0},
        {0,
         u"star.Xno0",
         {{u"? View.Center.Track", u"TRUE"}, {u"? View.Center", u"star.Xno0"}},
         1,
         1,
         0,
         0},
        {0,
         u"Solar.Planet.Mars",
         {{u"? View.Projection", u"SolarSystem"},
          {u"? View.Solar.Arounding", u"TRUE"},
          {u"? View.Solar.Arounding.Center", u"Solar.Planet.Mars"}},
         0,
         1,
         1,
         0},
        {0,
         u"Solar.Planet.Mars",
         {{u"? View.Projection", u"SolarSystem"}, {u"? View.Solar.Arounding", u"FALSE"}},
         1,
         1,
         0,
         0},
        {0, kSirius, {{u"? View.Projection", u"SolarSystemView"}}, 1, 0, 0, 0},
        {6,
         kSirius,
         {{u"? View.FlightTarget.TakeOff.Busy", u"False"}, {u"? View.Coordinate", u"horizon"}},
         1,
         0,
         0,
         0},
        {6, u"Solar.Planet.Mars", {{u"? View.Coordinate", u"Equatorial"}}, 0, 0, 0, 1},
        {6, u"Solar.Planet.Mars", {{u"? View.FlightTarget.TakeOff.Busy", u"TRUE"}}, 0, 0, 0, 0},
        {6, u"Constellation.Ori", {{u"? View.Coordinate", u"Equatorial"}}, 0, 0, 0, 0},
    };
    for (const auto& row : rows) {
        CReplayEngine fresh;
        for (const auto& [command, reply] : row.replies) fresh.SetReply(command, reply);
        for (const char16_t* place :
             {u"? Time.jd", u"? Location.Longitude", u"? Location.Latitude"}) {
            fresh.SetReply(place, engine.Doit(place));
        }
        fresh.SetReply(u"? ClickData.Object", row.object);
        auto p = std::make_unique<CDlgClickData>(nullptr, CString::FromUtf8(dir.path() + "/"));
        int style = row.uiStyle;
        p->SetUIStylePtr(&style);
        p->SetCorLum(&fresh, nullptr);
        p->ShowClickData(u"");
        const auto state = [&](int id, bool checked) {
            QToolButton* b = FindButton(p->GetSafeHwnd(), id);
            return static_cast<int>(checked ? b->isChecked() : b->isEnabled());
        };
        const std::string what = U8(row.object) + " in mode " + std::to_string(row.uiStyle);
        EXPECT_EQ(state(ID_BTN_LOOK, false), row.centre) << what;
        EXPECT_EQ(state(ID_BTN_TRACK, false), row.track) << what;
        EXPECT_EQ(state(ID_BTN_TRACK, true), row.tracked) << what;
        EXPECT_EQ(p->GetTrack(), row.tracked) << what;
        EXPECT_EQ(state(ID_BTN_FLIGHT_TARGET, false), row.flight) << what;
    }
}

TEST_F(PaletteTest, BandTogglesKeepTheTopAndChangeTheHeightByTheBand) {
    Open();
    ASSERT_EQ(CResScale::GetRatio(Window()), 1.0);
    const int graphHeight = palette->GetDlgItem(IDC_ALT_GRAPH)->height();
    const struct {
        int button;
        int band;  // at the standard resolution
    } bands[] = {{ID_BTN_IMAGE_THUMB, 127}, {ID_BTN_ALTGRP, graphHeight}};
    for (const auto& b : bands) {
        QToolButton* button = FindButton(Window(), b.button);
        const CRect shown = palette->GetWindowRect();
        ASSERT_TRUE(button->isChecked());
        button->click();
        const CRect hidden = palette->GetWindowRect();
        EXPECT_FALSE(button->isChecked());
        EXPECT_EQ(hidden.top, shown.top);
        EXPECT_EQ(hidden.Width(), shown.Width());
        EXPECT_EQ(shown.Height() - hidden.Height(), b.band);
        button->click();
        EXPECT_EQ(palette->GetWindowRect().Height(), shown.Height());
    }
}

TEST_F(PaletteTest, PlaceAndBandsComeBackAsTheyWereLeft) {
    Open();
    FindButton(Window(), ID_BTN_IMAGE_THUMB)->click();  // strip hidden
    const CRect left = {40, 60, 40 + palette->GetWindowRect().Width(),
                        60 + palette->GetWindowRect().Height()};
    palette->MoveWindow(left);
    palette.reset();
    Open();
    EXPECT_EQ(palette->GetWindowRect().top, left.top);
    EXPECT_EQ(palette->GetWindowRect().left, left.left);
    EXPECT_EQ(palette->GetWindowRect().Height(), left.Height());
    EXPECT_FALSE(palette->GetDlgItem(IDC_IMAGE_THUMB)->isVisible());
    EXPECT_FALSE(FindButton(Window(), ID_BTN_IMAGE_THUMB)->isChecked());
    EXPECT_TRUE(palette->GetDlgItem(IDC_ALT_GRAPH)->isVisible());
}

TEST_F(PaletteTest, ASearchAskedWhileTheStripIsBusyWaitsForIt) {
    std::mutex lock;
    std::vector<std::string> keys;
    std::promise<void> release;
    std::shared_future<void> released = release.get_future().share();
    LoopbackServer server([&](httplib::Server& s) {
        s.Get("/search", [&, released](const httplib::Request& q, httplib::Response& r) {
            {
                std::lock_guard<std::mutex> hold(lock);
                keys.push_back(q.get_param_value("o"));
            }
            released.wait_for(std::chrono::seconds(20));
            r.set_content(R"({"status":0,"limit":"10","total":"0","item_list":[]})",
                          "application/json");
        });
    });
    ScopedEnv gallery{"VEXCLK_GALLERY_URL", server.Url("/search")};
    const auto asked = [&] {
        std::lock_guard<std::mutex> hold(lock);
        return keys;
    };
    Open();
    ASSERT_TRUE(PumpUntil([&] { return asked().size() == 1; }));
    engine.SetReply(u"? ClickData.Object", u"DeepSky.M42");
    palette->OnUpdate(0);  // the strip is busy with Sirius: M42 waits
    release.set_value();
    ASSERT_TRUE(PumpUntil([&] { return asked().size() == 2; }));
    EXPECT_EQ(asked(), (std::vector<std::string>{"Star.Hip32349", "DeepSky.M42"}));
}

// Records the opacity the palette sets.
struct FadeRecorder : CDlgClickData {
    using CDlgClickData::CDlgClickData;
    std::vector<int> alphas;
    void SetLayeredWindowAttributes(COLORREF key, int alpha, unsigned flags) override {
        alphas.push_back(alpha);
        CDlgClickData::SetLayeredWindowAttributes(key, alpha, flags);
    }
};

TEST_F(PaletteTest, FadingStepsFrom255And128) {
    Save(&CCdStatus::TransparentOnInactive, 1);
    FadeRecorder& p = Open<FadeRecorder>();
    const auto send = [&](QEvent::Type type) {
        p.alphas.clear();
        QEvent event(type);
        QCoreApplication::sendEvent(Window(), &event);
        return p.alphas;
    };
    EXPECT_EQ(send(QEvent::WindowDeactivate), (std::vector<int>{255, 223, 191, 159, 128}));
    EXPECT_NEAR(Window()->windowOpacity(), 128 / 255.0, 0.01);
    EXPECT_EQ(send(QEvent::WindowActivate), (std::vector<int>{128, 160, 192, 224, 255}));
    p.SetTransparent(0);
    send(QEvent::WindowDeactivate);
    EXPECT_EQ(Window()->windowOpacity(), 1.0);  // not layered: always opaque
}

TEST_F(PaletteTest, CommentFollowsTheBodyInItsColour) {
    const std::string file =
        dir.Write("comments.cdf", ":STAR αCMa\n\t@msg\t\"夜空で一番明るい\"\n");
    CRegistry::Write(u"Files", u"ClickData", CString::FromUtf8(file));
    Open();
    const QString text = Text()->toPlainText();
    ASSERT_TRUE(text.endsWith(QStringLiteral("\n夜空で一番明るい\n"))) << text.toStdString();
    const int comment = static_cast<int>(text.lastIndexOf(QStringLiteral("夜空")));
    const auto colourAt = [&](int position) {
        QTextCursor cursor(Text()->document());
        cursor.setPosition(position + 1);
        return cursor.charFormat().foreground().color();
    };
    EXPECT_EQ(colourAt(comment), QColor(96, 192, 255));
    EXPECT_EQ(colourAt(text.size() - 2), QColor(96, 192, 255));
    EXPECT_NE(colourAt(comment - 2), QColor(96, 192, 255));
}

TEST_F(PaletteTest, ToolTipsArePartAfterTheLineBreak) {
    Open();
    const struct {
        int id;
        const char16_t* tip;
    } rows[] = {{ID_BTN_BLINK, u"ブリンク"},
                {ID_BTN_FLIGHT_TARGET, u"フライト目標"},
                {ID_HELP, u"ヘルプ"},
                {IDC_CLICKDATA_TEXT, u""}};
    for (const auto& row : rows) {
        TOOLTIPTEXT tip;
        tip.idFrom = static_cast<UINT_PTR>(row.id);
        tip.code = TTN_NEEDTEXT;
        palette->SendMessage(WM_NOTIFY, row.id,
                             reinterpret_cast<LPARAM>(static_cast<NMHDR*>(&tip)));
        EXPECT_EQ(tip.text, row.tip) << row.id;
    }
}

// Edits a comment as the comment command does.
struct CommentingPalette : CDlgClickData {
    using CDlgClickData::CDlgClickData;
    void Comment(const CString& text) {
        m_cdf.SetComment(m_clickData.StkToCdf(m_engine, m_object), text);
        m_cdfModified = 1;
    }
};

TEST_F(PaletteTest, EditedCommentsGoBackToTheFileTheyCameFrom) {
    const std::string file = dir.Write("mine.cdf", ":CONS Ori\n\t@msg\t\"冬\"\n");
    CRegistry::Write(u"Files", u"ClickData", CString::FromUtf8(file));
    Open<CommentingPalette>().Comment(u"全天一");
    palette.reset();
    EXPECT_EQ(Slurp(file), ":CONS Ori\n\t@msg\t\"冬\"\n:STAR αCMa\n\t@msg\t\"全天一\"\n");
    EXPECT_FALSE(std::filesystem::exists(dir.path() + "/data/lumvex.cdf"));
}

TEST_F(PaletteTest, OnlyWebAndMailAddressesOpen) {
    std::vector<CString> opened;
    host::ui::SetShellOpenHandler([&](const CString& address) {
        opened.push_back(address);
        return 1;
    });
    const struct {
        const char* address;
        bool opens;
    } rows[] = {{"https://example.org/sirius", true}, {"HTTP://example.org", true},
                {"mailto:someone@example.org", true}, {"file:///etc/passwd", false},
                {"ftp://example.org/x", false},       {"www.example.org", false}};
    for (const auto& row : rows) {
        opened.clear();
        const std::string file = dir.Write(
            "links.cdf", ":STAR αCMa\n\t@msg\t\"見る " + std::string(row.address) + "\"\n");
        CRegistry::Write(u"Files", u"ClickData", CString::FromUtf8(file));
        Open();
        QTextEdit* text = Text();
        QTextCursor at(text->document());
        at.setPosition(
            static_cast<int>(text->toPlainText().indexOf(QString::fromUtf8(row.address))) + 2);
        ASSERT_TRUE(at.charFormat().fontUnderline()) << row.address;  // shown as a link
        SendMouse(text->viewport(), QEvent::MouseButtonPress, text->cursorRect(at).center());
        SendMouse(text->viewport(), QEvent::MouseButtonRelease, text->cursorRect(at).center());
        EXPECT_EQ(opened, row.opens ? std::vector<CString>{CString::FromUtf8(row.address)}
                                    : std::vector<CString>{})
            << row.address;
    }
    host::ui::SetShellOpenHandler({});
}

}  // namespace
