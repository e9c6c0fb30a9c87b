// User text made fit for a one-line message on a terminal.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace host {

// The length of the UTF-8 sequence that `lead` begins (1 to 4), or 0 for a
// byte that cannot begin one.
size_t Utf8SequenceLength(unsigned char lead);

// Text a user gave (an option, a path, a line of a file) as it may be quoted
// in a one-line message: valid UTF-8 characters pass, except controls; LF,
// CR and TAB show as \n, \r, \t; other controls (C0, DEL, C1, the line and
// paragraph separators U+2028/U+2029) and bytes that are not UTF-8 show as
// \xHH, byte by byte.  The result is always valid UTF-8 without a line end.
std::string Printable(std::string_view bytes);

// Printable text in single quotes.
std::string Quoted(std::string_view bytes);

}  // namespace host
