// Restoring a batch file: its header into Project, each later line into a
// grid row, supplying what an older file left out.

#include "transcription/Transcription.h"

#include "core/FileHelpers.h"
#include "core/Globals.h"
#include "core/LineReader.h"
#include "core/MessageWindows.h"
#include "core/Project.h"
#include "core/Services.h"
#include "core/ShowStatusSink.h"
#include "core/TextHelpers.h"
#include "core/VbHelpers.h"
#include "core/WaitCursor.h"
#include "core/clsEvents.h"
#include "entry/FlexGrid.h"
#include "lists/Districts.h"
#include "transcription/Change_Monitor.h"
#include "transcription/clsTranslator.h"

#include <QCursor>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QScopeGuard>

#include <algorithm>
#include <memory>

namespace {

const QString kCrLf = QStringLiteral("\r\n");


// Every comma splits; each field loses its enclosing quotes as the
// quote-aware split's would.
QStringList splitAtEveryComma(const QString &line)
{
    QStringList fields = line.split(u',');
    for (QString &field : fields)
        field = StripQuotes(field);
    return fields;
}

// A quote opens a quoted field only at the start of a field and closes it
// only before a comma or the end of the line, so that a stray quote inside
// an unquoted cell ("O"BRIEN") cannot swallow the commas after it.
QStringList splitAtFieldQuotes(const QString &line)
{
    QStringList fields;
    const qsizetype size = line.size();
    qsizetype start = 0;
    while (true) {
        qsizetype end = -1;
        if (start < size && line.at(start) == u'"') {
            for (qsizetype j = start + 1; j < size; ++j) {
                if (line.at(j) == u'"' && (j + 1 == size || line.at(j + 1) == u',')) {
                    end = j + 1;
                    break;
                }
            }
        }
        if (end < 0) {
            end = line.indexOf(u',', start);
            if (end < 0)
                end = size;
        }
        fields.append(StripQuotes(line.mid(start, end - start)));
        if (end >= size)
            break;
        start = end + 1;
    }
    return fields;
}

void volumeFormatMessage(int format)
{
    static const QString words[] = {QString(), QStringLiteral("9z"), QStringLiteral("99"),
                                    QStringLiteral("XX")};
    SystemMessageBox(
            QStringLiteral("The file did not contain a Volume Format.") + kCrLf
                    + QStringLiteral("I have supplied one from the first valid data row.") + kCrLf
                    + QStringLiteral("This format was ") + words[format] + kCrLf
                    + QStringLiteral("Please check very carefully that this is correct and amend it")
                    + kCrLf + QStringLiteral("if needed using Edit Header."),
            Mb::Information, kProductName);
}

} // namespace

QStringList Transcription::SplitDataLine(const QString &line, int count)
{
    // Most lines hold no double quote, and then every comma splits: the
    // same fields as the quote-aware split, without its list growing.
    if (!line.contains(u'"')) {
        QStringList fields;
        fields.reserve(count);
        for (const QStringView field : QStringView(line).tokenize(u','))
            fields.append(field.toString());
        if (fields.size() == count || !line.contains(u';'))
            return fields;
    }

    const QStringList quoted = SplitQuoted(line, u',');
    if (quoted.size() == count)
        return quoted;

    // Files written by hand or by older programs: a cell holding a double
    // quote was written as it is, and some separate fields with ";".
    const auto fitting = [count](const QString &text, bool tryQuoted, QStringList &fields) {
        if (tryQuoted) {
            fields = SplitQuoted(text, u',');
            if (fields.size() == count)
                return true;
        }
        fields = splitAtEveryComma(text);
        if (fields.size() == count)
            return true;
        if (text.contains(u'"')) {
            fields = splitAtFieldQuotes(text);
            if (fields.size() == count)
                return true;
        }
        return false;
    };
    QStringList fields;
    if (fitting(line, false, fields))
        return fields;
    if (line.contains(u';')) {
        QString commas = line;
        commas.replace(u';', u',');
        if (fitting(commas, true, fields))
            return fields;
    }
    return quoted;
}

