#include "PelkarTest.h"

#include "core/FormRegistry.h"
#include "core/Globals.h"
#include "core/Project.h"
#include "core/VbHelpers.h"
#include "core/clsEvents.h"
#include "lists/PickListSink.h"
#include "lists/frmPickList.h"
#include "transcription/EntryBoxes.h"
#include "transcription/Transcription.h"

#include <QCloseEvent>
#include <QTreeWidget>

#include <memory>

namespace {

// Entry boxes of which the test chooses the one on view; counts the times
// the focus is handed back.
class ShownBoxes final : public EntryBoxes
{
public:
    enum Shown { None, District, Forename, RichText };
    Shown shown = None;
    int focusBack = 0;

    bool DistrictBoxVisible() const override { return shown == District; }
    bool ForenameBoxVisible() const override { return shown == Forename; }
    bool RichTextboxVisible() const override { return shown == RichText; }
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

class RecordingTaker final : public PickedTextTaker
{
public:
    QStringList district;
    QStringList forename;
    void DistrictAddText(const QString &text) override { district << text; }
    void ForenameAddText(const QString &text) override { forename << text; }
};

// A pick-list window that only keeps its state, for the placement rules.
class FakePickWindow final : public Project::PickWindow
{
public:
    bool visible = false;
    bool minimised = false;
    bool maximised = false;
    QRect geometry{300, 450, 2400, 3000};
    int moves = 0;
    int normals = 0;
    int noEventsWhileMoving = -1;

    bool pickVisible() const override { return visible; }
    void setPickVisible(bool on) override { visible = on; }
    bool pickMinimised() const override { return minimised; }
    void setPickNormal() override
    {
        ++normals;
        minimised = maximised = false;
    }
    QRect pickGeometry() const override { return geometry; }
    void movePick(int left, int top) override
    {
        ++moves;
        noEventsWhileMoving = gEvents->NoEvents();
        geometry.moveTo(left, top);
    }
};

} // namespace

// The pick-list window itself, under the offscreen platform.
class PickListWindowTest : public PelkarTest
{
    Q_OBJECT

protected:
    void setUpCase() override
    {
        ProgramObjects::createEvents();
        ProgramObjects::createProject();
        ProgramObjects::createTranscription();
        gProject->setPickRows(9);
        gProject->setPickWidth(3000);
        gProject->setPickHeight(2400);
        mBoxes = ShownBoxes();
        mTaker = RecordingTaker();
        SetBoxes(&mBoxes);
        SetPickTaker(&mTaker);
        mWindow = std::make_unique<frmPickList>();
    }

    void tearDownCase() override
    {
        mWindow.reset();
        SetBoxes(nullptr);
        SetPickTaker(nullptr);
    }

    void fill(const QStringList &texts)
    {
        PickList().PickClear();
        for (const QString &t : texts)
            PickList().NextText(t);
    }

    void clickRow(int n)
    {
        QTreeWidget *lv = mWindow->lvPick();
        const QRect r = lv->visualItemRect(lv->topLevelItem(n - 1));
        QTest::mouseClick(lv->viewport(), Qt::LeftButton, {}, r.center());
    }

    ShownBoxes mBoxes;
    RecordingTaker mTaker;
    std::unique_ptr<frmPickList> mWindow;

private slots:
    void loadsSizedEmptyAndInstalled()
    {
        QCOMPARE(mWindow->windowTitle(), QStringLiteral("Picklist"));
        QCOMPARE(mWindow->width(), TwipsToPixelsX(3000));
        QCOMPARE(mWindow->height(), TwipsToPixelsY(2400));
        QCOMPARE(mWindow->iCount(), 0);
        QVERIFY(!mWindow->bFromPickList());
        QCOMPARE(&PickList(), static_cast<PickListSink *>(mWindow.get()));
        QVERIFY(IsFormLoaded(QStringLiteral("frmPickList")));
        QCOMPARE(gEvents->count(), 0);
        mWindow.reset();
        QCOMPARE(PickList().iCount(), 0); // the stand-in is back
        QVERIFY(!Project::pickWindow());
    }

