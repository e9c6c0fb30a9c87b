// Writers of the comment file and of the settings store killed at random
// moments: the file on disk is always one whole version, old or new.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <functional>
#include <random>
#include <string>
#include <thread>

#include "cdf/cdf.h"
#include "host/registry.h"
#include "tests/test_support.h"

namespace {

using Clock = std::chrono::steady_clock;

// Runs save(v) for v = 0, 1 to learn both versions' bytes at `path`, then
// `trials` times forks a child saving the other version and kills it after
// a random delay, checking that the file is one version, whole.  The span
// of the delays follows the outcomes (longer after a kill that left the old
// version, shorter after one too late), so that the kills gather around the
// moment of the replacement whatever the machine's speed.  Returns how many
// trials left the new version.
int KillWritersAtRandom(const std::string& path, const std::function<void(int)>& save, int trials) {
    std::string versions[2];
    const auto start = Clock::now();
    for (int v : {0, 1}) {
        save(v);
        versions[v] = Slurp(path);
    }
    auto span = std::max<Clock::duration>(Clock::now() - start, std::chrono::microseconds(200));
    std::mt19937 random(21);
    int on = 1, completed = 0;
    for (int trial = 0; trial < trials; ++trial) {
        const pid_t pid = fork();
        if (pid == 0) {
            save(1 - on);
            _exit(0);
        }
        std::this_thread::sleep_for(span * (random() % 1000) / 1000);
        kill(pid, SIGKILL);
        waitpid(pid, nullptr, 0);
        const std::string now = Slurp(path);
        EXPECT_TRUE(now == versions[on] || now == versions[1 - on])
            << "trial " << trial << ": " << now.size() << " bytes";
        const bool replaced = now == versions[1 - on];
        span = span * (replaced ? 9 : 11) / 10;
        if (replaced) ++completed, on = 1 - on;
    }
    return completed;
}

// A long text, so that a save takes a while.
CString Filler(int version) {
    return CString::FromUtf8(std::string(16384, version ? 'b' : 'a'));
}

}  // namespace

TEST(CrashSafety, AKilledSaveLeavesTheOldOrTheNewCommentFile) {
    TempDir dir;
    const std::string path = dir.path() + "/lumvex.cdf";
    const int completed = KillWritersAtRandom(
        path,
        [&](int v) {
            CCdf cdf;
            cdf.SetComment(u"STAR αOri", Filler(v));
            cdf.SaveFile(CString::FromUtf8(path));
        },
        200);
    EXPECT_TRUE(completed > 0 && completed < 200) << completed;  // kills before and after
}

TEST(CrashSafety, AKilledSaveLeavesTheOldOrTheNewSettingsStore) {
    TempDir dir;
    ScopedEnv env("VEXCLK_REGISTRY", dir.path() + "/registry.json");
    const int completed = KillWritersAtRandom(
        dir.path() + "/registry.json",
        [](int v) {
            CRegistry::Batch batch;
            for (int i = 0; i < 50; ++i) {  // one replacement of many values
                CString name;
                name.Format(u"V%d", i);
                CRegistry::Write(u"ClickData", name, v * 1000 + i, 1);
            }
            CRegistry::Write(u"Test", u"Filler", Filler(v));
        },
        200);
    EXPECT_TRUE(completed > 0 && completed < 200) << completed;  // kills before and after
}
