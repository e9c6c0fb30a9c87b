// The palette's commands on the offscreen platform: what each sends to the
// replay engine, what the frame window is told, the two modal dialogs
// driven by a hook, the context menu and the clipboard.
#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QRadioButton>
#include <QTextEdit>
#include <QToolButton>
#include <algorithm>
#include <memory>

#include "host/registry.h"
#include "host/ui/controls.h"
#include "host/ui/menu.h"
#include "palette/dlg_click_data.h"
#include "sky/replay_engine.h"
#include "tests/test_support.h"
#include "tests/ui/ui_support.h"

namespace {

using Commands = std::vector<CString>;
using Replies = std::vector<std::pair<const char16_t*, const char16_t*>>;

// The host's frame window: records the palette's messages with their text.
struct Frame : CWnd {
    struct Message {
        UINT id;
        WPARAM wParam;
        CString text;
        bool operator==(const Message&) const = default;
    };
    std::vector<Message> messages;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message == CDlgClickData::WM_CLICKDATA_DICTIONARY)
            messages.push_back({message, wParam, *reinterpret_cast<const CString*>(lParam)});
        if (message == CDlgClickData::WM_CLICKDATA_MODAL) messages.push_back({message, wParam, {}});
        return 0;
    }
};

// A telescope that records what it is told.
struct Telescope : CTelCtrl {
    int connected = 1;
    std::vector<std::pair<std::string, tagAD>> calls;
    explicit Telescope(int hourLater) { m_model.hourLater = hourLater; }
    int IsConnected() override { return connected; }
    int TelescopeLook(const tagAD* p) override {
        calls.push_back({"look", *p});
        return 1;
    }
    int TelescopeSetHourLater(const tagAD* p) override {
        calls.push_back({"later", *p});
        return 1;
    }
};

struct CommandTest : ::testing::Test {
    TempDir dir;
    ScopedEnv store{"VEXCLK_REGISTRY", dir.path() + "/registry.json"};
    CReplayEngine engine;
    Frame frame;
    std::unique_ptr<CDlgClickData> palette;

    CommandTest() {
        std::string error;
        EXPECT_TRUE(engine.LoadFile(VEXCLK_SOURCE_DIR "/examples/sirius.replies", &error)) << error;
        engine.SetReply(u"? Time.jd", u"2461381.0");
        Select(u"Star.Hip32349");
    }
    ~CommandTest() override {
        CLumDialog::SetModalHook({});
        host::ui::SetMessageBoxHandler({});
        host::ui::SetPopupMenuHandler({});
    }
    void Select(const CString& object) { engine.SetReply(u"? ClickData.Object", object); }
    CDlgClickData& Open(CCorLum* engine2 = nullptr) {
        palette = std::make_unique<CDlgClickData>(&frame, CString::FromUtf8(dir.path() + "/"));
        palette->SetCorLum(&engine, engine2);
        palette->ShowClickData(u"");
        engine.ClearCommands();
        return *palette;
    }
    // The command as the toolbar sends it: through the button's route.
    void Click(int id) { palette->SendMessage(WM_COMMAND, id); }
    QToolButton* Button(int id) const { return FindButton(palette->GetSafeHwnd(), id); }
    QTextEdit* Text() const {
        return dynamic_cast<QTextEdit*>(palette->GetDlgItem(IDC_CLICKDATA_TEXT));
    }
    static QString Clipboard() { return QApplication::clipboard()->text(); }
};

