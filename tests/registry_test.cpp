// The per-user settings store: real files in a temporary folder, real
// processes for the concurrent cases.
#include "host/registry.h"

#include <fcntl.h>
#include <grp.h>
#include <gtest/gtest.h>
#include <picojson.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <climits>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <optional>
#include <set>
#include <sstream>
#include <stdexcept>

#include "tests/test_support.h"

namespace {

namespace fs = std::filesystem;

class RegistryTest : public ::testing::Test {
  protected:
    RegistryTest()
        : store_(dir_.path() + "/conf/vexclk/registry.json"), env_("VEXCLK_REGISTRY", store_) {}
    std::string folder() const { return dir_.path() + "/conf/vexclk"; }
    void Plant(const std::string& bytes) const {
        fs::create_directories(folder());
        std::ofstream(store_, std::ios::binary) << bytes;
    }
    // The contents of the files a corrupt store was kept aside as.
    std::multiset<std::string> KeptAside() const {
        std::multiset<std::string> kept;
        for (const std::string& n : Names(folder())) {
            if (n.rfind("registry.json.corrupt-", 0) == 0) kept.insert(Slurp(folder() + "/" + n));
        }
        return kept;
    }
    int ReadInt(const CString& key, const CString& name, int def = -7) const {
        int value = 12345;
        CRegistry::Read(key, name, def, &value, 1);
        return value;
    }

    TempDir dir_;
    std::string store_;
    ScopedEnv env_;
};

TEST_F(RegistryTest, FreshStoreReadsDefaultsAndCreatesNothing) {
    int value = 0;
    EXPECT_EQ(CRegistry::Read(u"ClickData", u"AltSpan", 5, &value, 1), 0);
    EXPECT_EQ(value, 5);
    CString text = u"old";
    EXPECT_EQ(CRegistry::Read(u"Files", u"ClickData", CString(u"既定"), text), 0);
    EXPECT_EQ(U8(text), "既定");
    EXPECT_EQ(CRegistry::Read(u"ClickData", u"AltSpan", 5, nullptr, 1), 0);
    EXPECT_FALSE(fs::exists(dir_.path() + "/conf"));
}

TEST_F(RegistryTest, ValuesRoundTripAsJsonUnderTheirKey) {
    const struct {
        const char16_t* name;
        int value;
        int kind;
    } ints[] = {{u"AltMag", 0, 0}, {u"Highest", INT_MAX, 1}, {u"Lowest", INT_MIN, 1}};
    for (const auto& c : ints) {
        ASSERT_EQ(CRegistry::Write(u"ClickData", c.name, c.value, c.kind), 1);
    }
    ASSERT_EQ(CRegistry::Write(u"ClickData", u"AltSpan", 2, 1), 1);
    ASSERT_EQ(CRegistry::Write(u"ClickData", u"AltSpan", 1, 1), 1);  // the other values stay
    const CString value = u"C:\\ユーザー\\星空\\lumvex.cdf \"引用\"\r\n\t/ﾟ×";
    ASSERT_EQ(CRegistry::Write(u"Dialog\\CdEdit", u"最後のフォルダ", value), 1);

    EXPECT_EQ(ReadInt(u"ClickData", u"AltSpan"), 1);
    CString back;
    EXPECT_EQ(CRegistry::Read(u"Dialog\\CdEdit", u"最後のフォルダ", CString(), back), 1);
    EXPECT_EQ(back, value);
    // Readable by other tools: numbers as JSON numbers, text as UTF-8 as
    // such, the key spelt with one backslash.
    const std::string file = Slurp(store_);
    EXPECT_NE(file.find("最後のフォルダ"), std::string::npos) << file;
    picojson::value doc;
    ASSERT_EQ(picojson::parse(doc, file), "");
    EXPECT_EQ(doc.get("Dialog\\CdEdit").get("最後のフォルダ").to_str(), value.ToUtf8());
    for (const auto& c : ints) {
        int read = 99;
        EXPECT_EQ(CRegistry::Read(u"ClickData", c.name, 99, &read, c.kind), 1) << U8(c.name);
        EXPECT_EQ(read, c.value) << U8(c.name);
        const picojson::value& stored = doc.get("ClickData").get(U8(c.name));
        ASSERT_TRUE(stored.is<double>()) << U8(c.name);
        EXPECT_EQ(stored.get<double>(), c.value);
    }
}

TEST_F(RegistryTest, ValuesOfTheWrongTypeReadAsTheDefault) {
    Plant(R"({"ClickData": {"Text": "1", "Half": 1.5, "Flag": true, "Huge": 1e300,
                            "TooBig": 2147483648, "Null": null, "List": [1], "Good": 3},
              "Files": {"ClickData": 5, "Ok": "c:\\x"},
              "General": 7})");
    for (const char16_t* name : {u"Text", u"Half", u"Flag", u"Huge", u"TooBig", u"Null", u"List"}) {
        int value = 0;
        EXPECT_EQ(CRegistry::Read(u"ClickData", name, -7, &value, 1), 0) << U8(name);
        EXPECT_EQ(value, -7) << U8(name);
    }
    EXPECT_EQ(ReadInt(u"ClickData", u"Good"), 3);
    EXPECT_EQ(ReadInt(u"clickdata", u"Good"), -7);       // keys are exact
    EXPECT_EQ(ReadInt(u"General", u"ColorScheme"), -7);  // a key that is no object
    CString text;
    EXPECT_EQ(CRegistry::Read(u"Files", u"ClickData", CString(u"d"), text), 0);
    EXPECT_EQ(U8(text), "d");
    EXPECT_EQ(CRegistry::Read(u"Files", u"Ok", CString(u"d"), text), 1);
    EXPECT_EQ(U8(text), "c:\\x");
}

