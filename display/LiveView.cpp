#include "display/LiveView.h"
#include "ui_FormMain.h"

#include "app/MainFormUnit.h"
#include "app/Mystructs.h"
#include "camera/DisplayThread.h"
#include "display/LiveImageView.h"
#include "display/MagnifierGlass.h"
#include "display/NightStyle.h"
#include "display/Overlays.h"
#include "display/Readouts.h"
#include "workflow/MountTools.h"

#include <QCoreApplication>
#include <QPixmap>
#include <opencv2/imgproc.hpp>

#include <cstring>

static_assert(Q_BYTE_ORDER == Q_LITTLE_ENDIAN,
              "32-bit bitmaps are written as blue, green, red, alpha bytes");

namespace {

constexpr std::size_t kGreyFrameBytes = std::size_t(kFrameWidth) * kFrameHeight;

// The receive buffer as it was at the last hand-over; owned by the user-interface thread.
cv::Mat& ReceivedFrameCopy() {
    static cv::Mat copy = cv::Mat::zeros(kFrameHeight, kFrameWidth, CV_8UC1);
    return copy;
}
bool g_receivedFrameTaken = false;
// The clock's moment (UTC seconds) when that frame was received.
double receivedFrameSeconds = 0;

// The frame as shown at the last hand-over when the stretch had rewritten it (the
// receive buffer then differs from what the user sees); empty otherwise.
cv::Mat& StretchedFrameCopy() {
    static cv::Mat copy;
    return copy;
}

OverlayMarks CurrentMarks() {
    OverlayMarks m;
    m.mono = IsMonoStyle(g_uiStyle);
    m.night = IsNightStyle(g_uiStyle);
    m.ringAngle = g_ringAngle;
    m.showEptNStar = g_showEptNStar;
    m.showAxisMark = g_showAxisMark;
    m.showAxisCircle = g_showAxisCircle;
    m.monitorPole = g_monitorPole;
    m.showRefStarA = g_showRefStarA;
    m.showRefStarB = g_showRefStarB;
    if (const DisplayThread* t = g_displayThread) {
        // The capture thread waits while this runs: its measured positions are
        // stable here, and the setters' fields are only written on this thread.
        m.eptNStarX = t->eptNStarX;
        m.eptNStarY = t->eptNStarY;
        m.cirCenterX = t->cirCenterX;
        m.cirCenterY = t->cirCenterY;
        m.cirRadius = t->cirRadius;
        m.polarPosX = t->polarPosX;
        m.polarPosY = t->polarPosY;
        m.refStarAX = t->refStarAX;
        m.refStarAY = t->refStarAY;
        m.refStarBX = t->refStarBX;
        m.refStarBY = t->refStarBY;
        m.showGuides = g_monitorPole && t->poleErrorFound;
        m.arcsecPerPx = t->plateScale;
        m.zenithX = t->zenithX;
        m.zenithY = t->zenithY;
    }
    return m;
}

bool Is32BitBgra(QImage::Format f) {
    return f == QImage::Format_RGB32 || f == QImage::Format_ARGB32 ||
           f == QImage::Format_ARGB32_Premultiplied;
}

} // namespace

void RenderLiveView() {
    // The receive buffer is not being filled now (the capture thread waits), so
    // this is the moment to keep its frame apart for "Save As BMP".
    std::memcpy(ReceivedFrameCopy().data, g_liveBuffer, kGreyFrameBytes);
    g_receivedFrameTaken = true;
    receivedFrameSeconds = g_displayThread ? g_displayThread->LastFrameUtcSeconds() : 0.0;
    if (g_stretchOn && !g_frameImage.empty())
        g_frameImage.copyTo(StretchedFrameCopy());
    else
        StretchedFrameCopy().release();

    if (!g_frameImage.empty()) {
        // The night style shows the frame on a red ramp; the frame itself stays grey.
        if (IsNightStyle(g_uiStyle))
            MapToRedRamp(g_frameImage, g_displayImage);
        else if (g_frameImage.channels() == 3)
            g_frameImage.copyTo(g_displayImage);
        else
            cv::cvtColor(g_frameImage, g_displayImage, cv::COLOR_GRAY2BGR);
        DrawOverlays(g_displayImage, CurrentMarks());
        CopyImageToBitmap(g_displayImage, g_viewBitmap);
    }
    g_viewUpdatePending = true;
}

