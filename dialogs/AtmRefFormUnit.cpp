#include "dialogs/AtmRefFormUnit.h"
#include "ui_AtmRefFormUnit.h"

#include "display/StyleBook.h"

TFormAtmRef* FormAtmRef = nullptr;

TFormAtmRef::TFormAtmRef(QWidget* parent) : QWidget(parent, Qt::Window | Qt::WindowStaysOnTopHint), ui(new Ui::TFormAtmRef) {
    FormAtmRef = this;
    ui->setupUi(this);
}

TFormAtmRef::~TFormAtmRef() {
    if (FormAtmRef == this)
        FormAtmRef = nullptr;
    delete ui;
}

// "Mono" loads Blend.Style, "Color" Dark.Style; other words change nothing.
void TFormAtmRef::ChangeUIStyle(const QString& style) { ApplyStyleWord(this, style); }
