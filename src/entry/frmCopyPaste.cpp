#include "entry/frmCopyPaste.h"

#include "core/Globals.h"
#include "core/MessageWindows.h"
#include "core/Services.h"
#include "core/VbHelpers.h"
#include "core/WindowFrame.h"
#include "transcription/Change_Monitor.h"
#include "transcription/EntryBoxes.h"

#include <QListWidget>
#include <QVBoxLayout>

#include <algorithm>

namespace {
constexpr int kHeightTwips = 2460;
constexpr int kHelpContext = 5242;
// Wide enough for a district or a forename or two; the stored width is
// never taken below the narrowest that still shows a short text.
constexpr int kDesignWidthTwips = 3000;
constexpr int kMinWidthTwips = 1500;
const QString kLineBreak = QStringLiteral("\r\n");
} // namespace

frmCopyPaste::frmCopyPaste(QWidget *parent) : QWidget(parent, Qt::Tool)
{
    setObjectName(QStringLiteral("frmCopyPaste"));
    setWindowTitle(QStringLiteral("Copy/Paste"));
    setProperty("HelpContextID", kHelpContext);

    mList = new QListWidget(this);
    mList->setObjectName(QStringLiteral("List1"));
    mList->setUniformItemSizes(true);
    mList->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(mList);
    connect(mList, &QListWidget::itemClicked, this,
            [this](QListWidgetItem *item) { List1_Click(mList->row(item)); });

    SetList(gProject ? gProject->PasteList() : QString());

    // The nine lines always show: never lower than they need.
    const int rowHeight = std::max(mList->sizeHintForRow(0), fontMetrics().height());
    const int listHeight = PasteTextList::kCount * rowHeight + 2 * mList->frameWidth();
    setFixedHeight(std::max(TwipsToPixelsY(kHeightTwips), listHeight));
    setMinimumWidth(TwipsToPixelsX(kMinWidthTwips));
    resize(TwipsToPixelsX(kDesignWidthTwips), height());

    if (gProject && gProject->PasteX() >= 0) {
        // The stored place and width are the frame's; the height is fixed.
        const QPoint stored(TwipsToPixelsX(gProject->PasteX()), TwipsToPixelsY(gProject->PasteY()));
        const int pasteWidth = TwipsToPixelsX(gProject->PasteW());
        // A place stored on a screen no longer there would hide the window.
        if (Services::screen().screenRect().intersects(QRect(stored, QSize(pasteWidth, height())))) {
            PlaceWindowFrame(*this, stored, QSize(pasteWidth, 0));
            mPlaced = true;
        } else {
            resize(pasteWidth, height());
        }
    }
}

void frmCopyPaste::showEvent(QShowEvent *event)
{
    if (!mPlaced && parentWidget()) {
        mPlaced = true;
        const QRect parent = parentWidget()->window()->frameGeometry();
        const QRect screen = Services::screen().screenRect();
        QPoint place(parent.right() + 1, parent.top());
        // A main window filling the screen leaves no room beside it: the
        // window then stands inside the screen's right edge.
        if (place.x() + frameGeometry().width() > screen.right() + 1)
            place.setX(std::max(screen.left(), screen.right() + 1 - frameGeometry().width()));
        PlaceWindowFrame(*this, place);
    }
    QWidget::showEvent(event);
}

void frmCopyPaste::SetList(const QString &stored)
{
    mTexts.SetList(stored);
    mList->clear();
    for (int n = 1; n <= PasteTextList::kCount; ++n)
        mList->addItem(mTexts.Line(n));
}

void frmCopyPaste::showLines()
{
    for (int n = 1; n <= PasteTextList::kCount; ++n)
        mList->item(n - 1)->setText(mTexts.Line(n));
}

QString frmCopyPaste::GetItem(int n) const
{
    return mTexts.GetItem(n);
}

QString frmCopyPaste::GetList() const
{
    return mTexts.GetList();
}

QRect frmCopyPaste::geometryTwips() const
{
    const QRect frame = WindowFrameRect(*this);
    return QRect(PixelsToTwipsX(frame.x()), PixelsToTwipsY(frame.y()), PixelsToTwipsX(frame.width()),
                 PixelsToTwipsY(frame.height()));
}

void frmCopyPaste::List1_Click(int i)
{
    const int n = i + 1;
    if (n >= 1 && n <= PasteTextList::kCount) {
        const QString number = QString::number(n);
        const QString prompt = QStringLiteral("Enter the new text for item #") + number
                               + kLineBreak
                               + QStringLiteral("You can paste this text anywhere on the input form")
                               + kLineBreak + QStringLiteral("by pressing the Ctrl key and number ")
                               + number;
        std::optional<QString> answer = InputBox(prompt, QString(), GetItem(n));
        if (answer && answer->contains(u'"')) {
            *answer = PasteTextList::WithoutDoubleQuotes(*answer);
            ShowMessage(QStringLiteral("Double-Quote removed from string"), Mb::Information);
        }
        if (answer) {
            const QString refusal = PasteTextList::Refusal(n, *answer);
            if (!refusal.isEmpty()) {
                ShowMessage(refusal, Mb::Exclamation);
            } else {
                mTexts.setItem(n, *answer);
                showLines();
                if (gChangeMonitor)
                    gChangeMonitor->Changed();
            }
        }
    }
    Boxes().GiveFocusBack();
}
