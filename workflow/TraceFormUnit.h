// The "Manual Trance" window: when a GOTO slew has turned the sky about the RA axis
// in monitor mode, the user tells the program by how much with the dial, and both
// reference-star seeds are turned about the axis centre by that angle.
//
// Created at start-up, shown and hidden ("Manual Trace" in the Tools menu, enabled
// only in monitor mode), alive until the end; the dial keeps its value between
// showings. The dial holds degrees in (-180, 180]; the trace angle handed to the
// main window's ApplyTraceAngle is the dial value negated, in (0, 360].
#pragma once

#include <QWidget>

namespace Ui {
class TFormTrace;
}

class TFormTrace : public QWidget {
    Q_OBJECT
public:
    explicit TFormTrace(QWidget* parent = nullptr);
    ~TFormTrace() override;

    Ui::TFormTrace* ui;

    void ChangeUIStyle(const QString& style);

    // Handlers of the window's controls.
    void ArcDial_trackChange();
    void Btn_addClick();   // trace angle + 1 degree (dial value - 1)
    void Btn_subClick();   // trace angle - 1 degree (dial value + 1)
    void Btn_resetClick(); // back to the step-11 positions (dial 0)
    void ArcDial_trackMouseWheel(int wheelDelta);

    // The trace angle for a dial value: 360 - v for v >= 0, -v for v < 0.
    static double TraceAngleFor(int dialValue);
    // A dial value brought into (-180, 180].
    static int WrapDialValue(int value);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void SetDial(int value);
};

extern TFormTrace* FormTrace;
