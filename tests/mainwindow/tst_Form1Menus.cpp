// The real main window's menus: every item with its caption, keys, help
// topic and state for a births, a marriages and a deaths batch; no key or
// name used twice; the menus following the settings without touching the
// batch's saved state; and what the model writes into them (recent files,
// supplementary files) reaching them.

#include "PelkarTest.h"
#include "TestFiles.h"

#include "app/StartUp.h"
#include "core/Globals.h"
#include "core/Project.h"
#include "lists/Districts.h"
#include "mainwindow/Form1.h"
#include "mainwindow/Form1MenuItems.h"
#include "mainwindow/HelpTopics.h"
#include "transcription/Change_Monitor.h"
#include "transcription/Recent_files.h"
#include "transcription/Transcription.h"
#include "transcription/frmFind.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QMenu>
#include <QMenuBar>
#include <QSet>
#include <QTimer>

#include <functional>
#include <memory>

using namespace TestFiles;

namespace {

QString flag(bool on)
{
    return on ? QStringLiteral("on") : QStringLiteral("off");
}

// One line per item: control name | caption | keys | enabled | checked
// ("-" for an item without a check mark) | shown | help topic. Separators
// read "---" with their name, if any, and whether shown.
QString describe(const QAction *a)
{
    if (a->isSeparator())
        return QStringLiteral("--- %1 %2").arg(a->objectName(), flag(a->isVisible())).trimmed();
    return QStringList{a->objectName(),
                       a->text(),
                       a->shortcut().toString(QKeySequence::PortableText),
                       flag(a->isEnabled()),
                       a->isCheckable() ? flag(a->isChecked()) : QStringLiteral("-"),
                       flag(a->isVisible()),
                       a->property("HelpContextID").toString()}
        .join(QStringLiteral(" | "));
}

// The menu's items in order, submenus indented under their item.
void walk(const QMenu *menu, int depth, QStringList &out)
{
    for (const QAction *a : menu->actions()) {
        out << QString(depth * 2, u' ') + describe(a);
        if (a->menu())
            walk(a->menu(), depth + 1, out);
    }
}

// Every item of a births batch of 1915 with the settings a new data folder
// gets. The other batches differ in the items that follow the batch.
const char *const kBirthsMenus = R"(mnuFile | &File |  | on | - | on | 6104
  mnuFileOpen | &Open File |  | on | - | on | 6104
  mnuSuppFile | Open Supplementary District File |  | on | - | on | 6104
    mnuSuppPre1946 | Pre Sept 1946 |  | on | - | on | 6104
      mnuSuppPre1946Item | Pelkar_Supp_Districts.txt |  | on | off | on | 6104
    mnuSupp1946 | Sept 1946 to Pre June 1965 |  | on | - | on | 6104
      mnuSupp1946Item | Pelkar_Supp_Districts_1946.txt |  | on | off | on | 6104
    mnuSupp1965On | Jun 1965 to Pre Jun 1974 |  | on | - | on | 6104
      mnuSupp1965OnItem | Pelkar_Supp_Districts_1965.txt |  | on | off | on | 6104
    mnuSupp1974On | Jun 1974 onwards |  | on | - | on | 6104
      mnuSupp1974OnItem | Pelkar_Supp_Districts_1974.txt |  | on | off | on | 6104
  ---  on
  mnuSaveCont | &Save Current Batch |  | on | - | on | 6104
  mnuSaveAs | Save &As... |  | on | - | on | 6104
  mnuSaveExit | Save Batch and Exit |  | on | - | on | 6104
  ---  on
  mnuNewPage | Start &New Batch |  | on | - | on | 6104
  ---  on
  mnuTransmit | Send file to Quorvel |  | on | - | on | 6104
  mnuDownloadDistrict | Download District File |  | on | - | on | 6104
  ---  on
  mnuprint | Print |  | on | - | on | 6104
  mnuSetPrinter | Select Printer |  | on | - | on | 6104
  ---  on
  mnuFileLocate | Where are my files |  | on | - | on | 6104
  mnuDefPath | &Define Save Path (@HOME@/Documents/Pelkar_Files/Output) |  | on | - | on | 6104
  --- mnurecentsep off
  mnurecent1_1 | File1 |  | off | - | off | 6104
  mnurecent1_2 | File2 |  | off | - | off | 6104
  mnurecent1_3 | File3 |  | off | - | off | 6104
  mnurecent1_4 | File4 |  | off | - | off | 6104
  mnurecent1_5 | File5 |  | off | - | off | 6104
  mnurecent1_6 | File6 |  | off | - | off | 6104
  mnurecent1_7 | File7 |  | off | - | off | 6104
  mnurecent1_8 | File8 |  | off | - | off | 6104
  mnurecent1_9 | File9 |  | off | - | off | 6104
  mnurecent1_10 | File10 |  | off | - | off | 6104
  ---  on
  mnuExit | E&xit without saving |  | on | - | on | 6104
mnuEdit | &Edit |  | on | - | on | 6134
  mnuCopySurname | Copy Surname | Ctrl+M | off | - | off | 6134
  mnuUndo | Undo |  | off | - | off | 6134
  --- mnuCopySurnameSep off
  mnuUppercase | Uppercase | Ctrl+U | on | - | on | 6134
  mnuLowercase | Lowercase | Ctrl+L | on | - | on | 6134
  mnuProperCase | Proper Case | Ctrl+P | on | - | on | 6134
  mnuInvertCase | Invert case | Ctrl+I | on | - | on | 6134
  ---  on
  mnuFindEmpty | Find Empty Box | Ctrl+E | on | - | on | 6134
  mnuFindWarning | Find Next Warning | Ctrl+W | on | - | on | 6134
  mnuFindPageStart | Find Start of Page | Ctrl+S | on | - | on | 6134
  ---  on
  mnuFindString | Find Text | Ctrl+F | on | - | on | 6134
  mnuFindNextString | Find Next Text | Ctrl+C | on | - | on | 6134
  ---  on
  mnuInsertDown | Insert Blank - Move others down | F5 | on | - | on | 6134
  mnuInsertUp | Replace Blank - Pull others Up | F6 | on | - | on | 6134
  ---  on
  mnuFillUp | Fill Up | Shift+Ins | on | - | on | 6134
  mnuFillDown | Fill Down |  | on | - | on | 6134
  ---  on
  mnuInsertRow | Insert New Row | F7 | on | - | on | 6134
  mnuDelRow | Delete this Row | F8 | on | - | on | 6134
  mnuDelWord | Delete last word | F9 | on | - | on | 6134
  mnuClearBox | Clear current box | Shift+F9 | on | - | on | 6134
  mnuReplaceRow | Replace Deleted Row |  | off | - | off | 6134
  ---  on
  mnuChangeFont | Change Font |  | on | - | on | 6134
  ---  on
  mnuChangePickFont | Change Picklist Font |  | on | - | on | 6134
  mnuChangePickRows | Change number of Picklist Rows |  | on | - | on | 6134
  mnuEditForenames | Edit &Forenames |  | on | - | on | 8
  mnuEditDistricts | Edit &Districts |  | on | - | on | 7
  ---  on
  mnuEditHeader | Edit &Header Details |  | on | - | on | 6134
mnuScanViewer | &Scan Viewer |  | on | - | on | 6107
  mnuShowScanImage | Show Scan Image |  | on | - | on | 6124
  mnuOpenNewScan | Open New Scan |  | off | - | off | 6107
  --- mnuScanSep off
  mnuZoomIn | Zoom In |  | off | - | off | 6107
  mnuZoomOut | Zoom Out |  | off | - | off | 6107
mnuOptions | &Options |  | on | - | on | 6137
  mnuLumivarkNaming | Lumivark Filenames |  | on | off | on | 6137
  mnuNoLumivarkLetter | Lumivark filenames do NOT include a Page Letter |  | off | off | on | 6137
  ---  on
  mnuAutotab | Auto Tab on Picklist Select |  | on | off | on | 6137
  mnuBeep | Beep |  | on | on | on | 6137
  mnuDontReformatPaste | Do NOT reformat Copy/Paste |  | on | off | on | 6137
  mnuDontReformatPicklist | Do NOT reformat Picklist |  | on | off | on | 6137
  mnuIgnoreEnter | Enter key ignores Auto-Complete |  | on | off | on | 6137
  mnuAaDIgnore | Ignore Age at Death |  | off | off | off | 6138
  mnuIgnoreOdd | Ignore Unusual Characters |  | on | off | on | 0
  mnugridnumbers | Input grid row numbering |  | on | - | on | 6162
    mnuNumberPelkar | Number as Pelkar |  | on | off | on | 6162
    mnuNumberQuorvel | Number as Quorvel |  | on | on | on | 6162
    mnuNumberData | Number only data rows |  | on | off | on | 6162
  mnuMovePicklist | Move Picklist with Main Window |  | on | off | on | 6137
  mnuKeepPickVisible | Keep Picklist visible |  | on | off | on | 6137
  mnuOversizeBoxes | Oversized Entry Boxes |  | on | off | on | 6137
  mnuColWidths | Remember Column Widths |  | on | off | on | 6137
  mnuShowStripes | Show Stripes |  | on | on | on | 6137
  mnuSkipSurname | Skip Surname | F2 | on | off | on | 6137
  mnuPeriodSpace | Space after Forename Period |  | on | on | on | 6137
  mnuUseMyEmail | Use My Email |  | off | off | off | 6137
  mnuVertical | &Vertical Tab | Shift+F2 | on | off | on | 6137
  mnuWarnNewForename | Warn on Unknown Forename |  | on | on | on | 6137
  mnuChangeWarning | Warn only when Changed |  | on | off | on | 6137
  mnuTimeToSave | Warn when time to Save |  | off | off | off | 6137
  mnu1letterwarn | Warnings include 1 letter names |  | on | on | on | 6137
  ---  on
  mnuAutoComplete | Show Forename Auto Complete |  | on | off | on | 6137
  mnuDistAuto | Show District Auto Complete |  | on | off | on | 6137
  mnuSpecialChar | Show Special Character Table | F4 | on | - | on | 6137
  mnuShowCopyPaste | Show Copy/Paste Form |  | on | on | on | 5242
  mnuShowFullPath | Show full pathnames on File menu |  | on | off | on | 0
  ---  on
  mnuValidateEntry | Do Not Validate This Entry | Shift+F1 | off | off | on | 6137
  ---  on
  mnuDistrictPicklist | Show District Picklist |  | on | on | on | 6137
  mnuForenamePicklist | Show Forename Picklist |  | on | on | on | 6137
  --- mnuDistSep on
  mnuDropDownPicklist | Drop-Down Picklist |  | on | off | on | 6148
  mnuOsDrop | Oversized Drop-Down |  | on | off | on | 6137
  mnuStdDistPicklist | Standard District Picklist |  | on | on | on | 6114
  mnuMRUDistPicklist | MRU District Picklist |  | on | off | on | 6148
  ---  on
  mnuHidePassword | Hide Password |  | on | off | on | 6137
mnuFormatting | For&matting |  | on | - | on | 5232
  mnuFormatSurnames | Surnames |  | on | - | on | 5232
    mnuNameCaseSurnames | Name Case |  | on | on | on | 5232
    mnuUpCaseSurnames | Upper Case |  | on | off | on | 5232
    mnuLowCaseSurnames | Lower Case |  | on | off | on | 5232
    mnuLeaveCaseSurnames | As Typed |  | on | off | on | 5232
  ---  on
  mnuSpouse | Spouse Name |  | off | - | on | 5232
    mnuNameCaseSpouse | Name Case |  | on | on | on | 5232
    mnuUpCaseSpouse | Upper Case |  | on | off | on | 5232
    mnuLowCaseSpouse | Lower Case |  | on | off | on | 5232
    mnuLeaveCaseSpouse | As Typed |  | on | off | on | 5232
  ---  on
  mnuMother | Mother's Name |  | on | - | on | 5232
    mnuNameCaseMother | Name Case |  | on | on | on | 5232
    mnuUpCaseMother | Upper Case |  | on | off | on | 5232
    mnuLowCaseMother | Lower Case |  | on | off | on | 5232
    mnuLeaveCaseMother | As Typed |  | on | off | on | 5232
  ---  on
  mnuFormatForenames | Forenames |  | on | - | on | 5232
    mnuNameCaseForename | Name Case |  | on | on | on | 5232
    mnuUpCaseForename | Upper Case |  | on | off | on | 5232
    mnuLowcaseForename | Lower Case |  | on | off | on | 5232
    mnuLeaveCaseForename | As Typed |  | on | off | on | 5232
  ---  on
  mnuDistricts | Districts |  | on | - | on | 5232
    mnuNameCaseDistrict | Name Case |  | on | on | on | 5232
    mnuUpCaseDistricts | Upper Case |  | on | off | on | 5232
    mnuLowCaseDistricts | Lower Case |  | on | off | on | 5232
    mnuLeaveCaseDistricts | As Typed |  | on | off | on | 5232
  ---  on
  mnuDoB | DoB |  | off | - | on | 5232
    mnuUppercaseDoB | Upper Case |  | on | off | on | 5232
    mnuLowercaseDoB | Lower Case |  | on | off | on | 5232
    mnuLeavecaseDoB | As Typed |  | on | off | on | 5232
mnuHelp | &Help |  | on | - | on | 6111
  mnuPelkarHelp | Pelkar Help |  | on | - | on | 6002
  ---  on
  mnuAbout | About |  | on | - | on | 6111
mnuRowPopup | Row Menu |  | on | - | on | 6110
  mnuDelRow2 | Delete This Row |  | on | - | on | 6110
  mnuInsertRow2 | Insert New Row |  | on | - | on | 6110
mnuCellPopup | Cell Menu |  | on | - | on | 6110
  mnuInsertDown2 | Insert Blank - Move others down |  | on | - | on | 6110
  mnuDellUp | Delete Cell - Move others Up |  | on | - | on | 6110)";

