#include "transcription/Transcription.h"

#include "core/Globals.h"
#include "core/MessageWindows.h"
#include "core/PatternHelpers.h"
#include "core/Project.h"
#include "core/Services.h"
#include "core/ShowStatusSink.h"
#include "core/VbHelpers.h"
#include "entry/FlexGrid.h"
#include "lists/Districts.h"
#include "transcription/Change_Monitor.h"
#include "transcription/EntryBoxes.h"

#include <algorithm>

namespace {

const QString kCrLf = QStringLiteral("\r\n");

// Every refusal of the wildcard syntax is told the same way.
bool refuseWildcards(const QString &why)
{
    ShowMessage(why, Mb::Critical, kProductName);
    return false;
}

bool isAccented(QChar c)
{
    // Windows-1252 and Unicode agree on codes 192 to 255, and every other
    // character Windows-1252 holds has a code below 192 there.
    return c.unicode() >= 0xC0 && c.unicode() <= 0xFF;
}

bool isAsciiDigit(QChar c)
{
    return c >= u'0' && c <= u'9';
}

// A character that any column may hold.
bool allowedEverywhere(QChar ch)
{
    const char16_t c = ch.unicode();
    if ((c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z') || (c >= u'0' && c <= u'9'))
        return true;
    switch (c) {
    case u'"':
    case u'[':
    case u']':
    case u'*':
    case u'?':
    case u'_':
    case u'{':
    case u'}':
    case u' ':
    case u'-':
    case u'.':
    case u'\'':
    case u',':
        return true;
    default:
        return false;
    }
}

// A character that may stand in a "[...]" list.
bool allowedInList(QChar c)
{
    static const QString allowed = QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789_*.");
    if (c.unicode() < 0x80)
        return allowed.contains(c.toUpper());
    return isAccented(c);
}

// Two runs of digits compared as numbers, however long: -1, 0 or 1.
int compareDigitRuns(QStringView a, QStringView b)
{
    while (a.size() > 1 && a.front() == u'0')
        a = a.mid(1);
    while (b.size() > 1 && b.front() == u'0')
        b = b.mid(1);
    if (a.size() != b.size())
        return a.size() < b.size() ? -1 : 1;
    const int c = a.compare(b);
    return c < 0 ? -1 : (c > 0 ? 1 : 0);
}

// The position (from 1) of the first c in text; 0 when there is none.
int positionOf(const QString &text, QChar c)
{
    return int(text.indexOf(c) + 1);
}

// Scanning text from its end: true when open comes before any close.
bool openAtEnd(const QString &text, QChar open, QChar close)
{
    for (auto i = text.size() - 1; i >= 0; --i) {
        if (text.at(i) == open)
            return true;
        if (text.at(i) == close)
            return false;
    }
    return false;
}

} // namespace

bool Transcription::ValidateWildCards(const QString &text) const
{
    return ValidateWildCards(text, gCurrentRow);
}

bool Transcription::ValidateWildCards(const QString &text, int row) const
{
    // Comment lines may say anything.
    if (mGrid && VbTrim(mGrid->TextMatrix(row, SurnameCol())).startsWith(u'#'))
        return true;

    // The part after a closing bracket is checked as a pattern of its own,
    // so that a later list or count is held to the same rules.
    const auto restAfter = [&](int close) {
        return text.size() - close >= 2 ? ValidateWildCards(text.mid(close), row) : true;
    };

    // Square brackets: a list of at least two characters, each once.
    {
        const int o = positionOf(text, u'[');
        const int c = positionOf(text, u']');
        if (o > 0 || c > 0) {
            if (c < o + 3) {
                return refuseWildcards(QStringLiteral(
                    "Invalid wildcard string - there must be at least 2 chars between [ and ]"));
            }
            const int opens = CountOccurance(text, QStringLiteral("["));
            const int closes = CountOccurance(text, QStringLiteral("]"));
            if (opens < closes)
                return refuseWildcards(QStringLiteral("] needs a matching ["));
            if (opens > closes)
                return refuseWildcards(QStringLiteral("[ needs a matching ]"));
            const QString inside = text.mid(o, c - o - 1);
            for (qsizetype i = 0; i < inside.size(); ++i) {
                const QChar ch = inside.at(i);
                if (!allowedInList(ch)) {
                    return refuseWildcards(
                        QString(ch) + QStringLiteral(" is not a valid character inside [ ]"));
                }
                if (inside.indexOf(ch, i + 1, Qt::CaseInsensitive) >= 0) {
                    return refuseWildcards(
                        QString(ch) + QStringLiteral(" is only allowed once inside [ ]"));
                }
            }
            if (!restAfter(c))
                return false;
        }
    }

    // Curly braces: a repeat count {min,max} or {min,} of what precedes it.
    {
        const int o = positionOf(text, u'{');
        const int c = positionOf(text, u'}');
        if (o > 1) {
            const QChar before = text.at(o - 2);
            if (QStringLiteral("]}[{").contains(before)) {
                return refuseWildcards(QStringLiteral("Invalid wildcard string - { can't follow ")
                                       + before);
            }
        }
        if (o == 1) {
            return refuseWildcards(
                QStringLiteral("Invalid wildcard string - { cannot be the 1st character"));
        }
        if (o > 0 || c > 0) {
            if (c < o + 3) {
                return refuseWildcards(QStringLiteral(
                    "Invalid wildcard string - there must be at least 2 chars between { and }"));
            }
            const int opens = CountOccurance(text, QStringLiteral("{"));
            const int closes = CountOccurance(text, QStringLiteral("}"));
            if (opens < closes)
                return refuseWildcards(QStringLiteral("} needs a matching {"));
            if (opens > closes)
                return refuseWildcards(QStringLiteral("{ needs a matching }"));
            const QString inside = text.mid(o, c - o - 1);
            const int k = positionOf(inside, u',');
            if (k < 2) {
                return refuseWildcards(QStringLiteral("There must be one comma between { and } "
                                                      "and it cannot be the 1st character"));
            }
            const QString min = inside.left(k - 1);
            const QString max = inside.mid(k);
            for (const QChar ch : min + max) {
                if (!isAsciiDigit(ch)) {
                    return refuseWildcards(
                        QStringLiteral("The format is {min,max} or {min,}, min and max must be "
                                       "numeric")
                        + kCrLf + ch + QStringLiteral(" is not a valid character inside {}"));
                }
            }
            if (!max.isEmpty() && compareDigitRuns(min, max) >= 0) {
                return refuseWildcards(
                    QStringLiteral("The format is {min,max} or {min,}, min and max must be "
                                   "numeric and min must be less than max"));
            }
            if (!restAfter(c))
                return false;
        }
    }

    // Asterisks and underscores.
    for (qsizetype i = 1; i < text.size(); ++i) {
        const QChar prev = text.at(i - 1);
        const QChar ch = text.at(i);
        if ((ch == u'*' && prev == u'_') || (ch == u'_' && prev == u'*'))
            return refuseWildcards(QStringLiteral("An '*' and an '_' may not follow each other"));
        if (ch == u'*' && prev == u'*') {
            return refuseWildcards(
                QStringLiteral("The asterisk wildcard means a unknown number of unreadable "
                               "characters.")
                + kCrLf + QStringLiteral("Two consecutive asterisks are not allowed."));
        }
    }
    return true;
}

bool Transcription::CheckQM(const QString &text, bool quiet) const
{
    return CheckQM(text, quiet, gCurrentRow, gCurrentCol);
}

bool Transcription::CheckQM(const QString &text, bool quiet, int row, int col) const
{
    if (row < 1)
        row = gCurrentRow;
    const bool currentRow = row == gCurrentRow;
    // Most texts hold no "?": that answer needs no look at the grid.
    if (!text.contains(u'?') || ItsACommentLine(row))
        return true;
    // The project's flag follows the row being edited (the main window sets
    // it on entering a district cell); any other row answers for itself.
    const bool validate = currentRow ? (gProject && gProject->DistValidate())
                                     : IsDistrictValidated(row);
    if (!validate)
        return true;

    const auto loneOrNone = [](const QString &part) {
        return !part.contains(u'?') || VbTrim(part) == QLatin1String("?");
    };
    if (DistrictCol() >= 1 && col == DistrictCol()) {
        // The district name and its volume may each be unreadable alone.
        const DistrictParts parts = Districts::SplitDistrict(text);
        if (loneOrNone(parts.name) && loneOrNone(parts.volume))
            return true;
    } else if (VbTrim(text) == QLatin1String("?")) {
        return true;
    }

    static const QString message =
        QStringLiteral("A ? is only allowed if it is the only character in a field.");
    if (currentRow) {
        // The change monitor speaks for the cell being edited only.
        const bool unchanged = gChangeMonitor && !gChangeMonitor->IfCellChanged();
        if (gProject && gProject->ChangeWarning() && unchanged)
            StatusBar().ShowMsg(QStringLiteral("Invalid use of ?"), false, true);
        else if (!quiet)
            ShowMessage(message, Mb::Critical, kProductName);
        Boxes().GiveFocusBack();
    } else if (!quiet) {
        ShowMessage(message, Mb::Critical, kProductName);
    }
    return false;
}

bool Transcription::CheckBalancedBrackets(const QString &text, QChar open)
{
    QChar close;
    if (open == u'(')
        close = u')';
    else if (open == u'[')
        close = u']';
    else if (open == u'{')
        close = u'}';
    else
        return true;

    int depth = 0;
    bool balanced = true;
    for (const QChar ch : text) {
        if (ch == close) {
            if (depth == 0) {
                balanced = false;
                break;
            }
            --depth;
        } else if (ch == open) {
            ++depth;
        }
    }
    if (balanced && depth == 0)
        return true;
    StatusBar().ShowMsg(QStringLiteral("Unmatched Brackets"), true, false);
    return false;
}

bool Transcription::CheckString(const QString &text) const
{
    return CheckString(text, gCurrentRow, gCurrentCol);
}

bool Transcription::CheckString(const QString &text, int row, int col) const
{
    if (ItsACommentLine(row))
        return true;
    return CheckQM(text, false, row, col) && CheckBalancedBrackets(text, u'(')
           && CheckBalancedBrackets(text, u'[') && CheckBalancedBrackets(text, u'{')
           && ValidateWildCards(text, row);
}

bool Transcription::CheckForOddChars(const QString &text, int col) const
{
    if (gProject && gProject->IgnoreOdd())
        return false;
    QStringView t(text);
    while (!t.isEmpty() && t.front() == u' ')
        t = t.mid(1);
    while (!t.isEmpty() && t.back() == u' ')
        t.chop(1);
    const auto isKind = [col](int kindCol) { return kindCol >= 1 && col == kindCol; };

    if (isKind(ForenamesCol())
        && (t.compare(QLatin1String("(FEMALE)"), Qt::CaseInsensitive) == 0
            || t.compare(QLatin1String("(MALE)"), Qt::CaseInsensitive) == 0)) {
        return false;
    }

    // Beyond the characters every column takes, a column's kind adds its own.
    enum class Extra { Accented, District, Page, AaD };
    Extra extra = Extra::Accented;
    if (isKind(DistrictCol()))
        extra = Extra::District;
    else if (isKind(PageCol()))
        extra = Extra::Page;
    else if (isKind(AaDCol()))
        extra = Extra::AaD;

    for (const QChar ch : t) {
        if (allowedEverywhere(ch))
            continue;
        const char16_t c = ch.unicode();
        switch (extra) {
        case Extra::Accented:
            if (isAccented(ch))
                continue;
            break;
        case Extra::District:
            if (c == u'&' || c == u'/' || c == u'(' || c == u')')
                continue;
            break;
        case Extra::Page:
            if (c == u'/')
                continue;
            break;
        case Extra::AaD:
            if (c == u'(' || c == u')')
                continue;
            break;
        }
        return true;
    }
    return false;
}

bool Transcription::CheckSquareBracket(const QString &text)
{
    return openAtEnd(text, u'[', u']');
}

bool Transcription::CheckRoundBracket(const QString &text)
{
    return openAtEnd(text, u'(', u')');
}

bool InsideBraces(const QString &text, int pos)
{
    if (pos < 1 || text.isEmpty())
        return false;
    const QStringView before = QStringView(text).left(pos);
    const qsizetype open = before.lastIndexOf(u'{');
    return open >= 0 && before.lastIndexOf(u'}') < open;
}

bool CheckLeadingHyphen(const QString &text)
{
    return !(text.startsWith(u'-') && text.size() > 1);
}

bool AllCharsIn(const QString &text, const QString &allowed)
{
    return std::all_of(text.cbegin(), text.cend(),
                       [&allowed](QChar c) { return allowed.contains(c); });
}

bool IsPageOrCommentRow(int col, QChar key)
{
    if (!gTranscription || !gTranscription->grid() || col != gTranscription->SurnameCol())
        return false;
    const FlexGrid &grid = *gTranscription->grid();
    const QString u = VbUCase(grid.TextMatrix(grid.Row(), gTranscription->SurnameCol()));
    if (u.startsWith(QLatin1String("+PAGE"))) {
        // Only the page number may be typed: digits right after "+PAGE,",
        // and the one comma that separates it.
        if (isAsciiDigit(key))
            return u.indexOf(u',') == 5;
        if (key == u',')
            return !u.contains(u',');
        return false;
    }
    return u.startsWith(u'+') || u.startsWith(u'#');
}
