// The vexclk command line, callable in-process for tests.
#pragma once

#include <istream>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

class CCorLum;
class CSkyEngine;

namespace vexclk {

// Runs one command line (args without the program name).  Returns the exit
// status: 0 on success, 2 on bad input, with one line on `err` saying why.
int RunCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
// The same, reading standard input (for 'query' without commands) from `in`.
int RunCli(const std::vector<std::string>& args, std::istream& in, std::ostream& out,
           std::ostream& err);

// The engine a command line asks for, as every command reads it: the
// replay engine with --replies FILE, else the sky engine set by --time,
// --tz, --lat, --lon and --height.
struct CommandEngine {
    std::unique_ptr<CCorLum> engine;
    CSkyEngine* sky = nullptr;  // the same engine, when it is the sky engine
    std::vector<std::string> operands;
};
// Reads the engine options of `args` (args[0] names the command, for the
// messages).  On bad input returns false with one line saying why in *error.
bool MakeCommandEngine(const std::vector<std::string>& args, CommandEngine* made,
                       std::string* error);

}  // namespace vexclk
