#include "host/coord_format.h"

#include <algorithm>
#include <cmath>
#include <string>

namespace {

constexpr char16_t kDegree = u'\uFF9F';  // half-width "ﾟ"

int Level(int precision) {
    return std::clamp(std::abs(precision), 1, 4);
}

long long Pow10(int n) {
    long long p = 1;
    while (n-- > 0) p *= 10;
    return p;
}

// Rounds x >= 0 to a whole number of units, half away from zero.  Values
// that a decimal tie leaves a few ulps short of the half (59.95 s times 10 is
// 599.4999999999999) count as the tie, as a reader of the decimal would.
long long RoundUnits(double x) {
    const double tolerance = std::max(1e-9, x * 1e-13);
    return static_cast<long long>(std::floor(x + 0.5 + tolerance));
}

// Reduces `value` to 0 <= v < turn.
double Reduce(double value, double turn) {
    double v = std::fmod(value, turn);
    if (v < 0.0) v += turn;
    return v;  // may equal `turn` for a tiny negative value; the caller wraps
}

// The placeholder of a form: its text for 0 with digits replaced by "-" and
// a leading sign by a blank, hence of the same width.
CString Placeholder(CString zero) {
    for (int i = 0; i < zero.GetLength(); ++i) {
        const char16_t c = zero[i];
        if (c >= u'0' && c <= u'9') zero.SetAt(i, u'-');
        if (i == 0 && (c == u'+' || c == u'-')) zero.SetAt(i, u' ');
    }
    return zero;
}

// Decimal places of the decimal-degree forms by level (index 1..4).  The
// widths keep the column rules of the sexagesimal forms: an angle grows by
// 2, then 1 character; right ascension by 1, 1 and is one wider than a
// longitude at levels 1 and 2.
constexpr int kAngleDegDecimals[5] = {0, 2, 4, 6, 7};
constexpr int kRaDegDecimals[5] = {0, 3, 5, 6, 7};

// Appends `value` >= 0 in decimal with at least `width` digits, zeros in
// front (printf's "%0*lld"): the forms below are digits and fixed marks
// only, and are printed for every coordinate of a text.
void AppendDigits(std::u16string& out, long long value, int width) {
    char16_t digits[24];
    int n = 0;
    do {
        digits[n++] = static_cast<char16_t>(u'0' + value % 10);
        value /= 10;
    } while (value > 0);
    for (int k = n; k < width; ++k) out += u'0';
    while (n > 0) out += digits[--n];
}

// Right ascension of a level from `hours`, already known to be finite.
CString FormatRa(double hours, int level) {
    std::u16string out;
    if (level == 1) {
        // Tenths of a minute of time.
        constexpr long long kPerHour = 600;
        const long long u =
            RoundUnits(Reduce(hours, 24.0) * static_cast<double>(kPerHour)) % (24 * kPerHour);
        AppendDigits(out, u / kPerHour, 2);
        out += u'h';
        AppendDigits(out, u % kPerHour / 10, 2);
        out += u'.';
        AppendDigits(out, u % 10, 1);
        out += u'm';
        return CString(std::move(out));
    }
    const int decimals = level - 1;  // of the seconds of time: 1, 2, 3
    const long long per_second = Pow10(decimals);
    const long long per_hour = 3600 * per_second;
    const long long u =
        RoundUnits(Reduce(hours, 24.0) * static_cast<double>(per_hour)) % (24 * per_hour);
    const long long seconds = u / per_second;
    AppendDigits(out, seconds / 3600, 2);
    out += u'h';
    AppendDigits(out, seconds / 60 % 60, 2);
    out += u'm';
    AppendDigits(out, seconds % 60, 2);
    out += u'.';
    AppendDigits(out, u % per_second, decimals);
    out += u's';
    return CString(std::move(out));
}

// Sexagesimal angle |degrees| with `integer_digits` digits of degrees,
// preceded by `sign` when it is not 0.  `degrees` is finite and not huge.
CString FormatDms(double degrees, int level, char16_t sign, int integer_digits, long long wrap) {
    std::u16string out;
    if (sign) out += sign;
    const double a = std::fabs(degrees);
    if (level == 1) {
        constexpr long long kPerDegree = 60;  // minutes of arc
        long long u = RoundUnits(a * kPerDegree);
        if (wrap > 0) u %= wrap * kPerDegree;
        AppendDigits(out, u / kPerDegree, integer_digits);
        out += kDegree;
        AppendDigits(out, u % kPerDegree, 2);
        out += u'\'';
        return CString(std::move(out));
    }
    const int decimals = level - 2;  // of the seconds of arc: 0, 1, 2
    const long long per_second = Pow10(decimals);
    const long long per_degree = 3600 * per_second;
    long long u = RoundUnits(a * static_cast<double>(per_degree));
    if (wrap > 0) u %= wrap * per_degree;
    const long long seconds = u / per_second;
    AppendDigits(out, seconds / 3600, integer_digits);
    out += kDegree;
    AppendDigits(out, seconds / 60 % 60, 2);
    out += u'\'';
    AppendDigits(out, seconds % 60, 2);
    if (decimals > 0) {
        out += u'.';
        AppendDigits(out, u % per_second, decimals);
    }
    out += u'"';
    return CString(std::move(out));
}

// Decimal degrees |degrees| with `decimals` places and `integer_digits`
// digits before the point, preceded by `sign` when it is not 0.
CString FormatDecimal(double degrees, int decimals, char16_t sign, int integer_digits,
                      long long wrap) {
    const long long per_degree = Pow10(decimals);
    long long u = RoundUnits(std::fabs(degrees) * static_cast<double>(per_degree));
    if (wrap > 0) u %= wrap * per_degree;
    std::u16string out;
    if (sign) out += sign;
    AppendDigits(out, u / per_degree, integer_digits);
    out += u'.';
    AppendDigits(out, u % per_degree, decimals);
    out += kDegree;
    return CString(std::move(out));
}

// A latitude beyond this many degrees cannot be a coordinate and would not
// fit the integer arithmetic at the finest level; it prints as missing.
constexpr double kLatitudeLimit = 1e6;

bool Missing(double value, int precision) {
    return precision < 0 || !std::isfinite(value);
}

}  // namespace