void ShowLiveView() {
    TFormMain* form = FormMain;
    if (!form || !form->Img_cap)
        return;
    const float zoom = g_zoom;
    ImageItem* cap = form->Img_cap;
    cap->setImageSource(&g_viewBitmap);
    cap->setScale(zoom);
    cap->update();
    // The scroll box scrolls the scaled image.
    if (QGraphicsScene* scene = cap->scene())
        scene->setSceneRect(QRectF(0, 0, g_viewBitmap.width() * double(zoom),
                                   g_viewBitmap.height() * double(zoom)));

    if (g_appliedZoom != zoom) {
        QLabel* arrow = form->ui->Image_rotateDirect;
        arrow->setGeometry(qRound(20 * zoom), qRound(110 * zoom), qRound(238 * zoom),
                           qRound(171 * zoom));
        if (form->Img_Mask)
            form->Img_Mask->setScale(zoom);
        g_appliedZoom = zoom;
    }
    if (form->MagnifierGlass_roiImg) {
        form->MagnifierGlass_roiImg->setSourceImage(&g_viewBitmap);
        form->MagnifierGlass_roiImg->update();
    }
    QCoreApplication::processEvents();
}

void ShowPoleView() {
    TFormMain* form = FormMain;
    if (!form)
        return;
    QLabel* view = form->ui->Image_polarCenter;
    view->setFixedSize(g_zoomBitmap.size().isEmpty() ? QSize(200, 200) : g_zoomBitmap.size());
    view->setPixmap(QPixmap::fromImage(g_zoomBitmap));
    view->update();
    if (const DisplayThread* t = g_displayThread) {
        form->ui->Label_starA_baryPos->setText(PositionReadout(t->refStarAX, t->refStarAY));
        form->ui->Label_starB_baryPos->setText(PositionReadout(t->refStarBX, t->refStarBY));
        form->ui->Label_polarPos->setText(PositionReadout(t->polarPosX, t->polarPosY));
        form->ShowAlignmentReadout(*t);
        if (form->Mount() && t->poleErrorFound)
            form->Mount()->Readout(form->AlignmentReadoutNow());
    }
    QCoreApplication::processEvents();
}

void CopyImageToBitmap(const cv::Mat& image, QImage& bitmap) {
    if (image.empty() || image.cols <= 0 || image.rows <= 0 || image.type() != CV_8UC3)
        return;
    if (bitmap.width() != image.cols || bitmap.height() != image.rows ||
        !Is32BitBgra(bitmap.format()))
        bitmap = QImage(image.cols, image.rows, QImage::Format_RGB32);
    if (bitmap.isNull())
        return;
    // One pass over the pixels into the bitmap's own memory (alpha 255).
    cv::Mat target(bitmap.height(), bitmap.width(), CV_8UC4, bitmap.bits(),
                   static_cast<std::size_t>(bitmap.bytesPerLine()));
    cv::cvtColor(image, target, cv::COLOR_BGR2BGRA);
}

void CopyLastReceivedFrame(cv::Mat& out) {
    if (g_receivedFrameTaken || g_threadRunning || g_displayThread) {
        ReceivedFrameCopy().copyTo(out);
        return;
    }
    // No capture loop has run: nothing fills the receive buffer.
    out.create(kFrameHeight, kFrameWidth, CV_8UC1);
    std::memcpy(out.data, g_liveBuffer, kGreyFrameBytes);
}

double LastShownFrameUtcSeconds() {
    return receivedFrameSeconds;
}

void CopyLastShownFrame(cv::Mat& out) {
    if (!StretchedFrameCopy().empty()) {
        StretchedFrameCopy().copyTo(out);
        return;
    }
    CopyLastReceivedFrame(out);
}
