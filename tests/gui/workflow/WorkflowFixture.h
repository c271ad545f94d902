// The four windows as the program makes them, "connected" without a camera: the
// frame is a synthetic star field drawn by the test into g_frameImage, and a
// capture-thread object that never runs receives the setters' values.
//
//   start();                       // windows shown, connected, step 1
//   showStars({{640, 480}});       // the current frame: these stars on black
//   driveTo(Wizard::ValidateCenter);   // through the steps as a user would
#pragma once

#include "app/AppPaths.h"
#include "app/Expander.h"
#include "app/MainFormUnit.h"
#include "astro/StarData.h"
#include "camera/DisplayThread.h"
#include "display/LiveImageView.h"
#include "i18n/TextRecords.h"
#include "support/LogReading.h"
#include "support/ProgramSetUp.h"
#include "ui_FormMain.h"
#include "workflow/WizardSteps.h"

#include <QFile>
#include <QPushButton>
#include <QSlider>
#include <QTest>
#include <gtest/gtest.h>
#include <opencv2/imgproc.hpp>

#include <cmath>
#include <memory>
#include <vector>

class WorkflowTest : public ::testing::Test {
protected:
    // The synthetic sky: star B (the pole star) and the RA axis the three picks circle.
    static constexpr double kPoleStarX = 640, kPoleStarY = 480;
    static constexpr double kAxisX = 600, kAxisY = 500, kPickRadius = 150;

    virtual QByteArray SettingsText() const { return {}; }

    void SetUp() override {
        ASSERT_TRUE(folders_.isValid());
        if (!SettingsText().isEmpty()) {
            QFile ini(SettingsFilePath());
            ASSERT_TRUE(ini.open(QIODevice::WriteOnly));
            ini.write(SettingsText());
        }
        g_uiStyle = QStringLiteral("Color");
        g_cameraOpen = false;
        g_connected = false;
        ClearOverlayFlags();
        windows_ = std::make_unique<ProgramWindows>();
        main_ = &windows_->main;
        trace_ = &windows_->trace;
    }

    void TearDown() override {
        if (g_displayThread == thread_.get())
            g_displayThread = nullptr;
        thread_.reset();
        main_ = nullptr;
        trace_ = nullptr;
        windows_.reset();
        g_cameraOpen = false;
        g_connected = false;
        ClearOverlayFlags();
    }

    // What a successful connection does to the workflow, with a tracker that never runs.
    void start() {
        thread_ = std::make_unique<DisplayThread>([](UiHandOver::Routine) { return false; });
        g_displayThread = thread_.get();
        g_cameraOpen = true;
        g_connected = true;
        w().SetConnectedUi(true);
        w().wizardStep = 1;
        w().ShowTip(1);
        w().PrepareTemplates();
        showStars({});
        messages.clear(); // start-up's own messages (a camera library not found) are not ours
    }

    TFormMain& w() { return *main_; }
    Ui::TFormMain& ui() { return *main_->ui; }
    DisplayThread& tracker() { return *thread_; }

    // The current frame: black with Gaussian stars (peak 200, sigma 1.5 px).
    void showStars(const std::vector<cv::Point2d>& stars) {
        g_frameImage.setTo(0);
        for (const cv::Point2d& s : stars) {
            for (int y = int(s.y) - 8; y <= int(s.y) + 8; ++y)
                for (int x = int(s.x) - 8; x <= int(s.x) + 8; ++x) {
                    if (x < 0 || y < 0 || x >= g_frameImage.cols || y >= g_frameImage.rows)
                        continue;
                    const double r2 = (x - s.x) * (x - s.x) + (y - s.y) * (y - s.y);
                    const double v = 200.0 * std::exp(-r2 / (2 * 1.5 * 1.5));
                    uchar& p = g_frameImage.at<uchar>(y, x);
                    p = cv::saturate_cast<uchar>(p + v);
                }
        }
    }

