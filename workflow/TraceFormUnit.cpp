#include "workflow/TraceFormUnit.h"
#include "ui_TraceFormUnit.h"

TFormTrace* FormTrace = nullptr;

TFormTrace::TFormTrace(QWidget* parent) : QWidget(parent, Qt::Window | Qt::WindowStaysOnTopHint), ui(new Ui::TFormTrace) {
    FormTrace = this;
    ui->setupUi(this);
}

TFormTrace::~TFormTrace() {
    if (FormTrace == this)
        FormTrace = nullptr;
    delete ui;
}

void TFormTrace::ChangeUIStyle(const QString&) {}
