#include "app/MainFormUnit.h"

void TFormMain::RadioBtn_northChange() {}
void TFormMain::RadioBtn_southChange() {}
