// Every setting of the simulated camera, with its unit, range and default, and the
// reader of the INI file that holds them.
//
// Usage:
//   SimConfig cfg;                                  // defaults
//   std::vector<std::string> warnings;
//   if (!ParseSimConfig(iniText, cfg, warnings)) ... // unreadable: keep the old one
//   // a value out of its range keeps its default and adds a warning
//
// Sections and keys are listed in zorcam-sim/README.md.
#pragma once

#include <string>
#include <vector>

namespace zorcamsim {

// The sensor and the sky as the renderer sees them.
struct RenderParams {
    int width = 1280; // pixels (fixed by the camera)
    int height = 960;
    unsigned long long seed = 1;  // field stars, hot pixels and noise
    int fieldStars = 150;         // 0..5000, faint stars besides the template stars
    int hotPixels = 40;           // 0..10000
    double psfSigmaPx = 1.5;      // 0.5..10, Gaussian star image sigma in pixels
    double zeroPointEps = 375000; // electrons per second from a magnitude 0 star, 1..1e9
    double skyEps = 100;          // sky background, electrons per second per pixel, 0..1e6
    double readNoiseE = 2;        // read noise, electrons rms, 0..100
    double biasAdu = 4;           // offset added to every pixel, 0..100
    double aduPerE = 0.5;         // conversion at gain 0, ADU per electron, 0.001..100
    bool noise = true;            // shot and read noise on (off gives the expected image)

    bool operator==(const RenderParams&) const = default;
};

// The mount and the camera on it. Angles turn clockwise on the screen.
struct MountParams {
    double axisX = 652;           // RA axis in the image, pixels, 0..1279
    double axisY = 471;           // pixels, 0..959
    double rollDeg = 0;           // camera roll about the RA axis, degrees, -360..360
    double raAngleDeg = 0;        // how far the RA axis has been turned, degrees, -3600..3600
    double altErrArcmin = 30;     // true pole above the RA axis, arcminutes, -600..600
    double azErrArcmin = -20;     // true pole right of the RA axis, arcminutes, -600..600
    double arcsecPerPixel = 30.5; // image scale, arcseconds per pixel, 1..600
};

struct SkyParams {
    char hemisphere = 'N';  // 'N' or 'S'
    std::string date;       // "YYYY-MM-DD" chooses the template data set; empty = today
    double timeScale = 1;   // simulated seconds per real second, 0..100000 (0 freezes the sky)
    double skyAngleDeg = 0; // turn of the sky about the pole at start, degrees, -360..360
    // "template": the built-in templates' stars; "catalogue": the real stars at their
    // places of the moment ([sky] date at [sky] time UTC; no date: now).
    std::string model = "template";
    std::string time = "00:00:00"; // "HH:MM:SS", UTC

    bool operator==(const SkyParams&) const = default;
};

// Refraction raises the apparent pole toward the zenith: Bennett's formula, or with
// erfa = true ERFA's refraction constants (humidity 50 %, 0.55 µm).
struct RefractionParams {
    bool enabled = false;
    bool erfa = false;
    double latitudeDeg = 40;  // altitude of the pole, 0..90
    double pressureKPa = 101; // 50..120
    double temperatureC = 10; // -80..60
};

struct CameraParams {
    std::vector<std::string> ids{"ZENITHWAND-SIM-0001"}; // scan order, 1..8 ids
    bool throttle = true; // frames at the rate the exposure allows; false = at once
};

// Injected failures: each makes the named call fail.
struct FaultParams {
    bool initResource = false;            // InitZORCAMResource
    bool noCamera = false;                // ScanZORCAM finds nothing
    bool foreignIds = false;              // every id is reported as another maker's
    std::vector<int> getIdFailIndexes;    // GetZORCAMId fails for these indexes
    bool open = false;                    // OpenZORCAM returns 0
    bool streamMode = false;              // SetZORCAMStreamMode
    bool init = false;                    // InitZORCAM
    bool resolution = false;              // SetZORCAMResolution
    bool allExposures = false;            // every exposure value is refused
    std::vector<double> refusedExposures; // microseconds
    bool allGains = false;
    std::vector<int> refusedGains;
    bool usbTraffic = false; // SetZORCAMParam for USB traffic
    bool speed = false;      // SetZORCAMParam for speed
    bool beginLive = false;  // BeginZORCAMLive
    int dropEvery = 0;       // every n-th frame is lost (0 = none, 1 = all)
    bool liveFrame = false;  // GetZORCAMLiveFrame fails while live
    int frameWidth = 0;      // reported frame size when not 0 (0..8192)
    int frameHeight = 0;
};

struct SimConfig {
    CameraParams camera;
    RenderParams render;
    MountParams mount;
    SkyParams sky;
    RefractionParams refraction;
    FaultParams faults;
};

// Reads the INI text over the defaults. Returns false when the text is not INI at
// all; out-of-range or unreadable values keep their defaults and add a warning.
bool ParseSimConfig(const std::string& iniText, SimConfig& config,
                    std::vector<std::string>& warnings);

} // namespace zorcamsim
