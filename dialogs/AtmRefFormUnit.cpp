#include "dialogs/AtmRefFormUnit.h"
#include "ui_AtmRefFormUnit.h"

#include "display/StyleBook.h"

#include "app/Mystructs.h"

TFormAtmRef* FormAtmRef = nullptr;

namespace {
constexpr int kUnitKpa = 0;
constexpr int kUnitHpa = 1;
} // namespace

TFormAtmRef::TFormAtmRef(QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::WindowStaysOnTopHint | Qt::WindowSystemMenuHint |
                          Qt::WindowCloseButtonHint),
      ui(new Ui::TFormAtmRef) {
    FormAtmRef = this;
    ui->setupUi(this);
    setFixedSize(369, 120);

    auto onValue = [this](FloatSpinBox* box, void (TFormAtmRef::*handler)()) {
        connect(box, &QDoubleSpinBox::valueChanged, this, handler);
    };
    onValue(ui->SpinBox_latitude, &TFormAtmRef::SpinBox_latitudeChange);
    onValue(ui->SpinBox_longitude, &TFormAtmRef::SpinBox_longitudeChange);
    onValue(ui->SpinBox_P, &TFormAtmRef::SpinBox_PChange);
    onValue(ui->SpinBox_T, &TFormAtmRef::SpinBox_TChange);
    connect(ui->CheckBox_astroRef, &QCheckBox::toggled, this,
            &TFormAtmRef::CheckBox_astroRefChange);
    connect(ui->ComboBox_pressure, &QComboBox::currentIndexChanged, this,
            &TFormAtmRef::ComboBox_pressureChange);
}

TFormAtmRef::~TFormAtmRef() {
    if (FormAtmRef == this)
        FormAtmRef = nullptr;
    delete ui;
}

void TFormAtmRef::FillFromWorkingValues() {
    ui->SpinBox_latitude->setValue(g_latitude);
    ui->SpinBox_longitude->setValue(g_longitude);
    // Read before the unit changes: the unit's change handler converts the shown value.
    const double pressure = g_pressure;
    const bool refractionOn = g_refractionOn;
    ui->ComboBox_pressure->setCurrentIndex(g_pressureUnit == kUnitHpa ? kUnitHpa : kUnitKpa);
    ui->SpinBox_P->setValue(pressure);
    ui->SpinBox_T->setValue(g_temperature);
    ui->CheckBox_astroRef->setChecked(refractionOn);
}

void TFormAtmRef::SpinBox_latitudeChange() {
    g_latitude = ui->SpinBox_latitude->floatValue();
    g_iniFileInfo.latitude = g_latitude;
}

void TFormAtmRef::SpinBox_longitudeChange() {
    g_longitude = ui->SpinBox_longitude->floatValue();
    g_iniFileInfo.longitude = g_longitude;
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
    if (ui->ComboBox_pressure->currentIndex() == kUnitHpa) {
        g_pressureUnit = kUnitHpa;
        g_iniFileInfo.P_UnitType = kUnitHpa;
        ui->SpinBox_P->setMaximum(1060);
        ui->SpinBox_P->setMinimum(900);
        ui->SpinBox_P->setSingleStep(1);
        v = v * 10.0f;
    } else {
        g_pressureUnit = kUnitKpa;
        g_iniFileInfo.P_UnitType = kUnitKpa;
        ui->SpinBox_P->setMaximum(110);
        ui->SpinBox_P->setMinimum(90);
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
