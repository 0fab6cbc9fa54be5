// The setter and getter rules of Project's options: events-off guards,
// exclusive case flags, the screen bounds of window places, the zoom and
// ruler corrections and the grid's column-width table.

#include "PelkarTest.h"

#include "core/FormRegistry.h"
#include "core/Globals.h"
#include "core/Project.h"
#include "core/SettingsFileStore.h"
#include "core/clsEvents.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <functional>
#include <map>

namespace {

// The fixture's screen: 1920 x 1080 pixels at 15 twips a pixel.
constexpr int kScreenW = 28800;
constexpr int kScreenH = 16200;

struct IntProperty
{
    std::function<void(Project &, int)> set;
    std::function<int(const Project &)> get;
};

// Options whose setters are ignored while events are off, as integers (a
// Boolean is 0 or 1).
const std::map<QString, IntProperty> &guardedProperties()
{
    static const std::map<QString, IntProperty> map = {
        {"AutoTab", {[](Project &p, int v) { p.setAutoTab(v); }, &Project::AutoTab}},
        {"ChangeWarning",
         {[](Project &p, int v) { p.setChangeWarning(v); }, &Project::ChangeWarning}},
        {"CPHeight", {[](Project &p, int v) { p.setCPHeight(v); }, &Project::CPHeight}},
        {"CPWidth", {[](Project &p, int v) { p.setCPWidth(v); }, &Project::CPWidth}},
        {"DistPick", {[](Project &p, int v) { p.setDistPick(v); }, &Project::DistPick}},
        {"DropDownPick",
         {[](Project &p, int v) { p.setDropDownPick(v); }, &Project::DropDownPick}},
        {"ForenameWarning",
         {[](Project &p, int v) { p.setForenameWarning(v); }, &Project::ForenameWarning}},
        {"ForePick", {[](Project &p, int v) { p.setForePick(v); }, &Project::ForePick}},
        {"OverSize", {[](Project &p, int v) { p.setOverSize(v); }, &Project::OverSize}},
        {"SingleLetterWarning",
         {[](Project &p, int v) { p.setSingleLetterWarning(v); }, &Project::SingleLetterWarning}},
        {"bLumivark", {[](Project &p, int v) { p.setBLumivark(v); }, &Project::bLumivark}},
        {"bLumivarkNoLetter",
         {[](Project &p, int v) { p.setBLumivarkNoLetter(v); }, &Project::bLumivarkNoLetter}},
    };
    return map;
}

// Window places and sizes, each with its own bounds.
const std::map<QString, IntProperty> &boundedProperties()
{
    static const std::map<QString, IntProperty> map = {
        {"Form1Top", {[](Project &p, int v) { p.setForm1Top(v); }, &Project::Form1Top}},
        {"Form1left", {[](Project &p, int v) { p.setForm1left(v); }, &Project::Form1left}},
        {"Form1Width", {[](Project &p, int v) { p.setForm1Width(v); }, &Project::Form1Width}},
        {"Form1Height", {[](Project &p, int v) { p.setForm1Height(v); }, &Project::Form1Height}},
        {"Pickleft", {[](Project &p, int v) { p.setPickleft(v); }, &Project::Pickleft}},
        {"Picktop", {[](Project &p, int v) { p.setPicktop(v); }, &Project::Picktop}},
        {"PickWidth", {[](Project &p, int v) { p.setPickWidth(v); }, &Project::PickWidth}},
        {"PickHeight", {[](Project &p, int v) { p.setPickHeight(v); }, &Project::PickHeight}},
        {"Scanleft", {[](Project &p, int v) { p.setScanleft(v); }, &Project::Scanleft}},
        {"ScanTop", {[](Project &p, int v) { p.setScanTop(v); }, &Project::ScanTop}},
        {"ScanWidth", {[](Project &p, int v) { p.setScanWidth(v); }, &Project::ScanWidth}},
        {"ScanHeight", {[](Project &p, int v) { p.setScanHeight(v); }, &Project::ScanHeight}},
        {"CPHeight", {[](Project &p, int v) { p.setCPHeight(v); }, &Project::CPHeight}},
        {"CPWidth", {[](Project &p, int v) { p.setCPWidth(v); }, &Project::CPWidth}},
        {"RuleWidth", {[](Project &p, int v) { p.setRuleWidth(v); }, &Project::RuleWidth}},
    };
    return map;
}

// A grid standing in for the main window's.
struct FakeGrid : GridColumnSource
{
    QList<int> widths;
    int columnCount() const override { return int(widths.size()); }
    int columnWidthTwips(int col) const override { return widths.value(col, -1); }
};

} // namespace

