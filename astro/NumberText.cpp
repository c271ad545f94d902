#include "astro/NumberText.h"

#include <QLocale>

namespace {
QLocale LogLocale() {
    QLocale locale;
    locale.setNumberOptions(QLocale::OmitGroupSeparator);
    return locale;
}
} // namespace

QString GeneralNumberText(double value) {
    // A negative zero reads as plain "0".
    return LogLocale().toString(value == 0.0 ? 0.0 : value, 'g', 15);
}

QString FixedNumberText(double value) {
    return LogLocale().toString(value == 0.0 ? 0.0 : value, 'f', 2);
}
