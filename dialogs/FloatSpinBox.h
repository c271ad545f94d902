// A spin box for single-precision values, as the refraction window uses them.
//
//   auto* box = new FloatSpinBox(parent);   // or promoted from a QDoubleSpinBox in a form
//   box->setRange(0, 90);
//   double v = box->floatValue();           // 101.3, not 101.300003051758
//
// It shows its value in general decimal form (101.3, 1013), reports a new value only
// when the typing is done (Return or leaving the field), raises or lowers a typed value
// that lies outside the range to the nearest limit, and leaves the field on Return.
#pragma once

#include <QDoubleSpinBox>

class FloatSpinBox : public QDoubleSpinBox {
    Q_OBJECT
public:
    explicit FloatSpinBox(QWidget* parent = nullptr);

    // The value rounded to single precision, as the shortest decimal that reads back
    // as that single-precision number.
    double floatValue() const;

    // `v` rounded to single precision in the same way.
    static double ToFloatPrecision(double v);

    QString textFromValue(double value) const override;
    QValidator::State validate(QString& text, int& pos) const override;
    void fixup(QString& text) const override;

protected:
    void keyPressEvent(QKeyEvent* event) override;
};
