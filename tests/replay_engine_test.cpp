#include "sky/replay_engine.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <climits>

#include "tests/test_support.h"

TEST(ReplayEngine, AnswersFromTheTranscriptIgnoringCase) {
    CReplayEngine engine;
    std::string error;
    ASSERT_TRUE(
        engine.LoadText("# a comment\n"
                        "\n"
                        "? Solar.Planet.Mars.Name\t火星\r\n"
                        "? Time.jd\t2461380.5\n"
                        "? Text\tone\\ttwo\\r\\nthree\\\\four\n"
                        "? Empty\t\n"
                        "? Time.jd\t2461381.5\n",
                        &error))
        << error;
    EXPECT_EQ(U8(engine.Doit(u"? solar.planet.mars.name")), "火星");
    EXPECT_EQ(U8(engine.Doit(u"? TEXT")), "one\ttwo\r\nthree\\four");
    EXPECT_TRUE(engine.Doit(u"? Empty").IsEmpty());
    EXPECT_TRUE(engine.Doit(u"? Not.There").IsEmpty());
    // A later line replaces an earlier one.
    EXPECT_EQ(U8(engine.Doit(u"? time.jd")), "2461381.5");
    ASSERT_EQ(engine.Commands().size(), 5u);
    EXPECT_EQ(U8(engine.Commands()[0]), "? solar.planet.mars.name");
}

TEST(ReplayEngine, RejectsMalformedTranscriptsWithTheLine) {
    const struct {
        std::string_view text;
        const char* message;
    } cases[] = {
        {"? ok\t1\n? no tab here\n", "text:2: no tab between command and reply"},
        {"? a\tbad \\q escape\n", "text:1: unknown escape \\q"},
        {"? a\tends in \\\n", "text:1: \\ at the end of the line"},
        {"? a\t\xff\xfe\n", "text:1: not UTF-8 text"},
        {"? a\t\\\xc3\xa9\n", "text:1: unknown escape \\\xc3\xa9"},  // the whole character
        {std::string_view("? a\tb\0c\n", 8), "text:1: a NUL character, not text"},
    };
    for (const auto& c : cases) {
        CReplayEngine engine;
        engine.SetReply(u"? kept", u"yes");
        std::string error;
        EXPECT_FALSE(engine.LoadText(c.text, &error)) << c.text;
        EXPECT_EQ(error, c.message);
        // A failed load changes nothing.
        EXPECT_EQ(U8(engine.Doit(u"? kept")), "yes");
        EXPECT_TRUE(engine.Doit(u"? ok").IsEmpty());
    }
}

TEST(ReplayEngine, GettersReadTheTableWithoutBeingRecorded) {
    CReplayEngine engine;
    // Defaults when the transcript is silent or says "*".
    EXPECT_DOUBLE_EQ(engine.GetJd(), 2451545.0);
    EXPECT_DOUBLE_EQ(engine.GetTz(), 9.0);
    EXPECT_DOUBLE_EQ(engine.GetLatitude(), 35.6895);
    EXPECT_DOUBLE_EQ(engine.GetLongitude(), 139.6917);
    EXPECT_DOUBLE_EQ(engine.GetHeight(), 40.0);
    EXPECT_EQ(engine.GetLocationObject(), 4);
    EXPECT_TRUE(engine.OnEarth());
    engine.SetReply(u"? Time.jd", u"*");
    EXPECT_DOUBLE_EQ(engine.GetJd(), 2451545.0);

    engine.SetReply(u"? time.JD", u"2460000.25");
    engine.SetReply(u"? Time.Timezone", u"-5");
    engine.SetReply(u"? Location.Longitude", u"-75");
    engine.SetReply(u"? Location.Object", u"3");
    EXPECT_DOUBLE_EQ(engine.GetJd(), 2460000.25);
    EXPECT_DOUBLE_EQ(engine.GetMJd(), 59999.75);
    EXPECT_DOUBLE_EQ(engine.GetLmtTz(), -5.0);
    EXPECT_FALSE(engine.OnEarth());
    // JD 2460000.25 is 2023-02-24 18:00 UT, 13:00 at UT-5.
    const tagADATE d = engine.GetDate();
    EXPECT_EQ(d.year, 2023);
    EXPECT_EQ(d.month, 2);
    EXPECT_EQ(d.day, 24);
    EXPECT_EQ(d.hour, 13);
    EXPECT_EQ(d.minute, 0);
    EXPECT_NEAR(d.second, 0.0, 1e-4);
    EXPECT_DOUBLE_EQ(d.zone, -5.0);
    EXPECT_TRUE(engine.Commands().empty());
}