CString CCommonCoordFormat::CoordFormatRA(double hours, int precision) {
    const int level = Level(precision);
    if (Missing(hours, precision)) return Placeholder(FormatRa(0.0, level));
    return FormatRa(hours, level);
}

CString CCommonCoordFormat::CoordFormatRADeg(double hours, int precision) {
    const int level = Level(precision);
    const int decimals = kRaDegDecimals[level];
    if (Missing(hours, precision)) return Placeholder(FormatDecimal(0.0, decimals, 0, 3, 360));
    // Reduce in hours first: the product with 15 of a huge value loses the
    // fraction, its remainder does not.
    return FormatDecimal(Reduce(hours, 24.0) * 15.0, decimals, 0, 3, 360);
}

CString CCommonCoordFormat::CoordFormatLatitude(double degrees, int precision) {
    const int level = Level(precision);
    if (Missing(degrees, precision) || std::fabs(degrees) > kLatitudeLimit) {
        return Placeholder(FormatDms(0.0, level, u'+', 2, 0));
    }
    return FormatDms(degrees, level, degrees < 0.0 ? u'-' : u'+', 2, 0);
}

CString CCommonCoordFormat::CoordFormatLatitudeDeg(double degrees, int precision) {
    const int level = Level(precision);
    const int decimals = kAngleDegDecimals[level];
    if (Missing(degrees, precision) || std::fabs(degrees) > kLatitudeLimit) {
        return Placeholder(FormatDecimal(0.0, decimals, u'+', 2, 0));
    }
    return FormatDecimal(degrees, decimals, degrees < 0.0 ? u'-' : u'+', 2, 0);
}

CString CCommonCoordFormat::CoordFormatLongitude(double degrees, int precision) {
    const int level = Level(precision);
    if (Missing(degrees, precision)) return Placeholder(FormatDms(0.0, level, 0, 3, 360));
    return FormatDms(Reduce(degrees, 360.0), level, 0, 3, 360);
}

CString CCommonCoordFormat::CoordFormatLongitudeDeg(double degrees, int precision) {
    const int level = Level(precision);
    const int decimals = kAngleDegDecimals[level];
    if (Missing(degrees, precision)) return Placeholder(FormatDecimal(0.0, decimals, 0, 3, 360));
    return FormatDecimal(Reduce(degrees, 360.0), decimals, 0, 3, 360);
}
