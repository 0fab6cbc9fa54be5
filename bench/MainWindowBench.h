#pragma once

// The real main window, started as the program starts it and with a
// births batch loaded, for the benchmarks that measure typing in it. Its
// home (data, per-user values, work file) is a temporary folder under the
// current folder, or under PELKAR_BENCH_DIR: the disk measured is that one,
// never a memory file system by accident.

#include "TempHome.h"
#include "app/ProgramObjects.h"
#include "app/StartUp.h"
#include "core/Globals.h"
#include "core/Project.h"
#include "core/ScriptedServices.h"
#include "mainwindow/Form1.h"
#include "transcription/Transcription.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <cstdio>
#include <cstdlib>
#include <memory>

class MainWindowBench
{
public:
    MainWindowBench()
        : mHome(QDir(benchFolder()).filePath(QStringLiteral("mainwindow-XXXXXX")))
    {
        if (!mHome.isValid())
            std::abort();
        UseTemporaryHome(QDir(mHome.path()), {"Documents"});

        mScript = installScriptedServices();
        // Start-up asks where the data goes and welcomes the new user;
        // any other message means the set-up is wrong.
        mScript->answer({QStringLiteral("Use Default"), QStringLiteral("Ok")});
        mScript->onUnexpected = [](const MessageRecord &r) {
            std::fprintf(stderr, "Unexpected message: %s\n", qPrintable(r.prompt));
            std::abort();
        };
        window = std::make_unique<Form1>();
        if (!window->Load())
            std::abort();
        QDir().mkpath(gProject->SavePath());
        const QString batch = QDir(gProject->SavePath()).filePath(QStringLiteral("1905B1A0012.ZEL"));
        QFile::remove(batch);
        if (!QFile::copy(QDir(QStringLiteral(PELKAR_FIXTURES))
                             .filePath(QStringLiteral("batch-births-plain-fiche/input.ZEL")),
                         batch)
            || !QFile::setPermissions(batch, QFile::ReadOwner | QFile::WriteOwner)
            || !gTranscription->Restore(batch))
            std::abort();
        window->SetUpMainForm();
        window->show();
        QCoreApplication::processEvents();
    }

    ~MainWindowBench()
    {
        if (gProject)
            CloseDown(0, QString(), QString());
        window.reset();
        ProgramObjects::releaseAll();
        mScript.reset();
        Services::clear();
    }

    QString home() const { return mHome.path(); }
    // The scripted services, for a benchmark that answers a command's
    // questions.
    Script &script() { return *mScript; }

    static QString benchFolder()
    {
        static const QString folder = [] {
            const QByteArray chosen = qgetenv("PELKAR_BENCH_DIR");
            return QDir(chosen.isEmpty() ? QDir::currentPath() : QString::fromLocal8Bit(chosen))
                .absolutePath();
        }();
        return folder;
    }

    std::unique_ptr<Form1> window;

private:
    QTemporaryDir mHome;
    std::shared_ptr<Script> mScript;
};
