// The help pages: every help-context number that the menus, the entry
// boxes and the forms carry opens a page that exists, every page is found
// from the contents, and opening help hands the right page to the desktop.

#include "PelkarTest.h"

#include "core/Globals.h"
#include "mainwindow/HelpTopics.h"
#include "transcription/Transcription.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QUrl>

namespace {
const QString kShippedHelp = QStringLiteral(PELKAR_SOURCE_RESOURCES "/help");

// The numbers as the program's windows carry them.
const QList<int> kMainMenus{6104, 6107, 6124, 6137, 6138, 6162, 6148, 6114, 5242,
                            6134, 8,    7,    5232, 6111, 6002, 6110};
const QList<int> kEntryBoxes{6135,
                             6143,
                             6138,
                             6140,
                             6204,
                             6141,
                             kForenameBoxHelpContext,
                             kDistrictBoxHelpContext,
                             6113, // fill down and fill up
                             5242}; // a paste text's question
const QList<int> kHeaderForm{5202, 5212, 5206, 5208, 6166, 6119, 6153, 6174, 6184,
                             6122, 6161, 6125, 6126, 6127, 6128, 6129, 6147, 6124};

void writeFile(const QString &path, const QString &text)
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(text.toUtf8());
}
} // namespace

class tst_HelpTopics : public PelkarTest
{
    Q_OBJECT

protected:
    void tearDownCase() override
    {
        SetHelpFolder(QString());
        ProgramObjects::releaseAll();
    }

private slots:
    void everyNumberHasAPageReachedFromTheContents_data()
    {
        QTest::addColumn<QList<int>>("contexts");
        QTest::newRow("main-window-menus") << kMainMenus;
        QTest::newRow("entry-boxes") << kEntryBoxes;
        QTest::newRow("header-form") << kHeaderForm;
        QList<int> table;
        for (const HelpTopic &t : HelpTopics())
            table.append(t.context);
        QTest::newRow("whole-table") << table;
    }

    void everyNumberHasAPageReachedFromTheContents()
    {
        QFETCH(QList<int>, contexts);
        const QStringList problems = HelpProblems(contexts, kShippedHelp);
        QVERIFY2(problems.isEmpty(), qPrintable(problems.join(QLatin1Char('\n'))));
    }

    void tableHasEachNumberOnce()
    {
        QList<int> seen;
        for (const HelpTopic &t : HelpTopics()) {
            QVERIFY2(!seen.contains(t.context), qPrintable(QString::number(t.context)));
            seen.append(t.context);
        }
    }

    // The check finds what is wrong: a number with no page, a page missing,
    // a page the contents do not lead to; a page reached through another
    // page counts as reached.
    void problemsAreFound()
    {
        const QString folder = homePath("help");
        QVERIFY(QDir().mkpath(folder));
        writeFile(folder + "/index.html",
                  "<a href=\"surname.html#rules\">Surname</a> <a HREF=\"https://x.org/a.html\">x</a>");
        writeFile(folder + "/surname.html", "<a href=\"forenames.html\">next</a>");
        writeFile(folder + "/forenames.html", "<p>Forenames</p>");
        writeFile(folder + "/orphan.html", "<p>Nobody links here</p>");
        QCOMPARE(HelpProblems({6135, kForenameBoxHelpContext, 6140, 4321}, folder),
                 (QStringList{"help context 6140: page mother.html is missing",
                              "help context 4321 has no page",
                              "page orphan.html is not reached from the index"}));
    }

    void linksInAPage()
    {
        QCOMPARE(HelpLinksIn("<a href=\"a.html\">a</a><a href='b.html'>b</a>\n"
                   "<a class=\"x\" href = \"c.html#top\">c</a><a href=\"a.html\">again</a>\n"
                   "<a href=\"mailto:someone@example.org\">mail</a><a href=\"style.css\">s</a>"),
                 (QStringList{"a.html", "c.html"}));
    }

