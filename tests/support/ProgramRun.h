#pragma once

// Starting the real program from a test, with its messages answered from a
// script (PELKAR_SCRIPT) and recorded in a log beside it. The program
// inherits the test's HOME and runtime folder.

#include "core/ScriptedServices.h"

#include <QProcess>
#include <QStringList>

#include <memory>

class ProgramRun
{
public:
    // scriptPath: where to write the answers; the log is scriptPath + ".log".
    ProgramRun(const QString &scriptPath, const QStringList &answers,
               const QStringList &arguments = {});
    ~ProgramRun();

    // An environment variable for the program, beside the test's own; set
    // before start.
    void setEnvironment(const QString &name, const QString &value);
    // Another program to start than the one PELKAR_PROGRAM names (an
    // installed copy, a test's helper built on the program's libraries);
    // set before start.
    void setProgram(const QString &path) { mProgram = path; }
    // Starts the program; false when it could not be started.
    bool start();
    // Waits for the program to end by itself; false on time-out.
    bool waitForExit(int msecs = 30000);
    // Waits until the log holds at least count records; false on time-out.
    bool waitForMessages(int count, int msecs = 30000);
    void kill();
    // Writes a command line on the program's standard input (read when the
    // program runs with PELKAR_READ_COMMANDS: "close" clicks the main
    // window's close box).
    void command(const QString &line);
    bool isRunning() const { return mProcess.state() == QProcess::Running; }

    int exitCode() const { return mProcess.exitCode(); }
    QProcess::ExitStatus exitStatus() const { return mProcess.exitStatus(); }
    QString errorOutput() const { return mErrors; }
    // What the program printed on its standard output, read by waitForExit.
    QString output() const { return mOutput; }
    // What the program asked, in order.
    QList<MessageRecord> messages() const;

private:
    QString mScriptPath;
    QStringList mArguments;
    QString mProgram = qEnvironmentVariable("PELKAR_PROGRAM");
    QProcessEnvironment mEnvironment = QProcessEnvironment::systemEnvironment();
    QProcess mProcess;
    QString mErrors;
    QString mOutput;
};
