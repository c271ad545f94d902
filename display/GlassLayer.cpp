#include "display/GlassLayer.h"

#include <QPainter>

void DrawGlassCross(QImage& glassBitmap) {
    if (glassBitmap.isNull())
        glassBitmap = QImage(150, 150, QImage::Format_ARGB32_Premultiplied);
    glassBitmap.fill(Qt::transparent);
    QPainter p(&glassBitmap);
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setPen(QPen(QColor(0, 255, 0, 255), 1));
    p.drawLine(83, 75, 67, 75);
    p.drawLine(75, 83, 75, 67);
}
