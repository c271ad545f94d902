#include "astro/TemplatePattern.h"

TemplatePattern TemplatePatternFor(const QString& hemisphere, const STARDATA& data) {
    TemplatePattern p;
    p.stars = {{data.bX, data.bY}, {data.aX, data.aY}, {data.dX, data.dY}};
    // The further rings of each template picture (their centres, template pixels).
    if (hemisphere == QLatin1String("S"))
        p.stars.insert(p.stars.end(), {{444, 134}, {625, 54}, {564, 433}, {295, 411}});
    else
        p.stars.insert(p.stars.end(), {{281, 699}, {58, 448}, {608, 697}});
    p.poleX = data.poleX;
    p.poleY = data.poleY;
    return p;
}
