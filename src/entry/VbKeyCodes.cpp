#include "entry/VbKeyCodes.h"

namespace VbKeys {

namespace {

// Where a key lies: Qt gives the main keyboard's digits and operators and
// the keypad's the same key, told apart by the keypad modifier.
enum class Pad { Either, Main, Keypad };

struct Row
{
    int first; // Qt keys first..last have codes code..code + (last - first)
    int last;
    int code;
    Pad pad;
};

constexpr Row one(int qtKey, int code, Pad pad = Pad::Either)
{
    return {qtKey, qtKey, code, pad};
}

constexpr Row kTable[] = {
    one(Qt::Key_Backspace, vbKeyBack),
    one(Qt::Key_Tab, vbKeyTab),
    one(Qt::Key_Backtab, vbKeyTab),
    one(Qt::Key_Clear, 12),
    one(Qt::Key_Return, vbKeyReturn),
    one(Qt::Key_Enter, vbKeyReturn),
    one(Qt::Key_Shift, vbKeyShift),
    one(Qt::Key_Control, vbKeyControl),
    one(Qt::Key_Alt, vbKeyMenu),
    one(Qt::Key_Pause, 19),
    one(Qt::Key_CapsLock, 20),
    one(Qt::Key_Escape, vbKeyEscape),
    one(Qt::Key_Space, vbKeySpace),
    one(Qt::Key_PageUp, vbKeyPageUp),
    one(Qt::Key_PageDown, vbKeyPageDown),
    one(Qt::Key_End, vbKeyEnd),
    one(Qt::Key_Home, vbKeyHome),
    {Qt::Key_Left, Qt::Key_Down, vbKeyLeft, Pad::Either}, // Left, Up, Right, Down
    one(Qt::Key_Print, 44),
    one(Qt::Key_Insert, vbKeyInsert),
    one(Qt::Key_Delete, vbKeyDelete),
    one(Qt::Key_Help, 47),
    {Qt::Key_0, Qt::Key_9, vbKey0, Pad::Main},
    {Qt::Key_0, Qt::Key_9, vbKeyNumpad0, Pad::Keypad},
    {Qt::Key_A, Qt::Key_Z, vbKeyA, Pad::Either},
    one(Qt::Key_Meta, 91),
    one(Qt::Key_Super_L, 91),
    one(Qt::Key_Super_R, 92),
    one(Qt::Key_Menu, 93),
    one(Qt::Key_Asterisk, 106, Pad::Keypad),
    one(Qt::Key_Plus, 107, Pad::Keypad),
    one(Qt::Key_Minus, 109, Pad::Keypad),
    one(Qt::Key_Period, 110, Pad::Keypad),
    one(Qt::Key_Comma, 110, Pad::Keypad),
    one(Qt::Key_Slash, 111, Pad::Keypad),
    {Qt::Key_F1, Qt::Key_F24, vbKeyF1, Pad::Either},
    one(Qt::Key_NumLock, 144),
    one(Qt::Key_ScrollLock, 145),
    // Punctuation, and the digits' shifted symbols, where a US keyboard
    // has them.
    one(Qt::Key_Semicolon, 186, Pad::Main),
    one(Qt::Key_Colon, 186, Pad::Main),
    one(Qt::Key_Equal, 187, Pad::Main),
    one(Qt::Key_Plus, 187, Pad::Main),
    one(Qt::Key_Comma, 188, Pad::Main),
    one(Qt::Key_Less, 188, Pad::Main),
    one(Qt::Key_Minus, 189, Pad::Main),
    one(Qt::Key_Underscore, 189, Pad::Main),
    one(Qt::Key_Period, 190, Pad::Main),
    one(Qt::Key_Greater, 190, Pad::Main),
    one(Qt::Key_Slash, 191, Pad::Main),
    one(Qt::Key_Question, 191, Pad::Main),
    one(Qt::Key_QuoteLeft, 192, Pad::Main),
    one(Qt::Key_AsciiTilde, 192, Pad::Main),
    one(Qt::Key_BracketLeft, 219, Pad::Main),
    one(Qt::Key_BraceLeft, 219, Pad::Main),
    one(Qt::Key_Backslash, 220, Pad::Main),
    one(Qt::Key_Bar, 220, Pad::Main),
    one(Qt::Key_BracketRight, 221, Pad::Main),
    one(Qt::Key_BraceRight, 221, Pad::Main),
    one(Qt::Key_Apostrophe, 222, Pad::Main),
    one(Qt::Key_QuoteDbl, 222, Pad::Main),
    one(Qt::Key_ParenRight, vbKey0, Pad::Main),
    one(Qt::Key_Exclam, vbKey0 + 1, Pad::Main),
    one(Qt::Key_At, vbKey0 + 2, Pad::Main),
    one(Qt::Key_NumberSign, vbKey0 + 3, Pad::Main),
    one(Qt::Key_sterling, vbKey0 + 3, Pad::Main),
    one(Qt::Key_Dollar, vbKey0 + 4, Pad::Main),
    one(Qt::Key_Percent, vbKey0 + 5, Pad::Main),
    one(Qt::Key_AsciiCircum, vbKey0 + 6, Pad::Main),
    one(Qt::Key_Ampersand, vbKey0 + 7, Pad::Main),
    one(Qt::Key_Asterisk, vbKey0 + 8, Pad::Main),
    one(Qt::Key_ParenLeft, vbKey0 + 9, Pad::Main),
};

int codeOf(int qtKey, bool keypad)
{
    for (const Row &row : kTable) {
        if (qtKey < row.first || qtKey > row.last)
            continue;
        if ((row.pad == Pad::Main && keypad) || (row.pad == Pad::Keypad && !keypad))
            continue;
        return row.code + (qtKey - row.first);
    }
    return 0;
}

} // namespace

int vbShift(Qt::KeyboardModifiers modifiers)
{
    return (modifiers.testFlag(Qt::ShiftModifier) ? vbShiftMask : 0)
           | (modifiers.testFlag(Qt::ControlModifier) ? vbCtrlMask : 0)
           | (modifiers.testFlag(Qt::AltModifier) ? vbAltMask : 0);
}

int vbButton(Qt::MouseButton button)
{
    switch (button) {
    case Qt::LeftButton:
        return 1;
    case Qt::RightButton:
        return 2;
    case Qt::MiddleButton:
        return 4;
    default:
        return 0;
    }
}

Key vbKey(int qtKey, Qt::KeyboardModifiers modifiers)
{
    Key key;
    key.code = codeOf(qtKey, modifiers.testFlag(Qt::KeypadModifier));
    key.shift = vbShift(modifiers);
    // The state counts the key being pressed, whatever the platform says
    // of a modifier's own press.
    switch (qtKey) {
    case Qt::Key_Shift:
    case Qt::Key_Backtab:
        key.shift |= vbShiftMask;
        break;
    case Qt::Key_Control:
        key.shift |= vbCtrlMask;
        break;
    case Qt::Key_Alt:
        key.shift |= vbAltMask;
        break;
    default:
        break;
    }
    return key;
}

} // namespace VbKeys
