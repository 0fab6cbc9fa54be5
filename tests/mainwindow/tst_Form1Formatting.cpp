// The Formatting menu and the font, colour and pick-list row commands,
// through the real main window: check marks, the settings, the grid, the
// open box and every question asked.

#include "MainWindowFixture.h"

#include "core/clsEvents.h"
#include "entry/FlexGrid.h"
#include "entry/RichTextBox.h"
#include "entry/RichTextView.h"
#include "lists/frmPickList.h"
#include "core/FormRegistry.h"
#include "transcription/Change_Monitor.h"
#include "transcription/clsWorkFile.h"

#include <QAction>
#include <QFont>
#include <QTest>
#include <QTreeWidget>

namespace {

const QString kSurnameQuestion =
    QStringLiteral("Would you like to change the Surnames already entered to UPPERCASE");

QByteArray readAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QString fontAnswer(const QString &family, double size, bool bold = false, bool italic = false)
{
    QFont f(family);
    f.setPointSizeF(size);
    f.setBold(bold);
    f.setItalic(italic);
    return f.toString();
}

} // namespace

class tst_Form1Formatting : public MainWindowFixture
{
    Q_OBJECT

    QAction *item(const char *name) const
    {
        QAction *a = window->MenuItem(QString::fromLatin1(name));
        if (!a)
            qFatal("no menu item %s", name);
        return a;
    }

    QStringList checked(const QStringList &names) const
    {
        QStringList on;
        for (const QString &n : names) {
            if (window->MenuItem(n)->isChecked())
                on << n;
        }
        return on;
    }

    QStringList column(int col) const
    {
        QStringList texts;
        for (int r = 2; r < window->fgInput().Rows(); ++r)
            texts << window->fgInput().TextMatrix(r, col);
        return texts;
    }

    QByteArray settingsFile() const
    {
        return readAll(QDir(gProject->DataPath()).filePath(QStringLiteral("Pelkarini.txt")));
    }

    // Each question the script was asked, as "kind|prompt|style|title".
    QStringList asked() const
    {
        QStringList list;
        for (const MessageRecord &r : script->records())
            list << QStringLiteral("%1|%2|%3|%4").arg(r.kind, r.prompt).arg(r.style).arg(r.title);
        return list;
    }

    // Starts from a known surname mode, its mark set from the settings.
    void surnameMode(const QString &mode)
    {
        gProject->setSurnameCase(mode);
        window->ApplySettingsToMenus();
    }

    const QStringList surnameItems{"mnuNameCaseSurnames", "mnuUpCaseSurnames",
                                   "mnuLowCaseSurnames", "mnuLeaveCaseSurnames"};
    const QStringList districtItems{"mnuNameCaseDistrict", "mnuUpCaseDistricts",
                                    "mnuLowCaseDistricts", "mnuLeaveCaseDistricts"};

private slots:
    // Upper or Lower Case for surnames asks first; Yes re-cases every
    // surname but the comment and page lines, No leaves them. The new mode
    // is kept, its mark set and the settings saved either way.
    void surnamesRecased_data()
    {
        QTest::addColumn<QString>("click");
        QTest::addColumn<QString>("answer");
        QTest::addColumn<QString>("target");
        QTest::addColumn<QString>("mode");
        QTest::newRow("upper-yes") << "mnuUpCaseSurnames" << "Yes" << "UPPERCASE" << "U";
        QTest::newRow("upper-no") << "mnuUpCaseSurnames" << "No" << "UPPERCASE" << "U";
        QTest::newRow("lower-yes") << "mnuLowCaseSurnames" << "Yes" << "lower case" << "L";
    }
    void surnamesRecased()
    {
        QFETCH(QString, click);
        QFETCH(QString, answer);
        QFETCH(QString, target);
        QFETCH(QString, mode);
        startWindow();
        surnameMode(QStringLiteral("M"));
        FlexGrid &grid = window->fgInput();
        const bool upper = mode == QLatin1String("U");
        // Surnames typed in name case, so that either way has work to do.
        for (int r = 2; r < grid.Rows(); ++r) {
            const QString s = grid.TextMatrix(r, 1);
            if (!s.startsWith(u'#') && !s.startsWith(u'+') && !s.isEmpty())
                grid.setTextMatrix(r, 1, s.left(1) + s.mid(1).toLower());
        }
        const QStringList before = column(1);
        QVERIFY(before.contains(QStringLiteral("+PAGE,13")));
        QVERIFY(before.contains(QStringLiteral("# Page torn, corner missing")));
        QVERIFY(before.contains(QStringLiteral("Abbot")));
        QFile::remove(QDir(gProject->DataPath()).filePath(QStringLiteral("Pelkarini.txt")));
        script->answer(answer);
        window->MenuItem(click)->trigger();
        QCOMPARE(asked(), QStringList{QStringLiteral("box|Would you like to change the Surnames "
                                                     "already entered to ")
                                      + target + QStringLiteral("|36|Pelkar")});
        QCOMPARE(checked(surnameItems), QStringList{click});
        QCOMPARE(gProject->SurnameCase(), mode);
        QVERIFY(settingsFile().contains("\r\nAllCaps=" + mode.toLatin1() + "\r\n"));
        QVERIFY(gEvents && !gEvents->NoEvents());
        QStringList expected = before;
        if (answer == QLatin1String("Yes")) {
            for (QString &s : expected) {
                if (!s.startsWith(u'#') && !s.startsWith(u'+'))
                    s = upper ? s.toUpper() : s.toLower();
            }
            QVERIFY(gChangeMonitor->AnyChange());
            // What a crash would bring back is the re-cased grid.
            const QByteArray work = readAll(clsWorkFile::WorkFilePath());
            QVERIFY(work.contains(upper ? "ABBOT" : "abbot"));
            QVERIFY(!work.contains("Abbot"));
        } else {
            QVERIFY(!gChangeMonitor->AnyChange());
        }
        QCOMPARE(column(1), expected);
    }

