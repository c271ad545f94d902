// A simulated motorised altitude/azimuth base behind a GRBL-style controller: the
// bytes a program sends in, the controller's replies out, and the turns of the
// mount's screws that its jogs make, with gear, slack, a travel limit and, when asked,
// replies that go astray. Plain C++: it shares no code with the application.
//
// Usage:
//   GrblDevice device(config, [&](double altArcsec, double azArcsec) { ... turn the mount });
//   std::string reply = device.Feed("$J=G91 G21 Y0.2500 F100\n");   // "ok\r\n"
//   reply = device.Feed("?");          // "<Jog|MPos:...>\r\n", the jog goes on with each query
//   reply = device.Feed("\x85");       // jog cancel: the rest of the jog is dropped
//
// A jog moves a part of its travel at each status query (`queriesPerJog` of them for
// the whole), so a cancel leaves the axes where they were then. Replies:
//   ok          a line taken (any line; a jog that fits)
//   error:15    a jog beyond the travel limit (nothing moves)
//   error:20    a jog with a word this controller does not know
//   error:22    a jog without a feed
//   error:2     a jog without G91 (absolute jogs are refused here)
//   ALARM:1     every line while `alarm` is set
// With `dropEvery` = n, every n-th "ok" or "error" reply is lost on the way.
#pragma once

#include <functional>
#include <string>

namespace zorcamsim {

struct AdjusterAxis {
    char letter = 'X';
    double arcsecPerMm = 1000; // the screw's turn for a millimetre of travel (signed)
    double backlashMm = 0;     // travel taken up by the slack after a reversal
    double travelLimitMm = 20; // no position beyond ±this from the start
};

struct AdjusterConfig {
    AdjusterAxis alt{'Y', 1000, 0, 20};
    AdjusterAxis az{'X', 1000, 0, 20};
    int queriesPerJog = 2;
    int dropEvery = 0; // 0: no reply is lost
    bool silent = false;
    bool alarm = false;
};

class GrblDevice {
public:
    using TurnHandler = std::function<void(double altArcsec, double azArcsec)>;
    GrblDevice(const AdjusterConfig& config, TurnHandler onTurn);

    std::string Feed(const std::string& bytes);

    AdjusterConfig& Config() { return c_; }
    double PositionMm(char letter) const;
    int Cancels() const { return cancels_; }
    int Jogs() const { return jogs_; }
    int Queries() const { return queries_; }
    const std::string& LastJog() const { return lastJog_; } // the last jog line taken

private:
    struct Axis {
        AdjusterAxis* config;
        double position = 0; // commanded travel done, mm
        double remaining = 0;
        int lastSense = 0;
        double slack = 0; // mm still taken by the slack
    };
    std::string OnLine(const std::string& line);
    std::string Reply(const std::string& text);
    std::string Status() const;
    void Advance(double fraction);
    Axis* AxisOf(char letter);

    AdjusterConfig c_;
    TurnHandler onTurn_;
    Axis alt_, az_;
    std::string line_;
    int queriesLeft_ = 0;
    int replies_ = 0;
    int cancels_ = 0;
    int jogs_ = 0;
    int queries_ = 0;
    std::string lastJog_;
};

} // namespace zorcamsim
