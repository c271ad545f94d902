#include "astro/MaskPole.h"
#include "astro/PoleCoor.h"
#include "unit/astro/LogCapture.h"

#include <QRegularExpression>

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

namespace {

constexpr double kNan = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();

// Log texts carry the pole with two decimals: each number is within half a hundredth
// of the pole (and a hair more for its binary representation). The north 2024 pole,
// y = 325.54499..., lies on the rounding edge, so the text is not compared as such.
void ExpectCalculatedLine(const LogLine& line, double x, double y) {
    EXPECT_EQ(line.level, "Info");
    const QRegularExpression re(R"(^calculated P\[(-?\d+\.\d\d),(-?\d+\.\d\d)\]$)");
    const QRegularExpressionMatch m = re.match(line.text);
    ASSERT_TRUE(m.hasMatch()) << line.text.toStdString();
    EXPECT_NEAR(m.captured(1).toDouble(), x, 0.005 + 1e-9);
    EXPECT_NEAR(m.captured(2).toDouble(), y, 0.005 + 1e-9);
}

TEST(TemplatePoleTest, PoleOfEachHemisphereAndYear) {
    struct Case {
        const char* hemisphere;
        QDate date;
        double x, y, distanceFromB;
    };
    const Case cases[] = {
        {"N", QDate(2016, 5, 23), 393.71, 321.58, 78.67},
        {"N", QDate(2024, 5, 23), 397.22, 325.545, 74.51}, // y shown as 325.55 or 325.54
        {"S", QDate(2016, 5, 23), 283.04, 396.16, 131.07},
        {"S", QDate(2024, 5, 23), 281.46, 401.20, 134.80},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.hemisphere) + " " + c.date.toString(Qt::ISODate).toStdString());
        LogCapture log;
        STARDATA record = StarDataStartValues(c.hemisphere);
        LoadStarData(c.hemisphere, record, c.date);
        log.Clear();

        EXPECT_EQ(CalcTemplatePole(c.hemisphere, record), 1);
        EXPECT_NEAR(record.poleX, c.x, 0.005);
        EXPECT_NEAR(record.poleY, c.y, 0.005);
        EXPECT_NEAR(std::hypot(record.poleX - record.bX, record.poleY - record.bY), c.distanceFromB,
                    0.005);
        const auto lines = log.Lines();
        ASSERT_EQ(lines.size(), 1u);
        ExpectCalculatedLine(lines[0], record.poleX, record.poleY);
    }
}

TEST(TemplatePoleTest, FailuresLeaveThePoleAtTheOrigin) {
    struct Case {
        const char* name;
        const char* hemisphere;
        double aX, bap, abp;
        const char* reason; // nullptr: nothing but the hemisphere's line
    };
    const Case cases[] = {
        {"no triangle", "N", 445, 100, 80, "invalid points, can not calculate pole."},
        {"A above B", "S", 400, 12, 5, "invalid points, can not calculate pole."},
        {"non-numeric angle", "N", 445, kNan, 18, nullptr},
        {"infinite position", "S", kInf, 12, 5, nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        LogCapture log;
        STARDATA record = StarDataStartValues(c.hemisphere);
        record.aX = c.aX;
        record.bap = c.bap;
        record.abp = c.abp;
        EXPECT_EQ(CalcTemplatePole(c.hemisphere, record), -1);
        EXPECT_EQ(record.poleX, 0);
        EXPECT_EQ(record.poleY, 0);

        const auto lines = log.Lines();
        ASSERT_EQ(lines.size(), c.reason ? 2u : 1u);
        if (c.reason) {
            EXPECT_EQ(lines[0].text, c.reason);
        }
        EXPECT_EQ(lines.back().level, "Error");
        EXPECT_EQ(lines.back().text, std::string(c.hemisphere) == "S"
                                         ? "Failed to calculate the south pole."
                                         : "Failed to calculate the north pole.");
    }
}

TEST(PickPoleCandidateTest, NearerAngleToDWinsAndATieTakesTheSecond) {
    // B at the origin, D on the x axis: the angle at B is the candidate's elevation.
    struct Case {
        double x1, y1, x2, y2, dbp, x, y;
    };
    const Case cases[] = {
        {5, 5, 5, -5, 45, 5, -5}, // both 45 degrees: the second
        {5, 5, 0, 5, 45, 5, 5},   // 45 against 90
        {5, 5, 0, 5, 80, 0, 5},   // 45 against 90, nearer 80
        {-5, 0.1, 5, 0.1, 170, -5, 0.1},
    };
    for (const Case& c : cases) {
        double x = 0, y = 0;
        PickPoleCandidate(c.x1, c.y1, c.x2, c.y2, 10, 0, 0, 0, c.dbp, x, y);
        EXPECT_EQ(x, c.x);
        EXPECT_EQ(y, c.y);
    }
}

TEST(CalcPoleCOORTest, CandidateNearerTheReferenceWins) {
    struct Case {
        double refX, refY, x, y;
    };
    const Case cases[] = {
        {400, 320, 393.71, 321.58},
        {440, 335, 442.11, 333.54},
    };
    for (const Case& c : cases) {
        LogCapture log;
        double x = -1, y = -1;
        EXPECT_EQ(CalcPoleCOOR(445, 218, 12.4543449046107, 400, 400, 18.4713634052194, x, y, c.refX,
                               c.refY),
                  1);
        EXPECT_NEAR(x, c.x, 0.005);
        EXPECT_NEAR(y, c.y, 0.005);
        EXPECT_TRUE(log.Lines().empty());
    }
}

// A pole far from the axis: the template's triangle turned and moved into the frame,
// and the axis placed between the pole and its mirror image across A-B, nearer the
// mirror. The nearer-candidate rule alone takes the mirror there; the template's side
// of A-B must win.
TEST(CalcPoleCOORTest, PoleFarFromTheAxisStaysOnTheTemplatesSide) {
    struct Case {
        const char* hemisphere;
        double turnDeg;
        double axisFromPole; // px, toward the mirror solution
    };
    const Case cases[] = {
        {"N", 0, 70}, {"N", 137, 90}, {"N", -65, 150},  {"N", 250, 400},
        {"S", 0, 70}, {"S", 48, 120}, {"S", -170, 200}, {"S", 305, 400},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.hemisphere) + " turned " + std::to_string(c.turnDeg));
        STARDATA t{};
        LoadStarData(c.hemisphere, t, QDate(2024, 5, 23));
        ASSERT_EQ(CalcTemplatePole(c.hemisphere, t), 1);
        const int side = PoleSideOf(t.aX, t.aY, t.bX, t.bY, t.poleX, t.poleY);
        ASSERT_NE(side, 0);

        const double r = c.turnDeg * M_PI / 180;
        auto place = [&](double x, double y, double& ox, double& oy) {
            ox = 640 + std::cos(r) * (x - t.bX) - std::sin(r) * (y - t.bY);
            oy = 480 + std::sin(r) * (x - t.bX) + std::cos(r) * (y - t.bY);
        };
        double ax, ay, bx, by, px, py;
        place(t.aX, t.aY, ax, ay);
        place(t.bX, t.bY, bx, by);
        place(t.poleX, t.poleY, px, py);
        // The mirror image of P across the line A-B.
        const double ux = (bx - ax) / std::hypot(bx - ax, by - ay);
        const double uy = (by - ay) / std::hypot(bx - ax, by - ay);
        const double along = (px - ax) * ux + (py - ay) * uy;
        const double mx = 2 * (ax + along * ux) - px;
        const double my = 2 * (ay + along * uy) - py;
        const double toMirror = std::hypot(mx - px, my - py);
        const double axisX = px + (mx - px) / toMirror * c.axisFromPole;
        const double axisY = py + (my - py) / toMirror * c.axisFromPole;

        double x = 0, y = 0;
        ASSERT_EQ(CalcPoleCOOR(ax, ay, t.bap, bx, by, t.abp, x, y, axisX, axisY, side), 1);
        EXPECT_NEAR(x, px, 1e-6);
        EXPECT_NEAR(y, py, 1e-6);

        // Where the axis is nearer the mirror, the nearer rule alone is fooled.
        if (c.axisFromPole > toMirror / 2) {
            ASSERT_EQ(CalcPoleCOOR(ax, ay, t.bap, bx, by, t.abp, x, y, axisX, axisY), 1);
            EXPECT_NEAR(x, mx, 1e-6);
            EXPECT_NEAR(y, my, 1e-6);
        }
    }
}

