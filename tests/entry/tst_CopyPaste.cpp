// The paste-texts window as a real window under the offscreen platform: its
// nine numbered lines, a text set by clicking its line and answering the
// input box, read back with GetItem, double quotes removed, texts that a
// one-line box or the batch file cannot take refused, a cancel changing
// nothing, a fixed height, and its texts, place and width kept in the
// settings file from one run to the next.

#include "PelkarTest.h"

#include "core/FormRegistry.h"
#include "core/Globals.h"
#include "core/Project.h"
#include "core/SettingsFileStore.h"
#include "entry/frmCopyPaste.h"
#include "transcription/Change_Monitor.h"
#include "transcription/EntryBoxes.h"

#include <QDir>
#include <QListWidget>

#include <memory>

namespace {

// Counts the times the focus is handed back to the entry box.
class FocusBoxes final : public EntryBoxes
{
public:
    int focusBack = 0;
    bool DistrictBoxVisible() const override { return false; }
    bool ForenameBoxVisible() const override { return false; }
    bool RichTextboxVisible() const override { return true; }
    bool DistrictValidate() override { return true; }
    bool ForenameValidate() override { return true; }
    void FocusDistrictBox(bool) override {}
    void FocusForenameBox(bool) override {}
    void HideRichTextbox() override {}
    void HideForenameBox() override {}
    void HideDistrictBox() override {}
    void ClearRichTextbox() override {}
    void GiveFocusBack() override { ++focusBack; }
};

QString promptFor(int n)
{
    return QStringLiteral("Enter the new text for item #%1\r\nYou can paste this text anywhere on "
                          "the input form\r\nby pressing the Ctrl key and number %1")
        .arg(n);
}

QStringList lines(const frmCopyPaste &w)
{
    QStringList out;
    for (int i = 0; i < w.List1()->count(); ++i)
        out << w.List1()->item(i)->text();
    return out;
}

} // namespace

class tst_CopyPaste : public PelkarTest
{
    Q_OBJECT

    FocusBoxes mBoxes;

    QString dataFolder() const { return homePath("data"); }

    void newRun()
    {
        ClearIniStore();
        ProgramObjects::releaseAll();
        ProgramObjects::createEvents();
        ProgramObjects::createProject();
        ProgramObjects::createChangeMonitor();
        gProject->setDataPath(dataFolder());
        QVERIFY(gProject->Setup());
    }

    std::unique_ptr<frmCopyPaste> openWindow()
    {
        auto w = std::make_unique<frmCopyPaste>();
        w->show();
        if (!QTest::qWaitForWindowExposed(w.get()))
            return nullptr;
        return w;
    }

    // Clicks line i as the transcriber does.
    static void clickLine(frmCopyPaste &w, int i)
    {
        QListWidget *list = w.List1();
        const QRect r = list->visualItemRect(list->item(i));
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, r.center());
    }

protected:
    void setUpCase() override
    {
        QVERIFY(QDir().mkpath(dataFolder()));
        newRun();
        mBoxes.focusBack = 0;
        SetBoxes(&mBoxes);
    }

    void tearDownCase() override
    {
        SetBoxes(nullptr);
        ClearIniStore();
    }

