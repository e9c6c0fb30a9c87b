// The star text's trace line; its texts are cases of tests/data/texts.cases.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "tests/text_fixture.h"

TEST(StarText, TraceGoesToDebugOutputOnlyWhenAskedFor) {
    const char* saved = std::getenv("VEXCLK_DEBUG");
    const std::string previous = saved ? saved : "";
    for (const auto& [value, trace] : {std::pair{"1", "star.Xno0\r\n"}, std::pair{"0", ""}}) {
        setenv("VEXCLK_DEBUG", value, 1);
        TextFixture s;
        testing::internal::CaptureStderr();
        s.Text(u"star.Xno0");
        EXPECT_EQ(testing::internal::GetCapturedStderr(), trace) << value;
    }
    saved ? setenv("VEXCLK_DEBUG", previous.c_str(), 1) : unsetenv("VEXCLK_DEBUG");
}
