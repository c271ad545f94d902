// The pictures the program carries in its resources, each made from the geometry
// and colours written in its generator file. main.cpp names them and writes them.
#pragma once

#include <QColor>
#include <QImage>

namespace imagegen {

// Star templates, shown over the live view (TemplateImages.cpp).
QImage makeNorthTemplate(); // 800 x 800
QImage makeSouthTemplate(); // 800 x 674

// Legend icons of the pole close-up, 25 x 25 (LegendIcons.cpp).
QImage makePoleIcon(const QColor& colour);
QImage makeAxisIcon(const QColor& colour);

// Star-position indicators, 512 x 512 (Indicators.cpp).
enum class IndicatorLook { OnMono, OffMono, OnColor, OffColor };
QImage makeIndicator(IndicatorLook look);

// Rotation-direction arrow, 377 x 220 (RotateArrow.cpp).
QImage makeRotateArrow();

// Wordmark 192 x 48 and application icon 256 x 256 (Branding.cpp).
QImage makeLogo();
QImage makeAppIcon();

// Small glyphs the style sheets use for arrows and check marks (StyleGlyphs.cpp).
QImage makeArrowGlyph(bool up, const QColor& colour);
QImage makeCheckGlyph(const QColor& colour);

} // namespace imagegen