// The line of the item named like the given line, replaced by it.

QStringList withChanges(QStringList lines, const QStringList &changes)
{
    // A separator's line is "--- name shown": it is found by its name.
    const auto nameOf = [](const QString &line) {
        return line.section(u' ', line.startsWith(QLatin1String("---")) ? 1 : 0,
                            line.startsWith(QLatin1String("---")) ? 1 : 0);
    };
    for (const QString &change : changes) {
        const QString name = nameOf(change);
        bool found = false;
        for (QString &line : lines) {
            const QString trimmed = line.trimmed();
            if (nameOf(trimmed) == name) {
                line = QString(line.size() - trimmed.size(), u' ') + change;
                found = true;
            }
        }
        if (!found)
            qWarning("No menu item %s in the table", qPrintable(name));
    }
    return lines;
}

} // namespace

class tst_Form1Menus : public PelkarTest
{
    Q_OBJECT

protected:
    void setUpCase() override
    {
        script->answer({QStringLiteral("Use Default"), QStringLiteral("Ok")});
        window = std::make_unique<Form1>();
        QVERIFY(window->Load());
        script->clearRecords();
    }

    void tearDownCase() override
    {
        // The orderly shut-down, without the close box's question.
        if (gProject)
            CloseDown(0, QString(), QString());
        window.reset();
    }

