// The menu states that the settings file and the open batch give: every
// option's check mark on and off, the items that follow the batch's event
// type and year, the row numbering, the case marks of the Formatting menu,
// the file-naming pair and the captions that name folders and files.

#include "PelkarTest.h"
#include "TestFiles.h"

#include "core/Globals.h"
#include "core/Project.h"
#include "core/SettingsFileStore.h"
#include "mainwindow/MenuState.h"

#include <QDir>

using namespace TestFiles;

namespace {

// "name:field" of one item's state as text: "true"/"false", the caption, or
// "-" when the settings leave that field of the item as it is.
QString stateText(const MenuState &state, const QString &spec)
{
    const QString name = spec.section(u':', 0, 0);
    const QString field = spec.section(u':', 1, 1);
    const MenuItemState *item = state.item(name);
    const auto flag = [](const std::optional<bool> &value) {
        return value ? QString(*value ? "true" : "false") : QStringLiteral("-");
    };
    if (!item)
        return QStringLiteral("-");
    if (field == QLatin1String("checked"))
        return flag(item->checked);
    if (field == QLatin1String("enabled"))
        return flag(item->enabled);
    if (field == QLatin1String("visible"))
        return flag(item->visible);
    if (field == QLatin1String("caption"))
        return item->caption.value_or(QStringLiteral("-"));
    return QStringLiteral("<unknown field ") + field + u'>';
}

// The plain options: settings section, key and the item that mirrors it.
struct Toggle
{
    const char *row;
    const char *section;
    const char *key;
    const char *item;
};

const Toggle kToggles[] = {
    {"hide-password", "Forms", "HidePW", "mnuHidePassword"},
    {"beep", "Options", "Beep", "mnuBeep"},
    {"dont-reformat-paste", "Options", "DontFormatPaste", "mnuDontReformatPaste"},
    {"dont-reformat-picklist", "Options", "DontFormatPick", "mnuDontReformatPicklist"},
    {"enter-ignores-autocomplete", "Options", "IgnoreEnter", "mnuIgnoreEnter"},
    {"one-letter-warnings", "Warnings", "Warn1Char", "mnu1letterwarn"},
    {"warn-only-when-changed", "Warnings", "ChangeWarning", "mnuChangeWarning"},
    {"drop-down-picklist", "Picklist", "DropDownPick", "mnuDropDownPicklist"},
    {"oversized-drop-down", "Picklist", "OversizeDrop", "mnuOsDrop"},
    {"forename-autocomplete", "Picklist", "ForeGhost", "mnuAutoComplete"},
    {"district-autocomplete", "Picklist", "DistGhost", "mnuDistAuto"},
    {"warn-unknown-forename", "Warnings", "ForeWarn", "mnuWarnNewForename"},
    {"forename-picklist", "Picklist", "ForePick", "mnuForenamePicklist"},
    {"district-picklist", "Picklist", "DistPick", "mnuDistrictPicklist"},
    {"oversized-boxes", "Picklist", "OverSize", "mnuOversizeBoxes"},
    {"keep-picklist-visible", "Picklist", "KeepVisible", "mnuKeepPickVisible"},
    {"skip-surname", "Options", "SkipSurname", "mnuSkipSurname"},
    {"move-picklist", "Picklist", "MovePick", "mnuMovePicklist"},
    {"show-copy-paste", "Forms", "ShowCPY", "mnuShowCopyPaste"},
    {"ignore-unusual-characters", "Options", "IgnoreOddChars", "mnuIgnoreOdd"},
    {"auto-tab", "Options", "AutoTab", "mnuAutotab"},
    {"remember-column-widths", "Forms", "RestoreCols", "mnuColWidths"},
    {"vertical-tab", "Options", "VerticalTab", "mnuVertical"},
    {"stripes", "Forms", "Stripes", "mnuShowStripes"},
    {"space-after-period", "Options", "PeriodSpace", "mnuPeriodSpace"},
    {"full-paths", "Options", "ShowFullPathname", "mnuShowFullPath"},
};

const QString kBirths1900 = QStringLiteral("[Batch]\nZelType=1\nBatchYear=1900\n");

} // namespace

