#include "app/MainFormUnit.h"
#include "ui_FormMain.h"

#include "app/AppPaths.h"
#include "app/Settings.h"
#include "app/TipPanelPlacer.h"
#include "astro/StarData.h"
#include "camera/CaptureControl.h"
#include "camera/UiHandOver.h"
#include "camera/Zorcamlib.h"
#include "core/Log.h"
#include "dialogs/AboutFormUnit.h"
#include "dialogs/AtmRefFormUnit.h"
#include "dialogs/ClickFilter.h"
#include "display/LiveImageView.h"
#include "display/MagnifierGlass.h"
#include "i18n/Languages.h"
#include "workflow/TraceFormUnit.h"
#include "workflow/MountTools.h"

#include <QCloseEvent>
#include <QDateTime>
#include <QDir>
#include <QGraphicsDropShadowEffect>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QStatusBar>
#include <QTimer>

#include <cfenv>

TFormMain* FormMain = nullptr;

TFormMain::TFormMain(QWidget* parent) : QMainWindow(parent), ui(new Ui::TFormMain) {
    FormMain = this;
    ui->setupUi(this);
    CreateCodeControls();
    ConnectHandlers();
    FormCreate();
}

TFormMain::~TFormMain() {
    // A window destroyed without being closed must not free the buffers under a running loop.
    if (g_threadRunning)
        RequestCaptureStopAndWait();
    FormDestroy();
    if (FormMain == this)
        FormMain = nullptr;
    delete ui;
}

void TFormMain::CreateCodeControls() {
    for (Expander* e : {ui->Expander_region, ui->Expander_camSetting, ui->Expander_finding,
                        ui->Expander_rough, ui->Expander_precise})
        e->adoptContent();

    ScrollBox_capImg = ui->ScrollBox_capImg;
    Img_cap = ScrollBox_capImg->imageItem();
    Img_Mask = ScrollBox_capImg->maskItem();

    MagnifierGlass_roiImg = new MagnifierGlass(ScrollBox_capImg->viewport());
    Img_layer_glass = new QLabel(MagnifierGlass_roiImg);
    Img_layer_glass->setObjectName(QStringLiteral("Img_layer_glass"));
    Img_layer_glass->setGeometry(0, 0, 150, 150);
    Img_layer_glass->setAttribute(Qt::WA_TransparentForMouseEvents);

    ui->Image_rotateDirect->setAttribute(Qt::WA_TransparentForMouseEvents);
    ui->Rectangle_tipMsg->setFixedWidth(470);
    ui->Rectangle_tipMsg->setMinimumHeight(98);
    // The panel lies over the image at a fixed place in the window, not in the image area.
    new TipPanelPlacer(ui->Rectangle_tipMsg, ui->centralwidget);
    ui->Image_rotateDirect->raise();

    Label_mousePos = new QLabel(this);
    Label_mousePos->setObjectName(QStringLiteral("Label_mousePos"));
    Label_mousePos->setFixedWidth(177);
    Btn_debug = new QPushButton(QStringLiteral("debug"), this);
    Btn_debug->setObjectName(QStringLiteral("Btn_debug"));
    SpinBox1 = new QSpinBox(this);
    SpinBox1->setObjectName(QStringLiteral("SpinBox1"));
    SpinBox1->setRange(0, 255);
    SpinBox2 = new QSpinBox(this);
    SpinBox2->setObjectName(QStringLiteral("SpinBox2"));
    SpinBox2->setRange(0, 255);
    SpinBox2->setValue(255);
    ui->StatusBar1->addWidget(Label_mousePos);
    ui->StatusBar1->addWidget(Btn_debug);
    ui->StatusBar1->addWidget(SpinBox1);
    ui->StatusBar1->addWidget(SpinBox2);

    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(1000);
    Timer_updateAngle = new QTimer(this);
    Timer_updateAngle->setObjectName(QStringLiteral("Timer_updateAngle"));
    Timer_updateAngle->setInterval(100);
    Timer_frameWatch = new QTimer(this);
    Timer_frameWatch->setObjectName(QStringLiteral("Timer_frameWatch"));
    Timer_frameWatch->setInterval(250);
    Label_noFrames = new QLabel(this);
    Label_noFrames->setObjectName(QStringLiteral("Label_noFrames"));
    Label_noFrames->setStyleSheet(QStringLiteral("color: #ff5050; font-weight: bold;"));
    ui->StatusBar1->addPermanentWidget(Label_noFrames);
    Label_noFrames->hide();

    auto glow = [this](QWidget* target, const char* name) {
        auto* effect = new QGraphicsDropShadowEffect(this);
        effect->setObjectName(QString::fromLatin1(name));
        effect->setOffset(0, 0);
        effect->setBlurRadius(12);
        effect->setColor(QColor(0xF8, 0xF8, 0xFF));
        effect->setEnabled(false);
        target->setGraphicsEffect(effect);
        return effect;
    };
    GlowEffect_rotate1 = glow(ui->TrackBar_mask_finding, "GlowEffect_rotate1");
    GlowEffect_rotate2 = glow(ui->TrackBar_mask_rough, "GlowEffect_rotate2");
}

