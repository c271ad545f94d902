// The keyboard of the main window: the menu shortcuts, "Zoom In" and "Zoom Out",
// and the wizard's keys (what each key does is decided in workflow/WizardKeys.cpp).
#include "app/MainFormUnit.h"
#include "ui_FormMain.h"

#include "i18n/TextRecords.h"
#include "workflow/WizardKeys.h"
#include "workflow/WizardSteps.h"

#include <QApplication>
#include <QKeyEvent>
#include <QKeySequence>
#include <QSlider>

#include <algorithm>

namespace {

// A key event's sequence as the shortcuts are written: the keypad's keys count as
// the plain ones.
QKeySequence SequenceOf(const QKeyEvent* event) {
    const Qt::KeyboardModifiers mods = event->modifiers() & ~Qt::KeypadModifier;
    return QKeySequence(QKeyCombination(mods, static_cast<Qt::Key>(event->key())));
}

bool IsShortcutOf(const QWidget* window, const QKeyEvent* event) {
    const QKeySequence pressed = SequenceOf(event);
    for (const QAction* action : window->findChildren<QAction*>()) {
        for (const QKeySequence& s : action->shortcuts())
            if (s.matches(pressed) == QKeySequence::ExactMatch)
                return true;
    }
    return false;
}

bool Usable(const QWidget* w) {
    return w->isVisible() && w->isEnabled();
}

// Sees every key event of the application and takes those meant for the main
// window: the wizard's keys, and, while a text field has the focus, the menu
// shortcuts, which the field then receives as typed keys.
class KeyboardFilter : public QObject {
public:
    explicit KeyboardFilter(TFormMain* form) : QObject(form), form_(form) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::KeyPress && event->type() != QEvent::ShortcutOverride)
            return false;
        auto* widget = qobject_cast<QWidget*>(watched);
        if (!widget || widget->window() != form_)
            return false;
        // Only the first receiver: the focus widget, or the window when none has it.
        const QWidget* focus = QApplication::focusWidget();
        if (widget != (focus ? focus : form_))
            return false;
        auto* key = static_cast<QKeyEvent*>(event);
        if (event->type() == QEvent::ShortcutOverride) {
            if (FocusKindOf(focus) == KeyFocus::TextField && IsShortcutOf(form_, key))
                event->accept();
            return false;
        }
        return form_->ActOnKey(key->key(), key->modifiers());
    }

private:
    TFormMain* form_;
};

} // namespace

void TFormMain::InstallKeyboard() {
    MenuItem_zoomIn = new QAction(QStringLiteral("Zoom In"), this);
    MenuItem_zoomIn->setObjectName(QStringLiteral("MenuItem_zoomIn"));
    MenuItem_zoomOut = new QAction(QStringLiteral("Zoom Out"), this);
    MenuItem_zoomOut->setObjectName(QStringLiteral("MenuItem_zoomOut"));
    ui->MenuItem_zoom->addSeparator();
    ui->MenuItem_zoom->addAction(MenuItem_zoomIn);
    ui->MenuItem_zoom->addAction(MenuItem_zoomOut);
    connect(MenuItem_zoomIn, &QAction::triggered, this, &TFormMain::MenuItem_zoomInClick);
    connect(MenuItem_zoomOut, &QAction::triggered, this, &TFormMain::MenuItem_zoomOutClick);

    for (const MenuShortcut& m : MenuShortcuts()) {
        if (auto* action = findChild<QAction*>(QLatin1String(m.action)))
            action->setShortcut(QKeySequence(QLatin1String(m.keys), QKeySequence::PortableText));
    }
    // The key of "Start Monitor" is told where the button is.
    ui->Btn_calcPolarAxis->setToolTip(QStringLiteral("F5"));

    qApp->installEventFilter(new KeyboardFilter(this));
}

KeyState TFormMain::KeyStateNow() const {
    KeyState s;
    s.focus = FocusKindOf(QApplication::focusWidget());
    const bool panel = ui->Rectangle_tipMsg->isVisible();
    s.rightAnswer = panel && Usable(ui->Btn2_tip);
    s.leftAnswer = panel && Usable(ui->Btn1_tip);
    if (Usable(ui->TrackBar_mask_finding))
        s.bar = TemplateBar::Finding;
    else if (Usable(ui->TrackBar_mask_rough))
        s.bar = TemplateBar::Rough;
    s.monitorReady = wizardStep == Wizard::CalcPole && Usable(ui->Btn_calcPolarAxis);
    return s;
}

bool TFormMain::ActOnKey(int key, Qt::KeyboardModifiers modifiers) {
    const KeyCommand c = WizardKeyFor(key, modifiers, KeyStateNow());
    switch (c.action) {
    case KeyAction::AnswerRight:
        ui->Btn2_tip->click();
        return true;
    case KeyAction::AnswerLeft:
        ui->Btn1_tip->click();
        return true;
    case KeyAction::TurnBar: {
        QSlider* bar =
            c.bar == TemplateBar::Finding ? ui->TrackBar_mask_finding : ui->TrackBar_mask_rough;
        bar->setValue(std::clamp(bar->value() + c.degrees, bar->minimum(), bar->maximum()));
        return true;
    }
    case KeyAction::StartMonitor:
        ui->Btn_calcPolarAxis->click();
        return true;
    case KeyAction::None:
        break;
    }
    return false;
}
