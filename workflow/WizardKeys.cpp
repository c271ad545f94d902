#include "workflow/WizardKeys.h"

#include <QAbstractSpinBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTextEdit>

#include <array>

namespace {

KeyCommand Turn(const KeyState& state, int degrees) {
    if (state.bar == TemplateBar::None)
        return {};
    return {KeyAction::TurnBar, degrees, state.bar};
}

} // namespace

KeyCommand WizardKeyFor(int key, Qt::KeyboardModifiers modifiers, const KeyState& state) {
    if (state.focus == KeyFocus::TextField)
        return {};
    if ((modifiers & ~Qt::KeypadModifier) != Qt::NoModifier)
        return {};
    switch (key) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return state.rightAnswer ? KeyCommand{KeyAction::AnswerRight} : KeyCommand{};
    case Qt::Key_Escape:
        return state.leftAnswer ? KeyCommand{KeyAction::AnswerLeft} : KeyCommand{};
    case Qt::Key_Right:
    case Qt::Key_Up:
        return Turn(state, +1);
    case Qt::Key_Left:
    case Qt::Key_Down:
        return Turn(state, -1);
    case Qt::Key_PageUp:
        return Turn(state, +10);
    case Qt::Key_PageDown:
        return Turn(state, -10);
    case Qt::Key_F5:
        return state.monitorReady ? KeyCommand{KeyAction::StartMonitor} : KeyCommand{};
    default:
        return {};
    }
}

KeyFocus FocusKindOf(const QWidget* focus) {
    if (!focus)
        return KeyFocus::Other;
    if (qobject_cast<const QLineEdit*>(focus) || qobject_cast<const QAbstractSpinBox*>(focus) ||
        qobject_cast<const QTextEdit*>(focus) || qobject_cast<const QPlainTextEdit*>(focus))
        return KeyFocus::TextField;
    if (const auto* combo = qobject_cast<const QComboBox*>(focus); combo && combo->isEditable())
        return KeyFocus::TextField;
    return KeyFocus::Other;
}

std::span<const MenuShortcut> MenuShortcuts() {
    static constexpr std::array<MenuShortcut, 8> shortcuts{{
        {"MenuItem_save", "Ctrl+S"},
        {"MenuItem_exit", "Ctrl+Q"},
        {"MenuItem_connect", "Ctrl+K"},
        {"MenuItem_showMask", "Ctrl+T"},
        {"MenuItem_zoomIn", "+"},
        {"MenuItem_zoomOut", "-"},
        {"MenuItem_manual", "F1"},
        {"MenuItem_astroRef", "Ctrl+R"},
    }};
    return shortcuts;
}
