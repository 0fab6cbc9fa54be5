#pragma once

// The model's half of start-up: preparing the data folder.

// Makes the data folder current and creates its Files and Output folders
// when missing (one level each), and removes from Output and the save
// folder what batch saves cut short left (RemoveSaveLeftovers). Returns false after telling the transcriber
// when a folder could not be made.
bool MakeFileFolder();
