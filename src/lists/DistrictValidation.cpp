// The operations of Districts that read district texts: dividing them,
// recognising and converting volume numbers, validating a cell, looking a
// district up, filling the pick list and the recent-district lists.

#include "lists/Districts.h"

#include "core/Globals.h"
#include "core/MessageWindows.h"
#include "core/PatternHelpers.h"
#include "core/Project.h"
#include "core/Services.h"
#include "core/VbHelpers.h"
#include "lists/PickListSink.h"

#include <algorithm>

namespace {
bool isDigit(QChar c)
{
    return c >= u'0' && c <= u'9';
}

bool allDigits(QStringView text)
{
    return !text.isEmpty() && std::all_of(text.begin(), text.end(), isDigit);
}

bool isUpperLetter(QChar c)
{
    return c >= u'A' && c <= u'Z';
}

// The value of a volume that is a Roman numeral; false when it is not one
// (or stands for nothing), so that it is never converted.
bool romanValue(const QString &volume, int &value)
{
    static const QString roman = QStringLiteral("MDCLXVI");
    const QString t = VbTrim(volume);
    if (t.isEmpty())
        return false;
    for (const QChar c : t) {
        if (!roman.contains(c.toUpper()))
            return false;
    }
    value = Districts::FromRoman(t);
    return value > 0;
}

// The Roman numeral of a decimal volume; empty when it has none (0, or a
// number beyond 32 bits).
QString romanOfDecimal(const QString &volume)
{
    bool ok = false;
    const int value = VbTrim(volume).toInt(&ok);
    return ok ? Districts::ToRoman(value) : QString();
}

// The allowed characters of a district name beyond letters and digits.
bool isNamePunctuation(QChar c)
{
    static const QString allowed = QStringLiteral(",. '&:-()/\\");
    return allowed.contains(c);
}

enum class MatchMode { Name = 1, VolumeOnly = 2, NameAndVolume = 3 };
} // namespace

DistrictParts Districts::SplitDistrict(const QString &cell)
{
    const int position = FindSeperator(cell);
    if (position == 0)
        return {cell, QString(), 0};
    DistrictParts parts{cell.left(position - 1), cell.mid(position), 0};
    parts.format = CodeFormat(parts.volume);
    return parts;
}

DistrictParts Districts::SplitForFile(const QString &cell)
{
    // Every save and every whole work-file write splits each district
    // cell: the format, which no file holds, is not worked out.
    const int position = FindSeperator(cell);
    if (position <= 1 || position >= cell.size())
        return {cell, QString(), 0};
    return {cell.left(position - 1), cell.mid(position), 0};
}

int Districts::FindSeperator(const QString &cell)
{
    qsizetype i = cell.size() - 1;
    while (i >= 0) {
        const QChar c = cell[i];
        if (c == u',')
            return int(i + 1);
        // Bracket groups are wildcards and may hold commas of their own.
        if (c == u']' || c == u'}') {
            const qsizetype open = cell.lastIndexOf(c == u']' ? u'[' : u'{', i);
            if (open < 0)
                return 0;
            i = open - 1;
            continue;
        }
        --i;
    }
    return 0;
}

int Districts::CodeFormat(const QString &volume)
{
    if (volume.isEmpty())
        return VolumeNumberFormat::None;
    if (WildPosition(volume) > 0)
        return -1;
    if (allDigits(VbTrim(volume)))
        return VolumeNumberFormat::Vnf99;
    // Beyond ASCII the tables upper-case: a dotless "ı" is an "I".
    const auto isRomanDigit = [](QChar c) {
        const char16_t u = c.unicode();
        const char16_t upper = u < 0x80 ? (u >= u'a' && u <= u'z' ? char16_t(u - 0x20) : u)
                                        : c.toUpper().unicode();
        return upper == u'I' || upper == u'X' || upper == u'V';
    };
    if (std::all_of(volume.begin(), volume.end(), isRomanDigit))
        return VolumeNumberFormat::Vnfxx;
    return VolumeNumberFormat::Vnf9z;
}