class tst_MenuState : public PelkarTest
{
    Q_OBJECT

protected:
    void setUpCase() override
    {
        ClearIniStore();
        ProgramObjects::createEvents();
        ProgramObjects::createProject();
        QVERIFY(QDir().mkpath(dataFolder()));
        gProject->setDataPath(dataFolder());
    }

    void tearDownCase() override
    {
        ProgramObjects::releaseAll();
        ClearIniStore();
    }

private:
    QString dataFolder() const { return homePath(QStringLiteral("data")); }

    // Loads the text (lines joined with CR LF) as the settings file.
    void loadSettings(const QString &text)
    {
        QByteArray bytes = text.toLatin1();
        bytes.replace("\n", "\r\n");
        QVERIFY(writeBytes(QDir(dataFolder()).filePath(QStringLiteral("Pelkarini.txt")), bytes));
        QVERIFY(gProject->Setup());
    }

    static void addColumns()
    {
        QTest::addColumn<QString>("settings");
        QTest::addColumn<QStringList>("expected"); // "name:field=value"
    }

    void compareStates()
    {
        QFETCH(QString, settings);
        QFETCH(QStringList, expected);
        loadSettings(settings);
        const MenuState state = MenuState::FromProject(*gProject);
        for (const QString &line : expected) {
            const QString spec = line.section(u'=', 0, 0);
            QCOMPARE(spec + u'=' + stateText(state, spec), line);
        }
    }

private slots:
    // Each option's item is checked exactly when the option is on, in a
    // batch of every kind.
    void optionsAreMirrored_data()
    {
        addColumns();
        const std::pair<const char *, const char *> batches[] = {
            {"births", "1"}, {"marriages", "3"}, {"deaths", "2"}};
        for (const auto &[batch, type] : batches) {
            for (const Toggle &t : kToggles) {
                for (const bool on : {true, false}) {
                    const QString text = QStringLiteral("[Batch]\nZelType=%1\n[%2]\n%3=%4\n")
                                             .arg(QLatin1String(type), QLatin1String(t.section),
                                                  QLatin1String(t.key), on ? "Y" : "N");
                    QTest::addRow("%s-%s-%s", batch, t.row, on ? "on" : "off")
                        << text
                        << QStringList{QStringLiteral("%1:checked=%2")
                                           .arg(QLatin1String(t.item), on ? "true" : "false")};
                }
            }
        }
    }
    void optionsAreMirrored() { compareStates(); }