TEST_F(CommandTest, EachCommandSendsItsEngineCommands) {
    const struct {
        int id;
        const char16_t* object;
        Replies replies;
        Commands sent;
    } rows[] = {
        {ID_BTN_BLINK, u"Star.Hip32349", {}, {u"Play Blink(Star.Hip32349)"}},
        {ID_BTN_BLINK, u"", {}, {}},
        {ID_BTN_LOOK,
         u"Star.Hip32349",
         {},
         {u"? View.Projection",
          u"View.StraightTheHorizon = FALSE; View.Center.Track = FALSE; View.Center = "
          u"Star.Hip32349 ; show stellar"}},
        {ID_BTN_LOOK,
         u"Solar.Planet.Mars",
         {{u"? View.Projection", u"solarsystem.top"}, {u"? View.Solar.Arounding", u"FALSE"}},
         {u"? View.Projection", u"? View.Solar.Arounding",
          u"View.Center.Track = FALSE; Location.Solar.Track = false; View.Center = "
          u"Solar.Planet.Mars ; show stellar"}},
        // "FALSE" is compared exactly: "false" keeps the sky form.
        {ID_BTN_LOOK,
         u"Solar.Planet.Mars",
         {{u"? View.Projection", u"SolarSystem"}, {u"? View.Solar.Arounding", u"false"}},
         {u"? View.Projection", u"? View.Solar.Arounding",
          u"View.StraightTheHorizon = FALSE; View.Center.Track = FALSE; View.Center = "
          u"Solar.Planet.Mars ; show stellar"}},
        {ID_BTN_FLIGHT_TARGET,
         u"Solar.Planet.Mars",
         {},
         {u"View.FlightTarget.Object = Solar.Planet.Mars; Show Sky"}},
        {ID_BTN_FLIGHT_TARGET,
         u"DeepSkyObject.NGC2237+2",
         {},
         {u"View.FlightTarget.Object = \"DeepSkyObject.NGC2237+2\"; Show Sky"}},
        {ID_BTN_FLIGHT_TARGET,
         u"Star.Xno-1*2/3",
         {},
         {u"View.FlightTarget.Object = \"Star.Xno-1*2/3\"; Show Sky"}},
        {ID_BTN_FLIGHT_TARGET, u"Star", {}, {u"View.FlightTarget.Object = Star; Show Sky"}},
        {ID_BTN_FLIGHT_TARGET, u".Star", {}, {}},
        {ID_BTN_FLIGHT_TARGET, u"Constellation.Ori", {}, {}},
        {ID_BTN_DIC, u"Equatorial", {}, {}},
        {ID_BTN_DIC, u"Equatorial.5.5.-5", {}, {u"? Equatorial.5.5.-5.Position.Constellation"}},
    };
    for (const auto& row : rows) {
        CReplayEngine fresh;
        fresh.SetReply(u"? ClickData.Object", row.object);
        for (const auto& [command, reply] : row.replies) fresh.SetReply(command, reply);
        CDlgClickData p(nullptr, CString::FromUtf8(dir.path() + "/"));
        p.SetCorLum(&fresh, nullptr);
        p.ShowClickData(u"");
        fresh.ClearCommands();
        p.SendMessage(WM_COMMAND, row.id);
        EXPECT_EQ(fresh.Commands(), row.sent) << row.id << " " << U8(row.object);
    }
}

TEST_F(CommandTest, MarkedInEitherEngineUnmarksBoth) {
    const struct {
        const char16_t* first;
        const char16_t* second;
        const char16_t* sent;
        bool checked;
    } rows[] = {
        {u"FALSE", u"TRUE", u"ClickData.Mark.Visible = FALSE; Show Stellar", false},
        {u"true", u"FALSE", u"ClickData.Mark.Visible = FALSE; Show Stellar", false},
        {u"FALSE", u"FALSE", u"ClickData.Mark.Visible = TRUE; Show Stellar", true},
    };
    for (const auto& row : rows) {
        CReplayEngine second;
        engine.SetReply(u"? ClickData.Mark.Visible", row.first);
        second.SetReply(u"? ClickData.Mark.Visible", row.second);
        Open(&second);
        second.ClearCommands();
        Click(ID_BTN_MARK);
        EXPECT_EQ(engine.Commands().back(), row.sent) << U8(row.first);
        EXPECT_EQ(second.Commands().back(), row.sent) << U8(row.second);
        EXPECT_EQ(Button(ID_BTN_MARK)->isChecked(), row.checked);
    }
}

TEST_F(CommandTest, DictionaryKeyOfAnEquatorialPointIsItsConstellation) {
    engine.SetReply(u"? Equatorial.5.5.-5.Position.Constellation", u"Ori");
    const struct {
        const char16_t* object;
        const char16_t* key;
    } rows[] = {{u"Equatorial", u"Equatorial"},
                {u"Equatorial.5.5.-5", u"Constellation.Ori"},
                {u"EQUATORIALX", u"Constellation."},
                {u"Star.Hip32349", u"Star.Hip32349"}};
    for (const auto& row : rows) {
        Select(row.object);
        Open();
        frame.messages.clear();
        Click(ID_BTN_DIC);
        EXPECT_EQ(frame.messages, (std::vector<Frame::Message>{{1724, 0, row.key}}))
            << U8(row.object);
    }
}

