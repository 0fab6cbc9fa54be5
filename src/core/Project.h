#pragma once

// The program's options, remembered window places, folders and the state of
// the open batch's header. One instance, gProject. Creating it sets nothing:
// every field is zero, false or empty until Setup loads the settings file.

#include "core/HeaderFields.h"
#include "core/HeaderTypes.h"

#include <QDate>
#include <QList>
#include <QRect>
#include <QString>
#include <QStringList>

#include <array>
#include <memory>
#include <vector>

class LineReader;
class QFile;

// The main window's grid, as RememberCols reads it. The grid implements it;
// while none is set, RememberCols does nothing.
struct GridColumnSource
{
    virtual ~GridColumnSource() = default;
    virtual int columnCount() const = 0;
    virtual int columnWidthTwips(int col) const = 0;
};

// The paste-text window, as the settings save reads it: its nine texts as one
// list and its place in twips. While none is set, the stored values are saved.
struct PasteWindowSource
{
    virtual ~PasteWindowSource() = default;
    virtual QString GetList() const = 0;
    virtual QRect geometryTwips() const = 0;
};

// The main window's supplementary-file menu, as setSuppPath reaches it: it
// shows fileName as the caption of file i's item (1 mnuSuppPre1946Item,
// 2 mnuSupp1946Item, 3 mnuSupp1965OnItem, 4 mnuSupp1974OnItem). While none
// is set, there is no window and nothing is shown.
struct SuppMenuSink
{
    virtual ~SuppMenuSink() = default;
    virtual void setSuppCaption(int i, const QString &fileName) = 0;
};

class Project
{
public:
    Project();
    // Closes the trace file when tracing.
    ~Project();
    Project(const Project &) = delete;
    Project &operator=(const Project &) = delete;

    // ---- Folders (ProjectFolders.cpp) ----------------------------------
    // Finds the system-files folder (empty, after telling the transcriber,
    // when it is missing) and the data folder: the per-user Startup/DataPath,
    // or on a first run the transcriber's choice, which is then stored per
    // user, sets FilesPath to its "Files" and sets gForceMigration. Only the
    // default data folder is ever created here. Returns false when the
    // transcriber cancelled the folder browser (nothing stored) or the
    // remembered folder has gone (the stored value is cleared, so that the
    // next start asks again).
    bool GetPathToFolders();
    // True when the path, trimmed, is absolute: there are no drive letters,
    // and a relative data folder would move with the current folder.
    static bool ValidDrive(const QString &path);
    // Makes the save folder current; when it is gone, tells the transcriber
    // and sets SavePath to DataPath's Output. A folder that cannot be made
    // current is reported and the caller goes on.
    void GoToSaveDir();
    // Makes the files folder the current folder; a failure is reported and
    // the caller goes on.
    void GoToFileDir();

    QString DataPath() const { return mDataPath; }
    void setDataPath(const QString &path) { mDataPath = path; }
    QString FilesPath() const { return mFilesPath; }
    void setFilesPath(const QString &path) { mFilesPath = path; }
    QString GetFilePath() const { return mFilesPath; }
    QString GetOriginalFilesPath() const;
    QString CommonAppData() const { return mCommonAppData; }
    // DataPath's Output while none is stored.
    QString SavePath() const;
    void setSavePath(const QString &path) { mSavePath = path; }
    // DataPath while none is stored.
    QString ScanPath() const;
    void setScanPath(const QString &path) { mScanPath = path; }

    // The folder of the shipped reference files, help pages and icons: the
    // installed share folder beside the program, or resources/ of the source
    // tree when run from a build folder. Empty when neither exists.
    static QString SystemFilesFolder();
    // ---- end of folders --------------------------------------------------

    // ---- Settings (ProjectSettings.cpp) ----------------------------------
    // The start-of-run reset around the load. Returns false when the
    // settings file exists but could not be read (the transcriber has been
    // told); the run must then stop.
    bool Setup();
    // Loads every key of the settings file ("Pelkarini.txt" in the data
    // folder, else the older "Pelkar.ini"), creating the file with its ten
    // sections when neither exists. A value that cannot be read is reported
    // and replaced by the key's default; the load goes on. Returns false only
    // when the file exists but could not be read.
    bool GetRegistryValues();
    // Saves every key into "Pelkarini.txt", then deletes "Pelkar.ini".
    // Returns false when the file could not be written (the transcriber has
    // been told; the old file is untouched and "Pelkar.ini" stays). The
    // argument changes nothing: callers pass it for their own reasons.
    bool SetRegistryValues(bool unused = false);

    // When the main window is loaded, RememberCols; otherwise saves every
    // setting.
    void SaveProject();
    // With a grid of at least five columns and a layout set, copies the
    // grid's column widths into the table of the current layout and saves
    // every setting; otherwise does nothing.
    void RememberCols();
    // Not owned; the window clears it (nullptr) before it goes.
    void setGridColumnSource(GridColumnSource *grid) { mGrid = grid; }
    void setPasteWindowSource(PasteWindowSource *window) { mPasteWindow = window; }

