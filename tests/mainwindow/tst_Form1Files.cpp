// The File menu's batch commands and the header form's hand-back, through
// the real main window: what reaches the disk, the grid and the recent
// files, and every question asked on the way.

#include "MainWindowFixture.h"

#include "core/FileHelpers.h"
#include "core/UserSettings.h"
#include "core/HeaderTypes.h"
#include "entry/FlexGrid.h"
#include "entry/RichTextBox.h"
#include "header/HeaderRules.h"
#include "header/frmHeader.h"
#include "mainwindow/BatchFilePaths.h"
#include "transcription/Change_Monitor.h"
#include "transcription/Recent_files.h"
#include "transcription/clsWorkFile.h"

#include <QAction>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QTest>

#include <sys/inotify.h>
#include <unistd.h>

namespace {

QByteArray readAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void writeAll(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(bytes);
}

QStringList column1(FlexGrid &grid)
{
    QStringList rows;
    for (int r = 1; r < grid.Rows(); ++r)
        rows << grid.TextMatrix(r, 1);
    return rows;
}

// The names of the files created in a folder while it is watched.
class CreatedFiles
{
public:
    explicit CreatedFiles(const QString &folder)
        : mFd(inotify_init1(IN_NONBLOCK | IN_CLOEXEC))
    {
        if (mFd >= 0)
            inotify_add_watch(mFd, QFile::encodeName(folder).constData(), IN_CREATE);
    }
    ~CreatedFiles()
    {
        if (mFd >= 0)
            ::close(mFd);
    }
    bool watching() const { return mFd >= 0; }
    QStringList names()
    {
        QStringList list;
        alignas(inotify_event) char buffer[8192];
        for (ssize_t n; (n = ::read(mFd, buffer, sizeof buffer)) > 0;) {
            for (char *p = buffer; p < buffer + n;) {
                const auto *event = reinterpret_cast<const inotify_event *>(p);
                if (event->len > 0)
                    list << QFile::decodeName(event->name);
                p += sizeof(inotify_event) + event->len;
            }
        }
        return list;
    }

private:
    int mFd;
};

} // namespace

class tst_Form1Files : public MainWindowFixture
{
    Q_OBJECT

    QString inSaveFolder(const QString &name) const
    {
        return QDir(gProject->SavePath()).filePath(name);
    }

    // An unsaved change in the grid, as typing one leaves it.
    void changeFirstSurname(const QString &text)
    {
        window->fgInput().setTextMatrix(2, 1, text);
        gChangeMonitor->Changed();
    }

    QStringList prompts() const
    {
        QStringList list;
        for (const MessageRecord &r : script->records())
            list << r.prompt;
        return list;
    }

    // Notices this test does not look at are let through unanswered.
    void acceptUnexpected()
    {
        script->onUnexpected = [](const MessageRecord &) {};
    }

    frmHeader *headerForm() const { return qobject_cast<frmHeader *>(window->headerForm()); }

private slots:
    void nextPageNumber_data()
    {
        QTest::addColumn<QString>("page");
        QTest::addColumn<int>("length");
        QTest::addColumn<QString>("next");
        QTest::addColumn<int>("newLength");
        QTest::newRow("padded") << "0099" << 4 << "0100" << 4;
        QTest::newRow("grows") << "99" << 2 << "100" << 3;
        QTest::newRow("short-padded") << "7" << 3 << "008" << 3;
        QTest::newRow("not-a-number") << "12a" << 4 << "" << 4;
        QTest::newRow("empty") << "" << 4 << "" << 4;
        QTest::newRow("too-long") << "12345678901" << 4 << "" << 4;
    }
    void nextPageNumber()
    {
        QFETCH(QString, page);
        QFETCH(int, length);
        QFETCH(QString, next);
        QFETCH(int, newLength);
        QCOMPARE(HeaderRules::NextPageNumber(page, length), next);
        QCOMPARE(length, newLength);
    }

