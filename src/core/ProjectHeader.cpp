// The open batch's header: its properties' rules, the period rules that
// choose the grid's optional column, the completeness test, the choice of
// supplementary district file, and the trace file.

#include "core/Project.h"

#include "core/Cp1252.h"
#include "core/Globals.h"
#include "core/ProjectHooks.h"
#include "core/VbHelpers.h"

#include <QDir>
#include <QFile>

#include <algorithm>

// ---- Properties -----------------------------------------------------------------

QString Project::ZelLetter() const
{
    switch (mEventType) {
    case EventType::Births:
        return QStringLiteral("B");
    case EventType::Deaths:
        return QStringLiteral("D");
    case EventType::Marriages:
        return QStringLiteral("M");
    default:
        return QString();
    }
}

void Project::setZelLetter(const QString &text)
{
    const QString letter = VbUCase(VbTrim(text).left(1));
    if (letter == QLatin1String("B"))
        mEventType = EventType::Births;
    else if (letter == QLatin1String("D"))
        mEventType = EventType::Deaths;
    else if (letter == QLatin1String("M"))
        mEventType = EventType::Marriages;
}

QString Project::Page() const
{
    return VbTrim(mPage);
}

void Project::setPage(const QString &page)
{
    mPage = VbTrim(page);
}

void Project::setPageLetter(const QString &letter)
{
    const QString first = VbTrim(letter).left(1);
    mPageLetter = first.isEmpty() ? QStringLiteral("0") : first;
}

void Project::setPageSuffix(const QString &suffix)
{
    mPageSuffix = VbLTrim(suffix).left(1);
}

QString Project::vnf() const
{
    switch (miVnf) {
    case VolumeNumberFormat::Vnf9z:
        return QStringLiteral("9z");
    case VolumeNumberFormat::Vnf99:
        return QStringLiteral("99");
    case VolumeNumberFormat::Vnfxx:
        return QStringLiteral("xx");
    default:
        return QString();
    }
}

QString Project::UserID() const
{
    return VbTrim(mUserID);
}

QString Project::Syndicate() const
{
    return VbTrim(mSyndicate);
}

QString Project::email() const
{
    return VbTrim(mEmail);
}

QString Project::Submitter() const
{
    return VbTrim(mSubmitter);
}

// The settings load stores the submitter and credit fields straight into
// their members, so these saves never run while the file is being read.
void Project::setSubmitter(const QString &id)
{
    mSubmitter = VbTrim(id);
    SetRegistryValues();
}

QString Project::Password() const
{
    return VbTrim(mPassword);
}

void Project::setPassword(const QString &password)
{
    mPassword = VbTrim(password);
}

void Project::setCreditEmail(const QString &email)
{
    mCreditEmail = email;
    SetRegistryValues();
}

void Project::setCreditType(const QString &type)
{
    mCreditType = type;
    SetRegistryValues();
}

void Project::setCodePage(const QString &name)
{
    mCodePage = VbLCase(name);
}

// ---- Period rules -------------------------------------------------------------------

bool Project::Mother() const
{
    if (mEventType != EventType::Births)
        return false;
    return miYear > MothersYear() || (miYear == MothersYear() && miQtr >= mMomsQtr);
}

bool Project::Spouse() const
{
    if (mEventType != EventType::Marriages)
        return false;
    return miYear > SpouseYear() || (miYear == SpouseYear() && miQtr >= mSpouseQtr);
}

bool Project::DoB() const
{
    if (mEventType != EventType::Deaths)
        return false;
    return miYear > DoBYear() || (miYear == DoBYear() && miQtr >= mDoBQtr);
}

// ---- Completeness and head lines ----------------------------------------------------

