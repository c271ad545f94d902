#include "app/MainFormUnit.h"

bool TFormMain::ConnectCamera() { return false; }
void TFormMain::MenuItem_connectClick() {}
void TFormMain::SetConnectedUi(bool) {}
