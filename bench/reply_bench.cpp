// Costs of the module's hot paths: taking replies apart, and a palette
// refresh for an unchanged object (a cache hit).
#include <benchmark/benchmark.h>

#include "clickdata/click_data.h"
#include "engine/stkstr.h"
#include "settings/cdstatus.h"
#include "sky/command.h"
#include "sky/replay_engine.h"

static void BM_PropertySetDotted(benchmark::State& state) {
    const CString text(u"Solar.Planet.Jupiter.Satellite.Io");
    CLumProperty property;
    for (auto _ : state) {
        property.Set(text);
        benchmark::DoNotOptimize(property);
    }
}
BENCHMARK(BM_PropertySetDotted);

static void BM_PropertySetCallForm(benchmark::State& state) {
    const CString text(u"Equatorial(5.919529, 7.407064, \"ベテルギウス, α Ori\", (1, 2))");
    CLumProperty property;
    for (auto _ : state) {
        property.Set(text);
        benchmark::DoNotOptimize(property);
    }
}
BENCHMARK(BM_PropertySetCallForm);

static void BM_PropertySetNumberWithUnit(benchmark::State& state) {
    const CString text(u"12.5 RPM");
    CLumProperty property;
    for (auto _ : state) {
        property.Set(text);
        benchmark::DoNotOptimize(property.GetParam(0).DPS());
    }
}
BENCHMARK(BM_PropertySetNumberWithUnit);

static void BM_GetTextCacheHit(benchmark::State& state) {
    CReplayEngine engine;
    engine.SetReply(u"? time.jd", u"2461380.5");
    engine.SetReply(u"? time.timezone", u"9");
    engine.SetReply(u"? location", u"Tokyo(139.6917,35.6895,40)");
    engine.SetReply(u"? location.solar.x", u"0.1825");
    engine.SetReply(u"? location.solar.y", u"0.8912");
    engine.SetReply(u"? location.solar.z", u"0.3864");
    engine.SetReply(u"? Constellation.Ori.Name", u"オリオン座");
    engine.SetReply(u"? Constellation.Ori.Abbreviation", u"Ori");
    engine.SetRecording(false);
    CCdStatus status;
    CLumClickData data;
    data.SetStatus(&status);
    const CString object(u"Constellation.Ori");
    if (data.GetText(&engine, object, 0).IsEmpty()) state.SkipWithError("no text to cache");
    for (auto _ : state) {
        benchmark::DoNotOptimize(data.GetText(&engine, object, 0));
    }
}
BENCHMARK(BM_GetTextCacheHit);

// Splitting a command of many statements: the time grows with the length
// (goal: linear, a few milliseconds at the bound of one command).  Arg: the
// number of ";".
static void BM_SplitStatementsOfALongCommand(benchmark::State& state) {
    const CString command(u';', static_cast<int>(state.range(0)));
    for (auto _ : state) benchmark::DoNotOptimize(sky::SplitStatements(command));
    state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_SplitStatementsOfALongCommand)
    ->RangeMultiplier(4)
    ->Range(1024, sky::kMaxCommandLength)
    ->Complexity();
