// The per-frame display routines on the real window: the marks reach the view
// bitmap and the screen, the zoom scales the view, and the close-up and its
// read-outs are shown.

#include "DisplayWindowFixture.h"

#include "camera/DisplayThread.h"
#include "display/LiveImageView.h"
#include "display/LiveView.h"

#include <QGraphicsScene>
#include <QLabel>
#include <opencv2/imgproc.hpp>

namespace {

class LiveViewTest : public DisplayWindowTest {
protected:
    void SetUp() override {
        DisplayWindowTest::SetUp();
        thread_ = std::make_unique<DisplayThread>();
        g_displayThread = thread_.get();
        g_frameImage.setTo(40);
        g_viewUpdatePending = false;
    }
    void TearDown() override {
        ClearOverlayFlags();
        g_displayThread = nullptr;
        thread_.reset();
        DisplayWindowTest::TearDown();
    }
    std::unique_ptr<DisplayThread> thread_;
};

TEST_F(LiveViewTest, MarksReachTheViewBitmapInTheStyleColours) {
    const struct {
        const char* style;
        QRgb axis, pole;
    } cases[] = {{"Color", qRgb(255, 0, 0), qRgb(0, 255, 0)},
                 {"Mono", qRgb(248, 248, 255), qRgb(248, 248, 255)},
                 {"", qRgb(255, 0, 0), qRgb(0, 255, 0)}};
    thread_->SetCirCenter(20, 100.7, 120.2);
    thread_->polarPosX = 200.2;
    thread_->polarPosY = 120.9;
    g_showAxisMark = true;
    g_monitorPole = true;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.style);
        g_uiStyle = QString::fromLatin1(c.style);
        RenderLiveView();
        EXPECT_TRUE(g_viewUpdatePending);
        EXPECT_EQ(g_viewBitmap.size(), QSize(1280, 960));
        EXPECT_EQ(g_viewBitmap.pixel(96, 120), c.axis); // tick at trunc(100.7 - 4)
        EXPECT_EQ(g_viewBitmap.pixel(203, 120), c.pole);
        EXPECT_EQ(g_viewBitmap.pixel(600, 600), qRgb(40, 40, 40)); // the frame itself
        EXPECT_EQ(qAlpha(g_viewBitmap.pixel(600, 600)), 255);
    }
    // The colour copy carries the marks; the grey frame does not.
    EXPECT_EQ(g_frameImage.at<uchar>(120, 96), 40);
}

TEST_F(LiveViewTest, ARenderedFrameIsWhatTheViewShows) {
    g_zoom = 1.0f;
    cv::randu(g_frameImage, 0, 200);
    g_showRefStarA = true;
    // Away from the magnifier glass in the viewport's top-left corner.
    thread_->refStarAX = 300;
    thread_->refStarAY = 260;
    RenderLiveView();
    ShowLiveView();
    QWidget* viewport = main_->ScrollBox_capImg->viewport();
    const QPoint origin = main_->ScrollBox_capImg->mapFromScene(QPointF(0, 0));
    const QImage shown = viewport->grab().toImage();

    ASSERT_GT(shown.width(), 400);
    ASSERT_GT(shown.height(), 350);
    for (QPoint p : {QPoint(280, 270), QPoint(297, 260), QPoint(390, 340), QPoint(200, 199)})
        EXPECT_EQ(shown.pixel(p + origin), g_viewBitmap.pixel(p)) << p.x() << "," << p.y();
    EXPECT_EQ(shown.pixel(QPoint(280, 270) + origin), qRgb(169, 169, 169)); // star A's box
}

TEST_F(LiveViewTest, ZoomScalesTheViewAndRescalesOverlaysOnlyWhenItChanged) {
    g_zoom = 0.5f;
    g_appliedZoom = 1.0f;
    RenderLiveView();
    ShowLiveView();
    EXPECT_DOUBLE_EQ(main_->Img_cap->scale(), 0.5);
    EXPECT_DOUBLE_EQ(main_->Img_Mask->scale(), 0.5);
    EXPECT_EQ(main_->ui->Image_rotateDirect->geometry(), QRect(10, 55, 119, 86));
    EXPECT_FLOAT_EQ(g_appliedZoom, 0.5f);
    EXPECT_EQ(main_->Img_cap->scene()->sceneRect(), QRectF(0, 0, 640, 480));

    // Same zoom on the next frame: the overlays are left as they are.
    main_->ui->Image_rotateDirect->setGeometry(1, 2, 3, 4);
    main_->Img_Mask->setScale(0.9);
    ShowLiveView();
    EXPECT_EQ(main_->ui->Image_rotateDirect->geometry(), QRect(1, 2, 3, 4));
    EXPECT_DOUBLE_EQ(main_->Img_Mask->scale(), 0.9);
    EXPECT_DOUBLE_EQ(main_->Img_cap->scale(), 0.5);
}

