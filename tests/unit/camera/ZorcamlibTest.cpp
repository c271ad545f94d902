// Loading the camera library: found beside the program, every entry point looked
// up, and what the user is told when the library or an entry point is missing.
#include "camera/Zorcamlib.h"
#include "dialogs/MessageBoxes.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QStringList>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

class CameraLibrary : public ::testing::Test {
protected:
    void SetUp() override {
        SetMessageBoxHandlerForTesting([this](const QString&, const QString& text) {
            messages << text;
            return false;
        });
    }
    void TearDown() override {
        SetCameraLibraryNameForTesting(QString());
        LoadCameraLibrary(); // the real one again for the tests that follow
        SetMessageBoxHandlerForTesting(nullptr);
    }
    QStringList messages;
};

TEST_F(CameraLibrary, FindsTheLibraryBesideTheProgramWithAllEntryPoints) {
    LoadCameraLibrary();
    EXPECT_TRUE(messages.isEmpty()) << messages.join('\n').toStdString();
    for (int i = 0; i < kZorcamEntryPointCount; ++i)
        EXPECT_TRUE(ZorcamEntryPointFound(i)) << ZorcamEntryPointName(i);
    EXPECT_STREQ(ZorcamEntryPointName(0), "InitZORCAMResource");
    EXPECT_STREQ(ZorcamEntryPointName(20), "GetZORCAMParam");
}

TEST_F(CameraLibrary, AMissingLibraryIsReportedOnceAndEveryCallFails) {
    SetCameraLibraryNameForTesting(QStringLiteral("zorcam_not_installed"));
    LoadCameraLibrary();
    EXPECT_EQ(messages, QStringList{QStringLiteral("加载zorcam.dll失败")});

    char id[ZORCAM_ID_LENGTH] = {};
    std::uint32_t w = 0, h = 0, bpp = 0, ch = 0;
    unsigned char buffer[16] = {};
    EXPECT_NE(ZorcamInitResource(), 0);
    EXPECT_EQ(ZorcamScan(), 0);
    EXPECT_NE(ZorcamGetId(0, id), 0);
    EXPECT_EQ(ZorcamOpen(id), 0u);
    EXPECT_NE(ZorcamSetStreamMode(1, 1), 0);
    EXPECT_NE(ZorcamInit(1), 0);
    EXPECT_NE(ZorcamSetResolution(1, 0, 0, 1280, 960), 0);
    EXPECT_NE(ZorcamSetParam(1, ZORCAM_CONTROL_GAIN, 50), 0);
    EXPECT_NE(ZorcamBeginLive(1), 0);
    EXPECT_NE(ZorcamGetLiveFrame(1, &w, &h, &bpp, &ch, buffer), 0);
    EXPECT_NE(ZorcamStopLive(1), 0);
    EXPECT_NE(ZorcamClose(1), 0);
    EXPECT_NE(ZorcamReleaseResource(), 0);
}

TEST_F(CameraLibrary, EachMissingEntryPointIsReportedInOrderAndAnswersWithAFailure) {
    SetCameraLibraryNameForTesting(QStringLiteral("zorcam_partial"));
    LoadCameraLibrary();

    QStringList expected;
    for (int i = 0; i < kZorcamEntryPointCount; ++i) {
        const QString name = QLatin1String(ZorcamEntryPointName(i));
        const bool present = name == "InitZORCAMResource" || name == "ScanZORCAM";
        EXPECT_EQ(ZorcamEntryPointFound(i), present) << name.toStdString();
        if (!present)
            expected << QStringLiteral("获取") + name + QStringLiteral("函数地址失败");
    }
    EXPECT_EQ(messages, expected);
    ASSERT_EQ(messages.size(), 19);
    EXPECT_EQ(messages.first(), QStringLiteral("获取ReleaseZORCAMResource函数地址失败"));

    // The two that exist are called; the rest fail at once.
    EXPECT_EQ(ZorcamInitResource(), 0);
    EXPECT_EQ(ZorcamScan(), 1);
    char id[ZORCAM_ID_LENGTH] = {};
    EXPECT_NE(ZorcamGetId(0, id), 0);
    EXPECT_EQ(ZorcamOpen("ZENITHWAND"), 0u);
    EXPECT_NE(ZorcamReleaseResource(), 0);
}

// The user's choice from the command line: a base name is looked up like the
// default one, a path (absolute or relative to the current folder) is loaded as is.
TEST_F(CameraLibrary, TheUsersChoiceOfLibraryIsLoadedByNameOrPath) {
    QTemporaryDir elsewhere;
    ASSERT_TRUE(elsewhere.isValid());
    const QString partial = QDir(QCoreApplication::applicationDirPath())
                                .filePath(QStringLiteral("libzorcam_partial.so"));
    const QString copy = elsewhere.filePath(QStringLiteral("libmycamera.so"));
    ASSERT_TRUE(QFile::copy(partial, copy));
    const QString startFolder = QDir::currentPath();

    const QString choices[] = {QStringLiteral("zorcam_partial"), copy,
                               QStringLiteral("./libmycamera.so")};
    for (const QString& choice : choices) {
        SCOPED_TRACE(choice.toStdString());
        ASSERT_TRUE(QDir::setCurrent(elsewhere.path()));
        SetCameraLibraryOverride(choice);
        ASSERT_TRUE(
            QDir::setCurrent(startFolder)); // a relative path counts from where it was given
        messages.clear();
        LoadCameraLibrary();
        EXPECT_FALSE(messages.contains(QStringLiteral("加载zorcam.dll失败")));
        EXPECT_TRUE(ZorcamEntryPointFound(0)) << "InitZORCAMResource";
        EXPECT_FALSE(ZorcamEntryPointFound(1)) << "the partial library, not the default one";
    }

    SetCameraLibraryOverride(elsewhere.filePath(QStringLiteral("libnothere.so")));
    messages.clear();
    LoadCameraLibrary();
    EXPECT_EQ(messages, QStringList{QStringLiteral("加载zorcam.dll失败")});
}

} // namespace
