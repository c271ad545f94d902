#include "display/ViewControls.h"
#include "ui_FormMain.h"

#include "app/MainFormUnit.h"
#include "core/Log.h"
#include "display/LiveImageView.h"
#include "display/LiveView.h"
#include "display/MagnifierGlass.h"
#include "display/Readouts.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileDialog>
#include <QSpinBox>
#include <opencv2/imgcodecs.hpp>

#include <array>
#include <vector>

namespace {

SaveFileChooser& Chooser() {
    static SaveFileChooser chooser;
    return chooser;
}

QString ChooseSaveFile(QWidget* parent) {
    if (Chooser())
        return Chooser()(parent);
    // Only the filter is given: the dialog adds no extension of its own.
    return QFileDialog::getSaveFileName(parent, QString(), QString(),
                                        QStringLiteral("Image files (*.bmp)"));
}

// Writes a grey frame as an uncompressed 8-bit BMP; false when it cannot be written.
bool WriteGreyBmp(const cv::Mat& frame, const QString& path) {
    std::vector<uchar> bytes;
    if (!cv::imencode(".bmp", frame, bytes))
        return false;
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return false;
    const qint64 size = static_cast<qint64>(bytes.size());
    if (file.write(reinterpret_cast<const char*>(bytes.data()), size) != size)
        return false;
    return file.flush();
}

void SetZoom(TFormMain* form, float factor, const char* logText) {
    if (g_zoom == factor)
        return;
    WriteLog(QStringLiteral("Info"), QString::fromLatin1(logText));
    g_zoom = factor;
    g_iniFileInfo.factor = factor;
    form->CheckZoomMenuItem(factor);
}

} // namespace

void SetSaveFileChooserForTesting(SaveFileChooser chooser) {
    Chooser() = std::move(chooser);
}

float NextZoom(float current, int direction) {
    static constexpr std::array<float, 3> zooms{0.5f, 0.75f, 1.0f};
    std::size_t i = zooms.size() - 1;
    for (std::size_t k = 0; k < zooms.size(); ++k)
        if (zooms[k] == current)
            i = k;
    if (direction > 0 && i + 1 < zooms.size())
        ++i;
    else if (direction < 0 && i > 0)
        --i;
    return zooms[i];
}

QString BmpPathFor(const QString& chosenName) {
    return chosenName + QStringLiteral(".bmp");
}

void TFormMain::CheckZoomMenuItem(float factor) {
    if (factor == 0.5f)
        ui->MenuItem_50->setChecked(true);
    else if (factor == 0.75f)
        ui->MenuItem_75->setChecked(true);
    else
        ui->MenuItem_100->setChecked(true);
}

void TFormMain::MenuItem_100Click() {
    SetZoom(this, 1.0f, "Zoom 100%");
}
void TFormMain::MenuItem_75Click() {
    SetZoom(this, 0.75f, "Zoom 75%");
}
void TFormMain::MenuItem_50Click() {
    SetZoom(this, 0.5f, "Zoom 50%");
}

// The keys of "Zoom In" and "Zoom Out" reach them even while the Zoom menu is
// disabled (not connected): the zoom stays as it is then, as with the menu.
void TFormMain::MenuItem_zoomInClick() {
    if (!ui->MenuItem_zoom->isEnabled())
        return;
    const float next = NextZoom(g_zoom, +1);
    if (next == 1.0f)
        MenuItem_100Click();
    else
        MenuItem_75Click();
}
void TFormMain::MenuItem_zoomOutClick() {
    if (!ui->MenuItem_zoom->isEnabled())
        return;
    const float next = NextZoom(g_zoom, -1);
    if (next == 0.5f)
        MenuItem_50Click();
    else
        MenuItem_75Click();
}

void TFormMain::Img_capMouseMove(QPointF imagePos) {
    if (!g_cameraOpen)
        return;
    const double x = imagePos.x();
    const double y = imagePos.y();
    Label_mousePos->setText(MousePositionText(x, y));
    mouseX = x;
    mouseY = y;
    MagnifierGlass_roiImg->setZoomRegionCenter(MagnifierCenter(x, y));
    QCoreApplication::processEvents();
}

void TFormMain::ScrollBox_capImgViewportPositionChange() {
    ScrollBox_capImg->viewport()->update();
    // The glass lives on the viewport, so it stays at the top-left corner of the
    // visible part of the image whatever the scroll position.
    MagnifierGlass_roiImg->move(0, 0);
    MagnifierGlass_roiImg->update();
}

void TFormMain::MenuItem_saveClick() {
    cv::Mat frame;
    CopyLastReceivedFrame(frame);
    const QString chosen = ChooseSaveFile(this);
    if (chosen.isEmpty())
        return;
    const QString path = BmpPathFor(chosen);
    if (WriteGreyBmp(frame, path))
        WriteLog(QStringLiteral("Info"), QStringLiteral("Save As BMP ") + path);
    else
        WriteLog(QStringLiteral("Error"), QStringLiteral("Save As BMP failed: ") + path);
}

void TFormMain::MenuItem_stretchClick() {
    // The menu item is checkable: the click has already inverted its check mark.
    g_stretchOn = ui->MenuItem_stretch->isChecked();
}

void TFormMain::SpinBox1Change() {
    g_blackLevel = SpinBox1->value();
}
void TFormMain::SpinBox2Change() {
    g_whiteLevel = SpinBox2->value();
}
