#pragma once

// The rich-text box as the entry boxes use it: one line of text with a
// colour per character (typed text black, the grey ghost text of a
// completion), a caret and selection, a background colour, a place on its
// window in twips, shown or hidden, and the events its handlers hook.
// Widget-free, so that the boxes' rules run and are tested without a
// window; RichTextView shows it and feeds it the keyboard and the mouse.
//
// Events. Change is raised once for each change of the text, by the
// program or by the user, and not when a write leaves the text as it was
// (so a Change handler may write the box's text back without running
// again). Colours, caret and selection changes raise nothing. The box
// raises its events whatever gEvents says; handlers that must stay quiet
// ask gEvents themselves.
//
// Keys. A handler swallows a key by setting the code it is given to 0:
//     connect(box, &RichTextBox::KeyDown, owner, [](int &KeyCode, int Shift) {
//         if (KeyCode == VbKeys::vbKeyTab) { ...; KeyCode = 0; }
//     });
// Handlers run in the order they were connected, each seeing the code left
// by those before it; a handler given 0 has no key to act on. A KeyPress
// handler may also change the character (a Windows-1252 code) to type
// another one. One key press (pressKey) runs:
//   1. KeyDown(KeyCode, Shift), for a key that has a code;
//   2. when KeyDown swallowed it: nothing more, no KeyPress either;
//   3. the editing of the code left: arrows, Home, End, Delete, the
//      clipboard keys (Ctrl+V, Ctrl+X, Ctrl+C, Shift+Insert, Shift+Delete,
//      Ctrl+Insert) and the word keys (Ctrl+Left, Ctrl+Right,
//      Ctrl+Backspace, Ctrl+Delete);
//   4. for a key that types, each character in turn: KeyPress(KeyAscii);
//      unless swallowed, Backspace (8) deletes the selection or the
//      character before the caret, a printable character replaces the
//      selection at the caret in the typing colour, and Tab, Enter, Escape
//      and other control characters do nothing (the box has one line).
// Text pasted goes through step 4 character by character, so a handler
// that refuses a typed character refuses it pasted too.

#include <QObject>
#include <QRect>
#include <QString>

#include <cstdint>
#include <optional>
#include <vector>

class RichTextBox : public QObject
{
    Q_OBJECT

public:
    // Colours are 0x00BBGGRR.
    static constexpr std::uint32_t TypedColour = 0x000000;
    static constexpr std::uint32_t GhostColour = 0x808080;
    static constexpr std::uint32_t DefaultBackColour = 0xFFFFFF;

    // What the box asks of the window that shows it.
    class Window
    {
    public:
        virtual ~Window() = default;
        // The box's rectangle on the screen, in pixels.
        virtual QRect screenRect() const = 0;
    };

    explicit RichTextBox(QObject *parent = nullptr);

    // The whole text. Writing it colours every character black, puts the
    // caret at 0 without a selection, and raises Change when the text
    // differs from the old one.
    QString Text() const { return mText; }
    void setText(const QString &text);

    // The caret and selection. SelStart is the start of the selection (the
    // caret when there is none); writing it drops the selection; a value
    // beyond the text puts the caret at the end, a negative one at 0.
    int SelStart() const;
    void setSelStart(int start);
    // The selection's length from SelStart; clamped to the text.
    int SelLength() const;
    void setSelLength(int length);
    // The selected text. Writing it replaces the selection (or inserts at
    // the caret) in the colour SelColor reads, puts the caret after it
    // without a selection and raises Change when the text changed.
    QString SelText() const;
    void setSelText(const QString &text);

    // With a selection: reading gives its first character's colour, writing
    // colours every selected character. Without one: the colour the next
    // typed character takes. That is the colour last written while there
    // was no selection, until the caret or the text changes; otherwise
    // the colour of the character before the caret (at 0 of the first
    // character; black in an empty box).
    std::uint32_t SelColor() const;
    void setSelColor(std::uint32_t colour);
    // The colour of one character; black outside the text.
    std::uint32_t colorAt(int index) const;

    std::uint32_t BackColor() const { return mBackColor; }
    void setBackColor(std::uint32_t colour);

    // The place on the window, in twips; negative sizes count as 0.
    int Left() const { return mLeft; }
    int Top() const { return mTop; }
    int Width() const { return mWidth; }
    int Height() const { return mHeight; }
    void setLeft(int twips);
    void setTop(int twips);
    void setWidth(int twips);
    void setHeight(int twips);
    // Places (and sizes) the box in one step.
    void Move(int left, int top, std::optional<int> width = {}, std::optional<int> height = {});

