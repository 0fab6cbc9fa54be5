#pragma once

// The real main window, started as the program starts it and with a
// births batch loaded, for the benchmarks that measure typing in it. Its
// home (data, per-user values, work file) is a temporary folder under
// BenchFolder(): the disk measured is that one, never a memory file system
// by accident.
//
// With Lists::FullSize the district and forename files are of their real
// size: the generated 5,000 districts after the shipped ones (the
// benchmarks' batches name shipped districts) and 30,000 generated
// forenames.

#include "BenchStats.h"
#include "GeneratedDistricts.h"
#include "GeneratedForenames.h"
#include "TempHome.h"
#include "app/ProgramObjects.h"
#include "app/StartUp.h"
#include "core/Globals.h"
#include "core/Project.h"
#include "core/ScriptedServices.h"
#include "lists/Districts.h"
#include "lists/ForeNames.h"
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
    enum class Lists { Shipped, FullSize };

    explicit MainWindowBench(Lists lists = Lists::Shipped)
        : mHome(QDir(BenchFolder()).filePath(QStringLiteral("mainwindow-XXXXXX")))
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
        if (lists == Lists::FullSize)
            useFullSizeLists();
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

    std::unique_ptr<Form1> window;

private:
    static void useFullSizeLists()
    {
        const QDir files(gProject->GetFilePath());
        QFile districts(files.filePath(QStringLiteral("Pelkar_Districts.txt")));
        if (!districts.open(QIODevice::ReadWrite))
            std::abort();
        QByteArray bytes = districts.readAll();
        if (!bytes.endsWith("\r\n"))
            bytes += "\r\n";
        const QByteArray generated = GeneratedDistricts::districtFileBytes();
        // Without the generated file's own comment line.
        bytes += generated.mid(generated.indexOf("\r\n") + 2);
        if (!districts.seek(0) || districts.write(bytes) != bytes.size())
            std::abort();
        districts.close();
        QFile names(files.filePath(ForeNames::NameFileName()));
        const QByteArray nameBytes = GeneratedForenames::nameFileBytes();
        if (!names.open(QIODevice::WriteOnly | QIODevice::Truncate)
            || names.write(nameBytes) != nameBytes.size())
            std::abort();
        names.close();
        ProgramObjects::createForeNames();
        if (!gDistricts->Read_Districts())
            std::abort();
    }

    QTemporaryDir mHome;
    std::shared_ptr<Script> mScript;
};
