// The quoted-field splitters: comma and semicolon fields with quotes, the
// credit line's three fields, a district cell (a batch data line is split
// in fuzz_batch); and the code page all of them read through.

#include "FuzzSupport.h"

#include "core/TextHelpers.h"
#include "lists/Districts.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size == 0)
        return 0;
    const int count = data[0] % 10;
    const QByteArray bytes = Fuzz::bytes(data + 1, size - 1);
    const QString text = Cp1252::decode(bytes);
    // Every file the program shares is byte-exact: each byte is one
    // character and back.
    bool encoded = false;
    if (text.size() != bytes.size() || Cp1252::encode(text, &encoded) != bytes || !encoded)
        abort();
    for (const QChar sep : {QChar(u','), QChar(u';'), QChar(u'|')}) {
        const QStringList fields = SplitQuoted(text, sep);
        JoinUpTo(fields, count, QString(sep));
        for (const QString &field : fields)
            StripQuotes(field);
    }
    StripQuotes(text);
    QString first, second, third;
    SplitCsvFields(text, first, second, third);
    Districts::SplitDistrict(text);
    Districts::FindSeperator(text);
    Districts::CodeFormat(text);
    Districts::FromRoman(text);
    Districts::QuoteIfComma(text);
    return 0;
}
