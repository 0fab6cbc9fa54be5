#pragma once

// The base of every test class. Each test function gets:
// - a fresh temporary HOME holding its data, per-user values (QSettings INI
//   scope) and runtime folder (so parallel tests never share the instance
//   lock), also inherited by any program it starts;
// - scripted services: every message must have an answer queued in
//   `script`, or the test fails; answers left unused fail it too;
// - a failure on any warning outside a short allow-list.
// Derived classes put their set-up in setUpCase()/tearDownCase() rather than
// init()/cleanup().
//
// Tests create and release the program-wide objects through their owner,
// which every test may use without naming it.

#include "app/ProgramObjects.h"
#include "core/ScriptedServices.h"

#include <QObject>
#include <QTemporaryDir>
#include <QtTest>

#include <functional>
#include <memory>

class PelkarTest : public QObject
{
    Q_OBJECT

protected:
    virtual void setUpCase() {}
    virtual void tearDownCase() {}

    // The test's own folder (the HOME of the test).
    QString home() const { return mHome->path(); }
    // A path inside it.
    QString homePath(const QString &relative) const;

    ScriptedInputService &input();
    ScriptedClock &clock();

    std::shared_ptr<Script> script;

private slots:
    void init();
    void cleanup();

private:
    std::unique_ptr<QTemporaryDir> mHome;
};

// Registers a test class with the support main, which runs every
// registered class in turn.
namespace PelkarTestRegistry {
int add(const char *name, std::function<QObject *()> factory);
}

#define PELKAR_TEST(Class)                                                                         \
    static const int pelkarTestRegistered_##Class =                                                \
        PelkarTestRegistry::add(#Class, [] { return new Class; });
