#include "app/MainFormUnit.h"

void TFormMain::Btn_exp50Click() {}
void TFormMain::Btn_exp100Click() {}
void TFormMain::Btn_exp200Click() {}
void TFormMain::Btn_exp300Click() {}
void TFormMain::Btn_gain50Click() {}
void TFormMain::Btn_gain70Click() {}
void TFormMain::Btn_gain90Click() {}
void TFormMain::Btn_gain100Click() {}
void TFormMain::HighlightExposureButtons() {}
void TFormMain::HighlightGainButtons() {}
