#pragma once

// The district file at its real size for the benchmarks: 5,000 lines,
// initials spread as in real place names, periods and volume columns
// varied, as "Pelkar_Districts.txt" stores them.

#include "core/LineReader.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <array>
#include <random>

namespace GeneratedDistricts {
inline constexpr int kDistrictLines = 5000;

// Initials weighted roughly as English and Welsh district names are.
inline const std::array<const char *, 26> kStems = {
        "Ashby",    "Barton",   "Castle",   "Dunmow",   "Eastry",   "Fareham", "Glanford",
        "Hatfield", "Ilkeston", "Jarrow",   "Kingston", "Llanelly", "Marlow",  "Newport",
        "Oakham",   "Penrith",  "Quatford", "Redruth",  "Stanford", "Thorne",  "Upton",
        "Ventnor",  "Walton",   "Xenfield", "Yeovil",   "Zeals",
};
inline const std::array<int, 26> kWeights
        = {6, 10, 7, 4, 4, 3, 3, 8, 1, 1, 3, 6, 7, 5, 2, 5, 1, 5, 11, 4, 2, 1, 8, 1, 1, 1};

inline QString volume(std::mt19937 &random)
{
    return QString::number(1 + random() % 30) + QChar(u'A' + int(random() % 4));
}

// The district file's bytes, CR LF lines, the same at every call.
inline QByteArray districtFileBytes()
{
    std::mt19937 random(1837);
    std::discrete_distribution<int> initial(kWeights.begin(), kWeights.end());
    QStringList lines{QStringLiteral("# Generated district file")};
    for (int i = 0; i < kDistrictLines; ++i) {
        const int letter = initial(random);
        const QString name = QString::fromLatin1(kStems[letter])
                + (random() % 3 == 0 ? QStringLiteral("-on-") : QStringLiteral(" "))
                + QString::number(i);
        const int first = 1837 + int(random() % 120);
        const int last = first + 20 + int(random() % 150);
        QStringList volumes;
        for (int period = 0; period < 5; ++period)
            volumes << (random() % 5 == 0 ? QStringLiteral("0") : volume(random));
        lines << name + u'|' + QString::number(first) + u'|' + QString::number(1 + random() % 4)
                        + u'|' + QString::number(last) + u'|' + QString::number(1 + random() % 4)
                        + u'|' + volumes.join(u'|');
    }
    return JoinCrLf(lines);
}
} // namespace GeneratedDistricts
