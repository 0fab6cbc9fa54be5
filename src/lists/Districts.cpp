#include "lists/Districts.h"

#include "core/CloseDownRequest.h"
#include "core/FileHelpers.h"
#include "core/Globals.h"
#include "core/LineReader.h"
#include "core/MessageWindows.h"
#include "core/Project.h"
#include "core/Services.h"
#include "core/TextHelpers.h"
#include "core/UserSettings.h"
#include "core/VbHelpers.h"

#include <QDir>
#include <QFile>

#include <algorithm>
#include <numeric>

namespace {

// The whole number in the field as QString::toInt reads it; plain digits,
// which every year and quarter of the file is, without the locale's parser.
int wholeNumber(QStringView field, bool *ok)
{
    if (!field.isEmpty() && field.size() <= 9) {
        int value = 0;
        bool digits = true;
        for (const QChar c : field) {
            if (c < u'0' || c > u'9') {
                digits = false;
                break;
            }
            value = value * 10 + (c.unicode() - u'0');
        }
        if (digits) {
            *ok = true;
            return value;
        }
    }
    return field.toInt(ok);
}

// The field as VbTrim leaves it: blanks gone from both ends.
QStringView withoutSpaces(QStringView field)
{
    while (!field.isEmpty() && field.front() == u' ')
        field = field.sliced(1);
    while (!field.isEmpty() && field.back() == u' ')
        field.chop(1);
    return field;
}

// One message for the invalid lines of a file, not one box each (a damaged
// file would show dozens, one after the other): each told as it would be
// alone, cut to a readable length, the first few of them and how many there
// are.
void TellInvalidLines(const QStringList &told, const QString &file)
{
    constexpr int kShown = 5;
    constexpr int kReadable = 120;
    const auto cut = [](const QString &text) {
        return text.size() > kReadable ? text.left(kReadable) + QStringLiteral("...") : text;
    };
    if (told.isEmpty())
        return;
    if (told.size() == 1) {
        ShowMessage(cut(told.first()), Mb::Critical, kProductName);
        return;
    }
    const qsizetype shown = std::min<qsizetype>(told.size(), kShown);
    QString text = QString::number(told.size()) + QStringLiteral(" lines of the ") + file
                   + QStringLiteral(" are invalid; the first ") + QString::number(shown)
                   + QStringLiteral(":");
    for (qsizetype i = 0; i < shown; ++i)
        text += QStringLiteral("\r\n") + cut(told.at(i));
    ShowMessage(text, Mb::Critical, kProductName);
}
const QString kDistrictFile = QStringLiteral("Pelkar_Districts.txt");
const QString kDeletedName = QStringLiteral("????????");
const QString kMruSection = QStringLiteral("DistrictMRU");
constexpr QChar kMruSeparator = QChar(8);
constexpr int kDistrictFields = 10;
// The volume columns of the district file are the periods' numbers plus this.
constexpr int kVolumeColumnOffset = 4;

// The periods of volume numbering, by their last year and quarter.
struct PeriodEnd
{
    int year;
    int quarter;
};
constexpr std::array<PeriodEnd, 5> kVolumePeriodEnds = {{
        {1851, 4},
        {1946, 2},
        {1965, 1},
        {1974, 1},
        {9999, 4},
}};

QString defaultSuppName(int range)
{
    switch (range) {
    case 1:
        return QStringLiteral("Pelkar_Supp_Districts.txt");
    case 2:
        return QStringLiteral("Pelkar_Supp_Districts_1946.txt");
    case 3:
        return QStringLiteral("Pelkar_Supp_Districts_1965.txt");
    case 4:
        return QStringLiteral("Pelkar_Supp_Districts_1974.txt");
    default:
        return QString();
    }
}

QString mruKey(int letter)
{
    return QString(QChar(u'A' + letter - 1));
}

} // namespace

Districts::Districts()
{
    mLetterIndex.fill(-1);
    LoadDistrictMRU();
    SetDistrictFilePaths();
}

Districts::~Districts()
{
    SaveDistrictMRU();
}

