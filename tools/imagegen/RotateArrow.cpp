// The rotation-direction arrow shown over the live view while the user turns the
// RA axis: a white curved arrow, 377 x 220 with transparency, that rises from the
// lower left and bends over to point right - a clockwise turn.

#include "Coverage.h"
#include "Pictures.h"

#include <QPainter>
#include <QPainterPath>

namespace imagegen {

QImage makeRotateArrow() {
    QImage image = transparentImage(377, 220);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);

    // The shaft: from the lower left up and over to the right.
    QPainterPath shaft;
    shaft.moveTo(34, 200);
    shaft.cubicTo(40, 110, 120, 58, 222, 56);
    shaft.lineTo(292, 56);

    // The head, pointing right along the end of the shaft.
    QPainterPath head;
    head.moveTo(356, 56);
    head.lineTo(282, 14);
    head.lineTo(296, 56);
    head.lineTo(282, 98);
    head.closeSubpath();

    // A faint dark outline keeps the white arrow visible over bright sky.
    const QColor outline(0, 0, 0, 70);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(outline, 30, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawPath(shaft);
    p.setPen(QPen(outline, 6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(outline);
    p.drawPath(head);

    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(Qt::white, 24, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawPath(shaft);
    p.setPen(QPen(Qt::white, 2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::white);
    p.drawPath(head);
    p.end();
    return image;
}

} // namespace imagegen
