// Shows the main window in one language, connected to the simulated camera with
// every panel open, for a screenshot of the whole screen. Prints "ready" when the
// live view has run for a while; runs until it is ended.
//
//   lang_screenshot DE
#include "app/AppPaths.h"
#include "app/Expander.h"
#include "app/MainFormUnit.h"
#include "dialogs/AboutFormUnit.h"
#include "dialogs/AtmRefFormUnit.h"
#include "dialogs/MessageBoxes.h"
#include "workflow/TraceFormUnit.h"

#include <QApplication>
#include <QFile>
#include <QTemporaryDir>
#include <QTimer>

#include <cstdio>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    const QByteArray lang = argc > 1 ? QByteArray(argv[1]) : QByteArray("EN");

    QTemporaryDir home;
    SetDocumentsFolderForTesting(home.path());
    SetSettingsFolderForTesting(home.path());
    QFile ini(home.filePath(QStringLiteral("ZenithWand.ini")));
    if (!ini.open(QIODevice::WriteOnly))
        return 1;
    ini.write("[LANGUAGE]\nlang=" + lang + "\n");
    ini.close();
    SetMessageBoxHandlerForTesting([](const QString&, const QString& text) {
        std::fprintf(stderr, "message: %s\n", text.toUtf8().constData());
        return false;
    });

    TFormMain formMain;
    TFormAbout formAbout;
    TFormAtmRef formAtmRef;
    TFormTrace formTrace;
    formMain.move(0, 0);
    formMain.resize(1180, 860);
    formMain.show();

    QTimer::singleShot(500, &formMain, [&formMain] {
        formMain.MenuItem_connectClick();
        for (Expander* e : formMain.findChildren<Expander*>()) {
            e->setEnabled(true);
            e->setExpanded(true);
        }
    });
    QTimer::singleShot(4000, &formMain, [] {
        std::printf("ready\n");
        std::fflush(stdout);
    });
    return app.exec();
}