void TFormMain::ConnectHandlers() {
    auto onClick = [this](QPushButton* b, void (TFormMain::*h)()) {
        connect(b, &QPushButton::clicked, this, h);
    };
    auto onAction = [this](QAction* a, void (TFormMain::*h)()) {
        connect(a, &QAction::triggered, this, h);
    };
    onAction(ui->MenuItem_save, &TFormMain::MenuItem_saveClick);
    onAction(ui->MenuItem_exit, &TFormMain::MenuItem_exitClick);
    onAction(ui->MenuItem_connect, &TFormMain::MenuItem_connectClick);
    onAction(ui->MenuItem_showMask, &TFormMain::MenuItem_showMaskClick);
    onAction(ui->MenuItem_astroRef, &TFormMain::MenuItem_astroRefClick);
    onAction(ui->MenuItem_trace, &TFormMain::MenuItem_traceClick);
    onAction(ui->MenuItem_guidance, &TFormMain::MenuItem_guidanceClick);
    onAction(ui->MenuItem_stretch, &TFormMain::MenuItem_stretchClick);
    onAction(ui->MenuItem_style, &TFormMain::MenuItem_styleClick);
    onAction(ui->MenuItem_nightStyle, &TFormMain::MenuItem_nightStyleClick);
    onAction(ui->MenuItem_camera, &TFormMain::MenuItem_cameraClick);
    onAction(ui->MenuItem_100, &TFormMain::MenuItem_100Click);
    onAction(ui->MenuItem_75, &TFormMain::MenuItem_75Click);
    onAction(ui->MenuItem_50, &TFormMain::MenuItem_50Click);
    onAction(ui->MenuItem_lang_en, &TFormMain::MenuItem_lang_enClick);
    onAction(ui->MenuItem_lang_cn, &TFormMain::MenuItem_lang_cnClick);
    onAction(ui->MenuItem_lang_jp, &TFormMain::MenuItem_lang_jpClick);
    onAction(ui->MenuItem_lang_ru, &TFormMain::MenuItem_lang_ruClick);
    onAction(ui->MenuItem_lang_fr, &TFormMain::MenuItem_lang_frClick);
    onAction(ui->MenuItem_lang_de, &TFormMain::MenuItem_lang_deClick);
    onAction(ui->MenuItem_lang_es, &TFormMain::MenuItem_lang_esClick);
    onAction(ui->MenuItem_lang_pt, &TFormMain::MenuItem_lang_ptClick);
    onAction(ui->MenuItem_lang_it, &TFormMain::MenuItem_lang_itClick);
    onAction(ui->MenuItem_lang_kr, &TFormMain::MenuItem_lang_krClick);
    onAction(ui->MenuItem_manual, &TFormMain::MenuItem_manualClick);
    onAction(ui->MenuItem_about, &TFormMain::MenuItem_aboutClick);

    onClick(ui->Btn_exp50, &TFormMain::Btn_exp50Click);
    onClick(ui->Btn_exp100, &TFormMain::Btn_exp100Click);
    onClick(ui->Btn_exp200, &TFormMain::Btn_exp200Click);
    onClick(ui->Btn_exp300, &TFormMain::Btn_exp300Click);
    onClick(ui->Btn_gain50, &TFormMain::Btn_gain50Click);
    onClick(ui->Btn_gain70, &TFormMain::Btn_gain70Click);
    onClick(ui->Btn_gain90, &TFormMain::Btn_gain90Click);
    onClick(ui->Btn_gain100, &TFormMain::Btn_gain100Click);
    onClick(ui->Btn1_tip, &TFormMain::Btn1_tipClick);
    onClick(ui->Btn2_tip, &TFormMain::Btn2_tipClick);
    onClick(ui->Btn_calcPolarAxis, &TFormMain::Btn_calcPolarAxisClick);
    connect(ui->AddBtn_mask_finding, &QToolButton::clicked, this,
            &TFormMain::AddBtn_mask_findingClick);
    connect(ui->DelBtn_mask_finding, &QToolButton::clicked, this,
            &TFormMain::DelBtn_mask_findingClick);
    connect(ui->AddBtn_rough, &QToolButton::clicked, this, &TFormMain::AddBtn_roughClick);
    connect(ui->DelBtn_rough, &QToolButton::clicked, this, &TFormMain::DelBtn_roughClick);
    connect(ui->TrackBar_mask_finding, &QSlider::valueChanged, this,
            &TFormMain::TrackBar_mask_findingChange);
    connect(ui->TrackBar_mask_rough, &QSlider::valueChanged, this,
            &TFormMain::TrackBar_mask_roughChange);
    connect(ui->RadioBtn_north, &QRadioButton::toggled, this, &TFormMain::RadioBtn_northChange);
    connect(ui->RadioBtn_south, &QRadioButton::toggled, this, &TFormMain::RadioBtn_southChange);
    connect(SpinBox1, &QSpinBox::valueChanged, this, &TFormMain::SpinBox1Change);
    connect(SpinBox2, &QSpinBox::valueChanged, this, &TFormMain::SpinBox2Change);
    connect(Timer1, &QTimer::timeout, this, &TFormMain::Timer1Timer);
    connect(Timer_updateAngle, &QTimer::timeout, this, &TFormMain::Timer_updateAngleTimer);
    connect(Timer_frameWatch, &QTimer::timeout, this, &TFormMain::Timer_frameWatchTimer);
    connect(ScrollBox_capImg, &LiveImageView::imageMouseMoved, this, &TFormMain::Img_capMouseMove);
    connect(ScrollBox_capImg, &LiveImageView::imageDoubleClicked, this,
            &TFormMain::Img_capDblClick);
    connect(ScrollBox_capImg, &LiveImageView::viewportPositionChanged, this,
            &TFormMain::ScrollBox_capImgViewportPositionChange);
    OnClick(ui->Image_logo, [this] { Image_logoClick(); });
    InstallWorkflowFilters(); // wheel handling of the rotation bars, the ring timer
    InstallKeyboard();        // menu shortcuts, zoom in and out, the wizard's keys
    InstallMountTools();      // screws in turns, the night's plot and record, the motor
}

