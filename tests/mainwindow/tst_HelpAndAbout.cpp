// The help key, the About box and its splash at start-up, and the desktop
// dialogs as the program opens them: filters that find files whatever the
// case of their ending, the supplementary-file dialog that takes a new name,
// and the folder browser's Create New Folder button.

#include "PelkarTest.h"

#include "core/Globals.h"
#include "core/MessageWindows.h"
#include "core/Project.h"
#include "core/QtServices.h"
#include "core/ScriptedServices.h"
#include "core/Services.h"
#include "core/clsEvents.h"
#include "mainwindow/Form1.h"
#include "mainwindow/HelpKeyFilter.h"
#include "mainwindow/HelpTopics.h"
#include "mainwindow/frmAbout.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QTimer>
#include <QToolButton>
#include <QUrl>
#include <QVBoxLayout>

#include <functional>
#include <memory>

namespace {
const QString kShippedHelp = QStringLiteral(PELKAR_SOURCE_RESOURCES "/help");
const QString kShippedIcon = QStringLiteral(PELKAR_SOURCE_RESOURCES "/Pelkar.ico");

QString pageUrl(const QString &page)
{
    return QUrl::fromLocalFile(kShippedHelp + u'/' + page).toString();
}

QList<frmAbout *> aboutBoxes()
{
    QList<frmAbout *> boxes;
    for (QWidget *w : QApplication::topLevelWidgets()) {
        if (auto *box = qobject_cast<frmAbout *>(w); box && box->isVisible())
            boxes.append(box);
    }
    return boxes;
}

// Runs action on the dialog of type T once its own loop has started.
template<typename T>
void whenOpen(std::function<void(T *)> action)
{
    QTimer::singleShot(0, [action] {
        auto *open = qobject_cast<T *>(QApplication::activeModalWidget());
        QVERIFY(open);
        action(open);
    });
}
} // namespace

class tst_HelpAndAbout : public PelkarTest
{
    Q_OBJECT

protected:
    void setUpCase() override
    {
        InstallHelpKey();
        SetHelpFolder(kShippedHelp);
    }

    void tearDownCase() override
    {
        SetHelpFolder(QString());
        for (frmAbout *box : aboutBoxes())
            delete box;
        if (window)
            window->close();
        window.reset();
        ProgramObjects::releaseAll();
    }

    // The main window after a start-up, with the splash's state as the
    // start-up showed it.
    void startMainWindow()
    {
        script->answer({QStringLiteral("Use Default"), QStringLiteral("Ok")});
        window = std::make_unique<Form1>();
        // The start-up lets waiting events run while it works (once while
        // the lists are read): a zero timer looks each time for the splash.
        QTimer watch;
        watch.setInterval(0);
        connect(&watch, &QTimer::timeout, this, [this] {
            const QList<frmAbout *> boxes = aboutBoxes();
            if (boxes.size() != 1 || splashSeen)
                return;
            splashSeen = true;
            splashText = boxes.first()->lblDescription()->text();
            splashOkVisible = boxes.first()->cmdOK()->isVisible();
            splashCursor = boxes.first()->cursor().shape();
        });
        watch.start();
        QVERIFY(window->Load());
        script->clearRecords();
    }

    std::unique_ptr<Form1> window;
    bool splashSeen = false;
    bool splashOkVisible = true;
    QString splashText;
    Qt::CursorShape splashCursor = Qt::ArrowCursor;

private slots:
    void aboutBoxTexts()
    {
        frmAbout box(kShippedIcon);
        QCOMPARE(box.windowTitle(), QStringLiteral("About Pelkar"));
        QCOMPARE(box.lblTitle()->text(), QStringLiteral("Pelkar"));
        QCOMPARE(box.lblVersion()->text(), QStringLiteral("Version %1.%2.%3")
                                               .arg(PELKAR_VERSION_MAJOR)
                                               .arg(PELKAR_VERSION_MINOR)
                                               .arg(PELKAR_VERSION_PATCH));
        // The year is the clock's (the scripted clock stands in 2026).
        QCOMPARE(box.lblAuthor()->text(), QStringLiteral("Author:  The Pelkar volunteers 2026"));
        QVERIFY(box.lblDescription()->text().contains(QStringLiteral("births")));
        QVERIFY(box.lblDisclaimer()->text().contains(Project::SupportEmail()));
        QVERIFY(!box.picIcon()->pixmap().isNull());
        QVERIFY(box.cmdOK()->isVisibleTo(&box));
        QVERIFY(script->records().isEmpty());
    }

    // An icon that cannot be read is named in a warning, and the box opens
    // without it.
    void iconThatCannotBeReadIsWarnedAbout_data()
    {
        QTest::addColumn<QString>("content");
        QTest::addColumn<QString>("reason");
        QTest::newRow("missing") << QString() << "53 File not found";
        QTest::newRow("not-a-picture") << "not an icon" << "481 Invalid picture";
    }

