#include "dialogs/AtmRefFormUnit.h"
#include "ui_AtmRefFormUnit.h"

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

void TFormAtmRef::ChangeUIStyle(const QString&) {}