class tst_Project : public PelkarTest
{
    Q_OBJECT

protected:
    void setUpCase() override
    {
        ClearIniStore();
        ProgramObjects::createEvents();
        ProgramObjects::createProject();
        QVERIFY(QDir().mkpath(homePath("data")));
        gProject->setDataPath(homePath("data"));
    }

    void tearDownCase() override { ClearIniStore(); }

private:
    QString settingsFile() const { return QDir(homePath("data")).filePath("Pelkarini.txt"); }

private slots:
    void guardedSetterIgnoredWhileEventsOff_data()
    {
        QTest::addColumn<QString>("property");
        QTest::addColumn<int>("value");
        QTest::addColumn<bool>("saves");

        QTest::newRow("DistPick") << "DistPick" << 1 << false;
        QTest::newRow("ForePick") << "ForePick" << 1 << false;
        QTest::newRow("DropDownPick") << "DropDownPick" << 1 << false;
        QTest::newRow("OverSize") << "OverSize" << 1 << false;
        QTest::newRow("SingleLetterWarning") << "SingleLetterWarning" << 1 << false;
        QTest::newRow("ForenameWarning") << "ForenameWarning" << 1 << false;
        QTest::newRow("CPHeight") << "CPHeight" << 3000 << false;
        QTest::newRow("CPWidth") << "CPWidth" << 4000 << false;
        QTest::newRow("AutoTab-saves") << "AutoTab" << 1 << true;
        QTest::newRow("ChangeWarning-saves") << "ChangeWarning" << 1 << true;
        QTest::newRow("bLumivark-saves") << "bLumivark" << 1 << true;
        QTest::newRow("bLumivarkNoLetter-saves") << "bLumivarkNoLetter" << 1 << true;
    }

    // While events are off the assignment is the program's own echo: it
    // neither changes the option nor saves anything.
    void guardedSetterIgnoredWhileEventsOff()
    {
        QFETCH(QString, property);
        QFETCH(int, value);
        QFETCH(bool, saves);
        const IntProperty &p = guardedProperties().at(property);

        gEvents->EventsOff();
        p.set(*gProject, value);
        QCOMPARE(p.get(*gProject), 0);
        QVERIFY(!QFileInfo::exists(settingsFile()));

        gEvents->EventsOn();
        p.set(*gProject, value);
        QCOMPARE(p.get(*gProject), value);
        QCOMPARE(QFileInfo::exists(settingsFile()), saves);
    }

    void exclusiveCaseFlags_data()
    {
        QTest::addColumn<QStringList>("steps");
        QTest::addColumn<QString>("districtOn");
        QTest::addColumn<QString>("dobCase");

        QTest::newRow("district-lower-after-upper-leaves-only-lower")
            << QStringList{"DistrictUpper=1", "DistrictLower=1"} << "Lower" << "D";
        QTest::newRow("district-lower-off-afterwards-leaves-all-off")
            << QStringList{"DistrictUpper=1", "DistrictLower=1", "DistrictLower=0"} << ""
            << "D";
        QTest::newRow("district-off-changes-nothing-else")
            << QStringList{"DistrictName=1", "DistrictUpper=0"} << "Name" << "D";
        QTest::newRow("district-leave-clears-name")
            << QStringList{"DistrictName=1", "DistrictLeave=1"} << "Leave" << "D";
        QTest::newRow("dob-lower-after-upper")
            << QStringList{"DoBUpper=1", "DoBLower=1"} << "" << "L";
        QTest::newRow("dob-leave-after-lower-is-as-typed")
            << QStringList{"DoBLower=1", "DoBLeave=1"} << "" << "D";
        QTest::newRow("dob-upper") << QStringList{"DoBLeave=1", "DoBUpper=1"} << "" << "U";
    }

