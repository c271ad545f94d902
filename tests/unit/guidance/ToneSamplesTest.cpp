// The samples of the guidance tones.
#include "guidance/ToneSamples.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstdlib>

namespace {

std::vector<int> Samples(const QByteArray& pcm) {
    const auto* s = reinterpret_cast<const std::int16_t*>(pcm.constData());
    return std::vector<int>(s, s + pcm.size() / 2);
}

TEST(ToneSamples, ABeepHasItsLengthPitchAndLoudnessAndFadesAtBothEnds) {
    const int rate = 22050;
    const std::vector<int> s = Samples(ToneSamples({1000.0}, 100, rate, 0.5));
    ASSERT_EQ(s.size(), 2205u);
    EXPECT_EQ(s.front(), 0);
    EXPECT_LT(std::abs(s.back()), 400);
    int peak = 0, crossings = 0;
    for (size_t i = 1; i < s.size(); ++i) {
        peak = std::max(peak, std::abs(s[i]));
        if ((s[i - 1] < 0) != (s[i] < 0))
            ++crossings;
    }
    EXPECT_NEAR(peak, 16384, 50);
    EXPECT_NEAR(crossings, 200, 2); // 1000 Hz for 0.1 s: two crossings a period
}

TEST(ToneSamples, AChordNeverClipsAndNothingAskedGivesSilence) {
    const std::vector<int> chord = Samples(ToneSamples({1046.5, 1318.5, 1568.0}, 450, 22050, 1.0));
    for (int v : chord)
        ASSERT_LE(std::abs(v), 32767);
    const std::vector<int> none = Samples(ToneSamples({}, 50, 22050));
    EXPECT_EQ(none.size(), 1102u);
    for (int v : none)
        EXPECT_EQ(v, 0);
    EXPECT_TRUE(ToneSamples({440.0}, -5, 22050).isEmpty());
}

} // namespace
