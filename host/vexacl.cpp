#include "host/vexacl.h"

#include <erfa.h>

#include <cmath>

namespace vexacl {

double GetJd(const tagADATE& date) {
    double jd0 = 0.0, jd1 = 0.0;
    if (eraCal2jd(date.year, date.month, date.day, &jd0, &jd1) < 0) return 0.0;
    // eraCal2jd accepts day 0 or 32 but reports it (+3); the day count is
    // still exact, and callers step dates through that, so it is kept.
    const double day_fraction = (date.hour + date.minute / 60.0 + date.second / 3600.0) / 24.0;
    return jd0 + jd1 + day_fraction - date.zone / 24.0;
}

tagADATE JdToDate2(double jd) {
    tagADATE d;
    if (!std::isfinite(jd)) return d;
    int iy = 0, im = 0, id = 0;
    double fd = 0.0;
    // Split at the integer to keep the day fraction exact to ~1e-10 day.
    const double whole = std::floor(jd);
    if (eraJd2cal(whole, jd - whole, &iy, &im, &id, &fd) != 0) return d;
    double seconds = fd * 86400.0;
    if (seconds < 0.0) seconds = 0.0;
    if (seconds >= 86400.0) seconds = std::nextafter(86400.0, 0.0);
    d.year = iy;
    d.month = im;
    d.day = id;
    d.hour = static_cast<int>(seconds / 3600.0);
    seconds -= d.hour * 3600.0;
    d.minute = static_cast<int>(seconds / 60.0);
    d.second = seconds - d.minute * 60.0;
    d.zone = 0.0;
    return d;
}

}  // namespace vexacl
