#pragma once

// The folder browser, through the dialog service.

#include <QString>

// Lets the transcriber pick a folder, titled "Pelkar - Select Folder". The
// browser opens on path; when path is shorter than two characters it opens
// on the documents folder if startKeyword is "MyDocs", else on the desktop.
// Returns true with the chosen folder in path; on cancel returns false and
// path is empty.
bool BrowseForFolder(QString &path, const QString &startKeyword);
