// The display-settings record and its persistence, and the settings
// commands of the command line: real stores in a temporary folder.
#include "settings/cdstatus.h"

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <optional>
#include <sstream>

#include "host/registry.h"
#include "tests/test_support.h"

namespace {

namespace fs = std::filesystem;

// A fresh store of its own for each test.
class CdStatusTest : public ::testing::Test {
  protected:
    CdStatusTest() : store_(dir_.path() + "/registry.json") {
        if (const char* old = std::getenv("VEXCLK_REGISTRY")) old_ = old;
        setenv("VEXCLK_REGISTRY", store_.c_str(), 1);
    }
    ~CdStatusTest() override {
        old_ ? setenv("VEXCLK_REGISTRY", old_->c_str(), 1) : unsetenv("VEXCLK_REGISTRY");
    }
    void Plant(const std::string& bytes) const { std::ofstream(store_, std::ios::binary) << bytes; }
    static CString ReadString(const char16_t* key, const char16_t* name) {
        CString value;
        CRegistry::Read(key, name, CString(u"(none)"), value);
        return value;
    }
    static int ReadInt(const char16_t* name) {
        int value = -99;
        CRegistry::Read(u"ClickData", name, -99, &value, 1);
        return value;
    }

    TempDir dir_;
    std::string store_;
    std::optional<std::string> old_;
};

// Every field set to a value no default has, some out of the dialog's range.
CCdStatus Unusual() {
    CCdStatus s;
    int i = 0;
    for (const CCdStatus::Field& f : CCdStatus::Fields()) s.*(f.member) = (i++ % 2 ? 2 + i : -i);
    return s;
}

void ExpectSameFields(const CCdStatus& a, const CCdStatus& b) {
    for (const CCdStatus::Field& f : CCdStatus::Fields()) {
        EXPECT_EQ(a.*(f.member), b.*(f.member)) << U8(f.name);
    }
}

TEST_F(CdStatusTest, FreshStoreLoadKeepsEveryDefault) {
    CCdStatus s;
    s.Load();
    for (const CCdStatus::Field& f : CCdStatus::Fields()) {
        EXPECT_EQ(s.*(f.member), f.default_value) << U8(f.name);
    }
    EXPECT_EQ(s.IgnoreErase, 1);
    EXPECT_EQ(s.DispNameOnBar, 0);
    EXPECT_EQ(s.TransparentOnInactive, 0);
    EXPECT_EQ(s.DispMinSec, 0);
    EXPECT_EQ(s.AltSpan, 0);
    EXPECT_FALSE(fs::exists(store_));
}

TEST_F(CdStatusTest, LoadOverwritesOnlyWhatTheStoreHolds) {
    Plant(R"({"ClickData": {"DispGal": 0, "AltSpan": "2", "Precision": 1.5, "AltCenter": 1}})");
    CCdStatus s = Unusual();
    const CCdStatus before = s;
    s.Load();
    EXPECT_EQ(s.DispGal, 0);
    EXPECT_EQ(s.AltCenter, 1);
    EXPECT_EQ(s.AltSpan, before.AltSpan);  // a string is no integer: the field stays
    EXPECT_EQ(s.Precision, before.Precision);
    EXPECT_EQ(s.DispMinSec, before.DispMinSec);
    // From Init, every other field is at its default.
    s.Init();
    s.Load();
    for (const CCdStatus::Field& f : CCdStatus::Fields()) {
        const int expected = f.member == &CCdStatus::DispGal     ? 0
                             : f.member == &CCdStatus::AltCenter ? 1
                                                                 : f.default_value;
        EXPECT_EQ(s.*(f.member), expected) << U8(f.name);
    }
}

TEST_F(CdStatusTest, SaveThenLoadRestoresAll29FieldsUncorrected) {
    ASSERT_TRUE(CRegistry::Write(u"ClickData", u"FontSize", 14, 1));
    ASSERT_TRUE(CRegistry::Write(u"Files", u"ClickData", CString(u"/home/星/lumvex.cdf")));
    const CCdStatus saved = Unusual();
    CCdStatus(saved).Save();
    // Values of other names and keys stay.
    EXPECT_EQ(ReadInt(u"FontSize"), 14);
    EXPECT_EQ(U8(ReadString(u"Files", u"ClickData")), "/home/星/lumvex.cdf");
    CCdStatus loaded;
    loaded.Load();
    ExpectSameFields(loaded, saved);
    for (const CCdStatus::Field& f : CCdStatus::Fields()) {
        EXPECT_EQ(ReadInt(f.name), saved.*(f.member)) << U8(f.name);
    }
}

TEST_F(CdStatusTest, SaveWritesBothEngineDefaults) {
    // Nothing saved yet: CnsInfo and DispPopup read as set.
    const auto fresh = CCdStatus::StoredEngineDefaultCommands();
    EXPECT_EQ(U8(fresh[0]), "default ClickData.Constellation = TRUE");
    EXPECT_EQ(U8(fresh[1]), "default ClickData.Cyclic = FALSE");
    const struct {
        int cns_info, disp_popup;
        const char* constellation;
        const char* cyclic;
    } cases[] = {
        {0, 1, "FALSE", "FALSE"},
        {1, 0, "TRUE", "TRUE"},
        {5, 7, "TRUE", "FALSE"},  // any non-zero flag is set
    };
    for (const auto& c : cases) {
        CCdStatus s;
        s.CnsInfo = c.cns_info;
        s.DispPopup = c.disp_popup;
        s.Save();
        EXPECT_EQ(U8(ReadString(u"Default", u"ClickData.Constellation")), c.constellation);
        EXPECT_EQ(U8(ReadString(u"Default", u"ClickData.Cyclic")), c.cyclic);

        // The commands from the record and from the store agree.
        const auto from_record = s.EngineDefaultCommands();
        EXPECT_EQ(U8(from_record[0]),
                  std::string("default ClickData.Constellation = ") + c.constellation);
        EXPECT_EQ(U8(from_record[1]), std::string("default ClickData.Cyclic = ") + c.cyclic);
        EXPECT_EQ(CCdStatus::StoredEngineDefaultCommands(), from_record);
    }
}

TEST_F(CdStatusTest, SaveOverACorruptStoreStartsAFreshOne) {
    // Keeping the bad file aside is the store's business, tested there.
    Plant("{\"ClickData\": {\"DispGal\": 0,");
    CCdStatus s;
    s.Load();
    EXPECT_EQ(s.DispGal, 1);  // unreadable: every setting at its default
    s.DispMag = 0;
    s.Save();
    CCdStatus loaded;
    loaded.Load();
    ExpectSameFields(loaded, s);
}

// --- vexclk settings

std::string Listing(const CCdStatus& s) {
    std::string out;
    for (const CCdStatus::Field& f : CCdStatus::Fields()) {
        out += U8(f.name) + "=" + std::to_string(s.*(f.member)) + "\n";
    }
    return out;
}

TEST_F(CdStatusTest, CliSettingsRoundTrip) {
    auto r = RunVexclk({"settings"});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, Listing(CCdStatus()));
    EXPECT_FALSE(fs::exists(store_));