    // Loads the fixture's batch as a file of the save folder and lays the
    // menus out for it.
    void loadBatch(const QString &fixtureFolder, const QString &name)
    {
        QVERIFY(QDir().mkpath(gProject->SavePath()));
        const QString batch = QDir(gProject->SavePath()).filePath(name);
        QVERIFY(QFile::copy(fixture(fixtureFolder + QStringLiteral("/input.ZEL")), batch));
        QVERIFY(gTranscription->Restore(batch));
        QVERIFY(script->records().isEmpty());
        window->ApplySettingsToMenus();
    }

    void loadBirths()
    {
        loadBatch(QStringLiteral("batch-births-mother-film"), QStringLiteral("1915B2B0007.ZEL"));
    }

    // Every menu item, the bar's menus first, then the right-click menus.
    QStringList menuLines() const
    {
        QStringList out;
        for (const QAction *a : window->menuBar()->actions()) {
            out << describe(a);
            walk(a->menu(), 1, out);
        }
        for (const QMenu *popup : {window->RowPopup(), window->CellPopup()}) {
            out << describe(popup->menuAction());
            walk(popup, 1, out);
        }
        out.replaceInStrings(home(), QStringLiteral("@HOME@"));
        return out;
    }

    // Every item and named separator of the bar and the right-click menus.
    QList<QAction *> allItems() const
    {
        QList<QAction *> items;
        std::function<void(const QMenu *)> collect = [&](const QMenu *menu) {
            items << menu->menuAction();
            for (QAction *a : menu->actions()) {
                if (a->menu())
                    collect(a->menu());
                else if (!a->isSeparator() || !a->objectName().isEmpty())
                    items << a;
            }
        };
        for (const QAction *a : window->menuBar()->actions())
            collect(a->menu());
        collect(window->RowPopup());
        collect(window->CellPopup());
        return items;
    }

