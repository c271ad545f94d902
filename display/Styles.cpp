#include "app/MainFormUnit.h"

void TFormMain::ChangeUIStyle(const QString&) {}
void TFormMain::ChangePoleAxisIcon(const QString&) {}
void TFormMain::LoadLightImages() {}
void TFormMain::SetStarPosIndicator(QLabel*, bool) {}
void TFormMain::ChangeTipColor(const QString&) {}
void TFormMain::MenuItem_styleClick() {}