    // Name case through the mother's-name rule: the table's two names.
    // (The births batch of 1905 has no mother's column; the surname column
    // takes the same conversion.)
    void nameCaseAsksAboutMixedCase()
    {
        startWindow();
        surnameMode(QStringLiteral("U"));
        window->fgInput().setTextMatrix(2, 1, QStringLiteral("SMITH-JONES"));
        window->fgInput().setTextMatrix(3, 1, QStringLiteral("o'brien"));
        script->answer(QStringLiteral("Yes"));
        item("mnuNameCaseSurnames")->trigger();
        QCOMPARE(asked(), QStringList{QStringLiteral("box|Would you like to change the Surnames "
                                                     "already entered to Mixed Case|36|Pelkar")});
        QCOMPARE(window->fgInput().TextMatrix(2, 1), QStringLiteral("Smith-Jones"));
        QCOMPARE(window->fgInput().TextMatrix(3, 1), QStringLiteral("O'Brien"));
        QCOMPARE(gProject->SurnameCase(), QStringLiteral("M"));
    }

    // Clicking the checked item, or As Typed, asks nothing (the script
    // fails on any question) and changes no cell.
    void silentClicks_data()
    {
        QTest::addColumn<QString>("mode");
        QTest::addColumn<QString>("click");
        QTest::addColumn<QString>("mark");
        QTest::addColumn<QString>("newMode");
        QTest::newRow("checked-upper") << "U" << "mnuUpCaseSurnames" << "mnuUpCaseSurnames" << "U";
        QTest::newRow("checked-name") << "M" << "mnuNameCaseSurnames" << "mnuNameCaseSurnames"
                                      << "M";
        QTest::newRow("as-typed") << "U" << "mnuLeaveCaseSurnames" << "mnuLeaveCaseSurnames"
                                  << "D";
    }
    void silentClicks()
    {
        QFETCH(QString, mode);
        QFETCH(QString, click);
        QFETCH(QString, mark);
        QFETCH(QString, newMode);
        startWindow();
        surnameMode(mode);
        const QStringList before = column(1);
        window->MenuItem(click)->trigger();
        QVERIFY(script->records().isEmpty());
        QCOMPARE(checked(surnameItems), QStringList{mark});
        QCOMPARE(gProject->SurnameCase(), newMode);
        QCOMPARE(column(1), before);
        QVERIFY(!gChangeMonitor->AnyChange());
    }

    // Districts: As Typed asks about mixed case and name-cases them; the
    // checked Upper Case clicked again leaves no item checked and asks
    // nothing.
    void districtToggles()
    {
        startWindow();
        const int col = gTranscription->DistrictCol();
        QVERIFY(col > 0);
        window->fgInput().setTextMatrix(2, col, QStringLiteral("ASHFORD"));
        script->answer(QStringLiteral("Yes"));
        item("mnuLeaveCaseDistricts")->trigger();
        QCOMPARE(asked(), QStringList{QStringLiteral("box|Would you like to change the Districts "
                                                     "already entered to Mixed Case|36|Pelkar")});
        QCOMPARE(window->fgInput().TextMatrix(2, col), QStringLiteral("Ashford"));
        QCOMPARE(checked(districtItems), QStringList{QStringLiteral("mnuLeaveCaseDistricts")});
        QVERIFY(gProject->DistrictLeave());

        script->clearRecords();
        script->answer(QStringLiteral("No"));
        item("mnuUpCaseDistricts")->trigger();
        QCOMPARE(checked(districtItems), QStringList{QStringLiteral("mnuUpCaseDistricts")});
        QVERIFY(gProject->DistrictUpper());
        QVERIFY(!gProject->DistrictLeave());
        QVERIFY(settingsFile().contains("\r\nDistUpCase=Y\r\n"));

        script->clearRecords();
        item("mnuUpCaseDistricts")->trigger();
        QVERIFY(script->records().isEmpty());
        QCOMPARE(checked(districtItems), QStringList());
        QVERIFY(!gProject->DistrictUpper());
        QCOMPARE(window->fgInput().TextMatrix(2, col), QStringLiteral("Ashford"));
    }