    r = RunVexclk({"settings", "--set", "DispGal=0", "Precision=1", "CnsInfo=0", "AltSpan=-3"});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "");
    CCdStatus expected;
    expected.DispGal = 0;
    expected.Precision = 1;
    expected.CnsInfo = 0;
    expected.AltSpan = -3;
    r = RunVexclk({"settings"});
    EXPECT_EQ(r.out, Listing(expected));

    // A second --set keeps what the first saved.
    r = RunVexclk({"settings", "--set", "DispPopup=0", "--set", "DispMag=+0"});
    EXPECT_EQ(r.status, 0) << r.err;
    expected.DispPopup = 0;
    expected.DispMag = 0;
    EXPECT_EQ(RunVexclk({"settings"}).out, Listing(expected));
    EXPECT_EQ(U8(ReadString(u"Default", u"ClickData.Cyclic")), "TRUE");

    r = RunVexclk({"settings", "--reset"});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(RunVexclk({"settings"}).out, Listing(CCdStatus()));
    EXPECT_EQ(U8(ReadString(u"Default", u"ClickData.Constellation")), "TRUE");
    EXPECT_EQ(U8(ReadString(u"Default", u"ClickData.Cyclic")), "FALSE");
}

TEST_F(CdStatusTest, CliSettingsBadOperandsSaveNothing) {
    ASSERT_EQ(RunVexclk({"settings", "--set", "DispGal=0"}).status, 0);
    const std::string before = Slurp(store_);
    const struct {
        std::vector<std::string> args;
        std::string message;
    } cases[] = {
        {{"settings", "--set", "DispGal=1", "Bogus=1"}, "vexclk settings: unknown setting 'Bogus'"},
        {{"settings", "--set", "DispGal=1", "Precision=x"},
         "vexclk settings: setting Precision wants an integer, got 'x'"},
        {{"settings", "--set", "DispGal=1", "AltSpan=99999999999"},
         "vexclk settings: setting AltSpan wants an integer, got '99999999999'"},
        {{"settings", "--set", "DispGal=1", "Precision"},
         "vexclk settings: --set wants NAME=VALUE, got 'Precision'"},
        {{"settings", "--set"}, "vexclk settings: --set needs NAME=VALUE"},
        {{"settings", "--reset", "--set", "DispGal=1"},
         "vexclk settings: give either --set or --reset"},
        {{"settings", "--reset", "now"}, "vexclk settings: unexpected argument 'now'"},
    };
    for (const auto& c : cases) {
        const auto r = RunVexclk(c.args);
        EXPECT_EQ(r.status, 2) << c.message;
        EXPECT_EQ(r.err, c.message + "\n");
        EXPECT_EQ(r.out, "");
        EXPECT_EQ(Slurp(store_), before) << c.message;
    }
}