void TFormMain::FormCreate() {
    // 1. This run's log file, in the day's folder of the documents folder.
    const QDateTime start = QDateTime::currentDateTime();
    const QString folder = LogFolderFor(DocumentsFolder(), start);
    QDir().mkpath(folder); // a folder that cannot be made leaves the log silent
    g_logFilePath = LogFileFor(folder, start);

    WriteLog(QStringLiteral("Info"), QStringLiteral("FormCreate start."));
    setWindowTitle(QStringLiteral("ZenithWand - ") + g_appVersion);
    ui->MenuBar_mainMenu->setVisible(true);

    g_latitude = 39.9;
    g_longitude = 116.3;
    g_pressure = 101.0;
    g_pressureUnit = 0;
    g_temperature = 10.0;
    g_refractionOn = false;

    g_cameraOpen = false;
    g_cameraResourceReady = false;
    g_connected = false;

    g_exposureWanted = 50000.0;
    g_exposureApplied = 0.0;
    g_gainWanted = 50;
    g_gainApplied = 0;

    g_iniFileInfo = INIFILEINFO{};

    curLang = QStringLiteral("EN");
    g_zoom = 1.0f;
    g_appliedZoom = 1.0f;
    curRegion = QStringLiteral("N");
    templatesReady = false;
    wizardStep = 0;

    InitStarDataStartValues();

    WriteLog(QStringLiteral("Info"), QStringLiteral("FormCreate done."));

    // The stretch controls are a developer facility, hidden in every ordinary build.
    SpinBox1->hide();
    SpinBox2->hide();
    Btn_debug->hide();
#ifdef ZW_DEVELOPER_STRETCH
    ui->MenuItem_stretch->setVisible(true);
    SpinBox1->show();
    SpinBox2->show();
#else
    ui->MenuItem_stretch->setVisible(false);
#endif
}

