#include "transcription/Transcription.h"

#include "core/Globals.h"
#include "core/Project.h"
#include "core/VbHelpers.h"
#include "core/clsEvents.h"
#include "entry/FlexGrid.h"
#include "transcription/Change_Monitor.h"
#include "transcription/GridBindings.h"

#include <QCursor>
#include <QGuiApplication>

void Transcription::AddRow()
{
    if (!mGrid)
        return;
    {
        EventsOffGuard quiet;
        const int row = mGrid->Rows();
        mGrid->setRows(row + 1);
        bool ok = false;
        const int before = VbTrim(mGrid->TextMatrix(row - 1, 0)).toInt(&ok);
        mGrid->setTextMatrix(row, 0, QString::number((ok ? before : 0) + 1));
        ColourRow(row);
    }
    if (gChangeMonitor)
        gChangeMonitor->Changed();
    FitRowNumberColumn();
    UpdateScrollBar();
}

void Transcription::UpdateScrollBar()
{
    if (!mGrid)
        return;
    EventsOffGuard quiet;
    scrollBar().setMax(mGrid->Rows() - 1);
    scrollBar().setValue(mGrid->Row());
}

bool Transcription::ItsACommentLine(int row) const
{
    if (row <= 0)
        row = gCurrentRow;
    if (!mGrid || row < 2 || row >= mGrid->Rows())
        return false;
    const QString text = VbLTrim(mGrid->TextMatrix(row, 1));
    return text.startsWith(QLatin1Char('+')) || text.startsWith(QLatin1Char('#'));
}

QString Transcription::Compact(const QString &text)
{
    const QString trimmed = VbTrim(text);
    QString result;
    result.reserve(trimmed.size());
    for (const QChar c : trimmed) {
        if (c == QLatin1Char(' ') && result.endsWith(QLatin1Char(' ')))
            continue;
        result.append(c);
    }
    return result;
}

void Transcription::RenumberAllRows(int fromRow)
{
    if (!mGrid)
        return;
    const bool mayUseCursor =
        qobject_cast<QGuiApplication *>(QCoreApplication::instance()) != nullptr;
    if (mayUseCursor)
        QGuiApplication::setOverrideCursor(QCursor(Qt::WaitCursor));
    {
        EventsOffGuard quiet;
        mGrid->setRedraw(false);
        mGrid->setTextMatrix(1, 0, QString::number(FirstRowNumber()));
        const int start = fromRow < 2 ? 2 : fromRow;
        const bool dataRowsOnly = gProject && gProject->RowNumbering() == QLatin1String("D");
        int number = VbTrim(mGrid->TextMatrix(start - 1, 0)).toInt();
        for (int row = start; row < mGrid->Rows(); ++row) {
            if (!dataRowsOnly || !ItsACommentLine(row))
                ++number;
            mGrid->setTextMatrix(row, 0, QString::number(number));
            ColourRow(row);
        }
        mGrid->setRedraw(true);
    }
    if (mayUseCursor)
        QGuiApplication::restoreOverrideCursor();
}