    // ---- Entry and formatting options --------------------------------------
    // Case letters ("U", "L", "M", "D"): the setters store them upper-cased.
    QString SurnameCase() const { return mSurnameCase; }
    void setSurnameCase(const QString &mode);
    QString SpouseNameCase() const { return mSpouseNameCase; }
    void setSpouseNameCase(const QString &mode);
    QString MotherNameCase() const { return mMotherNameCase; }
    void setMotherNameCase(const QString &mode);
    QString ForenameCase() const;
    void setForenameCase(const QString &mode);

    // District case: turning one on turns the other three off.
    bool DistrictUpper() const { return mDistrictUpper; }
    void setDistrictUpper(bool on);
    bool DistrictLower() const { return mDistrictLower; }
    void setDistrictLower(bool on);
    bool DistrictLeave() const { return mDistrictLeave; }
    void setDistrictLeave(bool on);
    bool DistrictName() const { return mDistrictName; }
    void setDistrictName(bool on);

    // Date-of-birth case: turning one on turns the other two off.
    bool DoBUpper() const { return mDoBUpper; }
    void setDoBUpper(bool on);
    bool DoBLower() const { return mDoBLower; }
    void setDoBLower(bool on);
    bool DoBLeave() const { return mDoBLeave; }
    void setDoBLeave(bool on);
    // "U", else "L", else "D".
    QString DoBCase() const;

    // Ignored while events are off; otherwise stored and saved (SaveProject).
    bool AutoTab() const { return mAutoTab; }
    void setAutoTab(bool on);
    bool VerticalTab() const { return mVerticalTab; }
    void setVerticalTab(bool on) { mVerticalTab = on; }
    bool PeriodSpace() const { return mPeriodSpace; }
    void setPeriodSpace(bool on) { mPeriodSpace = on; }
    bool IgnoreEnter() const { return mIgnoreEnter; }
    void setIgnoreEnter(bool on) { mIgnoreEnter = on; }
    bool IgnoreOdd() const { return mIgnoreOdd; }
    void setIgnoreOdd(bool on) { mIgnoreOdd = on; }
    bool DontformatPaste() const { return mDontformatPaste; }
    void setDontformatPaste(bool on) { mDontformatPaste = on; }
    bool DontformatPick() const { return mDontformatPick; }
    void setDontformatPick(bool on) { mDontformatPick = on; }
    bool Beepit() const { return mBeepit; }
    void setBeepit(bool on) { mBeepit = on; }
    bool ShowFullPath() const { return mShowFullPath; }
    void setShowFullPath(bool on) { mShowFullPath = on; }
    // "P", "Q" or "D" for the stored 0, 1, 2; empty for any other value. The
    // setter takes exactly "P", "Q" or "D" and ignores anything else.
    QString RowNumbering() const;
    void setRowNumbering(const QString &style);
    bool RulerTrace() const { return mRulerTrace; }
    bool InitialHelp() const { return mInitialHelp; }
    void setInitialHelp(bool shown) { mInitialHelp = shown; }

    // ---- Warnings ------------------------------------------------------------
    // Ignored while events are off.
    bool SingleLetterWarning() const { return mSingleLetterWarning; }
    void setSingleLetterWarning(bool on);
    bool ForenameWarning() const { return mForenameWarning; }
    void setForenameWarning(bool on);
    // Ignored while events are off; otherwise stored and saved.
    bool ChangeWarning() const { return mChangeWarning; }
    void setChangeWarning(bool on);
    bool IgnoreAaD() const { return mIgnoreAaD; }
    void setIgnoreAaD(bool on) { mIgnoreAaD = on; }
    bool DistWarned() const { return mDistWarned; }
    void setDistWarned(bool on) { mDistWarned = on; }
    bool PageWarned() const { return mPageWarned; }
    void setPageWarned(bool on) { mPageWarned = on; }

    // ---- Pick list and entry boxes --------------------------------------------
    // DistPick, ForePick, DropDownPick and OverSize ignore assignments while
    // events are off.
    bool DistPick() const { return mDistPick; }
    void setDistPick(bool on);
    bool ForePick() const { return mForePick; }
    void setForePick(bool on);
    bool bDistGhost() const { return mbDistGhost; }
    void setBDistGhost(bool on) { mbDistGhost = on; }
    bool bForeGhost() const { return mbForeGhost; }
    void setBForeGhost(bool on) { mbForeGhost = on; }
    bool DropDownPick() const { return mDropDownPick; }
    void setDropDownPick(bool on);
    bool OversizedDrop() const { return mOversizedDrop; }
    void setOversizedDrop(bool on) { mOversizedDrop = on; }
    bool OverSize() const { return mOverSize; }
    void setOverSize(bool on);
    bool KeepPickListVisible() const { return mKeepPickListVisible; }
    void setKeepPickListVisible(bool on) { mKeepPickListVisible = on; }
    bool MovePick() const { return mMovePick; }
    void setMovePick(bool on) { mMovePick = on; }
    bool bMoveState() const { return mbMoveState; }
    void setBMoveState(bool on) { mbMoveState = on; }
    // Also keeps the most-recently-used flag the opposite.
    bool DistPickStd() const { return mDistPickStd; }
    void setDistPickStd(bool standard);
    int PickRows() const { return mPickRows; }
    void setPickRows(int rows) { mPickRows = rows; }
    int PickMax() const { return 999; }

