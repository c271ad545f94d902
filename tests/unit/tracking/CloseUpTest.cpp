// The close-up made from a small region equals the square cut from the whole
// magnified frame, marks included, wherever the axis and the pole lie.
#include "astro/CloseUp.h"
#include "unit/tracking/CloseUpOracle.h"

#include <opencv2/imgproc.hpp>

#include <gtest/gtest.h>

#include <random>
#include <sstream>

namespace {

constexpr int kPad = 200; // black border of the oracle: the square may leave the frame

cv::Mat RandomFrame(unsigned seed) {
    cv::Mat frame(960, 1280, CV_8UC1);
    cv::RNG rng(seed);
    rng.fill(frame, cv::RNG::UNIFORM, 0, 256);
    return frame;
}

cv::Vec3b Bgr(const cv::Scalar& s) {
    return {static_cast<uchar>(s[0]), static_cast<uchar>(s[1]), static_cast<uchar>(s[2])};
}

::testing::AssertionResult SameImage(const cv::Mat& got, const cv::Mat& want) {
    if (got.size() != want.size() || got.type() != want.type())
        return ::testing::AssertionFailure() << "size or type differs";
    for (int y = 0; y < got.rows; ++y)
        for (int x = 0; x < got.cols; ++x)
            if (got.at<cv::Vec3b>(y, x) != want.at<cv::Vec3b>(y, x)) {
                std::ostringstream s;
                s << "first difference at (" << x << ", " << y << "): " << got.at<cv::Vec3b>(y, x)
                  << " instead of " << want.at<cv::Vec3b>(y, x);
                return ::testing::AssertionFailure() << s.str();
            }
    return ::testing::AssertionSuccess();
}

// The whole frame magnified once, padded with black; each case draws its marks on
// it, cuts the square and puts the pixels under the marks back.
class WholeFrame {
public:
    explicit WholeFrame(const cv::Mat& frame) {
        cv::Mat gray, color;
        cv::resize(frame, gray, cv::Size(frame.cols * 5, frame.rows * 5), 0, 0, cv::INTER_LINEAR);
        cv::cvtColor(gray, color, cv::COLOR_GRAY2BGR);
        cv::copyMakeBorder(color, padded_, kPad, kPad, kPad, kPad, cv::BORDER_CONSTANT,
                           cv::Scalar::all(0));
    }

