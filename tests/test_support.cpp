#include "tests/test_support.h"

#include <grp.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>

#include "apps/cli.h"

std::string U8(const CString& s) {
    return s.ToUtf8();
}

CliResult RunVexclk(const std::vector<std::string>& args) {
    std::ostringstream out, err;
    const int status = vexclk::RunCli(args, out, err);
    return {status, out.str(), err.str()};
}

std::string Slurp(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

std::set<std::string> FolderNames(const std::string& folder) {
    std::set<std::string> names;
    for (const auto& e : std::filesystem::directory_iterator(folder)) {
        names.insert(e.path().filename().string());
    }
    return names;
}

int InChild(const std::function<int()>& body) {
    const pid_t pid = fork();
    if (pid == 0) _exit(body());
    int status = 0;
    if (pid < 0 || waitpid(pid, &status, 0) != pid) return -1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

bool DropRoot() {
    if (geteuid() != 0) return true;
    return setgroups(0, nullptr) == 0 && setgid(65534) == 0 && setuid(65534) == 0;
}

TempDir::TempDir() {
    std::string pattern = (std::filesystem::temp_directory_path() / "vexclk-test-XXXXXX").string();
    if (!mkdtemp(pattern.data())) throw std::runtime_error("mkdtemp failed");
    path_ = pattern;
}

TempDir::~TempDir() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
}

std::string TempDir::Write(const std::string& name, const std::string& content) const {
    const std::string file = path_ + "/" + name;
    std::ofstream(file, std::ios::binary) << content;
    return file;
}

namespace {

// Every test of this program starts with a private, empty settings store
// unless it sets its own, so that settings saved on the developer's machine
// never change a text under test.
struct PrivateStoreForThisProgram {
    TempDir dir;
    PrivateStoreForThisProgram() {
        setenv("VEXCLK_REGISTRY", (dir.path() + "/registry.json").c_str(), 1);
        // The loopback servers of the network tests are reached directly,
        // whatever proxy the developer's environment names.
        setenv("no_proxy", "127.0.0.1", 1);
    }
} const g_private_store;

}  // namespace
