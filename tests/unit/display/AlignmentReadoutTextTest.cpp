#include "display/AlignmentReadoutText.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

TEST(AlignmentReadoutTextTest, ArcsecondsMinutesAndSigns) {
    struct Case {
        double arcsec;
        const char* plain;
        const char* sign;
    };
    const Case cases[] = {
        {0.4, "0″", "0″"},
        {-0.4, "0″", "0″"},
        {44.6, "45″", "+45″"},
        {-59.4, "59″", "−59″"},
        {59.6, "1′ 00″", "+1′ 00″"},
        {-83.4, "1′ 23″", "−1′ 23″"},
        {725, "12′ 05″", "+12′ 05″"},
        {NAN, "--", "--"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ArcText(c.arcsec), QString::fromUtf8(c.plain)) << c.arcsec;
        EXPECT_EQ(SignedArcText(c.arcsec), QString::fromUtf8(c.sign)) << c.arcsec;
    }
    EXPECT_EQ(PlateScaleText(30.52), QString::fromUtf8("30.5″/px"));
}

TEST(AlignmentReadoutTextTest, LinesSayWhichWayAndTakeTheBandColour) {
    const ReadoutWords words{"Error", "Altitude",  "Azimuth",   "raise",
                             "lower", "turn east", "turn west", "Scale"};
    AlignmentReadout r;
    EXPECT_TRUE(AlignmentReadoutHtml(r, words).isEmpty());

    r.valid = true;
    r.altArcsec = -45;
    r.azArcsec = 70;
    r.totalArcsec = std::hypot(r.altArcsec, r.azArcsec);
    r.band = AlignmentBand::Above;
    r.arcsecPerPixel = 30.49;
    const QString html = AlignmentReadoutHtml(r, words);
    EXPECT_TRUE(html.contains(BandColour(AlignmentBand::Above)));
    EXPECT_TRUE(html.contains(QString::fromUtf8("Error 1′ 23″")));
    EXPECT_TRUE(html.contains(QString::fromUtf8("Altitude −45″ ↓ lower")));
    EXPECT_TRUE(html.contains(QString::fromUtf8("Azimuth +1′ 10″ → turn east")));
    EXPECT_TRUE(html.contains(QString::fromUtf8("Scale 30.5″/px")));

    r.altArcsec = 0.2; // nothing to turn
    r.azArcsec = -3;
    r.band = AlignmentBand::Within30;
    const QString close = AlignmentReadoutHtml(r, words);
    EXPECT_TRUE(close.contains(QString::fromUtf8("Altitude 0″<br>")));
    EXPECT_TRUE(close.contains(QString::fromUtf8("Azimuth −3″ ← turn west")));
    EXPECT_TRUE(close.contains(BandColour(AlignmentBand::Within30)));
    EXPECT_NE(BandColour(AlignmentBand::Within30), BandColour(AlignmentBand::Within60));
}

} // namespace
