#include "guidance/GuidancePhrases.h"

#include "i18n/Languages.h"
#include "i18n/TextTable.h"

#include <QRegularExpression>

#include <array>

namespace {

struct Field {
    const char* key;
    QString GuidancePhrases::*member;
};

const std::array<Field, 10> kFields = {{
    {"GuideMenu", &GuidancePhrases::menu},
    {"GuideNoAudio", &GuidancePhrases::noAudio},
    {"GuideAltUp", &GuidancePhrases::altUp},
    {"GuideAltDown", &GuidancePhrases::altDown},
    {"GuideAzEast", &GuidancePhrases::azEast},
    {"GuideAzWest", &GuidancePhrases::azWest},
    {"GuideMinute", &GuidancePhrases::minute},
    {"GuideMinutes", &GuidancePhrases::minutes},
    {"GuideSeconds", &GuidancePhrases::seconds},
    {"GuideAligned", &GuidancePhrases::aligned},
}};

void Fill(const QString& code, GuidancePhrases& out) {
    TextTable table;
    if (!ReadTextTableResource(QStringLiteral("Guide_") + code, table))
        return;
    for (const Field& f : kFields) {
        if (const TextEntry* e = FindTextEntry(table, QLatin1String(f.key)))
            out.*f.member = e->value;
    }
}

// The direction phrase and the unit phrase of an advice.
const QString& DirectionOf(const GuidancePhrases& p, GuidanceAxis axis, int direction) {
    if (axis == GuidanceAxis::Altitude)
        return direction >= 0 ? p.altUp : p.altDown;
    return direction >= 0 ? p.azEast : p.azWest;
}

} // namespace

GuidancePhrases GuidancePhrases::ForLanguage(const QString& code) {
    GuidancePhrases p;
    p.code = QStringLiteral("EN");
    Fill(p.code, p); // English first: a key a language lacks reads in English
    if (IsKnownLanguage(code) && code != p.code) {
        p.code = code;
        Fill(code, p);
    }
    return p;
}

QString GuidancePhrases::Say(const GuidanceAdvice& a) const {
    if (a.kind == GuidanceAdvice::Kind::Aligned)
        return aligned;
    const QString& unit = !a.minutes ? seconds : a.amount == 1 ? minute : minutes;
    return DirectionOf(*this, a.axis, a.direction).arg(unit.arg(a.amount));
}

std::optional<GuidanceAdvice> GuidancePhrases::Parse(const QString& text) const {
    const QString said = text.trimmed();
    if (said.compare(aligned, Qt::CaseInsensitive) == 0)
        return GuidanceAdvice{};
    struct Unit {
        const QString* text;
        bool minutes;
    };
    for (GuidanceAxis axis : {GuidanceAxis::Altitude, GuidanceAxis::Azimuth}) {
        for (int direction : {1, -1}) {
            for (const Unit& u :
                 {Unit{&minute, true}, Unit{&minutes, true}, Unit{&seconds, false}}) {
                // The phrase with the amount left open, matched as a whole.
                const QString phrase = DirectionOf(*this, axis, direction).arg(*u.text);
                QString pattern = QRegularExpression::escape(phrase);
                pattern.replace(QStringLiteral("\\%1"), QStringLiteral("(\\d+)"));
                const QRegularExpression re(QRegularExpression::anchoredPattern(pattern),
                                            QRegularExpression::CaseInsensitiveOption);
                const QRegularExpressionMatch m = re.match(said);
                if (!m.hasMatch())
                    continue;
                GuidanceAdvice a;
                a.kind = GuidanceAdvice::Kind::Move;
                a.axis = axis;
                a.direction = direction;
                a.minutes = u.minutes;
                a.amount = m.captured(1).toInt();
                return a;
            }
        }
    }
    return std::nullopt;
}
