#include "dialogs/AboutFormUnit.h"
#include "ui_AboutFormUnit.h"

TFormAbout* FormAbout = nullptr;

TFormAbout::TFormAbout(QWidget* parent) : QWidget(parent, Qt::Window | Qt::WindowStaysOnTopHint), ui(new Ui::TFormAbout) {
    FormAbout = this;
    ui->setupUi(this);
}

TFormAbout::~TFormAbout() {
    if (FormAbout == this)
        FormAbout = nullptr;
    delete ui;
}

void TFormAbout::ChangeUIStyle(const QString&) {}
