// The edit state of the open batch.

#include "PelkarTest.h"

#include "core/Globals.h"
#include "core/Project.h"
#include "transcription/Change_Monitor.h"

class tst_ChangeMonitor : public PelkarTest
{
    Q_OBJECT

private slots:
    void rowChangedFollowsTheRowOfTheLastChange();
    void savingClearsOnlyTheUnsavedFlag();
    void ifCellChangedDependsOnWarnOnlyWhenChanged_data();
    void ifCellChangedDependsOnWarnOnlyWhenChanged();
};

void tst_ChangeMonitor::rowChangedFollowsTheRowOfTheLastChange()
{
    Change_Monitor monitor;
    for (int row : {-1, 0, 5})
    {
        gCurrentRow = row;
        QVERIFY2(!monitor.RowChanged(), "no change recorded yet");
    }
    gCurrentRow = 5;
    monitor.Changed();
    QVERIFY(monitor.RowChanged());
    gCurrentRow = 6;
    QVERIFY(!monitor.RowChanged());
    gCurrentRow = 5;
    monitor.DataSaved();
    QVERIFY(monitor.RowChanged());
}

void tst_ChangeMonitor::savingClearsOnlyTheUnsavedFlag()
{
    Change_Monitor monitor;
    QVERIFY(!monitor.AnyChange());
    monitor.Changed();
    QVERIFY(monitor.AnyChange());
    QVERIFY(monitor.CellChanged());
    monitor.DataSaved();
    QVERIFY(!monitor.AnyChange());
    QVERIFY(monitor.CellChanged());
    monitor.ClearChange();
    QVERIFY(!monitor.CellChanged());
}

void tst_ChangeMonitor::ifCellChangedDependsOnWarnOnlyWhenChanged_data()
{
    QTest::addColumn<bool>("warnOnlyWhenChanged");
    QTest::addColumn<bool>("edited");
    QTest::addColumn<bool>("expected");
    QTest::newRow("every-cell-warned-when-option-off") << false << false << true;
    QTest::newRow("edited-cell-warned-when-option-off") << false << true << true;
    QTest::newRow("untouched-cell-quiet-when-option-on") << true << false << false;
    QTest::newRow("edited-cell-warned-when-option-on") << true << true << true;
}

void tst_ChangeMonitor::ifCellChangedDependsOnWarnOnlyWhenChanged()
{
    QFETCH(bool, warnOnlyWhenChanged);
    QFETCH(bool, edited);
    QFETCH(bool, expected);
    ProgramObjects::createEvents();
    ProgramObjects::createProject();
    // The option's setter saves the settings: give them a folder.
    gProject->setDataPath(home());
    gProject->setChangeWarning(warnOnlyWhenChanged);
    Change_Monitor monitor;
    if (edited)
        monitor.Changed();
    QCOMPARE(monitor.IfCellChanged(), expected);
}

PELKAR_TEST(tst_ChangeMonitor)
#include "tst_ChangeMonitor.moc"
