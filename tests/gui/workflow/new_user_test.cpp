// Faults found when the program was tried as a new user would: the tip panel's
// buttons within reach at the window's own size, the manual trace kept for the
// monitor mode, the mouse over the black margin of a zoomed-out picture, and a pick
// with the stretch on measuring the frame the user saw.
#include "WorkflowFixture.h"

#include "app/TipPanelPlacer.h"
#include "display/LiveView.h"

#include <QMainWindow>

namespace {

const QString kPickFailed =
    QStringLiteral("message: Get the Star Position failed, please try again.");

class NewUserTest : public WorkflowTest {
protected:
    // Every answer button shown lies wholly inside the window's visible client area.
    void expectButtonsInside(const char* when) {
        QWidget* client = ui().centralwidget;
        const QRect visible = client->rect();
        for (QPushButton* b : {ui().Btn1_tip, ui().Btn2_tip}) {
            if (!b->isVisible())
                continue;
            const QRect r(b->mapTo(client, QPoint(0, 0)), b->size());
            EXPECT_TRUE(visible.contains(r))
                << when << ", step " << w().wizardStep << ": " << b->objectName().toStdString()
                << " at " << r.x() << "," << r.y() << " " << r.width() << "x" << r.height()
                << " outside " << visible.width() << "x" << visible.height();
        }
    }
};

TEST(TipPanelPositionTest, StaysAtItsPlaceOrMovesJustEnoughToStayInside) {
    struct Case {
        QSize client, panel;
        QPoint expected;
    };
    const Case cases[] = {
        {{963, 600}, {470, 98}, {380, 30}}, // room enough: its own place
        {{800, 600}, {470, 98}, {330, 30}}, // narrow: moves left
        {{963, 100}, {470, 98}, {380, 2}},  // low: moves up
        {{963, 600}, {470, 700}, {380, 0}}, // taller than the client: top edge shown
        {{300, 600}, {470, 98}, {0, 30}},   // wider than the client: left edge shown
    };
    for (const Case& c : cases)
        EXPECT_EQ(TipPanelPosition(c.client, c.panel), c.expected);
}

TEST_F(NewUserTest, AnswerButtonsAreInsideTheWindowAtItsOwnSizeInEveryStep) {
    start();
    ASSERT_TRUE(w().isVisible());
    const QPoint place = ui().Rectangle_tipMsg->mapTo(&w(), QPoint(0, 0)) -
                         ui().centralwidget->mapTo(&w(), QPoint(0, 0));
    EXPECT_EQ(place, QPoint(380, 30)) << "the panel's place in the window";
    for (int step = 1; step <= 13; ++step) {
        w().wizardStep = step;
        w().ShowTip(step);
        expectButtonsInside("default size");
    }

    // A narrower window, and a tip far longer than any table holds.
    w().resize(760, 560);
    w().ShowTip(4);
    expectButtonsInside("760 x 560");
    ui().Text_tip->setText(QString(QStringLiteral("A long tip. ")).repeated(60));
    ui().Rectangle_tipMsg->adjustSize();
    expectButtonsInside("long tip");
}

TEST_F(NewUserTest, ManualTraceWaitsForTheMonitorMode) {
    start();
    for (int step = 1; step <= 13; ++step) {
        ASSERT_NO_FATAL_FAILURE(driveTo(step));
        EXPECT_EQ(ui().MenuItem_trace->isEnabled(), step == 13) << "step " << step;
    }
    // A disconnection takes it away again.
    w().SetConnectedUi(false);
    EXPECT_FALSE(ui().MenuItem_trace->isEnabled());
}

TEST_F(NewUserTest, TheMarginAroundAZoomedOutPictureReportsNothing) {
    start();
    ASSERT_NO_FATAL_FAILURE(driveTo(2));
    w().resize(1600, 1100); // room for a margin around the picture at both zooms
    for (void (TFormMain::*zoom)() : {&TFormMain::MenuItem_50Click, &TFormMain::MenuItem_75Click}) {
        (w().*zoom)();
        RenderLiveView(); // the zoom takes effect with the next frame shown
        ShowLiveView();
        LiveImageView* view = w().ScrollBox_capImg;
        const QPoint below = view->mapFromScene(w().Img_cap->mapToScene(QPointF(300, 960)));
        const QPoint right = view->mapFromScene(w().Img_cap->mapToScene(QPointF(1280, 300)));
        const QSize vp = view->viewport()->size();
        int checked = 0;
        for (QPoint p : {QPoint(40, below.y() + 4), QPoint(right.x() + 4, 40)}) {
            if (p.x() >= vp.width() || p.y() >= vp.height())
                continue; // no margin on that side at this window size
            ++checked;
            const QString before = w().Label_mousePos->text();
            QTest::mouseMove(view->viewport(), p);
            QTest::mouseDClick(view->viewport(), Qt::LeftButton, {}, p);
            EXPECT_EQ(w().Label_mousePos->text(), before) << p.x() << "," << p.y();
            EXPECT_TRUE(messages.isEmpty()) << messages.join('\n').toStdString();
        }
        EXPECT_GT(checked, 0) << "the picture fills the view: no margin to try";
    }
    // On the picture itself the pointer is reported as before.
    QTest::mouseMove(w().ScrollBox_capImg->viewport(), QPoint(20, 20));
    EXPECT_TRUE(w().Label_mousePos->text().startsWith(QStringLiteral("X:")));
}

TEST_F(NewUserTest, APickWithTheStretchOnMeasuresTheFrameOfTheLastHandOver) {
    start();
    ASSERT_NO_FATAL_FAILURE(driveTo(2));
    showStars({{kPoleStarX, kPoleStarY}});
    // A capture loop that has handed over this frame with the stretch on...
    struct Restore {
        ~Restore() {
            g_threadRunning = false;
            g_stretchOn = false;
        }
    } restore;
    g_threadRunning = true;
    g_stretchOn = true;
    RenderLiveView();
    // ...and now writes its next frame (here: an empty one) while the user double-clicks.
    g_frameImage.setTo(0);
    doubleClickImage({kPoleStarX, kPoleStarY});
    EXPECT_FALSE(messages.contains(kPickFailed)) << "measured on the frame being written";
    EXPECT_TRUE(w().Img_Mask->isVisible());
}

} // namespace
