// One connection to an INDI server, seen through the values the camera library needs.
//
// Usage:
//   IndiLink link;
//   if (!link.Open("localhost", 7624, 3000)) ...      // bounded by the timeout
//   link.WaitQuiet(300, 3000);                          // device definitions arrive
//   for (auto& name : link.CcdDevices()) ...
//   link.ConnectDevice(name, 5000);                     // CONNECTION on, waits for the camera
//   link.SetNumbers(name, "CCD_BINNING", {{"HOR_BIN", 1}, {"VER_BIN", 1}}, 2000);
//   link.StartExposure(name, 0.1);
//   IndiLink::Blob b; link.WaitBlob(name, lastSeq, alerts, restarts, deadline, stopFlag, b);
//
// Threads: every call into the INDI client (connecting, disconnecting and every
// message sent) runs on one thread of the link's own, in the order asked; the
// client's socket thread only delivers, and its callbacks copy what is needed
// into DeviceState under one mutex. So the public methods may be called from any
// thread. Messages are built from copies of our own, never from the client's
// shared property copies, which its socket thread rewrites as the server answers.
// Every wait is bounded and ends early when the server goes away.
//
// A driver restarted by the server deletes its device and defines it again,
// disconnected: the device's state starts afresh and its `restarts` count rises.
#pragma once

#include <libindi/baseclient.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <deque>
#include <functional>
#include <map>
#include <mutex>
#include <string>
#include <thread>
#include <utility>
#include <vector>

namespace zorcamindi {

// One element of a property as last reported by the server.
struct IndiElement {
    double value = 0, min = 0, max = 0, step = 0;
    bool on = false;
    std::string text;
};

struct IndiVector {
    std::string group;
    IPState state = IPS_IDLE;
    long updates = 0;
    std::map<std::string, IndiElement> elements;

    // The element that is on (switches), empty when none.
    std::string On() const;
    const IndiElement* Find(const std::string& name) const;
};

struct DeviceState {
    bool defined = false; // false after the server deleted the device
    long restarts = 0;    // times the device was deleted and defined again
    bool interfaceKnown = false;
    unsigned interfaces = 0;
    bool connected = false;
    bool hasExposure = false;
    double exposureMin = 0, exposureMax = 0;
    long exposureAlerts = 0; // exposures the device refused or failed
    // The gain control: CCD_GAIN, the gain of CCD_CONTROLS or of a video
    // driver's image adjustments; empty when the device has none.
    std::string gainProperty, gainElement;
    double gainMin = 0, gainMax = 0, gainValue = 0;
    IPState gainState = IPS_IDLE;
    long gainUpdates = 0;
    bool hasInfo = false;
    double pixelSizeUm = 0;
    int maxX = 0, maxY = 0, bitsPerPixel = 0;
    bool hasBlob = false;
    std::map<std::string, IndiVector> vectors; // number and switch properties by name
};

class IndiLink : public INDI::BaseClient {
public:
    struct Blob {
        unsigned long long seq = 0;
        std::string device;
        std::string format;
        std::vector<char> data;
        std::chrono::steady_clock::time_point arrived{};
    };
    enum class Wait { Got, Timeout, Stopped, Lost, Refused, Restarted };

    IndiLink();
    ~IndiLink() override;

    bool Open(const std::string& host, int port, int timeoutMs);
    void Close();
    bool Connected() const { return connected_.load(); }

    // Waits until no definition has arrived for quietMs, at most maxMs in all.
    void WaitQuiet(int quietMs, int maxMs);
    // Devices that say they are cameras, in the order the server defined them.
    std::vector<std::string> CcdDevices() const;
    bool HasDevice(const std::string& name) const;
    DeviceState State(const std::string& name) const;

    // Switches the device on and waits for its exposure, image-information and image properties.
    bool ConnectDevice(const std::string& name, int timeoutMs);
    // Sends the gain and waits for the device's answer: true when it took it.
    bool SetGain(const std::string& name, double value, int timeoutMs);
    // Sends these elements of a number property and waits for the device's answer
    // (at most timeoutMs): true when it answered without an alert.
    bool SetNumbers(const std::string& name, const std::string& property,
                    const std::vector<std::pair<std::string, double>>& values, int timeoutMs);
    // Switches one element of a one-of-many property on and waits likewise.
    bool SetSwitch(const std::string& name, const std::string& property, const std::string& element,
                   int timeoutMs);
    void StartExposure(const std::string& name, double seconds);
    void AbortExposure(const std::string& name);
    // Asks the server to send this client the device's images.
    void ReceiveImages(const std::string& name);

    unsigned long long BlobSeq() const;
    // The newest image of `device` after `afterSeq`, waiting until `deadline`;
    // Refused when the device reports a failed exposure beyond `alertsSeen`,
    // Restarted when it was deleted or disconnected since `restartsSeen`.
    Wait WaitBlob(const std::string& device, unsigned long long afterSeq, long alertsSeen,
                  long restartsSeen, std::chrono::steady_clock::time_point deadline,
                  const std::atomic<bool>& stop, Blob& out);
    // Waits until the device is defined again after a restart (or the deadline).
    bool WaitDefined(const std::string& device, std::chrono::steady_clock::time_point deadline,
                     const std::atomic<bool>& stop);
    // Wakes every waiter (used when a stop is asked).
    void WakeAll();

protected:
    void newDevice(INDI::BaseDevice device) override;
    void removeDevice(INDI::BaseDevice device) override;
    void newProperty(INDI::Property property) override;
    void updateProperty(INDI::Property property) override;
    void removeProperty(INDI::Property property) override;
    void serverConnected() override;
    void serverDisconnected(int exitCode) override;

private:
    void Absorb(INDI::Property property);
    // Runs `call` on the client thread and waits until it has run.
    void OnClientThread(const std::function<void()>& call);
    void ClientThread();
    // Waits for the answer to a property sent when it had `updatesBefore` updates.
    bool WaitAnswer(const std::string& name, const std::string& property, long updatesBefore,
                    int timeoutMs);
    long Updates(const std::string& name, const std::string& property) const;

    mutable std::mutex mutex_;
    std::condition_variable changed_;
    std::atomic<bool> connected_{false};
    std::vector<std::string> order_;
    std::map<std::string, DeviceState> devices_;
    std::chrono::steady_clock::time_point lastDefinition_;
    Blob blob_;

    std::mutex queueMutex_;
    std::condition_variable queueChanged_;
    std::deque<std::function<void()>> queue_;
    bool quit_ = false;
    std::thread client_;
};

} // namespace zorcamindi
