// The language switch of the main window: menu texts, wizard tips, label dictionaries
// and the font families that go with them.
#include "app/MainFormUnit.h"
#include "ui_FormMain.h"

#include "core/Log.h"
#include "dialogs/AboutFormUnit.h"
#include "dialogs/AtmRefFormUnit.h"
#include "dialogs/ManualWindow.h"
#include "dialogs/MessageBoxes.h"
#include "i18n/Dictionary.h"
#include "i18n/Languages.h"
#include "i18n/TextRecords.h"
#include "workflow/TraceFormUnit.h"
#include "workflow/MountTools.h"

#include <QAction>
#include <QComboBox>
#include <QMenu>
#include <QPointer>

namespace {

QList<QWidget*> AllWindows(TFormMain* main) {
    return {main, FormAbout, FormAtmRef, FormTrace};
}

// An installed family for the named one that can draw the language's script.
QString FamilyFor(const QString& wanted, const QString& lang) {
    return ResolveFontFamily(wanted, LanguageFor(lang).writingSystem);
}

template <typename T> void SetFamily(T* target, const QString& family) {
    QFont font = target->font();
    font.setFamily(family);
    target->setFont(font);
}

// Gives the named controls of `window` the font family.
void SetFamilyOf(QWidget* window, std::initializer_list<const char*> names, const QString& family) {
    if (!window)
        return;
    for (const char* name : names) {
        if (QWidget* w = window->findChild<QWidget*>(QLatin1String(name)))
            SetFamily(w, family);
    }
}

} // namespace

void TFormMain::InitLanguages() {
    if (!Lang1)
        Lang1 = new Dictionary(this);
    for (const QString& code : DictionaryCodes())
        Lang1->Register(code, LoadLabelDictionary(LanguageFor(code.toUpper()).code));
    // Message boxes show their text through the dictionary in force when they open.
    SetMessageTranslator([dict = QPointer<Dictionary>(Lang1)](const QString& text) {
        return dict ? dict->Translate(text) : text;
    });
}

void TFormMain::ApplyLanguage(const QString& lang) {
    if (!Lang1)
        InitLanguages();
    Lang1->Activate(LanguageFor(lang).dictionaryCode, AllWindows(this));
}

void TFormMain::LoadMenuTexts(const QString& lang) {
    LoadMenuRecord(lang, g_menuTexts);
}

void TFormMain::ApplyMenuTexts() {
    const MENUS& m = g_menuTexts;
    ui->MenuItem_file->setTitle(m.FileMenu);
    ui->MenuItem_exit->setText(m.ExitMenu);
    ui->MenuItem_save->setText(m.SaveMenu);
    ui->MenuItem_connect->setText(g_connected ? m.DisconnectMenu : m.ConnectMenu);
    ui->MenuItem_tools->setTitle(m.ToolsMenu);
    ui->MenuItem_showMask->setText(m.DisplayTMenu);
    ui->MenuItem_astroRef->setText(m.AstroRefMenu);
    ui->MenuItem_trace->setText(m.TraceMenu);
    ui->MenuItem_stretch->setText(m.StretchMenu);
    ui->MenuItem_style->setText(m.UIStyleMenu);
    ui->MenuItem_nightStyle->setText(m.NightStyleMenu.isEmpty() ? QStringLiteral("Night Style")
                                                                : m.NightStyleMenu);
    ui->MenuItem_zoom->setTitle(m.ZoomMenu);
    ui->MenuItem_lang->setTitle(m.LangMenu);
    ui->MenuItem_help->setTitle(m.HelpMenu);
    ui->MenuItem_about->setText(m.AboutMenu);
    ui->MenuItem_manual->setText(m.ManualMenu);
    if (Label_noFrames && frameWatch.Lost())
        Label_noFrames->setText(m.NoFramesMsg);
    ui->MenuItem_camera->setText(TranslateMessage(QStringLiteral("Camera...")));

    const QString family = FamilyFor(m.FontFamily, curLang);
    for (QAction* a :
         {ui->MenuItem_exit, ui->MenuItem_save, ui->MenuItem_connect, ui->MenuItem_showMask,
          ui->MenuItem_astroRef, ui->MenuItem_trace, ui->MenuItem_stretch, ui->MenuItem_style,
          ui->MenuItem_nightStyle, ui->MenuItem_about, ui->MenuItem_manual, ui->MenuItem_camera})
        SetFamily(a, family);
    for (QMenu* menu : {ui->MenuItem_file, ui->MenuItem_tools, ui->MenuItem_zoom, ui->MenuItem_lang,
                        ui->MenuItem_help})
        SetFamily(menu->menuAction(), family);
    // The menu bar draws its titles in its own font.
    SetFamily(ui->MenuBar_mainMenu, family);
    SetFamily(ui->MenuItem_guidance, family);
    if (MenuItem_zoomIn) {
        MenuItem_zoomIn->setText(m.KeyZoomIn);
        MenuItem_zoomOut->setText(m.KeyZoomOut);
        SetFamily(MenuItem_zoomIn, family);
        SetFamily(MenuItem_zoomOut, family);
    }
    RefreshGuidanceMenu();
    if (Mount())
        Mount()->ApplyLanguage(curLang);
    // The refraction window says which way the longitude counts.
    if (FormAtmRef)
        for (const char* name : {"Label_longitude", "SpinBox_longitude"})
            if (auto* w = FormAtmRef->findChild<QWidget*>(QLatin1String(name)))
                w->setToolTip(m.LongitudeTip);
    // An open manual follows the language.
    if (auto* manual = findChild<ManualWindow*>(QString(), Qt::FindDirectChildrenOnly))
        manual->SetLanguage(ui->MenuItem_lang_cn->isChecked(), m.ManualMenu, m.ManualWebLink);
}