private slots:
    // The stored default holds single blanks: every line is its number only.
    void defaultListIsEmpty()
    {
        auto w = openWindow();
        QVERIFY(w);
        QCOMPARE(w->windowTitle(), QString("Copy/Paste"));
        QCOMPARE(lines(*w), (QStringList{"1. ", "2. ", "3. ", "4. ", "5. ", "6. ", "7. ", "8. ",
                                         "9. "}));
        for (int n = 0; n <= 10; ++n)
            QCOMPARE(w->GetItem(n), QString());
        QCOMPARE(w->GetList(), QString(R"("","","","","","","","","")"));
        for (int i = 0; i < 9; ++i)
            QVERIFY(w->List1()->viewport()->rect().contains(w->List1()->visualItemRect(
                w->List1()->item(i))));
    }

    void clickSetsText()
    {
        auto w = openWindow();
        QVERIFY(w);
        script->answer("Kent");
        clickLine(*w, 0);
        QCOMPARE(script->records().size(), 1);
        const MessageRecord &asked = script->records().at(0);
        QCOMPARE(asked.kind, QString("input"));
        QCOMPARE(asked.prompt, promptFor(1));
        QCOMPARE(asked.title, QString("Pelkar"));
        QCOMPARE(asked.info, QString()); // the old text as the default answer
        QCOMPARE(w->GetItem(1), QString("Kent"));
        QCOMPARE(w->List1()->item(0)->text(), QString("1. Kent"));
        QVERIFY(gChangeMonitor->CellChanged());
        QCOMPARE(mBoxes.focusBack, 1);

        // The old text is offered; an empty answer empties the line.
        script->clearRecords();
        script->answer("");
        clickLine(*w, 0);
        QCOMPARE(script->records().at(0).info, QString("Kent"));
        QCOMPARE(w->GetItem(1), QString());
        QCOMPARE(w->List1()->item(0)->text(), QString("1. "));

        script->clearRecords();
        script->answer("Smith, John");
        clickLine(*w, 8);
        QCOMPARE(script->records().at(0).prompt, promptFor(9));
        QCOMPARE(w->GetItem(9), QString("Smith, John"));
        QCOMPARE(w->GetList(), QString(R"("","","","","","","","","Smith, John")"));

        const QString png = QDir::temp().filePath("pelkar-copypaste.png");
        QVERIFY(w->grab().save(png));
    }

    void doubleQuotesRemoved()
    {
        auto w = openWindow();
        QVERIFY(w);
        script->answer({R"(the "old" mill)", "Ok"});
        clickLine(*w, 2);
        QCOMPARE(script->records().size(), 2);
        QCOMPARE(script->records().at(1).prompt, QString("Double-Quote removed from string"));
        QCOMPARE(script->records().at(1).style, 64);
        QCOMPARE(w->GetItem(3), QString("the old mill"));
    }

    // A text a one-line box or the batch file cannot take is refused where
    // it is entered; the line keeps its text.
    void unfitTextRefused_data()
    {
        QTest::addColumn<QString>("answer");
        QTest::addColumn<QString>("message");

        QTest::newRow("tab") << "Ann\tLee"
                             << "Item #2 can only hold one line of text, without tabs or line "
                                "breaks, so it was not changed.";
        QTest::newRow("line-break") << "Ann\r\nLee"
                                    << "Item #2 can only hold one line of text, without tabs or "
                                       "line breaks, so it was not changed.";
        QTest::newRow("outside-code-page")
            << "Łódź" << "Pelkar can't store the character \"Ł\" in its files, so item #2 was "
                         "not changed.";
    }

    void unfitTextRefused()
    {
        QFETCH(QString, answer);
        QFETCH(QString, message);
        auto w = openWindow();
        QVERIFY(w);
        script->answer("Kent");
        clickLine(*w, 1);
        gChangeMonitor->ClearChange();
        script->clearRecords();

        script->answer({answer, "Ok"});
        clickLine(*w, 1);
        QCOMPARE(script->records().size(), 2);
        QCOMPARE(script->records().at(1).prompt, message);
        QCOMPARE(script->records().at(1).style, 48);
        QCOMPARE(w->GetItem(2), QString("Kent"));
        QVERIFY(!gChangeMonitor->CellChanged());
        QCOMPARE(mBoxes.focusBack, 2);
    }

    void cancelChangesNothing()
    {
        auto w = openWindow();
        QVERIFY(w);
        script->answer("<cancel>");
        clickLine(*w, 4);
        QCOMPARE(w->GetList(), QString(R"("","","","","","","","","")"));
        QVERIFY(!gChangeMonitor->CellChanged());
        QCOMPARE(mBoxes.focusBack, 1);
    }

    void onlyWidthChanges()
    {
        auto w = openWindow();
        QVERIFY(w);
        const int height = w->height();
        QVERIFY(height >= 2460 / 15);
        w->resize(700, height + 200);
        QVERIFY(QTest::qWaitFor([&] { return w->width() == 700; }));
        QCOMPARE(w->height(), height);
        // Never so narrow that no text shows.
        w->resize(20, height);
        QVERIFY(QTest::qWaitFor([&] { return w->width() == 100; }));
    }

    // A place stored for a screen that is gone is not taken; the width is.
    void placeOffTheScreenNotTaken()
    {
        gProject->setPasteX(40000);
        gProject->setPasteY(3000);
        gProject->setPasteW(4500);
        auto w = openWindow();
        QVERIFY(w);
        QVERIFY(QRect(0, 0, 1920, 1080).intersects(w->geometry()));
        QCOMPARE(w->width(), 300);

        gProject->setPasteX(1500);
        auto placed = openWindow();
        QVERIFY(placed);
        QCOMPARE(placed->pos(), QPoint(100, 200));
    }

    // The texts, the place and the width go into the settings file with the
    // main window's save and come back at the next run.
    void keptInSettings()
    {
        const QStringList texts{"Kent", "", "Smith, John", "Zoë", "St. Ives", "a-b", "O'Neill",
                                "Ann Mary", "x"};
        int frameWidth = 0;
        {
            auto w = openWindow();
            QVERIFY(w);
            for (int i = 0; i < 9; ++i) {
                script->answer(texts.at(i));
                clickLine(*w, i);
            }
            w->move(200, 150);
            w->resize(420, w->height());
            QVERIFY(QTest::qWaitFor([&] { return w->pos() == QPoint(200, 150); }));
            QVERIFY(QTest::qWaitFor([&] { return w->width() == 420; }));
            frameWidth = w->frameGeometry().width();
            QObject form1;
            RegisterForm(&form1, "Form1");
            gProject->setPasteWindowSource(w.get());
            QVERIFY(gProject->SetRegistryValues());
            gProject->setPasteWindowSource(nullptr);
        }

        newRun();
        QCOMPARE(gProject->PasteX(), 200 * 15);
        QCOMPARE(gProject->PasteY(), 150 * 15);
        // The width kept is the frame's, as the place is.
        QCOMPARE(gProject->PasteW(), frameWidth * 15);
        auto w = openWindow();
        QVERIFY(w);
        QTRY_COMPARE(w->pos(), QPoint(200, 150));
        // Sized by its frame once the window is framed.
        QTRY_COMPARE(w->width(), 420);
        for (int n = 1; n <= 9; ++n)
            QCOMPARE(w->GetItem(n), texts.at(n - 1));
        QCOMPARE(w->List1()->item(2)->text(), QString("3. Smith, John"));
    }
};

PELKAR_TEST(tst_CopyPaste)
#include "tst_CopyPaste.moc"
