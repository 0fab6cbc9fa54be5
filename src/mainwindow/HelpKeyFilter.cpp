#include "mainwindow/HelpKeyFilter.h"

#include "mainwindow/HelpTopics.h"

#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>
#include <QVariant>
#include <QWidget>

namespace {
int contextOf(const QObject *o)
{
    return o ? o->property("HelpContextID").toInt() : 0;
}
} // namespace

HelpKeyFilter::HelpKeyFilter(QObject *parent) : QObject(parent) {}

int HelpKeyFilter::HelpContextOf(const QWidget *w)
{
    for (; w; w = w->parentWidget()) {
        if (const int context = contextOf(w); context > 0)
            return context;
    }
    return 0;
}

int HelpKeyFilter::HelpContextFor(const QObject *receiver)
{
    // An open menu: its highlighted item, else the menu itself (its own
    // item in the menu above, or the menu widget).
    if (auto *menu = qobject_cast<const QMenu *>(receiver)) {
        if (const int context = contextOf(menu->activeAction()); context > 0)
            return context;
        if (const int context = contextOf(menu->menuAction()); context > 0)
            return context;
    }
    // The menu bar with a menu title highlighted from the keyboard.
    if (auto *bar = qobject_cast<const QMenuBar *>(receiver)) {
        if (const int context = contextOf(bar->activeAction()); context > 0)
            return context;
    }
    return HelpContextOf(qobject_cast<const QWidget *>(receiver));
}

bool HelpKeyFilter::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() != QEvent::KeyPress)
        return QObject::eventFilter(watched, event);
    auto *key = static_cast<QKeyEvent *>(event);
    constexpr auto modifiers = Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier;
    if (key->key() != Qt::Key_F1 || (key->modifiers() & modifiers) || key->isAutoRepeat())
        return QObject::eventFilter(watched, event);
    // A key typed on the desktop reaches the window system's window first
    // (not a widget, and carrying no topic), which hands it on to the
    // widget that has the focus or the open menu: the page is chosen there.
    if (!watched->isWidgetType())
        return QObject::eventFilter(watched, event);
    // A key press goes first to the focus widget (or the open menu), and
    // would come here again for each parent it travels on to: it is taken
    // here, so it opens one page.
    OpenHelpFile(HelpContextFor(watched));
    return true;
}

void InstallHelpKey()
{
    static QPointer<HelpKeyFilter> filter;
    if (filter || !qApp)
        return;
    filter = new HelpKeyFilter(qApp);
    qApp->installEventFilter(filter);
}
