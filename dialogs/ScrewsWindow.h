// The window of the screws in turns: the mount profile, each screw's calibration, and
// the short calibration's prompts. It shows what it is given and tells what was pressed.
//
// Usage (workflow/MountTools.cpp):
//   auto* w = new ScrewsWindow(parent);
//   w->SetTexts(MountTexts::ForLanguage(lang));
//   w->ShowProfiles(profiles);               // names, the current one, its figures
//   w->SetPrompt(text); w->SetCalibrating(true);
//   connect(w, &ScrewsWindow::CalibrateClicked, ...);  // also NextClicked, CancelClicked,
//                                                       // ProfileChosen(name)
#pragma once

#include "guidance/MountTexts.h"
#include "guidance/ScrewProfiles.h"

#include <QDialog>

class QComboBox;
class QLabel;
class QPushButton;

class ScrewsWindow : public QDialog {
    Q_OBJECT
public:
    explicit ScrewsWindow(QWidget* parent = nullptr);
    ~ScrewsWindow() override;
    void SetTexts(const MountTexts& texts);
    void ShowProfiles(const ScrewProfiles& profiles);
    void SetPrompt(const QString& text);
    void SetCalibrating(bool on);

signals:
    void CalibrateClicked();
    void NextClicked();
    void CancelClicked();
    void ProfileChosen(const QString& name);

private:
    QString Figure(const ScrewCalibration& c) const;
    MountTexts texts_;
    QComboBox* profile_;
    QLabel* profileLabel_;
    QLabel* altLabel_;
    QLabel* azLabel_;
    QLabel* altValue_;
    QLabel* azValue_;
    QLabel* prompt_;
    QPushButton* calibrate_;
    QPushButton* next_;
    QPushButton* cancel_;
    ScrewProfiles shown_;
};
