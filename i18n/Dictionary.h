// The label dictionaries of the ten languages and the one in force.
//
// Usage:
//   auto* dict = new Dictionary(window);                    // owned by a window
//   dict->Register("de", LoadLabelDictionary("DE"));        // once per language
//   dict->Activate("de", {FormMain, FormAbout, FormAtmRef, FormTrace});
//   QString shown = dict->Translate("Not Found ZORCAM ZenithWand equipment!");
//
// Activate first withdraws the dictionary in force from every text-bearing control
// of the given windows (each control gets back the text it showed before it was
// translated), then shows, in every such control, the new dictionary's value of its
// text when that text is a key (whole text, case-sensitive), else the text itself.
// Text-bearing controls are labels, buttons (push, tool, radio, check), group box
// titles, expander headers and drop-down list items. A text the program set after
// the last translation is looked up as it stands. The dictionary of an unknown code
// is empty, which shows every control's own text.
#pragma once

#include <QHash>
#include <QList>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QWidget>

class Dictionary : public QObject {
    Q_OBJECT
public:
    explicit Dictionary(QObject* parent = nullptr);

    // Adds or replaces the table of a dictionary code ("de").
    void Register(const QString& code, QHash<QString, QString> entries);
    QStringList Codes() const { return order_; }
    bool Has(const QString& code) const { return tables_.contains(code); }

    // Withdraws the dictionary in force from the windows, then applies the one of
    // `code` to them (see above). Null windows are skipped.
    void Activate(const QString& code, const QList<QWidget*>& windows);

    // Gives every translated control of the windows its untranslated text back.
    void Withdraw(const QList<QWidget*>& windows);

    // The code in force ("" before the first Activate).
    QString ActiveCode() const { return active_; }

    // `text` through the dictionary in force: its value when `text` is a key.
    QString Translate(const QString& text) const;

private:
    QHash<QString, QHash<QString, QString>> tables_;
    QStringList order_;
    QString active_;
};
