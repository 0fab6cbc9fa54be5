#include "core/Project.h"

#include "core/FormRegistry.h"
#include "core/Globals.h"
#include "core/MessageWindows.h"
#include "core/Services.h"
#include "core/VbHelpers.h"
#include "core/clsEvents.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>

namespace {

// The program's own changes to its controls raise the same change events as
// the transcriber's; while events are off, those echoes must not change an
// option.
bool eventsSuppressed()
{
    return gEvents && gEvents->NoEvents();
}

int screenWidthTwips()
{
    ScreenMetrics &screen = Services::screen();
    return int(VbRound(screen.screenRect().width() * screen.twipsPerPixelX()));
}

int screenHeightTwips()
{
    ScreenMetrics &screen = Services::screen();
    return int(VbRound(screen.screenRect().height() * screen.twipsPerPixelY()));
}

} // namespace

Project::Project() = default;

// The trace file closes with its QFile.
Project::~Project() = default;

// ---- Case options ---------------------------------------------------------

void Project::setSurnameCase(const QString &mode)
{
    mSurnameCase = VbUCase(mode);
}

void Project::setSpouseNameCase(const QString &mode)
{
    mSpouseNameCase = VbUCase(mode);
}

void Project::setMotherNameCase(const QString &mode)
{
    mMotherNameCase = VbUCase(mode);
}

QString Project::ForenameCase() const
{
    return VbUCase(mForenameCase);
}

void Project::setForenameCase(const QString &mode)
{
    mForenameCase = VbUCase(mode);
}

void Project::clearDistrictCase()
{
    mDistrictUpper = mDistrictLower = mDistrictLeave = mDistrictName = false;
}

void Project::setDistrictUpper(bool on)
{
    if (on)
        clearDistrictCase();
    mDistrictUpper = on;
}

void Project::setDistrictLower(bool on)
{
    if (on)
        clearDistrictCase();
    mDistrictLower = on;
}

void Project::setDistrictLeave(bool on)
{
    if (on)
        clearDistrictCase();
    mDistrictLeave = on;
}

void Project::setDistrictName(bool on)
{
    if (on)
        clearDistrictCase();
    mDistrictName = on;
}

void Project::clearDoBCase()
{
    mDoBUpper = mDoBLower = mDoBLeave = false;
}

void Project::setDoBUpper(bool on)
{
    if (on)
        clearDoBCase();
    mDoBUpper = on;
}

void Project::setDoBLower(bool on)
{
    if (on)
        clearDoBCase();
    mDoBLower = on;
}

void Project::setDoBLeave(bool on)
{
    if (on)
        clearDoBCase();
    mDoBLeave = on;
}

QString Project::DoBCase() const
{
    if (mDoBUpper)
        return QStringLiteral("U");
    if (mDoBLower)
        return QStringLiteral("L");
    return QStringLiteral("D");
}

QString Project::RowNumbering() const
{
    switch (mRowNumbering) {
    case 0:
        return QStringLiteral("P");
    case 1:
        return QStringLiteral("Q");
    case 2:
        return QStringLiteral("D");
    default:
        return QString();
    }
}

void Project::setRowNumbering(const QString &style)
{
    if (style == QLatin1String("P"))
        mRowNumbering = 0;
    else if (style == QLatin1String("Q"))
        mRowNumbering = 1;
    else if (style == QLatin1String("D"))
        mRowNumbering = 2;
}

// ---- Guarded options --------------------------------------------------------

void Project::setAutoTab(bool on)
{
    if (eventsSuppressed())
        return;
    mAutoTab = on;
    SaveProject();
}

void Project::setSingleLetterWarning(bool on)
{
    if (!eventsSuppressed())
        mSingleLetterWarning = on;
}

void Project::setForenameWarning(bool on)
{
    if (!eventsSuppressed())
        mForenameWarning = on;
}

void Project::setChangeWarning(bool on)
{
    if (eventsSuppressed())
        return;
    mChangeWarning = on;
    SetRegistryValues();
}

void Project::setDistPick(bool on)
{
    if (!eventsSuppressed())
        mDistPick = on;
}

void Project::setForePick(bool on)
{
    if (!eventsSuppressed())
        mForePick = on;
}

void Project::setDropDownPick(bool on)
{
    if (!eventsSuppressed())
        mDropDownPick = on;
}

void Project::setOverSize(bool on)
{
    if (!eventsSuppressed())
        mOverSize = on;
}

void Project::setCPHeight(int twips)
{
    if (!eventsSuppressed())
        mCPHeight = std::max(twips, 0);
}

int Project::CPHeight() const
{
    return std::max(mCPHeight, 0);
}

void Project::setCPWidth(int twips)
{
    if (!eventsSuppressed())
        mCPWidth = std::max(twips, 0);
}

int Project::CPWidth() const
{
    return std::max(mCPWidth, 0);
}

void Project::setCPSize(float size)
{
    if (!eventsSuppressed())
        mCPSize = size;
}

void Project::setBLumivark(bool on)
{
    if (eventsSuppressed())
        return;
    mbLumivark = on;
    SaveProject();
    SetRegistryValues();
}

void Project::setBLumivarkNoLetter(bool on)
{
    if (eventsSuppressed())
        return;
    mbLumivarkNoLetter = on;
    SaveProject();
    SetRegistryValues();
}

// ---- Pick list --------------------------------------------------------------

void Project::setDistPickStd(bool standard)
{
    mDistPickStd = standard;
    mMRUPicklist = !standard;
}

int Project::Pickleft() const
{
    return (mPickleft >= 0 && mPickleft <= screenWidthTwips()) ? mPickleft : 0;
}

