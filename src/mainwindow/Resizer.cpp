#include "mainwindow/Resizer.h"

#include "core/Globals.h"
#include "core/VbHelpers.h"
#include "core/clsEvents.h"
#include "entry/FlexGrid.h"
#include "entry/FlexGridView.h"
#include "lists/frmPickList.h"
#include "transcription/Transcription.h"

#include <QLayout>
#include <QMainWindow>
#include <QMenuBar>
#include <QScrollBar>
#include <QStatusBar>

namespace {
constexpr int kMainMinHeight = 1860;
constexpr int kMainMinWidth = 3100;

bool isControl(const QWidget *w)
{
    const QString name = w->objectName();
    return !w->isWindow() && !name.isEmpty() && !name.startsWith(QLatin1String("qt_"));
}

void collectControls(const QWidget *parent, std::vector<QWidget *> &controls)
{
    for (QObject *child : parent->children()) {
        auto *w = qobject_cast<QWidget *>(child);
        if (!w || w->isWindow())
            continue;
        if (isControl(w))
            controls.push_back(w);
        collectControls(w, controls);
    }
}

bool layoutHolds(const QLayout *layout, const QWidget *w)
{
    for (int i = 0; i < layout->count(); ++i) {
        QLayoutItem *item = layout->itemAt(i);
        if (item->widget() == w)
            return true;
        if (item->layout() && layoutHolds(item->layout(), w))
            return true;
    }
    return false;
}

bool placedByLayout(const QWidget *w)
{
    const QWidget *parent = w->parentWidget();
    if (!parent)
        return false;
    // A main window's direct children (central widget, bars, docks) are
    // all placed by its own layout.
    if (qobject_cast<const QMainWindow *>(parent))
        return true;
    return parent->layout() && layoutHolds(parent->layout(), w);
}

// Not moved or sized: the menu bar, the status bar and vertical scroll bars.
bool keepsItsPlace(const QWidget *w)
{
    if (qobject_cast<const QMenuBar *>(w) || qobject_cast<const QStatusBar *>(w))
        return true;
    const auto *bar = qobject_cast<const QScrollBar *>(w);
    return bar && bar->orientation() == Qt::Vertical;
}

int scaled(int pixels, double factor, bool horizontal)
{
    return horizontal ? TwipsToPixelsX(PixelsToTwipsX(pixels) * factor)
                      : TwipsToPixelsY(PixelsToTwipsY(pixels) * factor);
}
} // namespace

void Resizer::setForm(QWidget *form)
{
    mForm = form;
    mControls.clear();
    if (!form)
        return;
    mDesignWidth = PixelsToTwipsX(form->width());
    mLastWidth = mDesignWidth;
    mDesignHeight = PixelsToTwipsY(form->height());
    std::vector<QWidget *> controls;
    collectControls(form, controls);
    mControls.reserve(controls.size());
    for (QWidget *w : controls) {
        const QRect g = w->geometry();
        mControls.push_back({w, PixelsToTwipsX(g.left()), PixelsToTwipsY(g.top()),
                             PixelsToTwipsX(g.width()), PixelsToTwipsY(g.height()),
                             std::max(0.0, w->font().pointSizeF())});
    }
}

bool Resizer::isMainWindow() const
{
    return mForm && mForm->objectName() == QLatin1String("Form1");
}

QWidget *Resizer::control(const QString &name) const
{
    for (const Control &c : mControls) {
        if (c.widget && VbUCase(c.widget->objectName()) == VbUCase(name))
            return c.widget;
    }
    return nullptr;
}

void Resizer::FormResize()
{
    if (!mForm || mForm->isMinimized())
        return;
    QWidget &form = *mForm;
    const bool mainWindow = isMainWindow();
    const bool pickList = form.objectName() == QLatin1String("frmPickList");
    const int width = PixelsToTwipsX(form.width());
    const int height = PixelsToTwipsY(form.height());

    if (mainWindow && height < kMainMinHeight) {
        form.resize(form.width(), TwipsToPixelsY(kMainMinHeight));
        return;
    }
    if (mainWindow && width < kMainMinWidth) {
        form.resize(TwipsToPixelsX(kMainMinWidth), form.height());
        return;
    }
    if (width <= 0 || height <= 0 || mLastWidth <= 0)
        return;

    const double x = double(mDesignWidth) / width;
    const double y = double(mDesignHeight) / height;
    const double fontDivisor = (x + y) / 2;
    const double step = double(width) / mLastWidth;

    EventsOffGuard quiet;
    for (const Control &c : mControls) {
        QWidget *w = c.widget;
        if (!w)
            continue;
        const bool grid = VbUCase(w->objectName()) == QLatin1String("FGINPUT");
        if (grid) {
            if (!placedByLayout(w)) {
                QRect g = w->geometry();
                g.setWidth(TwipsToPixelsX(c.width + (width - mDesignWidth)));
                w->setGeometry(g);
            }
            if (mMainWindow)
                mMainWindow->FitGridHeight();
        } else if (!keepsItsPlace(w) && !placedByLayout(w)) {
            const QRect g = w->geometry();
            w->setGeometry(scaled(g.left(), step, true), scaled(g.top(), step, false),
                           scaled(g.width(), step, true), scaled(g.height(), step, false));
        }
        if (!mainWindow && !pickList && c.fontSize > 0) {
            QFont f = w->font();
            f.setPointSizeF(c.fontSize / fontDivisor);
            w->setFont(f);
        }
    }

    if (pickList) {
        if (auto *list = qobject_cast<frmPickList *>(mForm))
            list->Resize_Picklist_LV();
    }
    if (mainWindow) {
        QWidget *grid = control(QStringLiteral("fgInput"));
        if (auto *bar = qobject_cast<QScrollBar *>(control(QStringLiteral("VScroll1")));
            bar && grid) {
            bar->setGeometry(grid->x() + grid->width(), bar->y(), bar->width(), grid->height());
            if (gTranscription)
                bar->setPageStep(gTranscription->RowsVisible());
        }
        FlexGrid *cells = gTranscription ? gTranscription->grid() : nullptr;
        if (cells && cells->Cols() > 1) {
            const int share = (width - mLastWidth) / (cells->Cols() - 1);
            if (share != 0)
                gTranscription->AdjustColumnWidths(share);
        }
        ResetBox();
    }
    mLastWidth = width;
}

void Resizer::ResetBox()
{
    auto *view = qobject_cast<FlexGridView *>(control(QStringLiteral("fgInput")));
    FlexGrid *grid = view ? view->grid() : nullptr;
    if (!grid || !gTranscription || gTranscription->grid() != grid)
        return;
    EventsOffGuard quiet;
    const int row = grid->Row();
    QWidget *box = mMainWindow ? mMainWindow->VisibleEntryBox() : nullptr;
    if (!box) {
        gTranscription->ScrollGrid(row);
        gTranscription->UpdateScrollBar();
        return;
    }
    if (!grid->RowIsVisible(row))
        gTranscription->PositionGrid(row, false);
    QPoint at
        = view->pos() + QPoint(TwipsToPixelsX(view->CellLeft()), TwipsToPixelsY(view->CellTop()));
    if (QWidget *from = view->parentWidget(), *to = box->parentWidget(); from && to && from != to)
        at = to->mapFromGlobal(from->mapToGlobal(at));
    box->setGeometry(at.x(), at.y(), TwipsToPixelsX(view->CellWidth()),
                     TwipsToPixelsY(view->CellHeight()));
}