    void storedRowsBelowOneBecomeMax()
    {
        mWindow.reset();
        gProject->setPickRows(0);
        mWindow = std::make_unique<frmPickList>();
        QCOMPARE(gProject->PickRows(), 999);
    }

    void rowsAreNumberedKeyedAndCapped()
    {
        QStringList texts;
        for (int i = 1; i <= 12; ++i)
            texts << QStringLiteral("  Place %1 ").arg(i);
        fill(texts);
        QCOMPARE(mWindow->iCount(), 9);
        QTreeWidget *lv = mWindow->lvPick();
        for (int n = 1; n <= 9; ++n) {
            QCOMPARE(lv->topLevelItem(n - 1)->text(0), QString::number(n));
            QCOMPARE(lv->topLevelItem(n - 1)->text(1), QStringLiteral("Place %1").arg(n));
            QCOMPARE(mWindow->Key(n), QStringLiteral("%1K").arg(n));
        }

        // Numbering starts again after the list is emptied.
        fill({QStringLiteral("Bath")});
        QCOMPARE(mWindow->iCount(), 1);
        QCOMPARE(lv->topLevelItem(0)->text(0), QStringLiteral("1"));
        QCOMPARE(mWindow->Key(1), QStringLiteral("1K"));
        mWindow->ShowFOptions();
        QCOMPARE(mWindow->iCount(), 0);
    }

    void keysPastNine()
    {
        gProject->setPickRows(20);
        QStringList texts;
        for (int i = 0; i < 12; ++i)
            texts << QStringLiteral("x");
        fill(texts);
        QCOMPARE(mWindow->Key(12), QStringLiteral("12K"));
        QCOMPARE(mWindow->lvPick()->topLevelItem(11)->text(0), QStringLiteral("12"));
    }

    void pickText_data()
    {
        QTest::addColumn<int>("n");
        QTest::addColumn<bool>("flagBefore");
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("flagAfter");
        QTest::newRow("first-row-sets-flag") << 1 << false << "Abbey" << true;
        QTest::newRow("last-row-trimmed") << 3 << false << "Cole Harbour" << true;
        QTest::newRow("zero-leaves-flag-off") << 0 << false << "" << false;
        QTest::newRow("past-end-leaves-flag-off") << 4 << false << "" << false;
        QTest::newRow("negative-leaves-flag-on") << -1 << true << "" << true;
        QTest::newRow("past-end-leaves-flag-on") << 4 << true << "" << true;
    }

    void pickText()
    {
        QFETCH(int, n);
        QFETCH(bool, flagBefore);
        QFETCH(QString, text);
        QFETCH(bool, flagAfter);
        fill({QStringLiteral("Abbey"), QStringLiteral("Bow"), QStringLiteral("  Cole Harbour  ")});
        mWindow->setBFromPickList(flagBefore);
        QCOMPARE(mWindow->PickText(n), text);
        QCOMPARE(mWindow->bFromPickList(), flagAfter);
    }

    void clickSendsRowText_data()
    {
        QTest::addColumn<int>("shown");
        QTest::addColumn<QStringList>("district");
        QTest::addColumn<QStringList>("forename");
        QTest::addColumn<int>("focusBack");
        QTest::addColumn<bool>("flag");
        QTest::newRow("district-box") << int(ShownBoxes::District) << QStringList{"Cole Harbour"}
                                      << QStringList{} << 1 << true;
        QTest::newRow("forename-box") << int(ShownBoxes::Forename) << QStringList{}
                                      << QStringList{"Cole Harbour"} << 0 << true;
        QTest::newRow("rich-text-box-takes-nothing")
            << int(ShownBoxes::RichText) << QStringList{} << QStringList{} << 0 << false;
    }