TEST_F(CdStatusTest, CliSettingsUnwritableStoreIsStatusTwo) {
    const std::string blocker = dir_.Write("not-a-folder", "x");
    setenv("VEXCLK_REGISTRY", (blocker + "/registry.json").c_str(), 1);
    for (const std::vector<std::string>& args :
         {std::vector<std::string>{"settings", "--set", "DispGal=0"},
          std::vector<std::string>{"settings", "--reset"}}) {
        const auto r = RunVexclk(args);
        EXPECT_EQ(r.status, 2);
        EXPECT_EQ(r.err, "vexclk settings: cannot write the settings store '" + blocker +
                             "/registry.json'\n");
    }
    // Listing still works: everything reads as its default.
    const auto r = RunVexclk({"settings"});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, Listing(CCdStatus()));
}

TEST_F(CdStatusTest, CliSettingsStoreThatCannotBeReadIsStatusTwo) {
    const struct {
        std::function<void()> plant;
        std::vector<std::string> args;
        std::string message;
    } cases[] = {
        {[&] { fs::create_directory(store_); }, {"settings"}, "': Is a directory"},
        {[&] { fs::create_directory(store_); },
         {"settings", "--set", "DispGal=0"},
         "': Is a directory"},
        {[&] { Plant("{\"ClickData\": "); }, {"settings"}, "': not a JSON object"},
    };
    for (const auto& c : cases) {
        fs::remove_all(store_);
        c.plant();
        const auto r = RunVexclk(c.args);
        EXPECT_EQ(r.status, 2);
        EXPECT_EQ(r.out, "");
        EXPECT_EQ(r.err,
                  "vexclk settings: cannot read the settings store '" + store_ + c.message + "\n");
    }
}

