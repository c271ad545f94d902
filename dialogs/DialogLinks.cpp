// The main window's ways into the auxiliary windows and the web: the refraction
// window, the manual trace window, the About window, the manual and the logo.
#include "app/MainFormUnit.h"
#include "ui_FormMain.h"

#include "dialogs/AboutFormUnit.h"
#include "dialogs/AtmRefFormUnit.h"
#include "dialogs/ManualWindow.h"
#include "dialogs/WebLinks.h"
#include "i18n/TextRecords.h"
#include "workflow/TraceFormUnit.h"

namespace {
void ShowOnTop(QWidget* window) {
    window->show();
    window->raise();
    window->activateWindow();
}
} // namespace

void TFormMain::MenuItem_astroRefClick() {
    if (FormAtmRef)
        ShowOnTop(FormAtmRef);
}

void TFormMain::MenuItem_aboutClick() {
    if (!FormAbout)
        return;
    FormAbout->SetAppVersion(g_appVersion, g_appDate);
    ShowOnTop(FormAbout);
}

// The manual that comes with the program, in a window of its own made at the first
// call; the web page stays one click away in that window.
void TFormMain::MenuItem_manualClick() {
    auto* manual = findChild<ManualWindow*>(QString(), Qt::FindDirectChildrenOnly);
    if (!manual)
        manual = new ManualWindow(this);
    manual->ShowManual(ui->MenuItem_lang_cn->isChecked(), g_menuTexts.ManualMenu,
                       g_menuTexts.ManualWebLink);
}

void TFormMain::Image_logoClick() {
    OpenWebSite();
}
