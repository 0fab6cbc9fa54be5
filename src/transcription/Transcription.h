#pragma once

// The transcription grid's owner: which column holds which field for the
// batch's event type and period, the rows' layout and colours, and every
// cell, row and sequence check. One instance, gTranscription.
//
// Several files implement this class, one group of operations each; each
// group's declarations stand between its own markers below.

#include <QString>
#include <QStringList>

#include <cstdint>
#include <vector>

class FlexGrid;

class Transcription
{
public:
    Transcription();
    ~Transcription();
    Transcription(const Transcription &) = delete;
    Transcription &operator=(const Transcription &) = delete;

    // ---- Grid model and columns (Transcription.cpp) -------------------------
    // ---- end of grid model and columns --------------------------------------

    // ---- Row operations used by validation (RowOperations.cpp) --------------
    // ---- end of row operations ------------------------------------------------

    // ---- Validation flags and invalid-entry guard (ValidationFlags.cpp) -----
    // ---- end of validation flags ----------------------------------------------

    // ---- Cell validation and field validators (CellValidation.cpp, FieldValidators.cpp)
    // ---- end of cell validation -------------------------------------------------

    // ---- Sequence check (SequenceCheck.cpp) -------------------------------------
    // ---- end of sequence check --------------------------------------------------

    // ---- Special characters, wildcards and brackets (SpecialCharacters.cpp) ----
    // ---- end of special characters ---------------------------------------------

private:
    // ---- members: grid model and columns ----
    // ---- end of members: grid model and columns ----

    // ---- members: row operations ----
    // ---- end of members: row operations ----

    // ---- members: validation flags ----
    // ---- end of members: validation flags ----

    // ---- members: cell validation ----
    // ---- end of members: cell validation ----

    // ---- members: sequence check ----
    // ---- end of members: sequence check ----

    // ---- members: special characters ----
    // ---- end of members: special characters ----
};
