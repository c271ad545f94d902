// The Camera window (Tools menu): the simulated camera or a camera on an INDI
// server (host, port, one of the server's cameras, the lens's focal length).
// Made the first time the menu item is used, a child of the main window.
//
//   auto* w = new TFormCamera(mainWindow);
//   w->LoadChoice();           // from the settings file's [CAMERA]
//   w->show();
//
// While the window shows and a camera is connected, it shows the camera's own
// gain as its driver reports it (read again every second), when the camera
// library tells it.
//
// "Read cameras" asks the server for its cameras on a thread of its own (bounded
// by a timeout), so the window never freezes. OK writes [CAMERA] to the settings
// file at once and closes; the choice takes effect at the next Connect. Cancel
// closes without saving.
#pragma once

#include "camera/CameraChoice.h"

#include <QDialog>

#include <memory>

namespace Ui {
class TFormCamera;
}
class QThread;
class QTimer;

class TFormCamera : public QDialog {
    Q_OBJECT
public:
    explicit TFormCamera(QWidget* parent = nullptr);
    ~TFormCamera() override;

    Ui::TFormCamera* ui;

    void LoadChoice();
    CameraChoice Choice() const;
    void ShowChoice(const CameraChoice& choice);

    void Btn_indiReadClick();
    void Btn_cameraOkClick();
    void Btn_cameraCancelClick();
    // True while the server is being asked for its cameras.
    bool Reading() const;

    // Shows the connected camera's own gain, or hides the line when there is none.
    void ShowCameraGain();

    // How long the server may take to answer "Read cameras".
    static constexpr int kReadTimeoutMs = 3000;

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    void EnableIndiControls();
    void ReadFinished();
    void SetStatus(const QString& untranslated, const QString& arg = QString());

    struct ReadResult;
    std::shared_ptr<ReadResult> result_;
    QThread* reader_ = nullptr;
    QTimer* gainTimer_ = nullptr;
};
