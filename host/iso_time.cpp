#include "host/iso_time.h"

#include <cctype>
#include <cmath>

#include "host/printable.h"
#include "host/vexacl.h"

namespace host {
namespace {

// Reads exactly `digits` decimal digits at *pos.
bool ReadDigits(const std::string& s, size_t* pos, int digits, int* value) {
    if (*pos + static_cast<size_t>(digits) > s.size()) return false;
    int v = 0;
    for (int i = 0; i < digits; ++i) {
        const char c = s[*pos + static_cast<size_t>(i)];
        if (!std::isdigit(static_cast<unsigned char>(c))) return false;
        v = v * 10 + (c - '0');
    }
    *pos += static_cast<size_t>(digits);
    *value = v;
    return true;
}

bool Expect(const std::string& s, size_t* pos, char c) {
    if (*pos < s.size() && s[*pos] == c) {
        ++*pos;
        return true;
    }
    return false;
}

int DaysInMonth(int year, int month) {
    static const int days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
    return month == 2 && leap ? 29 : days[month - 1];
}

}  // namespace

bool ParseIsoTime(const std::string& s, double default_zone_h, double* jd_ut, std::string* error) {
    auto fail = [&](const char* why) {
        *error = std::string("not an ISO 8601 time (") + why + "): " + Quoted(s);
        return false;
    };
    size_t pos = 0;
    int sign = 1;
    if (Expect(s, &pos, '-')) {
        sign = -1;
    } else {
        Expect(s, &pos, '+');
    }
    tagADATE d;
    int year = 0;
    size_t digits = pos;
    while (digits < s.size() && std::isdigit(static_cast<unsigned char>(s[digits]))) ++digits;
    // Told apart here, a year of five digits is not blamed on the month.
    if (digits - pos != 4 || !ReadDigits(s, &pos, 4, &year)) return fail("year, of four digits");
    d.year = sign * year;
    if (!Expect(s, &pos, '-') || !ReadDigits(s, &pos, 2, &d.month) || d.month < 1 || d.month > 12) {
        return fail("month");
    }
    if (!Expect(s, &pos, '-') || !ReadDigits(s, &pos, 2, &d.day) || d.day < 1 ||
        d.day > DaysInMonth(d.year, d.month)) {
        return fail("day");
    }
    if (pos < s.size() && (s[pos] == 'T' || s[pos] == 't' || s[pos] == ' ')) {
        ++pos;
        if (!ReadDigits(s, &pos, 2, &d.hour) || d.hour > 24) return fail("hour");
        if (!Expect(s, &pos, ':') || !ReadDigits(s, &pos, 2, &d.minute) || d.minute > 59) {
            return fail("minute");
        }
        if (Expect(s, &pos, ':')) {
            int whole = 0;
            if (!ReadDigits(s, &pos, 2, &whole) || whole > 60) return fail("second");
            double fraction = 0.0, scale = 0.1;
            if (Expect(s, &pos, '.') || Expect(s, &pos, ',')) {
                if (pos >= s.size() || !std::isdigit(static_cast<unsigned char>(s[pos]))) {
                    return fail("second");
                }
                while (pos < s.size() && std::isdigit(static_cast<unsigned char>(s[pos]))) {
                    fraction += (s[pos++] - '0') * scale;
                    scale /= 10.0;
                }
            }
            d.second = whole + fraction;
        }
        if (d.hour == 24 && (d.minute != 0 || d.second != 0.0)) return fail("hour");
    }
    d.zone = default_zone_h;
    if (pos < s.size()) {
        if (s[pos] == 'Z' || s[pos] == 'z') {
            ++pos;
            d.zone = 0.0;
        } else if (s[pos] == '+' || s[pos] == '-') {
            const int zone_sign = s[pos++] == '-' ? -1 : 1;
            int hours = 0, minutes = 0;
            if (!ReadDigits(s, &pos, 2, &hours) || hours > 14) return fail("zone");
            Expect(s, &pos, ':');
            if (pos < s.size() && !ReadDigits(s, &pos, 2, &minutes)) return fail("zone");
            if (minutes > 59) return fail("zone");
            d.zone = zone_sign * (hours + minutes / 60.0);
        }
    }
    if (pos != s.size()) return fail("unexpected text at the end");
    const double jd = vexacl::GetJd(d);
    if (jd == 0.0 || !std::isfinite(jd)) return fail("outside the calendar");
    *jd_ut = jd;
    return true;
}

}  // namespace host
