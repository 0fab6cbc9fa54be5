// The recent-files list: its order, the per-user values it survives a
// restart in, which paths name the same file, and the menus it fills.

#include "PelkarTest.h"
#include "TestFiles.h"

#include "core/Globals.h"
#include "core/Project.h"
#include "core/UserSettings.h"
#include "transcription/Recent_files.h"

#include <QDir>
#include <QFile>

namespace {

// What a menu was last told.
class RecordingMenu : public RecentMenuSink
{
public:
    void setItemCaption(int n, const QString &caption) override
    {
        ++calls;
        captions[n] = caption;
    }
    void setItemVisible(int n, bool visible) override
    {
        ++calls;
        shown[n] = visible;
    }
    void setSeparatorVisible(bool visible) override
    {
        ++calls;
        separator = visible;
    }

    // The captions of the items shown, item 1 first.
    QStringList visibleCaptions() const
    {
        QStringList result;
        for (int n = 1; n <= 10; ++n) {
            if (shown[n])
                result << captions[n];
        }
        return result;
    }

    QString captions[11];
    bool shown[11] = {};
    bool separator = false;
    int calls = 0;
};

QString savedValue(int key)
{
    return GetUserSetting(QStringLiteral("Pelkar"), QStringLiteral("Recent Files"),
                          QString::number(key), QStringLiteral("."));
}

QStringList savedList()
{
    QStringList values;
    for (int k = 1; k <= 10; ++k)
        values << savedValue(k);
    return values;
}

// The text with "%1" standing for folder.
QString inFolder(QString text, const QString &folder)
{
    return text.replace(QStringLiteral("%1"), folder);
}

// Restores the current folder when a test has moved it.
class CurrentFolder
{
public:
    explicit CurrentFolder(const QString &path) : mOld(QDir::currentPath())
    {
        QDir::setCurrent(path);
    }
    ~CurrentFolder() { QDir::setCurrent(mOld); }

private:
    QString mOld;
};

} // namespace

class tst_RecentFiles : public PelkarTest
{
    Q_OBJECT

private slots:
    void listSurvivesARestart();
    void proposingTheFirstEntryChangesNothing();
    void sameFileByAnotherPathMovesItsEntry_data();
    void sameFileByAnotherPathMovesItsEntry();
    void newEntryKeepsThePathAsGiven();
    void eleventhFileIsShownButNotSaved();
    void menuCaptions_data();
    void menuCaptions();
    void headerMenuFilledOnlyWhileSet();
    void removingTheOnlyEntryLeavesNothingAfterRestart();
    void removeComparesTheSameWayAndSkipsUnknownPaths();
    void vanishedFileIsDroppedAtRestart();

protected:
    void setUpCase() override
    {
        ProgramObjects::createEvents();
        ProgramObjects::createProject();
        gProject->setDataPath(home());
        QVERIFY(QDir(home()).mkpath(QStringLiteral("Data")));
    }

private:
    // A batch file in the Data folder, created; its full path.
    QString batch(const QString &name)
    {
        const QString path = QDir(homePath(QStringLiteral("Data"))).filePath(name);
        if (!QFile::exists(path))
            TestFiles::writeBytes(path, "+INFO\r\n");
        return path;
    }
};

void tst_RecentFiles::listSurvivesARestart()
{
    const QString a = batch("1875B1A0001.ZEL");
    const QString b = batch("1875B1A0002.ZEL");
    const QString c = batch("1875B1A0003.ZEL");
    {
        Recent_files recent;
        QVERIFY(recent.entries().isEmpty());
        QVERIFY(recent.Propose(a));
        QVERIFY(recent.Propose(b));
        QVERIFY(recent.Propose(c));
        QVERIFY(recent.Propose(a));
        QCOMPARE(recent.entries(), QStringList({a, c, b}));
    }
    QCOMPARE(savedList(), QStringList({a, c, b, ".", ".", ".", ".", ".", ".", "."}));

    Recent_files restarted;
    QCOMPARE(restarted.entries(), QStringList({a, c, b}));
    QCOMPARE(restarted.FileName(1), a);
    QCOMPARE(restarted.FileName(3), b);
    for (int outside : {-1, 0, 4, 11})
        QVERIFY2(restarted.FileName(outside).isEmpty(), qPrintable(QString::number(outside)));
}

void tst_RecentFiles::proposingTheFirstEntryChangesNothing()
{
    const QString a = batch("1875B1A0001.ZEL");
    Recent_files recent;
    QVERIFY(recent.Propose(a));
    RecordingMenu menu;
    recent.setMainMenu(&menu);
    // Proves that nothing is written again.
    SaveUserSetting("Pelkar", "Recent Files", "1", "written-before");

    QVERIFY(!recent.Propose(a));
    QVERIFY(!recent.Propose(QStringLiteral("  ") + a + QStringLiteral(" ")));
    QCOMPARE(menu.calls, 0);
    QCOMPARE(savedValue(1), QStringLiteral("written-before"));
    QVERIFY(!recent.Propose(QString()));
    QCOMPARE(recent.entries(), QStringList({a}));
}

