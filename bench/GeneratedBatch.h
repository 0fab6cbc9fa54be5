#pragma once

// A births batch of a chosen size for the benchmarks: the header of the
// tests' fixture "1905B1A0012.ZEL", then generated entries in surname
// order, a "+PAGE" line every 30 entries and a comment line every 1,000.

#include "core/LineReader.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <array>
#include <random>

namespace GeneratedBatch {

// The file name the batch's header gives it.
inline QString fileName()
{
    return QStringLiteral("1905B1A0012.ZEL");
}

// The batch file's bytes, CR LF lines, the same at every call.
inline QByteArray birthsBatchBytes(int entries)
{
    static const std::array<const char *, 16> syllables = {
            "AB", "BAR", "COL", "DEN", "ED", "FAR", "GRE", "HAL",
            "ING", "JON", "KER", "LEW", "MOR", "NASH", "OW", "PER",
    };
    static const std::array<const char *, 12> forenames = {
            "Ann",      "David",    "Elizabeth", "George", "Jane",   "John",
            "Margaret", "Mary Ann", "Robert",    "Sarah",  "Thomas", "William",
    };
    static const std::array<const char *, 4> districts = {"Leeds,9b", "Bath,5c", "Ashford,2a",
                                                          "\"Leeds, West\",9b"};
    std::mt19937 random(1905);
    QStringList names;
    names.reserve(entries);
    for (int i = 0; i < entries; ++i) {
        QString surname;
        for (int s = 0; s < 3; ++s)
            surname += QString::fromLatin1(syllables[random() % syllables.size()]);
        names << surname;
    }
    names.sort();
    QStringList lines{
            QStringLiteral("+INFO,ann@example.org,Password,SEQUENCED,BIRTHS"),
            QStringLiteral("#,9z,Ann Smith,Wessex,1905B1A0012.ZEL,2-Mar-2026,Y,N,N,A,12,7.4"),
            QStringLiteral("#,"),
            QStringLiteral("+F,1905,Mar,,12,Fiche 12,14-Mar-2026"),
    };
    int page = 11;
    for (int i = 0; i < entries; ++i) {
        if (i % 30 == 0)
            lines << QStringLiteral("+PAGE,%1").arg(++page);
        if (i % 1000 == 500)
            lines << QStringLiteral("# faded ink");
        lines << names.at(i) + u',' + QString::fromLatin1(forenames[random() % forenames.size()])
                         + u',' + QString::fromLatin1(districts[random() % districts.size()])
                         + u',' + QString::number(page);
    }
    return JoinCrLf(lines);
}

} // namespace GeneratedBatch
