#pragma once

// Splitting and unquoting of comma-separated text. The district file, the
// batch file's header and data lines, the +CREDIT line and the paste-text
// list share this quoting: a field may be wrapped in double quotes, and a
// separator inside quotes does not split.

#include <QString>
#include <QStringList>
#include <QStringView>
#include <QVarLengthArray>

// The fields of text split at sep; only sep splits, and never inside double
// quotes. Each field passes through StripQuotes. An empty text gives no fields.
QStringList SplitQuoted(const QString &text, QChar sep);

// SplitQuoted's fields as views on text, which must outlive them: for a
// reader that keeps few of a line's fields and need not copy the others.
using QuotedFields = QVarLengthArray<QStringView, 16>;
QuotedFields SplitQuotedViews(QStringView text, QChar sep);

// A field that, trimmed of spaces, starts and ends with a double quote loses
// the pair (repeatedly; spaces inside the quotes stay). A field that starts
// with a quote but does not end with one comes back trimmed. Any other field,
// a lone double quote included, comes back exactly as given.
QString StripQuotes(const QString &field);

// The second, third and fourth fields of a comma-separated line (the first,
// the line's tag, is skipped), split as SplitQuoted does and trimmed; a
// missing field gives "".
void SplitCsvFields(const QString &line, QString &first, QString &second, QString &third);

// The elements of parts from the first up to index last, joined with sep.
QString JoinUpTo(const QStringList &parts, int last, const QString &sep);

inline int MaxLong(int a, int b) { return a > b ? a : b; }
inline int MinLong(int a, int b) { return a < b ? a : b; }
