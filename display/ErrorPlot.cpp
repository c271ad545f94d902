#include "display/ErrorPlot.h"

#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <cmath>

ErrorPlot::ErrorPlot(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("Plot_alignError"));
    setMinimumHeight(70);
}

void ErrorPlot::SetNight(bool night) {
    night_ = night;
    update();
}

void ErrorPlot::SetTitle(const QString& title) {
    title_ = title;
    setToolTip(title);
    update();
}

void ErrorPlot::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    // Day: light lines on dark; night: reds only, none brighter than the read-out.
    const QColor background = night_ ? QColor(8, 0, 0) : QColor(24, 24, 28);
    const QColor grid = night_ ? QColor(70, 0, 0) : QColor(80, 80, 90);
    const QColor total = night_ ? QColor(230, 30, 20) : QColor(240, 240, 240);
    const QColor alt = night_ ? QColor(160, 20, 10) : QColor(90, 170, 255);
    const QColor az = night_ ? QColor(110, 10, 5) : QColor(255, 170, 60);
    p.fillRect(rect(), background);
    const QRectF area = QRectF(rect()).adjusted(4, 4, -4, -4);
    p.setPen(grid);
    p.drawLine(QPointF(area.left(), area.center().y()), QPointF(area.right(), area.center().y()));
    if (!history_ || history_->Samples().size() < 2)
        return;
    const auto& s = history_->Samples();
    const double t1 = s.back().t;
    const double t0 = std::min(s.front().t, t1 - 60.0); // at least a minute wide
    double range = 30.0;                                // at least ±30"
    for (const ErrorSample& e : s)
        range = std::max({range, std::abs(e.altArcsec), std::abs(e.azArcsec), e.totalArcsec});
    auto at = [&](double t, double v) {
        return QPointF(area.left() + (t - t0) / (t1 - t0) * area.width(),
                       area.center().y() - v / range * area.height() / 2);
    };
    auto line = [&](double ErrorSample::*field, const QColor& colour, double width) {
        QPainterPath path(at(s.front().t, s.front().*field));
        for (const ErrorSample& e : s)
            path.lineTo(at(e.t, e.*field));
        p.setPen(QPen(colour, width));
        p.drawPath(path);
    };
    line(&ErrorSample::altArcsec, alt, 1.0);
    line(&ErrorSample::azArcsec, az, 1.0);
    line(&ErrorSample::totalArcsec, total, 1.6);
    p.setPen(grid.lighter(night_ ? 130 : 160));
    p.drawText(area, Qt::AlignTop | Qt::AlignLeft, QStringLiteral("±%1\"").arg(std::lround(range)));
}
