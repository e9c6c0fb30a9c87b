// Costs of the sky chart's objects: one star's chart place, and every
// object of the chart at a new time (what the running clock asks once a
// second; the goal is well under 100 ms in a Release build, so that the
// window stays responsive).
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <memory>
#include <string>

#include "sky/sky_engine.h"

namespace {

const astrometry::Observer kTokyo{139.6917, 35.6895, 40.0};
const astrometry::CatalogStar kSirius{101.28715533, -16.71611586, -546.01, -1223.07, 379.21, -5.5};

std::shared_ptr<const CSkyCatalog> Catalog() {
    static const auto catalog = [] {
        auto c = std::make_shared<CSkyCatalog>();
        std::string error;
        if (!c->Load(CSkyCatalog::DefaultDataDir(), &error)) std::abort();
        return c;
    }();
    return catalog;
}

void BM_ChartPlace(benchmark::State& state) {
    const astrometry::AstrometryContext context(2461381.0, kTokyo);
    for (auto _ : state) {
        benchmark::DoNotOptimize(astrometry::ComputeChartPlace(kSirius, context));
    }
}
BENCHMARK(BM_ChartPlace);

void BM_ChartObjects(benchmark::State& state) {
    CSkyEngine sky(Catalog());
    double jd = 2461381.0;
    for (auto _ : state) {
        sky.SetJd(jd);
        benchmark::DoNotOptimize(sky.ChartObjects(7.0, 10.0));
        jd += 1.0 / 86400;
    }
}
BENCHMARK(BM_ChartObjects)->Unit(benchmark::kMillisecond);

}  // namespace
