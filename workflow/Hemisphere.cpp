// North or south: the hemisphere decides the template, its star data and the tips.
#include "app/MainFormUnit.h"
#include "ui_FormMain.h"

#include "app/Expander.h"
#include "core/Log.h"
#include "workflow/TraceFormUnit.h"
#include "workflow/WizardSteps.h"

namespace {

// Switches to `region` unless it is already the current one. The check state of the
// radio buttons is not consulted: both report a change when one is checked, and the
// comparison lets only the switch to a different region act.
void SwitchRegion(TFormMain& w, const QString& region, const QString& logText) {
    if (w.curRegion == region)
        return;
    WriteLog(QStringLiteral("Info"), logText);
    w.curRegion = region;
    w.ui->Rectangle_tipMsg->hide();

    // The axis mark, monitor mode and the reference-star boxes end; the picks, the
    // circle and the ring stay as they were.
    g_showAxisMark = false;
    g_monitorPole = false;
    g_showRefStarA = false;
    g_showRefStarB = false;

    w.ui->Expander_camSetting->setExpanded(true);
    w.ui->Expander_camSetting->setEnabled(true);
    for (Expander* e : {w.ui->Expander_finding, w.ui->Expander_rough, w.ui->Expander_precise}) {
        e->setExpanded(false);
        e->setEnabled(false);
    }
    w.ui->MenuItem_trace->setEnabled(false);
    if (FormTrace && FormTrace->isVisible())
        FormTrace->hide();

    w.wizardStep = Wizard::ZenithWandSetting;
    w.SelectTemplate(w.curRegion);
    w.ApplyLanguage(w.curLang);
    w.LoadTipTexts(w.curLang, w.curRegion);
    w.ApplyLabelFonts();
    w.GoToStep(Wizard::ZenithWandSetting);
}

} // namespace

void TFormMain::RadioBtn_northChange() {
    SwitchRegion(*this, QStringLiteral("N"), QStringLiteral("switch to North region mode"));
}

void TFormMain::RadioBtn_southChange() {
    SwitchRegion(*this, QStringLiteral("S"), QStringLiteral("switch to South region mode"));
}
