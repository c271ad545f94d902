#include "dialogs/AtmRefFormUnit.h"
#include "ui_AtmRefFormUnit.h"

#include "display/StyleBook.h"

#include "app/Mystructs.h"
#include "astro/Refraction.h"
#include "camera/DisplayThread.h"

#include <QCloseEvent>

TFormAtmRef* FormAtmRef = nullptr;

namespace {
constexpr int kUnitKpa = 0;
constexpr int kUnitHpa = 1;
constexpr int kWidth = 369;
constexpr int kHeight = 136;
constexpr int kAskingHeight = 208;
} // namespace

void HandRefractionAirToTracker() {
    if (DisplayThread* t = g_displayThread)
        t->SetRefractionAir(RefractionModelOfWord(g_iniFileInfo.refractionModel),
                            g_iniFileInfo.humidity, g_iniFileInfo.wavelength,
                            g_iniFileInfo.siteSet);
}

TFormAtmRef::TFormAtmRef(QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::WindowStaysOnTopHint | Qt::WindowSystemMenuHint |
                          Qt::WindowCloseButtonHint),
      ui(new Ui::TFormAtmRef) {
    FormAtmRef = this;
    ui->setupUi(this);
    SetQuestionShown(false);

    auto onValue = [this](FloatSpinBox* box, void (TFormAtmRef::*handler)()) {
        connect(box, &QDoubleSpinBox::valueChanged, this, handler);
    };
    onValue(ui->SpinBox_latitude, &TFormAtmRef::SpinBox_latitudeChange);
    onValue(ui->SpinBox_longitude, &TFormAtmRef::SpinBox_longitudeChange);
    onValue(ui->SpinBox_P, &TFormAtmRef::SpinBox_PChange);
    onValue(ui->SpinBox_T, &TFormAtmRef::SpinBox_TChange);
    onValue(ui->SpinBox_elevation, &TFormAtmRef::SpinBox_elevationChange);
    onValue(ui->SpinBox_humidity, &TFormAtmRef::SpinBox_humidityChange);
    connect(ui->CheckBox_astroRef, &QCheckBox::toggled, this,
            &TFormAtmRef::CheckBox_astroRefChange);
    connect(ui->ComboBox_pressure, &QComboBox::currentIndexChanged, this,
            &TFormAtmRef::ComboBox_pressureChange);
    connect(ui->Btn_siteOk, &QPushButton::clicked, this, [this] { EndQuestion(true); });
    connect(ui->Btn_siteCancel, &QPushButton::clicked, this, [this] { EndQuestion(false); });
}

TFormAtmRef::~TFormAtmRef() {
    if (FormAtmRef == this)
        FormAtmRef = nullptr;
    delete ui;
}

void TFormAtmRef::SetQuestionShown(bool shown) {
    ui->Label_siteQuestion->setVisible(shown);
    ui->Btn_siteOk->setVisible(shown);
    ui->Btn_siteCancel->setVisible(shown);
    setFixedSize(kWidth, shown ? kAskingHeight : kHeight);
}

void TFormAtmRef::AskForSite() {
    asking_ = true;
    SetQuestionShown(true);
    show();
    raise();
    activateWindow();
}

void TFormAtmRef::EndQuestion(bool set) {
    if (!asking_)
        return;
    asking_ = false;
    if (set)
        g_iniFileInfo.siteSet = true;
    SetQuestionShown(false);
    hide();
    HandRefractionAirToTracker();
    emit SiteAnswered(g_iniFileInfo.siteSet);
}

void TFormAtmRef::closeEvent(QCloseEvent* event) {
    // Closing the window while it asks is a "Cancel".
    EndQuestion(false);
    QWidget::closeEvent(event);
}

void TFormAtmRef::FillFromWorkingValues() {
    filling_ = true;
    ui->SpinBox_latitude->setValue(g_latitude);
    ui->SpinBox_longitude->setValue(g_longitude);
    // Read before the unit changes: the unit's change handler converts the shown value.
    const double pressure = g_pressure;
    const bool refractionOn = g_refractionOn;
    ui->ComboBox_pressure->setCurrentIndex(g_pressureUnit == kUnitHpa ? kUnitHpa : kUnitKpa);
    ui->SpinBox_P->setValue(pressure);
    ui->SpinBox_T->setValue(g_temperature);
    ui->CheckBox_astroRef->setChecked(refractionOn);
    filling_ = false;
}

