// The language menu: menus, wizard tips, the labels of every window, their fonts and
// the message boxes follow the chosen language; English gives back the design texts.
#include "WindowsFixture.h"

#include "app/Expander.h"
#include "dialogs/AtmRefFormUnit.h"
#include "dialogs/MessageBoxes.h"
#include "i18n/Languages.h"
#include "i18n/TextRecords.h"
#include "ui_FormMain.h"

#include <QAbstractButton>
#include <QAction>
#include <QComboBox>
#include <QFontMetrics>
#include <QGroupBox>
#include <QLabel>
#include <QMap>
#include <QMenu>

#include <algorithm>

namespace {

const QString kMissingCamera = QStringLiteral("Not Found ZORCAM ZenithWand equipment!");
const QString kStarPickFailed = QStringLiteral("Get the Star Position failed, please try again.");
const QString kCredit = QStringLiteral("English translation by the ZenithWand team");

// Every text a user reads in the windows' controls, by "window/control[#item]".
QMap<QString, QString> ControlTexts(const QList<QWidget*>& windows) {
    QMap<QString, QString> out;
    for (QWidget* window : windows) {
        if (!window)
            continue;
        QList<QWidget*> all = window->findChildren<QWidget*>();
        all.prepend(window);
        for (QWidget* w : all) {
            const QString id = window->objectName() + '/' + w->objectName();
            if (auto* e = qobject_cast<Expander*>(w))
                out[id] = e->text();
            else if (auto* b = qobject_cast<QAbstractButton*>(w)) {
                if (!qobject_cast<Expander*>(w->parentWidget()))
                    out[id] = b->text();
            } else if (auto* l = qobject_cast<QLabel*>(w))
                out[id] = l->text();
            else if (auto* g = qobject_cast<QGroupBox*>(w))
                out[id] = g->title();
            else if (auto* c = qobject_cast<QComboBox*>(w))
                for (int i = 0; i < c->count(); ++i)
                    out[id + '#' + QString::number(i)] = c->itemText(i);
        }
    }
    return out;
}

MESSAGETIPS TipsOf(const QString& lang, const QString& region) {
    MESSAGETIPS tips;
    EXPECT_TRUE(LoadTipRecord(lang, region, tips));
    return tips;
}

MENUS MenusOf(const QString& lang) {
    MENUS menus;
    EXPECT_TRUE(LoadMenuRecord(lang, menus));
    return menus;
}

class LanguageSwitch : public WindowsFixture {
protected:
    QList<QWidget*> allWindows() {
        return {&windows->main, &windows->about, &windows->atmRef, &windows->trace};
    }
    QAction* itemOf(const QString& code) {
        auto* item = main().findChild<QAction*>(LanguageFor(code).menuItemName);
        EXPECT_NE(item, nullptr) << code.toStdString();
        return item;
    }
    void choose(const QString& code) { itemOf(code)->trigger(); }
    QString expanderText(const char* name) {
        return main().findChild<Expander*>(QLatin1String(name))->text();
    }
};

TEST_F(LanguageSwitch, EveryLanguageTranslatesAllWindowsAndEnglishGivesTheDesignTextsBack) {
    start();
    const QMap<QString, QString> english = ControlTexts(allWindows());
    // The controls the dictionaries are made for are all reached.
    for (const char* id :
         {"FormMain/Expander_rough", "FormMain/RadioBtn_north", "FormMain/GrpBox_mask_rough",
          "FormMain/Label_note", "FormMain/Btn_calcPolarAxis", "FormAbout/Button_ok",
          "FormAbout/Label_thanksMsg", "FormAtmRef/CheckBox_astroRef",
          "FormAtmRef/ComboBox_pressure#1", "FormAtmRef/Label_T", "FormTrace/Btn_reset",
          "FormTrace/Label_arcDial"})
        EXPECT_TRUE(english.contains(QLatin1String(id))) << id;

    for (const LanguageInfo& lang : Languages()) {
        if (lang.code == QLatin1String("EN"))
            continue;
        SCOPED_TRACE(lang.code.toStdString());
        choose(lang.code);
        const QHash<QString, QString> dict = LoadLabelDictionary(lang.code);
        const QMap<QString, QString> shown = ControlTexts(allWindows());
        int translated = 0;
        for (auto it = english.cbegin(); it != english.cend(); ++it) {
            const QString expected = dict.value(it.value(), it.value());
            EXPECT_EQ(shown.value(it.key()), expected) << it.key().toStdString();
            translated += expected != it.value();
        }
        EXPECT_GE(translated, 30);
    }
    choose("EN");
    EXPECT_EQ(ControlTexts(allWindows()), english);
}

TEST_F(LanguageSwitch, JapaneseInStepFourShowsTheStepsTipMenusAndLabelsInJapanese) {
    start();
    main().wizardStep = 4;
    choose("JP");

    EXPECT_EQ(logAfterShow(), QStringList{"[Info] switch language to JP"});
    EXPECT_EQ(main().curLang, "JP");
    EXPECT_EQ(g_iniFileInfo.lang, "JP");
    EXPECT_TRUE(itemOf("JP")->isChecked());
    EXPECT_FALSE(itemOf("EN")->isChecked());

    const MENUS menus = MenusOf("JP");
    Ui::TFormMain* ui = main().ui;
    EXPECT_EQ(ui->MenuItem_file->title(), menus.FileMenu);
    EXPECT_EQ(ui->MenuItem_connect->text(), menus.ConnectMenu);
    EXPECT_EQ(ui->MenuItem_astroRef->text(), menus.AstroRefMenu);
    EXPECT_EQ(ui->MenuItem_manual->text(), menus.ManualMenu);
    EXPECT_EQ(ui->MenuItem_lang_cn->text(), QString::fromUtf8("简体中文")); // fixed texts
    // Which way the longitude counts, beside it in the refraction window.
    ASSERT_FALSE(menus.LongitudeTip.isEmpty());
    EXPECT_NE(menus.LongitudeTip, MenusOf("EN").LongitudeTip);
    for (const char* name : {"Label_longitude", "SpinBox_longitude"})
        EXPECT_EQ(FormAtmRef->findChild<QWidget*>(QLatin1String(name))->toolTip(),
                  menus.LongitudeTip)
            << name;
    EXPECT_EQ(ui->MenuItem_100->text(), "100%");

    // "MS Gothic" or the installed family that stands in for it on this system.
    const QString gothic = ResolveFontFamily("MS Gothic", QFontDatabase::Japanese);
    EXPECT_EQ(ui->MenuItem_exit->font().family(), gothic);
    for (QWidget* w :
         {static_cast<QWidget*>(ui->Label_note), static_cast<QWidget*>(ui->GrpBox_axis),
          static_cast<QWidget*>(ui->Btn_calcPolarAxis)})
        EXPECT_EQ(w->font().family(), gothic) << w->objectName().toStdString();
    EXPECT_EQ(ui->Label_note->text(),
              LoadLabelDictionary("JP").value("(Selece the same star every times)"));

    const MESSAGETIPS tips = TipsOf("JP", "N");
    EXPECT_EQ(ui->Text_tip->text(), tips.RotateFirstTip);
    EXPECT_EQ(ui->Label_ask->text(), tips.RotateFirstAsk);
    EXPECT_EQ(ui->Btn1_tip->text(), tips.RotateFirstBtn1Text);
    EXPECT_EQ(ui->Btn2_tip->text(), tips.RotateFirstBtn2Text);
    EXPECT_TRUE(ui->Rectangle_tipMsg->isVisible());
    for (QWidget* w : {static_cast<QWidget*>(ui->Text_tip), static_cast<QWidget*>(ui->Label_ask),
                       static_cast<QWidget*>(ui->Btn1_tip), static_cast<QWidget*>(ui->Btn2_tip)})
        EXPECT_EQ(ResolveFontFamily(w->font().family(), QFontDatabase::Japanese), gothic)
            << w->objectName().toStdString();
}

TEST_F(LanguageSwitch, ChoosingTheLanguageInForceDoesNothing) {
    start();
    g_menuTexts.FileMenu = QStringLiteral("left alone");
    choose("EN");
    EXPECT_TRUE(logAfterShow().isEmpty());
    EXPECT_EQ(g_menuTexts.FileMenu, "left alone");

    choose("DE");
    choose("DE");
    EXPECT_EQ(logAfterShow(), QStringList{"[Info] switch language to DE"});
    EXPECT_EQ(main().ui->MenuItem_file->title(), MenusOf("DE").FileMenu);
}

TEST_F(LanguageSwitch, ASettingsCodeThatIsNoLanguageStartsInEnglish) {
    for (const char* code : {"de", "Jp", "XX", ""}) {
        SCOPED_TRACE(code);
        writeSettings(QByteArray("[LANGUAGE]\nlang=") + code + "\n");
        start();
        EXPECT_EQ(main().curLang, QLatin1String(code));
        EXPECT_TRUE(itemOf("EN")->isChecked());
        EXPECT_EQ(main().ui->MenuItem_file->title(), "File");
        EXPECT_EQ(expanderText("Expander_rough"), "Rough Pole");
        EXPECT_EQ(g_tipTexts.ConfirmPolarisTip, TipsOf("EN", "N").ConfirmPolarisTip);

        // Choosing a language then switches as usual.
        choose("DE");
        EXPECT_EQ(logAfterShow(), QStringList{"[Info] switch language to DE"});
        EXPECT_EQ(main().ui->MenuItem_file->title(), MenusOf("DE").FileMenu);
        EXPECT_EQ(expanderText("Expander_rough"), LoadLabelDictionary("DE").value("Rough Pole"));
        windows.reset();
    }
}

TEST_F(LanguageSwitch, ARegionOtherThanExactlyNLoadsTheSouthernTips) {
    struct Case {
        const char* region;
        const char* table;
    };
    for (const Case& c : {Case{"N", "N"}, Case{"S", "S"}, Case{"n", "S"}, Case{"", "S"}}) {
        SCOPED_TRACE(c.region);
        writeSettings(QByteArray("[REGION]\nregion=") + c.region + "\n");
        start();
        EXPECT_EQ(g_tipTexts.ZenithWandSettingTip, TipsOf("EN", c.table).ZenithWandSettingTip);
        choose("FR");
        EXPECT_EQ(g_tipTexts.MovePolarisTip, TipsOf("FR", c.table).MovePolarisTip);
        EXPECT_EQ(g_tipTexts.FontFamily, TipsOf("FR", c.table).FontFamily);
        windows.reset();
    }
}

TEST_F(LanguageSwitch, ABlankCreditLineShowsABlankAndEnglishBringsTheCreditBack) {
    start();
    QLabel* credit = windows->about.findChild<QLabel*>("Label_thanksMsg");
    ASSERT_NE(credit, nullptr);
    for (const char* code : {"KR", "JP", "ES", "PT", "IT"}) {
        SCOPED_TRACE(code);
        choose(code);
        EXPECT_EQ(credit->text(), " ");
        choose("DE"); // from one translation to another
        EXPECT_EQ(credit->text(), LoadLabelDictionary("DE").value(kCredit));
        EXPECT_NE(credit->text(), kCredit);
    }
    choose("EN");
    EXPECT_EQ(credit->text(), kCredit);
}

TEST_F(LanguageSwitch, TextsSetByTheProgramAreLeftAsTheyAre) {
    start();
    choose("DE");
    main().ui->Label_criCenterPos->setText("(612,455)");
    main().ui->Label_star1->setText("set while German");
    choose("RU");
    EXPECT_EQ(main().ui->Label_criCenterPos->text(), "(612,455)");
    EXPECT_EQ(main().ui->Label_star1->text(), "set while German");
    // A key the program puts up is looked up like any design text.
    main().ui->Label_star1->setText("Star Pos 1");
    choose("FR");
    EXPECT_EQ(main().ui->Label_star1->text(), LoadLabelDictionary("FR").value("Star Pos 1"));
    choose("EN");
    EXPECT_EQ(main().ui->Label_star1->text(), "Star Pos 1");
}

TEST_F(LanguageSwitch, MessageBoxesShowTheirTextThroughTheDictionaryInForce) {
    start();
    for (const LanguageInfo& lang : Languages()) {
        SCOPED_TRACE(lang.code.toStdString());
        choose(lang.code);
        messages.clear();
        ShowMessage(kMissingCamera);
        ShowMessage(kStarPickFailed);
        const QString missing = LoadLabelDictionary(lang.code).value(kMissingCamera);
        EXPECT_EQ(messages, QStringList({"message: " + missing, "message: " + kStarPickFailed}));
        if (lang.code == QLatin1String("KR")) {
            EXPECT_NE(missing, kMissingCamera);
            EXPECT_TRUE(std::any_of(missing.cbegin(), missing.cend(), [](QChar ch) {
                return ch.unicode() >= 0xAC00 && ch.unicode() <= 0xD7A3; // Hangul syllables
            }));
        }
    }
}

TEST_F(LanguageSwitch, TheChosenFontsDrawEveryCharacterOfTheLabelsAndMenus) {
    start();
    for (const LanguageInfo& lang : Languages()) {
        SCOPED_TRACE(lang.code.toStdString());
        choose(lang.code);
        Ui::TFormMain* ui = main().ui;
        QList<std::pair<QFont, QString>> shown = {
            {ui->Label_note->font(), ui->Label_note->text()},
            {ui->GrpBox_polar->font(), ui->GrpBox_polar->title()},
            {ui->Btn_calcPolarAxis->font(), ui->Btn_calcPolarAxis->text()},
            {ui->Label21->font(), ui->Label21->text()},
            {ui->MenuItem_file->menuAction()->font(), ui->MenuItem_file->title()},
            {ui->MenuItem_manual->font(), ui->MenuItem_manual->text()},
            {ui->MenuItem_astroRef->font(), ui->MenuItem_astroRef->text()},
        };
        for (const char* name : {"CheckBox_astroRef", "Label_latitude"}) {
            auto* w = windows->atmRef.findChild<QAbstractButton*>(name);
            auto* l = windows->atmRef.findChild<QLabel*>(name);
            if (w)
                shown.append({w->font(), w->text()});
            if (l)
                shown.append({l->font(), l->text()});
        }
        for (const auto& [font, text] : shown) {
            const QFontMetrics metrics(font);
            for (const uint ch : text.toUcs4())
                EXPECT_TRUE(QChar::isSpace(ch) || metrics.inFontUcs4(ch))
                    << font.family().toStdString() << " lacks U+" << std::hex << ch << " of "
                    << text.toStdString();
        }
    }
}

} // namespace
