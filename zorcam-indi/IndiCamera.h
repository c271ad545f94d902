// The camera library's state behind its exported entry points: the cameras an
// INDI server offers, the one that is open, and its live stream.
//
// Usage (what the exported C functions do):
//   IndiCamera& cam = IndiCamera::Instance();
//   cam.InitResource();                  // reads the configuration
//   int n = cam.Scan();                  // connects to the server, lists its cameras
//   cam.GetId(0, id);  h = cam.Open(id); // "ZENITHWAND-INDI " + device name
//   cam.SetParam(h, 8, 100000);          // exposure in microseconds
//   cam.BeginLive(h);                    // exposures back to back on a worker thread
//   cam.GetLiveFrame(h, ...)             // 0 = a new 1280 x 960 8-bit frame copied
//
// Return values follow the camera interface: 0 for success, non-zero for failure;
// Scan gives a count, Open a handle (0 = failed). Every fault (no server, no such
// device, a refused setting, a server that goes away, a frame that never comes)
// gives its failure value and one log line, and every wait is bounded.
//
// Presets: the exposure (microseconds) is sent in seconds and must lie within the
// device's range; the gain preset g (50, 70, 90, 100) becomes a device gain by
// DeviceGain (IndiGain.h); a camera without gain control takes the preset and ignores it.
//
// Each start of live view sets what the stream needs, for this program only where
// the driver allows: Light frames, the binning (1 x 1, or 2 x 2 after SetBinMode(2, 2)),
// the centred part of the sensor that the delivered frame shows, and reads back
// what the driver took (the plate scale follows the binning). Shared settings that
// other clients may rely on (upload mode, transfer format, compression) are left
// as found, except an upload mode that keeps images from clients (set to both) and
// a transfer format other than FITS (set to FITS); either change is logged.
//
// A driver that the server restarts (its device deleted and defined again) is
// connected and set up again by the live loop itself; frames stop meanwhile.
// The frame deadline is the exposure, frameTimeoutMs and twice the time the
// frame's bytes take at the link's measured speed.
#pragma once

#include "zorcam-indi/FrameConverter.h"
#include "zorcam-indi/IndiConfig.h"
#include "zorcam-indi/IndiLink.h"

#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <utility>
#include <vector>

namespace zorcamindi {

using LogCallback = void (*)(int level, const char* text); // 0 info, 1 warning, 2 error

class IndiCamera {
public:
    static IndiCamera& Instance();
    ~IndiCamera();

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
    int SetStreamMode(std::uint32_t handle, int mode);
    int SetResolution(std::uint32_t handle, int x, int y, int width, int height);
    int SetBinMode(std::uint32_t handle, int binX, int binY);
    int GetMemLength(std::uint32_t handle);
    int BeginLive(std::uint32_t handle);
    int StopLive(std::uint32_t handle);
    int Cancel(std::uint32_t handle);
    int GetLiveFrame(std::uint32_t handle, std::uint32_t* width, std::uint32_t* height,
                     std::uint32_t* bpp, std::uint32_t* channels, unsigned char* buffer);
    int GetChipInfo(std::uint32_t handle, double* chipWidthMm, double* chipHeightMm,
                    int* imageWidth, int* imageHeight, double* pixelSizeUm, int* maxBpp,
                    int* isColor);
    int GetImageScale(std::uint32_t handle, double* nativeArcsecPerPixel,
                      double* deliveredArcsecPerPixel);
    // The device's own gain as last reported, its range and "PROPERTY.ELEMENT";
    // -1 when the camera has no gain control.
    // The part of the delivered frames that holds sky; -1 before the first frame.
    int GetSkyRegion(std::uint32_t handle, int* x, int* y, int* width, int* height);
    int GetDeviceGain(std::uint32_t handle, double* value, double* min, double* max,
                      std::string& where);

    static void SetLogCallback(LogCallback callback);
    static void Log(int level, const std::string& text);

    // The cameras of a server, for a chooser: a short connection of its own.
    // -1 when the server cannot be reached.
    static int ListDevices(const std::string& host, int port, int timeoutMs,
                           std::vector<std::string>& names);

private:
    IndiCamera() = default;
    bool EnsureServer();
    bool OpenDevice();
    // Sets the device up for live view; the conversion that its frames need.
    ConversionSettings PrepareLive(IndiLink& link, const std::string& device, int binning);
    void StopWorker();
    void LiveLoop(std::string device, IndiConfig config, int binning);
    bool Valid(std::uint32_t handle) const;
    void Publish(const IndiLink::Blob& blob);

    std::mutex api_; // one entry point at a time (GetLiveFrame takes only frame_)
    bool ready_ = false;
    IndiConfig config_;
    std::unique_ptr<IndiLink> link_;
    std::vector<std::pair<std::string, std::string>> cameras_; // id, device name
    std::string device_;                                       // the open device, empty when none
    std::atomic<double> exposureUs_{50000};
    double gainPreset_ = 50;
    int binning_ = 1;

    std::thread worker_;
    std::atomic<bool> stop_{false};
    std::atomic<bool> lost_{false};

    std::mutex frame_;
    std::vector<unsigned char> frameBytes_;
    unsigned long long frameSeq_ = 0, readSeq_ = 0;
    ConversionSettings conversion_;                 // under frame_
    int skyX_ = 0, skyY_ = 0, skyW_ = 0, skyH_ = 0; // under frame_
};

} // namespace zorcamindi
