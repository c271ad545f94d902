// The two window styles load without parse errors, are copied beside the program,
// keep every surface dark enough for the fixed ghost-white labels, and colour the
// chosen exposure/gain preset as their style requires.

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QDial>
#include <QDir>
#include <QDoubleSpinBox>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QMainWindow>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QSlider>
#include <QStatusBar>
#include <QToolButton>
#include <QVBoxLayout>

#include <gtest/gtest.h>

#include <memory>

namespace {

// Collects the style-sheet parse warnings Qt prints while the guard lives.
class ParseWarnings {
public:
    ParseWarnings() {
        messages().clear();
        previous_ = qInstallMessageHandler(&ParseWarnings::handler);
    }
    ~ParseWarnings() { qInstallMessageHandler(previous_); }
    QStringList list() const { return messages(); }

private:
    static QStringList& messages() {
        static QStringList all;
        return all;
    }
    static void handler(QtMsgType, const QMessageLogContext&, const QString& text) {
        if (text.contains(QLatin1String("Could not parse")))
            messages() << text;
    }
    QtMessageHandler previous_ = nullptr;
};

QString sourceStyle(const QString& name) {
    QString root = qEnvironmentVariable("ZW_SOURCE_DIR");
    if (root.isEmpty())
        root = QStringLiteral(ZW_IMAGES_TEST_SOURCE_DIR);
    return QDir(root).filePath(QStringLiteral("resources/styles/") + name);
}

// The program loads its styles from its own folder; the tests run from there too.
QString installedStyle(const QString& name) {
    return QDir(QCoreApplication::applicationDirPath()).filePath(name);
}

QString readText(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(file.readAll());
}

// A small window with one widget of every kind the styles cover, named like the
// real ones where a rule selects by name.
struct StyledWindow {
    QMainWindow window;
    QLabel* plainLabel = nullptr;
    QLabel* ghostLabel = nullptr;
    QPushButton* chosenPreset = nullptr;
    QPushButton* otherPreset = nullptr;

    StyledWindow() {
        auto* tools = window.menuBar()->addMenu(QStringLiteral("Tools"));
        auto* style = tools->addAction(QStringLiteral("Mono Style"));
        style->setCheckable(true);
        style->setChecked(true);
        auto* content = new QWidget;
        auto* layout = new QVBoxLayout(content);
        auto* header = new QToolButton;
        header->setObjectName(QStringLiteral("Expander_region_header"));
        header->setProperty("expanderHeader", true);
        header->setText(QStringLiteral("Region Selection"));
        layout->addWidget(header);
        auto* group = new QGroupBox(QStringLiteral("Parameters"));
        auto* groupLayout = new QVBoxLayout(group);
        plainLabel = new QLabel(QStringLiteral("Exp(ms):"));
        ghostLabel = new QLabel(QStringLiteral("Star Pos 1"));
        ghostLabel->setStyleSheet(QStringLiteral("color: #F8F8FF;"));
        chosenPreset = new QPushButton(QStringLiteral("50"));
        chosenPreset->setObjectName(QStringLiteral("Btn_exp50"));
        chosenPreset->setProperty("highlighted", true);
        otherPreset = new QPushButton(QStringLiteral("100"));
        otherPreset->setObjectName(QStringLiteral("Btn_exp100"));
        otherPreset->setProperty("highlighted", false);
        auto* plus = new QToolButton;
        plus->setObjectName(QStringLiteral("AddBtn_rough"));
        plus->setText(QStringLiteral("+"));
        auto* slider = new QSlider(Qt::Horizontal);
        slider->setRange(0, 359);
        auto* spin = new QDoubleSpinBox;
        auto* combo = new QComboBox;
        combo->addItems({QStringLiteral("P (kPa)"), QStringLiteral("P (hPa)")});
        auto* north = new QRadioButton(QStringLiteral("North"));
        north->setChecked(true);
        auto* check = new QCheckBox(QStringLiteral("Enable Astronomical Refraction Correction"));
        check->setChecked(true);
        auto* tip = new QFrame;
        tip->setObjectName(QStringLiteral("Rectangle_tipMsg"));
        for (QWidget* w :
             std::initializer_list<QWidget*>{plainLabel, ghostLabel, chosenPreset, otherPreset,
                                             plus, slider, spin, combo, north, check, new QDial})
            groupLayout->addWidget(w);
        layout->addWidget(group);
        layout->addWidget(tip);
        auto* scroll = new QScrollArea;
        scroll->setWidget(content);
        window.setCentralWidget(scroll);
        window.statusBar()->addWidget(new QLabel(QStringLiteral("X: 0, Y: 0")));
        window.resize(400, 600);
    }

