#include "display/NightWindows.h"

#include "display/NightStyle.h"
#include "display/StyleBook.h"

#include <QApplication>
#include <QDial>
#include <QFile>
#include <QGraphicsDropShadowEffect>
#include <QGraphicsEffect>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPainter>
#include <QPixmap>
#include <QSizeGrip>
#include <QVariant>
#include <QWidget>

namespace {

// What a widget or effect looked like by day, kept on it while the night look is on.
constexpr const char* kDaySheet = "zwDayStyleSheet";
constexpr const char* kDayPicture = "zwDayPicture";
constexpr const char* kDayGlow = "zwDayGlow";
// Set by the style book on windows whose whole sheet is a style file.
constexpr const char* kStyleBookFile = "zwStyleFile";
// On a widget that carries the night-shade effect below.
constexpr const char* kNightShaded = "zwNightShaded";

// Draws a widget in the night shades of its own pixels. For the widgets the
// application style paints in fixed greys and whites whatever the palette and the
// sheets say: the dial (knob and face), the status bar's size grip, and line edits
// (spin boxes' among them), whose text cursor inverts the pixels under it (near
// white on the black fields).
class NightShadeEffect : public QGraphicsEffect {
protected:
    void draw(QPainter* painter) override {
        QPoint offset;
        const QPixmap day = sourcePixmap(Qt::DeviceCoordinates, &offset, NoPad);
        if (day.isNull())
            return;
        QImage night = NightImage(day.toImage());
        night.setDevicePixelRatio(day.devicePixelRatio());
        const QTransform was = painter->worldTransform();
        painter->setWorldTransform(QTransform());
        painter->drawImage(offset, night);
        painter->setWorldTransform(was);
    }
};

bool DrawnInFixedShades(const QWidget* w) {
    return qobject_cast<const QDial*>(w) || qobject_cast<const QSizeGrip*>(w) ||
           qobject_cast<const QLineEdit*>(w);
}

struct DayLook {
    bool nightOn = false;
    QPalette palette;
};

DayLook& Day() {
    static DayLook look;
    return look;
}

// The night style file, for windows without a style book of their own.
QString NightSheet() {
    QFile file(FindStyleFile(StyleFileFor(QStringLiteral("Night"))));
    if (!file.fileName().isEmpty() && file.open(QIODevice::ReadOnly))
        return QString::fromUtf8(file.readAll());
    // No style file: the palette alone, on plain surfaces.
    return QStringLiteral("QWidget { background-color: #0E0000; color: #AA0000; }");
}

void TurnWidget(QWidget* w) {
    const QString sheet = w->styleSheet();
    if (!sheet.isEmpty() && !w->property(kStyleBookFile).isValid() &&
        !w->property(kDaySheet).isValid()) {
        w->setProperty(kDaySheet, sheet);
        w->setStyleSheet(NightStyleSheet(sheet));
    }
    if (auto* label = qobject_cast<QLabel*>(w)) {
        const QPixmap picture = label->pixmap();
        if (!picture.isNull() && !label->property(kOwnStyledPicture).toBool() &&
            !label->property(kDayPicture).isValid()) {
            label->setProperty(kDayPicture, picture);
            label->setPixmap(QPixmap::fromImage(NightImage(picture.toImage())));
        }
    }
    if (DrawnInFixedShades(w) && !w->graphicsEffect()) {
        w->setGraphicsEffect(new NightShadeEffect);
        w->setProperty(kNightShaded, true);
    }
    if (auto* glow = qobject_cast<QGraphicsDropShadowEffect*>(w->graphicsEffect())) {
        if (!glow->property(kDayGlow).isValid()) {
            glow->setProperty(kDayGlow, glow->color());
            glow->setColor(NightColour(glow->color()));
        }
    }
}

void RestoreWidget(QWidget* w) {
    const QVariant sheet = w->property(kDaySheet);
    if (sheet.isValid()) {
        w->setStyleSheet(sheet.toString());
        w->setProperty(kDaySheet, QVariant());
    }
    const QVariant picture = w->property(kDayPicture);
    if (picture.isValid()) {
        if (auto* label = qobject_cast<QLabel*>(w))
            label->setPixmap(picture.value<QPixmap>());
        w->setProperty(kDayPicture, QVariant());
    }
    if (w->property(kNightShaded).toBool()) {
        w->setGraphicsEffect(nullptr); // deletes the effect
        w->setProperty(kNightShaded, QVariant());
    }
    if (auto* glow = qobject_cast<QGraphicsDropShadowEffect*>(w->graphicsEffect())) {
        const QVariant colour = glow->property(kDayGlow);
        if (colour.isValid()) {
            glow->setColor(colour.value<QColor>());
            glow->setProperty(kDayGlow, QVariant());
        }
    }
}

} // namespace

void SetNightLook(bool on) {
    DayLook& day = Day();
    if (on && !day.nightOn) {
        day.palette = QApplication::palette();
        QApplication::setPalette(NightPalette());
    } else if (!on && day.nightOn) {
        QApplication::setPalette(day.palette);
    }
    day.nightOn = on;
    // Also when already on: widgets made since (a window opened for the first time)
    // take the night look too.
    for (QWidget* w : QApplication::allWidgets()) {
        if (on)
            TurnWidget(w);
        else
            RestoreWidget(w);
    }
}

bool NightLookOn() {
    return Day().nightOn;
}

void DressForNight(QMessageBox& box) {
    if (!NightLookOn())
        return;
    box.setStyleSheet(NightSheet());
    const QPixmap icon = box.iconPixmap();
    if (!icon.isNull())
        box.setIconPixmap(QPixmap::fromImage(NightImage(icon.toImage())));
}
