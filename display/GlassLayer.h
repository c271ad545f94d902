// The overlay layer of the magnifier glass: a small green cross at its centre.
//
// Usage, once the templates are prepared for the first time:
//   DrawGlassCross(glassBitmap);                       // 150 x 150, cleared first
//   Img_layer_glass->setPixmap(QPixmap::fromImage(glassBitmap));
#pragma once

#include <QImage>

// Clears the bitmap to transparent and draws the cross in opaque green, one pixel
// wide: (83, 75) to (67, 75) and (75, 83) to (75, 67). A null bitmap is made 150 x 150.
void DrawGlassCross(QImage& glassBitmap);
