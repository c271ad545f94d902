// Texts and positions shown around the live image.
//
// Usage:
//   label->setText(PositionReadout(x, y));        // "(640,479)": truncated toward zero
//   status->setText(MousePositionText(x, y));     // "X:640 Y:479"
//   glass->setZoomRegionCenter(MagnifierCenter(x, y)); // kept 30 px inside the frame
#pragma once

#include <QPointF>
#include <QString>

// A coordinate truncated toward zero, in plain decimal ("-12", "99").
QString TruncatedText(double v);

// "(" + trunc(x) + "," + trunc(y) + ")", no blanks.
QString PositionReadout(double x, double y);

// "X:" + trunc(x) + " Y:" + trunc(y).
QString MousePositionText(double x, double y);

// The magnifier's zoom-region centre for a mouse position: x within [30, 1250],
// y within [30, 930], unrounded inside that range.
QPointF MagnifierCenter(double x, double y);
