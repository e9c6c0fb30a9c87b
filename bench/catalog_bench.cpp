// Costs of the sky catalogues: loading every file of data/ (the goal is well
// under 200 ms in a Release build), a name search and a nearest-object search.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <string>

#include "sky/catalog.h"

namespace {

const CSkyCatalog& Loaded() {
    static const CSkyCatalog catalog = [] {
        CSkyCatalog c;
        std::string error;
        if (!c.Load(CSkyCatalog::DefaultDataDir(), &error)) std::abort();
        return c;
    }();
    return catalog;
}

}  // namespace

static void BM_CatalogLoad(benchmark::State& state) {
    const std::string dir = CSkyCatalog::DefaultDataDir();
    for (auto _ : state) {
        CSkyCatalog catalog;
        std::string error;
        if (!catalog.Load(dir, &error)) state.SkipWithError(error.c_str());
        benchmark::DoNotOptimize(catalog);
    }
}
BENCHMARK(BM_CatalogLoad)->Unit(benchmark::kMillisecond);

static void BM_CatalogFind(benchmark::State& state) {
    const CSkyCatalog& catalog = Loaded();
    const CString names[] = {u"Sirius", u"シリウス", u"α CMa", u"HD 48915", u"M 42", u"NGC 224"};
    size_t i = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(catalog.Find(names[i++ % 6]));
    }
}
BENCHMARK(BM_CatalogFind);

static void BM_CatalogNearest(benchmark::State& state) {
    const CSkyCatalog& catalog = Loaded();
    const double radius = static_cast<double>(state.range(0)) / 10.0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(catalog.Nearest(88.7929, 7.4071, radius, 10));
    }
}
BENCHMARK(BM_CatalogNearest)->Arg(5)->Arg(20)->Arg(100);

static void BM_CatalogConstellationAtB1875(benchmark::State& state) {
    const CSkyCatalog& catalog = Loaded();
    double ra = 0.0;
    for (auto _ : state) {
        ra = ra + 7.3 >= 360.0 ? ra + 7.3 - 360.0 : ra + 7.3;
        benchmark::DoNotOptimize(catalog.ConstellationAtB1875(ra, -33.0));
    }
}
BENCHMARK(BM_CatalogConstellationAtB1875);
