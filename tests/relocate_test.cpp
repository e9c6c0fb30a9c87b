// The install step's relocation (cmake/relocate.cpp, host/install_dir.h):
// which bytes it rewrites and what it refuses.  That installed programs then
// read the installed catalogues is the test package.install_and_use.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "host/install_dir.h"
#include "test_support.h"

namespace {

constexpr size_t kSlot = host::kInstallSlotSize;
const std::string kMarker = VEXCLK_INSTALL_SLOT_MARKER;

std::string Padded(const std::string& text) {
    return text + std::string(kSlot - text.size(), '\0');
}

// Runs a command line through the shell; its exit status, its stderr in *err.
int RunShell(const TempDir& dir, const std::string& command, std::string* err = nullptr) {
    const std::string err_file = dir.path() + "/stderr.txt";
    const int status = std::system((command + " 2>" + err_file).c_str());
    if (err) *err = Slurp(err_file);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

int Relocate(const TempDir& dir, const std::string& share_dir, const std::string& file) {
    return RunShell(dir, std::string(VEXCLK_RELOCATE) + " '" + share_dir + "' '" + file + "'");
}

}  // namespace

TEST(InstallDir, BuildTreeBinaryIsNotInstalled) {
    // This test program is never relocated, so it keeps the marker.
    EXPECT_EQ(host::InstalledShareDir(), "");
}

TEST(Relocate, FillsOnlyWholeSlots) {
    const std::string dir_name = "/opt/vexclk/share/vexclk";
    const std::string head = std::string(
                                 "\x7f"
                                 "ELF",
                                 4) +
                             std::string(40, '\0') + "abc";
    const std::string tail = "xyz" + std::string(3, '\0');
    struct Case {
        const char* name;
        std::string before;
        int status;
        std::string after;  // empty: the file is unchanged
    } cases[] = {
        {"one slot", head + Padded(kMarker) + tail, 0, head + Padded(dir_name) + tail},
        {"two slots", Padded(kMarker) + tail + Padded(kMarker), 0,
         Padded(dir_name) + tail + Padded(dir_name)},
        {"installed before", head + Padded(dir_name) + tail, 0, ""},
        // The marker in a text, with too few NULs after it, is no slot.
        {"marker in text", head + kMarker + " is the marker" + std::string(kSlot, '\0'), 1, ""},
        {"slot cut short", head + Padded(kMarker).substr(0, kSlot - 1), 1, ""},
        {"no marker", head + tail, 1, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TempDir dir;
        const std::string file = dir.Write("bin", c.before);
        EXPECT_EQ(Relocate(dir, dir_name, file), c.status);
        EXPECT_EQ(Slurp(file), c.after.empty() ? c.before : c.after);
        EXPECT_FALSE(std::filesystem::exists(file + ".relocate"));
    }
}

TEST(Relocate, RefusesBadShareFolderAndKeepsPermissions) {
    TempDir dir;
    const std::string before = Padded(kMarker);
    const std::string file = dir.Write("prog", before);
    ASSERT_EQ(chmod(file.c_str(), 0751), 0);
    for (const std::string& bad :
         {std::string("relative/share"), std::string(""), "/" + std::string(kSlot - 1, 'a')}) {
        std::string err;
        EXPECT_EQ(
            RunShell(dir, std::string(VEXCLK_RELOCATE) + " '" + bad + "' '" + file + "'", &err), 2);
        EXPECT_NE(err.find("SHARE_DIR must be an absolute path"), std::string::npos) << err;
        EXPECT_EQ(Slurp(file), before);
    }
    // The longest path that fits leaves the terminating NUL.
    const std::string longest = "/" + std::string(kSlot - 2, 'b');
    EXPECT_EQ(Relocate(dir, longest, file), 0);
    EXPECT_EQ(Slurp(file), Padded(longest));
    struct stat st {};
    ASSERT_EQ(stat(file.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0751u);
}
