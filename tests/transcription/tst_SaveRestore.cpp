// The batch file: restoring it into the grid and saving it back (golden
// round trips), the data lines' odd forms that older files hold, every
// message of a restore, the checks and report of a save, the "+PAGE" row
// check, and the guarantees that no failed save or cancelled load can cost
// the transcriber a file.

#include "PelkarTest.h"
#include "RecordingEntryBoxes.h"
#include "RecordingStatusBar.h"
#include "TestFiles.h"

#include "core/Cp1252.h"
#include "core/Globals.h"
#include "core/Project.h"
#include "core/Services.h"
#include "core/clsEvents.h"
#include "entry/FlexGrid.h"
#include "transcription/Change_Monitor.h"
#include "transcription/EntryBoxes.h"
#include "transcription/Transcription.h"

#include <QDir>
#include <QFile>
#include <QRect>
#include <QScopeGuard>

#include <unistd.h>

#include <algorithm>
#include <memory>

namespace {

const QString kCrLf = QStringLiteral("\r\n");
const QString kPathMark = QStringLiteral("%PATH%");
const QString kErrorMark = QStringLiteral("%ERR%");

// A message as the tables write it: kind, style or icon, title, prompt
// (the results window: its result line and its information text).
QString recordText(const MessageRecord &r)
{
    QString text = r.kind + u' ' + QString::number(r.style) + u' ' + r.title
                   + QStringLiteral(": ") + r.prompt;
    if (r.kind == QLatin1String("results"))
        text += QStringLiteral(" | ") + r.info;
    return text;
}

// The modeless "Save Results" window, as recordText writes it; focus: it
// took the keyboard focus.
QString results(const QString &result, const QString &info, bool focus = false)
{
    return QStringLiteral("results %1 Save Results: ").arg(focus ? 1 : 0) + result
           + QStringLiteral(" | ") + info;
}
const QString kResultsClosed = QStringLiteral("results-closed 0 Save Results: ");

QByteArray crlf(const QStringList &lines)
{
    QByteArray bytes;
    for (const QString &line : lines)
        bytes += Cp1252::encode(line) + "\r\n";
    return bytes;
}

// The header of a births batch of 1905 on fiche, page 12, letter A.
QStringList birthsHeader()
{
    return {QStringLiteral("+INFO,ann@example.org,Password,SEQUENCED,BIRTHS"),
            QStringLiteral("#,9z,Ann Smith,Wessex,1905B1A0012.ZEL,2-Mar-2026,Y,N,N,A,12,7.4"),
            QStringLiteral("#,"),
            QStringLiteral("+F,1905,Mar,,12,Fiche 12,14-Mar-2026"),
            QStringLiteral("+PAGE,12")};
}

const QString kDetailsMissing
        = QStringLiteral("box 16 Pelkar: That File has details missing from the Header section.")
          + kCrLf
          + QStringLiteral("When the Data Lines have been read I will display the Header Screen")
          + kCrLf + QStringLiteral("Please use that to enter the missing details.");
const QString kLetterSupplied
        = QStringLiteral("box 64 Pelkar: The file did not contain Page Letter.") + kCrLf
          + QStringLiteral("I have supplied one from the first legible data row") + kCrLf
          + QStringLiteral("This was an 'A'") + kCrLf
          + QStringLiteral("Please check very carefully that this is correct and amend it") + kCrLf
          + QStringLiteral("if needed using Edit Header.");
const QString kFormatSupplied
        = QStringLiteral("box 64 Pelkar: The file did not contain a Volume Format.") + kCrLf
          + QStringLiteral("I have supplied one from the first valid data row.") + kCrLf
          + QStringLiteral("This format was 9z") + kCrLf
          + QStringLiteral("Please check very carefully that this is correct and amend it") + kCrLf
          + QStringLiteral("if needed using Edit Header.");
const QString kSavedResult
        = QStringLiteral("Your file has been saved.") + kCrLf
          + QStringLiteral("Most messages, including Out of Sequence, are informative only.  If "
                           "you have typed exactly what is on the source document then you can "
                           "ignore them (see Save Results in Pelkar Help)");

} // namespace

class tst_SaveRestore : public PelkarTest
{
    Q_OBJECT

protected:
    void setUpCase() override
    {
        ProgramObjects::createEvents();
        ProgramObjects::createProject();
        ProgramObjects::createChangeMonitor();
        ProgramObjects::createTranscription();
        gProject->setDataPath(home());
        gProject->setSavePath(homePath("Output"));
        QVERIFY(QDir().mkpath(homePath("Output")));
        QVERIFY(QDir().mkpath(homePath("in")));
        // The "#" batch line writes these two options as "Y,N".
        gProject->setSurnameCase(QStringLiteral("U"));
        grid = std::make_unique<FlexGrid>();
        gTranscription->setGrid(grid.get());
        status = std::make_unique<RecordingStatusBar>();
    }

    void tearDownCase() override
    {
        SetBatchSaver(nullptr);
        if (gTranscription)
            gTranscription->setGrid(nullptr);
        status.reset();
        grid.reset();
    }

    QStringList messages() const
    {
        QStringList list;
        for (const MessageRecord &r : script->records())
            list << recordText(r);
        return list;
    }

    // Grid rows 1 on, columns 1 on, tab between cells, CR LF after rows:
    // the form of the fixtures' grid.txt.
    QByteArray gridBytes() const
    {
        QStringList rows;
        for (int row = 1; row < grid->Rows(); ++row) {
            QStringList cells;
            for (int col = 1; col < grid->Cols(); ++col)
                cells << grid->TextMatrix(row, col);
            rows << cells.join(u'\t');
        }
        return crlf(rows);
    }

    QString rowText(int row) const
    {
        QStringList cells;
        for (int col = 1; col < grid->Cols(); ++col)
            cells << grid->TextMatrix(row, col);
        return cells.join(u'|');
    }

    QString savedFile() const
    {
        return QDir(gProject->SavePath()).filePath(gProject->BatchName());
    }

    // A batch header set directly, for the save's own tests: births (or
    // deaths) of 1905, grid rows as given ("|" between cells) after the
    // page line of row 1, each row labelled with its own number.
    void gridOf(const QStringList &rows, const QString &layout = QStringLiteral("births"))
    {
        gProject->setEventType(layout.startsWith(QLatin1String("deaths")) ? 2 : 1);
        gProject->setIYear(layout == QLatin1String("deaths-dob") ? 1975 : 1905);
        gProject->setQtr(1);
        gProject->setSourceType(1);
        gProject->setSourceRef(QStringLiteral("Fiche 12"));
        gProject->setBatchnumber(12);
        gProject->setIVnf(1);
        gProject->setUserID(QStringLiteral("Ann Smith"));
        gProject->setSyndicate(QStringLiteral("Wessex"));
        gProject->setEmail(QStringLiteral("ann@example.org"));
        gProject->setBatchName(QStringLiteral("1905B1A0012.ZEL"));
        gProject->setBatchStarted(QDate(2026, 3, 2));
        gProject->setPage(QStringLiteral("12"));
        gProject->setPageLetter(QStringLiteral("A"));
        gTranscription->SetupInputGrid();
        grid->setRows(int(rows.size()) + 2);
        grid->setTextMatrix(1, 0, QStringLiteral("1"));
        grid->setTextMatrix(1, 1, QStringLiteral("+PAGE,12"));
        for (int i = 0; i < rows.size(); ++i) {
            const int row = i + 2;
            grid->setTextMatrix(row, 0, QString::number(row));
            const QStringList cells = rows.at(i).split(u'|');
            for (int col = 1; col <= cells.size() && col < grid->Cols(); ++col)
                grid->setTextMatrix(row, col, cells.at(col - 1));
        }
    }

