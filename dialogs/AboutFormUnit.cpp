#include "dialogs/AboutFormUnit.h"
#include "ui_AboutFormUnit.h"

#include "dialogs/ClickFilter.h"
#include "dialogs/WebLinks.h"

#include <QPixmap>

TFormAbout* FormAbout = nullptr;

TFormAbout::TFormAbout(QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::WindowStaysOnTopHint | Qt::WindowSystemMenuHint |
                          Qt::WindowCloseButtonHint),
      ui(new Ui::TFormAbout) {
    FormAbout = this;
    ui->setupUi(this);
    setFixedSize(359, 170);

    ui->Image_logo->setPixmap(QPixmap(QStringLiteral(":/Image_logo")));
    ui->Label_website->setText(WebSiteUrl().toString());
    ui->Label_website->adjustSize();

    connect(ui->Button_ok, &QPushButton::clicked, this, &TFormAbout::Button_okClick);
    OnClick(ui->Image_logo, [this] { Image_logoClick(); });
    OnClick(ui->Label_website, [this] { Label_websiteClick(); });
}

TFormAbout::~TFormAbout() {
    if (FormAbout == this)
        FormAbout = nullptr;
    delete ui;
}

// The About window keeps the look it is made with.
void TFormAbout::ChangeUIStyle(const QString&) {}

void TFormAbout::SetAppVersion(const QString& version, const QString&) {
    ui->Label_appVer->setText(QStringLiteral("ZenithWand ") + version);
    ui->Label_appVer->adjustSize();
}

void TFormAbout::Button_okClick() {
    close();
}

void TFormAbout::Image_logoClick() {
    OpenWebSite();
}

void TFormAbout::Label_websiteClick() {
    OpenWebSite();
}
