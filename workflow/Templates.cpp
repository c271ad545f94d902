// Template preparation after connecting, and the choice of the active template. The
// template angles are those of the window clock's moment ([STAR_DATA] source=date) or the
// dated data of its date (source=table); a test fixes the moment with a held clock
// (TFormMain::UseClock). The running tracker gets the template stars of the same moment
// and turns them on with the clock.
#include "app/MainFormUnit.h"
#include "ui_FormMain.h"

#include "astro/MaskPole.h"
#include "astro/PoleCoor.h"
#include "astro/StarData.h"
#include "astro/StarDataOfDate.h"
#include "camera/DisplayThread.h"
#include "core/Log.h"
#include "dialogs/AtmRefFormUnit.h"
#include "display/LiveImageView.h"
#include "display/NightStyle.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDate>
#include <QDoubleSpinBox>
#include <QLabel>
#include <QPainter>
#include <QPixmap>
#include <QTimer>

namespace {

// The template angles of the moment are computed again this often while connected.
constexpr int kStarDataRefreshMs = 60 * 1000;

constexpr int kGlassSide = 150;
const QColor kGlassCross(0x00, 0xFF, 0x00);       // ARGB 0xFF00FF00
const QColor kTemplatePoleMark(0x97, 0xF3, 0xFF); // ARGB 0xFF97F3FF

// Which hemisphere's picture the template item shows (item data key).
constexpr int kTemplateRegionKey = 0;

// The magnifier's overlay: a transparent square with a small green cross at its
// centre (in the night style the pole mark's red).
void DrawGlassCross(QImage& glass, const QColor& colour) {
    if (glass.size() != QSize(kGlassSide, kGlassSide) ||
        glass.format() != QImage::Format_ARGB32_Premultiplied)
        glass = QImage(kGlassSide, kGlassSide, QImage::Format_ARGB32_Premultiplied);
    glass.fill(Qt::transparent);
    QPainter painter(&glass);
    painter.setPen(QPen(colour, 1));
    painter.drawLine(67, 75, 83, 75);
    painter.drawLine(75, 67, 75, 83);
}

// A template picture from the resources, ready to be drawn on.
QImage LoadTemplateImage(const QString& name) {
    return QImage(QStringLiteral(":/") + name).convertToFormat(QImage::Format_ARGB32_Premultiplied);
}

// The pole's cross, 5 pixels each way, on a template picture.
void DrawTemplatePole(QImage& image, double poleX, double poleY) {
    QPainter painter(&image);
    painter.setPen(QPen(kTemplatePoleMark, 1));
    painter.drawLine(QPointF(poleX - 5, poleY), QPointF(poleX + 5, poleY));
    painter.drawLine(QPointF(poleX, poleY - 5), QPointF(poleX, poleY + 5));
}

// One hemisphere's template: its picture, its dated star data, its pole.
void PrepareHemisphere(const QString& hemisphere, QImage& bitmap, STARDATA& record,
                       const QDateTime& now) {
    const bool south = hemisphere == QLatin1String("S");
    bitmap = LoadTemplateImage(south ? QStringLiteral("South_Mask_hollow")
                                     : QStringLiteral("North_Mask_hollow"));
    WriteLog(QStringLiteral("Info"), south ? QStringLiteral("Load South Mask Image.")
                                           : QStringLiteral("Load North Mask Image."));
    // The angles of the moment by default; the dated data when chosen, and when the
    // moment cannot be computed.
    const bool ofDate =
        StarDataSourceFromText(g_iniFileInfo.starDataSource) == StarDataSource::Date &&
        LoadStarDataOfDate(hemisphere, record, UtcMomentOf(now));
    if (!ofDate)
        LoadStarData(hemisphere, record, now.date());
    CalcTemplatePole(hemisphere, record); // (0, 0) and logged when it fails
    DrawTemplatePole(bitmap, record.poleX, record.poleY);
}

// The refraction window shows the settings; its change handlers keep the working
// values and the settings in step with it. The settings are copied first: the window's handlers
// write them back while it is being filled (the unit's change converts the pressure shown).
void FillRefractionWindow(const INIFILEINFO info) {
    if (!FormAtmRef)
        return;
    auto spin = [](const char* name) {
        return FormAtmRef->findChild<QDoubleSpinBox*>(QLatin1String(name));
    };
    if (auto* s = spin("SpinBox_latitude"))
        s->setValue(info.latitude);
    if (auto* s = spin("SpinBox_longitude"))
        s->setValue(info.longitude);
    if (auto* c = FormAtmRef->findChild<QComboBox*>(QStringLiteral("ComboBox_pressure")))
        c->setCurrentIndex(info.P_UnitType == 1 ? 1 : 0);
    if (auto* s = spin("SpinBox_P"))
        s->setValue(info.P);
    if (auto* s = spin("SpinBox_T"))
        s->setValue(info.T);
    if (auto* c = FormAtmRef->findChild<QCheckBox*>(QStringLiteral("CheckBox_astroRef")))
        c->setChecked(info.isCorrection);
}

// The active template's pole, stars and angles from one hemisphere's record; a
// running tracker takes the angles from its next frame on.
void ActivateTemplateValues(const STARDATA& d) {
    g_maskPX = d.poleX;
    g_maskPY = d.poleY;
    g_maskAX = d.aX;
    g_maskAY = d.aY;
    g_maskBX = d.bX;
    g_maskBY = d.bY;
    g_angleBAP = d.bap;
    g_angleABP = d.abp;
    // A running tracker takes the new angles from its next frame on.
    if (g_displayThread)
        g_displayThread->SetTemplateAngles(d.bap, d.abp,
                                           PoleSideOf(d.aX, d.aY, d.bX, d.bY, d.poleX, d.poleY));
}

} // namespace

