#include "dialogs/FloatSpinBox.h"

#include <QKeyEvent>
#include <QLineEdit>

#include <algorithm>

FloatSpinBox::FloatSpinBox(QWidget* parent) : QDoubleSpinBox(parent) {
    // Enough places that every single-precision value in the ranges survives.
    setDecimals(6);
    setKeyboardTracking(false);
    setCorrectionMode(QAbstractSpinBox::CorrectToNearestValue);
}

double FloatSpinBox::ToFloatPrecision(double v) {
    return QString::number(static_cast<float>(v), 'g', 7).toDouble();
}

double FloatSpinBox::floatValue() const {
    return ToFloatPrecision(value());
}

QString FloatSpinBox::textFromValue(double value) const {
    QLocale loc = locale();
    loc.setNumberOptions(loc.numberOptions() | QLocale::OmitGroupSeparator);
    return loc.toString(ToFloatPrecision(value), 'g', 7);
}

QValidator::State FloatSpinBox::validate(QString& text, int& pos) const {
    const QValidator::State state = QDoubleSpinBox::validate(text, pos);
    if (state != QValidator::Invalid)
        return state;
    // A number beyond the limits is let through while typing; when the typing is done
    // it goes to the nearest limit instead of losing its last keystroke unseen.
    bool isNumber = false;
    locale().toDouble(text.trimmed(), &isNumber);
    return isNumber ? QValidator::Intermediate : QValidator::Invalid;
}

void FloatSpinBox::fixup(QString& text) const {
    bool isNumber = false;
    const double typed = locale().toDouble(text.trimmed(), &isNumber);
    if (isNumber)
        text = textFromValue(std::clamp(typed, minimum(), maximum()));
    else
        QDoubleSpinBox::fixup(text);
}

void FloatSpinBox::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        interpretText();
        focusNextChild();
        event->accept();
        return;
    }
    QDoubleSpinBox::keyPressEvent(event);
}