    std::unique_ptr<FlexGrid> grid;
    std::unique_ptr<RecordingStatusBar> status;

private slots:
    // ---- Golden round trips ------------------------------------------------
    void roundTrip_data()
    {
        QTest::addColumn<QString>("folder");
        QTest::addColumn<QStringList>("answers");
        QTest::addColumn<QStringList>("expectedMessages");

        for (const char *folder : {"batch-births-plain-fiche", "batch-births-mother-film",
                                   "batch-marriages-plain-scan", "batch-marriages-spouse-fiche",
                                   "batch-deaths-age-film", "batch-deaths-dob-scan",
                                   "batch-semicolons-lf"})
            QTest::newRow(folder) << QString::fromLatin1(folder) << QStringList()
                                  << QStringList();
        QTest::newRow("batch-credit-in-data")
                << QStringLiteral("batch-credit-in-data") << QStringList{QStringLiteral("Ok")}
                << QStringList{QStringLiteral("box 64 Pelkar: +Credit at line 2 moved to Header")};
        // "+" lines written with ";": the credit's fields reach the header,
        // the page lines are read as page lines and written with ",".
        QTest::newRow("batch-semicolon-plus-lines")
                << QStringLiteral("batch-semicolon-plus-lines") << QStringList{QStringLiteral("Ok")}
                << QStringList{QStringLiteral("box 64 Pelkar: +Credit at line 2 moved to Header")};
    }

    // Each event type, period and source; credit and comment lines,
    // wildcards, commas and quotes in cells: restored into the grid, then
    // saved back. The only field a save dates (the source line's date of
    // writing) reads 14-Mar-2026 in the inputs, the scripted clock's day.
    void roundTrip()
    {
        QFETCH(QString, folder);
        QFETCH(QStringList, answers);
        QFETCH(QStringList, expectedMessages);

        const QString input = homePath("in/" + folder + ".ZEL");
        QVERIFY(QFile::copy(TestFiles::fixture(folder + "/input.ZEL"), input));
        script->answer(answers);

        QVERIFY(gTranscription->Restore(input));
        QCOMPARE(messages(), expectedMessages);
        QCOMPARE(gridBytes(), TestFiles::readBytes(TestFiles::fixture(folder + "/grid.txt")));
        QCOMPARE(grid->cellBackColorAt(1, 1), Transcription::kHeaderGreen);

        QVERIFY(gTranscription->SaveData(false));
        QCOMPARE(TestFiles::readBytes(savedFile()),
                 TestFiles::readBytes(TestFiles::fixture(folder + "/expected.ZEL")));
        QCOMPARE(status->current(), QStringLiteral("Saved"));
        QVERIFY(!gChangeMonitor->AnyChange());
    }

    // A file that cannot be had leaves the open batch as it stood: its header,
    // its rows and its unsaved state, so nothing is lost and nothing is
    // written under the wrong header.
    void missingFileKeepsTheOpenBatch()
    {
        const QString input = homePath("in/births-plain-fiche.ZEL");
        QVERIFY(QFile::copy(TestFiles::fixture("batch-births-plain-fiche/input.ZEL"), input));
        QVERIFY(gTranscription->Restore(input));
        gChangeMonitor->Changed();
        const QByteArray before = gridBytes();
        const QString name = gProject->BatchName();
        const int year = gProject->iYear();

        const QString missing = homePath("in/gone.ZEL");
        script->answer(QStringLiteral("Ok"));
        QVERIFY(!gTranscription->Restore(missing));
        QCOMPARE(messages().size(), 1);
        QCOMPARE(gridBytes(), before);
        QCOMPARE(gProject->BatchName(), name);
        QCOMPARE(gProject->iYear(), year);
        QVERIFY(gChangeMonitor->AnyChange());
    }

    // ---- Data lines as older files hold them --------------------------------
    void restoreDataLine_data()
    {
        QTest::addColumn<QString>("line");
        QTest::addColumn<QString>("cells");
        QTest::addColumn<bool>("green"); // a "+" or "#" line: green in column 1 only

        QTest::newRow("semicolons-read-as-commas")
                << "SMITH;John;Leeds;9b;123" << "SMITH|John|Leeds,9b|123" << false;
        QTest::newRow("semicolon-inside-cell-kept")
                << "SMITH,Jo;hn,Leeds,9b,123" << "SMITH|Jo;hn|Leeds,9b|123" << false;
        QTest::newRow("comment-keeps-semicolons")
                << "# a;b;c;d;e" << "# a;b;c;d;e|||" << true;
        QTest::newRow("comment-with-commas-in-column-1")
                << "# torn, faint, wet" << "# torn, faint, wet|||" << true;
        QTest::newRow("volume-without-district")
                << "SMITH,John,,9b,123" << "SMITH|John|9b|123" << false;
        QTest::newRow("district-without-volume")
                << "SMITH,John,Leeds,,123" << "SMITH|John|Leeds|123" << false;
        QTest::newRow("empty-district") << "SMITH,John,,,123" << "SMITH|John||123" << false;
        QTest::newRow("quote-in-unquoted-cell")
                << "O\"BRIEN,John,Leeds,9b,123" << "O\"BRIEN|John|Leeds,9b|123" << false;
        QTest::newRow("quote-in-cell-and-quoted-comma")
                << "O\"BRIEN,John,\"Leeds, West\",9b,123" << "O\"BRIEN|John|Leeds, West,9b|123"
                << false;
        QTest::newRow("quoted-comma-in-forenames")
                << "SMITH,\"John, Jr\",Leeds,9b,123" << "SMITH|John, Jr|Leeds,9b|123" << false;
        QTest::newRow("spaces-around-line-trimmed")
                << "   SMITH,John,Leeds,9b,123   " << "SMITH|John|Leeds,9b|123" << false;
        QTest::newRow("page-line-any-case-coloured") << "+page,13" << "+page,13|||" << true;
        QTest::newRow("page-line-semicolon-read-as-comma")
                << "+PAGE;13" << "+PAGE,13|||" << true;
        QTest::newRow("other-plus-line-semicolons-read-as-commas")
                << "+NOTE;torn;faint" << "+NOTE,torn,faint|||" << true;
    }

