#pragma once

// Windows-1252 text, one byte to one character and back. Every byte maps
// to a character (the five bytes Windows-1252 leaves unassigned map to the
// control characters of the same code), so that a byte string decodes and
// encodes back to itself and byte length always equals text length.

#include <QByteArray>
#include <QString>

namespace Cp1252 {
QString decode(const QByteArray &bytes);

// Characters that Windows-1252 cannot hold become "?"; ok (when given) is
// set false if any did.
QByteArray encode(const QString &text, bool *ok = nullptr);
// The same, appended to bytes (no buffer of its own per call).
void appendEncoded(QByteArray &bytes, QStringView text, bool *ok = nullptr);

// Whether the character can be stored in a file.
bool canEncode(QChar c);
// Whether the whole text can be; pos (when given) receives the index of the
// first character that cannot, or -1 when every character can.
bool canEncode(const QString &text, int *pos = nullptr);
} // namespace Cp1252