    void exclusiveCaseFlags()
    {
        QFETCH(QStringList, steps);
        QFETCH(QString, districtOn);
        QFETCH(QString, dobCase);

        const std::map<QString, std::function<void(bool)>> setters = {
            {"DistrictUpper", [](bool on) { gProject->setDistrictUpper(on); }},
            {"DistrictLower", [](bool on) { gProject->setDistrictLower(on); }},
            {"DistrictLeave", [](bool on) { gProject->setDistrictLeave(on); }},
            {"DistrictName", [](bool on) { gProject->setDistrictName(on); }},
            {"DoBUpper", [](bool on) { gProject->setDoBUpper(on); }},
            {"DoBLower", [](bool on) { gProject->setDoBLower(on); }},
            {"DoBLeave", [](bool on) { gProject->setDoBLeave(on); }},
        };
        for (const QString &step : steps) {
            const QStringList parts = step.split('=');
            setters.at(parts[0])(parts[1] == "1");
        }

        QStringList on;
        if (gProject->DistrictUpper())
            on << "Upper";
        if (gProject->DistrictLower())
            on << "Lower";
        if (gProject->DistrictLeave())
            on << "Leave";
        if (gProject->DistrictName())
            on << "Name";
        QCOMPARE(on.join(','), districtOn);
        QCOMPARE(gProject->DoBCase(), dobCase);
        QVERIFY(int(gProject->DoBUpper()) + int(gProject->DoBLower()) + int(gProject->DoBLeave())
                <= 1);
    }

    void bounds_data()
    {
        QTest::addColumn<QString>("property");
        QTest::addColumn<int>("before");
        QTest::addColumn<int>("assigned");
        QTest::addColumn<int>("expected");

        QTest::newRow("form1left-beyond-screen-stored-as-W-200")
            << "Form1left" << 0 << 30000 << kScreenW - 200;
        QTest::newRow("form1left-negative-is-0") << "Form1left" << 100 << -5 << 0;
        QTest::newRow("form1top-below-screen-is-H-200")
            << "Form1Top" << 0 << 20000 << kScreenH - 200;
        QTest::newRow("form1top-negative-is-0") << "Form1Top" << 100 << -50 << 0;
        QTest::newRow("form1width-wider-than-screen")
            << "Form1Width" << 0 << 40000 << kScreenW - 200;
        QTest::newRow("form1width-negative-is-0") << "Form1Width" << 100 << -1 << 0;
        QTest::newRow("form1height-taller-than-screen")
            << "Form1Height" << 0 << 20000 << kScreenH - 200;
        QTest::newRow("form1height-negative-has-no-lower-bound")
            << "Form1Height" << 0 << -50 << -50;
        QTest::newRow("pickleft-W-stored-as-W-500")
            << "Pickleft" << 0 << kScreenW << kScreenW - 500;
        QTest::newRow("pickleft-negative-is-0") << "Pickleft" << 100 << -1 << 0;
        QTest::newRow("picktop-H-500-ignored") << "Picktop" << 100 << kScreenH - 500 << 100;
        QTest::newRow("picktop-H-501-stored")
            << "Picktop" << 100 << kScreenH - 501 << kScreenH - 501;
        QTest::newRow("picktop-negative-ignored") << "Picktop" << 100 << -1 << 100;
        QTest::newRow("pickwidth-stored") << "PickWidth" << 100 << 99999 << 99999;
        QTest::newRow("pickheight-100-is-200") << "PickHeight" << 1000 << 100 << 200;
        QTest::newRow("scanleft-negative-is-0") << "Scanleft" << 100 << -10 << 0;
        QTest::newRow("scantop-negative-is-0") << "ScanTop" << 100 << -10 << 0;
        QTest::newRow("scanwidth-100-is-500") << "ScanWidth" << 1000 << 100 << 500;
        QTest::newRow("scanheight-499-is-500") << "ScanHeight" << 1000 << 499 << 500;
        QTest::newRow("cpheight-negative-is-0") << "CPHeight" << 100 << -5 << 0;
        QTest::newRow("cpwidth-negative-is-0") << "CPWidth" << 100 << -5 << 0;
        QTest::newRow("rulewidth-0-reads-1") << "RuleWidth" << 3 << 0 << 1;
        QTest::newRow("rulewidth-40-reads-15") << "RuleWidth" << 3 << 40 << 15;
        QTest::newRow("rulewidth-negative-reads-1") << "RuleWidth" << 3 << -3 << 1;
        QTest::newRow("rulewidth-7-unchanged") << "RuleWidth" << 3 << 7 << 7;
    }

