#include "tests/test_support.h"

#include <grp.h>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>

#include "apps/cli.h"

std::string U8(const CString& s) {
    return s.ToUtf8();
}

std::string Slurp(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

std::set<std::string> Names(const std::string& folder) {
    std::set<std::string> names;
    for (const auto& e : std::filesystem::directory_iterator(folder))
        names.insert(e.path().filename().string());
    return names;
}

CliResult RunVexclk(const std::vector<std::string>& args) {
    std::ostringstream out, err;
    const int status = vexclk::RunCli(args, out, err);
    return {status, out.str(), err.str()};
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
    m_path = pattern;
}

TempDir::~TempDir() {
    std::error_code ignored;
    std::filesystem::remove_all(m_path, ignored);
}

std::string TempDir::Write(const std::string& name, const std::string& content) const {
    const std::string file = m_path + "/" + name;
    std::ofstream(file, std::ios::binary) << content;
    return file;
}

const std::string& RefRow::Text(const std::string& column) const {
    static const std::string empty;
    auto it = cells.find(column);
    return it == cells.end() ? empty : it->second;
}

double RefRow::Num(const std::string& column) const {
    const std::string& s = Text(column);
    char* end = nullptr;
    const double v = std::strtod(s.c_str(), &end);
    return end != s.c_str() && *end == '\0' ? v : NAN;
}

std::vector<double> RefRow::List(const std::string& column) const {
    std::vector<double> out;
    const std::string& s = Text(column);
    if (s == "-") return out;
    std::stringstream in(s);
    for (std::string item; std::getline(in, item, ',');)
        out.push_back(std::strtod(item.c_str(), nullptr));
    return out;
}

std::vector<RefRow> ReadRefTable(const std::string& path, const std::string& kind) {
    static std::map<std::string, std::vector<RefRow>> files;
    auto it = files.find(path);
    if (it == files.end()) {
        std::ifstream in(path);
        std::vector<RefRow> rows;
        std::vector<std::string> header;
        for (std::string line; std::getline(in, line);) {
            if (line.empty() || line[0] == '#') continue;
            std::vector<std::string> fields;
            std::stringstream ss(line);
            for (std::string field; std::getline(ss, field, '\t');) fields.push_back(field);
            if (header.empty()) {
                header = fields;
                continue;
            }
            RefRow& row = rows.emplace_back();
            // getline drops a trailing empty field: a missing field is empty.
            for (size_t i = 0; i < header.size(); ++i)
                row.cells[header[i]] = i < fields.size() ? fields[i] : std::string();
        }
        it = files.emplace(path, std::move(rows)).first;
    }
    std::vector<RefRow> out;
    for (const RefRow& r : it->second) {
        if (kind.empty() || r.Text("kind") == kind) out.push_back(r);
    }
    return out;
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

std::shared_ptr<const CSkyCatalog> SharedSkyCatalog() {
    static const std::shared_ptr<const CSkyCatalog> catalog = [] {
        auto c = std::make_shared<CSkyCatalog>();
        std::string error;
        if (!c->Load(CSkyCatalog::DefaultDataDir(), &error)) ADD_FAILURE() << error;
        return c;
    }();
    return catalog;
}
