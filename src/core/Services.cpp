#include "core/Services.h"

#include <QtGlobal>

#include <utility>

namespace Mb {

int styleForIcon(int icon)
{
    switch (icon) {
    case IconStop: return Critical;
    case IconQuestion: return Question;
    case IconExclamation: return Exclamation;
    case IconInformation: return Information;
    default: return 0;
    }
}

namespace {
struct AnswerNameEntry
{
    int answer;
    const char *name;
};
constexpr AnswerNameEntry kAnswerNames[] = {
    {Ok, "Ok"},     {Cancel, "Cancel"}, {Abort, "Abort"}, {Retry, "Retry"},
    {Ignore, "Ignore"}, {Yes, "Yes"},   {No, "No"},
};
} // namespace

QString answerName(int answer)
{
    for (const auto &e : kAnswerNames) {
        if (e.answer == answer)
            return QString::fromLatin1(e.name);
    }
    return QString::number(answer);
}

int answerFromName(const QString &name)
{
    for (const auto &e : kAnswerNames) {
        if (name.compare(QLatin1String(e.name), Qt::CaseInsensitive) == 0)
            return e.answer;
    }
    bool ok = false;
    const int n = name.toInt(&ok);
    return ok ? n : NoAnswer;
}

} // namespace Mb

namespace Services {
namespace {

struct Registry
{
    std::unique_ptr<MessageService> messages;
    std::unique_ptr<DialogService> dialogs;
    std::unique_ptr<ShellService> shell;
    std::unique_ptr<InputService> input;
    std::unique_ptr<Clock> clock;
    std::unique_ptr<ScreenMetrics> screen;
};

Registry &registry()
{
    static Registry r;
    return r;
}

template<typename T>
T &require(const std::unique_ptr<T> &p, const char *what)
{
    if (!p)
        qFatal("No %s service is installed", what);
    return *p;
}

} // namespace

MessageService &messages() { return require(registry().messages, "message"); }
DialogService &dialogs() { return require(registry().dialogs, "dialog"); }
ShellService &shell() { return require(registry().shell, "shell"); }
InputService &input() { return require(registry().input, "input"); }
Clock &clock() { return require(registry().clock, "clock"); }
ScreenMetrics &screen() { return require(registry().screen, "screen"); }

std::unique_ptr<MessageService> install(std::unique_ptr<MessageService> s)
{
    return std::exchange(registry().messages, std::move(s));
}
std::unique_ptr<DialogService> install(std::unique_ptr<DialogService> s)
{
    return std::exchange(registry().dialogs, std::move(s));
}
std::unique_ptr<ShellService> install(std::unique_ptr<ShellService> s)
{
    return std::exchange(registry().shell, std::move(s));
}
std::unique_ptr<InputService> install(std::unique_ptr<InputService> s)
{
    return std::exchange(registry().input, std::move(s));
}
std::unique_ptr<Clock> install(std::unique_ptr<Clock> s)
{
    return std::exchange(registry().clock, std::move(s));
}
std::unique_ptr<ScreenMetrics> install(std::unique_ptr<ScreenMetrics> s)
{
    return std::exchange(registry().screen, std::move(s));
}

bool hasMessages() { return registry().messages != nullptr; }

void clear() { registry() = Registry{}; }

namespace {
// -1: no key in hand; 0 or 1: the Shift state of the key being handled.
int gKeyShift = -1;
} // namespace

bool shiftHeld()
{
    return gKeyShift >= 0 ? gKeyShift == 1 : input().shiftDown();
}

KeyInHand::KeyInHand(bool shift) : mBefore(std::exchange(gKeyShift, shift ? 1 : 0)) {}

KeyInHand::~KeyInHand()
{
    gKeyShift = mBefore;
}

} // namespace Services
