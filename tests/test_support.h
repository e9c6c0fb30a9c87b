// Helpers shared by the tests.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "host/cstring.h"

// UTF-8 of a UTF-16 text, for readable assertion messages.
std::string U8(const CString& s);

// Runs the vexclk command line in-process.
struct CliResult {
    int status;
    std::string out;
    std::string err;
};
CliResult RunVexclk(const std::vector<std::string>& args);

// A fresh directory under the system's temporary directory, removed with
// everything in it when the object goes.
class TempDir {
  public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    const std::string& path() const { return path_; }
    // Writes a file below the directory and returns its path.
    std::string Write(const std::string& name, const std::string& content) const;

  private:
    std::string path_;
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
