// The main of every test executable: runs each registered test class.

#include <QtTest>

#ifdef PELKAR_TEST_WIDGETS
#include <QApplication>
using TestApplication = QApplication;
#else
#include <QGuiApplication>
using TestApplication = QGuiApplication;
#endif

#include <functional>
#include <memory>

namespace PelkarTestRegistry {
QList<QPair<const char *, std::function<QObject *()>>> &all();
}

int main(int argc, char **argv)
{
    TestApplication app(argc, argv);
    app.setApplicationName(QStringLiteral("Pelkar"));
    int failed = 0;
    for (const auto &entry : PelkarTestRegistry::all()) {
        std::unique_ptr<QObject> test(entry.second());
        if (QTest::qExec(test.get(), argc, argv) != 0)
            ++failed;
    }
    return failed == 0 ? 0 : 1;
}
