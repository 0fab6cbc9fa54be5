#include "ProgramRun.h"

#include <QDeadlineTimer>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QThread>
#include <QtTest>

ProgramRun::ProgramRun(const QString &scriptPath, const QStringList &answers,
                       const QStringList &arguments)
    : mScriptPath(scriptPath), mArguments(arguments)
{
    QFile f(scriptPath);
    if (f.open(QIODevice::WriteOnly | QIODevice::Truncate))
        f.write(answers.join(QLatin1Char('\n')).toUtf8() + '\n');
    QFile::remove(scriptPath + QStringLiteral(".log"));
}

ProgramRun::~ProgramRun()
{
    if (mProcess.state() != QProcess::NotRunning) {
        mProcess.kill();
        mProcess.waitForFinished(5000);
    }
}

void ProgramRun::setEnvironment(const QString &name, const QString &value)
{
    mEnvironment.insert(name, value);
}

bool ProgramRun::start()
{
    if (mProgram.isEmpty())
        return false;
    QProcessEnvironment env = mEnvironment;
    env.insert(QStringLiteral("PELKAR_SCRIPT"), mScriptPath);
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    mProcess.setProcessEnvironment(env);
    mProcess.setProcessChannelMode(QProcess::SeparateChannels);
    mProcess.start(mProgram, mArguments);
    return mProcess.waitForStarted(10000);
}

bool ProgramRun::waitForExit(int msecs)
{
    const bool done = mProcess.waitForFinished(msecs);
    mErrors += QString::fromLocal8Bit(mProcess.readAllStandardError());
    mOutput += QString::fromLocal8Bit(mProcess.readAllStandardOutput());
    return done;
}

bool ProgramRun::waitForMessages(int count, int msecs)
{
    QDeadlineTimer deadline(msecs);
    while (!deadline.hasExpired()) {
        if (messages().size() >= count)
            return true;
        QThread::msleep(20);
    }
    return false;
}

void ProgramRun::command(const QString &line)
{
    mProcess.write(line.toUtf8() + '\n');
    mProcess.waitForBytesWritten(5000);
}

void ProgramRun::kill()
{
    mProcess.kill();
    mProcess.waitForFinished(10000);
}

QList<MessageRecord> ProgramRun::messages() const
{
    QList<MessageRecord> out;
    QFile f(mScriptPath + QStringLiteral(".log"));
    if (!f.open(QIODevice::ReadOnly))
        return out;
    for (const QByteArray &line : f.readAll().split('\n')) {
        if (line.trimmed().isEmpty())
            continue;
        const QJsonObject o = QJsonDocument::fromJson(line).object();
        MessageRecord r;
        r.kind = o.value(QStringLiteral("kind")).toString();
        r.prompt = o.value(QStringLiteral("prompt")).toString();
        r.title = o.value(QStringLiteral("title")).toString();
        r.style = o.value(QStringLiteral("style")).toInt();
        for (const auto &b : o.value(QStringLiteral("buttons")).toArray())
            r.buttons.append(b.toString());
        r.info = o.value(QStringLiteral("info")).toString();
        r.answer = o.value(QStringLiteral("answer")).toString();
        out.append(r);
    }
    return out;
}
