#include "workflow/TraceFormUnit.h"
#include "ui_TraceFormUnit.h"

#include "app/MainFormUnit.h"
#include "astro/Geometry.h"
#include "camera/DisplayThread.h"
#include "display/StyleBook.h"

#include <QWheelEvent>

TFormTrace* FormTrace = nullptr;

TFormTrace::TFormTrace(QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::WindowStaysOnTopHint | Qt::CustomizeWindowHint |
                          Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowCloseButtonHint),
      ui(new Ui::TFormTrace) {
    FormTrace = this;
    ui->setupUi(this);
    connect(ui->ArcDial_track, &QDial::valueChanged, this, &TFormTrace::ArcDial_trackChange);
    connect(ui->Btn_add, &QToolButton::clicked, this, &TFormTrace::Btn_addClick);
    connect(ui->Btn_sub, &QToolButton::clicked, this, &TFormTrace::Btn_subClick);
    connect(ui->Btn_reset, &QToolButton::clicked, this, &TFormTrace::Btn_resetClick);
    ui->ArcDial_track->installEventFilter(this);
}

TFormTrace::~TFormTrace() {
    if (FormTrace == this)
        FormTrace = nullptr;
    delete ui;
}

// "Mono" loads Blend.Style, "Color" Dark.Style, "Night" Night.Style; other words
// change nothing.
void TFormTrace::ChangeUIStyle(const QString& style) {
    ApplyStyleWord(this, style);
}

double TFormTrace::TraceAngleFor(int dialValue) {
    return dialValue >= 0 ? 360.0 - dialValue : -static_cast<double>(dialValue);
}

int TFormTrace::WrapDialValue(int value) {
    int v = ((value + 180) % 360 + 360) % 360 - 180; // [-180, 180)
    return v == -180 ? 180 : v;
}

void TFormTrace::SetDial(int value) {
    ui->ArcDial_track->setValue(WrapDialValue(value));
}

void TFormTrace::ArcDial_trackChange() {
    const int v = ui->ArcDial_track->value();
    // The dial's own wrapping treats -180 and 180 as one position; it reads 180.
    if (v != WrapDialValue(v)) {
        SetDial(v); // runs this handler again with the wrapped value
        return;
    }
    if (FormMain)
        FormMain->ApplyTraceAngle(TraceAngleFor(v));
}

void TFormTrace::Btn_addClick() {
    SetDial(ui->ArcDial_track->value() - 1);
}

void TFormTrace::Btn_subClick() {
    SetDial(ui->ArcDial_track->value() + 1);
}

void TFormTrace::Btn_resetClick() {
    // Already at 0 the dial reports no change; the seeds go back all the same.
    if (ui->ArcDial_track->value() == 0)
        ArcDial_trackChange();
    else
        SetDial(0);
}

void TFormTrace::ArcDial_trackMouseWheel(int wheelDelta) {
    SetDial(ui->ArcDial_track->value() + (wheelDelta > 0 ? 1 : -1));
}

bool TFormTrace::eventFilter(QObject* watched, QEvent* event) {
    // One degree per wheel event, whatever its size; the dial's own stepping is left out.
    if (watched == ui->ArcDial_track && event->type() == QEvent::Wheel) {
        const QPoint angle = static_cast<QWheelEvent*>(event)->angleDelta();
        ArcDial_trackMouseWheel(angle.y() != 0 ? angle.y() : angle.x());
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

// ---- the main window's side of the manual trace -----------------------------------

void TFormMain::MenuItem_traceClick() {
    if (!FormTrace)
        return;
    FormTrace->show();
    FormTrace->raise();
    FormTrace->activateWindow();
}

void TFormMain::ApplyTraceAngle(double angle) {
    RotatePoint(angle, starAStartX, starAStartY, axisX, axisY, starAX, starAY);
    RotatePoint(angle, starBStartX, starBStartY, axisX, axisY, curNStarX, curNStarY);
    if (g_displayThread) {
        g_displayThread->SetRefStarA(starAX, starAY);
        g_displayThread->SetRefStarB(curNStarX, curNStarY);
    }
}
