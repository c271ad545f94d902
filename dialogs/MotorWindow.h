// The window of the motorised adjusters: the serial port, connect, each axis's
// calibration, the closed-loop alignment, stop, the backlash of each axis, and the
// motor's state. It shows what it is given and tells what was pressed.
//
// Usage (workflow/MountTools.cpp):
//   auto* w = new MotorWindow(parent);
//   w->SetTexts(texts); w->ShowSettings(settings); w->SetState(text, connected, busy);
//   connect(w, &MotorWindow::ConnectClicked, ...);   // also DisconnectClicked,
//     CalibrateClicked(altitude), AlignClicked, StopClicked, SettingsEdited(settings)
#pragma once

#include "guidance/MountTexts.h"
#include "motor/MotorAxes.h"

#include <QDialog>

class QDoubleSpinBox;
class QLabel;
class QLineEdit;
class QPushButton;

class MotorWindow : public QDialog {
    Q_OBJECT
public:
    explicit MotorWindow(QWidget* parent = nullptr);
    ~MotorWindow() override;
    void SetTexts(const MountTexts& texts);
    void ShowSettings(const MotorSettings& settings);
    // The state line, and which buttons make sense: connected, and a move under way.
    void SetState(const QString& text, bool connected, bool busy);

signals:
    void ConnectClicked();
    void DisconnectClicked();
    void CalibrateClicked(bool altitude);
    void AlignClicked();
    void StopClicked();
    void SettingsEdited(const MotorSettings& settings);

private:
    void Edited();
    MotorSettings settings_;
    QLabel* portLabel_;
    QLineEdit* port_;
    QPushButton* connect_;
    QPushButton* disconnect_;
    QLabel* altBacklashLabel_;
    QLabel* azBacklashLabel_;
    QDoubleSpinBox* altBacklash_;
    QDoubleSpinBox* azBacklash_;
    QLabel* figures_;
    QPushButton* calibrateAlt_;
    QPushButton* calibrateAz_;
    QPushButton* align_;
    QPushButton* stop_;
    QLabel* state_;
};