    void restoreDataLine()
    {
        QFETCH(QString, line);
        QFETCH(QString, cells);
        QFETCH(bool, green);

        const QString input = homePath("in/line.ZEL");
        QVERIFY(TestFiles::writeBytes(input, crlf(birthsHeader() << line)));
        QVERIFY(gTranscription->Restore(input));
        QCOMPARE(rowText(2), cells);
        QCOMPARE(grid->cellBackColorAt(2, 1) == Transcription::kHeaderGreen, green);
        QCOMPARE(grid->cellBackColorAt(2, 2), Transcription::kWhite);
    }

    // A credit line written with ";" gives the header all three fields, and
    // a page line written so passes the save's page check.
    void semicolonPlusLinesReadAsCommas()
    {
        const QString input = homePath("in/x.ZEL");
        QVERIFY(TestFiles::writeBytes(
                input, crlf(birthsHeader() << "ABBOT,Ann,Leeds,9b,12"
                                           << "+CREDIT;Ann Lee;ann@example.org;Transcriber"
                                           << "+PAGE;13" << "ADAMS,Bob,Leeds,9b,13")));
        script->answer("Ok");
        QVERIFY(gTranscription->Restore(input));
        QCOMPARE(messages(),
                 QStringList{QStringLiteral("box 64 Pelkar: +Credit at line 2 moved to Header")});
        QCOMPARE(gProject->CreditName(), QStringLiteral("Ann Lee"));
        QCOMPARE(gProject->CreditEmail(), QStringLiteral("ann@example.org"));
        QCOMPARE(gProject->CreditType(), QStringLiteral("Transcriber"));

        QVERIFY(gTranscription->SaveData(false));
        QCOMPARE(gTranscription->SaveFindings(), QString());
        QVERIFY(!gProject->Invalid());
        QVERIFY(TestFiles::readBytes(savedFile())
                        .endsWith(crlf({"+PAGE,13", "ADAMS,Bob,Leeds,9b,13"})));
    }

    // ---- Every message of a restore -------------------------------------------
    void restoreMessages_data()
    {
        QTest::addColumn<QString>("source"); // named, quoted, default, workfile
        QTest::addColumn<QByteArray>("content"); // empty: no file; "<dir>": a folder
        QTest::addColumn<QStringList>("answers");
        QTest::addColumn<QStringList>("expected");
        QTest::addColumn<bool>("loaded");

        const QByteArray none;
        const QByteArray folder("<dir>");
        const QString missing = QStringLiteral("box 48 Pelkar: File %PATH% does not exist");
        QTest::newRow("named-file-missing")
                << "named" << none << QStringList{"Ok"} << QStringList{missing} << false;
        QTest::newRow("named-file-in-quotes-missing")
                << "quoted" << none << QStringList{"Ok"} << QStringList{missing} << false;
        QTest::newRow("batch-file-missing")
                << "default" << none << QStringList{"Ok"} << QStringList{missing} << false;
        QTest::newRow("named-file-unopenable")
                << "named" << folder << QStringList{"Ok"}
                << QStringList{"box 16 Restore Error: Restore, Can't open inputfile %PATH% - %ERR%"}
                << false;
        QTest::newRow("batch-file-unopenable")
                << "default" << folder << QStringList{"Ok"}
                << QStringList{"box 16 Restore Error: Restore, Can't open batchfile %PATH% - %ERR%"}
                << false;
        QTest::newRow("work-file-unrecoverable")
                << "workfile" << none << QStringList{"Ok"}
                << QStringList{"box 16 Pelkar: Unable to restore your workfile - please report to "
                               "support@quorvel.example"}
                << false;
        QTest::newRow("header-not-info")
                << "named" << QByteArray("HELLO\r\n") << QStringList{"Ok"}
                << QStringList{"box 16 Pelkar: That is not a valid file - The first line does not "
                               "start with +INFO."}
                << false;
        QTest::newRow("header-unknown-line-cancelled")
                << "named" << crlf(QStringList{birthsHeader().first(), "+X,1"})
                << QStringList{"Cancel"}
                << QStringList{"custom 32515 Pelkar: Unknown line in File - +X,1" + kCrLf
                               + "Click Ok to ignore this line, or Cancel to abort this load"}
                << false;
        QTest::newRow("too-many-fields-ok")
                << "named" << crlf(birthsHeader() << "ABBOT,Ann,Leeds,9b,12,13")
                << QStringList{"Ok"}
                << QStringList{"box 17 Pelkar: Line 2 - ABBOT,Ann,Leeds,9b,12,13" + kCrLf
                               + "has too many fields and has been ignored"}
                << true;
        // A line of megabytes is shown by its start only.
        const QString longLine = "ABBOT,Ann,Leeds,9b,12," + QString(5000000, u'x') + ",13";
        QTest::newRow("too-many-fields-long-line-cut")
                << "named" << crlf(birthsHeader() << longLine) << QStringList{"Ok"}
                << QStringList{"box 17 Pelkar: Line 2 - " + longLine.left(120) + "..." + kCrLf
                               + "has too many fields and has been ignored"}
                << true;
        QTest::newRow("insufficient-fields-cancelled")
                << "named" << crlf(birthsHeader() << "ABBOT,Ann,Leeds,12")
                << QStringList{"Cancel"}
                << QStringList{"box 17 Pelkar: Line 2 - ABBOT,Ann,Leeds,12" + kCrLf
                               + "has insufficient fields and has been ignored"}
                << false;
        QTest::newRow("credit-line-moved")
                << "named"
                << crlf(birthsHeader() << "+CREDIT,Gil Day,gil@example.org,Checker"
                                       << "ABBOT,Ann,Leeds,9b,12")
                << QStringList{"Ok"}
                << QStringList{"box 64 Pelkar: +Credit at line 1 moved to Header"} << true;
        QTest::newRow("invalid-credit-line-moved")
                << "named"
                << crlf(birthsHeader() << "ABBOT,Ann,Leeds,9b,12" << "+CREDIT,Gil Day")
                << QStringList{"Ok"}
                << QStringList{"box 16 Pelkar: The +Credit entry at line 2 has been moved to the "
                               "Header."
                               + kCrLf
                               + "It is however invalid and the file cannot be saved or uploaded "
                                 "until corrected."
                               + kCrLf + "Please use Edit Header to fix the entry"}
                << true;
        // No "#" batch line: no volume format and no page letter. The letter
        // comes from the first data row, the format from the first row whose
        // volume gives one (no volume, then a wildcard volume, give none).
        QTest::newRow("format-and-letter-supplied")
                << "named"
                << crlf({"+INFO,ann@example.org,Password,SEQUENCED,BIRTHS", "#,",
                         "+F,1905,Mar,,12,Fiche 12,14-Mar-2026", "+PAGE,12", "# first",
                         "ABBOT,Ann,Leeds,,12", "ADAMS,Bob,Leeds,9*,12", "ALLEN,Cy,Leeds,9b,12",
                         "AMOS,Di,Leeds,77,12"})
                << QStringList{"Ok", "Ok", "Ok"}
                << QStringList{kDetailsMissing, kLetterSupplied, kFormatSupplied} << true;
    }

