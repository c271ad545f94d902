#include "zorcam-indi/IndiCamera.h"

#include "camera/ZorcamApi.h"
#include "zorcam-indi/ImageDecoder.h"
#include "zorcam-indi/IndiGain.h"
#include "zorcam-indi/IndiIds.h"

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
constexpr int kSettingAnswerMs = 3000;
// Link speed assumed before the first frame has measured it (bytes per second):
// a slow wireless link of a small board.
constexpr double kFirstLinkSpeed = 2e6;

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

std::string Megabytes(double bytes) {
    std::ostringstream s;
    s.precision(bytes >= 1e7 ? 0 : 1);
    s << std::fixed << bytes / 1e6 << " MB";
    return s.str();
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
    // Definitions still arriving (a server just started, a driver defined late)
    // are waited for, briefly when a camera is there already.
    link_->WaitQuiet(kQuietMs, config_.connectTimeoutMs);
    {
        const auto end = Clock::now() + std::chrono::milliseconds(config_.connectTimeoutMs);
        while (link_->Connected() && link_->CcdDevices().empty() && Clock::now() < end)
            link_->WaitQuiet(kQuietMs, kQuietMs * 2);
    }
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
    for (const std::string& d : devices)
        cameras_.emplace_back(CameraId(kIdPrefix, d, ZORCAM_ID_LENGTH - 1), d);
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
    link_->ReceiveImages(device_);
    const DeviceState s = link_->State(device_);
    ConversionSettings conversion;
    conversion.pixelSizeUm = s.pixelSizeUm * binning_;
    conversion.focalLengthMm = config_.focalLengthMm;
    {
        std::lock_guard frameLock(frame_);
        conversion_ = conversion;
    }
    const FrameConverter probe(conversion);
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
    // 2 x 2 is the faster frame: a quarter of the bytes; taken at the next start
    // of live view.
    if (!Valid(handle) || binX != binY || (binX != 1 && binX != 2))
        return -1;
    binning_ = binX;
    return 0;
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
        const double deviceGain = DeviceGain(value, s.gainMin, s.gainMax);
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
    worker_ = std::thread(&IndiCamera::LiveLoop, this, device_, config_, binning_);
    return 0;
}

