#include "workflow/TraceFormUnit.h"
#include "ui_TraceFormUnit.h"

#include "display/StyleBook.h"

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

// "Mono" loads Blend.Style, "Color" Dark.Style; other words change nothing.
void TFormTrace::ChangeUIStyle(const QString& style) { ApplyStyleWord(this, style); }
