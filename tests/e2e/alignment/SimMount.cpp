#include "e2e/alignment/SimMount.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLibrary>
#include <QProcess>
#include <QThread>

#include <algorithm>
#include <cmath>

namespace {

using GetTruthFn = int (*)(ZorcamSimTruth*);
using GetStarsFn = int (*)(ZorcamSimStar*, int);

// The simulator library the application loads (the same file, so the same
// instance in this process).
QLibrary& SimLibrary() {
    static QLibrary lib(
        QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("zorcam")));
    if (!lib.isLoaded())
        lib.load();
    return lib;
}

template <typename Fn> Fn Resolve(const char* name) {
    return reinterpret_cast<Fn>(SimLibrary().resolve(name));
}

} // namespace

bool ServeEventsUntil(const std::function<bool()>& condition, int timeoutMs) {
    QElapsedTimer timer;
    timer.start();
    while (!condition()) {
        if (timer.elapsed() > timeoutMs)
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        QThread::msleep(1);
    }
    return true;
}

SimMount::SimMount(const QByteArray& ini) {
    if (!dir_.isValid()) {
        error_ = QStringLiteral("no temporary folder");
        return;
    }
    path_ = dir_.filePath(QStringLiteral("zorcam-sim.ini"));
    QFile f(path_);
    if (!f.open(QIODevice::WriteOnly) || f.write(ini) != ini.size()) {
        error_ = QStringLiteral("cannot write ") + path_;
        return;
    }
    f.close();
    qputenv("ZORCAM_SIM_CONFIG", path_.toLocal8Bit());
    if (auto reload = Resolve<int (*)()>("ZorcamSimReloadConfig"))
        reload();
    ready_ = true;
}

SimMount::~SimMount() {
    UseClock(nullptr);
    qunsetenv("ZORCAM_SIM_CONFIG");
    if (auto reload = Resolve<int (*)()>("ZorcamSimReloadConfig"))
        reload();
}

void SimMount::UseClock(const Clock* clock) {
    using SecondsFn = double (*)(void*);
    const auto use = Resolve<int (*)(SecondsFn, void*)>("ZorcamSimUseClock");
    if (!use)
        return;
    if (!clock) {
        use(nullptr, nullptr);
        return;
    }
    use([](void* c) { return static_cast<const Clock*>(c)->Seconds(); }, const_cast<Clock*>(clock));
}

ZorcamSimTruth SimMount::Truth() const {
    ZorcamSimTruth t{};
    if (auto get = Resolve<GetTruthFn>("ZorcamSimGetTruth"))
        get(&t);
    return t;
}

std::vector<ZorcamSimStar> SimMount::Stars() const {
    std::vector<ZorcamSimStar> stars(1024);
    auto get = Resolve<GetStarsFn>("ZorcamSimGetStars");
    if (!get)
        return {};
    const int n = get(stars.data(), static_cast<int>(stars.size()));
    stars.resize(static_cast<std::size_t>(std::clamp(n, 0, static_cast<int>(stars.size()))));
    return stars;
}

bool SimMount::WaitFrames(int frames, int timeoutMs) const {
    const unsigned long long start = Truth().frameIndex;
    const bool ok = ServeEventsUntil(
        [&] { return Truth().frameIndex >= start + static_cast<unsigned long long>(frames); },
        timeoutMs);
    return ok;
}

bool SimMount::RunTool(const QStringList& args) {
    QProcess tool;
    tool.setProgram(
        QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("zorcam-sim-ctl")));
    tool.setArguments(QStringList{QStringLiteral("--config"), path_} + args);
    tool.setProcessChannelMode(QProcess::MergedChannels);
    tool.start();
    if (!tool.waitForFinished(15000) || tool.exitStatus() != QProcess::NormalExit ||
        tool.exitCode() != 0) {
        error_ = QStringLiteral("zorcam-sim-ctl %1 failed: %2")
                     .arg(args.join(QLatin1Char(' ')), QString::fromLocal8Bit(tool.readAll()));
        return false;
    }
    return true;
}

bool SimMount::WaitForSetting(const std::function<bool(const ZorcamSimTruth&)>& applied) {
    // A frame made with the new setting, then a few more: by then the capture loop
    // has handed at least one of them to the window and come back for the next.
    if (!ServeEventsUntil([&] { return applied(Truth()); })) {
        error_ = QStringLiteral("the simulator did not deliver a frame with the new setting");
        return false;
    }
    if (!WaitFrames(3)) {
        error_ = QStringLiteral("no frames after the new setting");
        return false;
    }
    return true;
}

bool SimMount::Turn(const char* what, double step) {
    const ZorcamSimTruth before = Truth();
    const QString name = QString::fromLatin1(what);
    if (!RunTool({name, QString::number(step, 'f', 4)}))
        return false;
    auto near = [](double a, double b) { return std::abs(a - b) < 1e-3; };
    if (name == QLatin1String("ra"))
        return WaitForSetting(
            [&](const ZorcamSimTruth& t) { return near(t.raAngleDeg, before.raAngleDeg + step); });
    if (name == QLatin1String("alt"))
        return WaitForSetting([&](const ZorcamSimTruth& t) {
            return near(t.altErrArcmin, before.altErrArcmin + step);
        });
    return WaitForSetting(
        [&](const ZorcamSimTruth& t) { return near(t.azErrArcmin, before.azErrArcmin + step); });
}

bool SimMount::Set(const QString& section, const QString& key, const QString& value) {
    const unsigned long long before = Truth().frameIndex;
    if (!RunTool({QStringLiteral("set"), section, key, value}))
        return false;
    // No truth field names every key: the frames after the change will do.
    return WaitForSetting([&](const ZorcamSimTruth& t) { return t.frameIndex >= before + 3; });
}

bool SimMount::SetNow(const QString& section, const QString& key, const QString& value) {
    return RunTool({QStringLiteral("set"), section, key, value});
}
