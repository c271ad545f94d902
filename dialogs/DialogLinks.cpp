#include "app/MainFormUnit.h"

void TFormMain::MenuItem_astroRefClick() {}
void TFormMain::MenuItem_aboutClick() {}
void TFormMain::MenuItem_manualClick() {}
void TFormMain::Image_logoClick() {}
void TFormMain::MenuItem_traceClick() {}
