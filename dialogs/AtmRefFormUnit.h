// The Astronomical Refraction window: the observing site (latitude, longitude east
// positive, elevation), the air conditions, and the switch of the refraction
// correction. Created at start-up, shown and hidden, alive until the end.
//
//   FormAtmRef->FillFromSettings(g_iniFileInfo);  // when a camera is connected
//   FormAtmRef->show();
//   FormAtmRef->AskForSite();                      // the first Connect without a site
//   connect(FormAtmRef, &TFormAtmRef::SiteAnswered, ...);  // true: the site is set
//
// Every edit takes effect at once: it writes the working value the tracker reads on
// its next frame (g_latitude, g_longitude, g_pressure, g_pressureUnit, g_temperature,
// g_refractionOn) and then the matching field of the settings record g_iniFileInfo.
// The pressure is kept in the unit chosen in the list (0 kPa, 1 hPa); changing the
// unit converts the value shown. A new elevation sets the pressure to the standard
// air's there. An edit of the site's latitude, longitude or elevation by the user
// sets the site (g_iniFileInfo.siteSet); while the window asks for the site, only its
// "Use this site" button does, and "Cancel" leaves it unset.
#pragma once

#include <QWidget>

struct INIFILEINFO;

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
    // The same from a settings record (a copy is taken first: the handlers write the
    // record back), with the elevation and humidity; filling sets no site.
    void FillFromSettings(const INIFILEINFO& info);

    // Shows the window with the question and its two buttons, raised and active.
    void AskForSite();
    bool Asking() const { return asking_; }

    void SpinBox_latitudeChange();
    void SpinBox_longitudeChange();
    void SpinBox_PChange();
    void SpinBox_TChange();
    void CheckBox_astroRefChange();
    void ComboBox_pressureChange();
    void SpinBox_elevationChange();
    void SpinBox_humidityChange();

signals:
    // The question was answered: true when the site is now set.
    void SiteAnswered(bool set);

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void SiteEdited();
    void EndQuestion(bool set);
    void SetQuestionShown(bool shown);
    bool filling_ = false;
    bool asking_ = false;
};

extern TFormAtmRef* FormAtmRef;

// Hands the refraction's model, humidity, wavelength and whether the site is set from
// the settings record to the capture thread, when there is one.
void HandRefractionAirToTracker();
