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
        : m_store(m_dir.path() + "/conf/vexclk/registry.json"), m_env("VEXCLK_REGISTRY", m_store) {}
    std::string folder() const { return m_dir.path() + "/conf/vexclk"; }
    void Plant(const std::string& bytes) const {
        fs::create_directories(folder());
        std::ofstream(m_store, std::ios::binary) << bytes;
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

    TempDir m_dir;
    std::string m_store;
    ScopedEnv m_env;
};

TEST_F(RegistryTest, CorruptStoreReadsEmptyAndIsKeptAsideByteForByte) {
    const std::string bad[] = {
        "{\"ClickData\": {\"AltSpan\": 2",  // cut short
        "[{\"ClickData\": {}}]",            // not an object
        "{\"ClickData\": {}} {}",           // trailing text
        std::string("\xff\xfe{\0\"\0", 6),  // UTF-16 from some editor
        std::string("{\"a\":1}\0", 8),      // a NUL after the document
    };
    for (size_t k = 0; k < std::size(bad); ++k) {
        Plant(bad[k]);
        EXPECT_EQ(ReadInt(u"ClickData", u"AltSpan"), -7) << bad[k];
        EXPECT_EQ(Slurp(m_store), bad[k]) << "reading changed the file";
        ASSERT_EQ(CRegistry::Write(u"ClickData", u"AltMag", 1, 0), 1) << bad[k];
        EXPECT_EQ(KeptAside().size(), k + 1) << bad[k];
        // The new store holds the one value written, nothing of the bad file.
        picojson::value doc;
        ASSERT_EQ(picojson::parse(doc, Slurp(m_store)), "");
        EXPECT_EQ(doc.serialize(), R"({"ClickData":{"AltMag":1}})");
    }
    // Each bad file kept byte for byte, untouched by the later ones.
    EXPECT_EQ(KeptAside(), std::multiset<std::string>(std::begin(bad), std::end(bad)));
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
        const std::string before = Slurp(m_store);
        for (const std::string& d : {m_dir.path(), m_dir.path() + "/conf"}) chmod(d.c_str(), 0755);
        chmod(m_store.c_str(), 0644);
        chmod(folder().c_str(), 0555);
        const int written = InChild([] {
            if (!DropRoot()) return 99;
            return CRegistry::Write(u"ClickData", u"AltSpan", 2, 1) == 0 ? 0 : 1;
        });
        chmod(folder().c_str(), 0755);
        EXPECT_EQ(written, 0) << "lock file exists: " << lock_file_exists;
        EXPECT_EQ(Slurp(m_store), before);
        EXPECT_EQ(ReadInt(u"ClickData", u"AltSpan"), 1);
        for (const std::string& n : Names(folder())) {
            EXPECT_TRUE(n == "registry.json" || n == "registry.json.lock") << n;
        }
    }
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

// A transaction reads under the lock, even inside a snapshot taken before,
// and a change that throws writes nothing of what it did.
TEST_F(RegistryTest, TransactionReadsTheLockedStoreAndDropsAFailedChange) {
    ASSERT_EQ(CRegistry::Write(u"T", u"n", 1, 1), 1);
    CRegistry::Snapshot stale;
    ASSERT_EQ(InChild([] { return CRegistry::Write(u"T", u"n", 5, 1) ? 0 : 1; }), 0);
    EXPECT_EQ(
        CRegistry::Transaction([&] { CRegistry::Write(u"T", u"n", ReadInt(u"T", u"n") + 1, 1); }),
        1);
    const std::string after = Slurp(m_store);
    EXPECT_EQ(CRegistry::Transaction([&] {
                  CRegistry::Write(u"T", u"n", 100, 1);
                  throw std::runtime_error("the change fails half-way");
              }),
              0);
    EXPECT_EQ(Slurp(m_store), after);
    EXPECT_NE(after.find("\"n\": 6"), std::string::npos) << after;
}

}  // namespace