    // Only the page line under the headings: no question, settings saved.
    void noEntriesNoQuestion()
    {
        startWindow();
        surnameMode(QStringLiteral("M"));
        window->fgInput().setRows(2);
        QFile::remove(QDir(gProject->DataPath()).filePath(QStringLiteral("Pelkarini.txt")));
        item("mnuLowCaseSurnames")->trigger();
        QVERIFY(script->records().isEmpty());
        QVERIFY(settingsFile().contains("\r\nAllCaps=L\r\n"));
    }

    // The box open on the converted column shows its text re-cased at once.
    void openBoxRecased_data()
    {
        QTest::addColumn<QString>("click");
        QTest::addColumn<bool>("district");
        QTest::newRow("surname-box") << "mnuUpCaseSurnames" << false;
        QTest::newRow("district-box") << "mnuUpCaseDistricts" << true;
    }
    void openBoxRecased()
    {
        QFETCH(QString, click);
        QFETCH(bool, district);
        startWindow();
        surnameMode(QStringLiteral("M"));
        const int col = district ? gTranscription->DistrictCol() : 1;
        if (!district)
            window->fgInput().setTextMatrix(3, 1, QStringLiteral("Abbot"));
        window->fgInput().setRowCol(3, col);
        QCOMPARE(gCurrentCol, col);
        RichTextBox &box = district ? window->tbDistrict() : window->rtb1();
        QVERIFY(!box.Text().isEmpty());
        QVERIFY(box.Text() != box.Text().toUpper());
        script->answer(QStringLiteral("Yes"));
        window->MenuItem(click)->trigger();
        QCOMPARE(box.Text(), box.Text().toUpper());
        QCOMPARE(window->fgInput().TextMatrix(3, col),
                 window->fgInput().TextMatrix(3, col).toUpper());
    }

    // Yes with every entry in its case already changes nothing: the batch
    // does not become unsaved.
    void nothingToChangeLeavesBatchSaved()
    {
        startWindow();
        surnameMode(QStringLiteral("M"));
        QVERIFY(!gChangeMonitor->AnyChange());
        script->answer(QStringLiteral("Yes"));
        item("mnuUpCaseSurnames")->trigger(); // all surnames already upper
        QCOMPARE(asked(), QStringList{QStringLiteral("box|") + kSurnameQuestion
                                      + QStringLiteral("|36|Pelkar")});
        QVERIFY(!gChangeMonitor->AnyChange());
    }

    // A births batch of 1905 has neither mother's nor spouse's names nor
    // dates of birth.
    void absentColumnsDisabled()
    {
        startWindow();
        QVERIFY(!item("mnuMother")->isEnabled());
        QVERIFY(!item("mnuSpouse")->isEnabled());
        QVERIFY(!item("mnuDoB")->isEnabled());
        QVERIFY(item("mnuFormatSurnames")->isEnabled());
        QVERIFY(item("mnuFormatForenames")->isEnabled());
        QVERIFY(item("mnuDistricts")->isEnabled());
    }

    // ---- Fonts and colours ---------------------------------------------------
    void gridFont_data()
    {
        QTest::addColumn<double>("chosen");
        QTest::addColumn<int>("size");
        QTest::newRow("whole") << 10.0 << 10;
        QTest::newRow("half-down-to-even") << 10.5 << 10;
        QTest::newRow("half-up-to-even") << 11.5 << 12;
    }
    void gridFont()
    {
        QFETCH(double, chosen);
        QFETCH(int, size);
        startWindow();
        script->answer({fontAnswer(QStringLiteral("Serif"), chosen, true),
                        QStringLiteral("#ff0000")});
        item("mnuChangeFont")->trigger();
        QCOMPARE(script->records().size(), 2);
        QCOMPARE(script->records().at(0).kind, QStringLiteral("chooseFont"));
        QCOMPARE(script->records().at(1).kind, QStringLiteral("chooseColour"));
        QCOMPARE(window->fgInput().Font().pointSize(), size);
        QVERIFY(window->fgInput().Font().bold());
        for (RichTextView *view :
             {window->rtb1View(), window->tbForeNameView(), window->tbDistrictView()})
            QCOMPARE(view->font().pointSize(), size + 2);
        QCOMPARE(gProject->FontSize(), size);
        QVERIFY(gProject->FontBold());
        QCOMPARE(gProject->FontColour(), 0x0000FF);
        QCOMPARE(gProject->fontname(), window->fgInput().Font().family());
    }

