// What monitor mode adds to the resident memory of the connected program: the
// windows are made as the program makes them, connect to the simulated camera,
// let the live view settle, then track the simulator's reference stars for a few
// seconds. Prints VmRSS before and after and the difference.
//
//   tracking_monitor_memory            (from the build's bin folder)
#include "MonitorSession.h"

#include <QApplication>

#include <cstdio>

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);

    int rc = 0;
    {
        MonitorSession session(/*throttle=*/true);
        if (!session.Connect())
            return 1;
        session.Serve(3000); // live view only
        const long before = MonitorSession::ResidentKiB();
        if (!session.StartMonitor())
            return 1;
        session.Serve(5000);
        const long after = MonitorSession::ResidentKiB();
        const ZorcamSimTruth t = session.Truth();
        const QString pole = session.Readout("Label_polarPos");

        std::printf("live view only:  VmRSS %ld KiB\n", before);
        std::printf("monitor mode:    VmRSS %ld KiB (pole read-out %s, true pole %.1f,%.1f)\n",
                    after, qPrintable(pole), t.poleX, t.poleY);
        std::printf("monitor mode adds %.2f MB\n", (after - before) / 1024.0);
        std::printf("truth: axis %.1f,%.1f A %.1f,%.1f B %.1f,%.1f hemisphere %c set %d\n", t.axisX,
                    t.axisY, t.starAX, t.starAY, t.starBX, t.starBY, t.hemisphere, t.dataSetYear);
        std::printf("read-outs: A %s B %s\n", qPrintable(session.Readout("Label_starA_baryPos")),
                    qPrintable(session.Readout("Label_starB_baryPos")));
        if (pole == QLatin1String("(0,0)")) {
            std::fprintf(stderr, "the tracker showed no pole\n");
            rc = 1;
        }
    }
    return rc;
}
