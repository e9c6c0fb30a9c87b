// Number, angle and time notations of the information texts.

#include <cmath>

#include "clickdata/click_data.h"
#include "host/vexacl.h"
#include "settings/cdstatus.h"

using namespace lines;

namespace {

using CoordFormatter = CString (*)(double value, int precision);

// The level actually printed: the very-high-precision option wins, then the
// Precision setting (the coarse display), then the builder's own choice.
tagCOORD_FORMAT_PREC ChooseLevel(int very_high_precision, int precision_setting,
                                 tagCOORD_FORMAT_PREC level) {
    if (very_high_precision) return kCoordPrecFinest;
    if (precision_setting) return kCoordPrecMinute;
    return level;
}

// A reply "*" (no value) becomes the placeholder of the level; any other
// reply its leading number, an empty reply 0.
CString FormatReply(const CString& reply, tagCOORD_FORMAT_PREC level, CoordFormatter format) {
    if (reply == u"*") return format(0.0, -level);
    return format(ReplyNumber(reply), level);
}

bool IsDigit(char16_t c) {
    return c >= u'0' && c <= u'9';
}

// Whether a text begins with a decimal number ("2460000.5", "-.5", "+7").
bool StartsWithNumber(const CString& text) {
    int i = 0;
    if (i < text.GetLength() && (text[i] == u'+' || text[i] == u'-')) ++i;
    if (i < text.GetLength() && IsDigit(text[i])) return true;
    return i + 1 < text.GetLength() && text[i] == u'.' && IsDigit(text[i + 1]);
}

constexpr char16_t kNoTime[] = u"--:--";

// A Julian Day resolves to about 4e-5 s, so a clock time meant to lie on the
// half minute may come back a hair short of it.
constexpr double kHalfMinuteSlack = 1e-4;  // seconds

// Local clock time "HH:MM" of one piece of a Julian-Day list.  `jd_text` is
// a Julian Day (UT) as text, `zone` the clock's offset from UT in hours.
// Seconds of 30 or more round up; the minutes carry into the hour, which is
// left at 24 rather than moved to the next day ("24:00" closes the day the
// rest of the line belongs to).
CString ClockTime(const CString& jd_text, double zone) {
    if (!StartsWithNumber(jd_text)) return kNoTime;
    const double jd = ReplyNumber(jd_text) + zone / 24.0;
    if (!std::isfinite(jd)) return kNoTime;
    const tagADATE date = vexacl::JdToDate2(jd);
    if (date.month == 0) return kNoTime;  // outside the calendar's range
    const double seconds = date.second + kHalfMinuteSlack;
    const tagHMS clock = RoundClock(date.hour + (date.minute + seconds / 60.0) / 60.0, true);
    return Formatted(u"%02d:%02d", clock.hour, clock.minute);
}

}  // namespace

CString CLumClickData::FormatHms(const CString& reply, tagCOORD_FORMAT_PREC level) {
    return FormatReply(reply,
                       ChooseLevel(m_veryHighPrecision, Setting(&CCdStatus::Precision), level),
                       Setting(&CCdStatus::DispMinSec) ? &CCommonCoordFormat::CoordFormatRADeg
                                                       : &CCommonCoordFormat::CoordFormatRA);
}

CString CLumClickData::FormatLati(const CString& reply, tagCOORD_FORMAT_PREC level) {
    return FormatReply(reply,
                       ChooseLevel(m_veryHighPrecision, Setting(&CCdStatus::Precision), level),
                       Setting(&CCdStatus::DispMinSec) ? &CCommonCoordFormat::CoordFormatLatitudeDeg
                                                       : &CCommonCoordFormat::CoordFormatLatitude);
}

CString CLumClickData::FormatLong(const CString& reply, tagCOORD_FORMAT_PREC level) {
    return FormatReply(
        reply, ChooseLevel(m_veryHighPrecision, Setting(&CCdStatus::Precision), level),
        Setting(&CCdStatus::DispMinSec) ? &CCommonCoordFormat::CoordFormatLongitudeDeg
                                        : &CCommonCoordFormat::CoordFormatLongitude);
}

void CLumClickData::TrimTrailingZero(CString& text) {
    if (text.Find(u'.') < 0) return;
    text.TrimRight(u'0');
}

CString CLumClickData::GetTimeString(const CString& list, double zone, const CString& prefix) {
    if (list == u"*") return prefix + kNoTime;
    CString times;
    for (CString piece : SplitList(list, u',')) {
        // An empty piece (",," or a leading comma) names no event.
        if (piece.Trim().IsEmpty()) continue;
        if (!times.IsEmpty()) times += u',';
        times += ClockTime(piece, zone);
    }
    return prefix + times;
}

// `period` in any unit (the caller's: years or days).  Rounded to 0.01
// first, then printed with three significant figures, but never with fewer
// than the two decimals of a value below 10 nor more than three decimals:
// 0.24085 -> "0.240", 1.8808 -> "1.88", 11.862 -> "11.9", 164.79 -> "165",
// 1234.5 -> "1230".  Not a number: "-.--".
CString CLumClickData::GetPeriodString(double period) {
    double v = std::floor(period * 100.0 + 0.5) / 100.0;
    if (!std::isfinite(v)) return u"-.--";
    // 99.95 to 99.99 round to 100.0 at one decimal; they belong with the
    // three-figure integers ("100"), not as a five-character "100.0".
    if (v >= 10.0 && v < 100.0 && std::floor(v * 10.0 + 0.5) >= 1000.0) v = 100.0;
    CString out;
    if (v >= 100.0) {
        const double scale = std::pow(10.0, std::floor(std::log10(v)) - 2.0);
        out.Format(u"%.0f", std::floor(v / scale + 0.5) * scale);
        return out;
    }
    const int decimals = v >= 10.0 ? 1 : v >= 1.0 ? 2 : 3;
    const int integer_digits = v >= 10.0 ? 2 : 1;
    CString format;
    format.Format(u"%%%d.%df", integer_digits + 1 + decimals, decimals);
    out.Format(format.GetString(), v);
    return out;
}

void CLumClickData::GetDate(CCorLum* engine, tagADATE* date) {
    if (!engine || !date) return;
    date->year = ReplyInteger(engine->Doit(u"? LST(Time.Year)"));
    date->month = ReplyInteger(engine->Doit(u"? LST(Time.Month)"));
    date->day = ReplyInteger(engine->Doit(u"? LST(Time.Day)"));
    date->hour = ReplyInteger(engine->Doit(u"? LST(Time.Hour)"));
    date->minute = ReplyInteger(engine->Doit(u"? LST(Time.Minute)"));
    date->second = ReplyNumber(engine->Doit(u"? LST(Time.Second)"));
    date->zone = ReplyNumber(engine->Doit(u"? Time.Timezone"));
}
