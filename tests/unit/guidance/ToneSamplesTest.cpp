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

int Peak(const std::vector<int>& s) {
    int peak = 0;
    for (int v : s)
        peak = std::max(peak, std::abs(v));
    return peak;
}

// The loudest sample of a 1000 Hz beep is the volume's share of full scale (the samples
// come within a hundredth of the crest); volumes beyond 0..1 are held at the ends.
TEST(ToneSamples, TheLoudestSampleIsTheVolumesShareOfFullScale) {
    const struct {
        double volume;
        int peak;
    } cases[] = {{0.1, 3277}, {0.5, 16384}, {1.0, 32767}, {4.0, 32767}, {0.0, 0}, {-1.0, 0}};
    for (const auto& c : cases) {
        const int peak = Peak(Samples(ToneSamples({1000.0}, 100, 22050, c.volume)));
        EXPECT_LE(peak, c.peak) << c.volume;
        EXPECT_GE(peak, c.peak * 0.99) << c.volume;
    }
}

// A chord at full volume is twice the same chord at half volume, sample by sample: none
// of its samples is clipped or wrapped round.
TEST(ToneSamples, AChordNeverClipsAndNothingAskedGivesSilence) {
    const std::vector<double> chordHz = {1046.5, 1318.5, 1568.0};
    const std::vector<int> full = Samples(ToneSamples(chordHz, 450, 22050, 1.0));
    const std::vector<int> half = Samples(ToneSamples(chordHz, 450, 22050, 0.5));
    ASSERT_EQ(full.size(), half.size());
    for (size_t i = 0; i < full.size(); ++i)
        ASSERT_NEAR(full[i], 2 * half[i], 2) << "sample " << i;
    // These three notes crest together within the chord's length: near the volume's share.
    EXPECT_LE(Peak(half), 16384);
    EXPECT_GE(Peak(half), 16384 * 0.95);
    const std::vector<int> none = Samples(ToneSamples({}, 50, 22050));
    EXPECT_EQ(none.size(), 1102u);
    for (int v : none)
        EXPECT_EQ(v, 0);
    EXPECT_TRUE(ToneSamples({440.0}, -5, 22050).isEmpty());
}

} // namespace
