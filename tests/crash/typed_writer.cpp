// A transcriber's run for the crash test: starts the real main window on
// the data folder the settings name, sets up the typed births batch (see
// TypedBatch.h) and types it key by key. After the start it prints
// "key 0", after keystroke N "key N", then waits for a line on stdin
// before the next key, so that a test can kill it with SIGKILL after any
// keystroke. Any message the program shows is a failure (exit 1).
//
// typed_writer

#include "TypedBatch.h"

#include "core/ScriptedServices.h"
#include "core/Services.h"

#include <QApplication>
#include <QDateTime>

#include <cstdio>
#include <iostream>
#include <string>

namespace {

// The header lines carry the day of the last change: the program started
// after this one must see the same day.
class SystemClock : public Clock
{
public:
    QDateTime now() override { return QDateTime::currentDateTime(); }
};

void report(int key)
{
    std::printf("key %d\n", key);
    std::fflush(stdout);
}

bool nextStep()
{
    std::string line;
    return bool(std::getline(std::cin, line));
}

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Pelkar"));

    auto script = installScriptedServices();
    Services::install(std::make_unique<SystemClock>());
    int failures = 0;
    script->onUnexpected = [&failures](const MessageRecord &r) {
        std::fprintf(stderr, "message: %s\n", r.prompt.toUtf8().constData());
        ++failures;
    };

    Form1 window;
    if (!window.Load() || failures > 0)
        return 1;
    TypedBatch::startBatch(window);
    if (failures > 0)
        return 1;
    report(0);

    const QList<TypedBatch::Keystroke> keys = TypedBatch::keystrokes();
    for (qsizetype i = 0; i < keys.size(); ++i) {
        if (!nextStep())
            return 0;
        if (!TypedBatch::press(window, keys.at(i).ch) || failures > 0) {
            std::fprintf(stderr, "key %d refused\n", int(i + 1));
            return 1;
        }
        report(int(i + 1));
    }
    nextStep();
    // Ends as a crash would: nothing shut down, the work file left behind.
    std::fflush(stdout);
    std::_Exit(0);
}