bool Project::HeaderIsComplete()
{
    mNoPageLetter = false;
    if (miYear < 1 || miQtr < 1 || mEventType < 1 || mSourceType < 1 || mPage.isEmpty())
        return false;
    // Only a header complete up to here is said to lack its page letter: the
    // header form asks for the letter once the rest is known.
    if (mPageLetter.isEmpty()) {
        mNoPageLetter = true;
        return false;
    }
    if (miVnf < 1 || mSourceRef.isEmpty() || mUserID.isEmpty() || mSyndicate.isEmpty())
        return false;
    // An upload needs both the submitter id and its password; a batch that
    // is not uploaded from here needs neither.
    return mSubmitter.isEmpty() == mPassword.isEmpty();
}

int Project::HeaderLines() const
{
    const QString credit = VbTrim(mCreditName) + VbTrim(mCreditEmail) + VbTrim(mCreditType);
    return credit.isEmpty() ? 4 : 5;
}

void Project::HeadLineSet(int n)
{
    if (n >= 0 && n < int(mHeadLines.size()))
        mHeadLines[n] = true;
}

bool Project::HeadLineGet(int n) const
{
    return n >= 0 && n < int(mHeadLines.size()) && mHeadLines[n];
}

int Project::HeadLineCount() const
{
    return int(std::count(mHeadLines.begin(), mHeadLines.end(), true));
}

void Project::ClearHeader()
{
    mCreditEmail.clear();
    mCreditName.clear();
    mCreditType.clear();
    mCommentLine.clear();
    mPageLetter.clear();
    mPageSuffix.clear();
    mSourceRef.clear();
    mCodePage.clear();
    miYear = 0;
    miQtr = 0;
    mEventType = EventType::None;
    mSourceType = SourceType::None;
    mPage.clear();
    miVnf = VolumeNumberFormat::None;
    mRefusedBatchName.clear();
    ClearHeadLines();
    if (projectHooks().clearChange)
        projectHooks().clearChange();
}

// ---- Supplementary district files ---------------------------------------------------

// The four files cover the periods in which districts were reorganised:
// before mid-1946, to early 1965, to early 1974, and after.
int Project::iSuppRange() const
{
    const int year = miYear;
    const int quarter = miQtr;
    if (year >= 1 && year <= 1945)
        return 1;
    if (year == 1946)
        return quarter <= Quarter::June ? 1 : 2;
    if (year >= 1947 && year <= 1964)
        return 2;
    if (year == 1965)
        return quarter <= Quarter::March ? 2 : 3;
    if (year >= 1966 && year <= 1973)
        return 3;
    if (year == 1974)
        return quarter <= Quarter::March ? 3 : 4;
    return 4;
}

QString Project::SuppPath(int i) const
{
    if (i < 1 || i > 4)
        return QString();
    return VbTrim(mSuppPath[i - 1]);
}

void Project::setSuppPath(int i, const QString &path)
{
    if (i < 1 || i > 4)
        return;
    mSuppPath[i - 1] = path;
    if (!mSuppMenuSink)
        return;
    // With no path of its own, file 1 is the shipped default; the menu
    // names that.
    QString shown = path;
    if (i == 1 && path.isEmpty())
        shown = QDir(mFilesPath).filePath(QStringLiteral("Pelkar_Supp_Districts.txt"));
    mSuppMenuSink->setSuppCaption(i, shown.mid(shown.lastIndexOf(QLatin1Char('/')) + 1));
}

// ---- Trace file -------------------------------------------------------------------------

void Project::Tracing()
{
    mTracing = true;
    mTraceFile.reset();
    // No data folder yet: a trace in whatever folder is current would be
    // lost or misleading.
    if (mDataPath.isEmpty())
        return;
    auto file = std::make_unique<QFile>(QDir(mDataPath).filePath(QStringLiteral("PelkarTrace")));
    if (file->open(QIODevice::WriteOnly | QIODevice::Truncate))
        mTraceFile = std::move(file);
}

void Project::TraceLine(const QString &text)
{
    if (!mTracing || !mTraceFile)
        return;
    mTraceFile->write(Cp1252::encode(text + QStringLiteral("\r\n")));
    // Flushed line by line: the trace matters most when the run ends badly.
    mTraceFile->flush();
}
