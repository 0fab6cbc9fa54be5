#include "core/TextHelpers.h"

#include <QStringView>

namespace {
constexpr QChar kQuote = u'"';

QStringView trimSpaces(QStringView s)
{
    qsizetype start = 0;
    qsizetype end = s.size();
    while (start < end && s[start] == u' ')
        ++start;
    while (end > start && s[end - 1] == u' ')
        --end;
    return s.sliced(start, end - start);
}

// Works on views so that splitting a line costs one allocation per field.
QStringView stripQuotesView(QStringView field)
{
    QStringView current = field;
    for (;;) {
        const QStringView trimmed = trimSpaces(current);
        if (trimmed.isEmpty() || trimmed.front() != kQuote)
            return current;
        // A lone quote has no pair to lose.
        if (trimmed.size() == 1)
            return current;
        if (trimmed.back() != kQuote)
            return trimmed;
        current = trimmed.sliced(1, trimmed.size() - 2);
    }
}

QString toFieldString(const QString &whole, QStringView part)
{
    // The whole text as one field keeps sharing its data.
    if (part.size() == whole.size())
        return whole;
    return part.toString();
}
} // namespace

QuotedFields SplitQuotedViews(QStringView text, QChar sep)
{
    QuotedFields fields;
    if (text.isEmpty())
        return fields;

    bool inQuotes = false;
    qsizetype start = 0;
    const qsizetype size = text.size();
    for (qsizetype i = 0; i < size; ++i) {
        const QChar c = text[i];
        if (c == kQuote)
            inQuotes = !inQuotes;
        else if (c == sep && !inQuotes) {
            fields.append(stripQuotesView(text.sliced(start, i - start)));
            start = i + 1;
        }
    }
    fields.append(stripQuotesView(text.sliced(start)));
    return fields;
}

QStringList SplitQuoted(const QString &text, QChar sep)
{
    const QuotedFields views = SplitQuotedViews(text, sep);
    QStringList fields;
    fields.reserve(views.size());
    // Only a text of one field can give a field as long as itself.
    for (const QStringView field : views)
        fields.append(toFieldString(text, field));
    return fields;
}

QString StripQuotes(const QString &field)
{
    return toFieldString(field, stripQuotesView(field));
}

void SplitCsvFields(const QString &line, QString &first, QString &second, QString &third)
{
    const QStringList fields = SplitQuoted(line, u',');
    first = trimSpaces(fields.value(1)).toString();
    second = trimSpaces(fields.value(2)).toString();
    third = trimSpaces(fields.value(3)).toString();
}

QString JoinUpTo(const QStringList &parts, int last, const QString &sep)
{
    if (last < 0 || parts.isEmpty())
        return QString();
    if (last >= parts.size())
        return parts.join(sep);
    return parts.first(last + 1).join(sep);
}
