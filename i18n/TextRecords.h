// The text records of the current language: the menu texts (MENUS) and the wizard's
// tips, questions and button captions (MESSAGETIPS), and the label dictionaries.
//
// Usage:
//   LoadMenuRecord(curLang, g_menuTexts);               // reads "Menu_" + code
//   LoadTipRecord(curLang, curRegion, g_tipTexts);      // "TipsMsg" + code + "_N" / "_S"
//   QHash<QString, QString> dict = LoadLabelDictionary(curLang);  // "Lang_de_north" for "DE"
//   label->setText(TranslateText(dict, label->text()));
//
// A code that is none of the ten loads the English tables; a region other than
// exactly "N" loads the southern tips. A key missing from a table leaves its field
// as it was, so a field keeps the text of the language loaded before (or stays empty).
#pragma once

#include "i18n/TextTable.h"

#include <QHash>
#include <QString>

#include <array>

struct MENUS {
    QString FileMenu;
    QString ExitMenu;
    QString SaveMenu;
    QString ConnectMenu;
    QString DisconnectMenu;
    QString ToolsMenu;
    QString DisplayTMenu;
    QString AstroRefMenu;
    QString TraceMenu;
    QString StretchMenu;
    QString UIStyleMenu;
    QString NightStyleMenu; // Tools menu: the red night-vision style
    QString ZoomMenu;
    QString LangMenu;
    QString HelpMenu;
    QString AboutMenu;
    QString ManualMenu;
    QString FontFamily;
    QString NoFramesMsg; // status bar: the camera delivers no frames
    // The monitor mode's read-out below the close-up.
    QString ReadoutError;    // the total error
    QString ReadoutAltitude; // the altitude component
    QString ReadoutAzimuth;  // the azimuth component
    QString ReadoutRaise;    // altitude advice: raise
    QString ReadoutLower;    // altitude advice: lower
    QString ReadoutEast;     // azimuth advice: turn east
    QString ReadoutWest;     // azimuth advice: turn west
    QString ReadoutScale;    // the plate scale
    // The offline manual's window and the zoom menu's keyboard items.
    QString ManualWebLink; // the link to the manual on the web
    QString KeyZoomIn;     // "Zoom In" (+)
    QString KeyZoomOut;    // "Zoom Out" (-)
    QString LongitudeTip;  // refraction window: longitude is east-positive
    QString LatitudeTip;   // refraction window: latitude is north-positive
    // The read-out without a site, and the tip's warning when the chosen sky and the
    // site's hemisphere disagree.
    QString ReadoutNoSite;
    QString SiteSouthRegionNorth;
    QString SiteNorthRegionSouth;
};

struct MESSAGETIPS {
    QString ZenithWandSettingTip;
    QString ZenithWandSettingAsk;
    QString ZenithWandSettingBtn2Text;
    QString ConfirmPolarisTip;
    QString ConfirmPolarisAsk;
    QString ConfirmPolarisBtn2Text;
    QString GetFirstPosTip;
    QString RotateFirstTip;
    QString RotateFirstAsk;
    QString RotateFirstBtn1Text;
    QString RotateFirstBtn2Text;
    QString GetSecondTip;
    QString GetSecondBtn1Text;
    QString RotateSecondTip;
    QString RotateSecondAsk;
    QString RotateSecondBtn1Text;
    QString RotateSecondBtn2Text;
    QString GetThirdTip;
    QString GetThridBtn1Text;
    QString ValidateCenterTip;
    QString ValidateCenterAsk;
    QString ValidateCenterBtn1Text;
    QString ValidateCenterBtn2Text;
    QString GetExpectPolarisTip;
    QString GetExpectPolarisAsk;
    QString GetExpectPolarisBtn2Text;
    QString MovePolarisTip;
    QString MovePolarisAsk;
    QString MovePolarisBtn2Text;
    QString GetCurrentPolarisTip;
    QString GetCurrentPolarisAsk;
    QString GetCurrentPolarisBtn2Text;
    QString CalcPoleTip;
    QString FinetunePoleTip;
    QString FinetunePoleBtn1Text;
    QString FinetunePoleBtn2Text;
    QString ChoiseRecordTip;
    QString FontFamily;
};

// The texts of the current language, read by the windows. Start empty; the language
// switch fills them.
extern MENUS g_menuTexts;
extern MESSAGETIPS g_tipTexts;

template <typename Record> struct TextField {
    const char* key;
    QString Record::*member;
};

// The fields with their table keys, in record order.
const std::array<TextField<MENUS>, 35>& MenuFields();
const std::array<TextField<MESSAGETIPS>, 38>& TipFields();

// Copies the values of `table` into the fields whose key it holds (first line with the
// key, compared without regard to case); fields whose key is missing keep their value.
void ApplyTextTable(const TextTable& table, MENUS& out);
void ApplyTextTable(const TextTable& table, MESSAGETIPS& out);

// Reads the menu table of `lang` into `out`. Returns false, leaving `out` untouched,
// when the table is missing.
bool LoadMenuRecord(const QString& lang, MENUS& out);

// Reads the tip table of `lang` and `region` into `out`. Returns false, leaving `out`
// untouched, when the table is missing.
bool LoadTipRecord(const QString& lang, const QString& region, MESSAGETIPS& out);

// The label dictionary of a language code ("DE"; any other code, "de" included, gives
// English): English design-time text -> translation, keys exact.
QHash<QString, QString> LoadLabelDictionary(const QString& lang);

// The translation of `text` when it is a key of `dictionary` (whole text, case-sensitive),
// else `text` itself.
QString TranslateText(const QHash<QString, QString>& dictionary, const QString& text);
