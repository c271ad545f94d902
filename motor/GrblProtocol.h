// The lines of a GRBL-style motion controller's serial protocol, built and read
// without any port: relative jogs, the status query and its reports, the jog
// cancel, and the controller's replies.
//
// Usage:
//   port.write(GrblJogLine({{'X', 1.25}, {'Y', -0.4}}, 120.0)); // "$J=G91 G21 X1.2500 Y-0.4000
//   F120\n" port.write(QByteArray(1, kGrblStatusQuery));                  // '?': a status report
//   follows port.write(QByteArray(1, kGrblJogCancel));                    // 0x85: stops a jog at
//   once const GrblReply r = ParseGrblLine(line);                      // one line, without "\r\n"
//   switch (r.kind) { case GrblReply::Ok: ... case GrblReply::Error: r.code ...
//                     case GrblReply::Status: r.state ("Idle", "Jog", "Alarm", ...) }
//
// Each jog line asks for one relative move in millimetres (G91 G21) at a feed in
// millimetres per minute; the controller answers "ok" when it has taken the line,
// "error:<n>" when it refused it. Status reports are "<State|MPos:x,y,z|...>".
#pragma once

#include <QByteArray>
#include <QString>

#include <utility>
#include <vector>

inline constexpr char kGrblStatusQuery = '?';
inline constexpr char kGrblJogCancel = static_cast<char>(0x85);
inline constexpr char kGrblSoftReset = 0x18;

// One relative jog of the given axes (letters X, Y, Z, A, B, C) by millimetres.
// Empty when no axis moves, the feed is not positive, or a value is not finite.
QByteArray GrblJogLine(const std::vector<std::pair<char, double>>& moves, double feedMmPerMin);

struct GrblReply {
    enum Kind { Empty, Ok, Error, Alarm, Status, Welcome, Other };
    Kind kind = Empty;
    int code = 0;               // Error and Alarm: the number
    QString state;              // Status: "Idle", "Jog", "Run", "Hold", "Alarm", "Door", ...
    double mpos[3] = {0, 0, 0}; // Status: machine position, when reported
    bool hasMpos = false;
};

GrblReply ParseGrblLine(const QByteArray& line);
