#include "camera/DisplayThread.h"

#include "astro/StarDataOfDate.h"
#include "astro/Tracker.h"
#include "display/LiveView.h"

#include <algorithm>
#include <optional>

namespace {

double NotNegative(double v) {
    return v >= 0 ? v : 0.0; // NaN too
}

} // namespace

void DisplayThread::TrackRefStars() {
    if (!g_monitorPole)
        return;

    // What the user-interface thread has set, taken once for the whole frame.
    TrackerInputs in;
    {
        const std::lock_guard<std::mutex> lock(inputMutex);
        in.aSeedX = refStarAInitX;
        in.aSeedY = refStarAInitY;
        in.bSeedX = refStarBInitX;
        in.bSeedY = refStarBInitY;
        in.axisX = cirCenterX;
        in.axisY = cirCenterY;
        in.angleBAP = trackAngleBAP;
        in.angleABP = trackAngleABP;
        in.poleSide = trackPoleSide;
        in.mono = closeUpMono;
        in.night = closeUpNight;
        in.refractionOn = g_refractionOn;
        in.latitude = g_latitude;
        in.pressure = g_pressure;
        in.pressureUnit = g_pressureUnit;
        in.temperature = g_temperature;
        if (skySet_) {
            // The sky of this frame's moment at the site.
            const std::optional<SkyOfMoment> sky =
                SkyOfMomentAdvanced(sky_, UtcMomentOf(clock_->Utc()), g_longitude);
            in.skyKnown = sky.has_value();
            if (sky)
                in.sky = *sky;
        }
    }

    const TrackerResult r = TrackFrame(g_frameImage, in, g_zoomCrop);
    refStarAX = r.aX;
    refStarAY = r.aY;
    refStarBX = r.bX;
    refStarBY = r.bY;
    if (!r.poleFound)
        return; // the previous pole and close-up stay
    polarPosX = r.poleX;
    polarPosY = r.poleY;
    poleErrorFound = r.errorFound;
    poleError = r.error;
    plateScale = r.arcsecPerPixel;
    zenithX = r.zenithX;
    zenithY = r.zenithY;
    CopyImageToBitmap(g_zoomCrop, g_zoomBitmap);
    g_zoomReady = true;
}

void DisplayThread::SetRefStarA(double x, double y) {
    const std::lock_guard<std::mutex> lock(inputMutex);
    refStarAInitX = NotNegative(x);
    refStarAInitY = NotNegative(y);
}

void DisplayThread::SetRefStarB(double x, double y) {
    const std::lock_guard<std::mutex> lock(inputMutex);
    refStarBInitX = NotNegative(x);
    refStarBInitY = NotNegative(y);
}

void DisplayThread::SetCirCenter(int radius, double x, double y) {
    const std::lock_guard<std::mutex> lock(inputMutex);
    cirRadius = std::max(radius, 0);
    cirCenterX = NotNegative(x);
    cirCenterY = NotNegative(y);
}

void DisplayThread::SetEptNStar(double x, double y) {
    const std::lock_guard<std::mutex> lock(inputMutex);
    eptNStarX = NotNegative(x);
    eptNStarY = NotNegative(y);
}

void DisplayThread::SetTemplateAngles(double bap, double abp, int poleSide) {
    const std::lock_guard<std::mutex> lock(inputMutex);
    trackAngleBAP = bap;
    trackAngleABP = abp;
    trackPoleSide = poleSide;
}

void DisplayThread::SetCloseUpStyle(const QString& style) {
    const std::lock_guard<std::mutex> lock(inputMutex);
    closeUpMono = style == QLatin1String("Mono");
    closeUpNight = style == QLatin1String("Night");
}

void DisplayThread::SetSkyOfMoment(const SkyOfMoment& sky) {
    const std::lock_guard<std::mutex> lock(inputMutex);
    sky_ = sky;
    skySet_ = true;
}

void DisplayThread::SetClock(std::shared_ptr<const Clock> clock) {
    if (!clock)
        return;
    const std::lock_guard<std::mutex> lock(inputMutex);
    clock_ = std::move(clock);
}

std::shared_ptr<const Clock> DisplayThread::CurrentClock() const {
    const std::lock_guard<std::mutex> lock(inputMutex);
    return clock_;
}