    // The free pick-list window, in twips. While DropDownPick is on, left,
    // top and width ignore assignments. Left and top read as 0 when the
    // stored value lies off the screen.
    int Pickleft() const;
    void setPickleft(int twips);
    int Picktop() const;
    void setPicktop(int twips);
    int PickWidth() const { return mPickWidth; }
    void setPickWidth(int twips);
    // At least 200.
    int PickHeight() const;
    void setPickHeight(int twips);

    // ---- Grid, paste texts and header form ---------------------------------------
    bool Stripes() const { return mStripes; }
    void setStripes(bool on) { mStripes = on; }
    // Stored, then saved.
    bool RestoreColWidth() const { return mRestoreColWidth; }
    void setRestoreColWidth(bool on);
    // The grid layout for that many columns: 5 or 6. Any other number tells
    // the transcriber and leaves the layout as it was.
    void setColType(int columns);
    // The width of that column (0 to 5) in the current layout; -1 with no
    // layout set or a column outside the table.
    int ColWidth(int col) const;

    bool CopyPaste() const { return mCopyPaste; }
    void setCopyPaste(bool on) { mCopyPaste = on; }
    QString PasteList() const { return mPasteList; }
    int PasteX() const { return mPasteX; }
    void setPasteX(int twips) { mPasteX = twips; }
    int PasteY() const { return mPasteY; }
    void setPasteY(int twips) { mPasteY = twips; }
    int PasteW() const { return mPasteW; }
    void setPasteW(int twips) { mPasteW = twips; }
    int HdrX() const { return mHdrX; }
    void setHdrX(int twips) { mHdrX = twips; }
    int HdrY() const { return mHdrY; }
    void setHdrY(int twips) { mHdrY = twips; }
    bool HidePassword() const { return mHidePassword; }
    void setHidePassword(bool on) { mHidePassword = on; }

    // The character picker: never below 0; the setters ignore assignments
    // while events are off.
    int CPHeight() const;
    void setCPHeight(int twips);
    int CPWidth() const;
    void setCPWidth(int twips);
    // The cells' font size in points; 0 while none is stored.
    float CPSize() const { return mCPSize; }
    void setCPSize(float size);
    int GridQuality() const { return mGridQuality; }

    // ---- Scan viewer and ruler -----------------------------------------------------
    // Never below 0.
    int Scanleft() const;
    void setScanleft(int twips);
    int ScanTop() const;
    void setScanTop(int twips);
    // Never below 500.
    int ScanWidth() const;
    void setScanWidth(int twips);
    int ScanHeight() const;
    void setScanHeight(int twips);
    // Stored to three decimals; 1 instead when given below 0.001 or above 100.
    double Zoom() const { return mZoom; }
    void setZoom(double zoom);
    float Rotation() const { return mRotation; }
    void setRotation(float degrees) { mRotation = degrees; }
    int ScanBackColour() const { return mScanBackColour; }
    void setScanBackColour(int colour) { mScanBackColour = colour; }
    int ScanTextColour() const { return mScanTextColour; }
    void setScanTextColour(int colour) { mScanTextColour = colour; }
    // Setting it empty also sets Rotation to 0.
    QString ScanFile() const { return mScanFile; }
    void setScanFile(const QString &file);
    bool GreyScale() const { return mGreyScale; }
    void setGreyScale(bool on) { mGreyScale = on; }
    bool ScanOn() const { return mScanOn; }
    void setScanOn(bool on) { mScanOn = on; }

    bool AutoMoveRuler() const { return mAutoMoveRuler; }
    void setAutoMoveRuler(bool on) { mAutoMoveRuler = on; }
    int RuleColour() const { return mRuleColour; }
    void setRuleColour(int colour) { mRuleColour = colour; }
    // Reading first puts the stored value into 1 to 15 (and keeps it there).
    int RuleWidth() const;
    void setRuleWidth(int width) { mRuleWidth = width; }
    double RuleJumpDistance() const { return mRuleJumpDistance; }
    void setRuleJumpDistance(double distance) { mRuleJumpDistance = distance; }
    int RuleScrollX1() const { return mRuleScrollX1; }
    void setRuleScrollX1(int x) { mRuleScrollX1 = x; }
    int RuleVScY1() const { return mRuleVScY1; }
    void setRuleVScY1(int y) { mRuleVScY1 = y; }
    bool RuleSeeThru() const { return mRuleSeeThru; }
    void setRuleSeeThru(bool on) { mRuleSeeThru = on; }

