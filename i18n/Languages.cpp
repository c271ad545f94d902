#include "i18n/Languages.h"

#include <QFont>

namespace {

const QString kTimes = QStringLiteral("Times New Roman");

QList<LanguageInfo> MakeLanguages() {
    using WS = QFontDatabase::WritingSystem;
    const QString yaHei = QString::fromUtf8("微软雅黑");
    const QString gothic = QStringLiteral("MS Gothic");
    const QString arial = QStringLiteral("Arial");
    const QString doctum = QStringLiteral("Doctum");
    return {
        {"EN", "en", "MenuItem_lang_en", "English", kTimes, kTimes, kTimes, WS::Latin,
         QLocale::English},
        {"CN", "cn", "MenuItem_lang_cn", QString::fromUtf8("简体中文"), yaHei, yaHei,
         QStringLiteral("Tahoma"), WS::SimplifiedChinese, QLocale::Chinese},
        {"JP", "jp", "MenuItem_lang_jp", QString::fromUtf8("日本語"), gothic, gothic, gothic,
         WS::Japanese, QLocale::Japanese},
        // The Russian item is written with a Latin capital P and ends in a no-break space.
        {"RU", "ru", "MenuItem_lang_ru", QString::fromUtf8("Pусский\u00A0"), kTimes, kTimes, kTimes,
         WS::Cyrillic, QLocale::Russian},
        {"FR", "fr", "MenuItem_lang_fr", QString::fromUtf8("Français"), kTimes, kTimes, kTimes,
         WS::Latin, QLocale::French},
        {"DE", "de", "MenuItem_lang_de", "Deutsch", kTimes, kTimes, kTimes, WS::Latin,
         QLocale::German},
        {"ES", "es", "MenuItem_lang_es", QString::fromUtf8("Español"), kTimes, kTimes, kTimes,
         WS::Latin, QLocale::Spanish},
        {"PT", "pt", "MenuItem_lang_pt", QString::fromUtf8("Português"), arial, arial, arial,
         WS::Latin, QLocale::Portuguese},
        {"IT", "it", "MenuItem_lang_it", "Italian", kTimes, kTimes, kTimes, WS::Latin,
         QLocale::Italian},
        {"KR", "kr", "MenuItem_lang_kr", "Korean", doctum, doctum, doctum, WS::Korean,
         QLocale::Korean},
    };
}

enum class FontKind { Serif, Sans };

bool NameHasAny(const QString& name, std::initializer_list<const char*> parts) {
    for (const char* part : parts) {
        if (name.contains(QLatin1String(part), Qt::CaseInsensitive))
            return true;
    }
    return false;
}

FontKind KindOfFamily(const QString& family) {
    if (NameHasAny(family, {"Sans", "Gothic", "Dotum", "Doctum", "Hei", "Arial", "Tahoma"}))
        return FontKind::Sans;
    if (NameHasAny(family, {"Serif", "Times", "Roman", "Mincho", "Song", "Ming", "Batang",
                            "Myeongjo", "Georgia"}) ||
        family == QString::fromUtf8("宋体"))
        return FontKind::Serif;
    return FontKind::Sans;
}

// Installed look-alikes of the families the tables name, best first.
QStringList TwinsOf(const QString& wanted) {
    const QString w = wanted.trimmed();
    if (w.compare(kTimes, Qt::CaseInsensitive) == 0)
        return {"Liberation Serif", "Tinos",        "TeX Gyre Termes",
                "Nimbus Roman",     "DejaVu Serif", "Noto Serif"};
    if (w.compare("Arial", Qt::CaseInsensitive) == 0)
        return {"Liberation Sans", "Arimo", "Nimbus Sans", "DejaVu Sans", "Noto Sans"};
    if (w.compare("Tahoma", Qt::CaseInsensitive) == 0)
        return {"DejaVu Sans", "Liberation Sans", "Noto Sans"};
    if (w == QString::fromUtf8("微软雅黑") ||
        w.compare("Microsoft YaHei", Qt::CaseInsensitive) == 0)
        return {"Noto Sans CJK SC", "Source Han Sans SC", "WenQuanYi Micro Hei",
                "WenQuanYi Zen Hei", "Droid Sans Fallback"};
    if (w.compare("MS Gothic", Qt::CaseInsensitive) == 0)
        return {"Noto Sans CJK JP", "Noto Sans Mono CJK JP", "Source Han Sans JP",
                "IPAGothic",        "TakaoGothic",           "VL Gothic"};
    if (w.compare("Doctum", Qt::CaseInsensitive) == 0 ||
        w.compare("Dotum", Qt::CaseInsensitive) == 0)
        return {"Noto Sans CJK KR", "Source Han Sans KR", "NanumGothic", "UnDotum",
                "Baekmuk Dotum"};
    return {};
}

// Families for a script when the named family and its twins are missing, best first.
QStringList ScriptDefaults(QFontDatabase::WritingSystem script, FontKind kind) {
    const bool serif = kind == FontKind::Serif;
    switch (script) {
    case QFontDatabase::SimplifiedChinese:
        return serif ? QStringList{"Noto Serif CJK SC", "Noto Sans CJK SC"}
                     : QStringList{"Noto Sans CJK SC", "Noto Serif CJK SC"};
    case QFontDatabase::Japanese:
        return serif ? QStringList{"Noto Serif CJK JP", "Noto Sans CJK JP"}
                     : QStringList{"Noto Sans CJK JP", "Noto Serif CJK JP"};
    case QFontDatabase::Korean:
        return serif ? QStringList{"Noto Serif CJK KR", "Noto Sans CJK KR"}
                     : QStringList{"Noto Sans CJK KR", "Noto Serif CJK KR"};
    default:
        return serif ? QStringList{"Liberation Serif", "DejaVu Serif", "Noto Serif"}
                     : QStringList{"Liberation Sans", "DejaVu Sans", "Noto Sans"};
    }
}

// Qt may list a family as "Name [Foundry]"; the bare name is what a QFont takes.
QString BareFamily(const QString& listed) {
    const qsizetype bracket = listed.indexOf(QLatin1String(" ["));
    return bracket < 0 ? listed : listed.left(bracket);
}

QString FindIn(const QStringList& available, const QString& family) {
    for (const QString& listed : available) {
        if (BareFamily(listed).compare(family, Qt::CaseInsensitive) == 0)
            return BareFamily(listed);
    }
    return {};
}

} // namespace