bool Transcription::AddFileLine(const QString &line, int row)
{
    if (!mGrid)
        return false;
    const QString lead = VbLTrim(line);
    const bool special = lead.startsWith(u'+') || lead.startsWith(u'#');
    if (row >= mGrid->Rows())
        AddRow();
    const int cols = mGrid->Cols();

    if (special) {
        mGrid->setTextMatrix(row, 1, line);
        if (VbUCaseStartsWith(lead, QLatin1String("+PAGE"))) {
            // Colouring never moves the current cell.
            EventsOffGuard quiet;
            mGrid->setCellBackColorAt(row, 1, kHeaderGreen);
            for (int col = 2; col < cols; ++col)
                mGrid->setCellBackColorAt(row, col, kWhite);
        }
        return true;
    }

    QStringList fields = SplitDataLine(line, cols);
    if (fields.size() != cols) {
        const QString verdict = fields.size() > cols
                                        ? QStringLiteral("has too many fields and has been ignored")
                                        : QStringLiteral(
                                                "has insufficient fields and has been ignored");
        // A line of megabytes would make a box nobody can read (and that
        // takes seconds to lay out): the start of it says which line it is.
        constexpr int kReadable = 120;
        const QString shown =
                line.size() > kReadable ? line.left(kReadable) + QStringLiteral("...") : line;
        const int answer = ShowMessage(QStringLiteral("Line ") + QString::number(row)
                                               + QStringLiteral(" - ") + shown + kCrLf + verdict,
                                       Mb::OkCancel | Mb::Critical);
        return answer != Mb::Cancel;
    }

    // The file holds the district name and its volume as two fields; the
    // grid holds them in one cell, so every later field moves one left.
    const int d = mDistrictCol;
    const QString name = fields.at(d - 1);
    const QString volume = fields.at(d);
    if (!name.isEmpty() && !volume.isEmpty()) {
        fields[d - 1] = name + u',' + volume;
    } else if (name.isEmpty() && !volume.isEmpty()) {
        fields[d - 1] = volume;
        fields[d] = QString();
    }
    fields[mPageCol - 1] = fields.at(mPageCol);
    for (int col = 1; col < cols; ++col)
        mGrid->setTextMatrix(row, col, fields.at(col - 1));
    return true;
}

void Transcription::AbandonLoad()
{
    // The grid may hold part of the file under the file's own name: without
    // a name, and with nothing marked unsaved, no save can write it back
    // over the whole file.
    if (gProject)
        gProject->setBatchName(QString());
    if (gChangeMonitor)
        gChangeMonitor->DataSaved();
}

