#include "SimLibrary.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <fstream>

SimLibrary& SimLibrary::Get() {
    static SimLibrary lib = [] {
        SimLibrary l;
        if (!l.Load("libzorcam.so"))
            return l;
        l.Resolve("ZorcamSimGetTruth", l.GetTruth);
        l.Resolve("ZorcamSimGetStars", l.GetStars);
        l.Resolve("ZorcamSimReloadConfig", l.ReloadConfig);
        l.Resolve("ZorcamSimConfigPath", l.ConfigPath);
        l.Resolve("ZorcamSimUseClock", l.UseClock);
        return l;
    }();
    return lib;
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
