// The per-row choices not to validate a district or page, and the guard that
// keeps a command from leaving an invalid cell.

#include "PelkarTest.h"
#include "RecordingEntryBoxes.h"
#include "RecordingStatusBar.h"

#include "core/Globals.h"
#include "core/HeaderTypes.h"
#include "core/Project.h"
#include "entry/FlexGrid.h"
#include "transcription/EntryBoxes.h"
#include "transcription/GridBindings.h"
#include "transcription/Transcription.h"

namespace {

class BusyForm : public TranscriptionForm
{
public:
    void setCopySurnameVisible(bool) override {}
    void setEntryBoxColumns(int, int) override {}
    bool CantUseMenues() const override { return busy; }

    bool busy = false;
};

// Flag operations as a test row spells them: "page+5" sets PageAccepted on
// row 5, "district-5" clears DistrictAccepted, "insert5" and "delete5"
// move rows.
void apply(Transcription &t, const QString &step)
{
    const auto rowOf = [&step](int prefix) { return step.mid(prefix).toInt(); };
    if (step.startsWith(QLatin1String("page+")))
        t.SetPageNotValidated(rowOf(5));
    else if (step.startsWith(QLatin1String("page-")))
        t.SetPageValidated(rowOf(5));
    else if (step.startsWith(QLatin1String("district+")))
        t.SetDistrictNotValidated(rowOf(9));
    else if (step.startsWith(QLatin1String("district-")))
        t.SetDistrictValidated(rowOf(9));
    else if (step.startsWith(QLatin1String("insert")))
        t.UpdateValidation(rowOf(6), true);
    else if (step.startsWith(QLatin1String("delete")))
        t.UpdateValidation(rowOf(6), false);
    else if (step == QLatin1String("clear"))
        t.ClearValidation();
    else
        QFAIL(qPrintable("unknown step " + step));
}

// The rows whose page (district) is not validated, among rows 1 to 20.
QList<int> acceptedRows(const Transcription &t, bool page)
{
    QList<int> rows;
    for (int row = 1; row <= 20; ++row) {
        if (!(page ? t.IsPageValidated(row) : t.IsDistrictValidated(row)))
            rows << row;
    }
    return rows;
}

} // namespace

class tst_ValidationFlags : public PelkarTest
{
    Q_OBJECT

protected:
    void setUpCase() override
    {
        ProgramObjects::createEvents();
        ProgramObjects::createProject();
        gProject->setPageValidate(true);
        gProject->setDistValidate(true);
    }

private slots:
    // ---- Flags per row --------------------------------------------------------------

    void flagsFollowTheirRows_data()
    {
        QTest::addColumn<QStringList>("steps");
        QTest::addColumn<QList<int>>("pagesAccepted");
        QTest::addColumn<QList<int>>("districtsAccepted");
        QTest::addColumn<int>("entries");

        QTest::newRow("nothing-flagged-everything-validated")
            << QStringList{} << QList<int>{} << QList<int>{} << 0;
        QTest::newRow("page-accepted-still-validates-the-district")
            << QStringList{"page+7"} << QList<int>{7} << QList<int>{} << 1;
        QTest::newRow("both-flags-of-one-row-share-an-entry")
            << QStringList{"page+7", "district+7"} << QList<int>{7} << QList<int>{7} << 1;
        QTest::newRow("clearing-both-keeps-the-entry-and-validates-again")
            << QStringList{"page+7", "district+7", "page-7", "district-7"} << QList<int>{}
            << QList<int>{} << 1;
        QTest::newRow("clearing-an-unflagged-row-takes-an-entry")
            << QStringList{"page-3"} << QList<int>{} << QList<int>{} << 1;
        QTest::newRow("insert-at-5-moves-rows-5-and-after")
            << QStringList{"page+4", "page+5", "district+9", "insert5"} << QList<int>{4, 6}
            << QList<int>{10} << 3;
        QTest::newRow("insert-after-the-last-flag-moves-nothing")
            << QStringList{"page+4", "insert5"} << QList<int>{4} << QList<int>{} << 1;
        QTest::newRow("delete-5-forgets-it-and-moves-later-rows-up")
            << QStringList{"page+4", "district+5", "page+9", "delete5"} << QList<int>{4, 8}
            << QList<int>{} << 3;
        QTest::newRow("a-freed-entry-is-reused-by-the-next-row")
            << QStringList{"page+4", "district+5", "delete5", "district+12"} << QList<int>{4}
            << QList<int>{12} << 2;
        QTest::newRow("a-reused-entry-carries-no-flags-of-the-deleted-row")
            << QStringList{"district+5", "delete5", "page+12"} << QList<int>{12} << QList<int>{}
            << 1;
        QTest::newRow("eleven-rows-outgrow-the-first-table")
            << QStringList{"page+1", "page+2", "page+3", "page+4", "page+5", "page+6", "page+7",
                           "page+8", "page+9", "page+10", "page+11", "district+11"}
            << QList<int>{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11} << QList<int>{11} << 11;
        QTest::newRow("clear-forgets-every-row")
            << QStringList{"page+4", "district+6", "clear", "district+8"} << QList<int>{}
            << QList<int>{8} << 1;
    }

