#include "transcription/Transcription.h"

#include "core/Globals.h"
#include "core/MessageWindows.h"
#include "core/PatternHelpers.h"
#include "core/ShowStatusSink.h"
#include "core/VbHelpers.h"
#include "entry/FlexGrid.h"

#include <QScopeGuard>
#include <QVarLengthArray>

#include <string_view>

namespace {

// Windows-1252 codes 192 to 255, each as the plain letter it sorts as. The
// four that are no letters (multiplication and division signs, thorn and
// sharp s) become a space.
constexpr char16_t kFold[] = u"AAAAAAACEEEEIIIIDNOOOOO OUUUUY  aaaaaaaceeeeiiiionooooo ouuuuyyz";
static_assert(sizeof(kFold) / sizeof(kFold[0]) == 64 + 1);

// A folded key. Names are short, so the keys of a row check live on the
// stack and the save's walk over every row allocates nothing for them.
using FoldedKey = QVarLengthArray<char16_t, 64>;

bool isAsciiLetter(char16_t c)
{
    return (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z');
}

char16_t asciiUpper(char16_t c)
{
    return (c >= u'a' && c <= u'z') ? char16_t(c - (u'a' - u'A')) : c;
}

std::u16string_view viewOf(const FoldedKey &key)
{
    return {key.constData(), std::size_t(key.size())};
}

bool isPlaceholderForenames(std::u16string_view key)
{
    return key == u"MALE" || key == u"FEMALE";
}

// A name up to its first wildcard character; cut is set when it was
// shortened. A wildcard in position 1 leaves nothing.
QStringView beforeWildcard(QStringView name, bool &cut)
{
    const int w = ::WildPosition(name);
    if (w == 0)
        return name;
    if (w > 1)
        cut = true;
    return name.left(w - 1);
}

// Transcription::FoldNameForSequence into a caller's buffer: the text is
// compacted (trimmed, runs of spaces made one) as it is read.
void foldInto(QStringView text, bool dropSpaces, FoldedKey &key)
{
    key.clear();
    qsizetype start = 0;
    qsizetype end = text.size();
    while (start < end && text[start] == u' ')
        ++start;
    while (end > start && text[end - 1] == u' ')
        --end;
    for (qsizetype i = start; i < end; ++i) {
        const char16_t c = text[i].unicode();
        if (isAsciiLetter(c)) {
            key.append(c);
        } else if (c == u' ') {
            // Never the first character here, so i - 1 is in the text.
            if (!dropSpaces && text[i - 1] != u' ')
                key.append(c);
        } else if (c == u'#' || c == u'+') {
            if (i == start)
                key.append(c);
        } else if (c >= 0xC0 && c <= 0xFF) {
            // Windows-1252 and Unicode agree on codes 192 to 255.
            key.append(kFold[c - 0xC0]);
        }
    }
}

// A folded forenames key folded once more and upper-cased, in place. A key
// already folded holds only letters, spaces and a leading "#" or "+", so
// folding it again only compacts it, and upper-casing touches a to z only.
void refoldUpper(FoldedKey &key)
{
    qsizetype start = 0;
    qsizetype end = key.size();
    while (start < end && key[start] == u' ')
        ++start;
    while (end > start && key[end - 1] == u' ')
        --end;
    qsizetype out = 0;
    for (qsizetype i = start; i < end; ++i) {
        const char16_t c = key[i];
        if (c == u' ' && key[i - 1] == u' ')
            continue;
        key[out++] = asciiUpper(c);
    }
    key.resize(out);
}

// Compares the first n characters of two keys by character code,
// upper-cased: -1, 0 or 1.
int compareUpper(const FoldedKey &a, const FoldedKey &b, qsizetype n)
{
    for (qsizetype i = 0; i < n; ++i) {
        const char16_t x = asciiUpper(a[i]);
        const char16_t y = asciiUpper(b[i]);
        if (x != y)
            return x < y ? -1 : 1;
    }
    return 0;
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
    SequenceKey last;
    return InSequence(row, last);
}

void Transcription::MakeSequenceKey(int row, SequenceKey &key) const
{
    key.row = row;
    key.surnameCut = false;
    key.forenamesCut = false;
    key.surname.clear();
    key.forenames.clear();
    const QString &surname = mGrid->textRef(row, SurnameCol());
    key.comparable = !BeginsAsCommentLine(surname) && ::WildPosition(surname) != 1;
    if (!key.comparable)
        return;
    foldInto(beforeWildcard(surname, key.surnameCut), true, key.surname);
    foldInto(beforeWildcard(mGrid->textRef(row, ForenamesCol()), key.forenamesCut), false,
             key.forenames);
}

bool Transcription::InSequence(int row, SequenceKey &last) const
{
    if (!mGrid)
        return true;
    SequenceKey current;
    MakeSequenceKey(row, current);
    // Copied, not moved: Qt 6.4's QVarLengthArray move assignment drops
    // (leaks) the heap storage a long name gave the target.
    const auto keep = qScopeGuard([&last, &current] { last = current; });
    if (!current.comparable)
        return true;
    const int p = FindPreviousNameRow(row);
    if (p < 2)
        return true;
    if (last.row != p)
        MakeSequenceKey(p, last);
    const SequenceKey &previous = last;
    if (!previous.comparable)
        return true;

    // A cut name on either side counts for both.
    const bool surnameCut = current.surnameCut || previous.surnameCut;
    const bool forenamesCut = current.forenamesCut || previous.forenamesCut;
    const FoldedKey &s = current.surname;
    const FoldedKey &ps = previous.surname;
    FoldedKey f = current.forenames;
    FoldedKey pf = previous.forenames;

    // A cut forename can only be compared as far as both go.
    if (forenamesCut) {
        const auto shorter = qMin(f.size(), pf.size());
        f.resize(shorter);
        pf.resize(shorter);
    }
    refoldUpper(f);
    refoldUpper(pf);

    const auto l1 = s.size();
    const auto l2 = ps.size();
    const auto m = qMin(l1, l2);
    if (m <= 0)
        return true;
    const int bySurname = compareUpper(s, ps, m);
    if (bySurname < 0)
        return false;
    if (bySurname > 0)
        return true;

    if (l1 > l2)
        return true;
    if (l1 < l2)
        return surnameCut; // SMITH sorts before SMITHSON, SM* does not

    const auto fk = viewOf(f);
    const auto pfk = viewOf(pf);
    if (fk.empty() || pfk.empty() || surnameCut)
        return true;
    // By character code: a space sorts before every letter, so MARY ANN
    // comes before MARYANN.
    if (fk.compare(pfk) >= 0)
        return true;
    // Entries without forenames stand anywhere among their surname.
    return isPlaceholderForenames(fk) || isPlaceholderForenames(pfk);
}

int Transcription::FindPreviousNameRow(int row) const
{
    if (!mGrid)
        return 0;
    FoldedKey key;
    int r = row - 1;
    for (; r >= 1; --r) {
        if (ItsACommentLine(r))
            continue;
        foldInto(mGrid->textRef(r, ForenamesCol()), false, key);
        for (auto &c : key)
            c = asciiUpper(c);
        if (!isPlaceholderForenames(viewOf(key)))
            break;
    }
    return r >= 2 ? r : 0;
}

QString Transcription::FoldNameForSequence(const QString &text, bool dropSpaces)
{
    FoldedKey key;
    foldInto(text, dropSpaces, key);
    return QString(reinterpret_cast<const QChar *>(key.constData()), key.size());
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
        if (!BeginsAsCommentLine(first))
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
