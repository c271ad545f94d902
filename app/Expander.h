// A collapsible panel: a header button with the panel's title and a content
// widget below it. Expanded/collapsed and enabled/disabled are separate states:
// a disabled expander keeps its expanded state but ignores its header.
//
// In a Designer form the expander holds one child widget named "<name>_content";
// call adoptContent() once after setupUi() to put it under the header.
#pragma once

#include <QToolButton>
#include <QWidget>

class Expander : public QWidget {
    Q_OBJECT
    Q_PROPERTY(QString text READ text WRITE setText)
    Q_PROPERTY(bool expanded READ isExpanded WRITE setExpanded NOTIFY expandedChanged)

public:
    explicit Expander(QWidget* parent = nullptr);

    QString text() const;
    void setText(const QString& text);

    bool isExpanded() const { return expanded_; }
    void setExpanded(bool expanded);

    QToolButton* header() const { return header_; }
    QWidget* content() const { return content_; }

    // Takes the child widget "<objectName>_content" as the content.
    void adoptContent();

signals:
    void expandedChanged(bool expanded);

private:
    QToolButton* header_;
    QWidget* content_ = nullptr;
    bool expanded_ = true;
};
