#pragma once

// Reading the upload server's reply: the buffer holds everything received
// since the connection was made (HTTP status line and headers included, not
// interpreted); the tagged reply starts at "<FILEUPLOAD". Positions are
// 0-based indexes into the buffer, in characters (one per byte received).

#include <QString>
#include <QStringList>

#include <optional>

namespace UploadReply {

// "Quorvel System Error" anywhere, in any case.
bool HasSystemError(const QString &reply);
// Position of the last "</fileupload" (any case), -1 while the reply is not complete.
qsizetype CompleteAt(const QString &reply);
// Position of the first "<FILEUPLOAD" (any case), -1 when there is none.
qsizetype StartAt(const QString &reply);

// The reply's lines from its start, split at line feeds; a carriage return
// before a line feed stays part of the line.
QStringList Lines(const QString &reply, qsizetype start);

enum class Result { Unrecognised, Ok, Warnings, Failed };
// The first line, compared whole without regard to case.
Result ResultOf(const QStringList &lines);

// The reason of a FAILED reply, upper-cased and without its closing ">";
// nullopt when the second line has no "REASON=".
std::optional<QString> ReasonOf(const QStringList &lines);

// A tagged block: the lines strictly between the line of "<name" and the
// line of "</name".
struct Block
{
    bool startSeen = false;
    bool endSeen = false;
    QStringList lines;
    // The lines joined with CR LF, none after the last.
    QString content() const { return lines.join(QStringLiteral("\r\n")); }
};
Block GetMessages(const QString &reply, QStringView name);

// The uploadlink value: "host:port".
struct UploadLink
{
    bool hasColon = false; // without one the value changes nothing
    bool portValid = false; // a port that is not a whole number from 1 to 65535 is unreadable
    bool hostValid = false; // letters, digits, "." and "-" only (blanks around it allowed)
    QString host;
    int port = 0;
};
UploadLink ParseUploadLink(const QString &text);

// The update block's opening line and content, searched from the reply's start.
struct Update
{
    bool startSeen = false;    // "<update " found
    bool endSeen = false;      // "</update" found after it
    bool keyFound = false;     // the opening names the district file and carries " key="
    bool keyUnterminated = false; // " key=" without a ">" on its line: a broken reply
    bool keyMalformed = false; // a key that is not a run of digits: a broken reply
    QString version;
    QStringList lines;         // the new district file's lines
};
Update ParseUpdate(const QString &reply, qsizetype replyStart);

// The version named by the first "<update " ... " key=" ... ">" in the whole
// reply, without requiring the district file's name; nullopt when any part
// is missing or the key is not a run of digits. why (when given) gets the log text of what was missing.
std::optional<QString> UpdateKey(const QString &reply, QString *why = nullptr);

} // namespace UploadReply