    void restoreMessages()
    {
        QFETCH(QString, source);
        QFETCH(QByteArray, content);
        QFETCH(QStringList, answers);
        QFETCH(QStringList, expected);
        QFETCH(bool, loaded);

        gProject->setBatchName(QStringLiteral("1905B1A0012.ZEL"));
        QString path = source == QLatin1String("default") ? savedFile() : homePath("in/x.ZEL");
        if (content == "<dir>")
            QVERIFY(QDir().mkpath(path));
        else if (!content.isEmpty())
            QVERIFY(TestFiles::writeBytes(path, content));
        QFile probe(path);
        const QString error = probe.open(QIODevice::ReadOnly) ? QString() : probe.errorString();

        bool rebuildAsked = false;
        if (source == QLatin1String("workfile")) {
            gTranscription->batchFileHooks().workFileExists = [] { return true; };
            gTranscription->batchFileHooks().restoreWorkfile = [&rebuildAsked] {
                rebuildAsked = true;
                return false;
            };
        }
        script->answer(answers);
        const QString argument = source == QLatin1String("named")    ? path
                                 : source == QLatin1String("quoted") ? u'"' + path + u'"'
                                                                     : QString();
        QCOMPARE(gTranscription->Restore(argument), loaded);
        for (QString &line : expected)
            line.replace(kPathMark, path).replace(kErrorMark, error);
        QCOMPARE(messages(), expected);
        QCOMPARE(rebuildAsked, source == QLatin1String("workfile"));
    }

    void restoreSuppliesFormatAndLetter()
    {
        const QString input = homePath("in/x.ZEL");
        QVERIFY(TestFiles::writeBytes(
                input, crlf({"+INFO,a@b.org,Password,SEQUENCED,BIRTHS", "#,",
                             "+F,1905,Mar,,12,Fiche 12,14-Mar-2026", "+PAGE,12",
                             "BAKER,Ann,Leeds,XI,12", "CARR,Bob,Leeds,9b,12"})));
        script->answer({"Ok", "Ok", "Ok"});
        QVERIFY(gTranscription->Restore(input));
        QCOMPARE(gProject->iVnf(), 3);
        QCOMPARE(gProject->PageLetter(), QStringLiteral("B"));
    }

    // Pressing OK on a bad line leaves an empty grid row in its place.
    void okOnBadLineLeavesEmptyRow()
    {
        const QString input = homePath("in/x.ZEL");
        QVERIFY(TestFiles::writeBytes(input, crlf(birthsHeader() << "ABBOT,Ann,Leeds,9b,12"
                                                                 << "BAD,LINE"
                                                                 << "ADAMS,Bob,Leeds,9b,12")));
        script->answer("Ok");
        QVERIFY(gTranscription->Restore(input));
        QCOMPARE(rowText(2), QStringLiteral("ABBOT|Ann|Leeds,9b|12"));
        QCOMPARE(rowText(3), QStringLiteral("|||"));
        QCOMPARE(rowText(4), QStringLiteral("ADAMS|Bob|Leeds,9b|12"));
        QCOMPARE(grid->Rows(), 5);
    }

    // Cancel on a bad line stops the load; the rows read so far stay, but
    // nothing may write them over the whole file they came from.
    void cancelledLoadCannotOverwriteSource()
    {
        gProject->setBatchName(QStringLiteral("1905B1A0012.ZEL"));
        const QByteArray original = crlf(birthsHeader() << "ABBOT,Ann,Leeds,9b,12" << "BAD,LINE"
                                                        << "ADAMS,Bob,Leeds,9b,12");
        QVERIFY(TestFiles::writeBytes(savedFile(), original));
        const QString source = savedFile();
        script->answer("Cancel");

        QVERIFY(!gTranscription->Restore());
        QCOMPARE(rowText(2), QStringLiteral("ABBOT|Ann|Leeds,9b|12"));
        QVERIFY(gProject->BatchName().isEmpty());
        QVERIFY(!gChangeMonitor->AnyChange());
        QCOMPARE(gEvents->count(), 0);
        QVERIFY(grid->Redraw());

        QVERIFY(!gTranscription->SaveData(false));
        QCOMPARE(TestFiles::readBytes(source), original);
    }

    // A rebuild from the work file never opens the batch file.
    void workFileRebuildsInsteadOfBatchFile()
    {
        gProject->setBatchName(QStringLiteral("gone.ZEL"));
        gTranscription->batchFileHooks().workFileExists = [] { return true; };
        gTranscription->batchFileHooks().restoreWorkfile = [] { return true; };
        QVERIFY(gTranscription->Restore());
        QVERIFY(messages().isEmpty());
    }

    // After a load the work file mirrors the batch and the companion knows
    // its key.
    void loadWritesWorkFileAndKey()
    {
        QStringList calls;
        auto &hooks = gTranscription->batchFileHooks();
        hooks.saveToWorkFile = [&calls] { calls << QStringLiteral("work file"); };
        hooks.companionBatchKey = [&calls](const QString &key) { calls << key; };
        const QString input = homePath("in/x.ZEL");
        QVERIFY(TestFiles::writeBytes(input, crlf(birthsHeader() << "ABBOT,Ann,Leeds,9b,12")));
        QVERIFY(gTranscription->Restore(input));
        QCOMPARE(calls, (QStringList{"work file", "1905B1"}));
        QCOMPARE(gEvents->count(), 0);
        QCOMPARE(status->current(), QString());
    }

