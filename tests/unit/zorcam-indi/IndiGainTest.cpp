// Gain presets as device gains, from the range the driver reports.
#include "zorcam-indi/IndiGain.h"

#include <gtest/gtest.h>

using zorcamindi::DeviceGain;
using zorcamindi::PresetForGain;

namespace {

TEST(IndiGain, PresetsAmplifyAlikeOnDecibelRangesAndTakeTheirShareOfSmallOnes) {
    struct Case {
        double min, max;
        double g50, g70, g90, g100;
    };
    const Case cases[] = {
        {0, 600, 60, 120, 180, 210},    // tenths of a decibel: +6, +12, +18, +21 dB
        {0, 100, 50, 70, 90, 100},      // a percentage
        {1, 16, 8.5, 11.5, 14.5, 16},   // a multiplier
        {100, 250, 160, 220, 250, 250}, // a short decibel range ends at its top
        {5, 5, 5, 5, 5, 5},             // no range at all
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.min << ".." << c.max);
        EXPECT_DOUBLE_EQ(DeviceGain(50, c.min, c.max), c.g50);
        EXPECT_DOUBLE_EQ(DeviceGain(70, c.min, c.max), c.g70);
        EXPECT_DOUBLE_EQ(DeviceGain(90, c.min, c.max), c.g90);
        EXPECT_DOUBLE_EQ(DeviceGain(100, c.min, c.max), c.g100);
    }
    // Decibel ranges: the same preset amplifies by the same factor on two cameras.
    EXPECT_DOUBLE_EQ(DeviceGain(70, 0, 600) - DeviceGain(50, 0, 600),
                     DeviceGain(70, 0, 400) - DeviceGain(50, 0, 400));
    EXPECT_DOUBLE_EQ(PresetForGain(DeviceGain(70, 0, 600), 0, 600), 70);
    EXPECT_DOUBLE_EQ(PresetForGain(DeviceGain(90, 0, 100), 0, 100), 90);
}

} // namespace