    // ---- Upload server ----------------------------------------------------------------
    QString Site() const { return mSite; }
    void setSite(const QString &host) { mSite = host; }
    int Port() const { return mPort; }
    void setPort(int port) { mPort = port; }
    QString sPing() const { return mPing; }
    void setPing(const QString &host) { mPing = host; }

    // The upload server's host, the default of Web/WebSite and Web/Ping.
    static QString DefaultUploadHost() { return QStringLiteral("www.quorvel.example"); }
    // The retired connection-check host: a stored Web/Ping naming it is read
    // as the upload server's host.
    static QString FormerCheckHost() { return QStringLiteral("check.quorvel.example"); }

    // ---- Main window, in twips, kept on the screen ------------------------------------
    int Form1Height() const;
    void setForm1Height(int twips);
    int Form1left() const;
    void setForm1left(int twips);
    int Form1Top() const;
    void setForm1Top(int twips);
    int Form1Width() const;
    void setForm1Width(int twips);

    // ---- Fonts (set together, without saving) ---------------------------------------
    QString fontname() const;
    int FontSize() const { return mFontSize; }
    bool FontBold() const { return mFontBold; }
    bool FontItal() const { return mFontItal; }
    int FontColour() const { return mFontColour; }
    QString Pfontname() const;
    int PFontSize() const { return mPFontSize; }
    bool PFontBold() const { return mPFontBold; }
    bool PFontItal() const { return mPFontItal; }
    int PFontColour() const { return mPFontColour; }
    void Set_Font(const QString &name, int size, bool bold, bool italic, int colour);
    void Set_PickFont(const QString &name, int size, bool bold, bool italic, int colour);

    // ---- Run-time flags (never saved) ----------------------------------------------
    bool GetDistrictFile() const { return mGetDistrictFile; }
    void setGetDistrictFile(bool get) { mGetDistrictFile = get; }
    bool DistValidate() const { return mDistValidate; }
    void setDistValidate(bool on) { mDistValidate = on; }
    bool PageValidate() const { return mPageValidate; }
    void setPageValidate(bool on) { mPageValidate = on; }

    // ---- Other -------------------------------------------------------------------------
    // "Pelkar.ico" in the system-files folder, else in the program's folder;
    // empty when in neither.
    QString IconPath() const;
    // False when the code is in the not-used character list.
    bool IsCharUsed(int code) const { return !mNotUsedChars.contains(code); }
    QList<int> NotUsedChars() const { return mNotUsedChars; }
    // Adds to the running size of the batch file being written.
    void setFileSizeAddition(int amount) { mFileSize += amount; }
    int FileSize() const { return mFileSize; }

    // ---- Batch header (ProjectHeader.cpp) --------------------------------------------
    // The open batch's header. Whole-number fields hold the values of the
    // enumerations in core/HeaderTypes.h; a value outside its enumeration is
    // kept and simply fails HeaderIsComplete. Texts are trimmed of spaces
    // only, where a getter or setter says it trims.

    // The event type: 0 none, 1 Births, 2 Deaths, 3 Marriages.
    int EventType() const { return mEventType; }
    void setEventType(int type) { mEventType = type; }
    // "B", "D" or "M"; empty for any other event type.
    QString ZelLetter() const;
    // Takes the first character of the trimmed text, upper-cased: "B", "D"
    // and "M" set the event type; any other character (or none) leaves it
    // as it was.
    void setZelLetter(const QString &text);
    bool bDeath() const { return mEventType == EventType::Deaths; }

    int iYear() const { return miYear; }
    void setIYear(int year) { miYear = year; }
    // The quarter, 1 to 4 (0 none).
    int iQtr() const { return miQtr; }
    void setQtr(int quarter) { miQtr = quarter; }
    int SourceType() const { return mSourceType; }
    void setSourceType(int type) { mSourceType = type; }
    // Untrimmed.
    QString SourceRef() const { return mSourceRef; }
    void setSourceRef(const QString &ref) { mSourceRef = ref; }
    int Batchnumber() const { return mBatchnumber; }
    void setBatchnumber(int number) { mBatchnumber = number; }
    QString BatchName() const { return mBatchName; }
    void setBatchName(const QString &name) { mBatchName = name; }
    QDate BatchStarted() const { return mBatchStarted; }
    void setBatchStarted(const QDate &date) { mBatchStarted = date; }
    QDate BatchModified() const { return mBatchModified; }
    void setBatchModified(const QDate &date) { mBatchModified = date; }

