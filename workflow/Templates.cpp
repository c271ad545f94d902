#include "app/MainFormUnit.h"

void TFormMain::PrepareTemplates() {}
void TFormMain::SelectTemplate(const QString&) {}
