#include "entry/frmChrPicker.h"

#include "core/Globals.h"
#include "core/Project.h"
#include "core/Services.h"
#include "core/VbHelpers.h"
#include "core/clsEvents.h"
#include "entry/PickerChars.h"
#include "entry/frmBigChr.h"
#include "mainwindow/Resizer.h"

#include <QCloseEvent>
#include <QMouseEvent>

#include <algorithm>

namespace {
// The design: cell 0's place and size, and the margin round the table.
constexpr int kMargin = 8;
constexpr int kCellWidth = 36;
constexpr int kCellHeight = 30;
constexpr double kCellPoints = 14;
// The settings hold the size as 16-bit whole numbers.
constexpr int kMaxStoredTwips = 32767;

NullOpenEntryBox gNoBox;

bool eventsOff()
{
    return gEvents && gEvents->NoEvents();
}
} // namespace

ChrCell::ChrCell(int index, QWidget *parent) : QLineEdit(parent), mIndex(index)
{
    setReadOnly(true);
    setAlignment(Qt::AlignCenter);
    setContextMenuPolicy(Qt::NoContextMenu);
    setToolTip(QStringLiteral("Double click to insert this character"));
}

void ChrCell::keyPressEvent(QKeyEvent *event)
{
    // The cells cannot be edited: every key is swallowed.
    event->accept();
}

void ChrCell::mousePressEvent(QMouseEvent *event)
{
    event->accept();
    emit pressed(mIndex);
}

void ChrCell::mouseReleaseEvent(QMouseEvent *event)
{
    event->accept();
    deselect();
    emit released(mIndex);
}

void ChrCell::mouseDoubleClickEvent(QMouseEvent *event)
{
    event->accept();
    emit doubleClicked(mIndex);
}

void ChrCell::mouseMoveEvent(QMouseEvent *event)
{
    // No selection by dragging.
    event->accept();
}

frmChrPicker::frmChrPicker(QWidget *parent) : QWidget(parent, Qt::Tool)
{
    setObjectName(QStringLiteral("frmChrPicker"));
    setWindowTitle(QStringLiteral("Pelkar - Special Characters"));
    resize(2 * kMargin + PickerChars::kColumns * kCellWidth,
           2 * kMargin + PickerChars::kRows * kCellHeight);

    mBigChr = new frmBigChr(this);
    mBigChr->hide();

    for (int k = 0; k < kCellCount; ++k) {
        auto *cell = new ChrCell(k, this);
        cell->setObjectName(QStringLiteral("tbChr_%1").arg(k));
        cell->setEnabled(k < PickerChars::kCharacters);
        connect(cell, &ChrCell::pressed, this, &frmChrPicker::tbChr_MouseDown);
        connect(cell, &ChrCell::released, this, &frmChrPicker::tbChr_MouseUp);
        connect(cell, &ChrCell::doubleClicked, this, &frmChrPicker::tbChr_DblClick);
        mCells[k] = cell;
    }
    ChrCell *first = mCells[0];
    first->setGeometry(kMargin, kMargin, kCellWidth, kCellHeight);
    QFont font = first->font();
    font.setPointSizeF(kCellPoints);
    first->setFont(font);
    layOutCells();

    newResizer();
    const Project *project = gProject;
    if (project && project->CPHeight() > 0 && project->CPWidth() > 0) {
        {
            EventsOffGuard quiet;
            // A size stored on a larger screen is cut to this one.
            const QSize screen = Services::screen().screenRect().size();
            resize(std::min(TwipsToPixelsX(project->CPWidth()), screen.width()),
                   std::min(TwipsToPixelsY(project->CPHeight()), screen.height()));
        }
        mResizer->FormResize();
        // The font the picker had when it was last resized, which the size
        // alone gives back unless the file was edited by hand.
        const float points = project->CPSize();
        if (points >= 1 && points <= 400) {
            QFont f = first->font();
            f.setPointSizeF(points);
            first->setFont(f);
        }
    }
    layOutCells();

    for (int k = 0; k < kCellCount; ++k) {
        const QString text = PickerChars::CellText(k, project);
        mCells[k]->setText(text);
        if (text.isEmpty())
            mCells[k]->setEnabled(false);
    }
}

frmChrPicker::~frmChrPicker() = default;

void frmChrPicker::setOpenBox(OpenEntryBox *box)
{
    mOpenBox = box;
}

void frmChrPicker::newResizer()
{
    mResizer = std::make_unique<Resizer>();
    mResizer->setForm(this);
}

ChrCell *frmChrPicker::tbChr(int index) const
{
    return index >= 0 && index < kCellCount ? mCells[index] : nullptr;
}

void frmChrPicker::Wakeup()
{
    EventsOffGuard quiet;
    show();
    raise();
    activateWindow();
}

void frmChrPicker::layOutCells()
{
    const ChrCell *first = mCells[0];
    const QRect home = first->geometry();
    const QFont font = first->font();
    for (int k = 1; k < kCellCount; ++k) {
        const int row = k / PickerChars::kColumns;
        const int column = k % PickerChars::kColumns;
        mCells[k]->setFont(font);
        mCells[k]->setGeometry(home.left() + column * home.width(),
                               home.top() + row * home.height(), home.width(), home.height());
    }
}

void frmChrPicker::tbChr_DblClick(int index)
{
    if (eventsOff())
        return;
    const ChrCell *cell = tbChr(index);
    if (!cell || !cell->isEnabled() || cell->text().isEmpty())
        return;
    OpenEntryBox &box = mOpenBox ? *mOpenBox : gNoBox;
    if (!box.InsertSpecialChar(cell->text()))
        return;
    mBigChr->hide();
    hide();
}

void frmChrPicker::tbChr_MouseDown(int index)
{
    const ChrCell *cell = tbChr(index);
    if (!cell || !cell->isEnabled() || cell->text().isEmpty())
        return;
    const QPoint topRight = cell->mapToGlobal(QPoint(cell->width(), 0));
    mBigChr->ShowAt(cell->text(), topRight.x() + TwipsToPixelsX(20),
                    topRight.y() + cell->height() / 2);
}

void frmChrPicker::tbChr_MouseUp(int)
{
    mBigChr->hide();
}

void frmChrPicker::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    Form_Resize();
}

void frmChrPicker::Form_Resize()
{
    if (eventsOff())
        return;
    mResizer->FormResize();
    layOutCells();
    if (gProject) {
        gProject->setCPHeight(std::min(PixelsToTwipsY(height()), kMaxStoredTwips));
        gProject->setCPWidth(std::min(PixelsToTwipsX(width()), kMaxStoredTwips));
        gProject->setCPSize(float(mCells[0]->font().pointSizeF()));
    }
}

void frmChrPicker::changeEvent(QEvent *event)
{
    QWidget::changeEvent(event);
    if (event->type() != QEvent::ActivationChange)
        return;
    if (isActiveWindow())
        Form_Activate();
    else
        Form_LostFocus();
}

void frmChrPicker::Form_Activate()
{
    // The sizes of now are the ones later resizes scale from.
    newResizer();
}

void frmChrPicker::Form_LostFocus()
{
    mBigChr->hide();
}

void frmChrPicker::closeEvent(QCloseEvent *event)
{
    // Kept for the run: the close box only hides the picker; the main
    // window deletes it when the program ends.
    event->ignore();
    mBigChr->hide();
    hide();
}