    // The page number, trimmed both ways.
    QString Page() const;
    void setPage(const QString &page);
    QString PageNumber() const { return Page(); }
    // The length of the trimmed page number, kept by the header form and
    // the grid.
    int PageNumberLength() const { return mPageNumberLength; }
    void setPageNumberLength(int length) { mPageNumberLength = length; }
    // The first character of the trimmed text, case kept; a blank text
    // stores "0".
    QString PageLetter() const { return mPageLetter; }
    void setPageLetter(const QString &letter);
    // The first character of the text trimmed on the left; empty for a
    // blank text.
    QString PageSuffix() const { return mPageSuffix; }
    void setPageSuffix(const QString &suffix);
    // The last page number shown on the status bar.
    QString LastPageString() const { return mLastPageString; }
    void setLastPageString(const QString &page) { mLastPageString = page; }

    // The volume-number format: 0 none, or one of the three constants.
    int iVnf() const { return miVnf; }
    void setIVnf(int format) { miVnf = format; }
    // "9z", "99" or "xx"; empty for any other format.
    QString vnf() const;
    static constexpr int iVNF9z() { return VolumeNumberFormat::Vnf9z; }
    static constexpr int iVNF99() { return VolumeNumberFormat::Vnf99; }
    static constexpr int iVNFxx() { return VolumeNumberFormat::Vnfxx; }

    // Transcriber name, syndicate and submitter e-mail: read trimmed,
    // stored as given.
    QString UserID() const;
    void setUserID(const QString &name) { mUserID = name; }
    QString Syndicate() const;
    void setSyndicate(const QString &name) { mSyndicate = name; }
    QString email() const;
    void setEmail(const QString &address) { mEmail = address; }
    // The submitter id: stored trimmed, then every setting is saved.
    QString Submitter() const;
    void setSubmitter(const QString &id);
    // Stored trimmed.
    QString Password() const;
    void setPassword(const QString &password);

    // The credit line's fields. The e-mail and the type save every setting
    // once stored.
    QString CreditName() const { return mCreditName; }
    void setCreditName(const QString &name) { mCreditName = name; }
    QString CreditEmail() const { return mCreditEmail; }
    void setCreditEmail(const QString &email);
    QString CreditType() const { return mCreditType; }
    void setCreditType(const QString &type);
    QString CommentLine() const { return mCommentLine; }
    void setCommentLine(const QString &text) { mCommentLine = text; }

    // The code page the "+INFO" line named, stored lower-cased.
    QString CodePage() const { return mCodePage; }
    void setCodePage(const QString &name);
    // The installed district file's version (Files/DistrictFileVersion).
    QString DistrictVersion() const { return mDistrictVersion; }
    void setDistrictVersion(const QString &version) { mDistrictVersion = version; }

    // True when the header has no page letter (HeaderIsComplete and the
    // "#" batch line's reader set it).
    bool NoPageLetter() const { return mNoPageLetter; }
    void setNoPageLetter(bool on) { mNoPageLetter = on; }
    // The number of data rows, kept by the grid.
    int DataLines() const { return mDataLines; }
    void setDataLines(int lines) { mDataLines = lines; }
    // The record length of the work file.
    static constexpr int WorkLength() { return 250; }
    // The option to pass over the surname column.
    bool Skip() const { return mSkip; }
    void setSkip(bool on) { mSkip = on; }
    // True while the batch holds data that failed validation, and after an
    // abandoned header read.
    bool Invalid() const { return mInvalid; }
    void setInvalid(bool on) { mInvalid = on; }
    // True when the last save found entries out of alphabetical sequence.
    bool SequenceError() const { return mSequenceError; }
    void setSequenceError(bool on) { mSequenceError = on; }
    // True when the page letter disagrees with the first surname's letter.
    bool WrongPageletter() const { return mWrongPageletter; }
    void setWrongPageletter(bool on) { mWrongPageletter = on; }

    // ---- Period rules: which optional grid column the batch has ------------
    static constexpr int MothersYear() { return 1911; }
    static constexpr int SpouseYear() { return 1912; }
    static constexpr int DoBYear() { return 1969; }
    static constexpr int DeathYear() { return 1969; }
    // First quarters of those years with the column (settings).
    int DoBQtr() const { return mDoBQtr; }
    int MomsQtr() const { return mMomsQtr; }
    int SpouseQtr() const { return mSpouseQtr; }
    // Births from 1912, or in 1911 from MomsQtr: the mother's maiden name.
    bool Mother() const;
    // Marriages from 1913, or in 1912 from SpouseQtr: the spouse's surname.
    bool Spouse() const;
    // Deaths from 1970, or in 1969 from DoBQtr: date of birth, not age.
    bool DoB() const;

