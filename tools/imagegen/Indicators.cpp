// Star-position indicators, 512 x 512 with transparency: a shaded sphere with a
// white check mark (position recorded) or a white cross (not recorded). They are
// shown stretched into 25 x 25 circles, so the marks are bold.

#include "Coverage.h"
#include "Pictures.h"

#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

namespace imagegen {
namespace {

constexpr int kSize = 512;
constexpr double kCentre = kSize / 2.0;
constexpr double kRadius = 240.0;

struct SphereColours {
    QColor highlight, body, shade;
    bool recorded;
};

SphereColours coloursFor(IndicatorLook look) {
    switch (look) {
    case IndicatorLook::OnMono:
        return {QColor(246, 246, 250), QColor(196, 196, 202), QColor(118, 118, 126), true};
    case IndicatorLook::OffMono:
        return {QColor(150, 150, 158), QColor(84, 84, 90), QColor(34, 34, 38), false};
    case IndicatorLook::OnColor:
        return {QColor(150, 236, 160), QColor(48, 172, 72), QColor(14, 86, 34), true};
    case IndicatorLook::OffColor:
        return {QColor(255, 178, 128), QColor(234, 88, 42), QColor(138, 38, 14), false};
    }
    return {};
}

QPainterPath markPath(bool recorded) {
    QPainterPath path;
    if (recorded) {
        path.moveTo(150, 268);
        path.lineTo(226, 344);
        path.lineTo(366, 184);
    } else {
        path.moveTo(170, 170);
        path.lineTo(342, 342);
        path.moveTo(342, 170);
        path.lineTo(170, 342);
    }
    return path;
}

} // namespace

QImage makeIndicator(IndicatorLook look) {
    const SphereColours c = coloursFor(look);
    QImage image = transparentImage(kSize, kSize);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);

    // Sphere lit from the upper left, with a thin darker rim.
    QRadialGradient body(QPointF(kCentre - 80, kCentre - 90), kRadius * 1.35,
                         QPointF(kCentre - 90, kCentre - 100));
    body.setColorAt(0.0, c.highlight);
    body.setColorAt(0.45, c.body);
    body.setColorAt(1.0, c.shade);
    p.setPen(QPen(c.shade.darker(130), 6));
    p.setBrush(body);
    p.drawEllipse(QPointF(kCentre, kCentre), kRadius, kRadius);

    // Soft gloss near the top, kept inside the sphere.
    QPainterPath sphere;
    sphere.addEllipse(QPointF(kCentre, kCentre), kRadius - 3, kRadius - 3);
    p.setClipPath(sphere);
    QRadialGradient gloss(QPointF(kCentre - 60, kCentre - 130), 150);
    gloss.setColorAt(0.0, QColor(255, 255, 255, 110));
    gloss.setColorAt(1.0, QColor(255, 255, 255, 0));
    p.setPen(Qt::NoPen);
    p.setBrush(gloss);
    p.drawEllipse(QPointF(kCentre - 60, kCentre - 130), 150, 95);
    p.setClipping(false);

    // The mark: a faint shadow for contrast on light spheres, then white.
    const QPainterPath mark = markPath(c.recorded);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(0, 0, 0, 90), 56, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawPath(mark.translated(6, 8));
    p.setPen(QPen(Qt::white, 48, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawPath(mark);
    p.end();
    return image;
}

} // namespace imagegen
