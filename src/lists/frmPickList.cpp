#include "lists/frmPickList.h"

#include "core/FormRegistry.h"
#include "core/Globals.h"
#include "core/VbHelpers.h"
#include "core/WindowFrame.h"
#include "core/clsEvents.h"
#include "transcription/EntryBoxes.h"

#include <QCloseEvent>
#include <QFontMetrics>
#include <QMouseEvent>
#include <QStyle>
#include <QTreeWidget>

#include <algorithm>

namespace {
class NullPickTaker final : public PickedTextTaker
{
public:
    void DistrictAddText(const QString &) override {}
    void ForenameAddText(const QString &) override {}
};

PickedTextTaker *gTaker = nullptr;

constexpr int kMinWidthTwips = 1200;
constexpr int kMinHeightTwips = 1000;
// Kept free to the right of the text column.
constexpr int kColumnSlackTwips = 70;
constexpr int kKeyRole = Qt::UserRole;
} // namespace

PickedTextTaker &PickTaker()
{
    static NullPickTaker standIn;
    return gTaker ? *gTaker : standIn;
}

void SetPickTaker(PickedTextTaker *taker)
{
    gTaker = taker;
}

frmPickList::frmPickList(QWidget *parent)
    : QWidget(parent, Qt::Tool)
{
    setObjectName(QStringLiteral("frmPickList"));
    setWindowTitle(QStringLiteral("Picklist"));

    mList = new QTreeWidget(this);
    mList->setObjectName(QStringLiteral("lvPick"));
    mList->setColumnCount(2);
    mList->setHeaderHidden(true);
    mList->setRootIsDecorated(false);
    mList->setUniformRowHeights(true);
    mList->setEditTriggers(QAbstractItemView::NoEditTriggers);
    mList->setSelectionMode(QAbstractItemView::SingleSelection);
    mList->setFocusPolicy(Qt::NoFocus); // the focus belongs to the entry box
    mList->viewport()->installEventFilter(this);

    EventsOffGuard quiet;
    if (gProject) {
        resize(std::max(TwipsToPixelsX(gProject->PickWidth()), TwipsToPixelsX(kMinWidthTwips)),
               std::max(TwipsToPixelsY(gProject->PickHeight()), TwipsToPixelsY(kMinHeightTwips)));
        if (gProject->PickRows() < 1)
            gProject->setPickRows(gProject->PickMax());
    }
    // A new window comes up in front of the others; nothing to raise yet.
    Resize_Picklist_LV();
    PickClear();
    mFromPickList = false;

    RegisterForm(this, QStringLiteral("frmPickList"));
    SetPickList(this);
    Project::SetPickWindow(this);
}

frmPickList::~frmPickList()
{
    if (&PickList() == this)
        SetPickList(nullptr);
    if (Project::pickWindow() == this)
        Project::SetPickWindow(nullptr);
}

void frmPickList::setColumnWidths(const QString &digits)
{
    const int number = QFontMetrics(font()).horizontalAdvance(digits);
    mList->setColumnWidth(0, number);
    mList->setColumnWidth(1, std::max(0, mList->width() - number - TwipsToPixelsX(kColumnSlackTwips)));
}

void frmPickList::Resize_Picklist_LV()
{
    mList->setGeometry(rect());
    setColumnWidths(QStringLiteral("999"));
}

void frmPickList::FitToContents()
{
    mList->resizeColumnToContents(0);
    mList->resizeColumnToContents(1);
    const int frame = style()->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, this);
    resize(mList->columnWidth(0) + mList->columnWidth(1) + 2 * frame, height());
    mList->setGeometry(rect());
}

void frmPickList::PickClear()
{
    mList->clear();
}

void frmPickList::NewFontSize()
{
    // The number column is measured in the window's font, kept equal to the
    // list's (which the main window sets from the pick-list font settings).
    QFont f = font();
    const QFont listFont = mList->font();
    f.setFamily(listFont.family());
    f.setBold(listFont.bold());
    f.setPointSizeF(listFont.pointSizeF());
    setFont(f);
    mList->setFont(listFont);
    const bool fourDigits = gProject && gProject->PickRows() >= 100;
    setColumnWidths(fourDigits ? QStringLiteral("9999") : QStringLiteral("999"));
}

