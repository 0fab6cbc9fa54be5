// The Options menu's commands through the real main window: the check
// marks, the settings in Project and in the settings file, the refusals and
// notices with their exact texts, and the batch file under the naming
// options.

#include "MainWindowFixture.h"

#include "core/clsEvents.h"
#include "entry/FlexGrid.h"
#include "entry/RichTextBox.h"
#include "entry/RichTextView.h"

#include <QAction>
#include <QTest>

namespace {

QByteArray readAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

const QString kBothTabs =
    QStringLiteral("Sorry but you can't select both Vertical Tabbing and Surname Skip");
const QString kAgeAtDeath =
    QStringLiteral("Warning - Ignore Age at Death is normally only ignored prior to 1865");
const QString kNamingWarning = QStringLiteral(
    "Warning, You have selected to use Lumivark filename format.\r\n"
    "This format is no longer recommended.\r\n"
    "You should ONLY use this option if your syndicate Coodinator has requested it.\r\n"
    "If you are uncertain you should not use this option before checking with your "
    "coordinator.\r\n"
    "Are you certain you want to change to Lumivark filenames?");

} // namespace

class tst_Form1Options : public MainWindowFixture
{
    Q_OBJECT

    QAction *item(const char *name) const
    {
        return window->MenuItem(QString::fromLatin1(name));
    }
    void click(const char *name) { item(name)->trigger(); }
    bool checked(const char *name) const { return item(name)->isChecked(); }

    QString settingsPath() const
    {
        return QDir(gProject->DataPath()).filePath(QStringLiteral("Pelkarini.txt"));
    }
    QByteArray settingsBytes() const { return readAll(settingsPath()); }

    // The value of section/key as the settings file holds it now.
    QString setting(const QString &section, const QString &key) const
    {
        const QStringList lines =
            QString::fromLatin1(settingsBytes()).split(QStringLiteral("\r\n"));
        QString current;
        for (const QString &line : lines) {
            if (line.startsWith(u'[')) {
                current = line.mid(1, line.indexOf(u']') - 1);
            } else if (current.compare(section, Qt::CaseInsensitive) == 0
                       && line.section(u'=', 0, 0).trimmed().compare(key, Qt::CaseInsensitive)
                              == 0) {
                return line.section(u'=', 1).trimmed();
            }
        }
        return QStringLiteral("<missing>");
    }