    void bounds()
    {
        QFETCH(QString, property);
        QFETCH(int, before);
        QFETCH(int, assigned);
        QFETCH(int, expected);
        const IntProperty &p = boundedProperties().at(property);

        p.set(*gProject, before);
        p.set(*gProject, assigned);
        QCOMPARE(p.get(*gProject), expected);
        // Reading twice gives the same: a corrected value stays corrected.
        QCOMPARE(p.get(*gProject), expected);
    }

    void dropDownPickFreezesTheFreeWindowsPlace()
    {
        gProject->setPickleft(1000);
        gProject->setPicktop(2000);
        gProject->setPickWidth(3000);
        gProject->setPickHeight(4000);
        gProject->setDropDownPick(true);

        gProject->setPickleft(1);
        gProject->setPicktop(2);
        gProject->setPickWidth(3);
        gProject->setPickHeight(400);
        QCOMPARE(gProject->Pickleft(), 1000);
        QCOMPARE(gProject->Picktop(), 2000);
        QCOMPARE(gProject->PickWidth(), 3000);
        QCOMPARE(gProject->PickHeight(), 400);
    }

    void zoom_data()
    {
        QTest::addColumn<double>("assigned");
        QTest::addColumn<double>("expected");

        QTest::newRow("below-0.001-becomes-1") << 0.0004 << 1.0;
        QTest::newRow("0.001-kept") << 0.001 << 0.001;
        QTest::newRow("100-kept") << 100.0 << 100.0;
        QTest::newRow("above-100-becomes-1") << 100.0001 << 1.0;
        QTest::newRow("three-decimals") << 0.12345 << 0.123;
        QTest::newRow("negative-becomes-1") << -2.0 << 1.0;
        QTest::newRow("rounds-to-nearest") << 2.71828 << 2.718;
    }

    void zoom()
    {
        QFETCH(double, assigned);
        QFETCH(double, expected);
        gProject->setZoom(assigned);
        QCOMPARE(gProject->Zoom(), expected);
    }

    void rowNumbering_data()
    {
        QTest::addColumn<QString>("assigned");
        QTest::addColumn<QString>("expected");

        QTest::newRow("P") << "P" << "P";
        QTest::newRow("Q") << "Q" << "Q";
        QTest::newRow("D") << "D" << "D";
        QTest::newRow("lower-case-p-ignored") << "p" << "Q";
        QTest::newRow("other-letter-ignored") << "W" << "Q";
        QTest::newRow("empty-ignored") << "" << "Q";
        QTest::newRow("padded-ignored") << "P " << "Q";
    }

    void rowNumbering()
    {
        QFETCH(QString, assigned);
        QFETCH(QString, expected);
        gProject->setRowNumbering("Q");
        gProject->setRowNumbering(assigned);
        QCOMPARE(gProject->RowNumbering(), expected);
    }

    void caseSettersStoreUpperCase()
    {
        gProject->setSurnameCase("l");
        gProject->setSpouseNameCase("u");
        gProject->setMotherNameCase("d");
        gProject->setForenameCase("m");
        QCOMPARE(gProject->SurnameCase(), QString("L"));
        QCOMPARE(gProject->SpouseNameCase(), QString("U"));
        QCOMPARE(gProject->MotherNameCase(), QString("D"));
        QCOMPARE(gProject->ForenameCase(), QString("M"));
    }

    void columnWidthTable()
    {
        QCOMPARE(gProject->ColWidth(2), -1);

        FakeGrid grid;
        grid.widths = {15, 2000, 3000, 4000, 1000};
        gProject->setGridColumnSource(&grid);
        gProject->setColType(5);
        gProject->RememberCols();
        QCOMPARE(gProject->ColWidth(2), 3000);
        QCOMPARE(gProject->ColWidth(4), 1000);
        QCOMPARE(gProject->ColWidth(6), -1);
        QCOMPARE(gProject->ColWidth(-1), -1);

        // The other layout keeps its own widths.
        gProject->setColType(6);
        QCOMPARE(gProject->ColWidth(2), 0);
        grid.widths = {15, 1900, 1800, 800, 3000, 700};
        gProject->RememberCols();
        QCOMPARE(gProject->ColWidth(5), 700);
        gProject->setColType(5);
        QCOMPARE(gProject->ColWidth(2), 3000);

        QFile file(settingsFile());
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray saved = file.readAll();
        QVERIFY(saved.contains("\r\nColWidth5=15:2000:3000:4000:1000\r\n"));
        QVERIFY(saved.contains("\r\nColWidth6=15:1900:1800:800:3000:700\r\n"));
        gProject->setGridColumnSource(nullptr);
    }

