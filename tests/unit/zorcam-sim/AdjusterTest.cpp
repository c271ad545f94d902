#include "zorcam-sim/adjuster/GrblDevice.h"

#include <gtest/gtest.h>

using zorcamsim::AdjusterConfig;
using zorcamsim::GrblDevice;

TEST(AdjusterTest, EveryLineGetsItsReply) {
    struct Case {
        const char* line;
        const char* reply;
    } cases[] = {
        {"$J=G91 G21 X1.0 F100\n", "ok\r\n"},
        {"$J=G91 X-0.5 Y0.25 F10\n", "ok\r\n"},
        {"$J=G90 X1.0 F100\n", "error:20\r\n"}, // a word it does not know
        {"$J=X1.0 F100\n", "error:2\r\n"},      // absolute jogs are refused
        {"$J=G91 X1.0\n", "error:22\r\n"},      // no feed
        {"$J=G91 X1.0x F100\n", "error:20\r\n"},
        {"$J=G91 Q1 F100\n", "error:20\r\n"},
        {"$J=G91 X25 F100\n", "error:15\r\n"}, // past the travel limit
        {"$$\n", "ok\r\n"},
        {"\n", "ok\r\n"},
    };
    for (const Case& c : cases) {
        GrblDevice d(AdjusterConfig{}, nullptr);
        EXPECT_EQ(d.Feed(c.line), c.reply) << c.line;
    }
    GrblDevice d(AdjusterConfig{}, nullptr);
    EXPECT_EQ(d.Feed(std::string(1, 0x18)), "\r\nGrbl 1.1h ['$' for help]\r\n");
    AdjusterConfig alarm;
    alarm.alarm = true;
    GrblDevice a(alarm, nullptr);
    EXPECT_EQ(a.Feed("$J=G91 X1 F100\n"), "ALARM:1\r\n");
    EXPECT_EQ(a.Feed("?"), "<Alarm|MPos:0.000,0.000,0.000|FS:0,0>\r\n");
}

TEST(AdjusterTest, AJogMovesWithTheQueriesTurnsTheScrewsAfterTheSlackAndStopsOnCancel) {
    AdjusterConfig c;
    c.queriesPerJog = 4;
    c.alt = {'Y', -800, 0.05, 20};
    double alt = 0, az = 0;
    GrblDevice d(c, [&](double a, double z) {
        alt += a;
        az += z;
    });
    ASSERT_EQ(d.Feed("$J=G91 Y1.0 X0.5 F100\n"), "ok\r\n");
    EXPECT_EQ(d.Feed("?"), "<Jog|MPos:0.125,0.250,0.000|FS:100,0>\r\n");
    d.Feed("???");
    EXPECT_EQ(d.Feed("?"), "<Idle|MPos:0.500,1.000,0.000|FS:0,0>\r\n");
    EXPECT_DOUBLE_EQ(alt, -800.0);
    EXPECT_DOUBLE_EQ(az, 500.0);
    // Back the other way: the first 0.05 mm only take up the slack.
    alt = 0;
    ASSERT_EQ(d.Feed("$J=G91 Y-0.25 F100\n"), "ok\r\n");
    d.Feed("????");
    EXPECT_NEAR(alt, 0.2 * 800.0, 1e-9);
    // A cancel leaves the axis where it was.
    ASSERT_EQ(d.Feed("$J=G91 Y-2.0 F100\n"), "ok\r\n");
    d.Feed("?");
    d.Feed("\x85");
    EXPECT_EQ(d.Feed("?"), "<Idle|MPos:0.500,0.250,0.000|FS:0,0>\r\n");
    EXPECT_EQ(d.Cancels(), 1);
    // The travel limit counts from the start.
    EXPECT_EQ(d.Feed("$J=G91 Y19.9 F100\n"), "error:15\r\n");
}

TEST(AdjusterTest, RepliesAreLostWhenAskedAndNoneWhenSilent) {
    AdjusterConfig c;
    c.dropEvery = 3;
    GrblDevice d(c, nullptr);
    std::string all;
    for (int i = 0; i < 6; ++i)
        all += d.Feed("$J=G91 X0.1 F100\n");
    EXPECT_EQ(all, "ok\r\nok\r\nok\r\nok\r\n") << "two of six replies lost";
    EXPECT_EQ(d.Jogs(), 6) << "the jogs were taken all the same";
    c.silent = true;
    GrblDevice s(c, nullptr);
    EXPECT_EQ(s.Feed("$J=G91 X0.1 F100\n?"), "");
}
