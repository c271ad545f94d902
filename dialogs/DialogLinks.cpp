// The main window's ways into the auxiliary windows and the web: the refraction
// window, the manual trace window, the About window, the online manual and the logo.
#include "app/MainFormUnit.h"
#include "ui_FormMain.h"

#include "dialogs/AboutFormUnit.h"
#include "dialogs/AtmRefFormUnit.h"
#include "dialogs/WebLinks.h"
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

void TFormMain::MenuItem_manualClick() {
    OpenManual(ui->MenuItem_lang_cn->isChecked());
}

void TFormMain::Image_logoClick() {
    OpenWebSite();
}
