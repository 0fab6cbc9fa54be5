// The bare program the start-up benchmark measures Pelkar against: a Qt
// Widgets main window with a menu bar, shown, and ended by a zero timer
// once the event loop has handled the show, as Pelkar ends when
// PELKAR_CLOSE_WHEN_STARTED is set; like Pelkar, it then prints "started"
// on its standard output. It links nothing of Pelkar's.

#include <QApplication>
#include <QMainWindow>
#include <QMenuBar>
#include <QTimer>

#include <cstdio>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QMainWindow window;
    for (const char *title : {"&File", "&Edit", "&Lists", "&Options", "&Help"}) {
        QMenu *menu = window.menuBar()->addMenu(QString::fromLatin1(title));
        for (int i = 0; i < 8; ++i)
            menu->addAction(QStringLiteral("Item %1").arg(i));
    }
    window.resize(800, 600);
    window.show();
    QTimer::singleShot(0, &app, [] {
        std::fputs("started\n", stdout);
        std::fflush(stdout);
        QCoreApplication::quit();
    });
    return app.exec();
}
