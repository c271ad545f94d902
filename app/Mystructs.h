// Process-wide working state shared by the windows, the capture thread and the
// measurement routines, with the settings record.
//
// Threads: values the capture thread and the user-interface thread both touch
// are std::atomic of their type; images are read by the user-interface thread
// only inside the capture thread's hand-overs, while the capture thread waits.
// Everything else belongs to the user-interface thread.
#pragma once

#include "camera/ZorcamApi.h"

#include <QImage>
#include <QString>
#include <opencv2/core.hpp>

#include <atomic>
#include <cstdint>

class QLibrary;
class DisplayThread;

// ---- application -------------------------------------------------------------
extern QString g_appVersion; // "Version 1.3.2.8"
extern QString g_appDate;    // "2016-10-24"

// ---- settings record (mirrors ZenithWand.ini) ----------------------------------
struct INIFILEINFO {
    QString region = QStringLiteral("N");
    QString lang = QStringLiteral("EN");
    float factor = 1.0f;
    QString style;
    double latitude = 39.9;
    double longitude = 116.3;
    double P = 101.0;
    int P_UnitType = 0;
    double T = 10.0;
    bool isCorrection = false;
    double centerX = 0.0;
    double centerY = 0.0;
    // [STAR_DATA] source: "date" (template angles of the moment) or "table" (dated data).
    QString starDataSource = QStringLiteral("date");
    // [SITE] set: the user has given the site (latitude, longitude, elevation); until
    // then the read-out gives no directions. elevation: metres above sea level.
    bool siteSet = false;
    double elevation = 0.0;
    // [REFRACTION] model ("erfa" or "formula"), humidity (0...1), wavelength (micrometres).
    QString refractionModel = QStringLiteral("erfa");
    double humidity = 0.5;
    double wavelength = 0.55;
};
extern INIFILEINFO g_iniFileInfo;

// ---- camera and capture -----------------------------------------------------------
inline constexpr int kFrameWidth = 1280;
inline constexpr int kFrameHeight = 960;
inline constexpr std::size_t kLiveBufferSize = 1280u * 960u * 3u; // 3 686 400 bytes

extern QLibrary* g_cameraLibrary;
extern bool g_cameraResourceReady;
extern bool g_cameraOpen;
extern std::atomic<ZorcamHandle> g_cameraHandle;
extern char g_cameraId[ZORCAM_ID_LENGTH];
extern std::atomic<std::uint32_t> g_frameWidth, g_frameHeight, g_frameBpp, g_frameChannels;
extern unsigned char g_liveBuffer[kLiveBufferSize];
extern std::atomic<double> g_exposureWanted;  // microseconds
extern std::atomic<double> g_exposureApplied; // microseconds
extern std::atomic<int> g_gainWanted;
extern std::atomic<int> g_gainApplied;
extern DisplayThread* g_displayThread;
extern std::atomic<bool> g_threadRunning;
extern bool g_connected;

// ---- live view --------------------------------------------------------------------
extern cv::Mat g_frameImage;   // 1280 x 960, CV_8UC1, created at window show
extern cv::Mat g_displayImage; // 1280 x 960, CV_8UC3 (blue, green, red)
extern QImage g_viewBitmap;    // what Img_cap shows
extern std::atomic<bool> g_viewUpdatePending;
extern std::atomic<bool> g_stretchOn;
extern std::atomic<int> g_blackLevel;
extern std::atomic<int> g_whiteLevel;
extern QString g_uiStyle; // "Mono" or "Color"; colour readers compare with "Mono" exactly
extern float g_zoom;
extern float g_appliedZoom;
extern double g_ringAngle;

// ---- overlay and workflow flags ---------------------------------------------------
extern std::atomic<bool> g_showAxisMark;
extern std::atomic<bool> g_showAxisCircle;
extern std::atomic<bool> g_monitorPole;
extern std::atomic<bool> g_showEptNStar;
extern std::atomic<bool> g_recordedCenterValid;
extern std::atomic<bool> g_showRefStarA;
extern std::atomic<bool> g_showRefStarB;

// ---- pole close-up -----------------------------------------------------------------
extern cv::Mat g_zoomCrop;  // 200 x 200, CV_8UC3
extern QImage g_zoomBitmap; // 200 x 200
extern std::atomic<bool> g_zoomReady;

// ---- refraction working values -------------------------------------------------------
extern std::atomic<double> g_latitude;
extern std::atomic<double> g_longitude;
extern std::atomic<double> g_pressure;
extern std::atomic<int> g_pressureUnit; // 0 kPa, 1 hPa
extern std::atomic<double> g_temperature;
extern std::atomic<bool> g_refractionOn;

// Clears the seven overlay and workflow flags.
void ClearOverlayFlags();
