#include "mainwindow/Form1.h"

#include "app/StartUp.h"
#include "core/FileHelpers.h"
#include "core/FormRegistry.h"
#include "core/Globals.h"
#include "core/MessageWindows.h"
#include "core/Project.h"
#include "core/Services.h"
#include "core/clsEvents.h"
#include "entry/DistrictBox.h"
#include "entry/FlexGrid.h"
#include "entry/FlexGridView.h"
#include "entry/ForenameBox.h"
#include "entry/RichTextBox.h"
#include "entry/RichTextView.h"
#include "entry/VbKeyCodes.h"
#include "entry/myRichTextbox.h"
#include "lists/frmDistricts.h"
#include "lists/frmForenames.h"
#include "mainwindow/Form1BoxParts.h"
#include "mainwindow/FormBackground.h"
#include "mainwindow/MainWindowHooks.h"
#include "mainwindow/ScanViewerOwner.h"
#include "mainwindow/ShowStatus.h"
#include "transcription/Change_Monitor.h"
#include "transcription/EntryBoxes.h"
#include "transcription/Recent_files.h"
#include "transcription/Searcher.h"
#include "transcription/Transcription.h"
#include "transcription/clsFlexPrint.h"
#include "transcription/frmFind.h"
#include "winglue/CTimer.h"
#include "winglue/EventRaise.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QKeyEvent>
#include <QPrinter>
#include <QScrollBar>
#include <QShortcut>
#include <QStatusBar>

namespace {

const QString kCrLf = QStringLiteral("\r\n");
constexpr int kMinuteMs = 60000;

MainWindowPartsDetail::NullPasteTexts gNullPasteTexts;
MainWindowPartsDetail::NullScanViewer gNullScanViewer;

// VScroll1 as the grid layout drives it.
class ScrollBarBinding final : public GridScrollBar
{
public:
    explicit ScrollBarBinding(QScrollBar *bar) : mBar(bar) {}
    void setMax(int max) override
    {
        if (mBar)
            mBar->setMaximum(std::max(0, max));
    }
    void setValue(int value) override
    {
        if (mBar)
            mBar->setValue(value);
    }
    void setLargeChange(int change) override
    {
        if (mBar)
            mBar->setPageStep(std::max(1, change));
    }

private:
    QPointer<QScrollBar> mBar;
};

// The text goes into the shown box through that box's own AddText, which
// puts it in the column's case and writes the cell.
class BoxModelTexts final : public EntryBoxTexts
{
public:
    explicit BoxModelTexts(Form1 &form) : mForm(form) {}
    void AddTextToVisibleBox(const QString &text) override
    {
        if (gRichTextbox && mForm.rtb1().Visible())
            gRichTextbox->AddText(text);
        else if (gDistrictBox && mForm.tbDistrict().Visible())
            gDistrictBox->AddText(text);
        else if (gForenameBox && mForm.tbForeName().Visible())
            gForenameBox->AddText(text);
    }

private:
    Form1 &mForm;
};

RichTextView *makeEntryBox(QWidget *parent, const QString &name, RichTextBox *&model)
{
    model = new RichTextBox(parent);
    model->setObjectName(name);
    auto *view = new RichTextView(parent);
    view->setObjectName(name);
    view->setBox(model);
    view->hide();
    return view;
}

} // namespace