ConversionSettings IndiCamera::PrepareLive(IndiLink& link, const std::string& device, int binning) {
    DeviceState s = link.State(device);
    const auto vector = [&](const char* name) -> const IndiVector* {
        auto it = s.vectors.find(name);
        return it == s.vectors.end() ? nullptr : &it->second;
    };
    const auto lower = [](std::string text) {
        for (char& c : text)
            c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        return text;
    };
    // Light frames: a dark or bias frame has no stars, and a camera with a
    // shutter keeps it closed for them.
    if (const IndiVector* v = vector("CCD_FRAME_TYPE"); v && v->On() != "FRAME_LIGHT") {
        const std::string was = v->On().empty() ? "none" : lower(v->On().substr(6));
        if (link.SetSwitch(device, "CCD_FRAME_TYPE", "FRAME_LIGHT", kSettingAnswerMs))
            Log(0, "\"" + device + "\": frame type set to light (it was " + was + ")");
        else
            Log(1, "\"" + device + "\" did not take the light frame type");
    }
    // Images must reach this client; a driver that only saves them locally is
    // asked to do both, so that whoever wanted its files still gets them.
    if (const IndiVector* v = vector("UPLOAD_MODE"); v && v->On() == "UPLOAD_LOCAL") {
        if (link.SetSwitch(device, "UPLOAD_MODE", "UPLOAD_BOTH", kSettingAnswerMs))
            Log(1, "\"" + device +
                       "\": upload mode was local only, set to both (the driver "
                       "still saves its files) so that frames reach this program");
        else
            Log(1, "\"" + device + "\" keeps its images local; no frame will come");
    }
    if (const IndiVector* v = vector("CCD_TRANSFER_FORMAT");
        v && !v->On().empty() && v->On() != "FORMAT_FITS" && v->Find("FORMAT_FITS")) {
        const std::string was = v->On();
        if (link.SetSwitch(device, "CCD_TRANSFER_FORMAT", "FORMAT_FITS", kSettingAnswerMs))
            Log(1, "\"" + device + "\": transfer format set to FITS (it was " + was +
                       ", which this program cannot read); other clients get FITS too");
    }
    // Binning, read back: the driver may take another than asked.
    int bin = 1;
    if (const IndiVector* v = vector("CCD_BINNING")) {
        const IndiElement* h = v->Find("HOR_BIN");
        const IndiElement* w = v->Find("VER_BIN");
        if (h && w) {
            const int most = static_cast<int>(std::max(1.0, std::min(h->max, w->max)));
            const int wanted = std::clamp(binning, 1, most);
            if (static_cast<int>(h->value) != wanted || static_cast<int>(w->value) != wanted)
                link.SetNumbers(device, "CCD_BINNING", {{"HOR_BIN", wanted}, {"VER_BIN", wanted}},
                                kSettingAnswerMs);
            s = link.State(device);
            if (const IndiVector* now = vector("CCD_BINNING"))
                if (const IndiElement* e = now->Find("HOR_BIN"))
                    bin = std::max(1, static_cast<int>(std::lround(e->value)));
            if (bin != wanted)
                Log(1, "\"" + device + "\" bins " + std::to_string(bin) + " x " +
                           std::to_string(bin) + " instead of " + std::to_string(wanted) + " x " +
                           std::to_string(wanted));
        }
    } else if (binning != 1) {
        Log(1, "\"" + device + "\" cannot bin; frames stay 1 x 1");
    }

    ConversionSettings conversion;
    conversion.pixelSizeUm = s.pixelSizeUm * bin;
    conversion.focalLengthMm = config_.focalLengthMm;

    // The frame: the centred part of the sensor that the delivered frame shows
    // (in sensor pixels), the whole sensor when that is most of it.
    if (const IndiVector* v = vector("CCD_FRAME"); v && s.maxX > 0 && s.maxY > 0) {
        const FrameConverter probe(conversion);
        const double f = probe.Factor();
        int w = std::min(s.maxX, static_cast<int>(std::ceil(FrameConverter::kWidth / f)) * bin + 4);
        int h =
            std::min(s.maxY, static_cast<int>(std::ceil(FrameConverter::kHeight / f)) * bin + 4);
        if (static_cast<double>(w) * h > 0.8 * s.maxX * s.maxY)
            w = s.maxX, h = s.maxY;
        // Even offsets and sizes in binned pixels keep a colour mosaic in order.
        const int cell = 2 * bin;
        w = std::max(cell, w / cell * cell);
        h = std::max(cell, h / cell * cell);
        const int x = (s.maxX - w) / 2 / cell * cell;
        const int y = (s.maxY - h) / 2 / cell * cell;
        const auto at = [&](const char* e) {
            const IndiElement* el = v->Find(e);
            return el ? static_cast<int>(std::lround(el->value)) : -1;
        };
        if (at("X") != x || at("Y") != y || at("WIDTH") != w || at("HEIGHT") != h)
            if (!link.SetNumbers(device, "CCD_FRAME",
                                 {{"X", x}, {"Y", y}, {"WIDTH", w}, {"HEIGHT", h}},
                                 kSettingAnswerMs))
                Log(1, "\"" + device + "\" did not take the frame " + std::to_string(w) + " x " +
                           std::to_string(h) + " at " + std::to_string(x) + ", " +
                           std::to_string(y));
    }
    return conversion;
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

void IndiCamera::LiveLoop(std::string device, IndiConfig config, int binning) {
    IndiLink* link = nullptr;
    {
        std::lock_guard lock(api_);
        link = link_.get(); // stays while this loop runs: it is replaced only after a join
    }
    if (!link)
        return;
    const auto setUp = [&](FrameConverter& converter) {
        const ConversionSettings settings = PrepareLive(*link, device, binning);
        converter = FrameConverter(settings);
        std::lock_guard lock(frame_);
        conversion_ = settings;
    };
    FrameConverter converter;
    setUp(converter);
    std::vector<unsigned char> converted(FrameConverter::kOutputBytes);
    unsigned long long seen = link->BlobSeq();
    long alerts = link->State(device).exposureAlerts;
    long restarts = link->State(device).restarts;
    bool start = true;
    bool refusedBefore = false;
    bool slowSaid = false;
    double exposureS = 0;
    double linkSpeed = kFirstLinkSpeed; // bytes per second, as measured
    double lastBytes = 0;               // the size of the last frame
    Clock::time_point started, deadline;

    // The bytes a frame of the current settings takes, for its deadline.
    const auto expectedBytes = [&] {
        if (lastBytes > 0)
            return lastBytes;
        const DeviceState s = link->State(device);
        double w = s.maxX, h = s.maxY, bin = 1;
        if (auto it = s.vectors.find("CCD_FRAME"); it != s.vectors.end()) {
            if (const IndiElement* e = it->second.Find("WIDTH"); e && e->value > 0)
                w = e->value;
            if (const IndiElement* e = it->second.Find("HEIGHT"); e && e->value > 0)
                h = e->value;
        }
        if (auto it = s.vectors.find("CCD_BINNING"); it != s.vectors.end())
            if (const IndiElement* e = it->second.Find("HOR_BIN"); e && e->value >= 1)
                bin = e->value;
        return w * h / (bin * bin) * std::max(8, s.bitsPerPixel) / 8;
    };
    const auto transferTime = [&] { return 2 * expectedBytes() / linkSpeed; };
    const auto begin = [&] {
        exposureS = exposureUs_ / 1e6;
        alerts = link->State(device).exposureAlerts;
        link->StartExposure(device, exposureS);
        started = Clock::now();
        deadline = started + std::chrono::milliseconds(static_cast<long long>(
                                 (exposureS + transferTime()) * 1000 + config.frameTimeoutMs));
    };

    while (!stop_) {
        if (start) {
            begin();
            start = false;
        }
        IndiLink::Blob blob;
        switch (link->WaitBlob(device, seen, alerts, restarts, deadline, stop_, blob)) {
        case IndiLink::Wait::Stopped:
            return;
        case IndiLink::Wait::Lost:
            Log(2, "the INDI server went away while \"" + device + "\" was streaming");
            lost_ = true;
            return;
        case IndiLink::Wait::Restarted: {
            // The driver was restarted by its server (its device deleted and
            // defined again, disconnected), or another client disconnected it.
            Log(1, "\"" + device + "\" was restarted or disconnected; connecting it again");
            bool back = false;
            while (!stop_ && link->Connected() && !back) {
                const auto until = Clock::now() + std::chrono::milliseconds(config.deviceTimeoutMs);
                back = link->WaitDefined(device, until, stop_) &&
                       link->ConnectDevice(device, config.deviceTimeoutMs);
                if (!back) {
                    IndiLink::Blob none; // a short pause before the next try
                    link->WaitBlob(device, std::numeric_limits<unsigned long long>::max(),
                                   std::numeric_limits<long>::max(),
                                   std::numeric_limits<long>::max(),
                                   Clock::now() + std::chrono::milliseconds(500), stop_, none);
                }
            }
            if (stop_)
                return;
            if (!link->Connected())
                continue; // Lost is reported by the next wait
            link->ReceiveImages(device);
            setUp(converter);
            restarts = link->State(device).restarts;
            seen = link->BlobSeq();
            Log(0, "camera \"" + device + "\" connected again");
            start = true;
            continue;
        }
        case IndiLink::Wait::Timeout: {
            std::ostringstream line;
            line.precision(3);
            line << "no frame from \"" << device << "\" within " << exposureS << " s + "
                 << (deadline - started - std::chrono::duration<double>(exposureS)).count() / 1e9
                 << " s (" << Megabytes(expectedBytes()) << " at the link's "
                 << Megabytes(linkSpeed) << "/s); the exposure is started again";
            Log(1, line.str());
            link->AbortExposure(device);
            // A frame that is slower than measured: the link is given more time.
            linkSpeed = std::max(1e4, linkSpeed / 2);
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
            link->WaitBlob(device, seen, std::numeric_limits<long>::max(), restarts,
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
        // The link's speed: the bytes over the time from the exposure's end to the
        // frame's arrival (read-out included, so it errs on the slow side).
        const double bytes = static_cast<double>(blob.data.size());
        const double late =
            std::chrono::duration<double>(blob.arrived - started).count() - exposureS;
        if (late > 0.05 && bytes > 0) {
            const double measured = bytes / late;
            linkSpeed = lastBytes > 0 ? 0.7 * linkSpeed + 0.3 * measured : measured;
        }
        lastBytes = bytes;
        if (late > std::max(5.0, 2 * exposureS) && !slowSaid) {
            std::ostringstream line;
            line.precision(3);
            line << "frames from \"" << device << "\" come slowly: " << Megabytes(bytes) << " took "
                 << late << " s after the exposure (" << Megabytes(bytes / late)
                 << "/s); a 2 x 2 binned frame or a faster link to the camera helps";
            Log(1, line.str());
            slowSaid = true;
        }
        // The next exposure starts before this frame is converted: back to back.
        begin();

        DecodedImage image;
        std::string why;
        if (!DecodeImage(blob.data.data(), blob.data.size(), blob.format, image, why) ||
            !converter.Convert(image.Raw(), converted.data())) {
            Log(1, "frame of \"" + device + "\" dropped: " + (why.empty() ? "unusable" : why));
            continue;
        }
        std::lock_guard lock(frame_);
        const cv::Rect sky = converter.LastSky();
        skyX_ = sky.x, skyY_ = sky.y, skyW_ = sky.width, skyH_ = sky.height;
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
    ConversionSettings conversion;
    {
        std::lock_guard frameLock(frame_);
        conversion = conversion_;
    }
    const FrameConverter probe(conversion);
    if (nativeArcsecPerPixel)
        *nativeArcsecPerPixel = probe.NativeArcsecPerPixel();
    if (deliveredArcsecPerPixel)
        *deliveredArcsecPerPixel = probe.DeliveredArcsecPerPixel();
    return 0;
}

int IndiCamera::GetSkyRegion(std::uint32_t handle, int* x, int* y, int* width, int* height) {
    if (handle != kHandle)
        return -1;
    std::lock_guard lock(frame_);
    if (skyW_ <= 0 || skyH_ <= 0)
        return -1;
    if (x)
        *x = skyX_;
    if (y)
        *y = skyY_;
    if (width)
        *width = skyW_;
    if (height)
        *height = skyH_;
    return 0;
}

int IndiCamera::GetDeviceGain(std::uint32_t handle, double* value, double* min, double* max,
                              std::string& where) {
    std::lock_guard lock(api_);
    if (!Valid(handle) || !link_)
        return -1;
    const DeviceState s = link_->State(device_);
    if (s.gainProperty.empty())
        return -1;
    if (value)
        *value = s.gainValue;
    if (min)
        *min = s.gainMin;
    if (max)
        *max = s.gainMax;
    where = s.gainProperty + "." + s.gainElement;
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