    void clickSendsRowText()
    {
        QFETCH(int, shown);
        QFETCH(QStringList, district);
        QFETCH(QStringList, forename);
        QFETCH(int, focusBack);
        QFETCH(bool, flag);
        mBoxes.shown = ShownBoxes::Shown(shown);
        mWindow->show();
        QVERIFY(QTest::qWaitForWindowExposed(mWindow.get()));
        fill({QStringLiteral("Abbey"), QStringLiteral("Bow"), QStringLiteral(" Cole Harbour ")});
        clickRow(3);
        QCOMPARE(mTaker.district, district);
        QCOMPARE(mTaker.forename, forename);
        QCOMPARE(mBoxes.focusBack, focusBack);
        QCOMPARE(mWindow->bFromPickList(), flag);
    }

    void clickInEmptyListGivesFocusBack()
    {
        mBoxes.shown = ShownBoxes::District;
        mWindow->show();
        QVERIFY(QTest::qWaitForWindowExposed(mWindow.get()));
        QTest::mouseClick(mWindow->lvPick()->viewport(), Qt::LeftButton, {}, QPoint(5, 5));
        QCOMPARE(mBoxes.focusBack, 1);
        QVERIFY(mTaker.district.isEmpty());
    }

    void doubleClickGivesFocusBack()
    {
        mWindow->show();
        QVERIFY(QTest::qWaitForWindowExposed(mWindow.get()));
        fill({QStringLiteral("Abbey")});
        QTreeWidget *lv = mWindow->lvPick();
        const QPoint at = lv->visualItemRect(lv->topLevelItem(0)).center();
        QTest::mouseDClick(lv->viewport(), Qt::LeftButton, {}, at);
        QVERIFY(mBoxes.focusBack >= 1);
    }

    void closeBoxOnlyKeepsSize()
    {
        mWindow->show();
        QVERIFY(QTest::qWaitForWindowExposed(mWindow.get()));
        mWindow->resize(TwipsToPixelsX(4500), TwipsToPixelsY(3600));
        // The size kept is the frame's, title bar included.
        const int width = PixelsToTwipsX(mWindow->frameGeometry().width());
        const int height = PixelsToTwipsY(mWindow->frameGeometry().height());
        QCloseEvent close;
        QApplication::sendEvent(mWindow.get(), &close);
        QVERIFY(!close.isAccepted());
        QVERIFY(mWindow->isVisible());
        QCOMPARE(gProject->PickWidth(), width);
        QCOMPARE(gProject->PickHeight(), height);

        // A docked drop-down leaves the free window's size alone.
        gProject->setDropDownPick(true);
        mWindow->resize(TwipsToPixelsX(6000), TwipsToPixelsY(6000));
        QCloseEvent again;
        QApplication::sendEvent(mWindow.get(), &again);
        QVERIFY(mWindow->isVisible());
        QCOMPARE(gProject->PickWidth(), width);
        QCOMPARE(gProject->PickHeight(), height);

        // Shut-down closes it for good.
        mWindow->Unload();
        QVERIFY(!mWindow->isVisible());
    }

    void tooSmallIsEnlarged()
    {
        mWindow->show();
        QVERIFY(QTest::qWaitForWindowExposed(mWindow.get()));
        mWindow->resize(10, 10);
        QCOMPARE(mWindow->width(), TwipsToPixelsX(1200));
        QCOMPARE(mWindow->height(), TwipsToPixelsY(1000));
        QCOMPARE(mWindow->lvPick()->geometry(), mWindow->rect());
    }

    void numberColumnWidth()
    {
        mWindow->show();
        QVERIFY(QTest::qWaitForWindowExposed(mWindow.get()));
        const int three = mWindow->lvPick()->columnWidth(0);
        mWindow->ChangeRows(150);
        QCOMPARE(gProject->PickRows(), 150);
        QVERIFY(mWindow->lvPick()->columnWidth(0) > three);
        mWindow->resize(mWindow->width() + 20, mWindow->height());
        QCOMPARE(mWindow->lvPick()->columnWidth(0), three);
    }

