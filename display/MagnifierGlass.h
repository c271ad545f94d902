// The magnifier glass over the live image: shows a 5x enlargement of the region
// around its zoom-region centre (image pixels) of the current view image.
#pragma once

#include <QPointF>
#include <QWidget>

class MagnifierGlass : public QWidget {
    Q_OBJECT
public:
    explicit MagnifierGlass(QWidget* parent = nullptr);

    double loupeScale() const { return loupeScale_; }
    QPointF zoomRegionCenter() const { return center_; }
    void setZoomRegionCenter(QPointF center);
    void setSourceImage(const QImage* image) { source_ = image; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    double loupeScale_ = 5.0;
    QPointF center_{30, 30};
    const QImage* source_ = nullptr;
};
