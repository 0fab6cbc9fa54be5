// A crash at any keystroke of a batch typed into the main window: the run
// (typed_writer.cpp) is killed with SIGKILL after keystroke k, then the
// program is started again and recovers. Every row whose last cell was
// left before the kill comes back byte for byte; nothing else comes back
// but blank rows, and the batch saved from it is the typed batch's file up
// to those rows.

#include "PelkarTest.h"
#include "TestFiles.h"
#include "TypedBatch.h"

#include "app/StartUp.h"
#include "core/Globals.h"
#include "core/Project.h"
#include "mainwindow/Form1.h"
#include "transcription/clsWorkFile.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>

namespace {

const QString kRecoveryQuestion = QStringLiteral(
    "Your previous run of Pelkar did not closedown properly. Would you like me to try a recovery "
    "to that point?");

// The typing run, driven one keystroke at a time.
class TypedWriter
{
public:
    bool start()
    {
        const QString program = qEnvironmentVariable("PELKAR_TYPED_WRITER");
        if (program.isEmpty())
            return false;
        mProcess.start(program, {});
        return mProcess.waitForStarted(10000);
    }
    // Reads up to "key n".
    bool waitForKey(int n)
    {
        const QByteArray wanted = "key " + QByteArray::number(n);
        QDeadlineTimer deadline(20000);
        while (!deadline.hasExpired()) {
            while (mProcess.canReadLine()) {
                if (mProcess.readLine().trimmed() == wanted)
                    return true;
            }
            if (!mProcess.waitForReadyRead(200) && mProcess.state() == QProcess::NotRunning)
                return false;
        }
        return false;
    }
    void next() { mProcess.write("\n"); }
    QProcess::ExitStatus kill()
    {
        mProcess.kill(); // SIGKILL
        mProcess.waitForFinished(10000);
        return mProcess.exitStatus();
    }
    QString errors() { return QString::fromLocal8Bit(mProcess.readAllStandardError()); }

private:
    QProcess mProcess;
};

} // namespace

class tst_TypedCrash : public PelkarTest
{
    Q_OBJECT

    // A data folder as a first start that closed down cleanly leaves it.
    void prepareDataFolder()
    {
        script->answer({QStringLiteral("Use Default"), QStringLiteral("Ok")});
        {
            Form1 mainWindow;
            QVERIFY(mainWindow.Load());
            QVERIFY(QDir().mkpath(gProject->SavePath()));
            mainWindow.close();
        }
        script->clearRecords();
    }

private slots:
    void rowsLeftBeforeTheKillAreRecovered_data()
    {
        QTest::addColumn<int>("killedAfter");
        const QList<TypedBatch::Keystroke> keys = TypedBatch::keystrokes();
        const int last = int(keys.size());
        // Spread over the whole batch, with the keys either side of some
        // rows' last Tab.
        for (int k : {1, 20, 21, 45, 61, 88, 116, 150, last - 1, last})
            QTest::addRow("key-%d-of-%d", k, last) << k;
    }

    void rowsLeftBeforeTheKillAreRecovered()
    {
        QFETCH(int, killedAfter);
        prepareDataFolder();

        TypedWriter writer;
        QVERIFY(writer.start());
        for (int key = 0; key <= killedAfter; ++key) {
            QVERIFY2(writer.waitForKey(key), qPrintable(writer.errors()));
            if (key < killedAfter)
                writer.next();
        }
        QCOMPARE(writer.kill(), QProcess::CrashExit);
        const int rowsLeft = TypedBatch::keystrokes().at(killedAfter - 1).rowsLeft;

        // The real start offers the recovery and rebuilds the grid from the
        // work file the killed run left.
        script->answer({QStringLiteral("Yes"), QStringLiteral("Ok")});
        Form1 mainWindow;
        QVERIFY(mainWindow.Load());
        QCOMPARE(script->records().size(), 2);
        QCOMPARE(script->records().at(0).prompt, kRecoveryQuestion);

        const QStringList recovered = TypedBatch::gridRows(mainWindow.fgInput());
        const QStringList expected = TypedBatch::expectedRows().mid(0, rowsLeft);
        QVERIFY2(recovered.size() >= expected.size(), qPrintable(recovered.join(u'|')));
        QCOMPARE(recovered.mid(0, expected.size()), expected);
        for (qsizetype i = expected.size(); i < recovered.size(); ++i)
            QCOMPARE(recovered.at(i), QStringLiteral("\t\t\t"));
        QCOMPARE(gProject->BatchName(), TypedBatch::batchName());

        // Saved, the recovered batch is the typed one's file up to the rows
        // recovered: its five header lines, then a line a row.
        QVERIFY(gTranscription->SaveData(false));
        const QByteArray golden = TestFiles::readBytes(
            TestFiles::fixture(QStringLiteral("typed-births-batch/expected.ZEL")));
        QList<QByteArray> lines = golden.split('\n');
        lines = lines.mid(0, 5 + rowsLeft);
        const QByteArray saved = TestFiles::readBytes(
            QDir(gProject->SavePath()).filePath(TypedBatch::batchName()));
        QCOMPARE(saved, lines.join('\n') + '\n');

        // The orderly shut-down, without the close box's question.
        CloseDown(0, QString(), QString());
    }
};

PELKAR_TEST(tst_TypedCrash)
#include "tst_TypedCrash.moc"
