#include "lists/ForeNames.h"

#include "core/CloseDownRequest.h"
#include "core/Cp1252.h"
#include "core/FileHelpers.h"
#include "core/Globals.h"
#include "core/LineReader.h"
#include "core/MessageWindows.h"
#include "core/PatternHelpers.h"
#include "core/Project.h"
#include "core/Services.h"
#include "core/VbHelpers.h"
#include "lists/PickListSink.h"

#include <QDir>
#include <QFile>

#include <algorithm>
#include <optional>
#include <utility>

namespace {
const QString kNameFile = QStringLiteral("Pelkar_Name2.txt");
const QString kShippedNameFile = QStringLiteral("Pelkar_Name.txt");


// Among the characters of ForeNames::mTraits: a name the pick list may show
// (not empty, not led by a blank).
constexpr quint32 kListable = quint32(1) << 31;

int letterSlot(QChar c)
{
    const char16_t u = c.unicode();
    return u >= u'A' && u <= u'Z' ? int(u - u'A') : -1;
}


bool isWordBreak(QChar c)
{
    return c == u' ' || c == u'\'' || c == u'-' || c == u'.' || c == u',';
}
} // namespace

QString ForeNames::NameFileName()
{
    return kNameFile;
}

QString ForeNames::LumivarkForenameFile()
{
    // The sibling program kept its files in a folder of its own at the top
    // of the system drive; the user's home folder is the nearest thing here.
    return QDir(QDir(QDir::homePath()).filePath(QStringLiteral("Lumivark")))
        .filePath(QStringLiteral("ZELname2.txt"));
}

ForeNames::ForeNames()
{
    mLetterIndex.fill(-1);
    mLetterIndex[26] = 0;
    if (!gProject)
        return;
    mFilesFolder = gProject->GetFilePath();
    // Resolved once, so that a later change of the current folder cannot
    // send the rewrite elsewhere.
    mFilePath = QDir(mFilesFolder).filePath(kNameFile);
    gProject->GoToFileDir();
    EnsureForenameFile();

    const QString shipped = QDir(mFilesFolder).filePath(kShippedNameFile);
    if (!FileExists(mFilePath) && FileExists(shipped))
        CopyFileOver(shipped, mFilePath);

    readFile();
}

ForeNames::~ForeNames() = default;

void ForeNames::EnsureForenameFile() const
{
    if (FileExists(mFilePath))
        return;

    const QString sibling = LumivarkForenameFile();
    if (FileExists(sibling)) {
        if (ShowMessage(QStringLiteral("Would you like to import your Lumivark Forename file?"),
                        Mb::YesNo | Mb::Question, kProductName)
            == Mb::Yes) {
            CopyFileOver(sibling, mFilePath);
            return;
        }
    }

    const QDir original(gProject->GetOriginalFilesPath());
    for (const QString &name : {kShippedNameFile, kNameFile}) {
        const QString source = original.filePath(name);
        if (FileExists(source)) {
            CopyFileOver(source, mFilePath);
            return;
        }
    }
}

void ForeNames::readFile()
{
    QFile file(mFilePath);
    if (!file.open(QIODevice::ReadOnly)) {
        ShowMessage(QStringLiteral("Forenames Init, Unable to find your Name File ") + mFilePath
                        + u' ' + file.errorString(),
                    Mb::Information, kProductName);
        RequestCloseDown(518, kProductName, QStringLiteral("Unable to open Name File"));
        return;
    }

    const int pickMax = gProject->PickMax();
    bool topSeen = false;
    bool nameSeen = false;
    int extraTop = 0;
    LineReader reader(file);
    file.close();
    mNames.reserve(size_t(reader.linesLeft()));
    while (!reader.atEnd()) {
        const QString line = VbRTrim(reader.readLine());
        if (line.isEmpty())
            continue;
        const QChar first = line.at(0);
        if (first == u'@') {
            topSeen = true;
            if (mTop.size() < pickMax)
                mTop.append(line.mid(1));
            else
                ++extraTop;
        } else if (first == u' ') {
            // Blank-led lines only count before the most-common names; those
            // before the first forename are the file's head.
            if (topSeen)
                continue;
            if (nameSeen)
                mNames.push_back({line, VbUCase(line)});
            else
                mHead.append(line);
        } else {
            nameSeen = true;
            mNames.push_back({line, VbUCase(line)});
        }
    }

    if (extraTop > 0) {
        ShowMessage(QStringLiteral("Forenames Init, Too many Most Common (@) names found - 1st ")
                        + QString::number(pickMax) + QStringLiteral(" only used"),
                    Mb::Exclamation, kProductName);
    }

    mTopKeys.reserve(mTop.size());
    for (const QString &name : std::as_const(mTop))
        mTopKeys.insert(VbUCase(name));
    SortNames();
    IndexNamesByLetter();
}