void TFormMain::LoadTipTexts(const QString& lang, const QString& region) {
    LoadTipRecord(lang, region, g_tipTexts);
}

void TFormMain::ApplyLabelFonts() {
    const QString family = FamilyFor(g_tipTexts.FontFamily, curLang);
    SetFamilyOf(this, {"GroupBox_paras",   "Label_exp",         "GrpBox_mask_finding",
                       "Label_rTemplate",  "GrpBox_axis",       "Label_note",
                       "Label_star1",      "Label_star2",       "Label_star3",
                       "Label_cirCenter",  "GrpBox_mask_rough", "Label20",
                       "Label21",          "Label53",           "Label22",
                       "Label2",           "GrpBox_polar",      "GroupBox_refStarA",
                       "Label_starATitle", "GroupBox_refStarB", "Label_starBTitle",
                       "Btn_calcPolarAxis"},
                family);
    if (FormAtmRef) {
        SetFamilyOf(FormAtmRef,
                    {"Label_latitude", "Label_longitude", "Label_T", "CheckBox_astroRef"}, family);
        // The two pressure units are the items of the drop-down list.
        if (auto* combo = FormAtmRef->findChild<QComboBox*>(QStringLiteral("ComboBox_pressure"))) {
            SetFamily(combo, family);
            for (int i = 0; i < combo->count(); ++i)
                combo->setItemData(i, combo->font(), Qt::FontRole);
        }
    }
    SetFamilyOf(FormTrace, {"Btn_reset", "Label_arcDial"}, family);
    SetFamilyOf(FormAbout, {"Label_thanksMsg"}, family);
}

namespace {

// The switch of the ten menu handlers.
void SwitchLanguage(TFormMain* w, const QString& code, QAction* item) {
    if (w->curLang == code)
        return;
    WriteLog(QStringLiteral("Info"), QStringLiteral("switch language to ") + code);
    item->setChecked(true);
    w->curLang = code;
    g_iniFileInfo.lang = code;
    w->ApplyLanguage(w->curLang);
    w->LoadMenuTexts(w->curLang);
    w->ApplyMenuTexts();
    w->LoadTipTexts(w->curLang, w->curRegion);
    w->ApplyLabelFonts();
    w->ShowTip(w->wizardStep);
}

} // namespace

void TFormMain::MenuItem_lang_enClick() {
    SwitchLanguage(this, "EN", ui->MenuItem_lang_en);
}
void TFormMain::MenuItem_lang_cnClick() {
    SwitchLanguage(this, "CN", ui->MenuItem_lang_cn);
}
void TFormMain::MenuItem_lang_jpClick() {
    SwitchLanguage(this, "JP", ui->MenuItem_lang_jp);
}
void TFormMain::MenuItem_lang_ruClick() {
    SwitchLanguage(this, "RU", ui->MenuItem_lang_ru);
}
void TFormMain::MenuItem_lang_frClick() {
    SwitchLanguage(this, "FR", ui->MenuItem_lang_fr);
}
void TFormMain::MenuItem_lang_deClick() {
    SwitchLanguage(this, "DE", ui->MenuItem_lang_de);
}
void TFormMain::MenuItem_lang_esClick() {
    SwitchLanguage(this, "ES", ui->MenuItem_lang_es);
}
void TFormMain::MenuItem_lang_ptClick() {
    SwitchLanguage(this, "PT", ui->MenuItem_lang_pt);
}
void TFormMain::MenuItem_lang_itClick() {
    SwitchLanguage(this, "IT", ui->MenuItem_lang_it);
}
void TFormMain::MenuItem_lang_krClick() {
    SwitchLanguage(this, "KR", ui->MenuItem_lang_kr);
}
