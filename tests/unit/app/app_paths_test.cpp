// Where an installed program and one run from its build folder keep their settings.
#include "app/AppPaths.h"

#include <QDir>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

TEST(AppPaths, AProgramWithItsDataUnderShareIsAnInstalledOne) {
    QTemporaryDir root;
    ASSERT_TRUE(root.isValid());
    const QDir top(root.path());
    for (const char* folder : {"usr/bin", "usr/share/zenithwand", "build/bin", "portable"})
        ASSERT_TRUE(top.mkpath(QLatin1String(folder)));

    struct Case {
        const char* programFolder;
        bool installed;
    };
    const Case cases[] = {
        {"usr/bin", true},    // /usr/bin/zenithwand beside /usr/share/zenithwand
        {"build/bin", false}, // a build tree: settings stay beside the program
        {"portable", false},  // an unpacked folder with everything in it
        {"missing/bin", false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(IsInstalledProgram(top.filePath(QLatin1String(c.programFolder))), c.installed)
            << c.programFolder;
}

} // namespace
