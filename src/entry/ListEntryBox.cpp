#include "entry/ListEntryBox.h"

#include "core/Globals.h"
#include "core/Project.h"
#include "core/clsEvents.h"
#include "entry/EntryBoxHelpers.h"
#include "entry/EntryBoxWindow.h"
#include "entry/FlexGrid.h"
#include "entry/VbKeyCodes.h"
#include "lists/PickListSink.h"
#include "transcription/Change_Monitor.h"
#include "transcription/Transcription.h"

#include <algorithm>

using namespace EntryBoxHelpers;
using namespace VbKeys;

namespace {

constexpr std::uint32_t kEntryBack = 0xFFFFC0;

// The top of the current cell from the grid's top edge, in twips: the
// title row, then the rows shown above it from TopRow on.
int cellTop(const FlexGrid &grid)
{
    int top = grid.RowHeight(0);
    for (int r = grid.TopRow(); r < grid.Row(); ++r)
        top += grid.RowHeight(r);
    return top;
}

} // namespace

ListEntryBox::ListEntryBox(int column, QObject *parent) : QObject(parent), mColumn(column) {}

ListEntryBox::~ListEntryBox()
{
    setControl(nullptr);
}

void ListEntryBox::setControl(RichTextBox *box)
{
    disconnectAll(mConnections);
    mBox = box;
    if (!box)
        return;
    mConnections = connectControl(this, box, &ListEntryBox::changeHandler, &ListEntryBox::KeyDown,
                                  &ListEntryBox::KeyPress);
}

FlexGrid *ListEntryBox::grid() const
{
    return gridOrTranscriptions(mGrid);
}

void ListEntryBox::changeHandler()
{
    // The box's own changes come with events suppressed.
    if (gEvents && gEvents->NoEvents())
        return;
    Change();
}

void ListEntryBox::writeCell(const QString &text)
{
    if (FlexGrid *g = grid())
        g->setTextArray(mCellIndex, text);
}

void ListEntryBox::takeCurrentCell()
{
    FlexGrid *g = grid();
    if (gChangeMonitor)
        gChangeMonitor->ClearChange();
    mCellRow = g->Row();
    gTranscription->PositionGrid(mCellRow, false);
    mCellIndex = gTranscription->faIndex(mCellRow, mColumn);
}

void ListEntryBox::emptyBoxAndCell()
{
    EventsOffGuard quiet;
    mBox->setText(QString());
    writeCell(QString());
    changed();
}

bool ListEntryBox::caretAtStart() const
{
    return mBox->SelStart() == 0 && mBox->SelLength() == 0;
}

void ListEntryBox::HideRtb()
{
    if (mBox)
        mBox->setVisible(false);
}

void ListEntryBox::layOverCell(const QString &overSizeText)
{
    const FlexGrid *g = grid();
    const QPoint origin = BoxWindow().GridOrigin();
    mBox->Move(origin.x() + g->CellLeft(), origin.y() + cellTop(*g) - 10, g->CellWidth(),
               g->RowHeight(g->Row()) + 10);
    mBox->setBackColor(kEntryBack);
    mBox->setVisible(true);
    mBox->ZOrder(0);
    mBox->SetFocus();
    if (gProject && gProject->OverSize()) {
        placeForOverSize();
        mBox->setText(overSizeText);
    }
}

void ListEntryBox::placeForOverSize()
{
    const FlexGrid *g = grid();
    if (!mBox || !g || !gProject || !gProject->OverSize() || !gTranscription)
        return;
    int left = 0;
    int width = 0;
    gTranscription->GetBoxPosition(mBox->Text(), left, width, g->Font());
    mBox->Move(BoxWindow().GridOrigin().x() + left, mBox->Top(), width);
}

void ListEntryBox::stayOnCell()
{
    {
        EventsOffGuard quiet;
        if (FlexGrid *g = grid())
            g->setRowCol(mCellRow, mColumn);
    }
    if (mBox)
        mBox->SetFocus();
}

void ListEntryBox::findNextCell(int direction)
{
    int row = 0;
    int col = 0;
    gTranscription->FindNextCell(direction, row, col);
    // The cell-entry loop lays the box of another column over its cell;
    // this box opens itself only on its own column.
    if (row != 0 && col == mColumn)
        Show();
}

bool ListEntryBox::keepAddedAsIs()
{
    PickListSink &pick = PickList();
    const bool picked = pick.bFromPickList();
    pick.setBFromPickList(false);
    return gProject && (picked ? gProject->DontformatPick() : gProject->DontformatPaste());
}

// ---- Key steps -------------------------------------------------------------------------------

FlexGrid *ListEntryBox::keyDownGrid(int KeyCode)
{
    mTypedPending = false;
    // Tab, Enter and Backspace are characters too: they end a pick-list
    // number even when KeyDown uses them up and KeyPress never sees them.
    if (KeyCode == vbKeyTab || KeyCode == vbKeyReturn || KeyCode == vbKeyBack)
        mPickDigits.clear();
    FlexGrid *g = grid();
    if (!mBox || !g || !gTranscription)
        return nullptr;
    if (KeyCode >= vbKeyA && KeyCode <= vbKeyA + 25)
        return nullptr;
    return g;
}

void ListEntryBox::notePickDigit(int KeyAscii)
{
    if (KeyAscii >= '0' && KeyAscii <= '9')
        mPickDigits.append(QChar(KeyAscii));
    else
        mPickDigits.clear();
}

int ListEntryBox::pickNumberRow(int digit)
{
    int n = mPickDigits.toInt();
    if (n > PickList().iCount()) {
        n = digit;
        mPickDigits = QString::number(digit);
    }
    return n;
}

void ListEntryBox::typedCharacter()
{
    mTypedPending = true;
    mTypedPasted = mBox->pasting();
}


void ListEntryBox::pageKey(int &KeyCode, bool forceScroll)
{
    FlexGrid *g = grid();
    const int visible = gTranscription->RowsVisible();
    const int target = pageTarget(*g, visible, KeyCode == vbKeyPageDown);
    KeyCode = 0;
    g->setRow(target);
    gTranscription->ScrollGrid(target, forceScroll);
}

void ListEntryBox::commonKey(int &KeyCode, int Shift)
{
    switch (KeyCode) {
    case vbKeyHome:
        KeyCode = 0;
        if (Validate()) {
            HideRtb();
            grid()->setCol(1);
        }
        return;
    default:
        editFunctionKey(KeyCode, Shift, [this] { DelWord(); }, [this] { ClearBox(); });
        return;
    }
}