    void flagsFollowTheirRows()
    {
        QFETCH(QStringList, steps);
        QFETCH(QList<int>, pagesAccepted);
        QFETCH(QList<int>, districtsAccepted);
        QFETCH(int, entries);

        Transcription t;
        for (const QString &step : steps)
            apply(t, step);
        QCOMPARE(acceptedRows(t, true), pagesAccepted);
        QCOMPARE(acceptedRows(t, false), districtsAccepted);
        QCOMPARE(t.ValidationEntryCount(), entries);
    }

    void theQueriesReadTheRowGivenNotTheCurrentRow()
    {
        Transcription t;
        t.SetDistrictNotValidated(6);
        for (int current : {0, 5, 6, 7}) {
            gCurrentRow = current;
            QVERIFY(!t.IsDistrictValidated(6));
            QVERIFY(t.IsDistrictValidated(5));
            QVERIFY(t.IsPageValidated(6));
        }
    }

    void settingAndClearingTellTheProject_data()
    {
        QTest::addColumn<QString>("step");
        QTest::addColumn<bool>("pageValidate");
        QTest::addColumn<bool>("distValidate");
        QTest::newRow("page-accepted-stops-page-validation") << "page+3" << false << true;
        QTest::newRow("district-accepted-stops-district-validation") << "district+3" << true << false;
        QTest::newRow("page-cleared-validates-again") << "page-3" << true << false;
        QTest::newRow("district-cleared-validates-again") << "district-3" << false << true;
    }

    void settingAndClearingTellTheProject()
    {
        QFETCH(QString, step);
        QFETCH(bool, pageValidate);
        QFETCH(bool, distValidate);
        // Start from the opposite of what the step gives where it acts.
        gProject->setPageValidate(!pageValidate);
        gProject->setDistValidate(!distValidate);
        Transcription t;
        apply(t, step);
        if (step.startsWith(QLatin1String("page")))
            QCOMPARE(gProject->PageValidate(), pageValidate);
        else
            QCOMPARE(gProject->DistValidate(), distValidate);
    }

    // ---- Invalid-entry guard -----------------------------------------------------------

    void guardAnswers_data()
    {
        QTest::addColumn<QString>("column");
        QTest::addColumn<QString>("cell");
        QTest::addColumn<bool>("forenameValid");
        QTest::addColumn<bool>("districtValid");
        QTest::addColumn<QString>("shown");   // "rich", "forename", "district", or several
        QTest::addColumn<bool>("busy");
        QTest::addColumn<QString>("message"); // the guard's own message box, or empty
        // What the boxes were asked, in order: the box's own check, then the
        // cell check refocuses a refused box itself and the guard clears its
        // selection.
        QTest::addColumn<QStringList>("calls");
        QTest::addColumn<bool>("blocked");

        QTest::newRow("refused-forename-names-the-forename-and-refocuses-its-box")
            << "forenames" << "Jhon" << false << true << "forename" << false
            << "You must correct or delete the invalid Forename first"
            << QStringList{"ForenameValidate", "FocusForenameBox", "FocusForenameBox(empty)", "GiveFocusBack"} << true;
        QTest::newRow("refused-district-names-the-district-and-refocuses-its-box")
            << "district" << "Nowhere,9z" << true << false << "district" << false
            << "You must correct or delete the invalid District first"
            << QStringList{"DistrictValidate", "FocusDistrictBox", "FocusDistrictBox(empty)", "GiveFocusBack"} << true;
        QTest::newRow("valid-cell-hides-the-district-box-and-the-command-runs")
            << "district" << "Leeds,9b" << true << true << "district" << false << ""
            << QStringList{"DistrictValidate", "HideDistrictBox"} << false;
        QTest::newRow("rich-text-box-hidden-first")
            << "surname" << "SMITH" << true << true << "rich,forename,district" << false << ""
            << QStringList{"HideRichTextbox"} << false;
        QTest::newRow("forename-box-before-district-box")
            << "surname" << "SMITH" << true << true << "forename,district" << false << ""
            << QStringList{"HideForenameBox"} << false;
        QTest::newRow("busy-window-blocks-after-validating-and-hiding")
            << "forenames" << "John" << true << true << "forename" << true << ""
            << QStringList{"ForenameValidate", "HideForenameBox"} << true;
        QTest::newRow("busy-window-and-refused-cell-keep-the-box")
            << "forenames" << "Jhon" << false << true << "forename" << true
            << "You must correct or delete the invalid Forename first"
            << QStringList{"ForenameValidate", "FocusForenameBox", "FocusForenameBox(empty)", "GiveFocusBack"} << true;
    }

