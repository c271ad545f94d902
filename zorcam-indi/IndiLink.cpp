#include "zorcam-indi/IndiLink.h"

#include <libindi/basedevice.h>
#include <libindi/indipropertyblob.h>
#include <libindi/indipropertynumber.h>
#include <libindi/indipropertyswitch.h>
#include <libindi/indipropertytext.h>

#include <algorithm>
#include <cstdlib>
#include <strings.h>

namespace zorcamindi {

using Clock = std::chrono::steady_clock;

IndiLink::IndiLink() : lastDefinition_(Clock::now()) {}

IndiLink::~IndiLink() {
    Close();
}

bool IndiLink::Open(const std::string& host, int port, int timeoutMs) {
    setServer(host.c_str(), static_cast<unsigned>(port));
    setConnectionTimeout(static_cast<uint32_t>(timeoutMs / 1000),
                         static_cast<uint32_t>((timeoutMs % 1000) * 1000));
    {
        std::lock_guard lock(mutex_);
        lastDefinition_ = Clock::now();
    }
    if (!connectServer())
        return false;
    connected_ = true;
    return true;
}

void IndiLink::Close() {
    if (isServerConnected())
        disconnectServer();
    connected_ = false;
    WakeAll();
}

void IndiLink::WaitQuiet(int quietMs, int maxMs) {
    const auto end = Clock::now() + std::chrono::milliseconds(maxMs);
    std::unique_lock lock(mutex_);
    while (connected_) {
        const auto quietEnd = lastDefinition_ + std::chrono::milliseconds(quietMs);
        const auto now = Clock::now();
        if (now >= quietEnd || now >= end)
            return;
        changed_.wait_until(lock, std::min(quietEnd, end));
    }
}

std::vector<std::string> IndiLink::CcdDevices() const {
    std::lock_guard lock(mutex_);
    std::vector<std::string> out;
    for (const std::string& name : order_) {
        const DeviceState& s = devices_.at(name);
        if (s.interfaceKnown && (s.interfaces & INDI::BaseDevice::CCD_INTERFACE))
            out.push_back(name);
    }
    return out;
}

bool IndiLink::HasDevice(const std::string& name) const {
    std::lock_guard lock(mutex_);
    return devices_.count(name) != 0;
}

DeviceState IndiLink::State(const std::string& name) const {
    std::lock_guard lock(mutex_);
    auto it = devices_.find(name);
    return it == devices_.end() ? DeviceState{} : it->second;
}

bool IndiLink::ConnectDevice(const std::string& name, int timeoutMs) {
    if (!connected_)
        return false;
    if (!State(name).connected) {
        std::lock_guard sending(send_);
        connectDevice(name.c_str());
    }
    const auto end = Clock::now() + std::chrono::milliseconds(timeoutMs);
    std::unique_lock lock(mutex_);
    const bool up = changed_.wait_until(lock, end, [&] {
        if (!connected_)
            return true;
        const DeviceState& s = devices_[name];
        return s.connected && s.hasExposure && s.hasInfo && s.hasBlob;
    }) && connected_;
    if (!up)
        return false;
    // Some drivers define the image information first and fill it in a moment
    // later; a camera that never tells its pixel size is taken all the same.
    changed_.wait_until(lock, std::min(end, Clock::now() + std::chrono::seconds(2)), [&] {
        const DeviceState& s = devices_[name];
        return !connected_ || (s.pixelSizeUm > 0 && s.maxX > 0);
    });
    return connected_;
}

bool IndiLink::SetGain(const std::string& name, double value, int timeoutMs) {
    DeviceState s = State(name);
    if (!connected_ || s.gainProperty.empty())
        return false;
    {
        std::lock_guard sending(send_);
        sendNewNumber(name.c_str(), s.gainProperty.c_str(), s.gainElement.c_str(), value);
    }
    const auto end = Clock::now() + std::chrono::milliseconds(timeoutMs);
    std::unique_lock lock(mutex_);
    const bool answered = changed_.wait_until(lock, end, [&] {
        const DeviceState& now = devices_[name];
        return !connected_ || (now.gainUpdates > s.gainUpdates && now.gainState != IPS_BUSY);
    });
    const DeviceState& now = devices_[name];
    return answered && connected_ && now.gainState != IPS_ALERT;
}

void IndiLink::StartExposure(const std::string& name, double seconds) {
    std::lock_guard sending(send_);
    if (connected_)
        sendNewNumber(name.c_str(), "CCD_EXPOSURE", "CCD_EXPOSURE_VALUE", seconds);
}

void IndiLink::AbortExposure(const std::string& name) {
    std::lock_guard sending(send_);
    if (connected_)
        sendNewSwitch(name.c_str(), "CCD_ABORT_EXPOSURE", "ABORT");
}

void IndiLink::PrepareImageTransfer(const std::string& name) {
    const DeviceState s = State(name);
    std::lock_guard sending(send_);
    setBLOBMode(B_ALSO, name.c_str(), nullptr);
    if (s.hasTransferFormat)
        sendNewSwitch(name.c_str(), "CCD_TRANSFER_FORMAT", "FORMAT_FITS");
    if (s.hasCompression)
        sendNewSwitch(name.c_str(), "CCD_COMPRESSION", "INDI_DISABLED");
    if (s.hasUploadMode)
        sendNewSwitch(name.c_str(), "UPLOAD_MODE", "UPLOAD_CLIENT");
}

unsigned long long IndiLink::BlobSeq() const {
    std::lock_guard lock(mutex_);
    return blob_.seq;
}

IndiLink::Wait IndiLink::WaitBlob(const std::string& device, unsigned long long afterSeq,
                                  long alertsSeen, Clock::time_point deadline,
                                  const std::atomic<bool>& stop, Blob& out) {
    std::unique_lock lock(mutex_);
    const auto refused = [&] { return devices_[device].exposureAlerts > alertsSeen; };
    changed_.wait_until(lock, deadline, [&] {
        return stop.load() || !connected_ || (blob_.seq > afterSeq && blob_.device == device) ||
               refused();
    });
    if (stop)
        return Wait::Stopped;
    if (refused() && !(blob_.seq > afterSeq && blob_.device == device))
        return Wait::Refused;
    if (blob_.seq > afterSeq && blob_.device == device) {
        out.seq = blob_.seq;
        out.device = blob_.device;
        out.format = blob_.format;
        out.data.swap(blob_.data);
        return Wait::Got;
    }
    return connected_ ? Wait::Timeout : Wait::Lost;
}

void IndiLink::WakeAll() {
    { std::lock_guard lock(mutex_); }
    changed_.notify_all();
}

void IndiLink::newDevice(INDI::BaseDevice device) {
    std::lock_guard lock(mutex_);
    const std::string name = device.getDeviceName();
    if (!devices_.count(name)) {
        devices_[name] = DeviceState{};
        order_.push_back(name);
    }
    lastDefinition_ = Clock::now();
    changed_.notify_all();
}

void IndiLink::newProperty(INDI::Property property) {
    Absorb(property);
}

void IndiLink::updateProperty(INDI::Property property) {
    Absorb(property);
}

void IndiLink::serverConnected() {
    connected_ = true;
    WakeAll();
}

void IndiLink::serverDisconnected(int) {
    connected_ = false;
    WakeAll();
}

void IndiLink::Absorb(INDI::Property property) {
    if (!property.isValid())
        return;
    const std::string device = property.getDeviceName();
    std::lock_guard lock(mutex_);
    if (!devices_.count(device)) {
        devices_[device] = DeviceState{};
        order_.push_back(device);
    }
    DeviceState& s = devices_[device];
    lastDefinition_ = Clock::now();

    if (property.isNameMatch("DRIVER_INFO")) {
        INDI::PropertyText text(property);
        if (auto* e = text.findWidgetByName("DRIVER_INTERFACE")) {
            s.interfaces = static_cast<unsigned>(std::strtoul(e->getText(), nullptr, 10));
            s.interfaceKnown = true;
        }
    } else if (property.isNameMatch("CONNECTION")) {
        INDI::PropertySwitch sw(property);
        if (auto* e = sw.findWidgetByName("CONNECT"))
            s.connected = e->getState() == ISS_ON && sw.getState() != IPS_ALERT;
    } else if (property.isNameMatch("CCD_EXPOSURE")) {
        INDI::PropertyNumber n(property);
        if (auto* e = n.findWidgetByName("CCD_EXPOSURE_VALUE")) {
            s.hasExposure = true;
            s.exposureMin = e->getMin();
            s.exposureMax = e->getMax();
        }
        if (n.getState() == IPS_ALERT)
            ++s.exposureAlerts;
    } else if (property.isNameMatch("CCD_GAIN") || property.isNameMatch("CCD_CONTROLS")) {
        INDI::PropertyNumber n(property);
        for (auto& e : n) {
            if (strcasecmp(e.getName(), "GAIN") == 0) {
                s.gainProperty = property.getName();
                s.gainElement = e.getName();
                s.gainMin = e.getMin();
                s.gainMax = e.getMax();
                s.gainValue = e.getValue();
                s.gainState = n.getState();
                ++s.gainUpdates;
            }
        }
    } else if (property.isNameMatch("CCD_INFO")) {
        INDI::PropertyNumber n(property);
        s.hasInfo = true;
        if (auto* e = n.findWidgetByName("CCD_PIXEL_SIZE_X"))
            s.pixelSizeUm = e->getValue();
        if (s.pixelSizeUm <= 0)
            if (auto* e = n.findWidgetByName("CCD_PIXEL_SIZE"))
                s.pixelSizeUm = e->getValue();
        if (auto* e = n.findWidgetByName("CCD_MAX_X"))
            s.maxX = static_cast<int>(e->getValue());
        if (auto* e = n.findWidgetByName("CCD_MAX_Y"))
            s.maxY = static_cast<int>(e->getValue());
        if (auto* e = n.findWidgetByName("CCD_BITSPERPIXEL"))
            s.bitsPerPixel = static_cast<int>(e->getValue());
    } else if (property.isNameMatch("CCD1")) {
        s.hasBlob = true;
        INDI::PropertyBlob b(property);
        if (b.size() > 0 && b.getState() == IPS_OK) {
            const auto& e = b[0];
            if (e.getBlobLen() > 0 && e.getBlob()) {
                const char* bytes = static_cast<const char*>(e.getBlob());
                blob_.data.assign(bytes, bytes + e.getBlobLen());
                blob_.format = e.getFormat();
                blob_.device = device;
                ++blob_.seq;
            }
        }
    } else if (property.isNameMatch("CCD_TRANSFER_FORMAT")) {
        s.hasTransferFormat = true;
    } else if (property.isNameMatch("CCD_COMPRESSION")) {
        s.hasCompression = true;
    } else if (property.isNameMatch("UPLOAD_MODE")) {
        s.hasUploadMode = true;
    }
    changed_.notify_all();
}

} // namespace zorcamindi
