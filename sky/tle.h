// Two-line element sets (NORAD's TLE format) and files of them.
//
// Format (fixed columns, 1-based): line 1 "1 NNNNNC IIIIIIII YYDDD.DDDDDDDD
// +.NNNNNNNN +NNNNN-N +NNNNN-N N NNNNC": catalogue number (3-7; Alpha-5
// letters allowed), epoch year (19-20: 57-99 are 1957-1999, 00-56
// 2000-2056) and day of the year with its fraction (21-32, UTC), drag term
// B* (54-61, mantissa with an implied leading decimal point and a power of
// ten).  Line 2 "2 NNNNN III.IIII OOO.OOOO EEEEEEE WWW.WWWW MMM.MMMM
// NN.NNNNNNNNRRRRRC": inclination (9-16), right ascension of the node
// (18-25), eccentricity with an implied leading decimal point (27-33),
// argument of perigee (35-42), mean anomaly (44-51), all degrees, and the
// mean motion in revolutions per day (53-63).  Column 69 of each line is a
// check digit: the sum of the digits, with 1 for each minus sign, modulo 10.
// Reference: the format as CelesTrak documents it ("NORAD Two-Line Element
// Set Format", T. S. Kelso) and Spacetrack Report #3, appendix.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "sky/sgp4.h"

namespace tle {

struct ElementSet {
    std::string name;  // the line before the pair, trimmed; may be empty
    int number = 0;    // catalogue number
    std::string line1, line2;
    sgp4::MeanElements elements;
};

// Reads one pair of lines (characters past column 69 are ignored).  False
// with a one-line reason in *error for lines that are not a TLE.  The check
// digits are not looked at here (see ChecksumOk).
bool Parse(std::string_view line1, std::string_view line2, ElementSet* out, std::string* error);

// Whether column 69 of a line holds its check digit.
bool ChecksumOk(std::string_view line);

// The element sets of a text in the two-line or three-line form (a name
// line before each pair, with or without the "0 " of the three-line form).
// Lines that do not make a valid pair with a correct check digit are
// skipped; *skipped counts them (optional).  A catalogue number that comes
// again replaces the earlier set (files list the newest last).
std::vector<ElementSet> ParseText(std::string_view text, int* skipped = nullptr);

// Reads a file of element sets.  False with "PATH: reason" in *error when it
// cannot be read, is larger than 64 MiB or holds no valid set.
bool LoadFile(const std::string& path, std::vector<ElementSet>* out, std::string* error);

}  // namespace tle