    // ---- Completeness, head lines, supplementary files ---------------------
    // Whether the header holds everything a batch needs. A query with a side
    // effect: it also sets NoPageLetter, true exactly when everything before
    // the page letter is present and the page letter is empty. Texts count
    // as present when not empty as stored (spaces count). E-mail, credit and
    // comment are not required; the submitter id and password must be both
    // present or both absent.
    bool HeaderIsComplete();
    // The number of header lines before the first "+PAGE" line: 4, or 5
    // when the credit name, e-mail and type hold anything but spaces.
    int HeaderLines() const;
    // Which supplementary district file (1 to 4) serves the batch's year
    // and quarter.
    int iSuppRange() const;
    // Empties the header for a new read: credit, comment, page letter and
    // suffix, source reference, code page and page become empty; year,
    // quarter, event type, source type and volume-number format become 0;
    // the head-line flags are cleared, and so is gChangeMonitor's
    // cell-changed flag. The batch name and number, transcriber, syndicate,
    // e-mail, submitter, password and both dates are kept.
    void ClearHeader();

    // Sibling-style batch names: ignored while events are off; otherwise
    // stored and saved.
    bool bLumivark() const { return mbLumivark; }
    void setBLumivark(bool on);
    bool bLumivarkNoLetter() const { return mbLumivarkNoLetter; }
    void setBLumivarkNoLetter(bool on);

    // Supplementary district file 1 to 4, trimmed; empty for any other index.
    QString SuppPath(int i) const;
    // Stores the path as given and shows its file name on the main window's
    // menu item for that file (for file 1 with an empty path, the name of
    // the shipped default). Any index outside 1 to 4 is refused: nothing
    // changes.
    void setSuppPath(int i, const QString &path);
    // Not owned; the main window clears it (nullptr) before it goes.
    void setSuppMenuSink(SuppMenuSink *sink) { mSuppMenuSink = sink; }

    // Which header lines have been taken (kinds 1 to 5; 0 exists unused).
    void HeadLineSet(int n);
    bool HeadLineGet(int n) const;
    void ClearHeadLines() { mHeadLines.fill(false); }
    int HeadLineCount() const;

    // ---- Trace file ----------------------------------------------------------
    // Opens "PelkarTrace" in the data folder, replacing an earlier trace,
    // and keeps it open until Project goes. Reports nothing: with no data
    // folder, or a file that cannot be opened, nothing is traced.
    void Tracing();
    // Writes the text and a line end (Windows-1252, CR LF) while tracing;
    // otherwise does nothing.
    void TraceLine(const QString &text);

    // ---- Batch file header lines (ProjectHeaderLines.cpp) -------------------
    // Header line kind n as written: 1 "+INFO", 2 "#" batch line, 3 "#"
    // comment line, 4 source line, 5 "+CREDIT" (empty without a credit),
    // 6 "+PAGE"; any other n gives "". Changes nothing.
    QString BuildProjLine(int n) const;
    // Replaces the contents of lines with the header lines in file order
    // (index 0 is the "+INFO" line): 5 lines, or 6 with a credit line.
    // Returns their number. Adds their length (line ends not counted) to the
    // file size and sets head-line flags 1 to 5.
    int BuildHeaderLines(QStringList &lines);
    // The text made safe for one comma-separated field: trimmed, one leading
    // and one trailing double quote dropped, any other double quote turned
    // into an apostrophe, and enclosed in double quotes when it holds a comma.
    static QString QuoteField(const QString &text);
    // Reads the header from the reader up to and including the first "+PAGE"
    // line, so that the reader is left at the first data line. The caller
    // has cleared the header (ClearHeader) and keeps the file: nothing is
    // closed here. Afterwards Invalid() is true when the read was abandoned
    // (first line not "+INFO", Cancel on an unknown line, or a line that
    // cannot be read); the transcriber has then been told. An incomplete
    // header is reported but still counts as read (Invalid() false).
    // A file name on the "#" batch line that is not a plain file name
    // (IsPlainFileName) is never taken: the transcriber is told and the
    // batch is named from its header (BuildBatchName) once the header is
    // read, or left without a name when that name is not plain either.
    void GetProjFromFile(LineReader &reader);
    // Takes one header line into the header. credit is true for a "+CREDIT"
    // line; recognised is true for a line of kinds 1 to 5 that was taken (a
    // second "+INFO" is not). Bad values get their message and a default.
    // Returns false, with Invalid() set, both results false and nothing
    // shown, when the line cannot be read at all: a "+INFO" line of fewer
    // than five fields, or a source line whose year (or a "#" batch line
    // whose batch number) is not a whole number that fits 16 bits. The
    // caller tells the transcriber (HeaderLineFault) and stops reading.
    // A "#" batch line whose file name is not plain leaves BatchName empty
    // until the "+PAGE" line names the batch from its header, with a
    // message. lineNumber is not used.
    bool ParseHeaderLine(const QString &line, int lineNumber, bool &credit, bool &recognised);
    // The message for a header line that cannot be read.
    static QString HeaderLineFault(const QString &line);
    // The page letter a batch file name carries (upper-cased), or "".
    static QString PageLetterFromFileName(const QString &fileName);
    // Copies the header form's fields into the header (lblBatchID,
    // lblCreated and the boxes; lblUpdated is ignored: the last change is
    // now), then saves every setting. A year box that is not a whole number
    // of 16 bits stores year 0; a creation date that cannot be read stores
    // today.
    void Store(const HeaderFields &fields);
    // The header as the header form shows it, built with events off.
    // lblBatchID holds BuildBatchName() as the preview; a start or
    // last-change date before 1900 (never set) shows as today.
    HeaderFields ShowProject() const;
    // UserID, Syndicate, email, Submitter and Password as stored (untrimmed).
    void GetProjNames(QString &userId, QString &syndicate, QString &mail, QString &submitter,
                      QString &password) const;
    // Dates in header lines and on the header form: "D-MMM-YYYY" with
    // English month names ("9-Dec-1911"); "" for a null date.
    static QString FormatHeaderDate(const QDate &date);
    // Reads that form back (C locale first, then the system's); a null date
    // when the text is not a date.
    static QDate ParseHeaderDate(const QString &text);
    // ---- end of header lines ------------------------------------------------

