#include "entry/RichTextView.h"

#include "core/VbHelpers.h"
#include "entry/VbKeyCodes.h"

#include <QFocusEvent>
#include <QGuiApplication>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QStyleHints>

#include <algorithm>

using namespace VbKeys;

namespace {

constexpr int kMargin = 1; // pixels between the frame and the text

bool isPrintable(QChar c)
{
    return c.unicode() >= 32 && c.unicode() != 127;
}

// What a key types: the printable characters of its text, or the control
// character of Backspace, Tab, Enter and Escape. With Ctrl or Alt held a
// key is a command, and types nothing.
QString typedBy(const QKeyEvent &event, const Key &key)
{
    if (key.shift & (vbCtrlMask | vbAltMask))
        return {};
    switch (key.code) {
    case vbKeyBack:
        return QStringLiteral("\b");
    case vbKeyTab:
        return QStringLiteral("\t");
    case vbKeyReturn:
        return QStringLiteral("\r");
    case vbKeyEscape:
        return QStringLiteral("\x1b");
    default:
        break;
    }
    QString typed;
    for (const QChar c : event.text())
        if (isPrintable(c))
            typed += c;
    return typed;
}

// The keys the box takes even when a shortcut of the window uses them:
// typing and editing within the line. Everything else goes to the
// shortcut when there is one.
bool isPlainTypingKey(const QKeyEvent &event)
{
    const Qt::KeyboardModifiers others = event.modifiers()
                                         & ~(Qt::ShiftModifier | Qt::KeypadModifier
                                             | Qt::GroupSwitchModifier);
    if (others != Qt::NoModifier)
        return false;
    switch (event.key()) {
    case Qt::Key_Backspace:
    case Qt::Key_Delete:
    case Qt::Key_Left:
    case Qt::Key_Right:
    case Qt::Key_Home:
    case Qt::Key_End:
        return true;
    default:
        break;
    }
    const QString text = event.text();
    return !text.isEmpty() && std::all_of(text.begin(), text.end(), isPrintable);
}

} // namespace

RichTextView::RichTextView(QWidget *parent) : QWidget(parent)
{
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_InputMethodEnabled);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setCursor(Qt::IBeamCursor);
    // The boxes pop up their own menus from MouseUp.
    setContextMenuPolicy(Qt::PreventContextMenu);
    setVisible(false);
}

RichTextView::~RichTextView()
{
    if (mBox)
        mBox->setWindow(nullptr);
}

void RichTextView::setBox(RichTextBox *box)
{
    if (mBox) {
        disconnect(mBox, nullptr, this, nullptr);
        mBox->setWindow(nullptr);
    }
    mBox = box;
    mScroll = 0;
    if (!mBox) {
        setVisible(false);
        return;
    }
    mBox->setWindow(this);
    connect(mBox, &RichTextBox::displayChanged, this, &RichTextView::onDisplayChanged);
    connect(mBox, &RichTextBox::geometryChanged, this, &RichTextView::applyGeometry);
    connect(mBox, &RichTextBox::visibleChanged, this, &RichTextView::applyVisible);
    connect(mBox, &RichTextBox::zOrderRequested, this, &RichTextView::applyZOrder);
    connect(mBox, &RichTextBox::focusRequested, this, &RichTextView::takeFocus);
    applyGeometry();
    applyVisible(mBox->Visible());
    onDisplayChanged();
}

QSize RichTextView::sizeHint() const
{
    return {100, fontMetrics().height() + 2 * (kMargin + 1)};
}

QRect RichTextView::screenRect() const
{
    return {mapToGlobal(QPoint(0, 0)), size()};
}

void RichTextView::applyGeometry()
{
    setGeometry(TwipsToPixelsX(mBox->Left()), TwipsToPixelsY(mBox->Top()),
                TwipsToPixelsX(mBox->Width()), TwipsToPixelsY(mBox->Height()));
}

void RichTextView::applyVisible(bool visible)
{
    setVisible(visible);
}

void RichTextView::applyZOrder(int position)
{
    if (position == 0)
        raise();
    else
        lower();
}

void RichTextView::takeFocus()
{
    // As a hidden control cannot take the focus, neither can a hidden box.
    if (!isVisible() || hasFocus())
        return;
    // In a window that is not active (a message box was just closed) the
    // focus arrives when the window is active again, and is news to the
    // box unless the box held it when the window went to the back.
    mFocusAsked = window()->focusWidget() != this;
    setFocus(Qt::OtherFocusReason);
}

