// The wordmark at the foot of the left column (192 x 48) and the application icon
// for the desktop entry (256 x 256). Both show the same motif: star trails circling
// the celestial pole, with the pole star in amber.

#include "Coverage.h"
#include "Pictures.h"

#include <QFont>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

#include <cmath>

namespace imagegen {
namespace {

const QColor kAmber(245, 171, 40);
const QColor kTrail(176, 186, 206);
const QColor kWordLight(222, 224, 232);

// Concentric arcs (star trails) around `centre`, each spanning `span` degrees from
// a staggered start, so the emblem reads as rotation about the pole.
void drawTrails(QPainter& p, QPointF centre, const double* radii, int count, double width,
                double span) {
    for (int i = 0; i < count; ++i) {
        const double r = radii[i];
        const QRectF box(centre.x() - r, centre.y() - r, 2 * r, 2 * r);
        QColor c = kTrail;
        c.setAlphaF(0.85 - 0.15 * i);
        p.setPen(QPen(c, width, Qt::SolidLine, Qt::RoundCap));
        const int start = static_cast<int>((30 + 70 * i) * 16);
        p.drawArc(box, start, static_cast<int>(span * 16));
    }
}

// A four-pointed star of outer radius r.
QPainterPath starPath(QPointF c, double r) {
    QPainterPath path;
    const double inner = r * 0.32;
    for (int k = 0; k < 8; ++k) {
        const double angle = k * M_PI / 4 - M_PI / 2;
        const double rr = (k % 2 == 0) ? r : inner;
        const QPointF pt(c.x() + rr * std::cos(angle), c.y() + rr * std::sin(angle));
        if (k == 0)
            path.moveTo(pt);
        else
            path.lineTo(pt);
    }
    path.closeSubpath();
    return path;
}

} // namespace

QImage makeLogo() {
    QImage image = transparentImage(192, 48);
    QPainter p(&image);
    p.setRenderHints(QPainter::Antialiasing | QPainter::TextAntialiasing);

    const QPointF centre(24, 24);
    const double radii[] = {8.5, 14.0, 19.5};
    drawTrails(p, centre, radii, 3, 1.6, 250);
    p.setPen(Qt::NoPen);
    p.setBrush(kAmber);
    p.drawPath(starPath(centre, 6.5));

    QFont font("DejaVu Sans");
    font.setPixelSize(20);
    font.setLetterSpacing(QFont::PercentageSpacing, 102);
    font.setWeight(QFont::Normal);
    p.setFont(font);
    const QRectF textBox(50, 0, 142, 48);
    p.setPen(kWordLight);
    const QString first = QStringLiteral("Zenith");
    p.drawText(textBox, Qt::AlignLeft | Qt::AlignVCenter, first);
    const double firstWidth = QFontMetricsF(font).horizontalAdvance(first);
    font.setWeight(QFont::DemiBold);
    p.setFont(font);
    p.setPen(kAmber);
    p.drawText(textBox.adjusted(firstWidth, 0, 0, 0), Qt::AlignLeft | Qt::AlignVCenter,
               QStringLiteral("Wand"));
    p.end();
    return image;
}

QImage makeAppIcon() {
    QImage image = transparentImage(256, 256);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);

    // Night-sky tile.
    QLinearGradient sky(0, 0, 0, 256);
    sky.setColorAt(0.0, QColor(18, 24, 40));
    sky.setColorAt(1.0, QColor(8, 10, 18));
    p.setPen(QPen(QColor(60, 70, 96), 3));
    p.setBrush(sky);
    p.drawRoundedRect(QRectF(6, 6, 244, 244), 44, 44);

    const QPointF pole(138, 110);
    const double radii[] = {30, 52, 74, 96};
    p.setClipRect(QRectF(10, 10, 236, 236));
    drawTrails(p, pole, radii, 4, 7, 230);
    p.setClipping(false);

    // The wand: the polar axis rising from the lower left towards the pole.
    p.setPen(QPen(QColor(200, 206, 220), 12, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(44, 214), QPointF(104, 148));

    p.setPen(Qt::NoPen);
    p.setBrush(kAmber);
    p.drawPath(starPath(pole, 26));
    p.setBrush(QColor(255, 240, 205));
    p.drawEllipse(pole, 5, 5);
    p.end();
    return image;
}

} // namespace imagegen
