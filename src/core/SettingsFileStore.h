#pragma once

// The lines of the settings file, held in memory for the whole run. The
// first read loads them from the path it is given; from then on every read
// and write works on the held lines whatever path is passed, and writing
// changes only the held lines until SaveiniFile writes them out.

#include <QString>
#include <QStringList>

// The value of key in section: everything after the line's first "=",
// untrimmed; defaultValue when the section or the key is missing. Sections
// and keys are found without regard to case. ok (when given) is set false
// when the file had to be loaded and could not be read; the result is then
// empty.
QString GetProfileString(const QString &path, const QString &section, const QString &key,
                         const QString &defaultValue, bool *ok = nullptr);

// Sets key=value in section (the key trimmed, the value as given): replaces
// the key's line, or adds it at the end of its section, or adds the section
// with the key at the end of the file. A section, key or value holding a
// CR or LF is never written: the held lines stay as they were.
void WriteProfileString(const QString &path, const QString &section, const QString &key,
                        const QString &value);

// Adds the section (and firstLine, when not empty) at the end when it is
// missing, then saves the held lines to path. Returns SaveiniFile's result.
bool WriteProfileSection(const QString &section, const QString &firstLine, const QString &path);

// Writes the held lines to path, one space line before each section header,
// lines ending CR LF, in Windows-1252, through a temporary file: returns
// false (after telling the transcriber) when the file could not be written;
// the old file is then untouched.
bool SaveiniFile(const QString &path);

// Replaces the held lines with the non-blank lines of the file, leading
// blanks removed (as a save writes them). Returns
// false when the file cannot be read; the store is then empty.
bool OpenINI(const QString &path);

// Forgets the held lines, so that the next read loads a file again.
void ClearIniStore();
// The held lines (tests, the migration's report).
QStringList HeldIniLines();
