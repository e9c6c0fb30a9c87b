// Costs of the sky engine's position computations: the per-refresh context,
// one star's full set of positions, and its rise/transit/set search.
#include <benchmark/benchmark.h>

#include "sky/astrometry.h"

namespace {

const astrometry::Observer kTokyo{139.6917, 35.6895, 40.0};
const astrometry::CatalogStar kSirius{101.28715533, -16.71611586, -546.01, -1223.07, 379.21, -5.5};

void BM_AstrometryContext(benchmark::State& state) {
    double jd = 2461381.0;
    for (auto _ : state) {
        astrometry::AstrometryContext context(jd, kTokyo);
        benchmark::DoNotOptimize(context.EquationOfOrigins());
        jd += 1e-6;  // a new time every round, as a running clock gives
    }
}
BENCHMARK(BM_AstrometryContext);

void BM_StarPositions(benchmark::State& state) {
    const astrometry::AstrometryContext context(2461381.0, kTokyo);
    for (auto _ : state) {
        benchmark::DoNotOptimize(astrometry::ComputeStarPositions(kSirius, context));
    }
}
BENCHMARK(BM_StarPositions);

void BM_StarRiseTransitSet(benchmark::State& state) {
    const astrometry::AstrometryContext context(2461381.0, kTokyo);
    for (auto _ : state) {
        benchmark::DoNotOptimize(astrometry::StarRiseTransitSet(kSirius, context, 9.0));
    }
}
BENCHMARK(BM_StarRiseTransitSet);

}  // namespace
