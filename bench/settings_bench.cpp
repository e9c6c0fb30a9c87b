// Costs of the settings store: the palette reloads its 29 settings at every
// refresh, so Load must stay cheap while always seeing other processes'
// writes; Save is rare (the settings dialog's OK).
#include <benchmark/benchmark.h>
#include <stdlib.h>
#include <unistd.h>

#include <filesystem>
#include <string>

#include "host/registry.h"
#include "settings/cdstatus.h"

namespace {

// A store of its own in a fresh temporary folder for one benchmark.
class BenchStore {
  public:
    BenchStore() {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "vexclk-bench-XXXXXX").string();
        if (mkdtemp(pattern.data())) m_folder = pattern;
        setenv("VEXCLK_REGISTRY", (m_folder + "/registry.json").c_str(), 1);
    }
    ~BenchStore() {
        std::error_code ignored;
        if (!m_folder.empty()) std::filesystem::remove_all(m_folder, ignored);
        unsetenv("VEXCLK_REGISTRY");
    }

  private:
    std::string m_folder;
};

// A store as a user has it: the 29 settings, the engine defaults and the
// palette's and thumbnail strip's own values.
void FillStore() {
    CCdStatus().Save();
    CRegistry::Write(u"ClickData", u"FontSize", 12, 1);
    CRegistry::Write(u"ClickData", u"ImageThumbConnectTimeout", 3000, 1);
    CRegistry::Write(u"Files", u"ClickData", CString(u"/home/user/星図/lumvex.cdf"));
}

void BM_LoadFreshStore(benchmark::State& state) {
    BenchStore store;
    CCdStatus status;
    for (auto _ : state) {
        status.Load();
        benchmark::DoNotOptimize(status);
    }
}
BENCHMARK(BM_LoadFreshStore);

void BM_LoadFullStore(benchmark::State& state) {
    BenchStore store;
    FillStore();
    CCdStatus status;
    for (auto _ : state) {
        status.Load();
        benchmark::DoNotOptimize(status);
    }
}
BENCHMARK(BM_LoadFullStore);

void BM_ReadOneValue(benchmark::State& state) {
    BenchStore store;
    FillStore();
    int value = 0;
    for (auto _ : state) {
        CRegistry::Read(u"ClickData", u"DispGal", 1, &value, 0);
        benchmark::DoNotOptimize(value);
    }
}
BENCHMARK(BM_ReadOneValue);

// Nothing changed: the store is read and compared, not rewritten.
void BM_SaveUnchanged(benchmark::State& state) {
    BenchStore store;
    FillStore();
    CCdStatus status;
    for (auto _ : state) status.Save();
}
BENCHMARK(BM_SaveUnchanged);

// One setting toggled per save: one replacement of the file, flushed to disk.
void BM_SaveChanged(benchmark::State& state) {
    BenchStore store;
    FillStore();
    CCdStatus status;
    for (auto _ : state) {
        status.DispGal = !status.DispGal;
        status.Save();
    }
}
BENCHMARK(BM_SaveChanged)->Unit(benchmark::kMillisecond);

void BM_WriteOneValueChanged(benchmark::State& state) {
    BenchStore store;
    FillStore();
    int value = 0;
    for (auto _ : state) CRegistry::Write(u"ClickData", u"AltSpan", ++value % 3, 1);
}
BENCHMARK(BM_WriteOneValueChanged)->Unit(benchmark::kMillisecond);

}  // namespace
