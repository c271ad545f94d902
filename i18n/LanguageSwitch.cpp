#include "app/MainFormUnit.h"

void TFormMain::InitLanguages() {}
void TFormMain::ApplyLanguage(const QString&) {}
void TFormMain::LoadMenuTexts(const QString&) {}
void TFormMain::ApplyMenuTexts() {}
void TFormMain::LoadTipTexts(const QString&, const QString&) {}
void TFormMain::ApplyLabelFonts() {}
void TFormMain::MenuItem_lang_enClick() {}
void TFormMain::MenuItem_lang_cnClick() {}
void TFormMain::MenuItem_lang_jpClick() {}
void TFormMain::MenuItem_lang_ruClick() {}
void TFormMain::MenuItem_lang_frClick() {}
void TFormMain::MenuItem_lang_deClick() {}
void TFormMain::MenuItem_lang_esClick() {}
void TFormMain::MenuItem_lang_ptClick() {}
void TFormMain::MenuItem_lang_itClick() {}
void TFormMain::MenuItem_lang_krClick() {}