Form1::Form1(QWidget *parent) : QMainWindow(parent)
{
    setObjectName(QStringLiteral("Form1"));
    RegisterForm(this, QStringLiteral("Form1"));
    SetEditorHost(this);
    setWindowTitle(QStringLiteral("Pelkar"));
    CreateMenus();

    // The controls are placed by the program (the resizer and the grid's
    // own sizing), not by a layout.
    auto *central = new QWidget(this);
    setCentralWidget(central);
    mGrid = std::make_unique<FlexGrid>();
    mGrid->setObjectName(QStringLiteral("fgInput"));
    mGridView = new FlexGridView(central);
    mGridView->setObjectName(QStringLiteral("fgInput"));
    mGridView->setGrid(mGrid.get());
    mVScroll = new QScrollBar(Qt::Vertical, central);
    mVScroll->setObjectName(QStringLiteral("VScroll1"));
    mScrollBarBinding = std::make_unique<ScrollBarBinding>(mVScroll);
    // The program scrolls the grid itself, through VScroll1 beside it.
    mGrid->setScrollBars(0);
    // Dragging the thumb moves only the view; the current cell stays, and a
    // cell that may not be left keeps the thumb on its row. Any other move
    // of the bar moves the current row with it.
    connect(mVScroll, &QScrollBar::sliderMoved, this, &Form1::VScroll1_Scroll);
    connect(mVScroll, &QScrollBar::sliderReleased, this, [this] { bSkipScrollChange = false; });
    connect(mVScroll, &QScrollBar::valueChanged, this, &Form1::VScroll1_Change);
    connect(mGrid.get(), &FlexGrid::EnterCell, this, &Form1::fgInput_EnterCell);
    connect(mGridView, &FlexGridView::Scroll, this, &Form1::fgInput_Scroll);
    connect(mGridView, &FlexGridView::MouseUp, this, &Form1::fgInput_MouseUp);
    mForeNameView = makeEntryBox(central, QStringLiteral("tbForeName"), mForeNameBox);
    mDistrictView = makeEntryBox(central, QStringLiteral("tbDistrict"), mDistrictBox);
    mRichView = makeEntryBox(central, QStringLiteral("rtb1"), mRichBox);
    mEntryBoxTexts = nullptr;
    connect(mForeNameBox, &RichTextBox::MouseUp, this, &Form1::tbBox_MouseUp);
    connect(mDistrictBox, &RichTextBox::MouseUp, this, &Form1::tbBox_MouseUp);

    auto *bar = new QStatusBar(this);
    bar->setObjectName(QStringLiteral("StatusBar1"));
    setStatusBar(bar);
    mShowStatus = std::make_unique<ShowStatus>(bar);

    resize(800, 600);
    const int scrollWidth = mVScroll->sizeHint().width();
    mGridView->setGeometry(0, 0, width() - scrollWidth, 400);
    mVScroll->setGeometry(mGridView->width(), 0, scrollWidth, mGridView->height());

    mResizer.setMainWindow(this);
    mHooks = std::make_unique<MainWindowHooks>(this);
    mHooks->setEntryBoxes(mRichView, mDistrictView, mForeNameView);
    mHooks->setPositionDropDown([this] { Position_DropDown(); });
    SetBoxWindow(this);
    mScanOwner = std::make_unique<ScanViewerOwner>(*this);
    SetViewerHost(mScanOwner.get());
    SetHeaderScan(mScanOwner.get());
    SetRecoveryWindows(mScanOwner.get());

    // The key preview sees the keys of every control of the window first.
    qApp->installEventFilter(this);
    // The session manager asks each window to close as the session ends.
    connect(qApp, &QGuiApplication::commitDataRequest, this,
            [this] { mSessionEnding = true; }, Qt::DirectConnection);
}

Form1::~Form1()
{
    qApp->removeEventFilter(this);
    if (&ViewerHost() == mScanOwner.get())
        SetViewerHost(nullptr);
    if (&HeaderScan() == mScanOwner.get())
        SetHeaderScan(nullptr);
    if (&RecoveryWindow() == mScanOwner.get())
        SetRecoveryWindows(nullptr);
    mScanOwner.reset();
    if (mScanViewer && &BoxScan() == mScanViewer)
        SetBoxScan(nullptr);
    if (&StatusBar() == mShowStatus.get())
        SetStatusBar(nullptr);
    if (gTranscription && gTranscription->grid() == mGrid.get()) {
        gTranscription->setFrm(nullptr);
        gTranscription->setScrollBar(nullptr);
    }
    mHooks.reset();
    if (&BoxWindow() == static_cast<EntryBoxWindow *>(this))
        SetBoxWindow(nullptr);
    SetEditorHost(nullptr);
}