    QStringList prompts() const
    {
        QStringList list;
        for (const MessageRecord &r : script->records())
            list << r.prompt;
        return list;
    }

private slots:
    // Each plain option flips its setting, its check mark and (all but the
    // oversized drop-down) its value in the settings file; a second click
    // puts all three back.
    void plainTogglesFlipAndSave_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("section");
        QTest::addColumn<QString>("key");
        QTest::addColumn<bool>("savedAtOnce");
        const struct
        {
            const char *name, *section, *key;
        } rows[] = {
            {"mnuAutotab", "Options", "AutoTab"},
            {"mnuBeep", "Options", "Beep"},
            {"mnuDontReformatPaste", "Options", "DontFormatPaste"},
            {"mnuDontReformatPicklist", "Options", "DontFormatPick"},
            {"mnuIgnoreEnter", "Options", "IgnoreEnter"},
            {"mnuIgnoreOdd", "Options", "IgnoreOddChars"},
            {"mnuOversizeBoxes", "Picklist", "OverSize"},
            {"mnuColWidths", "Forms", "RestoreCols"},
            {"mnuPeriodSpace", "Options", "PeriodSpace"},
            {"mnuWarnNewForename", "Warnings", "ForeWarn"},
            {"mnuChangeWarning", "Warnings", "ChangeWarning"},
            {"mnu1letterwarn", "Warnings", "Warn1Char"},
            {"mnuAutoComplete", "Picklist", "ForeGhost"},
            {"mnuDistAuto", "Picklist", "DistGhost"},
            {"mnuHidePassword", "Forms", "HidePW"},
            {"mnuShowFullPath", "Options", "ShowFullPathname"},
        };
        for (const auto &r : rows)
            QTest::newRow(r.name) << QString::fromLatin1(r.name) << QString::fromLatin1(r.section)
                                  << QString::fromLatin1(r.key) << true;
        QTest::newRow("mnuOsDrop") << "mnuOsDrop" << "Picklist" << "OversizeDrop" << false;
    }
    void plainTogglesFlipAndSave()
    {
        QFETCH(QString, name);
        QFETCH(QString, section);
        QFETCH(QString, key);
        QFETCH(bool, savedAtOnce);
        startWindow();
        QVERIFY(gProject->SetRegistryValues(true));
        QAction *action = window->MenuItem(name);
        const bool before = action->isChecked();
        const QString stored = setting(section, key);
        QCOMPARE(stored, before ? QStringLiteral("Y") : QStringLiteral("N"));

        action->trigger();
        QCOMPARE(action->isChecked(), !before);
        QCOMPARE(setting(section, key),
                 savedAtOnce ? (before ? QStringLiteral("N") : QStringLiteral("Y")) : stored);
        // The change reaches the file with the next full save.
        QVERIFY(gProject->SetRegistryValues(true));
        QCOMPARE(setting(section, key), before ? QStringLiteral("N") : QStringLiteral("Y"));
        window->ApplySettingsToMenus();
        QCOMPARE(action->isChecked(), !before);

        const QString afterSave = setting(section, key);
        action->trigger();
        QCOMPARE(action->isChecked(), before);
        QCOMPARE(setting(section, key), savedAtOnce ? stored : afterSave);
        QVERIFY(prompts().isEmpty());
    }

    // Skip Surname and Vertical Tab exclude each other in either order;
    // switching either off is always allowed.
    void skipSurnameAgainstVerticalTab_data()
    {
        QTest::addColumn<QStringList>("clicks");
        QTest::addColumn<int>("refusals");
        QTest::addColumn<bool>("skip");
        QTest::addColumn<bool>("vertical");
        QTest::newRow("skip-then-vertical")
            << QStringList{"mnuSkipSurname", "mnuVertical"} << 1 << true << false;
        QTest::newRow("vertical-then-skip")
            << QStringList{"mnuVertical", "mnuSkipSurname"} << 1 << false << true;
        QTest::newRow("skip-off-then-vertical")
            << QStringList{"mnuSkipSurname", "mnuSkipSurname", "mnuVertical"} << 0 << false
            << true;
        QTest::newRow("vertical-off-then-skip")
            << QStringList{"mnuVertical", "mnuVertical", "mnuSkipSurname"} << 0 << true << false;
        QTest::newRow("refused-then-off")
            << QStringList{"mnuVertical", "mnuSkipSurname", "mnuVertical"} << 1 << false << false;
    }
    void skipSurnameAgainstVerticalTab()
    {
        QFETCH(QStringList, clicks);
        QFETCH(int, refusals);
        QFETCH(bool, skip);
        QFETCH(bool, vertical);
        startWindow();
        QVERIFY(!gProject->Skip());
        QVERIFY(!gProject->VerticalTab());
        for (int i = 0; i < refusals; ++i)
            script->answer(QStringLiteral("Ok"));
        for (const QString &name : clicks)
            window->MenuItem(name)->trigger();

        QCOMPARE(prompts(), QStringList(refusals, kBothTabs));
        for (const MessageRecord &r : script->records()) {
            QCOMPARE(r.style, int(Mb::Exclamation));
            QCOMPARE(r.title, QStringLiteral("Pelkar"));
        }
        QCOMPARE(gProject->Skip(), skip);
        QCOMPARE(gProject->VerticalTab(), vertical);
        QCOMPARE(checked("mnuSkipSurname"), skip);
        QCOMPARE(checked("mnuVertical"), vertical);
        QCOMPARE(setting(QStringLiteral("Options"), QStringLiteral("SkipSurname")),
                 skip ? QStringLiteral("Y") : QStringLiteral("N"));
        QCOMPARE(setting(QStringLiteral("Options"), QStringLiteral("VerticalTab")),
                 vertical ? QStringLiteral("Y") : QStringLiteral("N"));
    }

    // The notice comes only when the option is turned on for a batch after
    // 1864; the option is changed all the same.
    void ageAtDeathNotice_data()
    {
        QTest::addColumn<int>("year");
        QTest::addColumn<bool>("warned");
        QTest::newRow("1864") << 1864 << false;
        QTest::newRow("1865") << 1865 << true;
    }
    void ageAtDeathNotice()
    {
        QFETCH(int, year);
        QFETCH(bool, warned);
        startWindow();
        gProject->setIYear(year);
        QVERIFY(!gProject->IgnoreAaD());
        if (warned)
            script->answer(QStringLiteral("Ok"));
        click("mnuAaDIgnore");
        QVERIFY(gProject->IgnoreAaD());
        QVERIFY(checked("mnuAaDIgnore"));
        QCOMPARE(setting(QStringLiteral("Warnings"), QStringLiteral("IgnoreAad")),
                 QStringLiteral("Y"));
        QCOMPARE(prompts(), warned ? QStringList{kAgeAtDeath} : QStringList());
        if (warned) {
            QCOMPARE(script->records().first().style, int(Mb::Exclamation));
            QCOMPARE(script->records().first().title, QStringLiteral("Pelkar"));
        }
        // Turning it off never warns.
        script->clearRecords();
        click("mnuAaDIgnore");
        QVERIFY(!gProject->IgnoreAaD());
        QVERIFY(prompts().isEmpty());
    }

    // While a save, load or upload is under way the guarded commands do
    // nothing at all: no setting, no check mark, no file.
    void guardedCommandsWaitWhileBusy_data()
    {
        QTest::addColumn<QString>("name");
        for (const char *name :
             {"mnuAutotab", "mnu1letterwarn", "mnuAutoComplete", "mnuDistAuto", "mnuAaDIgnore",
              "mnuShowStripes", "mnuDropDownPicklist", "mnuDistrictPicklist",
              "mnuMRUDistPicklist", "mnuLumivarkNaming"})
            QTest::newRow(name) << QString::fromLatin1(name);
    }
    void guardedCommandsWaitWhileBusy()
    {
        QFETCH(QString, name);
        startWindow();
        QVERIFY(gProject->SetRegistryValues(true));
        const QByteArray settings = settingsBytes();
        const QString batchName = gProject->BatchName();
        QAction *action = window->MenuItem(name);
        const bool before = action->isChecked();
        window->setBSaving(true);
        action->trigger();
        window->setBSaving(false);
        QCOMPARE(action->isChecked(), before);
        QCOMPARE(settingsBytes(), settings);
        QCOMPARE(gProject->BatchName(), batchName);
        QVERIFY(prompts().isEmpty());
    }

    // A setting that refuses changes while events are held off keeps its
    // check mark in step with it.
    void refusedSettingKeepsItsMark()
    {
        startWindow();
        const bool overSize = gProject->OverSize();
        const bool forePick = gProject->ForePick();
        gEvents->EventsOff();
        click("mnuOversizeBoxes");
        click("mnuForenamePicklist");
        gEvents->EventsOn();
        QCOMPARE(gProject->OverSize(), overSize);
        QCOMPARE(checked("mnuOversizeBoxes"), overSize);
        QCOMPARE(gProject->ForePick(), forePick);
        QCOMPARE(checked("mnuForenamePicklist"), forePick);
    }

    // The three numbering items act as one choice, stored as 0, 1 or 2;
    // choosing the checked one keeps it.
    void rowNumberingIsOneChoice()
    {
        startWindow();
        QVERIFY(checked("mnuNumberQuorvel"));
        const struct
        {
            const char *name;
            const char *style;
            const char *stored;
        } rows[] = {{"mnuNumberPelkar", "P", "0"},
                    {"mnuNumberData", "D", "2"},
                    {"mnuNumberData", "D", "2"},
                    {"mnuNumberQuorvel", "Q", "1"}};
        for (const auto &r : rows) {
            click(r.name);
            for (const char *other : {"mnuNumberPelkar", "mnuNumberQuorvel", "mnuNumberData"})
                QCOMPARE(checked(other), qstrcmp(other, r.name) == 0);
            QCOMPARE(gProject->RowNumbering(), QString::fromLatin1(r.style));
            QCOMPARE(setting(QStringLiteral("Options"), QStringLiteral("RowNumbering")),
                     QString::fromLatin1(r.stored));
        }
    }

    // Clicking the checked MRU item switches to the standard list; clicking
    // the checked standard item keeps it.
    void districtListKind()
    {
        startWindow();
        QVERIFY(gProject->DistPickStd());
        click("mnuStdDistPicklist");
        QVERIFY(gProject->DistPickStd());
        QVERIFY(checked("mnuStdDistPicklist"));
        QVERIFY(!checked("mnuMRUDistPicklist"));

        click("mnuMRUDistPicklist");
        QVERIFY(!gProject->DistPickStd());
        QVERIFY(checked("mnuMRUDistPicklist"));
        QVERIFY(!checked("mnuStdDistPicklist"));
        QCOMPARE(setting(QStringLiteral("Picklist"), QStringLiteral("StdPicklist")),
                 QStringLiteral("N"));
        QCOMPARE(setting(QStringLiteral("Picklist"), QStringLiteral("MRUPicklist")),
                 QStringLiteral("Y"));

        click("mnuMRUDistPicklist");
        QVERIFY(gProject->DistPickStd());
        QVERIFY(!checked("mnuMRUDistPicklist"));
        QVERIFY(checked("mnuStdDistPicklist"));
        QCOMPARE(setting(QStringLiteral("Picklist"), QStringLiteral("StdPicklist")),
                 QStringLiteral("Y"));
    }

    // On a cell that is not a district, choosing the standard list does not
    // lay the district box over it: the box would take a surname.
    void standardListOffTheDistrictColumnLeavesTheBox()
    {
        startWindow();
        FlexGrid &grid = window->fgInput();
        grid.setRowCol(2, 1);
        const QString districtText = window->tbDistrict().Text();
        const QString surname = grid.TextMatrix(2, 1);
        QVERIFY(!surname.isEmpty());
        click("mnuStdDistPicklist");
        QCOMPARE(window->tbDistrict().Text(), districtText);
        QCOMPARE(grid.TextMatrix(2, 1), surname);
    }

    // Choosing the standard list while a district is half typed keeps
    // what was typed: the box is not laid over its cell afresh.
    void standardListKeepsTypedDistrict()
    {
        startWindow();
        FlexGrid &grid = window->fgInput();
        const int col = gTranscription->DistrictCol();
        grid.setRowCol(2, col);
        QCOMPARE(gCurrentCol, col);
        // Nothing typed: the box stays with its cell's text.
        click("mnuStdDistPicklist");
        QCOMPARE(window->tbDistrict().Text(), grid.TextMatrix(2, col));

        window->tbDistrict().setText(QString());
        QTest::keyClicks(window->tbDistrictView(), QStringLiteral("zq"));
        const QString typed = window->tbDistrict().Text();
        QVERIFY(!typed.isEmpty());
        click("mnuStdDistPicklist");
        QCOMPARE(window->tbDistrict().Text(), typed);
    }

    // Both pick lists off disables the row-count item, in either order;
    // either one on enables it again. The district list's kind items show
    // only with the district list.
    void pickListsAndTheRowCountItem_data()
    {
        QTest::addColumn<QStringList>("offOrder");
        QTest::newRow("district-first") << QStringList{"mnuDistrictPicklist",
                                                       "mnuForenamePicklist"};
        QTest::newRow("forename-first") << QStringList{"mnuForenamePicklist",
                                                       "mnuDistrictPicklist"};
    }
    void pickListsAndTheRowCountItem()
    {
        QFETCH(QStringList, offOrder);
        startWindow();
        QAction *rows = item("mnuChangePickRows");
        QVERIFY(rows->isEnabled());
        window->MenuItem(offOrder[0])->trigger();
        QVERIFY(rows->isEnabled());
        window->MenuItem(offOrder[1])->trigger();
        QVERIFY(!rows->isEnabled());
        QVERIFY(!gProject->DistPick());
        QVERIFY(!gProject->ForePick());
        QVERIFY(!checked("mnuDistrictPicklist"));
        QVERIFY(!checked("mnuForenamePicklist"));
        QVERIFY(!item("mnuStdDistPicklist")->isVisible());
        QVERIFY(!item("mnuDistSep")->isVisible());
        QCOMPARE(setting(QStringLiteral("Picklist"), QStringLiteral("DistPick")),
                 QStringLiteral("N"));
        QCOMPARE(setting(QStringLiteral("Picklist"), QStringLiteral("ForePick")),
                 QStringLiteral("N"));

        window->MenuItem(offOrder[1])->trigger();
        QVERIFY(rows->isEnabled());
        QCOMPARE(item("mnuStdDistPicklist")->isVisible(),
                 offOrder[1] == QLatin1String("mnuDistrictPicklist"));
    }

    // Docked, the list always moves with the window and the item cannot be
    // changed; set free again, the transcriber's own choice comes back.
    void movePickListWhileDocked()
    {
        startWindow();
        QVERIFY(!gProject->MovePick());
        click("mnuDropDownPicklist");
        QVERIFY(gProject->DropDownPick());
        QVERIFY(checked("mnuDropDownPicklist"));
        QVERIFY(gProject->MovePick());
        QVERIFY(!gProject->bMoveState());
        QCOMPARE(setting(QStringLiteral("Picklist"), QStringLiteral("DropDownPick")),
                 QStringLiteral("Y"));

        const bool mark = checked("mnuMovePicklist");
        click("mnuMovePicklist");
        QVERIFY(gProject->MovePick());
        QCOMPARE(checked("mnuMovePicklist"), mark);

        click("mnuDropDownPicklist");
        QVERIFY(!gProject->DropDownPick());
        QVERIFY(!gProject->MovePick());
        QVERIFY(!checked("mnuMovePicklist"));
        click("mnuMovePicklist");
        QVERIFY(gProject->MovePick());
        QVERIFY(checked("mnuMovePicklist"));
        QCOMPARE(setting(QStringLiteral("Picklist"), QStringLiteral("MovePick")),
                 QStringLiteral("Y"));
    }

    // The paste-texts window follows its own visibility.
    void copyPasteWindow()
    {
        startWindow();
        paste.visible = false;
        click("mnuShowCopyPaste");
        QVERIFY(paste.visible);
        QVERIFY(checked("mnuShowCopyPaste"));
        QVERIFY(gProject->CopyPaste());
        QCOMPARE(setting(QStringLiteral("Forms"), QStringLiteral("ShowCPY")), QStringLiteral("Y"));
        click("mnuShowCopyPaste");
        QVERIFY(!paste.visible);
        QVERIFY(!checked("mnuShowCopyPaste"));
        QVERIFY(!gProject->CopyPaste());
        QCOMPARE(setting(QStringLiteral("Forms"), QStringLiteral("ShowCPY")), QStringLiteral("N"));
    }

    // Stripes off recolours the grid's rows from row 2 on.
    void stripesRecolourTheGrid()
    {
        startWindow();
        QVERIFY(gProject->Stripes());
        FlexGrid &grid = window->fgInput();
        QVERIFY(grid.Rows() > 4);
        const auto colourOf = [&grid](int row) {
            grid.setRowCol(row, 2);
            return grid.CellBackColor();
        };
        QVERIFY(colourOf(2) != colourOf(3));
        click("mnuShowStripes");
        QVERIFY(!gProject->Stripes());
        QVERIFY(!checked("mnuShowStripes"));
        QCOMPARE(setting(QStringLiteral("Forms"), QStringLiteral("Stripes")), QStringLiteral("N"));
        QCOMPARE(colourOf(2), colourOf(3));
    }

    // "Keep Picklist visible" shows the list at once and is saved.
    void keepPickListVisible()
    {
        startWindow();
        QVERIFY(!gProject->KeepPickListVisible());
        Project::PickWindow *pick = Project::pickWindow();
        QVERIFY(pick);
        pick->setPickVisible(false);
        click("mnuKeepPickVisible");
        QVERIFY(gProject->KeepPickListVisible());
        QVERIFY(checked("mnuKeepPickVisible"));
        QVERIFY(pick->pickVisible());
        QCOMPARE(setting(QStringLiteral("Picklist"), QStringLiteral("KeepVisible")),
                 QStringLiteral("Y"));
        click("mnuKeepPickVisible");
        QVERIFY(!gProject->KeepPickListVisible());
        QCOMPARE(setting(QStringLiteral("Picklist"), QStringLiteral("KeepVisible")),
                 QStringLiteral("N"));
    }

    // On the district column the district list, switched back on, is shown
    // at once; switched off, it goes.
    void districtListOnItsColumn()
    {
        startWindow();
        FlexGrid &grid = window->fgInput();
        grid.setRowCol(2, gTranscription->DistrictCol());
        QCOMPARE(gCurrentCol, gTranscription->DistrictCol());
        Project::PickWindow *pick = Project::pickWindow();
        QVERIFY(pick);
        click("mnuDistrictPicklist");
        QVERIFY(!gProject->DistPick());
        QVERIFY(!pick->pickVisible());
        click("mnuDistrictPicklist");
        QVERIFY(gProject->DistPick());
        QVERIFY(checked("mnuDistrictPicklist"));
        QVERIFY(pick->pickVisible());
        QVERIFY(item("mnuStdDistPicklist")->isVisible());
        QVERIFY(item("mnuChangePickRows")->isEnabled());
    }

    // With the sibling naming on, the page-letter option is stored and the
    // batch is named anew and saved under that name.
    void pageLetterOptionRenamesTheBatch()
    {
        startWindow();
        script->answer({QStringLiteral("Yes"), QStringLiteral("Yes")});
        click("mnuLumivarkNaming");
        const QString lumivarkName = gProject->BatchName();
        const bool noLetter = gProject->bLumivarkNoLetter();
        QCOMPARE(checked("mnuNoLumivarkLetter"), noLetter);

        script->clearRecords();
        click("mnuNoLumivarkLetter");
        QCOMPARE(gProject->bLumivarkNoLetter(), !noLetter);
        QCOMPARE(checked("mnuNoLumivarkLetter"), !noLetter);
        QCOMPARE(setting(QStringLiteral("Options"), QStringLiteral("LumivarkNoLetter")),
                 noLetter ? QStringLiteral("N") : QStringLiteral("Y"));
        QCOMPARE(gProject->BatchName(), gProject->BuildLumivarkName());
        // A fiche batch's sibling-style name carries no page letter.
        QCOMPARE(gProject->BatchName(), lumivarkName);
        QVERIFY(QFile::exists(QDir(gProject->SavePath()).filePath(gProject->BatchName())));
    }

    // Declining the naming warning leaves the batch name, its file and the
    // settings as they were.
    void namingWarningDeclined()
    {
        startWindow();
        QVERIFY(gProject->SetRegistryValues(true));
        const QByteArray settings = settingsBytes();
        const QString name = gProject->BatchName();
        const QByteArray file = readAll(batch);
        const QStringList files = QDir(gProject->SavePath()).entryList(QDir::Files);

        script->answer(QStringLiteral("No"));
        click("mnuLumivarkNaming");
        QCOMPARE(prompts(), QStringList{kNamingWarning});
        QCOMPARE(script->records().first().style, int(Mb::YesNo | Mb::Exclamation));
        QCOMPARE(script->records().first().title, QStringLiteral("Pelkar"));
        QVERIFY(!checked("mnuLumivarkNaming"));
        QVERIFY(!item("mnuNoLumivarkLetter")->isEnabled());
        QVERIFY(!gProject->bLumivark());
        QCOMPARE(gProject->BatchName(), name);
        QCOMPARE(readAll(batch), file);
        QCOMPARE(QDir(gProject->SavePath()).entryList(QDir::Files), files);
        QCOMPARE(settingsBytes(), settings);
    }

    // Accepting it saves the batch under the sibling-style name, offers to
    // delete the old file, and stores the choice; switching back returns
    // to the program's own name.
    void namingWarningAccepted()
    {
        startWindow();
        const QString oldName = gProject->BatchName();
        script->answer({QStringLiteral("Yes"), QStringLiteral("Yes")});
        click("mnuLumivarkNaming");
        QCOMPARE(prompts().first(), kNamingWarning);
        QVERIFY(gProject->bLumivark());
        QVERIFY(checked("mnuLumivarkNaming"));
        QVERIFY(item("mnuNoLumivarkLetter")->isEnabled());
        QCOMPARE(setting(QStringLiteral("Options"), QStringLiteral("LumivarkFn")),
                 QStringLiteral("Y"));
        const QString newName = gProject->BatchName();
        QVERIFY(newName != oldName);
        QCOMPARE(newName, gProject->BuildLumivarkName());
        QVERIFY(QFile::exists(QDir(gProject->SavePath()).filePath(newName)));
        QVERIFY(!QFile::exists(batch));

        // Switching back asks nothing about the format.
        script->clearRecords();
        script->answer(QStringLiteral("Yes"));
        click("mnuLumivarkNaming");
        QVERIFY(!prompts().contains(kNamingWarning));
        QVERIFY(!gProject->bLumivark());
        QCOMPARE(gProject->BatchName(), oldName);
        QVERIFY(QFile::exists(batch));
        QVERIFY(!item("mnuNoLumivarkLetter")->isEnabled());
    }
};

PELKAR_TEST(tst_Form1Options)
#include "tst_Form1Options.moc"
