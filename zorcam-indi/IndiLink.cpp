#include "zorcam-indi/IndiLink.h"

#include <libindi/basedevice.h>
#include <libindi/indipropertyblob.h>
#include <libindi/indipropertynumber.h>
#include <libindi/indipropertyswitch.h>
#include <libindi/indipropertytext.h>

#include <algorithm>
#include <cstdlib>
#include <future>
#include <strings.h>

namespace zorcamindi {

using Clock = std::chrono::steady_clock;

namespace {

bool SameText(const std::string& a, const char* b) {
    return strcasecmp(a.c_str(), b) == 0;
}

bool HasWord(std::string text, const char* word) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text.find(word) != std::string::npos;
}

// Where the device keeps its gain, best first: CCD_GAIN, the gain of
// CCD_CONTROLS, then a gain among a video driver's image adjustments.
void FindGain(DeviceState& s) {
    s.gainProperty.clear();
    s.gainElement.clear();
    const auto take = [&](const std::string& property, const IndiVector& v,
                          const std::string& element) {
        const IndiElement& e = v.elements.at(element);
        s.gainProperty = property;
        s.gainElement = element;
        s.gainMin = e.min;
        s.gainMax = e.max;
        s.gainValue = e.value;
        s.gainState = v.state;
        s.gainUpdates = v.updates;
    };
    for (const char* name : {"CCD_GAIN", "CCD_CONTROLS"}) {
        auto it = s.vectors.find(name);
        if (it == s.vectors.end())
            continue;
        for (const auto& [element, e] : it->second.elements)
            if (SameText(element, "GAIN")) {
                take(it->first, it->second, element);
                return;
            }
    }
    for (const auto& [property, v] : s.vectors) {
        if (!HasWord(property, "image adjust") && !HasWord(v.group, "image adjust"))
            continue;
        for (const auto& [element, e] : v.elements)
            if (HasWord(element, "gain") && !HasWord(element, "auto") && e.max > e.min) {
                take(property, v, element);
                return;
            }
    }
}

} // namespace

std::string IndiVector::On() const {
    for (const auto& [name, e] : elements)
        if (e.on)
            return name;
    return {};
}

const IndiElement* IndiVector::Find(const std::string& name) const {
    auto it = elements.find(name);
    return it == elements.end() ? nullptr : &it->second;
}

IndiLink::IndiLink() : lastDefinition_(Clock::now()) {
    client_ = std::thread(&IndiLink::ClientThread, this);
}

IndiLink::~IndiLink() {
    Close();
    {
        std::lock_guard lock(queueMutex_);
        quit_ = true;
    }
    queueChanged_.notify_all();
    client_.join();
}

void IndiLink::ClientThread() {
    for (;;) {
        std::function<void()> call;
        {
            std::unique_lock lock(queueMutex_);
            queueChanged_.wait(lock, [&] { return quit_ || !queue_.empty(); });
            if (queue_.empty())
                return;
            call = std::move(queue_.front());
            queue_.pop_front();
        }
        call();
    }
}

void IndiLink::OnClientThread(const std::function<void()>& call) {
    if (std::this_thread::get_id() == client_.get_id()) {
        call();
        return;
    }
    std::promise<void> done;
    std::future<void> finished = done.get_future();
    {
        std::lock_guard lock(queueMutex_);
        queue_.emplace_back([&] {
            call();
            done.set_value();
        });
    }
    queueChanged_.notify_all();
    finished.wait();
}

bool IndiLink::Open(const std::string& host, int port, int timeoutMs) {
    {
        std::lock_guard lock(mutex_);
        lastDefinition_ = Clock::now();
    }
    bool up = false;
    OnClientThread([&] {
        setServer(host.c_str(), static_cast<unsigned>(port));
        setConnectionTimeout(static_cast<uint32_t>(timeoutMs / 1000),
                             static_cast<uint32_t>((timeoutMs % 1000) * 1000));
        up = connectServer();
    });
    if (!up)
        return false;
    connected_ = true;
    return true;
}

void IndiLink::Close() {
    OnClientThread([&] {
        if (isServerConnected())
            disconnectServer();
    });
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
        if (s.defined && s.interfaceKnown && (s.interfaces & INDI::BaseDevice::CCD_INTERFACE))
            out.push_back(name);
    }
    return out;
}

bool IndiLink::HasDevice(const std::string& name) const {
    std::lock_guard lock(mutex_);
    auto it = devices_.find(name);
    return it != devices_.end() && it->second.defined;
}

DeviceState IndiLink::State(const std::string& name) const {
    std::lock_guard lock(mutex_);
    auto it = devices_.find(name);
    return it == devices_.end() ? DeviceState{} : it->second;
}