void TFormAtmRef::FillFromSettings(const INIFILEINFO& settings) {
    const INIFILEINFO info = settings;
    filling_ = true;
    ui->SpinBox_latitude->setValue(info.latitude);
    ui->SpinBox_longitude->setValue(info.longitude);
    ui->SpinBox_elevation->setValue(info.elevation);
    ui->SpinBox_humidity->setValue(info.humidity * 100.0);
    ui->ComboBox_pressure->setCurrentIndex(info.P_UnitType == kUnitHpa ? kUnitHpa : kUnitKpa);
    ui->SpinBox_P->setValue(info.P);
    ui->SpinBox_T->setValue(info.T);
    ui->CheckBox_astroRef->setChecked(info.isCorrection);
    filling_ = false;
    HandRefractionAirToTracker();
}

void TFormAtmRef::SiteEdited() {
    if (filling_ || asking_ || g_iniFileInfo.siteSet)
        return;
    g_iniFileInfo.siteSet = true;
    HandRefractionAirToTracker();
    emit SiteAnswered(true);
}

void TFormAtmRef::SpinBox_latitudeChange() {
    g_latitude = ui->SpinBox_latitude->floatValue();
    g_iniFileInfo.latitude = g_latitude;
    SiteEdited();
}

void TFormAtmRef::SpinBox_longitudeChange() {
    g_longitude = ui->SpinBox_longitude->floatValue();
    g_iniFileInfo.longitude = g_longitude;
    SiteEdited();
}

void TFormAtmRef::SpinBox_elevationChange() {
    g_iniFileInfo.elevation = ui->SpinBox_elevation->floatValue();
    if (!filling_) {
        // The standard air of the new elevation; the user may type the barometer's.
        const double kPa = StandardPressureKPa(g_iniFileInfo.elevation);
        ui->SpinBox_P->setValue(ui->ComboBox_pressure->currentIndex() == kUnitHpa ? kPa * 10.0
                                                                                  : kPa);
    }
    SiteEdited();
}

void TFormAtmRef::SpinBox_humidityChange() {
    g_iniFileInfo.humidity = ui->SpinBox_humidity->floatValue() / 100.0;
    if (!filling_)
        HandRefractionAirToTracker();
}

void TFormAtmRef::SpinBox_PChange() {
    g_pressure = ui->SpinBox_P->floatValue();
    g_iniFileInfo.P = g_pressure;
}

void TFormAtmRef::SpinBox_TChange() {
    g_temperature = ui->SpinBox_T->floatValue();
    g_iniFileInfo.T = g_temperature;
}

void TFormAtmRef::CheckBox_astroRefChange() {
    g_refractionOn = ui->CheckBox_astroRef->isChecked();
    g_iniFileInfo.isCorrection = g_refractionOn;
}

void TFormAtmRef::ComboBox_pressureChange() {
    float v = static_cast<float>(ui->SpinBox_P->value());
    // The limits change before the value: a value they clamp for a moment passes
    // through the pressure's change handler, and the converted value comes last.
    // Down to 50 kPa: sites up to about 5500 m.
    if (ui->ComboBox_pressure->currentIndex() == kUnitHpa) {
        g_pressureUnit = kUnitHpa;
        g_iniFileInfo.P_UnitType = kUnitHpa;
        ui->SpinBox_P->setMaximum(1060);
        ui->SpinBox_P->setMinimum(500);
        ui->SpinBox_P->setSingleStep(1);
        v = v * 10.0f;
    } else {
        g_pressureUnit = kUnitKpa;
        g_iniFileInfo.P_UnitType = kUnitKpa;
        ui->SpinBox_P->setMaximum(110);
        ui->SpinBox_P->setMinimum(50);
        ui->SpinBox_P->setSingleStep(0.1);
        v = v * 0.1f;
    }
    ui->SpinBox_P->setValue(v);
}

// "Mono" loads Blend.Style, "Color" Dark.Style, "Night" Night.Style; other words
// change nothing.
void TFormAtmRef::ChangeUIStyle(const QString& style) {
    ApplyStyleWord(this, style);
}
