// The engine's command language, taken apart.
//
//   statements   STATEMENT { ";" STATEMENT }
//   query        "?" EXPR
//   default      "default" PATH "=" VALUE
//   assignment   PATH "=" VALUE
//   verb         "Show Sky" | "Show Stellar" | "Calc Stellar" | "Play Blink(...)"
//
// Splitting respects double quotes and parentheses, so a quoted text or a
// call-form identifier may hold ";" or "=".  Nothing here looks anything
// up: the engine decides what a path means.
#pragma once

#include <vector>

#include "host/cstring.h"

namespace sky {

// The longest command text (UTF-16 units) an engine runs; a longer one gets
// the empty reply unread.  The module's commands are a few dozen
// characters; the bound keeps a runaway or hostile one from taking the
// engine's time and memory.
constexpr int kMaxCommandLength = 65536;

struct Statement {
    enum class Kind { Empty, Query, Assignment, Default, Verb, Invalid };
    Kind kind = Kind::Empty;
    CString target;       // query expression, assigned path, or the verb text
    CString value;        // assigned value, quotes removed
    bool quoted = false;  // the value was a double-quoted text
};

// Splits a command text into statements at ";" outside quotes and
// parentheses, in one pass: time linear in the length of the text.
std::vector<CString> SplitStatements(const CString& command);

// Classifies one statement.  White space around the parts is dropped.
Statement ParseStatement(const CString& statement);

}  // namespace sky