    void guardAnswers()
    {
        QFETCH(QString, column);
        QFETCH(QString, cell);
        QFETCH(bool, forenameValid);
        QFETCH(bool, districtValid);
        QFETCH(QString, shown);
        QFETCH(bool, busy);
        QFETCH(QString, message);
        QFETCH(QStringList, calls);
        QFETCH(bool, blocked);

        RecordingStatusBar statusBar;
        RecordingEntryBoxes boxes;
        boxes.forenameValid = forenameValid;
        boxes.districtValid = districtValid;
        const QStringList showing = shown.split(QLatin1Char(','));
        boxes.richVisible = showing.contains(QLatin1String("rich"));
        boxes.forenameVisible = showing.contains(QLatin1String("forename"));
        boxes.districtVisible = showing.contains(QLatin1String("district"));
        BusyForm form;
        form.busy = busy;

        FlexGrid grid;
        Transcription t;
        t.setGrid(&grid);
        t.setFrm(&form);
        gProject->setEventType(EventType::Births);
        gProject->setIYear(1900);
        gProject->setQtr(1);
        t.SetupInputGrid();
        grid.setRows(3);
        grid.setTextMatrix(1, 1, QStringLiteral("+PAGE,7"));
        const int col = column == QLatin1String("forenames") ? t.ForenamesCol()
                        : column == QLatin1String("district") ? t.DistrictCol()
                                                              : t.SurnameCol();
        grid.setTextMatrix(2, col, cell);
        grid.setRowCol(2, col);
        gCurrentRow = 2;
        gCurrentCol = col;
        if (!message.isEmpty())
            script->answer("Ok");

        QCOMPARE(t.MenusBlocked(), blocked);
        QCOMPARE(boxes.calls, calls);
        if (!message.isEmpty()) {
            QCOMPARE(script->records().size(), 1);
            QCOMPARE(script->records().first().prompt, message);
            QCOMPARE(script->records().first().title, QStringLiteral("Pelkar"));
            QCOMPARE(script->records().first().style, int(Mb::Critical | Mb::OkOnly));
        }
    }

    void validateFalseOnlyHidesTheBox()
    {
        RecordingEntryBoxes boxes;
        boxes.forenameValid = false;
        boxes.forenameVisible = true;
        FlexGrid grid;
        Transcription t;
        t.setGrid(&grid);
        gCurrentRow = 2;
        gCurrentCol = 2;
        QVERIFY(t.CheckInvalidEntries(false));
        QCOMPARE(boxes.calls, QStringList{"HideForenameBox"});
    }

    void guardOnACellRefusedByItsOwnCheckShowsNoSecondMessage()
    {
        RecordingStatusBar statusBar;
        RecordingEntryBoxes boxes;
        boxes.richVisible = true;
        FlexGrid grid;
        Transcription t;
        t.setGrid(&grid);
        gProject->setEventType(EventType::Deaths);
        gProject->setIYear(1950);
        gProject->setQtr(1);
        t.SetupInputGrid();
        grid.setRows(3);
        grid.setTextMatrix(1, 1, QStringLiteral("+PAGE,7"));
        grid.setTextMatrix(2, t.AaDCol(), QStringLiteral("3m5"));
        grid.setRowCol(2, t.AaDCol());
        gCurrentRow = 2;
        gCurrentCol = t.AaDCol();

        QVERIFY(t.MenusBlocked());
        // The age check told the transcriber on the status bar; the guard
        // adds no box of its own and leaves the rich-text box in place.
        QVERIFY(script->records().isEmpty());
        QVERIFY(!statusBar.current().isEmpty());
        QCOMPARE(boxes.calls, QStringList{"GiveFocusBack"});
    }
};

PELKAR_TEST(tst_ValidationFlags)
#include "tst_ValidationFlags.moc"
