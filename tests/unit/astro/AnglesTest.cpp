// Degrees folded into one turn and the median of a list.
#include "astro/Angles.h"
#include "astro/Median.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace {

TEST(DegreesInTurn, EveryDirectionLandsInZeroTo360) {
    const struct {
        double in;
        double out;
    } cases[] = {{0.0, 0.0},
                 {-30.0, 330.0},
                 {360.0, 0.0},
                 {720.5, 0.5},
                 {-719.75, 0.25},
                 {359.999, 359.999},
                 // a hair below zero: 360 after rounding, which is the direction 0
                 {-1e-15, 0.0}};
    for (const auto& c : cases) {
        const double got = DegreesInTurn(c.in);
        EXPECT_NEAR(got, c.out, 1e-9) << c.in;
        EXPECT_GE(got, 0.0) << c.in;
        EXPECT_LT(got, 360.0) << c.in;
    }
    EXPECT_TRUE(std::isnan(DegreesInTurn(std::numeric_limits<double>::quiet_NaN())));
    EXPECT_TRUE(std::isnan(DegreesInTurn(std::numeric_limits<double>::infinity())));
}

TEST(MedianOf, MiddleValueOrMeanOfTheTwoMiddleOnes) {
    const struct {
        std::vector<double> values;
        double median;
    } cases[] = {{{5.0}, 5.0},
                 {{3.0, 1.0, 2.0}, 2.0},
                 {{10.0, 1.0, 3.0, 2.0}, 2.5},
                 {{-4.0, 7.0, 7.0, -4.0, 7.0, 100.0}, 7.0}};
    for (auto c : cases)
        EXPECT_EQ(MedianOf(c.values), c.median);
    std::vector<double> none;
    EXPECT_TRUE(std::isnan(MedianOf(none)));
}

} // namespace
