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
    CdStatusTest() : m_store(m_dir.path() + "/registry.json") {
        if (const char* old = std::getenv("VEXCLK_REGISTRY")) m_old = old;
        setenv("VEXCLK_REGISTRY", m_store.c_str(), 1);
    }
    ~CdStatusTest() override {
        m_old ? setenv("VEXCLK_REGISTRY", m_old->c_str(), 1) : unsetenv("VEXCLK_REGISTRY");
    }
    void Plant(const std::string& bytes) const {
        std::ofstream(m_store, std::ios::binary) << bytes;
    }
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

    TempDir m_dir;
    std::string m_store;
    std::optional<std::string> m_old;
};

void ExpectSameFields(const CCdStatus& a, const CCdStatus& b) {
    for (const CCdStatus::Field& f : CCdStatus::Fields()) {
        EXPECT_EQ(a.*(f.member), b.*(f.member)) << U8(f.name);
    }
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
    EXPECT_FALSE(fs::exists(m_store));

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
    const std::string before = Slurp(m_store);
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
        EXPECT_EQ(Slurp(m_store), before) << c.message;
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

TEST_F(CdStatusTest, CliSettingsUnwritableStoreIsStatusTwo) {
    const std::string blocker = m_dir.Write("not-a-folder", "x");
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

TEST_F(CdStatusTest, CliStoreThatCannotBeReadIsStatusTwo) {
    const struct {
        std::function<void()> plant;
        std::vector<std::string> args;
        std::string message;
    } cases[] = {
        {[&] { fs::create_directory(m_store); }, {"settings"}, "': Is a directory"},
        {[&] { fs::create_directory(m_store); },
         {"settings", "--set", "DispGal=0"},
         "': Is a directory"},
        {[&] { Plant("{\"ClickData\": "); }, {"settings"}, "': not a JSON object"},
        {[&] { Plant("[]"); }, {"text", "Star.HIP.32349"}, "': not a JSON object"},
    };
    for (const auto& c : cases) {
        fs::remove_all(m_store);
        c.plant();
        const auto r = RunVexclk(c.args);
        EXPECT_EQ(r.status, 2);
        EXPECT_EQ(r.out, "");
        EXPECT_EQ(r.err, "vexclk " + c.args[0] + ": cannot read the settings store '" + m_store +
                             c.message + "\n");
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

}  // namespace