bool Form1::Load()
{
    mLastMinimised = false;
    mUploading = mSaving = mLoading = false;
    mCAlt = false;
    return StartUp(*this);
}

void Form1::UnloadByCode()
{
    mUnloadingByCode = true;
    close();
    mUnloadingByCode = false;
}

void Form1::CreateTimerAndRelay()
{
    mTime = std::make_unique<CTimer>();
    connect(mTime.get(), &CTimer::ThatTime, this, &Form1::eTime_ThatTime);
    mEvent = std::make_unique<EventRaise>();
    connect(mEvent.get(), &EventRaise::MouseWheel, this, &Form1::cEvent_MouseWheel,
            Qt::DirectConnection);
    mHooks->setWheelRelay(mEvent.get());
}

void Form1::BindTranscription()
{
    if (!gTranscription)
        return;
    gTranscription->setFrm(this);
    gTranscription->setScrollBar(mScrollBarBinding.get());
}

bool Form1::CantUseMenues() const
{
    return mSaving || mLoading || mUploading || (gEvents && gEvents->NoEvents());
}

// ---- Parts not built into the window ----------------------------------------

void Form1::setPasteTexts(PasteTexts *texts)
{
    mPasteTexts = texts;
}

void Form1::setScanViewer(ScanViewer *viewer)
{
    mScanViewer = viewer;
    SetBoxScan(viewer);
}

void Form1::BindEntryBoxes()
{
    if (gRichTextbox)
        gRichTextbox->setARTB(mRichBox);
    if (gForenameBox)
        gForenameBox->setControl(mForeNameBox);
    if (gDistrictBox)
        gDistrictBox->setControl(mDistrictBox);
    mBoxParts = std::make_unique<Form1BoxParts>(*this);
    if (!mPasteTexts)
        mPasteTexts = mBoxParts.get();
}

void Form1::ShowChrPicker()
{
    if (mBoxParts && !CantUseMenues())
        mBoxParts->Wakeup();
}

void Form1::setEntryBoxTexts(EntryBoxTexts *texts)
{
    mEntryBoxTexts = texts;
}

PasteTexts &Form1::myCopyPaste() const
{
    return mPasteTexts ? *mPasteTexts : gNullPasteTexts;
}

ScanViewer &Form1::scanViewer() const
{
    return mScanViewer ? *mScanViewer : gNullScanViewer;
}

QStatusBar *Form1::StatusBar1() const
{
    return statusBar();
}

QWidget *Form1::VisibleEntryBox() const
{
    for (RichTextView *view : {mRichView, mDistrictView, mForeNameView}) {
        if (view && view->isVisibleTo(const_cast<Form1 *>(this)))
            return view;
    }
    return nullptr;
}

void Form1::setCopySurnameVisible(bool visible)
{
    // The item and its separator stay hidden; its key works where there is a
    // mother's or spouse's column to copy into.
    for (const char *name : {"mnuCopySurname", "mnuCopySurnameSep"}) {
        if (auto *action = findChild<QAction *>(QLatin1String(name)))
            action->setVisible(false);
    }
    if (auto *key = findChild<QShortcut *>(QStringLiteral("mnuCopySurnameKey")))
        key->setEnabled(visible);
}

void Form1::setEntryBoxColumns(int, int)
{
    // The district and forename boxes read their columns from
    // gTranscription when they are laid over a cell.
}

// ---- Hooks ----------------------------------------------------------------------

void Form1::Hook()
{
    if (mHooks)
        mHooks->Hook();
}

void Form1::UnHook()
{
    if (mHooks)
        mHooks->UnHook();
}

bool Form1::bHooked() const
{
    return mHooks && mHooks->bHooked();
}

// ---- Closing ------------------------------------------------------------------