    void apply(const QString& sheet) {
        window.setStyleSheet(sheet);
        window.ensurePolished();
        (void)window.grab(); // paints every widget with the sheet
    }
};

struct StyleCase {
    const char* file;
    QColor chosenPreset;
};

const StyleCase kStyles[] = {
    {"Blend.Style", QColor(0xF8, 0xF8, 0xFF)}, // Mono
    {"Dark.Style", QColor(0xF5, 0xAB, 0x28)},  // Color
};

TEST(StyleSheets, CopiedBesideTheProgram) {
    for (const StyleCase& c : kStyles) {
        SCOPED_TRACE(c.file);
        const QString source = readText(sourceStyle(QString::fromLatin1(c.file)));
        ASSERT_FALSE(source.isEmpty());
        EXPECT_EQ(readText(installedStyle(QString::fromLatin1(c.file))), source);
    }
}

TEST(StyleSheets, ParseWithoutWarnings) {
    for (const StyleCase& c : kStyles) {
        SCOPED_TRACE(c.file);
        const QString sheet = readText(installedStyle(QString::fromLatin1(c.file)));
        ASSERT_FALSE(sheet.isEmpty());
        ParseWarnings warnings;
        StyledWindow ui;
        ui.apply(sheet);
        EXPECT_TRUE(warnings.list().isEmpty()) << warnings.list().join('\n').toStdString();
    }
}

TEST(StyleSheets, ParseCheckNoticesABrokenSheet) {
    ParseWarnings warnings;
    StyledWindow ui;
    ui.apply(QStringLiteral("QLabel { color: #FFFFFF; "));
    EXPECT_FALSE(warnings.list().isEmpty());
}

TEST(StyleSheets, DarkSurfacesKeepLabelsReadableAndMarkTheChosenPreset) {
    for (const StyleCase& c : kStyles) {
        SCOPED_TRACE(c.file);
        StyledWindow ui;
        ui.apply(readText(installedStyle(QString::fromLatin1(c.file))));
        const QColor window = ui.window.palette().color(QPalette::Window);
        EXPECT_LT(window.lightness(), 50);
        // Muted but readable default text, and the fixed ghost white kept as is.
        const QColor text = ui.plainLabel->palette().color(QPalette::WindowText);
        EXPECT_GT(text.lightness() - window.lightness(), 110);
        EXPECT_EQ(ui.ghostLabel->palette().color(QPalette::WindowText), QColor(0xF8, 0xF8, 0xFF));
        // The chosen preset in the style's highlight, bold and larger; the others plain.
        EXPECT_EQ(ui.chosenPreset->palette().color(QPalette::ButtonText), c.chosenPreset);
        EXPECT_TRUE(ui.chosenPreset->font().bold());
        EXPECT_EQ(ui.chosenPreset->font().pixelSize(), 13);
        EXPECT_EQ(ui.otherPreset->palette().color(QPalette::ButtonText), QColor(0xE0, 0xE0, 0xE0));
        EXPECT_FALSE(ui.otherPreset->font().bold());
        EXPECT_EQ(ui.otherPreset->font().pixelSize(), 12);
    }
}

} // namespace
