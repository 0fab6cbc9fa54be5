#pragma once

// The header form's fields as plain values: Store copies them into the
// batch header, ShowProject fills them from it. The form itself only copies
// its controls in and out of this.

#include <QString>

struct HeaderFields
{
    QString lblBatchID;  // the batch file name (ShowProject: BuildBatchName's preview)
    QString lblCreated;  // the start date, "D-MMM-YYYY"
    QString lblUpdated;  // the last-change date, "D-MMM-YYYY"; shown only (Store sets now)
    int cboEvent = 0;    // 1 Births, 2 Deaths, 3 Marriages; 0 none chosen
    int cboQuarter = 0;  // 1 to 4; 0 none chosen
    int cboSource = 0;   // 1 fiche, 2 film, 3 scan; 0 none chosen
    int cboVNF = 0;      // 1 "9z", 2 "99", 3 "XX"; 0 none chosen
    QString tbYear;
    QString tbPage;
    QString tbPageLetter;
    QString tbBatch;           // the batch number, also while hidden
    bool batchVisible = false; // the batch box and its label (fiche and film)
    QString tbSourceRef;
    QString tbComments;
    QString tbName;
    QString tbEmail;
    QString tbSyndicate;
    QString tbSubmitterID;
    QString tbPassword;
    QString tbCreditName;
    QString tbCreditEmail;
    QString tbCreditType;
};
