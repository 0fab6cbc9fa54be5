#pragma once

// File and folder tests and operations. Paths are native paths; no
// separator is written by hand.

#include <QByteArray>
#include <QString>

// True when a file or folder matches the path; "*" and "?" in the last
// component match as wildcards.
bool FileExists(const QString &path);

// True when the path (trimmed of spaces, one trailing separator dropped)
// names an existing folder. When it names a file instead, warns the
// transcriber through ShowMessage that a file stands where a folder is
// needed. Never creates anything.
bool FolderExists(const QString &path);

// There are no drive letters here: true when the path names an existing
// folder (the root, for example).
bool DriveExists(const QString &drive);

// True when the file existed and was deleted.
bool DeleteFileIfExists(const QString &path);

// Moves or renames a file, replacing an existing target. Returns false when
// the move failed; the source is then left where it was.
bool MoveFileReplacing(const QString &from, const QString &to);

// Copies a file over an existing target, through a temporary file so that an
// interrupted copy leaves the old target whole. Returns false on failure.
bool CopyFileOver(const QString &from, const QString &to);

// Writes the bytes as the whole new content of the file, through a
// temporary file renamed over it, so that an interrupted or failed write
// leaves the old file whole. Returns false on failure, with the reason in
// error (when given).
bool WriteFileWhole(const QString &path, const QByteArray &bytes, QString *error = nullptr);

// As WriteFileWhole, for a file that may hold a password or the
// transcriber's work: a new file is readable and writable by its owner
// only; an existing file keeps its mode.
bool WritePrivateFileWhole(const QString &path, const QByteArray &bytes, QString *error = nullptr);

// As WriteFileWhole, but through a temporary file of the program's own name
// beside the target: the target's name, SaveTempMark() and six letters or
// digits. It is flushed to the disk before it is renamed over the target, so
// the old file stays whole until the new one takes its place. A temporary
// file left by a save cut short is recognised by RemoveSaveLeftovers.
bool WriteFileWholeMarked(const QString &path, const QByteArray &bytes, QString *error = nullptr);

// ".pelkar-save-": the mark in the name of WriteFileWholeMarked's temporary file.
QString SaveTempMark();

// Removes from the folder the temporary files that saves through
// WriteFileWholeMarked left when they were cut short (the program killed,
// the machine stopped). Nothing else is touched. Returns how many went.
int RemoveSaveLeftovers(const QString &folder);

// Short (8.3) path components do not exist here: returns the path unchanged.
QString GetLongPath(const QString &path);

// True when the shared library can be loaded and exports the named function.
bool DllHasFunction(const QString &library, const QString &function);
