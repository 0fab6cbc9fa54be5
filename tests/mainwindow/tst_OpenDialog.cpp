// The file and folder choosers: what each dialog is opened with (title,
// filter, starting folder, preset name), what a choice changes and that a
// cancel changes nothing.

#include "PelkarTest.h"

#include "core/Globals.h"
#include "core/Project.h"
#include "mainwindow/MenuState.h"
#include "mainwindow/OpenDialog.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

namespace {
const QString kInputFilter = QStringLiteral(
    "ZEL Files (*.ZEL;*.SCA)|*.ZEL;*.SCA|All Files (*.*)|*.*|Pelkar Files (*.ZEL)|*.ZEL|"
    "Lumivark Files (*.SCA)|*.SCA");
const QString kSaveFilter = QStringLiteral("Pelkar Files (*.ZEL)|*.ZEL|All Files (*.*)|*.*");
const QString kScanFilter = QStringLiteral(
    "Tif or JPG Files (*.tif; *.jpg)|*.tif;*.tiff;*.jpg|All Files (*.*)|*.*");
} // namespace

class tst_OpenDialog : public PelkarTest
{
    Q_OBJECT

protected:
    void setUpCase() override
    {
        ProgramObjects::createEvents();
        ProgramObjects::createProject();
        for (const char *folder : {"data", "data/Files", "data/Output", "scans"})
            QVERIFY(QDir().mkpath(homePath(QString::fromLatin1(folder))));
        gProject->setDataPath(homePath("data"));
        gProject->setSavePath(homePath("data/Output"));
        gProject->setScanPath(homePath("scans"));
        gProject->setBatchName(QStringLiteral("1905B1A0012.ZEL"));
    }

    void tearDownCase() override { ProgramObjects::releaseAll(); }

    QByteArray settingsBytes()
    {
        QFile f(homePath("data/Pelkarini.txt"));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }

    // Runs the named dialog with the answer queued; returns what it gave.
    QString run(const QString &which, const QString &argument = QString())
    {
        QString path;
        if (which == QLatin1String("input"))
            OpenInputFileDialog(path);
        else if (which == QLatin1String("save"))
            SaveFileDialog(path);
        else if (which == QLatin1String("scan"))
            SelectScanFileDialog(path);
        else if (which == QLatin1String("supp"))
            path = bOpenSuppFile(argument);
        else if (which == QLatin1String("savefolder"))
            path = DefineSavePath() ? gProject->SavePath() : QString();
        return path;
    }

private slots:
    // Each dialog as it opens; cancelled, it hands back nothing and leaves
    // the settings it reads as they were.
    void dialogOpensWith_data()
    {
        QTest::addColumn<QString>("which");
        QTest::addColumn<QString>("argument");
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("filter");
        QTest::addColumn<QString>("folder");
        QTest::addColumn<QString>("fileName");
        QTest::addColumn<int>("mustExist");

        QTest::newRow("open-batch-in-save-folder")
            << "input" << "" << "openFile" << "Pelkar Open Input File" << kInputFilter
            << "data/Output" << "" << 1;
        QTest::newRow("save-as-with-batch-name")
            << "save" << "" << "saveFile" << "Pelkar Open Save File" << kSaveFilter
            << "data/Output" << "1905B1A0012.ZEL" << 0;
        QTest::newRow("scan-in-scan-folder")
            << "scan" << "" << "openFile" << "Pelkar - Select Scan File" << kScanFilter
            << "scans" << "" << 1;
        QTest::newRow("supplementary-file-in-its-folder")
            << "supp" << "data/Files/Pelkar_Supp_Districts.txt" << "openFile"
            << "Pelkar Define Supplementary File" << "All Files (*.*)|*.*" << "data/Files"
            << "Pelkar_Supp_Districts.txt" << 0;
        QTest::newRow("supplementary-file-without-folder")
            << "supp" << "-Supp.txt" << "openFile" << "Pelkar Define Supplementary File"
            << "All Files (*.*)|*.*" << "-" << "Supp.txt" << 0;
        QTest::newRow("save-folder-starts-at-present-one")
            << "savefolder" << "" << "chooseFolder" << "Pelkar - Select Folder" << ""
            << "data/Output" << "" << 0;
    }

    void dialogOpensWith()
    {
        QFETCH(QString, which);
        QFETCH(QString, argument);
        QFETCH(QString, kind);
        QFETCH(QString, title);
        QFETCH(QString, filter);
        QFETCH(QString, folder);
        QFETCH(QString, fileName);
        QFETCH(int, mustExist);

        // "-" marks a bare name (no folder), else a path under the test's home.
        if (argument.startsWith(u'-'))
            argument = argument.mid(1);
        else if (!argument.isEmpty())
            argument = homePath(argument);
        gProject->setBLumivark(true);
        const QByteArray settingsBefore = settingsBytes();
        script->answer(QStringLiteral("<cancel>"));
        QCOMPARE(run(which, argument), QString());

        QCOMPARE(script->records().size(), 1);
        const MessageRecord &r = script->records().constFirst();
        QCOMPARE(r.kind, kind);
        QCOMPARE(r.title, title);
        QCOMPARE(r.filter, filter);
        QCOMPARE(r.info, folder == QLatin1String("-") ? QString() : homePath(folder));
        QCOMPARE(r.fileName, fileName);
        if (kind == QLatin1String("openFile"))
            QCOMPARE(r.style, mustExist);

        // Nothing changed.
        QVERIFY(gProject->bLumivark());
        QCOMPARE(gProject->ScanPath(), homePath("scans"));
        QCOMPARE(gProject->SavePath(), homePath("data/Output"));
        QVERIFY(!QFileInfo::exists(homePath("data/Files/Pelkar_Supp_Districts.txt")));
        QCOMPARE(settingsBytes(), settingsBefore);
    }

