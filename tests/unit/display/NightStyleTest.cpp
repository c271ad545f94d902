// The night style's colour rules: the red ramp of the live image, the night shades
// of colours, style sheets and pictures, and the marks' colours, which stay apart
// from each other and under the green/blue limit.

#include "astro/CloseUp.h"
#include "display/AlignmentReadoutText.h"
#include "display/NightStyle.h"
#include "display/Overlays.h"

#include <QFile>
#include <QRegularExpression>
#include <opencv2/imgproc.hpp>
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace {

double Distance(const QColor& a, const QColor& b) {
    return std::hypot(a.red() - b.red(), a.green() - b.green(), a.blue() - b.blue());
}

bool WithinLimit(const QColor& c) {
    return c.green() <= kNightMaxGreenBlue && c.blue() <= kNightMaxGreenBlue;
}

// The largest green or blue value of a blue-green-red image.
int MaxGreenBlue(const cv::Mat& bgr) {
    std::vector<cv::Mat> ch;
    cv::split(bgr, ch);
    double g = 0, b = 0;
    cv::minMaxLoc(ch[1], nullptr, &g);
    cv::minMaxLoc(ch[0], nullptr, &b);
    return int(std::max(g, b));
}

TEST(NightStyle, OnlyTheExactWordIsNight) {
    EXPECT_TRUE(IsNightStyle(QStringLiteral("Night")));
    for (const char* word : {"night", "NIGHT", "Color", "Mono", ""})
        EXPECT_FALSE(IsNightStyle(QString::fromLatin1(word))) << word;
}

TEST(NightStyle, RedRampKeepsTheGreyValuesInRedAndLeavesTheFrameAlone) {
    cv::Mat grey(4, 64, CV_8UC1);
    for (int x = 0; x < grey.cols; ++x)
        grey.col(x).setTo(x * 4);
    const cv::Mat before = grey.clone();
    cv::Mat shown;
    ASSERT_TRUE(MapToRedRamp(grey, shown));
    ASSERT_EQ(shown.type(), CV_8UC3);
    EXPECT_EQ(cv::norm(grey, before, cv::NORM_INF), 0.0); // the frame stays grey
    std::vector<cv::Mat> ch;
    cv::split(shown, ch);
    EXPECT_EQ(cv::norm(ch[2], grey, cv::NORM_INF), 0.0);
    EXPECT_EQ(cv::countNonZero(ch[0]) + cv::countNonZero(ch[1]), 0);

    // A colour frame (as a stretched view may be) goes by its luminance; other
    // types are refused and leave the output as it was.
    cv::Mat colour(2, 2, CV_8UC3, cv::Scalar(255, 255, 255));
    ASSERT_TRUE(MapToRedRamp(colour, shown));
    EXPECT_EQ(shown.at<cv::Vec3b>(0, 0), cv::Vec3b(0, 0, 255));
    const cv::Mat kept = shown.clone();
    EXPECT_FALSE(MapToRedRamp(cv::Mat(2, 2, CV_16UC1, cv::Scalar(9)), shown));
    EXPECT_EQ(cv::norm(shown, kept, cv::NORM_INF), 0.0);
}

TEST(NightStyle, NightShadesAreRedsOrderedByBrightness) {
    const struct {
        QColor day;
        int red;
    } cases[] = {
        {QColor(0xF8, 0xF8, 0xFF), 202}, // ghost-white text: dim red, not full
        {QColor(0xFF, 0x50, 0x50), 155}, // the warning red stays clearly visible
        {QColor(0xF5, 0xAB, 0x28), 169}, // amber
        {QColor(0x12, 0x15, 0x1B), 19},  // the Color style's ground: near black
        {QColor(0, 0, 0), 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.day.name().toStdString());
        const QColor night = NightColour(c.day);
        EXPECT_NEAR(night.red(), c.red, 1);
        EXPECT_EQ(night.green(), 0);
        EXPECT_EQ(night.blue(), 0);
    }
    EXPECT_EQ(NightColour(QColor(200, 200, 200, 90)).alpha(), 90);
}

TEST(NightStyle, StyleSheetColoursTurnRedSelectorsAndOtherValuesStay) {
    const struct {
        const char* day;
        const char* night;
    } cases[] = {
        {"color: #F8F8FF;", "color: #ca0000;"},
        {"color: #fff; font-weight: bold;", "color: #cc0000; font-weight: bold;"},
        {"QLabel { color: lightgrey; }", "QLabel { color: #a90000; }"},
        {"QToolButton#Btn_reset:hover { color: black; background: transparent; }",
         "QToolButton#Btn_reset:hover { color: #000000; background: transparent; }"},
        {"QFrame#Line1 { background-color: rgb(90, 90, 94); border: none; }",
         "QFrame#Line1 { background-color: #4a0000; border: none; }"},
        {"QMenu { background: rgba(255, 255, 255, 128); }",
         "QMenu { background: rgba(204, 0, 0, 128); }"},
        {"QCheckBox::indicator { image: url(:/StyleCheck); }",
         "QCheckBox::indicator { image: url(:/StyleCheck); }"},
        {"/* #ffffff */ QWidget#ABC { color: #ABC; }", " QWidget#ABC { color: #9b0000; }"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(NightStyleSheet(QString::fromLatin1(c.day)), QString::fromLatin1(c.night))
            << c.day;
}

TEST(NightStyle, TheShippedNightSheetNamesNoColourWithGreenOrBlue) {
    QFile file(QStringLiteral(ZW_SOURCE_DIR "/resources/styles/Night.Style"));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QString sheet = QString::fromUtf8(file.readAll());
    static const QRegularExpression hex(QStringLiteral("#([0-9A-Fa-f]{6})\\b"));
    int colours = 0;
    for (auto it = hex.globalMatch(sheet); it.hasNext(); ++colours) {
        const QColor c = QColor::fromString(it.next().captured(0));
        EXPECT_TRUE(WithinLimit(c)) << c.name().toStdString();
    }
    EXPECT_GT(colours, 20);
    EXPECT_FALSE(sheet.contains(QRegularExpression(QStringLiteral("rgba?\\("))));
    // Its pictures are the night glyphs or the dark check mark.
    EXPECT_FALSE(sheet.contains(QStringLiteral("StyleArrowUp)")));
    EXPECT_FALSE(sheet.contains(QStringLiteral("StyleArrowDown)")));
}

TEST(NightStyle, PicturesTurnRedAndTintedIconsKeepTheirShape) {
    QImage icon(5, 1, QImage::Format_ARGB32);
    icon.setPixel(0, 0, qRgba(0, 255, 0, 255)); // the day icon's green
    icon.setPixel(1, 0, qRgba(0, 128, 0, 255));
    icon.setPixel(2, 0, qRgba(0, 0, 0, 0)); // transparent around the mark
    icon.setPixel(3, 0, qRgba(255, 255, 255, 200));
    icon.setPixel(4, 0, qRgba(20, 40, 200, 255));
    for (const QImage& out : {NightImage(icon), TintImage(icon, QColorOf(kNightPole))}) {
        for (int x = 0; x < 5; ++x) {
            const QRgb p = out.pixel(x, 0);
            EXPECT_LE(qGreen(p), kNightMaxGreenBlue) << x;
            EXPECT_LE(qBlue(p), kNightMaxGreenBlue) << x;
            EXPECT_EQ(qAlpha(p), qAlpha(icon.pixel(x, 0))) << x;
        }
    }
    const QImage tinted = TintImage(icon, QColorOf(kNightPole));
    EXPECT_EQ(QColor(tinted.pixel(0, 0)), QColorOf(kNightPole)); // the brightest: the colour
    EXPECT_NEAR(qRed(tinted.pixel(1, 0)), 128, 1);               // half as bright: half
}

// The marks of the night style: each under the limit, each pair apart.
TEST(NightStyle, MarkColoursStayApartAndUnderTheLimit) {
    const CloseUpColours closeUp = CloseUpNightColours();
    const struct {
        const char* name;
        QColor colour;
    } marks[] = {
        {"pole", QColorOf(kNightPole)},
        {"axis", QColorOf(kNightAxis)},
        {"reference star", QColorOf(kNightRefStar)},
        {"reference box", QColorOf(kNightRefStarBox)},
        {"ring", QColorOf(kNightRing)},
        {"template", QColorOf(kNightTemplate)},
    };
    for (const auto& m : marks)
        EXPECT_TRUE(WithinLimit(m.colour)) << m.name;
    for (std::size_t i = 0; i < std::size(marks); ++i)
        for (std::size_t j = i + 1; j < std::size(marks); ++j)
            EXPECT_GT(Distance(marks[i].colour, marks[j].colour), kNightMinMarkDistance)
                << marks[i].name << " / " << marks[j].name;
    // The close-up shows the same pole and axis.
    EXPECT_EQ(QColorOf(closeUp.pole), QColorOf(kNightPole));
    EXPECT_EQ(QColorOf(closeUp.axis), QColorOf(kNightAxis));
    EXPECT_TRUE(closeUp.redImage);

    // The read-out's bands and its plain text.
    const QColor bands[] = {QColor::fromString(BandColour(AlignmentBand::Within30, true)),
                            QColor::fromString(BandColour(AlignmentBand::Within60, true)),
                            QColor::fromString(BandColour(AlignmentBand::Above, true)),
                            QColor::fromString(kNightReadoutText)};
    for (std::size_t i = 0; i < std::size(bands); ++i) {
        EXPECT_TRUE(WithinLimit(bands[i])) << i;
        for (std::size_t j = i + 1; j < std::size(bands); ++j)
            EXPECT_GT(Distance(bands[i], bands[j]), kNightMinMarkDistance) << i << " / " << j;
    }
}

TEST(NightStyle, EveryMarkOnTheRedRampStaysUnderTheLimit) {
    cv::Mat grey(960, 1280, CV_8UC1, cv::Scalar(30));
    cv::circle(grey, {600, 400}, 4, cv::Scalar(255), -1); // a star
    cv::Mat image;
    ASSERT_TRUE(MapToRedRamp(grey, image));
    OverlayMarks m;
    m.night = true;
    m.mono = true; // night wins
    m.showEptNStar = m.showAxisMark = m.showAxisCircle = m.monitorPole = true;
    m.showRefStarA = m.showRefStarB = true;
    m.eptNStarX = 600, m.eptNStarY = 400, m.ringAngle = 20;
    m.cirCenterX = 640, m.cirCenterY = 480, m.cirRadius = 150;
    m.polarPosX = 660, m.polarPosY = 470;
    m.refStarAX = 300, m.refStarAY = 300, m.refStarBX = 800, m.refStarBY = 500;
    m.showGuides = true, m.arcsecPerPx = 30, m.zenithX = 0, m.zenithY = -1;
    DrawOverlays(image, m);
    EXPECT_LE(MaxGreenBlue(image), kNightMaxGreenBlue);
    // Each mark in its own colour where its lines are whole pixels.
    EXPECT_EQ(image.at<cv::Vec3b>(470, 660), cv::Vec3b(0, 40, 255));   // pole centre
    EXPECT_EQ(image.at<cv::Vec3b>(480, 635), cv::Vec3b(40, 0, 255));   // axis tick
    EXPECT_EQ(image.at<cv::Vec3b>(300, 303), cv::Vec3b(40, 40, 200));  // star A cross
    EXPECT_EQ(image.at<cv::Vec3b>(280, 300), cv::Vec3b(40, 40, 100));  // star A box
    EXPECT_EQ(image.at<cv::Vec3b>(400, 597), cv::Vec3b(0, 0, 150));    // ring cross

    cv::Mat crop;
    RenderCloseUp(grey, 640, 480, 660, 470, CloseUpNightColours(), crop);
    EXPECT_LE(MaxGreenBlue(crop), kNightMaxGreenBlue);
    EXPECT_EQ(crop.at<cv::Vec3b>(0, 0), cv::Vec3b(0, 0, 30)); // the sky on the ramp
}

} // namespace