void tst_RecentFiles::sameFileByAnotherPathMovesItsEntry_data()
{
    QTest::addColumn<QString>("spelling"); // %1 is the test's home folder
    QTest::addColumn<bool>("sameFile");

    QTest::newRow("through-a-linked-folder") << "%1/Link/1875D1A0012.ZEL" << true;
    QTest::newRow("through-dot-dot") << "%1/Data/../Data/./1875D1A0012.ZEL" << true;
    QTest::newRow("doubled-separator") << "%1//Data//1875D1A0012.ZEL" << true;
    QTest::newRow("relative-to-current-folder") << "1875D1A0012.ZEL" << true;
    QTest::newRow("surrounded-by-spaces") << "  %1/Data/1875D1A0012.ZEL  " << true;
    // Letter case names another file here.
    QTest::newRow("other-letter-case-is-another-file") << "%1/Data/1875d1a0012.zel" << false;
}

void tst_RecentFiles::sameFileByAnotherPathMovesItsEntry()
{
    QFETCH(QString, spelling);
    QFETCH(bool, sameFile);
    const QString target = batch("1875D1A0012.ZEL");
    batch("1875d1a0012.zel");
    QVERIFY(QFile::link(homePath("Data"), homePath("Link")));
    const CurrentFolder inData(homePath("Data"));

    Recent_files recent;
    recent.Propose(target);
    recent.Propose(batch("1875D1A0013.ZEL"));
    recent.Propose(batch("1875D1A0014.ZEL"));
    QCOMPARE(recent.FileName(3), target);

    QVERIFY(recent.Propose(inFolder(spelling, home())));
    if (sameFile) {
        QCOMPARE(recent.entries().size(), 3);
        QCOMPARE(recent.FileName(1), target);
        QCOMPARE(savedValue(1), target);
    } else {
        QCOMPARE(recent.entries().size(), 4);
        QCOMPARE(recent.FileName(1), homePath("Data/1875d1a0012.zel"));
        QCOMPARE(recent.FileName(4), target);
    }
}

void tst_RecentFiles::newEntryKeepsThePathAsGiven()
{
    const QString real = batch("1875D1A0012.ZEL");
    QVERIFY(QFile::link(homePath("Data"), homePath("Link")));
    const QString throughLink = homePath("Link/1875D1A0012.ZEL");

    Recent_files recent;
    QVERIFY(recent.Propose(throughLink));
    QVERIFY(recent.Propose(batch("1875D1A0013.ZEL")));
    QVERIFY(recent.Propose(real));
    QCOMPARE(recent.entries(), QStringList({throughLink, homePath("Data/1875D1A0013.ZEL")}));
    QCOMPARE(savedValue(1), throughLink);
}

void tst_RecentFiles::eleventhFileIsShownButNotSaved()
{
    QStringList files;
    for (int i = 1; i <= 11; ++i)
        files << batch(QStringLiteral("1875M1A%1.ZEL").arg(i, 4, 10, QLatin1Char('0')));
    gProject->setShowFullPath(false);
    RecordingMenu menu;
    {
        Recent_files recent;
        recent.setMainMenu(&menu);
        for (const QString &file : files)
            QVERIFY(recent.Propose(file));
        QCOMPARE(recent.entries().size(), 11);
        QCOMPARE(recent.FileName(1), files.at(10));
        QCOMPARE(recent.FileName(11), files.at(0));
    }
    QStringList captions;
    for (int n = 1; n <= 10; ++n)
        captions << QStringLiteral("&%1  1875M1A%2.ZEL").arg(n).arg(11 - n + 1, 4, 10, QLatin1Char('0'));
    QCOMPARE(menu.visibleCaptions(), captions);
    QVERIFY(menu.separator);

    Recent_files restarted;
    QCOMPARE(restarted.entries().size(), 10);
    QVERIFY(!restarted.entries().contains(files.at(0)));
    QCOMPARE(restarted.FileName(10), files.at(1));
}

void tst_RecentFiles::menuCaptions_data()
{
    QTest::addColumn<bool>("fullPath");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("caption"); // %1 is the Data folder

    QTest::newRow("file-name-only") << false << "1875D1A0012.ZEL" << "&1  1875D1A0012.ZEL";
    QTest::newRow("full-path") << true << "1875D1A0012.ZEL" << "&1  %1/1875D1A0012.ZEL";
    QTest::newRow("ampersand-in-name-shown-as-written")
        << false << "Smith&Co.ZEL" << "&1  Smith&&Co.ZEL";
}