bool Districts::ValidateDistrict(const QString &cell, bool allowWildVolume, bool districtAccepted,
                                 QString *quietMessage) const
{
    if (quietMessage)
        quietMessage->clear();
    const auto fail = [quietMessage](const QString &quiet, const QString &box) {
        if (quietMessage)
            *quietMessage = quiet;
        else
            ShowMessage(box, Mb::Critical, kProductName);
        return false;
    };
    const auto missing = [&fail] {
        return fail(QStringLiteral("Volume Number missing"),
                    QStringLiteral("Volume Number is missing"));
    };

    if (districtAccepted)
        return true;
    if (cell.lastIndexOf(u',') < 1) {
        if (quietMessage)
            *quietMessage = QStringLiteral("Missing Volume Code");
        return false;
    }
    const DistrictParts parts = SplitDistrict(cell);
    if (parts.format == -1) {
        if (quietMessage)
            *quietMessage = QStringLiteral("Volume Number has a wildcard");
        return allowWildVolume;
    }
    const int vnf = gProject->iVnf();
    if (parts.format != vnf) {
        if (parts.format > 0)
            return fail(QStringLiteral("Wrong Volume Number Format"),
                        QStringLiteral("The format of the Volume Number does not match that "
                                       "specified on the Header Form - it should be ")
                                + gProject->vnf());
        return missing();
    }

    const QString &volume = parts.volume;
    switch (vnf) {
    case VolumeNumberFormat::Vnf9z: {
        const QString trimmed = VbTrim(volume);
        if (volume.size() < 2 || trimmed.isEmpty() || !isUpperLetter(trimmed.back().toUpper()))
            return fail(QStringLiteral("Last char of Volume not A-Z"),
                        QStringLiteral("Trailing character in Volume Number must be A-Z"));
        // Only the blanks between the number and its letter are let pass: a
        // blank before the number or after the letter is refused, as the
        // other formats refuse any blank.
        const QString number = VbRTrim(volume.chopped(1));
        if (!number.isEmpty() && !allDigits(number))
            return fail(QStringLiteral("First chars of Volume Number must be numeric"),
                        QStringLiteral("Leading characters in Volume Number must be numbers"));
        bool ok = true;
        // Too many digits for a number is out of range too.
        const qlonglong value = number.isEmpty() ? 0 : number.toLongLong(&ok);
        if (!ok || value < 1 || value > 99)
            return fail(QStringLiteral("Volume Number must be 1-99"),
                        QStringLiteral("Volume Number must be in the range 1-99"));
        break;
    }
    case VolumeNumberFormat::Vnf99: {
        if (!allDigits(volume))
            return fail(QStringLiteral("Volume number must be numeric"),
                        QStringLiteral("Volume Number must be numeric"));
        bool ok = false;
        const qlonglong value = volume.toLongLong(&ok);
        if (!ok || value < 1 || value > 99)
            return fail(QStringLiteral("Volume number must be 1-99"),
                        QStringLiteral("Volume Number must be in the range 1-99"));
        break;
    }
    case VolumeNumberFormat::Vnfxx: {
        static const QString roman = QStringLiteral("IXV");
        for (const QChar c : volume) {
            if (!roman.contains(c.toUpper()))
                return fail(QStringLiteral("Volume number must be a Roman Numeral"),
                            QStringLiteral("Volume Number must be a Roman Numeral X,V or I"));
        }
        break;
    }
    default:
        return missing();
    }

    if (WildPosition(parts.name) > 0)
        return true;
    for (const QChar c : parts.name) {
        const bool letter = isUpperLetter(c) || (c >= u'a' && c <= u'z');
        if (!letter && !isDigit(c) && !isNamePunctuation(c))
            return fail(QStringLiteral("Invalid char in District"),
                        QStringLiteral("Invalid character in District name - ") + c);
    }
    return true;
}

bool Districts::TestForDistrict(const QString &district) const
{
    const DistrictParts parts = SplitDistrict(district);
    return FindDistrict(parts.name, parts.volume) != -1;
}