    cv::Mat CloseUp(double ax, double ay, double px, double py, const CloseUpColours& colours) {
        const cv::Rect whole(0, 0, padded_.cols, padded_.rows);
        const cv::Rect axisArea =
            cv::Rect(int(5 * ax) + kPad - 20, int(5 * ay) + kPad - 20, 40, 40) & whole;
        const cv::Rect poleArea =
            cv::Rect(int(5 * px) + kPad - 20, int(5 * py) + kPad - 20, 40, 40) & whole;
        const cv::Mat axisKeep = padded_(axisArea).clone(), poleKeep = padded_(poleArea).clone();
        OracleDrawMarks(padded_, {kPad, kPad}, ax, ay, px, py, colours);
        const cv::Point o = CloseUpOrigin(ax, ay);
        cv::Mat crop = padded_(cv::Rect(o.x + kPad, o.y + kPad, 200, 200)).clone();
        poleKeep.copyTo(padded_(poleArea));
        axisKeep.copyTo(padded_(axisArea));
        return crop;
    }

private:
    cv::Mat padded_;
};

TEST(CloseUpTest, EqualsTheSquareOfTheWholeMagnificationEverywhere) {
    const cv::Mat frame = RandomFrame(11);
    WholeFrame oracle(frame);
    std::mt19937 rng(5);
    std::uniform_real_distribution<double> ux(-2.0, 1282.0), uy(-2.0, 962.0), near(-35.0, 35.0);
    cv::Mat crop;
    for (int i = 0; i < 400; ++i) {
        const double ax = ux(rng), ay = uy(rng);
        const double px = ax + near(rng), py = ay + near(rng);
        const CloseUpColours colours = CloseUpColoursFor(i % 2 == 0);
        SCOPED_TRACE(::testing::Message()
                     << "axis (" << ax << ", " << ay << "), pole (" << px << ", " << py << ")");
        RenderCloseUp(frame, ax, ay, px, py, colours, crop);
        ASSERT_TRUE(SameImage(crop, oracle.CloseUp(ax, ay, px, py, colours)));
    }
}

// Where the square lies inside the frame, the plain whole-frame way (no padding)
// gives the same square too.
TEST(CloseUpTest, EqualsThePlainWholeFrameWayInside) {
    const cv::Mat frame = RandomFrame(3);
    cv::Mat zoomGray, zoomColor, want, got;
    struct Case {
        double ax, ay, px, py;
    };
    const Case cases[] = {
        {640.0, 480.0, 652.3, 470.8},   {20.0, 20.0, 25.5, 14.2},
        {1259.9, 939.9, 1250.1, 945.7}, {300.42, 700.81, 300.42, 700.81},
        {100.2, 880.6, 98.0, 870.0},    {977.77, 33.33, 980.01, 31.5},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << "axis (" << c.ax << ", " << c.ay << ")");
        const CloseUpColours colours = CloseUpColoursFor(false);
        OracleCloseUp(frame, c.ax, c.ay, c.px, c.py, colours, zoomGray, zoomColor, want);
        RenderCloseUp(frame, c.ax, c.ay, c.px, c.py, colours, got);
        EXPECT_TRUE(SameImage(got, want));
    }
}

TEST(CloseUpTest, MarkColoursOfTheTwoStyles) {
    const cv::Mat frame(960, 1280, CV_8UC1, cv::Scalar(40));
    struct Case {
        bool mono;
        cv::Vec3b axis, pole;
    };
    const Case cases[] = {
        {true, {255, 248, 248}, {255, 248, 248}},
        {false, {0, 0, 255}, {0, 255, 0}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.mono ? "Mono" : "Color");
        EXPECT_EQ(Bgr(CloseUpColoursFor(c.mono).axis), c.axis);
        EXPECT_EQ(Bgr(CloseUpColoursFor(c.mono).pole), c.pole);
        cv::Mat crop;
        // Pole 10 frame pixels right of the axis: 50 magnified pixels.
        RenderCloseUp(frame, 600.0, 400.0, 610.0, 400.0, CloseUpColoursFor(c.mono), crop);
        EXPECT_EQ(crop.at<cv::Vec3b>(100, 100), c.axis);              // the axis dot
        EXPECT_EQ(crop.at<cv::Vec3b>(100, 92), c.axis);               // its left tick
        EXPECT_EQ(crop.at<cv::Vec3b>(100, 150), c.pole);              // the pole dot
        EXPECT_EQ(crop.at<cv::Vec3b>(100, 160), c.pole);              // end of the pole's cross
        EXPECT_EQ(crop.at<cv::Vec3b>(92, 142), c.pole);               // a corner bracket
        EXPECT_EQ(crop.at<cv::Vec3b>(30, 30), cv::Vec3b(40, 40, 40)); // sky
    }
}

