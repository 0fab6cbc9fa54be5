#pragma once

// The main window: its Load starts the program and its close handling
// decides whether the program may end. It holds the grid fgInput with its
// side scroll bar VScroll1, the three entry boxes (tbForeName, tbDistrict,
// rtb1; shown by the cell-entry loop), the menus, the status bar StatusBar1
// and the objects that deliver timer ticks, wheel turns and window moves.
// It previews the keys typed into its controls: Ctrl+1 to Ctrl+9 add the
// paste texts to the entry box, modified arrows and F11/F12 work the scan
// viewer.

#include "entry/EntryBoxWindow.h"
#include "lists/EditorHost.h"
#include "mainwindow/MainWindowParts.h"
#include "mainwindow/Resizer.h"
#include "transcription/GridBindings.h"

#include <QList>
#include <QMainWindow>
#include <QPointer>

#include <memory>

class CTimer;
class EventRaise;
class FlexGrid;
class FlexGridView;
class Form1MenuItems;
class Form1BoxParts;
class frmHeader;
class MainWindowHooks;
class QAction;
class QMenu;
class QPrinter;
class QScrollBar;
class QStatusBar;
class RichTextBox;
class RichTextView;
class ShowStatus;
class frmUpload;
class ScanViewerOwner;
class InternetConnection;
struct UploadOutcome;

