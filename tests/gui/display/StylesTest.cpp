// The two styles: the log of a switch, the style files of the three windows, the
// indicators and icons, the tip colours, and a settings word that is neither style.

#include "DisplayWindowFixture.h"

#include "display/StyleBook.h"

#include <QCoreApplication>
#include <QDir>
#include <QLabel>
#include <QPushButton>

namespace {

QString StyleText(const QString& file) {
    QFile f(QDir(QCoreApplication::applicationDirPath()).filePath(file));
    return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QString();
}

QStringList StyleLines(const QStringList& messages) {
    QStringList out;
    for (const QString& m : messages)
        if (m.startsWith(QLatin1String("ChangeUIStyle")) ||
            m.startsWith(QLatin1String("ChangePoleAxisIcon")))
            out << m;
    return out;
}

QColor TextColour(QWidget* w) {
    w->ensurePolished();
    return w->palette().color(w->foregroundRole());
}

QImage Shown(QLabel* label) {
    return label->pixmap().toImage();
}

using StylesTest = DisplayWindowTest;

TEST_F(StylesTest, SwitchingMonoColorMonoLogsInOrderAndLoadsTheFiles) {
    ASSERT_FALSE(StyleText(QStringLiteral("Blend.Style")).isEmpty());
    ASSERT_FALSE(StyleText(QStringLiteral("Dark.Style")).isEmpty());
    // Without settings the window starts in Color.
    EXPECT_EQ(g_uiStyle, QStringLiteral("Color"));
    EXPECT_EQ(main_->styleSheet(), StyleText(QStringLiteral("Dark.Style")));
    const int before = ReadLogMessages().size();
    const QString aboutLook = about_->styleSheet();

    QAction* item = main_->ui->MenuItem_style;
    item->trigger();
    EXPECT_EQ(main_->styleSheet(), StyleText(QStringLiteral("Blend.Style")));
    EXPECT_EQ(trace_->styleSheet(), StyleText(QStringLiteral("Blend.Style")));
    EXPECT_EQ(atmRef_->styleSheet(), StyleText(QStringLiteral("Blend.Style")));
    item->trigger();
    EXPECT_EQ(trace_->styleSheet(), StyleText(QStringLiteral("Dark.Style")));
    item->trigger();

    EXPECT_EQ(StyleLines(ReadLogMessages().mid(before)),
              (QStringList{"ChangeUIStyle to Mono", "ChangePoleAxisIcon to Mono",
                           "ChangeUIStyle to Color", "ChangePoleAxisIcon to Color",
                           "ChangeUIStyle to Mono", "ChangePoleAxisIcon to Mono"}));
    EXPECT_EQ(g_iniFileInfo.style, QStringLiteral("Mono"));
    EXPECT_EQ(g_uiStyle, QStringLiteral("Mono"));
    EXPECT_TRUE(item->isChecked());
    EXPECT_EQ(about_->styleSheet(), aboutLook); // the About window keeps its look
}

TEST_F(StylesTest, IconsTipColoursAndIndicatorsFollowTheStyle) {
    const struct {
        const char* style;
        const char* pole;
        const char* axis;
        QColor tip;
    } cases[] = {{"Mono", ":/PoleIcon_mono", ":/AxisIcon_mono", QColor(0xF8, 0xF8, 0xFF)},
                 {"Color", ":/PoleIcon_color", ":/AxisIcon_color", QColor(0xF5, 0xAB, 0x28)}};
    main_->starPicked2 = true;
    main_->SetStarPosIndicator(main_->ui->Circle_starPos2, true);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.style);
        main_->ui->MenuItem_style->setChecked(QLatin1String(c.style) == QLatin1String("Color"));
        main_->ui->MenuItem_style->trigger();
        ASSERT_EQ(g_uiStyle, QString::fromLatin1(c.style));
        const QSize iconSize = main_->ui->polePNG_Rectangle->size();
        EXPECT_EQ(Shown(main_->ui->polePNG_Rectangle),
                  QImage(QString::fromLatin1(c.pole))
                      .scaled(iconSize, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
                      .convertToFormat(Shown(main_->ui->polePNG_Rectangle).format()));
        EXPECT_FALSE(Shown(main_->ui->axisPNG_Rectangle).isNull());
        for (QWidget* w : {static_cast<QWidget*>(main_->ui->Text_tip),
                           static_cast<QWidget*>(main_->ui->Label_ask),
                           static_cast<QWidget*>(main_->ui->Btn1_tip),
                           static_cast<QWidget*>(main_->ui->Btn2_tip)})
            EXPECT_EQ(TextColour(w), c.tip) << w->objectName().toStdString();

        // Star 2 recorded keeps its check-mark picture, in this style's variant.
        const bool mono = QLatin1String(c.style) == QLatin1String("Mono");
        const QImage on = mono ? main_->lightOnMono : main_->lightOnColor;
        const QImage off = mono ? main_->lightOffMono : main_->lightOffColor;
        const QImage otherOn = mono ? main_->lightOnColor : main_->lightOnMono;
        const QSize size = main_->ui->Circle_starPos2->size();
        auto same = [&](QLabel* label, const QImage& picture) {
            const QImage shown = Shown(label);
            return shown == picture.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
                                .convertToFormat(shown.format());
        };
        EXPECT_TRUE(same(main_->ui->Circle_starPos2, on));
        EXPECT_FALSE(same(main_->ui->Circle_starPos2, otherOn));
        EXPECT_TRUE(same(main_->ui->Circle_starPos1, off));
        EXPECT_TRUE(same(main_->ui->Circle_starPos3, off));
    }
}

