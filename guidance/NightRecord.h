// The night's record of the monitor mode: the error of the last minutes for the
// plot below the read-out, the turns of the screws seen as steps in it, and one line
// a finished alignment in a CSV file beside the log.
//
// Usage:
//   ErrorHistory history;                           // the plot's data, last ten minutes
//   history.Add(clock.Seconds(), readout);          // every read-out
//   for (const ErrorSample& s : history.Samples()) ... s.t, s.altArcsec, s.azArcsec, s.totalArcsec
//   history.Steps();                                // turns seen so far
//
//   AlignmentRecord rec;                            // at the start of the monitor mode
//   rec.startUtc = clock.Utc(); rec.startArcsec = first readout.totalArcsec; ...
//   // at the end: rec.endUtc, rec.endArcsec, rec.altArcsec, rec.azArcsec, rec.turns
//   AppendAlignmentRecord(AlignmentRecordPath(logFolder), rec);
//
// A step is a move of the settled error (altitude and azimuth) by more than 5" and
// 5 % of the total that then holds for 1.5 s: a turn of a screw, not the read-out's
// flicker.
#pragma once

#include "astro/AlignmentReadout.h"

#include <QDateTime>
#include <QString>

#include <deque>

struct ErrorSample {
    double t = 0; // seconds, the caller's steady scale
    double altArcsec = 0;
    double azArcsec = 0;
    double totalArcsec = 0;
};

class ErrorHistory {
public:
    explicit ErrorHistory(double keepSeconds = 600.0) : keep_(keepSeconds) {}
    void Reset();
    void Add(double seconds, const AlignmentReadout& readout);
    const std::deque<ErrorSample>& Samples() const { return samples_; }
    int Steps() const { return steps_; }

private:
    double keep_;
    std::deque<ErrorSample> samples_;
    int steps_ = 0;
    ErrorSample level_; // the settled error of the last step
    bool hasLevel_ = false;
    ErrorSample candidate_; // a new level, since its moment
    bool hasCandidate_ = false;
};

struct AlignmentRecord {
    QDateTime startUtc;
    QDateTime endUtc;
    bool siteKnown = false;
    double latitudeDeg = 0;
    double longitudeDeg = 0;
    double startArcsec = 0; // total error at the start
    double endArcsec = 0;   // total error at the end (the residual)
    double altArcsec = 0;   // the residual's parts at the end
    double azArcsec = 0;
    int turns = 0; // turns of the screws seen
};

// "AlignmentRecords.csv" in the given folder.
QString AlignmentRecordPath(const QString& folder);
QString AlignmentRecordHeader();
QString AlignmentRecordLine(const AlignmentRecord& record);
// Appends the line (the header first when the file is new); false when it cannot be written.
bool AppendAlignmentRecord(const QString& path, const AlignmentRecord& record);
