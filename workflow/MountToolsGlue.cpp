// The main window's side of the mount tools (workflow/MountTools.h): made once with
// the other controls, told of the monitor mode's start, read-outs and end.
#include "app/MainFormUnit.h"

#include "app/AppPaths.h"
#include "core/Log.h"
#include "ui_FormMain.h"
#include "workflow/MountTools.h"

#include <QFileInfo>

void TFormMain::InstallMountTools() {
    // The window's clock, whichever it is when asked (a test may hand it a faster one).
    mountTools_ = std::make_unique<MountTools>(
        this, SettingsFilePath(), [this] { return WindowClock().Seconds(); },
        [this] { return WindowClock().Utc(); }, [] { return QFileInfo(g_logFilePath).absolutePath(); });
    QWidget* panel = findChild<QWidget*>(QStringLiteral("Expander_precise_content"));
    QWidget* after = findChild<QWidget*>(QStringLiteral("Label_alignReadout"));
    if (!after)
        after = findChild<QWidget*>(QStringLiteral("Rectangle3"));
    mountTools_->AddReadoutControls(panel, after);
    mountTools_->AddMenuItems(ui->MenuItem_tools);
}
