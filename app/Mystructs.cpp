#include "app/Mystructs.h"

QString g_appVersion = QStringLiteral("Version 1.3.2.8");
QString g_appDate = QStringLiteral("2016-10-24");

INIFILEINFO g_iniFileInfo;

QLibrary* g_cameraLibrary = nullptr;
bool g_cameraResourceReady = false;
bool g_cameraOpen = false;
std::atomic<ZorcamHandle> g_cameraHandle{0};
char g_cameraId[ZORCAM_ID_LENGTH] = {};
std::atomic<std::uint32_t> g_frameWidth{0}, g_frameHeight{0}, g_frameBpp{0}, g_frameChannels{0};
unsigned char g_liveBuffer[kLiveBufferSize] = {};
std::atomic<double> g_exposureWanted{50000.0};
std::atomic<double> g_exposureApplied{0.0};
std::atomic<int> g_gainWanted{50};
std::atomic<int> g_gainApplied{0};
DisplayThread* g_displayThread = nullptr;
std::atomic<bool> g_threadRunning{false};
bool g_connected = false;

cv::Mat g_frameImage;
cv::Mat g_displayImage;
QImage g_viewBitmap;
std::atomic<bool> g_viewUpdatePending{false};
std::atomic<bool> g_stretchOn{false};
std::atomic<int> g_blackLevel{0};
std::atomic<int> g_whiteLevel{255};
QString g_uiStyle = QStringLiteral("Color");
float g_zoom = 1.0f;
float g_appliedZoom = 1.0f;
double g_ringAngle = 0.0;

std::atomic<bool> g_showAxisMark{false};
std::atomic<bool> g_showAxisCircle{false};
std::atomic<bool> g_monitorPole{false};
std::atomic<bool> g_showEptNStar{false};
std::atomic<bool> g_recordedCenterValid{false};
std::atomic<bool> g_showRefStarA{false};
std::atomic<bool> g_showRefStarB{false};

cv::Mat g_zoomCrop;
QImage g_zoomBitmap;
std::atomic<bool> g_zoomReady{false};

std::atomic<double> g_latitude{39.9};
std::atomic<double> g_longitude{116.3};
std::atomic<double> g_pressure{101.0};
std::atomic<int> g_pressureUnit{0};
std::atomic<double> g_temperature{10.0};
std::atomic<bool> g_refractionOn{false};

void ClearOverlayFlags() {
    g_showAxisMark = false;
    g_showAxisCircle = false;
    g_monitorPole = false;
    g_showEptNStar = false;
    g_recordedCenterValid = false;
    g_showRefStarA = false;
    g_showRefStarB = false;
}
