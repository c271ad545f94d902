#include "dialogs/ClickFilter.h"

#include <QEvent>
#include <QMouseEvent>

namespace {

class ClickFilter : public QObject {
public:
    ClickFilter(QWidget* widget, std::function<void()> action)
        : QObject(widget), widget_(widget), action_(std::move(action)) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched == widget_ && event->type() == QEvent::MouseButtonRelease) {
            auto* mouse = static_cast<QMouseEvent*>(event);
            if (mouse->button() == Qt::LeftButton &&
                widget_->rect().contains(mouse->position().toPoint())) {
                action_();
                return true;
            }
        }
        return QObject::eventFilter(watched, event);
    }

private:
    QWidget* widget_;
    std::function<void()> action_;
};

} // namespace

void OnClick(QWidget* widget, std::function<void()> action) {
    widget->setCursor(Qt::PointingHandCursor);
    widget->installEventFilter(new ClickFilter(widget, std::move(action)));
}
