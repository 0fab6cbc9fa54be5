#include "PelkarTest.h"
#include "TempHome.h"

#include "core/Globals.h"
#include "core/SettingsFileStore.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QSettings>
#include <QStandardPaths>

QString PelkarTest::homePath(const QString &relative) const
{
    return QDir(home()).filePath(relative);
}

ScriptedInputService &PelkarTest::input()
{
    return static_cast<ScriptedInputService &>(Services::input());
}

ScriptedClock &PelkarTest::clock()
{
    return static_cast<ScriptedClock &>(Services::clock());
}

void PelkarTest::init()
{
    // What the offscreen platform says about every window is not a fault.
    QTest::failOnWarning(QRegularExpression(
        QStringLiteral("^(?!.*(propagateSizeHints|This plugin does not support)).*")));

    mHome = std::make_unique<QTemporaryDir>();
    QVERIFY(mHome->isValid());
    QVERIFY(UseTemporaryHome(QDir(mHome->path()), {"Documents"}));

    ProgramObjects::releaseAll();
    ProgramObjects::resetState();
    ClearIniStore();
    script = installScriptedServices();
    script->onUnexpected = [](const MessageRecord &r) {
        const QByteArray text = "A message nobody expected (" + r.kind.toUtf8() + ", title \""
                                + r.title.toUtf8() + "\"): " + r.prompt.toUtf8();
        QTest::qFail(text.constData(), __FILE__, __LINE__);
    };
    setUpCase();
}

void PelkarTest::cleanup()
{
    tearDownCase();
    ProgramObjects::releaseAll();
    ProgramObjects::resetState();
    ClearIniStore();
    const QStringList left = script ? script->pending() : QStringList();
    script.reset();
    Services::clear();
    mHome.reset();
    if (!left.isEmpty()) {
        const QByteArray text = "Answers never asked for: " + left.join(QLatin1String(" | ")).toUtf8();
        QTest::qFail(text.constData(), __FILE__, __LINE__);
    }
}

namespace PelkarTestRegistry {
QList<QPair<const char *, std::function<QObject *()>>> &all()
{
    static QList<QPair<const char *, std::function<QObject *()>>> list;
    return list;
}

int add(const char *name, std::function<QObject *()> factory)
{
    all().append({name, std::move(factory)});
    return all().size();
}
} // namespace PelkarTestRegistry
