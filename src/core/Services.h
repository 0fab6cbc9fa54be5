#pragma once

// Everything the program asks of the desktop (message boxes, dialogs, the
// beep, the keyboard, the clock, the screen) goes through these interfaces,
// so that tests can script the answers and record what was asked.
// main.cpp installs the Qt implementations; tests install scripted ones.

#include <QColor>
#include <QDateTime>
#include <QFont>
#include <QRect>
#include <QString>
#include <QStringList>
#include <QUrl>

#include <memory>
#include <optional>

class QPrinter;

// Message-box styles and answers, as the program's messages are written.
namespace Mb {
enum Style : int {
    OkOnly = 0,
    OkCancel = 1,
    AbortRetryIgnore = 2,
    YesNoCancel = 3,
    YesNo = 4,
    RetryCancel = 5,
    Critical = 16,
    Question = 32,
    Exclamation = 48,
    Information = 64,
    DefaultButton2 = 256,
    DefaultButton3 = 512,
    SystemModal = 4096,
};
enum Answer : int {
    NoAnswer = 0,
    Ok = 1,
    Cancel = 2,
    Abort = 3,
    Retry = 4,
    Ignore = 5,
    Yes = 6,
    No = 7,
};
constexpr int ButtonsMask = 0x0F;
constexpr int IconMask = 0x70;

// Standard icon numbers of the custom-captioned box.
enum Icon : int {
    IconNone = 0,
    IconStop = 32513,
    IconQuestion = 32514,
    IconExclamation = 32515,
    IconInformation = 32516,
};

// The message-box style that shows the same icon as a custom box's icon.
int styleForIcon(int icon);
// Answer names used in scripts and logs ("Ok", "Yes", ...), and back.
QString answerName(int answer);
int answerFromName(const QString &name);
} // namespace Mb

class MessageService
{
public:
    virtual ~MessageService() = default;

    // A standard message box. Returns the Mb::Answer pressed, 0 when none.
    virtual int messageBox(const QString &prompt, int style, const QString &title) = 0;

    // A box with the caller's button captions (one to six) and a standard icon.
    // Returns the caption pressed.
    virtual QString customBox(const QString &prompt, int icon, const QString &title,
                              const QStringList &buttons) = 0;

    // The small popup: a notice with one OK button (question false) or a Yes/No
    // question. Returns true for Yes; a notice returns false.
    virtual bool popup(const QString &text, bool question, const QColor &textColour) = 0;

    // The notice window with a fixed explanation, a result line and an
    // information text.
    virtual void notice(const QString &resultText, const QString &infoText) = 0;

    // The "Save Results" window: the notice window captioned "Save Results",
    // without the upload's fixed notice, shown modeless over the main
    // window. Returns at once; the window stays until the transcriber closes
    // it or closeSaveResults does. One still open is closed first. With
    // takeFocus the window takes the keyboard focus; otherwise it opens
    // without taking it.
    virtual void saveResults(const QString &resultText, const QString &infoText,
                             bool takeFocus) = 0;
    // Closes the "Save Results" window when one is open.
    virtual void closeSaveResults() = 0;

    // A one-line text question. Returns nullopt when cancelled.
    virtual std::optional<QString> inputBox(const QString &prompt, const QString &title,
                                            const QString &defaultText) = 0;
};

class DialogService
{
public:
    virtual ~DialogService() = default;

    // Each returns an empty text (or nullopt) when the transcriber cancels.
    // filter: "description|pattern|description|pattern..." (patterns joined
    // by ";"), or Qt's own form. The open dialog starts with fileName in its
    // name box; with mustExist false it also accepts the name of a file that
    // does not exist yet (the caller then creates it).
    virtual QString openFile(const QString &title, const QString &folder, const QString &filter,
                             const QString &fileName = QString(), bool mustExist = true) = 0;
    // Whether the file exists is the caller's question: the dialog itself
    // never asks about overwriting.
    virtual QString saveFile(const QString &title, const QString &folder,
                             const QString &suggestedName, const QString &filter) = 0;
    // The folder browser offers a button that makes a new folder inside the
    // one shown (the first-run text describes it).
    virtual QString chooseFolder(const QString &title, const QString &startFolder) = 0;
    virtual std::optional<QFont> chooseFont(const QFont &initial) = 0;
    virtual std::optional<QColor> chooseColour(const QColor &initial) = 0;
    // Printer set-up; false when cancelled.
    virtual bool printerSetup() = 0;
    // The printer set up there, with its settings, for the rest of the run
    // (the system's default until then); nullptr when the service has none.
    virtual QPrinter *printer() { return nullptr; }
};

// Hands a document to the desktop (the help pages to the web browser).
class ShellService
{
public:
    virtual ~ShellService() = default;
    // Returns false when the desktop could not open it; callers may ignore it.
    virtual bool openUrl(const QUrl &url) = 0;
};

class InputService
{
public:
    virtual ~InputService() = default;

    virtual void beep() = 0;
    // Whether Shift is held down at this moment.
    virtual bool shiftDown() = 0;
    // One press (down true) or release of a Windows virtual-key code, delivered
    // to whatever has the keyboard focus.
    virtual void sendKey(int vk, bool down) = 0;
};

class Clock
{
public:
    virtual ~Clock() = default;
    virtual QDateTime now() = 0;
    QDate today() { return now().date(); }
};

class ScreenMetrics
{
public:
    virtual ~ScreenMetrics() = default;
    virtual double twipsPerPixelX() = 0;
    virtual double twipsPerPixelY() = 0;
    // Scroll-bar sizes in pixels.
    virtual int horizontalScrollBarHeight() = 0;
    virtual int verticalScrollBarWidth() = 0;
    // The available screen area in pixels.
    virtual QRect screenRect() = 0;
};

// The current service of each kind. Asking for one that was never installed
// ends the program with a fatal message: it is a wiring fault, never a
// user-facing condition.
namespace Services {
MessageService &messages();
DialogService &dialogs();
ShellService &shell();
InputService &input();
Clock &clock();
ScreenMetrics &screen();

// Each install replaces the service before it and returns it.
std::unique_ptr<MessageService> install(std::unique_ptr<MessageService> s);
std::unique_ptr<DialogService> install(std::unique_ptr<DialogService> s);
std::unique_ptr<ShellService> install(std::unique_ptr<ShellService> s);
std::unique_ptr<InputService> install(std::unique_ptr<InputService> s);
std::unique_ptr<Clock> install(std::unique_ptr<Clock> s);
std::unique_ptr<ScreenMetrics> install(std::unique_ptr<ScreenMetrics> s);

bool hasMessages();
// Removes every service (tests between cases).
void clear();

// Whether Shift was held for what is being typed: while a key is being
// handled, the Shift state that key came with; otherwise the keyboard's
// state now. The keyboard is read after the key was queued: by then a fast
// typist (or a program typing) may have let go of Shift, or pressed it for
// the next capital, and the letter would be cased by the wrong key.
bool shiftHeld();

// Marks a key as being handled, with its Shift state, until it goes out of
// scope; nested keys (a key sent from a key's handler) have their own.
class KeyInHand
{
public:
    explicit KeyInHand(bool shift);
    ~KeyInHand();
    KeyInHand(const KeyInHand &) = delete;
    KeyInHand &operator=(const KeyInHand &) = delete;

private:
    int mBefore;
};
} // namespace Services
