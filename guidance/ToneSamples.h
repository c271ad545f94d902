// The samples of a guidance tone: signed 16-bit mono PCM, the given pitches summed,
// with short fades at both ends so a beep never clicks.
//
// Usage:
//   QByteArray pcm = ToneSamples({880.0}, 60, 22050);          // a 60 ms beep
//   QByteArray chord = ToneSamples(SettledChordHz(), 450, 22050);
#pragma once

#include <QByteArray>

#include <vector>

QByteArray ToneSamples(const std::vector<double>& pitchesHz, int ms, int sampleRate,
                       double volume = 0.5);