    // ---- The save's checks and findings -----------------------------------------
    void saveFindings_data()
    {
        QTest::addColumn<QString>("layout");
        QTest::addColumn<bool>("ignoreAaD");
        QTest::addColumn<QStringList>("rows");
        QTest::addColumn<QStringList>("findings");
        QTest::addColumn<bool>("invalid");
        QTest::addColumn<int>("incomplete");

        const QString b = QStringLiteral("births");
        QTest::newRow("sound-row") << b << false << QStringList{"ABBOT|Ann|Leeds,9b|12"}
                                   << QStringList() << false << 0;
        QTest::newRow("incomplete-told-once")
                << b << false << QStringList{"ABBOT|||"}
                << QStringList{"Row 2: Row is incomplete"} << true << 1;
        QTest::newRow("unusual-character")
                << b << false << QStringList{"ABB%T|Ann|Leeds,9b|12"}
                << QStringList{"Row 2: Unusual Character in \"ABB%T\""} << false << 0;
        QTest::newRow("question-mark-not-alone")
                << b << false << QStringList{"ABBOT|A?n|Leeds,9b|12"}
                << QStringList{"Row 2: A ? must be the only character"} << true << 0;
        QTest::newRow("unusual-entries-in-pattern-order")
                << b << false << QStringList{"ABBOT|Ann - - Jo--|Leeds,9b|12"}
                << QStringList{"Row 2: Comment: \"--\" is an unusual entry.",
                               "Row 2: Comment: \"- -\" is an unusual entry."}
                << false << 0;
        QTest::newRow("inner-double-space")
                << b << false << QStringList{"ABBOT|Ann  Mary|Leeds,9b|12"}
                << QStringList{"Row 2: Comment: Multiple spaces are unusual."} << false << 0;
        QTest::newRow("edge-spaces-trimmed-first")
                << b << false << QStringList{"ABBOT|  Ann  |Leeds,9b|12"} << QStringList()
                << false << 0;
        QTest::newRow("page-digit-space-digit")
                << b << false << QStringList{"ABBOT|Ann|Leeds,9b|12 3"}
                << QStringList{"Row 2: Comment: Spaces are unusual in a page number."} << false
                << 0;
        QTest::newRow("page-digit-space-letter")
                << b << false << QStringList{"ABBOT|Ann|Leeds,9b|12 A"} << QStringList() << false
                << 0;
        QTest::newRow("any-volume-in-district-is-an-error")
                << b << false << QStringList{"ABBOT|Ann|Leeds,(*)|12"}
                << QStringList{"Row 2: Comment: Brackets are unusual in Districts.",
                               "Row 2: Error: (*) not allowed in District."}
                << true << 0;
        QTest::newRow("any-volume-elsewhere-is-a-comment")
                << b << false << QStringList{"ABBOT|(*)|Leeds,9b|12"}
                << QStringList{"Row 2: Unusual Character in \"(*)\"",
                               "Row 2: Comment: \"(*)\" is an unusual entry."}
                << false << 0;
        QTest::newRow("out-of-sequence-before-cells")
                << b << false << QStringList{"BAKER|Ann|Leeds,9b|12", "ABBOT||Leeds,9b|12"}
                << QStringList{"Row 3: Out of Sequence", "Row 3: Row is incomplete"} << true << 1;
        QTest::newRow("earlier-forenames-cut-at-a-wildcard")
                << b << false << QStringList{"SMITH|John*|Leeds,9b|12", "SMITH|Jo|Leeds,9b|12"}
                << QStringList() << false << 0;
        QTest::newRow("earlier-forenames-whole")
                << b << false << QStringList{"SMITH|John|Leeds,9b|12", "SMITH|Jo|Leeds,9b|12"}
                << QStringList{"Row 3: Out of Sequence"} << false << 0;
        QTest::newRow("invalid-comment")
                << b << false << QStringList{"#note|x|y|z"}
                << QStringList{"Row 2: Please check - invalid comment or theory"} << false << 0;
        QTest::newRow("page-out-of-order")
                << b << false << QStringList{"+PAGE,14"}
                << QStringList{"Row 2 Incorrect Page Number"} << true << 0;
        QTest::newRow("page-line-without-comma")
                << b << false << QStringList{"+PAGE 13"} << QStringList{"Invalid Format"} << true
                << 0;
        QTest::newRow("other-plus-line-unchecked")
                << b << false << QStringList{"+CREDIT,x"} << QStringList() << false << 0;
        QTest::newRow("deaths-empty-age-ignored")
                << "deaths" << true << QStringList{"ABBOT|Ann||Leeds,9b|12"} << QStringList()
                << false << 0;
        QTest::newRow("deaths-empty-age-counted")
                << "deaths" << false << QStringList{"ABBOT|Ann||Leeds,9b|12"}
                << QStringList{"Row 2: Row is incomplete"} << true << 1;
        QTest::newRow("deaths-empty-birth-date-always-counted")
                << "deaths-dob" << true << QStringList{"ABBOT|Ann||Leeds,9b|12"}
                << QStringList{"Row 2: Row is incomplete"} << true << 1;
    }

    void saveFindings()
    {
        QFETCH(QString, layout);
        QFETCH(bool, ignoreAaD);
        QFETCH(QStringList, rows);
        QFETCH(QStringList, findings);
        QFETCH(bool, invalid);
        QFETCH(int, incomplete);

        gProject->setIgnoreAaD(ignoreAaD);
        gridOf(rows, layout);
        QVERIFY(gTranscription->SaveData(false));
        QCOMPARE(gTranscription->SaveFindings(), findings.join(kCrLf));
        QCOMPARE(gProject->Invalid(), invalid);
        QCOMPARE(gTranscription->IncompleteCount(), incomplete);
        QCOMPARE(gProject->SequenceError(), findings.contains("Row 3: Out of Sequence"));
        QVERIFY(script->records().isEmpty());
    }

    // A long batch: its findings come in row order, the row being edited
    // is checked like any other and speaks to the status bar from the
    // program's own thread, and the lines are written in order.
    void longBatchKeepsRowOrder()
    {
        QStringList rows;
        QStringList findings;
        QStringList lines = {"+INFO,ann@example.org,Password,SEQUENCED,BIRTHS",
                             "#,9z,Ann Smith,Wessex,1905B1A0012.ZEL,2-Mar-2026,Y,N,N,A,12,7.4",
                             "#,", "+F,1905,Mar,,12,Fiche 12,14-Mar-2026", "+PAGE,12"};
        const int count = 1700;
        for (int i = 0; i < count; ++i) {
            const int row = i + 2;
            const QString label = QStringLiteral("Row %1: ").arg(row);
            // Surnames in order: the sequence check reads letters only.
            QString surname = QStringLiteral("A");
            for (int n = i, place = 0; place < 3; ++place, n /= 26)
                surname.insert(1, QChar(u'A' + n % 26));
            if (row == 700) {
                surname = QStringLiteral("AAAA");
                findings << label + "Out of Sequence";
            }
            if (row == 1000 || row == 1400) {
                const QString page = row == 1000 ? "+PAGE,13" : "+PAGE,15";
                rows << page + "|||";
                lines << page;
                if (row == 1400)
                    findings << QStringLiteral("Row %1 Incorrect Page Number").arg(row);
                continue;
            }
            switch (i % 4) {
            case 0:
                rows << surname + "|Ann|Leeds,9b|12";
                lines << surname + ",Ann,Leeds,9b,12";
                break;
            case 1:
                rows << surname + "|||";
                lines << surname + ",,,,";
                findings << label + "Row is incomplete";
                break;
            case 2:
                rows << surname + "|A?n|Leeds,9b|12";
                lines << surname + ",A?n,Leeds,9b,12";
                findings << label + "A ? must be the only character";
                break;
            default:
                rows << surname + "|Ann  Mary|Leeds,9b|12";
                lines << surname + ",Ann  Mary,Leeds,9b,12";
                findings << label + "Comment: Multiple spaces are unusual.";
                break;
            }
        }
        gridOf(rows);
        // A "?" row being edited: its check follows the project's flag and
        // may report to the status bar (with the change warning on).
        gCurrentRow = 800;
        gProject->setDistValidate(true);
        gProject->setChangeWarning(true);
        QCOMPARE(grid->TextMatrix(800, 2), QStringLiteral("A?n"));

        QVERIFY(gTranscription->SaveData(false));
        QCOMPARE(gTranscription->SaveFindings(), findings.join(kCrLf));
        QCOMPARE(TestFiles::readBytes(savedFile()), crlf(lines));
        QCOMPARE(gTranscription->IncompleteCount(), count / 4);
        QVERIFY(gProject->SequenceError());
        QCOMPARE(status->offMainThread, 0);
        QVERIFY(std::any_of(status->messages.cbegin(), status->messages.cend(),
                            [](const RecordingStatusBar::Message &m) {
                                return m.text == QLatin1String("Invalid use of ?");
                            }));
        QVERIFY(script->records().isEmpty());
    }