TEST_F(RegistryTest, CorruptStoreReadsEmptyAndIsKeptAsideByteForByte) {
    const std::string bad[] = {
        "{\"ClickData\": {\"AltSpan\": 2",        // cut short
        "[{\"ClickData\": {}}]",                  // not an object
        "{\"ClickData\": {}} {}",                 // trailing text
        std::string("\xff\xfe{\0\"\0", 6),        // UTF-16 from some editor
        std::string("{\"a\":1}\0", 8),            // a NUL after the document
        "{\"ClickData\": {\"AltSpan\": 1e999}}",  // a number beyond double
        [] {  // nested beyond any settings file (and the stack, unchecked)
            std::string s;
            for (int i = 0; i < 100000; ++i) s += "{\"a\":";
            return s;
        }(),
    };
    for (size_t k = 0; k < std::size(bad); ++k) {
        Plant(bad[k]);
        EXPECT_EQ(ReadInt(u"ClickData", u"AltSpan"), -7) << bad[k];
        EXPECT_EQ(Slurp(store_), bad[k]) << "reading changed the file";
        ASSERT_EQ(CRegistry::Write(u"ClickData", u"AltMag", 1, 0), 1) << bad[k];
        EXPECT_EQ(KeptAside().size(), k + 1) << bad[k];
        // The new store holds the one value written, nothing of the bad file.
        picojson::value doc;
        ASSERT_EQ(picojson::parse(doc, Slurp(store_)), "");
        EXPECT_EQ(doc.serialize(), R"({"ClickData":{"AltMag":1}})");
    }
    // Each bad file kept byte for byte, untouched by the later ones.
    EXPECT_EQ(KeptAside(), std::multiset<std::string>(std::begin(bad), std::end(bad)));
}

TEST_F(RegistryTest, KeyThatIsNotAnObjectIsRebuiltAfterKeepingTheFile) {
    const std::string bytes = R"({"ClickData": 5, "Files": {"ClickData": "c.cdf"}})";
    Plant(bytes);
    ASSERT_EQ(CRegistry::Write(u"ClickData", u"AltSpan", 1, 1), 1);
    EXPECT_EQ(ReadInt(u"ClickData", u"AltSpan"), 1);
    CString path;
    EXPECT_EQ(CRegistry::Read(u"Files", u"ClickData", CString(), path), 1);
    EXPECT_EQ(U8(path), "c.cdf");
    EXPECT_EQ(KeptAside(), std::multiset<std::string>{bytes});
}

