#pragma once

// The hand-off to the companion program, which follows the transcriber's
// position by reading four per-user values of section "Tressel" (written
// without the login-name suffix of the program's own sections). The
// companion is never started from here; it only reads.
//
// "~" stands for an empty value while the program runs; the empty text
// means that the program is not running. Callers pass cell texts trimmed;
// nothing is read back.
//
// The values go through one settings object of the user-interface thread:
// Qt writes its changes to the file together once the event loop turns, so
// a row moved costs no rewrite of the per-user file of its own, and the
// values still reach the file in the order they were set.

#include <QString>

#include <memory>

class QSettings;

class clsTressel
{
public:
    // YTQ, District and Saved become "~"; OldRow keeps what it held.
    clsTressel();
    // All four values become the empty text: the program has ended.
    ~clsTressel();

    clsTressel(const clsTressel &) = delete;
    clsTressel &operator=(const clsTressel &) = delete;

    // The batch key: year, event letter and quarter digit ("1900B1"); "~"
    // when empty.
    void setYTQ(const QString &text);
    // The current row: the district cell (district and volume) and the page
    // cell, "district,page"; "~" when the district is empty, the page part
    // "~" when the page is empty.
    void setDistrict(const QString &district, const QString &page);
    // The row just left: "label,district,page", the label and the page each
    // "~" when empty, an empty district left empty ("12,,0045"); "~" as a
    // whole when the district is exactly "~".
    void setOldRow(const QString &label, const QString &district, const QString &page);
    // The batch was saved: the batch file's path (Project's SavePath and
    // BatchName), today as "d/m", the time as "h:m", and "T" when the batch
    // had unsaved changes when the save began, else "F", joined by ",".
    void setSaved(bool unsavedBefore);

    // Writes every value set so far to the file at once.
    void flush();

    static QString section() { return QStringLiteral("Tressel"); }

private:
    void write(const QString &key, const QString &value);

    std::unique_ptr<QSettings> mSettings;
};