bool Transcription::Restore(const QString &path)
{
    if (!mGrid || !gProject)
        return false;
    Project &project = *gProject;
    WaitCursor wait;

    project.GoToSaveDir();
    const QString defaultFile = QDir(project.SavePath()).filePath(project.BatchName());

    QString source;
    const bool given = !path.isEmpty();
    if (given) {
        source = StripQuotes(path);
    } else if (mBatchFileHooks.workFileExists && mBatchFileHooks.workFileExists()) {
        const bool rebuilt = mBatchFileHooks.restoreWorkfile && mBatchFileHooks.restoreWorkfile();
        if (!rebuilt)
            SystemMessageBox(QStringLiteral("Unable to restore your workfile - please report to ")
                                     + Project::SupportEmail(),
                             Mb::Critical, kProductName);
        return rebuilt;
    } else {
        source = defaultFile;
    }
    if (!FileExists(source)) {
        SystemMessageBox(QStringLiteral("File ") + source + QStringLiteral(" does not exist"),
                         Mb::Exclamation, kProductName);
        return false;
    }

    QFile file(source);
    if (!file.open(QIODevice::ReadOnly)) {
        SystemMessageBox((given ? QStringLiteral("Restore, Can't open inputfile ")
                                : QStringLiteral("Restore, Can't open batchfile "))
                                 + source + QStringLiteral(" - ") + file.errorString(),
                         Mb::Critical, QStringLiteral("Restore Error"));
        return false;
    }
    LineReader reader(file);
    file.close();
    // Cleared only now that the file is read: a file that cannot be opened
    // leaves the batch in the grid as it was, header and unsaved state too.
    project.ClearHeader();

    project.GetProjFromFile(reader);
    if (project.Invalid()) {
        AbandonLoad();
        return false;
    }

    SetupInputGrid();
    StatusBar().ShowMsg(QStringLiteral("Restoring"));
    mGrid->setRedraw(false);
    auto translator = std::make_unique<clsTranslator>();
    translator->GetCodePage();
    if (gEvents)
        gEvents->EventsOff();
    // Redrawing and events come back on every way out of the load.
    auto resume = qScopeGuard([this, &translator] {
        translator.reset();
        mGrid->setRedraw(true);
        if (gEvents)
            gEvents->EventsOn();
    });

    int g = 1;
    // Room for every line at once: a row added for each line, with the view
    // told each time, made a long batch slow to open. The rows left over
    // go at the end.
    const int rowsBefore = mGrid->Rows();
    const auto roomNeeded = std::min<qsizetype>(reader.linesLeft() + 2, 10'000'000);
    if (roomNeeded > rowsBefore) {
        EventsOffGuard quiet;
        mGrid->setRows(int(roomNeeded));
    }
    const auto trimRows = [this, rowsBefore, &g] { SetRowCount(std::max(rowsBefore, g + 1)); };
    while (!reader.atEnd()) {
        QString line = VbTrim(translator->Translate(reader.readLine()));
        if (line.isEmpty())
            continue;
        // Some files separate fields with ";": a "+" line is read with every
        // ";" as ",". A "#" line is free text and kept as it is; a data line
        // reads ";" as "," only when its fields do not fit otherwise
        // (SplitDataLine), so a cell may hold one.
        if (line.startsWith(u'+'))
            line.replace(u';', u',');

        if (VbUCaseStartsWith(line, QLatin1String("+CREDIT"))) {
            QString name, email, type;
            SplitCsvFields(line, name, email, type);
            project.setCreditName(name);
            project.setCreditEmail(email);
            project.setCreditType(type);
            QString checked = line;
            if (ValidateCredit(checked, false)) {
                SystemMessageBox(QStringLiteral("+Credit at line ") + QString::number(g)
                                         + QStringLiteral(" moved to Header"),
                                 Mb::Information, kProductName);
            } else {
                SystemMessageBox(QStringLiteral("The +Credit entry at line ") + QString::number(g)
                                         + QStringLiteral(" has been moved to the Header.") + kCrLf
                                         + QStringLiteral("It is however invalid and the file "
                                                          "cannot be saved or uploaded until "
                                                          "corrected.")
                                         + kCrLf
                                         + QStringLiteral("Please use Edit Header to fix the entry"),
                                 Mb::Critical, kProductName);
            }
            continue;
        }

        ++g;
        if (!AddFileLine(line, g)) {
            trimRows();
            resume.dismiss();
            translator.reset();
            mGrid->setRedraw(true);
            if (gEvents)
                gEvents->EventsOn();
            AbandonLoad();
            return false;
        }

        if (project.iVnf() == 0) {
            const int format = Districts::SplitDistrict(mGrid->TextMatrix(g, mDistrictCol)).format;
            if (format >= 1 && format <= 3) {
                project.setIVnf(format);
                volumeFormatMessage(format);
            }
        }

        if (project.NoPageLetter() && project.PageLetter().isEmpty()) {
            const QChar initial = VbUCase(line.left(1)).at(0);
            if (initial >= u'A' && initial <= u'Z') {
                project.setPageLetter(QString(initial));
                SystemMessageBox(QStringLiteral("The file did not contain Page Letter.") + kCrLf
                                         + QStringLiteral("I have supplied one from the first "
                                                          "legible data row")
                                         + kCrLf + QStringLiteral("This was an '") + initial
                                         + QStringLiteral("'") + kCrLf
                                         + QStringLiteral("Please check very carefully that this "
                                                          "is correct and amend it")
                                         + kCrLf + QStringLiteral("if needed using Edit Header."),
                                 Mb::Information, kProductName);
            }
        }
    }

    trimRows();
    translator.reset();
    mGrid->setRedraw(true);
    if (gDistricts)
        gDistricts->Read_Districts();
    resume.dismiss();
    if (gEvents)
        gEvents->EventsOn();

    AddLine1();
    RenumberAllRows(-1);
    // After the first line and the numbers, which no record holds: the
    // window's lay-out that follows a load then finds the file whole.
    if (mBatchFileHooks.saveToWorkFile)
        mBatchFileHooks.saveToWorkFile();
    // The rows added on the way are the file's own: a batch just read holds
    // nothing that closing should offer to save.
    if (gChangeMonitor)
        gChangeMonitor->DataSaved();
    gNewRow = 1;
    CountRows();
    UpdateScrollBar();
    StatusBar().ShowMsg(QString());
    if (mBatchFileHooks.companionBatchKey)
        mBatchFileHooks.companionBatchKey(QString::number(project.iYear()) + project.ZelLetter()
                                          + QString::number(project.iQtr()));
    return true;
}
