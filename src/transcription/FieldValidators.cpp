// The per-column checks run on the cell the grid is leaving: age at death,
// date of birth, page, the "#" comment line, and the case of a name.

#include "transcription/Transcription.h"

#include "core/Globals.h"
#include "core/MessageWindows.h"
#include "core/PatternHelpers.h"
#include "core/Project.h"
#include "core/ShowStatusSink.h"
#include "core/VbHelpers.h"
#include "entry/FlexGrid.h"

#include <QStringView>

#include <algorithm>
#include <optional>

namespace {
const QString kAgeWarning = QStringLiteral("Age should be numeric 0-150");
const QString kDobWarning = QStringLiteral("Invalid DoB");
// Twelve two-letter codes in month order: JA, FE, MR, ...
const QString kMonthCodes = QStringLiteral("JAFEMRAPMYJEJYAUSEOCNODE");

// The value of a run of ASCII digits (blanks around it allowed); nothing
// for any other text, signs and decimal points included. A value beyond
// every limit checked here stops growing at kHuge, however many digits
// follow.
constexpr int kHuge = 1000000000;
std::optional<int> wholeNumber(const QString &text)
{
    const QString t = VbTrim(text);
    if (t.isEmpty())
        return std::nullopt;
    int value = 0;
    for (const QChar c : t) {
        if (c < u'0' || c > u'9')
            return std::nullopt;
        // Widened, so that ten times a value up to kHuge cannot overflow.
        const qint64 longer = qint64(value) * 10 + (c.unicode() - u'0');
        value = int(std::min<qint64>(longer, kHuge));
    }
    return value;
}

bool isMonthCode(const QString &month)
{
    const QString code = VbUCase(VbTrim(month));
    if (code.size() != 2)
        return false;
    for (qsizetype i = 0; i < kMonthCodes.size(); i += 2) {
        if (QStringView(kMonthCodes).mid(i, 2) == code)
            return true;
    }
    return false;
}

bool isUpperAsciiLetter(QChar c)
{
    return c >= u'A' && c <= u'Z';
}
} // namespace

bool Transcription::ValidateAaD(int col, int row)
{
    QString t = Compact(CellText(row, col));
    if (t.isEmpty() || t == QLatin1String("-"))
        return true;
    if (::WildPosition(t) > 0)
        return ValidateWildCards(t, row);

    const qsizetype m = t.indexOf(u'm');
    if (m >= 0) {
        if (m != t.size() - 1) {
            StatusBar().ShowMsg(QStringLiteral("The 'm' must be the last character"), true, false);
            return false;
        }
        t.chop(1);
    }

    const qsizetype hyphen = t.indexOf(u'-');
    const QString first = hyphen >= 0 ? t.left(hyphen) : t;
    const QString second = hyphen >= 0 ? t.mid(hyphen + 1) : t;
    const std::optional<int> low = wholeNumber(first);
    const std::optional<int> high = wholeNumber(second);

    // One warning for the cell, however many of the rules it breaks.
    const bool numeric = low && high;
    if (!numeric || *low > 150 || *high > 150) {
        BeepIfEnabled();
        StatusBar().ShowMsg(kAgeWarning, false, true);
        return true;
    }
    // A range names the younger age first, as the index prints it.
    if (hyphen >= 0 && *low > *high)
        StatusBar().ShowMsg(QStringLiteral("Age range is reversed - the lower age should come "
                                           "first"),
                            false, true);
    return true;
}

QStringList Transcription::ParseDobPattern(const QString &text)
{
    const QString u = Compact(VbUCase(text));
    const QStringList pieces = u.split(u' ');
    if (pieces.size() == 3)
        return pieces;

    QString joined = u;
    joined.remove(u' ');
    const QChar second = joined.size() > 1 ? joined.at(1) : QChar();
    if (isUpperAsciiLetter(second))
        return {joined.left(1), joined.mid(1, 2), joined.mid(3)};
    if (second >= u'0' && second <= u'9')
        return {joined.left(2), joined.mid(2, 2), joined.mid(4)};
    return {text, QString(), QString()};
}

void Transcription::ValidateDoB(int col, int row)
{
    const QString t = Compact(CellText(row, col));
    if (t.isEmpty())
        return;
    if (::WildPosition(t) > 0) {
        // The pattern's own message has been shown; no beep on top of it.
        if (!ValidateWildCards(t, row))
            StatusBar().ShowMsg(kDobWarning, false, true);
        return;
    }

    const QStringList parts = ParseDobPattern(t);
    bool valid = parts.size() == 3;
    if (valid) {
        const std::optional<int> day = wholeNumber(parts.at(0));
        const std::optional<int> year = wholeNumber(parts.at(2));
        valid = day && year && *day >= 1 && *day <= 31 && isMonthCode(parts.at(1));
    }
    if (!valid) {
        StatusBar().ShowMsg(kDobWarning, false, true);
        BeepIfEnabled();
    }
}

bool Transcription::ValidatePage(int col, int row)
{
    return ValidateWildCards(VbTrim(Compact(CellText(row, col))), row);
}

bool Transcription::ValidateComment(int row) const
{
    const QString u = VbUCase(CellText(row, SurnameCol()));
    QString s = u;
    s.remove(u' ');

    if (!s.startsWith(u'#'))
        return true;
    const auto keywordWithText = [&u](QLatin1String keyword) {
        return u.startsWith(keyword) && u.size() > keyword.size();
    };
    if (keywordWithText(QLatin1String("#COMMENT(")) || keywordWithText(QLatin1String("#COMMENT ")))
        return true;
    if (keywordWithText(QLatin1String("#THEORY(")) || keywordWithText(QLatin1String("#THEORY ")))
        return true;
    if (s.startsWith(QLatin1String("#THEORY,REF,"))) {
        const qsizetype slash = s.indexOf(u'/');
        if (slash > 0 && QStringLiteral("JMSD").contains(s.at(slash - 1)))
            return true;
    }
    if (s.startsWith(QLatin1String("#COMMENT")) || s.startsWith(QLatin1String("#THEORY")))
        return false;
    return u.startsWith(QLatin1String("# ")) && u.size() >= 3;
}

QString Transcription::ConvertName(const QString &text, int col) const
{
    if (text.isEmpty())
        return QString();
    if (text.startsWith(u'#') || text.startsWith(u'+'))
        return text;

    QString proper = VbLCase(text);
    proper[0] = proper.at(0).toUpper();
    for (const QChar separator : QStringLiteral(" -'.,")) {
        for (qsizetype i = 0; i + 1 < proper.size(); ++i) {
            if (proper.at(i) == separator)
                proper[i + 1] = proper.at(i + 1).toUpper();
        }
    }
    if (!gProject)
        return proper;

    const auto byOption = [&](const QString &mode) {
        if (mode == QLatin1String("U"))
            return VbUCase(text);
        if (mode == QLatin1String("L"))
            return VbLCase(text);
        return proper;
    };
    if (IsKind(col, SurnameCol()))
        return byOption(gProject->SurnameCase());
    if (IsKind(col, SpouseCol()))
        return byOption(gProject->SpouseNameCase());
    if (IsKind(col, MotherCol()))
        return byOption(gProject->MotherNameCase());
    if (IsKind(col, ForenamesCol()))
        return byOption(gProject->ForenameCase());
    if (IsKind(col, DoBCol()))
        return byOption(gProject->DoBCase());
    if (IsKind(col, DistrictCol())) {
        if (gProject->DistrictUpper())
            return VbUCase(text);
        if (gProject->DistrictLower())
            return VbLCase(text);
    }
    return proper;
}
