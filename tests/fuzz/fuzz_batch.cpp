// The batch file (.ZEL) read into the grid: header lines, "+" and "#" lines,
// data lines in every odd form older files hold. Whatever grid a read
// gives, a save that takes it and a read of the saved file give it back
// cell for cell (trimmed of spaces, as the save writes cells): nothing
// typed or loaded is changed by saving it.

#include "FuzzSupport.h"

#include "core/VbHelpers.h"
#include "entry/FlexGrid.h"
#include "transcription/Transcription.h"

#include <cstdio>

namespace {

// The rows a save writes, as the save sees them: blank rows left out, a
// "+" or "#" row by its first cell only, every cell trimmed of spaces.
QStringList savedRows(const FlexGrid &grid)
{
    QStringList rows;
    for (int r = 2; r < grid.Rows(); ++r) {
        QStringList cells;
        bool blank = true;
        for (int c = 1; c < grid.Cols(); ++c) {
            cells << VbTrim(grid.TextMatrix(r, c));
            blank = blank && cells.last().isEmpty();
        }
        if (blank)
            continue;
        const QString lead = VbLTrim(grid.TextMatrix(r, 1));
        if (lead.startsWith(u'+') || lead.startsWith(u'#'))
            cells = QStringList{grid.TextMatrix(r, 1)};
        rows << cells.join(u'|');
    }
    return rows;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    Fuzz::begin();
    Fuzz::newProject();
    ProgramObjects::createChangeMonitor();
    ProgramObjects::createTranscription();
    FlexGrid grid;
    gTranscription->setGrid(&grid);
    const QString path = Fuzz::dataPath(QStringLiteral("in/1911B1S0123.ZEL"));
    Fuzz::write(path, Fuzz::bytes(data, size));
    if (gTranscription->Restore(path)) {
        const QStringList loaded = savedRows(grid);
        const int cols = grid.Cols();
        const QString again = Fuzz::dataPath(QStringLiteral("Output/again.ZEL"));
        if (gTranscription->SaveData(false, again) && gTranscription->Restore(again)) {
            const QStringList reloaded = savedRows(grid);
            if (grid.Cols() != cols || reloaded != loaded) {
                fprintf(stderr, "A saved batch does not load back the same:\n");
                for (qsizetype i = 0; i < qMax(loaded.size(), reloaded.size()); ++i) {
                    const QString a = loaded.value(i, QStringLiteral("<none>"));
                    const QString b = reloaded.value(i, QStringLiteral("<none>"));
                    if (a != b)
                        fprintf(stderr, "row %d:\n%s\n%s\n", int(i + 2), qPrintable(a),
                                qPrintable(b));
                }
                abort();
            }
        }
    }
    gTranscription->setGrid(nullptr);
    Fuzz::end();
    return 0;
}
