// The form resizer on real forms resized under the offscreen platform: an
// editor-like form whose controls follow the width and whose fonts follow
// the size, and a main window with its minimum size, its grid widened with
// the columns, its side scroll bar and its entry box laid back over the
// current cell.

#include "PelkarTest.h"

#include "core/Globals.h"
#include "core/Project.h"
#include "core/VbHelpers.h"
#include "entry/FlexGrid.h"
#include "entry/FlexGridView.h"
#include "mainwindow/Resizer.h"
#include "transcription/Transcription.h"

#include <QCheckBox>
#include <QFrame>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QPushButton>
#include <QScrollBar>
#include <QVBoxLayout>

#include <memory>

namespace {
// A form whose resize handling is the resizer's, as every user's is.
template<typename Base>
class ResizedForm : public Base
{
public:
    Resizer resizer;

protected:
    void resizeEvent(QResizeEvent *event) override
    {
        Base::resizeEvent(event);
        resizer.FormResize();
    }
};

template<typename T>
T *place(QWidget *parent, const char *name, const QRect &geometry, double points = 0)
{
    auto *w = new T(parent);
    w->setObjectName(QString::fromLatin1(name));
    w->setGeometry(geometry);
    if (points > 0) {
        QFont f = w->font();
        f.setPointSizeF(points);
        w->setFont(f);
    }
    return w;
}

bool resizedTo(QWidget &form, const QSize &size)
{
    form.resize(size);
    return QTest::qWaitFor([&] { return form.size() == size; });
}
} // namespace

class tst_Resizer : public PelkarTest
{
    Q_OBJECT

private slots:
    // The form is 600 x 450 pixels (9000 x 6750 twips) when handed over.
    void editorFormFollowsItsSize_data()
    {
        QTest::addColumn<QList<QSize>>("sizes");
        QTest::addColumn<QRect>("label");
        QTest::addColumn<QRect>("edit");
        QTest::addColumn<QRect>("frame");
        QTest::addColumn<QRect>("inFrame");
        QTest::addColumn<double>("labelPoints");
        QTest::addColumn<double>("editPoints");

        // Halves go to the even neighbour: 12.5 -> 12.
        QTest::newRow("wider-by-a-quarter")
            << QList<QSize>{{750, 450}} << QRect(12, 25, 125, 30) << QRect(150, 25, 250, 30)
            << QRect(25, 125, 375, 250) << QRect(12, 12, 125, 25) << 10 / 0.9 << 8 / 0.9;
        QTest::newRow("twice-both-ways")
            << QList<QSize>{{1200, 900}} << QRect(20, 40, 200, 48) << QRect(240, 40, 400, 48)
            << QRect(40, 200, 600, 400) << QRect(20, 20, 200, 40) << 20.0 << 16.0;
        QTest::newRow("twice-and-back-again")
            << QList<QSize>{{1200, 900}, {600, 450}} << QRect(10, 20, 100, 24)
            << QRect(120, 20, 200, 24) << QRect(20, 100, 300, 200) << QRect(10, 10, 100, 20)
            << 10.0 << 8.0;
        QTest::newRow("taller-only-moves-nothing")
            << QList<QSize>{{600, 900}} << QRect(10, 20, 100, 24) << QRect(120, 20, 200, 24)
            << QRect(20, 100, 300, 200) << QRect(10, 10, 100, 20) << 10 / 0.75 << 8 / 0.75;
    }

