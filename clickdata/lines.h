// Pieces shared by the text builders: reading numbers out of replies,
// splitting list replies, rounding clock readings, and the lines that more
// than one kind of object prints.  Nothing here asks the engine; the lines
// that need a query are members of CLumClickData (lines.cpp).
#pragma once

#include <string_view>
#include <vector>

#include "host/cstring.h"

namespace lines {

// The leading number of a reply: 0 for an empty reply (the property is
// absent), for "*" (no value) and for a reply that does not begin with a
// number ("12.5 deg" reads 12.5).
double ReplyNumber(const CString& reply);
// The leading integer of a reply, 0 likewise ("12.9" reads 12).
int ReplyInteger(const CString& reply);

// The engine's query "? " + object + suffix, built in one piece: a text
// sends about a hundred.
CString QueryCommand(std::u16string_view object, std::u16string_view suffix);

// CString::Format into a new string.
template <class... Args>
CString Formatted(const char16_t* format, const Args&... args) {
    CString text;
    text.Format(format, args...);
    return text;
}

// The pieces of a list reply between its separators, in order and as they
// are, empty ones included: "a,,b" gives "a", "", "b"; "" gives one empty
// piece.
std::vector<CString> SplitList(const CString& list, char16_t separator);

// text + "\r\n"; nothing for an empty text.
CString Line(const CString& text);
// label + value + "\r\n"; nothing when the value is empty (the property is
// absent).  A "*" prints as it comes.
CString LabelLine(const CString& label, const CString& value);

// Appends `piece` to a line of blank-separated pieces.
void AppendPiece(CString& line, const CString& piece);

// A decimal reply without the zeros that trail its fraction, keeping at
// least one decimal ("5.000" -> "5.0", "4.830" -> "4.83"); a reply whose
// zeros are not all fraction digits ("100", "1.0e10") comes back as it is.
CString ShortenDecimal(const CString& reply);

// A clock reading (a time of day, the size of an hour angle, a duration).
struct tagHMS {
    int hour;
    int minute;
    int second;  // 0 when rounded to the minute
};

// `hours` split into hours, minutes and seconds and rounded to the nearest
// second, a half second up; with `to_minute` to the nearest minute, 30
// seconds up.  A field rounded up to 60 carries into the one above it; the
// hours are not wrapped (24 stays 24: whether the day rolls over is the
// caller's business).  The split floors, so a negative reading counts back
// from the hour below it (-0.25 h is -1 h + 45 min); a value that is not a
// number, or beyond a million hours, reads as 0.
tagHMS RoundClock(double hours, bool to_minute);

// How a distance reply prints.
enum class DistanceForm {
    kAu,          // astronomical units; "*" reads as 0
    kAuOrDashes,  // astronomical units; "*" prints dashes of the same width
    kManKm,       // a reply in kilometres, in units of 10 000 km ("万 km")
};

// "label value unit\r\n".  Astronomical units carry three decimals on the
// coarse display (Precision 1), else five; units of 10 000 km two.
CString DistanceLine(const CString& label, const CString& reply, DistanceForm form, bool coarse);

}  // namespace lines
