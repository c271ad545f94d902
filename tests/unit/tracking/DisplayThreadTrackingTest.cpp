// The capture thread's tracker: what monitor mode changes, what a failed pole
// keeps, what the setters store, and that the user-interface thread may call the
// setters while the tracker runs.
#include "app/Mystructs.h"
#include "astro/StarData.h"
#include "camera/DisplayThread.h"
#include "unit/astro/StarFrames.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cmath>
#include <functional>
#include <thread>

namespace {

constexpr double kBap = 12.4543449046107, kAbp = 18.4713634052194;

// A frame with the north template's stars A and B, the state a connected window
// has, and a tracker seeded on both stars around an axis centre.
class TrackerThreadTest : public ::testing::Test {
protected:
    void SetUp() override {
        g_frameImage = cv::Mat(960, 1280, CV_8UC1, cv::Scalar(0));
        AddStar(g_frameImage, 445.3, 218.6, 160, 1.6);
        AddStar(g_frameImage, 400.2, 399.7, 200, 1.8);
        g_zoomCrop = cv::Mat::zeros(200, 200, CV_8UC3);
        g_zoomBitmap = QImage(200, 200, QImage::Format_RGB32);
        g_zoomReady = false;
        g_monitorPole = true;
        g_refractionOn = false;
        g_angleBAP = kBap;
        g_angleABP = kAbp;
        g_uiStyle = QStringLiteral("Color");
        thread = std::make_unique<DisplayThread>();
        thread->SetRefStarA(447, 216);
        thread->SetRefStarB(398, 402);
        thread->SetCirCenter(90, 400, 320);
    }
    void TearDown() override {
        thread.reset();
        g_monitorPole = false;
        g_zoomReady = false;
    }
    std::unique_ptr<DisplayThread> thread;
};

TEST_F(TrackerThreadTest, MonitorOffChangesNothing) {
    g_monitorPole = false;
    thread->refStarAX = 1;
    thread->refStarBY = 2;
    thread->polarPosX = 3;
    thread->polarPosY = 4;
    thread->TrackRefStars();
    EXPECT_EQ(thread->refStarAX, 1);
    EXPECT_EQ(thread->refStarAY, 0);
    EXPECT_EQ(thread->refStarBY, 2);
    EXPECT_EQ(thread->polarPosX, 3);
    EXPECT_EQ(thread->polarPosY, 4);
    EXPECT_FALSE(g_zoomReady);
    EXPECT_EQ(cv::countNonZero(g_zoomCrop.reshape(1)), 0);
}

TEST_F(TrackerThreadTest, PoleThatCannotBeComputedKeepsThePreviousPoleAndCloseUp) {
    thread->TrackRefStars();
    ASSERT_TRUE(g_zoomReady);
    const double poleX = thread->polarPosX, poleY = thread->polarPosY;
    EXPECT_NEAR(poleX, 393.7, 0.5);
    EXPECT_NEAR(poleY, 321.6, 0.5);
    const cv::Mat crop = g_zoomCrop.clone();
    g_zoomReady = false;

    thread->SetTemplateAngles(100, 80); // no triangle
    thread->SetRefStarA(700, 700);      // star A lost: its seed stands in
    thread->TrackRefStars();
    EXPECT_EQ(thread->refStarAX, 700);
    EXPECT_EQ(thread->refStarAY, 700);
    EXPECT_EQ(thread->polarPosX, poleX);
    EXPECT_EQ(thread->polarPosY, poleY);
    EXPECT_FALSE(g_zoomReady);
    EXPECT_EQ(cv::norm(g_zoomCrop, crop, cv::NORM_INF), 0);
}

TEST_F(TrackerThreadTest, CloseUpColoursFollowTheStyle) {
    struct Case {
        const char* name;
        std::function<void()> apply;
        cv::Vec3b axis, pole;
    };
    const cv::Vec3b mono(255, 248, 248), red(0, 0, 255), green(0, 255, 0);
    const Case cases[] = {
        {"Color", [&] { thread->SetCloseUpStyle(QStringLiteral("Color")); }, red, green},
        {"Mono", [&] { thread->SetCloseUpStyle(QStringLiteral("Mono")); }, mono, mono},
        {"other word", [&] { thread->SetCloseUpStyle(QStringLiteral("mono")); }, red, green},
        {"Mono when the thread is created",
         [&] {
             g_uiStyle = QStringLiteral("Mono");
             thread = std::make_unique<DisplayThread>();
             thread->SetRefStarA(447, 216);
             thread->SetRefStarB(398, 402);
             thread->SetCirCenter(90, 400, 320);
         },
         mono, mono},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        c.apply();
        thread->TrackRefStars();
        // The pole, about 1.3 frame pixels left of the axis and 1.6 below it.
        const int u = static_cast<int>(std::trunc(5 * thread->polarPosX)) - 1900;
        const int v = static_cast<int>(std::trunc(5 * thread->polarPosY)) - 1500;
        EXPECT_EQ(g_zoomCrop.at<cv::Vec3b>(100, 100), c.axis);
        EXPECT_EQ(g_zoomCrop.at<cv::Vec3b>(v, u), c.pole);
    }
}

TEST_F(TrackerThreadTest, SettersStoreNegativeValuesAsZero) {
    const double nan = std::nan("");
    struct Case {
        const char* name;
        std::function<void(DisplayThread&)> set;
        std::function<std::vector<double>(const DisplayThread&)> get;
        std::vector<double> want;
    };
    const Case cases[] = {
        {"A",
         [](DisplayThread& t) { t.SetRefStarA(-3, 12.5); },
         [](const DisplayThread& t) {
             return std::vector<double>{t.refStarAInitX, t.refStarAInitY};
         },
         {0, 12.5}},
        {"B",
         [](DisplayThread& t) { t.SetRefStarB(7.25, -0.1); },
         [](const DisplayThread& t) {
             return std::vector<double>{t.refStarBInitX, t.refStarBInitY};
         },
         {7.25, 0}},
        {"B not a number",
         [nan](DisplayThread& t) { t.SetRefStarB(nan, 5); },
         [](const DisplayThread& t) {
             return std::vector<double>{t.refStarBInitX, t.refStarBInitY};
         },
         {0, 5}},
        {"axis",
         [](DisplayThread& t) { t.SetCirCenter(-4, -1, 300.5); },
         [](const DisplayThread& t) {
             return std::vector<double>{double(t.cirRadius), t.cirCenterX, t.cirCenterY};
         },
         {0, 0, 300.5}},
        {"axis cleared",
         [](DisplayThread& t) { t.SetCirCenter(0, 0, 0); },
         [](const DisplayThread& t) {
             return std::vector<double>{double(t.cirRadius), t.cirCenterX, t.cirCenterY};
         },
         {0, 0, 0}},
        {"expected pole star",
         [](DisplayThread& t) { t.SetEptNStar(640.5, -480); },
         [](const DisplayThread& t) {
             return std::vector<double>{t.eptNStarX, t.eptNStarY};
         },
         {640.5, 0}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        c.set(*thread);
        EXPECT_EQ(c.get(*thread), c.want);
    }
}

// A negative seed becomes 0: the search window leaves the frame and the seed
// itself stands in for the star.
TEST_F(TrackerThreadTest, NegativeSeedSearchesOutsideTheFrame) {
    thread->SetRefStarA(-445, -218);
    thread->TrackRefStars();
    EXPECT_EQ(thread->refStarAX, 0);
    EXPECT_EQ(thread->refStarAY, 0);
    EXPECT_NEAR(thread->refStarBX, 400.2, 0.05);
}

// The user-interface thread keeps setting seeds, axis, angles and style while the
// capture thread tracks frame after frame.
TEST_F(TrackerThreadTest, SettersWhileTracking) {
    std::atomic<bool> stop{false};
    std::atomic<int> frames{0};
    std::thread capture([&] {
        while (!stop) {
            thread->TrackRefStars();
            g_zoomReady = false;
            ++frames;
        }
    });
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
    int i = 0;
    while (frames < 200 && std::chrono::steady_clock::now() < deadline) {
        ++i;
        thread->SetRefStarA(445 + i % 3, 218 - i % 2);
        thread->SetRefStarB(400 - i % 2, 400 + i % 3);
        thread->SetCirCenter(90 + i % 5, 400 + i % 7, 320);
        thread->SetEptNStar(i % 11, i % 13);
        thread->SetTemplateAngles(kBap, kAbp + (i % 2) * 1e-9);
        thread->SetCloseUpStyle(i % 2 ? QStringLiteral("Mono") : QStringLiteral("Color"));
        std::this_thread::yield();
    }
    stop = true;
    capture.join();
    EXPECT_GE(frames.load(), 200);
    EXPECT_NEAR(thread->polarPosX, 393.7, 2.0);
}

} // namespace
