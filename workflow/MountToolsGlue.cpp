// The main window's side of the mount tools (workflow/MountTools.h): made once with
// the other controls, told of the monitor mode's start, read-outs and end.
#include "app/MainFormUnit.h"

#include "app/AppPaths.h"
#include "core/Clock.h"
#include "core/Log.h"
#include "ui_FormMain.h"
#include "workflow/MountTools.h"

#include <QFileInfo>

void TFormMain::InstallMountTools() {
    auto clock = std::make_shared<SystemClock>();
    mountTools_ = std::make_unique<MountTools>(
        this, SettingsFilePath(), [clock] { return clock->Seconds(); },
        [clock] { return clock->Utc(); }, [] { return QFileInfo(g_logFilePath).absolutePath(); });
    QWidget* panel = findChild<QWidget*>(QStringLiteral("Expander_precise_content"));
    QWidget* after = findChild<QWidget*>(QStringLiteral("Label_alignReadout"));
    if (!after)
        after = findChild<QWidget*>(QStringLiteral("Rectangle3"));
    mountTools_->AddReadoutControls(panel, after);
    mountTools_->AddMenuItems(ui->MenuItem_tools);
}
