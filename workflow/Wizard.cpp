#include "app/MainFormUnit.h"

void TFormMain::ShowTip(int) {}
void TFormMain::Btn1_tipClick() {}
void TFormMain::Btn2_tipClick() {}
void TFormMain::Btn_calcPolarAxisClick() {}
void TFormMain::Timer_updateAngleTimer() {}
