// Zoom menu, mouse read-out and magnifier, "Save As BMP", and the hidden stretch controls.

#include "DisplayWindowFixture.h"

#include "display/LiveImageView.h"
#include "display/LiveView.h"
#include "display/MagnifierGlass.h"
#include "display/ViewControls.h"

#include <QDir>
#include <QLabel>
#include <QScrollBar>
#include <QSpinBox>
#include <opencv2/imgcodecs.hpp>

#include <cstring>

namespace {

using ViewControlsTest = DisplayWindowTest;

TEST_F(ViewControlsTest, ZoomMenuLogsOnlyARealChange) {
    const struct {
        void (TFormMain::*click)();
        float zoom;
        const char* line; // nullptr: no new line
        QAction* Ui::TFormMain::*checked;
    } steps[] = {
        {&TFormMain::MenuItem_100Click, 1.0f, nullptr, &Ui::TFormMain::MenuItem_100},
        {&TFormMain::MenuItem_75Click, 0.75f, "Zoom 75%", &Ui::TFormMain::MenuItem_75},
        {&TFormMain::MenuItem_75Click, 0.75f, nullptr, &Ui::TFormMain::MenuItem_75},
        {&TFormMain::MenuItem_50Click, 0.5f, "Zoom 50%", &Ui::TFormMain::MenuItem_50},
        {&TFormMain::MenuItem_100Click, 1.0f, "Zoom 100%", &Ui::TFormMain::MenuItem_100},
    };
    ASSERT_FLOAT_EQ(g_zoom, 1.0f);
    for (const auto& s : steps) {
        const QStringList before = ReadLogMessages();
        (windows_->main.*s.click)();
        const QStringList added = ReadLogMessages().mid(before.size());
        if (s.line)
            EXPECT_EQ(added, QStringList{QString::fromLatin1(s.line)});
        else
            EXPECT_TRUE(added.isEmpty()) << added.join(QLatin1Char('|')).toStdString();
        EXPECT_FLOAT_EQ(g_zoom, s.zoom);
        EXPECT_FLOAT_EQ(g_iniFileInfo.factor, s.zoom);
        EXPECT_TRUE((main_->ui->*s.checked)->isChecked());
    }
}

TEST_F(ViewControlsTest, CheckZoomMenuItemPicksTheMatchingItem) {
    const struct {
        float factor;
        QAction* Ui::TFormMain::*item;
    } cases[] = {{0.5f, &Ui::TFormMain::MenuItem_50},  {0.75f, &Ui::TFormMain::MenuItem_75},
                 {1.0f, &Ui::TFormMain::MenuItem_100}, {0.6f, &Ui::TFormMain::MenuItem_100},
                 {0.5f, &Ui::TFormMain::MenuItem_50},  {2.0f, &Ui::TFormMain::MenuItem_100}};
    for (const auto& c : cases) {
        main_->CheckZoomMenuItem(c.factor);
        EXPECT_TRUE((main_->ui->*c.item)->isChecked()) << c.factor;
    }
}

TEST_F(ViewControlsTest, MouseReadOutAndMagnifierOnceACameraWasOpened) {
    main_->Img_capMouseMove(QPointF(640, 480));
    EXPECT_TRUE(main_->Label_mousePos->text().isEmpty());
    EXPECT_EQ(main_->MagnifierGlass_roiImg->zoomRegionCenter(), QPointF(30, 30));

    g_cameraOpen = true;
    const struct {
        double x, y;
        const char* text;
        double cx, cy;
    } cases[] = {{5.7, 950.2, "X:5 Y:950", 30, 930},
                 {1270, 12, "X:1270 Y:12", 1250, 30},
                 {640.5, 480.25, "X:640 Y:480", 640.5, 480.25}};
    for (const auto& c : cases) {
        main_->Img_capMouseMove(QPointF(c.x, c.y));
        EXPECT_EQ(main_->Label_mousePos->text().toStdString(), c.text);
        EXPECT_DOUBLE_EQ(main_->mouseX, c.x);
        EXPECT_DOUBLE_EQ(main_->mouseY, c.y);
        EXPECT_EQ(main_->MagnifierGlass_roiImg->zoomRegionCenter(), QPointF(c.cx, c.cy));
    }
    g_cameraOpen = false;
}

// The magnifier paints the view image around its centre, five times enlarged.
TEST_F(ViewControlsTest, MagnifierShowsTheRegionAroundTheMouse) {
    g_frameImage.setTo(0);
    g_frameImage(cv::Rect(600, 400, 1, 1)).setTo(255); // one bright pixel
    RenderLiveView();
    ShowLiveView();
    g_cameraOpen = true;
    main_->Img_capMouseMove(QPointF(600.5, 400.5));
    g_cameraOpen = false;
    const QImage glass = main_->MagnifierGlass_roiImg->grab().toImage();
    ASSERT_EQ(glass.size(), QSize(150, 150));
    EXPECT_EQ(qGray(glass.pixel(75, 75)), 255);
    EXPECT_EQ(qGray(glass.pixel(75, 85)), 0); // two source pixels below
    EXPECT_EQ(qGray(glass.pixel(5, 5)), 0);
}

TEST_F(ViewControlsTest, ScrollingKeepsTheMagnifierAtTheVisibleTopLeft) {
    main_->resize(600, 400);
    g_zoom = 1.0f;
    RenderLiveView();
    ShowLiveView();
    main_->ScrollBox_capImg->horizontalScrollBar()->setValue(200);
    main_->ScrollBox_capImg->verticalScrollBar()->setValue(100);
    EXPECT_EQ(main_->MagnifierGlass_roiImg->pos(), QPoint(0, 0));
    EXPECT_EQ(main_->MagnifierGlass_roiImg->parentWidget(), main_->ScrollBox_capImg->viewport());
}

class SaveBmpTest : public DisplayWindowTest {
protected:
    void TearDown() override {
        SetSaveFileChooserForTesting({});
        g_stretchOn = false;
        ClearOverlayFlags();
        DisplayWindowTest::TearDown();
    }
    void Choose(const QString& name) {
        SetSaveFileChooserForTesting([name](QWidget*) { return name; });
    }
    static void FillReceiveBuffer(int seed) {
        for (std::size_t i = 0; i < 1280u * 960u; ++i)
            g_liveBuffer[i] = static_cast<unsigned char>((i * 13 + seed) % 251);
    }
};

TEST_F(SaveBmpTest, SavesTheFrameAsDeliveredAndAppendsTheExtension) {
    FillReceiveBuffer(1);
    cv::Mat delivered(960, 1280, CV_8UC1, g_liveBuffer);
    delivered = delivered.clone();
    // What the view shows differs: stretched and marked.
    g_frameImage.setTo(255);
    g_showRefStarA = true;
    RenderLiveView();     // the hand-over of this frame
    FillReceiveBuffer(7); // the camera's next fill, not handed over yet

    const QString frame = folders_.filePath(QStringLiteral("frame"));
    Choose(frame);
    main_->MenuItem_saveClick();
    ASSERT_TRUE(QFile::exists(frame + QStringLiteral(".bmp")));
    // Picking the existing file frame.bmp writes frame.bmp.bmp.
    Choose(frame + QStringLiteral(".bmp"));
    main_->MenuItem_saveClick();
    ASSERT_TRUE(QFile::exists(frame + QStringLiteral(".bmp.bmp")));

    for (const QString& path :
         {frame + QStringLiteral(".bmp"), frame + QStringLiteral(".bmp.bmp")}) {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        const QByteArray bytes = file.readAll();
        ASSERT_GT(bytes.size(), 54);
        EXPECT_EQ(bytes.left(2), QByteArray("BM"));
        qint32 width = 0, height = 0, compression = -1;
        qint16 bits = 0;
        const std::vector<char> header(bytes.begin(), bytes.begin() + 54);
        std::memcpy(&width, header.data() + 18, 4);
        std::memcpy(&height, header.data() + 22, 4);
        std::memcpy(&bits, header.data() + 28, 2);
        std::memcpy(&compression, header.data() + 30, 4);
        EXPECT_EQ(width, 1280);
        EXPECT_EQ(std::abs(height), 960);
        EXPECT_EQ(bits, 8);
        EXPECT_EQ(compression, 0);
        const cv::Mat back =
            cv::imread(QFile::encodeName(path).toStdString(), cv::IMREAD_UNCHANGED);
        ASSERT_EQ(back.type(), CV_8UC1);
        EXPECT_EQ(cv::norm(back, delivered, cv::NORM_INF), 0.0);
    }
}

TEST_F(SaveBmpTest, BeforeAnyFrameTheSaveIsBlack) {
    const QString path = folders_.filePath(QStringLiteral("none"));
    Choose(path);
    main_->MenuItem_saveClick();
    const cv::Mat back = cv::imread(QFile::encodeName(path + QStringLiteral(".bmp")).toStdString(),
                                    cv::IMREAD_UNCHANGED);
    ASSERT_FALSE(back.empty());
    EXPECT_EQ(back.size(), cv::Size(1280, 960));
}

TEST_F(SaveBmpTest, CancelWritesNothingAndAFailedWriteIsLogged) {
    Choose(QString());
    main_->MenuItem_saveClick();
    EXPECT_EQ(QDir(folders_.path()).entryList({QStringLiteral("*.bmp")}, QDir::Files).size(), 0);

    const QString bad = folders_.filePath(QStringLiteral("no-such-folder/frame"));
    Choose(bad);
    main_->MenuItem_saveClick();
    const QStringList lines = ReadRawLogLines();
    const auto hit = std::find_if(lines.begin(), lines.end(), [&](const QString& l) {
        return l.contains(QStringLiteral("[Error]")) && l.contains(bad + QStringLiteral(".bmp"));
    });
    EXPECT_NE(hit, lines.end());
}

TEST_F(ViewControlsTest, StretchControlsAreHiddenAndDriveTheLevels) {
#ifndef ZW_DEVELOPER_STRETCH
    EXPECT_FALSE(main_->ui->MenuItem_stretch->isVisible());
    EXPECT_FALSE(main_->SpinBox1->isVisible());
    EXPECT_FALSE(main_->SpinBox2->isVisible());
#endif
    EXPECT_FALSE(g_stretchOn);
    main_->ui->MenuItem_stretch->trigger();
    EXPECT_TRUE(g_stretchOn);
    main_->ui->MenuItem_stretch->trigger();
    EXPECT_FALSE(g_stretchOn);
    main_->SpinBox1->setValue(20);
    main_->SpinBox2->setValue(180);
    EXPECT_EQ(g_blackLevel, 20);
    EXPECT_EQ(g_whiteLevel, 180);
    main_->SpinBox1->setValue(0);
    main_->SpinBox2->setValue(255);
}

} // namespace