class Form1 : public QMainWindow,
              public EditorHost,
              public ResizerMainWindow,
              public TranscriptionForm,
              public EntryBoxWindow
{
    Q_OBJECT

public:
    // Who asks the window to close (Form_QueryUnload's UnloadMode).
    enum UnloadMode : int {
        FormControlMenu = 0, // the close box
        FormCode = 1,        // the program's own code
        AppWindows = 2,      // the session is ending
        AppTaskManager = 3,  // another program asked (a terminate signal)
    };

    explicit Form1(QWidget *parent = nullptr);
    ~Form1() override;

    // The Load handler: its last step is the start-up. Returns false when
    // the start-up stopped the run (the window is then closed).
    bool Load();

    // Closes the window from code: no question is asked.
    void UnloadByCode();

    // Decides whether the window may close, and when it may, releases what
    // the window owns and closes the program down. Returns true when closing
    // is refused (a load, save or upload under way, Cancel, a failed save,
    // or No to exiting with invalid data); nothing is then changed.
    bool Form_QueryUnload(int UnloadMode);

    // Start-up's hooks into the main window.
    void CreateTimerAndRelay();
    // Gives gTranscription the window and its side scroll bar.
    void BindTranscription();
    // Hands the entry boxes' handlers their controls, and makes the paste
    // texts window and the character picker's part; once the program's
    // objects exist.
    void BindEntryBoxes();
    // Shows the character picker for the box on view (F4).
    void ShowChrPicker();
    Form1BoxParts *boxParts() const { return mBoxParts.get(); }
    // ---- The header form and batch files (Form1Header.cpp, Form1Files.cpp) ----
    // Shows the header form (made when none is open), modeless; its end
    // comes back through myFrmHeader_HeaderFormFinished.
    void WaitForHeaderForm();
    // Opens the header form for the open batch: saves it (unless bNoSave),
    // keeps a "Pre_" copy of its file and empties the entry boxes.
    void Edit_Header(bool bNoSave);
    // Loads a batch file (an empty path asks for one). True when it was
    // loaded and the window laid out for it. On false gHeaderResult says
    // why: 3 nothing loaded (the batch that was open is still there), 5 the
    // program is ending; 0 with the header form open for an incomplete header.
    bool LoadFile(const QString &path);
    // After a file-naming option changed: offers to delete the file under
    // the old name and saves under the new one.
    void SaveWithNewName(const QString &oldName);
    // The header form open now; nullptr when none is.
    QWidget *headerForm() const;
    // ---- end of the header form and batch files -------------------------------

    // ---- Lay-out from the settings (Form1Layout.cpp) -------------------------
    // The whole lay-out: place and size, columns, menus, caption, status
    // bar, the grid's first entry row, the pick list, the work file, the
    // companion, the minute timer; shows the window.
    void SetUpMainForm();
    // Puts the window at its saved place and size (twips in Project); a
    // width or height of 0 or less keeps the present one. A place on no
    // screen is brought back onto the nearest one.
    void ApplySavedPlace();
    void SetCaption();
    void FitGridHeight() override;
    void ApplyGridFont();
    void ApplyPickListFont();
    void PositionPickList();
    // ---- end of lay-out ------------------------------------------------------

    // Check marks, enabled states, visibility and changing captions of the
    // menu items from the project's settings and batch; also empties and
    // hides the pick list when neither list is wanted and rebuilds the
    // recent-file items. Leaves the batch's saved state alone.
    void ApplySettingsToMenus();

    // ---- The cell-entry loop (Form1EnterCell.cpp) ---------------------------
    // EntryBoxWindow: the entry box of the current column laid over the
    // current cell, the grid's pop-up menus, the zoom keys, the pick list
    // under the cell and the grid's place on the window.
    void Set_TextBox() override;
    void PopupCellMenu() override;
    void PopupRowMenu() override;
    int MouseCol() const override;
    void mnuZoomIn_Click() override;
    void mnuZoomOut_Click() override;
    void Position_DropDown() override;
    QPoint GridOrigin() const override;
    // The grid's current row less one (the scan viewer's line).
    int CurrentRow() const;
    // The scan viewer's ruler moved by n entry lines (0 sends it home),
    // while the ruler follows the rows.
    void MoveRulerWithRow(int n);
    // ---- end of the cell-entry loop ------------------------------------------

    // The menu item of that control name (mnuSaveCont, mnurecent1_3, ...);
    // nullptr when there is none.
    QAction *MenuItem(const QString &controlName) const;
    // The grid's right-click menus: "Row Menu" on the row labels, "Cell
    // Menu" elsewhere.
    QMenu *RowPopup() const;
    QMenu *CellPopup() const;

    // True while a load, save or upload is under way or events are held off.
    bool CantUseMenues() const override;
    bool bSaving() const { return mSaving; }
    void setBSaving(bool on) { mSaving = on; }
    bool bLoading() const { return mLoading; }
    void setBLoading(bool on) { mLoading = on; }
    bool bUploading() const { return mUploading; }
    void setBUploading(bool on) { mUploading = on; }
    // Ctrl+Alt held: set when Alt goes down with Ctrl, cleared by any key
    // going up.
    bool CAlt() const { return mCAlt; }

    // The transcription grid, its view and side scroll bar.
    FlexGrid &fgInput() { return *mGrid; }
    FlexGridView *gridView() const { return mGridView; }
    QScrollBar *VScroll1() const { return mVScroll; }
    // The three entry boxes' models and views.
    RichTextBox &tbForeName() { return *mForeNameBox; }
    RichTextBox &tbDistrict() { return *mDistrictBox; }
    RichTextBox &rtb1() { return *mRichBox; }
    RichTextView *tbForeNameView() const { return mForeNameView; }
    RichTextView *tbDistrictView() const { return mDistrictView; }
    RichTextView *rtb1View() const { return mRichView; }

    QStatusBar *StatusBar1() const;
    ShowStatus *gShowStatus() const { return mShowStatus.get(); }
    Resizer &myResizer() { return mResizer; }
    MainWindowHooks *hooks() const { return mHooks.get(); }

    CTimer *eTime() const { return mTime.get(); }
    EventRaise *cEvent() const { return mEvent.get(); }

    // The parts not built into the window yet; not owned, nullptr puts the
    // null version back.
    void setPasteTexts(PasteTexts *texts);
    void setScanViewer(ScanViewer *viewer);
    void setEntryBoxTexts(EntryBoxTexts *texts);
    PasteTexts &myCopyPaste() const;
    ScanViewer &scanViewer() const;
    // The program's one scan viewer (Form1Scan.cpp).
    ScanViewerOwner &scanViewerOwner() const;
    // The Scan Viewer menu's items after "Show Scan Image": shown while a
    // scan is loaded.
    void setScanItemsVisible(bool visible);

    // Watching the window, the pick list and the entry boxes (moves and
    // wheel turns); pairs up around every time the window steps aside.
    void Hook();
    void UnHook();
    bool bHooked() const;

    // EditorHost: the main window steps aside while an editor is open.
    void HideForm1() override;
    void editExit() override;
    void ShowForm1();

    // ResizerMainWindow
    QWidget *VisibleEntryBox() const override;

    // TranscriptionForm
    void setCopySurnameVisible(bool visible) override;
    void setEntryBoxColumns(int districtCol, int forenameCol) override;

    // The grid printed on printer (not owned), with the batch's heading;
    // what the Print command does once the printer is chosen. False when
    // nothing was printed (the transcriber was told why).
    bool PrintTo(QPrinter *printer);

    // The upload window of the request under way; nullptr when none.
    frmUpload *myFrmUpload() const { return mFrmUpload; }
    // Drops trailing blank rows and offers a final "+PAGE" row; true when
    // the upload may go on.
    bool CheckFinalPageLine();

public slots:
    void mnuExit_Click();
    void mnuFileOpen_Click();
    void mnurecent1_Click(int Index);
    void mnuNewPage_Click();
    void mnuSaveCont_Click();
    void mnuSaveAs_Click();
    void mnuSaveExit_Click();
    void mnuSetPrinter_Click();
    void mnuFileLocate_Click();
    void mnuEditHeader_Click();
    void myFrmHeader_HeaderFormFinished(int code);
    void mnuPrint_Click();
    // The Edit menu and the grid's pop-up menus (Form1Edit.cpp). Those that
    // change the grid do nothing while MenusBlocked; a refusal is told on
    // the status bar.
    void mnuFindString_Click();
    void mnuFindNextString_Click();
    void mnuFindEmpty_Click();
    void mnuFindWarning_Click();
    void mnuFindPageStart_Click();
    void mnuUppercase_Click();
    void mnuLowercase_Click();
    void mnuProperCase_Click();
    void mnuInvertCase_Click();
    void mnuCopySurname_Click();
    void mnuFillDown_Click();
    void mnuFillUp_Click();
    void mnuInsertDown_Click();
    void mnuInsertUp_Click();
    void mnuInsertDown2_Click();
    void mnuDellUp_Click();
    void mnuInsertRow_Click();
    void mnuDelRow_Click();
    void mnuReplaceRow_Click();
    void mnuDelWord_Click();
    void mnuClearBox_Click();
    void mnuValidateEntry_Click();
    void mnuEditForenames_Click();
    void mnuEditDistricts_Click();
    // Sends the saved batch to the server (Form1Upload.cpp): the refusals,
    // the final "+PAGE" row, the connection check, the confirmation and the
    // save, then the upload window takes the main window's place until
    // myFrmUpload_UploadComplete.
    void mnuTransmit_Click();
    // Fetches the district file from the server (forced while Ctrl and Alt
    // were held).
    void mnuDownloadDistrict_Click();
    // The supplementary district file of period index (1 to 4); the lists
    // are read again when it is the open batch's period.
    void mnuSuppItem_Click(int index);
    // Opens the viewer on a chosen scan, or closes it.
    void mnuShowScanImage_Click();
    // Another scan into the open viewer.
    void mnuOpenNewScan_Click();
    // The Edit menu's font and pick-list commands (Form1Formatting.cpp): the
    // grid's font and text colour (the entry boxes two points larger), the
    // pick list's font and colour, and how many rows the pick list shows.
    void mnuChangeFont_Click();
    void mnuChangePickFont_Click();
    void mnuChangePickRows_Click();

    // One minute more on the status bar, unless something is busy.
    void eTime_ThatTime();
    // A wheel turn over an entry box: with only the right button held it
    // scrolls the scan (when one is shown); otherwise it moves the grid by
    // an arrow key.
    void cEvent_MouseWheel(int &lDistance, int &lButtons);

signals:
    // The window has closed for good (the program is closing down); it may
    // have been hidden, behind the header form, when it did.
    void closedDown();

protected:
    void closeEvent(QCloseEvent *event) override;
    void changeEvent(QEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    // Builds the menu bar.
    void CreateMenus();
    void ConnectFileCommands();
    // The Formatting menu's case items and the font and pick-list commands.
    void ConnectFormattingCommands();
    // After a column's case option changed: offers to re-case the entries
    // already in it (label names the column in the question), re-cases the
    // open box on it, and saves the settings in any case.
    void ConvertColumnCase(const QString &label, int column, bool toUpper, bool toLower);
    // The Options menu's commands (Form1Options.cpp).
    void ConnectOptionCommands();
    void ConnectScanCommands();
    // A scan is on view: the zoom commands act only then.
    bool scanShown() const;
    // A "+CREDIT" row in the grid, or an open cell that may not be left:
    // the transcriber has been told.
    bool SaveRefused();
    // The header form's three ends.
    void eHdrExit();
    void eHdrEditOk();
    void eHdrCancel();
    void closeHeaderForm();
    // What belongs to the batch that is going: the scan on view (its file
    // forgotten) and the row held for Replace Deleted Row.
    void CloseScanOfOldBatch();
    void ForgetDeletedRow();
    // The cell-entry loop's event handlers: every move of the grid's
    // current cell, the grid's scroll and mouse release, the side scroll
    // bar dragged (VScroll1_Scroll) or moved otherwise (VScroll1_Change).
    void fgInput_EnterCell();
    void fgInput_Scroll();
    void fgInput_MouseUp(int Button, int Shift, int X, int Y);
    // The right button released over the forename or district box: the
    // grid's menus, as over the grid.
    void tbBox_MouseUp(int Button, int Shift, int X, int Y);
    void VScroll1_Scroll(int value);
    void VScroll1_Change(int value);
    // Places a plain box over the current cell with the cell's text.
    void placeBoxOverCell(RichTextBox &box, RichTextView *view, int helpContext);
    // The cell-entry loop's ruler move for a change of row.
    void moveRulerForRowChange(int oldRow, int newRow);
    void updateValidateEntryItem(int row, int col);
    // The key preview: acts on a key typed anywhere in the window. Returns
    // true when the key is taken (its code set to 0): the control with the
    // focus does not see it.
    bool Form_KeyDown(int KeyCode, int Shift);
    // Minimised, restored or resized.
    void Form_Resize();
    // The cell a search found becomes the current one.
    void GoToFound();
    // ---- Edit commands (Form1Edit.cpp) -----------------------------------------
    void ConnectEditCommands();
    // The menu guard: true when a command that changes the grid must not
    // run (busy, or the open cell refused, the transcriber told why). On
    // false the entry box is off the grid: the command lays it again.
    bool MenusBlocked();
    // Makes (row, col) the current cell through the cell-entry loop; a
    // cell outside the grid only lays the box again.
    void MoveToFoundCell(int row, int col);
    enum class CaseCommand { Upper, Lower, Proper, Invert };
    void ChangeCaseOfEntry(CaseCommand command);
    void FillFromBox(bool up);
    // The rows from fromRow down whose cell in col takes part in a shift.
    QList<int> ShiftableRows(int fromRow, int col) const;
    void SkipValidation(QAction &item, bool page);
    // Shows a list editor (a new window, deleted on close) in the main
    // window's place.
    void OpenListEditor(QWidget *editor);
    // ---- end of edit commands --------------------------------------------------
    // The send command after the connection check.
    void TransmitAfterCheck(bool goOn);
    // A new upload window in the main window's place.
    frmUpload *StartUploadForm();
    // The end of an upload or district request: the window back, the
    // outcome told.
    void myFrmUpload_UploadComplete(const UploadOutcome &outcome);

    std::unique_ptr<FlexGrid> mGrid;
    FlexGridView *mGridView = nullptr;
    QScrollBar *mVScroll = nullptr;
    std::unique_ptr<GridScrollBar> mScrollBarBinding;
    RichTextBox *mForeNameBox = nullptr;
    RichTextBox *mDistrictBox = nullptr;
    RichTextBox *mRichBox = nullptr;
    RichTextView *mForeNameView = nullptr;
    RichTextView *mDistrictView = nullptr;
    RichTextView *mRichView = nullptr;
    std::unique_ptr<ShowStatus> mShowStatus;
    Resizer mResizer;
    std::unique_ptr<MainWindowHooks> mHooks;
    std::unique_ptr<CTimer> mTime;
    std::unique_ptr<EventRaise> mEvent;

    std::unique_ptr<Form1BoxParts> mBoxParts;
    PasteTexts *mPasteTexts = nullptr;
    ScanViewer *mScanViewer = nullptr;
    std::unique_ptr<ScanViewerOwner> mScanOwner;
    EntryBoxTexts *mEntryBoxTexts = nullptr;

    bool mSaving = false;
    bool mLoading = false;
    QString mOpenedFile; // the file the last load read, once it loaded
    bool mUploading = false;
    bool mCAlt = false;
    // Children of the window; each released (deleteLater) once it has answered.
    frmUpload *mFrmUpload = nullptr;
    InternetConnection *mConnectionCheck = nullptr;
    bool mUnloadingByCode = false;
    bool mSessionEnding = false;
    bool mLastMinimised = false;
    bool mPickVisibleAtHide = false;
    bool mPickVisibleAtMinimise = false;
    // The row entered last was a "#" or "+" line.
    bool bEnteredCommentRow = false;
    // The thumb was dragged: the Change that follows only scrolled.
    bool bSkipScrollChange = false;
    // MovePick when a header edit began: the window is watched again after.
    bool bMovePickAtEdit = false;
    // The header form while one is open.
    QPointer<frmHeader> myFrmHeader;

    // The menu items by control name; owned by the window (Qt parent).
    Form1MenuItems *mMenus = nullptr;
};
