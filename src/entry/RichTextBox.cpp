#include "entry/RichTextBox.h"

#include <algorithm>

RichTextBox::RichTextBox(QObject *parent) : QObject(parent) {}

int RichTextBox::clamp(int position) const
{
    return std::clamp(position, 0, length());
}

void RichTextBox::select(int anchor, int caret)
{
    anchor = clamp(anchor);
    caret = clamp(caret);
    const bool moved = anchor != mAnchor || caret != mCaret;
    mAnchor = anchor;
    mCaret = caret;
    mTypingColour.reset();
    if (moved)
        emit displayChanged();
}

void RichTextBox::replace(int start, int count, const QString &text, std::uint32_t colour)
{
    start = clamp(start);
    count = std::clamp(count, 0, length() - start);
    const QString old = mText;
    mText.replace(start, count, text);
    const auto from = mColours.begin() + start;
    mColours.erase(from, from + count);
    mColours.insert(mColours.begin() + start, std::size_t(text.size()), colour);
    mAnchor = mCaret = start + int(text.size());
    mTypingColour.reset();
    emit displayChanged();
    // Last, so that a handler finds the box as it now is and may change it.
    if (mText != old)
        emit Change();
}

void RichTextBox::setText(const QString &text)
{
    const bool changed = text != mText;
    mText = text;
    // A rewritten text is all typed text: whatever was grey is taken.
    mColours.assign(std::size_t(text.size()), TypedColour);
    mAnchor = mCaret = 0;
    mTypingColour.reset();
    emit displayChanged();
    if (changed)
        emit Change();
}

int RichTextBox::SelStart() const
{
    return std::min(mAnchor, mCaret);
}

void RichTextBox::setSelStart(int start)
{
    select(start, start);
}

int RichTextBox::SelLength() const
{
    return std::abs(mCaret - mAnchor);
}

void RichTextBox::setSelLength(int length)
{
    const int start = SelStart();
    select(start, start + std::max(length, 0));
}

QString RichTextBox::SelText() const
{
    return mText.mid(SelStart(), SelLength());
}

void RichTextBox::setSelText(const QString &text)
{
    replace(SelStart(), SelLength(), text, SelColor());
}

std::uint32_t RichTextBox::SelColor() const
{
    if (SelLength() > 0)
        return mColours[std::size_t(SelStart())];
    if (mTypingColour)
        return *mTypingColour;
    if (mText.isEmpty())
        return TypedColour;
    return colorAt(mCaret > 0 ? mCaret - 1 : 0);
}

void RichTextBox::setSelColor(std::uint32_t colour)
{
    if (SelLength() == 0) {
        mTypingColour = colour;
        return;
    }
    const auto from = mColours.begin() + SelStart();
    std::fill(from, from + SelLength(), colour);
    emit displayChanged();
}

std::uint32_t RichTextBox::colorAt(int index) const
{
    if (index < 0 || index >= length())
        return TypedColour;
    return mColours[std::size_t(index)];
}

void RichTextBox::setBackColor(std::uint32_t colour)
{
    if (colour == mBackColor)
        return;
    mBackColor = colour;
    emit displayChanged();
}

void RichTextBox::setLeft(int twips)
{
    Move(twips, mTop);
}

void RichTextBox::setTop(int twips)
{
    Move(mLeft, twips);
}

void RichTextBox::setWidth(int twips)
{
    Move(mLeft, mTop, twips);
}

void RichTextBox::setHeight(int twips)
{
    Move(mLeft, mTop, mWidth, twips);
}

void RichTextBox::Move(int left, int top, std::optional<int> width, std::optional<int> height)
{
    const int newWidth = std::max(width.value_or(mWidth), 0);
    const int newHeight = std::max(height.value_or(mHeight), 0);
    if (left == mLeft && top == mTop && newWidth == mWidth && newHeight == mHeight)
        return;
    mLeft = left;
    mTop = top;
    mWidth = newWidth;
    mHeight = newHeight;
    emit geometryChanged();
}

void RichTextBox::setVisible(bool visible)
{
    if (visible == mVisible)
        return;
    mVisible = visible;
    emit visibleChanged(visible);
}

void RichTextBox::ZOrder(int position)
{
    emit zOrderRequested(position);
}

void RichTextBox::SetFocus()
{
    ++mFocusRequests;
    emit focusRequested();
}

QRect RichTextBox::screenRect() const
{
    return mWindow ? mWindow->screenRect() : QRect();
}

void RichTextBox::focusIn(bool gotFocus)
{
    mHasFocus = true;
    emit displayChanged();
    if (gotFocus)
        emit GotFocus();
}

void RichTextBox::focusOut()
{
    mHasFocus = false;
    emit displayChanged();
}
