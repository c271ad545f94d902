// The Astronomical Refraction window: the observing site and the air conditions, and
// the switch of the refraction correction. Created at start-up, shown and hidden,
// alive until the end.
//
//   FormAtmRef->FillFromWorkingValues();   // when a camera is connected
//   FormAtmRef->show();
//
// Every edit takes effect at once: it writes the working value the tracker reads on
// its next frame (g_latitude, g_longitude, g_pressure, g_pressureUnit, g_temperature,
// g_refractionOn) and then the matching field of the settings record g_iniFileInfo.
// The pressure is kept in the unit chosen in the list (0 kPa, 1 hPa); changing the
// unit converts the value shown.
#pragma once

#include <QWidget>

namespace Ui {
class TFormAtmRef;
}

class TFormAtmRef : public QWidget {
    Q_OBJECT
public:
    explicit TFormAtmRef(QWidget* parent = nullptr);
    ~TFormAtmRef() override;

    Ui::TFormAtmRef* ui;

    void ChangeUIStyle(const QString& style);

    // Shows the working values in the controls, in the order latitude, longitude,
    // pressure unit, pressure, temperature, correction switch; each control whose
    // value changes runs its change handler.
    void FillFromWorkingValues();

    void SpinBox_latitudeChange();
    void SpinBox_longitudeChange();
    void SpinBox_PChange();
    void SpinBox_TChange();
    void CheckBox_astroRefChange();
    void ComboBox_pressureChange();
};

extern TFormAtmRef* FormAtmRef;
