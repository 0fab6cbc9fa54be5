#pragma once

// The district table read from a district file and a supplementary file,
// for the period the first byte picks, then looked through.

#include "FuzzSupport.h"

#include "lists/Districts.h"

namespace Fuzz {

inline void readDistricts(uint8_t period, const QByteArray &districtFile,
                          const QByteArray &suppFile)
{
    static const int years[] = {1837, 1911, 1946, 1950, 1970, 1990, 2010, 1};
    begin();
    newProject();
    gProject->setIYear(years[period & 7]);
    gProject->setQtr(((period >> 3) & 3) + 1);
    gProject->setIVnf((period >> 5) & 3);
    write(dataPath(QStringLiteral("Files/Pelkar_Districts.txt")), districtFile);
    for (const char *name : {"Pelkar_Supp_Districts.txt", "Pelkar_Supp_Districts_1946.txt",
                             "Pelkar_Supp_Districts_1965.txt", "Pelkar_Supp_Districts_1974.txt"})
        write(dataPath(QStringLiteral("Files/") + QLatin1String(name)), suppFile);
    {
        Districts d;
        if (d.Read_Districts()) {
            const QList<DistrictListRow> all = d.ListAllDistricts();
            for (int letter = 0; letter <= 27; ++letter)
                d.LetterRecords(letter);
            for (const DistrictRecord &r : d.records()) {
                d.TestForDistrict(r.Name + u',' + r.Volume);
                d.FindDistrict(r.Name, r.Volume);
                d.ConvertDistrictVNF(r.Name + u',' + r.Volume);
            }
            d.ListMatchingDistricts(QStringLiteral("A"));
            d.ListMatchingDistricts(QStringLiteral("Ash"));
        }
    }
    end();
}

} // namespace Fuzz
