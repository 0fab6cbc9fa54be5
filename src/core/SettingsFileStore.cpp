#include "core/SettingsFileStore.h"

#include "core/FileHelpers.h"
#include "core/LineReader.h"
#include "core/MessageWindows.h"
#include "core/Services.h"
#include "core/VbHelpers.h"

#include <QDateTime>
#include <QFileInfo>

#include <utility>

namespace {
// The settings file's lines as read, blank lines left out, leading blanks
// removed. Empty means that
// nothing has been loaded yet.
QStringList &held()
{
    static QStringList lines;
    return lines;
}

// The index of the first held line from start on that begins with text
// (trimmed; with "=" added for a key), compared without regard to case; -1
// when none does. A key search stops at the next section header, so that it
// never finds a key of the following section.
qsizetype FindIniLine(qsizetype start, const QString &text, bool isKey)
{
    QString wanted = VbTrim(text);
    if (isKey)
        wanted += u'=';
    const QStringList &lines = held();
    for (qsizetype i = qMax<qsizetype>(start, 0); i < lines.size(); ++i) {
        const QString &line = lines.at(i);
        if (isKey && line.startsWith(u'['))
            return -1;
        if (line.startsWith(wanted, Qt::CaseInsensitive))
            return i;
    }
    return -1;
}

QString sectionHeader(const QString &section)
{
    return u'[' + section + u']';
}
} // namespace

QString GetProfileString(const QString &path, const QString &section, const QString &key,
                         const QString &defaultValue, bool *ok)
{
    if (ok)
        *ok = true;
    if (held().isEmpty() && !OpenINI(path)) {
        if (ok)
            *ok = false;
        return QString();
    }
    const qsizetype header = FindIniLine(0, sectionHeader(section), false);
    if (header < 0)
        return defaultValue;
    const qsizetype line = FindIniLine(header + 1, key, true);
    if (line < 0)
        return defaultValue;
    const QString &text = held().at(line);
    return text.mid(text.indexOf(u'=') + 1);
}

void WriteProfileString(const QString &, const QString &section, const QString &key,
                        const QString &value)
{
    // A line break would write lines of its own into the file, which the
    // next start reads as keys.
    const auto breaks = [](const QString &text) {
        return text.contains(u'\r') || text.contains(u'\n');
    };
    if (breaks(section) || breaks(key) || breaks(value))
        return;
    QStringList &lines = held();
    const QString newLine = VbTrim(key) + u'=' + value;
    const qsizetype header = FindIniLine(0, sectionHeader(section), false);
    if (header < 0) {
        lines.append(sectionHeader(section));
        lines.append(newLine);
        return;
    }
    const qsizetype line = FindIniLine(header + 1, key, true);
    if (line >= 0) {
        lines[line] = newLine;
        return;
    }
    const qsizetype next = FindIniLine(header + 1, QStringLiteral("["), false);
    if (next < 0)
        lines.append(newLine);
    else
        lines.insert(next, newLine);
}

bool WriteProfileSection(const QString &section, const QString &firstLine, const QString &path)
{
    if (FindIniLine(0, sectionHeader(section), false) < 0) {
        held().append(sectionHeader(section));
        if (!firstLine.isEmpty())
            held().append(firstLine);
    }
    return SaveiniFile(path);
}

bool SaveiniFile(const QString &path)
{
    QStringList out;
    out.reserve(held().size() * 2);
    for (const QString &line : std::as_const(held())) {
        // The line of one space sets sections apart for a reader of the file;
        // loading drops it again.
        if (line.startsWith(u'['))
            out.append(QStringLiteral(" "));
        out.append(VbLTrim(line));
    }

    // Every save of a batch saves the settings too; when nothing changed
    // since this run last wrote the file, and the file is still the one it
    // wrote, the same bytes need not be written again.
    static struct
    {
        QString path;
        QByteArray bytes;
        QDateTime modified;
        qint64 size = -1;
    } last;
    QByteArray bytes = JoinCrLf(out);
    if (path == last.path && bytes == last.bytes) {
        const QFileInfo file(path);
        if (file.exists() && file.size() == last.size && file.lastModified() == last.modified)
            return true;
    }

    QString failure;
    // The file holds the password the uploads send.
    const bool saved = WritePrivateFileWhole(path, bytes, &failure);
    if (!saved) {
        last.path.clear();
        ShowMessage(QStringLiteral("Error in SaveiniFile ") + failure, Mb::Critical);
        return false;
    }
    const QFileInfo written(path);
    last.path = path;
    last.bytes = std::move(bytes);
    last.modified = written.lastModified();
    last.size = written.size();
    return true;
}

bool OpenINI(const QString &path)
{
    QStringList &lines = held();
    lines.clear();
    const std::optional<QStringList> read = ReadTextLines(path);
    if (!read)
        return false;
    // Held as a save writes them, without leading blanks: a line indented
    // by hand would otherwise be hidden from this run (a key not found, a
    // section header taken for part of the section before it) yet seen by
    // the next, after the save removed its blanks, and the values this run
    // wrote past it would be lost.
    for (const QString &line : *read) {
        if (!VbTrim(line).isEmpty())
            lines.append(VbLTrim(line));
    }
    return true;
}

void ClearIniStore()
{
    held().clear();
}

QStringList HeldIniLines()
{
    return held();
}
