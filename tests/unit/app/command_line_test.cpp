// The program's command line: what runs, what prints and exits, and with which status.
#include "app/CommandLine.h"

#include <gtest/gtest.h>

namespace {

const QString kVersion = QStringLiteral("Version 1.3.2.8");

CommandLine Parse(QStringList arguments) {
    arguments.prepend(QStringLiteral("/usr/bin/zenithwand"));
    return ParseCommandLine(arguments, kVersion);
}

TEST(CommandLine, StartsTheProgramWithTheChosenCameraLibrary) {
    struct Case {
        QStringList arguments;
        QString library;
    };
    const Case cases[] = {
        {{}, QString()},
        {{QStringLiteral("--camera-library"), QStringLiteral("zorcam-indi")},
         QStringLiteral("zorcam-indi")},
        {{QStringLiteral("--camera-library=/opt/cams/libzorcam-x.so")},
         QStringLiteral("/opt/cams/libzorcam-x.so")},
        {{QStringLiteral("--camera-library"), QStringLiteral("./libmine.so")},
         QStringLiteral("./libmine.so")},
        // The toolkit's own options pass through to the toolkit.
        {{QStringLiteral("-platform"), QStringLiteral("offscreen"), QStringLiteral("-reverse")},
         QString()},
        {{QStringLiteral("-style"), QStringLiteral("fusion"), QStringLiteral("--camera-library"),
          QStringLiteral("zorcam")},
         QStringLiteral("zorcam")},
    };
    for (const Case& c : cases) {
        const CommandLine cl = Parse(c.arguments);
        SCOPED_TRACE(c.arguments.join(' ').toStdString());
        EXPECT_FALSE(cl.exitNow) << cl.text.toStdString();
        EXPECT_EQ(cl.cameraLibrary, c.library);
    }
}

TEST(CommandLine, HelpAndVersionPrintAndEndWithStatusZero) {
    for (const char* option : {"--help", "-h"}) {
        const CommandLine cl = Parse({QString::fromLatin1(option)});
        EXPECT_TRUE(cl.exitNow);
        EXPECT_EQ(cl.exitCode, 0);
        EXPECT_TRUE(cl.text.startsWith(QStringLiteral("Usage: zenithwand [options]\n")))
            << cl.text.toStdString();
        for (const char* documented : {"--help", "--version", "--camera-library <library>"})
            EXPECT_TRUE(cl.text.contains(QLatin1String(documented))) << documented;
        EXPECT_FALSE(cl.text.contains(QStringLiteral("platform"))) << "toolkit options stay out";
    }
    for (const char* option : {"--version", "-v"}) {
        const CommandLine cl = Parse({QString::fromLatin1(option)});
        EXPECT_TRUE(cl.exitNow);
        EXPECT_EQ(cl.exitCode, 0);
        EXPECT_EQ(cl.text, QStringLiteral("ZenithWand Version 1.3.2.8\n"));
    }
    // Help wins over an option that would start the program.
    const CommandLine both =
        Parse({QStringLiteral("--camera-library"), QStringLiteral("x"), QStringLiteral("--help")});
    EXPECT_TRUE(both.exitNow);
    EXPECT_EQ(both.exitCode, 0);
}

TEST(CommandLine, AWrongCommandLineGivesAShortUsageAndStatusTwo) {
    struct Case {
        QStringList arguments;
        const char* says;
    };
    const Case cases[] = {
        {{QStringLiteral("--frobnicate")}, "frobnicate"},
        {{QStringLiteral("-x")}, "'x'"},
        {{QStringLiteral("--camera-library")}, "camera-library"},
        {{QStringLiteral("--camera-library=")}, "--camera-library needs"},
        {{QStringLiteral("--camera-library"), QStringLiteral("  ")}, "--camera-library needs"},
        {{QStringLiteral("sky.fits")}, "unexpected argument 'sky.fits'"},
        {{QStringLiteral("--version=2")}, "version"},
    };
    for (const Case& c : cases) {
        const CommandLine cl = Parse(c.arguments);
        SCOPED_TRACE(c.arguments.join(' ').toStdString());
        EXPECT_TRUE(cl.exitNow);
        EXPECT_EQ(cl.exitCode, 2);
        EXPECT_TRUE(cl.text.contains(QLatin1String(c.says))) << cl.text.toStdString();
        EXPECT_TRUE(cl.text.contains(QStringLiteral("Try 'zenithwand --help'")));
        EXPECT_LE(cl.text.count(QLatin1Char('\n')), 3) << "a short note, not the whole help";
        EXPECT_TRUE(cl.cameraLibrary.isEmpty());
    }
}

} // namespace
