#include "guidance/ScrewTurns.h"
#include "guidance/ScrewProfiles.h"

#include <QFile>
#include <QTemporaryDir>

#include <cmath>

#include <gtest/gtest.h>

// A mount of known screws: the calibration turn measured on it gives back the screw,
// and the turns it then advises bring the pole to the axis.
TEST(ScrewTurnsTest, ACalibrationTurnGivesTheScrewAndItsAdviceAligns) {
    struct Case {
        double raisePerTurn; // the true screw: arcseconds raised per clockwise turn
        double calibTurns;   // the calibration turn made
        double errorArcsec;  // the error then to correct
    } cases[] = {
        {600, 0.25, 450},  {600, 0.25, -450}, {-600, 0.25, 450}, // a screw that lowers clockwise
        {1800, -0.25, 90}, {240, 0.5, -1000}, {3600, 0.25, 12},
    };
    for (const Case& c : cases) {
        const double before = 700;
        const double after = before - c.raisePerTurn * c.calibTurns;
        const auto screw = CalibrateScrew(before, after, c.calibTurns);
        ASSERT_TRUE(screw) << c.raisePerTurn;
        EXPECT_NEAR(screw->arcsecPerTurn, c.raisePerTurn, 1e-9);
        const double turns = TurnsFor(*screw, c.errorArcsec);
        EXPECT_NEAR(c.errorArcsec - c.raisePerTurn * turns, 0, 1e-9) << c.raisePerTurn;
        // Rounded to eighths, what is left is at most a sixteenth of a turn.
        const ScrewTurn t = RoundTurn(turns);
        const double made = (t.clockwise ? 1 : -1) * t.eighths / 8.0;
        EXPECT_LE(std::abs(c.errorArcsec - c.raisePerTurn * made),
                  std::abs(c.raisePerTurn) / 16 + 1e-9);
    }
    EXPECT_FALSE(CalibrateScrew(100, 97, 0.25)) << "a move under 5\" is noise";
    EXPECT_FALSE(CalibrateScrew(100, 0, 0.0));
    EXPECT_FALSE(CalibrateScrew(100, std::nan(""), 0.25));
    EXPECT_EQ(TurnsFor(ScrewCalibration{}, 300), 0.0);
}

TEST(ScrewTurnsTest, TurnsReadAsAPersonSaysThem) {
    const ScrewTurnWords en = EnglishScrewTurnWords();
    struct Case {
        double turns;
        const char* text;
    } cases[] = {
        {0.5, "half a turn clockwise"},
        {-0.25, "a quarter turn counter-clockwise"},
        {0.13, "an eighth of a turn clockwise"},
        {0.74, "three quarters of a turn clockwise"},
        {-1.0, "one turn counter-clockwise"},
        {1.25, "1¼ turns clockwise"},
        {2.5, "2½ turns clockwise"},
        {-0.375, "⅜ turns counter-clockwise"},
        {3.0, "3 turns clockwise"},
        {0.04, ""}, // under a sixteenth: no turn
    };
    for (const Case& c : cases)
        EXPECT_EQ(ScrewTurnText(RoundTurn(c.turns), en), QString::fromUtf8(c.text)) << c.turns;
}

TEST(ScrewTurnsTest, AMoveThatDisagreesByMoreThanAThirdAsksForANewCalibration) {
    const ScrewCalibration screw{true, 600}; // a half turn should raise 300"
    struct Case {
        double moved;
        bool disagrees;
    } cases[] = {{300, false}, {210, false}, {399, false}, {190, true},
                 {410, true},  {-300, true}, {0, true}};
    for (const Case& c : cases)
        EXPECT_EQ(MoveDisagrees(screw, 0.5, 500, 500 - c.moved), c.disagrees) << c.moved;
    EXPECT_FALSE(MoveDisagrees(ScrewCalibration{}, 0.5, 500, 0)) << "nothing to compare with";
}

