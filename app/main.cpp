// Program entry: the command line, then the four windows in their order and the
// message loop, which a termination signal ends like a close of the main window.
#include "app/CommandLine.h"
#include "app/MainFormUnit.h"
#include "app/Mystructs.h"
#include "app/TerminationSignals.h"
#include "camera/Zorcamlib.h"
#include "dialogs/AboutFormUnit.h"
#include "dialogs/AtmRefFormUnit.h"
#include "workflow/TraceFormUnit.h"

#include <QApplication>

#include <cstdio>

int main(int argc, char** argv) {
    // Before the application object: --help and --version need no display.
    const CommandLine commandLine = ParseCommandLine(ArgumentsOf(argc, argv), g_appVersion);
    if (commandLine.exitNow) {
        std::fputs(commandLine.text.toLocal8Bit().constData(),
                   commandLine.exitCode == 0 ? stdout : stderr);
        return commandLine.exitCode;
    }
    if (!commandLine.cameraLibrary.isEmpty())
        SetCameraLibraryOverride(commandLine.cameraLibrary);

    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("ZenithWand"));
    QApplication::setOrganizationName(QStringLiteral("ZenithWand"));

    TFormMain formMain;
    TFormAbout formAbout;
    TFormAtmRef formAtmRef;
    TFormTrace formTrace;
    formMain.show();
    // Logout or `kill`: close as the user would, so the settings are saved.
    TerminationSignals termination([] { QApplication::closeAllWindows(); });
    return app.exec();
}