    QAction *item(const char *name) const
    {
        QAction *a = window->MenuItem(QString::fromLatin1(name));
        if (!a)
            qWarning("No menu item %s", name);
        return a;
    }

    std::unique_ptr<Form1> window;

private slots:
    void menusOfEachBatch_data()
    {
        QTest::addColumn<QString>("fixtureFolder");
        QTest::addColumn<QString>("batchName");
        QTest::addColumn<QStringList>("changes"); // lines that differ from the births table

        QTest::newRow("births-1915-with-mother")
            << "batch-births-mother-film" << "1915B2B0007.ZEL" << QStringList{};
        QTest::newRow("marriages-1920-with-spouse")
            << "batch-marriages-spouse-fiche" << "1920M4D0101.ZEL"
            << QStringList{"mnuSpouse | Spouse Name |  | on | - | on | 5232",
                           "mnuMother | Mother's Name |  | off | - | on | 5232"};
        QTest::newRow("marriages-1900-without-spouse")
            << "batch-marriages-plain-scan" << "1900M3C0045.ZEL"
            << QStringList{"mnuMother | Mother's Name |  | off | - | on | 5232"};
        QTest::newRow("deaths-1975-with-date-of-birth")
            << "batch-deaths-dob-scan" << "1975D2F0009.ZEL"
            << QStringList{"mnuAaDIgnore | Ignore Age at Death |  | on | off | on | 6138",
                           "mnuMother | Mother's Name |  | off | - | on | 5232",
                           "mnuDoB | DoB |  | on | - | on | 5232"};
        QTest::newRow("deaths-1950-with-age")
            << "batch-deaths-age-film" << "1950D1E0201.ZEL"
            << QStringList{"mnuAaDIgnore | Ignore Age at Death |  | on | off | on | 6138",
                           "mnuMother | Mother's Name |  | off | - | on | 5232"};
    }

