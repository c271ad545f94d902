// The main window's way into the Camera window (Tools menu).
#include "app/MainFormUnit.h"

#include "dialogs/CameraFormUnit.h"
#include "i18n/Dictionary.h"
#include "i18n/Languages.h"

void TFormMain::MenuItem_cameraClick() {
    auto* window = findChild<TFormCamera*>();
    if (!window) {
        window = new TFormCamera(this);
        // A window made after the language was chosen gets its texts now.
        ApplyLanguage(curLang);
    }
    if (!window->isVisible())
        window->LoadChoice();
    if (Lang1)
        window->setWindowTitle(Lang1->Translate(QStringLiteral("Camera")));
    window->show();
    window->raise();
    window->activateWindow();
}