// Several processes change settings at once, each its own one, again and
// again: the value each last reported as saved is what the store holds, and
// the engine defaults follow the stored record.
TEST_F(CdStatusTest, ConcurrentSettingWritersKeepEveryReportedValue) {
    constexpr int kRuns = 15;
    const std::string names[] = {"AltSpan", "Precision", "CnsInfo", "DispPopup", "DispGal"};
    std::vector<pid_t> writers;
    for (const std::string& name : names) {
        const pid_t pid = fork();
        if (pid == 0) {
            int reported = 0;
            for (int v = 2; v < 2 + kRuns; ++v) {
                const std::string set = name + "=" + std::to_string(v % 2 ? v : -v);
                if (RunVexclk({"settings", "--set", set}).status == 0) reported = v;
            }
            _exit(reported);
        }
        ASSERT_GT(pid, 0);
        writers.push_back(pid);
    }
    for (size_t i = 0; i < writers.size(); ++i) {
        int status = 0;
        ASSERT_EQ(waitpid(writers[i], &status, 0), writers[i]);
        ASSERT_TRUE(WIFEXITED(status));
        const int last = WEXITSTATUS(status);
        EXPECT_EQ(last, 1 + kRuns) << names[i];  // every save was reported
        EXPECT_EQ(ReadInt(CString::FromUtf8(names[i]).GetString()), last % 2 ? last : -last)
            << names[i];
    }
    CCdStatus stored;
    stored.Load();
    const auto commands = stored.EngineDefaultCommands();
    EXPECT_TRUE(
        commands[0].view().ends_with(ReadString(u"Default", u"ClickData.Constellation").view()));
    EXPECT_TRUE(commands[1].view().ends_with(ReadString(u"Default", u"ClickData.Cyclic").view()));
}

// The settings dialog saves what its user changed on top of the store as it
// is now, and ends up holding the saved record.
TEST_F(CdStatusTest, SaveChangesKeepsWhatAnotherWriterSavedMeanwhile) {
    CCdStatus dialog;
    dialog.Load();
    const CCdStatus loaded = dialog;
    ASSERT_EQ(RunVexclk({"settings", "--set", "DispGal=0", "CnsInfo=0", "Precision=1"}).status, 0);
    dialog.DispMag = 0;
    dialog.Precision = 2;  // the user's own change wins
    EXPECT_EQ(dialog.SaveChanges(loaded), 1);
    CCdStatus stored;
    stored.Load();
    ExpectSameFields(dialog, stored);
    EXPECT_EQ(stored.DispGal, 0);
    EXPECT_EQ(stored.DispMag, 0);
    EXPECT_EQ(stored.Precision, 2);
    EXPECT_EQ(U8(ReadString(u"Default", u"ClickData.Constellation")), "FALSE");
}

// `text` starts from the saved settings; --setting still overrides them.
TEST_F(CdStatusTest, CliTextUsesSavedSettings) {
    const std::string replies = dir_.Write("t.replies",
                                           "? time.jd\t2461380.5\n"
                                           "? deepsky.M31.name\tM31\n"
                                           "? deepsky.M31.mag\t3.4\n"
                                           "? deepsky.M31.RA\t10.68\n"
                                           "? deepsky.M31.Dec\t41.27\n");
    const std::pair<const char*, int> settings[] = {
        {"DispMag", 0}, {"Precision", 1}, {"DispMinSec", 1}, {"DispGal", 0}};
    auto text = [&](const char* object, const std::string& setting) {
        std::vector<std::string> args = {"text", "--trace", "--replies", replies, object};
        if (!setting.empty()) args.insert(args.begin() + 1, {"--setting", setting});
        const auto r = RunVexclk(args);
        return r.out + r.err;
    };
    int differing = 0;
    for (const char* object : {"deepsky.M31", "Solar.Planet.Mars"}) {
        for (const auto& [name, value] : settings) {
            const std::string setting = std::string(name) + "=" + std::to_string(value);
            const int default_value = CCdStatus::FindField(CString::FromUtf8(name))->default_value;
            unlink(store_.c_str());
            const std::string plain = text(object, "");
            const std::string overridden = text(object, setting);
            ASSERT_EQ(RunVexclk({"settings", "--set", setting}).status, 0);
            EXPECT_EQ(text(object, ""), overridden) << setting;
            EXPECT_EQ(text(object, std::string(name) + "=" + std::to_string(default_value)), plain)
                << setting;
            if (overridden != plain) ++differing;
        }
    }
    if (differing == 0) GTEST_SKIP() << "no text builder reacts to these settings yet";
}

}  // namespace
