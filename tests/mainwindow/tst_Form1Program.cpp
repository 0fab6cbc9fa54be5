// The real program closed with its close box after a crash recovery: the
// rebuilt batch is in no file yet, so closing offers to save it; Cancel
// keeps the program running, Yes saves it and ends the run.

#include "PelkarTest.h"
#include "ProgramRun.h"

#include "app/StartUp.h"
#include "core/Globals.h"
#include "mainwindow/Form1.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QLocale>
#include <QStandardPaths>
#include <QThread>

namespace {

QByteArray readAll(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

bool waitFor(const std::function<bool()> &condition, int msecs = 20000)
{
    QDeadlineTimer deadline(msecs);
    while (!deadline.hasExpired()) {
        if (condition())
            return true;
        QThread::msleep(20);
    }
    return condition();
}

} // namespace

class tst_Form1Program : public PelkarTest
{
    Q_OBJECT

private:
    QString data() const
    {
        return QDir(QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation))
            .filePath(QStringLiteral("Pelkar_Files"));
    }

private slots:
    void closeBoxAfterCrashRecoveryAsksToSave()
    {
        // A data folder as a first start that closed cleanly leaves it.
        script->answer({QStringLiteral("Use Default"), QStringLiteral("Ok")});
        {
            Form1 first;
            QVERIFY(first.Load());
            CloseDown(0, QString(), QString());
        }
        const QString batch = homePath(QStringLiteral("1905B1A0012.ZEL"));
        QVERIFY(QFile::copy(QDir(QStringLiteral(PELKAR_FIXTURES))
                                .filePath(QStringLiteral("batch-births-plain-fiche/input.ZEL")),
                            batch));
        const QString work = QDir(data()).filePath(QStringLiteral("PelkarWork"));

        // A run that loads the batch and dies: its work file stays.
        {
            ProgramRun crashed(homePath(QStringLiteral("script1")), {}, {batch});
            QVERIFY(crashed.start());
            QVERIFY(waitFor([&] { return readAll(work).size() > 1000; }));
            QThread::msleep(300);
            crashed.kill();
        }
        QVERIFY(QFileInfo::exists(work));
        const QString saved = QDir(data()).filePath(QStringLiteral("Output/1905B1A0012.ZEL"));
        QFile::remove(saved);

        ProgramRun run(homePath(QStringLiteral("script2")),
                       {QStringLiteral("Yes"), QStringLiteral("Ok"), QStringLiteral("Cancel"),
                        QStringLiteral("Yes"), QStringLiteral("Yes")});
        run.setEnvironment(QStringLiteral("PELKAR_READ_COMMANDS"), QStringLiteral("1"));
        QVERIFY(run.start());
        QVERIFY2(run.waitForMessages(2), qPrintable(run.errorOutput()));

        const QString question = QStringLiteral(
            "You have clicked the close box.\r\nDo you want to Save your data first?");
        run.command(QStringLiteral("close"));
        QVERIFY2(run.waitForMessages(3), qPrintable(run.errorOutput()));
        QCOMPARE(run.messages()[2].prompt, question);
        QCOMPARE(run.messages()[2].answer, QStringLiteral("Cancel"));
        // Cancel: still running, the work file kept, nothing saved.
        QThread::msleep(300);
        QVERIFY(run.isRunning());
        QVERIFY(QFileInfo::exists(work));
        QVERIFY(!QFileInfo::exists(saved));

        run.command(QStringLiteral("close"));
        QVERIFY2(run.waitForExit(), qPrintable(run.errorOutput()));
        QCOMPARE(run.exitStatus(), QProcess::NormalExit);
        const QList<MessageRecord> asked = run.messages();
        QCOMPARE(asked[3].prompt, question);
        QCOMPARE(asked[3].answer, QStringLiteral("Yes"));
        QCOMPARE(asked.last().prompt, QStringLiteral("Do you still wish to Exit?"));
        QVERIFY(readAll(saved).contains("\r\nABBOT,John William,"));
        QVERIFY(!QFileInfo::exists(work));
    }

