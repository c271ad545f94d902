#include "zorcam-sim/adjuster/GrblDevice.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <sstream>

namespace zorcamsim {

GrblDevice::GrblDevice(const AdjusterConfig& config, TurnHandler onTurn)
    : c_(config), onTurn_(std::move(onTurn)) {
    alt_.config = &c_.alt;
    az_.config = &c_.az;
}

GrblDevice::Axis* GrblDevice::AxisOf(char letter) {
    if (letter == c_.alt.letter)
        return &alt_;
    if (letter == c_.az.letter)
        return &az_;
    return nullptr;
}

double GrblDevice::PositionMm(char letter) const {
    return letter == c_.alt.letter ? alt_.position : letter == c_.az.letter ? az_.position : 0.0;
}

std::string GrblDevice::Reply(const std::string& text) {
    if (c_.silent)
        return {};
    const bool counted = text == "ok" || text.rfind("error:", 0) == 0;
    if (counted && c_.dropEvery > 0 && ++replies_ % c_.dropEvery == 0)
        return {};
    return text + "\r\n";
}

std::string GrblDevice::Status() const {
    char buf[160];
    std::snprintf(buf, sizeof buf, "<%s|MPos:%.3f,%.3f,%.3f|FS:%d,0>",
                  c_.alarm           ? "Alarm"
                  : queriesLeft_ > 0 ? "Jog"
                                     : "Idle",
                  PositionMm('X'), PositionMm('Y'), PositionMm('Z'), queriesLeft_ > 0 ? 100 : 0);
    return buf;
}

// Moves each axis by a part of its remaining travel; the mount turns by what is left
// after the slack.
void GrblDevice::Advance(double fraction) {
    double turned[2] = {0, 0};
    Axis* axes[2] = {&alt_, &az_};
    for (int i = 0; i < 2; ++i) {
        Axis& a = *axes[i];
        const double step = a.remaining * fraction;
        if (step == 0)
            continue;
        a.remaining -= step;
        a.position += step;
        const int sense = step > 0 ? 1 : -1;
        if (a.lastSense != 0 && sense != a.lastSense)
            a.slack = a.config->backlashMm;
        a.lastSense = sense;
        const double taken = std::min(a.slack, std::abs(step));
        a.slack -= taken;
        turned[i] = sense * (std::abs(step) - taken) * a.config->arcsecPerMm;
    }
    if ((turned[0] != 0 || turned[1] != 0) && onTurn_)
        onTurn_(turned[0], turned[1]);
}

std::string GrblDevice::Feed(const std::string& bytes) {
    std::string out;
    for (const char ch : bytes) {
        if (ch == '?') {
            ++queries_;
            if (c_.silent)
                continue;
            if (queriesLeft_ > 0) {
                Advance(1.0 / queriesLeft_);
                --queriesLeft_;
            }
            out += Status() + "\r\n";
        } else if (ch == static_cast<char>(0x85)) {
            ++cancels_;
            alt_.remaining = az_.remaining = 0;
            queriesLeft_ = 0;
        } else if (ch == 0x18) {
            alt_.remaining = az_.remaining = 0;
            queriesLeft_ = 0;
            line_.clear();
            if (!c_.silent)
                out += "\r\nGrbl 1.1h ['$' for help]\r\n";
        } else if (ch == '\n') {
            out += OnLine(line_);
            line_.clear();
        } else if (ch != '\r' && line_.size() < 256) {
            line_ += ch;
        }
    }
    return out;
}

std::string GrblDevice::OnLine(const std::string& line) {
    if (c_.alarm)
        return c_.silent ? std::string() : "ALARM:1\r\n";
    if (line.rfind("$J=", 0) != 0)
        return Reply("ok");
    std::istringstream words(line.substr(3));
    std::string w;
    bool relative = false, feed = false;
    double move[2] = {0, 0};
    while (words >> w) {
        if (w == "G91") {
            relative = true;
        } else if (w == "G21") {
        } else if (w.size() > 1 && w[0] == 'F') {
            feed = std::atof(w.c_str() + 1) > 0;
        } else if (w.size() > 1 && AxisOf(w[0])) {
            char* end = nullptr;
            const double v = std::strtod(w.c_str() + 1, &end);
            if (!end || *end != '\0' || !std::isfinite(v))
                return Reply("error:20");
            move[AxisOf(w[0]) == &alt_ ? 0 : 1] += v;
        } else {
            return Reply("error:20");
        }
    }
    if (!relative)
        return Reply("error:2");
    if (!feed)
        return Reply("error:22");
    Axis* axes[2] = {&alt_, &az_};
    for (int i = 0; i < 2; ++i) {
        const Axis& a = *axes[i];
        if (std::abs(a.position + a.remaining + move[i]) > a.config->travelLimitMm)
            return Reply("error:15");
    }
    alt_.remaining += move[0];
    az_.remaining += move[1];
    queriesLeft_ = std::max(1, c_.queriesPerJog);
    ++jogs_;
    lastJog_ = line;
    return Reply("ok");
}

} // namespace zorcamsim