    // Age at death, date of birth, mother's and spouse's names: each follows
    // the batch's event type and year.
    void itemsFollowTheBatch_data()
    {
        addColumns();
        QTest::newRow("births-1900-has-no-age-mother-spouse-or-dob")
            << kBirths1900 + "[Warnings]\nIgnoreAaD=Y\n"
            << QStringList{"mnuAaDIgnore:visible=false", "mnuAaDIgnore:checked=-",
                           "mnuMother:enabled=false", "mnuSpouse:enabled=false",
                           "mnuDoB:enabled=false"};
        QTest::newRow("births-1912-has-mother")
            << QStringLiteral("[Batch]\nZelType=1\nBatchYear=1912\n")
            << QStringList{"mnuMother:enabled=true", "mnuSpouse:enabled=false",
                           "mnuDoB:enabled=false", "mnuAaDIgnore:visible=false"};
        QTest::newRow("births-1911-before-the-mothers-quarter")
            << QStringLiteral("[Batch]\nZelType=1\nBatchYear=1911\nBatchQtr=2\n"
                              "[Startup]\nMomQtr=3\n")
            << QStringList{"mnuMother:enabled=false"};
        QTest::newRow("births-1911-from-the-mothers-quarter")
            << QStringLiteral("[Batch]\nZelType=1\nBatchYear=1911\nBatchQtr=3\n"
                              "[Startup]\nMomQtr=3\n")
            << QStringList{"mnuMother:enabled=true"};
        QTest::newRow("marriages-1900-has-no-spouse")
            << QStringLiteral("[Batch]\nZelType=3\nBatchYear=1900\n")
            << QStringList{"mnuSpouse:enabled=false", "mnuMother:enabled=false",
                           "mnuAaDIgnore:visible=false", "mnuDoB:enabled=false"};
        QTest::newRow("marriages-1913-has-spouse")
            << QStringLiteral("[Batch]\nZelType=3\nBatchYear=1913\n")
            << QStringList{"mnuSpouse:enabled=true", "mnuMother:enabled=false"};
        QTest::newRow("deaths-1900-age-ignored")
            << QStringLiteral("[Batch]\nZelType=2\nBatchYear=1900\n[Warnings]\nIgnoreAaD=Y\n")
            << QStringList{"mnuAaDIgnore:visible=true", "mnuAaDIgnore:checked=true",
                           "mnuDoB:enabled=false", "mnuMother:enabled=false",
                           "mnuSpouse:enabled=false"};
        QTest::newRow("deaths-1900-age-checked")
            << QStringLiteral("[Batch]\nZelType=2\nBatchYear=1900\n[Warnings]\nIgnoreAaD=N\n")
            << QStringList{"mnuAaDIgnore:visible=true", "mnuAaDIgnore:checked=false"};
        QTest::newRow("deaths-1970-has-dob")
            << QStringLiteral("[Batch]\nZelType=2\nBatchYear=1970\n")
            << QStringList{"mnuDoB:enabled=true", "mnuAaDIgnore:visible=true"};
        QTest::newRow("deaths-1969-before-the-dob-quarter")
            << QStringLiteral("[Batch]\nZelType=2\nBatchYear=1969\nBatchQtr=1\n"
                              "[Startup]\nDoBQtr=2\n")
            << QStringList{"mnuDoB:enabled=false"};
    }
    void itemsFollowTheBatch() { compareStates(); }

    // The pick-list items: which district list, whether its kind items
    // show, and whether the row count can be changed.
    void pickListItems_data()
    {
        addColumns();
        QTest::newRow("standard-district-list")
            << kBirths1900 + "[Picklist]\nStdPicklist=Y\nMRUPicklist=N\n"
            << QStringList{"mnuStdDistPicklist:checked=true", "mnuMRUDistPicklist:checked=false"};
        QTest::newRow("recent-district-list")
            << kBirths1900 + "[Picklist]\nStdPicklist=N\nMRUPicklist=Y\n"
            << QStringList{"mnuStdDistPicklist:checked=false", "mnuMRUDistPicklist:checked=true"};
        QTest::newRow("district-list-on-shows-its-kinds")
            << kBirths1900 + "[Picklist]\nDistPick=Y\nForePick=N\n"
            << QStringList{"mnuStdDistPicklist:visible=true", "mnuMRUDistPicklist:visible=true",
                           "mnuDistSep:visible=true", "mnuChangePickRows:enabled=true"};
        QTest::newRow("district-list-off-hides-its-kinds")
            << kBirths1900 + "[Picklist]\nDistPick=N\nForePick=Y\n"
            << QStringList{"mnuStdDistPicklist:visible=false", "mnuMRUDistPicklist:visible=false",
                           "mnuDistSep:visible=false", "mnuChangePickRows:enabled=true"};
        QTest::newRow("no-list-no-row-count")
            << kBirths1900 + "[Picklist]\nDistPick=N\nForePick=N\n"
            << QStringList{"mnuChangePickRows:enabled=false"};
    }
    void pickListItems() { compareStates(); }

    void pickListHiddenOnlyWhenNeitherListIsWanted_data()
    {
        QTest::addColumn<QString>("dist");
        QTest::addColumn<QString>("fore");
        QTest::addColumn<bool>("hidden");
        QTest::newRow("both") << "Y" << "Y" << false;
        QTest::newRow("districts-only") << "Y" << "N" << false;
        QTest::newRow("forenames-only") << "N" << "Y" << false;
        QTest::newRow("neither") << "N" << "N" << true;
    }