    // ---- Batch and upload names (ProjectNames.cpp) --------------------------
    // The batch file name for the header, in the style bLumivark chooses:
    // year, event letter, quarter, stored page letter, page padded to four
    // digits and ".ZEL" in the program's own style.
    QString BuildBatchName() const;
    // The sibling program's style: ".SCA" names for scans, "P" names with
    // the batch number (at least 100) as extension for fiche and film, and
    // only year, event letter and quarter with no source.
    QString BuildLumivarkName() const;
    // The name the upload sends the batch under: BatchName without its
    // extension, plus "_" and the three-digit batch number for a fiche or
    // film batch in the sibling style.
    QString UploadName() const;
    // "B", "D", "M", or "?" for any other event type.
    static QString EventToString(int eventType);
    // Whether the name, joined to a folder, stays a file of that folder: not
    // empty, no folder separator ("/" or "\"), no drive (":") and no "..".
    static bool IsPlainFileName(const QString &name);
    // ---- end of names -------------------------------------------------------

    // ---- Pick-list placement (PickListPlacement.cpp) -------------------------
    // What the placement needs of the pick-list window; geometry in twips.
    // The window installs itself when it is built (SetPickWindow) and takes
    // itself out when destroyed; with none installed the operations below
    // that need it do nothing.
    class PickWindow
    {
    public:
        virtual ~PickWindow() = default;
        virtual bool pickVisible() const = 0;
        virtual void setPickVisible(bool visible) = 0;
        virtual bool pickMinimised() const = 0;
        // Neither minimised nor maximised.
        virtual void setPickNormal() = 0;
        // Left, top, width and height of the window.
        virtual QRect pickGeometry() const = 0;
        // Moves the window, keeping its size.
        virtual void movePick(int left, int top) = 0;
    };
    // Installs the pick-list window (not owned); nullptr takes it out.
    static void SetPickWindow(PickWindow *window);
    // The installed window, or null.
    static PickWindow *pickWindow();

    // Hides the window when it is on view.
    void HidePickList();
    // Hides a loaded window unless KeepPickListVisible; never creates one.
    void HidePickIfNotWanted();
    // Shows the window at its free place on the list columns (on every
    // column with KeepPickListVisible) when the list serves either column;
    // in drop-down mode hides it off the list columns.
    void ShowPickList();
    // Records the window's place and size (only its height in drop-down
    // mode); records nothing while it is minimised.
    void SavePickPosition();
    // Whether the list serves the grid column: the forename column with
    // ForePick, the district column with DistPick.
    bool PickListColumn(int col) const;
    // ---- end of pick-list placement -----------------------------------------

    // The address named in messages that ask the transcriber to get help.
    static QString SupportEmail() { return QStringLiteral("support@quorvel.example"); }

private:
    struct SettingKey;
    static const std::vector<SettingKey> &settingKeys();
    static const std::vector<const SettingKey *> &loadOrder();
    void clearDistrictCase();
    void clearDoBCase();
    // Names the batch from its header when the file's own name for it was
    // refused, and tells the transcriber; otherwise does nothing.
    void NameRefusedBatch();

    // Folders
    QString mDataPath;
    QString mFilesPath;
    QString mCommonAppData;
    QString mSavePath;
    QString mScanPath;

    GridColumnSource *mGrid = nullptr;
    PasteWindowSource *mPasteWindow = nullptr;

