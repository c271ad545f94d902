// The main window. One class whose member functions live with their subsystem:
//   app/MainFormUnit.cpp        lifecycle (FormCreate, FormShow, FormClose, FormDestroy),
//                               settings load/save, wiring of the controls
//   camera/Connection.cpp       ConnectCamera, MenuItem_connectClick, SetConnectedUi
//   camera/Presets.cpp          exposure and gain presets
//   display/ViewControls.cpp    zoom, mouse read-out, magnifier, save as BMP, stretch
//   display/Styles.cpp          visual styles, indicators, icons
//   camera/LostCamera.cpp       the status of a camera that delivers no frames
//   workflow/Templates.cpp      PrepareTemplates, SelectTemplate
//   workflow/Wizard.cpp         the alignment wizard
//   workflow/StarPicking.cpp    double-click star picking, template rotation
//   workflow/Hemisphere.cpp     north / south
//   i18n/LanguageSwitch.cpp     languages
//   dialogs/DialogLinks.cpp     refraction window, About window, manual and web links
//   workflow/Keyboard.cpp       the keys of the wizard and the menu shortcuts
#pragma once

#include "app/Mystructs.h"
#include "astro/AlignmentReadout.h"
#include "astro/SkyTurn.h"
#include "camera/FrameWatch.h"
#include "core/Clock.h"
#include "display/MonitorReadout.h"
#include "guidance/SoundGuidance.h"

#include <QMainWindow>
#include <QPixmap>
#include <QPointF>

#include <array>
#include <memory>

class QAction;
class QCloseEvent;
class QGraphicsDropShadowEffect;
class QLabel;
class QPushButton;
class QSpinBox;
class QTimer;
class QWidget;
class ImageItem;
class LiveImageView;
class MagnifierGlass;
class MountTools;
class Dictionary;
struct KeyState;

namespace Ui {
class TFormMain;
}

class TFormMain : public QMainWindow {
    Q_OBJECT

public:
    explicit TFormMain(QWidget* parent = nullptr);
    ~TFormMain() override;

    Ui::TFormMain* ui;

    // Controls made in code (the form file cannot hold them).
    LiveImageView* ScrollBox_capImg = nullptr;
    ImageItem* Img_cap = nullptr;
    ImageItem* Img_Mask = nullptr;
    MagnifierGlass* MagnifierGlass_roiImg = nullptr;
    QLabel* Img_layer_glass = nullptr;
    QLabel* Label_mousePos = nullptr;
    QPushButton* Btn_debug = nullptr;
    QSpinBox* SpinBox1 = nullptr;
    QSpinBox* SpinBox2 = nullptr;
    QTimer* Timer1 = nullptr;
    QTimer* Timer_updateAngle = nullptr;
    // A camera that stops delivering frames: checked a few times a second while
    // connected, told in the status bar (FrameWatch.h).
    QTimer* Timer_frameWatch = nullptr;
    QLabel* Label_noFrames = nullptr;
    QGraphicsDropShadowEffect* GlowEffect_rotate1 = nullptr;
    QGraphicsDropShadowEffect* GlowEffect_rotate2 = nullptr;

    // ---- lifecycle ------------------------------------------------------------------
    void FormCreate();
    void FormShow();
    void FormClose();
    void FormDestroy();
    void MenuItem_exitClick();
    void loadParamsFromIni();
    void saveParamsToIni();
    bool isShownOnce() const { return shownOnce_; }

    // ---- camera connection and presets ------------------------------------------------
    bool ConnectCamera();
    void MenuItem_connectClick();
    void SetConnectedUi(bool on);
    void StartFrameWatch();
    void StopFrameWatch();
    void Timer_frameWatchTimer();
    FrameWatch frameWatch;
    void Btn_exp50Click();
    void Btn_exp100Click();
    void Btn_exp200Click();
    void Btn_exp300Click();
    void Btn_gain50Click();
    void Btn_gain70Click();
    void Btn_gain90Click();
    void Btn_gain100Click();
    // Mark the preset button of the value (any other value changes nothing); the
    // forms without an argument use g_exposureWanted and g_gainWanted.
    void HighlightExposureButtons(double exposure);
    void HighlightGainButtons(int gain);
    void HighlightExposureButtons();
    void HighlightGainButtons();

