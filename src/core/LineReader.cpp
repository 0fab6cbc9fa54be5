#include "core/LineReader.h"

#include "core/Cp1252.h"

#include <QFile>
#include <QIODevice>

LineReader::LineReader(QIODevice &device) : mBytes(device.readAll()) {}

LineReader::LineReader(const QByteArray &bytes) : mBytes(bytes) {}

qsizetype LineReader::linesLeft() const
{
    qsizetype lines = 0;
    const qsizetype size = mBytes.size();
    for (qsizetype i = mPos; i < size; ++i) {
        const char c = mBytes.at(i);
        if (c == '\n' || (c == '\r' && (i + 1 >= size || mBytes.at(i + 1) != '\n')))
            ++lines;
    }
    // A last line without an ending.
    if (size > mPos && mBytes.back() != '\n' && mBytes.back() != '\r')
        ++lines;
    return lines;
}

QString LineReader::readLine()
{
    const char *data = mBytes.constData();
    const qsizetype size = mBytes.size();
    qsizetype end = mPos;
    while (end < size && data[end] != '\r' && data[end] != '\n')
        ++end;

    // A view on the buffer: only the decoded line is allocated.
    const QString line = Cp1252::decode(QByteArray::fromRawData(data + mPos, end - mPos));

    mPos = end;
    if (mPos < size) {
        if (data[mPos] == '\r' && mPos + 1 < size && data[mPos + 1] == '\n')
            mPos += 2;
        else
            ++mPos;
    }
    return line;
}

std::optional<QStringList> ReadTextLines(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    LineReader reader(file);
    QStringList lines;
    while (!reader.atEnd())
        lines.append(reader.readLine());
    return lines;
}

QByteArray JoinCrLf(const QStringList &lines)
{
    qsizetype total = 0;
    for (const QString &line : lines)
        total += line.size() + 2;
    QByteArray bytes;
    bytes.reserve(total);
    for (const QString &line : lines) {
        Cp1252::appendEncoded(bytes, line);
        bytes.append("\r\n", 2);
    }
    return bytes;
}
