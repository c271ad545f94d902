#include "app/Settings.h"
#include "core/Log.h"

#include <QDir>
#include <QFile>
#include <QFileDevice>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <functional>

#include <SimpleIni.h>

namespace {

class SettingsTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        path = dir.filePath(QStringLiteral("ZenithWand.ini"));
        g_logFilePath = dir.filePath(QStringLiteral("run.log"));
    }
    void TearDown() override { g_logFilePath.clear(); }

    void writeFile(const QByteArray& text) {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(text);
    }
    QByteArray fileText() const {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    QByteArray logText() const {
        QFile f(g_logFilePath);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    // Saves `info`, then loads and saves it `more` times again: every later save
    // must write the file the first one wrote.
    void expectSavesWriteTheSameFile(INIFILEINFO& info, int more) {
        ASSERT_TRUE(SaveSettingsFile(path, info));
        const QByteArray first = fileText();
        for (int i = 0; i < more; ++i) {
            ASSERT_TRUE(LoadSettingsFile(path, info));
            ASSERT_TRUE(SaveSettingsFile(path, info));
        }
        EXPECT_EQ(fileText(), first);
    }
    std::string value(const char* section, const char* key) const {
        CSimpleIniA ini;
        const QByteArray text = fileText();
        ini.LoadData(text.constData(), static_cast<size_t>(text.size()));
        const char* v = ini.GetValue(section, key, nullptr);
        return v ? v : "<missing>";
    }

    QTemporaryDir dir;
    QString path;
};

TEST_F(SettingsTest, FirstRunWithoutAFileReadsDefaultsAndWritesThem) {
    INIFILEINFO info; // window-creation values (P 101.0)
    ASSERT_TRUE(LoadSettingsFile(path, info));
    EXPECT_EQ(info.region, "N");
    EXPECT_EQ(info.lang, "EN");
    EXPECT_EQ(info.style, "Color");
    EXPECT_FLOAT_EQ(info.factor, 1.0f);
    EXPECT_DOUBLE_EQ(info.P, 100.0); // the missing key's default, not the creation value
    EXPECT_TRUE(logText().isEmpty());

    ASSERT_TRUE(SaveSettingsFile(path, info));
    const std::pair<std::pair<const char*, const char*>, const char*> expected[] = {
        {{"LANGUAGE", "lang"}, "EN"},
        {{"ZOOM", "factor"}, "1"},
        {{"REGION", "region"}, "N"},
        {{"VIEW", "style"}, "Color"},
        {{"CIRCLECENTER", "x"}, "0"},
        {{"CIRCLECENTER", "y"}, "0"},
        {{"ASTRONOMICAL_REFRACTION", "latitude"}, "39.9"},
        {{"ASTRONOMICAL_REFRACTION", "longitude"}, "116.3"},
        {{"ASTRONOMICAL_REFRACTION", "P"}, "100"},
        {{"ASTRONOMICAL_REFRACTION", "P_UnitType"}, "0"},
        {{"ASTRONOMICAL_REFRACTION", "T"}, "10"},
        {{"ASTRONOMICAL_REFRACTION", "isCorrection"}, "0"},
        {{"STAR_DATA", "source"}, "date"},
    };
    for (const auto& [key, v] : expected)
        EXPECT_EQ(value(key.first, key.second), v) << key.first << "/" << key.second;
}

TEST_F(SettingsTest, ChangedValuesSurviveARoundTrip) {
    INIFILEINFO out;
    out.region = QStringLiteral("S");
    out.lang = QStringLiteral("JP");
    out.factor = 0.75f;
    out.style = QStringLiteral("Mono");
    out.centerX = 612.25;
    out.centerY = 455.125;
    out.latitude = -33.5;
    out.longitude = 151.2;
    out.P = 1013;
    out.P_UnitType = 1;
    out.T = -4.5;
    out.isCorrection = true;
    out.starDataSource = QStringLiteral("table");
    ASSERT_TRUE(SaveSettingsFile(path, out));
    EXPECT_EQ(value("ZOOM", "factor"), "0.75");

    INIFILEINFO in;
    ASSERT_TRUE(LoadSettingsFile(path, in));
    EXPECT_EQ(in.region, out.region);
    EXPECT_EQ(in.lang, out.lang);
    EXPECT_FLOAT_EQ(in.factor, out.factor);
    EXPECT_EQ(in.style, out.style);
    EXPECT_DOUBLE_EQ(in.centerX, out.centerX);
    EXPECT_DOUBLE_EQ(in.centerY, out.centerY);
    EXPECT_DOUBLE_EQ(in.latitude, out.latitude);
    EXPECT_DOUBLE_EQ(in.longitude, out.longitude);
    EXPECT_DOUBLE_EQ(in.P, out.P);
    EXPECT_EQ(in.P_UnitType, 1);
    EXPECT_DOUBLE_EQ(in.T, out.T);
    EXPECT_TRUE(in.isCorrection);
    EXPECT_EQ(in.starDataSource, "table");
}

TEST_F(SettingsTest, UnreadableValuesTakeTheirDefaultsAndWordsStayAsWritten) {
    struct Case {
        const char* text;
        std::function<void(const INIFILEINFO&)> check;
    };
    const Case cases[] = {
        {"[ZOOM]\nfactor=abc\n", [](const INIFILEINFO& i) { EXPECT_FLOAT_EQ(i.factor, 1.0f); }},
        {"[ZOOM]\nfactor=nan\n", [](const INIFILEINFO& i) { EXPECT_FLOAT_EQ(i.factor, 1.0f); }},
        {"[ZOOM]\nfactor=0\n", [](const INIFILEINFO& i) { EXPECT_FLOAT_EQ(i.factor, 1.0f); }},
        {"[ZOOM]\nfactor=4.5\n", [](const INIFILEINFO& i) { EXPECT_FLOAT_EQ(i.factor, 1.0f); }},
        {"[ZOOM]\nfactor=0.5\n", [](const INIFILEINFO& i) { EXPECT_FLOAT_EQ(i.factor, 0.5f); }},
        {"[LANGUAGE]\nlang=\n", [](const INIFILEINFO& i) { EXPECT_EQ(i.lang, ""); }},
        {"[LANGUAGE]\nlang=de\n", [](const INIFILEINFO& i) { EXPECT_EQ(i.lang, "de"); }},
        {"[VIEW]\nstyle=mono\n", [](const INIFILEINFO& i) { EXPECT_EQ(i.style, "mono"); }},
        {"[astronomical_refraction]\nLATITUDE=12.5\n",
         [](const INIFILEINFO& i) { EXPECT_DOUBLE_EQ(i.latitude, 12.5); }},
        {"[ASTRONOMICAL_REFRACTION]\nT=inf\nP=x\n",
         [](const INIFILEINFO& i) {
             EXPECT_DOUBLE_EQ(i.T, 10.0);
             EXPECT_DOUBLE_EQ(i.P, 100.0);
         }},
        {"[ASTRONOMICAL_REFRACTION]\nP_UnitType=0x1\nisCorrection=7\n",
         [](const INIFILEINFO& i) {
             EXPECT_EQ(i.P_UnitType, 1);
             EXPECT_TRUE(i.isCorrection);
         }},
        {"[ASTRONOMICAL_REFRACTION]\nP_UnitType=one\nisCorrection=yes\n",
         [](const INIFILEINFO& i) {
             EXPECT_EQ(i.P_UnitType, 0);
             EXPECT_FALSE(i.isCorrection);
         }},
    };
    for (const Case& c : cases) {
        writeFile(c.text);
        INIFILEINFO info;
        ASSERT_TRUE(LoadSettingsFile(path, info)) << c.text;
        SCOPED_TRACE(c.text);
        c.check(info);
    }
    EXPECT_TRUE(logText().isEmpty());
}

TEST_F(SettingsTest, TheSiteAndTheAirOfTheRefraction) {
    struct Case {
        const char* text;
        std::function<void(const INIFILEINFO&)> check;
    };
    const Case cases[] = {
        // An older file: no site given yet, ERFA's refraction with its usual air.
        {"[ASTRONOMICAL_REFRACTION]\nlatitude=39.9\nlongitude=116.3\n",
         [](const INIFILEINFO& i) {
             EXPECT_FALSE(i.siteSet);
             EXPECT_EQ(i.refractionModel, "erfa");
             EXPECT_DOUBLE_EQ(i.humidity, 0.5);
             EXPECT_DOUBLE_EQ(i.wavelength, 0.55);
         }},
        {"[ASTRONOMICAL_REFRACTION]\nlatitude=-33.9\nlongitude=-70.7\n[SITE]\nset=1\n",
         [](const INIFILEINFO& i) {
             EXPECT_TRUE(i.siteSet);
             EXPECT_DOUBLE_EQ(i.latitude, -33.9);
             EXPECT_DOUBLE_EQ(i.longitude, -70.7);
         }},
        {"[ASTRONOMICAL_REFRACTION]\nlatitude=-91\nlongitude=181\n",
         [](const INIFILEINFO& i) {
             EXPECT_DOUBLE_EQ(i.latitude, 39.9);
             EXPECT_DOUBLE_EQ(i.longitude, 116.3);
         }},
        // No pressure written: the standard air of the site's elevation, in its unit.
        {"[SITE]\nset=1\nelevation=2400\n",
         [](const INIFILEINFO& i) { EXPECT_NEAR(i.P, 75.62, 0.01); }},
        {"[SITE]\nset=1\nelevation=2400\n[ASTRONOMICAL_REFRACTION]\nP_UnitType=1\n",
         [](const INIFILEINFO& i) { EXPECT_NEAR(i.P, 756.2, 0.1); }},
        {"[SITE]\nset=1\nelevation=2400\n[ASTRONOMICAL_REFRACTION]\nP=80\n",
         [](const INIFILEINFO& i) { EXPECT_DOUBLE_EQ(i.P, 80.0); }},
        {"[REFRACTION]\nmodel=Formula\nhumidity=1.5\nwavelength=abc\n",
         [](const INIFILEINFO& i) {
             EXPECT_EQ(i.refractionModel, "formula");
             EXPECT_DOUBLE_EQ(i.humidity, 0.5);
             EXPECT_DOUBLE_EQ(i.wavelength, 0.55);
         }},
    };
    for (const Case& c : cases) {
        writeFile(c.text);
        INIFILEINFO info;
        ASSERT_TRUE(LoadSettingsFile(path, info)) << c.text;
        SCOPED_TRACE(c.text);
        c.check(info);
    }

    INIFILEINFO out;
    out.siteSet = true;
    out.latitude = -60.25;
    out.elevation = 1350.5;
    out.refractionModel = QStringLiteral("formula");
    out.humidity = 0.8;
    out.wavelength = 0.65;
    ASSERT_TRUE(SaveSettingsFile(path, out));
    EXPECT_EQ(value("SITE", "set"), "1");
    EXPECT_EQ(value("ASTRONOMICAL_REFRACTION", "latitude"), "-60.25");
    INIFILEINFO in;
    ASSERT_TRUE(LoadSettingsFile(path, in));
    EXPECT_TRUE(in.siteSet);
    EXPECT_DOUBLE_EQ(in.latitude, -60.25);
    EXPECT_DOUBLE_EQ(in.elevation, 1350.5);
    EXPECT_EQ(in.refractionModel, "formula");
    EXPECT_DOUBLE_EQ(in.humidity, 0.8);
    EXPECT_DOUBLE_EQ(in.wavelength, 0.65);
}

TEST_F(SettingsTest, ForeignSectionsAndKeysAreKept) {
    writeFile("[MYTOOL]\ncolour=blue\n[VIEW]\nstyle=Mono\nextra=42\n");
    INIFILEINFO info;
    ASSERT_TRUE(LoadSettingsFile(path, info));
    info.style = QStringLiteral("Color");
    ASSERT_TRUE(SaveSettingsFile(path, info));
    EXPECT_EQ(value("MYTOOL", "colour"), "blue");
    EXPECT_EQ(value("VIEW", "extra"), "42");
    EXPECT_EQ(value("VIEW", "style"), "Color");
    // The twelve keys come after the other keys of their section.
    const QByteArray text = fileText();
    EXPECT_LT(text.indexOf("extra=42"), text.indexOf("style"));
}

TEST_F(SettingsTest, ASectionLineWithoutItsClosingBracketNeitherGrowsNorMovesTheFile) {
    // "[ZOOM" alone (also first behind the UTF-8 mark): the keys after it stay in
    // the section before it, and saving again and again writes the same file.
    writeFile("\xEF\xBB\xBF[START\nfirst=1\n[MYTOOL]\ncolour=blue\n[ZOOM\nfactor=2\n[VIEW]\n"
              "style=Mono\n");
    INIFILEINFO info;
    ASSERT_TRUE(LoadSettingsFile(path, info));
    EXPECT_FLOAT_EQ(info.factor, 1.0f);
    EXPECT_EQ(info.style, "Mono");
    expectSavesWriteTheSameFile(info, 3);
    EXPECT_EQ(value("MYTOOL", "colour"), "blue");
    EXPECT_EQ(value("MYTOOL", "factor"), "2");
    EXPECT_EQ(value("ZOOM", "factor"), "1");
    EXPECT_EQ(value("", "first"), "1");
    EXPECT_TRUE(logText().isEmpty());
}

TEST_F(SettingsTest, StrayByteOrderMarksAtLineStartsAreDroppedOnceAndForAll) {
    // A second mark behind the file's own, and one before a key: the first save
    // writes the file that every later save writes again.
    for (const char* text : {"\xEF\xBB\xBF\xEF\xBB\xBF[Z2t=O\n[VIEW]\nstyle=Mono\n",
                             "\xEF\xBB\xBF\xEF\xBB\xBFtool=1\n\xEF\xBB\xBF[VIEW]\nstyle=Mono\n"}) {
        SCOPED_TRACE(text);
        writeFile(text);
        INIFILEINFO info;
        ASSERT_TRUE(LoadSettingsFile(path, info));
        EXPECT_EQ(info.style, "Mono");
        expectSavesWriteTheSameFile(info, 2);
        EXPECT_EQ(info.style, "Mono");
    }
    EXPECT_EQ(value("", "tool"), "1");
}

TEST_F(SettingsTest, AFolderThatCannotBeWrittenLogsTheSaveFailureAndKeepsTheOldFile) {
    writeFile("[LANGUAGE]\nlang=FR\n");
    QFile::setPermissions(dir.path(), QFileDevice::ReadOwner | QFileDevice::ExeOwner);
    INIFILEINFO info;
    info.lang = QStringLiteral("DE");
    const bool saved = SaveSettingsFile(path, info);
    QFile::setPermissions(dir.path(),
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    if (saved)
        GTEST_SKIP() << "running as a user that writes into read-only folders (root)";
    EXPECT_TRUE(
        logText().contains("\t[Error]\tsaveParamsToIni - open ZenithWand.ini file failed!\r\n"));
    EXPECT_EQ(fileText(), QByteArray("[LANGUAGE]\nlang=FR\n"));
}

TEST_F(SettingsTest, ALocationThatCannotHoldTheFileLogsTheSaveFailure) {
    // A plain file where the folder should be: no user, root included, can write there.
    QFile blocker(dir.filePath(QStringLiteral("blocked")));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    INIFILEINFO info;
    EXPECT_FALSE(SaveSettingsFile(dir.filePath(QStringLiteral("blocked/ZenithWand.ini")), info));
    EXPECT_TRUE(
        logText().endsWith("\t[Error]\tsaveParamsToIni - open ZenithWand.ini file failed!\r\n"));
}

TEST_F(SettingsTest, AnUnreadableFileLogsTheLoadFailure) {
    // A folder where the file should be cannot be read as a file.
    QDir(dir.path()).mkdir(QStringLiteral("ZenithWand.ini"));
    INIFILEINFO info;
    info.lang = QStringLiteral("KR");
    EXPECT_FALSE(LoadSettingsFile(path, info));
    EXPECT_EQ(info.lang, "KR");
    EXPECT_TRUE(
        logText().contains("\t[Error]\tloadParamsFromIni - open ZenithWand.ini file failed!\r\n"));
}

} // namespace
