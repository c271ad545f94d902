#include "camera/FrameWatch.h"

#include <gtest/gtest.h>

namespace {

using namespace std::chrono_literals;
using Clock = FrameWatch::Clock;

TEST(FrameWatchTest, LimitIsThreeExposuresOrTwoSecondsWhicheverIsLonger) {
    struct Case {
        double exposureUs;
        Clock::duration limit;
    };
    const Case cases[] = {
        {50'000, 2s},
        {666'667, 2'000'001us},
        {1'000'000, 3s},
        {60e6, 180s},
        {0, 2s},
        {-5, 2s},
        {1e300, std::chrono::seconds(10000000)},
    };
    for (const Case& c : cases)
        EXPECT_EQ(
            std::chrono::duration_cast<std::chrono::microseconds>(FrameWatch::Limit(c.exposureUs)),
            std::chrono::duration_cast<std::chrono::microseconds>(c.limit))
            << c.exposureUs;
}

TEST(FrameWatchTest, LostOnceAfterTheLimitAndBackWithTheNextFrame) {
    const Clock::time_point t0{};
    FrameWatch w;
    EXPECT_EQ(w.Check(t0 + 10s, 0, 50'000), FrameWatch::Change::None) << "not started";
    w.Start(t0, 7);

    struct Step {
        Clock::duration at;
        std::uint64_t frames;
        FrameWatch::Change expected;
    };
    using C = FrameWatch::Change;
    const Step steps[] = {
        {1900ms, 7, C::None}, // no frame yet, within 2 s of the start
        {2100ms, 8, C::None}, // a frame: the wait starts again
        {4000ms, 8, C::None}, // 1.9 s since that frame
        {4100ms, 8, C::Lost}, // 2 s since it
        {9000ms, 8, C::None}, // said once
        {9100ms, 9, C::Back}, // frames again
        {9200ms, 10, C::None}, {11300ms, 10, C::Lost},
    };
    for (const Step& s : steps)
        EXPECT_EQ(w.Check(t0 + s.at, s.frames, 50'000), s.expected)
            << std::chrono::duration_cast<std::chrono::milliseconds>(s.at).count() << " ms";

    w.Stop();
    EXPECT_FALSE(w.Lost());
    EXPECT_EQ(w.Check(t0 + 60s, 10, 50'000), FrameWatch::Change::None) << "stopped";
}

TEST(FrameWatchTest, LongExposuresWaitThreeExposures) {
    const Clock::time_point t0{};
    FrameWatch w;
    w.Start(t0);
    EXPECT_EQ(w.Check(t0 + 29s, 0, 10e6), FrameWatch::Change::None);
    EXPECT_EQ(w.Check(t0 + 30s, 0, 10e6), FrameWatch::Change::Lost);
}

} // namespace
