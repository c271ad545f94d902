// The scroll box of the live image: a graphics view whose scene holds the live
// image item (Img_cap) and the template overlay (Img_Mask). It reports the mouse
// in image pixels and viewport scrolling.
#pragma once

#include <QGraphicsPixmapItem>
#include <QGraphicsView>
#include <QObject>

// A pixmap item with an object name, so tests and the form find it like a control.
class ImageItem : public QObject, public QGraphicsPixmapItem {
    Q_OBJECT
public:
    explicit ImageItem(const QString& name, QObject* owner = nullptr);
};

class LiveImageView : public QGraphicsView {
    Q_OBJECT
public:
    explicit LiveImageView(QWidget* parent = nullptr);

    ImageItem* imageItem() const { return image_; }
    ImageItem* maskItem() const { return mask_; }

signals:
    void imageMouseMoved(QPointF imagePos);
    void imageDoubleClicked(QPointF imagePos);
    void viewportPositionChanged();

protected:
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;

private:
    QGraphicsScene* scene_;
    ImageItem* image_;
    ImageItem* mask_;
};