int Districts::FindDistrict(const QString &name, const QString &volume) const
{
    const int letter = LetterOf(VbTrim(name));
    if (letter == 0)
        return -1;
    const IndexRange range = LetterRecords(letter);
    for (int i = range.from; i <= range.to; ++i) {
        const DistrictRecord &r = mRecords[i];
        // Letter case never changes a length here, so the sizes rule most
        // records out before the slower comparison.
        if (r.Name.size() == name.size() && r.Volume.size() == volume.size()
            && r.Name.compare(name, Qt::CaseInsensitive) == 0
            && r.Volume.compare(volume, Qt::CaseInsensitive) == 0)
            return i;
    }
    return -1;
}

void Districts::Propose(const QString &text)
{
    const int letter = LetterOf(VbTrim(text));
    if (letter == 0)
        return;
    auto &texts = mMRU[letter - 1];
    const auto found = std::find(texts.begin(), texts.end(), text);
    // Absent, the text goes in and the oldest (position 9) drops out.
    const auto last = found == texts.end() ? texts.end() - 1 : found;
    if (found == texts.end())
        *last = text;
    std::rotate(texts.begin(), last, last + 1);
}

QList<DistrictListRow> Districts::ListAllDistricts() const
{
    QList<DistrictListRow> rows;
    rows.reserve(qsizetype(mRecords.size()));
    for (int i = 0; i <= LastIndex(); ++i) {
        const DistrictRecord &r = mRecords[i];
        if (!r.Deleted)
            rows.append({r.Name, r.Volume, r.UserAdded, i});
    }
    return rows;
}

int Districts::ListMatchingDistricts(const QString &typed)
{
    PickListSink &pick = PickList();
    pick.PickClear();
    const int limit = gProject->PickMax();
    if (typed.isEmpty())
        return 0;

    const int letter = LetterOf(typed);
    if (typed.size() == 1 && !gProject->DistPickStd() && letter > 0) {
        for (const QString &text : mMRU[letter - 1])
            pick.NextText(text);
        return int(mMRU[letter - 1].size());
    }

    // The letter index narrows the search to the typed initial; any other
    // first character (",5a" or a bracket list) searches the whole table.
    const IndexRange range = letter > 0 ? LetterRecords(letter) : IndexRange{0, LastIndex()};
    if (range.isEmpty())
        return 0;

    const DistrictParts typedParts = SplitDistrict(VbUCase(typed));
    QString namePattern = typedParts.name;
    namePattern.replace(u'_', u'?');
    if (CountOccurance(namePattern, QStringLiteral("["))
        > CountOccurance(namePattern, QStringLiteral("]")))
        namePattern += u']';
    namePattern += u'*';

    MatchMode mode = MatchMode::Name;
    if (typed.startsWith(u','))
        mode = MatchMode::VolumeOnly;
    else if (namePattern.contains(u'~'))
        mode = MatchMode::NameAndVolume;

    // The patterns are read once for the whole range. District names hold
    // hyphens, so a "-" is an ordinary character here.
    const qsizetype tilde = namePattern.indexOf(u'~');
    const QString left
            = mode == MatchMode::NameAndVolume ? namePattern.left(tilde) + u'*' : namePattern;
    const QString right = mode == MatchMode::NameAndVolume ? namePattern.mid(tilde + 1) : QString();
    const LikePattern namePart(left, LikeHyphen::Plain);
    const LikePattern volumePart(right, LikeHyphen::Plain);

    const int vnf = gProject->iVnf();
    int count = 0;
    for (int i = range.from; i <= range.to && count < limit; ++i) {
        const DistrictRecord &r = mRecords[i];
        if (r.Deleted || r.Name.isEmpty() || r.VolumeFormat != vnf)
            continue;
        bool match = false;
        switch (mode) {
        case MatchMode::Name:
            match = namePart.matches(r.Name);
            break;
        case MatchMode::VolumeOnly:
            match = r.Volume.compare(typedParts.volume, Qt::CaseInsensitive) == 0;
            break;
        case MatchMode::NameAndVolume:
            // Both patterns are matched against beginnings of the same length.
            match = namePart.matches(QStringView(r.Name).left(left.size()))
                    && volumePart.matches(QStringView(r.Volume).left(right.size()));
            break;
        }
        if (match) {
            pick.NextText(r.Name + u',' + r.Volume);
            ++count;
        }
    }
    return count;
}

