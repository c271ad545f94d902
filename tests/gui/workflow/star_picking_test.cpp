// Double-click star picking and the template rotation controls on a synthetic sky.
#include "WorkflowFixture.h"

#include "display/LiveView.h"

#include <QApplication>
#include <QTimer>
#include <QToolButton>
#include <QWheelEvent>

namespace {

const QString kPickFailed =
    QStringLiteral("message: Get the Star Position failed, please try again.");

class StarPickingTest : public WorkflowTest {
protected:
    // Where the pole star has to go, computed here from the template data: the
    // template's pole turned with the template about star B, moved onto the axis.
    cv::Point2d expectedPoleStar(double angle) {
        const double t = angle * M_PI / 180.0;
        const double dx = g_maskPX - g_maskBX, dy = g_maskPY - g_maskBY;
        const double rx = dx * std::cos(t) - dy * std::sin(t);
        const double ry = dx * std::sin(t) + dy * std::cos(t);
        return {w().axisX - rx, w().axisY - ry};
    }
    QSlider* roughBar() { return ui().TrackBar_mask_rough; }
    QSlider* findingBar() { return ui().TrackBar_mask_finding; }
};

TEST_F(StarPickingTest, ThreePicksOnOneHorizontalLineGiveStep8WithoutMarkOrCircle) {
    start();
    ASSERT_NO_FATAL_FAILURE(driveTo(3));
    pickThreeOnALine();
    EXPECT_EQ(w().wizardStep, 8);
    EXPECT_TRUE(panelShown());
    EXPECT_FALSE(g_showAxisMark);
    EXPECT_FALSE(g_showAxisCircle);
    EXPECT_EQ(w().circleX, 0.0);
    EXPECT_EQ(w().circleRadius, 0);
    EXPECT_EQ(tracker().cirRadius, 0);
    for (QLabel* c : {ui().Circle_starPos1, ui().Circle_starPos2, ui().Circle_starPos3})
        EXPECT_TRUE(lit(c));
}

TEST_F(StarPickingTest, AFirstPickRecordsPosition1AndShowsTheArrow) {
    start();
    ASSERT_NO_FATAL_FAILURE(driveTo(3));
    showStars({{812.3, 377.6}});
    doubleClickImage({812, 378});
    EXPECT_EQ(w().wizardStep, 4);
    EXPECT_NEAR(w().starPos1X, 812.3, 0.2);
    EXPECT_NEAR(w().starPos1Y, 377.6, 0.2);
    EXPECT_TRUE(lit(ui().Circle_starPos1));
    EXPECT_FALSE(lit(ui().Circle_starPos2));
    EXPECT_TRUE(ui().Image_rotateDirect->isVisible());
}

// Empty sky fails with a message in every step and changes nothing; a star in a step
// that uses no pick changes nothing either.
TEST_F(StarPickingTest, ADoubleClickOnEmptySkyShowsTheFailureInEveryStep) {
    for (int step = 1; step <= 13; ++step) {
        SCOPED_TRACE(step);
        TearDown();
        SetUp();
        start();
        ASSERT_NO_FATAL_FAILURE(driveTo(step));
        const bool panel = panelShown();
        messages.clear();
        showStars({});
        doubleClickImage({300, 300});
        EXPECT_EQ(messages, QStringList{kPickFailed});
        EXPECT_EQ(w().wizardStep, step);
        EXPECT_EQ(panelShown(), panel);
        if (step == 1 || step == 4 || step == 6 || step == 8 || step == 10 || step == 12 ||
            step == 13) {
            messages.clear();
            showStars({{300, 300}});
            const bool mask = w().Img_Mask->isVisible();
            doubleClickImage({300, 300});
            EXPECT_TRUE(messages.isEmpty());
            EXPECT_EQ(w().wizardStep, step);
            EXPECT_EQ(w().Img_Mask->isVisible(), mask);
        }
    }
}

TEST_F(StarPickingTest, APickBeforeAnyCameraWasOpenedIsIgnored) {
    start();
    g_cameraOpen = false;
    ASSERT_NO_FATAL_FAILURE(driveTo(3));
    doubleClickImage({300, 300});
    EXPECT_TRUE(messages.isEmpty());
    EXPECT_EQ(w().wizardStep, 3);
}

TEST_F(StarPickingTest, APickInStep9GivesTheExpectedPoleStarPositionAndFollowsTheRoughBar) {
    start();
    ASSERT_NO_FATAL_FAILURE(driveTo(9));
    ASSERT_EQ(roughBar()->value(), 0);
    showStars({{kPoleStarX, kPoleStarY}});
    doubleClickImage({kPoleStarX, kPoleStarY});

    EXPECT_TRUE(w().Img_Mask->isVisible());
    EXPECT_TRUE(ui().MenuItem_showMask->isChecked());
    EXPECT_TRUE(g_showEptNStar);
    EXPECT_EQ(ui().CurNStar_X_rough->text(), "640");
    EXPECT_EQ(ui().CurNStar_Y_rough->text(), "480");
    EXPECT_TRUE(w().Timer1->isActive());

    for (int angle : {0, 37, 359}) {
        SCOPED_TRACE(angle);
        roughBar()->setValue(angle);
        const cv::Point2d e = expectedPoleStar(angle);
        EXPECT_NEAR(w().eptNStarX, e.x, 1e-6);
        EXPECT_NEAR(w().eptNStarY, e.y, 1e-6);
        EXPECT_NEAR(tracker().eptNStarX, e.x, 1e-6);
        EXPECT_NEAR(tracker().eptNStarY, e.y, 1e-6);
        EXPECT_EQ(ui().EptNStar_X_rough->text(), QString::number(std::trunc(e.x)));
        EXPECT_EQ(ui().EptNStar_Y_rough->text(), QString::number(std::trunc(e.y)));
        EXPECT_EQ(w().Img_Mask->rotation(), angle);
        EXPECT_EQ(w().maskAngle, angle);
    }
}

TEST_F(StarPickingTest, TheRoughBarStartsAtTheFindingAngleAndAHiddenOverlayComputesNothing) {
    start();
    ASSERT_NO_FATAL_FAILURE(driveTo(2));
    showStars({{kPoleStarX, kPoleStarY}});
    doubleClickImage({kPoleStarX, kPoleStarY});
    findingBar()->setValue(25);
    EXPECT_EQ(w().Img_Mask->rotation(), 25);
    ASSERT_NO_FATAL_FAILURE(driveTo(9));
    EXPECT_EQ(roughBar()->value(), 25);
    EXPECT_EQ(w().maskAngle, 25.0f);

    showStars({{kPoleStarX, kPoleStarY}});
    doubleClickImage({kPoleStarX, kPoleStarY});
    const cv::Point2d e = expectedPoleStar(25);
    EXPECT_NEAR(w().eptNStarX, e.x, 1e-6);
    EXPECT_NEAR(w().eptNStarY, e.y, 1e-6);

    // Hidden through the menu, the overlay still turns but the expected position stays.
    ui().MenuItem_showMask->trigger();
    ASSERT_FALSE(w().Img_Mask->isVisible());
    roughBar()->setValue(90);
    EXPECT_EQ(w().Img_Mask->rotation(), 90);
    EXPECT_EQ(w().maskAngle, 90.0f);
    EXPECT_NEAR(w().eptNStarX, e.x, 1e-6);
    EXPECT_EQ(ui().EptNStar_X_rough->text(), QString::number(std::trunc(e.x)));
    ui().MenuItem_showMask->trigger();
    EXPECT_TRUE(w().Img_Mask->isVisible());
}

TEST_F(StarPickingTest, TheOverlayIsCentredOnThePointerAtTheZoom) {
    start();
    g_zoom = 0.5f;
    ShowLiveView(); // the live image at half size, as the next frame shows it
    ASSERT_NO_FATAL_FAILURE(driveTo(2));
    showStars({{643, 482}}); // measured a little off the pointer
    doubleClickImage({640, 480});
    ASSERT_TRUE(w().Img_Mask->isVisible());
    EXPECT_EQ(w().Img_Mask->boundingRect().size(), QSizeF(800, 800));
    // Unturned, the half-size overlay lies at (120, 40) in the scroll box.
    EXPECT_EQ(w().Img_Mask->sceneBoundingRect(), QRectF(120, 40, 400, 400));
    EXPECT_EQ(w().Img_Mask->mapToScene(QPointF(400, 400)), QPointF(320, 240));
    // Turned, it turns about its centre, template star B, which stays on the pointer.
    findingBar()->setValue(30);
    EXPECT_EQ(w().Img_Mask->rotation(), 30);
    const QPointF centre = w().Img_Mask->mapToScene(QPointF(400, 400));
    EXPECT_NEAR(centre.x(), 320, 1e-9);
    EXPECT_NEAR(centre.y(), 240, 1e-9);
}

TEST_F(StarPickingTest, TheOverlayStaysOnItsStarWhenTheZoomChanges) {
    start();
    ASSERT_NO_FATAL_FAILURE(driveTo(2));
    showStars({{640, 480}});
    doubleClickImage({640, 480});
    ASSERT_EQ(w().Img_Mask->mapToScene(QPointF(400, 400)), QPointF(640, 480));
    g_zoom = 0.75f;
    ShowLiveView(); // the next frame rescales the live image and the overlay
    w().Timer_updateAngleTimer();
    EXPECT_EQ(w().Img_Mask->scale(), 0.75);
    EXPECT_EQ(w().Img_Mask->mapToScene(QPointF(400, 400)), QPointF(480, 360));
}

TEST_F(StarPickingTest, ThePlusMinusButtonsAndTheWheelMoveOneDegreeWithoutWrapping) {
    start();
    struct Bar {
        QSlider* bar;
        QToolButton* plus;
        QToolButton* minus;
    } bars[] = {{findingBar(), ui().AddBtn_mask_finding, ui().DelBtn_mask_finding},
                {roughBar(), ui().AddBtn_rough, ui().DelBtn_rough}};
    ui().Expander_finding->setEnabled(true);
    ui().Expander_rough->setEnabled(true);
    for (const Bar& b : bars) {
        SCOPED_TRACE(b.bar->objectName().toStdString());
        auto wheel = [&](int delta) {
            QWheelEvent e(QPointF(5, 5), b.bar->mapToGlobal(QPointF(5, 5)), QPoint(),
                          QPoint(0, delta), Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
            QApplication::sendEvent(b.bar, &e);
        };
        struct Case {
            int from;
            std::function<void()> act;
            int to;
        } cases[] = {
            {359, [&] { b.plus->click(); }, 359}, {0, [&] { b.minus->click(); }, 0},
            {100, [&] { b.plus->click(); }, 101}, {100, [&] { b.minus->click(); }, 99},
            {100, [&] { wheel(240); }, 101},      {100, [&] { wheel(-120); }, 99},
            {100, [&] { wheel(0); }, 99},         {359, [&] { wheel(120); }, 359},
            {0, [&] { wheel(-120); }, 0},
        };
        for (const Case& c : cases) {
            b.bar->setValue(c.from);
            c.act();
            EXPECT_EQ(b.bar->value(), c.to) << "from " << c.from;
        }
    }
}

} // namespace
