// Template preparation (TFormMain::PrepareTemplates, TFormMain::SelectTemplate in
// Templates.cpp) computes the template angles of the moment ([STAR_DATA] source=date)
// or reads the dated data of today ([STAR_DATA] source=table). A test can fix the
// date (the moment is then 00:00 UTC of that date):
//   SetTemplateDateForTesting(QDate(2016, 5, 23));   // QDate() again: today
// The running tracker gets the sky of the same moment (template stars, Earth
// rotation angle), which goes on with the Earth's turn unless the date is fixed:
//   HandSkyOfMomentToTracker(curRegion);             // "S": south, else north
#pragma once

#include <QDate>
#include <QString>

void SetTemplateDateForTesting(const QDate& date);
void HandSkyOfMomentToTracker(const QString& region);