void TFormMain::UseClock(std::shared_ptr<Clock> clock) {
    if (!clock)
        return;
    clock_ = std::move(clock);
    if (g_displayThread)
        g_displayThread->SetClock(clock_);
}

void TFormMain::HandSkyOfMomentToTracker(const QString& region) {
    if (!g_displayThread)
        return;
    const std::optional<SkyOfDate> sky = SkyOfDate::At(UtcMomentOf(clock_->Utc()));
    if (!sky)
        return;
    const SkyHemisphere h =
        region == QLatin1String("S") ? SkyHemisphere::South : SkyHemisphere::North;
    // The tracker turns the sky to each frame's moment at the site.
    g_displayThread->SetSkyOfMoment(SkyOfMomentAt(*sky, h, 0.0));
}

void TFormMain::PrepareTemplates() {
    if (!templatesReady) {
        const QDateTime now = clock_->Utc();
        PrepareHemisphere(QStringLiteral("N"), northMaskBitmap, g_northStarData, now);
        PrepareHemisphere(QStringLiteral("S"), southMaskBitmap, g_southStarData, now);

        SelectTemplate(curRegion);
        HighlightExposureButtons();
        HighlightGainButtons();
        templatesReady = true;
    }

    // Every connection takes up the settings again.
    g_zoom = g_iniFileInfo.factor;
    curRegion = g_iniFileInfo.region;
    recAxisX = g_iniFileInfo.centerX;
    recAxisY = g_iniFileInfo.centerY;
    CheckZoomMenuItem(g_zoom);
    if (recAxisX > 0 && recAxisY > 0)
        g_recordedCenterValid = true;

    ui->Expander_region->setEnabled(true);
    ui->Expander_region->setExpanded(true);
    if (curRegion == QLatin1String("N"))
        ui->RadioBtn_north->setChecked(true);
    else if (curRegion == QLatin1String("S"))
        ui->RadioBtn_south->setChecked(true);

    FillRefractionWindow(g_iniFileInfo);
    KeepStarDataOfDate();
}

void TFormMain::KeepStarDataOfDate() {
    if (StarDataSourceFromText(g_iniFileInfo.starDataSource) != StarDataSource::Date) {
        if (starDataTimer_)
            starDataTimer_->stop();
        return;
    }
    if (!starDataTimer_) {
        starDataTimer_ = new QTimer(this);
        starDataTimer_->setObjectName(QStringLiteral("Timer_starDataOfDate"));
        starDataTimer_->setInterval(kStarDataRefreshMs);
        connect(starDataTimer_, &QTimer::timeout, this, [this] {
            if (g_connected)
                RefreshTemplateAnglesOfDate();
            else
                starDataTimer_->stop();
        });
    }
    RefreshTemplateAnglesOfDate();
    starDataTimer_->start();
}

void TFormMain::RefreshTemplateAnglesOfDate() {
    const UtcMoment now = UtcMomentOf(clock_->Utc());
    const bool north = ::RefreshStarDataOfDate(QStringLiteral("N"), g_northStarData, now);
    const bool south = ::RefreshStarDataOfDate(QStringLiteral("S"), g_southStarData, now);
    if (!north || !south)
        WriteLog(QStringLiteral("Warnning"),
                 QStringLiteral("Star angles of date not computed for ") + UtcMomentText(now));
    ActivateTemplateValues(curRegion == QLatin1String("S") ? g_southStarData : g_northStarData);
    HandSkyOfMomentToTracker(curRegion);
}

void TFormMain::SelectTemplate(const QString& region) {
    const bool south = region == QLatin1String("S");
    ActivateTemplateValues(south ? g_southStarData : g_northStarData);
    HandSkyOfMomentToTracker(region);

    Img_Mask->setData(kTemplateRegionKey, south ? QStringLiteral("S") : QStringLiteral("N"));
    ShowTemplatePictures();
    Img_Mask->setVisible(false);
    ui->MenuItem_showMask->setChecked(false);
}

void TFormMain::ShowTemplatePictures() {
    const bool night = IsNightStyle(g_uiStyle);
    // The magnifier's cross is drawn again only when the style changes its colour.
    const QColor cross = night ? QColorOf(kNightPole) : kGlassCross;
    if (glassBitmap.size() != QSize(kGlassSide, kGlassSide) ||
        glassBitmap.pixelColor(kGlassSide / 2, kGlassSide / 2) != cross) {
        DrawGlassCross(glassBitmap, cross);
        Img_layer_glass->setPixmap(QPixmap::fromImage(glassBitmap));
    }
    const bool south = Img_Mask->data(kTemplateRegionKey).toString() == QLatin1String("S");
    const QImage& picture = south ? southMaskBitmap : northMaskBitmap;
    if (picture.isNull())
        return; // not prepared yet
    // The item takes the picture's own size (800x674 south, 800x800 north).
    Img_Mask->setPixmap(
        QPixmap::fromImage(night ? TintImage(picture, QColorOf(kNightTemplate)) : picture));
}
