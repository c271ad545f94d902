#include "i18n/TextRecords.h"

#include "i18n/Languages.h"
#include "i18n/TextTable.h"

MENUS g_menuTexts;
MESSAGETIPS g_tipTexts;

namespace {

template <typename Record, std::size_t N>
void FillRecord(const TextTable& table, const std::array<TextField<Record>, N>& fields,
                Record& out) {
    for (const TextField<Record>& field : fields) {
        if (const TextEntry* entry = FindTextEntry(table, QLatin1String(field.key)))
            out.*field.member = entry->value;
    }
}

} // namespace

const std::array<TextField<MENUS>, 35>& MenuFields() {
    static const std::array<TextField<MENUS>, 35> fields{{
        {"FileMenu", &MENUS::FileMenu},
        {"ExitMenu", &MENUS::ExitMenu},
        {"SaveMenu", &MENUS::SaveMenu},
        {"ConnectMenu", &MENUS::ConnectMenu},
        {"DisconnectMenu", &MENUS::DisconnectMenu},
        {"ToolsMenu", &MENUS::ToolsMenu},
        {"DisplayTMenu", &MENUS::DisplayTMenu},
        {"AstroRefMenu", &MENUS::AstroRefMenu},
        {"TraceMenu", &MENUS::TraceMenu},
        {"StretchMenu", &MENUS::StretchMenu},
        {"UIStyleMenu", &MENUS::UIStyleMenu},
        {"NightStyleMenu", &MENUS::NightStyleMenu},
        {"ZoomMenu", &MENUS::ZoomMenu},
        {"LangMenu", &MENUS::LangMenu},
        {"HelpMenu", &MENUS::HelpMenu},
        {"AboutMenu", &MENUS::AboutMenu},
        {"ManualMenu", &MENUS::ManualMenu},
        {"FontFamily", &MENUS::FontFamily},
        {"NoFramesMsg", &MENUS::NoFramesMsg},
        {"ReadoutError", &MENUS::ReadoutError},
        {"ReadoutAltitude", &MENUS::ReadoutAltitude},
        {"ReadoutAzimuth", &MENUS::ReadoutAzimuth},
        {"ReadoutRaise", &MENUS::ReadoutRaise},
        {"ReadoutLower", &MENUS::ReadoutLower},
        {"ReadoutEast", &MENUS::ReadoutEast},
        {"ReadoutWest", &MENUS::ReadoutWest},
        {"ReadoutScale", &MENUS::ReadoutScale},
        {"ManualWebLink", &MENUS::ManualWebLink},
        {"KeyZoomIn", &MENUS::KeyZoomIn},
        {"KeyZoomOut", &MENUS::KeyZoomOut},
        {"LongitudeTip", &MENUS::LongitudeTip},
        {"LatitudeTip", &MENUS::LatitudeTip},
        {"ReadoutNoSite", &MENUS::ReadoutNoSite},
        {"SiteSouthRegionNorth", &MENUS::SiteSouthRegionNorth},
        {"SiteNorthRegionSouth", &MENUS::SiteNorthRegionSouth},
    }};
    return fields;
}

const std::array<TextField<MESSAGETIPS>, 38>& TipFields() {
    using M = MESSAGETIPS;
    static const std::array<TextField<MESSAGETIPS>, 38> fields{{
        {"ZenithWandSettingTip", &M::ZenithWandSettingTip},
        {"ZenithWandSettingAsk", &M::ZenithWandSettingAsk},
        {"ZenithWandSettingBtn2Text", &M::ZenithWandSettingBtn2Text},
        {"ConfirmPolarisTip", &M::ConfirmPolarisTip},
        {"ConfirmPolarisAsk", &M::ConfirmPolarisAsk},
        {"ConfirmPolarisBtn2Text", &M::ConfirmPolarisBtn2Text},
        {"GetFirstPosTip", &M::GetFirstPosTip},
        {"RotateFirstTip", &M::RotateFirstTip},
        {"RotateFirstAsk", &M::RotateFirstAsk},
        {"RotateFirstBtn1Text", &M::RotateFirstBtn1Text},
        {"RotateFirstBtn2Text", &M::RotateFirstBtn2Text},
        {"GetSecondTip", &M::GetSecondTip},
        {"GetSecondBtn1Text", &M::GetSecondBtn1Text},
        {"RotateSecondTip", &M::RotateSecondTip},
        {"RotateSecondAsk", &M::RotateSecondAsk},
        {"RotateSecondBtn1Text", &M::RotateSecondBtn1Text},
        {"RotateSecondBtn2Text", &M::RotateSecondBtn2Text},
        {"GetThirdTip", &M::GetThirdTip},
        {"GetThridBtn1Text", &M::GetThridBtn1Text},
        {"ValidateCenterTip", &M::ValidateCenterTip},
        {"ValidateCenterAsk", &M::ValidateCenterAsk},
        {"ValidateCenterBtn1Text", &M::ValidateCenterBtn1Text},
        {"ValidateCenterBtn2Text", &M::ValidateCenterBtn2Text},
        {"GetExpectPolarisTip", &M::GetExpectPolarisTip},
        {"GetExpectPolarisAsk", &M::GetExpectPolarisAsk},
        {"GetExpectPolarisBtn2Text", &M::GetExpectPolarisBtn2Text},
        {"MovePolarisTip", &M::MovePolarisTip},
        {"MovePolarisAsk", &M::MovePolarisAsk},
        {"MovePolarisBtn2Text", &M::MovePolarisBtn2Text},
        {"GetCurrentPolarisTip", &M::GetCurrentPolarisTip},
        {"GetCurrentPolarisAsk", &M::GetCurrentPolarisAsk},
        {"GetCurrentPolarisBtn2Text", &M::GetCurrentPolarisBtn2Text},
        {"CalcPoleTip", &M::CalcPoleTip},
        {"FinetunePoleTip", &M::FinetunePoleTip},
        {"FinetunePoleBtn1Text", &M::FinetunePoleBtn1Text},
        {"FinetunePoleBtn2Text", &M::FinetunePoleBtn2Text},
        {"ChoiseRecordTip", &M::ChoiseRecordTip},
        {"FontFamily", &M::FontFamily},
    }};
    return fields;
}

void ApplyTextTable(const TextTable& table, MENUS& out) {
    FillRecord(table, MenuFields(), out);
}

void ApplyTextTable(const TextTable& table, MESSAGETIPS& out) {
    FillRecord(table, TipFields(), out);
}

bool LoadMenuRecord(const QString& lang, MENUS& out) {
    TextTable table;
    if (!ReadTextTableResource(MenuTableName(lang), table))
        return false;
    ApplyTextTable(table, out);
    return true;
}

bool LoadTipRecord(const QString& lang, const QString& region, MESSAGETIPS& out) {
    TextTable table;
    if (!ReadTextTableResource(TipTableName(lang, region), table))
        return false;
    ApplyTextTable(table, out);
    return true;
}

QHash<QString, QString> LoadLabelDictionary(const QString& lang) {
    QHash<QString, QString> dictionary;
    TextTable table;
    if (!ReadTextTableResource(DictionaryTableName(lang), table))
        return dictionary;
    for (const TextEntry& entry : table) {
        // Keys are unique; should one repeat, its first line holds.
        if (!dictionary.contains(entry.key))
            dictionary.insert(entry.key, entry.value);
    }
    return dictionary;
}

QString TranslateText(const QHash<QString, QString>& dictionary, const QString& text) {
    const auto it = dictionary.constFind(text);
    return it == dictionary.constEnd() ? text : it.value();
}
