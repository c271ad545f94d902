#include "display/LiveImageView.h"

#include <QGraphicsScene>
#include <QMouseEvent>

ImageItem::ImageItem(const QString& name, QObject* owner) : QObject(owner) {
    setObjectName(name);
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
    scene_->setSceneRect(0, 0, 1280, 960);
    scene_->addItem(image_);
    scene_->addItem(mask_);
    mask_->setAcceptedMouseButtons(Qt::NoButton);
    mask_->setAcceptHoverEvents(false);
    mask_->setVisible(false);
    mask_->setZValue(1);
}

void LiveImageView::mouseMoveEvent(QMouseEvent* event) {
    QGraphicsView::mouseMoveEvent(event);
    emit imageMouseMoved(image_->mapFromScene(mapToScene(event->position().toPoint())));
}

void LiveImageView::mouseDoubleClickEvent(QMouseEvent* event) {
    QGraphicsView::mouseDoubleClickEvent(event);
    emit imageDoubleClicked(image_->mapFromScene(mapToScene(event->position().toPoint())));
}

void LiveImageView::scrollContentsBy(int dx, int dy) {
    QGraphicsView::scrollContentsBy(dx, dy);
    emit viewportPositionChanged();
}