int Districts::LetterOf(const QString &text)
{
    if (text.isEmpty())
        return 0;
    const char16_t c = text[0].unicode();
    if (c >= u'A' && c <= u'Z')
        return c - u'A' + 1;
    if (c >= u'a' && c <= u'z')
        return c - u'a' + 1;
    return 0;
}

int Districts::LetterIndex(int entry) const
{
    if (entry == 27)
        return LastIndex();
    if (entry < 1 || entry > 26)
        return -1;
    return mLetterIndex[entry];
}

QString Districts::DistrictMRU(int letter, int position) const
{
    if (letter < 1 || letter > 26 || position < 1 || position > 9)
        return QString();
    return mMRU[letter - 1][position - 1];
}

void Districts::SetDistrictFilePaths()
{
    if (!gProject)
        return;
    const QString target = QDir(gProject->GetFilePath()).filePath(kDistrictFile);
    const QString original = QDir(gProject->GetOriginalFilesPath()).filePath(kDistrictFile);
    // Without either, Read_Districts reports the missing file.
    if (!FileExists(target) && FileExists(original))
        CopyFileOver(original, target);
}

int Districts::GetVolumeColumn(int year, int quarter)
{
    for (int period = 1; period <= int(kVolumePeriodEnds.size()); ++period) {
        const PeriodEnd &end = kVolumePeriodEnds[period - 1];
        if (year < end.year || (year == end.year && quarter <= end.quarter))
            return period;
    }
    return 0;
}

QString Districts::SuppFilePath() const
{
    const int range = gProject->iSuppRange();
    const QString chosen = gProject->SuppPath(range);
    if (!chosen.isEmpty())
        return chosen;
    const QString name = defaultSuppName(range);
    return name.isEmpty() ? QString() : QDir(gProject->GetFilePath()).filePath(name);
}

bool Districts::DistrictInPeriod(const QuotedFields &fields, bool &readable) const
{
    int values[4] = {};
    readable = true;
    for (int i = 0; i < 4; ++i) {
        bool ok = false;
        values[i] = wholeNumber(withoutSpaces(fields[i + 1]), &ok);
        if (!ok) {
            readable = false;
            return false;
        }
    }
    const int year = gProject->iYear();
    const int quarter = gProject->iQtr();
    const bool started = values[0] < year || (values[0] == year && values[1] <= quarter);
    const bool notEnded = year < values[2] || (year == values[2] && quarter <= values[3]);
    return started && notEnded;
}