void TFormMain::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    if (!shownOnce_) {
        shownOnce_ = true;
        FormShow();
    }
}

void TFormMain::FormShow() {
    for (Expander* e : {ui->Expander_region, ui->Expander_finding, ui->Expander_rough,
                        ui->Expander_precise, ui->Expander_camSetting})
        e->setExpanded(false);
    for (Expander* e : {ui->Expander_region, ui->Expander_camSetting, ui->Expander_finding,
                        ui->Expander_rough, ui->Expander_precise})
        e->setEnabled(false);
    ui->MenuItem_astroRef->setEnabled(false);
    ui->MenuItem_showMask->setEnabled(false);
    ui->MenuItem_trace->setEnabled(false);
    ui->MenuItem_zoom->setEnabled(false);

    ui->Rectangle_tipMsg->hide();
    GlowEffect_rotate1->setEnabled(false);
    GlowEffect_rotate2->setEnabled(false);

    ui->Label_angleA->setText(QString::number(g_angleBAP, 'g', 15));
    ui->Label_angleB->setText(QString::number(g_angleABP, 'g', 15));
    ui->Layout1->hide();
    ui->Layout2->hide();
    ui->Image_rotateDirect->hide();

    glassBitmap = QImage(150, 150, QImage::Format_ARGB32_Premultiplied);
    glassBitmap.fill(Qt::transparent);
    g_viewBitmap = QImage(kFrameWidth, kFrameHeight, QImage::Format_RGB32);
    g_viewBitmap.fill(Qt::black);
    g_zoomBitmap = QImage(200, 200, QImage::Format_RGB32);
    g_zoomBitmap.fill(Qt::black);
    northMaskBitmap = QImage();
    southMaskBitmap = QImage();
    lightOnMono = lightOffMono = lightOnColor = lightOffColor = QImage();

    starPicked1 = starPicked2 = starPicked3 = false;

    g_frameImage = cv::Mat::zeros(kFrameHeight, kFrameWidth, CV_8UC1);
    g_displayImage = cv::Mat::zeros(kFrameHeight, kFrameWidth, CV_8UC3);
    // The pole close-up is made from a small region of the frame, so no 5x copy
    // of the whole frame is kept.
    g_zoomCrop = cv::Mat::zeros(200, 200, CV_8UC3);

    InitLanguages();
    LoadLightImages();
    LoadCameraLibrary();

    // Divisions by zero and invalid operations yield infinities and NaNs.
    std::fenv_t env;
    std::feholdexcept(&env);

    loadParamsFromIni();

    curLang = g_iniFileInfo.lang;
    curRegion = g_iniFileInfo.region;
    g_zoom = g_iniFileInfo.factor;
    g_uiStyle = g_iniFileInfo.style;
    g_latitude = g_iniFileInfo.latitude;
    g_longitude = g_iniFileInfo.longitude;
    g_pressure = g_iniFileInfo.P;
    g_pressureUnit = g_iniFileInfo.P_UnitType;
    g_temperature = g_iniFileInfo.T;
    g_refractionOn = g_iniFileInfo.isCorrection;

    if (auto* langItem = findChild<QAction*>(LanguageFor(curLang).menuItemName))
        langItem->setChecked(true);

    ApplyLanguage(curLang);
    LoadMenuTexts(curLang);
    ApplyMenuTexts();
    LoadTipTexts(curLang, curRegion);
    ApplyLabelFonts();

    ChangeUIStyle(g_uiStyle);
    ChangePoleAxisIcon(g_uiStyle);
    SetStarPosIndicator(ui->Circle_starPos1, starPicked1);
    SetStarPosIndicator(ui->Circle_starPos2, starPicked2);
    SetStarPosIndicator(ui->Circle_starPos3, starPicked3);
    if (FormTrace)
        FormTrace->ChangeUIStyle(g_uiStyle);
    if (FormAtmRef)
        FormAtmRef->ChangeUIStyle(g_uiStyle);
    ChangeTipColor(g_uiStyle);

    WriteLog(QStringLiteral("Info"), QStringLiteral("FormShow"));
    // After the window's own start-up lines: switched on, the guidance reports here
    // what it cannot play on.
    InitGuidance();
}

