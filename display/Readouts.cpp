#include "display/Readouts.h"

#include <algorithm>
#include <cmath>

QString TruncatedText(double v) {
    // Positions come from geometry that can yield infinities or NaNs; those are
    // written as they are rather than converted to an integer.
    if (!(std::fabs(v) < 1.0e15))
        return QString::number(v);
    return QString::number(static_cast<qint64>(v));
}

QString PositionReadout(double x, double y) {
    return QLatin1Char('(') + TruncatedText(x) + QLatin1Char(',') + TruncatedText(y) +
           QLatin1Char(')');
}

QString MousePositionText(double x, double y) {
    return QStringLiteral("X:") + TruncatedText(x) + QStringLiteral(" Y:") + TruncatedText(y);
}

QPointF MagnifierCenter(double x, double y) {
    return {std::clamp(x, 30.0, 1250.0), std::clamp(y, 30.0, 930.0)};
}