void RichTextView::onDisplayChanged()
{
    keepCaretInView();
    if (hasFocus())
        restartBlink();
    update();
}

QRect RichTextView::innerRect() const
{
    return rect().adjusted(1, 1, -1, -1);
}

int RichTextView::textLeft() const
{
    return innerRect().left() + kMargin - mScroll;
}

int RichTextView::xOfPosition(int position) const
{
    if (!mBox)
        return textLeft();
    const QString text = mBox->Text();
    return textLeft() + advance(text.left(std::clamp(position, 0, int(text.size()))));
}

int RichTextView::positionAtX(int x) const
{
    if (!mBox)
        return 0;
    const QString text = mBox->Text();
    const QFontMetrics metrics = fontMetrics();
    int best = 0;
    int bestDistance = std::abs(x - textLeft());
    for (int position = 1; position <= text.size(); ++position) {
        const int distance = std::abs(x - (textLeft() + metrics.horizontalAdvance(text.left(position))));
        if (distance < bestDistance) {
            best = position;
            bestDistance = distance;
        }
    }
    return best;
}

int RichTextView::advance(const QString &text) const
{
    for (const Measured &measured : mMeasured) {
        if (measured.text == text)
            return measured.width;
    }
    Measured &slot = mMeasured[mMeasuredNext];
    mMeasuredNext = (mMeasuredNext + 1) % mMeasured.size();
    slot = {text, fontMetrics().horizontalAdvance(text)};
    return slot.width;
}

void RichTextView::keepCaretInView()
{
    if (!mBox) {
        mScroll = 0;
        return;
    }
    const QString text = mBox->Text();
    const int caret = advance(text.left(mBox->caretPosition()));
    const int whole = advance(text);
    const int room = std::max(innerRect().width() - 2 * kMargin, 1);
    if (caret - mScroll > room)
        mScroll = caret - room;
    if (caret < mScroll)
        mScroll = caret;
    // No blank space at the right while text lies hidden at the left.
    if (whole - mScroll < room)
        mScroll = std::max(whole - room, 0);
}

void RichTextView::restartBlink()
{
    mCaretShown = true;
    const int flash = QGuiApplication::styleHints()->cursorFlashTime();
    if (hasFocus() && flash >= 2)
        mBlink.start(flash / 2, this);
    else
        mBlink.stop();
}

void RichTextView::timerEvent(QTimerEvent *event)
{
    if (event->timerId() != mBlink.timerId()) {
        QWidget::timerEvent(event);
        return;
    }
    mCaretShown = !mCaretShown;
    update();
}

void RichTextView::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.fillRect(rect(), mBox ? ColorFromVb(mBox->BackColor()) : palette().color(QPalette::Base));
    painter.setPen(palette().color(QPalette::Mid));
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
    if (!mBox)
        return;

    const QRect inner = innerRect();
    painter.setClipRect(inner);
    const QFontMetrics metrics = fontMetrics();
    const int baseline = inner.top() + (inner.height() - metrics.height()) / 2 + metrics.ascent();
    const QString text = mBox->Text();
    const int count = int(text.size());
    // The selection shows only while the box has the focus.
    const bool focused = hasFocus();
    const int selFrom = focused ? mBox->SelStart() : 0;
    const int selTo = focused ? selFrom + mBox->SelLength() : 0;
    const auto selected = [&](int i) { return i >= selFrom && i < selTo; };

    // Runs of one colour and one selection state.
    for (int from = 0; from < count;) {
        const std::uint32_t colour = mBox->colorAt(from);
        const bool inSelection = selected(from);
        int to = from + 1;
        while (to < count && mBox->colorAt(to) == colour && selected(to) == inSelection)
            ++to;
        const int left = xOfPosition(from);
        if (inSelection) {
            painter.fillRect(QRect(left, inner.top(), xOfPosition(to) - left, inner.height()),
                             palette().color(QPalette::Highlight));
            painter.setPen(palette().color(QPalette::HighlightedText));
        } else {
            painter.setPen(ColorFromVb(colour));
        }
        painter.drawText(QPoint(left, baseline), text.mid(from, to - from));
        from = to;
    }

    if (focused && mCaretShown && mBox->SelLength() == 0) {
        const int x = xOfPosition(mBox->caretPosition());
        const int top = baseline - metrics.ascent();
        painter.fillRect(QRect(x, top, 1, metrics.height()), ColorFromVb(RichTextBox::TypedColour));
    }
}

