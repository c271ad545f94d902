// A motorised altitude/azimuth base behind a GRBL-style controller on a serial port:
// every move is one relative jog, the controller is asked for its status five times
// a second, and a stop is the jog cancel.
//
// Usage (on the thread that owns it, the window's; all I/O is event-driven):
//   GrblMotor motor(LoadMotorSettings(SettingsFilePath()));
//   if (!motor.Open()) ... motor.Status().message says why
//   connect(&motor, &GrblMotor::StatusChanged, ...);
//   motor.MoveBy(altArcsec, azArcsec);      // Moving until the controller is Idle again
//   motor.Stop();
//
// The state is Moving from a move until a status report says Idle after the
// controller took the jog ("ok"); Error when it refused it ("error:n"), reports an
// alarm, or stops answering for two seconds; Disconnected when the port is gone.
#pragma once

#include "motor/MotorAxes.h"
#include "motor/MountMotor.h"

#include <QByteArray>
#include <QElapsedTimer>
#include <QObject>
#include <QSerialPort>
#include <QTimer>

class GrblMotor : public QObject, public MountMotor {
    Q_OBJECT
public:
    explicit GrblMotor(const MotorSettings& settings, QObject* parent = nullptr);
    ~GrblMotor() override;

    bool Open();
    void Close();

    bool MoveBy(double altArcsec, double azArcsec) override;
    void Stop() override;
    MotorStatus Status() const override { return status_; }

    // Moves refused before they were sent: larger than this (arcseconds) on an axis.
    static constexpr double kMaxMoveArcsec = 3600.0;

signals:
    void StatusChanged();

private:
    void OnReadyRead();
    void OnLine(const QByteArray& line);
    void Poll();
    void SetState(MotorState state, const QString& message = {});
    bool Send(const QByteArray& bytes);

    MotorSettings settings_;
    MotorMovePlanner planner_;
    QSerialPort port_;
    QTimer poll_;
    QByteArray buffer_;
    MotorStatus status_;
    int unanswered_ = 0;      // jog lines sent without their "ok" or "error"
    bool jogTaken_ = false;   // the last jog was taken: an Idle report ends the move
    bool sawJog_ = false;     // a status report showed the last jog under way
    QElapsedTimer moveSent_;  // since the last jog was sent
    QElapsedTimer lastHeard_; // since the controller last said anything
};
