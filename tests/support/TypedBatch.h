#pragma once

// A small births batch as a transcriber types it into the main window, key
// by key: the header is set up beforehand (as the header form would leave
// it), then every entry, "+PAGE" line and comment is typed into whichever
// entry box lies over the current cell, and each cell is left with Tab.
// Shared by the in-process typing test and the program that the crash
// test kills between keystrokes.

#include "core/Globals.h"
#include "core/HeaderTypes.h"
#include "core/Project.h"
#include "entry/FlexGrid.h"
#include "lists/Districts.h"
#include "entry/RichTextView.h"
#include "mainwindow/Form1.h"
#include "transcription/Transcription.h"

#include <QDate>
#include <QList>
#include <QStringList>
#include <QTest>

namespace TypedBatch {

inline QString batchName() { return QStringLiteral("1905B1A0012.ZEL"); }

// A births fiche batch of March 1905, starting on page 12.
inline void setHeader()
{
    Project &p = *gProject;
    p.setEventType(EventType::Births);
    p.setIYear(1905);
    p.setQtr(Quarter::March);
    p.setSourceType(SourceType::Fiche);
    p.setSourceRef(QStringLiteral("Fiche 12"));
    p.setBatchnumber(12);
    p.setIVnf(VolumeNumberFormat::Vnf9z);
    p.setUserID(QStringLiteral("Ann Smith"));
    p.setSyndicate(QStringLiteral("Wessex"));
    p.setEmail(QStringLiteral("ann@example.org"));
    p.setBatchName(batchName());
    p.setBatchStarted(QDate(2026, 3, 2));
    p.setPage(QStringLiteral("12"));
    p.setPageLetter(QStringLiteral("A"));
}

// The batch laid out in the started main window's empty grid, the box over
// the first entry's surname; the district list read for its year and
// quarter, as a new header leaves it.
inline void startBatch(Form1 &window)
{
    // The transcriber's choice: forenames offered in the pick list, the
    // first match shown as grey ghost text after what is typed.
    gProject->setForePick(true);
    gProject->setBForeGhost(true);
    setHeader();
    gDistricts->Read_Districts();
    gTranscription->SetupInputGrid();
    gTranscription->AddLine1();
    window.SetUpMainForm();
}

// What is typed, row by row: "\t" is the Tab key, anything else a
// character key. The forename prefixes "Jo", "Ma" and "Wi" are completed
// by the grey ghost that Tab takes; "leeds" is cased by the program.
inline const QStringList &typedRows()
{
    static const QStringList rows{
        QStringLiteral("ABBOT\tAnn\tBath,5c\t12\t"),
        QStringLiteral("ABBOT\tJo\tLeeds,9b\t12\t"),
        QStringLiteral("#Foot of page torn\t"),
        QStringLiteral("+PAGE,13\t"),
        QStringLiteral("ADAMS\tMa\tBath,5c\t13\t"),
        QStringLiteral("ALLEN\tEli Tom\tleeds,9b\t13\t"),
        QStringLiteral("+PAGE,14\t"),
        QStringLiteral("AMOS\tWi\tLeeds,9b\t14\t"),
        QStringLiteral("BAKER\tAnn, Mary\tBath,5c\t14\t"),
    };
    return rows;
}

// The grid's cells (columns 1 on, TAB-joined) of each typed row, as the
// program keeps them: surnames and districts cased, the ghosts taken
// ("Jo" the list's first match "Joan" and so on), a blank after the
// forenames, ready for another name.
inline const QStringList &expectedRows()
{
    static const QStringList rows{
        QStringLiteral("Abbot\tAnn \tBath,5c\t12"),
        QStringLiteral("Abbot\tJoan \tLeeds,9b\t12"),
        QStringLiteral("#Foot of page torn\t\t\t"),
        QStringLiteral("+PAGE,13\t\t\t"),
        QStringLiteral("Adams\tMabel \tBath,5c\t13"),
        QStringLiteral("Allen\tEli Tom \tLeeds,9b\t13"),
        QStringLiteral("+PAGE,14\t\t\t"),
        QStringLiteral("Amos\tWilfred \tLeeds,9b\t14"),
        QStringLiteral("Baker\tAnn, Mary \tBath,5c\t14"),
    };
    return rows;
}

struct Keystroke
{
    QChar ch;      // the character typed; Tab for the Tab key
    int rowsLeft;  // typed rows wholly left once this key is done
};

inline QList<Keystroke> keystrokes()
{
    QList<Keystroke> keys;
    int left = 0;
    for (const QString &row : typedRows()) {
        for (qsizetype i = 0; i < row.size(); ++i) {
            if (i == row.size() - 1)
                ++left; // the row's last Tab moves on to the next row
            keys.append({row.at(i), left});
        }
    }
    return keys;
}

// The entry box on view, which has the keyboard.
inline QWidget *shownBox(Form1 &window)
{
    for (RichTextView *v : {window.rtb1View(), window.tbForeNameView(), window.tbDistrictView()}) {
        if (v->isVisibleTo(&window))
            return v;
    }
    return nullptr;
}

// Types one key into the box on view; false when no box shows.
inline bool press(Form1 &window, QChar ch)
{
    QWidget *box = shownBox(window);
    if (!box)
        return false;
    if (ch == u'\t')
        QTest::keyClick(box, Qt::Key_Tab);
    else
        QTest::keyClick(box, ch.toLatin1());
    return true;
}

// Rows 2 on of the grid, the cells of columns 1 on TAB-joined.
inline QStringList gridRows(const FlexGrid &grid)
{
    QStringList rows;
    for (int row = 2; row < grid.Rows(); ++row) {
        QStringList cells;
        for (int col = 1; col < grid.Cols(); ++col)
            cells << grid.TextMatrix(row, col);
        rows << cells.join(u'\t');
    }
    return rows;
}

} // namespace TypedBatch
