#include "SimLibrary.h"

#include <QCoreApplication>
#include <QLibrary>
#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdlib>
#include <fstream>
#include <thread>

SimLibrary& SimLibrary::Get() {
    static SimLibrary lib = [] {
        SimLibrary l;
        static QLibrary q(QString::fromStdString(BinDir() + "/libzorcam.so"));
        if (!q.load()) {
            l.error = q.errorString().toStdString();
            return l;
        }
        bool all = true;
        auto get = [&](auto& fn, const char* name) {
            fn = reinterpret_cast<std::remove_reference_t<decltype(fn)>>(q.resolve(name));
            all = all && fn != nullptr;
            if (!fn)
                l.error += std::string("missing ") + name + "; ";
        };
        get(l.InitZORCAMResource, "InitZORCAMResource");
        get(l.ReleaseZORCAMResource, "ReleaseZORCAMResource");
        get(l.ScanZORCAM, "ScanZORCAM");
        get(l.GetZORCAMId, "GetZORCAMId");
        get(l.OpenZORCAM, "OpenZORCAM");
        get(l.CloseZORCAM, "CloseZORCAM");
        get(l.InitZORCAM, "InitZORCAM");
        get(l.SetZORCAMParam, "SetZORCAMParam");
        get(l.SetZORCAMBinMode, "SetZORCAMBinMode");
        get(l.GetZORCAMMemLength, "GetZORCAMMemLength");
        get(l.ExpZORCAMSingleFrame, "ExpZORCAMSingleFrame");
        get(l.GetZORCAMSingleFrame, "GetZORCAMSingleFrame");
        get(l.BeginZORCAMLive, "BeginZORCAMLive");
        get(l.GetZORCAMLiveFrame, "GetZORCAMLiveFrame");
        get(l.CancelZORCAMExposingAndReadout, "CancelZORCAMExposingAndReadout");
        get(l.SetZORCAMStreamMode, "SetZORCAMStreamMode");
        get(l.SetZORCAMResolution, "SetZORCAMResolution");
        get(l.StopZORCAMLive, "StopZORCAMLive");
        get(l.IsZORCAMControlAvailable, "IsZORCAMControlAvailable");
        get(l.GetZORCAMChipInfo, "GetZORCAMChipInfo");
        get(l.GetZORCAMParam, "GetZORCAMParam");
        get(l.GetTruth, "ZorcamSimGetTruth");
        get(l.GetStars, "ZorcamSimGetStars");
        get(l.ReloadConfig, "ZorcamSimReloadConfig");
        get(l.ConfigPath, "ZorcamSimConfigPath");
        get(l.UseClock, "ZorcamSimUseClock");
        l.loaded = all;
        return l;
    }();
    return lib;
}

std::string SimLibrary::BinDir() {
    if (const char* dir = std::getenv("ZW_TEST_BIN_DIR"); dir && *dir)
        return dir;
    return QCoreApplication::applicationDirPath().toStdString();
}

ZorcamHandle SimLibrary::Connect(double exposureUs, int gain) {
    if (InitZORCAMResource() != 0 || ScanZORCAM() < 1)
        return 0;
    char id[ZORCAM_ID_LENGTH] = {};
    if (GetZORCAMId(0, id) != 0)
        return 0;
    const ZorcamHandle h = OpenZORCAM(id);
    if (h == 0 || SetZORCAMStreamMode(h, ZORCAM_STREAM_LIVE) != 0 || InitZORCAM(h) != 0 ||
        SetZORCAMResolution(h, 0, 0, 1280, 960) != 0 ||
        SetZORCAMParam(h, ZORCAM_CONTROL_EXPOSURE, exposureUs) != 0 ||
        SetZORCAMParam(h, ZORCAM_CONTROL_GAIN, gain) != 0 || BeginZORCAMLive(h) != 0)
        return 0;
    return h;
}

std::vector<unsigned char> SimLibrary::NextFrame(ZorcamHandle h) {
    std::vector<unsigned char> buffer(1280 * 960 * 3);
    std::uint32_t w = 0, ht = 0, bpp = 0, ch = 0;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (std::chrono::steady_clock::now() < deadline) {
        if (GetZORCAMLiveFrame(h, &w, &ht, &bpp, &ch, buffer.data()) == 0) {
            buffer.resize(static_cast<std::size_t>(w) * ht);
            return buffer;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    return {};
}

ZorcamSimTruth SimLibrary::Truth() {
    ZorcamSimTruth t{};
    GetTruth(&t);
    return t;
}

std::vector<ZorcamSimStar> SimLibrary::Stars() {
    std::vector<ZorcamSimStar> stars(static_cast<std::size_t>(GetStars(nullptr, 0)));
    GetStars(stars.data(), static_cast<int>(stars.size()));
    return stars;
}

SimConfigFile::SimConfigFile(const std::string& ini) {
    path_ = dir_.filePath("zorcam-sim.ini").toStdString();
    setenv("ZORCAM_SIM_CONFIG", path_.c_str(), 1);
    Rewrite(ini);
    SimLibrary::Get().ReloadConfig();
}

SimConfigFile::~SimConfigFile() {
    SimLibrary& lib = SimLibrary::Get();
    if (lib.loaded)
        lib.ReleaseZORCAMResource();
    unsetenv("ZORCAM_SIM_CONFIG");
    if (lib.loaded)
        lib.ReloadConfig();
}

void SimConfigFile::Rewrite(const std::string& ini) {
    const std::string temp = path_ + ".new";
    {
        std::ofstream out(temp, std::ios::binary | std::ios::trunc);
        out << ini;
    }
    std::rename(temp.c_str(), path_.c_str());
}

bool MeasureCentroid(const std::vector<unsigned char>& frame, double x, double y, int r, double& cx,
                     double& cy) {
    const int x0 = static_cast<int>(std::lround(x)) - r;
    const int y0 = static_cast<int>(std::lround(y)) - r;
    if (x0 < 0 || y0 < 0 || x0 + 2 * r >= 1280 || y0 + 2 * r >= 960)
        return false;
    std::vector<int> border;
    for (int i = 0; i <= 2 * r; ++i) {
        border.push_back(frame[y0 * 1280 + x0 + i]);
        border.push_back(frame[(y0 + 2 * r) * 1280 + x0 + i]);
        border.push_back(frame[(y0 + i) * 1280 + x0]);
        border.push_back(frame[(y0 + i) * 1280 + x0 + 2 * r]);
    }
    std::nth_element(border.begin(), border.begin() + border.size() / 2, border.end());
    const double background = border[border.size() / 2];
    double sum = 0, sx = 0, sy = 0;
    for (int j = 0; j <= 2 * r; ++j)
        for (int i = 0; i <= 2 * r; ++i) {
            const double v = frame[(y0 + j) * 1280 + x0 + i] - background;
            if (v <= 0)
                continue;
            sum += v;
            sx += v * (x0 + i);
            sy += v * (y0 + j);
        }
    if (!(sum > 0))
        return false;
    cx = sx / sum;
    cy = sy / sum;
    return true;
}