void TFormMain::closeEvent(QCloseEvent* event) {
    // Asked from inside a hand-over (a routine serves events): closing waits for the
    // capture loop, which waits for that routine, so it comes once the routine is done.
    if (!closed_ && UiHandOver::InsideRoutine()) {
        event->ignore();
        QMetaObject::invokeMethod(
            this, [this] { close(); }, Qt::QueuedConnection);
        return;
    }
    if (!closed_) {
        closed_ = true;
        FormClose();
    }
    event->accept();
    // The secondary windows live as long as the program: closing the main window ends it.
    for (QWidget* w : {static_cast<QWidget*>(FormAbout), static_cast<QWidget*>(FormAtmRef),
                       static_cast<QWidget*>(FormTrace)})
        if (w)
            w->hide();
}

void TFormMain::FormClose() {
    saveParamsToIni();

    if (g_threadRunning) {
        WriteLog(QStringLiteral("Info"), QStringLiteral("Terminate DspThread."));
        // Waits for the loop to end while serving its hand-overs, so the camera is
        // never stopped under a running camera call.
        RequestCaptureStopAndWait();
    }

    if (g_cameraResourceReady) {
        const ZorcamHandle handle = g_cameraHandle;
        if (handle != 0) {
            if (ZorcamStopLive(handle) == 0)
                WriteLog(QStringLiteral("Info"), QStringLiteral("stopZORCAMLive success"));
            if (ZorcamClose(handle) == 0)
                WriteLog(QStringLiteral("Info"), QStringLiteral("closeZORCAM success"));
        }
        if (ZorcamReleaseResource() == 0) {
            g_cameraResourceReady = false;
            WriteLog(QStringLiteral("Info"), QStringLiteral("ReleaseZORCAMResource"));
        }
    }

    WriteLog(QStringLiteral("Info"), QStringLiteral("FormClose done."));
}

void TFormMain::FormDestroy() {
    if (!g_frameImage.empty()) {
        g_frameImage.release();
        g_displayImage.release();
    }
    glassBitmap = QImage();
    g_viewBitmap = QImage();
    g_zoomCrop.release();
    g_zoomBitmap = QImage();
}

void TFormMain::MenuItem_exitClick() {
    close();
}

void TFormMain::loadParamsFromIni() {
    LoadSettingsFile(SettingsFilePath(), g_iniFileInfo);
}

void TFormMain::saveParamsToIni() {
    SaveSettingsFile(SettingsFilePath(), g_iniFileInfo);
}
