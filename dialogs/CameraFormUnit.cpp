#include "dialogs/CameraFormUnit.h"
#include "ui_CameraFormUnit.h"

#include "app/AppPaths.h"
#include "app/Mystructs.h"
#include "camera/Zorcamlib.h"
#include "dialogs/MessageBoxes.h"

#include <QThread>
#include <QTimer>

struct TFormCamera::ReadResult {
    int count = -1;
    QStringList names;
};

TFormCamera::TFormCamera(QWidget* parent)
    : QDialog(parent, Qt::Window | Qt::WindowStaysOnTopHint | Qt::WindowSystemMenuHint |
                          Qt::WindowCloseButtonHint | Qt::WindowTitleHint),
      ui(new Ui::TFormCamera) {
    ui->setupUi(this);
    setObjectName(QStringLiteral("FormCamera"));
    connect(ui->RadioBtn_camSim, &QRadioButton::toggled, this, [this] { EnableIndiControls(); });
    connect(ui->Btn_indiRead, &QPushButton::clicked, this, &TFormCamera::Btn_indiReadClick);
    connect(ui->Btn_cameraOk, &QPushButton::clicked, this, &TFormCamera::Btn_cameraOkClick);
    connect(ui->Btn_cameraCancel, &QPushButton::clicked, this, &TFormCamera::Btn_cameraCancelClick);
    gainTimer_ = new QTimer(this);
    gainTimer_->setInterval(1000);
    connect(gainTimer_, &QTimer::timeout, this, &TFormCamera::ShowCameraGain);
    EnableIndiControls();
}

void TFormCamera::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    ShowCameraGain();
    gainTimer_->start();
}

void TFormCamera::hideEvent(QHideEvent* event) {
    gainTimer_->stop();
    QDialog::hideEvent(event);
}

void TFormCamera::ShowCameraGain() {
    double value = 0, min = 0, max = 0;
    QString where;
    const bool known =
        g_connected && ZorcamGetDeviceGain(g_cameraHandle, &value, &min, &max, &where);
    if (known)
        ui->Label_cameraGain->setText(
            TranslateMessage(QStringLiteral("Camera gain: %1 (%2, %3 to %4)"))
                .arg(QString::number(value, 'g', 6), where, QString::number(min, 'g', 6),
                     QString::number(max, 'g', 6)));
    ui->Label_cameraGain->setVisible(known);
}

TFormCamera::~TFormCamera() {
    // The reader ends within its timeout; its result is shared, never this window.
    if (reader_) {
        reader_->wait();
        delete reader_;
    }
    delete ui;
}

void TFormCamera::LoadChoice() {
    ShowChoice(LoadCameraChoice(SettingsFilePath()));
    SetStatus(QStringLiteral("The choice takes effect at the next Connect."));
}

void TFormCamera::ShowChoice(const CameraChoice& c) {
    const bool indi = c.kind == CameraChoice::Kind::Indi;
    ui->RadioBtn_camIndi->setChecked(indi);
    ui->RadioBtn_camSim->setChecked(!indi);
    ui->Edit_indiHost->setText(c.host);
    ui->SpinBox_indiPort->setValue(c.port);
    ui->ComboBox_indiDevice->setEditText(c.device);
    ui->SpinBox_focalLength->setValue(c.focalLengthMm);
    EnableIndiControls();
}

CameraChoice TFormCamera::Choice() const {
    CameraChoice c;
    c.kind = ui->RadioBtn_camIndi->isChecked() ? CameraChoice::Kind::Indi
                                               : CameraChoice::Kind::Simulated;
    c.host = ui->Edit_indiHost->text().trimmed();
    if (c.host.isEmpty())
        c.host = QStringLiteral("localhost");
    c.port = ui->SpinBox_indiPort->value();
    c.device = ui->ComboBox_indiDevice->currentText().trimmed();
    c.focalLengthMm = ui->SpinBox_focalLength->value();
    return c;
}

void TFormCamera::EnableIndiControls() {
    ui->GrpBox_indi->setEnabled(ui->RadioBtn_camIndi->isChecked());
    ui->Btn_indiRead->setEnabled(ui->RadioBtn_camIndi->isChecked() && !Reading());
}

bool TFormCamera::Reading() const {
    return reader_ != nullptr;
}

void TFormCamera::SetStatus(const QString& untranslated, const QString& arg) {
    QString text = TranslateMessage(untranslated);
    if (!arg.isNull())
        text = text.arg(arg);
    ui->Label_cameraStatus->setText(text);
}

void TFormCamera::Btn_indiReadClick() {
    if (Reading())
        return;
    const auto lister = ZorcamServerCameraLister();
    if (!lister) {
        SetStatus(QStringLiteral("The INDI camera library is missing."));
        return;
    }
    SetStatus(QStringLiteral("Reading the cameras of the server..."));
    result_ = std::make_shared<ReadResult>();
    auto result = result_;
    const QString host = Choice().host;
    const int port = Choice().port;
    reader_ = QThread::create([result, lister, host, port] {
        result->count = ZorcamListServerCameras(lister, host, port, kReadTimeoutMs, result->names);
    });
    connect(reader_, &QThread::finished, this, &TFormCamera::ReadFinished);
    EnableIndiControls();
    reader_->start();
}

void TFormCamera::ReadFinished() {
    reader_->wait();
    reader_->deleteLater();
    reader_ = nullptr;
    EnableIndiControls();
    const ReadResult& r = *result_;
    if (r.count < 0) {
        SetStatus(QStringLiteral("No INDI server answers at this host and port."));
        return;
    }
    if (r.names.isEmpty()) {
        SetStatus(QStringLiteral("The server offers no camera."));
        return;
    }
    const QString typed = ui->ComboBox_indiDevice->currentText().trimmed();
    ui->ComboBox_indiDevice->clear();
    ui->ComboBox_indiDevice->addItems(r.names);
    const int keep = r.names.indexOf(typed);
    ui->ComboBox_indiDevice->setCurrentIndex(keep >= 0 ? keep : 0);
    SetStatus(QStringLiteral("Cameras found: %1"), QString::number(r.names.size()));
}

void TFormCamera::Btn_cameraOkClick() {
    if (!SaveCameraChoice(SettingsFilePath(), Choice())) {
        SetStatus(QStringLiteral("The settings file cannot be written."));
        return;
    }
    SetStatus(QStringLiteral("The choice takes effect at the next Connect."));
    hide();
}

void TFormCamera::Btn_cameraCancelClick() {
    hide();
}
