// zw_imagegen <output folder>: writes every picture the program carries as
// <name>.png. The names are the resource names the program looks up.

#include "Pictures.h"

#include <QDir>
#include <QGuiApplication>
#include <QTextStream>

#include <functional>
#include <vector>

namespace {

struct Picture {
    const char* name;
    QSize size;
    std::function<QImage()> make;
};

const QColor kGhostWhite(248, 248, 255);
const QColor kPoleGreen(0, 255, 0);
const QColor kAxisRed(252, 0, 0);
const QColor kGlyphGrey(168, 168, 176);
const QColor kGlyphDark(21, 23, 28);
const QColor kGlyphNight(150, 0, 0); // the night style's arrows: a red, no green or blue

} // namespace

int main(int argc, char** argv) {
    // Painting text needs a platform; none is shown.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    QTextStream err(stderr);
    if (argc != 2) {
        err << "usage: zw_imagegen <output folder>\n";
        return 2;
    }
    const QDir out(QString::fromLocal8Bit(argv[1]));
    if (!out.exists() && !QDir().mkpath(out.path())) {
        err << "cannot create " << out.path() << "\n";
        return 1;
    }

    using namespace imagegen;
    const std::vector<Picture> pictures = {
        {"North_Mask_hollow", {800, 800}, makeNorthTemplate},
        {"South_Mask_hollow", {800, 674}, makeSouthTemplate},
        {"PoleIcon_mono", {25, 25}, [] { return makePoleIcon(kGhostWhite); }},
        {"PoleIcon_color", {25, 25}, [] { return makePoleIcon(kPoleGreen); }},
        {"AxisIcon_mono", {25, 25}, [] { return makeAxisIcon(kGhostWhite); }},
        {"AxisIcon_color", {25, 25}, [] { return makeAxisIcon(kAxisRed); }},
        {"Img_lighton_mono", {512, 512}, [] { return makeIndicator(IndicatorLook::OnMono); }},
        {"Img_lightoff_mono", {512, 512}, [] { return makeIndicator(IndicatorLook::OffMono); }},
        {"Img_lighton_color", {512, 512}, [] { return makeIndicator(IndicatorLook::OnColor); }},
        {"Img_lightoff_color", {512, 512}, [] { return makeIndicator(IndicatorLook::OffColor); }},
        {"Image_rotateDirect", {377, 220}, makeRotateArrow},
        {"Image_logo", {192, 48}, makeLogo},
        {"zenithwand", {256, 256}, makeAppIcon},
        {"StyleArrowUp", {10, 6}, [] { return makeArrowGlyph(true, kGlyphGrey); }},
        {"StyleArrowDown", {10, 6}, [] { return makeArrowGlyph(false, kGlyphGrey); }},
        {"StyleCheck", {12, 12}, [] { return makeCheckGlyph(kGlyphDark); }},
        {"StyleArrowUp_night", {10, 6}, [] { return makeArrowGlyph(true, kGlyphNight); }},
        {"StyleArrowDown_night", {10, 6}, [] { return makeArrowGlyph(false, kGlyphNight); }},
    };

    int failures = 0;
    for (const Picture& picture : pictures) {
        const QImage image = picture.make();
        const QString path = out.filePath(QString::fromLatin1(picture.name) + ".png");
        if (image.size() != picture.size) {
            err << picture.name << ": made " << image.width() << "x" << image.height()
                << ", expected " << picture.size.width() << "x" << picture.size.height() << "\n";
            ++failures;
            continue;
        }
        if (!image.convertToFormat(QImage::Format_ARGB32).save(path, "PNG")) {
            err << "cannot write " << path << "\n";
            ++failures;
        }
    }
    return failures == 0 ? 0 : 1;
}
