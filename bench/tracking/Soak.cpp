// The soak run: the program streams the simulated camera without throttling in
// monitor mode for a given time and reports the frames handled, the frame rate,
// the resident memory at the start, after the warm-up and at the end, and every
// log line at Error level. Exits 1 when the memory grew by 1 MB or more after the
// warm-up, an Error line was logged, a message box came up or no frame came.
//
//   ./zw soak [minutes]                (default 10)
//   build/bin/zw_soak [minutes]
#include "MonitorSession.h"

#include <QApplication>
#include <QElapsedTimer>

#include <algorithm>
#include <cstdio>

namespace {

constexpr long kGrowthLimitKiB = 1024;

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const double minutes =
        argc > 1 ? std::max(0.1, QString::fromLocal8Bit(argv[1]).toDouble()) : 10.0;
    const qint64 totalMs = static_cast<qint64>(minutes * 60000.0);
    // A tenth of the run, at least 20 s and at most a minute, settles the caches.
    const qint64 warmUpMs = std::clamp<qint64>(totalMs / 10, 20000, 60000);

    int rc = 0;
    {
        MonitorSession session(/*throttle=*/false);
        const long startKiB = MonitorSession::ResidentKiB();
        if (!session.Connect() || !session.StartMonitor())
            return 1;
        std::printf("soak: %.1f min unthrottled in monitor mode, warm-up %.0f s\n", minutes,
                    warmUpMs / 1000.0);
        std::printf("start:        VmRSS %ld KiB\n", startKiB);

        QElapsedTimer clock;
        clock.start();
        session.Serve(static_cast<int>(warmUpMs));
        const long warmKiB = MonitorSession::ResidentKiB();
        const unsigned long long warmFrames = session.FramesDelivered();
        const qint64 warmAt = clock.elapsed();
        std::printf("after warm-up: VmRSS %ld KiB, %llu frames\n", warmKiB, warmFrames);
        std::fflush(stdout);

        long peakKiB = warmKiB;
        while (clock.elapsed() < totalMs) {
            session.Serve(static_cast<int>(std::min<qint64>(60000, totalMs - clock.elapsed())));
            const long kib = MonitorSession::ResidentKiB();
            peakKiB = std::max(peakKiB, kib);
            std::printf("  %5.1f min: VmRSS %ld KiB, %llu frames, pole %s\n",
                        clock.elapsed() / 60000.0, kib, session.FramesDelivered(),
                        qPrintable(session.Readout("Label_polarPos")));
            std::fflush(stdout);
        }
        const long endKiB = MonitorSession::ResidentKiB();
        peakKiB = std::max(peakKiB, endKiB);
        const unsigned long long frames = session.FramesDelivered();
        const double seconds = clock.elapsed() / 1000.0;
        const QStringList errors = session.LogLines(QStringLiteral("[Error]"));

        std::printf("end:          VmRSS %ld KiB (peak after warm-up %ld KiB)\n", endKiB, peakKiB);
        std::printf("frames handled: %llu in %.0f s, %.1f frames/s (%.1f frames/s after warm-up)\n",
                    frames, seconds, frames / seconds,
                    (frames - warmFrames) / ((clock.elapsed() - warmAt) / 1000.0));
        std::printf("growth after warm-up: %ld KiB (limit %ld KiB)\n", endKiB - warmKiB,
                    kGrowthLimitKiB);
        std::printf("log lines at Error: %lld\n", static_cast<long long>(errors.size()));
        for (const QString& line : errors)
            std::printf("  %s\n", qPrintable(line));
        const QStringList boxes = session.MessageBoxes();
        std::printf("message boxes: %lld\n", static_cast<long long>(boxes.size()));
        for (const QString& box : boxes)
            std::printf("  %s\n", qPrintable(box));
        if (endKiB - warmKiB >= kGrowthLimitKiB || !errors.isEmpty() || !boxes.isEmpty() ||
            frames == 0)
            rc = 1;
    }
    std::printf("%s\n", rc == 0 ? "soak passed" : "soak FAILED");
    return rc;
}