    // Entry and formatting
    QString mSurnameCase;
    QString mSpouseNameCase;
    QString mMotherNameCase;
    QString mForenameCase;
    bool mDistrictUpper = false;
    bool mDistrictLower = false;
    bool mDistrictLeave = false;
    bool mDistrictName = false;
    bool mDoBUpper = false;
    bool mDoBLower = false;
    bool mDoBLeave = false;
    bool mAutoTab = false;
    bool mVerticalTab = false;
    bool mPeriodSpace = false;
    bool mIgnoreEnter = false;
    bool mIgnoreOdd = false;
    bool mDontformatPaste = false;
    bool mDontformatPick = false;
    bool mBeepit = false;
    bool mShowFullPath = false;
    int mRowNumbering = 0;
    bool mRulerTrace = false;
    bool mInitialHelp = false;

    // Warnings
    bool mSingleLetterWarning = false;
    bool mForenameWarning = false;
    bool mChangeWarning = false;
    bool mIgnoreAaD = false;
    bool mDistWarned = false;
    bool mPageWarned = false;

    // Pick list
    bool mDistPick = false;
    bool mForePick = false;
    bool mbDistGhost = false;
    bool mbForeGhost = false;
    bool mDropDownPick = false;
    bool mOversizedDrop = false;
    bool mOverSize = false;
    bool mKeepPickListVisible = false;
    bool mMovePick = false;
    bool mbMoveState = false;
    bool mDistPickStd = false;
    bool mMRUPicklist = false;
    int mPickRows = 0;
    int mPickleft = 0;
    int mPicktop = 0;
    int mPickWidth = 0;
    int mPickHeight = 0;

    // Grid and forms. The column-width table: one row of six widths for each
    // layout (1: five columns, 2: six columns); mColType 0 means no layout.
    bool mStripes = false;
    bool mRestoreColWidth = false;
    int mColType = 0;
    std::array<std::array<int, 6>, 2> mColWidths{};
    bool mCopyPaste = false;
    QString mPasteList;
    int mPasteX = 0;
    int mPasteY = 0;
    int mPasteW = 0;
    int mHdrX = 0;
    int mHdrY = 0;
    bool mHidePassword = false;
    int mCPHeight = 0;
    int mCPWidth = 0;
    float mCPSize = 0;
    int mGridQuality = 0;
    QList<int> mNotUsedChars;

    // Scan viewer and ruler
    int mScanleft = 0;
    int mScanTop = 0;
    int mScanWidth = 0;
    int mScanHeight = 0;
    double mZoom = 0;
    float mRotation = 0;
    int mScanBackColour = 0;
    int mScanTextColour = 0;
    QString mScanFile;
    bool mGreyScale = false;
    bool mScanOn = false;
    bool mAutoMoveRuler = false;
    int mRuleColour = 0;
    mutable int mRuleWidth = 0;
    double mRuleJumpDistance = 0;
    int mRuleScrollX1 = 0;
    int mRuleVScY1 = 0;
    bool mRuleSeeThru = false;

    // Upload server
    QString mSite;
    int mPort = 0;
    QString mPing;

    // Main window
    int mForm1Height = 0;
    int mForm1left = 0;
    int mForm1Top = 0;
    int mForm1Width = 0;

    // Fonts
    QString mFontname;
    int mFontSize = 0;
    bool mFontBold = false;
    bool mFontItal = false;
    int mFontColour = 0;
    QString mPfontname;
    int mPFontSize = 0;
    bool mPFontBold = false;
    bool mPFontItal = false;
    int mPFontColour = 0;

    // Run-time
    bool mGetDistrictFile = false;
    bool mDistValidate = false;
    bool mPageValidate = false;
    int mFileSize = 0;

    // Batch header
    int mEventType = 0;
    int miYear = 0;
    int miQtr = 0;
    int mBatchnumber = 0;
    QDate mBatchStarted;
    QDate mBatchModified;
    int mSourceType = 0;
    QString mSourceRef;
    int miVnf = 0;
    QString mCommentLine;
    QString mPage;
    QString mPageLetter;
    QString mPageSuffix;
    QString mCreditName;
    QString mCreditEmail;
    QString mCreditType;
    QString mBatchName;
    // A file name read from a header and refused, until the batch is named.
    QString mRefusedBatchName;
    QString mSubmitter;
    QString mEmail;
    QString mSyndicate;
    QString mUserID;
    QString mPassword;
    int mDoBQtr = 0;
    int mMomsQtr = 0;
    int mSpouseQtr = 0;
    bool mbLumivark = false;
    bool mbLumivarkNoLetter = false;
    bool mSkip = false;
    QString mDistrictVersion;
    QString mCodePage;
    QString mLastPageString;
    int mPageNumberLength = 0;
    int mDataLines = 0;
    bool mNoPageLetter = false;
    bool mInvalid = false;
    bool mSequenceError = false;
    bool mWrongPageletter = false;
    std::array<QString, 4> mSuppPath;
    SuppMenuSink *mSuppMenuSink = nullptr;
    std::array<bool, 6> mHeadLines{};

    // Trace file: open from Tracing until Project goes.
    bool mTracing = false;
    std::unique_ptr<QFile> mTraceFile;
};
