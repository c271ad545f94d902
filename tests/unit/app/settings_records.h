// The two settings records the crash-during-save test alternates: they differ in
// every key and their files differ in length.
#pragma once

#include "app/Mystructs.h"

inline INIFILEINFO OldSettingsRecord() {
    INIFILEINFO info;
    info.region = QStringLiteral("N");
    info.lang = QStringLiteral("EN");
    info.style = QStringLiteral("Color");
    return info;
}

inline INIFILEINFO NewSettingsRecord() {
    INIFILEINFO info;
    info.region = QStringLiteral("S");
    info.lang = QStringLiteral("JP");
    info.factor = 0.75f;
    info.style = QStringLiteral("Mono");
    info.latitude = -33.868820000001;
    info.longitude = 151.209295000001;
    info.P = 1013.25;
    info.P_UnitType = 1;
    info.T = -12.125;
    info.isCorrection = true;
    info.centerX = 652.123456789;
    info.centerY = 471.987654321;
    return info;
}
