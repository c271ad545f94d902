// The keyboard: which key stands for what in which state, and the keys in the
// window's steps where they act and where they must not; the menu shortcuts.
#include "WorkflowFixture.h"

#include "dialogs/ManualWindow.h"
#include "display/ViewControls.h"
#include "workflow/WizardKeys.h"

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QSpinBox>

#include <map>

namespace {

// ---- the decision, as a table ---------------------------------------------------------

KeyState State(bool right, bool left, TemplateBar bar, bool monitor,
               KeyFocus focus = KeyFocus::Other) {
    KeyState s;
    s.focus = focus;
    s.rightAnswer = right;
    s.leftAnswer = left;
    s.bar = bar;
    s.monitorReady = monitor;
    return s;
}

struct KeyCase {
    const char* what;
    int key;
    Qt::KeyboardModifiers modifiers;
    KeyState state;
    KeyAction action;
    int degrees;
};

const KeyState kAll = State(true, true, TemplateBar::Rough, true);
const KeyState kNone = State(false, false, TemplateBar::None, false);

const KeyCase kKeyCases[] = {
    {"Enter answers right", Qt::Key_Return, Qt::NoModifier, kAll, KeyAction::AnswerRight, 0},
    {"keypad Enter answers right", Qt::Key_Enter, Qt::KeypadModifier, kAll, KeyAction::AnswerRight,
     0},
    {"Escape answers left", Qt::Key_Escape, Qt::NoModifier, kAll, KeyAction::AnswerLeft, 0},
    {"Enter without a right button", Qt::Key_Return, Qt::NoModifier,
     State(false, true, TemplateBar::Rough, true), KeyAction::None, 0},
    {"Escape without a left button", Qt::Key_Escape, Qt::NoModifier,
     State(true, false, TemplateBar::Rough, true), KeyAction::None, 0},
    {"Right turns on", Qt::Key_Right, Qt::NoModifier, kAll, KeyAction::TurnBar, +1},
    {"Up turns on", Qt::Key_Up, Qt::NoModifier, kAll, KeyAction::TurnBar, +1},
    {"Left turns back", Qt::Key_Left, Qt::NoModifier, kAll, KeyAction::TurnBar, -1},
    {"Down turns back", Qt::Key_Down, Qt::NoModifier, kAll, KeyAction::TurnBar, -1},
    {"Page Up turns ten on", Qt::Key_PageUp, Qt::NoModifier, kAll, KeyAction::TurnBar, +10},
    {"Page Down turns ten back", Qt::Key_PageDown, Qt::NoModifier, kAll, KeyAction::TurnBar, -10},
    {"keypad arrow", Qt::Key_Left, Qt::KeypadModifier, kAll, KeyAction::TurnBar, -1},
    {"arrow without a bar", Qt::Key_Right, Qt::NoModifier, kNone, KeyAction::None, 0},
    {"Page Up without a bar", Qt::Key_PageUp, Qt::NoModifier, kNone, KeyAction::None, 0},
    {"F5 starts the monitor", Qt::Key_F5, Qt::NoModifier, kAll, KeyAction::StartMonitor, 0},
    {"F5 in another step", Qt::Key_F5, Qt::NoModifier, State(true, true, TemplateBar::Rough, false),
     KeyAction::None, 0},
    {"Ctrl+Right is not the bar's", Qt::Key_Right, Qt::ControlModifier, kAll, KeyAction::None, 0},
    {"Shift+Enter is not an answer", Qt::Key_Return, Qt::ShiftModifier, kAll, KeyAction::None, 0},
    {"Alt+Escape is not an answer", Qt::Key_Escape, Qt::AltModifier, kAll, KeyAction::None, 0},
    {"a letter", Qt::Key_A, Qt::NoModifier, kAll, KeyAction::None, 0},
    {"Enter in a text field", Qt::Key_Return, Qt::NoModifier,
     State(true, true, TemplateBar::Rough, true, KeyFocus::TextField), KeyAction::None, 0},
    {"arrow in a text field", Qt::Key_Left, Qt::NoModifier,
     State(true, true, TemplateBar::Rough, true, KeyFocus::TextField), KeyAction::None, 0},
    {"F5 in a text field", Qt::Key_F5, Qt::NoModifier,
     State(true, true, TemplateBar::Rough, true, KeyFocus::TextField), KeyAction::None, 0},
};

TEST(WizardKeys, EachKeyStandsForItsActionOnlyWhereItCanAct) {
    for (const KeyCase& c : kKeyCases) {
        SCOPED_TRACE(c.what);
        const KeyCommand got = WizardKeyFor(c.key, c.modifiers, c.state);
        EXPECT_EQ(got.action, c.action);
        EXPECT_EQ(got.degrees, c.degrees);
        if (got.action == KeyAction::TurnBar) {
            EXPECT_EQ(got.bar, c.state.bar);
        }
    }
    // The bar turned is the one that can be seen.
    EXPECT_EQ(WizardKeyFor(Qt::Key_Up, {}, State(false, false, TemplateBar::Finding, false)).bar,
              TemplateBar::Finding);
}

TEST(WizardKeys, TextFieldsAreTheLineEditsSpinBoxesAndEditableLists) {
    QLineEdit line;
    QSpinBox spin;
    QComboBox fixedList;
    QComboBox editableList;
    editableList.setEditable(true);
    QSlider bar;
    QPushButton button;
    const std::pair<const QWidget*, KeyFocus> cases[] = {
        {nullptr, KeyFocus::Other},
        {&line, KeyFocus::TextField},
        {&spin, KeyFocus::TextField},
        {&editableList, KeyFocus::TextField},
        {editableList.lineEdit(), KeyFocus::TextField},
        {&fixedList, KeyFocus::Other},
        {&bar, KeyFocus::Other},
        {&button, KeyFocus::Other},
    };
    for (const auto& [widget, kind] : cases)
        EXPECT_EQ(FocusKindOf(widget), kind)
            << (widget ? widget->metaObject()->className() : "no focus");
}

TEST(WizardKeys, ZoomStepsThroughTheThreeZoomsAndStopsAtTheEnds) {
    const struct {
        float from;
        int direction;
        float to;
    } cases[] = {{0.5f, +1, 0.75f}, {0.75f, +1, 1.0f}, {1.0f, +1, 1.0f}, {1.0f, -1, 0.75f},
                 {0.75f, -1, 0.5f}, {0.5f, -1, 0.5f},  {0.6f, -1, 0.75f}};
    for (const auto& c : cases)
        EXPECT_EQ(NextZoom(c.from, c.direction), c.to) << c.from << " " << c.direction;
}

// ---- the keys in the window ------------------------------------------------------------

class KeysTest : public WorkflowTest {
protected:
    void startActive() {
        start();
        w().activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&w()));
    }

    // A key as the user presses it: to the control with the focus, or the window.
    void press(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QWidget* target = QApplication::focusWidget();
        if (!target || target->window() != &w())
            target = &w();
        QTest::keyClick(target, static_cast<Qt::Key>(key), modifiers);
    }
};

