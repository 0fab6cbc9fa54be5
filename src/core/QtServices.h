#pragma once

// The services as the program runs them on the desktop: Qt's standard
// dialogs and the program's own message windows. main.cpp installs them with
// installQtServices(); tests keep the scripted ones and build these directly.

#include "core/Services.h"

#include <QPointer>

#include <memory>

class QPrinter;
class frmMessage;

class QtMessageService : public MessageService
{
public:
    QtMessageService();
    // Closes a "Save Results" window still open.
    ~QtMessageService() override;

    // A QMessageBox with the buttons, icon and default button of the style
    // (Mb::Style). Esc answers Cancel, or No for Yes/No, or Ok for an OK-only
    // box; it does nothing for Abort/Retry/Ignore. Returns 0 when the box
    // was closed without a button.
    int messageBox(const QString &prompt, int style, const QString &title) override;
    // frmCustomMessageBox, modal.
    QString customBox(const QString &prompt, int icon, const QString &title,
                      const QStringList &buttons) override;
    // frmPopup1, modal. Returns gPopAnswer for a question, false for a notice.
    bool popup(const QString &text, bool question, const QColor &textColour) override;
    // frmMessage, modal.
    void notice(const QString &resultText, const QString &infoText) override;
    // frmMessage, modeless, owned by the main window (Form1) when it is
    // loaded; the window deletes itself when closed.
    void saveResults(const QString &resultText, const QString &infoText, bool takeFocus) override;
    void closeSaveResults() override;
    std::optional<QString> inputBox(const QString &prompt, const QString &title,
                                    const QString &defaultText) override;

private:
    QPointer<frmMessage> mSaveResults;
};

class QtDialogService : public DialogService
{
public:
    QtDialogService();
    ~QtDialogService() override;

    // filter: Qt's form ("Batch files (*.zel);;All files (*)") or the older
    // "description|pattern|description|pattern" form, which is converted.
    QString openFile(const QString &title, const QString &folder, const QString &filter,
                     const QString &fileName, bool mustExist) override;
    QString saveFile(const QString &title, const QString &folder, const QString &suggestedName,
                     const QString &filter) override;
    // Qt's own folder dialog (never the desktop's), so that it always has
    // the "Create New Folder" button the first-run text describes.
    QString chooseFolder(const QString &title, const QString &startFolder) override;
    std::optional<QFont> chooseFont(const QFont &initial) override;
    std::optional<QColor> chooseColour(const QColor &initial) override;
    bool printerSetup() override;

    // The printer the transcriber set up, created at first use; it lives as
    // long as the service.
    QPrinter *printer() override;

private:
    std::unique_ptr<QPrinter> mPrinter;
};

// QDesktopServices.
class QtShellService : public ShellService
{
public:
    bool openUrl(const QUrl &url) override;
};

// Sends one key press or release; the key-sending layer lives above core/,
// so main.cpp hands it in (winglue's SendKey).
using KeySender = void (*)(int vk, bool down);

class QtInputService : public InputService
{
public:
    // Without a key sender no key is sent.
    explicit QtInputService(KeySender sendKey = nullptr);
    void beep() override;
    bool shiftDown() override;
    // Through the key sender handed in.
    void sendKey(int vk, bool down) override;

private:
    KeySender mSendKey;
};

class QtClock : public Clock
{
public:
    QDateTime now() override;
};

// The primary screen's metrics; a 96 dpi screen when there is none.
class QtScreenMetrics : public ScreenMetrics
{
public:
    double twipsPerPixelX() override;
    double twipsPerPixelY() override;
    int horizontalScrollBarHeight() override;
    int verticalScrollBarWidth() override;
    QRect screenRect() override;
};

// Installs all the Qt services, replacing whatever was installed; keys go
// through sendKey.
void installQtServices(KeySender sendKey = nullptr);

// Qt's filter form of an older "description|pattern|..." filter; a filter
// without "|" comes back unchanged. File names here are case-sensitive, so
// each pattern is offered in capitals and in small letters too ("*.ZEL"
// also finds "a.zel"), and "*.*" becomes "*" (files without a dot are files
// too). A pattern list in the description's own parentheses is replaced by
// the real one.
QString QtFileFilter(const QString &filter);