TEST_F(StylesTest, StyleBookLoadsOnlyAChangedExistingFile) {
    QWidget window;
    EXPECT_TRUE(LoadStyleFile(&window, QStringLiteral("Dark.Style")));
    EXPECT_FALSE(LoadStyleFile(&window, QStringLiteral("Dark.Style"))); // same name again
    const QString kept = window.styleSheet();
    EXPECT_FALSE(LoadStyleFile(&window, QStringLiteral("Missing.Style")));
    EXPECT_EQ(window.styleSheet(), kept);
    EXPECT_FALSE(ApplyStyleWord(&window, QStringLiteral("mono")));
    EXPECT_EQ(window.styleSheet(), kept);
    EXPECT_TRUE(ApplyStyleWord(&window, QStringLiteral("Mono")));
    EXPECT_EQ(window.styleSheet(), StyleText(QStringLiteral("Blend.Style")));
}

class LowerCaseStyleTest : public DisplayWindowTest {
protected:
    QString SettingsText() const override { return QStringLiteral("[VIEW]\nstyle=mono\n"); }
};

TEST_F(LowerCaseStyleTest, AppliesNothingAndReadsAsColor) {
    EXPECT_EQ(g_uiStyle, QStringLiteral("mono"));
    EXPECT_TRUE(StyleLines(ReadLogMessages()).isEmpty());
    EXPECT_TRUE(main_->styleSheet().isEmpty());
    EXPECT_TRUE(trace_->styleSheet().isEmpty());
    EXPECT_FALSE(main_->ui->MenuItem_style->isChecked());
    EXPECT_TRUE(Shown(main_->ui->polePNG_Rectangle).isNull()); // the form's icons stay
    EXPECT_EQ(TextColour(main_->ui->Text_tip), QColor(0xF5, 0xAB, 0x28));

    // The first click switches to Mono properly.
    main_->ui->MenuItem_style->trigger();
    EXPECT_EQ(g_uiStyle, QStringLiteral("Mono"));
    EXPECT_EQ(main_->styleSheet(), StyleText(QStringLiteral("Blend.Style")));
    EXPECT_EQ(StyleLines(ReadLogMessages()),
              (QStringList{"ChangeUIStyle to Mono", "ChangePoleAxisIcon to Mono"}));
}

} // namespace