    void editorFormFollowsItsSize()
    {
        QFETCH(QList<QSize>, sizes);
        QFETCH(QRect, label);
        QFETCH(QRect, edit);
        QFETCH(QRect, frame);
        QFETCH(QRect, inFrame);
        QFETCH(double, labelPoints);
        QFETCH(double, editPoints);

        ResizedForm<QWidget> form;
        form.setObjectName(QStringLiteral("frmTest"));
        form.resize(600, 450);
        auto *lbl = place<QLabel>(&form, "lblName", {10, 20, 100, 24}, 10);
        auto *txt = place<QLineEdit>(&form, "txtName", {120, 20, 200, 24}, 8);
        auto *frm = place<QFrame>(&form, "Frame1", {20, 100, 300, 200}, 9);
        auto *chk = place<QCheckBox>(frm, "chkA", {10, 10, 100, 20}, 9);
        auto *bar = place<QScrollBar>(&form, "VScroll2", {560, 0, 17, 300});
        auto *unnamed = place<QLabel>(&form, "", {400, 300, 50, 20}, 9);
        auto *group = place<QGroupBox>(&form, "grpLaid", {350, 100, 200, 100}, 9);
        auto *laid = new QPushButton(group);
        laid->setObjectName(QStringLiteral("cmdLaid"));
        (new QVBoxLayout(group))->addWidget(laid);
        QFont f = laid->font();
        f.setPointSizeF(12);
        laid->setFont(f);
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        form.resizer.setForm(&form);
        QCOMPARE(form.resizer.designWidth(), 9000);

        for (const QSize &size : sizes)
            QVERIFY(resizedTo(form, size));

        QCOMPARE(lbl->geometry(), label);
        QCOMPARE(txt->geometry(), edit);
        QCOMPARE(frm->geometry(), frame);
        QCOMPARE(chk->geometry(), inFrame);
        QCOMPARE(lbl->font().pointSizeF(), labelPoints);
        QCOMPARE(txt->font().pointSizeF(), editPoints);
        QCOMPARE(laid->font().pointSizeF(), 12 * labelPoints / 10);
        // Vertical scroll bars and unnamed widgets stay.
        QCOMPARE(bar->geometry(), QRect(560, 0, 17, 300));
        QCOMPARE(unnamed->geometry(), QRect(400, 300, 50, 20));
        QCOMPARE(unnamed->font().pointSizeF(), 9.0);
    }

    void minimisedFormIsLeftAlone()
    {
        ResizedForm<QWidget> form;
        form.setObjectName(QStringLiteral("frmTest"));
        form.resize(600, 450);
        auto *lbl = place<QLabel>(&form, "lblName", {10, 20, 100, 24}, 10);
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        form.resizer.setForm(&form);

        form.setWindowState(Qt::WindowMinimized);
        form.resizer.FormResize();
        form.resize(1200, 900);
        QTest::qWait(20);
        QCOMPARE(lbl->geometry(), QRect(10, 20, 100, 24));
        QCOMPARE(lbl->font().pointSizeF(), 10.0);
        QCOMPARE(form.resizer.lastWidth(), 9000);
    }

    // A form gone before its resizer does nothing harm.
    void formGoneLeavesNothingToDo()
    {
        Resizer resizer;
        {
            QWidget form;
            place<QLabel>(&form, "lblName", {10, 20, 100, 24});
            resizer.setForm(&form);
        }
        QVERIFY(!resizer.Form());
        resizer.FormResize();
        resizer.ResetBox();
    }
};

namespace {
// A main window 800 x 600 pixels (12000 x 9000 twips): the grid of five
// columns at (0, 0, 600, 400), the side scroll bar at its right edge, a
// label, and the entry box.
class MainForm final : public ResizedForm<QMainWindow>, public ResizerMainWindow
{
public:
    MainForm()
    {
        setObjectName(QStringLiteral("Form1"));
        auto *central = new QWidget(this);
        setCentralWidget(central);
        resize(800, 600);
        grid.setCols(5);
        grid.setRows(40);
        gridView = place<FlexGridView>(central, "fgInput", {0, 0, 600, 400});
        gridView->setGrid(&grid);
        bar = place<QScrollBar>(central, "VScroll1", {600, 0, 17, 400});
        label = place<QLabel>(central, "lblInfo", {620, 20, 160, 40}, 10);
        box = place<QLineEdit>(central, "rtb1", {0, 0, 10, 10});
        box->hide();
        resizer.setMainWindow(this);
    }

    void FitGridHeight() override
    {
        ++fits;
        gridView->resize(gridView->width(), 350);
    }
    QWidget *VisibleEntryBox() const override { return box->isVisible() ? box : nullptr; }

    FlexGrid grid;
    FlexGridView *gridView = nullptr;
    QScrollBar *bar = nullptr;
    QLabel *label = nullptr;
    QLineEdit *box = nullptr;
    int fits = 0;
};
} // namespace