const QList<LanguageInfo>& Languages() {
    static const QList<LanguageInfo> languages = MakeLanguages();
    return languages;
}

bool IsKnownLanguage(const QString& code) {
    for (const LanguageInfo& lang : Languages()) {
        if (lang.code == code)
            return true;
    }
    return false;
}

const LanguageInfo& LanguageFor(const QString& code) {
    for (const LanguageInfo& lang : Languages()) {
        if (lang.code == code)
            return lang;
    }
    return Languages().front();
}

QStringList DictionaryCodes() {
    return {"en", "cn", "jp", "de", "es", "fr", "ru", "pt", "it", "kr"};
}

QString MenuTableName(const QString& code) {
    return QStringLiteral("Menu_") + LanguageFor(code).code;
}

QString TipTableName(const QString& code, const QString& region) {
    return QStringLiteral("TipsMsg") + LanguageFor(code).code +
           (region == QLatin1String("N") ? QStringLiteral("_N") : QStringLiteral("_S"));
}

QString DictionaryTableName(const QString& code) {
    return QStringLiteral("Lang_") + LanguageFor(code).dictionaryCode + QStringLiteral("_north");
}

QString ResolveFontFamily(const QString& wanted, QFontDatabase::WritingSystem script) {
    const QStringList available = QFontDatabase::families(script);
    if (const QString found = FindIn(available, wanted); !found.isEmpty())
        return found;

    for (const QString& twin : TwinsOf(wanted)) {
        if (const QString found = FindIn(available, twin); !found.isEmpty())
            return found;
    }
    const FontKind kind = KindOfFamily(wanted);
    for (const QString& family : ScriptDefaults(script, kind)) {
        if (const QString found = FindIn(available, family); !found.isEmpty())
            return found;
    }
    // Any installed family of the same kind, a proportional one before a fixed-pitch one.
    QString sameKindFixed;
    QString anyKind;
    for (const QString& listed : available) {
        const QString family = BareFamily(listed);
        if (QFontDatabase::isPrivateFamily(family))
            continue;
        if (anyKind.isEmpty())
            anyKind = family;
        if (KindOfFamily(family) != kind)
            continue;
        if (!QFontDatabase::isFixedPitch(family))
            return family;
        if (sameKindFixed.isEmpty())
            sameKindFixed = family;
    }
    if (!sameKindFixed.isEmpty())
        return sameKindFixed;
    if (!anyKind.isEmpty())
        return anyKind;
    return QFontDatabase::systemFont(QFontDatabase::GeneralFont).family();
}
