// Template preparation (TFormMain::PrepareTemplates, TFormMain::SelectTemplate in
// Templates.cpp) reads the star data of today's date. A test can fix that date:
//   SetTemplateDateForTesting(QDate(2016, 5, 23));   // QDate() again: today
#pragma once

#include <QDate>

void SetTemplateDateForTesting(const QDate& date);
