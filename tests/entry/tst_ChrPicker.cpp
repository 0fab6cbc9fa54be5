// The character picker and its enlarged character as real windows under the
// offscreen platform: a double click puts é into the open box (a rich-text
// box model) and hides the picker, the not-used characters are absent, the
// table is seven rows of ten, a held button shows the character enlarged
// beside its cell, the close box only hides the picker, and its size and
// font come back from the settings at the next run.

#include "PelkarTest.h"
#include "TestFiles.h"

#include "core/Globals.h"
#include "core/Project.h"
#include "core/SettingsFileStore.h"
#include "core/clsEvents.h"
#include "entry/RichTextBox.h"
#include "entry/PickerChars.h"
#include "entry/frmBigChr.h"
#include "entry/frmChrPicker.h"

#include <QDir>
#include <QLabel>

#include <memory>

namespace {
constexpr int kE_acute = 233 - 192;

bool sizedTo(QWidget &w, const QSize &size)
{
    w.resize(size);
    return QTest::qWaitFor([&] { return w.size() == size; });
}
} // namespace

class tst_ChrPicker : public PelkarTest
{
    Q_OBJECT

    QString dataFolder() const { return homePath("data"); }

    // A new run's project, loaded from the data folder's settings file.
    void newRun()
    {
        ClearIniStore();
        ProgramObjects::releaseAll();
        ProgramObjects::createEvents();
        ProgramObjects::createProject();
        gProject->setDataPath(dataFolder());
        QVERIFY(gProject->Setup());
    }

    std::unique_ptr<frmChrPicker> openPicker()
    {
        auto picker = std::make_unique<frmChrPicker>();
        picker->Wakeup();
        if (!QTest::qWaitForWindowExposed(picker.get()))
            return nullptr;
        return picker;
    }

protected:
    void setUpCase() override
    {
        QVERIFY(QDir().mkpath(dataFolder()));
        newRun();
    }

    void tearDownCase() override { ClearIniStore(); }

private slots:
    void doubleClickInsertsIntoOpenBox()
    {
        RichTextBox box;
        box.setVisible(true);
        box.setText("Jos");
        box.setSelStart(3);
        EntryBoxesOpenBox open(&box);
        auto picker = openPicker();
        QVERIFY(picker);
        picker->setOpenBox(&open);
        QCOMPARE(picker->windowTitle(), QString("Pelkar - Special Characters"));

        ChrCell *cell = picker->tbChr(kE_acute);
        QCOMPARE(cell->text(), QString("é"));
        QCOMPARE(cell->toolTip(), QString("Double click to insert this character"));
        QTest::mouseDClick(cell, Qt::LeftButton);
        QCOMPARE(box.Text(), QString("José"));
        QCOMPARE(box.SelStart(), 4);
        QVERIFY(box.focusRequests() > 0);
        QVERIFY(!picker->isVisible());
        QVERIFY(!picker->bigChr()->isVisible());
    }

    // With the district box open (or none) a double click does nothing and
    // the picker stays.
    void doubleClickWithoutBoxDoesNothing()
    {
        RichTextBox box;
        box.setText("Jos");
        EntryBoxesOpenBox open(&box, [] { return false; }, [](const QString &) {});
        auto picker = openPicker();
        QVERIFY(picker);
        picker->setOpenBox(&open);
        QTest::mouseDClick(picker->tbChr(kE_acute), Qt::LeftButton);
        QCOMPARE(box.Text(), QString("Jos"));
        QVERIFY(picker->isVisible());
    }

    // Seven rows of ten from the first cell's place; the default not-used
    // characters and the six cells past 255 are empty and disabled.
    void tableLeavesOutNotUsed()
    {
        auto picker = openPicker();
        QVERIFY(picker);
        const QList<int> notUsed{208, 215, 222, 240, 247, 254};
        const QRect first = picker->tbChr(0)->geometry();
        QVERIFY(first.width() > 10 && first.height() > 10);
        QString shown;
        for (int k = 0; k < frmChrPicker::kCellCount; ++k) {
            const ChrCell *cell = picker->tbChr(k);
            QCOMPARE(cell->geometry(), QRect(first.left() + (k % 10) * first.width(),
                                             first.top() + (k / 10) * first.height(),
                                             first.width(), first.height()));
            QVERIFY(cell->isVisible());
            const int code = 192 + k;
            const bool has = code <= 255 && !notUsed.contains(code);
            QCOMPARE(cell->isEnabled(), has);
            QCOMPARE(cell->text().isEmpty(), !has);
            shown += cell->text();
        }
        for (const QString c : {"Ð", "×", "Þ", "ð", "÷", "þ"})
            QVERIFY2(!shown.contains(c), qPrintable(c));
        QCOMPARE(shown.size(), 58);
        QVERIFY(picker->rect().contains(picker->tbChr(69)->geometry()));

        const QString png = QDir::temp().filePath("pelkar-chrpicker.png");
        QVERIFY(picker->grab().save(png));
    }

