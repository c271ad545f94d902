// The capture thread of one connection: configures the camera, runs the live
// loop (Execute), hands each frame to the user-interface thread for display and
// runs the per-frame reference-star tracking of the monitor mode.
//
// Created by the connection, started once, and deleted when its loop has ended
// (camera/CaptureControl.h starts and stops it from the user-interface thread).
// A test may run Execute on a thread of its own with a hand-over of its own.
#pragma once

#include "app/Mystructs.h"
#include "astro/PoleCoor.h"
#include "astro/Refraction.h"
#include "astro/SkyInImage.h"
#include "astro/StarData.h"

#include "camera/UiHandOver.h"
#include "core/Clock.h"

#include <QThread>

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>

class DisplayThread : public QThread {
    Q_OBJECT

public:
    // Runs a display routine on the user-interface thread while the loop waits;
    // false when a stop request came first and the routine did not run.
    using HandOver = std::function<bool(UiHandOver::Routine)>;

    DisplayThread();                           // hands over through a queued call
    explicit DisplayThread(HandOver handOver); // a hand-over of the caller's own
    ~DisplayThread() override;

    // The live loop.
    void Execute();

    // The terminate request: the loop ends before its next pass; a wait for a
    // frame or for a hand-over that has not started ends at once.
    void RequestStop();
    bool StopRequested() const;
    // The loop has ended (set as the last step of Execute).
    bool LoopEnded() const;
    // Waits until the loop has ended, serving its pending hand-overs meanwhile.
    void WaitLoopEnded();
    // How many live loops run in the process at this moment (Execute entered, not left).
    static int RunningLoops();
    // How many frames the live loops of the process have received so far.
    static std::uint64_t FramesReceived();

    // ---- tracking (runs on this thread, once per frame) ----------------------------
    void TrackRefStars();

    // Setters used by the workflow on the user-interface thread. Negative
    // positions and radii are stored as 0.
    void SetRefStarA(double x, double y);
    void SetRefStarB(double x, double y);
    void SetCirCenter(int radius, double x, double y);
    void SetEptNStar(double x, double y);
    // The active template's angles and the side of A-B its pole lies on
    // (SelectTemplate; PoleSideOf, 0 = unknown) and the style word whose colours
    // the close-up uses (the style switch). A new thread starts with the values of
    // g_angleBAP, g_angleABP, the active template's side and g_uiStyle.
    void SetTemplateAngles(double bap, double abp, int poleSide = 0);
    void SetCloseUpStyle(const QString& style);
    // The template stars of a moment (SkyOfMomentAt); on every frame the tracker
    // turns them to the frame's moment at the site (SkyOfMomentAdvanced).
    void SetSkyOfMoment(const SkyOfMoment& sky);
    // The clock the frames' moments are read from (the window's); the real time
    // until one is given. Any thread.
    void SetClock(std::shared_ptr<const Clock> clock);
    // The clock's moment (Clock::UtcSeconds) when the last frame was received; 0
    // before the first. Any thread.
    double LastFrameUtcSeconds() const { return lastFrameUtcSeconds_.load(); }
    // The refraction's model and the air besides pressure and temperature (humidity
    // 0...1, wavelength in micrometres), and whether the user has given the site:
    // without a site the zenith and the pole's altitude are guesses, so nothing is
    // corrected. A new thread starts with ERFA's model, 50 %, 0.55 µm and a site.
    void SetRefractionAir(RefractionModel model, double humidity, double wavelengthUm,
                          bool siteSet);

    // Seeds of the reference stars, the axis centre and the expected pole-star
    // position: written by the setters on the user-interface thread (which may
    // read them there at any time), read by the tracker under inputMutex.
    double refStarAInitX = 0, refStarAInitY = 0, refStarBInitX = 0, refStarBInitY = 0;
    double cirCenterX = 0, cirCenterY = 0;
    int cirRadius = 0;
    double eptNStarX = 0, eptNStarY = 0;
    double trackAngleBAP = g_angleBAP, trackAngleABP = g_angleABP;
    int trackPoleSide = PoleSideOf(g_maskAX, g_maskAY, g_maskBX, g_maskBY, g_maskPX, g_maskPY);
    bool closeUpMono = g_uiStyle == QLatin1String("Mono");
    bool closeUpNight = g_uiStyle == QLatin1String("Night");
    mutable std::mutex inputMutex;

    // Measured by the tracker on this thread; read by the user-interface thread
    // only inside the hand-overs.
    double refStarAX = 0, refStarAY = 0, refStarBX = 0, refStarBY = 0;
    double polarPosX = 0, polarPosY = 0;
    // The pole against the axis centre of the last frame whose pole was found, with
    // the live plate scale and the zenith direction (valid when poleErrorFound).
    bool poleErrorFound = false;
    AltAzError poleError;
    double plateScale = 0; // arcseconds per pixel
    double zenithX = 0, zenithY = 0;

protected:
    void run() override;

private:
    bool LivePass(ZorcamHandle handle);
    // The clock's moment now (under inputMutex for the clock's exchange).
    std::shared_ptr<const Clock> CurrentClock() const;
    bool skySet_ = false; // under inputMutex
    RefractionModel refractionModel_ = RefractionModel::Erfa; // under inputMutex
    double humidity_ = 0.5;
    double wavelengthUm_ = 0.55;
    bool siteSet_ = true;
    SkyOfMoment sky_;
    std::shared_ptr<const Clock> clock_ = std::make_shared<SystemClock>(); // under inputMutex
    std::atomic<double> lastFrameUtcSeconds_{0.0};
    UiHandOver uiHandOver_;
    HandOver handOver_;
    bool freeWhenEnded_ = false; // set and read on the loop's thread only
};
