// Date and angle arithmetic of the host's calculation library, on ERFA.
//
// Julian Days are UT unless a function says otherwise.  Calendar dates are
// proleptic Gregorian (ERFA's convention), years numbered astronomically.
#pragma once

#include "engine/adate.h"

namespace vexacl {

// Julian Day (UT) of a calendar date and clock time read in the record's own
// zone (hours east of UT).  Returns 0.0 for a date ERFA rejects (before
// -4799 or a month outside 1..12).
double GetJd(const tagADATE& date);

// Calendar date and clock time (UT, zone 0) of a Julian Day.  Seconds lie in
// [0, 60).  A JD outside ERFA's range gives the zeroed record.
tagADATE JdToDate2(double jd);

}  // namespace vexacl
