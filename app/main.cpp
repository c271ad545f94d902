// Program entry: the four windows in their order, then the message loop.
#include "app/MainFormUnit.h"
#include "dialogs/AboutFormUnit.h"
#include "dialogs/AtmRefFormUnit.h"
#include "workflow/TraceFormUnit.h"

#include <QApplication>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("ZenithWand"));
    QApplication::setOrganizationName(QStringLiteral("ZenithWand"));

    TFormMain formMain;
    TFormAbout formAbout;
    TFormAtmRef formAtmRef;
    TFormTrace formTrace;
    formMain.show();
    return app.exec();
}
