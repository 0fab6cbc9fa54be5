#include "core/WindowFrame.h"

#include <QApplication>
#include <QEvent>
#include <QPointer>
#include <QTimer>
#include <QWidget>

#include <algorithm>

namespace {

// How long after a window shows the window manager may take to frame it.
constexpr int kSettleTicks = 120;
constexpr int kTickMs = 25;
// How long the frame must stand where asked before it is left alone.
constexpr int kHeldTicks = 4;
// How often the window is put right before it is left where it stands.
constexpr int kMostCorrections = 3;

// The last frame margins Qt told for any of the program's windows.
QMargins gLastMargins;

QMargins ownMargins(const QWidget &window)
{
    const QRect frame = window.frameGeometry();
    const QRect inside = window.geometry();
    const QMargins m(inside.left() - frame.left(), inside.top() - frame.top(),
                     frame.right() - inside.right(), frame.bottom() - inside.bottom());
    if (!m.isNull())
        gLastMargins = m;
    return m;
}

// The frame's margins: the window's own once Qt knows them, else those of
// another of the program's windows on view, else the last Qt told (the same
// window manager frames them alike). Qt learns a window's margins only
// after the window manager has framed it, and not always even then.
QMargins frameMargins(const QWidget &window)
{
    if (const QMargins own = ownMargins(window); !own.isNull())
        return own;
    for (const QWidget *other : QApplication::topLevelWidgets()) {
        if (other == &window || !other->isVisible() || other->windowType() == Qt::Popup
            || other->windowType() == Qt::ToolTip)
            continue;
        if (const QMargins theirs = ownMargins(*other); !theirs.isNull())
            return theirs;
    }
    return gLastMargins;
}

// Whether Qt takes a move() of the window as the frame's place: a window
// not made yet is placed by its frame when the window manager maps it; a
// made one by its inside, less the margins Qt knows.
bool placesFrame(const QWidget &window)
{
    return !window.testAttribute(Qt::WA_WState_Created) || !ownMargins(window).isNull();
}

void moveFrame(QWidget &window, const QPoint &topLeft)
{
    if (placesFrame(window)) {
        window.move(topLeft);
        return;
    }
    const QMargins m = frameMargins(window);
    window.move(topLeft + QPoint(m.left(), m.top()));
}

// Gives the frame the size asked; a width or height of 0 or less keeps
// the window's own.
void resizeFrame(QWidget &window, const QSize &frameSize)
{
    const QMargins m = frameMargins(window);
    const int width = frameSize.width() > 0 ? frameSize.width() - m.left() - m.right()
                                            : window.width();
    const int height = frameSize.height() > 0 ? frameSize.height() - m.top() - m.bottom()
                                              : window.height();
    const QSize inside(std::max(1, width), std::max(1, height));
    if (inside != window.size())
        window.resize(inside);
}

// Keeps the place asked for a window whose frame is not known yet, and
// puts the window there once the window manager has framed it.
class FrameSettler : public QObject
{
public:
    static void keep(QWidget &window, const QPoint &topLeft, const QSize &size)
    {
        FrameSettler *settler = nullptr;
        for (QObject *child : window.children()) {
            if (auto *found = dynamic_cast<FrameSettler *>(child))
                settler = found;
        }
        if (!settler)
            settler = new FrameSettler(window);
        settler->mTopLeft = topLeft;
        settler->mSize = size;
        settler->mTicks = 0;
        settler->mHeld = 0;
        settler->mCorrections = 0;
        if (window.isVisible())
            settler->mTimer.start();
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (watched == mWindow && event->type() == QEvent::Show) {
            mTicks = 0;
            mHeld = 0;
            mCorrections = 0;
            mTimer.start();
        }
        return QObject::eventFilter(watched, event);
    }

private:
    explicit FrameSettler(QWidget &window) : QObject(&window), mWindow(&window)
    {
        mTimer.setInterval(kTickMs);
        connect(&mTimer, &QTimer::timeout, this, &FrameSettler::tick);
        window.installEventFilter(this);
    }

    void tick()
    {
        if (!mWindow || !mWindow->isVisible()) {
            mTimer.stop();
            return;
        }
        ++mTicks;
        // The window's own frame once Qt knows it; until then that of the
        // program's other windows, given the window manager a moment to
        // frame this one.
        const bool framed = !ownMargins(*mWindow).isNull()
                            || (mTicks >= kHeldTicks && !frameMargins(*mWindow).isNull());
        if (framed) {
            // The window manager may still be placing the window when it
            // has told its frame: the place is checked until it holds. Only
            // the mistake looked for is put right, the inside standing where
            // the frame should; a window moved or sized since by anyone
            // else is left as it is.
            const QMargins m = frameMargins(*mWindow);
            const QRect frame = WindowFrameRect(*mWindow);
            const QPoint insideAt = frame.topLeft() + QPoint(m.left(), m.top());
            const QSize grown = mSize.grownBy(m);
            const bool placed = frame.topLeft() == mTopLeft;
            const bool sized = (mSize.width() <= 0 || frame.width() == mSize.width())
                               && (mSize.height() <= 0 || frame.height() == mSize.height());
            const bool placedAsInside = insideAt == mTopLeft;
            const bool sizedAsInside = (mSize.width() <= 0 || frame.width() == grown.width())
                                       && (mSize.height() <= 0 || frame.height() == grown.height());
            if (placed && sized) {
                if (++mHeld >= kHeldTicks) {
                    finish();
                    return;
                }
            } else if ((placed || placedAsInside) && (sized || sizedAsInside)
                       && mCorrections < kMostCorrections) {
                ++mCorrections;
                mHeld = 0;
                resizeFrame(*mWindow, mSize);
                moveFrame(*mWindow, mTopLeft);
            } else {
                // Held elsewhere (a smallest size, the window manager's own
                // rules, the transcriber's hand): left where it is.
                finish();
                return;
            }
        }
        // A window manager that draws no frame at all, or one that will not
        // let the window stand there.
        if (mTicks >= kSettleTicks)
            finish();
    }

    void finish()
    {
        mTimer.stop();
        deleteLater();
    }

    QPointer<QWidget> mWindow;
    QPoint mTopLeft;
    QSize mSize;
    QTimer mTimer;
    int mTicks = 0;
    int mHeld = 0;
    int mCorrections = 0;
};

} // namespace

void PlaceWindowFrame(QWidget &window, const QPoint &topLeft, const QSize &size)
{
    resizeFrame(window, size);
    moveFrame(window, topLeft);
    // Until the window manager has framed it, Qt may not know where the
    // frame will stand: the place is checked once it has.
    if (ownMargins(window).isNull())
        FrameSettler::keep(window, topLeft, size);
}

QRect WindowFrameRect(const QWidget &window)
{
    if (placesFrame(window) || !window.isVisible())
        return window.frameGeometry();
    return window.geometry().marginsAdded(frameMargins(window));
}
