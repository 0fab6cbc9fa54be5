#pragma once

// The forename list at its real size for the benchmarks: 30,000 generated
// names with the starts forenames have, a hundred of them marked
// most-common, as the name file stores them.

#include "core/LineReader.h"

#include <QSet>
#include <QString>
#include <QStringList>

#include <algorithm>
#include <array>
#include <random>

namespace GeneratedForenames {
inline constexpr int kNames = 30000;
inline constexpr int kTopNames = 100;

// Name starts weighted roughly as forenames are: many J, M, E, A, W.
inline const std::array<const char *, 40> kStarts = {
    "Jo", "Ja", "Je", "Ju", "Ma", "Me", "Mi", "Mo", "El", "Ed", "Em", "Ev", "Al", "An",
    "Ad", "Ag", "Wi", "Wa", "Ha", "He", "Ge", "Gr", "Ch", "Ca", "Sa", "Su", "Th", "Ro",
    "Ri", "Ra", "Li", "Lu", "Fr", "Fl", "Be", "Br", "Da", "Do", "Ke", "Pe",
};
inline const std::array<const char *, 24> kMiddles = {
    "ri", "ry", "ga", "th", "la", "na", "ne", "ro", "so", "li", "be", "de",
    "ke", "vi", "ta", "nn", "rg", "ss", "ld", "lv", "mm", "rl", "nd", "st",
};
inline const std::array<const char *, 16> kEnds = {
    "a", "e", "y", "ie", "ah", "an", "on", "el", "ia", "ine", "ard", "as", "o", "us", "ey", "in",
};

inline QByteArray nameFileBytes()
{
    std::mt19937 random(1837);
    QSet<QString> seen;
    QStringList names;
    while (names.size() < kNames) {
        QString name = QString::fromLatin1(kStarts[random() % kStarts.size()]);
        const int middles = 1 + int(random() % 2);
        for (int i = 0; i < middles; ++i)
            name += QString::fromLatin1(kMiddles[random() % kMiddles.size()]);
        name += QString::fromLatin1(kEnds[random() % kEnds.size()]);
        if (seen.contains(name.toUpper()))
            continue;
        seen.insert(name.toUpper());
        names.append(name);
    }
    QStringList lines;
    for (int i = 0; i < kTopNames; ++i)
        lines.append(u'@' + names.at(int(random() % kNames)));
    std::sort(names.begin(), names.end(),
              [](const QString &a, const QString &b) { return a.toUpper() < b.toUpper(); });
    lines.append(names);
    return JoinCrLf(lines);
}

} // namespace GeneratedForenames
