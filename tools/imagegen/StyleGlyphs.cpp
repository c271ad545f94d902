// Small glyphs that the style sheets reference for spin-box and drop-down arrows and
// for the check-box tick; a styled widget no longer draws the platform's own.

#include "Coverage.h"
#include "Pictures.h"

#include <QPainter>
#include <QPainterPath>

namespace imagegen {

QImage makeArrowGlyph(bool up, const QColor& colour) {
    QImage image = transparentImage(10, 6);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    QPainterPath path;
    if (up) {
        path.moveTo(0, 6);
        path.lineTo(5, 0.5);
        path.lineTo(10, 6);
    } else {
        path.moveTo(0, 0);
        path.lineTo(5, 5.5);
        path.lineTo(10, 0);
    }
    path.closeSubpath();
    p.setPen(Qt::NoPen);
    p.setBrush(colour);
    p.drawPath(path);
    p.end();
    return image;
}

QImage makeCheckGlyph(const QColor& colour) {
    QImage image = transparentImage(12, 12);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    QPainterPath path;
    path.moveTo(2, 6.5);
    path.lineTo(5, 9.5);
    path.lineTo(10, 2.5);
    p.setPen(QPen(colour, 2.2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawPath(path);
    p.end();
    return image;
}

} // namespace imagegen