void RichTextView::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    keepCaretInView();
}

void RichTextView::changeEvent(QEvent *event)
{
    QWidget::changeEvent(event);
    if (event->type() == QEvent::FontChange) {
        mMeasured.fill({});
        keepCaretInView();
        update();
    }
}

bool RichTextView::event(QEvent *event)
{
    switch (event->type()) {
    case QEvent::ShortcutOverride: {
        auto *key = static_cast<QKeyEvent *>(event);
        if (mBox && isPlainTypingKey(*key)) {
            key->accept();
            return true;
        }
        break;
    }
    case QEvent::KeyPress: {
        // Tab and Shift+Tab are the box's keys (its handlers move between
        // cells with them), not a move to the next widget.
        auto *key = static_cast<QKeyEvent *>(event);
        if (key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab) {
            keyPressEvent(key);
            return true;
        }
        break;
    }
    default:
        break;
    }
    return QWidget::event(event);
}

void RichTextView::keyPressEvent(QKeyEvent *event)
{
    if (!mBox) {
        QWidget::keyPressEvent(event);
        return;
    }
    const Key key = vbKey(event->key(), event->modifiers());
    const QString typed = typedBy(*event, key);
    if (key.code == 0 && typed.isEmpty()) {
        event->ignore();
        return;
    }
    event->accept();
    restartBlink();
    mBox->pressKey(key.code, key.shift, typed);
}

void RichTextView::inputMethodEvent(QInputMethodEvent *event)
{
    // Composed characters are typed when committed; what is being
    // composed is not shown in the box.
    if (mBox && !event->commitString().isEmpty())
        mBox->typeText(event->commitString());
    event->accept();
}

QVariant RichTextView::inputMethodQuery(Qt::InputMethodQuery query) const
{
    if (!mBox)
        return QWidget::inputMethodQuery(query);
    switch (query) {
    case Qt::ImEnabled:
        return true;
    case Qt::ImCursorRectangle: {
        const QRect inner = innerRect();
        return QRect(xOfPosition(mBox->caretPosition()), inner.top(), 1, inner.height());
    }
    case Qt::ImFont:
        return font();
    case Qt::ImCursorPosition:
        return mBox->caretPosition();
    case Qt::ImAnchorPosition:
        return mBox->anchorPosition();
    case Qt::ImSurroundingText:
        return mBox->Text();
    case Qt::ImCurrentSelection:
        return mBox->SelText();
    case Qt::ImHints:
        return int(Qt::ImhNoPredictiveText);
    default:
        return QWidget::inputMethodQuery(query);
    }
}

void RichTextView::mousePressEvent(QMouseEvent *event)
{
    if (mBox && event->button() == Qt::LeftButton) {
        mBox->placeCaret(positionAtX(int(event->position().x())),
                         event->modifiers().testFlag(Qt::ShiftModifier));
        restartBlink();
    }
    event->accept();
}

void RichTextView::mouseMoveEvent(QMouseEvent *event)
{
    if (mBox && event->buttons().testFlag(Qt::LeftButton))
        mBox->placeCaret(positionAtX(int(event->position().x())), true);
    event->accept();
}

void RichTextView::mouseReleaseEvent(QMouseEvent *event)
{
    event->accept();
    if (!mBox)
        return;
    const Key key = vbKey(0, event->modifiers());
    mBox->releaseMouseButton(VbKeys::vbButton(event->button()), key.shift,
                             PixelsToTwipsX(event->position().x()),
                             PixelsToTwipsY(event->position().y()));
}

void RichTextView::mouseDoubleClickEvent(QMouseEvent *event)
{
    if (mBox && event->button() == Qt::LeftButton)
        mBox->selectWordAt(positionAtX(int(event->position().x())));
    event->accept();
}

void RichTextView::focusInEvent(QFocusEvent *event)
{
    QWidget::focusInEvent(event);
    if (mBox) {
        // The window coming back to the front, or a menu closing, gives
        // the focus back to where it was: the box never lost it to
        // another control, so it has not got it anew.
        const bool moved = mFocusAsked
                           || (event->reason() != Qt::ActiveWindowFocusReason
                               && event->reason() != Qt::PopupFocusReason);
        mBox->focusIn(moved);
    }
    mFocusAsked = false;
    restartBlink();
    update();
}

void RichTextView::focusOutEvent(QFocusEvent *event)
{
    QWidget::focusOutEvent(event);
    mBlink.stop();
    if (mBox)
        mBox->focusOut();
    update();
}
