// The monitor mode on one frame of the simulated camera, as the capture loop runs it
// after the wizard: the RA axis, the reference stars and the expected place taken
// from the simulator's truth, the sky of a fixed moment handed to the tracker, and
// two frames drawn (the second shows the positions measured on the first). For the
// window tests and the screenshots; the frame must already be in g_frameImage.
//
// Usage:
//   DisplayThread thread;
//   g_displayThread = &thread;
//   TrackOnTruth(thread, truth, g_uiStyle);   // the live view and close-up are drawn
#pragma once

#include "app/Mystructs.h"
#include "astro/StarData.h"
#include "camera/DisplayThread.h"
#include "display/LiveView.h"
#include "zorcam-sim/ZorcamSimTruth.h"

#include "support/HeldClock.h"

#include <QDate>
#include <QString>

#include <cmath>

inline void TrackOnTruth(DisplayThread& t, const ZorcamSimTruth& s, const QString& style) {
    t.SetTemplateAngles(g_angleBAP, g_angleABP);
    t.SetCloseUpStyle(style);
    const int radius = int(std::hypot(s.starBX - s.axisX, s.starBY - s.axisY));
    t.SetCirCenter(radius, s.axisX, s.axisY);
    t.SetRefStarA(s.starAX, s.starAY);
    t.SetRefStarB(s.starBX, s.starBY);
    t.SetEptNStar(s.starBX + s.axisX - s.poleX, s.starBY + s.axisY - s.poleY);
    g_showAxisMark = g_showAxisCircle = g_showEptNStar = true;
    g_monitorPole = g_showRefStarA = g_showRefStarB = true;
    g_ringAngle = 30;

    // The sky of a fixed moment, so the read-out below the close-up has a zenith.
    t.SetClock(ClockHeldAt(QDate(2026, 12, 10)));
    t.SetSkyOfMoment(
        SkyOfMomentAt(*SkyOfDate::At({2026, 12, 10, 0, 0, 0.0}), SkyHemisphere::North, 0.0));

    for (int pass = 0; pass < 2; ++pass) {
        RenderLiveView();
        ShowLiveView();
        g_viewUpdatePending = false;
        t.TrackRefStars();
        if (g_zoomReady) {
            ShowPoleView();
            g_zoomReady = false;
        }
    }
}
