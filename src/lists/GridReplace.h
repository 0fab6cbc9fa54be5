#pragma once

// Replacing a renamed forename or district throughout the transcription
// grid, for the list editors. Both work on gTranscription's grid, rows 2 to
// Rows - 1 (the title row and the first "+PAGE" row are never searched), in
// one column only.
//
// When anything was replaced the batch is marked changed (gChangeMonitor)
// and every changed row is written to the work file (gWorkFile), with events
// held off around the cell writes and the work-file writes, so that neither
// the grid's change handlers run nor a crash loses the replacement. Objects
// that do not exist are skipped.

#include <QString>

// Splits each forename cell into words at single spaces (a run of spaces
// gives empty words, so the spacing is kept) and replaces every word equal
// to oldName without regard to case by newName as given. Returns the number
// of words replaced (a cell holding the name twice counts 2); 0, with
// nothing touched, when oldName is empty or no grid is bound.
int ReplaceForenameInGrid(const QString &oldName, const QString &newName);

// Replaces every district cell whose whole text equals oldEntry exactly
// (case included) by newEntry. Returns the number of cells replaced; 0,
// with nothing touched, when oldEntry is empty or no grid is bound.
int ReplaceDistrictInGrid(const QString &oldEntry, const QString &newEntry);