void Project::setPickleft(int twips)
{
    if (mDropDownPick)
        return;
    mPickleft = std::min(std::max(twips, 0), screenWidthTwips() - 500);
}

int Project::Picktop() const
{
    return (mPicktop >= 0 && mPicktop <= screenHeightTwips() - 100) ? mPicktop : 0;
}

void Project::setPicktop(int twips)
{
    if (mDropDownPick)
        return;
    if (twips >= 0 && twips < screenHeightTwips() - 500)
        mPicktop = twips;
}

void Project::setPickWidth(int twips)
{
    if (!mDropDownPick)
        mPickWidth = twips;
}

int Project::PickHeight() const
{
    return std::max(mPickHeight, 200);
}

void Project::setPickHeight(int twips)
{
    mPickHeight = std::max(twips, 200);
}

// ---- Grid columns -------------------------------------------------------------

void Project::setRestoreColWidth(bool on)
{
    mRestoreColWidth = on;
    SetRegistryValues();
}

void Project::setColType(int columns)
{
    if (columns == 5) {
        mColType = 1;
    } else if (columns == 6) {
        mColType = 2;
    } else {
        ShowMessage(QStringLiteral("Invalid number of columns=") + QString::number(columns),
                    Mb::OkOnly);
    }
}

int Project::ColWidth(int col) const
{
    if (mColType < 1 || mColType > 2 || col < 0 || col > 5)
        return -1;
    return mColWidths[mColType - 1][col];
}

void Project::RememberCols()
{
    if (!mGrid || mColType == 0)
        return;
    const int count = mGrid->columnCount();
    if (count < 5)
        return;
    const int wanted = mColType == 1 ? 5 : 6;
    for (int col = 0; col < std::min(wanted, count); ++col)
        mColWidths[mColType - 1][col] = mGrid->columnWidthTwips(col);
    SetRegistryValues();
}

void Project::SaveProject()
{
    if (IsFormLoaded(QStringLiteral("Form1")))
        RememberCols();
    else
        SetRegistryValues();
}

// ---- Scan viewer and ruler --------------------------------------------------------

int Project::Scanleft() const
{
    return std::max(mScanleft, 0);
}

void Project::setScanleft(int twips)
{
    mScanleft = std::max(twips, 0);
}

int Project::ScanTop() const
{
    return std::max(mScanTop, 0);
}

void Project::setScanTop(int twips)
{
    mScanTop = std::max(twips, 0);
}

int Project::ScanWidth() const
{
    return std::max(mScanWidth, 500);
}

void Project::setScanWidth(int twips)
{
    mScanWidth = std::max(twips, 500);
}

int Project::ScanHeight() const
{
    return std::max(mScanHeight, 500);
}

void Project::setScanHeight(int twips)
{
    mScanHeight = std::max(twips, 500);
}

void Project::setZoom(double zoom)
{
    mZoom = double(VbRound(zoom * 1000)) / 1000.0;
    if (zoom < 0.001 || zoom > 100)
        mZoom = 1;
}

void Project::setScanFile(const QString &file)
{
    mScanFile = file;
    if (file.isEmpty())
        mRotation = 0;
}

int Project::RuleWidth() const
{
    mRuleWidth = std::clamp(mRuleWidth, 1, 15);
    return mRuleWidth;
}

// ---- Main window ---------------------------------------------------------------------

int Project::Form1Top() const
{
    return std::min(std::max(mForm1Top, 0), screenHeightTwips() - 200);
}

void Project::setForm1Top(int twips)
{
    mForm1Top = std::min(std::max(twips, 0), screenHeightTwips() - 200);
}

// A window further right than the screen is still shown where it was put:
// the reader gives no upper bound, only the setter does.
int Project::Form1left() const
{
    return std::max(mForm1left, 0);
}

void Project::setForm1left(int twips)
{
    mForm1left = std::min(std::max(twips, 0), screenWidthTwips() - 200);
}

int Project::Form1Width() const
{
    return std::min(std::max(mForm1Width, 0), screenWidthTwips() - 200);
}

void Project::setForm1Width(int twips)
{
    mForm1Width = std::min(std::max(twips, 0), screenWidthTwips() - 200);
}

// No lower bound: the main window does not apply a height of 0 or less.
int Project::Form1Height() const
{
    return std::min(mForm1Height, screenHeightTwips() - 200);
}

void Project::setForm1Height(int twips)
{
    mForm1Height = std::min(twips, screenHeightTwips() - 200);
}

// ---- Fonts ------------------------------------------------------------------------------

QString Project::fontname() const
{
    return VbTrim(mFontname);
}

QString Project::Pfontname() const
{
    return VbTrim(mPfontname);
}

void Project::Set_Font(const QString &name, int size, bool bold, bool italic, int colour)
{
    mFontname = name;
    mFontSize = size;
    mFontBold = bold;
    mFontItal = italic;
    mFontColour = colour;
}

void Project::Set_PickFont(const QString &name, int size, bool bold, bool italic, int colour)
{
    mPfontname = name;
    mPFontSize = size;
    mPFontBold = bold;
    mPFontItal = italic;
    mPFontColour = colour;
}

// ---- Other ---------------------------------------------------------------------------------

QString Project::IconPath() const
{
    const QString icon = QStringLiteral("Pelkar.ico");
    if (!mCommonAppData.isEmpty()) {
        const QString path = QDir(mCommonAppData).filePath(icon);
        if (QFileInfo::exists(path))
            return path;
    }
    const QString path = QDir(QCoreApplication::applicationDirPath()).filePath(icon);
    if (QFileInfo::exists(path))
        return path;
    return QString();
}