bool Form1::Form_QueryUnload(int UnloadMode)
{
    if (mLoading || mSaving || mUploading || (gTranscription && gTranscription->Saving()))
        return true;
    QString reason;
    switch (UnloadMode) {
    case FormControlMenu:
        reason = QStringLiteral("You have clicked the close box.");
        break;
    case FormCode:
        return false;
    case AppWindows:
        reason = QStringLiteral("Windows is closing down.");
        break;
    case AppTaskManager:
        reason = QStringLiteral("The Windows task manager is closing me down.");
        break;
    default:
        break;
    }

    if (gChangeMonitor && gChangeMonitor->AnyChange() && gProject) {
        const int answer = ShowMessage(
            reason + kCrLf + QStringLiteral("Do you want to Save your data first?"),
            Mb::YesNoCancel | Mb::Question | Mb::SystemModal, kProductName);
        if (answer == Mb::Cancel || answer == Mb::NoAnswer)
            return true;
        if (answer == Mb::No) {
            // A batch that was never saved must not stay among the recent
            // files; the list holds full paths.
            const QString batch = QDir(gProject->SavePath()).filePath(gProject->BatchName());
            if (gRecentFiles && !gProject->BatchName().isEmpty() && !FileExists(batch))
                gRecentFiles->Remove(batch);
        } else if (answer == Mb::Yes) {
            mSaving = true;
            const bool saved = gTranscription && gTranscription->SaveData(true);
            if (!saved) {
                // Nothing was written: going on would lose the batch with
                // the work file. The program stays as it was.
                mSaving = false;
                Boxes().GiveFocusBack();
                return true;
            }
            if (gProject->Invalid() || gProject->SequenceError()) {
                const int exit = ShowMessage(QStringLiteral("Do you still wish to Exit?"),
                                             Mb::YesNo | Mb::Question, kProductName);
                if (exit != Mb::Yes) {
                    mSaving = false;
                    Boxes().GiveFocusBack();
                    return true;
                }
            }
            mSaving = false;
        }
    }

    if (mTime)
        mTime->setInterval(0);
    UnHook();
    CloseDown(0, QString(), QString());
    return false;
}

void Form1::closeEvent(QCloseEvent *event)
{
    // A top-level window's close() comes back as the window system's own
    // close event, spontaneous or not: only the program's own unload and the
    // session's end are told apart; anything else is the close box.
    int mode = FormControlMenu;
    if (mUnloadingByCode)
        mode = FormCode;
    else if (mSessionEnding)
        mode = AppWindows;
    mSessionEnding = false;
    if (Form_QueryUnload(mode)) {
        event->ignore();
        return;
    }
    mTime.reset();
    event->accept();
    emit closedDown();
}

// ---- Minimising and resizing ---------------------------------------------------

void Form1::changeEvent(QEvent *event)
{
    QMainWindow::changeEvent(event);
    if (event->type() == QEvent::WindowStateChange)
        Form_Resize();
}

void Form1::resizeEvent(QResizeEvent *event)
{
    QMainWindow::resizeEvent(event);
    Form_Resize();
}

