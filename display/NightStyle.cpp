#include "display/NightStyle.h"

#include <QRegularExpression>
#include <opencv2/imgproc.hpp>

#include <algorithm>
#include <cmath>

namespace {

int Clamp255(double v) {
    return std::clamp(static_cast<int>(std::lround(v)), 0, 255);
}

// The red level of a day colour: between its brightest channel and its luminance,
// so a saturated warning red stays visible and white text is not brighter than it.
int NightRed(int r, int g, int b) {
    const double luminance = 0.299 * r + 0.587 * g + 0.114 * b;
    return Clamp255((std::max({r, g, b}) + luminance) / 2.0 * kNightRedGain);
}

// "rgb(r, g, b)" or "rgba(r, g, b, a)" of a style sheet; an invalid colour otherwise.
QColor ParseRgbFunction(const QString& text) {
    static const QRegularExpression numbers(QStringLiteral("[-+]?\\d*\\.?\\d+%?"));
    QList<double> values;
    QList<bool> percent;
    for (auto it = numbers.globalMatch(text); it.hasNext();) {
        QString n = it.next().captured(0);
        percent << n.endsWith(QLatin1Char('%'));
        if (percent.back())
            n.chop(1);
        values << n.toDouble();
    }
    if (values.size() < 3)
        return {};
    auto channel = [&](int i) { return Clamp255(percent[i] ? values[i] * 2.55 : values[i]); };
    QColor c(channel(0), channel(1), channel(2));
    if (values.size() > 3)
        c.setAlpha(percent[3] ? Clamp255(values[3] * 2.55)
                              : (values[3] <= 1.0 && text.startsWith(QLatin1String("rgba"))
                                     ? Clamp255(values[3] * 255.0)
                                     : Clamp255(values[3])));
    return c;
}

QString StyleSheetColour(const QColor& c) {
    if (c.alpha() == 255)
        return c.name(QColor::HexRgb);
    return QStringLiteral("rgba(%1, %2, %3, %4)")
        .arg(c.red())
        .arg(c.green())
        .arg(c.blue())
        .arg(c.alpha());
}

// The colours in one declaration value, turned into their night shades.
QString NightValue(const QString& value) {
    static const QRegularExpression colour(
        QStringLiteral("#[0-9a-fA-F]{3,8}\\b|rgba?\\([^)]*\\)|\\b[a-zA-Z]+\\b"));
    QString out;
    qsizetype from = 0;
    for (auto it = colour.globalMatch(value); it.hasNext();) {
        const QRegularExpressionMatch m = it.next();
        const QString token = m.captured(0);
        QColor day;
        if (token.startsWith(QLatin1String("rgb")))
            day = ParseRgbFunction(token);
        else if (token.startsWith(QLatin1Char('#')) ||
                 (token.compare(QLatin1String("transparent"), Qt::CaseInsensitive) != 0 &&
                  QColor::isValidColorName(token)))
            day = QColor::fromString(token);
        out += value.mid(from, m.capturedStart() - from);
        out += day.isValid() ? StyleSheetColour(NightColour(day)) : token;
        from = m.capturedEnd();
    }
    return out + value.mid(from);
}

// The declarations of one block ("color: #fff; border: 1px solid grey"), values turned.
QString NightDeclarations(const QString& block) {
    static const QRegularExpression declaration(QStringLiteral("([\\w-]+\\s*:)([^;]*)"));
    QString out;
    qsizetype from = 0;
    for (auto it = declaration.globalMatch(block); it.hasNext();) {
        const QRegularExpressionMatch m = it.next();
        out += block.mid(from, m.capturedStart() - from);
        out += m.captured(1) + NightValue(m.captured(2));
        from = m.capturedEnd();
    }
    return out + block.mid(from);
}

QString WithoutComments(const QString& text) {
    static const QRegularExpression comment(QStringLiteral("/\\*.*?\\*/"),
                                            QRegularExpression::DotMatchesEverythingOption);
    return QString(text).remove(comment);
}

} // namespace

bool IsNightStyle(const QString& style) {
    return style == QLatin1String("Night");
}

QColor QColorOf(const cv::Scalar& bgr) {
    return QColor(Clamp255(bgr[2]), Clamp255(bgr[1]), Clamp255(bgr[0]));
}

bool MapToRedRamp(const cv::Mat& in, cv::Mat& out) {
    if (in.empty() || in.depth() != CV_8U || (in.channels() != 1 && in.channels() != 3))
        return false;
    cv::Mat grey;
    if (in.channels() == 3)
        cv::cvtColor(in, grey, cv::COLOR_BGR2GRAY);
    else
        grey = in;
    if (out.data == grey.data)
        out.release(); // the ramp is written into a fresh image, never over its source
    GreyToRedRamp(grey, out);
    return true;
}