TEST(ScrewTurnsTest, ProfilesKeepSeveralMountsInTheSettingsFile) {
    QTemporaryDir dir;
    const QString path = dir.filePath("ZenithWand.ini");
    {
        QFile f(path);
        f.open(QIODevice::WriteOnly);
        f.write("[MAIN]\nlanguage=DE\n");
    }
    ScrewProfiles p;
    EXPECT_EQ(p.CurrentIfAny(), nullptr);
    p.Current().altitude = {true, 412.5};
    p.Named("Field mount").azimuth = {true, -388};
    p.current = "Field mount";
    ASSERT_TRUE(SaveScrewProfiles(path, p));

    const ScrewProfiles r = LoadScrewProfiles(path);
    ASSERT_EQ(r.profiles.size(), 2u);
    EXPECT_EQ(r.current, "Field mount");
    ASSERT_NE(r.CurrentIfAny(), nullptr);
    EXPECT_DOUBLE_EQ(r.CurrentIfAny()->azimuth.arcsecPerTurn, -388);
    EXPECT_FALSE(r.CurrentIfAny()->altitude.valid);
    EXPECT_EQ(r.profiles[0].name, "Mount 1");
    EXPECT_DOUBLE_EQ(r.profiles[0].altitude.arcsecPerTurn, 412.5);
    QFile f(path);
    f.open(QIODevice::ReadOnly);
    EXPECT_TRUE(f.readAll().contains("language=DE"));

    // Figures that are no calibration read as none.
    {
        QFile w(path);
        w.open(QIODevice::WriteOnly);
        w.write("[SCREWS]\ncount=3\ncurrent=a\nname1=a\nalt1=nan\naz1=1e9\nname2=\nname3=a\n");
    }
    const ScrewProfiles bad = LoadScrewProfiles(path);
    ASSERT_EQ(bad.profiles.size(), 1u);
    EXPECT_FALSE(bad.profiles[0].altitude.valid);
    EXPECT_FALSE(bad.profiles[0].azimuth.valid);
    EXPECT_EQ(bad.CurrentIfAny(), nullptr);
}

#include "guidance/ScrewCalibrationSession.h"
#include "support/ReadoutOf.h"

// The session on a mount of known screws, with a user whose first azimuth turn was too
// small to be told from the noise and who then turned once more.
TEST(ScrewTurnsTest, TheCalibrationSessionMeasuresBothScrews) {
    const double altPerTurn = -520, azPerTurn = 44; // raise / east per clockwise turn
    double alt = 800, az = -300;
    ScrewCalibrationSession s;
    EXPECT_FALSE(s.Start(AlignmentReadout{}));
    ASSERT_TRUE(s.Start(ReadoutOf(alt, az)));
    EXPECT_EQ(s.CurrentStage(), ScrewCalibrationSession::Stage::AltitudeTurn);
    alt -= altPerTurn * 0.25;
    EXPECT_EQ(s.Next(AlignmentReadout{}), ScrewCalibrationSession::NoReadout);
    EXPECT_EQ(s.Next(ReadoutOf(alt, az)), ScrewCalibrationSession::Taken);
    EXPECT_EQ(s.CurrentStage(), ScrewCalibrationSession::Stage::AzimuthTurn);
    az -= azPerTurn * 0.25; // 11": but the user's noise... it is taken only above 5"
    az += 7;                // the pole drifted back: 4" seen
    EXPECT_EQ(s.Next(ReadoutOf(alt, az)), ScrewCalibrationSession::TooSmall);
    az -= 7;
    az -= azPerTurn * 0.25; // a second quarter
    EXPECT_EQ(s.Next(ReadoutOf(alt, az)), ScrewCalibrationSession::Taken);
    EXPECT_EQ(s.CurrentStage(), ScrewCalibrationSession::Stage::Done);
    EXPECT_NEAR(s.Altitude().arcsecPerTurn, altPerTurn, 1e-9);
    EXPECT_NEAR(s.Azimuth().arcsecPerTurn, azPerTurn, 1e-9) << "two quarters counted";
}