    // The results window lists the findings; without findings it stays shut.
    void resultsWindow()
    {
        gridOf({"ABBOT|||", "ADAMS|Bob|Leeds,9b|12"});
        QVERIFY(gTranscription->SaveData(true));
        QCOMPARE(messages(), QStringList{results(kSavedResult, "Row 2: Row is incomplete")});

        // The next save closes the window of the last; only a save with
        // findings opens a new one.
        script->clearRecords();
        grid->setTextMatrix(2, 2, QStringLiteral("Ann"));
        grid->setTextMatrix(2, 3, QStringLiteral("Leeds,9b"));
        grid->setTextMatrix(2, 4, QStringLiteral("12"));
        QVERIFY(gTranscription->SaveData(true));
        QCOMPARE(messages(), QStringList{kResultsClosed});

        script->clearRecords();
        QVERIFY(gTranscription->SaveData(true));
        QVERIFY(messages().isEmpty());
    }

    // Rows 2 on all blank: the header alone.
    void blankGridWritesHeaderOnly()
    {
        gridOf({"|||", " | | | "});
        QVERIFY(gTranscription->SaveData(true));
        QCOMPARE(TestFiles::readBytes(savedFile()),
                 crlf({"+INFO,ann@example.org,Password,SEQUENCED,BIRTHS",
                       "#,9z,Ann Smith,Wessex,1905B1A0012.ZEL,2-Mar-2026,Y,N,N,A,12,7.4", "#,",
                       "+F,1905,Mar,,12,Fiche 12,14-Mar-2026", "+PAGE,12"}));
    }

    // Comment and "+" rows are written exactly as typed; data cells
    // trimmed, the district split in two.
    void dataLineForms()
    {
        gridOf({"  # kept as typed |x|y|z", " ABBOT | Ann |Leeds, West,9b| 12 ",
                "ADAMS|Bob|Leeds|12", "ALLEN|Cy||12", "AMOS|Di \"Jo\"|9b|12"});
        QVERIFY(gTranscription->SaveData(false));
        const QByteArray bytes = TestFiles::readBytes(savedFile());
        QVERIFY(bytes.endsWith(crlf({"  # kept as typed ", "ABBOT,Ann,\"Leeds, West\",9b,12",
                                     "ADAMS,Bob,Leeds,,12", "ALLEN,Cy,,,12",
                                     "AMOS,Di \"Jo\",9b,,12"})));
    }

    // ---- "+PAGE" rows ----------------------------------------------------------------
    void startOfPage_data()
    {
        QTest::addColumn<QString>("previous");
        QTest::addColumn<QString>("line");
        QTest::addColumn<bool>("accepted");
        QTest::addColumn<QString>("message");
        QTest::addColumn<bool>("emptied");

        QTest::newRow("next-page") << "+PAGE,12" << "+PAGE,13" << true << "" << true;
        QTest::newRow("letter-after-plain-page") << "+PAGE,12" << "+PAGE,12A" << true << "" << true;
        QTest::newRow("next-letter") << "+PAGE,12A" << "+PAGE,12B" << true << "" << true;
        QTest::newRow("lower-case-letters") << "+PAGE,12a" << "+page,12b" << true << "" << true;
        QTest::newRow("next-page-with-a") << "+PAGE,12" << "+PAGE,13A" << true << "" << true;
        QTest::newRow("next-page-with-b")
                << "+PAGE,12" << "+PAGE,13B" << false << "Row 3 Incorrect Page Number" << true;
        QTest::newRow("page-skipped")
                << "+PAGE,12" << "+PAGE,14" << false << "Row 3 Incorrect Page Number" << true;
        QTest::newRow("same-page-again")
                << "+PAGE,12" << "+PAGE,12" << false << "Row 3 Incorrect Page Number" << true;
        QTest::newRow("letter-skipped")
                << "+PAGE,12A" << "+PAGE,12C" << false << "Row 3 Incorrect Page Number" << true;
        QTest::newRow("space-for-comma")
                << "+PAGE,12" << "+PAGE 13" << false << "Invalid Format" << false;
        QTest::newRow("not-a-page-line")
                << "+PAGE,12" << "+PAGX,13" << false << "Invalid Entry" << false;
    }

    void startOfPage()
    {
        QFETCH(QString, previous);
        QFETCH(QString, line);
        QFETCH(bool, accepted);
        QFETCH(QString, message);
        QFETCH(bool, emptied);

        gridOf({"ABBOT|Ann|Leeds,9b|12", line + "|x|y|z"});
        grid->setTextMatrix(1, 1, previous);
        QString reason;
        QCOMPARE(gTranscription->StartofPage(3, &reason), accepted);
        QCOMPARE(reason, message);
        QCOMPARE(rowText(3), line + (emptied ? QStringLiteral("|||") : QStringLiteral("|x|y|z")));
        const bool statusError = message == QLatin1String("Invalid Format")
                                 || message == QLatin1String("Invalid Entry");
        QCOMPARE(!status->messages.isEmpty() && status->messages.last().error, statusError);
    }

    // ---- A save never costs the previous file ----------------------------------------
    // The file is replaced, never emptied and rewritten: a second name for
    // the old file still reads the old bytes.
    void saveReplacesFileWhole()
    {
        gridOf({"ABBOT|Ann|Leeds,9b|12"});
        const QByteArray old("old contents\r\n");
        QVERIFY(TestFiles::writeBytes(savedFile(), old));
        const QString link = homePath("old-link");
        QCOMPARE(::link(QFile::encodeName(savedFile()).constData(),
                        QFile::encodeName(link).constData()),
                 0);
        QVERIFY(gTranscription->SaveData(false));
        QCOMPARE(TestFiles::readBytes(link), old);
        QVERIFY(TestFiles::readBytes(savedFile()).endsWith("ABBOT,Ann,Leeds,9b,12\r\n"));
    }

    void failedWriteReported()
    {
        gridOf({"ABBOT|Ann|Leeds,9b|12"});
        gChangeMonitor->Changed();
        gProject->setSavePath(homePath("gone"));
        QVERIFY(!gTranscription->SaveData(true));
        QCOMPARE(messages(),
                 QStringList{results("Your data has NOT been saved",
                                     "Error in SaveData, error=76" + kCrLf + " (Path not found)"
                                             + kCrLf
                                             + "If this error persists then try changing the "
                                               "SavePath.")});
        QVERIFY(gProject->Invalid());
        QVERIFY(gChangeMonitor->AnyChange());
        QCOMPARE(status->current(), QStringLiteral("Not saved"));
        QVERIFY(status->messages.last().error);
        QVERIFY(!QFileInfo::exists(homePath("gone")));
    }

