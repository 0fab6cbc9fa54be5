#pragma once

// Sending one key press or release as if it had been typed. Keys are named
// by Windows virtual-key codes, the numbers the program's key handling is
// written in. The event is posted, not sent: it arrives after the current
// handler has returned, in order with the keys the transcriber types.
//
// Program code reaches this through Services::input().sendKey, so that tests
// can record what was sent.

class QObject;

// The Qt::Key for a virtual-key code: Backspace (8), Tab (9), Return (13),
// Shift (16), Control (17), Alt (18), Escape (27), Space (32), Page Up and
// Down (33, 34), End (35), Home (36), the arrows (37-40), Insert (45),
// Delete (46), the digits (48-57), the letters (65-90) and F1-F12 (112-123).
// Any other code gives 0.
int QtKeyFromVk(int vk);

// Posts a KeyPress (bKeyDown true) or KeyRelease of vk to the object that
// has the keyboard focus (QGuiApplication::focusObject(), else the focus
// window). Does nothing when nothing has the focus or vk has no Qt key.
void SendKey(int vk, bool bKeyDown);

// As SendKey, to the given target; nothing when target is null. The event
// carries the current keyboard modifiers, and the text a typed key would
// give (a letter in lower case, or upper case while Shift is held).
void SendKeyTo(QObject *target, int vk, bool bKeyDown);