    // A new box is hidden.
    bool Visible() const { return mVisible; }
    void setVisible(bool visible);
    // 0 brings the box in front of its siblings, 1 sends it behind them.
    void ZOrder(int position = 0);
    // Asks the window to give the box the keyboard focus; the window does
    // when the box is shown. GotFocus follows when the focus arrives.
    void SetFocus();
    // How many times SetFocus was called.
    int focusRequests() const { return mFocusRequests; }
    // Whether the box has the keyboard focus, as its window reports.
    bool hasFocus() const { return mHasFocus; }

    // The screen rectangle the window reports (what the pick list is placed
    // under); empty while no window shows the box.
    QRect screenRect() const;
    // The window that shows the box (not owned); nullptr for none.
    void setWindow(Window *window) { mWindow = window; }

    // Input from the window (or a test standing in for it).
    // The caret is the moving end of the selection: where typing goes, and
    // what Shift with an arrow moves; the anchor is the other end.
    int caretPosition() const { return mCaret; }
    int anchorPosition() const { return mAnchor; }
    // One key press: keyCode and shift as VbKeys gives them (keyCode 0
    // for a key without a code, which raises no KeyDown); typed holds what
    // the key types: its characters, or "\b", "\t", "\r", "\x1b" for
    // Backspace, Tab, Enter and Escape, or nothing.
    void pressKey(int keyCode, int shift, const QString &typed = QString());
    // One character by its Windows-1252 code: KeyPress, then the typing.
    void typeCharacter(int keyAscii);
    // Characters typed one after the other (what an input method commits).
    // A character that Windows-1252 cannot hold is refused with the beep.
    // Stops when a handler hides the box on the way.
    void typeText(const QString &text);
    // A paste: the text up to its first line break, typed as typeText does.
    void pasteText(const QString &text);
    // True while a paste is being typed: a handler that reads the keyboard
    // (Shift inverting a typed letter's case) leaves pasted text alone.
    bool pasting() const { return mPasting; }
    void pasteFromClipboard();
    void copyToClipboard() const;
    // Copies the selection and deletes it (one Change).
    void cutToClipboard();
    // Moves the caret to position; with extend, the anchor stays.
    void placeCaret(int position, bool extend);
    // Selects the word (run of non-blanks) that holds position.
    void selectWordAt(int position);
    // A mouse button released over the box: raises MouseUp.
    void releaseMouseButton(int button, int shift, int xTwips, int yTwips);
    // The window's focus reports. focusIn raises GotFocus when the focus
    // came from elsewhere (gotFocus), not when it only came back to the
    // box with its window or after a menu closed.
    void focusIn(bool gotFocus = true);
    void focusOut();

signals:
    // The text changed.
    void Change();
    // A key went down: KeyCode by reference (0 swallows the key), Shift
    // 1 Shift, 2 Ctrl, 4 Alt.
    void KeyDown(int &KeyCode, int Shift);
    // A character is about to be typed: KeyAscii (Windows-1252) by
    // reference; 0 swallows it, another code types that character instead.
    void KeyPress(int &KeyAscii);
    // A mouse button went up over the box: Button 1 left, 2 right,
    // 4 middle; Shift as for KeyDown; x and y in twips from the box's top
    // left corner.
    void MouseUp(int Button, int Shift, int x, int y);
    void GotFocus();

    // For the window: what it shows changed (text, colours, caret,
    // selection, background); its place changed; shown or hidden;
    // ZOrder and SetFocus.
    void displayChanged();
    void geometryChanged();
    void visibleChanged(bool visible);
    void zOrderRequested(int position);
    void focusRequested();

private:
    int length() const { return int(mText.size()); }
    int clamp(int position) const;
    // Sets anchor and caret; forgets a typing colour set without a
    // selection.
    void select(int anchor, int caret);
    // Replaces length characters at start by text in colour, leaves the
    // caret after it, and raises Change when the text changed.
    void replace(int start, int length, const QString &text, std::uint32_t colour);
    void deleteSelection();
    // The default editing of a key that KeyDown left.
    void editKey(int keyCode, int shift);
    // Word edges for the Ctrl keys (words are runs of non-blanks): the
    // start of the word before position, the start of the word after it.
    int wordStartBefore(int position) const;
    int nextWordStart(int position) const;

    QString mText;
    std::vector<std::uint32_t> mColours; // one a character
    int mAnchor = 0;
    int mCaret = 0;
    std::optional<std::uint32_t> mTypingColour;
    std::uint32_t mBackColor = DefaultBackColour;
    int mLeft = 0;
    int mTop = 0;
    int mWidth = 0;
    int mHeight = 0;
    bool mVisible = false;
    bool mHasFocus = false;
    bool mPasting = false;
    int mFocusRequests = 0;
    Window *mWindow = nullptr;
};
