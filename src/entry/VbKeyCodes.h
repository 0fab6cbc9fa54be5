#pragma once

// The key codes and Shift states the entry boxes' key handlers are written
// in: Windows virtual-key codes (letters 65-90, digits 48-57, F1 112, ...)
// and the Shift state 1 Shift + 2 Ctrl + 4 Alt. Every Qt key reaches the
// handlers through the one table behind vbKey(), so that each key has one
// code wherever it is typed.

#include <Qt>

namespace VbKeys {

// Shift-state bits.
inline constexpr int vbShiftMask = 1;
inline constexpr int vbCtrlMask = 2;
inline constexpr int vbAltMask = 4;

// The codes the handlers name.
inline constexpr int vbKeyBack = 8;
inline constexpr int vbKeyTab = 9;
inline constexpr int vbKeyReturn = 13;
inline constexpr int vbKeyShift = 16;
inline constexpr int vbKeyControl = 17;
inline constexpr int vbKeyMenu = 18; // Alt
inline constexpr int vbKeyEscape = 27;
inline constexpr int vbKeySpace = 32;
inline constexpr int vbKeyPageUp = 33;
inline constexpr int vbKeyPageDown = 34;
inline constexpr int vbKeyEnd = 35;
inline constexpr int vbKeyHome = 36;
inline constexpr int vbKeyLeft = 37;
inline constexpr int vbKeyUp = 38;
inline constexpr int vbKeyRight = 39;
inline constexpr int vbKeyDown = 40;
inline constexpr int vbKeyInsert = 45;
inline constexpr int vbKeyDelete = 46;
inline constexpr int vbKey0 = 48; // to vbKey0 + 9
inline constexpr int vbKeyA = 65; // to vbKeyA + 25
inline constexpr int vbKeyNumpad0 = 96; // to vbKeyNumpad0 + 9
inline constexpr int vbKeyF1 = 112; // to vbKeyF1 + 23 (F24)

struct Key
{
    int code = 0;  // 0: a key without a code (a letter of another alphabet)
    int shift = 0; // Shift 1, Ctrl 2, Alt 4
};

// The code and Shift state of a Qt key event's key and modifiers. Digits
// and operators of the keypad have the keypad's codes (96-111); Shift+Tab
// (Qt's Backtab) is Tab with Shift; a modifier key counts itself in the
// Shift state (Alt pressed while Ctrl is held: code 18, state 6).
// Punctuation has the codes of a US keyboard, shifted or not.
Key vbKey(int qtKey, Qt::KeyboardModifiers modifiers);

// The Shift state (Shift 1, Ctrl 2, Alt 4) of a mouse event's modifiers.
int vbShift(Qt::KeyboardModifiers modifiers);

// A mouse button's code: left 1, right 2, middle 4, any other 0.
int vbButton(Qt::MouseButton button);

} // namespace VbKeys
