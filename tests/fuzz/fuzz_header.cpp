// The header lines a batch starts with, read into the project and built
// back into lines. Lines built from a header that was read without a word
// to the transcriber read back to the same lines.

#include "FuzzSupport.h"

#include "core/LineReader.h"

#include <cstdio>

namespace {

struct Read
{
    bool valid = false;
    bool told = false;
    QStringList lines;
};

Read readHeader(const QByteArray &bytes)
{
    ProgramObjects::releaseAll();
    Fuzz::state().script->clearRecords();
    Fuzz::newProject();
    Read result;
    LineReader reader(bytes);
    gProject->GetProjFromFile(reader);
    result.valid = !gProject->Invalid();
    if (result.valid) {
        gProject->BuildHeaderLines(result.lines);
        gProject->ShowProject();
    }
    result.told = !Fuzz::state().script->records().isEmpty();
    return result;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    Fuzz::begin();
    const Read first = readHeader(Fuzz::bytes(data, size));
    if (first.valid && !first.told) {
        const Read second = readHeader(JoinCrLf(first.lines));
        if (!second.valid || second.lines != first.lines) {
            fprintf(stderr, "Header lines not read back as built:\n%s\n---\n%s\n",
                    qPrintable(first.lines.join(u'\n')), qPrintable(second.lines.join(u'\n')));
            abort();
        }
    }
    Fuzz::end();
    return 0;
}
