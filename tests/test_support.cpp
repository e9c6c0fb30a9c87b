#include "tests/test_support.h"

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
    }
} const g_private_store;

}  // namespace

std::vector<ReferenceRow> ReadReferenceTable(const std::string& path) {
    std::ifstream in(path);
    std::vector<ReferenceRow> rows;
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
        ReferenceRow& row = rows.emplace_back();
        // getline drops a trailing empty field: a missing field is empty.
        for (size_t i = 0; i < header.size(); ++i)
            row[header[i]] = i < fields.size() ? fields[i] : std::string();
    }
    return rows;
}
