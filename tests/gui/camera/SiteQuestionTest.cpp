// The site: asked for at the first Connect on a fresh settings file, and what the
// read-out says with it, without it and at a southern site.
#include "MainWindowFixture.h"

#include "app/Settings.h"
#include "camera/DisplayThread.h"
#include "dialogs/AtmRefFormUnit.h"
#include "ui_AtmRefFormUnit.h"
#include "ui_FormMain.h"

#include <QLabel>
#include <QPushButton>
#include <QTest>

namespace {

class SiteQuestionTest : public MainWindowTest {
protected:
    TFormAtmRef& Window() { return windows->atmRef; }
    QString ReadoutText() { return Find<QLabel>("Label_alignReadout")->text(); }
    // One tracked frame whose pole lies 70" east and 45" below the axis.
    void TrackedFrame() {
        DisplayThread t;
        t.poleErrorFound = true;
        t.poleError = AltAzError{std::hypot(45.0, 70.0), -45.0, 70.0};
        t.plateScale = 30.5;
        Main().ShowAlignmentReadout(t);
    }
    void Type(QDoubleSpinBox* box, const char* text) {
        box->setFocus();
        box->selectAll();
        QTest::keyClicks(box, QString::fromLatin1(text));
        QTest::keyClick(box, Qt::Key_Return);
    }
};

TEST_F(SiteQuestionTest, TheFirstConnectAsksOnceAndACancelLeavesTheReadoutWithoutDirections) {
    Start();
    ASSERT_FALSE(g_iniFileInfo.siteSet);
    ToggleConnection();
    ASSERT_TRUE(g_connected);
    EXPECT_TRUE(Window().isVisible());
    EXPECT_TRUE(Window().Asking());
    EXPECT_TRUE(Window().ui->Btn_siteOk->isVisible());

    QTest::mouseClick(Window().ui->Btn_siteCancel, Qt::LeftButton);
    EXPECT_FALSE(Window().isVisible());
    EXPECT_FALSE(g_iniFileInfo.siteSet);

    TrackedFrame();
    EXPECT_TRUE(ReadoutText().contains(QString::fromUtf8("1′ 23″"))); // the total error
    EXPECT_TRUE(ReadoutText().contains(QStringLiteral("the site is not set")));
    EXPECT_FALSE(ReadoutText().contains(QStringLiteral("Azimuth")));
    EXPECT_FALSE(Main().AlignmentReadoutNow().azimuth != AzimuthAdvice::None);

    // Asked once a run: the next Connect goes on without the question.
    ToggleConnection();
    ToggleConnection();
    EXPECT_FALSE(Window().isVisible());
}

TEST_F(SiteQuestionTest, ASouthernSiteGivenInTheQuestionShowsTheSouthernArrows) {
    Start();
    ToggleConnection();
    ASSERT_TRUE(Window().Asking());
    Type(Window().ui->SpinBox_latitude, "-33.9");
    Type(Window().ui->SpinBox_longitude, "18.4");
    Type(Window().ui->SpinBox_elevation, "1500");
    EXPECT_FALSE(g_iniFileInfo.siteSet); // only the button sets it while asking
    EXPECT_DOUBLE_EQ(g_iniFileInfo.latitude, -33.9);
    EXPECT_NEAR(g_iniFileInfo.P, 84.6, 0.05); // the standard air at 1500 m
    QTest::mouseClick(Window().ui->Btn_siteOk, Qt::LeftButton);
    EXPECT_TRUE(g_iniFileInfo.siteSet);
    EXPECT_FALSE(Window().isVisible());

    // The northern sky chosen at a southern site: the tip says so.
    Main().ShowTip(1);
    EXPECT_TRUE(Main().ui->Text_tip->text().contains(QStringLiteral("southern hemisphere")));

    Main().ui->RadioBtn_south->click();
    Main().ShowTip(1);
    EXPECT_FALSE(Main().ui->Text_tip->text().contains(QStringLiteral("southern hemisphere")));
    TrackedFrame();
    // Facing the south pole east is on the left.
    EXPECT_TRUE(ReadoutText().contains(QString::fromUtf8("Azimuth +1′ 10″ ← turn east")))
        << ReadoutText().toStdString();
    EXPECT_TRUE(ReadoutText().contains(QString::fromUtf8("Altitude −45″ ↓ lower")));

    Main().close();
    windows.reset();
    INIFILEINFO saved;
    ASSERT_TRUE(LoadSettingsFile(folders.settingsFile(), saved));
    EXPECT_TRUE(saved.siteSet);
    EXPECT_DOUBLE_EQ(saved.latitude, -33.9);
    EXPECT_DOUBLE_EQ(saved.elevation, 1500);
}

} // namespace