    // What fails after the file is safely on disk is told apart: the data
    // is saved, and the save says so.
    void laterFailureReportedApart()
    {
        gridOf({"ABBOT|Ann|Leeds,9b|12"});
        gChangeMonitor->Changed();
        QStringList calls;
        auto &hooks = gTranscription->batchFileHooks();
        hooks.proposeRecentFile = [&calls](const QString &path) {
            calls << QStringLiteral("propose ") + QFileInfo(path).fileName();
            return false;
        };
        hooks.companionSaved = [&calls](bool unsaved) {
            calls << QStringLiteral("companion %1").arg(unsaved);
        };
        QVERIFY(gTranscription->SaveData(true));
        QCOMPARE(messages(), QStringList{results("Your file has been saved, but:" + kCrLf
                                                         + "The list of recent files could not "
                                                           "be updated.",
                                                 "")});
        QCOMPARE(calls, (QStringList{"propose 1905B1A0012.ZEL", "companion 1"}));
        QVERIFY(!gProject->Invalid());
        QVERIFY(!gChangeMonitor->AnyChange());
        QVERIFY(QFileInfo::exists(savedFile()));
    }

    void secondSaveDuringSaveRefused()
    {
        gridOf({"ABBOT|Ann|Leeds,9b|12"});
        bool inner = true;
        gTranscription->batchFileHooks().proposeRecentFile = [&inner](const QString &) {
            inner = gTranscription->SaveData(false);
            return true;
        };
        QVERIFY(gTranscription->SaveData(false));
        QVERIFY(!inner);
        QVERIFY(!gTranscription->Saving());
    }

    void batchWithoutNameNotSaved()
    {
        gridOf({"ABBOT|Ann|Leeds,9b|12"});
        gProject->setBatchName(QString());
        QVERIFY(!gTranscription->SaveData(false));
        QVERIFY(QDir(homePath("Output")).isEmpty());
        QVERIFY(gTranscription->SaveFindings().startsWith("Error in SaveData, error=52"));
    }

    // The page-letter check's save: no window, the file written.
    void silentSaveThroughBatchSaver()
    {
        Transcription::InstallBatchSaver();
        gridOf({"ABBOT|||", ""});
        QVERIFY(Saver().SaveSilently());
        QVERIFY(QFileInfo::exists(savedFile()));
        QVERIFY(script->records().isEmpty());
        grid->setTextMatrix(3, 1, QStringLiteral("+PAGE,13"));
        QVERIFY(Saver().StartofPage(3));
    }

    // ---- Entries that could not load again -----------------------------------------
    // Every entry either comes back from a save and a load exactly as it
    // was, or the save is refused, naming the row and the entry.
    void awkwardEntries_data()
    {
        QTest::addColumn<int>("col"); // 1 surname, 2 forenames, 3 district, 4 page
        QTest::addColumn<QString>("entry");
        QTest::addColumn<bool>("loadsAgain");

        QTest::newRow("plain") << 2 << "Ann" << true;
        QTest::newRow("comma") << 2 << "Ann, Mary" << true;
        QTest::newRow("semicolon") << 2 << "Ann;Mary" << true;
        QTest::newRow("semicolon-and-comma") << 2 << "Ann;Mary, Jo" << true;
        QTest::newRow("quotes-inside") << 2 << "Ann \"Jo\" Mary" << true;
        QTest::newRow("quote-at-start") << 2 << "\"Ann" << true;
        QTest::newRow("quote-at-end") << 2 << "Ann\"" << true;
        QTest::newRow("lone-quote") << 2 << "\"" << true;
        QTest::newRow("quote-at-start-then-comma") << 2 << "\"a,b" << true;
        QTest::newRow("comma-then-quote") << 2 << "a,\"b" << true;
        QTest::newRow("quote-comma-in-surname") << 1 << "O\"B,X" << true;
        QTest::newRow("quote-in-district-name") << 3 << "Leeds \"W\",9b" << true;
        // A separator with nothing on one side of it: the district goes
        // into the file whole, so that it loads back as it was.
        QTest::newRow("district-separator-at-the-end") << 3 << "Leeds," << true;
        QTest::newRow("district-comma-after-the-volume") << 3 << "Bath,5c," << true;
        QTest::newRow("district-commas-at-the-end") << 3 << "Bath,,," << true;
        QTest::newRow("district-separator-first") << 3 << ",5c" << true;
        QTest::newRow("district-comma-alone") << 3 << "," << true;
        QTest::newRow("quote-in-page") << 4 << "12\"" << true;
        QTest::newRow("quote-and-semicolon") << 2 << "Ann;\"Jo" << true;
        QTest::newRow("quotes-around-entry") << 2 << "\"Ann\"" << false;
        QTest::newRow("two-quotes") << 2 << "\"\"" << false;
        QTest::newRow("quote-then-comma") << 2 << "12\"," << false;
        QTest::newRow("quote-comma-quote") << 2 << "a\",\"b" << false;
        QTest::newRow("quotes-around-surname") << 1 << "\"ABBOT\"" << false;
    }

    void awkwardEntries()
    {
        QFETCH(int, col);
        QFETCH(QString, entry);
        QFETCH(bool, loadsAgain);

        QStringList cells = {"ABBOT", "Ann", "Leeds,9b", "12"};
        cells[col - 1] = entry;
        gridOf({cells.join(u'|'), "ADAMS|Bob|Leeds,9b|12"});
        const bool saved = gTranscription->SaveData(false);
        if (saved) {
            QVERIFY(gTranscription->Restore(savedFile()));
            QCOMPARE(grid->TextMatrix(2, col), entry);
            QCOMPARE(rowText(3), QStringLiteral("ADAMS|Bob|Leeds,9b|12"));
        } else {
            QCOMPARE(gTranscription->SaveFindings(),
                     "Row 2: Cannot save the entry " + entry
                             + " as it is: a double quote in it would stop the file loading it "
                               "again. Please change the double quote to an apostrophe.");
            QVERIFY(!QFileInfo::exists(savedFile()));
            QVERIFY(gProject->Invalid());
        }
        QCOMPARE(saved, loadsAgain);
    }

    // ---- Saves refused, with the reason in the results window ------------------------
    void saveRefused_data()
    {
        QTest::addColumn<QString>("fault");
        QTest::addColumn<QString>("info");

        QTest::newRow("no-event-type")
                << "event" << "The batch header has no event type (Births, Deaths or Marriages), so "
                              "the file cannot be saved."
                                      + kCrLf
                                      + "Please use Edit Header to choose one, then save again.";
        QTest::newRow("entry-would-not-load-again")
                << "entry"
                << "Row 3: Cannot save the entry 12\", as it is: a double quote in it would stop "
                   "the file loading it again. Please change the double quote to an apostrophe.";
        QTest::newRow("name-leads-out-of-the-folder")
                << "name" << "Error in SaveData, error=52" + kCrLf + " (Bad file name or number)"
                                     + kCrLf
                                     + "If this error persists then try changing the SavePath.";
    }