TEST_F(CommandTest, TrackStartsAndStopsThroughTheEngine) {
    const CString start =
        u"View.StraightTheHorizon = FALSE; View.Center = Star.Hip32349 ; View.Center.Track = "
        u"TRUE; Show Sky";
    Open();
    Click(ID_BTN_TRACK);
    EXPECT_EQ(engine.Commands(), (Commands{u"? ClickData.Object", start}));
    EXPECT_TRUE(Button(ID_BTN_TRACK)->isChecked());
    EXPECT_FALSE(Button(ID_BTN_LOOK)->isEnabled());
    EXPECT_EQ(palette->GetTrack(), 1);
    engine.ClearCommands();
    Click(ID_BTN_TRACK);
    EXPECT_EQ(engine.Commands(), (Commands{u"View.Center.Track = FALSE; Show Sky"}));
    EXPECT_FALSE(Button(ID_BTN_TRACK)->isChecked());
    EXPECT_TRUE(Button(ID_BTN_LOOK)->isEnabled());
}

TEST_F(CommandTest, TrackOnAPickedStarLeavesTheButtons) {
    Select(u"Star.Xno0");
    Open();
    Click(ID_BTN_TRACK);
    EXPECT_EQ(engine.Commands().back(),
              u"View.StraightTheHorizon = FALSE; View.Center = Star.Xno0 ; View.Center.Track = "
              u"TRUE; Show Sky");
    EXPECT_FALSE(Button(ID_BTN_TRACK)->isChecked());
    EXPECT_TRUE(Button(ID_BTN_LOOK)->isEnabled());
}

TEST_F(CommandTest, TelescopeGetsTheHourLaterThenSlews) {
    for (const char16_t* q : {u"? Time.Year", u"? Time.Month", u"? Time.Day", u"? Time.Hour"}) {
        engine.SetReply(q, CString(q) == u"? Time.Year" ? u"2026" : u"12");
    }
    engine.SetReply(u"? Solar.Planet.Mars.Position.RA", u"6.5");
    engine.SetReply(u"? Solar.Planet.Mars.Position.Dec", u"24.25");
    const struct {
        const char16_t* object;
        int hourLater;
        int connected;
        std::vector<std::string> calls;
        Commands sent;
    } rows[] = {
        {u"Solar.Planet.Mars",
         1,
         1,
         {"later", "look"},
         {u"? Time.Year", u"? Time.Month", u"? Time.Day", u"? Time.Hour",
          u"Time = LST(2026,12,12,13); Calc Stellar", u"? Solar.Planet.Mars.Position.RA",
          u"? Solar.Planet.Mars.Position.Dec", u"Time = LST(2026,12,12,12); Calc Stellar",
          u"? Solar.Planet.Mars.Position.RA", u"? Solar.Planet.Mars.Position.Dec"}},
        {u"Solar.Planet.Mars",
         0,
         1,
         {"look"},
         {u"? Solar.Planet.Mars.Position.RA", u"? Solar.Planet.Mars.Position.Dec"}},
        {u"Solar.Planet.Mars", 1, 0, {}, {}},
    };
    for (const auto& row : rows) {
        Telescope telescope(row.hourLater);
        telescope.connected = row.connected;
        Select(row.object);
        Open().m_telescope = &telescope;
        Click(ID_BTN_TEL);
        EXPECT_EQ(engine.Commands(), row.sent) << row.hourLater << row.connected;
        std::vector<std::string> calls;
        for (const auto& [call, place] : telescope.calls) {
            calls.push_back(call);
            EXPECT_DOUBLE_EQ(place.a, 97.5);  // 6.5 h
            EXPECT_DOUBLE_EQ(place.d, 24.25);
        }
        EXPECT_EQ(calls, row.calls);
    }
}

TEST_F(CommandTest, CopyPutsTheTitleBackInFrontWhenItIsOnTheBar) {
    for (const int onBar : {0, 1}) {
        CCdStatus status;
        status.DispNameOnBar = onBar;
        status.Save();
        Open();
        Click(ID_BTN_COPY);
        QString text = Text()->toPlainText();
        text.replace(QStringLiteral("\n"), QStringLiteral("\r\n"));
        const QString title = palette->GetSafeHwnd()->windowTitle();
        EXPECT_EQ(Clipboard(), onBar ? title + "\r\n" + text + "\r\n" : text);
        EXPECT_TRUE(Clipboard().contains(QStringLiteral("シリウス")));
    }
}

// The comment file of the tests, with a comment of two lines on Sirius.
constexpr char kCommentFile[] = ":STAR αCMa\n\t@msg\t\"一行目\\n二行目\"\n";