TEST_F(LiveViewTest, PoleViewShowsTheCloseUpAndTruncatedReadOuts) {
    thread_->refStarAX = -12.6;
    thread_->refStarAY = 35.1;
    thread_->refStarBX = 99.99;
    thread_->refStarBY = 640.7;
    thread_->polarPosX = 479.2;
    thread_->polarPosY = -0.7;
    g_zoomCrop.setTo(cv::Scalar(10, 20, 30));
    CopyImageToBitmap(g_zoomCrop, g_zoomBitmap);
    ShowPoleView();
    EXPECT_EQ(main_->ui->Label_starA_baryPos->text(), QStringLiteral("(-12,35)"));
    EXPECT_EQ(main_->ui->Label_starB_baryPos->text(), QStringLiteral("(99,640)"));
    EXPECT_EQ(main_->ui->Label_polarPos->text(), QStringLiteral("(479,0)"));
    const QImage shown = main_->ui->Image_polarCenter->pixmap().toImage();
    EXPECT_EQ(shown.size(), QSize(200, 200));
    EXPECT_EQ(shown.pixel(100, 100), qRgb(30, 20, 10));
}

TEST(CopyImageToBitmap, CopiesBgrIntoAnOpaqueBitmapOfTheImageSize) {
    cv::Mat image(200, 200, CV_8UC3);
    cv::randu(image, 0, 256);
    QImage bitmap; // none yet
    CopyImageToBitmap(image, bitmap);
    ASSERT_EQ(bitmap.size(), QSize(200, 200));
    for (QPoint p : {QPoint(0, 0), QPoint(199, 199), QPoint(17, 123)}) {
        const cv::Vec3b bgr = image.at<cv::Vec3b>(p.y(), p.x());
        EXPECT_EQ(bitmap.pixel(p), qRgba(bgr[2], bgr[1], bgr[0], 255));
    }
    // A bitmap of another size is resized to the image.
    QImage wrong(10, 10, QImage::Format_RGB32);
    CopyImageToBitmap(image, wrong);
    EXPECT_EQ(wrong.size(), QSize(200, 200));
    // Nothing to copy: the bitmap stays as it is.
    QImage kept(5, 5, QImage::Format_RGB32);
    kept.fill(Qt::red);
    CopyImageToBitmap(cv::Mat(), kept);
    CopyImageToBitmap(cv::Mat(4, 4, CV_8UC1, cv::Scalar(0)), kept);
    EXPECT_EQ(kept.size(), QSize(5, 5));
    EXPECT_EQ(kept.pixel(2, 2), qRgb(255, 0, 0));
}

class SavedZoomTest : public DisplayWindowTest {
protected:
    QString SettingsText() const override { return QStringLiteral("[ZOOM]\nfactor=0.6\n"); }
};

TEST_F(SavedZoomTest, AnUnlistedSavedZoomScalesTheViewAndChecks100) {
    EXPECT_FLOAT_EQ(g_zoom, 0.6f);
    RenderLiveView();
    ShowLiveView();
    EXPECT_NEAR(main_->Img_cap->scale(), 0.6, 1e-6);
    main_->CheckZoomMenuItem(g_zoom);
    EXPECT_TRUE(main_->ui->MenuItem_100->isChecked());
    // Choosing 100 % afterwards applies 1.0.
    main_->MenuItem_100Click();
    EXPECT_FLOAT_EQ(g_zoom, 1.0f);
    EXPECT_TRUE(ReadLogMessages().contains(QStringLiteral("Zoom 100%")));
    ShowLiveView();
    EXPECT_DOUBLE_EQ(main_->Img_cap->scale(), 1.0);
}

} // namespace
