// The forename file (Pelkar_Name2.txt), then the look-ups over it.

#include "FuzzSupport.h"

#include "lists/ForeNames.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    Fuzz::begin();
    Fuzz::newProject();
    Fuzz::write(Fuzz::dataPath(QStringLiteral("Files/") + ForeNames::NameFileName()),
                Fuzz::bytes(data, size));
    {
        ForeNames names;
        const QStringList all = names.ListAllForenames();
        for (int i = 0; i < names.TopCount(); ++i)
            names.Topn(i);
        for (const QString &name : all.mid(0, 50)) {
            names.TestForName(name);
            names.FormatForeName(name + QStringLiteral(" ") + name);
            names.ListMatchingNames(QString(), name.left(2));
        }
        names.FormatForeName(QStringLiteral("john mary-ann o'neil"));
        names.ListMatchingNames(QStringLiteral("Ann "), QStringLiteral("m"));
    }
    Fuzz::end();
    return 0;
}
