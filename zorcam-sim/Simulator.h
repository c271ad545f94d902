// The simulated camera's state behind the exported entry points: the cameras, their
// settings and live state, the sky, the mount, the renderer, the configuration and
// the ground truth of the last frame. One instance per process; every method locks.
//
// Usage (from the export layer):
//   Simulator& sim = Simulator::Instance();
//   int rc = sim.GetLiveFrame(handle, &w, &h, &bpp, &ch, buffer);
#pragma once

#include "zorcam-sim/CatalogueSky.h"
#include "zorcam-sim/ConfigSource.h"
#include "zorcam-sim/FrameRenderer.h"
#include "zorcam-sim/MountModel.h"
#include "zorcam-sim/SkyModel.h"
#include "zorcam-sim/ZorcamSimTruth.h"

#include <array>
#include <chrono>
#include <cstdint>
#include <ctime>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

namespace zorcamsim {

// Result codes of the camera calls (0 = success).
enum SimResult : int {
    SIM_OK = 0,
    SIM_NOT_READY = 1, // no frame yet / resources not initialised
    SIM_BAD_HANDLE = 2,
    SIM_REFUSED = 3,      // an injected fault or a value out of range
    SIM_BAD_ARGUMENT = 4, // null pointer, unknown control, wrong state
};

inline constexpr int SIM_WIDTH = 1280;
inline constexpr int SIM_HEIGHT = 960;
inline constexpr std::size_t SIM_MAX_FRAME_BYTES = 1280u * 960u * 3u;
inline constexpr int SIM_MAX_CAMERAS = 8;

class Simulator {
public:
    using Clock = std::chrono::steady_clock;

    static Simulator& Instance();
    explicit Simulator(std::string configDir);

    int InitResource();
    int ReleaseResource();
    int Scan();
    int GetId(int index, char* id);
    std::uint32_t Open(const char* id);
    int Close(std::uint32_t handle);
    int Init(std::uint32_t handle);
    int SetParam(std::uint32_t handle, int control, double value);
    double GetParam(std::uint32_t handle, int control);
    int IsControlAvailable(std::uint32_t handle, int control);
    int SetBinMode(std::uint32_t handle, int binX, int binY);
    int GetMemLength(std::uint32_t handle);
    int ExpSingleFrame(std::uint32_t handle);
    int GetSingleFrame(std::uint32_t handle, std::uint32_t* width, std::uint32_t* height,
                       std::uint32_t* bpp, std::uint32_t* channels, unsigned char* buffer);
    int BeginLive(std::uint32_t handle);
    int GetLiveFrame(std::uint32_t handle, std::uint32_t* width, std::uint32_t* height,
                     std::uint32_t* bpp, std::uint32_t* channels, unsigned char* buffer);
    int StopLive(std::uint32_t handle);
    int Cancel(std::uint32_t handle);
    int SetStreamMode(std::uint32_t handle, int mode);
    int SetResolution(std::uint32_t handle, int x, int y, int width, int height);
    int GetChipInfo(std::uint32_t handle, double* chipWidthMm, double* chipHeightMm,
                    int* imageWidth, int* imageHeight, double* pixelSizeUm, int* maxBpp,
                    int* isColor);

    int GetTruth(ZorcamSimTruth* out);
    int GetStars(ZorcamSimStar* out, int capacity);
    int ReloadConfig();
    // The sky's time from a clock of the caller's (null: the real time again).
    int UseClock(double (*seconds)(void* context), void* context);
    std::string ConfigPath() const;

private:
    struct Camera {
        bool open = false;
        bool initialised = false;
        int streamMode = 0;
        bool live = false;
        double exposureUs = 50000;
        int gain = 50;
        double speed = 0;
        double usbTraffic = 30;
        std::uint64_t frameIndex = 0;
        std::uint64_t framesDue = 0; // frames exposed, delivered or dropped
        Clock::time_point nextDue{};
        bool singleExposing = false;
        Clock::time_point singleDue{};
    };
    struct Snapshot {
        std::shared_ptr<const SkyModel> sky;
        MountParams mount;
        FrameGeometry geometry;
        std::vector<RenderStar> placed;
        std::uint64_t frameIndex = 0;
        double exposureUs = 50000;
        int gain = 50;
        bool valid = false;
    };

    void PollConfig(bool force);
    void Rebuild();
    void AdvanceTime();
    std::string ReportedId(int index) const;
    Camera* Find(std::uint32_t handle);
    // When an exposure started now is read out: after the exposure time, or at
    // once when frames are unthrottled.
    Clock::time_point ExposureDoneFromNow(const Camera& cam) const;
    // Renders the frame of the present moment for a camera into frame_.
    void RenderFrame(Camera& cam, std::uint64_t frameIndex);
    void WriteFrame(std::uint32_t* width, std::uint32_t* height, std::uint32_t* bpp,
                    std::uint32_t* channels, unsigned char* buffer) const;
    Snapshot Present(const Camera* cam) const;
    int DataSetYear() const;
    // The catalogue sky's moment: [sky] date and time, else when the sky last started.
    UtcTime SkyMoment() const;

    mutable std::mutex mutex_;
    ConfigSource source_;
    SimConfig config_;
    bool resourceReady_ = false;
    std::array<Camera, SIM_MAX_CAMERAS> cameras_{};
    std::shared_ptr<const SkyModel> sky_;
    std::string skyKey_;                        // what the sky was built from
    std::time_t skyStart_ = std::time(nullptr); // when the sky settings last changed
    std::unique_ptr<FrameRenderer> renderer_;
    std::vector<unsigned char> frame_;
    Snapshot last_;
    // Seconds of the sky's clock: the caller's, else the steady clock's.
    double ClockSeconds() const;
    double simSeconds_ = 0;
    double lastTick_ = 0; // ClockSeconds() when the sky's time was last advanced
    double (*clockSeconds_)(void*) = nullptr;
    void* clockContext_ = nullptr;
};

} // namespace zorcamsim
