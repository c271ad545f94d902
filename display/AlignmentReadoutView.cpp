#include "display/AlignmentReadoutView.h"

#include "app/MainFormUnit.h"
#include "camera/DisplayThread.h"
#include "core/Log.h"
#include "display/AlignmentReadoutText.h"
#include "display/NightStyle.h"
#include "guidance/GuidanceInput.h"
#include "i18n/TextRecords.h"
#include "ui_FormMain.h"

#include <QBoxLayout>
#include <QLabel>

QLabel* AlignmentReadoutLabel(TFormMain& form) {
    if (auto* label = form.findChild<QLabel*>(QStringLiteral("Label_alignReadout")))
        return label;
    QWidget* panel = form.findChild<QWidget*>(QStringLiteral("Expander_precise_content"));
    if (!panel || !panel->layout())
        return nullptr;
    auto* label = new QLabel(panel);
    label->setObjectName(QStringLiteral("Label_alignReadout"));
    label->setTextFormat(Qt::RichText);
    label->setWordWrap(true);
    label->setMinimumWidth(180);
    // Right below the close-up's frame.
    auto* box = qobject_cast<QBoxLayout*>(panel->layout());
    QWidget* closeUp = panel->findChild<QWidget*>(QStringLiteral("Rectangle3"));
    const int at = box && closeUp ? box->indexOf(closeUp) : -1;
    if (at >= 0)
        box->insertWidget(at + 1, label);
    else
        panel->layout()->addWidget(label);
    return label;
}

void ShowAlignmentReadout(TFormMain& form, const DisplayThread& thread) {
    if (!thread.poleErrorFound)
        return;
    const double now = form.WindowClock().Seconds();
    form.alignmentReadout = form.alignmentSmoother.Add(now, thread.poleError, thread.plateScale);
    // The guidance hears exactly what the read-out shows; both give the turn to make.
    const AlignmentReadout& r = form.alignmentReadout;
    form.UpdateGuidance(GuidanceInput{r.valid, r.totalArcsec, r.altArcsec, r.azArcsec});
    if (!form.plateScaleLogged) {
        WriteLog(QStringLiteral("Info"),
                 QStringLiteral("Plate scale %1 arcsec/px from the reference stars")
                     .arg(thread.plateScale, 0, 'f', 2));
        form.plateScaleLogged = true;
    }
    if (QLabel* label = AlignmentReadoutLabel(form)) {
        const MENUS& m = g_menuTexts;
        auto word = [](const QString& text, const char* english) {
            return text.isEmpty() ? QString::fromLatin1(english) : text;
        };
        const ReadoutWords words{
            word(m.ReadoutError, "Error"),     word(m.ReadoutAltitude, "Altitude"),
            word(m.ReadoutAzimuth, "Azimuth"), word(m.ReadoutRaise, "raise"),
            word(m.ReadoutLower, "lower"),     word(m.ReadoutEast, "turn east"),
            word(m.ReadoutWest, "turn west"),  word(m.ReadoutScale, "Scale")};
        if (IsNightStyle(g_uiStyle))
            label->setText(
                AlignmentReadoutHtml(form.alignmentReadout, words, kNightReadoutText, true));
        else
            label->setText(AlignmentReadoutHtml(form.alignmentReadout, words));
    }
}

void ClearAlignmentReadout(TFormMain& form) {
    form.alignmentSmoother.Reset();
    form.alignmentReadout = AlignmentReadout{};
    form.UpdateGuidance(GuidanceInput{});
    form.plateScaleLogged = false;
    if (auto* label = form.findChild<QLabel*>(QStringLiteral("Label_alignReadout")))
        label->clear();
}
