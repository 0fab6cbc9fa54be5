// The keyboard, clipboard and mouse side of RichTextBox: what a key press
// raises and what the box does with a key its handlers left alone.

#include "entry/RichTextBox.h"

#include "core/Cp1252.h"
#include "core/MessageWindows.h"
#include "core/Services.h"
#include "entry/VbKeyCodes.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QScopedValueRollback>

using namespace VbKeys;

namespace {

bool isBlank(QChar c)
{
    return c == QLatin1Char(' ');
}

// The Windows-1252 code of a character, or -1 when it has none.
int cp1252Code(QChar c)
{
    if (!Cp1252::canEncode(c))
        return -1;
    return static_cast<unsigned char>(Cp1252::encode(QString(c)).at(0));
}

QChar fromCp1252(int code)
{
    return Cp1252::decode(QByteArray(1, char(code))).at(0);
}

} // namespace

void RichTextBox::pressKey(int keyCode, int shift, const QString &typed)
{
    // What the handlers ask about Shift is answered from this key.
    const Services::KeyInHand key((shift & vbShiftMask) != 0);
    if (keyCode != 0) {
        int code = keyCode;
        emit KeyDown(code, shift);
        if (code == 0)
            return;
        editKey(code, shift);
    }
    typeText(typed);
}

void RichTextBox::typeCharacter(int keyAscii)
{
    int code = keyAscii;
    emit KeyPress(code);
    if (code <= 0 || code > 255)
        return;
    if (code == vbKeyBack) {
        if (SelLength() > 0)
            deleteSelection();
        else if (mCaret > 0)
            replace(mCaret - 1, 1, QString(), TypedColour);
        return;
    }
    // One line: Tab, Enter, Escape and the other control characters type
    // nothing.
    if (code < 32 || code == 127)
        return;
    replace(SelStart(), SelLength(), QString(fromCp1252(code)), SelColor());
}

void RichTextBox::typeText(const QString &text)
{
    const bool wasVisible = mVisible;
    bool refused = false;
    for (const QChar c : text) {
        const int code = cp1252Code(c);
        if (code < 0) {
            // The files hold Windows-1252 only.
            refused = true;
            continue;
        }
        typeCharacter(code);
        // A handler that moved on to another cell hid the box: the rest
        // belongs to no cell.
        if (wasVisible && !mVisible)
            break;
    }
    if (refused)
        BeepIfEnabled();
}

void RichTextBox::pasteText(const QString &text)
{
    // One line: a paste ends at the first line break.
    qsizetype end = text.indexOf(QLatin1Char('\r'));
    const qsizetype lf = text.indexOf(QLatin1Char('\n'));
    if (end < 0 || (lf >= 0 && lf < end))
        end = lf;
    const QScopedValueRollback<bool> pasting(mPasting, true);
    typeText(end < 0 ? text : text.left(end));
}

void RichTextBox::pasteFromClipboard()
{
    if (const QClipboard *clipboard = QGuiApplication::clipboard())
        pasteText(clipboard->text());
}

void RichTextBox::copyToClipboard() const
{
    if (SelLength() == 0)
        return;
    if (QClipboard *clipboard = QGuiApplication::clipboard())
        clipboard->setText(SelText());
}

void RichTextBox::cutToClipboard()
{
    if (SelLength() == 0)
        return;
    copyToClipboard();
    deleteSelection();
}

void RichTextBox::deleteSelection()
{
    replace(SelStart(), SelLength(), QString(), TypedColour);
}

void RichTextBox::placeCaret(int position, bool extend)
{
    select(extend ? mAnchor : position, position);
}

void RichTextBox::selectWordAt(int position)
{
    position = clamp(position);
    int start = position;
    int end = position;
    while (start > 0 && !isBlank(mText.at(start - 1)))
        --start;
    while (end < length() && !isBlank(mText.at(end)))
        ++end;
    select(start, end);
}

void RichTextBox::releaseMouseButton(int button, int shift, int xTwips, int yTwips)
{
    emit MouseUp(button, shift, xTwips, yTwips);
}

int RichTextBox::wordStartBefore(int position) const
{
    while (position > 0 && isBlank(mText.at(position - 1)))
        --position;
    while (position > 0 && !isBlank(mText.at(position - 1)))
        --position;
    return position;
}

int RichTextBox::nextWordStart(int position) const
{
    while (position < length() && !isBlank(mText.at(position)))
        ++position;
    while (position < length() && isBlank(mText.at(position)))
        ++position;
    return position;
}

void RichTextBox::editKey(int keyCode, int shift)
{
    const bool extend = shift & vbShiftMask;
    const bool word = shift & vbCtrlMask;
    const bool alt = shift & vbAltMask;
    if (alt)
        return;
    // The moving keys: Shift moves the caret alone, Ctrl by words.
    switch (keyCode) {
    case vbKeyLeft:
        if (word)
            placeCaret(wordStartBefore(mCaret), extend);
        else if (!extend && SelLength() > 0)
            placeCaret(SelStart(), false);
        else
            placeCaret(mCaret - 1, extend);
        return;
    case vbKeyRight:
        if (word)
            placeCaret(nextWordStart(mCaret), extend);
        else if (!extend && SelLength() > 0)
            placeCaret(SelStart() + SelLength(), false);
        else
            placeCaret(mCaret + 1, extend);
        return;
    case vbKeyHome:
        placeCaret(0, extend);
        return;
    case vbKeyEnd:
        placeCaret(length(), extend);
        return;
    default:
        break;
    }
    // The editing keys: exact Shift states.
    if (keyCode == vbKeyDelete && shift == 0) {
        if (SelLength() > 0)
            deleteSelection();
        else if (mCaret < length())
            replace(mCaret, 1, QString(), TypedColour);
    } else if (keyCode == vbKeyDelete && shift == vbCtrlMask) {
        if (SelLength() > 0)
            deleteSelection();
        else
            replace(mCaret, nextWordStart(mCaret) - mCaret, QString(), TypedColour);
    } else if (keyCode == vbKeyBack && shift == vbCtrlMask) {
        if (SelLength() > 0) {
            deleteSelection();
        } else {
            const int start = wordStartBefore(mCaret);
            replace(start, mCaret - start, QString(), TypedColour);
        }
    } else if ((keyCode == vbKeyA + ('V' - 'A') && shift == vbCtrlMask)
               || (keyCode == vbKeyInsert && shift == vbShiftMask)) {
        pasteFromClipboard();
    } else if ((keyCode == vbKeyA + ('X' - 'A') && shift == vbCtrlMask)
               || (keyCode == vbKeyDelete && shift == vbShiftMask)) {
        cutToClipboard();
    } else if ((keyCode == vbKeyA + ('C' - 'A') && shift == vbCtrlMask)
               || (keyCode == vbKeyInsert && shift == vbCtrlMask)) {
        copyToClipboard();
    }
}
