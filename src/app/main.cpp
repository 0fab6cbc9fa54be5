// Pelkar: keying in the entries of a civil-registration index.

#include "core/QtServices.h"
#include "core/ScriptedServices.h"
#include "mainwindow/Form1.h"
#include "mainwindow/HelpKeyFilter.h"
#include "mainwindow/frmAbout.h"

#include <QApplication>
#include <QIcon>
#include <QTimer>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Pelkar"));
    QApplication::setApplicationVersion(QStringLiteral("%1.%2.%3")
                                           .arg(PELKAR_VERSION_MAJOR)
                                           .arg(PELKAR_VERSION_MINOR)
                                           .arg(PELKAR_VERSION_PATCH));
    QApplication::setWindowIcon(QIcon(frmAbout::AboutIconPath()));
    installQtServices();

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
        Services::install(std::make_unique<ScriptedShellService>(script));
    }

    // F1 opens the help page of whatever the transcriber is on.
    InstallHelpKey();

    Form1 mainWindow;
    if (!mainWindow.Load())
        return 0;
    // A test that looks only at what a start leaves behind (the settings
    // file holds the window's place and the grid's column widths) has the
    // program close down the orderly way as soon as the start is over.
    if (script && qEnvironmentVariableIsSet("PELKAR_CLOSE_WHEN_STARTED"))
        QTimer::singleShot(0, &mainWindow, &QWidget::close);
    return app.exec();
}
