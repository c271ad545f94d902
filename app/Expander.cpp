#include "app/Expander.h"

#include <QVBoxLayout>

Expander::Expander(QWidget* parent) : QWidget(parent), header_(new QToolButton(this)) {
    header_->setProperty("expanderHeader", true);
    header_->setCheckable(false);
    header_->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    header_->setArrowType(Qt::DownArrow);
    header_->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    header_->setAutoRaise(true);
    connect(header_, &QToolButton::clicked, this, [this] { setExpanded(!expanded_); });
}

QString Expander::text() const { return header_->text(); }

void Expander::setText(const QString& text) { header_->setText(text); }

void Expander::setExpanded(bool expanded) {
    if (content_)
        content_->setVisible(expanded);
    header_->setArrowType(expanded ? Qt::DownArrow : Qt::RightArrow);
    if (expanded_ == expanded)
        return;
    expanded_ = expanded;
    emit expandedChanged(expanded);
}

void Expander::adoptContent() {
    if (content_)
        return;
    header_->setObjectName(objectName() + QStringLiteral("_header"));
    content_ = findChild<QWidget*>(objectName() + QStringLiteral("_content"),
                                   Qt::FindDirectChildrenOnly);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(header_);
    if (content_) {
        layout->addWidget(content_);
        content_->setVisible(expanded_);
    }
}