struct AnswerCase {
    int step; // driven to first
    int key;
    bool disableRight; // the right button disabled before the key
    int stepAfter;
};

const AnswerCase kAnswerCases[] = {
    {1, Qt::Key_Escape, false, 1},   // no left button
    {1, Qt::Key_Return, false, 2},   // "Finished"
    {3, Qt::Key_Return, false, 3},   // neither button: a double-click is wanted
    {3, Qt::Key_Escape, false, 3},   //
    {4, Qt::Key_Return, true, 4},    // a disabled "Finished"
    {4, Qt::Key_Enter, false, 5},    // the keypad's Enter
    {5, Qt::Key_Escape, false, 3},   // "Reset"
    {12, Qt::Key_Return, false, 12}, // no tip buttons before "Start Monitor"
    {13, Qt::Key_Escape, false, 1},  // "Restart"
};

TEST_F(KeysTest, EnterAndEscapeAnswerOnlyWithTheirButtonShownAndEnabled) {
    startActive();
    for (const AnswerCase& c : kAnswerCases) {
        SCOPED_TRACE(::testing::Message() << "step " << c.step << " key " << c.key);
        driveTo(c.step);
        ui().Btn2_tip->setEnabled(!c.disableRight);
        press(c.key);
        ui().Btn2_tip->setEnabled(true);
        EXPECT_EQ(w().wizardStep, c.stepAfter);
    }
}

