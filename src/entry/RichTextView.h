#pragma once

// A rich-text box on screen: one line of its text in each character's
// colour (grey ghost text among black), the caret and the selection while
// it has the focus, on the box's background colour, placed on its parent
// widget at the box's twips and shown while the box is Visible.
//
// Keys go to the box as VbKeys codes and Shift states, and what they type
// as characters (RichTextBox::pressKey); input-method text is typed the
// same way. Tab stays in the box. The view claims from the window's
// shortcuts only the plain typing and editing keys (printable characters,
// Backspace, Delete, Left, Right, Home, End, with or without Shift): every
// other key a menu item of the window uses goes to the menu, as it would
// over any control. The mouse places the caret (Shift extends, a drag
// selects, a double click takes a word); every release raises MouseUp.
// There is no context menu of the view's own: the boxes show theirs from
// MouseUp with button 2.

#include "entry/RichTextBox.h"

#include <QBasicTimer>
#include <QPointer>
#include <QWidget>

#include <array>

class RichTextView : public QWidget, private RichTextBox::Window
{
    Q_OBJECT

public:
    explicit RichTextView(QWidget *parent = nullptr);
    ~RichTextView() override;

    // The box shown; not owned. nullptr shows nothing.
    void setBox(RichTextBox *box);
    RichTextBox *box() const { return mBox; }

    // The x in this widget's pixels of a caret position, and the caret
    // position nearest an x.
    int xOfPosition(int position) const;
    int positionAtX(int x) const;

    QSize sizeHint() const override;

protected:
    bool event(QEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void inputMethodEvent(QInputMethodEvent *event) override;
    QVariant inputMethodQuery(Qt::InputMethodQuery query) const override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void changeEvent(QEvent *event) override;
    void timerEvent(QTimerEvent *event) override;

private:
    QRect screenRect() const override;

    void applyGeometry();
    void applyVisible(bool visible);
    void applyZOrder(int position);
    void takeFocus();
    void onDisplayChanged();
    // Scrolls the text sideways so that the caret stays in view.
    void keepCaretInView();
    void restartBlink();
    // The text's left edge, baseline and inner area, in widget pixels.
    int textLeft() const;
    QRect innerRect() const;
    // The width of text in the view's font. Every move of the caret or of
    // the box asks it again for the same few texts, and shaping them anew
    // each time was most of the work of leaving a cell: the last widths
    // measured are kept until the font changes.
    int advance(const QString &text) const;

    struct Measured
    {
        QString text;
        int width = 0;
    };
    mutable std::array<Measured, 4> mMeasured;
    mutable std::size_t mMeasuredNext = 0;

    QPointer<RichTextBox> mBox;
    int mScroll = 0; // pixels of text scrolled out at the left
    bool mCaretShown = true;
    bool mFocusAsked = false; // SetFocus waiting for the focus to arrive
    QBasicTimer mBlink;
};
