#pragma once

// Typing into an entry box in tests: a key sequence as text, and doubles
// of the windows the boxes reach.
//
// Sequences: a character types itself (letters and digits with their key
// codes); "^x" types x with Shift held; "<Name>" presses a named key, with
// "S-", "C-", "A-" in front for Shift, Ctrl and Alt (Shift is then also
// held on the keyboard): Tab, Enter, BS, Left, Right, Up, Down, Home, End,
// PgUp, PgDn, Ins, Del, F4, F9, F11, F12, and C-V (a paste). "<Sel:a,b>"
// selects from a to b (the caret at b).

#include "core/ScriptedServices.h"
#include "entry/EntryBoxWindow.h"
#include "entry/RichTextBox.h"
#include "entry/VbKeyCodes.h"

#include <QStringList>

namespace EntryKeys {

inline void pressNamed(RichTextBox &box, ScriptedInputService &input, QString name)
{
    using namespace VbKeys;
    int shift = 0;
    for (;;) {
        if (name.startsWith(QLatin1String("S-")))
            shift |= vbShiftMask;
        else if (name.startsWith(QLatin1String("C-")))
            shift |= vbCtrlMask;
        else if (name.startsWith(QLatin1String("A-")))
            shift |= vbAltMask;
        else
            break;
        name = name.mid(2);
    }
    if (name.startsWith(QLatin1String("Sel:"))) {
        const QStringList ends = name.mid(4).split(u',');
        box.placeCaret(ends.value(0).toInt(), false);
        box.placeCaret(ends.value(1).toInt(), true);
        return;
    }
    struct Named
    {
        const char *name;
        int code;
        const char *typed;
    };
    static const Named keys[] = {
        {"Tab", vbKeyTab, "\t"},   {"Enter", vbKeyReturn, "\r"}, {"BS", vbKeyBack, "\b"},
        {"Left", vbKeyLeft, ""},   {"Right", vbKeyRight, ""},    {"Up", vbKeyUp, ""},
        {"Down", vbKeyDown, ""},   {"Home", vbKeyHome, ""},      {"End", vbKeyEnd, ""},
        {"PgUp", vbKeyPageUp, ""}, {"PgDn", vbKeyPageDown, ""},  {"Ins", vbKeyInsert, ""},
        {"Del", vbKeyDelete, ""},  {"F4", vbKeyF1 + 3, ""},      {"F9", vbKeyF1 + 8, ""},
        {"F11", vbKeyF1 + 10, ""}, {"F12", vbKeyF1 + 11, ""},    {"V", vbKeyA + 21, ""},
    };
    for (const Named &key : keys) {
        if (name == QLatin1String(key.name)) {
            input.shift = shift & vbShiftMask;
            // Backspace and Tab type nothing with Ctrl or Alt held.
            const bool types = (shift & (vbCtrlMask | vbAltMask)) == 0;
            box.pressKey(key.code, shift, types ? QString::fromLatin1(key.typed) : QString());
            input.shift = false;
            return;
        }
    }
    qFatal("unknown key name %s", qPrintable(name));
}

inline void press(RichTextBox &box, ScriptedInputService &input, const QString &keys)
{
    for (qsizetype i = 0; i < keys.size(); ++i) {
        QChar c = keys.at(i);
        if (c == u'<') {
            const qsizetype end = keys.indexOf(u'>', i);
            pressNamed(box, input, keys.mid(i + 1, end - i - 1));
            i = end;
            continue;
        }
        bool shift = false;
        if (c == u'^' && i + 1 < keys.size()) {
            shift = true;
            c = keys.at(++i);
        }
        int code = 0;
        if (c.unicode() < 128 && c.isLetter())
            code = VbKeys::vbKeyA + (c.toUpper().unicode() - u'A');
        else if (c.isDigit() || c == u' ')
            code = c.unicode();
        input.shift = shift;
        box.pressKey(code, shift ? VbKeys::vbShiftMask : 0,
                     QString(shift ? c.toUpper() : c));
        input.shift = false;
    }
}

// The grey tail of the box's text.
inline QString ghostOf(const RichTextBox &box)
{
    const QString text = box.Text();
    qsizetype start = text.size();
    while (start > 0 && box.colorAt(int(start - 1)) == RichTextBox::GhostColour)
        --start;
    return text.mid(start);
}

class RecordingWindow : public EntryBoxWindow, public EntryBoxScan, public EntryBoxPicker
{
public:
    RecordingWindow()
    {
        SetBoxWindow(this);
        SetBoxScan(this);
        SetBoxPicker(this);
    }
    ~RecordingWindow() override
    {
        SetBoxWindow(nullptr);
        SetBoxScan(nullptr);
        SetBoxPicker(nullptr);
    }
    void Set_TextBox() override { calls << QStringLiteral("Set_TextBox"); }
    void PopupCellMenu() override { calls << QStringLiteral("PopupCellMenu"); }
    void PopupRowMenu() override { calls << QStringLiteral("PopupRowMenu"); }
    int MouseCol() const override { return mouseCol; }
    void mnuZoomIn_Click() override { calls << QStringLiteral("ZoomIn"); }
    void mnuZoomOut_Click() override { calls << QStringLiteral("ZoomOut"); }
    void Position_DropDown() override { calls << QStringLiteral("Position_DropDown"); }
    QPoint GridOrigin() const override { return {150, 300}; }
    void ScrollLeft() override { calls << QStringLiteral("ScrollLeft"); }
    void ScrollRight() override { calls << QStringLiteral("ScrollRight"); }
    void ScrollUp() override { calls << QStringLiteral("ScrollUp"); }
    void ScrollDown() override { calls << QStringLiteral("ScrollDown"); }
    void ScrollPage(int direction) override
    {
        calls << QStringLiteral("ScrollPage(%1)").arg(direction);
    }
    void MoveRuler1Line(bool up) override
    {
        calls << (up ? QStringLiteral("RulerUp") : QStringLiteral("RulerDown"));
    }
    void Wakeup() override { calls << QStringLiteral("Wakeup"); }

    QStringList calls;
    int mouseCol = 1;
};

} // namespace EntryKeys