    // A cancel at the font or at its colour changes neither the grid nor
    // the settings.
    void gridFontCancelled_data()
    {
        QTest::addColumn<QStringList>("answers");
        QTest::newRow("font") << QStringList{"<cancel>"};
        QTest::newRow("colour") << QStringList{fontAnswer(QStringLiteral("Serif"), 20),
                                               "<cancel>"};
    }
    void gridFontCancelled()
    {
        QFETCH(QStringList, answers);
        startWindow();
        const QFont before = window->fgInput().Font();
        const int size = gProject->FontSize();
        const int colour = gProject->FontColour();
        const int boxSize = window->rtb1View()->font().pointSize();
        script->answer(answers);
        item("mnuChangeFont")->trigger();
        QCOMPARE(script->records().size(), answers.size());
        QCOMPARE(window->fgInput().Font(), before);
        QCOMPARE(window->rtb1View()->font().pointSize(), boxSize);
        QCOMPARE(gProject->FontSize(), size);
        QCOMPARE(gProject->FontColour(), colour);
    }

    void pickListFont()
    {
        startWindow();
        auto *pick = qobject_cast<frmPickList *>(FindForm(QStringLiteral("frmPickList")));
        QVERIFY(pick);
        script->answer({fontAnswer(QStringLiteral("Serif"), 13, false, true),
                        QStringLiteral("#00ff00")});
        item("mnuChangePickFont")->trigger();
        QCOMPARE(pick->lvPick()->font().pointSize(), 13);
        QVERIFY(pick->lvPick()->font().italic());
        QCOMPARE(pick->lvPick()->palette().color(QPalette::Text), QColor(0, 255, 0));
        QCOMPARE(gProject->PFontSize(), 13);
        QVERIFY(gProject->PFontItal());
        QCOMPARE(gProject->PFontColour(), 0x00FF00);

        script->clearRecords();
        script->answer(QStringLiteral("<cancel>"));
        item("mnuChangePickFont")->trigger();
        QCOMPARE(script->records().size(), 1);
        QCOMPARE(gProject->PFontSize(), 13);
        QCOMPARE(pick->lvPick()->font().pointSize(), 13);
    }

    // The row count: accepted counts, the two refusals, and the empty
    // answer that does nothing.
    void pickRows_data()
    {
        QTest::addColumn<QString>("answer");
        QTest::addColumn<QString>("message");
        QTest::addColumn<int>("rows");
        const QString range = QStringLiteral("The value must be in the range 1 to 999");
        const QString number = QStringLiteral("Sorry - it must be a number");
        QTest::newRow("one") << "1" << "" << 1;
        QTest::newRow("most") << "999" << "" << 999;
        QTest::newRow("zero") << "0" << range << 7;
        QTest::newRow("thousand") << "1000" << range << 7;
        QTest::newRow("decimal") << "12.5" << "" << 12;
        QTest::newRow("huge") << "1e400" << range << 7;
        QTest::newRow("letters") << "abc" << number << 7;
        QTest::newRow("empty") << "" << "" << 7;
        QTest::newRow("cancel") << "<cancel>" << "" << 7;
    }
    void pickRows()
    {
        QFETCH(QString, answer);
        QFETCH(QString, message);
        QFETCH(int, rows);
        startWindow();
        gProject->setPickRows(7);
        script->answer(answer);
        if (!message.isEmpty())
            script->answer(QStringLiteral("Ok"));
        item("mnuChangePickRows")->trigger();
        QStringList expected{QStringLiteral("input|Please enter the number of rows to display in "
                                            "the Picklist (1-999)|0|Pelkar")};
        if (!message.isEmpty())
            expected << QStringLiteral("box|") + message + QStringLiteral("|48|Pelkar");
        QCOMPARE(asked(), expected);
        QCOMPARE(gProject->PickRows(), rows);
    }

    // While a save is under way the font and row commands do nothing.
    void guardedWhileBusy()
    {
        startWindow();
        window->setBSaving(true);
        item("mnuChangeFont")->trigger();
        item("mnuChangePickFont")->trigger();
        item("mnuChangePickRows")->trigger();
        window->setBSaving(false);
        QVERIFY(script->records().isEmpty());
    }
};

PELKAR_TEST(tst_Form1Formatting)
#include "tst_Form1Formatting.moc"