    // Cancelling the open dialog, or a file that will not load, leaves the
    // open batch as it was: rows, unsaved state and name.
    void failedOpenKeepsTheBatch_data()
    {
        QTest::addColumn<bool>("cancel");
        QTest::addColumn<bool>("unsaved");
        QTest::newRow("dialog-cancelled") << true << true;
        QTest::newRow("file-not-a-batch") << false << true;
        QTest::newRow("file-not-a-batch-saved-batch") << false << false;
    }
    void failedOpenKeepsTheBatch()
    {
        QFETCH(bool, cancel);
        QFETCH(bool, unsaved);
        startWindow();
        if (unsaved)
            changeFirstSurname(QStringLiteral("Zebedee"));
        const QStringList rows = column1(window->fgInput());
        const QString name = gProject->BatchName();

        const QString bad = inSaveFolder(QStringLiteral("1905B1A0099.ZEL"));
        writeAll(bad, "this is not a batch file\r\n");
        if (unsaved)
            script->answer(QStringLiteral("No")); // don't save first
        script->answer(cancel ? QStringLiteral("<cancel>") : bad);
        acceptUnexpected();
        window->MenuItem(QStringLiteral("mnuFileOpen"))->trigger();
        if (!cancel)
            QCOMPARE(prompts().last(), QStringLiteral("That is not a valid file - The first line "
                                                      "does not start with +INFO."));

        if (unsaved)
            QCOMPARE(prompts().first(),
                     QStringLiteral("Do you want to save the existing data first?"));
        QCOMPARE(gProject->BatchName(), name);
        QCOMPARE(column1(window->fgInput()), rows);
        QCOMPARE(gChangeMonitor->AnyChange(), unsaved);
        QVERIFY(!window->bLoading());
        QVERIFY(!window->headerForm());
    }

    void openLoadsTheChosenFile()
    {
        startWindow();
        const QString other = inSaveFolder(QStringLiteral("1911B3A0123.ZEL"));
        QVERIFY(QFile::copy(QDir(QStringLiteral(PELKAR_FIXTURES))
                                .filePath(QStringLiteral("batch-births-mother-film/input.ZEL")),
                            other));
        script->answer(other);
        window->MenuItem(QStringLiteral("mnuFileOpen"))->trigger();
        QCOMPARE(script->records().first().kind, QStringLiteral("openFile"));
        QVERIFY(gProject->HeaderIsComplete());
        QCOMPARE(gProject->iYear(), 1915);
        QVERIFY(!gChangeMonitor->AnyChange());
        QCOMPARE(gRecentFiles->FileName(1), other);
        QCOMPARE(window->fgInput().Row(), 2);
    }

    // A file whose header lacks the transcriber's name loads, then the
    // header form opens for it; filled in, the batch is ready to type into.
    void incompleteHeaderOpensTheForm()
    {
        startWindow();
        const QString other = inSaveFolder(QStringLiteral("1905B1A0077.ZEL"));
        QByteArray bytes = readAll(batch);
        bytes.replace("Ann Smith,Wessex", ",");
        writeAll(other, bytes);
        // The header names the batch 1905B1A0012.ZEL: no other file of that name.
        QVERIFY(QFile::remove(batch));
        acceptUnexpected();
        QVERIFY(!window->LoadFile(other));
        QVERIFY(prompts().first().startsWith(
            QStringLiteral("That File has details missing from the Header section.")));
        frmHeader *form = headerForm();
        QVERIFY(form);
        QCOMPARE(gHeaderReason, 1);
        QVERIFY(!form->cbOk()->isEnabled());

        for (const auto &[box, text] : {std::pair{form->tbName(), "Ann Lee"},
                                        {form->tbSyndicate(), "Kent"}}) {
            box->setFocus();
            QTest::keyClicks(box, QString::fromLatin1(text));
        }
        QVERIFY(form->cbOk()->isEnabled());
        script->answer(QStringLiteral("Yes")); // the last chance
        QTest::mouseClick(form->cbOk(), Qt::LeftButton);
        QTRY_VERIFY(!window->headerForm());
        QVERIFY(gProject->HeaderIsComplete());
        QVERIFY(window->isVisible());
        QCOMPARE(window->fgInput().TextMatrix(2, 1), QStringLiteral("ABBOT"));
    }