    // ---- view controls and styles ------------------------------------------------------
    void CheckZoomMenuItem(float factor);
    void MenuItem_100Click();
    void MenuItem_75Click();
    void MenuItem_50Click();
    void Img_capMouseMove(QPointF imagePos);
    void ScrollBox_capImgViewportPositionChange();
    void MenuItem_saveClick();
    void MenuItem_stretchClick();
    void SpinBox1Change();
    void SpinBox2Change();
    void ChangeUIStyle(const QString& style);
    void ChangePoleAxisIcon(const QString& style);
    void LoadLightImages();
    void SetStarPosIndicator(QLabel* circle, bool recorded);
    void ChangeTipColor(const QString& style);
    void MenuItem_styleClick();
    // The night style's check item: checked switches to "Night", unchecked back to "Color".
    void MenuItem_nightStyleClick();
    // The style word's look for everything: windows, icons, indicators, tips, presets.
    void ApplyStyleEverywhere(const QString& style);

    // ---- templates ---------------------------------------------------------------------
    void PrepareTemplates();
    void SelectTemplate(const QString& region);
    // The selected template's picture and the magnifier's cross in the style's colours.
    void ShowTemplatePictures();
    // The template angles of the moment (setting [STAR_DATA] source=date), refreshed
    // once a minute while connected.
    void KeepStarDataOfDate();
    void RefreshTemplateAnglesOfDate();
    // The running tracker takes the template stars of the clock's moment for the
    // region ("S": south, else north); it turns them on with the clock.
    void HandSkyOfMomentToTracker(const QString& region);

    // ---- the one clock (core/Clock.h) ------------------------------------------------
    // The window's clock: the template angles of the moment, the tracker's sky, the
    // frames' moments, the read-out's smoothing and the guidance's pacing all read it.
    // The real time unless another is given (a test: one held at a moment, or one
    // running faster); a running tracker takes the new one at once.
    const Clock& WindowClock() const { return *clock_; }
    void UseClock(std::shared_ptr<Clock> clock);

    // ---- wizard, star picking, hemisphere, trace -------------------------------------
    void ShowTip(int n);
    void Btn1_tipClick();
    void Btn2_tipClick();
    void Btn_calcPolarAxisClick();
    void Timer_updateAngleTimer();
    void Timer1Timer();
    void Img_capDblClick(QPointF imagePos);
    void TrackBar_mask_findingChange();
    void TrackBar_mask_roughChange();
    void AddBtn_mask_findingClick();
    void DelBtn_mask_findingClick();
    void AddBtn_roughClick();
    void DelBtn_roughClick();
    void MenuItem_showMaskClick();
    void RadioBtn_northChange();
    void RadioBtn_southChange();
    void MenuItem_traceClick();
    // Mouse wheel over the rotation bars: a positive delta acts as "+", any other
    // as "-", one degree per event.
    void TrackBar_mask_findingMouseWheel(int wheelDelta);
    void TrackBar_mask_roughMouseWheel(int wheelDelta);
    // The cursor over the live image after a step change: a hand invites a double-click.
    enum class ImgCursor { Keep, Hand, Default };
    // The one way the wizard changes step: sets wizardStep, the cursor, and shows the tip.
    void GoToStep(int step, ImgCursor cursor = ImgCursor::Keep);
    // The workflow after a disconnection: nothing picked, no marks, no overlay, no
    // tip, no trace window, step 0. The connection calls it.
    void ResetWorkflow();
    // Turns both reference-star seeds from their step-11 positions about the axis
    // centre by angle degrees (clockwise on the screen) and hands them to the tracker.
    void ApplyTraceAngle(double angle);
    // Puts the template overlay's centre (template star B) on an image point at the
    // current zoom; KeepOverlayOnItsStar follows a later zoom change.
    void PlaceOverlay(double imageX, double imageY);
    void KeepOverlayOnItsStar();
    // Routes the mouse wheel over the two rotation bars to their handlers and starts
    // the ring timer (once, at the first tip).
    void InstallWorkflowFilters();
    double maskAnchorX = 0, maskAnchorY = 0;
    float maskAnchorZoom = 1.0f;
    bool workflowFiltersInstalled = false;
    // What a star measured at (sx, sy) does in the current step (a double-click's
    // second half), and star position n (1..3) of the RA circle recorded.
    void ActOnPickedStar(double sx, double sy);
    void RecordStarPosition(int n, double sx, double sy);
    // The sky's turn in the live image as the template shows it: the template's pole
    // where step 2 put it (the template on the pole star, turned by the bar), the
    // sidereal rate and the region's sense (astro/SkyTurn.h).
    SkyTurn TemplateSkyTurn() const;
    // The moments (Clock::UtcSeconds) of the frames the three positions were picked
    // on, and the sky's turn when the first was picked.
    const std::array<double, 3>& PickSeconds() const { return pickSeconds_; }
    const SkyTurn& PickSky() const { return pickSky_; }

