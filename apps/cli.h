// The vexclk command line, callable in-process for tests.
#pragma once

#include <istream>
#include <ostream>
#include <string>
#include <vector>

namespace vexclk {

// Runs one command line (args without the program name).  Returns the exit
// status: 0 on success, 2 on bad input, with one line on `err` saying why.
int RunCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
// The same, reading standard input (for 'query' without commands) from `in`.
int RunCli(const std::vector<std::string>& args, std::istream& in, std::ostream& out,
           std::ostream& err);

}  // namespace vexclk