    void keysDoNotEdit()
    {
        auto picker = openPicker();
        QVERIFY(picker);
        ChrCell *cell = picker->tbChr(0);
        QTest::keyClicks(cell, "ab");
        QTest::keyClick(cell, Qt::Key_Backspace);
        QTest::keyClick(cell, Qt::Key_Delete);
        QCOMPARE(cell->text(), QString("À"));
    }

    void heldButtonShowsCharacterEnlarged()
    {
        auto picker = openPicker();
        QVERIFY(picker);
        picker->move(100, 100);
        ChrCell *cell = picker->tbChr(kE_acute);
        frmBigChr *big = picker->bigChr();
        QVERIFY(!big->isVisible());

        QTest::mousePress(cell, Qt::LeftButton, {}, QPoint(5, 5));
        QVERIFY(big->isVisible());
        QCOMPARE(big->lbBig()->text(), QString("é"));
        const QPoint cellRight = cell->mapToGlobal(QPoint(cell->width(), cell->height() / 2));
        QCOMPARE(big->x(), cellRight.x() + 20 / 15);
        QVERIFY(qAbs(big->geometry().center().y() - cellRight.y()) <= 1);
        QVERIFY(big->lbBig()->font().pointSize() > cell->font().pointSize());
        const QString png = QDir::temp().filePath("pelkar-bigchr.png");
        QVERIFY(big->grab().save(png));

        QTest::mouseRelease(cell, Qt::LeftButton, {}, QPoint(5, 5));
        QVERIFY(!big->isVisible());
        QVERIFY(!cell->hasSelectedText());

        // A disabled cell shows nothing.
        QTest::mousePress(picker->tbChr(16), Qt::LeftButton);
        QVERIFY(!big->isVisible());
    }

    void closeBoxOnlyHides()
    {
        auto picker = openPicker();
        QVERIFY(picker);
        QVERIFY(sizedTo(*picker, {500, 300}));
        QVERIFY(!picker->close());
        QVERIFY(!picker->isVisible());
        picker->Wakeup();
        QVERIFY(picker->isVisible());
        QCOMPARE(picker->size(), QSize(500, 300));
    }

    // Resized by the transcriber: the size and the cells' font go into the
    // settings at once, and the next run's picker opens with both.
    void sizeAndFontKeptInSettings()
    {
        QCOMPARE(gProject->CPWidth(), 0);
        const QSize design = openPicker()->size();
        QSize size;
        double points = 0;
        {
            auto picker = openPicker();
            QVERIFY(picker);
            size = design * 3 / 2;
            QVERIFY(sizedTo(*picker, size));
            points = picker->tbChr(0)->font().pointSizeF();
            QVERIFY(points > 14);
            QCOMPARE(picker->tbChr(69)->font().pointSizeF(), points);
            QCOMPARE(gProject->CPWidth(), size.width() * 15);
            QCOMPARE(gProject->CPHeight(), size.height() * 15);
            QCOMPARE(gProject->CPSize(), float(points));
            QVERIFY(gProject->SetRegistryValues());
        }

        newRun();
        QCOMPARE(gProject->CPWidth(), size.width() * 15);
        auto picker = openPicker();
        QVERIFY(picker);
        QCOMPARE(picker->size(), size);
        // The file keeps seven significant digits.
        QVERIFY(qAbs(picker->tbChr(0)->font().pointSizeF() - points) < 0.001);
        QCOMPARE(picker->tbChr(41)->font().pointSizeF(), picker->tbChr(0)->font().pointSizeF());
        const QRect first = picker->tbChr(0)->geometry();
        QCOMPARE(picker->tbChr(69)->geometry().topLeft(),
                 first.topLeft() + QPoint(9 * first.width(), 6 * first.height()));
        // Showing it again is no resize by the transcriber: nothing stored.
        QCOMPARE(gProject->CPWidth(), size.width() * 15);
    }

    // A size stored on a larger screen is cut to this one (1920 x 1080).
    void storedSizeFitsTheScreen()
    {
        QVERIFY(TestFiles::writeBytes(QDir(dataFolder()).filePath("Pelkarini.txt"),
                                      "[Forms]\r\nCPWidth=30000\r\nCPHeight=24000\r\n"));
        newRun();
        auto picker = openPicker();
        QVERIFY(picker);
        QCOMPARE(picker->size(), QSize(1920, 1080));
    }

    // The program's own resizes (events off) are not stored.
    void resizeWithEventsOffNotStored()
    {
        auto picker = openPicker();
        QVERIFY(picker);
        gEvents->EventsOff();
        QVERIFY(sizedTo(*picker, {600, 400}));
        gEvents->EventsOn();
        QCOMPARE(gProject->CPWidth(), 0);
        QCOMPARE(gProject->CPHeight(), 0);
    }
};

PELKAR_TEST(tst_ChrPicker)
#include "tst_ChrPicker.moc"