void Form1::Form_Resize()
{
    if (CantUseMenues() || !gProject)
        return;
    const bool minimised = isMinimized();
    auto *pickList = qobject_cast<QWidget *>(FindForm(QStringLiteral("frmPickList")));
    if (minimised && !mLastMinimised) {
        mPickVisibleAtMinimise = pickList && pickList->isVisible();
        gProject->setBMoveState(gProject->MovePick());
        if (mTime)
            mTime->setInterval(0);
        UnHook();
        if (pickList)
            pickList->hide();
        myCopyPaste().setVisible(false);
        mLastMinimised = true;
    } else if (!minimised && mLastMinimised) {
        // The window manager minimised the tool windows with this one. Shown
        // again still minimised, a tool window would take this window back
        // down with it (the window manager minimises a window's whole
        // family): it comes back as a normal window.
        if (pickList) {
            pickList->setWindowState(pickList->windowState() & ~Qt::WindowMinimized);
            pickList->setVisible(mPickVisibleAtMinimise);
        }
        myCopyPaste().setVisible(gProject->CopyPaste());
        Hook();
        if (mTime)
            mTime->setInterval(kMinuteMs);
        mLastMinimised = false;
    } else if (!minimised) {
        mResizer.FormResize();
        if (!gProject->DistPick() && !gProject->ForePick()) {
            gProject->HidePickList();
        } else if (gCurrentCol > 0) {
            if (gProject->DropDownPick()) {
                if (gTranscription
                    && (gCurrentCol == gTranscription->ForenamesCol()
                        || gCurrentCol == gTranscription->DistrictCol()))
                    mHooks->Position_DropDown();
            } else if (!gProject->MovePick()) {
                gProject->ShowPickList();
            }
        }
    }
}

// ---- Keys, wheel and timer ----------------------------------------------------

bool Form1::eventFilter(QObject *watched, QEvent *event)
{
    const QEvent::Type type = event->type();
    if ((type == QEvent::KeyPress || type == QEvent::KeyRelease) && watched->isWidgetType()
        && static_cast<QWidget *>(watched)->window() == this) {
        if (type == QEvent::KeyRelease) {
            mCAlt = false;
            return false;
        }
        // A key a control leaves is offered to its parents in turn, and comes
        // past here again: the preview takes every key it acts on, so a key
        // seen twice was one it had nothing to do with.
        const auto *key = static_cast<const QKeyEvent *>(event);
        const VbKeys::Key vb = VbKeys::vbKey(key->key(), key->modifiers());
        return vb.code != 0 && Form_KeyDown(vb.code, vb.shift);
    }
    return QMainWindow::eventFilter(watched, event);
}

bool Form1::Form_KeyDown(int KeyCode, int Shift)
{
    using namespace VbKeys;
    const bool scanOn = gProject && gProject->ScanOn();
    ScanViewer &scan = scanViewer();

    if (KeyCode == vbKeyMenu && Shift == (vbCtrlMask | vbAltMask)) {
        mCAlt = true;
        return false;
    }
    const bool topDigit = KeyCode >= vbKey0 + 1 && KeyCode <= vbKey0 + 9;
    const bool padDigit = KeyCode >= vbKeyNumpad0 + 1 && KeyCode <= vbKeyNumpad0 + 9;
    if (topDigit || padDigit) {
        if (Shift != vbCtrlMask)
            return false;
        const int n = KeyCode - (topDigit ? vbKey0 : vbKeyNumpad0);
        const QString text = myCopyPaste().GetItem(n);
        if (mEntryBoxTexts) {
            mEntryBoxTexts->AddTextToVisibleBox(text);
        } else {
            BoxModelTexts boxes(*this);
            boxes.AddTextToVisibleBox(text);
        }
        return true;
    }

    // Plain Left, Right and Down go on to the box, which moves the caret or
    // the grid with them. With Shift, Ctrl or Alt they are the scan's keys
    // and never the box's, scan shown or not: they select nothing and move
    // no caret. Up goes on unless a scan key takes it.
    switch (KeyCode) {
    case vbKeyLeft:
        if (Shift == 0)
            return false;
        if (Shift == vbShiftMask && scanOn)
            scan.ScrollLeft();
        return true;
    case vbKeyRight:
        if (Shift == 0)
            return false;
        if (Shift == vbShiftMask && scanOn)
            scan.ScrollRight();
        return true;
    case vbKeyUp:
        if (!scanOn)
            return false;
        if (Shift == vbShiftMask) {
            scan.ScrollUp();
            return true;
        }
        if (Shift == vbCtrlMask) {
            scan.MoveRuler1Line(true);
            return true;
        }
        if (Shift == vbAltMask) {
            scan.ScrollPage(0);
            return true;
        }
        return false;
    case vbKeyDown:
        if (Shift == 0)
            return false;
        if (scanOn) {
            if (Shift == vbShiftMask)
                scan.ScrollDown();
            else if (Shift == vbCtrlMask)
                scan.MoveRuler1Line(false);
            else if (Shift == vbAltMask)
                scan.ScrollPage(2);
        }
        return true;
    case vbKeyF1 + 10: // F11
        scan.ZoomIn();
        return true;
    case vbKeyF1 + 11: // F12
        scan.ZoomOut();
        return true;
    default:
        return false;
    }
}