    // A batch from another transcriber (Windows-1252 letters, CR LF, a
    // credit line among the rows, a comment, a ";" separated row), opened
    // and saved through the menus, is written as the golden file.
    void otherTranscribersBatchOpenedAndSaved()
    {
        startWindow();
        const QDir fixture(QDir(QStringLiteral(PELKAR_FIXTURES))
                               .filePath(QStringLiteral("batch-other-transcriber")));
        const QString other = inSaveFolder(QStringLiteral("from-bo.ZEL"));
        QVERIFY(QFile::copy(fixture.filePath(QStringLiteral("input.ZEL")), other));
        QVERIFY(QFile::remove(batch)); // the header names the batch 1905B1A0012.ZEL
        script->answer(other);
        acceptUnexpected();
        window->MenuItem(QStringLiteral("mnuFileOpen"))->trigger();
        QVERIFY(prompts().contains(QStringLiteral("+Credit at line 2 moved to Header")));
        QCOMPARE(gProject->BatchName(), batchName());

        window->MenuItem(QStringLiteral("mnuSaveCont"))->trigger();
        const QByteArray expected = readAll(fixture.filePath(QStringLiteral("expected.ZEL")));
        QVERIFY(!expected.isEmpty());
        QCOMPARE(readAll(batch), expected);
        QCOMPARE(gRecentFiles->FileName(1), batch);
        QVERIFY(!FileExists(inSaveFolder(QStringLiteral("Pre_") + batchName())));
    }

    // A page letter read from a file is one letter: one that climbs out of
    // the save folder names no batch, and no copy kept for a header edit is
    // made or deleted outside that folder.
    void craftedPageLetterLeadsNowhere()
    {
        startWindow();
        const QString crafted = inSaveFolder(QStringLiteral("crafted.ZEL"));
        QByteArray bytes = readAll(batch);
        QVERIFY(bytes.contains(",N,A,12,"));
        bytes.replace(",N,A,12,", ",N,A/../../victim,12,");
        writeAll(crafted, bytes);
        QVERIFY(QDir().mkpath(inSaveFolder(QStringLiteral("Pre_1905B1A"))));
        const QString victim = QDir::cleanPath(inSaveFolder(QStringLiteral("../victim0012.ZEL")));
        writeAll(victim, "not a batch");

        acceptUnexpected();
        script->answer(crafted);
        window->MenuItem(QStringLiteral("mnuFileOpen"))->trigger();
        QVERIFY(gProject->PageLetter() != QStringLiteral("A/../../victim"));
        QVERIFY(Project::IsPlainFileName(gProject->BatchName()));
        if (window->headerForm())
            window->headerForm()->close();
        window->MenuItem(QStringLiteral("mnuExit"))->trigger();
        QCOMPARE(readAll(victim), QByteArray("not a batch"));

        // Whatever the name, no path is made from one that is not plain.
        QCOMPARE(BatchFilePaths::PreCopyPath(QStringLiteral("A/../../victim0012.ZEL")), QString());
        QCOMPARE(BatchFilePaths::InSaveFolder(QStringLiteral("../victim0012.ZEL")), QString());
    }

    // A file whose header names another batch, when a file of that name is
    // already in the save folder: asked before Save replaces it; No keeps
    // the name of the file opened.
    void openedFileNamingAnotherBatchAsks_data()
    {
        QTest::addColumn<QString>("answer");
        QTest::newRow("no-keeps-the-opened-name") << "No";
        QTest::newRow("yes-replaces-the-other-batch") << "Yes";
    }
    void openedFileNamingAnotherBatchAsks()
    {
        QFETCH(QString, answer);
        startWindow();
        const QByteArray other = readAll(batch);
        const QString copy = inSaveFolder(QStringLiteral("copy.ZEL"));
        QByteArray bytes = other;
        QVERIFY(bytes.contains("\r\nABBOT,"));
        bytes.replace("\r\nABBOT,", "\r\nABBOTT,");
        writeAll(copy, bytes);

        script->answer({copy, answer});
        window->MenuItem(QStringLiteral("mnuFileOpen"))->trigger();
        QCOMPARE(script->records().size(), 2);
        QCOMPARE(script->records()[1].prompt,
                 "The header of copy.ZEL names the batch " + batchName()
                     + ", and a file of that name already exists:\r\n" + batch
                     + "\r\nDo you want Save to replace it?\r\nNo keeps the name copy.ZEL, so "
                       "that Save writes the file you opened.");
        QCOMPARE(script->records()[1].style, int(Mb::YesNo | Mb::Question));

        changeFirstSurname(QStringLiteral("ABBOTTS"));
        window->MenuItem(QStringLiteral("mnuSaveCont"))->trigger();
        if (answer == QLatin1String("No")) {
            QCOMPARE(gProject->BatchName(), QStringLiteral("copy.ZEL"));
            QCOMPARE(readAll(batch), other);
            QVERIFY(readAll(copy).contains("\r\nABBOTTS,"));
        } else {
            QCOMPARE(gProject->BatchName(), batchName());
            QVERIFY(readAll(batch).contains("\r\nABBOTTS,"));
        }
    }

