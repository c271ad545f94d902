// The keyboard of the main window: which action a key press stands for, and the
// shortcuts of the menu items.
//
// Usage (the window's key glue, workflow/Keyboard.cpp):
//   KeyState s;
//   s.focus = FocusKindOf(QApplication::focusWidget());
//   s.rightAnswer = Btn2_tip shown and enabled; s.leftAnswer = the same for Btn1_tip;
//   s.bar = TemplateBar::Rough;                 // the template bar that can be seen
//   s.monitorReady = wizardStep == Wizard::CalcPole;
//   const KeyCommand c = WizardKeyFor(Qt::Key_PageUp, Qt::NoModifier, s);
//   // c.action == KeyAction::TurnBar, c.degrees == +10
//
//   for (const MenuShortcut& m : MenuShortcuts())       // applied once at start-up
//       form.findChild<QAction*>(m.action)->setShortcut(QKeySequence(m.keys));
//
// The keys of the wizard:
//   Enter, Return            the tip panel's right button (Finished, Success, Correct)
//   Escape                   the tip panel's left button (Reset, Restart)
//   Right, Up / Left, Down   the visible template bar one degree on / back
//   Page Up / Page Down      the visible template bar ten degrees on / back
//   F5                       "Start Monitor"
// A key acts only when what it stands for can be seen and used: a hidden or
// disabled button, no visible bar, or a step other than the one of "Start Monitor"
// leave the key to the focused control. While a text field (line edit, spin box,
// editable drop-down list) has the focus no key of the window acts, and neither do
// the menu shortcuts (the glue lets the field have them). Keys with Ctrl, Alt or
// Shift are never the wizard's (the keypad's own keys count as plain keys).
#pragma once

#include <Qt>

#include <span>

class QWidget;

enum class KeyFocus {
    Other,     // a button, a bar, the live image, or nothing
    TextField, // the keys belong to what is typed
};

enum class TemplateBar { None, Finding, Rough };

struct KeyState {
    KeyFocus focus = KeyFocus::Other;
    bool rightAnswer = false; // the right answer button is shown and enabled
    bool leftAnswer = false;  // the left answer button is shown and enabled
    TemplateBar bar = TemplateBar::None;
    bool monitorReady = false; // "Start Monitor" is the step's action
};

enum class KeyAction { None, AnswerRight, AnswerLeft, TurnBar, StartMonitor };

struct KeyCommand {
    KeyAction action = KeyAction::None;
    int degrees = 0; // TurnBar: the turn, positive on
    TemplateBar bar = TemplateBar::None;
};

KeyCommand WizardKeyFor(int key, Qt::KeyboardModifiers modifiers, const KeyState& state);

// Text fields take the keys; everything else leaves them to the window.
KeyFocus FocusKindOf(const QWidget* focus);

// The menu items' shortcuts, by object name; the menus show them beside the items.
struct MenuShortcut {
    const char* action; // object name of the QAction
    const char* keys;   // QKeySequence text, portable form
};
std::span<const MenuShortcut> MenuShortcuts();
