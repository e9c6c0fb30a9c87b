// Costs of the solar system at one time and place: one planet's places
// (light time, deflection, aberration, the observer's frames) against the
// bare ERFA calls such a place needs with ERFA's own low-precision planet
// theory; everything a planet's text asks (places, physical data, hourly
// motion, rise/transit/set); and the same queries repeated at the same
// time, which must be lookups only.
#include <benchmark/benchmark.h>
#include <erfa.h>
#include <erfam.h>

#include "sky/solar_system.h"

namespace {

const astrometry::Observer kTokyo{139.6917, 35.6895, 40.0};
const astrometry::AstrometryContext& Context() {
    static const astrometry::AstrometryContext context(2461381.0, kTokyo, 69.2);
    return context;
}
const solar::BodyRef kMars = solar::BodyRef::Of(solar::Major::kMars);

void BM_PlanetPlace(benchmark::State& state) {
    for (auto _ : state) {
        solar::SolarSystem sky(Context());
        benchmark::DoNotOptimize(sky.Place(kMars).positions.horizon.altitude_deg);
    }
}
BENCHMARK(BM_PlanetPlace);

// The ERFA calls of one geocentric apparent place with eraPlan94 as the
// planet theory: three light-time rounds of eraPlan94 and eraEpv00, then
// deflection, aberration and the rotation to the CIRS.
void BM_PlanetPlaceBareErfa(benchmark::State& state) {
    const eraASTROM& astrom = Context().Geocentric();
    const double tt = Context().JdTt();
    for (auto _ : state) {
        double pv[2][3], pvh[2][3], pvb[2][3], p[3] = {0, 0, 0}, tau = 0.0;
        for (int i = 0; i < 3; ++i) {
            eraPlan94(tt - tau, 0.0, 4, pv);
            eraEpv00(tt - tau, 0.0, pvh, pvb);
            for (int k = 0; k < 3; ++k) p[k] = pv[0][k] + pvb[0][k] - pvh[0][k] - astrom.eb[k];
            tau = eraPm(p) * ERFA_AULT / ERFA_DAYSEC;
        }
        double u[3], q[3], e[3], v[3], bent[3], ab[3], cirs[3], bpn[3][3];
        eraPn(p, &tau, u);
        eraPn(pv[0], &tau, q);
        for (int k = 0; k < 3; ++k) {
            e[k] = astrom.eh[k];
            v[k] = astrom.v[k];
            for (int j = 0; j < 3; ++j) bpn[k][j] = astrom.bpn[k][j];
        }
        eraLd(1.0, u, q, e, astrom.em, 1e-6, bent);
        eraAb(bent, v, astrom.em, astrom.bm1, ab);
        eraRxp(bpn, ab, cirs);
        benchmark::DoNotOptimize(cirs[0]);
    }
}
BENCHMARK(BM_PlanetPlaceBareErfa);

// Everything a planet's text asks.
void AskForText(solar::SolarSystem& sky) {
    benchmark::DoNotOptimize(sky.Place(kMars).ok);
    benchmark::DoNotOptimize(sky.Physics(kMars).magnitude);
    benchmark::DoNotOptimize(sky.Motion(kMars).ra_deg_per_day);
    benchmark::DoNotOptimize(sky.Orbit(kMars).period_years);
    benchmark::DoNotOptimize(sky.Events(kMars, 9.0).ok);
}

// On a fresh solar system each round.
void BM_PlanetFullText(benchmark::State& state) {
    for (auto _ : state) {
        solar::SolarSystem sky(Context());
        AskForText(sky);
    }
}
BENCHMARK(BM_PlanetFullText);

// The same queries again at the same time: lookups in the caches.
void BM_PlanetFullTextRepeated(benchmark::State& state) {
    solar::SolarSystem sky(Context());
    AskForText(sky);
    for (auto _ : state) AskForText(sky);
}
BENCHMARK(BM_PlanetFullTextRepeated);

void BM_MoonPlace(benchmark::State& state) {
    for (auto _ : state) {
        solar::SolarSystem sky(Context());
        benchmark::DoNotOptimize(sky.Place(solar::BodyRef::Of(solar::Major::kMoon)).ok);
    }
}
BENCHMARK(BM_MoonPlace);

void BM_LocalSolarEclipse(benchmark::State& state) {
    // 2012-05-21, Tokyo: an annular eclipse, so the full contact search runs.
    const astrometry::AstrometryContext context(2456068.5, kTokyo, 66.6);
    for (auto _ : state) {
        solar::SolarSystem sky(context);
        benchmark::DoNotOptimize(sky.SolarEclipse(9.0).max_jd_ut);
    }
}
BENCHMARK(BM_LocalSolarEclipse);

}  // namespace
