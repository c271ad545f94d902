// Template preparation (TFormMain::PrepareTemplates, TFormMain::SelectTemplate in
// Templates.cpp) computes the template angles of the moment ([STAR_DATA] source=date)
// or reads the dated data of today ([STAR_DATA] source=table). A test can fix the
// date (the moment is then 00:00 UTC of that date):
//   SetTemplateDateForTesting(QDate(2016, 5, 23));   // QDate() again: today
#pragma once

#include <QDate>

void SetTemplateDateForTesting(const QDate& date);
