// Costs of the satellites: one SGP4 step near the Earth, one deep-space
// step with the 12-hour resonance a month from the epoch (60 integration
// steps), and a whole sighting from Tokyo (two propagations and the frames).
#include <benchmark/benchmark.h>

#include "sky/satellite_sky.h"
#include "sky/sgp4.h"
#include "sky/tle.h"

namespace {

sgp4::Propagator FromLines(const char* line1, const char* line2) {
    tle::ElementSet set;
    std::string error;
    tle::Parse(line1, line2, &set, &error);
    return sgp4::Propagator(set.elements);
}

const char* const kIss[] = {
    "1 25544U 98067A   18020.89808844  .00002078  00000-0  38550-4 0  9992",
    "2 25544  51.6424  32.9776 0003646  28.7227  39.5332 15.54190080 95614"};
const char* const kMolniya[] = {
    "1 08195U 75081A   06176.33215444  .00000099  00000-0  11873-3 0   813",
    "2 08195  64.1586 279.0717 6877146 264.7651  20.2257  2.00491383225656"};

void BM_Sgp4NearEarth(benchmark::State& state) {
    const sgp4::Propagator p = FromLines(kIss[0], kIss[1]);
    double t = 1000.0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(p.At(t));
        t += 1e-3;
    }
}
BENCHMARK(BM_Sgp4NearEarth);

void BM_Sdp4ResonantMonth(benchmark::State& state) {
    const sgp4::Propagator p = FromLines(kMolniya[0], kMolniya[1]);
    for (auto _ : state) benchmark::DoNotOptimize(p.At(30.0 * 1440.0));
}
BENCHMARK(BM_Sdp4ResonantMonth);

void BM_SatelliteSighting(benchmark::State& state) {
    const sgp4::Propagator p = FromLines(kIss[0], kIss[1]);
    const astrometry::AstrometryContext context(2458139.0104167, {139.6917, 35.6895, 40.0});
    for (auto _ : state) benchmark::DoNotOptimize(satellite::Observe(p, context));
}
BENCHMARK(BM_SatelliteSighting);

}  // namespace