TEST(CalcPoleCOORTest, UnknownSideFallsBackToTheNearerCandidate) {
    double x = 0, y = 0;
    ASSERT_EQ(CalcPoleCOOR(0, 0, 45, 10, 0, 45, x, y, 5, 4, 0), 1);
    EXPECT_NEAR(y, 5, 1e-12);
    ASSERT_EQ(CalcPoleCOOR(0, 0, 45, 10, 0, 45, x, y, 5, 4, -1), 1);
    EXPECT_NEAR(y, -5, 1e-12) << "the side wins over the nearer candidate";
    EXPECT_EQ(PoleSideOf(0, 0, 10, 0, 5, 0), 0);
    EXPECT_EQ(PoleSideOf(0, 0, 0, 0, 5, 1), 0);
    EXPECT_EQ(PoleSideOf(0, 0, 10, 0, 5, 1), 1);
}

TEST(CalcPoleCOORTest, EqualDistancesTakeTheCandidateWithTheSmallerY) {
    // A and B on one row: the two candidates are exact mirror images across it.
    double x = 0, y = 0;
    ASSERT_EQ(CalcPoleCOOR(0, 0, 45, 10, 0, 45, x, y, 5, 0), 1);
    EXPECT_NEAR(x, 5, 1e-12);
    EXPECT_NEAR(y, -5, 1e-12);
}

TEST(CalcPoleCOORTest, FailuresWriteTheOrigin) {
    struct Case {
        const char* name;
        double ax, ay, bap, bx, by, abp;
        const char* logText; // nullptr: not logged
    };
    const Case cases[] = {
        {"A and B share their x", 400, 218, 12, 400, 400, 18,
         "CalcPoleCOOR - Calculate pole failed as invalid value."},
        {"angles leave no triangle", 445, 218, 100, 400, 400, 80,
         "CalcPoleCOOR - Calculate pole failed as invalid value."},
        {"non-numeric star", kNan, 218, 12, 400, 400, 18, nullptr},
        {"non-numeric angle", 445, 218, 12, 400, 400, kNan, nullptr},
        {"infinite star", 445, kInf, 12, 400, 400, 18, nullptr},
        {"star beyond any range", 445, 218, 12, -1e300, 400, 18, nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        LogCapture log;
        double x = -1, y = -1;
        EXPECT_EQ(CalcPoleCOOR(c.ax, c.ay, c.bap, c.bx, c.by, c.abp, x, y, 400, 320), -1);
        EXPECT_EQ(x, 0);
        EXPECT_EQ(y, 0);
        const auto lines = log.Lines();
        if (c.logText) {
            ASSERT_EQ(lines.size(), 1u);
            EXPECT_EQ(lines[0].level, "Error");
            EXPECT_EQ(lines[0].text, c.logText);
        } else {
            EXPECT_TRUE(lines.empty());
        }
    }
}

} // namespace
