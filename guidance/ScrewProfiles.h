// The mounts' screw calibrations, section [SCREWS] of the settings file:
//   current=EQ small     the profile in use (empty: none)
//   count=2
//   name1=EQ small       alt1=412.5   az1=-388     (arcseconds per clockwise turn;
//   name2=Field mount    alt2=0       az2=0         0: not calibrated)
//
// Usage:
//   ScrewProfiles p = LoadScrewProfiles(SettingsFilePath());
//   MountProfile& m = p.Current();            // made when there is none
//   m.altitude = *CalibrateScrew(...);
//   SaveScrewProfiles(SettingsFilePath(), p); // other sections and keys stay
//
// A missing file or section reads as no profiles; a figure that is not a number, or
// whose size is beyond 1e6 arcseconds per turn, reads as not calibrated.
#pragma once

#include "guidance/ScrewTurns.h"

#include <QString>
#include <vector>

struct ScrewProfiles {
    std::vector<MountProfile> profiles;
    QString current;

    // The profile named `current`; the first one, or a new "Mount 1", when there is none.
    MountProfile& Current();
    // The profile of that name, made when missing.
    MountProfile& Named(const QString& name);
    // Nothing when no profile is current or none is calibrated.
    const MountProfile* CurrentIfAny() const;
};

ScrewProfiles LoadScrewProfiles(const QString& path);
bool SaveScrewProfiles(const QString& path, const ScrewProfiles& profiles);