TEST_F(CommandTest, CommentConfirmedUnchangedChangesNothing) {
    const std::string file = dir.Write("mine.cdf", kCommentFile);
    CRegistry::Write(u"Files", u"ClickData", CString::FromUtf8(file));
    for (const int shown : {1, 0}) {
        CCdStatus status;
        status.DispComment = shown;
        status.Save();
        Open();
        CString given;
        CLumDialog::SetModalHook([&](CLumDialog& dialog) {
            given = dialog.GetDlgItemText(IDC_CDF_COMMENT);
            dialog.SendMessage(WM_COMMAND, IDC_OK);
        });
        frame.messages.clear();
        Click(ID_BTN_COMMENT);
        // Hidden or shown, the dialog edits the stored comment.
        EXPECT_EQ(given, u"一行目\n二行目");
        EXPECT_EQ(frame.messages, (std::vector<Frame::Message>{{1725, 1, {}}, {1725, 0, {}}}));
        for (const CString& c : engine.Commands())
            EXPECT_NE(c, u"? ClickData.Object");  // no refresh
        palette.reset();
        EXPECT_EQ(Slurp(file), kCommentFile);
    }
}

TEST_F(CommandTest, EditedCommentIsStoredAndShown) {
    const std::string file = dir.Write("mine.cdf", kCommentFile);
    CRegistry::Write(u"Files", u"ClickData", CString::FromUtf8(file));
    Open();
    CLumDialog::SetModalHook([&](CLumDialog& dialog) {
        EXPECT_TRUE(U8(dialog.GetDlgItemText(IDC_CDF_NAME)).starts_with("恒星"));
        dialog.SetDlgItemText(IDC_CDF_COMMENT, u"冬の\n大三角");
        dialog.SendMessage(WM_COMMAND, IDC_OK);
    });
    Click(ID_BTN_COMMENT);
    EXPECT_TRUE(Text()->toPlainText().endsWith(QStringLiteral("冬の\n大三角\n")));
    palette.reset();
    EXPECT_EQ(Slurp(file), ":STAR αCMa\n\t@msg\t\"冬の\\n大三角\"\n");
}

TEST_F(CommandTest, CommentOfAPickedStarIsRefused) {
    Select(u"Star.Xno0");
    Open();
    bool ran = false;
    CLumDialog::SetModalHook([&](CLumDialog& dialog) {
        ran = true;
        dialog.EndDialog(CLumDialog::IDCANCEL);
    });
    Click(ID_BTN_COMMENT);
    EXPECT_FALSE(ran);
    EXPECT_TRUE(frame.messages.empty());
}

// The settings dialog's lines, in order, as the user reads them.
constexpr const char* kSettingLines[] = {"天体情報がないときはウィンドウを閉じる",
                                         "複数天体を選択するメニューを表示",
                                         "天体のない場所では星座の情報を表示",
                                         "等級・視直径などを表示",
                                         "赤経・赤緯（J2000）を表示",
                                         "赤経・赤緯（視位置）を表示",
                                         "赤経・赤緯（B1950）を表示",
                                         "黄経・黄緯（平均位置）を表示",
                                         "黄経・黄緯（視位置）を表示",
                                         "黄経・黄緯（J2000）を表示",
                                         "銀経・銀緯を表示",
                                         "方位・高度を表示",
                                         "天体の時角を表示",
                                         "天体の出没・南中時刻を表示",
                                         "天体間の赤経・赤緯の差を表示",
                                         "天体間の位置角・角距離を表示",
                                         "地心・日心距離などを表示",
                                         "太陽系天体の軌道情報を表示",
                                         "太陽系天体の詳細情報を表示",
                                         "恒星の詳細な情報を表示",
                                         "PGCの詳細情報を表示",
                                         "天体名称をタイトルバーに表示",
                                         "コメントを表示",
                                         "非アクティブ時にウィンドウを半透明にする",
                                         "座標を度で表示"};

QListWidget* SettingList(CLumDialog& dialog) {
    return dynamic_cast<QListWidget*>(dialog.GetDlgItem(IDC_CD_LIST));
}

struct SettingsTest : CommandTest {
    std::string Store() const { return Slurp(dir.path() + "/registry.json"); }
    // Opens the settings with `drive` as the user, then counts the engine
    // default commands sent.
    Commands RunSettings(const std::function<void(CLumDialog&)>& drive) {
        CLumDialog::SetModalHook(drive);
        frame.messages.clear();
        Click(ID_BTN_EDT);
        Commands defaults;
        for (const CString& c : engine.Commands()) {
            if (c.Left(8) == u"default ") defaults.push_back(c);
        }
        return defaults;
    }
};