    void missingRecentFileIsSaidAndKept()
    {
        startWindow();
        const QString gone = inSaveFolder(QStringLiteral("1905B1A0044.ZEL"));
        writeAll(gone, "x");
        gRecentFiles->Propose(gone);
        QFile::remove(gone);
        script->answer(QStringLiteral("Ok"));
        window->mnurecent1_Click(1);
        QCOMPARE(prompts(), QStringList{QStringLiteral("Sorry - I can't find that file")});
        QCOMPARE(gRecentFiles->FileName(1), gone);
    }

    // Save As onto a file that exists asks first: No keeps its bytes; Yes
    // writes the batch there, the batch keeping its own name.
    void saveAsAsksBeforeOverwriting_data()
    {
        QTest::addColumn<QString>("answer");
        QTest::newRow("no-keeps-the-file") << "No";
        QTest::newRow("yes-writes") << "Yes";
    }
    void saveAsAsksBeforeOverwriting()
    {
        QFETCH(QString, answer);
        startWindow();
        const QString target = inSaveFolder(QStringLiteral("copy.ZEL"));
        writeAll(target, "old bytes");
        const QString name = gProject->BatchName();
        script->answer({target, answer});
        window->MenuItem(QStringLiteral("mnuSaveAs"))->trigger();
        QCOMPARE(script->records()[1].prompt, QStringLiteral("File ") + target
                                                  + QStringLiteral(" already exists.\r\nDo you "
                                                                   "want to overwrite it?"));
        if (answer == QLatin1String("No")) {
            QCOMPARE(readAll(target), QByteArray("old bytes"));
        } else {
            QCOMPARE(gRecentFiles->FileName(1), target);
            // The same bytes as the batch saved under its own name.
            QVERIFY(gTranscription->SaveData(false));
            QCOMPARE(readAll(target), readAll(batch));
        }
        QCOMPARE(gProject->BatchName(), name);
        QVERIFY(!window->bSaving());
    }

    // Save Batch and Exit with a row out of sequence asks; No leaves the
    // program running with its work file.
    void saveAndExitAsksWithErrors()
    {
        startWindow();
        changeFirstSurname(QStringLiteral("Zebedee")); // out of order after the others
        script->answer({QStringLiteral("Ok"), QStringLiteral("No")});
        acceptUnexpected();
        window->MenuItem(QStringLiteral("mnuSaveExit"))->trigger();
        QVERIFY(prompts().contains(QStringLiteral("Do you still wish to Exit?")));
        QVERIFY(gProject);
        QVERIFY(gWorkFile->WorkExists());
        QVERIFY(!window->bSaving());
    }

    void exitWithoutSavingForgetsANeverSavedBatch()
    {
        startWindow();
        changeFirstSurname(QStringLiteral("Adams"));
        QVERIFY(QFile::remove(batch));
        gRecentFiles->Propose(batch);
        script->answer(QStringLiteral("Yes"));
        window->MenuItem(QStringLiteral("mnuExit"))->trigger();
        QCOMPARE(script->records().size(), 1);
        QCOMPARE(script->records()[0].prompt,
                 QStringLiteral("Are you sure that you want to exit without saving your changes?"));
        QCOMPARE(script->records()[0].title, QStringLiteral("Pelkar Exit Program"));
        QVERIFY(!gProject);
        QVERIFY(GetUserSetting(QStringLiteral("Pelkar"), QStringLiteral("Recent Files"),
                               QStringLiteral("1"))
                != batch);
    }