TEST_F(KeysTest, F5StartsTheMonitorOnlyInItsStep) {
    startActive();
    driveTo(Wizard::GetCurrentPolaris);
    press(Qt::Key_F5);
    EXPECT_EQ(w().wizardStep, Wizard::GetCurrentPolaris);
    EXPECT_FALSE(g_monitorPole);
    driveTo(Wizard::CalcPole);
    press(Qt::Key_F5);
    EXPECT_EQ(w().wizardStep, Wizard::FinetunePole);
    EXPECT_TRUE(g_monitorPole);
}

struct TurnCase {
    int key;
    int by;
};
const TurnCase kTurns[] = {{Qt::Key_Right, +1}, {Qt::Key_Up, +1},      {Qt::Key_Left, -1},
                           {Qt::Key_Down, -1},  {Qt::Key_PageUp, +10}, {Qt::Key_PageDown, -10}};

TEST_F(KeysTest, ArrowsTurnTheVisibleTemplateBarAndNothingWithoutOne) {
    startActive();
    QSlider* finding = ui().TrackBar_mask_finding;
    QSlider* rough = ui().TrackBar_mask_rough;
    auto turnsOnly = [&](QSlider* bar, QSlider* other, const char* where) {
        SCOPED_TRACE(where);
        bar->setValue(100);
        other->setValue(200);
        for (const TurnCase& t : kTurns) {
            const int before = bar->value();
            press(t.key);
            EXPECT_EQ(bar->value(), before + t.by) << t.key;
        }
        EXPECT_EQ(other->value(), 200);
        // At the ends the bar stops, as its buttons do.
        bar->setValue(bar->maximum() - 3);
        press(Qt::Key_PageUp);
        EXPECT_EQ(bar->value(), bar->maximum());
    };
    auto turnsNone = [&](const char* where) {
        SCOPED_TRACE(where);
        finding->setValue(100);
        rough->setValue(200);
        for (const TurnCase& t : kTurns)
            press(t.key);
        EXPECT_EQ(finding->value(), 100);
        EXPECT_EQ(rough->value(), 200);
    };

    turnsNone("step 1: the camera settings, no bar");
    driveTo(Wizard::ConfirmPolaris);
    turnsOnly(finding, rough, "step 2: the finding bar");
    EXPECT_EQ(w().Img_Mask->rotation(), double(finding->value())); // the template follows the bar
    // With the focus on the bar itself a key still turns it once, not twice.
    finding->setFocus();
    turnsOnly(finding, rough, "step 2, the bar focused");
    driveTo(Wizard::GetExpectPolaris);
    turnsOnly(rough, finding, "step 9: the rough bar");
    EXPECT_EQ(w().maskAngle, float(rough->value()));
    driveTo(Wizard::CalcPole);
    turnsNone("step 12: the precise panel, no bar");
}