TEST_F(SettingsTest, ConfirmedUnchangedRewritesTheSameValuesAndSendsBothDefaults) {
    CCdStatus saved;
    saved.AltSpan = 1;
    saved.DispNameOnBar = 1;
    saved.CnsInfo = 0;
    saved.Save();
    Open();
    std::vector<std::string> lines;
    std::vector<int> checks;
    const Commands sent = RunSettings([&](CLumDialog& dialog) {
        EXPECT_EQ(dialog.GetSafeHwnd()->windowTitle(), QStringLiteral("天体情報パレット設定"));
        for (int i = 0; i < SettingList(dialog)->count(); ++i) {
            lines.push_back(SettingList(dialog)->item(i)->text().toStdString());
            checks.push_back(SettingList(dialog)->item(i)->checkState() == Qt::Checked);
        }
        EXPECT_TRUE(dynamic_cast<QRadioButton*>(dialog.GetDlgItem(IDC_CD_SPAN_18))->isChecked());
        dialog.SendMessage(WM_COMMAND, IDC_OK);
    });
    EXPECT_EQ(lines, std::vector<std::string>(std::begin(kSettingLines), std::end(kSettingLines)));
    EXPECT_EQ(checks[2], 0);   // CnsInfo
    EXPECT_EQ(checks[21], 1);  // DispNameOnBar
    EXPECT_EQ(sent, (Commands{u"default ClickData.Constellation = FALSE",
                              u"default ClickData.Cyclic = FALSE"}));
    EXPECT_EQ(frame.messages, (std::vector<Frame::Message>{{1725, 1, {}}, {1725, 0, {}}}));
    CCdStatus after;
    after.Load();
    for (const CCdStatus::Field& f : CCdStatus::Fields())
        EXPECT_EQ(after.*f.member, saved.*f.member) << U8(f.name);
}

TEST_F(SettingsTest, DefaultsThenCancelLeaveTheStoreUntouched) {
    CCdStatus saved;
    saved.AltSpan = 2;
    saved.Precision = 1;
    saved.DispNameOnBar = 1;
    saved.Save();
    Open();
    const std::string before = Store();
    std::vector<std::pair<std::string, unsigned>> asked;
    host::ui::SetMessageBoxHandler([&](const CString& text, unsigned type) {
        asked.push_back({U8(text), type});
        return IDOK;
    });
    const Commands sent = RunSettings([&](CLumDialog& dialog) {
        dialog.SendMessage(WM_COMMAND, IDC_CD_DEFAULT);
        // The defaults are shown: 24 hours, seconds, no name on the bar.
        EXPECT_TRUE(dynamic_cast<QRadioButton*>(dialog.GetDlgItem(IDC_CD_SPAN_24))->isChecked());
        EXPECT_TRUE(
            dynamic_cast<QRadioButton*>(dialog.GetDlgItem(IDC_CD_PREC_SECOND))->isChecked());
        EXPECT_EQ(SettingList(dialog)->item(21)->checkState(), Qt::Unchecked);
        dialog.SendMessage(WM_COMMAND, IDC_CANCEL);
    });
    EXPECT_EQ(asked, (std::vector<std::pair<std::string, unsigned>>{
                         {"すべての設定を初期値に戻します。", MB_OKCANCEL | MB_ICONEXCLAMATION}}));
    EXPECT_TRUE(sent.empty());
    EXPECT_EQ(Store(), before);
}

TEST_F(SettingsTest, DefaultsThenOkStoreTheDefaultsAndACancelledQuestionKeepsTheChoice) {
    for (const int answer : {IDOK, IDCANCEL}) {
        CCdStatus saved;
        saved.AltSpan = 2;
        saved.AltCenter = 1;
        saved.DispNameOnBar = 1;
        saved.IgnoreErase = 0;
        saved.Save();
        Open();
        host::ui::SetMessageBoxHandler([&](const CString&, unsigned) { return answer; });
        RunSettings([&](CLumDialog& dialog) {
            dialog.SendMessage(WM_COMMAND, IDC_CD_DEFAULT);
            dialog.SendMessage(WM_COMMAND, IDC_OK);
        });
        CCdStatus after;
        after.Load();
        const CCdStatus expected = answer == IDOK ? CCdStatus() : saved;
        for (const CCdStatus::Field& f : CCdStatus::Fields())
            EXPECT_EQ(after.*f.member, expected.*f.member) << U8(f.name) << " answer " << answer;
    }
}

