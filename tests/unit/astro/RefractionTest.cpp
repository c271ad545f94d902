#include "astro/Refraction.h"

#include <gtest/gtest.h>

namespace {

TEST(CorrectRefractionTest, SubtractsBennettRefractionScaledForAir) {
    struct Case {
        double h, P, T, out;
    };
    const Case cases[] = {
        {39.9, 101, 10, 498.810989},
        {45, 101, 10, 499.005152},
        {0, 101, 10, 465.522466},
        {39.9, 101.3, 0, 498.763774},
        {39.9, 55, -273, 498.810989}, // 273 + T = 0: no pressure or
                                      // temperature factor
        {90, 101, 10, 500},           // the cotangent is negative there: no correction
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.h);
        double out = 0;
        EXPECT_EQ(CorrectRefraction(500, c.h, c.P, c.T, out), 1);
        EXPECT_NEAR(out, c.out, 5e-7);
    }
}

} // namespace