    void iconThatCannotBeReadIsWarnedAbout()
    {
        QFETCH(QString, content);
        QFETCH(QString, reason);
        const QString path = homePath("Pelkar.ico");
        if (!content.isEmpty()) {
            QFile f(path);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write(content.toLatin1());
        }
        script->answer(QStringLiteral("Ok"));
        frmAbout box(path);
        QCOMPARE(script->records().size(), 1);
        const MessageRecord &r = script->records().constFirst();
        QCOMPARE(r.kind, QStringLiteral("box"));
        QCOMPARE(r.prompt, QStringLiteral("Unable to open icon file:") + path
                               + QStringLiteral("\r\nNon-fatal error=") + reason
                               + QStringLiteral("\r\nPelkar can continue so Press Ok"));
        QCOMPARE(r.style, int(Mb::Exclamation));
        QCOMPARE(r.title, QStringLiteral("Pelkar"));
        QVERIFY(box.picIcon()->pixmap().isNull());
        QCOMPARE(box.lblTitle()->text(), QStringLiteral("Pelkar"));
    }

    // The start-up shows the About box as its splash while it reads the
    // lists, without its OK button and with the hourglass, and closes it.
    void splashAtStartUp()
    {
        startMainWindow();
        QVERIFY(splashSeen);
        QCOMPARE(splashText,
                 QStringLiteral("Please wait... The program is reading your District and Name files"));
        QVERIFY(!splashOkVisible);
        QCOMPARE(splashCursor, Qt::WaitCursor);
        QVERIFY(aboutBoxes().isEmpty());
    }

    // About is refused while the program is busy; help is not.
    void aboutRefusedWhileBusy()
    {
        startMainWindow();
        gEvents->EventsOff();
        mnuAbout_Click(*window);
        QVERIFY(aboutBoxes().isEmpty());
        mnuPelkarHelp_Click();
        gEvents->EventsOn();
        QCOMPARE(script->records().size(), 1);
        QCOMPARE(script->records().constFirst().prompt, pageUrl(QStringLiteral("index.html")));

        mnuAbout_Click(*window);
        QCOMPARE(aboutBoxes().size(), 1);
        frmAbout *box = aboutBoxes().constFirst();
        QVERIFY(box->isModal());
        QPointer<frmAbout> watch(box);
        box->cmdOK()->click();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(watch.isNull());
    }

    // F1 opens the page of the focused box, or of the nearest parent that
    // has one, or of its window; with none, the contents. Shift+F1 is a
    // menu command, not help.
    void helpKeyOpensPageOfWhatHasFocus_data()
    {
        QTest::addColumn<int>("boxContext");
        QTest::addColumn<int>("frameContext");
        QTest::addColumn<int>("windowContext");
        QTest::addColumn<int>("modifiers");
        QTest::addColumn<QString>("page");
        QTest::addColumn<bool>("typedOnDesktop");
        QTest::newRow("box-own") << 6135 << 5212 << 6104 << 0 << "surname.html" << false;
        QTest::newRow("frame-of-box") << 0 << 5212 << 6104 << 0 << "header-year.html" << false;
        QTest::newRow("window-of-box") << 0 << 0 << 6104 << 0 << "file-menu.html" << false;
        QTest::newRow("none-is-contents") << 0 << 0 << 0 << 0 << "index.html" << false;
        QTest::newRow("shift-f1-is-not-help") << 6135 << 0 << 0 << int(Qt::ShiftModifier) << ""
                                              << false;
        QTest::newRow("ctrl-f1-is-not-help") << 6135 << 0 << 0 << int(Qt::ControlModifier) << ""
                                             << false;
        // A key typed on a desktop reaches the window system's window first,
        // then the widget that has the focus.
        QTest::newRow("box-own-typed-on-desktop") << 6135 << 5212 << 6104 << 0 << "surname.html"
                                                  << true;
        QTest::newRow("frame-of-box-typed-on-desktop") << 0 << 5212 << 6104 << 0
                                                       << "header-year.html" << true;
    }