long IndiLink::Updates(const std::string& name, const std::string& property) const {
    std::lock_guard lock(mutex_);
    auto d = devices_.find(name);
    if (d == devices_.end())
        return 0;
    auto v = d->second.vectors.find(property);
    return v == d->second.vectors.end() ? 0 : v->second.updates;
}

bool IndiLink::WaitAnswer(const std::string& name, const std::string& property, long updatesBefore,
                          int timeoutMs) {
    const auto end = Clock::now() + std::chrono::milliseconds(timeoutMs);
    std::unique_lock lock(mutex_);
    const auto vector = [&]() -> const IndiVector* {
        const DeviceState& s = devices_[name];
        auto it = s.vectors.find(property);
        return it == s.vectors.end() ? nullptr : &it->second;
    };
    const bool answered = changed_.wait_until(lock, end, [&] {
        const IndiVector* v = vector();
        return !connected_ || (v && v->updates > updatesBefore && v->state != IPS_BUSY);
    });
    const IndiVector* v = vector();
    return answered && connected_ && v && v->state != IPS_ALERT;
}

bool IndiLink::ConnectDevice(const std::string& name, int timeoutMs) {
    if (!connected_)
        return false;
    if (!State(name).connected)
        SetSwitch(name, "CONNECTION", "CONNECT", 0);
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

bool IndiLink::SetNumbers(const std::string& name, const std::string& property,
                          const std::vector<std::pair<std::string, double>>& values,
                          int timeoutMs) {
    if (!connected_ || values.empty())
        return false;
    const long before = Updates(name, property);
    OnClientThread([&] {
        INDI::PropertyNumber own(values.size());
        own.fill(name.c_str(), property.c_str(), "", "", IP_RW, 60, IPS_IDLE);
        for (std::size_t i = 0; i < values.size(); ++i) {
            own[i].setName(values[i].first.c_str());
            own[i].setValue(values[i].second);
        }
        if (isServerConnected())
            sendNewNumber(own);
    });
    return timeoutMs <= 0 || WaitAnswer(name, property, before, timeoutMs);
}

bool IndiLink::SetSwitch(const std::string& name, const std::string& property,
                         const std::string& element, int timeoutMs) {
    if (!connected_)
        return false;
    const long before = Updates(name, property);
    OnClientThread([&] {
        INDI::PropertySwitch own(1);
        own.fill(name.c_str(), property.c_str(), "", "", IP_RW, ISR_1OFMANY, 60, IPS_IDLE);
        own[0].setName(element.c_str());
        own[0].setState(ISS_ON);
        if (isServerConnected())
            sendNewSwitch(own);
    });
    return timeoutMs <= 0 || WaitAnswer(name, property, before, timeoutMs);
}

bool IndiLink::SetGain(const std::string& name, double value, int timeoutMs) {
    const DeviceState s = State(name);
    if (!connected_ || s.gainProperty.empty())
        return false;
    return SetNumbers(name, s.gainProperty, {{s.gainElement, value}}, timeoutMs);
}

void IndiLink::StartExposure(const std::string& name, double seconds) {
    SetNumbers(name, "CCD_EXPOSURE", {{"CCD_EXPOSURE_VALUE", seconds}}, 0);
}

void IndiLink::AbortExposure(const std::string& name) {
    SetSwitch(name, "CCD_ABORT_EXPOSURE", "ABORT", 0);
}

void IndiLink::ReceiveImages(const std::string& name) {
    OnClientThread([&] {
        if (isServerConnected())
            setBLOBMode(B_ALSO, name.c_str(), nullptr);
    });
}

unsigned long long IndiLink::BlobSeq() const {
    std::lock_guard lock(mutex_);
    return blob_.seq;
}

IndiLink::Wait IndiLink::WaitBlob(const std::string& device, unsigned long long afterSeq,
                                  long alertsSeen, long restartsSeen, Clock::time_point deadline,
                                  const std::atomic<bool>& stop, Blob& out) {
    std::unique_lock lock(mutex_);
    const auto refused = [&] { return devices_[device].exposureAlerts > alertsSeen; };
    const auto restarted = [&] {
        const DeviceState& s = devices_[device];
        return s.restarts > restartsSeen || !s.connected;
    };
    const auto got = [&] { return blob_.seq > afterSeq && blob_.device == device; };
    changed_.wait_until(lock, deadline, [&] {
        return stop.load() || !connected_ || got() || refused() || restarted();
    });
    if (stop)
        return Wait::Stopped;
    if (got()) {
        out.seq = blob_.seq;
        out.device = blob_.device;
        out.format = blob_.format;
        out.arrived = blob_.arrived;
        out.data.swap(blob_.data);
        return Wait::Got;
    }
    if (!connected_)
        return Wait::Lost;
    if (restarted())
        return Wait::Restarted;
    if (refused())
        return Wait::Refused;
    return Wait::Timeout;
}

bool IndiLink::WaitDefined(const std::string& device, Clock::time_point deadline,
                           const std::atomic<bool>& stop) {
    std::unique_lock lock(mutex_);
    changed_.wait_until(lock, deadline, [&] {
        const DeviceState& s = devices_[device];
        return stop.load() || !connected_ || (s.defined && s.vectors.count("CONNECTION"));
    });
    const DeviceState& s = devices_[device];
    return !stop && connected_ && s.defined && s.vectors.count("CONNECTION");
}

void IndiLink::WakeAll() {
    { std::lock_guard lock(mutex_); }
    changed_.notify_all();
}

void IndiLink::newDevice(INDI::BaseDevice device) {
    std::lock_guard lock(mutex_);
    const std::string name = device.getDeviceName();
    if (!devices_.count(name))
        order_.push_back(name);
    devices_[name].defined = true;
    lastDefinition_ = Clock::now();
    changed_.notify_all();
}

void IndiLink::removeDevice(INDI::BaseDevice device) {
    std::lock_guard lock(mutex_);
    const std::string name = device.getDeviceName();
    auto it = devices_.find(name);
    if (it != devices_.end()) {
        DeviceState fresh;
        fresh.restarts = it->second.restarts + 1;
        fresh.exposureAlerts = it->second.exposureAlerts;
        it->second = std::move(fresh);
    }
    changed_.notify_all();
}

void IndiLink::newProperty(INDI::Property property) {
    Absorb(property);
}

void IndiLink::updateProperty(INDI::Property property) {
    Absorb(property);
}

void IndiLink::removeProperty(INDI::Property property) {
    if (!property.isValid())
        return;
    std::lock_guard lock(mutex_);
    auto it = devices_.find(property.getDeviceName());
    if (it == devices_.end())
        return;
    DeviceState& s = it->second;
    const std::string name = property.getName();
    s.vectors.erase(name);
    if (name == "CCD_EXPOSURE")
        s.hasExposure = false;
    else if (name == "CCD_INFO")
        s.hasInfo = false;
    else if (name == "CCD1")
        s.hasBlob = false;
    else if (name == "CONNECTION")
        s.connected = false;
    FindGain(s);
    changed_.notify_all();
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
    const std::string name = property.getName();
    std::lock_guard lock(mutex_);
    if (!devices_.count(device))
        order_.push_back(device);
    DeviceState& s = devices_[device];
    s.defined = true;
    lastDefinition_ = Clock::now();

    if (property.getType() == INDI_NUMBER || property.getType() == INDI_SWITCH) {
        IndiVector& v = s.vectors[name];
        v.group = property.getGroupName() ? property.getGroupName() : "";
        v.state = property.getState();
        ++v.updates;
        if (property.getType() == INDI_NUMBER) {
            INDI::PropertyNumber n(property);
            for (auto& e : n) {
                IndiElement& mine = v.elements[e.getName()];
                mine.value = e.getValue();
                mine.min = e.getMin();
                mine.max = e.getMax();
                mine.step = e.getStep();
            }
        } else {
            INDI::PropertySwitch sw(property);
            for (auto& e : sw)
                v.elements[e.getName()].on = e.getState() == ISS_ON;
        }
    }

    if (name == "DRIVER_INFO") {
        INDI::PropertyText text(property);
        if (auto* e = text.findWidgetByName("DRIVER_INTERFACE")) {
            s.interfaces = static_cast<unsigned>(std::strtoul(e->getText(), nullptr, 10));
            s.interfaceKnown = true;
        }
    } else if (name == "CONNECTION") {
        INDI::PropertySwitch sw(property);
        if (auto* e = sw.findWidgetByName("CONNECT"))
            s.connected = e->getState() == ISS_ON && sw.getState() != IPS_ALERT;
    } else if (name == "CCD_EXPOSURE") {
        INDI::PropertyNumber n(property);
        if (auto* e = n.findWidgetByName("CCD_EXPOSURE_VALUE")) {
            s.hasExposure = true;
            s.exposureMin = e->getMin();
            s.exposureMax = e->getMax();
        }
        if (n.getState() == IPS_ALERT)
            ++s.exposureAlerts;
    } else if (name == "CCD_INFO") {
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
    } else if (name == "CCD1") {
        s.hasBlob = true;
        INDI::PropertyBlob b(property);
        if (b.size() > 0 && b.getState() == IPS_OK) {
            const auto& e = b[0];
            if (e.getBlobLen() > 0 && e.getBlob()) {
                const char* bytes = static_cast<const char*>(e.getBlob());
                blob_.data.assign(bytes, bytes + e.getBlobLen());
                blob_.format = e.getFormat();
                blob_.device = device;
                blob_.arrived = Clock::now();
                ++blob_.seq;
            }
        }
    }
    if (property.getType() == INDI_NUMBER)
        FindGain(s);
    changed_.notify_all();
}

} // namespace zorcamindi
