// Coordinate texts of the host's common library: right ascension,
// latitude-type and longitude-type angles at four precision levels.
//
// Every text of one function and level has the same width for any value in
// the coordinate's natural range, so that lines formatted one level apart
// line up once the caller adds its fixed blanks:
//   - one level up adds one character to a right ascension (one more decimal
//     of the seconds), two characters to an angle from level 2 to 3 (".d"
//     after whole seconds of arc) and one character from level 3 to 4;
//   - a longitude-type text is one character narrower than the right
//     ascension of the same level.
// The decimal-degree variants keep the same widths, digit for digit.
//
// The negated level gives the placeholder of that level for a missing value:
// the text of 0 with every digit replaced by "-" (and the sign of a latitude
// by a blank), so a placeholder has exactly the width of a value.  A value
// that is NaN or infinite also prints as the placeholder.  Levels beyond
// 1..4 are clamped to that range.
//
// The examples below format Betelgeuse (Hipparcos, J2000: 5h55m10.30536s,
// +7ﾟ24'25.4304") and its right ascension in degrees (88.792939ﾟ) as a
// longitude.
//
// The degree sign is the half-width "ﾟ" (U+FF9F) used throughout the texts;
// minutes and seconds of arc are "'" and "\"", hours, minutes and seconds of
// time "h", "m" and "s".
#pragma once

#include "host/cstring.h"

// Precision level of the coordinate formatters, 1 (coarsest) to 4 (finest).
// A plain int so that callers can compute with it (one level lower, the
// negated level of a placeholder).
using tagCOORD_FORMAT_PREC = int;

// Level 1: minutes of arc (the display chosen by the Precision setting).
constexpr tagCOORD_FORMAT_PREC kCoordPrecMinute = 1;
// Level 2: seconds of arc; positions of most objects and the measure block.
constexpr tagCOORD_FORMAT_PREC kCoordPrecSecond = 2;
// Level 3: tenths of a second of arc; stars.
constexpr tagCOORD_FORMAT_PREC kCoordPrecStar = 3;
// Level 4: hundredths of a second of arc; the very-high-precision option.
constexpr tagCOORD_FORMAT_PREC kCoordPrecFinest = 4;

class CCommonCoordFormat {
  public:
    // Right ascension, `hours` in hours (any frame; reduced to 0 <= h < 24,
    // so that a value rounding up to 24h prints as 00h).
    //   level 1 "05h55.2m"  2 "05h55m10.3s"  3 "05h55m10.31s"  4 "05h55m10.305s"
    static CString CoordFormatRA(double hours, int precision);
    // Right ascension `hours` in hours, printed in degrees (h x 15, reduced
    // to 0 <= a < 360), three integer digits.
    //   level 1 "088.793ﾟ"  2 "088.79294ﾟ"  3 "088.792939ﾟ"  4 "088.7929390ﾟ"
    static CString CoordFormatRADeg(double hours, int precision);
    // Latitude-type angle `degrees` (declination, ecliptic or galactic
    // latitude, altitude), always signed, two integer digits.  The sign is
    // that of the value, also when the degrees round to 0 ("-00ﾟ30'").
    // A value beyond +-90 is printed as it is (wider) so that it shows.
    //   level 1 "+07ﾟ24'"  2 "+07ﾟ24'25\""  3 "+07ﾟ24'25.4\""  4 "+07ﾟ24'25.43\""
    static CString CoordFormatLatitude(double degrees, int precision);
    // Latitude-type angle `degrees` in decimal degrees, always signed.
    //   level 1 "+07.41ﾟ"  2 "+07.4071ﾟ"  3 "+07.407064ﾟ"  4 "+07.4070640ﾟ"
    static CString CoordFormatLatitudeDeg(double degrees, int precision);
    // Longitude-type angle `degrees` (ecliptic and galactic longitude,
    // azimuth, position angle, absolute differences), reduced to
    // 0 <= a < 360, unsigned, three integer digits.
    //   level 1 "088ﾟ48'"  2 "088ﾟ47'35\""  3 "088ﾟ47'34.6\""  4 "088ﾟ47'34.58\""
    static CString CoordFormatLongitude(double degrees, int precision);
    // Longitude-type angle `degrees` in decimal degrees, 0 <= a < 360.
    //   level 1 "088.79ﾟ"  2 "088.7929ﾟ"  3 "088.792939ﾟ"  4 "088.7929390ﾟ"
    static CString CoordFormatLongitudeDeg(double degrees, int precision);
};