TEST_F(RegistryTest, ReplacementIsCleanAndOnlyWhenNeeded) {
    // A blank file or a byte-order mark is no corruption: nothing kept aside.
    for (const std::string bytes : {"", " \n", "\xEF\xBB\xBF{\"ClickData\": {\"AltMag\": 0}}"}) {
        Plant(bytes);
        EXPECT_EQ(CRegistry::Write(u"ClickData", u"AltSpan", 2, 1), 1);
        EXPECT_EQ(ReadInt(u"ClickData", u"AltSpan"), 2);
        EXPECT_EQ(Names(folder()), (std::set<std::string>{"registry.json", "registry.json.lock"}));
    }
    EXPECT_EQ(ReadInt(u"ClickData", u"AltMag"), 0);  // the last one's value survived

    // What a writer killed between writing and renaming leaves behind goes.
    std::ofstream(folder() + "/registry.json.tmp-Ab12Cd") << "{\"half";
    for (int i = 0; i < 20; ++i) ASSERT_EQ(CRegistry::Write(u"K", u"v", i, 1), 1);
    EXPECT_EQ(Names(folder()), (std::set<std::string>{"registry.json", "registry.json.lock"}));

    // The same value again leaves the file alone.
    struct stat before {
    }, after{};
    ASSERT_EQ(stat(store_.c_str(), &before), 0);
    ASSERT_EQ(CRegistry::Write(u"K", u"v", 19, 1), 1);
    ASSERT_EQ(stat(store_.c_str(), &after), 0);
    EXPECT_EQ(before.st_ino, after.st_ino);
}

TEST_F(RegistryTest, UnwritableFolderLosesTheWriteAndKeepsTheOldFile) {
    for (const bool lock_file_exists : {false, true}) {
        Plant(R"({"ClickData": {"AltSpan": 1}})");
        if (lock_file_exists) {
            std::ofstream(folder() + "/registry.json.lock");
            chmod((folder() + "/registry.json.lock").c_str(), 0666);
        } else {
            fs::remove(folder() + "/registry.json.lock");
        }
        const std::string before = Slurp(store_);
        for (const std::string& d : {dir_.path(), dir_.path() + "/conf"}) chmod(d.c_str(), 0755);
        chmod(store_.c_str(), 0644);
        chmod(folder().c_str(), 0555);
        const int written = InChild([] {
            if (!DropRoot()) return 99;
            return CRegistry::Write(u"ClickData", u"AltSpan", 2, 1) == 0 ? 0 : 1;
        });
        chmod(folder().c_str(), 0755);
        EXPECT_EQ(written, 0) << "lock file exists: " << lock_file_exists;
        EXPECT_EQ(Slurp(store_), before);
        EXPECT_EQ(ReadInt(u"ClickData", u"AltSpan"), 1);
        for (const std::string& n : Names(folder())) {
            EXPECT_TRUE(n == "registry.json" || n == "registry.json.lock") << n;
        }
    }
}

TEST(Registry, StoreThatCannotBeAFileReadsDefaultsAndRefusesWrites) {
    TempDir dir;
    const std::string plain_file = dir.Write("plain", "x");
    fs::create_directories(dir.path() + "/folder/registry.json");
    for (const std::string& store :
         {plain_file + "/registry.json", dir.path() + "/folder/registry.json"}) {
        ScopedEnv env("VEXCLK_REGISTRY", store);
        int value = 0;
        EXPECT_EQ(CRegistry::Read(u"ClickData", u"AltSpan", 4, &value, 1), 0);
        EXPECT_EQ(value, 4);
        EXPECT_EQ(CRegistry::Write(u"Files", u"ClickData", CString(u"x")), 0) << store;
        CRegistry::Batch batch;
        EXPECT_EQ(CRegistry::Write(u"ClickData", u"AltSpan", 2, 1), 0) << store;
        EXPECT_EQ(batch.Commit(), 0) << store;
    }
    EXPECT_EQ(Slurp(plain_file), "x");
}

