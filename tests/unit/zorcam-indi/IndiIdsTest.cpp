// Ids of INDI devices within the camera interface's 31 characters.
#include "zorcam-indi/IndiIds.h"

#include <gtest/gtest.h>

using zorcamindi::CameraId;

namespace {

TEST(IndiIds, LongNamesOfOneMakerKeepDistinctStableIdsWithinTheLimit) {
    const std::string prefix = "ZENITHWAND-INDI ";
    EXPECT_EQ(CameraId(prefix, "CCD Simulator", 31), "ZENITHWAND-INDI CCD Simulator");
    const std::string a = "Maker Model 2600MM Pro Cooled (1)";
    const std::string b = "Maker Model 2600MM Pro Cooled (2)";
    const std::string idA = CameraId(prefix, a, 31), idB = CameraId(prefix, b, 31);
    EXPECT_NE(idA, idB);
    EXPECT_EQ(idA, CameraId(prefix, a, 31));
    EXPECT_EQ(idA.size(), 31u);
    EXPECT_EQ(idA.substr(0, 24), (prefix + a).substr(0, 24));
    // Exactly at the limit: kept as it is.
    const std::string fits(31 - prefix.size(), 'x');
    EXPECT_EQ(CameraId(prefix, fits, 31), prefix + fits);
}

} // namespace
