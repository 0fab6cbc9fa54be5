// A transcriber's whole first session, played in the real main window: the
// program starts as main.cpp starts it (first-run questions answered from
// the script that PELKAR_SCRIPT names, the header form of a first start),
// then the header form is filled in key by key and accepted, forename
// ghosts are switched on through their menu item, a batch of three pages
// is typed through the entry boxes (ghosts taken with Tab, pick-list rows
// taken by number, a new district accepted into the supplementary file),
// saved with File > Save, sent with File > Send to the upload server at
// 127.0.0.1:PELKAR_UPLOAD_PORT (whose reply installs a new district file),
// one more entry typed with a district of the new file, and the program
// left by its close box.
//
// With PELKAR_SESSION_CONTINUE set, the run only starts (taking up the
// last batch when the script says so), prints the batch's name and its
// grid rows, and leaves by the close box.
//
// Each step done is printed as "step NAME". Anything refused, or a message
// the script has no answer for, is printed on stderr and ends the run with
// exit code 1.
//
// session_driver

#include "core/Globals.h"
#include "core/Project.h"
#include "core/ScriptedServices.h"
#include "core/Services.h"
#include "entry/FlexGrid.h"
#include "entry/RichTextView.h"
#include "header/frmHeader.h"
#include "lists/PickListSink.h"
#include "mainwindow/Form1.h"
#include "mainwindow/HelpKeyFilter.h"
#include "upload/frmUpload.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QWindow>

#include <cstdio>
#include <cstdlib>
#include <functional>

namespace {

int gFailures = 0;

void fail(const QString &what)
{
    std::fprintf(stderr, "%s\n", what.toUtf8().constData());
    ++gFailures;
}

// Ends a run that went wrong at once: nothing is shut down (the program
// objects were never released, and their end belongs to the close-down).
[[noreturn]] int bail()
{
    std::fflush(stdout);
    std::fflush(stderr);
    std::_Exit(1);
}

void step(const char *name)
{
    std::printf("step %s\n", name);
    std::fflush(stdout);
}

// Waits, with the event loop running, until the condition holds.
bool waitFor(const std::function<bool()> &condition, const char *what)
{
    if (QTest::qWaitFor(condition, 20000))
        return true;
    fail(QStringLiteral("timed out waiting for ") + QLatin1String(what));
    return false;
}

// The entry box on view, which has the keyboard.
QWidget *shownBox(Form1 &window)
{
    for (RichTextView *v : {window.rtb1View(), window.tbForeNameView(), window.tbDistrictView()}) {
        if (v->isVisibleTo(&window))
            return v;
    }
    return nullptr;
}

// Keys for whatever has the keyboard focus in the window in front:
// "\t" is Tab, "\n" Return, anything else a character key.
bool typeKeys(QWidget *target, const QString &keys)
{
    for (const QChar ch : keys) {
        if (!target)
            return false;
        if (ch == u'\t')
            QTest::keyClick(target, Qt::Key_Tab);
        else if (ch == u'\n')
            QTest::keyClick(target, Qt::Key_Return);
        else
            QTest::keyClick(target, ch.toLatin1());
    }
    return true;
}

// Keys into the entry boxes of the main window, each to the box on view
// at the time (each Tab moves the box to the next cell).
bool typeIntoBoxes(Form1 &window, const QString &keys)
{
    for (const QChar ch : keys) {
        QWidget *box = shownBox(window);
        if (!box) {
            fail(QStringLiteral("no entry box on view for key '%1'").arg(ch));
            return false;
        }
        typeKeys(box, QString(ch));
        if (gFailures > 0)
            return false;
    }
    return true;
}

bool trigger(Form1 &window, const char *name)
{
    QAction *item = window.MenuItem(QString::fromLatin1(name));
    if (!item || !item->isEnabled()) {
        fail(QStringLiteral("menu item %1 not there or disabled").arg(QLatin1String(name)));
        return false;
    }
    item->trigger();
    return true;
}

// The header form of a first start, typed field by field in its tab order:
// a births fiche batch of March 1905, batch 12 from page 12.
bool fillHeader(frmHeader &form)
{
    QApplication::setActiveWindow(&form);
    if (!QTest::qWaitForWindowActive(&form)) {
        fail(QStringLiteral("the header form never became active"));
        return false;
    }
    form.cboEvent()->setFocus(Qt::TabFocusReason);
    const QStringList fields{
        QStringLiteral("B"),        // Event Type
        QStringLiteral("1905"),     // Year
        QStringLiteral("M"),        // Quarter
        QStringLiteral("F"),        // Source
        QStringLiteral("12"),       // Page
        QStringLiteral("12"),       // Batch
        QStringLiteral("a"),        // Letter
        QString(),                  // Volume Number Format: as the year sets it
        QStringLiteral("Fiche 12"), // Source/Scan Ref
        QString(),                  // Comments
        QString(), QString(), QString(), // Credit
        QStringLiteral("Ann Smith"),
        QStringLiteral("Wessex"),
        QStringLiteral("ann@example.org"),
        QStringLiteral("sub1"),
        QStringLiteral("s3cret"),
    };
    for (const QString &keys : fields) {
        QWidget *focus = QApplication::focusWidget();
        if (!focus || focus->window() != &form) {
            fail(QStringLiteral("the header form lost the focus"));
            return false;
        }
        typeKeys(focus, keys + u'\t');
        if (gFailures > 0)
            return false;
    }
    if (!form.cbOk()->isEnabled()) {
        fail(QStringLiteral("the header form's OK is not enabled: ") + form.cbOk()->text());
        return false;
    }
    QTest::mouseClick(form.cbOk(), Qt::LeftButton);
    return gFailures == 0;
}

void printGrid(Form1 &window)
{
    const FlexGrid &grid = window.fgInput();
    for (int row = 2; row < grid.Rows(); ++row) {
        QStringList cells;
        for (int col = 1; col < grid.Cols(); ++col)
            cells << grid.TextMatrix(row, col);
        std::printf("row %s\n", cells.join(u'|').toUtf8().constData());
    }
    std::fflush(stdout);
}

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Pelkar"));