    // Name, caption, keys, enabled, check mark, shown and help topic of
    // every item, in menu order.
    void menusOfEachBatch()
    {
        QFETCH(QString, fixtureFolder);
        QFETCH(QString, batchName);
        QFETCH(QStringList, changes);
        loadBatch(fixtureFolder, batchName);
        const QStringList expected =
            withChanges(QString::fromUtf8(kBirthsMenus).split(u'\n'), changes);
        const QStringList actual = menuLines();
        for (qsizetype i = 0; i < std::min(expected.size(), actual.size()); ++i)
            QCOMPARE(actual.at(i), expected.at(i));
        QCOMPARE(actual.size(), expected.size());
    }

    // No key reaches two items, nor an item and the window's own keys (the
    // paste texts on Ctrl+1 to Ctrl+9, zoom on F11 and F12).
    void noKeyUsedTwice()
    {
        QHash<QKeySequence, QString> owner;
        for (int digit = 1; digit <= 9; ++digit) {
            const auto key = Qt::Key(Qt::Key_0 + digit);
            owner.insert(QKeySequence(QKeyCombination(Qt::ControlModifier, key)),
                         QStringLiteral("paste text"));
            const auto keypad = Qt::ControlModifier | Qt::KeypadModifier;
            owner.insert(QKeySequence(QKeyCombination(keypad, key)),
                         QStringLiteral("paste text"));
        }
        owner.insert(QKeySequence(Qt::Key_F11), QStringLiteral("zoom in"));
        owner.insert(QKeySequence(Qt::Key_F12), QStringLiteral("zoom out"));
        int keyed = 0;
        for (const QAction *a : allItems()) {
            for (const QKeySequence &keys : a->shortcuts()) {
                QVERIFY2(!owner.contains(keys),
                         qPrintable(keys.toString() + " of " + a->objectName() + " is also "
                                    + owner.value(keys)));
                owner.insert(keys, a->objectName());
                ++keyed;
            }
        }
        QCOMPARE(keyed, 21);
    }