// Both modal dialogs take the palette's dark look, and a label's "(&O)"
// becomes the access key of the list after it instead of showing as typed.
TEST_F(SettingsTest, DialogsAreDarkWithAccessKeys) {
    Open();
    const auto check = [](CLumDialog& dialog) {
        QWidget* window = dialog.GetSafeHwnd();
        QApplication::processEvents();
        const QColor corner = window->grab().toImage().pixelColor(2, 2);
        EXPECT_LT(corner.lightness(), 64) << corner.name().toStdString();
        EXPECT_EQ(window->palette().color(QPalette::WindowText).name(), QStringLiteral("#c4c4c4"));
        for (QLabel* label : window->findChildren<QLabel*>()) {
            if (label->text().contains(u'&')) {
                EXPECT_NE(label->buddy(), nullptr) << label->text().toStdString();
            }
        }
    };
    RunSettings([&](CLumDialog& dialog) {
        check(dialog);
        auto* list = dynamic_cast<QListWidget*>(dialog.GetDlgItem(IDC_CD_LIST));
        bool found = false;
        for (QLabel* label : dialog.GetSafeHwnd()->findChildren<QLabel*>()) {
            if (label->text() != QStringLiteral("表示オプション(&O)：")) continue;
            found = true;
            EXPECT_EQ(label->buddy(), list);
        }
        EXPECT_TRUE(found);
        dialog.SendMessage(WM_COMMAND, IDC_CANCEL);
    });
    CLumDialog::SetModalHook([&](CLumDialog& dialog) {
        check(dialog);
        dialog.SendMessage(WM_COMMAND, IDC_CANCEL);
    });
    Click(ID_BTN_COMMENT);
}

TEST_F(SettingsTest, UncheckingThePopupMenuMakesTheEngineCycle) {
    Open();
    const Commands sent = RunSettings([&](CLumDialog& dialog) {
        SettingList(dialog)->item(1)->setCheckState(Qt::Unchecked);
        dynamic_cast<QRadioButton*>(dialog.GetDlgItem(IDC_CD_CENTER_12))->setChecked(true);
        dialog.SendMessage(WM_COMMAND, IDC_OK);
    });
    EXPECT_EQ(sent, (Commands{u"default ClickData.Constellation = TRUE",
                              u"default ClickData.Cyclic = TRUE"}));
    CCdStatus after;
    after.Load();
    EXPECT_EQ(after.DispPopup, 0);
    EXPECT_EQ(after.AltCenter, 1);
    // The palette refreshed after the dialog told the engine.
    const Commands& all = engine.Commands();
    const auto cyclic = std::find(all.begin(), all.end(), sent.back());
    EXPECT_NE(std::find(cyclic, all.end(), CString(u"? ClickData.Object")), all.end());
}

TEST_F(CommandTest, ContextMenuGreysCopyWithoutASelectionAndSelectsAll) {
    Open();
    std::vector<host::ui::MenuItemState> shown;
    int choice = ID_RBTN_SELALL;
    host::ui::SetPopupMenuHandler([&](const std::vector<host::ui::MenuItemState>& items) {
        shown = items;
        return choice;
    });
    const auto rightClick = [&] {
        SendMouse(Text()->viewport(), QEvent::MouseButtonRelease, {5, 5}, Qt::RightButton);
    };
    rightClick();
    ASSERT_EQ(shown.size(), 2u);
    EXPECT_EQ(shown[0].text, u"コピー(&C)\tCtrl+C");
    EXPECT_FALSE(shown[0].enabled);
    EXPECT_EQ(shown[1].text, u"すべて選択(&A)\tCtrl+A");
    EXPECT_EQ(Text()->textCursor().selectedText().size(), Text()->toPlainText().size());
    // With the selection, copy is offered and copies it.
    choice = ID_RBTN_COPY;
    QApplication::clipboard()->clear();
    rightClick();
    EXPECT_TRUE(shown[0].enabled);
    EXPECT_EQ(Clipboard(), Text()->toPlainText());
}

TEST_F(CommandTest, CtrlAAnywhereSelectsTheWholeText) {
    Open();
    ASSERT_TRUE(Text()->textCursor().selectedText().isEmpty());
    QKeyEvent press(QEvent::KeyPress, Qt::Key_A, Qt::ControlModifier, QStringLiteral("a"));
    QApplication::sendEvent(Button(ID_BTN_BLINK), &press);
    EXPECT_TRUE(press.isAccepted());
    EXPECT_EQ(Text()->textCursor().selectedText().size(), Text()->toPlainText().size());
}

}  // namespace
