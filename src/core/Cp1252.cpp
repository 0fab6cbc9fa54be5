#include "core/Cp1252.h"

#include <array>

namespace {
// Bytes 0x80 to 0x9F. The five bytes Windows-1252 leaves unassigned keep the
// control character of the same code, so that every byte survives a round trip.
constexpr std::array<char16_t, 32> kHigh = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, // 80-87
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F, // 88-8F
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014, // 90-97
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178, // 98-9F
};

constexpr std::array<char16_t, 256> makeDecodeTable()
{
    std::array<char16_t, 256> table{};
    for (int b = 0; b < 256; ++b)
        table[b] = (b >= 0x80 && b <= 0x9F) ? kHigh[b - 0x80] : char16_t(b);
    return table;
}

constexpr std::array<char16_t, 256> kDecode = makeDecodeTable();

// For characters below U+0100: the byte, or -1 when there is none (the
// C1 controls whose bytes Windows-1252 gives to other characters).
constexpr std::array<short, 256> makeLowEncodeTable()
{
    std::array<short, 256> table{};
    for (int c = 0; c < 256; ++c)
        table[c] = (c >= 0x80 && c <= 0x9F) ? short(-1) : short(c);
    for (int b = 0x80; b <= 0x9F; ++b) {
        if (kHigh[b - 0x80] < 0x100)
            table[kHigh[b - 0x80]] = short(b);
    }
    return table;
}

constexpr std::array<short, 256> kEncodeLow = makeLowEncodeTable();

// The byte for a character, or -1 when Windows-1252 cannot hold it.
inline int byteFor(char16_t c)
{
    if (c < 0x100)
        return kEncodeLow[c];
    for (int i = 0; i < 32; ++i) {
        if (kHigh[i] == c)
            return 0x80 + i;
    }
    return -1;
}
} // namespace

namespace Cp1252 {
QString decode(const QByteArray &bytes)
{
    QString text(bytes.size(), Qt::Uninitialized);
    auto *out = reinterpret_cast<char16_t *>(text.data());
    const auto *in = reinterpret_cast<const unsigned char *>(bytes.constData());
    const qsizetype size = bytes.size();
    for (qsizetype i = 0; i < size; ++i)
        out[i] = kDecode[in[i]];
    return text;
}

namespace {
// Encodes size characters into out; false if any became "?".
bool encodeInto(const char16_t *in, qsizetype size, char *out)
{
    bool all = true;
    for (qsizetype i = 0; i < size; ++i) {
        const int b = byteFor(in[i]);
        if (b < 0) {
            out[i] = '?';
            all = false;
        } else {
            out[i] = char(b);
        }
    }
    return all;
}
} // namespace

QByteArray encode(const QString &text, bool *ok)
{
    QByteArray bytes(text.size(), Qt::Uninitialized);
    const bool all = encodeInto(reinterpret_cast<const char16_t *>(text.constData()), text.size(),
                                bytes.data());
    if (ok)
        *ok = all;
    return bytes;
}

void appendEncoded(QByteArray &bytes, QStringView text, bool *ok)
{
    const qsizetype at = bytes.size();
    bytes.resize(at + text.size());
    const bool all = encodeInto(text.utf16(), text.size(), bytes.data() + at);
    if (ok)
        *ok = all;
}

bool canEncode(QChar c)
{
    return byteFor(c.unicode()) >= 0;
}

bool canEncode(const QString &text, int *pos)
{
    const qsizetype size = text.size();
    for (qsizetype i = 0; i < size; ++i) {
        if (byteFor(text[i].unicode()) < 0) {
            if (pos)
                *pos = int(i);
            return false;
        }
    }
    if (pos)
        *pos = -1;
    return true;
}
} // namespace Cp1252
