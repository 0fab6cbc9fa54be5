#pragma once

// Moving an earlier installation into the data folder.

// Returns false when the run must stop.
bool Tidy_Version6();
// Merges the shipped 1974 supplementary districts into the transcriber's
// copy when an older version last ran. Never reports an error.
void MergeSuppDistricts1974();