    void placeRemembered()
    {
        gProject->setDistPick(true);
        gProject->setPickleft(1500);
        gProject->setPicktop(900);
        gCurrentCol = gTranscription->DistrictCol();
        gProject->ShowPickList();
        QVERIFY(mWindow->isVisible());
        QCOMPARE(mWindow->pos(), QPoint(TwipsToPixelsX(1500), TwipsToPixelsY(900)));

        mWindow->move(TwipsToPixelsX(3000), TwipsToPixelsY(1800));
        mWindow->resize(TwipsToPixelsX(4500), TwipsToPixelsY(3000));
        gProject->SavePickPosition();
        // The place and size kept are the frame's, title bar included.
        QCOMPARE(gProject->Pickleft(), 3000);
        QCOMPARE(gProject->Picktop(), 1800);
        QCOMPARE(gProject->PickWidth(), PixelsToTwipsX(mWindow->frameGeometry().width()));
        QCOMPARE(gProject->PickHeight(), PixelsToTwipsY(mWindow->frameGeometry().height()));

        gProject->HidePickList();
        QVERIFY(!mWindow->isVisible());
    }
};

// The placement operations of Project, against a window that only keeps
// its state.
class PickPlacementTest : public PelkarTest
{
    Q_OBJECT

protected:
    void setUpCase() override
    {
        ProgramObjects::createEvents();
        ProgramObjects::createProject();
        ProgramObjects::createTranscription();
        mWindow = FakePickWindow();
        Project::SetPickWindow(&mWindow);
    }

    void tearDownCase() override { Project::SetPickWindow(nullptr); }

    int column(const QString &which) const
    {
        if (which == QLatin1String("district"))
            return gTranscription->DistrictCol();
        if (which == QLatin1String("forename"))
            return gTranscription->ForenamesCol();
        return 7;
    }

    FakePickWindow mWindow;

private slots:
    void pickListColumn_data()
    {
        QTest::addColumn<bool>("fore");
        QTest::addColumn<bool>("dist");
        QTest::addColumn<QString>("col");
        QTest::addColumn<bool>("served");
        QTest::newRow("forename-with-forepick") << true << false << "forename" << true;
        QTest::newRow("forename-without-forepick") << false << true << "forename" << false;
        QTest::newRow("district-with-distpick") << false << true << "district" << true;
        QTest::newRow("district-without-distpick") << true << false << "district" << false;
        QTest::newRow("other-column-never") << true << true << "other" << false;
    }

    void pickListColumn()
    {
        QFETCH(bool, fore);
        QFETCH(bool, dist);
        QFETCH(QString, col);
        QFETCH(bool, served);
        gProject->setForePick(fore);
        gProject->setDistPick(dist);
        QCOMPARE(gProject->PickListColumn(column(col)), served);
    }

    void showPickList_data()
    {
        QTest::addColumn<bool>("fore");
        QTest::addColumn<bool>("dist");
        QTest::addColumn<bool>("keep");
        QTest::addColumn<bool>("dropDown");
        QTest::addColumn<QString>("col");
        QTest::addColumn<bool>("visibleBefore");
        QTest::addColumn<bool>("visible");
        QTest::addColumn<bool>("moved");
        // clang-format off
        QTest::newRow("district-column-shown")        << false << true  << false << false << "district" << false << true  << true;
        QTest::newRow("forepick-only-still-district") << true  << false << false << false << "district" << false << true  << true;
        QTest::newRow("other-column-left-hidden")     << true  << true  << false << false << "other"    << false << false << false;
        QTest::newRow("other-column-left-shown")      << true  << true  << false << false << "other"    << true  << true  << false;
        QTest::newRow("keep-visible-any-column")      << true  << false << true  << false << "other"    << false << true  << true;
        QTest::newRow("both-off-nothing")             << false << false << true  << false << "forename" << false << false << false;
        QTest::newRow("both-off-dropdown-hides")      << false << false << false << true  << "other"    << true  << false << false;
        QTest::newRow("dropdown-hides-off-column")    << true  << true  << true  << true  << "other"    << true  << false << true;
        QTest::newRow("dropdown-shows-on-column")     << true  << true  << false << true  << "forename" << false << true  << true;
        // clang-format on
    }

