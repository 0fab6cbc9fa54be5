// Re-casing the entries already typed in one column, after its case option
// changed.

#include "transcription/Transcription.h"

#include "entry/FlexGrid.h"

int Transcription::ConvertColumn(int col)
{
    if (!mGrid || col < 1 || col >= mGrid->Cols())
        return 0;
    int changed = 0;
    for (int row = 2; row < mGrid->Rows(); ++row) {
        // A comment or page line belongs to its first cell; the rest of
        // such a row is not a name to re-case.
        const QString first = mGrid->TextArray(faIndex(row, 1));
        if (first.startsWith(u'#') || first.startsWith(u'+'))
            continue;
        const int index = faIndex(row, col);
        const QString text = mGrid->TextArray(index);
        const QString recased = ConvertName(text, col);
        if (recased != text) {
            mGrid->setTextArray(index, recased);
            ++changed;
        }
    }
    return changed;
}

QString Transcription::ColumnCaseQuestion(const QString &label, bool toUpper, bool toLower)
{
    const QString target = toUpper    ? QStringLiteral("UPPERCASE")
                           : !toLower ? QStringLiteral("Mixed Case")
                                      : QStringLiteral("lower case");
    return QStringLiteral("Would you like to change the ") + label
           + QStringLiteral(" already entered to ") + target;
}