    // Nothing is written, anywhere; the old file stays; the batch is still
    // unsaved.
    void saveRefused()
    {
        QFETCH(QString, fault);
        QFETCH(QString, info);

        gridOf({"ABBOT|Ann|Leeds,9b|12", "ADAMS|Bob|Leeds,9b|12"});
        const QByteArray old("old contents\r\n");
        QVERIFY(TestFiles::writeBytes(savedFile(), old));
        gChangeMonitor->Changed();
        if (fault == QLatin1String("event"))
            gProject->setEventType(0);
        else if (fault == QLatin1String("entry"))
            grid->setTextMatrix(3, 2, QStringLiteral("12\","));
        else
            gProject->setBatchName(QStringLiteral("../x.ZEL"));

        QVERIFY(!gTranscription->SaveData(true));
        QCOMPARE(messages(), QStringList{results("Your data has NOT been saved", info)});
        QCOMPARE(TestFiles::readBytes(homePath("Output/1905B1A0012.ZEL")), old);
        QCOMPARE(QDir(homePath("Output")).entryList(QDir::Files), QStringList{"1905B1A0012.ZEL"});
        QVERIFY(!QFileInfo::exists(homePath("x.ZEL")));
        QVERIFY(gProject->Invalid());
        QVERIFY(gChangeMonitor->AnyChange());
    }

    // A file whose "+INFO" line cannot be read gives a batch without an
    // event type: it is not saved as marriages, and is saved once the
    // header has one.
    void batchWithoutInfoLineSavedOnlyWithAnEventType()
    {
        const QString input = homePath("in/x.ZEL");
        QStringList lines = birthsHeader() << "ABBOT,Ann,Leeds,9b,12";
        lines[0] = QStringLiteral("+INFO");
        QVERIFY(TestFiles::writeBytes(input, crlf(lines)));
        script->answer({"Ok", "Ok"});
        QVERIFY(gTranscription->Restore(input));
        QCOMPARE(gProject->EventType(), 0);
        script->clearRecords();

        QVERIFY(!gTranscription->SaveData(false));
        QVERIFY(!QFileInfo::exists(savedFile()));

        gProject->setEventType(1); // as the header form would
        QVERIFY(gTranscription->SaveData(false));
        QVERIFY(TestFiles::readBytes(savedFile())
                        .startsWith("+INFO,,Password,SEQUENCED,BIRTHS\r\n"));
    }

    // A header naming a file outside the save folder: the batch is named
    // from its header, and the save writes there and nowhere else.
    void headerNameOutsideSaveFolderNeverWritten()
    {
        const QString input = homePath("in/x.ZEL");
        QStringList lines = birthsHeader() << "ABBOT,Ann,Leeds,9b,12";
        lines[1] = QStringLiteral("#,9z,Ann Smith,Wessex,../victim.ZEL,2-Mar-2026,Y,N,N,A,12,7.4");
        QVERIFY(TestFiles::writeBytes(input, crlf(lines)));
        const QByteArray victim("not a batch\r\n");
        QVERIFY(TestFiles::writeBytes(homePath("victim.ZEL"), victim));
        script->answer("Ok");
        QVERIFY(gTranscription->Restore(input));
        QCOMPARE(messages(),
                 QStringList{"box 16 Pelkar: The file name in the header, ../victim.ZEL, is not a "
                             "plain file name and has not been used."
                             + kCrLf
                             + "The batch is named 1905B1A0012.ZEL from its header details "
                               "instead."});
        QCOMPARE(gProject->BatchName(), QStringLiteral("1905B1A0012.ZEL"));

        QVERIFY(gTranscription->SaveData(false));
        QVERIFY(TestFiles::readBytes(homePath("Output/1905B1A0012.ZEL"))
                        .startsWith(crlf(birthsHeader().first(2))));
        QCOMPARE(TestFiles::readBytes(homePath("victim.ZEL")), victim);
    }

    // ---- The pick list around a save --------------------------------------------------
    void pickListAroundSave_data()
    {
        QTest::addColumn<bool>("dropDown");
        QTest::addColumn<int>("col"); // gCurrentCol
        QTest::addColumn<bool>("findings");
        QTest::addColumn<QStringList>("changes"); // of the list's visibility, in turn
        QTest::addColumn<bool>("hiddenWhileSaving");
        QTest::addColumn<QStringList>("expected");

        const QString incomplete = results(kSavedResult, "Row 2: Row is incomplete");
        const QString focused = results(kSavedResult, "Row 2: Row is incomplete", true);
        QTest::newRow("drop-down-hidden-then-back-with-the-box")
                << true << 3 << false << QStringList{"hide", "show"} << true << QStringList();
        QTest::newRow("drop-down-hidden-again-under-results")
                << true << 3 << true << QStringList{"hide", "show", "hide"} << true
                << QStringList{focused};
        QTest::newRow("drop-down-forenames-column")
                << true << 2 << true << QStringList{"hide", "show", "hide"} << true
                << QStringList{focused};
        QTest::newRow("drop-down-off-list-column")
                << true << 1 << true << QStringList{"hide"} << true << QStringList{incomplete};
        QTest::newRow("free-list-left-alone")
                << false << 3 << true << QStringList() << false << QStringList{incomplete};
    }

    void pickListAroundSave()
    {
        QFETCH(bool, dropDown);
        QFETCH(int, col);
        QFETCH(bool, findings);
        QFETCH(QStringList, changes);
        QFETCH(bool, hiddenWhileSaving);
        QFETCH(QStringList, expected);

        // The list as the window shows it, and the box that brings it up
        // when it takes the focus back, as the real boxes do.
        struct Window final : Project::PickWindow
        {
            bool pickVisible() const override { return visible; }
            void setPickVisible(bool on) override
            {
                if (on != visible)
                    changes << (on ? QStringLiteral("show") : QStringLiteral("hide"));
                visible = on;
            }
            bool pickMinimised() const override { return false; }
            void setPickNormal() override {}
            QRect pickGeometry() const override { return {}; }
            void movePick(int, int) override {}
            bool visible = true;
            QStringList changes;
        } window;
        struct Boxes final : RecordingEntryBoxes
        {
            void GiveFocusBack() override { gProject->ShowPickList(); }
        } boxes;
        Project::SetPickWindow(&window);
        auto restore = qScopeGuard([] { Project::SetPickWindow(nullptr); });

        gridOf({findings ? "ABBOT|||" : "ABBOT|Ann|Leeds,9b|12"});
        gProject->setDistPick(true);
        gProject->setForePick(true);
        gProject->setDropDownPick(dropDown);
        const int oldCol = gCurrentCol;
        gCurrentCol = col;
        auto restoreCol = qScopeGuard([oldCol] { gCurrentCol = oldCol; });
        bool visibleWhileSaving = true;
        gTranscription->batchFileHooks().proposeRecentFile = [&](const QString &) {
            visibleWhileSaving = window.visible;
            return true;
        };

        QVERIFY(gTranscription->SaveData(true));
        QCOMPARE(visibleWhileSaving, !hiddenWhileSaving);
        QCOMPARE(window.changes, changes);
        QCOMPARE(messages(), expected);
    }
};

PELKAR_TEST(tst_SaveRestore)
#include "tst_SaveRestore.moc"
