// Pelkar: keying in the entries of a civil-registration index.

#include "app/StartUp.h"
#include "core/QtServices.h"
#include "core/ScriptedServices.h"
#include "mainwindow/Form1.h"
#include "mainwindow/HelpKeyFilter.h"
#include "mainwindow/frmAbout.h"
#include "winglue/KeySend.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QIcon>
#include <QLineEdit>
#include <QSocketNotifier>
#include <QTimer>
#include <QWindow>

#include <cstdio>

#include <unistd.h>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    // The run ends with the main window alone (closedDown below). The main
    // window is hidden while the header form or an editor stands in for it,
    // and a window closing then (a message box, the scan viewer) must not
    // end the run behind the transcriber's back.
    QApplication::setQuitOnLastWindowClosed(false);
    QApplication::setApplicationName(QStringLiteral("Pelkar"));
    QApplication::setApplicationVersion(QStringLiteral("%1.%2.%3")
                                           .arg(PELKAR_VERSION_MAJOR)
                                           .arg(PELKAR_VERSION_MINOR)
                                           .arg(PELKAR_VERSION_PATCH));
    QApplication::setWindowIcon(QIcon(frmAbout::AboutIconPath()));
    // Ties the windows to the installed desktop entry (its name and icon).
    QGuiApplication::setDesktopFileName(QStringLiteral("pelkar"));
    installQtServices(SendKey);

    // A test that starts the program names a file of answers here, so that
    // no message box can wait for a person who is not there.
    const QString scriptPath = qEnvironmentVariable("PELKAR_SCRIPT");
    std::shared_ptr<Script> script;
    if (!scriptPath.isEmpty()) {
        script = std::make_shared<Script>();
        script->loadAnswers(scriptPath);
        script->setLogFile(scriptPath + QStringLiteral(".log"));
        Services::install(std::make_unique<ScriptedMessageService>(script));
        Services::install(std::make_unique<ScriptedDialogService>(script));
        // A test that watches the desktop open the help pages keeps the
        // desktop's own way of opening them.
        if (!qEnvironmentVariableIsSet("PELKAR_DESKTOP_SHELL"))
            Services::install(std::make_unique<ScriptedShellService>(script));
    }

    // F1 opens the help page of whatever the transcriber is on.
    InstallHelpKey();

    Form1 mainWindow;
    // The run ends with the main window, even when it closes hidden behind
    // the header form (the last window on view is then not its own).
    QObject::connect(&mainWindow, &Form1::closedDown, &app, &QCoreApplication::quit,
                     Qt::QueuedConnection);
    if (!mainWindow.Load())
        return 0;
    // A test that looks only at what a start leaves behind (the settings
    // file holds the window's place and the grid's column widths) has the
    // program close down the orderly way as soon as the start is over.
    // The shut-down itself runs, without the close box's save question.
    // "started" on the standard output tells when the start was over, for
    // the start-up benchmark, which times the start without the shut-down.
    if (script && qEnvironmentVariableIsSet("PELKAR_CLOSE_WHEN_STARTED"))
        QTimer::singleShot(0, &mainWindow, [] {
            std::fputs("started\n", stdout);
            std::fflush(stdout);
            CloseDown(0, QString(), QString());
        });
    // A test that plays the transcriber's part beyond the messages writes
    // commands on the program's standard input, one a line. "close": the
    // close box of the window in front is clicked (the header form while
    // it is open, else the main window); "menu NAME": that window's menu
    // item of that control name is chosen; "type" and "click" below.
    std::unique_ptr<QSocketNotifier> commands;
    if (script && qEnvironmentVariableIsSet("PELKAR_READ_COMMANDS")) {
        commands = std::make_unique<QSocketNotifier>(STDIN_FILENO, QSocketNotifier::Read);
        QObject::connect(commands.get(), &QSocketNotifier::activated, &mainWindow,
                         [&mainWindow, &commands] {
                             char buffer[256];
                             const ssize_t got = ::read(STDIN_FILENO, buffer, sizeof buffer);
                             if (got <= 0) {
                                 commands->setEnabled(false);
                                 return;
                             }
                             const QByteArray lines(buffer, int(got));
                             for (const QByteArray &line : lines.split('\n')) {
                                 const QByteArray command = line.trimmed();
                                 QWidget *front = mainWindow.headerForm()
                                                      ? mainWindow.headerForm()
                                                      : &mainWindow;
                                 if (command.startsWith("menu ")) {
                                     const QString name =
                                         QString::fromLatin1(command.mid(5).trimmed());
                                     QAction *item = front == &mainWindow
                                                         ? mainWindow.MenuItem(name)
                                                         : front->findChild<QAction *>(name);
                                     if (item)
                                         item->trigger();
                                     continue;
                                 }
                                 // "type NAME TEXT": the text typed over the
                                 // box of that name; "click NAME": the
                                 // button of that name pressed.
                                 const QList<QByteArray> words = command.split(' ');
                                 if (words.size() >= 2 && words[0] == "type") {
                                     if (auto *box = front->findChild<QLineEdit *>(
                                             QString::fromLatin1(words[1]))) {
                                         box->setFocus(Qt::TabFocusReason);
                                         box->selectAll();
                                         box->insert(QString::fromUtf8(
                                             command.mid(words[0].size() + words[1].size() + 2)));
                                     }
                                     continue;
                                 }
                                 if (words.size() == 2 && words[0] == "click") {
                                     if (auto *button = front->findChild<QAbstractButton *>(
                                             QString::fromLatin1(words[1])))
                                         button->click();
                                     continue;
                                 }
                                 if (command != "close")
                                     continue;
                                 if (front->windowHandle())
                                     front->windowHandle()->close();
                             }
                         });
    }
    return app.exec();
}
