#include "transcription/Transcription.h"

#include "core/Globals.h"
#include "core/MessageWindows.h"
#include "core/PatternHelpers.h"
#include "core/ShowStatusSink.h"
#include "core/VbHelpers.h"
#include "entry/FlexGrid.h"

namespace {

// Windows-1252 codes 192 to 255, each as the plain letter it sorts as. The
// four that are no letters (multiplication and division signs, thorn and
// sharp s) become a space.
constexpr char16_t kFold[] = u"AAAAAAACEEEEIIIIDNOOOOO OUUUUY  aaaaaaaceeeeiiiionooooo ouuuuyyz";
static_assert(sizeof(kFold) / sizeof(kFold[0]) == 64 + 1);

bool isAsciiLetter(char16_t c)
{
    return (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z');
}

bool isPlaceholderForenames(const QString &key)
{
    return key == QLatin1String("MALE") || key == QLatin1String("FEMALE");
}

bool beginsAsCommentLine(const QString &text)
{
    return text.startsWith(u'#') || text.startsWith(u'+');
}

// A name up to its first wildcard character; cut is set when it was
// shortened. A wildcard in position 1 leaves nothing.
QString beforeWildcard(const QString &name, bool &cut)
{
    const int w = WildPosition(name);
    if (w == 0)
        return name;
    if (w > 1)
        cut = true;
    return name.left(w - 1);
}

// Compares two keys by character code, upper-cased; the result's sign as
// QString::compare gives it.
int compareUpper(const QString &a, const QString &b)
{
    return VbUCase(a).compare(VbUCase(b), Qt::CaseSensitive);
}

} // namespace

void Transcription::CheckSequence() const
{
    CheckSequence(gCurrentRow);
}

void Transcription::CheckSequence(int row) const
{
    // Grid row 2 is the first entry: there is nothing above it to compare.
    if (row < 3)
        return;
    if (!InSequence(row)) {
        BeepIfEnabled();
        StatusBar().ShowMsg(QStringLiteral("Out of Sequence"), false, true);
    }
}

bool Transcription::InSequence(int row) const
{
    if (!mGrid)
        return true;
    QString s = mGrid->TextMatrix(row, SurnameCol());
    if (beginsAsCommentLine(VbLTrim(s)))
        return true;

    const int p = FindPreviousNameRow(row);
    if (p < 2)
        return true;

    bool surnameCut = false;
    bool forenamesCut = false;

    if (WildPosition(s) == 1)
        return true;
    s = FoldNameForSequence(beforeWildcard(s, surnameCut), true);
    const auto l1 = s.size();

    QString f = FoldNameForSequence(
        beforeWildcard(mGrid->TextMatrix(row, ForenamesCol()), forenamesCut), false);

    QString ps = mGrid->TextMatrix(p, SurnameCol());
    if (beginsAsCommentLine(VbLTrim(ps)) || WildPosition(ps) == 1)
        return true;
    ps = FoldNameForSequence(beforeWildcard(ps, surnameCut), true);
    const auto l2 = ps.size();

    QString pf = FoldNameForSequence(
        beforeWildcard(mGrid->TextMatrix(p, ForenamesCol()), forenamesCut), false);

    // A cut forename can only be compared as far as both go.
    if (forenamesCut) {
        const auto shorter = qMin(f.size(), pf.size());
        f.truncate(shorter);
        pf.truncate(shorter);
    }
    const QString fk = VbUCase(FoldNameForSequence(f, false));
    const QString pfk = VbUCase(FoldNameForSequence(pf, false));

    const auto m = qMin(l1, l2);
    if (m <= 0)
        return true;
    const int bySurname = compareUpper(s.left(m), ps.left(m));
    if (bySurname < 0)
        return false;
    if (bySurname > 0)
        return true;

    if (l1 > l2)
        return true;
    if (l1 < l2)
        return surnameCut; // SMITH sorts before SMITHSON, SM* does not

    if (fk.isEmpty() || pfk.isEmpty() || surnameCut)
        return true;
    // By character code: a space sorts before every letter, so MARY ANN
    // comes before MARYANN.
    if (fk.compare(pfk, Qt::CaseSensitive) >= 0)
        return true;
    // Entries without forenames stand anywhere among their surname.
    return isPlaceholderForenames(fk) || isPlaceholderForenames(pfk);
}

int Transcription::FindPreviousNameRow(int row) const
{
    if (!mGrid)
        return 0;
    int r = row - 1;
    for (; r >= 1; --r) {
        if (ItsACommentLine(r))
            continue;
        const QString forenames = mGrid->TextMatrix(r, ForenamesCol());
        const QString key = VbUCase(FoldNameForSequence(forenames, false));
        if (!isPlaceholderForenames(key))
            break;
    }
    return r >= 2 ? r : 0;
}

QString Transcription::FoldNameForSequence(const QString &text, bool dropSpaces)
{
    const QString t = Compact(text);
    QString key;
    key.reserve(t.size());
    for (qsizetype i = 0; i < t.size(); ++i) {
        const char16_t c = t.at(i).unicode();
        if (isAsciiLetter(c)) {
            key.append(QChar(c));
        } else if (c == u' ') {
            if (!dropSpaces)
                key.append(QChar(c));
        } else if (c == u'#' || c == u'+') {
            if (i == 0)
                key.append(QChar(c));
        } else if (c >= 0xC0 && c <= 0xFF) {
            // Windows-1252 and Unicode agree on codes 192 to 255.
            key.append(QChar(kFold[c - 0xC0]));
        }
    }
    return key;
}

int Transcription::WildPosition(const QString &text)
{
    return ::WildPosition(text);
}

QString Transcription::GetPreviousName(int row) const
{
    if (!mGrid)
        return QString();
    for (int r = row - 1; r >= 2; --r) {
        const QString first = VbLTrim(mGrid->TextMatrix(r, 1));
        if (!beginsAsCommentLine(first))
            return mGrid->TextMatrix(r, gCurrentCol);
    }
    return QString();
}

bool Transcription::IsRowBlank(int row) const
{
    if (!mGrid)
        return true;
    for (int c = 1; c < mGrid->Cols(); ++c) {
        if (!VbTrim(mGrid->TextMatrix(row, c)).isEmpty())
            return false;
    }
    return true;
}

int Transcription::RowLabelNumber(int row) const
{
    if (!mGrid || row < 0 || row >= mGrid->Rows())
        return 0;
    bool ok = false;
    const int label = VbTrim(mGrid->TextMatrix(row, 0)).toInt(&ok);
    return ok ? label : 0;
}
