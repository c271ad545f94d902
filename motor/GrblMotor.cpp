#include "motor/GrblMotor.h"

#include "core/Log.h"
#include "motor/GrblProtocol.h"

#include <cmath>

namespace {

constexpr int kPollMs = 200;
constexpr qint64 kSilentMs = 2000;

} // namespace

GrblMotor::GrblMotor(const MotorSettings& settings, QObject* parent)
    : QObject(parent), settings_(settings), planner_(settings) {
    poll_.setInterval(kPollMs);
    connect(&poll_, &QTimer::timeout, this, &GrblMotor::Poll);
    connect(&port_, &QSerialPort::readyRead, this, &GrblMotor::OnReadyRead);
    connect(&port_, &QSerialPort::errorOccurred, this, [this](QSerialPort::SerialPortError e) {
        if (e == QSerialPort::ResourceError || e == QSerialPort::PermissionError) {
            const QString why = port_.errorString();
            Close();
            SetState(MotorState::Disconnected, why);
        }
    });
}

GrblMotor::~GrblMotor() {
    Close();
}

bool GrblMotor::Open() {
    Close();
    if (settings_.port.isEmpty()) {
        SetState(MotorState::Disconnected, tr("No serial port is set for the motor."));
        return false;
    }
    port_.setPortName(settings_.port);
    port_.setBaudRate(settings_.baud);
    if (!port_.open(QIODevice::ReadWrite)) {
        SetState(MotorState::Disconnected, tr("The motor's port %1 cannot be opened: %2")
                                               .arg(settings_.port, port_.errorString()));
        WriteLog(QStringLiteral("Error"), QStringLiteral("Motor: opening %1 failed: %2")
                                              .arg(settings_.port, port_.errorString()));
        return false;
    }
    WriteLog(QStringLiteral("Info"), QStringLiteral("Motor: %1 opened.").arg(settings_.port));
    buffer_.clear();
    unanswered_ = 0;
    jogTaken_ = false;
    lastHeard_.start();
    SetState(MotorState::Idle);
    poll_.start();
    Poll();
    return true;
}

void GrblMotor::Close() {
    poll_.stop();
    if (port_.isOpen()) {
        port_.write(QByteArray(1, kGrblJogCancel));
        port_.flush();
        port_.close();
        SetState(MotorState::Disconnected);
    }
}

bool GrblMotor::Send(const QByteArray& bytes) {
    if (!port_.isOpen())
        return false;
    return port_.write(bytes) == bytes.size();
}

bool GrblMotor::MoveBy(double altArcsec, double azArcsec) {
    if (status_.state != MotorState::Idle || !std::isfinite(altArcsec) ||
        !std::isfinite(azArcsec) || std::abs(altArcsec) > kMaxMoveArcsec ||
        std::abs(azArcsec) > kMaxMoveArcsec)
        return false;
    const MotorMove mv = planner_.Plan(altArcsec, azArcsec);
    const QByteArray line = GrblJogLine(
        {{settings_.alt.letter, mv.altMm}, {settings_.az.letter, mv.azMm}}, settings_.feedMmPerMin);
    if (line.isEmpty() || !Send(line))
        return false;
    ++unanswered_;
    jogTaken_ = false;
    sawJog_ = false;
    moveSent_.start();
    SetState(MotorState::Moving);
    return true;
}

void GrblMotor::Stop() {
    if (Send(QByteArray(1, kGrblJogCancel)))
        WriteLog(QStringLiteral("Info"), QStringLiteral("Motor: stop."));
}

void GrblMotor::Poll() {
    if (!port_.isOpen())
        return;
    if (lastHeard_.elapsed() > kSilentMs && status_.state != MotorState::Error) {
        Send(QByteArray(1, kGrblJogCancel));
        SetState(MotorState::Error, tr("The motor controller does not answer."));
    }
    Send(QByteArray(1, kGrblStatusQuery));
}

void GrblMotor::OnReadyRead() {
    buffer_ += port_.readAll();
    // A controller that never ends its lines must not grow the buffer without end.
    if (buffer_.size() > 4096 && !buffer_.contains('\n'))
        buffer_.clear();
    int end;
    while ((end = buffer_.indexOf('\n')) >= 0) {
        const QByteArray line = buffer_.left(end);
        buffer_.remove(0, end + 1);
        OnLine(line);
    }
}

void GrblMotor::OnLine(const QByteArray& line) {
    const GrblReply r = ParseGrblLine(line);
    if (r.kind == GrblReply::Empty)
        return;
    lastHeard_.start();
    switch (r.kind) {
    case GrblReply::Ok:
        if (unanswered_ > 0 && --unanswered_ == 0)
            jogTaken_ = true;
        break;
    case GrblReply::Error:
        unanswered_ = std::max(0, unanswered_ - 1);
        SetState(MotorState::Error,
                 tr("The motor controller refused the move (error %1).").arg(r.code));
        WriteLog(QStringLiteral("Error"),
                 QStringLiteral("Motor: the controller refused a jog: error:%1").arg(r.code));
        break;
    case GrblReply::Alarm:
        SetState(MotorState::Error, tr("The motor controller reports alarm %1.").arg(r.code));
        WriteLog(QStringLiteral("Error"), QStringLiteral("Motor: ALARM:%1").arg(r.code));
        break;
    case GrblReply::Status:
        if (r.state == QLatin1String("Alarm")) {
            if (status_.state != MotorState::Error)
                SetState(MotorState::Error, tr("The motor controller is in alarm."));
        } else if (r.state == QLatin1String("Jog")) {
            sawJog_ = true;
        } else if (r.state == QLatin1String("Idle")) {
            // The move is over when the controller took it and is idle again; a reply
            // lost on the line does not hold it up once the jog was seen under way, nor
            // for ever when it was never seen (it is then taken as not made).
            const bool lost = !jogTaken_ && !sawJog_ && moveSent_.elapsed() > kSilentMs;
            if (status_.state == MotorState::Moving && (jogTaken_ || sawJog_ || lost)) {
                if (!jogTaken_)
                    WriteLog(QStringLiteral("Warnning"),
                             QStringLiteral("Motor: no reply to the jog; taken as %1.")
                                 .arg(lost ? QStringLiteral("lost") : QStringLiteral("done")));
                unanswered_ = 0;
                SetState(MotorState::Idle);
            } else if (status_.state == MotorState::Error && unanswered_ == 0 &&
                       status_.message == tr("The motor controller does not answer."))
                SetState(MotorState::Idle); // it answers again
        }
        break;
    default:
        break;
    }
}

void GrblMotor::SetState(MotorState state, const QString& message) {
    if (status_.state == state && status_.message == message)
        return;
    status_.state = state;
    status_.message = message;
    emit StatusChanged();
}
