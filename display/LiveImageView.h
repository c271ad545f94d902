// The scroll box of the live image: a graphics view whose scene holds the live
// image item (Img_cap) and the template overlay (Img_Mask). It reports the mouse
// in image pixels, only while it is over the picture, and viewport scrolling.
#pragma once

#include <QGraphicsPixmapItem>
#include <QGraphicsView>
#include <QObject>

// A pixmap item with an object name, so tests and the form find it like a control.
// Instead of a pixmap it can paint an image it does not own (the live view shows
// the view bitmap this way, without a per-frame conversion to a pixmap).
class ImageItem : public QObject, public QGraphicsPixmapItem {
    Q_OBJECT
public:
    explicit ImageItem(const QString& name, QObject* owner = nullptr);

    // Paints *image (which must outlive the item or be replaced) instead of the
    // pixmap; nullptr goes back to the pixmap. Call update() after changing the image.
    void setImageSource(const QImage* image);
    const QImage* imageSource() const { return source_; }

    QRectF boundingRect() const override;
    QPainterPath shape() const override;
    bool contains(const QPointF& point) const override;
    void paint(QPainter* painter, const QStyleOptionGraphicsItem* option, QWidget* widget) override;

private:
    const QImage* source_ = nullptr;
    QSize sourceSize_;
};

class LiveImageView : public QGraphicsView {
    Q_OBJECT
public:
    // The size of the camera's frame, which the picture has before the first frame.
    static constexpr int kFramePixelsX = 1280, kFramePixelsY = 960;

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
    // Whether a point in image pixels lies on the picture itself.
    bool onPicture(const QPointF& imagePos) const;

    QGraphicsScene* scene_;
    ImageItem* image_;
    ImageItem* mask_;
};
