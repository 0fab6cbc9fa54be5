// The settings file (Pelkarini.txt): every key read, then written back. What
// the program wrote it must read back as written: a second read and write
// gives the same bytes.

#include "FuzzSupport.h"

#include <cstdio>

namespace {

QByteArray readAndWrite(const QString &path)
{
    ProgramObjects::releaseAll();
    ClearIniStore();
    Fuzz::newProject();
    if (!gProject->GetRegistryValues() || !gProject->SetRegistryValues())
        return QByteArray();
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    Fuzz::begin();
    const QString path = Fuzz::dataPath(QStringLiteral("Pelkarini.txt"));
    Fuzz::write(path, Fuzz::bytes(data, size));
    const QByteArray first = readAndWrite(path);
    if (!first.isEmpty()) {
        const QByteArray second = readAndWrite(path);
        if (second != first) {
            const QList<QByteArray> a = first.split('\n'), b = second.split('\n');
            for (qsizetype i = 0; i < qMax(a.size(), b.size()); ++i) {
                if (a.value(i) != b.value(i)) {
                    fprintf(stderr, "Settings not read back as written, line %lld:\n%s\n%s\n",
                            static_cast<long long>(i + 1), a.value(i).toPercentEncoding(" =[]").constData(),
                            b.value(i).toPercentEncoding(" =[]").constData());
                    break;
                }
            }
            abort();
        }
    }
    Fuzz::end();
    return 0;
}
