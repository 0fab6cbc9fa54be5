// The real program through a header edit that renames the batch to a name
// whose file exists: the program goes on with the converted batch on
// screen and saved, and ends cleanly at the close box, the companion's
// values emptied.

#include "PelkarTest.h"
#include "ProgramRun.h"

#include "app/StartUp.h"
#include "core/Globals.h"
#include "mainwindow/Form1.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QSettings>
#include <QStandardPaths>
#include <QThread>

namespace {

QByteArray readAll(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

} // namespace

class tst_BatchChangesProgram : public PelkarTest
{
    Q_OBJECT

private:
    QString output() const
    {
        return QDir(QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation))
            .filePath(QStringLiteral("Pelkar_Files/Output"));
    }

    // A data folder as a first start that closed cleanly leaves it.
    void firstStart()
    {
        script->answer({QStringLiteral("Use Default"), QStringLiteral("Ok")});
        Form1 first;
        QVERIFY(first.Load());
        CloseDown(0, QString(), QString());
    }

private slots:
    void yearChangeOntoAnExistingNameKeepsRunning()
    {
        firstStart();
        const QString fixture = QDir(QStringLiteral(PELKAR_FIXTURES))
                                    .filePath(QStringLiteral("batch-births-plain-fiche/input.ZEL"));
        const QString batch = QDir(output()).filePath(QStringLiteral("1905B1A0012.ZEL"));
        const QString taken = QDir(output()).filePath(QStringLiteral("1906B1A0012.ZEL"));
        QVERIFY(QFile::copy(fixture, batch));
        QVERIFY(QFile::copy(fixture, taken));

        ProgramRun run(homePath(QStringLiteral("script")),
                       {QStringLiteral("Ok"), QStringLiteral("Yes"), QStringLiteral("Yes"),
                        QStringLiteral("No")},
                       {batch});
        run.setEnvironment(QStringLiteral("PELKAR_READ_COMMANDS"), QStringLiteral("1"));
        QVERIFY(run.start());
        QThread::msleep(1500);
        run.command(QStringLiteral("menu mnuEditHeader"));
        QVERIFY2(run.waitForMessages(1), qPrintable(run.errorOutput()));
        QCOMPARE(run.messages()[0].prompt,
                 QStringLiteral("I have saved your existing data as Pre_1905B1A0012.ZEL"));
        run.command(QStringLiteral("type tbYear 1906"));
        run.command(QStringLiteral("click cbOk"));
        QVERIFY2(run.waitForMessages(4), qPrintable(run.errorOutput()));
        const QList<MessageRecord> asked = run.messages();
        QVERIFY(asked[1].prompt.startsWith(
            QStringLiteral("A file with the name 1906B1A0012.ZEL already exists.")));
        QVERIFY(asked[2].prompt.startsWith(
            QStringLiteral("This is your last chance to cancel these changes.")));
        QVERIFY(asked[3].prompt.startsWith(QStringLiteral("The filename has changed.")));

        // Still running, the converted batch saved under its new name.
        QThread::msleep(800);
        QVERIFY2(run.isRunning(), qPrintable(run.errorOutput()));
        const QByteArray saved = readAll(taken);
        QVERIFY(saved.contains("1906"));
        QVERIFY(saved.contains("\r\nABBOT,John William,"));
        QVERIFY(QFile::exists(batch)); // No: the old file kept

        run.command(QStringLiteral("close"));
        QVERIFY2(run.waitForExit(), qPrintable(run.errorOutput()));
        QVERIFY2(run.exitStatus() == QProcess::NormalExit, qPrintable(run.errorOutput()));
        QCOMPARE(run.exitCode(), 0);
        QCOMPARE(run.messages().size(), 4);

        // The companion reads that the program has ended.
        QSettings values(
            QSettings(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("Pelkar"),
                      QStringLiteral("Pelkar"))
                .fileName(),
            QSettings::IniFormat);
        for (const char *key : {"YTQ", "District", "OldRow", "Saved"})
            QCOMPARE(values.value(QStringLiteral("Tressel/") + QLatin1String(key)).toString(),
                     QString());
    }

    // The first header form with a scan shown and closed from its Scan menu:
    // the viewer was the last window on view, yet the run goes on until the
    // form's close box ends it the orderly way.
    void scanClosedOnTheHeaderFormKeepsRunning()
    {
        QImage image(QSize(300, 600), QImage::Format_Grayscale8);
        image.fill(200);
        const QString page = homePath(QStringLiteral("page.png"));
        QVERIFY(image.save(page, "PNG"));
        ProgramRun run(homePath(QStringLiteral("script")),
                       {QStringLiteral("Use Default"), QStringLiteral("Ok"), page});
        run.setEnvironment(QStringLiteral("PELKAR_READ_COMMANDS"), QStringLiteral("1"));
        QVERIFY(run.start());
        QVERIFY2(run.waitForMessages(2), qPrintable(run.errorOutput()));
        QThread::msleep(300);
        run.command(QStringLiteral("menu mnuViewScan"));
        QVERIFY2(run.waitForMessages(3), qPrintable(run.errorOutput()));
        QCOMPARE(run.messages()[2].kind, QStringLiteral("openFile"));
        QThread::msleep(500);
        run.command(QStringLiteral("menu mnuViewScan"));
        QThread::msleep(800);
        QVERIFY2(run.isRunning(), qPrintable(run.errorOutput()));

        run.command(QStringLiteral("close"));
        QVERIFY2(run.waitForExit(), qPrintable(run.errorOutput()));
        QVERIFY2(run.exitStatus() == QProcess::NormalExit, qPrintable(run.errorOutput()));
        QCOMPARE(run.exitCode(), 0);
        // The orderly end stored the form's place.
        const QByteArray settings = readAll(
            QDir(output()).filePath(QStringLiteral("../Pelkarini.txt")));
        QVERIFY(settings.contains("\r\nHeaderX="));
    }
};

PELKAR_TEST(tst_BatchChangesProgram)
#include "tst_BatchChangesProgram.moc"
