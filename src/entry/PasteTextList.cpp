#include "entry/PasteTextList.h"

#include "core/Cp1252.h"
#include "core/TextHelpers.h"

namespace {
constexpr QChar kQuote = u'"';

bool isControl(QChar c)
{
    return c.category() == QChar::Other_Control;
}

QString withoutControls(const QString &text)
{
    QString out;
    out.reserve(text.size());
    for (const QChar c : text) {
        if (!isControl(c))
            out.append(c);
    }
    return out;
}

bool allBlank(const QString &text)
{
    for (const QChar c : text) {
        if (c != u' ')
            return false;
    }
    return true;
}
} // namespace

PasteTextList::PasteTextList() : mTexts(kCount) {}

void PasteTextList::SetList(const QString &stored)
{
    const QStringList fields = SplitQuoted(stored, u',');
    for (int i = 0; i < kCount; ++i) {
        const QString text = WithoutDoubleQuotes(withoutControls(fields.value(i)));
        mTexts[i] = allBlank(text) ? QString() : text;
    }
}

QString PasteTextList::GetList() const
{
    QStringList quoted;
    quoted.reserve(kCount);
    for (const QString &text : mTexts)
        quoted.append(kQuote + WithoutDoubleQuotes(text) + kQuote);
    return quoted.join(u',');
}

QString PasteTextList::GetItem(int n) const
{
    if (n < 1 || n > kCount)
        return QString();
    return mTexts.at(n - 1);
}

void PasteTextList::setItem(int n, const QString &text)
{
    if (n >= 1 && n <= kCount)
        mTexts[n - 1] = allBlank(text) ? QString() : text;
}

QString PasteTextList::Line(int n) const
{
    return QString::number(n) + QStringLiteral(". ") + GetItem(n);
}

QString PasteTextList::WithoutDoubleQuotes(const QString &text)
{
    QString out = text;
    out.remove(kQuote);
    return out;
}

QString PasteTextList::Refusal(int n, const QString &text)
{
    for (const QChar c : text) {
        if (isControl(c)) {
            return QStringLiteral("Item #%1 can only hold one line of text, without tabs or "
                                  "line breaks, so it was not changed.")
                .arg(n);
        }
    }
    int pos = -1;
    if (!Cp1252::canEncode(text, &pos)) {
        return QStringLiteral("Pelkar can't store the character \"%1\" in its files, so item "
                              "#%2 was not changed.")
            .arg(text.mid(pos, text.at(pos).isHighSurrogate() ? 2 : 1))
            .arg(n);
    }
    return QString();
}
