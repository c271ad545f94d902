// The capture thread of one connection: configures the camera, runs the live
// loop (Execute), hands each frame to the user-interface thread for display and
// runs the per-frame reference-star tracking of the monitor mode.
//
// Created by the connection, started once, and deleted when its loop has ended.
#pragma once

#include <QThread>

#include <mutex>

class DisplayThread : public QThread {
    Q_OBJECT

public:
    DisplayThread();
    ~DisplayThread() override;

    // The live loop.
    void Execute();

    // ---- tracking (runs on this thread, once per frame) ----------------------------
    void TrackRefStars();

    // Setters used by the workflow on the user-interface thread.
    void SetRefStarA(double x, double y);
    void SetRefStarB(double x, double y);
    void SetCirCenter(int radius, double x, double y);
    void SetEptNStar(double x, double y);

    // Seeds of the reference stars, the axis centre and the expected pole-star
    // position: written by the setters, read by the tracker under inputMutex.
    double refStarAInitX = 0, refStarAInitY = 0, refStarBInitX = 0, refStarBInitY = 0;
    double cirCenterX = 0, cirCenterY = 0;
    int cirRadius = 0;
    double eptNStarX = 0, eptNStarY = 0;
    mutable std::mutex inputMutex;

    // Measured by the tracker on this thread; read by the user-interface thread
    // only inside the hand-overs.
    double refStarAX = 0, refStarAY = 0, refStarBX = 0, refStarBY = 0;
    double polarPosX = 0, polarPosY = 0;

protected:
    void run() override;
};
