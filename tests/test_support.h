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

// The rows of a reference table in tests/data/ ("#" comment lines, a line of
// column names, tab-separated rows), each as column name -> text.
using ReferenceRow = std::map<std::string, std::string>;
std::vector<ReferenceRow> ReadReferenceTable(const std::string& path);
