// One connection to an INDI server, seen through the values the camera library needs.
//
// Usage:
//   IndiLink link;
//   if (!link.Open("localhost", 7624, 3000)) ...      // bounded by the timeout
//   link.WaitQuiet(300, 3000);                          // device definitions arrive
//   for (auto& name : link.CcdDevices()) ...
//   link.ConnectDevice(name, 5000);                     // CONNECTION on, waits for the camera's
//   properties link.StartExposure(name, 0.1); IndiLink::Blob b; link.WaitBlob(lastSeq, deadline,
//   stopFlag, b);
//
// The client library calls back on its own thread; the callbacks copy what is
// needed into DeviceState under one mutex, so every other method may run on any
// thread. Every wait is bounded and ends early when the server goes away.
#pragma once

#include <libindi/baseclient.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <map>
#include <mutex>
#include <string>
#include <vector>

namespace zorcamindi {

struct DeviceState {
    bool interfaceKnown = false;
    unsigned interfaces = 0;
    bool connected = false;
    bool hasExposure = false;
    double exposureMin = 0, exposureMax = 0;
    long exposureAlerts = 0;               // exposures the device refused or failed
    std::string gainProperty, gainElement; // empty: no gain control
    double gainMin = 0, gainMax = 0, gainValue = 0;
    IPState gainState = IPS_IDLE;
    long gainUpdates = 0;
    bool hasInfo = false;
    double pixelSizeUm = 0;
    int maxX = 0, maxY = 0, bitsPerPixel = 0;
    bool hasBlob = false;
    bool hasTransferFormat = false, hasCompression = false, hasUploadMode = false;
};

class IndiLink : public INDI::BaseClient {
public:
    struct Blob {
        unsigned long long seq = 0;
        std::string device;
        std::string format;
        std::vector<char> data;
    };
    enum class Wait { Got, Timeout, Stopped, Lost, Refused };

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
    void StartExposure(const std::string& name, double seconds);
    void AbortExposure(const std::string& name);
    void PrepareImageTransfer(const std::string& name);

    unsigned long long BlobSeq() const;
    // The newest image of `device` after `afterSeq`, waiting until `deadline`;
    // Refused when the device reports a failed exposure beyond `alertsSeen`.
    Wait WaitBlob(const std::string& device, unsigned long long afterSeq, long alertsSeen,
                  std::chrono::steady_clock::time_point deadline, const std::atomic<bool>& stop,
                  Blob& out);
    // Wakes every waiter (used when a stop is asked).
    void WakeAll();

protected:
    void newDevice(INDI::BaseDevice device) override;
    void newProperty(INDI::Property property) override;
    void updateProperty(INDI::Property property) override;
    void serverConnected() override;
    void serverDisconnected(int exitCode) override;

private:
    void Absorb(INDI::Property property);

    mutable std::mutex mutex_;
    std::condition_variable changed_;
    std::mutex send_; // one message to the server at a time, from whichever thread
    std::atomic<bool> connected_{false};
    std::vector<std::string> order_;
    std::map<std::string, DeviceState> devices_;
    std::chrono::steady_clock::time_point lastDefinition_;
    Blob blob_;
};

} // namespace zorcamindi