bool Districts::Read_Districts()
{
    mRecords.clear();
    mRecords.reserve(1101);
    mLetterIndex.fill(-1);
    mSuppFile.clear();
    mSuppUnreadable.clear();
    if (!gProject)
        return false;
    gProject->GoToFileDir();

    const int period = GetVolumeColumn(gProject->iYear(), gProject->iQtr());
    const int column = period > 0 ? period + kVolumeColumnOffset : -1;
    const int vnf = gProject->iVnf();

    const QString districtPath = QDir(gProject->GetFilePath()).filePath(kDistrictFile);
    QFile districtFile(districtPath);
    if (!districtFile.open(QIODevice::ReadOnly)) {
        ShowMessage(QStringLiteral("Read_Districts, Unable to open your District File ")
                            + districtPath + QStringLiteral(" - ") + districtFile.errorString(),
                    Mb::Information, kProductName);
        RequestCloseDown(515, kProductName + QStringLiteral(".xxxx"),
                         QStringLiteral("Unable to find District file"));
        return false;
    }
    LineReader reader(districtFile);
    districtFile.close();
    QStringList invalid;
    while (!reader.atEnd()) {
        const QString line = VbTrim(reader.readLine());
        if (line.startsWith(u'#') || line.size() <= 10)
            continue;
        // Most fields of a line are looked at once, or not at all.
        const QuotedFields fields = SplitQuotedViews(line, u'|');
        bool readable = fields.size() >= kDistrictFields;
        const bool inUse = readable && DistrictInPeriod(fields, readable);
        // Years and quarters that are not whole numbers make the line as
        // unusable as missing fields.
        if (!readable) {
            invalid << QStringLiteral("Invalid line in district file = ") + line;
            continue;
        }
        if (!inUse || column < 0)
            continue;
        QString volume = withoutSpaces(fields[column]).toString();
        if (volume == u'0')
            continue;
        int format = CodeFormat(volume);
        if (vnf == VolumeNumberFormat::Vnfxx) {
            if (format == VolumeNumberFormat::Vnf99) {
                volume = ToRoman(VbTrim(volume).toInt());
                // A volume with no Roman numeral (0, or too large) cannot
                // serve an "XX" batch.
                if (volume.isEmpty())
                    continue;
            }
            format = VolumeNumberFormat::Vnfxx;
        }
        if (format != vnf)
            continue;
        mRecords.push_back({false, fields[0].toString(), volume, false, vnf});
    }
    TellInvalidLines(invalid, QStringLiteral("district file"));

    const QString suppPath = SuppFilePath();
    QString error;
    if (!QFileInfo::exists(suppPath) && !WriteFileWhole(suppPath, QByteArray(), &error)) {
        ShowMessage(
                QStringLiteral("Read_Districts, Unable to open your Supplementary District File ")
                        + suppPath + QStringLiteral(" - ") + error,
                Mb::Information, kProductName);
        RequestCloseDown(516, kProductName, QStringLiteral("Unable to find Supp District File"));
        return false;
    }
    QFile suppFile(suppPath);
    if (!suppFile.open(QIODevice::ReadOnly)) {
        ShowMessage(
                QStringLiteral("Read_Districts, Unable to open your Supplementary District File ")
                        + suppPath + QStringLiteral(" - ") + suppFile.errorString(),
                Mb::Information, kProductName);
        RequestCloseDown(516, kProductName, QStringLiteral("Unable to find Supp District File"));
        return false;
    }
    LineReader suppReader(suppFile);
    suppFile.close();
    QStringList suppInvalid;
    while (!suppReader.atEnd()) {
        const QString asRead = suppReader.readLine();
        QString line = asRead;
        line.remove(u'"');
        line = VbTrim(line);
        if (line.size() <= 2)
            continue;
        if (line.lastIndexOf(u',') < 1) {
            suppInvalid << QStringLiteral("Invalid line in Supplementary District file = ") + line;
            mSuppUnreadable.append(asRead);
            continue;
        }
        DistrictParts parts = SplitDistrict(line);
        if (VbTrim(parts.volume).isEmpty()) {
            suppInvalid << QStringLiteral(
                                   "Invalid line in Supplementary District file (no volume "
                                   "number) = ")
                                   + line;
            mSuppUnreadable.append(asRead);
            continue;
        }
        mRecords.push_back({false, parts.name, parts.volume, true, parts.format});
    }
    TellInvalidLines(suppInvalid, QStringLiteral("Supplementary District file"));
    mSuppFile = suppPath;

    const int range = gProject->iSuppRange();
    if (mSuppMenu && range >= 1 && range <= 4)
        mSuppMenu->checkSuppRange(range);

    SortDistricts();
    IndexByFirstLetter();
    MarkDuplicateDistricts();
    return true;
}

void Districts::SortDistricts()
{
    const auto count = mRecords.size();
    std::vector<QString> keys;
    keys.reserve(count);
    for (const DistrictRecord &r : mRecords)
        keys.push_back(VbUCase(r.Name));
    std::vector<int> order(count);
    std::iota(order.begin(), order.end(), 0);
    // Beyond the upper-cased name and the volume, the exact name and the
    // user's own record first make the order total: exact duplicates end
    // up side by side with the user's record leading, so that
    // MarkDuplicateDistricts finds them all and keeps that one.
    std::stable_sort(order.begin(), order.end(), [&](int a, int b) {
        const DistrictRecord &ra = mRecords[a];
        const DistrictRecord &rb = mRecords[b];
        if (const int c = keys[a].compare(keys[b]); c != 0)
            return c < 0;
        if (const int c = ra.Volume.compare(rb.Volume); c != 0)
            return c < 0;
        if (const int c = ra.Name.compare(rb.Name); c != 0)
            return c < 0;
        return ra.UserAdded && !rb.UserAdded;
    });
    std::vector<DistrictRecord> sorted;
    sorted.reserve(mRecords.capacity());
    for (const int i : order)
        sorted.push_back(std::move(mRecords[i]));
    mRecords = std::move(sorted);
}