TEST_F(RegistryTest, ConcurrentWritersInTwoProcessesLoseNothing) {
    constexpr int kPerWriter = 60;
    ASSERT_EQ(CRegistry::Write(u"Base", u"x", 7, 1), 1);
    // Two writers of 60 values each, and a reader that must always find a
    // complete store meanwhile.
    std::vector<pid_t> children;
    for (const char16_t* role : {u"a", u"b", u"reader"}) {
        const pid_t pid = fork();
        if (pid == 0) {
            bool ok = true;
            for (int i = 0; ok && i < 4 * kPerWriter; ++i) {
                int value = 0;
                CString name;
                name.Format(u"%s%d", role, i);
                if (!role[1]) {
                    ok = i >= kPerWriter || CRegistry::Write(u"Test", name, i * 3 + 1, 1);
                } else {
                    ok = CRegistry::Read(u"Base", u"x", 0, &value, 1) && value == 7;
                }
            }
            _exit(ok ? 0 : 1);
        }
        ASSERT_GT(pid, 0);
        children.push_back(pid);
    }
    for (const pid_t pid : children) {
        int status = 0;
        ASSERT_EQ(waitpid(pid, &status, 0), pid);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    }
    for (const char16_t* prefix : {u"a", u"b"}) {
        for (int i = 0; i < kPerWriter; ++i) {
            CString name;
            name.Format(u"%s%d", prefix, i);
            EXPECT_EQ(ReadInt(u"Test", name), i * 3 + 1) << U8(name);
        }
    }
    EXPECT_EQ(Names(folder()), (std::set<std::string>{"registry.json", "registry.json.lock"}));
}

TEST_F(RegistryTest, BatchReplacesTheStoreOnceAndKeepsAConcurrentWrite) {
    ASSERT_EQ(CRegistry::Write(u"ClickData", u"AltSpan", 0, 1), 1);
    // Another process, told to go while the batch is open: it sees the old
    // store, and its write waits for the batch.
    int go[2];
    ASSERT_EQ(pipe(go), 0);
    const pid_t other = fork();
    if (other == 0) {
        char signal = 0;
        if (read(go[0], &signal, 1) != 1) _exit(3);
        int value = -1;
        CRegistry::Read(u"ClickData", u"AltSpan", -1, &value, 1);
        const int wrote = CRegistry::Write(u"Other", u"v", 5, 1);
        _exit(value == 0 && wrote ? 0 : 1);
    }
    ASSERT_GT(other, 0);
    {
        CRegistry::Batch batch;
        EXPECT_EQ(CRegistry::Write(u"ClickData", u"AltSpan", 2, 1), 1);
        {
            CRegistry::Batch inner;  // adds to the outer batch
            EXPECT_EQ(CRegistry::Write(u"ClickData", u"AltMag", 1, 0), 1);
            EXPECT_EQ(inner.Commit(), 1);
        }
        EXPECT_EQ(ReadInt(u"ClickData", u"AltMag"), 1);  // the batch sees its own writes
        const char signal = 1;
        ASSERT_EQ(write(go[1], &signal, 1), 1);
        usleep(50 * 1000);  // let the other process reach the lock
        EXPECT_EQ(batch.Commit(), 1);
    }
    close(go[0]);
    close(go[1]);
    int status = 0;
    ASSERT_EQ(waitpid(other, &status, 0), other);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    EXPECT_EQ(ReadInt(u"ClickData", u"AltSpan"), 2);
    EXPECT_EQ(ReadInt(u"ClickData", u"AltMag"), 1);
    EXPECT_EQ(ReadInt(u"Other", u"v"), 5);
}

