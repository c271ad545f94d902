// What monitor mode adds to the resident memory of the connected program: the
// windows are made as the program makes them, connect to the simulated camera,
// let the live view settle, then track the simulator's reference stars for a few
// seconds. Prints VmRSS before and after and the difference.
//
//   tracking_monitor_memory            (from the build's bin folder)
#include "app/AppPaths.h"
#include "app/MainFormUnit.h"
#include "app/Mystructs.h"
#include "camera/DisplayThread.h"
#include "dialogs/AboutFormUnit.h"
#include "dialogs/AtmRefFormUnit.h"
#include "dialogs/MessageBoxes.h"
#include "workflow/TraceFormUnit.h"
#include "zorcam-sim/ZorcamSimTruth.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QLibrary>
#include <QTemporaryDir>

#include <cstdio>

namespace {

long ResidentKiB() {
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').value(0).toLong();
    return -1;
}

// Serves the window for a while.
void Run(int ms) {
    QElapsedTimer t;
    t.start();
    while (t.elapsed() < ms)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QTemporaryDir dir;
    qputenv("ZORCAM_SIM_CONFIG", dir.filePath(QStringLiteral("sim.ini")).toLocal8Bit());
    QApplication app(argc, argv);
    SetDocumentsFolderForTesting(dir.filePath(QStringLiteral("docs")));
    SetSettingsFolderForTesting(dir.path());
    SetMessageBoxHandlerForTesting([](const QString& text, const QString&) {
        std::fprintf(stderr, "message: %s\n", qPrintable(text));
        return false;
    });

    int rc = 0;
    {
        TFormMain formMain;
        TFormAbout formAbout;
        TFormAtmRef formAtmRef;
        TFormTrace formTrace;
        formMain.show();
        formMain.MenuItem_connectClick();
        if (!g_connected || !g_displayThread || !g_cameraLibrary) {
            std::fprintf(stderr, "could not connect to the simulated camera\n");
            return 1;
        }
        auto truth = reinterpret_cast<int (*)(ZorcamSimTruth*)>(
            g_cameraLibrary->resolve("ZorcamSimGetTruth"));
        Run(3000); // live view only
        const long before = ResidentKiB();

        ZorcamSimTruth t{};
        if (!truth || truth(&t) != 0) {
            std::fprintf(stderr, "no ground truth from the camera library\n");
            return 1;
        }
        g_displayThread->SetRefStarA(t.starAX, t.starAY);
        g_displayThread->SetRefStarB(t.starBX, t.starBY);
        g_displayThread->SetCirCenter(100, t.axisX, t.axisY);
        g_monitorPole = true;
        Run(5000);
        const long after = ResidentKiB();
        const QString pole = formMain.findChild<QLabel*>(QStringLiteral("Label_polarPos"))->text();

        std::printf("live view only:  VmRSS %ld KiB\n", before);
        std::printf("monitor mode:    VmRSS %ld KiB (pole read-out %s, true pole %.1f,%.1f)\n",
                    after, qPrintable(pole), t.poleX, t.poleY);
        std::printf("monitor mode adds %.2f MB\n", (after - before) / 1024.0);
        std::printf("truth: axis %.1f,%.1f A %.1f,%.1f B %.1f,%.1f hemisphere %c set %d\n", t.axisX,
                    t.axisY, t.starAX, t.starAY, t.starBX, t.starBY, t.hemisphere, t.dataSetYear);
        std::printf(
            "read-outs: A %s B %s\n",
            qPrintable(formMain.findChild<QLabel*>(QStringLiteral("Label_starA_baryPos"))->text()),
            qPrintable(formMain.findChild<QLabel*>(QStringLiteral("Label_starB_baryPos"))->text()));
        if (pole == QLatin1String("(0,0)")) {
            std::fprintf(stderr, "the tracker showed no pole\n");
            rc = 1;
        }
        g_monitorPole = false;
        formMain.close();
    }
    SetMessageBoxHandlerForTesting({});
    return rc;
}
