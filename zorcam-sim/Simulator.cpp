#include "zorcam-sim/Simulator.h"

#include "zorcam-sim/TemplateSky.h"

#include "camera/ZorcamApi.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <ctime>
#include <dlfcn.h>

namespace zorcamsim {
namespace {

constexpr double kMinExposureUs = 32;
constexpr double kMaxExposureUs = 3600e6;
constexpr int kMaxGain = 400;
constexpr auto kMinFrameInterval = std::chrono::milliseconds(1);

std::string LibraryDir() {
    Dl_info info{};
    if (dladdr(reinterpret_cast<void*>(&LibraryDir), &info) && info.dli_fname) {
        std::string path = info.dli_fname;
        const auto slash = path.rfind('/');
        if (slash != std::string::npos)
            return path.substr(0, slash);
    }
    return ".";
}

Simulator::Clock::duration Interval(double exposureUs) {
    const auto d = std::chrono::duration_cast<Simulator::Clock::duration>(
        std::chrono::duration<double, std::micro>(exposureUs));
    return std::max<Simulator::Clock::duration>(d, kMinFrameInterval);
}

// Share of a star's light on its brightest pixel when it sits on a pixel centre.
double PeakShare(double sigma) {
    const double one = std::erf(0.5 / (std::sqrt(2.0) * sigma));
    return one * one;
}

} // namespace

Simulator& Simulator::Instance() {
    static Simulator sim(LibraryDir());
    return sim;
}

Simulator::Simulator(std::string configDir)
    : source_(std::move(configDir)), lastTick_(ClockSeconds()) {
    source_.Poll(true);
    config_ = source_.Config();
    Rebuild();
}

void Simulator::PollConfig(bool force) {
    AdvanceTime();
    if (source_.Poll(force)) {
        // New sky settings start the sky afresh at its start angle; mount changes
        // (the RA axis or the screws turned) leave it turning undisturbed.
        if (!(source_.Config().sky == config_.sky)) {
            simSeconds_ = 0;
            skyStart_ = std::time(nullptr);
        }
        config_ = source_.Config();
        Rebuild();
    }
}

double Simulator::ClockSeconds() const {
    if (clockSeconds_)
        return clockSeconds_(clockContext_);
    return std::chrono::duration<double>(Clock::now().time_since_epoch()).count();
}

void Simulator::AdvanceTime() {
    const double now = ClockSeconds();
    // A clock that went back (or is not a number) advances nothing.
    if (now > lastTick_)
        simSeconds_ += config_.sky.timeScale * (now - lastTick_);
    if (std::isfinite(now))
        lastTick_ = now;
}

UtcTime Simulator::SkyMoment() const {
    UtcTime t;
    int y = 0, m = 0, d = 0;
    if (!config_.sky.date.empty() &&
        std::sscanf(config_.sky.date.c_str(), "%d-%d-%d", &y, &m, &d) == 3) {
        int hh = 0, mm = 0, ss = 0;
        std::sscanf(config_.sky.time.c_str(), "%d:%d:%d", &hh, &mm, &ss);
        return {y, m, d, hh, mm, static_cast<double>(ss)};
    }
    std::tm utc{};
    gmtime_r(&skyStart_, &utc);
    return {utc.tm_year + 1900, utc.tm_mon + 1, utc.tm_mday,
            utc.tm_hour,        utc.tm_min,     static_cast<double>(utc.tm_sec)};
}

int Simulator::DataSetYear() const {
    int y = 0, m = 0, d = 0;
    if (!config_.sky.date.empty() &&
        std::sscanf(config_.sky.date.c_str(), "%d-%d-%d", &y, &m, &d) == 3)
        return DataSetYearForDate(y, m, d);
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    return DataSetYearForDate(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday);
}

void Simulator::Rebuild() {
    const Hemisphere h = config_.sky.hemisphere == 'S' ? Hemisphere::South : Hemisphere::North;
    const bool catalogue = config_.sky.model == "catalogue";
    const int year = DataSetYear();
    const UtcTime moment = SkyMoment();
    char moment_text[64];
    std::snprintf(moment_text, sizeof moment_text, "%04d-%02d-%02dT%02d:%02d:%02.0f", moment.year,
                  moment.month, moment.day, moment.hour, moment.minute, moment.second);
    // The template sky follows the data set, the catalogue sky the moment.
    const std::string key = std::string(1, config_.sky.hemisphere) +
                            (catalogue ? std::string(" catalogue ") + moment_text + " " +
                                             std::to_string(config_.refraction.latitudeDeg)
                                       : " template " + std::to_string(year) + " " +
                                             std::to_string(config_.render.fieldStars) + " " +
                                             std::to_string(config_.render.seed));
    if (!sky_ || key != skyKey_) {
        std::shared_ptr<const SkyModel> sky;
        if (catalogue) {
            auto c = std::make_shared<CatalogueSky>(h, moment, config_.refraction.latitudeDeg);
            if (c->Valid())
                sky = c;
        }
        if (!sky)
            sky = std::make_shared<TemplateSky>(h, year, config_.render.fieldStars,
                                                config_.render.seed);
        sky_ = sky;
        skyKey_ = key;
    }
    if (!renderer_ || !(renderer_->Params() == config_.render))
        renderer_ = std::make_unique<FrameRenderer>(config_.render);
}

Simulator::Snapshot Simulator::Present(const Camera* cam) const {
    Snapshot s;
    s.sky = sky_;
    s.mount = config_.mount;
    s.geometry =
        PlaceMount(config_.mount, config_.refraction,
                   SkyTurnDeg(sky_->GetHemisphere(), config_.sky.skyAngleDeg, simSeconds_));
    for (const SkyStar& star : sky_->Stars()) {
        const Point2 p = s.geometry.Place(star);
        s.placed.push_back(
            {p.x, p.y, FrameRenderer::StarElectronsPerSec(config_.render, star.magnitude)});
    }
    if (cam) {
        s.exposureUs = cam->exposureUs;
        s.gain = cam->gain;
        s.frameIndex = cam->frameIndex;
    }
    s.valid = true;
    return s;
}

Simulator::Clock::time_point Simulator::ExposureDoneFromNow(const Camera& cam) const {
    return Clock::now() +
           (config_.camera.throttle ? Interval(cam.exposureUs) : Clock::duration::zero());
}

void Simulator::RenderFrame(Camera& cam, std::uint64_t frameIndex) {
    last_ = Present(&cam);
    last_.frameIndex = frameIndex;
    frame_.resize(static_cast<std::size_t>(SIM_WIDTH) * SIM_HEIGHT);
    renderer_->Render(last_.placed, cam.exposureUs, cam.gain, frameIndex, frame_.data());
}

void Simulator::WriteFrame(std::uint32_t* width, std::uint32_t* height, std::uint32_t* bpp,
                           std::uint32_t* channels, unsigned char* buffer) const {
    const FaultParams& f = config_.faults;
    const std::size_t w = f.frameWidth > 0 ? f.frameWidth : SIM_WIDTH;
    const std::size_t h = f.frameHeight > 0 ? f.frameHeight : SIM_HEIGHT;
    if (width)
        *width = static_cast<std::uint32_t>(w);
    if (height)
        *height = static_cast<std::uint32_t>(h);
    if (bpp)
        *bpp = 8;
    if (channels)
        *channels = 1;
    // Never more than the reported size, never more than the largest frame buffer.
    const std::size_t total = std::min(w * h, SIM_MAX_FRAME_BYTES);
    std::size_t written = 0;
    for (std::size_t row = 0; written < total; ++row) {
        const std::size_t n = std::min(w, total - written);
        const std::size_t copy = row < SIM_HEIGHT ? std::min<std::size_t>(n, SIM_WIDTH) : 0;
        if (copy)
            std::memcpy(buffer + written, frame_.data() + row * SIM_WIDTH, copy);
        std::memset(buffer + written + copy, 0, n - copy);
        written += n;
    }
}

std::string Simulator::ReportedId(int index) const {
    if (config_.faults.foreignIds)
        return "OTHERMAKER-CAM-" + std::to_string(index + 1);
    return config_.camera.ids[index];
}

Simulator::Camera* Simulator::Find(std::uint32_t handle) {
    if (!resourceReady_ || handle < 1 || handle > config_.camera.ids.size())
        return nullptr;
    Camera& cam = cameras_[handle - 1];
    return cam.open ? &cam : nullptr;
}

int Simulator::InitResource() {
    std::lock_guard lock(mutex_);
    PollConfig(false);
    if (config_.faults.initResource)
        return SIM_REFUSED;
    resourceReady_ = true;
    return SIM_OK;
}

int Simulator::ReleaseResource() {
    std::lock_guard lock(mutex_);
    resourceReady_ = false;
    cameras_ = {};
    last_ = {};
    return SIM_OK;
}

int Simulator::Scan() {
    std::lock_guard lock(mutex_);
    PollConfig(false);
    if (!resourceReady_ || config_.faults.noCamera)
        return 0;
    return static_cast<int>(config_.camera.ids.size());
}

int Simulator::GetId(int index, char* id) {
    std::lock_guard lock(mutex_);
    PollConfig(false);
    if (!resourceReady_)
        return SIM_NOT_READY;
    if (!id || index < 0 || config_.faults.noCamera ||
        index >= static_cast<int>(config_.camera.ids.size()))
        return SIM_BAD_ARGUMENT;
    const auto& fails = config_.faults.getIdFailIndexes;
    if (std::find(fails.begin(), fails.end(), index) != fails.end())
        return SIM_REFUSED;
    const std::string text = ReportedId(index);
    const std::size_t n = std::min<std::size_t>(text.size(), ZORCAM_ID_LENGTH - 1);
    std::memcpy(id, text.data(), n);
    std::memset(id + n, 0, ZORCAM_ID_LENGTH - n);
    return SIM_OK;
}

std::uint32_t Simulator::Open(const char* id) {
    std::lock_guard lock(mutex_);
    PollConfig(false);
    if (!resourceReady_ || !id || config_.faults.open || config_.faults.noCamera)
        return 0;
    const std::string wanted(id, strnlen(id, ZORCAM_ID_LENGTH));
    for (int i = 0; i < static_cast<int>(config_.camera.ids.size()); ++i) {
        if (ReportedId(i) == wanted) {
            cameras_[i].open = true;
            return static_cast<std::uint32_t>(i + 1);
        }
    }
    return 0;
}

int Simulator::Close(std::uint32_t handle) {
    std::lock_guard lock(mutex_);
    Camera* cam = Find(handle);
    if (!cam)
        return SIM_BAD_HANDLE;
    *cam = Camera{};
    return SIM_OK;
}

int Simulator::Init(std::uint32_t handle) {
    std::lock_guard lock(mutex_);
    PollConfig(false);
    Camera* cam = Find(handle);
    if (!cam)
        return SIM_BAD_HANDLE;
    if (config_.faults.init)
        return SIM_REFUSED;
    cam->initialised = true;
    return SIM_OK;
}

int Simulator::SetParam(std::uint32_t handle, int control, double value) {
    std::lock_guard lock(mutex_);
    PollConfig(false);
    Camera* cam = Find(handle);
    if (!cam)
        return SIM_BAD_HANDLE;
    const FaultParams& f = config_.faults;
    switch (control) {
    case ZORCAM_CONTROL_EXPOSURE: {
        const bool listed = std::find(f.refusedExposures.begin(), f.refusedExposures.end(),
                                      value) != f.refusedExposures.end();
        if (f.allExposures || listed || !(value >= kMinExposureUs && value <= kMaxExposureUs))
            return SIM_REFUSED;
        cam->exposureUs = value;
        return SIM_OK;
    }
    case ZORCAM_CONTROL_GAIN: {
        if (!(value >= 0 && value <= kMaxGain) || value != std::floor(value))
            return SIM_REFUSED;
        const int gain = static_cast<int>(value);
        const bool listed =
            std::find(f.refusedGains.begin(), f.refusedGains.end(), gain) != f.refusedGains.end();
        if (f.allGains || listed)
            return SIM_REFUSED;
        cam->gain = gain;
        return SIM_OK;
    }
    case ZORCAM_CONTROL_SPEED:
        if (f.speed || !(value >= 0 && value <= 2))
            return SIM_REFUSED;
        cam->speed = value;
        return SIM_OK;
    case ZORCAM_CONTROL_USB_TRAFFIC:
        if (f.usbTraffic || !(value >= 0 && value <= 100))
            return SIM_REFUSED;
        cam->usbTraffic = value;
        return SIM_OK;
    default:
        return SIM_BAD_ARGUMENT;
    }
}

double Simulator::GetParam(std::uint32_t handle, int control) {
    std::lock_guard lock(mutex_);
    Camera* cam = Find(handle);
    if (!cam)
        return -1;
    switch (control) {
    case ZORCAM_CONTROL_EXPOSURE:
        return cam->exposureUs;
    case ZORCAM_CONTROL_GAIN:
        return cam->gain;
    case ZORCAM_CONTROL_SPEED:
        return cam->speed;
    case ZORCAM_CONTROL_USB_TRAFFIC:
        return cam->usbTraffic;
    default:
        return -1;
    }
}

int Simulator::IsControlAvailable(std::uint32_t handle, int control) {
    std::lock_guard lock(mutex_);
    if (!Find(handle))
        return SIM_BAD_HANDLE;
    switch (control) {
    case ZORCAM_CONTROL_EXPOSURE:
    case ZORCAM_CONTROL_GAIN:
    case ZORCAM_CONTROL_SPEED:
    case ZORCAM_CONTROL_USB_TRAFFIC:
        return SIM_OK;
    default:
        return SIM_BAD_ARGUMENT;
    }
}

int Simulator::SetBinMode(std::uint32_t handle, int binX, int binY) {
    std::lock_guard lock(mutex_);
    if (!Find(handle))
        return SIM_BAD_HANDLE;
    return binX == 1 && binY == 1 ? SIM_OK : SIM_REFUSED;
}

int Simulator::GetMemLength(std::uint32_t handle) {
    std::lock_guard lock(mutex_);
    if (!Find(handle))
        return -1;
    return SIM_WIDTH * SIM_HEIGHT;
}

int Simulator::ExpSingleFrame(std::uint32_t handle) {
    std::lock_guard lock(mutex_);
    PollConfig(false);
    Camera* cam = Find(handle);
    if (!cam)
        return SIM_BAD_HANDLE;
    if (cam->live)
        return SIM_BAD_ARGUMENT;
    cam->singleExposing = true;
    cam->singleDue = ExposureDoneFromNow(*cam);
    return SIM_OK;
}

int Simulator::GetSingleFrame(std::uint32_t handle, std::uint32_t* width, std::uint32_t* height,
                              std::uint32_t* bpp, std::uint32_t* channels, unsigned char* buffer) {
    std::lock_guard lock(mutex_);
    PollConfig(false);
    Camera* cam = Find(handle);
    if (!cam)
        return SIM_BAD_HANDLE;
    if (!cam->singleExposing || !buffer)
        return SIM_BAD_ARGUMENT;
    if (Clock::now() < cam->singleDue)
        return SIM_NOT_READY;
    cam->singleExposing = false;
    RenderFrame(*cam, ++cam->frameIndex);
    WriteFrame(width, height, bpp, channels, buffer);
    return SIM_OK;
}

int Simulator::BeginLive(std::uint32_t handle) {
    std::lock_guard lock(mutex_);
    PollConfig(false);
    Camera* cam = Find(handle);
    if (!cam)
        return SIM_BAD_HANDLE;
    if (config_.faults.beginLive)
        return SIM_REFUSED;
    if (!cam->initialised || cam->streamMode != ZORCAM_STREAM_LIVE)
        return SIM_BAD_ARGUMENT;
    cam->live = true;
    cam->singleExposing = false;
    cam->frameIndex = 0;
    cam->framesDue = 0;
    cam->nextDue = ExposureDoneFromNow(*cam);
    last_ = {};
    return SIM_OK;
}

int Simulator::GetLiveFrame(std::uint32_t handle, std::uint32_t* width, std::uint32_t* height,
                            std::uint32_t* bpp, std::uint32_t* channels, unsigned char* buffer) {
    std::lock_guard lock(mutex_);
    PollConfig(false);
    Camera* cam = Find(handle);
    if (!cam)
        return SIM_BAD_HANDLE;
    if (!cam->live || !buffer)
        return SIM_BAD_ARGUMENT;
    if (config_.faults.liveFrame)
        return SIM_REFUSED;
    const auto now = Clock::now();
    if (config_.camera.throttle) {
        if (now < cam->nextDue)
            return SIM_NOT_READY;
        cam->nextDue = now + Interval(cam->exposureUs);
    }
    ++cam->framesDue;
    const int drop = config_.faults.dropEvery;
    if (drop > 0 && cam->framesDue % static_cast<std::uint64_t>(drop) == 0)
        return SIM_NOT_READY; // this frame is lost; the next comes one exposure later
    RenderFrame(*cam, ++cam->frameIndex);
    WriteFrame(width, height, bpp, channels, buffer);
    return SIM_OK;
}

int Simulator::StopLive(std::uint32_t handle) {
    std::lock_guard lock(mutex_);
    Camera* cam = Find(handle);
    if (!cam)
        return SIM_BAD_HANDLE;
    cam->live = false;
    return SIM_OK;
}

int Simulator::Cancel(std::uint32_t handle) {
    std::lock_guard lock(mutex_);
    Camera* cam = Find(handle);
    if (!cam)
        return SIM_BAD_HANDLE;
    cam->singleExposing = false;
    return SIM_OK;
}

int Simulator::SetStreamMode(std::uint32_t handle, int mode) {
    std::lock_guard lock(mutex_);
    PollConfig(false);
    Camera* cam = Find(handle);
    if (!cam)
        return SIM_BAD_HANDLE;
    if (config_.faults.streamMode)
        return SIM_REFUSED;
    if (mode != 0 && mode != ZORCAM_STREAM_LIVE)
        return SIM_BAD_ARGUMENT;
    cam->streamMode = mode;
    return SIM_OK;
}

int Simulator::SetResolution(std::uint32_t handle, int x, int y, int width, int height) {
    std::lock_guard lock(mutex_);
    PollConfig(false);
    if (!Find(handle))
        return SIM_BAD_HANDLE;
    if (config_.faults.resolution)
        return SIM_REFUSED;
    // Only the whole sensor is offered.
    return x == 0 && y == 0 && width == SIM_WIDTH && height == SIM_HEIGHT ? SIM_OK : SIM_REFUSED;
}

int Simulator::GetChipInfo(std::uint32_t handle, double* chipWidthMm, double* chipHeightMm,
                           int* imageWidth, int* imageHeight, double* pixelSizeUm, int* maxBpp,
                           int* isColor) {
    std::lock_guard lock(mutex_);
    if (!Find(handle))
        return SIM_BAD_HANDLE;
    constexpr double pixelUm = 3.75;
    if (chipWidthMm)
        *chipWidthMm = SIM_WIDTH * pixelUm / 1000.0;
    if (chipHeightMm)
        *chipHeightMm = SIM_HEIGHT * pixelUm / 1000.0;
    if (imageWidth)
        *imageWidth = SIM_WIDTH;
    if (imageHeight)
        *imageHeight = SIM_HEIGHT;
    if (pixelSizeUm)
        *pixelSizeUm = pixelUm;
    if (maxBpp)
        *maxBpp = 8;
    if (isColor)
        *isColor = 0;
    return SIM_OK;
}

int Simulator::GetTruth(ZorcamSimTruth* out) {
    if (!out)
        return SIM_BAD_ARGUMENT;
    std::lock_guard lock(mutex_);
    PollConfig(false);
    const Snapshot s = last_.valid ? last_ : Present(nullptr);
    *out = ZorcamSimTruth{};
    const FrameGeometry& g = s.geometry;
    out->axisX = g.axis.x;
    out->axisY = g.axis.y;
    out->poleX = g.apparentPole.x;
    out->poleY = g.apparentPole.y;
    out->truePoleX = g.truePole.x;
    out->truePoleY = g.truePole.y;
    const auto& stars = s.sky->Stars();
    for (std::size_t i = 0; i < stars.size(); ++i) {
        const RenderStar& p = s.placed[i];
        if (stars[i].label == "A") {
            out->starAX = p.x;
            out->starAY = p.y;
        } else if (stars[i].label == "B") {
            out->starBX = p.x;
            out->starBY = p.y;
        } else if (stars[i].label == "D") {
            out->starDX = p.x;
            out->starDY = p.y;
        }
    }
    out->altErrArcmin = s.mount.altErrArcmin;
    out->azErrArcmin = s.mount.azErrArcmin;
    out->rollDeg = s.mount.rollDeg;
    out->raAngleDeg = s.mount.raAngleDeg;
    out->skyTurnDeg = g.skyTurnDeg;
    out->arcsecPerPixel = s.mount.arcsecPerPixel;
    out->refractionArcmin = g.refractionArcmin;
    out->exposureUs = s.exposureUs;
    out->gain = s.gain;
    out->hemisphere = s.sky->GetHemisphere() == Hemisphere::South ? 'S' : 'N';
    out->dataSetYear = DataSetYear();
    out->starCount = static_cast<int>(stars.size());
    out->frameIndex = s.frameIndex;
    return SIM_OK;
}

int Simulator::GetStars(ZorcamSimStar* out, int capacity) {
    std::lock_guard lock(mutex_);
    PollConfig(false);
    const Snapshot s = last_.valid ? last_ : Present(nullptr);
    const auto& stars = s.sky->Stars();
    const double aduPerEs = s.exposureUs * 1e-6 *
                            FrameRenderer::AduPerElectron(config_.render, s.gain) *
                            PeakShare(config_.render.psfSigmaPx);
    for (int i = 0; out && i < capacity && i < static_cast<int>(stars.size()); ++i) {
        ZorcamSimStar& o = out[i];
        o = ZorcamSimStar{};
        o.x = s.placed[i].x;
        o.y = s.placed[i].y;
        o.magnitude = stars[i].magnitude;
        o.peakAdu = s.placed[i].electronsPerSec * aduPerEs;
        std::strncpy(o.label, stars[i].label.c_str(), sizeof(o.label) - 1);
    }
    return static_cast<int>(stars.size());
}

int Simulator::ReloadConfig() {
    std::lock_guard lock(mutex_);
    PollConfig(true);
    return source_.LastLoadFailed() ? 1 : 0;
}

int Simulator::UseClock(double (*seconds)(void* context), void* context) {
    std::lock_guard lock(mutex_);
    AdvanceTime(); // the sky so far on the old clock
    clockSeconds_ = seconds;
    clockContext_ = seconds ? context : nullptr;
    const double now = ClockSeconds();
    lastTick_ = std::isfinite(now) ? now : 0.0;
    return 0;
}

std::string Simulator::ConfigPath() const {
    std::lock_guard lock(mutex_);
    return source_.Path();
}

} // namespace zorcamsim