    // A batch named on the command line, saved under a new name through
    // File > Save As, then the close box: the old file as it was, the new
    // one the batch's bytes.
    void commandLineBatchSavedAsANewName()
    {
        script->answer({QStringLiteral("Use Default"), QStringLiteral("Ok")});
        {
            Form1 first;
            QVERIFY(first.Load());
            CloseDown(0, QString(), QString());
        }
        const QString batch = QDir(data()).filePath(QStringLiteral("Output/1905B1A0012.ZEL"));
        QFile::remove(batch);
        QVERIFY(QFile::copy(QDir(QStringLiteral(PELKAR_FIXTURES))
                                .filePath(QStringLiteral("batch-births-plain-fiche/input.ZEL")),
                            batch));
        const QByteArray original = readAll(batch);
        const QString copy = QDir(data()).filePath(QStringLiteral("Output/copy.ZEL"));

        ProgramRun run(homePath(QStringLiteral("script")), {copy, QStringLiteral("Ok")}, {batch});
        run.setEnvironment(QStringLiteral("PELKAR_READ_COMMANDS"), QStringLiteral("1"));
        QVERIFY(run.start());
        QThread::msleep(1500);
        run.command(QStringLiteral("menu mnuSaveAs"));
        QVERIFY2(run.waitForMessages(1), qPrintable(run.errorOutput()));
        QCOMPARE(run.messages()[0].kind, QStringLiteral("saveFile"));
        QVERIFY(waitFor([&] { return readAll(copy).size() > 100; }));
        run.command(QStringLiteral("close"));
        QVERIFY2(run.waitForExit(), qPrintable(run.errorOutput()));
        QCOMPARE(run.exitStatus(), QProcess::NormalExit);

        QCOMPARE(readAll(batch), original);
        const QByteArray expected = readAll(QDir(QStringLiteral(PELKAR_FIXTURES))
                                                .filePath(QStringLiteral(
                                                    "batch-births-plain-fiche/expected.ZEL")));
        // The "+F" line carries the day of the save; the batch line's case
        // flag the saving transcriber's setting (mixed-case surnames here).
        QByteArray dated = expected;
        dated.replace(",2-Mar-2026,Y,", ",2-Mar-2026,N,");
        dated.replace("Fiche 12,14-Mar-2026",
                      "Fiche 12," + QLocale::c().toString(QDate::currentDate(), "d-MMM-yyyy").toLatin1());
        QCOMPARE(readAll(copy), dated);
    }

    // A first start shows the header form; its close box ends the run the
    // orderly way: the settings saved with the form's place, no work file.
    void firstStartHeaderFormClosed()
    {
        ProgramRun run(homePath(QStringLiteral("script")),
                       {QStringLiteral("Use Default"), QStringLiteral("Ok")});
        run.setEnvironment(QStringLiteral("PELKAR_READ_COMMANDS"), QStringLiteral("1"));
        QVERIFY(run.start());
        QVERIFY2(run.waitForMessages(2), qPrintable(run.errorOutput()));
        QThread::msleep(300);
        QVERIFY(run.isRunning());
        run.command(QStringLiteral("close"));
        QVERIFY2(run.waitForExit(), qPrintable(run.errorOutput()));
        QCOMPARE(run.exitStatus(), QProcess::NormalExit);
        QCOMPARE(run.messages().size(), 2);
        const QByteArray settings = readAll(QDir(data()).filePath(QStringLiteral("Pelkarini.txt")));
        QVERIFY(settings.contains("\r\nHeaderX="));
        QVERIFY(!settings.contains("\r\nHeaderX=-1\r\n"));
        QVERIFY(!QFileInfo::exists(QDir(data()).filePath(QStringLiteral("PelkarWork"))));
    }
};

PELKAR_TEST(tst_Form1Program)
#include "tst_Form1Program.moc"