int frmPickList::iCount() const
{
    return mList->topLevelItemCount();
}

void frmPickList::NextText(const QString &text)
{
    const int n = iCount() + 1;
    const int rows = gProject ? gProject->PickRows() : 0;
    if (n > rows)
        return;
    auto *item = new QTreeWidgetItem({QString::number(n), text.trimmed()});
    item->setData(0, kKeyRole, QString::number(n) + QLatin1Char('K'));
    mList->addTopLevelItem(item);
}

QString frmPickList::PickText(int n)
{
    if (n < 1 || n > iCount())
        return QString();
    mFromPickList = true;
    return mList->topLevelItem(n - 1)->text(1);
}

void frmPickList::ChangeRows(int n)
{
    if (gProject)
        gProject->setPickRows(n);
    NewFontSize();
}

QString frmPickList::Key(int n) const
{
    if (n < 1 || n > iCount())
        return QString();
    return mList->topLevelItem(n - 1)->data(0, kKeyRole).toString();
}

void frmPickList::Unload()
{
    mUnloading = true;
    close();
}

void frmPickList::setPickNormal()
{
    setWindowState(windowState() & ~(Qt::WindowMinimized | Qt::WindowMaximized));
}

QRect frmPickList::pickGeometry() const
{
    // The place and size are the frame's, title bar included.
    const QRect frame = WindowFrameRect(*this);
    return {PixelsToTwipsX(frame.x()), PixelsToTwipsY(frame.y()), PixelsToTwipsX(frame.width()),
            PixelsToTwipsY(frame.height())};
}

void frmPickList::movePick(int left, int top)
{
    PlaceWindowFrame(*this, QPoint(TwipsToPixelsX(left), TwipsToPixelsY(top)));
}

void frmPickList::lvPick_Click()
{
    if (iCount() == 0) {
        Boxes().GiveFocusBack();
        return;
    }
    const QTreeWidgetItem *row = mList->currentItem();
    if (!row || !row->isSelected())
        return;
    const int n = row->text(0).toInt();
    if (n <= 0)
        return;
    if (Boxes().DistrictBoxVisible()) {
        PickTaker().DistrictAddText(PickText(n));
        Boxes().GiveFocusBack();
    } else if (Boxes().ForenameBoxVisible()) {
        PickTaker().ForenameAddText(PickText(n));
    }
}

void frmPickList::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    if (gEvents && gEvents->NoEvents())
        return;
    // The resize that comes with minimising or restoring is not laid out.
    const bool minimised = isMinimized();
    if (minimised != mLastMinimised) {
        mLastMinimised = minimised;
        return;
    }
    if (minimised)
        return;
    EventsOffGuard quiet;
    const int minWidth = TwipsToPixelsX(kMinWidthTwips);
    const int minHeight = TwipsToPixelsY(kMinHeightTwips);
    if (width() < minWidth || height() < minHeight)
        resize(std::max(width(), minWidth), std::max(height(), minHeight));
    Resize_Picklist_LV();
}

void frmPickList::closeEvent(QCloseEvent *event)
{
    if (!mUnloading)
        event->ignore();
    setPickNormal();
    if (gProject && !gProject->DropDownPick()) {
        const QRect frame = WindowFrameRect(*this);
        gProject->setPickHeight(PixelsToTwipsY(frame.height()));
        gProject->setPickWidth(PixelsToTwipsX(frame.width()));
    }
    if (mUnloading)
        event->accept();
}

bool frmPickList::eventFilter(QObject *watched, QEvent *event)
{
    // A click: the press has already chosen the row by the time it is let go.
    if (watched == mList->viewport() && event->type() == QEvent::MouseButtonRelease
        && static_cast<QMouseEvent *>(event)->button() == Qt::LeftButton) {
        lvPick_Click();
    } else if (watched == mList->viewport() && event->type() == QEvent::MouseButtonDblClick) {
        Boxes().GiveFocusBack();
    }
    return QWidget::eventFilter(watched, event);
}
