#pragma once

// The program's options, remembered window places, folders and the state of
// the open batch's header. One instance, gProject. Creating it sets nothing:
// every field is zero, false or empty until Setup loads the settings file.

#include <QDate>
#include <QList>
#include <QRect>
#include <QString>

#include <array>
#include <vector>

// The main window's grid, as RememberCols reads it. The grid implements it;
// while none is set, RememberCols does nothing.
struct GridColumnSource
{
    virtual ~GridColumnSource() = default;
    virtual int columnCount() const = 0;
    virtual int columnWidthTwips(int col) const = 0;
};

// The paste-text window, as the settings save reads it: its ten texts as one
// list and its place in twips. While none is set, the stored values are saved.
struct PasteWindowSource
{
    virtual ~PasteWindowSource() = default;
    virtual QString GetList() const = 0;
    virtual QRect geometryTwips() const = 0;
};

class Project
{
public:
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
    bool NoPageLetter() const { return mNoPageLetter; }
    void setNoPageLetter(bool on) { mNoPageLetter = on; }
    bool GetDistrictFile() const { return mGetDistrictFile; }
    void setGetDistrictFile(bool get) { mGetDistrictFile = get; }
    bool DistValidate() const { return mDistValidate; }
    void setDistValidate(bool on) { mDistValidate = on; }
    bool PageValidate() const { return mPageValidate; }
    void setPageValidate(bool on) { mPageValidate = on; }
    bool WrongPageletter() const { return mWrongPageletter; }
    void setWrongPageletter(bool on) { mWrongPageletter = on; }

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

    // ---- Batch header (stored as given) ----------------------------------------------
    int EventType() const { return mEventType; }
    void setEventType(int type) { mEventType = type; }
    int iYear() const { return miYear; }
    void setIYear(int year) { miYear = year; }
    int iQtr() const { return miQtr; }
    void setQtr(int quarter) { miQtr = quarter; }
    int Batchnumber() const { return mBatchnumber; }
    void setBatchnumber(int number) { mBatchnumber = number; }
    QDate BatchStarted() const { return mBatchStarted; }
    void setBatchStarted(const QDate &date) { mBatchStarted = date; }
    QDate BatchModified() const { return mBatchModified; }
    void setBatchModified(const QDate &date) { mBatchModified = date; }
    int SourceType() const { return mSourceType; }
    void setSourceType(int type) { mSourceType = type; }
    QString SourceRef() const { return mSourceRef; }
    void setSourceRef(const QString &ref) { mSourceRef = ref; }
    int iVnf() const { return miVnf; }
    void setIVnf(int format) { miVnf = format; }
    QString CommentLine() const { return mCommentLine; }
    void setCommentLine(const QString &text) { mCommentLine = text; }
    QString Page() const { return mPage; }
    void setPage(const QString &page) { mPage = page; }
    QString PageLetter() const { return mPageLetter; }
    void setPageLetter(const QString &letter) { mPageLetter = letter; }
    QString PageSuffix() const { return mPageSuffix; }
    void setPageSuffix(const QString &suffix) { mPageSuffix = suffix; }
    QString CreditName() const { return mCreditName; }
    void setCreditName(const QString &name) { mCreditName = name; }
    QString CreditEmail() const { return mCreditEmail; }
    void setCreditEmail(const QString &email) { mCreditEmail = email; }
    QString CreditType() const { return mCreditType; }
    void setCreditType(const QString &type) { mCreditType = type; }
    QString BatchName() const { return mBatchName; }
    void setBatchName(const QString &name) { mBatchName = name; }
    QString Submitter() const { return mSubmitter; }
    void setSubmitter(const QString &id) { mSubmitter = id; }
    QString email() const { return mEmail; }
    void setEmail(const QString &address) { mEmail = address; }
    QString Syndicate() const { return mSyndicate; }
    void setSyndicate(const QString &name) { mSyndicate = name; }
    QString UserID() const { return mUserID; }
    void setUserID(const QString &name) { mUserID = name; }
    QString Password() const { return mPassword; }
    void setPassword(const QString &password) { mPassword = password; }
    // First quarters of the period years with the optional grid column.
    int DoBQtr() const { return mDoBQtr; }
    int MomsQtr() const { return mMomsQtr; }
    int SpouseQtr() const { return mSpouseQtr; }
    // Sibling-style batch names: ignored while events are off; otherwise
    // stored and saved.
    bool bLumivark() const { return mbLumivark; }
    void setBLumivark(bool on);
    bool bLumivarkNoLetter() const { return mbLumivarkNoLetter; }
    void setBLumivarkNoLetter(bool on);
    bool Skip() const { return mSkip; }
    void setSkip(bool on) { mSkip = on; }
    // The installed district file's version (Files/DistrictFileVersion).
    QString DistrictVersion() const { return mDistrictVersion; }
    void setDistrictVersion(const QString &version) { mDistrictVersion = version; }
    // Supplementary district file 1 to 4, trimmed; empty for any other index,
    // and setting another index does nothing.
    QString SuppPath(int i) const;
    void setSuppPath(int i, const QString &path);

    // Which header lines have been taken (kinds 1 to 5; 0 exists unused).
    void HeadLineSet(int n);
    bool HeadLineGet(int n) const;
    void ClearHeadLines() { mHeadLines.fill(false); }
    int HeadLineCount() const;

    // Opens the trace file / writes one line to it.
    void Tracing();
    void TraceLine(const QString &text);

    // The address named in messages that ask the transcriber to get help.
    static QString SupportEmail() { return QStringLiteral("support@quorvel.example"); }

private:
    struct SettingKey;
    static const std::vector<SettingKey> &settingKeys();
    static const std::vector<const SettingKey *> &loadOrder();
    void clearDistrictCase();
    void clearDoBCase();

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
    bool mNoPageLetter = false;
    bool mGetDistrictFile = false;
    bool mDistValidate = false;
    bool mPageValidate = false;
    bool mWrongPageletter = false;
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
    std::array<QString, 4> mSuppPath;
    std::array<bool, 6> mHeadLines{};
};
