#include "dialogs/MotorWindow.h"

#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

QPushButton* Button(QWidget* parent, const char* name) {
    auto* b = new QPushButton(parent);
    b->setObjectName(QLatin1String(name));
    return b;
}

QDoubleSpinBox* Backlash(QWidget* parent, const char* name) {
    auto* s = new QDoubleSpinBox(parent);
    s->setObjectName(QLatin1String(name));
    s->setRange(0, 3600);
    s->setDecimals(1);
    s->setSingleStep(5);
    return s;
}

} // namespace

MotorWindow::MotorWindow(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("MotorWindow"));
    portLabel_ = new QLabel(this);
    port_ = new QLineEdit(this);
    port_->setObjectName(QStringLiteral("Edit_motorPort"));
    port_->setPlaceholderText(QStringLiteral("/dev/ttyUSB0"));
    connect_ = Button(this, "Btn_motorConnect");
    disconnect_ = Button(this, "Btn_motorDisconnect");
    altBacklashLabel_ = new QLabel(this);
    azBacklashLabel_ = new QLabel(this);
    altBacklash_ = Backlash(this, "Spin_motorAltBacklash");
    azBacklash_ = Backlash(this, "Spin_motorAzBacklash");
    figures_ = new QLabel(this);
    figures_->setObjectName(QStringLiteral("Label_motorAxes"));
    calibrateAlt_ = Button(this, "Btn_motorCalibrateAlt");
    calibrateAz_ = Button(this, "Btn_motorCalibrateAz");
    align_ = Button(this, "Btn_motorAlign");
    stop_ = Button(this, "Btn_motorStop");
    state_ = new QLabel(this);
    state_->setObjectName(QStringLiteral("Label_motorState"));
    state_->setWordWrap(true);
    state_->setMinimumWidth(320);

    auto* portRow = new QHBoxLayout;
    portRow->addWidget(portLabel_);
    portRow->addWidget(port_, 1);
    portRow->addWidget(connect_);
    portRow->addWidget(disconnect_);
    auto* form = new QFormLayout;
    form->addRow(altBacklashLabel_, altBacklash_);
    form->addRow(azBacklashLabel_, azBacklash_);
    auto* actions = new QGridLayout;
    actions->addWidget(calibrateAlt_, 0, 0);
    actions->addWidget(calibrateAz_, 0, 1);
    actions->addWidget(align_, 1, 0);
    actions->addWidget(stop_, 1, 1);
    auto* box = new QVBoxLayout(this);
    box->addLayout(portRow);
    box->addLayout(form);
    box->addWidget(figures_);
    box->addLayout(actions);
    box->addWidget(state_);

    connect(connect_, &QPushButton::clicked, this, [this] {
        Edited();
        emit ConnectClicked();
    });
    connect(disconnect_, &QPushButton::clicked, this, &MotorWindow::DisconnectClicked);
    connect(calibrateAlt_, &QPushButton::clicked, this, [this] { emit CalibrateClicked(true); });
    connect(calibrateAz_, &QPushButton::clicked, this, [this] { emit CalibrateClicked(false); });
    connect(align_, &QPushButton::clicked, this, &MotorWindow::AlignClicked);
    connect(stop_, &QPushButton::clicked, this, &MotorWindow::StopClicked);
    connect(port_, &QLineEdit::editingFinished, this, &MotorWindow::Edited);
    connect(altBacklash_, &QDoubleSpinBox::editingFinished, this, &MotorWindow::Edited);
    connect(azBacklash_, &QDoubleSpinBox::editingFinished, this, &MotorWindow::Edited);
    SetTexts(MountTexts::ForLanguage(QStringLiteral("EN")));
    SetState(QString(), false, false);
}

// Closing hands the focus on, and a field that loses it reports its edit: by then this
// window is half gone, so its fields are cut off from it first.
MotorWindow::~MotorWindow() {
    port_->disconnect(this);
    altBacklash_->disconnect(this);
    azBacklash_->disconnect(this);
}

void MotorWindow::SetTexts(const MountTexts& t) {
    setWindowTitle(t.Text("MotorTitle"));
    portLabel_->setText(t.Text("MotorPort"));
    connect_->setText(t.Text("MotorConnect"));
    disconnect_->setText(t.Text("MotorDisconnect"));
    altBacklashLabel_->setText(t.Text("MotorBacklashAlt"));
    azBacklashLabel_->setText(t.Text("MotorBacklashAz"));
    calibrateAlt_->setText(t.Text("MotorCalibrateAlt"));
    calibrateAz_->setText(t.Text("MotorCalibrateAz"));
    align_->setText(t.Text("MotorAlign"));
    stop_->setText(t.Text("MotorStop"));
}

void MotorWindow::ShowSettings(const MotorSettings& s) {
    settings_ = s;
    const QSignalBlocker b1(port_), b2(altBacklash_), b3(azBacklash_);
    port_->setText(s.port);
    altBacklash_->setValue(s.alt.backlashArcsec);
    azBacklash_->setValue(s.az.backlashArcsec);
    auto axis = [](const MotorAxis& a) {
        return QStringLiteral("%1: %2 mm/\" %3")
            .arg(QChar::fromLatin1(a.letter))
            .arg(a.mmPerArcsec, 0, 'g', 4)
            .arg(a.sense > 0 ? QStringLiteral("+") : QStringLiteral("−"));
    };
    figures_->setText(axis(s.alt) + QStringLiteral("    ") + axis(s.az));
}

void MotorWindow::SetState(const QString& text, bool connected, bool busy) {
    state_->setText(text);
    connect_->setEnabled(!connected);
    disconnect_->setEnabled(connected);
    port_->setEnabled(!connected);
    calibrateAlt_->setEnabled(connected && !busy);
    calibrateAz_->setEnabled(connected && !busy);
    align_->setEnabled(connected && !busy);
    stop_->setEnabled(connected);
}

void MotorWindow::Edited() {
    MotorSettings s = settings_;
    s.port = port_->text().trimmed();
    s.alt.backlashArcsec = altBacklash_->value();
    s.az.backlashArcsec = azBacklash_->value();
    if (s.port == settings_.port && s.alt.backlashArcsec == settings_.alt.backlashArcsec &&
        s.az.backlashArcsec == settings_.az.backlashArcsec)
        return;
    settings_ = s;
    emit SettingsEdited(s);
}