void ForeNames::SortNames()
{
    const auto byKey = [](const ForenameEntry &a, const ForenameEntry &b) { return a.Key < b.Key; };
    // The file is written in this order, so a file read back is found
    // sorted at the cost of one pass.
    if (std::is_sorted(mNames.begin(), mNames.end(), byKey))
        return;
    // Stable, so that names equal but for letter case keep their file order
    // and the file is written back the same each time.
    std::stable_sort(mNames.begin(), mNames.end(), byKey);
}

void ForeNames::IndexNamesByLetter()
{
    mLetterIndex.fill(-1);
    const int count = NameCount();
    mLetterIndex[26] = count;
    mTraits.resize(mNames.size());
    for (int i = count - 1; i >= 0; --i) {
        const ForenameEntry &entry = mNames[size_t(i)];
        const int slot = entry.Key.isEmpty() ? -1 : letterSlot(entry.Key.at(0));
        if (slot >= 0)
            mLetterIndex[size_t(slot)] = i;
        const bool listable = !entry.Name.isEmpty() && entry.Name.at(0) != u' ';
        LikePattern::Traits &traits = mTraits[size_t(i)];
        traits = LikePattern::traitsOf(entry.Key);
        if (listable)
            traits.characters |= kListable;
    }
}

int ForeNames::FindName(const QString &name) const
{
    if (name.isEmpty())
        return -1;
    // The table is kept sorted with no gaps, so every initial (not only A to
    // Z) can be searched.
    const QString key = VbUCase(name);
    const auto it = std::lower_bound(mNames.begin(), mNames.end(), key,
                                     [](const ForenameEntry &e, const QString &k) {
                                         return e.Key < k;
                                     });
    if (it == mNames.end() || it->Key != key)
        return -1;
    return int(it - mNames.begin());
}

bool ForeNames::TestForName(const QString &name) const
{
    if (name.isEmpty())
        return false;
    return FindName(name) >= 0 || mTopKeys.contains(VbUCase(name));
}

QString ForeNames::AddName(const QString &name)
{
    // A name stored with a leading blank would be read back as a head line,
    // or dropped.
    const QString trimmed = VbTrim(name);
    if (trimmed.isEmpty() || TestForName(trimmed))
        return QString();
    // What the file cannot hold would come back as another name (or, led by
    // "@", as a most-common one).
    if (trimmed.at(0) == u'@' || !Cp1252::canEncode(trimmed))
        return QString();

    mNames.push_back({trimmed, VbUCase(trimmed)});
    SortNames();
    IndexNamesByLetter();
    Savenames(trimmed + QStringLiteral(" could not be added to your Forenames file:"));
    return trimmed;
}

void ForeNames::DeleteName(const QString &name)
{
    const int index = FindName(name);
    if (index < 0)
        return;
    const QString removed = mNames.at(size_t(index)).Name;
    mNames.erase(mNames.begin() + index);
    IndexNamesByLetter();
    Savenames(removed + QStringLiteral(" could not be removed from your Forenames file:"));
}

bool ForeNames::Savenames(const QString &failure) const
{
    QStringList lines = mHead;
    lines.reserve(mHead.size() + mTop.size() + 2 * NameCount() + 1);
    lines.append(QString());
    for (const QString &top : mTop)
        lines.append(u'@' + top);
    QChar previous = u' ';
    for (const ForenameEntry &entry : mNames) {
        if (entry.Name.isEmpty())
            continue;
        const QChar initial = entry.Key.at(0);
        if (initial != previous)
            lines.append(QString());
        previous = initial;
        lines.append(entry.Name);
    }
    QString reason;
    if (!WriteFileWhole(mFilePath, JoinCrLf(lines), &reason)) {
        BeepIfEnabled();
        // The change holds for this run only: the transcriber must know
        // that it is gone at the next start, and why.
        const QString crLf = QStringLiteral("\r\n");
        ShowMessage(failure + crLf + QDir::toNativeSeparators(mFilePath) + crLf + reason + crLf
                        + QStringLiteral("The change holds only until Pelkar closes."),
                    Mb::Exclamation, kProductName);
        return false;
    }
    return true;
}