TEST_F(KeysTest, NoKeyActsWhileATextFieldHasTheFocus) {
    startActive();
    driveTo(Wizard::ConfirmPolaris);
    // A text field in the window: what is typed there stays there.
    auto* line = new QLineEdit(ui().centralwidget);
    auto* spin = new QSpinBox(ui().centralwidget);
    line->show();
    spin->show();
    g_zoom = 0.75f;
    for (QWidget* field : {static_cast<QWidget*>(line), static_cast<QWidget*>(spin)}) {
        SCOPED_TRACE(field->metaObject()->className());
        field->setFocus();
        ASSERT_EQ(QApplication::focusWidget(), field);
        ui().TrackBar_mask_finding->setValue(100);
        for (int key :
             {int(Qt::Key_Return), int(Qt::Key_Escape), int(Qt::Key_Right), int(Qt::Key_PageUp),
              int(Qt::Key_F5), int(Qt::Key_Plus), int(Qt::Key_Minus), int(Qt::Key_F1)})
            press(key);
        EXPECT_EQ(w().wizardStep, Wizard::ConfirmPolaris);
        EXPECT_EQ(ui().TrackBar_mask_finding->value(), 100);
        EXPECT_EQ(g_zoom, 0.75f);
        EXPECT_EQ(w().findChild<ManualWindow*>(), nullptr);
    }
    EXPECT_TRUE(line->text().contains(QLatin1Char('+'))); // the field had its keys

    // Elsewhere the same keys act.
    ui().TrackBar_mask_finding->setFocus();
    press(Qt::Key_Plus);
    EXPECT_EQ(g_zoom, 1.0f);
    press(Qt::Key_Right);
    EXPECT_EQ(ui().TrackBar_mask_finding->value(), 101);
}

TEST_F(KeysTest, TheMenusShowTheirShortcutsAndPlusAndMinusZoom) {
    startActive();
    // The keys as the manual's keyboard section lists them; no other item has one.
    const std::map<QString, QString> manualKeys = {
        {"MenuItem_connect", "Ctrl+K"},  {"MenuItem_save", "Ctrl+S"},
        {"MenuItem_exit", "Ctrl+Q"},     {"MenuItem_showMask", "Ctrl+T"},
        {"MenuItem_astroRef", "Ctrl+R"}, {"MenuItem_manual", "F1"},
        {"MenuItem_zoomIn", "+"},        {"MenuItem_zoomOut", "-"}};
    std::map<QString, QString> shown;
    for (const QAction* action : w().findChildren<QAction*>()) {
        if (!action->shortcut().isEmpty())
            shown[action->objectName()] = action->shortcut().toString(QKeySequence::PortableText);
    }
    EXPECT_EQ(shown, manualKeys);
    EXPECT_EQ(w().MenuItem_zoomIn->text(), "Zoom In");
    EXPECT_EQ(w().MenuItem_zoomOut->text(), "Zoom Out");
    EXPECT_TRUE(ui().MenuItem_zoom->actions().contains(w().MenuItem_zoomIn));

    const struct {
        int key;
        float zoomAfter;
        QAction* checked;
    } steps[] = {{Qt::Key_Minus, 0.75f, ui().MenuItem_75}, {Qt::Key_Minus, 0.5f, ui().MenuItem_50},
                 {Qt::Key_Minus, 0.5f, ui().MenuItem_50},  {Qt::Key_Plus, 0.75f, ui().MenuItem_75},
                 {Qt::Key_Plus, 1.0f, ui().MenuItem_100},  {Qt::Key_Plus, 1.0f, ui().MenuItem_100}};
    w().MenuItem_100Click();
    for (const auto& s : steps) {
        press(s.key);
        EXPECT_EQ(g_zoom, s.zoomAfter);
        EXPECT_TRUE(s.checked->isChecked());
    }

    // Not connected, the Zoom menu is disabled, and so are its keys.
    ui().MenuItem_zoom->setEnabled(false);
    press(Qt::Key_Minus);
    EXPECT_EQ(g_zoom, 1.0f);
    ui().MenuItem_zoom->setEnabled(true);

    press(Qt::Key_F1);
    auto* manual = w().findChild<ManualWindow*>();
    ASSERT_NE(manual, nullptr);
    EXPECT_TRUE(manual->isVisible());
}

} // namespace