    void pickListHiddenOnlyWhenNeitherListIsWanted()
    {
        QFETCH(QString, dist);
        QFETCH(QString, fore);
        QFETCH(bool, hidden);
        loadSettings(kBirths1900 + "[Picklist]\nDistPick=" + dist + "\nForePick=" + fore + "\n");
        QCOMPARE(MenuState::FromProject(*gProject).hidePickList(), hidden);
    }

    // Exactly one row-numbering item is checked; a style the program does
    // not know checks none.
    void rowNumbering_data()
    {
        addColumns();
        const auto expect = [](const char *pelkar, const char *quorvel, const char *data) {
            return QStringList{QStringLiteral("mnuNumberPelkar:checked=") + pelkar,
                               QStringLiteral("mnuNumberQuorvel:checked=") + quorvel,
                               QStringLiteral("mnuNumberData:checked=") + data};
        };
        QTest::newRow("pelkar") << kBirths1900 + "[Options]\nRowNumbering=0\n"
                                << expect("true", "false", "false");
        QTest::newRow("quorvel-by-default") << kBirths1900 << expect("false", "true", "false");
        QTest::newRow("data-rows") << kBirths1900 + "[Options]\nRowNumbering=2\n"
                                   << expect("false", "false", "true");
        QTest::newRow("unknown-style-checks-none") << kBirths1900 + "[Options]\nRowNumbering=7\n"
                                                   << expect("false", "false", "false");
    }
    void rowNumbering() { compareStates(); }

    // The letter-coded case submenus behave as radio groups.
    void caseMarks_data()
    {
        addColumns();
        struct Field
        {
            const char *row;
            const char *key;
            const char *items[4]; // Name, Upper, Lower, As Typed
        };
        const Field fields[] = {
            {"surnames",
             "AllCaps",
             {"mnuNameCaseSurnames", "mnuUpCaseSurnames", "mnuLowCaseSurnames",
              "mnuLeaveCaseSurnames"}},
            {"spouse",
             "CapSpouse",
             {"mnuNameCaseSpouse", "mnuUpCaseSpouse", "mnuLowCaseSpouse", "mnuLeaveCaseSpouse"}},
            {"mother",
             "CapMother",
             {"mnuNameCaseMother", "mnuUpCaseMother", "mnuLowCaseMother", "mnuLeaveCaseMother"}},
            {"forenames",
             "CapForename",
             {"mnuNameCaseForename", "mnuUpCaseForename", "mnuLowcaseForename",
              "mnuLeaveCaseForename"}},
        };
        const char *const letters = "MULD";
        for (const Field &f : fields) {
            for (int k = 0; k < 4; ++k) {
                QStringList expected;
                for (int i = 0; i < 4; ++i)
                    expected << QStringLiteral("%1:checked=%2")
                                    .arg(QLatin1String(f.items[i]), i == k ? "true" : "false");
                QTest::addRow("%s-%c", f.row, letters[k])
                    << kBirths1900 + QStringLiteral("[Options]\n%1=%2\n")
                                         .arg(QLatin1String(f.key), QChar(letters[k]))
                    << expected;
            }
        }
        // Districts and date of birth: one Boolean each; all may be off,
        // which for districts means name case.
        QTest::newRow("districts-upper")
            << kBirths1900 + "[Options]\nDistUpCase=Y\n"
            << QStringList{"mnuUpCaseDistricts:checked=true", "mnuLowCaseDistricts:checked=false",
                           "mnuLeaveCaseDistricts:checked=false",
                           "mnuNameCaseDistrict:checked=false"};
        QTest::newRow("districts-as-typed")
            << kBirths1900 + "[Options]\nDistLeaveCase=Y\n"
            << QStringList{"mnuUpCaseDistricts:checked=false", "mnuLeaveCaseDistricts:checked=true",
                           "mnuNameCaseDistrict:checked=false"};
        QTest::newRow("districts-none-is-name-case")
            << kBirths1900
            << QStringList{"mnuUpCaseDistricts:checked=false", "mnuLowCaseDistricts:checked=false",
                           "mnuLeaveCaseDistricts:checked=false",
                           "mnuNameCaseDistrict:checked=true"};
        QTest::newRow("dob-lower")
            << QStringLiteral("[Batch]\nZelType=2\nBatchYear=1980\n[Options]\nDoBLowCase=Y\n")
            << QStringList{"mnuUppercaseDoB:checked=false", "mnuLowercaseDoB:checked=true",
                           "mnuLeavecaseDoB:checked=false"};
        QTest::newRow("dob-none")
            << QStringLiteral("[Batch]\nZelType=2\nBatchYear=1980\n")
            << QStringList{"mnuUppercaseDoB:checked=false", "mnuLowercaseDoB:checked=false",
                           "mnuLeavecaseDoB:checked=false"};
    }
    void caseMarks() { compareStates(); }

