#pragma once

// What every fuzz target shares: one application object and one scratch
// folder for the whole process, and a fresh start for each input, so that no
// input sees what an earlier one left (objects, settings store, files).
//
// The folder lives under /dev/shm when the machine has it: the readers write
// and sync files, which costs nothing there. Every message is answered with
// the answer that changes least, as a transcriber closing it would.

#include "TempHome.h"
#include "app/ProgramObjects.h"
#include "core/CloseDownRequest.h"
#include "core/Cp1252.h"
#include "core/Globals.h"
#include "core/Project.h"
#include "core/ScriptedServices.h"
#include "core/SettingsFileStore.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFont>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QSettings>
#include <QStandardPaths>

#include <cstdint>
#include <cstdlib>
#include <memory>

#include <unistd.h>

namespace Fuzz {

struct State
{
    QString home;
    QString startFolder; // the fuzzer's own current folder
    std::shared_ptr<Script> script;
};

inline State &state()
{
    static State s;
    return s;
}

inline void dropQtMessages(QtMsgType type, const QMessageLogContext &, const QString &text)
{
    // A fatal message is a finding; the rest is noise at thousands of runs
    // a second.
    if (type == QtFatalMsg) {
        fprintf(stderr, "qFatal: %s\n", qPrintable(text));
        abort();
    }
}

inline void removeHome()
{
    if (!state().home.isEmpty())
        QDir(state().home).removeRecursively();
}

inline void startProcess()
{
    state().startFolder = QDir::currentPath();
    const QString base = QDir(QStringLiteral("/dev/shm")).exists() ? QStringLiteral("/dev/shm")
                                                                    : QDir::tempPath();
    state().home = QDir(base).filePath(QStringLiteral("pelkar-fuzz-%1").arg(getpid()));
    QDir(state().home).removeRecursively();
    UseTemporaryHome(QDir(state().home), {"Documents"});
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qInstallMessageHandler(dropQtMessages);

    static int argc = 1;
    static char name[] = "pelkar-fuzz";
    static char *argv[] = {name, nullptr};
    // Never destroyed: the fuzzer ends the process from inside a run.
    auto *app = new QGuiApplication(argc, argv);
    app->setApplicationName(QStringLiteral("Pelkar"));

    // The font database fills its caches once, on first use: done here, so
    // that they are not taken for what one input leaked.
    QFontMetrics(QFont(QStringLiteral("DejaVu Sans Mono"), 10)).horizontalAdvance(u'W');
    QFontMetrics(QFont()).horizontalAdvance(u'W');

    state().script = installScriptedServices();
    SetCloseDownHandler([](int, const QString &, const QString &) {});
    atexit(removeHome);
}

// The test's data folder.
inline QString data()
{
    return QDir(state().home).filePath(QStringLiteral("data"));
}

inline QString dataPath(const QString &relative)
{
    return QDir(data()).filePath(relative);
}

// Call first in every input: no object, no held settings, no message
// record, and an empty data folder with its usual sub-folders.
inline void begin()
{
    if (state().home.isEmpty())
        startProcess();
    // The readers change the current folder to the data folder, which goes
    // below; the fuzzer reads its inputs by paths relative to its own.
    QDir::setCurrent(state().startFolder);
    ProgramObjects::releaseAll();
    ProgramObjects::resetState();
    ClearIniStore();
    state().script->clearRecords();
    QDir(data()).removeRecursively();
    QDir(QDir(state().home).filePath(QStringLiteral(".config"))).removeRecursively();
    for (const char *sub : {"Files", "OriginalFiles", "Output", "in"})
        QDir(data()).mkpath(QString::fromLatin1(sub));
    QDir(state().home).mkpath(QStringLiteral(".config"));
}

// Call last: what the input built goes before the next one.
inline void end()
{
    QDir::setCurrent(state().startFolder);
    ProgramObjects::releaseAll();
    ProgramObjects::resetState();
    ClearIniStore();
    state().script->clearRecords();
}

inline QByteArray bytes(const uint8_t *d, size_t n)
{
    return QByteArray(reinterpret_cast<const char *>(d), qsizetype(n));
}

inline bool write(const QString &path, const QByteArray &content)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly | QIODevice::Truncate) && f.write(content) == content.size();
}

// The program's first objects over the data folder.
inline void newProject()
{
    ProgramObjects::createEvents();
    ProgramObjects::createProject();
    gProject->setDataPath(data());
    gProject->setFilesPath(dataPath(QStringLiteral("Files")));
    gProject->setSavePath(dataPath(QStringLiteral("Output")));
}

} // namespace Fuzz
