#pragma once

// Scripted stand-ins for every service: answers come from a queue, and every
// message asked is recorded. Tests install them through the test fixture; the
// program installs them itself when PELKAR_SCRIPT names a file of answers, so
// that a test can start the real program with no display and no one to answer.

#include "core/Services.h"

#include <QList>
#include <QPoint>

#include <functional>

struct MessageRecord
{
    QString kind;   // "box", "custom", "popup", "notice", "results", "results-closed",
                    // "input", or a dialog kind
    QString prompt;
    QString title;
    int style = 0;  // box: the style; custom: the icon; popup: 1 for a question
    QStringList buttons;
    QString info;   // notice: the information text
    QString answer; // what the script answered; empty when nothing was queued
    // File dialogs: the filter as the caller gave it and the name preset in
    // the dialog's name box (style: 1 when an open dialog's file must exist).
    QString filter{};
    QString fileName{};
};

// The answers and the record, shared by the scripted services of one test or run.
class Script
{
public:
    // Answers, one per message, in the order the messages come. A message box
    // takes an answer name ("Ok", "Yes", "No", "Cancel"...), a custom box the
    // caption to press, a popup "Yes" or "No" ("Ok" for a notice), an input box
    // the text or "<cancel>", a dialog a path or "<cancel>".
    void answer(const QString &a) { mPending.append(a); }
    void answer(const QStringList &answers) { mPending.append(answers); }

    const QList<MessageRecord> &records() const { return mRecords; }
    QStringList pending() const { return mPending; }
    void clearRecords() { mRecords.clear(); }

    // Called for a message that arrives with no answer queued.
    std::function<void(const MessageRecord &)> onUnexpected;

    // Appends each record as one JSON line, flushed at once, so that a run
    // killed part-way still leaves what it asked.
    void setLogFile(const QString &path) { mLogPath = path; }

    // Loads answers from a file: one per line.
    bool loadAnswers(const QString &path);

    // Records the message and returns the next answer, or nullopt (after
    // calling onUnexpected) when none is queued.
    std::optional<QString> take(MessageRecord record);
    // Records a window that asks nothing (a modeless one): no answer is
    // taken and none is expected.
    void note(MessageRecord record);

private:
    void log(const MessageRecord &record);

    QStringList mPending;
    QList<MessageRecord> mRecords;
    QString mLogPath;
};

class ScriptedMessageService : public MessageService
{
public:
    explicit ScriptedMessageService(std::shared_ptr<Script> script) : mScript(std::move(script)) {}

    int messageBox(const QString &prompt, int style, const QString &title) override;
    QString customBox(const QString &prompt, int icon, const QString &title,
                      const QStringList &buttons) override;
    bool popup(const QString &text, bool question, const QColor &textColour) override;
    void notice(const QString &resultText, const QString &infoText) override;
    // Recorded as "results" (style 1 with takeFocus) without taking an
    // answer, since the window asks nothing; closing one still open is
    // recorded as "results-closed".
    void saveResults(const QString &resultText, const QString &infoText, bool takeFocus) override;
    void closeSaveResults() override;
    std::optional<QString> inputBox(const QString &prompt, const QString &title,
                                    const QString &defaultText) override;

private:
    std::shared_ptr<Script> mScript;
    bool mResultsOpen = false;
};

class ScriptedDialogService : public DialogService
{
public:
    explicit ScriptedDialogService(std::shared_ptr<Script> script) : mScript(std::move(script)) {}

    // Recorded with the title in prompt and title, the folder in info, and
    // the filter and preset name.
    QString openFile(const QString &title, const QString &folder, const QString &filter,
                     const QString &fileName, bool mustExist) override;
    QString saveFile(const QString &title, const QString &folder, const QString &suggestedName,
                     const QString &filter) override;
    QString chooseFolder(const QString &title, const QString &startFolder) override;
    std::optional<QFont> chooseFont(const QFont &initial) override;
    std::optional<QColor> chooseColour(const QColor &initial) override;
    bool printerSetup() override;

private:
    QString path(MessageRecord record);
    std::shared_ptr<Script> mScript;
};

// Records each document opened as an "openUrl" record (the URL in prompt)
// without taking an answer: opening asks the transcriber nothing. With
// setOpens(false) it stands for a desktop that has no program to open it.
class ScriptedShellService : public ShellService
{
public:
    explicit ScriptedShellService(std::shared_ptr<Script> script) : mScript(std::move(script)) {}
    bool openUrl(const QUrl &url) override;
    void setOpens(bool opens) { mOpens = opens; }

private:
    std::shared_ptr<Script> mScript;
    bool mOpens = true;
};

class ScriptedInputService : public InputService
{
public:
    void beep() override { ++beeps; }
    bool shiftDown() override { return shift; }
    void sendKey(int vk, bool down) override { sentKeys.append(QPoint(vk, down ? 1 : 0)); }

    int beeps = 0;
    bool shift = false;
    QList<QPoint> sentKeys; // x: virtual key, y: 1 press, 0 release
};

class ScriptedClock : public Clock
{
public:
    QDateTime now() override { return current; }
    QDateTime current = QDateTime(QDate(2026, 3, 14), QTime(9, 26, 53));
};

// The metrics of a 96 dpi screen: 15 twips a pixel.
class ScriptedScreen : public ScreenMetrics
{
public:
    double twipsPerPixelX() override { return 15.0; }
    double twipsPerPixelY() override { return 15.0; }
    int horizontalScrollBarHeight() override { return 17; }
    int verticalScrollBarWidth() override { return 17; }
    QRect screenRect() override { return rect; }
    // What a test gives as the screen.
    QRect rect{0, 0, 1920, 1080};
};

// Installs scripted versions of all the services over one script and
// returns the script. The input, clock and screen doubles are reachable
// through Services:: and a cast.
std::shared_ptr<Script> installScriptedServices();
