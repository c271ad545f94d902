#include "zorcam-indi/IndiCamera.h"

#include "camera/ZorcamApi.h"
#include "zorcam-indi/ImageDecoder.h"

#include <dlfcn.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <limits>
#include <sstream>

namespace zorcamindi {

namespace {

using Clock = std::chrono::steady_clock;

constexpr std::uint32_t kHandle = 1;
constexpr const char* kIdPrefix = "ZENITHWAND-INDI ";
constexpr int kQuietMs = 300;
constexpr int kGainAnswerMs = 2000;

std::atomic<LogCallback> g_logCallback{nullptr};

// The folder this library was loaded from.
std::string LibraryFolder() {
    Dl_info info{};
    if (dladdr(reinterpret_cast<void*>(&LibraryFolder), &info) && info.dli_fname) {
        std::string path = info.dli_fname;
        const auto slash = path.rfind('/');
        return slash == std::string::npos ? std::string() : path.substr(0, slash);
    }
    return {};
}

std::string Where(const IndiConfig& c) {
    return c.host + ":" + std::to_string(c.port);
}

} // namespace

IndiCamera& IndiCamera::Instance() {
    static IndiCamera camera;
    return camera;
}

IndiCamera::~IndiCamera() {
    StopWorker();
}

void IndiCamera::SetLogCallback(LogCallback callback) {
    g_logCallback = callback;
}

void IndiCamera::Log(int level, const std::string& text) {
    const std::string line = "zorcam-indi: " + text;
    if (LogCallback cb = g_logCallback.load())
        cb(level, line.c_str());
    else
        std::fprintf(stderr, "%s\n", line.c_str());
}

int IndiCamera::InitResource() {
    std::lock_guard lock(api_);
    config_ = LoadIndiConfig(IndiConfigPath(LibraryFolder()));
    ready_ = true;
    return 0;
}

int IndiCamera::ReleaseResource() {
    StopWorker();
    std::lock_guard lock(api_);
    link_.reset();
    cameras_.clear();
    device_.clear();
    ready_ = false;
    return 0;
}

bool IndiCamera::EnsureServer() {
    if (link_ && link_->Connected())
        return true;
    link_.reset(); // a link whose server went away is not used again
    auto link = std::make_unique<IndiLink>();
    if (!link->Open(config_.host, config_.port, config_.connectTimeoutMs)) {
        Log(2, "no INDI server answers at " + Where(config_));
        return false;
    }
    link->WaitQuiet(kQuietMs, config_.connectTimeoutMs);
    link_ = std::move(link);
    return true;
}

int IndiCamera::Scan() {
    std::lock_guard lock(api_);
    if (!ready_)
        return 0;
    config_ = LoadIndiConfig(IndiConfigPath(LibraryFolder()));
    cameras_.clear();
    if (worker_.joinable() && !lost_)
        return 0; // scanning while streaming would pull the stream's server away
    if (!EnsureServer())
        return 0;
    std::vector<std::string> devices = link_->CcdDevices();
    if (!config_.device.empty()) {
        if (std::find(devices.begin(), devices.end(), config_.device) == devices.end()) {
            std::string offered;
            for (const auto& d : devices)
                offered += (offered.empty() ? "" : ", ") + d;
            Log(2, "no camera \"" + config_.device + "\" on the INDI server at " + Where(config_) +
                       " (it offers: " + (offered.empty() ? "none" : offered) + ")");
            return 0;
        }
        devices = {config_.device};
    }
    if (devices.empty())
        Log(2, "the INDI server at " + Where(config_) + " offers no camera");
    for (const std::string& d : devices) {
        std::string id = kIdPrefix + d;
        id.resize(std::min<std::size_t>(id.size(), ZORCAM_ID_LENGTH - 1));
        cameras_.emplace_back(id, d);
    }
    return static_cast<int>(cameras_.size());
}

int IndiCamera::GetId(int index, char* id) {
    std::lock_guard lock(api_);
    if (!id || index < 0 || index >= static_cast<int>(cameras_.size()))
        return -1;
    std::memset(id, 0, ZORCAM_ID_LENGTH);
    std::memcpy(id, cameras_[index].first.data(), cameras_[index].first.size());
    return 0;
}

bool IndiCamera::OpenDevice() {
    if (!link_->ConnectDevice(device_, config_.deviceTimeoutMs)) {
        Log(2,
            "camera \"" + device_ + "\" did not come up on the INDI server at " + Where(config_));
        return false;
    }
    link_->PrepareImageTransfer(device_);
    const DeviceState s = link_->State(device_);
    conversion_ = ConversionSettings{};
    conversion_.pixelSizeUm = s.pixelSizeUm;
    conversion_.focalLengthMm = config_.focalLengthMm;
    const FrameConverter probe(conversion_);
    std::ostringstream line;
    line << "camera \"" << device_ << "\": " << s.maxX << " x " << s.maxY << ", " << s.bitsPerPixel
         << " bit, pixel " << s.pixelSizeUm << " um, focal length " << config_.focalLengthMm
         << " mm, " << probe.NativeArcsecPerPixel() << " arcsec per pixel resampled by "
         << probe.Factor() << " to " << probe.DeliveredArcsecPerPixel();
    Log(0, line.str());
    return true;
}

std::uint32_t IndiCamera::Open(const char* id) {
    std::lock_guard lock(api_);
    if (!ready_ || !id)
        return 0;
    const std::string wanted(id, strnlen(id, ZORCAM_ID_LENGTH));
    auto it = std::find_if(cameras_.begin(), cameras_.end(),
                           [&](const auto& c) { return c.first == wanted; });
    if (it == cameras_.end()) {
        Log(2, "open: unknown camera id \"" + wanted + "\"");
        return 0;
    }
    if (!EnsureServer())
        return 0;
    device_ = it->second;
    if (!OpenDevice()) {
        device_.clear();
        return 0;
    }
    lost_ = false;
    return kHandle;
}

bool IndiCamera::Valid(std::uint32_t handle) const {
    return ready_ && handle == kHandle && !device_.empty();
}

int IndiCamera::Close(std::uint32_t handle) {
    StopWorker();
    std::lock_guard lock(api_);
    if (!Valid(handle))
        return -1;
    device_.clear();
    link_.reset();
    return 0;
}

int IndiCamera::Init(std::uint32_t handle) {
    std::lock_guard lock(api_);
    return Valid(handle) ? 0 : -1;
}

int IndiCamera::SetStreamMode(std::uint32_t handle, int mode) {
    std::lock_guard lock(api_);
    return Valid(handle) && mode == ZORCAM_STREAM_LIVE ? 0 : -1;
}

int IndiCamera::SetResolution(std::uint32_t handle, int x, int y, int width, int height) {
    std::lock_guard lock(api_);
    // Every frame is delivered as 1280 x 960, whatever the sensor.
    return Valid(handle) && x == 0 && y == 0 && width == FrameConverter::kWidth &&
                   height == FrameConverter::kHeight
               ? 0
               : -1;
}

int IndiCamera::SetBinMode(std::uint32_t handle, int binX, int binY) {
    std::lock_guard lock(api_);
    return Valid(handle) && binX == 1 && binY == 1 ? 0 : -1;
}

int IndiCamera::GetMemLength(std::uint32_t handle) {
    std::lock_guard lock(api_);
    return Valid(handle) ? FrameConverter::kOutputBytes : -1;
}

int IndiCamera::IsControlAvailable(std::uint32_t handle, int control) {
    std::lock_guard lock(api_);
    if (!Valid(handle))
        return -1;
    switch (control) {
    case ZORCAM_CONTROL_EXPOSURE:
        return 0;
    case ZORCAM_CONTROL_GAIN:
        return link_ && !link_->State(device_).gainProperty.empty() ? 0 : -1;
    default:
        return -1;
    }
}

int IndiCamera::SetParam(std::uint32_t handle, int control, double value) {
    std::lock_guard lock(api_);
    if (!Valid(handle))
        return -1;
    if (control == ZORCAM_CONTROL_SPEED || control == ZORCAM_CONTROL_USB_TRAFFIC)
        return 0; // nothing of the kind on an INDI camera
    if (!link_ || !link_->Connected()) {
        Log(2, "setting refused: the INDI server at " + Where(config_) + " is gone");
        return -1;
    }
    const DeviceState s = link_->State(device_);
    if (control == ZORCAM_CONTROL_EXPOSURE) {
        const double seconds = value / 1e6;
        if (!(seconds > 0) || (s.exposureMax > 0 && (seconds < s.exposureMin - 1e-9 ||
                                                     seconds > s.exposureMax + 1e-9))) {
            std::ostringstream line;
            line << "exposure " << seconds << " s refused: \"" << device_ << "\" takes "
                 << s.exposureMin << " to " << s.exposureMax << " s";
            Log(2, line.str());
            return -1;
        }
        exposureUs_ = value; // the next exposure started uses it
        return 0;
    }
    if (control == ZORCAM_CONTROL_GAIN) {
        if (!(value >= 0 && value <= 100))
            return -1;
        if (s.gainProperty.empty()) {
            if (gainPreset_ != value)
                Log(1, "\"" + device_ + "\" has no gain control; gain " +
                           std::to_string(static_cast<int>(value)) + " ignored");
            gainPreset_ = value;
            return 0;
        }
        const double deviceGain = s.gainMin + (s.gainMax - s.gainMin) * value / 100.0;
        if (!link_->SetGain(device_, deviceGain, kGainAnswerMs)) {
            std::ostringstream line;
            line << "gain " << deviceGain << " refused by \"" << device_ << "\"";
            Log(2, line.str());
            return -1;
        }
        gainPreset_ = value;
        return 0;
    }
    return -1;
}

double IndiCamera::GetParam(std::uint32_t handle, int control) {
    std::lock_guard lock(api_);
    if (!Valid(handle))
        return -1;
    if (control == ZORCAM_CONTROL_EXPOSURE)
        return exposureUs_;
    if (control == ZORCAM_CONTROL_GAIN)
        return gainPreset_;
    return -1;
}

int IndiCamera::BeginLive(std::uint32_t handle) {
    std::lock_guard lock(api_);
    if (!Valid(handle))
        return -1;
    if (worker_.joinable() && !lost_)
        return 0; // already streaming
    if (worker_.joinable()) {
        stop_ = true;
        worker_.join();
    }
    // After the server went away the camera is found again on the server that is back.
    if (!link_ || !link_->Connected() || lost_) {
        link_.reset();
        if (!EnsureServer() || !OpenDevice())
            return -1;
        Log(0, "camera \"" + device_ + "\" connected again");
    }
    lost_ = false;
    stop_ = false;
    {
        std::lock_guard frameLock(frame_);
        readSeq_ = frameSeq_;
    }
    worker_ = std::thread(&IndiCamera::LiveLoop, this, device_, config_.frameTimeoutMs);
    return 0;
}

void IndiCamera::StopWorker() {
    stop_ = true;
    {
        std::lock_guard lock(api_);
        if (link_)
            link_->WakeAll();
    }
    if (worker_.joinable())
        worker_.join();
    stop_ = false;
}

int IndiCamera::StopLive(std::uint32_t handle) {
    const bool wasLive = worker_.joinable();
    StopWorker();
    std::lock_guard lock(api_);
    if (!Valid(handle))
        return -1;
    if (wasLive && link_)
        link_->AbortExposure(device_);
    return 0;
}

int IndiCamera::Cancel(std::uint32_t handle) {
    std::lock_guard lock(api_);
    if (!Valid(handle) || !link_)
        return -1;
    link_->AbortExposure(device_);
    return 0;
}

void IndiCamera::LiveLoop(std::string device, int frameTimeoutMs) {
    IndiLink* link = nullptr;
    {
        std::lock_guard lock(api_);
        link = link_.get(); // stays while this loop runs: it is replaced only after a join
    }
    if (!link)
        return;
    FrameConverter converter(conversion_);
    std::vector<unsigned char> converted(FrameConverter::kOutputBytes);
    unsigned long long seen = link->BlobSeq();
    long alerts = link->State(device).exposureAlerts;
    bool start = true;
    bool refusedBefore = false;
    double exposureS = 0;
    Clock::time_point deadline;
    while (!stop_) {
        if (start) {
            exposureS = exposureUs_ / 1e6;
            alerts = link->State(device).exposureAlerts;
            link->StartExposure(device, exposureS);
            deadline =
                Clock::now() + std::chrono::milliseconds(static_cast<long long>(exposureS * 1000) +
                                                         frameTimeoutMs);
            start = false;
        }
        IndiLink::Blob blob;
        switch (link->WaitBlob(device, seen, alerts, deadline, stop_, blob)) {
        case IndiLink::Wait::Stopped:
            return;
        case IndiLink::Wait::Lost:
            Log(2, "the INDI server went away while \"" + device + "\" was streaming");
            lost_ = true;
            return;
        case IndiLink::Wait::Timeout: {
            std::ostringstream line;
            line << "no frame from \"" << device << "\" within " << exposureS << " s + "
                 << frameTimeoutMs / 1000.0 << " s; the exposure is started again";
            Log(1, line.str());
            link->AbortExposure(device);
            start = true;
            continue;
        }
        case IndiLink::Wait::Refused: {
            // Said once for a run of refusals; a short pause keeps a device that
            // refuses everything from being flooded.
            if (!refusedBefore)
                Log(1, "\"" + device + "\" refused or failed an exposure; it is started again");
            refusedBefore = true;
            IndiLink::Blob none;
            link->WaitBlob(device, seen, std::numeric_limits<long>::max(),
                           Clock::now() + std::chrono::milliseconds(200), stop_, none);
            if (!none.data.empty()) { // a frame came after all
                blob = std::move(none);
                break;
            }
            start = true;
            continue;
        }
        case IndiLink::Wait::Got:
            break;
        }
        refusedBefore = false;
        seen = blob.seq;
        // The next exposure starts before this frame is converted: back to back.
        exposureS = exposureUs_ / 1e6;
        link->StartExposure(device, exposureS);
        deadline = Clock::now() + std::chrono::milliseconds(
                                      static_cast<long long>(exposureS * 1000) + frameTimeoutMs);

        // The sensor may change under way (binning, another sensor of a simulator).
        if (const double pixel = link->State(device).pixelSizeUm;
            pixel > 0 && pixel != converter.Settings().pixelSizeUm) {
            ConversionSettings settings = converter.Settings();
            settings.pixelSizeUm = pixel;
            converter = FrameConverter(settings);
        }
        DecodedImage image;
        std::string why;
        if (!DecodeImage(blob.data.data(), blob.data.size(), blob.format, image, why) ||
            !converter.Convert(image.Raw(), converted.data())) {
            Log(1, "frame of \"" + device + "\" dropped: " + (why.empty() ? "unusable" : why));
            continue;
        }
        std::lock_guard lock(frame_);
        frameBytes_.swap(converted);
        converted.resize(FrameConverter::kOutputBytes);
        ++frameSeq_;
    }
}

int IndiCamera::GetLiveFrame(std::uint32_t handle, std::uint32_t* width, std::uint32_t* height,
                             std::uint32_t* bpp, std::uint32_t* channels, unsigned char* buffer) {
    if (handle != kHandle || !buffer)
        return -1;
    std::lock_guard lock(frame_);
    if (frameSeq_ == readSeq_ || frameBytes_.size() != FrameConverter::kOutputBytes)
        return lost_ ? -2 : 1;
    std::memcpy(buffer, frameBytes_.data(), frameBytes_.size());
    readSeq_ = frameSeq_;
    if (width)
        *width = FrameConverter::kWidth;
    if (height)
        *height = FrameConverter::kHeight;
    if (bpp)
        *bpp = 8;
    if (channels)
        *channels = 1;
    return 0;
}

int IndiCamera::GetChipInfo(std::uint32_t handle, double* chipWidthMm, double* chipHeightMm,
                            int* imageWidth, int* imageHeight, double* pixelSizeUm, int* maxBpp,
                            int* isColor) {
    std::lock_guard lock(api_);
    if (!Valid(handle) || !link_)
        return -1;
    const DeviceState s = link_->State(device_);
    if (chipWidthMm)
        *chipWidthMm = s.maxX * s.pixelSizeUm / 1000.0;
    if (chipHeightMm)
        *chipHeightMm = s.maxY * s.pixelSizeUm / 1000.0;
    if (imageWidth)
        *imageWidth = s.maxX;
    if (imageHeight)
        *imageHeight = s.maxY;
    if (pixelSizeUm)
        *pixelSizeUm = s.pixelSizeUm;
    if (maxBpp)
        *maxBpp = s.bitsPerPixel;
    if (isColor)
        *isColor = 0;
    return 0;
}

int IndiCamera::GetImageScale(std::uint32_t handle, double* nativeArcsecPerPixel,
                              double* deliveredArcsecPerPixel) {
    std::lock_guard lock(api_);
    if (!Valid(handle))
        return -1;
    const FrameConverter probe(conversion_);
    if (nativeArcsecPerPixel)
        *nativeArcsecPerPixel = probe.NativeArcsecPerPixel();
    if (deliveredArcsecPerPixel)
        *deliveredArcsecPerPixel = probe.DeliveredArcsecPerPixel();
    return 0;
}

int IndiCamera::ListDevices(const std::string& host, int port, int timeoutMs,
                            std::vector<std::string>& names) {
    IndiLink link;
    if (!link.Open(host, port, timeoutMs)) {
        Log(2, "no INDI server answers at " + host + ":" + std::to_string(port));
        return -1;
    }
    link.WaitQuiet(kQuietMs, timeoutMs);
    names = link.CcdDevices();
    link.Close();
    return static_cast<int>(names.size());
}

} // namespace zorcamindi