    // A header edit keeps a "Pre_" copy and the work file while the form is
    // open; Cancel puts the batch file back as it was.
    void cancelledHeaderEditRestoresTheFile()
    {
        startWindow();
        changeFirstSurname(QStringLiteral("Abbot"));
        script->answer(QStringLiteral("Ok"));
        window->MenuItem(QStringLiteral("mnuEditHeader"))->trigger();
        const QString pre = inSaveFolder(QStringLiteral("Pre_") + batchName());
        QCOMPARE(prompts().last(), QStringLiteral("I have saved your existing data as Pre_")
                                       + batchName());
        QVERIFY(FileExists(pre));
        const QByteArray saved = readAll(batch);
        QCOMPARE(readAll(pre), saved);
        QVERIFY(gWorkFile->WorkExists());
        QVERIFY(headerForm());
        QVERIFY(!window->isVisible());

        QTest::mouseClick(headerForm()->cmdCancel(), Qt::LeftButton);
        QTRY_VERIFY(!window->headerForm());
        QCOMPARE(readAll(batch), saved);
        QVERIFY(!FileExists(pre) || readAll(pre) == saved);
        QVERIFY(window->isVisible());
        QCOMPARE(gHeaderReason, -1);
        QCOMPARE(window->fgInput().TextMatrix(2, 1), QStringLiteral("Abbot"));
    }