TEST(CloseUpTest, AxisAtTheCentreAndAFarPoleOutside) {
    const cv::Mat frame(960, 1280, CV_8UC1, cv::Scalar(20));
    const CloseUpColours colours = CloseUpColoursFor(false);
    const cv::Vec3b red(0, 0, 255), sky(20, 20, 20);
    struct Case {
        double ax, ay, px, py;
    };
    // Poles 30 frame pixels (150 magnified) from the axis: beyond the square's edge.
    const Case cases[] = {
        {640.3, 480.7, 670.3, 480.7},
        {640.3, 480.7, 640.3, 450.7},
        {210.9, 333.1, 180.9, 333.1},
        {1000.0, 100.0, 1000.0, 130.0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << "pole (" << c.px << ", " << c.py << ")");
        cv::Mat crop;
        RenderCloseUp(frame, c.ax, c.ay, c.px, c.py, colours, crop);
        EXPECT_EQ(crop.at<cv::Vec3b>(100, 100), red);
        EXPECT_EQ(crop.at<cv::Vec3b>(100, 90), red);
        int poleColoured = 0, other = 0;
        for (int y = 0; y < 200; ++y)
            for (int x = 0; x < 200; ++x) {
                const cv::Vec3b v = crop.at<cv::Vec3b>(y, x);
                if (v[1] > v[0] && v[1] > v[2])
                    ++poleColoured;
                else if (v != sky && std::hypot(x - 100, y - 100) > 12)
                    ++other;
            }
        EXPECT_EQ(poleColoured, 0);
        EXPECT_EQ(other, 0); // nothing but sky away from the axis mark
    }
}

// An axis centre near the border: the square keeps the axis at (100, 100) and
// shows black where it leaves the magnified frame; the axis mark stays whole.
TEST(CloseUpTest, SquareLeavingTheFrameIsPaddedWithBlack) {
    const cv::Mat frame(960, 1280, CV_8UC1, cv::Scalar(60));
    const cv::Vec3b red(0, 0, 255), sky(60, 60, 60), black(0, 0, 0);
    struct Case {
        double ax, ay;
        int blackX, blackY; // a square pixel outside the frame
        int skyX, skyY;     // one inside it
    };
    const Case cases[] = {
        {0.0, 0.0, 10, 10, 150, 150},      {1.0, 480.0, 5, 100, 190, 100},
        {1279.0, 959.0, 190, 190, 50, 50}, {640.0, 958.5, 100, 195, 100, 50},
        {1270.2, 3.7, 190, 30, 40, 150},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << "axis (" << c.ax << ", " << c.ay << ")");
        cv::Mat crop;
        RenderCloseUp(frame, c.ax, c.ay, c.ax + 3, c.ay + 3, CloseUpColoursFor(false), crop);
        ASSERT_EQ(crop.size(), cv::Size(200, 200));
        EXPECT_EQ(crop.at<cv::Vec3b>(100, 100), red);
        EXPECT_EQ(crop.at<cv::Vec3b>(100, 90), red);  // left tick
        EXPECT_EQ(crop.at<cv::Vec3b>(90, 100), red);  // upper tick
        EXPECT_EQ(crop.at<cv::Vec3b>(100, 110), red); // right tick
        EXPECT_EQ(crop.at<cv::Vec3b>(110, 100), red); // lower tick
        EXPECT_EQ(crop.at<cv::Vec3b>(c.blackY, c.blackX), black);
        EXPECT_EQ(crop.at<cv::Vec3b>(c.skyY, c.skyX), sky);
    }
}

TEST(CloseUpTest, NoFrameOrFarPositionsStillGiveASquare) {
    struct Case {
        const char* name;
        cv::Mat frame;
        double ax, ay, px, py;
    };
    const double inf = std::numeric_limits<double>::infinity();
    const Case cases[] = {
        {"empty frame", cv::Mat(), 100, 100, 101, 101},
        {"pole at infinity", cv::Mat(960, 1280, CV_8UC1, cv::Scalar(9)), 100, 100, inf, -inf},
        {"pole not a number", cv::Mat(960, 1280, CV_8UC1, cv::Scalar(9)), 100, 100, std::nan(""),
         5},
        {"axis far away", cv::Mat(960, 1280, CV_8UC1, cv::Scalar(9)), 1e12, -1e12, 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        cv::Mat crop;
        RenderCloseUp(c.frame, c.ax, c.ay, c.px, c.py, CloseUpColoursFor(false), crop);
        EXPECT_EQ(crop.size(), cv::Size(200, 200));
        EXPECT_EQ(crop.type(), CV_8UC3);
    }
}

} // namespace