    // Every item is found by its own name, and carries its help topic as
    // a whole number.
    void everyItemNamedOnce()
    {
        QSet<QString> names;
        const QList<QAction *> items = allItems();
        for (const QAction *a : items) {
            QVERIFY2(a->objectName().startsWith(QLatin1String("mnu")), qPrintable(a->text()));
            QVERIFY2(!names.contains(a->objectName()), qPrintable(a->objectName()));
            names.insert(a->objectName());
            QCOMPARE(window->MenuItem(a->objectName()), a);
            if (!a->isSeparator())
                QCOMPARE(a->property("HelpContextID").metaType(), QMetaType::fromType<int>());
        }
        QCOMPARE(names.size(), items.size());
    }

    // F1 on any item of the bar or the right-click menus finds a page that
    // the contents page reaches.
    void everyMenuTopicHasAPage()
    {
        const QStringList problems = HelpProblems(HelpContextsIn(window.get()), HelpFolder());
        QVERIFY2(problems.isEmpty(), qPrintable(problems.join(u'\n')));
    }

    // The help menu opens the contents page.
    void helpMenuOpensTheContents()
    {
        window->MenuItem(QStringLiteral("mnuPelkarHelp"))->trigger();
        const auto records = script->records();
        QCOMPARE(records.size(), 1);
        QCOMPARE(records.first().kind, QStringLiteral("openUrl"));
        QVERIFY2(records.first().prompt.endsWith(QLatin1String("index.html")),
                 qPrintable(records.first().prompt));
    }

    // Define Save Path asks for the folder and the item then names it;
    // a cancelled choice changes nothing.
    void defineSavePathNamesTheFolder()
    {
        QAction *item = window->MenuItem(QStringLiteral("mnuDefPath"));
        const QString before = item->text();
        script->answer(QString());
        item->trigger();
        QCOMPARE(item->text(), before);

        const QString chosen = QDir(gProject->DataPath()).filePath(QStringLiteral("Mine & Yours"));
        QVERIFY(QDir().mkpath(chosen));
        script->answer(chosen);
        item->trigger();
        QCOMPARE(gProject->SavePath(), chosen);
        QCOMPARE(item->text(), QStringLiteral("&Define Save Path (") + QString(chosen).replace(
                                   u'&', QStringLiteral("&&")) + u')');
    }

