// Numbers as the log lines of the measurement routines write them.
//
// Usage:
//   WriteLog("Info", "center of cricle (" + GeneralNumberText(cx) + "," + ...);
//   WriteLog("Info", "calculated P[" + FixedNumberText(x) + "," + ...);
//
// Both use the default locale's decimal separator and never group thousands.
#pragma once

#include <QString>

// Shortest general decimal form, up to 15 significant digits ("10", "0.5", "1e+20").
QString GeneralNumberText(double value);

// Exactly two decimals ("445.00", "12.45").
QString FixedNumberText(double value);