    // Every service scripted: the clock stands still, the screen is a
    // fixed one, and the messages are answered from the file.
    auto script = installScriptedServices();
    const QString scriptPath = qEnvironmentVariable("PELKAR_SCRIPT");
    if (scriptPath.isEmpty() || !script->loadAnswers(scriptPath)) {
        fail(QStringLiteral("no answers in PELKAR_SCRIPT"));
        return 1;
    }
    script->setLogFile(scriptPath + QStringLiteral(".log"));
    script->onUnexpected = [](const MessageRecord &r) {
        const QString prompt = QString(r.prompt).replace(QLatin1String("\r\n"), QLatin1String(" / "));
        fail(QStringLiteral("a message nobody expected (%1, \"%2\"): %3").arg(r.kind, r.title, prompt));
    };
    const int port = qEnvironmentVariableIntValue("PELKAR_UPLOAD_PORT");
    if (port <= 0) {
        fail(QStringLiteral("no PELKAR_UPLOAD_PORT"));
        return 1;
    }
    InstallHelpKey();

    Form1 window;
    bool closed = false;
    QObject::connect(&window, &Form1::closedDown, &app, [&closed] { closed = true; });
    if (!window.Load() || gFailures > 0)
        bail();
    step("started");

    if (qEnvironmentVariableIsSet("PELKAR_SESSION_CONTINUE")) {
        // A later start: whatever batch the start took up is shown, then
        // the close box.
        if (window.headerForm() || !window.isVisible() || !shownBox(window)) {
            fail(QStringLiteral("the start took up no batch"));
            bail();
        }
        std::printf("batch %s\n", gProject->BatchName().toUtf8().constData());
        printGrid(window);
        window.windowHandle()->close();
        if (!waitFor([&] { return closed; }, "the close-down"))
            bail();
        step("closed");
        return gFailures > 0 ? bail() : 0;
    }

    auto *header = qobject_cast<frmHeader *>(window.headerForm());
    if (!header) {
        fail(QStringLiteral("a first start shows no header form"));
        bail();
    }
    if (!fillHeader(*header))
        bail();
    if (!waitFor([&] { return !window.headerForm() && window.isVisible() && shownBox(window); },
                 "the main window after the header form"))
        bail();
    step("header");

    // The transcriber's choice: the rest of the first matching forename
    // offered as grey ghost text.
    if (!trigger(window, "mnuAutoComplete") || !gProject->bForeGhost()) {
        fail(QStringLiteral("forename ghosts not on"));
        bail();
    }
    // The upload server and the host of the connection check before an
    // upload, as a transcriber's settings would name them: the test's
    // loopback server.
    gProject->setSite(QStringLiteral("127.0.0.1"));
    gProject->setPort(port);
    gProject->setPing(QStringLiteral("127.0.0.1:") + QString::number(port));
    step("options");

    // What is typed, row by row: "\t" is Tab. "Jo" and "Wi" are completed
    // by the grey ghost that Tab takes; the digit after "Ma" takes the
    // fourth row of the forename pick list (Margaret), the one after "Le"
    // the second row of the district list (Leicester,7a). Ripon is in no
    // district list yet: the program asks to add it.
    const QStringList rows{
        QStringLiteral("ABBOT\tAnn\tBath,5c\t12\t"),
        QStringLiteral("ABBOT\tJo\tLeeds,9b\t12\t"),
        QStringLiteral("#Foot of page torn\t"),
        QStringLiteral("+PAGE,13\t"),
        QStringLiteral("ADAMS\tMa4\tBath,5c\t13\t"),
        QStringLiteral("ALLEN\tEli Tom\tRipon,9a\t13\t"),
        QStringLiteral("+PAGE,14\t"),
        QStringLiteral("AMOS\tWi\tRipon,9a\t14\t"),
        QStringLiteral("BAKER\tAnn\tLe2\t14\t"),
    };
    for (const QString &row : rows) {
        if (!typeIntoBoxes(window, row))
            bail();
    }
    step("typed");

    if (!trigger(window, "mnuSaveCont"))
        bail();
    step("saved");

    if (!trigger(window, "mnuTransmit")
        || !waitFor([&] { return window.myFrmUpload() != nullptr; }, "the upload window")
        || !waitFor([&] { return !window.bUploading() && window.isVisible(); },
                    "the end of the upload"))
        bail();
    step("uploaded");
    // The box is back on the last entry. Tab over it and the new last
    // page line to a fresh row, and go on with page 15: "Ha" and Tab take
    // the first district of the list, which the new district file has made
    // Harrogate.
    if (!typeIntoBoxes(window, QStringLiteral("\t\t\t\t\tCARR\tAnn\tHa\t15\t")))
        bail();
    step("page 15");

    // The close box; the script says to save first.
    window.windowHandle()->close();
    if (!waitFor([&] { return closed; }, "the close-down"))
        bail();
    step("closed");
    return gFailures > 0 ? bail() : 0;
}
