// The camera choice in the settings file's [CAMERA] section.
#include "camera/CameraChoice.h"
#include "camera/Zorcamlib.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

namespace {

QString Write(const QTemporaryDir& dir, const QByteArray& text) {
    const QString path = dir.filePath(QStringLiteral("ZenithWand.ini"));
    QFile f(path);
    f.open(QIODevice::WriteOnly | QIODevice::Truncate);
    f.write(text);
    return path;
}

QByteArray Read(const QString& path) {
    QFile f(path);
    f.open(QIODevice::ReadOnly);
    return f.readAll();
}

TEST(CameraChoice, ReadsItsKeysAndKeepsDefaultsForWhatIsMissingOrUnreadable) {
    QTemporaryDir dir;
    struct Case {
        QByteArray file;
        CameraChoice::Kind kind;
        QString host;
        int port;
        QString device;
        double focal;
    };
    const Case cases[] = {
        {"", CameraChoice::Kind::Simulated, "localhost", 7624, "", 0},
        {"[CAMERA]\nlibrary=indi\nindiHost=scope.local\nindiPort=7700\nindiDevice=CCD Simulator\n"
         "focalLengthMm=25.5\n",
         CameraChoice::Kind::Indi, "scope.local", 7700, "CCD Simulator", 25.5},
        {"[camera]\nLIBRARY=INDI\nindiPort=99999\nfocalLengthMm=-3\n", CameraChoice::Kind::Indi,
         "localhost", 7624, "", 0},
        {"[CAMERA]\nlibrary=something\nindiPort=abc\nfocalLengthMm=x\n",
         CameraChoice::Kind::Simulated, "localhost", 7624, "", 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file.toStdString());
        const CameraChoice got = LoadCameraChoice(Write(dir, c.file));
        EXPECT_EQ(got.kind, c.kind);
        EXPECT_EQ(got.host, c.host);
        EXPECT_EQ(got.port, c.port);
        EXPECT_EQ(got.device, c.device);
        EXPECT_DOUBLE_EQ(got.focalLengthMm, c.focal);
    }
}

TEST(CameraChoice, SavingRewritesOnlyItsSection) {
    QTemporaryDir dir;
    const QString path = Write(dir, "[LANGUAGE]\nlang=DE\n[CAMERA]\nlibrary=sim\nmine=1\n");
    CameraChoice c;
    c.kind = CameraChoice::Kind::Indi;
    c.host = QStringLiteral("10.0.0.2");
    c.port = 7625;
    c.device = QStringLiteral("Guide Camera");
    c.focalLengthMm = 30;
    ASSERT_TRUE(SaveCameraChoice(path, c));
    EXPECT_EQ(LoadCameraChoice(path), c);
    const QByteArray text = Read(path);
    EXPECT_TRUE(text.contains("lang=DE"));
    EXPECT_TRUE(text.contains("mine=1"));
    EXPECT_TRUE(text.contains("library=indi"));
    EXPECT_TRUE(text.contains("focalLengthMm=30"));

    EXPECT_FALSE(SaveCameraChoice(dir.filePath(QStringLiteral("no/such/folder/x.ini")), c));
}

TEST(CameraLibraryChoice, CommandLineOverrideWinsOverTheSettings) {
    struct Case {
        const char* override;
        const char* chosen;
        const char* wanted;
    };
    const Case cases[] = {
        {"", "", "zorcam"},
        {"", "zorcam-indi", "zorcam-indi"},
        {"sim", "zorcam-indi", "zorcam"},
        {"INDI", "zorcam", "zorcam-indi"},
        {"/opt/cams/libmycam.so", "zorcam", "/opt/cams/libmycam.so"},
    };
    for (const Case& c : cases) {
        SetCameraLibraryOverride(QString::fromLatin1(c.override));
        SetChosenCameraLibrary(QString::fromLatin1(c.chosen));
        EXPECT_EQ(WantedCameraLibrary(), QString::fromLatin1(c.wanted)) << c.override;
    }
    SetCameraLibraryOverride(QString());
    SetChosenCameraLibrary(QString());
}

} // namespace