    // The numbers on a tree of menu items and widgets, each once; the check
    // runs the same way over the real menu bar.
    void numbersFoundOnMenuItems()
    {
        QObject bar;
        auto *file = new QObject(&bar);
        file->setProperty("HelpContextID", 6104);
        auto *open = new QAction(QStringLiteral("&Open File"), file);
        open->setProperty("HelpContextID", 6104);
        auto *editForenames = new QAction(QStringLiteral("Edit &Forenames"), &bar);
        editForenames->setProperty("HelpContextID", 8);
        auto *noHelp = new QAction(QStringLiteral("Ignore Unusual Characters"), &bar);
        noHelp->setProperty("HelpContextID", 0);
        QCOMPARE(HelpContextsIn(&bar), (QList<int>{6104, 8}));
        QVERIFY(HelpProblems(HelpContextsIn(&bar), kShippedHelp).isEmpty());
    }

    void pageOpenedThroughTheShell_data()
    {
        QTest::addColumn<int>("context");
        QTest::addColumn<QString>("page");
        QTest::newRow("surname-box") << 6135 << "surname.html";
        QTest::newRow("edit-districts-item") << 7 << "edit-districts.html";
        QTest::newRow("header-year") << 5212 << "header-year.html";
        QTest::newRow("contents") << kHelpContentsContext << "index.html";
        QTest::newRow("none-opens-contents") << 0 << "index.html";
        QTest::newRow("unknown-opens-contents") << 1234 << "index.html";
    }

    void pageOpenedThroughTheShell()
    {
        QFETCH(int, context);
        QFETCH(QString, page);
        SetHelpFolder(kShippedHelp);
        OpenHelpFile(context);
        QCOMPARE(script->records().size(), 1);
        QCOMPARE(script->records().constFirst().kind, QStringLiteral("openUrl"));
        QCOMPARE(script->records().constFirst().prompt,
                 QUrl::fromLocalFile(kShippedHelp + u'/' + page).toString());
    }

    // Without help pages, help does nothing and says nothing (the start-up
    // has said that help is missing).
    void noHelpFolderOpensNothing()
    {
        SetHelpFolder(QString());
        OpenHelpFile(6135);
        OpenHelpContents();
        QVERIFY(script->records().isEmpty());
    }

    // The general entry box's number follows the column kind; on the
    // forename and district columns it keeps what it had (0 here).
    void generalBoxNumberByColumn_data()
    {
        QTest::addColumn<int>("col");
        QTest::addColumn<int>("context");
        QTest::newRow("surname") << 1 << 6135;
        QTest::newRow("forenames-keeps") << 2 << 0;
        QTest::newRow("age-at-death") << 3 << 6138;
        QTest::newRow("district-keeps") << 4 << 0;
        QTest::newRow("page") << 5 << 6204;
        QTest::newRow("row-labels") << 0 << 0;
    }

    void generalBoxNumberByColumn()
    {
        QFETCH(int, col);
        QFETCH(int, context);
        ProgramObjects::createEvents();
        ProgramObjects::createProject();
        ProgramObjects::createTranscription();
        gTranscription->setSurnameCol(1);
        gTranscription->setForenamesCol(2);
        gTranscription->setAaDCol(3);
        gTranscription->setDistrictCol(4);
        gTranscription->setPageCol(5);
        gTranscription->setMotherCol(0);
        gTranscription->setSpouseCol(0);
        gTranscription->setDoBCol(-1);
        QCOMPARE(HelpContextForColumn(col), context);
    }

    void generalBoxNumberOtherColumns()
    {
        ProgramObjects::createEvents();
        ProgramObjects::createProject();
        ProgramObjects::createTranscription();
        gTranscription->setSurnameCol(1);
        gTranscription->setDoBCol(3);
        gTranscription->setAaDCol(-1);
        gTranscription->setMotherCol(-1);
        gTranscription->setSpouseCol(6);
        gTranscription->setPageCol(5);
        QCOMPARE(HelpContextForColumn(3), 6143);
        QCOMPARE(HelpContextForColumn(6), 6141);
        gTranscription->setSpouseCol(-1);
        gTranscription->setMotherCol(6);
        QCOMPARE(HelpContextForColumn(6), 6140);
    }
};

PELKAR_TEST(tst_HelpTopics)
#include "tst_HelpTopics.moc"
