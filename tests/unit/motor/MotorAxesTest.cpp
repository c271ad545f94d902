#include "motor/MotorAxes.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

QString Write(const QTemporaryDir& dir, const QByteArray& text) {
    const QString path = dir.filePath("ZenithWand.ini");
    QFile f(path);
    f.open(QIODevice::WriteOnly);
    f.write(text);
    return path;
}

} // namespace

TEST(MotorAxesTest, SettingsRoundTripAndOutOfRangeValuesReadAsDefaults) {
    QTemporaryDir dir;
    const QString path = Write(dir, "[MAIN]\nlanguage=EN\n");
    MotorSettings s;
    s.port = "/dev/ttyACM0";
    s.baud = 57600;
    s.feedMmPerMin = 42.5;
    s.alt = {'Z', 0.0025, -1, 30};
    s.az = {'A', 0.004, 1, 12.5};
    ASSERT_TRUE(SaveMotorSettings(path, s));
    const MotorSettings r = LoadMotorSettings(path);
    EXPECT_EQ(r.port, s.port);
    EXPECT_EQ(r.baud, 57600);
    EXPECT_DOUBLE_EQ(r.feedMmPerMin, 42.5);
    EXPECT_EQ(r.alt.letter, 'Z');
    EXPECT_DOUBLE_EQ(r.alt.mmPerArcsec, 0.0025);
    EXPECT_EQ(r.alt.sense, -1);
    EXPECT_DOUBLE_EQ(r.alt.backlashArcsec, 30);
    EXPECT_EQ(r.az.letter, 'A');
    EXPECT_DOUBLE_EQ(r.az.backlashArcsec, 12.5);
    QFile f(path);
    f.open(QIODevice::ReadOnly);
    EXPECT_TRUE(f.readAll().contains("language=EN")) << "other sections stay";

    const MotorSettings bad = LoadMotorSettings(
        Write(dir, "[MOTOR]\nbaud=12\nfeed=nan\naltAxis=XY\nazAxis=q\naltMmPerArcsec=-1\n"
                   "azMmPerArcsec=1e400\naltBacklash=-3\n"));
    const MotorSettings def;
    EXPECT_EQ(bad.baud, def.baud);
    EXPECT_DOUBLE_EQ(bad.feedMmPerMin, def.feedMmPerMin);
    EXPECT_EQ(bad.alt.letter, def.alt.letter);
    EXPECT_EQ(bad.az.letter, def.az.letter);
    EXPECT_DOUBLE_EQ(bad.alt.mmPerArcsec, def.alt.mmPerArcsec);
    EXPECT_DOUBLE_EQ(bad.az.mmPerArcsec, def.az.mmPerArcsec);
    EXPECT_DOUBLE_EQ(bad.alt.backlashArcsec, 0);

    const MotorSettings same = LoadMotorSettings(Write(dir, "[MOTOR]\naltAxis=X\nazAxis=X\n"));
    EXPECT_NE(same.alt.letter, same.az.letter) << "one letter cannot drive both screws";
}

TEST(MotorAxesTest, BacklashIsTakenUpOnlyWhenAnAxisReverses) {
    MotorSettings s;
    s.alt = {'Y', 0.001, 1, 20};
    s.az = {'X', 0.002, -1, 0};
    MotorMovePlanner p(s);
    struct Step {
        double alt, az;     // arcseconds asked
        double altMm, azMm; // travel expected
    } steps[] = {
        {100, 50, 0.100, -0.100},  // the first move: no sense known yet, no backlash
        {30, 0, 0.030, 0.0},       // same sense
        {-40, -10, -0.060, 0.020}, // altitude reverses: 40" + 20" of slack
        {-5, 10, -0.005, -0.020},  // azimuth reverses, but has no backlash
        {10, 0, 0.030, 0.0},       // altitude reverses again
    };
    for (const Step& st : steps) {
        const MotorMove mv = p.Plan(st.alt, st.az);
        EXPECT_NEAR(mv.altMm, st.altMm, 1e-12) << st.alt;
        EXPECT_NEAR(mv.azMm, st.azMm, 1e-12) << st.az;
    }
}

TEST(MotorAxesTest, CalibrationLearnsScaleAndSenseFromThePolesMove) {
    // A mount whose axis raises by 1" for every 0.003 mm of negative travel.
    const double trueMmPerArcsec = 0.003;
    for (const double mm : {0.3, -0.3, 0.9}) {
        const double raised = -mm / trueMmPerArcsec;
        const double before = 250.0;
        const double after = before - raised;
        const auto a = CalibrateMotorAxis(MotorAxis{}, mm, before, after);
        ASSERT_TRUE(a) << mm;
        EXPECT_NEAR(a->mmPerArcsec, trueMmPerArcsec, 1e-12);
        EXPECT_EQ(a->sense, -1);
        // The calibrated axis asked to raise 50" travels what raises 50".
        MotorSettings s;
        s.alt = *a;
        MotorMovePlanner p(s);
        EXPECT_NEAR(-p.Plan(50, 0).altMm / trueMmPerArcsec, 50, 1e-9);
    }
    EXPECT_FALSE(CalibrateMotorAxis(MotorAxis{}, 0.3, 100, 98)) << "under 5\": noise";
    EXPECT_FALSE(CalibrateMotorAxis(MotorAxis{}, 0.0, 100, 10));
    EXPECT_FALSE(CalibrateMotorAxis(MotorAxis{}, 0.3, 100, std::nan("")));
}