class tst_MainWindowResizer : public PelkarTest
{
    Q_OBJECT

protected:
    void setUpCase() override
    {
        ProgramObjects::createEvents();
        ProgramObjects::createProject();
        ProgramObjects::createTranscription();
        form = std::make_unique<MainForm>();
        gTranscription->setGrid(&form->grid);
        form->show();
        QVERIFY(QTest::qWaitForWindowExposed(form.get()));
        form->resizer.setForm(form.get());
    }

    void tearDownCase() override
    {
        if (gTranscription)
            gTranscription->setGrid(nullptr);
        form.reset();
    }

    std::unique_ptr<MainForm> form;

private slots:
    void heldAtItsMinimumSize_data()
    {
        QTest::addColumn<QSize>("dragged");
        QTest::addColumn<QSize>("held");
        // 1860 twips are 124 pixels, 3100 twips 206.67, so 207.
        QTest::newRow("height-1500-twips") << QSize(800, 100) << QSize(800, 124);
        QTest::newRow("width-2000-twips") << QSize(133, 600) << QSize(207, 600);
        QTest::newRow("both-height-first") << QSize(133, 100) << QSize(207, 124);
    }

    void heldAtItsMinimumSize()
    {
        QFETCH(QSize, dragged);
        QFETCH(QSize, held);
        form->resize(dragged);
        QTRY_COMPARE(form->size(), held);
    }

    // From 12000 to 15000 twips wide: ordinary controls by 1.25, the grid by
    // 3000 twips over its recorded width, each column but the row numbers by
    // 3000 \ 4 = 750; no font changes. Back again, everything as it was.
    void widenedAndNarrowedAgain()
    {
        const int rowNumbers = form->grid.ColWidth(0);
        QVERIFY(resizedTo(*form, {1000, 600}));
        QCOMPARE(form->label->geometry(), QRect(775, 25, 200, 50));
        QCOMPARE(form->label->font().pointSizeF(), 10.0);
        QCOMPARE(form->gridView->geometry(), QRect(0, 0, 800, 350));
        QVERIFY(form->fits > 0);
        QCOMPARE(form->bar->geometry(), QRect(800, 0, 17, 350));
        QCOMPARE(form->bar->pageStep(), gTranscription->RowsVisible());
        QCOMPARE(form->grid.ColWidth(0), rowNumbers);
        for (int col = 1; col < 5; ++col)
            QCOMPARE(form->grid.ColWidth(col), 960 + 750);

        QVERIFY(resizedTo(*form, {800, 600}));
        QCOMPARE(form->label->geometry(), QRect(620, 20, 160, 40));
        QCOMPARE(form->gridView->width(), 600);
        QCOMPARE(form->bar->x(), 600);
        for (int col = 1; col < 5; ++col)
            QCOMPARE(form->grid.ColWidth(col), 960);
    }

    // The box goes over the current cell, the row scrolled into view first.
    void visibleBoxLaidOverTheCurrentCell()
    {
        form->grid.setRowCol(30, 2);
        QVERIFY(!form->grid.RowIsVisible(30));
        form->box->show();
        QVERIFY(resizedTo(*form, {900, 600}));
        QVERIFY(form->grid.RowIsVisible(30));
        // The cell as the view lays it out, its grid line included.
        FlexGridView *view = form->gridView;
        const QRect cell = view->visualRect(form->grid.index(30, 2));
        const QPoint corner = view->viewport()->mapTo(form->centralWidget(), cell.topLeft());
        QCOMPARE(form->box->geometry(),
                 QRect(corner, QSize(view->horizontalHeader()->sectionSize(2),
                                     view->verticalHeader()->sectionSize(30))));
    }

    // With no box on view the grid only scrolls to its current row.
    void noBoxScrollsTheGridToItsRow()
    {
        form->grid.setRowCol(30, 2);
        QVERIFY(!form->grid.RowIsVisible(30));
        QVERIFY(resizedTo(*form, {900, 600}));
        QCOMPARE(form->grid.Row(), 30);
        QVERIFY(form->grid.RowIsVisible(30));
        // The box only moved with the width, as any control.
        QCOMPARE(form->box->geometry(), QRect(0, 0, 11, 11));
    }
};

PELKAR_TEST(tst_Resizer)
PELKAR_TEST(tst_MainWindowResizer)
#include "tst_Resizer.moc"