QColor NightColour(const QColor& day) {
    const QColor rgb = day.toRgb();
    return QColor(NightRed(rgb.red(), rgb.green(), rgb.blue()), 0, 0, rgb.alpha());
}

QString NightStyleSheet(const QString& dayStyleSheet) {
    const QString text = WithoutComments(dayStyleSheet);
    if (!text.contains(QLatin1Char('{')))
        return NightDeclarations(text); // a widget's own declarations, without selectors
    QString out;
    qsizetype at = 0;
    while (at < text.size()) {
        const qsizetype open = text.indexOf(QLatin1Char('{'), at);
        if (open < 0) {
            out += text.mid(at);
            break;
        }
        qsizetype close = text.indexOf(QLatin1Char('}'), open);
        if (close < 0)
            close = text.size();
        out += text.mid(at, open + 1 - at); // the selectors stay as written
        out += NightDeclarations(text.mid(open + 1, close - open - 1));
        if (close < text.size())
            out += QLatin1Char('}');
        at = close + 1;
    }
    return out;
}

QImage NightImage(const QImage& day) {
    if (day.isNull())
        return day;
    QImage out = day.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < out.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(out.scanLine(y));
        for (int x = 0; x < out.width(); ++x) {
            const QRgb p = line[x];
            line[x] = qRgba(NightRed(qRed(p), qGreen(p), qBlue(p)), 0, 0, qAlpha(p));
        }
    }
    return out;
}

QImage TintImage(const QImage& picture, const QColor& colour) {
    if (picture.isNull())
        return picture;
    QImage out = picture.convertToFormat(QImage::Format_ARGB32);
    auto level = [](QRgb p) { return std::max({qRed(p), qGreen(p), qBlue(p)}); };
    int brightest = 0;
    for (int y = 0; y < out.height(); ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(out.constScanLine(y));
        for (int x = 0; x < out.width(); ++x)
            if (qAlpha(line[x]) > 0)
                brightest = std::max(brightest, level(line[x]));
    }
    const QColor c = colour.toRgb();
    for (int y = 0; y < out.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(out.scanLine(y));
        for (int x = 0; x < out.width(); ++x) {
            const double k = brightest > 0 ? double(level(line[x])) / brightest : 1.0;
            line[x] = qRgba(Clamp255(c.red() * k), Clamp255(c.green() * k), Clamp255(c.blue() * k),
                            qAlpha(line[x]));
        }
    }
    return out;
}

QPalette NightPalette() {
    // Reds of at most 170, so the style's lighter() shades of them (up to 150 %)
    // stay under the green/blue limit when the value saturates.
    const QColor black(0, 0, 0);
    const QColor surface(14, 0, 0);
    const QColor raised(30, 0, 0);
    const QColor text(170, 0, 0);
    const QColor dimText(90, 0, 0);
    QPalette p;
    for (QPalette::ColorGroup g : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
        const bool off = g == QPalette::Disabled;
        p.setColor(g, QPalette::Window, surface);
        p.setColor(g, QPalette::WindowText, off ? dimText : text);
        p.setColor(g, QPalette::Base, black);
        p.setColor(g, QPalette::AlternateBase, surface);
        p.setColor(g, QPalette::ToolTipBase, raised);
        p.setColor(g, QPalette::ToolTipText, text);
        p.setColor(g, QPalette::PlaceholderText, dimText);
        p.setColor(g, QPalette::Text, off ? dimText : text);
        p.setColor(g, QPalette::Button, raised);
        p.setColor(g, QPalette::ButtonText, off ? dimText : text);
        p.setColor(g, QPalette::BrightText, QColor(200, 0, 0));
        p.setColor(g, QPalette::Light, QColor(60, 0, 0));
        p.setColor(g, QPalette::Midlight, QColor(45, 0, 0));
        p.setColor(g, QPalette::Mid, QColor(35, 0, 0));
        p.setColor(g, QPalette::Dark, QColor(20, 0, 0));
        p.setColor(g, QPalette::Shadow, black);
        p.setColor(g, QPalette::Highlight, QColor(90, 0, 0));
        p.setColor(g, QPalette::HighlightedText, QColor(200, 0, 0));
        p.setColor(g, QPalette::Link, QColor(160, 20, 0));
        p.setColor(g, QPalette::LinkVisited, QColor(120, 0, 20));
    }
    return p;
}
