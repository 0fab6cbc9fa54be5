#include "core/VbHelpers.h"

#include "core/Services.h"

#include <cmath>
#include <limits>

long long VbRound(double value)
{
    // nearbyint rounds halves to even in the default rounding mode, as the
    // data were written; qRound would take them away from zero.
    const double r = std::nearbyint(value);
    if (std::isnan(r))
        return 0;
    constexpr auto lo = std::numeric_limits<long long>::min();
    constexpr auto hi = std::numeric_limits<long long>::max();
    if (r <= static_cast<double>(lo))
        return lo;
    if (r >= static_cast<double>(hi))
        return hi;
    return static_cast<long long>(r);
}

namespace {
qsizetype firstNonSpace(const QString &s)
{
    qsizetype i = 0;
    while (i < s.size() && s[i] == u' ')
        ++i;
    return i;
}

qsizetype endWithoutSpaces(const QString &s, qsizetype from)
{
    qsizetype end = s.size();
    while (end > from && s[end - 1] == u' ')
        --end;
    return end;
}

template<typename Map>
QString mapEachCharacter(const QString &s, Map map)
{
    // Reads from s and writes into a copy made at the first change, so that
    // a text with nothing to change is returned shared, never copied.
    const qsizetype size = s.size();
    const auto *in = reinterpret_cast<const char16_t *>(s.constData());
    QString out;
    char16_t *changed = nullptr;
    const auto put = [&](qsizetype i, char16_t unit) {
        if (!changed) {
            out = QString(s.constData(), size);
            changed = reinterpret_cast<char16_t *>(out.data());
        }
        changed[i] = unit;
    };
    for (qsizetype i = 0; i < size; ++i) {
        const char16_t c = in[i];
        if (QChar::isHighSurrogate(c) && i + 1 < size && QChar::isLowSurrogate(in[i + 1])) {
            // A character outside the first plane keeps its two code units.
            const char32_t code = QChar::surrogateToUcs4(c, in[i + 1]);
            const char32_t mapped = map(code);
            if (mapped != code && QChar::requiresSurrogates(mapped)) {
                put(i, QChar::highSurrogate(mapped));
                put(i + 1, QChar::lowSurrogate(mapped));
            }
            ++i;
            continue;
        }
        const char32_t mapped = map(char32_t(c));
        if (mapped != c && !QChar::requiresSurrogates(mapped))
            put(i, char16_t(mapped));
    }
    return changed ? out : s;
}
} // namespace

QString VbTrim(const QString &s)
{
    const qsizetype start = firstNonSpace(s);
    const qsizetype end = endWithoutSpaces(s, start);
    if (start == 0 && end == s.size())
        return s;
    return s.mid(start, end - start);
}

QString VbLTrim(const QString &s)
{
    const qsizetype start = firstNonSpace(s);
    return start == 0 ? s : s.mid(start);
}

QString VbRTrim(const QString &s)
{
    const qsizetype end = endWithoutSpaces(s, 0);
    return end == s.size() ? s : s.left(end);
}

bool VbUCaseStartsWith(QStringView text, QLatin1String word)
{
    if (text.size() < word.size())
        return false;
    // No character outside the first plane upper-cases to ASCII, so each
    // code unit can be mapped alone.
    for (qsizetype i = 0; i < word.size(); ++i) {
        if (QChar::toUpper(char32_t(text[i].unicode())) != char32_t(word[i].unicode()))
            return false;
    }
    return true;
}

QString VbUCase(const QString &s)
{
    // QString::toUpper applies full case mapping ("ß" -> "SS"); the program's
    // texts must keep their length, so each character maps alone.
    // Most texts are ASCII, whose mapping needs no look-up in the tables.
    return mapEachCharacter(s, [](char32_t c) -> char32_t {
        if (c < 0x80)
            return c >= u'a' && c <= u'z' ? c - 0x20 : c;
        return QChar::toUpper(c);
    });
}

QString VbLCase(const QString &s)
{
    return mapEachCharacter(s, [](char32_t c) -> char32_t {
        if (c < 0x80)
            return c >= u'A' && c <= u'Z' ? c + 0x20 : c;
        return QChar::toLower(c);
    });
}

QColor ColorFromVb(std::uint32_t vbColour)
{
    return QColor(int(vbColour & 0xFF), int((vbColour >> 8) & 0xFF), int((vbColour >> 16) & 0xFF));
}

std::uint32_t ColorToVb(const QColor &colour)
{
    const QColor rgb = colour.toRgb();
    return std::uint32_t(rgb.red()) | (std::uint32_t(rgb.green()) << 8)
           | (std::uint32_t(rgb.blue()) << 16);
}

int TwipsToPixelsX(double twips)
{
    return int(VbRound(twips / Services::screen().twipsPerPixelX()));
}

int TwipsToPixelsY(double twips)
{
    return int(VbRound(twips / Services::screen().twipsPerPixelY()));
}

int PixelsToTwipsX(double pixels)
{
    return int(VbRound(pixels * Services::screen().twipsPerPixelX()));
}

int PixelsToTwipsY(double pixels)
{
    return int(VbRound(pixels * Services::screen().twipsPerPixelY()));
}