    // ---- automatic template match and RA axis (workflow/AutoAlign.cpp) ----------------
    void AutoBtn_mask_findingClick();
    void AutoBtn_roughClick();
    void Btn_autoAxisClick();
    void Timer_autoAxisTimer();
    void InstallAutoAlign(); // wires the three buttons and the follow timer
    QTimer* Timer_autoAxis = nullptr;
    std::shared_ptr<class AxisFollowSession> axisSession; // while the stars are followed

    // ---- languages ---------------------------------------------------------------------
    void InitLanguages();
    void ApplyLanguage(const QString& lang);
    void LoadMenuTexts(const QString& lang);
    void ApplyMenuTexts();
    void LoadTipTexts(const QString& lang, const QString& region);
    void ApplyLabelFonts();
    void MenuItem_lang_enClick();
    void MenuItem_lang_cnClick();
    void MenuItem_lang_jpClick();
    void MenuItem_lang_ruClick();
    void MenuItem_lang_frClick();
    void MenuItem_lang_deClick();
    void MenuItem_lang_esClick();
    void MenuItem_lang_ptClick();
    void MenuItem_lang_itClick();
    void MenuItem_lang_krClick();
    // The label dictionaries of the ten languages (created by InitLanguages).
    Dictionary* Lang1 = nullptr;

    // ---- auxiliary windows -------------------------------------------------------------
    void MenuItem_astroRefClick();
    void MenuItem_cameraClick();
    void MenuItem_aboutClick();
    void MenuItem_manualClick();
    void Image_logoClick();

    // ---- keyboard (workflow/Keyboard.cpp, workflow/WizardKeys.h) ------------------------
    // Sets the menu shortcuts, adds "Zoom In" and "Zoom Out" to the zoom menu and
    // routes the window's key presses to the wizard's keys.
    void InstallKeyboard();
    // What the keys can reach now: the focus, the answer buttons, the visible bar.
    KeyState KeyStateNow() const;
    // Acts on a key press; false when the key is not the wizard's in this state.
    bool ActOnKey(int key, Qt::KeyboardModifiers modifiers);
    void MenuItem_zoomInClick();
    void MenuItem_zoomOutClick();
    QAction* MenuItem_zoomIn = nullptr;
    QAction* MenuItem_zoomOut = nullptr;

