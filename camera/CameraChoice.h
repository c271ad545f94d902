// Which camera the program uses: the simulated camera or a camera on an INDI
// server, kept in the section [CAMERA] of the settings file.
//
// Usage:
//   CameraChoice choice = LoadCameraChoice(SettingsFilePath());   // defaults when missing
//   choice.kind = CameraChoice::Kind::Indi;  choice.host = "localhost"; ...
//   if (!SaveCameraChoice(SettingsFilePath(), choice)) ...        // only [CAMERA] is rewritten
//   QString lib = CameraLibraryFor(choice);                       // "zorcam" / "zorcam-indi"
//
// Keys: library=sim|indi, indiHost, indiPort, indiDevice (empty: the server's
// first camera), focalLengthMm (0: unknown). The INDI camera library reads the
// same keys from the same file. A missing key or an unreadable value keeps its
// default; other sections and keys of the file stay as they are, and the file is
// replaced whole (a failed save leaves the old one).
#pragma once

#include <QString>

struct CameraChoice {
    enum class Kind { Simulated, Indi };
    Kind kind = Kind::Simulated;
    QString host = QStringLiteral("localhost");
    int port = 7624;
    QString device;
    double focalLengthMm = 0;

    bool operator==(const CameraChoice&) const = default;
};

CameraChoice LoadCameraChoice(const QString& settingsPath);
bool SaveCameraChoice(const QString& settingsPath, const CameraChoice& choice);
QString CameraLibraryFor(const CameraChoice& choice);