    void invalidColumnCountIsReportedAndChangesNothing()
    {
        FakeGrid grid;
        grid.widths = {1, 2, 3, 4, 5};
        gProject->setGridColumnSource(&grid);
        gProject->setColType(5);
        gProject->RememberCols();

        script->answer("Ok");
        gProject->setColType(7);
        QCOMPARE(script->records().size(), 1);
        QCOMPARE(script->records()[0].prompt, QString("Invalid number of columns=7"));
        QCOMPARE(script->records()[0].title, QString("Pelkar"));
        QCOMPARE(script->records()[0].style, 0);
        QCOMPARE(gProject->ColWidth(3), 4);
        gProject->setGridColumnSource(nullptr);
    }

    void rememberColsNeedsAGridOfFiveColumnsAndALayout_data()
    {
        QTest::addColumn<int>("columns");
        QTest::addColumn<int>("layoutColumns");
        QTest::addColumn<bool>("mainWindow");
        QTest::addColumn<bool>("saved");

        QTest::newRow("five-columns-layout-set") << 5 << 5 << false << true;
        QTest::newRow("four-columns") << 4 << 5 << false << false;
        QTest::newRow("no-layout") << 5 << 0 << false << false;
        QTest::newRow("no-grid") << -1 << 5 << false << false;
        QTest::newRow("saveproject-with-main-window-and-small-grid-saves-nothing")
            << 4 << 5 << true << false;
    }

    void rememberColsNeedsAGridOfFiveColumnsAndALayout()
    {
        QFETCH(int, columns);
        QFETCH(int, layoutColumns);
        QFETCH(bool, mainWindow);
        QFETCH(bool, saved);

        FakeGrid grid;
        for (int i = 0; i < columns; ++i)
            grid.widths << 100 * (i + 1);
        if (columns >= 0)
            gProject->setGridColumnSource(&grid);
        if (layoutColumns)
            gProject->setColType(layoutColumns);
        QObject form1;
        if (mainWindow) {
            RegisterForm(&form1, "Form1");
            gProject->SaveProject();
        } else {
            gProject->RememberCols();
        }
        QCOMPARE(QFileInfo::exists(settingsFile()), saved);
        gProject->setGridColumnSource(nullptr);
    }

    void saveProjectWithoutMainWindowSaves()
    {
        gProject->SaveProject();
        QVERIFY(QFileInfo::exists(settingsFile()));
    }

    void emptyScanFileResetsRotation()
    {
        gProject->setRotation(90);
        gProject->setScanFile("page1.tif");
        QCOMPARE(gProject->Rotation(), 90.0f);
        gProject->setScanFile(" ");
        QCOMPARE(gProject->Rotation(), 90.0f);
        gProject->setScanFile("");
        QCOMPARE(gProject->Rotation(), 0.0f);
    }

    void fontNamesReadTrimmed()
    {
        gProject->Set_Font("  Courier New  ", 12, true, false, 255);
        gProject->Set_PickFont(" Arial", 8, false, true, 0);
        QCOMPARE(gProject->fontname(), QString("Courier New"));
        QCOMPARE(gProject->FontSize(), 12);
        QVERIFY(gProject->FontBold());
        QCOMPARE(gProject->FontColour(), 255);
        QCOMPARE(gProject->Pfontname(), QString("Arial"));
        QVERIFY(gProject->PFontItal());
    }

    void suppPathOnlyForRangesOneToFour()
    {
        gProject->setSuppPath(2, "  /srv/supp 1946.txt ");
        gProject->setSuppPath(5, "/srv/nowhere.txt");
        QCOMPARE(gProject->SuppPath(2), QString("/srv/supp 1946.txt"));
        QCOMPARE(gProject->SuppPath(5), QString());
        QCOMPARE(gProject->SuppPath(0), QString());
    }

    void distPickStdKeepsTheRecentlyUsedFlagOpposite()
    {
        QObject form1;
        RegisterForm(&form1, "Form1");
        gProject->setDistPickStd(false);
        QVERIFY(gProject->SetRegistryValues());
        QFile file(settingsFile());
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray saved = file.readAll();
        QVERIFY(saved.contains("\r\nMRUPicklist=Y\r\nStdPicklist=N\r\n"));
    }
};

PELKAR_TEST(tst_Project)
#include "tst_Project.moc"
