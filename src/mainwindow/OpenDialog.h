#pragma once

// The program's file and folder choosers, each with its own title, filter,
// starting folder and preset name, all through the dialog service. The
// folder browser itself is BrowseForFolder (core/FolderChoice.h).

#include <QString>

// The batch file to open, starting in the save folder. Returns true with
// the chosen path; on cancel returns false and path is empty. Choosing a
// ".ZEL" file (any case) turns the Lumivark naming option off, since such a
// file is not named the Lumivark way.
bool OpenInputFileDialog(QString &path);

// The name to save the batch under (Save As), starting in the save folder
// with the batch name preset. Returns as OpenInputFileDialog. Whether the
// file exists is the caller's question.
bool SaveFileDialog(QString &path);

// A scan image, starting in the scan folder: the stored scan folder, or
// the data folder when none is stored or the stored one is gone (the data
// folder is then stored). A choice stores its folder as the scan folder and
// saves the settings; a cancel changes nothing. Returns as above.
bool SelectScanFileDialog(QString &path);

// A supplementary district file, starting in the folder of the present
// path with its name preset. A name that does not exist yet may be chosen;
// the file is then created empty. Returns the chosen path, or an empty text
// when cancelled or when the new file could not be created (the transcriber
// is told).
QString bOpenSuppFile(const QString &presentPath);

// The save folder (Define Save Path): the folder browser opens on the
// present save folder. A choice becomes the save folder and the settings
// are saved. Returns false when cancelled (nothing changes).
bool DefineSavePath();

// The desktop's special folders by their old numbers: 0 and 16 the desktop,
// 5 the documents folder, 26 the per-user application data, 35 the
// program's system files. Returns the path ending in a separator, or empty:
// an unknown number or a folder that does not exist is reported (both go
// on once OK is pressed).
QString GetSpecialFolderPath(int folderId);