    void helpKeyOpensPageOfWhatHasFocus()
    {
        QFETCH(int, boxContext);
        QFETCH(int, frameContext);
        QFETCH(int, windowContext);
        QFETCH(int, modifiers);
        QFETCH(QString, page);
        QFETCH(bool, typedOnDesktop);

        QWidget top;
        auto *frame = new QWidget(&top);
        auto *box = new QLineEdit(frame);
        (new QVBoxLayout(frame))->addWidget(box);
        (new QVBoxLayout(&top))->addWidget(frame);
        for (auto [w, context] : {std::pair<QWidget *, int>{box, boxContext},
                                  {frame, frameContext}, {&top, windowContext}}) {
            if (context)
                w->setProperty("HelpContextID", context);
        }
        top.show();
        QVERIFY(QTest::qWaitForWindowExposed(&top));
        top.activateWindow();
        box->setFocus();
        if (typedOnDesktop)
            QTest::keyClick(top.windowHandle(), Qt::Key_F1, Qt::KeyboardModifiers(modifiers));
        else
            QTest::keyClick(box, Qt::Key_F1, Qt::KeyboardModifiers(modifiers));
        if (page.isEmpty()) {
            QVERIFY(script->records().isEmpty());
            return;
        }
        QCOMPARE(script->records().size(), 1);
        QCOMPARE(script->records().constFirst().kind, QStringLiteral("openUrl"));
        QCOMPARE(script->records().constFirst().prompt, pageUrl(page));
    }

    // On an open menu F1 opens the highlighted item's page, or the menu's
    // own when the item has none; on the menu bar, the highlighted menu's.
    void helpKeyOnMenu()
    {
        QMenu edit;
        edit.menuAction()->setProperty("HelpContextID", 6134);
        QAction *forenames = edit.addAction(QStringLiteral("Edit &Forenames"));
        forenames->setProperty("HelpContextID", 8);
        QAction *find = edit.addAction(QStringLiteral("Find Text"));
        edit.popup(QPoint(10, 10));
        edit.setActiveAction(forenames);
        QTest::keyClick(&edit, Qt::Key_F1);
        edit.setActiveAction(find);
        QTest::keyClick(&edit, Qt::Key_F1);
        edit.close();

        // A menu title highlighted on the menu bar.
        QMenuBar bar;
        QMenu *file = bar.addMenu(QStringLiteral("&File"));
        file->menuAction()->setProperty("HelpContextID", 6104);
        bar.show();
        bar.setActiveAction(file->menuAction());
        // Esc closes the menu and leaves its title highlighted on the bar.
        QTest::keyClick(file, Qt::Key_Escape);
        QCOMPARE(bar.activeAction(), file->menuAction());
        QTest::keyClick(&bar, Qt::Key_F1);

        QCOMPARE(script->records().size(), 3);
        QCOMPARE(script->records().at(0).prompt, pageUrl(QStringLiteral("edit-forenames.html")));
        QCOMPARE(script->records().at(1).prompt, pageUrl(QStringLiteral("edit-menu.html")));
        QCOMPARE(script->records().at(2).prompt, pageUrl(QStringLiteral("file-menu.html")));
    }

    // F1 typed on the desktop on an open menu: the key reaches the menu's
    // window first, then the menu, whose highlighted item has the page.
    void helpKeyTypedOnDesktopOnMenu()
    {
        QMenu edit;
        edit.menuAction()->setProperty("HelpContextID", 6134);
        QAction *forenames = edit.addAction(QStringLiteral("Edit &Forenames"));
        forenames->setProperty("HelpContextID", 8);
        edit.popup(QPoint(10, 10));
        QVERIFY(QTest::qWaitForWindowExposed(&edit));
        edit.setActiveAction(forenames);
        QTest::keyClick(edit.windowHandle(), Qt::Key_F1);
        edit.close();
        QCOMPARE(script->records().size(), 1);
        QCOMPARE(script->records().at(0).prompt, pageUrl(QStringLiteral("edit-forenames.html")));
    }

    // A desktop with no program for web pages: the page is named, with its
    // full path, for the transcriber to open another way; F1 and the Help
    // menu's contents alike.
    void helpWithNoBrowserNamesThePage_data()
    {
        QTest::addColumn<bool>("helpKey");
        QTest::addColumn<QString>("page");
        QTest::newRow("help-key-on-surname") << true << "surname.html";
        QTest::newRow("help-contents") << false << "index.html";
    }

    void helpWithNoBrowserNamesThePage()
    {
        QFETCH(bool, helpKey);
        QFETCH(QString, page);
        static_cast<ScriptedShellService &>(Services::shell()).setOpens(false);
        script->answer(QStringLiteral("Ok"));
        if (helpKey) {
            QLineEdit box;
            box.setProperty("HelpContextID", 6135);
            box.show();
            box.setFocus();
            QTest::keyClick(&box, Qt::Key_F1);
        } else {
            OpenHelpContents();
        }
        const QString path = QDir(kShippedHelp).absoluteFilePath(page);
        QCOMPARE(script->records().size(), 2);
        QCOMPARE(script->records().at(0).kind, QStringLiteral("openUrl"));
        QCOMPARE(script->records().at(0).prompt, QUrl::fromLocalFile(path).toString());
        const MessageRecord told = script->records().at(1);
        QCOMPARE(told.kind, QStringLiteral("box"));
        QCOMPARE(told.prompt,
                 QStringLiteral("Pelkar could not open its help: no program on this computer "
                                "opens web pages.\r\nYou can open the page in a web browser "
                                "yourself:\r\n")
                     + path);
        QCOMPARE(told.style, int(Mb::Exclamation));
        QCOMPARE(told.title, QStringLiteral("Pelkar"));
    }