    void showPickList()
    {
        QFETCH(bool, fore);
        QFETCH(bool, dist);
        QFETCH(bool, keep);
        QFETCH(bool, dropDown);
        QFETCH(QString, col);
        QFETCH(bool, visibleBefore);
        QFETCH(bool, visible);
        QFETCH(bool, moved);
        gProject->setForePick(fore);
        gProject->setDistPick(dist);
        gProject->setKeepPickListVisible(keep);
        gProject->setPickleft(1500);
        gProject->setPicktop(900);
        gProject->setDropDownPick(dropDown);
        gCurrentCol = column(col);
        mWindow.visible = visibleBefore;
        mWindow.minimised = true;

        gProject->ShowPickList();
        QCOMPARE(mWindow.visible, visible);
        QCOMPARE(mWindow.moves, moved ? 1 : 0);
        if (moved) {
            QCOMPARE(mWindow.geometry.topLeft(), QPoint(1500, 900));
            QCOMPARE(mWindow.noEventsWhileMoving, 1);
        }
        // Restored only when the list serves a column at all.
        QCOMPARE(mWindow.normals, (fore || dist) ? 1 : 0);
        QCOMPARE(gEvents->count(), 0);
    }

    void hidePickIfNotWanted_data()
    {
        QTest::addColumn<bool>("keep");
        QTest::addColumn<bool>("loaded");
        QTest::addColumn<bool>("visible");
        QTest::newRow("hidden") << false << true << false;
        QTest::newRow("kept-visible") << true << true << true;
        QTest::newRow("never-loaded-untouched") << false << false << true;
    }

    void hidePickIfNotWanted()
    {
        QFETCH(bool, keep);
        QFETCH(bool, loaded);
        QFETCH(bool, visible);
        QObject form;
        if (loaded)
            RegisterForm(&form, QStringLiteral("frmPickList"));
        gProject->setKeepPickListVisible(keep);
        mWindow.visible = true;
        gProject->HidePickIfNotWanted();
        QCOMPARE(mWindow.visible, visible);
    }

    void savePickPosition_data()
    {
        QTest::addColumn<bool>("dropDown");
        QTest::addColumn<bool>("minimised");
        QTest::addColumn<QRect>("stored");
        const QRect before(600, 750, 3000, 2400);
        QTest::newRow("free-window-all") << false << false << QRect(300, 450, 2400, 3000);
        QTest::newRow("dropdown-height-only") << true << false << QRect(600, 750, 3000, 3000);
        QTest::newRow("minimised-nothing") << false << true << before;
    }

    void savePickPosition()
    {
        QFETCH(bool, dropDown);
        QFETCH(bool, minimised);
        QFETCH(QRect, stored);
        gProject->setPickleft(600);
        gProject->setPicktop(750);
        gProject->setPickWidth(3000);
        gProject->setPickHeight(2400);
        gProject->setDropDownPick(dropDown);
        mWindow.minimised = minimised;
        gProject->SavePickPosition();
        QCOMPARE(QRect(gProject->Pickleft(), gProject->Picktop(), gProject->PickWidth(),
                       gProject->PickHeight()),
                 stored);
    }

    void withoutWindowNothingHappens()
    {
        Project::SetPickWindow(nullptr);
        gProject->setDistPick(true);
        gCurrentCol = gTranscription->DistrictCol();
        gProject->ShowPickList();
        gProject->HidePickList();
        gProject->SavePickPosition();
        QCOMPARE(gProject->PickHeight(), 200);
    }
};

PELKAR_TEST(PickListWindowTest)
PELKAR_TEST(PickPlacementTest)
#include "tst_PickList.moc"
