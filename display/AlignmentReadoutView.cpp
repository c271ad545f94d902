// The window's side of the monitor mode's read-out: it gathers what the read-out
// needs, forwards the frame's error and shows, hands on and logs what comes back.
#include "app/MainFormUnit.h"
#include "camera/DisplayThread.h"
#include "core/Log.h"
#include "dialogs/AtmRefFormUnit.h"
#include "display/NightStyle.h"
#include "i18n/TextRecords.h"
#include "ui_FormMain.h"

namespace {

MonitorLook LookNow() {
    const MENUS& m = g_menuTexts;
    auto word = [](const QString& text, const char* english) {
        return text.isEmpty() ? QString::fromLatin1(english) : text;
    };
    MonitorLook look;
    look.words =
        ReadoutWords{word(m.ReadoutError, "Error"),     word(m.ReadoutAltitude, "Altitude"),
                     word(m.ReadoutAzimuth, "Azimuth"), word(m.ReadoutRaise, "raise"),
                     word(m.ReadoutLower, "lower"),     word(m.ReadoutEast, "turn east"),
                     word(m.ReadoutWest, "turn west"),  word(m.ReadoutScale, "Scale")};
    look.noSite = word(m.ReadoutNoSite,
                       "No directions: the site is not set (Tools > Astronomical Refraction).");
    look.night = IsNightStyle(g_uiStyle);
    return look;
}

} // namespace

MonitorSite TFormMain::ReadoutSite() const {
    return MonitorSite{g_iniFileInfo.siteSet, curRegion == QLatin1String("S")
                                                  ? SkyHemisphere::South
                                                  : SkyHemisphere::North};
}

void TFormMain::ShowAlignmentReadout(const DisplayThread& thread) {
    if (!thread.poleErrorFound)
        return;
    monitor_.SetSite(ReadoutSite());
    monitor_.SetLook(LookNow());
    const MonitorUpdate u =
        monitor_.Update(WindowClock().Seconds(), thread.poleError, thread.plateScale);
    // The guidance hears exactly what the read-out shows.
    UpdateGuidance(u.guidance);
    if (!u.logLine.isEmpty())
        WriteLog(QStringLiteral("Info"), u.logLine);
    ui->Label_alignReadout->setText(u.text);
}

void TFormMain::ClearAlignmentReadout() {
    monitor_.Reset();
    UpdateGuidance(GuidanceInput{});
    ui->Label_alignReadout->clear();
}

void TFormMain::AskForSiteOnce() {
    if (siteAsked_ || g_iniFileInfo.siteSet || !FormAtmRef)
        return;
    siteAsked_ = true;
    FormAtmRef->AskForSite();
}