void Districts::IndexByFirstLetter()
{
    mLetterIndex.fill(-1);
    for (int i = 0; i <= LastIndex(); ++i) {
        const int letter = LetterOf(mRecords[i].Name);
        if (letter > 0 && mLetterIndex[letter] < 0)
            mLetterIndex[letter] = i;
    }
}

IndexRange Districts::LetterRecords(int letter) const
{
    if (letter < 1 || letter > 26 || mLetterIndex[letter] < 0)
        return {};
    // The table is sorted by upper-cased name, so the letter's records end
    // where the next letter that has any begins.
    IndexRange range{mLetterIndex[letter], LastIndex()};
    for (int next = letter + 1; next <= 26; ++next) {
        if (mLetterIndex[next] >= 0) {
            range.to = mLetterIndex[next] - 1;
            break;
        }
    }
    return range;
}

void Districts::MarkDuplicateDistricts()
{
    // Compared with the record kept, not with the neighbour, which may just
    // have been renamed: a third copy must not escape.
    int kept = -1;
    for (int i = 0; i <= LastIndex(); ++i) {
        DistrictRecord &r = mRecords[i];
        if (r.Deleted)
            continue;
        if (kept >= 0 && r.Name == mRecords[kept].Name && r.Volume == mRecords[kept].Volume) {
            r.Deleted = true;
            r.Name = kDeletedName;
        } else {
            kept = i;
        }
    }
}

bool Districts::AddDistrict(QString &district)
{
    // Without a table read there is no supplementary file to add to, and
    // writing one now would drop the transcriber's earlier districts.
    if (mSuppFile.isEmpty())
        return false;
    const DistrictParts parts = SplitDistrict(district);
    const QString name = VbTrim(parts.name);
    // The trimmed name is what would be stored, so it must not be there
    // either.
    if (TestForDistrict(district) || FindDistrict(name, parts.volume) != -1)
        return false;
    mRecords.push_back({false, name, parts.volume, true, parts.format});
    SortDistricts();
    district = name + u',' + parts.volume;
    SaveDistricts();
    IndexByFirstLetter();
    return true;
}

bool Districts::DeleteDistrict(const QString &district)
{
    if (mSuppFile.isEmpty())
        return false;
    const DistrictParts parts = SplitDistrict(district);
    for (DistrictRecord &r : mRecords) {
        if (!r.Deleted && r.Name == parts.name && r.Volume == parts.volume) {
            r.Deleted = true;
            r.Name = kDeletedName;
            SaveDistricts();
            return true;
        }
    }
    return false;
}

bool Districts::SaveDistricts()
{
    QStringList lines;
    for (const DistrictRecord &r : mRecords) {
        if (!r.Deleted && r.UserAdded)
            lines.append(QuoteIfComma(r.Name) + u',' + r.Volume);
    }
    lines.append(mSuppUnreadable);
    QString error;
    if (WriteFileWhole(mSuppFile, JoinCrLf(lines), &error))
        return true;
    BeepIfEnabled();
    ShowMessage(QStringLiteral("SaveDistricts, Unable to open Supplementary district file to save "
                               "your new District: ")
                        + mSuppFile + QStringLiteral(" - ") + error,
                Mb::Information, kProductName);
    return false;
}

void Districts::LoadDistrictMRU()
{
    for (int letter = 1; letter <= 26; ++letter) {
        QStringList texts
                = GetUserSetting(kProductName, kMruSection, mruKey(letter)).split(kMruSeparator);
        // Each text is followed by a separator: what follows the last one is
        // not a text.
        texts.removeLast();
        for (int p = 0; p < 9; ++p)
            mMRU[letter - 1][p] = texts.value(p);
    }
}

void Districts::SaveDistrictMRU() const
{
    for (int letter = 1; letter <= 26; ++letter) {
        QString value;
        for (const QString &text : mMRU[letter - 1])
            value += text + kMruSeparator;
        SaveUserSetting(kProductName, kMruSection, mruKey(letter), value);
    }
}
