// Shows the main window in monitor mode on a frame of the simulated camera, in the
// style named on the command line ("Mono", "Color" or "Night"), for screenshots of the
// program's look (docs/screenshots, made by tests/gui/display/screenshots.sh).
//
//   display_screenshot_scene Mono <ready-file>   // writes ready-file once drawn, then waits
//   display_screenshot_scene Color - JP panel.png
//       the monitor panel (close-up and read-out) in a language, saved as a picture
//       by the window itself (runs offscreen too), then ends
#include "app/AppPaths.h"
#include "app/MainFormUnit.h"
#include "app/Mystructs.h"
#include "astro/StarData.h"
#include "camera/DisplayThread.h"
#include "dialogs/AboutFormUnit.h"
#include "dialogs/AtmRefFormUnit.h"
#include "dialogs/MessageBoxes.h"
#include "display/LiveView.h"
#include "display/Readouts.h"
#include "ui_FormMain.h"
#include "workflow/TraceFormUnit.h"
#include "zorcam-sim/Simulator.h"

#include "MonitorScene.h"

#include <QApplication>
#include <QDate>
#include <QDeadlineTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QThread>

#include <cmath>
#include <cstring>
#include <iostream>

namespace {

// One live frame of the simulated camera into the receive buffer and g_frameImage.
bool SimulatedFrame(ZorcamSimTruth& truth) {
    using namespace zorcamsim;
    Simulator& sim = Simulator::Instance();
    char id[64] = {};
    if (sim.InitResource() != SIM_OK || sim.Scan() < 1 || sim.GetId(0, id) != SIM_OK)
        return false;
    const std::uint32_t h = sim.Open(id);
    if (h == 0)
        return false;
    sim.SetStreamMode(h, 1);
    sim.Init(h);
    sim.SetResolution(h, 0, 0, 1280, 960);
    sim.SetParam(h, 8, 100000.0);
    sim.SetParam(h, 6, 70.0);
    if (sim.BeginLive(h) != SIM_OK)
        return false;
    std::uint32_t w = 0, hh = 0, bpp = 0, ch = 0;
    const QDeadlineTimer deadline(10000);
    while (sim.GetLiveFrame(h, &w, &hh, &bpp, &ch, g_liveBuffer) != SIM_OK) {
        if (deadline.hasExpired())
            return false;
        QThread::msleep(10);
    }
    std::memcpy(g_frameImage.data, g_liveBuffer, 1280u * 960u);
    return sim.GetTruth(&truth) == SIM_OK;
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::cerr << "usage: display_screenshot_scene Mono|Color|Night <ready-file>\n";
        return 2;
    }
    QApplication app(argc, argv);
    const QString style = QString::fromLocal8Bit(argv[1]);
    const QString readyFile = QString::fromLocal8Bit(argv[2]);
    const QString lang = argc > 3 ? QString::fromLocal8Bit(argv[3]) : QStringLiteral("EN");
    const QString panelFile = argc > 4 ? QString::fromLocal8Bit(argv[4]) : QString();
    QTemporaryDir dir;
    SetDocumentsFolderForTesting(dir.path());
    SetSettingsFolderForTesting(dir.path());
    SetMessageBoxHandlerForTesting([](const QString&, const QString&) { return false; });
    // A mount a few arcminutes off the pole, so the close-up shows both marks.
    {
        const QString simIni = dir.filePath(QStringLiteral("zorcam-sim.ini"));
        QFile sim(simIni);
        if (sim.open(QIODevice::WriteOnly))
            sim.write("[mount]\naxisX=560\naxisY=430\naltErrArcmin=5\nazErrArcmin=-4\n");
        qputenv("ZORCAM_SIM_CONFIG", QFile::encodeName(simIni));
    }
    {
        QFile ini(dir.filePath(QStringLiteral("ZenithWand.ini")));
        if (ini.open(QIODevice::WriteOnly))
            ini.write(QStringLiteral("[VIEW]\nstyle=%1\n[LANGUAGE]\nlang=%2\n")
                          .arg(style, lang)
                          .toUtf8());
    }

    TFormMain main;
    TFormAbout about;
    TFormAtmRef atmRef;
    TFormTrace trace;
    main.move(0, 0);
    main.show();

    ZorcamSimTruth truth{};
    if (!SimulatedFrame(truth)) {
        std::cerr << "no frame from the simulated camera\n";
        return 1;
    }

    // The state of the monitor mode after the wizard: all three positions picked,
    // reference stars fixed, pole tracked.
    Ui::TFormMain* ui = main.ui;
    for (Expander* e : {ui->Expander_region, ui->Expander_camSetting, ui->Expander_finding,
                        ui->Expander_rough, ui->Expander_precise})
        e->setEnabled(true);
    ui->Expander_precise->setExpanded(true);
    ui->MenuItem_zoom->setEnabled(true);
    main.starPicked1 = main.starPicked2 = main.starPicked3 = true;
    for (QLabel* c : {ui->Circle_starPos1, ui->Circle_starPos2, ui->Circle_starPos3})
        main.SetStarPosIndicator(c, true);
    main.PrepareTemplates();
    g_zoom = 0.75f;
    main.CheckZoomMenuItem(g_zoom);

    DisplayThread thread;
    g_displayThread = &thread;
    ui->Label_criCenterPos->setText(PositionReadout(truth.axisX, truth.axisY));
    TrackOnTruth(thread, truth, style);
    // The magnifier on the pole star.
    g_cameraOpen = true;
    main.Img_capMouseMove(QPointF(truth.starBX, truth.starBY));

    if (!panelFile.isEmpty()) {
        QCoreApplication::processEvents();
        // Taken from the window, whose ground is opaque, not from the panel alone.
        QWidget* panel = ui->Expander_precise;
        const bool saved =
            main.grab(QRect(panel->mapTo(&main, QPoint(0, 0)), panel->size())).save(panelFile);
        g_displayThread = nullptr;
        ClearOverlayFlags();
        return saved ? 0 : 1;
    }

    QFile ready(readyFile);
    if (ready.open(QIODevice::WriteOnly))
        ready.write("ready\n");
    ready.close();
    const int rc = app.exec();
    g_displayThread = nullptr;
    ClearOverlayFlags();
    return rc;
}
