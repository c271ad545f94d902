#include "dialogs/ScrewsWindow.h"

#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include <cmath>

ScrewsWindow::ScrewsWindow(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("ScrewsWindow"));
    profile_ = new QComboBox(this);
    profile_->setObjectName(QStringLiteral("Combo_screwProfile"));
    profile_->setEditable(true);
    profile_->setInsertPolicy(QComboBox::NoInsert);
    profileLabel_ = new QLabel(this);
    altLabel_ = new QLabel(this);
    azLabel_ = new QLabel(this);
    altValue_ = new QLabel(this);
    altValue_->setObjectName(QStringLiteral("Label_screwAlt"));
    azValue_ = new QLabel(this);
    azValue_->setObjectName(QStringLiteral("Label_screwAz"));
    prompt_ = new QLabel(this);
    prompt_->setObjectName(QStringLiteral("Label_screwPrompt"));
    prompt_->setWordWrap(true);
    prompt_->setMinimumWidth(320);
    calibrate_ = new QPushButton(this);
    calibrate_->setObjectName(QStringLiteral("Btn_screwCalibrate"));
    next_ = new QPushButton(this);
    next_->setObjectName(QStringLiteral("Btn_screwNext"));
    cancel_ = new QPushButton(this);
    cancel_->setObjectName(QStringLiteral("Btn_screwCancel"));

    auto* form = new QFormLayout;
    form->addRow(profileLabel_, profile_);
    form->addRow(altLabel_, altValue_);
    form->addRow(azLabel_, azValue_);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(calibrate_);
    buttons->addStretch();
    buttons->addWidget(cancel_);
    buttons->addWidget(next_);
    auto* box = new QVBoxLayout(this);
    box->addLayout(form);
    box->addWidget(prompt_);
    box->addLayout(buttons);

    connect(calibrate_, &QPushButton::clicked, this, &ScrewsWindow::CalibrateClicked);
    connect(next_, &QPushButton::clicked, this, &ScrewsWindow::NextClicked);
    connect(cancel_, &QPushButton::clicked, this, &ScrewsWindow::CancelClicked);
    // A name typed and confirmed, or one chosen from the list.
    connect(profile_, &QComboBox::activated, this,
            [this](int index) { emit ProfileChosen(profile_->itemText(index)); });
    connect(profile_->lineEdit(), &QLineEdit::editingFinished, this, [this] {
        const QString name = profile_->currentText().simplified();
        if (!name.isEmpty() && name != shown_.current)
            emit ProfileChosen(name);
    });
    SetTexts(MountTexts::ForLanguage(QStringLiteral("EN")));
    SetCalibrating(false);
}

// Closing hands the focus on, and the profile's field reports its edit when it loses
// it: by then this window is half gone, so the field is cut off from it first.
ScrewsWindow::~ScrewsWindow() {
    profile_->lineEdit()->disconnect(this);
    profile_->disconnect(this);
}

void ScrewsWindow::SetTexts(const MountTexts& t) {
    texts_ = t;
    setWindowTitle(t.Text("ScrewsTitle"));
    profileLabel_->setText(t.Text("ScrewsProfile"));
    altLabel_->setText(t.Text("ScrewsAltitude"));
    azLabel_->setText(t.Text("ScrewsAzimuth"));
    calibrate_->setText(t.Text("ScrewsCalibrate"));
    next_->setText(t.Text("ScrewsNext"));
    cancel_->setText(t.Text("ScrewsCancel"));
    ShowProfiles(shown_);
}

QString ScrewsWindow::Figure(const ScrewCalibration& c) const {
    if (!c.valid)
        return texts_.Text("ScrewsNotCalibrated");
    return texts_.Text("ScrewsPerTurn").arg(std::lround(c.arcsecPerTurn));
}

void ScrewsWindow::ShowProfiles(const ScrewProfiles& profiles) {
    shown_ = profiles;
    const QSignalBlocker block(profile_);
    profile_->clear();
    for (const MountProfile& p : profiles.profiles)
        profile_->addItem(p.name);
    profile_->setCurrentText(profiles.current);
    const MountProfile* current = nullptr;
    for (const MountProfile& p : profiles.profiles)
        if (p.name == profiles.current)
            current = &p;
    altValue_->setText(Figure(current ? current->altitude : ScrewCalibration{}));
    azValue_->setText(Figure(current ? current->azimuth : ScrewCalibration{}));
}

void ScrewsWindow::SetPrompt(const QString& text) {
    prompt_->setText(text);
}

void ScrewsWindow::SetCalibrating(bool on) {
    calibrate_->setEnabled(!on);
    profile_->setEnabled(!on);
    next_->setVisible(on);
    cancel_->setVisible(on);
}