    // A file without a whole header opens the header form over a "Pre_"
    // copy of the open batch. However the form ends, the copy is not left in
    // the save folder and both files stay as they were; a copy that has
    // become the batch's only one takes the batch's name back.
    void headerFormLeavesNoPreCopy_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QString>("ending");
        const QByteArray info = "+INFO,ann@example.org,Password,SEQUENCED,BIRTHS\r\n";
        QTest::newRow("empty-form-closed") << QByteArray() << "close";
        QTest::newRow("header-only-form-closed") << info << "close";
        QTest::newRow("header-only-exit-menu") << info << "exit";
        QTest::newRow("header-only-other-file-opened") << info << "open";
        QTest::newRow("batch-file-gone-form-closed") << info << "close-batch-gone";
    }
    void headerFormLeavesNoPreCopy()
    {
        QFETCH(QByteArray, content);
        QFETCH(QString, ending);
        startWindow();
        const QByteArray batchBytes = readAll(batch);
        const QString file = inSaveFolder(QStringLiteral("1905B1A0099.ZEL"));
        writeAll(file, content);
        acceptUnexpected();
        script->answer(file);
        window->MenuItem(QStringLiteral("mnuFileOpen"))->trigger();
        QVERIFY(headerForm());
        QCOMPARE(gHeaderReason, 1);
        const QString pre = inSaveFolder(QStringLiteral("Pre_") + batchName());
        QCOMPARE(readAll(pre), batchBytes);

        if (ending == QLatin1String("open")) {
            script->answer(batch);
            headerForm()->mnuFileOpen_Click();
            QTRY_VERIFY(!window->headerForm());
            QCOMPARE(gProject->BatchName(), batchName());
        } else {
            if (ending == QLatin1String("close-batch-gone"))
                QVERIFY(QFile::remove(batch));
            if (ending == QLatin1String("exit"))
                headerForm()->mnuExit_Click();
            else
                headerForm()->close();
            QTRY_VERIFY(!gProject);
        }
        QVERIFY(!QFileInfo::exists(pre));
        QCOMPARE(readAll(batch), batchBytes);
        QCOMPARE(readAll(file), content);
    }

    // Save writes the batch through a temporary file of the program's own
    // name beside it, which start-up knows as a save's leftover; nothing of
    // it is left after the save.
    void saveWritesThroughItsOwnTemporaryFile()
    {
        startWindow();
        changeFirstSurname(QStringLiteral("Abbot"));
        CreatedFiles created(gProject->SavePath());
        QVERIFY(created.watching());
        acceptUnexpected();
        window->MenuItem(QStringLiteral("mnuSaveCont"))->trigger();
        QVERIFY(readAll(batch).contains("\r\nAbbot,"));
        const QStringList names = created.names();
        QCOMPARE(names.size(), 1);
        QVERIFY2(QRegularExpression(QRegularExpression::anchoredPattern(
                                        QRegularExpression::escape(batchName())
                                        + QStringLiteral("\\.pelkar-save-[A-Za-z0-9]{6}")))
                     .match(names[0])
                     .hasMatch(),
                 qPrintable(names[0]));
        QCOMPARE(QDir(gProject->SavePath()).entryList(QDir::Files, QDir::Name),
                 QStringList{batchName()});
    }

    // An edit that renames the batch asks about the old file; the "Pre_"
    // copy under the old name goes either way.
    void renamingEditAsksAboutTheOldFile_data()
    {
        QTest::addColumn<QString>("answer");
        QTest::newRow("no-keeps-both") << "No";
        QTest::newRow("yes-deletes-the-old") << "Yes";
    }
    void renamingEditAsksAboutTheOldFile()
    {
        QFETCH(QString, answer);
        startWindow();
        acceptUnexpected();
        window->MenuItem(QStringLiteral("mnuEditHeader"))->trigger();
        QVERIFY(headerForm());
        frmHeader *form = headerForm();
        form->tbPage()->setFocus();
        form->tbPage()->selectAll();
        QTest::keyClicks(form->tbPage(), QStringLiteral("13"));
        QTest::keyClick(form->tbPage(), Qt::Key_Tab);
        script->answer(QStringLiteral("Yes")); // the last chance
        script->answer(answer);                // delete the old file?
        QTest::mouseClick(form->cbOk(), Qt::LeftButton);
        QTRY_VERIFY(!window->headerForm());

        const QString renamed = inSaveFolder(QStringLiteral("1905B1A0013.ZEL"));
        QCOMPARE(gProject->BatchName(), QStringLiteral("1905B1A0013.ZEL"));
        QVERIFY(FileExists(renamed));
        QVERIFY(prompts().contains(
            QStringLiteral("The filename has changed.\r\nWould you like me to delete the old "
                           "file?\r\nYou should normally answer Yes otherwise you will have 2 "
                           "files with the same contents")));
        QCOMPARE(FileExists(batch), answer == QLatin1String("No"));
        QVERIFY(!FileExists(inSaveFolder(QStringLiteral("Pre_") + batchName())));
        QVERIFY(window->isVisible());
    }

    // An edit from births to deaths converts the grid: the deaths columns,
    // the surnames and forenames kept, the batch under its deaths name.
    void editToDeathsConvertsTheGrid()
    {
        startWindow();
        FlexGrid &grid = window->fgInput();
        QStringList before;
        for (int c = 0; c < grid.Cols(); ++c)
            before << grid.TextMatrix(0, c);
        const QString surname = grid.TextMatrix(2, 1);
        const QString forenames = grid.TextMatrix(2, 2);
        acceptUnexpected();
        window->MenuItem(QStringLiteral("mnuEditHeader"))->trigger();
        frmHeader *form = headerForm();
        QVERIFY(form);
        script->answer(QStringLiteral("Ok")); // the event-type warning
        form->cboEvent()->setFocus();
        form->cboEvent()->setCurrentIndex(1);
        script->answer(QStringLiteral("Yes")); // the last chance
        script->answer(QStringLiteral("No"));  // keep the births file
        QTest::mouseClick(form->cbOk(), Qt::LeftButton);
        QTRY_VERIFY(!window->headerForm());

        QStringList after;
        for (int c = 0; c < grid.Cols(); ++c)
            after << grid.TextMatrix(0, c);
        QVERIFY2(!before.contains(QStringLiteral("AaD")), qPrintable(before.join(u'|')));
        QVERIFY2(after.contains(QStringLiteral("AaD")), qPrintable(after.join(u'|')));
        QCOMPARE(grid.TextMatrix(2, 1), surname);
        QCOMPARE(grid.TextMatrix(2, 2), forenames);
        QCOMPARE(gProject->BatchName(), QStringLiteral("1905D1A0012.ZEL"));
        QVERIFY(FileExists(inSaveFolder(QStringLiteral("1905D1A0012.ZEL"))));
        QVERIFY(FileExists(batch));
    }

    // A first start has no batch: the header form, filled in and accepted,
    // leaves the grid ready for the first surname.
    void firstHeaderOpensTheGrid()
    {
        script->answer({QStringLiteral("Use Default"), QStringLiteral("Ok")});
        window = std::make_unique<Form1>();
        QVERIFY(window->Load());
        frmHeader *form = headerForm();
        QVERIFY(form && form->isVisible());
        QVERIFY(!window->isVisible());
        QCOMPARE(gHeaderReason, 2);

        form->cboEvent()->setCurrentIndex(0);
        form->tbYear()->setFocus();
        QTest::keyClicks(form->tbYear(), QStringLiteral("1905"));
        form->cboQuarter()->setCurrentIndex(0);
        form->cboSource()->setCurrentIndex(0);
        for (const auto &[box, text] : {std::pair{form->tbBatch(), "5"}, {form->tbPage(), "12"},
                                        {form->tbPageLetter(), "a"}, {form->tbSourceRef(), "F5"},
                                        {form->tbName(), "Ann Lee"}, {form->tbSyndicate(), "Kent"}}) {
            box->setFocus();
            box->selectAll();
            QTest::keyClicks(box, QString::fromLatin1(text));
        }
        QVERIFY(form->cbOk()->isEnabled());
        script->answer(QStringLiteral("Ok")); // no submitter ID: go on without
        QTest::mouseClick(form->cbOk(), Qt::LeftButton);
        QTRY_VERIFY(!window->headerForm());

        QVERIFY(window->isVisible());
        QCOMPARE(gHeaderReason, -1);
        QCOMPARE(gProject->BatchName(), QStringLiteral("1905B1A0012.ZEL"));
        QCOMPARE(window->fgInput().TextMatrix(1, 1), QStringLiteral("+PAGE,12"));
        QCOMPARE(window->fgInput().Row(), 2);
        QCOMPARE(window->fgInput().Col(), 1);
        QVERIFY(window->rtb1().Visible());
        QVERIFY(gWorkFile->WorkExists());
    }

    // Exit on the header form ends the run the orderly way.
    void exitFromTheHeaderForm()
    {
        script->answer({QStringLiteral("Use Default"), QStringLiteral("Ok")});
        window = std::make_unique<Form1>();
        QVERIFY(window->Load());
        QVERIFY(headerForm());
        headerForm()->mnuExit_Click();
        QTRY_VERIFY(!gProject);
        QVERIFY(!window->isVisible());
    }

    // Start New Batch: the header form with the next page; its OK starts an
    // empty batch with the first "+PAGE" row.
    void newBatchFromTheHeaderForm()
    {
        startWindow();
        gProject->setPageNumberLength(4);
        gProject->setPage(QStringLiteral("0099"));
        script->answer(QStringLiteral("No"));
        acceptUnexpected();
        window->MenuItem(QStringLiteral("mnuNewPage"))->trigger();
        QCOMPARE(prompts().first(), QStringLiteral("Do you want to save the existing data first?"));
        frmHeader *form = headerForm();
        QVERIFY(form);
        QCOMPARE(gHeaderReason, 0);
        QCOMPARE(form->tbPage()->text(), QStringLiteral("0100"));
        QCOMPARE(form->tbSourceRef()->text(), QStringLiteral("0100 "));
        QVERIFY(form->cbOk()->isEnabled());

        script->answer(QStringLiteral("Ok")); // no submitter ID: go on without
        QTest::mouseClick(form->cbOk(), Qt::LeftButton);
        QTRY_VERIFY(!window->headerForm());
        QVERIFY(window->isVisible());
        QCOMPARE(gHeaderReason, -1);
        QCOMPARE(gProject->BatchName(), QStringLiteral("1905B1A0100.ZEL"));
        QCOMPARE(window->fgInput().TextMatrix(1, 1), QStringLiteral("+PAGE,0100"));
        QVERIFY(gWorkFile->WorkExists());
    }
};

PELKAR_TEST(tst_Form1Files)
#include "tst_Form1Files.moc"
