#include "upload/UploadReply.h"

#include "core/VbHelpers.h"

namespace UploadReply {

namespace {

// What is taken from a reply is stored in the settings file: only what its
// format allows may pass, so that nothing else (a line break above all)
// reaches a file.
bool AllDigits(QStringView text)
{
    if (text.isEmpty())
        return false;
    for (const QChar c : text) {
        if (c < u'0' || c > u'9')
            return false;
    }
    return true;
}

bool IsHostName(QStringView text)
{
    if (text.isEmpty())
        return false;
    for (const QChar c : text) {
        const bool allowed = (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z')
                             || (c >= u'0' && c <= u'9') || c == u'.' || c == u'-';
        if (!allowed)
            return false;
    }
    return true;
}

} // namespace

bool HasSystemError(const QString &reply)
{
    return reply.contains(QLatin1String("Quorvel System Error"), Qt::CaseInsensitive);
}

qsizetype CompleteAt(const QString &reply)
{
    return reply.lastIndexOf(QLatin1String("</fileupload"), -1, Qt::CaseInsensitive);
}

qsizetype StartAt(const QString &reply)
{
    return reply.indexOf(QLatin1String("<FILEUPLOAD"), 0, Qt::CaseInsensitive);
}

QStringList Lines(const QString &reply, qsizetype start)
{
    return reply.mid(start).split(u'\n');
}

Result ResultOf(const QStringList &lines)
{
    if (lines.isEmpty())
        return Result::Unrecognised;
    const QString &first = lines.first();
    const auto is = [&](const char *text) {
        return first.compare(QLatin1String(text), Qt::CaseInsensitive) == 0;
    };
    if (is("<FILEUPLOAD RESULT=OK"))
        return Result::Ok;
    if (is("<FILEUPLOAD RESULT=WARNINGS"))
        return Result::Warnings;
    if (is("<FILEUPLOAD RESULT=FAILED"))
        return Result::Failed;
    return Result::Unrecognised;
}

std::optional<QString> ReasonOf(const QStringList &lines)
{
    if (lines.size() < 2 || !lines[1].startsWith(QLatin1String("REASON="), Qt::CaseInsensitive))
        return std::nullopt;
    QString reason = VbUCase(VbTrim(lines[1].mid(7)));
    reason.chop(1);
    return reason;
}

Block GetMessages(const QString &reply, QStringView name)
{
    Block block;
    const QString open = u'<' + name.toString();
    const QString close = QStringLiteral("</") + name.toString();
    const qsizetype start = reply.indexOf(open, 0, Qt::CaseInsensitive);
    if (start < 0)
        return block;
    block.startSeen = true;
    const qsizetype end = reply.indexOf(close, start + name.size(), Qt::CaseInsensitive);
    if (end < 0)
        return block;
    block.endSeen = true;
    QStringList pieces = reply.mid(start, end + close.size() - start).split(u'\n');
    if (pieces.size() > 2)
        block.lines = pieces.mid(1, pieces.size() - 2);
    return block;
}

UploadLink ParseUploadLink(const QString &text)
{
    UploadLink link;
    const qsizetype colon = text.indexOf(u':');
    if (colon < 0)
        return link;
    link.hasColon = true;
    link.host = text.left(colon);
    link.hostValid = IsHostName(VbTrim(link.host));
    // A whole number, perhaps with a fraction that is dropped ("80.9" is 80).
    const QString port = VbTrim(text.mid(colon + 1));
    qsizetype digits = 0;
    while (digits < port.size() && port[digits].isDigit() && port[digits].unicode() < 128)
        ++digits;
    bool rest = digits == port.size();
    if (!rest && port[digits] == u'.') {
        rest = true;
        for (qsizetype i = digits + 1; i < port.size(); ++i)
            rest = rest && port[i].unicode() < 128 && port[i].isDigit();
    }
    bool ok = false;
    const int value = port.left(digits).toInt(&ok);
    link.portValid = digits > 0 && digits <= 5 && rest && ok && value >= 1 && value <= 65535;
    link.port = link.portValid ? value : 0;
    return link;
}

Update ParseUpdate(const QString &reply, qsizetype replyStart)
{
    Update update;
    const qsizetype start = reply.indexOf(QLatin1String("<update "), replyStart);
    if (start < 0)
        return update;
    update.startSeen = true;
    const qsizetype end = reply.indexOf(QLatin1String("</update"), start + 7);
    if (end < 0)
        return update;
    update.endSeen = true;
    const qsizetype file
            = reply.indexOf(QLatin1String("pelkar/Districts.txt"), start, Qt::CaseInsensitive);
    if (file < 0)
        return update;
    const qsizetype key = reply.indexOf(QLatin1String(" key="), file);
    if (key < 0)
        return update;
    const qsizetype close = reply.indexOf(u'>', key + 5);
    // A key must close on its own line: one that runs on into the file's
    // lines is a broken reply, not a version. A reply with no line feed
    // after the key has nothing for it to run on into.
    const qsizetype lineEnd = reply.indexOf(u'\n', key);
    if (close < 0 || (lineEnd >= 0 && lineEnd < close)) {
        update.keyUnterminated = true;
        return update;
    }
    const QString version = reply.mid(key + 5, close - key - 5);
    if (!AllDigits(version)) {
        update.keyMalformed = true;
        return update;
    }
    update.keyFound = true;
    update.version = version;
    update.lines = GetMessages(reply, u"update").lines;
    return update;
}

std::optional<QString> UpdateKey(const QString &reply, QString *why)
{
    const auto missing = [&](const char *text) -> std::optional<QString> {
        if (why)
            *why = QLatin1String(text);
        return std::nullopt;
    };
    const qsizetype start = reply.indexOf(QLatin1String("<update "));
    if (start < 0)
        return missing("No <update found");
    const qsizetype key = reply.indexOf(QLatin1String(" key="), start);
    if (key < 0)
        return missing("No key= found");
    const qsizetype close = reply.indexOf(u'>', key + 5);
    const qsizetype lineEnd = reply.indexOf(u'\n', key);
    if (close < 0 || (lineEnd >= 0 && lineEnd < close))
        return missing("No end of key found");
    const QString version = reply.mid(key + 5, close - key - 5);
    if (!AllDigits(version))
        return missing("Key is not a number");
    return version;
}

} // namespace UploadReply
