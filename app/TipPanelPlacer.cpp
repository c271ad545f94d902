#include "app/TipPanelPlacer.h"

#include <QEvent>
#include <QWidget>

#include <algorithm>

QPoint TipPanelPosition(const QSize& client, const QSize& panel, const QPoint& preferred) {
    const int x = std::max(0, std::min(preferred.x(), client.width() - panel.width()));
    const int y = std::max(0, std::min(preferred.y(), client.height() - panel.height()));
    return QPoint(x, y);
}

TipPanelPlacer::TipPanelPlacer(QWidget* panel, QWidget* client)
    : QObject(panel), panel_(panel), client_(client) {
    const bool visible = panel_->isVisible();
    panel_->setParent(client_);
    panel_->setVisible(visible);
    client_->installEventFilter(this);
    panel_->installEventFilter(this);
    place();
}

void TipPanelPlacer::place() {
    panel_->move(TipPanelPosition(client_->size(), panel_->size()));
    panel_->raise();
}

bool TipPanelPlacer::eventFilter(QObject* watched, QEvent* event) {
    const QEvent::Type t = event->type();
    if ((watched == client_ && t == QEvent::Resize) ||
        (watched == panel_ && (t == QEvent::Resize || t == QEvent::Show)))
        place();
    return false;
}