    // A case letter the program does not know leaves the four marks as
    // they are.
    void unknownCaseLetterLeavesTheMarks()
    {
        loadSettings(kBirths1900);
        gProject->setSurnameCase(QStringLiteral("X"));
        const MenuState state = MenuState::FromProject(*gProject);
        for (const char *item : {"mnuNameCaseSurnames", "mnuUpCaseSurnames", "mnuLowCaseSurnames",
                                 "mnuLeaveCaseSurnames"})
            QCOMPARE(stateText(state, QLatin1String(item) + QStringLiteral(":checked")),
                     QStringLiteral("-"));
    }

    // "No page letter" is usable, and shows its setting, only under the
    // sibling naming.
    void fileNaming_data()
    {
        addColumns();
        QTest::newRow("sibling-naming-no-letter")
            << kBirths1900 + "[Options]\nLumivarkFn=Y\nLumivarkNoLetter=Y\n"
            << QStringList{"mnuLumivarkNaming:checked=true", "mnuNoLumivarkLetter:enabled=true",
                           "mnuNoLumivarkLetter:checked=true"};
        QTest::newRow("sibling-naming-with-letter")
            << kBirths1900 + "[Options]\nLumivarkFn=Y\nLumivarkNoLetter=N\n"
            << QStringList{"mnuNoLumivarkLetter:enabled=true", "mnuNoLumivarkLetter:checked=false"};
        QTest::newRow("own-naming-hides-the-setting")
            << kBirths1900 + "[Options]\nLumivarkFn=N\nLumivarkNoLetter=Y\n"
            << QStringList{"mnuLumivarkNaming:checked=false", "mnuNoLumivarkLetter:enabled=false",
                           "mnuNoLumivarkLetter:checked=false"};
    }
    void fileNaming() { compareStates(); }

    // The save folder and the supplementary files are named in captions;
    // an "&" in a name shows as written.
    void captions_data()
    {
        addColumns();
        QTest::newRow("save-folder")
            << kBirths1900 + "[Startup]\nSavePath=/home/ann/Batches\n"
            << QStringList{"mnuDefPath:caption=&Define Save Path (/home/ann/Batches)"};
        QTest::newRow("save-folder-with-ampersand")
            << kBirths1900 + "[Startup]\nSavePath=/home/ann/Tom & Jerry\n"
            << QStringList{"mnuDefPath:caption=&Define Save Path (/home/ann/Tom && Jerry)"};
        QTest::newRow("supplementary-files-by-name")
            << kBirths1900
                   + "[Files]\nSuppFile1=/data/Files/Supp A.txt\nSuppFile2=/x/Mine&Yours.txt\n"
                     "SuppFile3=/x/y/Third.txt\nSuppFile4=NoFolder.txt\n"
            << QStringList{"mnuSuppPre1946Item:caption=Supp A.txt",
                           "mnuSupp1946Item:caption=Mine&&Yours.txt",
                           "mnuSupp1965OnItem:caption=Third.txt",
                           "mnuSupp1974OnItem:caption=NoFolder.txt"};
    }
    void captions() { compareStates(); }

    void supplementaryFileNotSetYet()
    {
        loadSettings(kBirths1900);
        gProject->setSuppPath(3, QString());
        const MenuState state = MenuState::FromProject(*gProject);
        QCOMPARE(stateText(state, QStringLiteral("mnuSupp1965OnItem:caption")),
                 QStringLiteral("None Set Yet"));
    }
};

PELKAR_TEST(tst_MenuState)
#include "tst_MenuState.moc"