    // A batch file named the Pelkar way (".ZEL" in any case) switches the
    // Lumivark naming off; a Lumivark scan batch (".SCA") leaves it on.
    void openingBatchSetsNaming_data()
    {
        QTest::addColumn<QString>("chosen");
        QTest::addColumn<bool>("lumivarkAfter");
        QTest::newRow("zel-capitals") << "1905B1A0012.ZEL" << false;
        QTest::newRow("zel-small-letters") << "1905b1a0012.zel" << false;
        QTest::newRow("sca-keeps-lumivark") << "1905B1A0012.SCA" << true;
        QTest::newRow("other-ending-keeps-lumivark") << "B0012" << true;
    }

    void openingBatchSetsNaming()
    {
        QFETCH(QString, chosen);
        QFETCH(bool, lumivarkAfter);
        gProject->setBLumivark(true);
        const QString path = homePath("data/Output/") + chosen;
        script->answer(QStringLiteral("  ") + path + QStringLiteral(" "));
        QString got;
        QVERIFY(OpenInputFileDialog(got));
        QCOMPARE(got, path);
        QCOMPARE(gProject->bLumivark(), lumivarkAfter);
    }

    // The folder of a chosen scan becomes the scan folder and is saved.
    void scanChoiceStoresItsFolder()
    {
        QVERIFY(QDir().mkpath(homePath("scans/1905")));
        const QString scan = homePath("scans/1905/page12.tif");
        script->answer(scan);
        QString got;
        QVERIFY(SelectScanFileDialog(got));
        QCOMPARE(got, scan);
        QCOMPARE(gProject->ScanPath(), homePath("scans/1905"));
        QFile settings(homePath("data/Pelkarini.txt"));
        QVERIFY(settings.open(QIODevice::ReadOnly));
        QVERIFY(settings.readAll().contains(homePath("scans/1905").toUtf8()));
    }

    // A scan folder that has gone is replaced by the data folder before
    // the dialog opens, and stays replaced even when the dialog is cancelled.
    void scanFolderGoneFallsBackToData()
    {
        gProject->setScanPath(homePath("gone"));
        script->answer(QStringLiteral("<cancel>"));
        QString got;
        QVERIFY(!SelectScanFileDialog(got));
        QCOMPARE(script->records().constFirst().info, homePath("data"));
        QCOMPARE(gProject->ScanPath(), homePath("data"));
    }

    // A supplementary file chosen by a new name is made, empty; one that
    // exists is left as it is.
    void suppFileNewNameIsCreated()
    {
        const QString fresh = homePath("data/Files/MySupp.txt");
        script->answer(fresh);
        QCOMPARE(bOpenSuppFile(homePath("data/Files/Pelkar_Supp_Districts.txt")), fresh);
        QVERIFY(QFileInfo(fresh).isFile());
        QCOMPARE(QFileInfo(fresh).size(), 0);

        QFile existing(fresh);
        QVERIFY(existing.open(QIODevice::WriteOnly));
        existing.write("Leeds,9b\r\n");
        existing.close();
        script->answer(fresh);
        QCOMPARE(bOpenSuppFile(fresh), fresh);
        QCOMPARE(QFileInfo(fresh).size(), 10);
    }

    // A new name in a folder that cannot hold it is reported, and nothing
    // is handed back.
    void suppFileThatCannotBeMadeIsReported()
    {
        const QString impossible = homePath("no-such-folder/MySupp.txt");
        script->answer({impossible, QStringLiteral("Ok")});
        QCOMPARE(bOpenSuppFile(homePath("data/Files/x.txt")), QString());
        const MessageRecord &r = script->records().at(1);
        QCOMPARE(r.kind, QStringLiteral("box"));
        QVERIFY2(r.prompt.startsWith(QStringLiteral("Error 75 (")), qPrintable(r.prompt));
        QVERIFY(r.prompt.endsWith(QStringLiteral(") in procedure bOpenSuppFile of Module OpenDialog")));
        QCOMPARE(r.style, int(Mb::Critical));
    }

    // The chosen save folder is kept and saved, and the menu item names it.
    void saveFolderChoiceIsKept()
    {
        QVERIFY(QDir().mkpath(homePath("elsewhere")));
        script->answer(homePath("elsewhere"));
        QVERIFY(DefineSavePath());
        QCOMPARE(gProject->SavePath(), homePath("elsewhere"));
        const MenuState menus = MenuState::FromProject(*gProject);
        const MenuItemState *item = menus.item(QStringLiteral("mnuDefPath"));
        QVERIFY(item && item->caption);
        QCOMPARE(*item->caption, QStringLiteral("&Define Save Path (") + homePath("elsewhere") + u')');
        QFile settings(homePath("data/Pelkarini.txt"));
        QVERIFY(settings.open(QIODevice::ReadOnly));
        QVERIFY(settings.readAll().contains(homePath("elsewhere").toUtf8()));
    }

    void specialFolders()
    {
        const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
        QVERIFY(QDir().mkpath(documents));
        QCOMPARE(GetSpecialFolderPath(5), QDir(documents).absolutePath() + u'/');

        script->answer(QStringLiteral("Ok"));
        QCOMPARE(GetSpecialFolderPath(99), QString());
        QCOMPARE(script->records().constFirst().prompt,
                 QStringLiteral("An invalid folder ID was specified 99\r\nPress OK to continue"));
        QCOMPARE(script->records().constFirst().title, QStringLiteral("Pelkar"));
    }
};

PELKAR_TEST(tst_OpenDialog)
#include "tst_OpenDialog.moc"