    // A double-click on the live image at an image position.
    void doubleClickImage(QPointF imagePos) {
        LiveImageView* view = w().ScrollBox_capImg;
        const QPointF scenePos = w().Img_cap->mapToScene(imagePos);
        view->ensureVisible(QRectF(scenePos, QSizeF(1, 1)), 20, 20);
        QTest::mouseDClick(view->viewport(), Qt::LeftButton, {}, view->mapFromScene(scenePos));
    }

    // Clicks an answer button the way a user can: only when it is shown.
    void clickTip(QPushButton* button) {
        ASSERT_TRUE(button->isVisible())
            << button->objectName().toStdString() << " in step " << w().wizardStep;
        QTest::mouseClick(button, Qt::LeftButton);
    }
    void clickBtn1() { clickTip(ui().Btn1_tip); }
    void clickBtn2() { clickTip(ui().Btn2_tip); }

    // The i-th of the three picks: the same star turned about the axis by 40 degrees each time.
    static cv::Point2d pick(int i) {
        const double a = i * 40.0 * M_PI / 180.0;
        return {kAxisX + kPickRadius * std::cos(a), kAxisY + kPickRadius * std::sin(a)};
    }

    // Where star A of the active template lies when B is on the pole star and the
    // template is turned by `angle` degrees clockwise.
    static cv::Point2d templateStarA(double angle) {
        const double t = angle * M_PI / 180.0;
        const double dx = g_maskAX - g_maskBX, dy = g_maskAY - g_maskBY;
        return {kPoleStarX + dx * std::cos(t) - dy * std::sin(t),
                kPoleStarY + dx * std::sin(t) + dy * std::cos(t)};
    }

    // One step forward on the synthetic sky, as a user would take it.
    void advance() {
        const cv::Point2d b(kPoleStarX, kPoleStarY);
        switch (w().wizardStep) {
        case 2:
            showStars({b});
            doubleClickImage({b.x, b.y});
            clickBtn2();
            break;
        case 3:
        case 5:
        case 7: {
            const cv::Point2d p = pick((w().wizardStep - 3) / 2);
            showStars({p});
            doubleClickImage({p.x, p.y});
            break;
        }
        case 9:
            showStars({b, templateStarA(0)});
            doubleClickImage({b.x, b.y});
            clickBtn2();
            break;
        case 11:
            showStars({b, templateStarA(0)});
            doubleClickImage({b.x, b.y});
            clickBtn2();
            break;
        case 12:
            QTest::mouseClick(ui().Btn_calcPolarAxis, Qt::LeftButton);
            break;
        default:
            clickBtn2();
            break;
        }
    }

    // Drives the wizard from its step to `target`.
    void driveTo(int target) {
        while (w().wizardStep < target) {
            const int before = w().wizardStep;
            advance();
            ASSERT_GT(w().wizardStep, before) << "stuck in step " << before;
        }
        ASSERT_EQ(w().wizardStep, target);
    }

    // From step 3: the same star picked three times on one horizontal line, with
    // "Finished" after the first two picks, so no circle goes through them.
    void pickThreeOnALine() {
        for (double x : {500.0, 600.0, 700.0}) {
            showStars({{x, 400}});
            doubleClickImage({x, 400});
            if (w().wizardStep == 4 || w().wizardStep == 6)
                clickBtn2();
        }
    }

    bool panelShown() { return ui().Rectangle_tipMsg->isVisible(); }
    static bool open(Expander* e) { return e->isExpanded() && e->isEnabled(); }
    static bool closed(Expander* e) { return !e->isExpanded() && !e->isEnabled(); }
    static bool lit(QLabel* circle) { return circle->property("recorded").toBool(); }

    TestFolders folders_;
    RecordedMessages boxes_{RecordedMessages::KindAndText};
    QStringList& messages = boxes_.shown; // "kind: text" of the boxes shown
    bool& answerYes = boxes_.answerYes;   // the answer to every question
    std::unique_ptr<ProgramWindows> windows_;
    TFormMain* main_ = nullptr;
    TFormTrace* trace_ = nullptr;
    std::unique_ptr<DisplayThread> thread_;
};
