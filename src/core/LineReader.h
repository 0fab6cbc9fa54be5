#pragma once

// Reading the program's text files: Windows-1252, lines ending in CR LF, LF
// or a lone CR. Files are written with CR LF.

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <optional>

class QIODevice;

class LineReader
{
public:
    // Reads the whole device at once; the device must be open for reading.
    explicit LineReader(QIODevice &device);
    explicit LineReader(const QByteArray &bytes);

    bool atEnd() const { return mPos >= mBytes.size(); }
    // The next line without its ending.
    QString readLine();
    // How many lines are left to read, empty ones included.
    qsizetype linesLeft() const;

private:
    QByteArray mBytes;
    qsizetype mPos = 0;
};

// All lines of a file; nullopt when it cannot be opened. A last line without
// an ending still counts; a file that ends with a line ending has no empty
// last line.
std::optional<QStringList> ReadTextLines(const QString &path);

// The lines joined, each followed by CR LF, in Windows-1252.
QByteArray JoinCrLf(const QStringList &lines);
