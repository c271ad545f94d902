// The developer stretch: levels, saturation, truncation, and the scale of two levels.

#include "display/Stretch.h"

#include <gtest/gtest.h>

#include <array>
#include <numeric>

namespace {

std::array<unsigned char, 256> AllValues() {
    std::array<unsigned char, 256> v;
    std::iota(v.begin(), v.end(), 0);
    return v;
}

// The expected output per input value, straight from the rule.
unsigned char Expected(int p, int black, double scale) {
    if (scale == 0.0)
        scale = 1.0;
    long long v = 0;
    if (p > black)
        v = static_cast<long long>((p - black) / scale);
    return static_cast<unsigned long long>(v) > 255 ? 255 : static_cast<unsigned char>(v);
}

TEST(Stretch, LevelsTable) {
    const struct {
        const char* name;
        int black, white;
    } cases[] = {
        {"black 0, white 255: unchanged", 0, 255},
        {"equal levels: scale 1", 100, 100},
        {"white below black: saturated", 200, 100},
        {"black 255: all zero", 255, 255},
        {"usual levels", 20, 180},
        {"narrow range", 10, 11},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const auto src = AllValues();
        std::array<unsigned char, 256> dst{};
        const double scale = StretchScale(c.black, c.white);
        EXPECT_EQ(StretchFrame(src.data(), dst.data(), 16, 16, c.black, scale), 256u);
        for (int p = 0; p < 256; ++p)
            ASSERT_EQ(int(dst[p]), int(Expected(p, c.black, scale))) << "p = " << p;
    }
}

TEST(Stretch, EdgeCasesByValue) {
    const auto src = AllValues();
    std::array<unsigned char, 256> dst{};

    StretchFrame(src.data(), dst.data(), 256, 1, 0, StretchScale(0, 255));
    EXPECT_EQ(dst, src); // identity

    StretchFrame(src.data(), dst.data(), 256, 1, 100, StretchScale(100, 100));
    EXPECT_EQ(dst[100], 0);
    EXPECT_EQ(dst[101], 1); // p - black
    EXPECT_EQ(dst[255], 155);

    StretchFrame(src.data(), dst.data(), 256, 1, 200, StretchScale(200, 100));
    EXPECT_EQ(dst[200], 0);
    EXPECT_EQ(dst[201], 255);
    EXPECT_EQ(dst[10], 0);

    StretchFrame(src.data(), dst.data(), 256, 1, 255, StretchScale(255, 255));
    for (unsigned char v : dst)
        ASSERT_EQ(v, 0);

    // Truncated, not rounded: black 0, white 254 maps 254 to 255 and 127 to 127.
    StretchFrame(src.data(), dst.data(), 256, 1, 0, StretchScale(0, 254));
    EXPECT_EQ(dst[127], 127);
    EXPECT_EQ(dst[254], 255);
}

TEST(Stretch, InPlaceOnAWholeFrame) {
    std::vector<unsigned char> frame(1280 * 960);
    for (std::size_t i = 0; i < frame.size(); ++i)
        frame[i] = static_cast<unsigned char>(i * 7);
    const std::vector<unsigned char> original = frame;
    EXPECT_EQ(StretchFrame(frame.data(), frame.data(), 1280, 960, 50, StretchScale(50, 150)),
              1228800u);
    for (std::size_t i = 0; i < frame.size(); i += 997)
        ASSERT_EQ(frame[i], Expected(original[i], 50, StretchScale(50, 150))) << i;
}

TEST(Stretch, ScaleOfTheLevels) {
    EXPECT_DOUBLE_EQ(StretchScale(0, 255), 1.0);
    EXPECT_DOUBLE_EQ(StretchScale(10, 10), 0.0);
    EXPECT_LT(StretchScale(200, 100), 0.0);
}

} // namespace