DistrictConversion Districts::ConvertDistrictVNF(const QString &cell) const
{
    const DistrictParts parts = SplitDistrict(cell);
    const int vnf = gProject->iVnf();
    const DistrictConversion unchanged{cell, true};
    const DistrictConversion refused{cell, false};
    if (parts.format == vnf)
        return unchanged;
    switch (parts.format) {
    case VolumeNumberFormat::Vnf99:
        if (vnf == VolumeNumberFormat::Vnfxx) {
            const QString roman = romanOfDecimal(parts.volume);
            if (roman.isEmpty())
                return refused;
            return {VbTrim(parts.name) + u',' + roman, true};
        }
        return vnf == VolumeNumberFormat::Vnf9z ? unchanged : refused;
    case VolumeNumberFormat::Vnfxx: {
        int value = 0;
        if (!romanValue(parts.volume, value))
            return refused;
        return {VbTrim(parts.name) + u',' + QString::number(value), true};
    }
    case -1:
        return unchanged;
    default:
        return refused;
    }
}

void Districts::ConvertFormat()
{
    const int vnf = gProject->iVnf();
    for (DistrictRecord &r : mRecords) {
        if (r.Deleted)
            continue;
        if (vnf == VolumeNumberFormat::Vnfxx && r.VolumeFormat == VolumeNumberFormat::Vnf99) {
            const QString roman = romanOfDecimal(r.Volume);
            if (!roman.isEmpty()) {
                r.Volume = roman;
                r.VolumeFormat = VolumeNumberFormat::Vnfxx;
            }
        } else if (vnf == VolumeNumberFormat::Vnf99
                   && r.VolumeFormat == VolumeNumberFormat::Vnfxx) {
            int value = 0;
            if (romanValue(r.Volume, value)) {
                r.Volume = QString::number(value);
                r.VolumeFormat = VolumeNumberFormat::Vnf99;
            }
        }
    }
}

QString Districts::ToRoman(int number)
{
    static const struct
    {
        int value;
        const char *symbols;
    } table[]
            = {{1000, "M"}, {900, "CM"}, {500, "D"}, {400, "CD"}, {100, "C"}, {90, "XC"}, {50, "L"},
               {40, "XL"},  {10, "X"},   {9, "IX"},  {5, "V"},    {4, "IV"},  {1, "I"}};
    QString roman;
    int rest = number;
    for (const auto &entry : table) {
        while (rest >= entry.value) {
            roman += QLatin1String(entry.symbols);
            rest -= entry.value;
        }
    }
    return roman;
}

int Districts::FromRoman(const QString &text)
{
    const QString t = VbUCase(text);
    const qsizetype size = t.size();
    int value = 0;
    for (qsizetype i = 0; i < size; ++i) {
        const QChar next = i + 1 < size ? t[i + 1] : QChar();
        // The second character of a subtractive pair goes with the first.
        const auto pair = [&](QChar a, int aValue, QChar b, int bValue, int single) {
            if (next == a) {
                value += aValue;
                ++i;
            } else if (next == b) {
                value += bValue;
                ++i;
            } else {
                value += single;
            }
        };
        switch (t[i].unicode()) {
        case u'M':
            value += 1000;
            break;
        case u'D':
            value += 500;
            break;
        case u'L':
            value += 50;
            break;
        case u'V':
            value += 5;
            break;
        case u'C':
            pair(u'M', 900, u'D', 400, 100);
            break;
        case u'X':
            pair(u'C', 90, u'L', 40, 10);
            break;
        case u'I':
            pair(u'X', 9, u'V', 4, 1);
            break;
        default:
            break;
        }
    }
    return value;
}

QString Districts::QuoteIfComma(const QString &name)
{
    return name.contains(u',') ? u'"' + name + u'"' : name;
}