    // ---- state (members of the window) -------------------------------------------------
    QString curLang = QStringLiteral("EN");
    QString curRegion = QStringLiteral("N");
    int wizardStep = 0;
    bool templatesReady = false;
    bool starPicked1 = false, starPicked2 = false, starPicked3 = false;
    float maskAngle = 0.0f;
    double mouseX = 0, mouseY = 0;
    double starPos1X = 0, starPos1Y = 0, starPos2X = 0, starPos2Y = 0, starPos3X = 0, starPos3Y = 0;
    double circleX = 0, circleY = 0;
    int circleRadius = 0;
    double recAxisX = 0, recAxisY = 0;
    double axisX = 0, axisY = 0;
    int axisRadius = 0;
    double estPoleX = 0, estPoleY = 0;
    double curNStarX = 0, curNStarY = 0;
    double eptNStarX = 0, eptNStarY = 0;
    double starAX = 0, starAY = 0;
    double starAStartX = 0, starAStartY = 0, starBStartX = 0, starBStartY = 0;

    QImage glassBitmap;
    QImage northMaskBitmap, southMaskBitmap;
    QImage lightOnMono, lightOffMono, lightOnColor, lightOffColor;

    // ---- the monitor mode's read-out (display/AlignmentReadoutView.cpp) ------------------
    // Once per tracked frame: the tracker's error into the read-out below the close-up
    // (display/MonitorReadout.h), the same to the guidance, the plate scale to the log.
    // ClearAlignmentReadout: a new monitor run, or none.
    void ShowAlignmentReadout(const DisplayThread& thread);
    void ClearAlignmentReadout();
    // The figures the read-out shows now.
    const AlignmentReadout& AlignmentReadoutNow() const { return monitor_.Current(); }
    // The site as the read-out knows it: set by the user, and the pole being aligned on.
    MonitorSite ReadoutSite() const;
    // At the first Connect of a run where no site was ever set, the refraction window
    // asks for it (not modal: the connection goes on).
    void AskForSiteOnce();

    // ---- sound guidance (guidance/GuidanceMenu.cpp) -------------------------------------
    // Tools > Sound Guidance: off by default, kept in [GUIDANCE] of the settings file.
    // UpdateGuidance takes the alignment error the live read-out shows, once per frame of
    // the monitor mode (an invalid input while there is none); it does nothing while off.
    void InitGuidance();
    void MenuItem_guidanceClick();
    void SetGuidanceOn(bool on);
    void RefreshGuidanceMenu();
    void UpdateGuidance(const GuidanceInput& input);
    SoundGuidance* Guidance() const { return guidance_.get(); }
    // The guidance plays through these outputs instead of the system's voice and sound
    // (a stand-in that records them, say); switching it on and off works as before.
    void UseGuidanceOutputs(std::unique_ptr<GuidanceVoice> voice,
                            std::unique_ptr<GuidanceToneOutput> tones);

    // ---- mount tools (workflow/MountTools.h, workflow/MountToolsGlue.cpp) -------------
    // The screws in turns, the plot and record of the night, the motorised adjusters.
    void InstallMountTools();
    MountTools* Mount() const { return mountTools_.get(); }

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void CreateCodeControls();
    void ConnectHandlers();
    // The guidance with these outputs and the band of the settings (off).
    void MakeGuidance(std::unique_ptr<GuidanceVoice> voice,
                      std::unique_ptr<GuidanceToneOutput> tones);
    MonitorReadout monitor_;
    bool siteAsked_ = false;
    std::shared_ptr<Clock> clock_ = std::make_shared<SystemClock>();
    QTimer* starDataTimer_ = nullptr; // the template angles' refresh while connected
    // The moments (Clock::UtcSeconds) of the frames the three star positions were
    // picked on, and the sky's turn when the first was picked.
    std::array<double, 3> pickSeconds_{};
    SkyTurn pickSky_;
    bool shownOnce_ = false;
    bool closed_ = false;
    std::unique_ptr<SoundGuidance> guidance_;
    std::unique_ptr<MountTools> mountTools_;
    double guidanceBandArcsec_ = 30.0;
};

extern TFormMain* FormMain;
