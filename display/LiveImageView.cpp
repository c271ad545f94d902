#include "display/LiveImageView.h"

#include <QGraphicsScene>
#include <QMouseEvent>
#include <QPainter>

ImageItem::ImageItem(const QString& name, QObject* owner) : QObject(owner) {
    setObjectName(name);
}

void ImageItem::setImageSource(const QImage* image) {
    const QSize size = image ? image->size() : QSize();
    if (image != source_ || size != sourceSize_)
        prepareGeometryChange();
    source_ = image;
    sourceSize_ = size;
    update();
}

QRectF ImageItem::boundingRect() const {
    if (!source_)
        return QGraphicsPixmapItem::boundingRect();
    return QRectF(QPointF(0, 0), QSizeF(sourceSize_));
}

QPainterPath ImageItem::shape() const {
    if (!source_)
        return QGraphicsPixmapItem::shape();
    QPainterPath path;
    path.addRect(boundingRect());
    return path;
}

bool ImageItem::contains(const QPointF& point) const {
    if (!source_)
        return QGraphicsPixmapItem::contains(point);
    return boundingRect().contains(point);
}

void ImageItem::paint(QPainter* painter, const QStyleOptionGraphicsItem* option, QWidget* widget) {
    if (!source_) {
        QGraphicsPixmapItem::paint(painter, option, widget);
        return;
    }
    if (source_->isNull())
        return;
    // Clipped to the size announced by the last setImageSource.
    painter->drawImage(QPointF(0, 0), *source_, boundingRect());
}

LiveImageView::LiveImageView(QWidget* parent)
    : QGraphicsView(parent), scene_(new QGraphicsScene(this)),
      image_(new ImageItem(QStringLiteral("Img_cap"), scene_)),
      mask_(new ImageItem(QStringLiteral("Img_Mask"), scene_)) {
    setScene(scene_);
    setAlignment(Qt::AlignLeft | Qt::AlignTop);
    setTransformationAnchor(QGraphicsView::NoAnchor);
    setMouseTracking(true);
    setBackgroundBrush(Qt::black);
    scene_->setSceneRect(0, 0, kFramePixelsX, kFramePixelsY);
    scene_->addItem(image_);
    scene_->addItem(mask_);
    mask_->setAcceptedMouseButtons(Qt::NoButton);
    mask_->setAcceptHoverEvents(false);
    mask_->setVisible(false);
    mask_->setZValue(1);
}

bool LiveImageView::onPicture(const QPointF& imagePos) const {
    QRectF r = image_->boundingRect();
    if (r.isEmpty()) // nothing shown yet: the frame the camera will deliver
        r = QRectF(0, 0, kFramePixelsX, kFramePixelsY);
    return imagePos.x() >= r.left() && imagePos.y() >= r.top() && imagePos.x() < r.right() &&
           imagePos.y() < r.bottom();
}

void LiveImageView::mouseMoveEvent(QMouseEvent* event) {
    QGraphicsView::mouseMoveEvent(event);
    const QPointF p = image_->mapFromScene(mapToScene(event->position().toPoint()));
    // The black margin around a zoomed-out picture is no part of the frame.
    if (onPicture(p))
        emit imageMouseMoved(p);
}

void LiveImageView::mouseDoubleClickEvent(QMouseEvent* event) {
    QGraphicsView::mouseDoubleClickEvent(event);
    const QPointF p = image_->mapFromScene(mapToScene(event->position().toPoint()));
    if (onPicture(p))
        emit imageDoubleClicked(p);
}

void LiveImageView::scrollContentsBy(int dx, int dy) {
    QGraphicsView::scrollContentsBy(dx, dy);
    emit viewportPositionChanged();
}