    // The menus follow the settings whenever the window is laid out.
    void menusFollowChangedSettings()
    {
        loadBirths();
        gProject->setBeepit(false);
        gProject->setDistPick(false);
        gProject->setForePick(false);
        gProject->setRowNumbering(QStringLiteral("D"));
        window->ApplySettingsToMenus();
        QVERIFY(!item("mnuBeep")->isChecked());
        QVERIFY(!item("mnuDistrictPicklist")->isChecked());
        QVERIFY(!item("mnuForenamePicklist")->isChecked());
        QVERIFY(!item("mnuStdDistPicklist")->isVisible());
        QVERIFY(!item("mnuDistSep")->isVisible());
        QVERIFY(!item("mnuChangePickRows")->isEnabled());
        QVERIFY(item("mnuNumberData")->isChecked());
        QVERIFY(!item("mnuNumberQuorvel")->isChecked());

        gProject->setForePick(true);
        window->ApplySettingsToMenus();
        QVERIFY(item("mnuChangePickRows")->isEnabled());
    }

    // Laying the menus out happens after a crash recovery too: a batch
    // with unsaved changes must still count as unsaved afterwards, or the
    // program would close without offering to save it.
    void layingOutLeavesUnsavedDataUnsaved()
    {
        loadBirths();
        gChangeMonitor->Changed();
        QVERIFY(gChangeMonitor->AnyChange());
        window->ApplySettingsToMenus();
        QVERIFY(gChangeMonitor->AnyChange());
    }

    // Until an item's command exists, clicking it does not move the check
    // mark; once released, the mark is the command's to set.
    void clickWithoutCommandKeepsTheMark()
    {
        Form1MenuItems items(nullptr);
        QAction action(QStringLiteral("Unbuilt"));
        action.setCheckable(true);
        action.setChecked(true);
        items.holdCheck(&action);
        action.trigger();
        QVERIFY(action.isChecked());
        items.releaseCheck(&action);
        action.trigger();
        QVERIFY(!action.isChecked());
    }

    // A menu key pressed in the window runs the item's command: Ctrl+F
    // opens the find window.
    void menuKeyRunsItsCommand()
    {
        loadBirths();
        window->show();
        window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(window.get()));
        auto opened = std::make_shared<bool>(false);
        QTimer::singleShot(0, this, [opened] {
            auto *find = qobject_cast<frmFind *>(QApplication::activeModalWidget());
            *opened = find != nullptr;
            if (find)
                find->reject();
        });
        QTest::keyClick(window.get(), Qt::Key_F, Qt::ControlModifier);
        QVERIFY(*opened);
    }

    // The recent files, the supplementary files' names and the range in
    // use, as the lists write them, appear in the File menu.
    void listsWriteIntoTheFileMenu()
    {
        loadBirths();
        const QString batch = QDir(gProject->SavePath()).filePath("1915B2B0007.ZEL");
        QVERIFY(gRecentFiles->Propose(batch));
        QVERIFY(item("mnurecentsep")->isVisible());
        QVERIFY(item("mnurecent1_1")->isVisible());
        QCOMPARE(item("mnurecent1_1")->text(), QStringLiteral("&1  1915B2B0007.ZEL"));
        QVERIFY(!item("mnurecent1_2")->isVisible());

        gProject->setSuppPath(2, QStringLiteral("/x/Ours & Theirs.txt"));
        QCOMPARE(item("mnuSupp1946Item")->text(), QStringLiteral("Ours && Theirs.txt"));

        // June 1915 is served by the first supplementary file.
        QVERIFY(gDistricts->Read_Districts());
        QVERIFY(item("mnuSuppPre1946Item")->isChecked());
        QVERIFY(!item("mnuSupp1946Item")->isChecked());
        QVERIFY(!item("mnuSupp1965OnItem")->isChecked());
        QVERIFY(!item("mnuSupp1974OnItem")->isChecked());
    }
};

PELKAR_TEST(tst_Form1Menus)
#include "tst_Form1Menus.moc"