void tst_RecentFiles::menuCaptions()
{
    QFETCH(bool, fullPath);
    QFETCH(QString, name);
    QFETCH(QString, caption);
    gProject->setShowFullPath(fullPath);
    Recent_files recent;
    RecordingMenu menu;
    recent.setMainMenu(&menu);
    QVERIFY(recent.Propose(batch(name)));
    QCOMPARE(menu.visibleCaptions(), QStringList({inFolder(caption, homePath("Data"))}));
    QVERIFY(menu.separator);
}

void tst_RecentFiles::headerMenuFilledOnlyWhileSet()
{
    const QString a = batch("1875B1A0001.ZEL");
    const QString b = batch("1875B1A0002.ZEL");
    Recent_files recent;
    RecordingMenu main;
    RecordingMenu header;
    recent.setMainMenu(&main);
    QVERIFY(recent.Propose(a));
    QCOMPARE(header.calls, 0);

    recent.setHeaderMenu(&header);
    recent.ShowMenu();
    QCOMPARE(header.visibleCaptions(), QStringList({"&1  1875B1A0001.ZEL"}));
    QVERIFY(header.separator);

    // Rebuilding hides only the main window's items: the header form's are
    // overwritten item by item.
    recent.Remove(a);
    QVERIFY(recent.Propose(b));
    recent.ShowMenu();
    QCOMPARE(main.visibleCaptions(), QStringList({"&1  1875B1A0002.ZEL"}));
    QCOMPARE(header.visibleCaptions(), QStringList({"&1  1875B1A0002.ZEL"}));

    recent.setHeaderMenu(nullptr);
    const int before = header.calls;
    QVERIFY(recent.Propose(a));
    QCOMPARE(header.calls, before);
    QCOMPARE(main.visibleCaptions().size(), 2);
}

void tst_RecentFiles::removingTheOnlyEntryLeavesNothingAfterRestart()
{
    const QString a = batch("1875B1A0001.ZEL");
    {
        Recent_files recent;
        QVERIFY(recent.Propose(a));
        RecordingMenu menu;
        recent.setMainMenu(&menu);
        recent.Remove(a);
        QCOMPARE(menu.calls, 0); // removing never rebuilds the menus
        QVERIFY(recent.entries().isEmpty());
        recent.setMainMenu(nullptr);
    }
    QCOMPARE(savedValue(1), QStringLiteral("."));

    Recent_files restarted;
    QVERIFY(restarted.entries().isEmpty());
    RecordingMenu menu;
    menu.shown[1] = menu.separator = true;
    restarted.setMainMenu(&menu);
    restarted.ShowMenu();
    QVERIFY(menu.visibleCaptions().isEmpty());
    QVERIFY(!menu.separator);
}

void tst_RecentFiles::removeComparesTheSameWayAndSkipsUnknownPaths()
{
    // A batch never saved: it has no file, and its removal names it from the
    // save folder.
    QVERIFY(QDir(home()).mkpath(QStringLiteral("Output")));
    QVERIFY(QFile::link(homePath("Output"), homePath("OutLink")));
    const QString unsaved = homePath("OutLink/1875B1A0009.ZEL");
    const QString kept = batch("1875B1A0001.ZEL");
    Recent_files recent;
    QVERIFY(recent.Propose(unsaved));
    QVERIFY(recent.Propose(kept));

    SaveUserSetting("Pelkar", "Recent Files", "1", "written-before");
    recent.Remove(homePath("Data/1875B1A0002.ZEL"));
    recent.Remove(QString());
    QCOMPARE(recent.entries().size(), 2);
    QCOMPARE(savedValue(1), QStringLiteral("written-before"));

    const CurrentFolder inOutput(homePath("Output"));
    recent.Remove(QStringLiteral("1875B1A0009.ZEL"));
    QCOMPARE(recent.entries(), QStringList({kept}));
    QCOMPARE(savedList().first(2), QStringList({kept, "."}));
}

void tst_RecentFiles::vanishedFileIsDroppedAtRestart()
{
    const QString a = batch("1875B1A0001.ZEL");
    const QString b = batch("1875B1A0002.ZEL");
    const QString c = batch("1875B1A0003.ZEL");
    {
        Recent_files recent;
        for (const QString &file : {a, b, c})
            QVERIFY(recent.Propose(file));
    }
    QVERIFY(QFile::remove(b));

    Recent_files restarted;
    QCOMPARE(restarted.entries(), QStringList({c, a}));
    // Reading alone saves nothing; the next change writes the list without it.
    QCOMPARE(savedValue(2), b);
    const QString d = batch("1875B1A0004.ZEL");
    QVERIFY(restarted.Propose(d));
    QCOMPARE(savedList().first(4), QStringList({d, c, a, "."}));
}

PELKAR_TEST(tst_RecentFiles)
#include "tst_RecentFiles.moc"