void ForeNames::ListTopNames() const
{
    PickListSink &pick = PickList();
    pick.PickClear();
    for (const QString &top : mTop) {
        if (!top.isEmpty())
            pick.NextText(top);
    }
}

QString ForeNames::Topn(int index) const
{
    return index >= 1 && index <= TopCount() ? mTop.at(index - 1) : QString();
}

int ForeNames::ListMatchingNames(const QString & /*leading*/, const QString &typed) const
{
    if (typed.isEmpty() || typed == QLatin1String("?") || typed == QLatin1String("_")) {
        ListTopNames();
        return TopCount();
    }

    PickListSink &pick = PickList();
    pick.PickClear();
    int limit = gProject ? gProject->PickRows() : 0;
    if (limit < 1)
        limit = gProject ? gProject->PickMax() : 999;

    QString pattern = VbUCase(VbTrim(typed));
    size_t from = 0;
    size_t to = mNames.size();
    if (!pattern.isEmpty()) {
        const int slot = letterSlot(pattern.at(0));
        if (slot >= 0) {
            if (mLetterIndex[size_t(slot)] < 0)
                return 0;
            from = size_t(mLetterIndex[size_t(slot)]);
            for (size_t next = size_t(slot) + 1; next < mLetterIndex.size(); ++next) {
                if (mLetterIndex[next] >= 0) {
                    to = size_t(mLetterIndex[next]);
                    break;
                }
            }
        }
    }

    pattern.replace(u'_', u'?');
    if (pattern.count(u'[') > pattern.count(u']'))
        pattern.append(u']');
    pattern.append(u'*');
    // A hyphen inside a bracket list is a range here (the district lists
    // take it as an ordinary character).
    const LikePattern compiled(pattern, LikeHyphen::Range);
    if (!compiled.isValid())
        return 0;

    // With a leading wildcard the whole table is searched: most names go by
    // on what they hold alone.
    int count = 0;
    for (size_t i = from; i < to && count < limit; ++i) {
        const LikePattern::Traits &traits = mTraits[i];
        if (!(traits.characters & kListable) || !compiled.mayMatch(traits))
            continue;
        const ForenameEntry &entry = mNames[i];
        if (compiled.matches(entry.Key)) {
            pick.NextText(entry.Name);
            ++count;
        }
    }
    return count;
}

QStringList ForeNames::ListAllForenames() const
{
    QStringList names;
    names.reserve(NameCount());
    for (const ForenameEntry &entry : mNames) {
        if (entry.Name.isEmpty() || entry.Name.at(0) == u'@' || entry.Name.at(0) == u' ')
            continue;
        names.append(entry.Name);
    }
    return names;
}

QString ForeNames::InvertCase(const QString &text)
{
    QString out = text;
    for (QChar &c : out) {
        const QChar upper = c.toUpper();
        c = upper != c ? upper : c.toLower();
    }
    return out;
}

QString ForeNames::FormatForeName(const QString &text, bool whole, int position) const
{
    const QString upper = VbUCase(text);
    if (upper == QLatin1String("(FEMALE)") || upper == QLatin1String("(MALE)"))
        return text;
    // Shift belongs to the one character being typed: re-casing a whole
    // text with it held would invert every letter ("jOHN hENRY").
    if (!whole)
        return ApplyNameCase(text, position, Services::shiftHeld());
    QString out = text;
    for (int p = std::max(position, 1); p <= out.size(); ++p)
        out = ApplyNameCase(out, p, false);
    return out;
}

QString ForeNames::ApplyNameCase(const QString &text, int position, bool invert) const
{
    if (position < 1 || position > text.size())
        return text;
    const QString mode = gProject ? gProject->ForenameCase() : QString();
    bool upper = false;
    if (mode == QLatin1String("U"))
        upper = true;
    else if (mode == QLatin1String("L"))
        upper = false;
    else if (mode == QLatin1String("M"))
        upper = position == 1 || isWordBreak(text.at(position - 2));
    else
        return text;
    if (invert)
        upper = !upper;

    QString out = text;
    QChar &c = out[position - 1];
    c = upper ? c.toUpper() : c.toLower();
    return out;
}
