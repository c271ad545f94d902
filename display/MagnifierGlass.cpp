#include "display/MagnifierGlass.h"

#include "display/NightWindows.h"

#include <QPainter>

MagnifierGlass::MagnifierGlass(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("MagnifierGlass_roiImg"));
    setFixedSize(150, 150);
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

void MagnifierGlass::setZoomRegionCenter(QPointF center) {
    center_ = center;
    update();
}

void MagnifierGlass::paintEvent(QPaintEvent*) {
    QPainter p(this);
    const bool night = NightLookOn();
    p.fillRect(rect(), night ? QColor(40, 0, 0) : QColor(Qt::gray));
    if (source_ && !source_->isNull()) {
        const double half = width() / (2.0 * loupeScale_);
        const QRectF src(center_.x() - half, center_.y() - half, 2 * half, 2 * half);
        p.drawImage(QRectF(rect()), *source_, src);
    }
    // A thin dark frame sets the glass apart from the live image around it.
    p.setPen(night ? QColor(0x5A, 0, 0) : QColor(0x5A, 0x5A, 0x5A));
    p.drawRect(rect().adjusted(0, 0, -1, -1));
}
