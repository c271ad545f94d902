// The [GUIDANCE] section of the settings file.
#include "guidance/GuidanceSettings.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

class GuidanceSettingsFile : public ::testing::Test {
protected:
    void Write(const QByteArray& text) {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(text);
    }
    QByteArray Read() const {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }

    QTemporaryDir dir;
    QString path = dir.filePath(QStringLiteral("ZenithWand.ini"));
};

TEST_F(GuidanceSettingsFile, ReadsWithDefaultsWhereKeysAreMissingOrUnusable) {
    struct Case {
        const char* text;
        bool sound;
        double band;
    } cases[] = {
        {"", false, 30.0},
        {"[LANGUAGE]\nlang=DE\n", false, 30.0},
        {"[GUIDANCE]\nsound=1\nband=45\n", true, 45.0},
        {"[GUIDANCE]\nsound=yes\nband=0\n", false, 30.0},
        {"[GUIDANCE]\nsound=0\nband=nan\n", false, 30.0},
        {"[GUIDANCE]\nband=1e9\n", false, 30.0},
    };
    for (const Case& c : cases) {
        Write(c.text);
        const GuidanceSettings s = LoadGuidanceSettings(path);
        EXPECT_EQ(s.sound, c.sound) << c.text;
        EXPECT_EQ(s.bandArcsec, c.band) << c.text;
    }
    EXPECT_FALSE(LoadGuidanceSettings(dir.filePath("missing.ini")).sound);
}

TEST_F(GuidanceSettingsFile, SavingKeepsTheOtherSectionsAndReadsBack) {
    Write("[LANGUAGE]\nlang=DE\n[ZOOM]\nfactor=0.75\n");
    ASSERT_TRUE(SaveGuidanceSettings(path, {true, 20.0}));
    const GuidanceSettings s = LoadGuidanceSettings(path);
    EXPECT_TRUE(s.sound);
    EXPECT_EQ(s.bandArcsec, 20.0);
    const QByteArray text = Read();
    EXPECT_TRUE(text.contains("lang=DE"));
    EXPECT_TRUE(text.contains("factor=0.75"));
    EXPECT_TRUE(text.contains("[GUIDANCE]"));
    EXPECT_TRUE(text.contains("sound=1"));

    // A settings file that is a folder is not overwritten.
    EXPECT_FALSE(SaveGuidanceSettings(dir.path(), {true, 20.0}));
}

// A line that opens a section without closing it must not make the file grow a line
// on every save (the other sections' readers share the main settings' reading).
TEST_F(GuidanceSettingsFile, AnUnclosedSectionLineDoesNotGrowTheFileOnEverySave) {
    Write("[LANGUAGE]\nlang=DE\n[ZOOM\nfactor=0.75\n");
    ASSERT_TRUE(SaveGuidanceSettings(path, {true, 20.0}));
    const QByteArray once = Read();
    ASSERT_TRUE(SaveGuidanceSettings(path, {true, 20.0}));
    EXPECT_EQ(Read(), once);
    EXPECT_TRUE(LoadGuidanceSettings(path).sound);
}

} // namespace
