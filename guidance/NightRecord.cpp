#include "guidance/NightRecord.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cmath>

namespace {

constexpr double kStepArcsec = 5.0;
constexpr double kStepFraction = 0.05;
constexpr double kStepHoldSeconds = 1.5;

// Two settled errors differ when the pole moved between them (not only the total).
bool Differs(const ErrorSample& a, const ErrorSample& b) {
    const double d = std::hypot(a.altArcsec - b.altArcsec, a.azArcsec - b.azArcsec);
    return d > kStepArcsec && d > kStepFraction * std::max(a.totalArcsec, b.totalArcsec);
}

QString Number(double v, int decimals) {
    return std::isfinite(v) ? QString::number(v, 'f', decimals) : QString();
}

} // namespace

void ErrorHistory::Reset() {
    samples_.clear();
    steps_ = 0;
    hasLevel_ = false;
    hasCandidate_ = false;
}

void ErrorHistory::Add(double seconds, const AlignmentReadout& r) {
    if (!r.valid || !std::isfinite(seconds) || !std::isfinite(r.totalArcsec))
        return;
    if (!samples_.empty() && seconds < samples_.back().t)
        return; // time never runs back
    samples_.push_back({seconds, r.altArcsec, r.azArcsec, r.totalArcsec});
    while (!samples_.empty() && samples_.front().t < seconds - keep_)
        samples_.pop_front();

    const ErrorSample& now = samples_.back();
    if (!hasLevel_) {
        level_ = now;
        hasLevel_ = true;
        return;
    }
    if (!Differs(now, level_)) {
        hasCandidate_ = false;
        return;
    }
    if (!hasCandidate_ || Differs(now, candidate_)) {
        candidate_ = now;
        hasCandidate_ = true;
        return;
    }
    if (seconds - candidate_.t >= kStepHoldSeconds) {
        ++steps_;
        level_ = now;
        hasCandidate_ = false;
    }
}

QString AlignmentRecordPath(const QString& folder) {
    return QDir(folder).filePath(QStringLiteral("AlignmentRecords.csv"));
}

QString AlignmentRecordHeader() {
    return QStringLiteral("start_utc,end_utc,latitude_deg,longitude_deg,start_error_arcsec,"
                          "end_error_arcsec,altitude_arcsec,azimuth_arcsec,turns");
}

QString AlignmentRecordLine(const AlignmentRecord& r) {
    const QStringList fields{r.startUtc.toUTC().toString(Qt::ISODate),
                             r.endUtc.toUTC().toString(Qt::ISODate),
                             r.siteKnown ? Number(r.latitudeDeg, 4) : QString(),
                             r.siteKnown ? Number(r.longitudeDeg, 4) : QString(),
                             Number(r.startArcsec, 1),
                             Number(r.endArcsec, 1),
                             Number(r.altArcsec, 1),
                             Number(r.azArcsec, 1),
                             QString::number(r.turns)};
    return fields.join(QLatin1Char(','));
}

bool AppendAlignmentRecord(const QString& path, const AlignmentRecord& record) {
    QFile file(path);
    const bool isNew = !QFileInfo::exists(path) || QFileInfo(path).size() == 0;
    if (!file.open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::Text))
        return false;
    QByteArray bytes;
    if (isNew)
        bytes += AlignmentRecordHeader().toUtf8() + '\n';
    bytes += AlignmentRecordLine(record).toUtf8() + '\n';
    return file.write(bytes) == bytes.size() && file.flush();
}