    // Patterns as the desktop's dialog reads them: both cases of an ending,
    // "*" for every file, and the real patterns rather than the
    // description's own list.
    void fileFilters_data()
    {
        QTest::addColumn<QString>("filter");
        QTest::addColumn<QString>("qt");
        QTest::newRow("batch-files")
            << "ZEL Files (*.ZEL;*.SCA)|*.ZEL;*.SCA|All Files (*.*)|*.*"
            << "ZEL Files (*.ZEL *.zel *.SCA *.sca);;All Files (*)";
        QTest::newRow("scan-files-description-list-replaced")
            << "Tif or JPG Files (*.tif; *.jpg)|*.tif;*.tiff;*.jpg|All Files (*.*)|*.*"
            << "Tif or JPG Files (*.tif *.TIF *.tiff *.TIFF *.jpg *.JPG);;All Files (*)";
        QTest::newRow("description-without-list")
            << "Pelkar batches|*.ZEL" << "Pelkar batches (*.ZEL *.zel)";
        QTest::newRow("qt-form-unchanged") << "Batch files (*.zel);;All files (*)"
                                           << "Batch files (*.zel);;All files (*)";
    }

    void fileFilters()
    {
        QFETCH(QString, filter);
        QFETCH(QString, qt);
        QCOMPARE(QtFileFilter(filter), qt);
    }

    // The supplementary-file dialog takes the name of a file that is not
    // there yet, starting with the present name in its name box.
    void openDialogTakesNewName()
    {
        const QString fresh = homePath("NewSupp.txt");
        QString preset;
        QFileDialog::FileMode mode = QFileDialog::ExistingFile;
        whenOpen<QFileDialog>([&](QFileDialog *dialog) {
            mode = dialog->fileMode();
            if (auto *name = dialog->findChild<QLineEdit *>(QStringLiteral("fileNameEdit")))
                preset = name->text();
            dialog->selectFile(fresh);
            QMetaObject::invokeMethod(dialog, "accept");
        });
        QtDialogService dialogs;
        QCOMPARE(dialogs.openFile(QStringLiteral("Pelkar Define Supplementary File"), home(),
                                  QStringLiteral("All Files (*.*)|*.*"),
                                  QStringLiteral("Pelkar_Supp_Districts.txt"), false),
                 fresh);
        QCOMPARE(mode, QFileDialog::AnyFile);
        QCOMPARE(preset, QStringLiteral("Pelkar_Supp_Districts.txt"));
    }

    // Save As asks about an existing file itself, so its dialog must not
    // ask too; it opens on the batch name in the save folder.
    void saveDialogLeavesOverwriteToTheCommand()
    {
        bool asksItself = true;
        QString preset;
        whenOpen<QFileDialog>([&](QFileDialog *dialog) {
            asksItself = !dialog->testOption(QFileDialog::DontConfirmOverwrite);
            if (auto *name = dialog->findChild<QLineEdit *>(QStringLiteral("fileNameEdit")))
                preset = name->text();
            dialog->reject();
        });
        QtDialogService dialogs;
        QCOMPARE(dialogs.saveFile(QStringLiteral("Pelkar Open Save File"), home(),
                                  QStringLiteral("1905B1A0012.ZEL"),
                                  QStringLiteral("Pelkar Files (*.ZEL)|*.ZEL|All Files (*.*)|*.*")),
                 QString());
        QVERIFY(!asksItself);
        QCOMPARE(preset, QStringLiteral("1905B1A0012.ZEL"));
    }

    // The folder browser has the Create New Folder button that the
    // first-run text tells the transcriber to click.
    void folderBrowserOffersNewFolder()
    {
        bool offered = false;
        whenOpen<QFileDialog>([&](QFileDialog *dialog) {
            auto *button = dialog->findChild<QToolButton *>(QStringLiteral("newFolderButton"));
            offered = button && button->isVisible() && button->isEnabled()
                      && button->toolTip() == QLatin1String("Create New Folder");
            dialog->reject();
        });
        QtDialogService dialogs;
        QCOMPARE(dialogs.chooseFolder(QStringLiteral("Pelkar - Select Folder"), home()), QString());
        QVERIFY(offered);
    }
};

PELKAR_TEST(tst_HelpAndAbout)
#include "tst_HelpAndAbout.moc"
