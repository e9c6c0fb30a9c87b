// Helpers shared by the tests.
#pragma once

#include <cstdlib>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "host/cstring.h"
#include "sky/catalog.h"

// UTF-8 of a UTF-16 text, for readable assertion messages.
std::string U8(const CString& s);

// The catalogues of data/, loaded once for every test (a failure to load is
// a test failure).
std::shared_ptr<const CSkyCatalog> SharedSkyCatalog();

// The bytes of a file; empty when it cannot be read.
std::string Slurp(const std::string& path);
// The names of the entries of a folder.
std::set<std::string> Names(const std::string& folder);

// Runs the vexclk command line in-process.
struct CliResult {
    int status;
    std::string out;
    std::string err;
};
CliResult RunVexclk(const std::vector<std::string>& args);

// Sets (or, with nullopt, unsets) an environment variable for one scope.
class ScopedEnv {
  public:
    ScopedEnv(const char* name, const std::optional<std::string>& value) : m_name(name) {
        if (const char* old = std::getenv(name)) m_old = old;
        Set(name, value);
    }
    ~ScopedEnv() { Set(m_name, m_old); }

  private:
    static void Set(const char* name, const std::optional<std::string>& value) {
        value ? setenv(name, value->c_str(), 1) : unsetenv(name);
    }
    const char* m_name;
    std::optional<std::string> m_old;
};

// Runs `body` in a child process; its result is the exit status (-1 when the
// child did not exit normally).
int InChild(const std::function<int()>& body);
// Root ignores folder permissions; a child that must meet them runs as
// "nobody" instead.  False when that cannot be done.
bool DropRoot();

// A fresh directory under the system's temporary directory, removed with
// everything in it when the object goes.
class TempDir {
  public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    const std::string& path() const { return m_path; }
    // Writes a file below the directory and returns its path.
    std::string Write(const std::string& name, const std::string& content) const;

  private:
    std::string m_path;
};

// One row of a reference table of tests/data: tab-separated, '#' comment
// lines, then a line of column names, then the rows.
struct RefRow {
    std::map<std::string, std::string> cells;
    // The cell's text; empty for an absent column.
    const std::string& Text(const std::string& column) const;
    // The cell as a number; NaN when empty or not wholly a number.
    double Num(const std::string& column) const;
    // A comma-separated list of numbers; "-" or empty is the empty list.
    std::vector<double> List(const std::string& column) const;
};

// The rows of the table at `path` whose column "kind" equals `kind` (all rows
// for an empty kind).  Each file is read once.
std::vector<RefRow> ReadRefTable(const std::string& path, const std::string& kind = "");
