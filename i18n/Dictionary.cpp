#include "i18n/Dictionary.h"

#include "app/Expander.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>

#include <functional>

namespace {

// One text shown by a control: a widget's own text, or one item of a drop-down list.
struct TextSlot {
    QWidget* widget;
    int item; // list item index, -1 for the widget's own text
    std::function<QString()> get;
    std::function<void(const QString&)> set;
};

// The text the slot showed before it was translated, and the translation it shows.
QByteArray SourceProperty(const TextSlot& s) {
    return "zwDictSource" + QByteArray::number(s.item);
}
QByteArray ShownProperty(const TextSlot& s) {
    return "zwDictShown" + QByteArray::number(s.item);
}

void AddSlots(QWidget* w, QList<TextSlot>& out) {
    if (auto* expander = qobject_cast<Expander*>(w)) {
        out.append({w, -1, [expander] { return expander->text(); },
                    [expander](const QString& t) { expander->setText(t); }});
        return;
    }
    if (auto* button = qobject_cast<QAbstractButton*>(w)) {
        // An expander's header shows the expander's text, which the expander carries.
        if (auto* owner = qobject_cast<Expander*>(w->parentWidget());
            owner && owner->header() == button)
            return;
        out.append({w, -1, [button] { return button->text(); },
                    [button](const QString& t) { button->setText(t); }});
        return;
    }
    if (auto* label = qobject_cast<QLabel*>(w)) {
        out.append({w, -1, [label] { return label->text(); },
                    [label](const QString& t) { label->setText(t); }});
        return;
    }
    if (auto* group = qobject_cast<QGroupBox*>(w)) {
        out.append({w, -1, [group] { return group->title(); },
                    [group](const QString& t) { group->setTitle(t); }});
        return;
    }
    if (auto* combo = qobject_cast<QComboBox*>(w)) {
        for (int i = 0; i < combo->count(); ++i)
            out.append({w, i, [combo, i] { return combo->itemText(i); },
                        [combo, i](const QString& t) { combo->setItemText(i, t); }});
    }
}

QList<TextSlot> TextSlotsOf(const QList<QWidget*>& windows) {
    QList<TextSlot> result;
    for (QWidget* window : windows) {
        if (!window)
            continue;
        AddSlots(window, result);
        for (QWidget* child : window->findChildren<QWidget*>())
            AddSlots(child, result);
    }
    return result;
}

} // namespace

Dictionary::Dictionary(QObject* parent) : QObject(parent) {}

void Dictionary::Register(const QString& code, QHash<QString, QString> entries) {
    if (!tables_.contains(code))
        order_.append(code);
    tables_.insert(code, std::move(entries));
}

void Dictionary::Withdraw(const QList<QWidget*>& windows) {
    for (const TextSlot& s : TextSlotsOf(windows)) {
        const QVariant source = s.widget->property(SourceProperty(s));
        if (!source.isValid())
            continue;
        // A text the program has set since the translation stays as it is.
        if (s.get() == s.widget->property(ShownProperty(s)).toString())
            s.set(source.toString());
        s.widget->setProperty(SourceProperty(s), QVariant());
        s.widget->setProperty(ShownProperty(s), QVariant());
    }
}

void Dictionary::Activate(const QString& code, const QList<QWidget*>& windows) {
    Withdraw(windows);
    active_ = code;
    const QHash<QString, QString> table = tables_.value(code);
    for (const TextSlot& s : TextSlotsOf(windows)) {
        const QString text = s.get();
        if (text.isEmpty())
            continue;
        const QString shown = table.value(text, text);
        if (shown != text)
            s.set(shown);
        s.widget->setProperty(SourceProperty(s), text);
        s.widget->setProperty(ShownProperty(s), shown);
    }
}

QString Dictionary::Translate(const QString& text) const {
    const auto table = tables_.constFind(active_);
    if (table == tables_.constEnd())
        return text;
    return table->value(text, text);
}
