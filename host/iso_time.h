// Dates and times written as ISO 8601, for hosts and the command line.
#pragma once

#include <string>

namespace host {

// Reads "YYYY-MM-DD", "YYYY-MM-DDThh:mm", "YYYY-MM-DDThh:mm:ss[.fff]" (a blank
// may stand for the "T"), optionally followed by "Z" or a zone "+hh:mm" /
// "-hh:mm" / "+hhmm" / "+hh".  A time without a zone is read in
// `default_zone_h` (hours east of UT).  Years may carry a sign ("-0044-03-15").
// On success stores the Julian Day (UT) and returns true; otherwise false
// with a short reason in *error.
bool ParseIsoTime(const std::string& text, double default_zone_h, double* jd_ut,
                  std::string* error);

}  // namespace host
