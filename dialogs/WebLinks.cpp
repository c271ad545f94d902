#include "dialogs/WebLinks.h"

#include "core/Log.h"

#include <QDesktopServices>

namespace {
std::function<bool(const QUrl&)>& testOpener() {
    static std::function<bool(const QUrl&)> opener;
    return opener;
}
} // namespace

QUrl WebSiteUrl() {
    return QUrl(QStringLiteral("https://www.example.com/zenithwand/"));
}

QUrl ManualUrl(bool chinese) {
    return QUrl(chinese ? QStringLiteral("https://www.example.com/zenithwand/manual/cn/")
                        : QStringLiteral("https://www.example.com/zenithwand/manual/en/"));
}

bool OpenUrl(const QUrl& url) {
    const bool opened = testOpener() ? testOpener()(url) : QDesktopServices::openUrl(url);
    if (!opened)
        WriteLog(QStringLiteral("Warnning"),
                 QStringLiteral("open ") + url.toString() + QStringLiteral(" failed"));
    return opened;
}

bool OpenWebSite() {
    return OpenUrl(WebSiteUrl());
}

bool OpenManual(bool chinese) {
    return OpenUrl(ManualUrl(chinese));
}

void SetUrlOpenerForTesting(std::function<bool(const QUrl&)> opener) {
    testOpener() = std::move(opener);
}
