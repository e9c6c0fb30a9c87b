#include "telescope/jnow.h"

#include <erfa.h>
#include <erfam.h>

#include <chrono>

namespace telescope {

EquatorialOfDate J2000ToJNow(double raDeg, double decDeg, double jdUtc) {
    // UTC -> TAI -> TT, keeping the date in two parts for ERFA.
    const double utc1 = ERFA_DJM0;  // 2400000.5: the rest is the modified Julian date
    const double utc2 = jdUtc - utc1;
    double tai1 = utc1, tai2 = utc2, tt1 = utc1, tt2 = utc2;
    if (eraUtctai(utc1, utc2, &tai1, &tai2) >= 0) eraTaitt(tai1, tai2, &tt1, &tt2);
    double ri = 0.0, di = 0.0, eo = 0.0;
    eraAtci13(raDeg * ERFA_DD2R, decDeg * ERFA_DD2R, 0.0, 0.0, 0.0, 0.0, tt1, tt2, &ri, &di, &eo);
    return {eraAnp(ri - eo) * ERFA_DR2D / 15.0, di * ERFA_DR2D};
}

double JdUtcNow() {
    const auto since = std::chrono::system_clock::now().time_since_epoch();
    const double seconds = std::chrono::duration<double>(since).count();
    return 2440587.5 + seconds / 86400.0;  // the Unix epoch's Julian date
}

}  // namespace telescope