TEST_F(RegistryTest, ReadsSeeOtherWritesExceptInsideASnapshot) {
    ASSERT_EQ(CRegistry::Write(u"ClickData", u"AltSpan", 1, 1), 1);
    EXPECT_EQ(ReadInt(u"ClickData", u"AltSpan"), 1);
    // Another process's write of the same size is seen all the same.
    EXPECT_EQ(InChild([] { return CRegistry::Write(u"ClickData", u"AltSpan", 2, 1) ? 0 : 1; }), 0);
    EXPECT_EQ(ReadInt(u"ClickData", u"AltSpan"), 2);
    {
        CRegistry::Snapshot snapshot;
        EXPECT_EQ(ReadInt(u"ClickData", u"AltSpan"), 2);
        EXPECT_EQ(InChild([] {
                      return CRegistry::Write(u"ClickData", u"AltSpan", 3, 1) &&
                                     CRegistry::Write(u"ClickData", u"AltCenter", 1, 1)
                                 ? 0
                                 : 1;
                  }),
                  0);
        CRegistry::Snapshot nested;
        EXPECT_EQ(ReadInt(u"ClickData", u"AltSpan"), 2);
        EXPECT_EQ(ReadInt(u"ClickData", u"AltCenter"), -7);
    }
    EXPECT_EQ(ReadInt(u"ClickData", u"AltSpan"), 3);
    EXPECT_EQ(ReadInt(u"ClickData", u"AltCenter"), 1);
}

// A transaction reads under the lock, even inside a snapshot taken before,
// and a change that throws writes nothing of what it did.
TEST_F(RegistryTest, TransactionReadsTheLockedStoreAndDropsAFailedChange) {
    ASSERT_EQ(CRegistry::Write(u"T", u"n", 1, 1), 1);
    CRegistry::Snapshot stale;
    ASSERT_EQ(InChild([] { return CRegistry::Write(u"T", u"n", 5, 1) ? 0 : 1; }), 0);
    EXPECT_EQ(
        CRegistry::Transaction([&] { CRegistry::Write(u"T", u"n", ReadInt(u"T", u"n") + 1, 1); }),
        1);
    const std::string after = Slurp(store_);
    EXPECT_EQ(CRegistry::Transaction([&] {
                  CRegistry::Write(u"T", u"n", 100, 1);
                  throw std::runtime_error("the change fails half-way");
              }),
              0);
    EXPECT_EQ(Slurp(store_), after);
    EXPECT_NE(after.find("\"n\": 6"), std::string::npos) << after;
}

TEST_F(RegistryTest, SymbolicLinkToTheStoreStaysALink) {
    fs::create_directories(folder());
    fs::create_directories(dir_.path() + "/dotfiles");
    // An existing target, and a relative one not made yet.
    for (const bool exists : {true, false}) {
        const std::string target = dir_.path() + "/dotfiles/registry.json";
        fs::remove(target);
        fs::remove(store_);
        if (exists) std::ofstream(target) << "{}";
        fs::create_symlink("../../dotfiles/registry.json", store_);
        ASSERT_EQ(CRegistry::Write(u"ClickData", u"DispGal", 0, 0), 1);
        EXPECT_TRUE(fs::is_symlink(store_));
        EXPECT_EQ(ReadInt(u"ClickData", u"DispGal"), 0);
        EXPECT_NE(Slurp(target).find("DispGal"), std::string::npos);
    }
}

TEST(Registry, StorePathFollowsTheEnvironment) {
    const struct {
        std::optional<std::string> registry, xdg, home;
        std::string expected;
    } cases[] = {
        {"/x/r.json", "/cfg", "/home/u", "/x/r.json"},
        {"", "/cfg", "/home/u", "/cfg/vexclk/registry.json"},  // empty counts as unset
        {std::nullopt, "relative/cfg", "/home/u", "/home/u/.config/vexclk/registry.json"},
        {std::nullopt, std::nullopt, "/home/u", "/home/u/.config/vexclk/registry.json"},
    };
    for (const auto& c : cases) {
        ScopedEnv r("VEXCLK_REGISTRY", c.registry), x("XDG_CONFIG_HOME", c.xdg), h("HOME", c.home);
        EXPECT_EQ(CRegistry::StorePath(), c.expected);
    }
}

}  // namespace
