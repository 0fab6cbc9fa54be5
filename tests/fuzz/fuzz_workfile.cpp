// The crash-recovery work file rebuilt into the header and the grid. A work
// file a quiet rebuild wrote must rebuild the same grid and be written back
// the same (once its header's blanks have settled): recovering twice loses
// nothing more than recovering once.

#include "FuzzSupport.h"

#include "entry/FlexGrid.h"
#include "transcription/Transcription.h"
#include "transcription/clsWorkFile.h"

#include <cstdio>

namespace {

struct Rebuilt
{
    bool restored = false;
    bool told = false; // the transcriber was told something
    QStringList grid;
    QByteArray file;
};

// A fresh start over whatever work file the data folder holds.
Rebuilt rebuild()
{
    ProgramObjects::releaseAll();
    ClearIniStore();
    Fuzz::newProject();
    ProgramObjects::createChangeMonitor();
    ProgramObjects::createTranscription();
    Rebuilt result;
    FlexGrid grid;
    gTranscription->setGrid(&grid);
    {
        clsWorkFile workFile;
        workFile.setGrid(&grid);
        result.restored = workFile.RestoreWorkfile();
        QFile f(clsWorkFile::WorkFilePath());
        if (f.open(QIODevice::ReadOnly))
            result.file = f.readAll();
    }
    // Closing deletes the work file the rebuild wrote; a crash would have
    // left it for the next start.
    if (result.restored)
        Fuzz::write(clsWorkFile::WorkFilePath(), result.file);
    result.told = !Fuzz::state().script->records().isEmpty();
    for (int r = 0; r < grid.Rows(); ++r) {
        QStringList cells;
        for (int c = 0; c < grid.Cols(); ++c)
            cells << grid.TextMatrix(r, c);
        result.grid << cells.join(u'|');
    }
    gTranscription->setGrid(nullptr);
    return result;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    Fuzz::begin();
    Fuzz::write(Fuzz::dataPath(QStringLiteral("PelkarWork")), Fuzz::bytes(data, size));
    const Rebuilt first = rebuild();
    // A rebuild that told the transcriber nothing must be whole: the same
    // grid again from the file it wrote. (One that could not keep a row or
    // a header line safe has said so, and asked for it to be shortened.)
    if (first.restored && !first.told) {
        const Rebuilt second = rebuild();
        // Blanks that sat inside a header field's quotes are written back
        // and trimmed by the next read: the file may settle one rebuild
        // later, but never changes the grid.
        bool settled = second.file == first.file;
        if (!settled && second.restored && second.grid == first.grid) {
            const Rebuilt third = rebuild();
            settled = third.restored && third.grid == first.grid && third.file == second.file;
        }
        if (!second.restored || second.grid != first.grid || !settled) {
            fprintf(stderr, "A rebuilt work file does not rebuild the same (%d bytes, %d):\n%s\n---\n%s\n", int(first.file.size()), int(second.restored),
                    qPrintable(first.grid.join(u'\n')), qPrintable(second.grid.join(u'\n')));
            for (qsizetype at = 0; at < qMax(first.file.size(), second.file.size()); at += 250) {
                if (first.file.mid(at, 250) != second.file.mid(at, 250))
                    fprintf(stderr, "record %lld:\n%s\n%s\n", static_cast<long long>(at / 250 + 1),
                            first.file.mid(at, 250).trimmed().toPercentEncoding(" ,").constData(),
                            second.file.mid(at, 250).trimmed().toPercentEncoding(" ,").constData());
            }
            abort();
        }
    }
    Fuzz::end();
    return 0;
}
