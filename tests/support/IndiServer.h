// An INDI server with the CCD simulator, started by a test on a free local port.
//
// Usage:
//   IndiServer server;                    // not started yet
//   ASSERT_TRUE(server.Start()) << server.Error();   // bounded wait until it listens
//   server.SetProperty("SIMULATOR_SETTINGS.SIM_XRES;SIM_YRES=3000;2000");
//   double gain = server.Number("CCD_GAIN.GAIN");
//   server.Kill();  server.Start();       // same port again
//
// The server runs in a process group of its own with a HOME and a local socket of
// its own (the simulator keeps its saved settings there; servers of tests running
// side by side do not meet), and the destructor kills the group,
// so a failing test leaves nothing running. Property calls use the indi_setprop
// and indi_getprop tools of the server's package, each bounded in time.
#pragma once

#include <QProcess>
#include <QString>
#include <QTemporaryDir>

#include <memory>

class IndiServer {
public:
    static constexpr const char* kDevice = "CCD Simulator";

    IndiServer();
    ~IndiServer();
    IndiServer(const IndiServer&) = delete;
    IndiServer& operator=(const IndiServer&) = delete;

    // True when the server and its tools are installed.
    static bool Available();

    bool Start();
    void Kill();
    bool Running() const;
    int Port() const { return port_; }
    QString Error() const { return error_; }

    // "PROPERTY.ELEMENT[;ELEMENT...]=VALUE[;VALUE...]" of the simulator.
    bool SetProperty(const QString& assignment);
    // The element's value as the server reports it; NaN when it cannot be read.
    double Number(const QString& propertyElement);
    // Kills the simulator's driver process, as a crash would: the server deletes
    // its device and starts it again, disconnected. False when no driver ran.
    bool CrashDriver();
    // Stops the driver process where it is (a hung camera): the server keeps it,
    // it answers nothing. CrashDriver ends it.
    bool FreezeDriver();
    // The text of a switch property's element that is on; empty when unreadable.
    QString OnSwitch(const QString& property);
    // Connects the simulator's driver (as a client would) and waits until it is on.
    bool ConnectDevice();
    // Switches the simulator on with a sensor of this size and pixel pitch and
    // waits until it reports it (the simulator sometimes takes a setting late, so
    // it is sent again, a few times at most).
    bool SetSensor(int width, int height, double pixelUm);

private:
    bool StartOnPort();
    bool SignalDriver(int signal);
    QString Tool(const QStringList& args, int timeoutMs, bool* ok);

    std::unique_ptr<QProcess> process_;
    QTemporaryDir home_;
    int port_ = 0;
    QString error_;
};

// Watches one number of the simulator while it changes (indi_getprop -m) until it
// shows `value` (within 1e-6 relative), at most timeoutMs. True when seen.
bool WaitForIndiNumber(int port, const QString& propertyElement, double value, int timeoutMs);