void Form1::cEvent_MouseWheel(int &lDistance, int &lButtons)
{
    constexpr int kRightButton = 2;
    const bool scanOn = gProject && gProject->ScanOn();
    const bool away = lDistance >= 0;
    if (lButtons == kRightButton) {
        if (scanOn) {
            if (away)
                scanViewer().ScrollUp();
            else
                scanViewer().ScrollDown();
        }
        return;
    }
    const int vk = away ? VbKeys::vbKeyUp : VbKeys::vbKeyDown;
    Services::input().sendKey(vk, true);
    Services::input().sendKey(vk, false);
}

void Form1::eTime_ThatTime()
{
    if (CantUseMenues())
        return;
    mShowStatus->ShowDuration();
}

// ---- Stepping aside ----------------------------------------------------------

void Form1::HideForm1()
{
    if (auto *pickList = qobject_cast<QWidget *>(FindForm(QStringLiteral("frmPickList")))) {
        mPickVisibleAtHide = pickList->isVisible();
        if (gProject)
            gProject->HidePickList();
    }
    myCopyPaste().setVisible(false);
    hide();
}

void Form1::ShowForm1()
{
    show();
    if (FindForm(QStringLiteral("frmPickList")) && mPickVisibleAtHide && gProject)
        gProject->ShowPickList();
    myCopyPaste().setVisible(gProject && gProject->CopyPaste());
}

void Form1::editExit()
{
    ShowForm1();
    Set_TextBox();
    Hook();
}

// ---- Commands ------------------------------------------------------------------

bool Form1::PrintTo(QPrinter *printer)
{
    clsFlexPrint print;
    print.setTitle(true);
    return print.PrintGrid(*mGrid, printer);
}

void Form1::mnuPrint_Click()
{
    if (CantUseMenues())
        return;
    // The printer chosen with Select Printer, as it was set up there.
    if (QPrinter *chosen = Services::dialogs().printer()) {
        PrintTo(chosen);
        return;
    }
    QPrinter printer(QPrinter::HighResolution);
    PrintTo(&printer);
}

void Form1::mnuFindString_Click()
{
    if (MenusBlocked() || !gSearcher)
        return;
    {
        frmFind dialog(*gSearcher, this);
        dialog.exec();
    }
    if (gSearcher->Found())
        GoToFound();
    else
        Set_TextBox();
}

void Form1::mnuFindNextString_Click()
{
    if (MenusBlocked() || !gSearcher)
        return;
    if (gSearcher->FindNext())
        GoToFound();
    else
        Set_TextBox();
}

void Form1::mnuEditForenames_Click()
{
    if (MenusBlocked() || !gForeNames)
        return;
    if (!gTranscription->TestForCredit(true))
        return;
    OpenListEditor(new frmForenames(this));
}

void Form1::mnuEditDistricts_Click()
{
    if (MenusBlocked() || !gDistricts)
        return;
    if (!gTranscription->TestForCredit(true))
        return;
    if (gProject)
        gProject->HidePickList();
    OpenListEditor(new frmDistricts(this));
}

void Form1::OpenListEditor(QWidget *editor)
{
    // The pick list's move setting as it was, for when the window returns.
    if (gProject)
        gProject->setBMoveState(gProject->MovePick());
    UnHook();
    editor->setAttribute(Qt::WA_DeleteOnClose);
    editor->setWindowFlag(Qt::Window);
    editor->show();
}
