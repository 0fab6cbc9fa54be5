// The migration's progress window, alone and as start-up shows it.

#include "PelkarTest.h"
#include "TestFiles.h"

#include "app/StartUp.h"
#include "core/FormRegistry.h"
#include "core/Globals.h"
#include "core/Project.h"
#include "core/UpdateProgress.h"
#include "core/UserSettings.h"
#include "lists/ForeNames.h"
#include "mainwindow/Form1.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStandardPaths>
#include <QTimer>

#include <functional>
#include <memory>

using TestFiles::readBytes;

namespace {
const QString kApp = QStringLiteral("Pelkar");

bool copyTree(const QString &from, const QString &to)
{
    if (!QDir().mkpath(to))
        return false;
    for (const QFileInfo &entry :
         QDir(from).entryInfoList(QDir::AllEntries | QDir::NoDotAndDotDot)) {
        const QString target = QDir(to).filePath(entry.fileName());
        if (entry.isDir() ? !copyTree(entry.filePath(), target)
                          : !QFile::copy(entry.filePath(), target))
            return false;
    }
    return true;
}

// Does what the transcriber does once the progress window waits modal:
// runs action on it. Looks again after every pass of the event loop until
// then, and stops looking when the returned flag is cleared. The looking
// timer belongs to owner and goes once it has stopped.
std::shared_ptr<bool> whenWaiting(QObject *owner, std::function<void(UpdateProgress &)> action)
{
    auto looking = std::make_shared<bool>(true);
    auto *timer = new QTimer(owner);
    timer->setInterval(0);
    QObject::connect(timer, &QTimer::timeout, timer, [looking, action, timer] {
        if (*looking) {
            auto *w = qobject_cast<UpdateProgress *>(QApplication::activeModalWidget());
            if (!w)
                return;
            *looking = false;
            action(*w);
        }
        timer->stop();
        timer->deleteLater();
    });
    timer->start();
    return looking;
}
} // namespace

class tst_UpdateProgress : public PelkarTest
{
    Q_OBJECT

private slots:
    void textIsAddedLineByLine();
    void finalDisplayWaitsForTheButton();
    void failedMigrationStaysUntilClosed();
    void startWithNoSettingsFileAnywhere();
    void startMigratesAnEarlierInstallation();

protected:
    void tearDownCase() override { SetProgramFolderForMigration(QString()); }

private:
    QString report() const { return homePath(QStringLiteral("Desktop/PelkarUpdateReport7.txt")); }
};

void tst_UpdateProgress::textIsAddedLineByLine()
{
    UpdateProgress window;
    QCOMPARE(window.windowTitle(), QStringLiteral("Version 7 Setup"));
    QVERIFY(IsFormLoaded(QStringLiteral("UpdateProgress")));
    QVERIFY(window.Text1()->isReadOnly());
    QCOMPARE(window.Text1()->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
    QCOMPARE(window.Text1()->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);

    window.ShowModeless();
    QVERIFY(window.isVisible());
    QVERIFY(!window.isModal());
    QVERIFY(!window.Command()->isVisible());
    window.AddText(QStringLiteral("Found a Previous install"));
    window.AddText(QStringLiteral("Previous Path=/opt/old pelkar"));
    QCOMPARE(window.Text1()->toPlainText(),
             QStringLiteral("Found a Previous install\nPrevious Path=/opt/old pelkar\n"));
    // The transcriber cannot type into the report.
    QTest::keyClicks(window.Text1(), QStringLiteral("xyz"));
    QCOMPARE(window.Text1()->toPlainText(),
             QStringLiteral("Found a Previous install\nPrevious Path=/opt/old pelkar\n"));
}

void tst_UpdateProgress::finalDisplayWaitsForTheButton()
{
    UpdateProgress window;
    window.ShowModeless();
    window.AddText(QStringLiteral("Copied previous ini"));
    bool buttonShown = false;
    const auto looking = whenWaiting(this, [&](UpdateProgress &w) {
        buttonShown = w.Command()->isVisible() && w.Command()->text() == "Ok, I've read this";
        QTest::mouseClick(w.Command(), Qt::LeftButton);
    });

    window.ShowFinalModal();

    QVERIFY(!*looking);
    QVERIFY(buttonShown);
    QVERIFY(!window.isVisible());
    QCOMPARE(window.result(), int(QDialog::Accepted));
}

// With the migration stopped, the run ends: the window holds the reason
// until the transcriber closes it.
void tst_UpdateProgress::failedMigrationStaysUntilClosed()
{
    ProgramObjects::createEvents();
    ProgramObjects::createProject();
    const QString data = homePath(QStringLiteral("Pelkar_Files"));
    const QString earlier = homePath(QStringLiteral("OldPelkar"));
    QVERIFY(QDir().mkpath(data));
    QVERIFY(copyTree(TestFiles::fixture(QStringLiteral("migration/earlier")), earlier));
    QVERIFY(QFile::remove(QDir(earlier).filePath(QStringLiteral("Files/Pelkar_Name2.txt"))));
    SetProgramFolderForMigration(TestFiles::fixture(QStringLiteral("migration/program")));
    SaveSharedSetting(kApp, QStringLiteral("Startup"), QStringLiteral("AppPath"), earlier);
    gProject->setDataPath(data);
    gForceMigration = true;

    script->answer(QStringLiteral("Ok"));
    QString shown;
    bool buttonShown = true;
    const auto looking = whenWaiting(this, [&](UpdateProgress &w) {
        shown = w.Text1()->toPlainText();
        buttonShown = w.Command()->isVisible();
        w.close();
    });
    QVERIFY(!Tidy_Version6WithProgress());

    QVERIFY(!*looking);
    QVERIFY(!buttonShown);
    QVERIFY2(shown.endsWith(QStringLiteral("Update Failed, Can't find Pelkar_Name2\n")),
             qPrintable(shown));
    QCOMPARE(script->records()[0].prompt,
             QStringLiteral("Failed to find Pelkar_Name2.txt in setup"));
    QVERIFY(!IsFormLoaded(QStringLiteral("UpdateProgress")));
}

// A new transcriber: no earlier installation, no settings file anywhere.
// The start goes on to the header form, asking nothing but the folder and
// showing the welcome; the progress window does not wait.
void tst_UpdateProgress::startWithNoSettingsFileAnywhere()
{
    QVERIFY(QDir().mkpath(homePath(QStringLiteral("Desktop"))));
    script->answer({QStringLiteral("Use Default"), QStringLiteral("Ok")});
    const auto looking = whenWaiting(this, [](UpdateProgress &w) { w.close(); });
    Form1 mainWindow;
    QVERIFY(mainWindow.Load());
    *looking = false;

    QCOMPARE(script->records().size(), 2);
    QCOMPARE(script->records()[1].prompt, WelcomeText());
    QCOMPARE(gHeaderReason, 2);
    QVERIFY(mainWindow.headerForm() && mainWindow.headerForm()->isVisible());
    QVERIFY(!IsFormLoaded(QStringLiteral("UpdateProgress")));
    const QString data = QDir(QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation))
                             .filePath(QStringLiteral("Pelkar_Files"));
    const QString text = QString::fromLatin1(readBytes(report()));
    QVERIFY2(text.contains(QStringLiteral("\r\nDataPath=") + data + QStringLiteral("\r\n")),
             qPrintable(text));
    QVERIFY(text.contains(QStringLiteral("\r\nCan't find an ini to copy?\r\n")));
    QVERIFY(text.endsWith(QStringLiteral(" Result=True\r\n")));
    QCOMPARE(GetUserSetting(kApp, QStringLiteral("Startup"), QStringLiteral("V6Cleaned")),
             QStringLiteral("Y"));
    // The lists were made from the shipped files as they were read.
    QVERIFY(gForeNames && gForeNames->TestForName(QStringLiteral("MARY")));
    QCOMPARE(gProject->DistrictVersion(), QStringLiteral("??"));
    mainWindow.close();
}

// The first start after an earlier installation: its files come in, the
// window waits for "Ok, I've read this", and the start goes on with the
// earlier lists.
void tst_UpdateProgress::startMigratesAnEarlierInstallation()
{
    const QString earlier = homePath(QStringLiteral("OldPelkar"));
    QVERIFY(copyTree(TestFiles::fixture(QStringLiteral("migration/earlier")), earlier));
    SetProgramFolderForMigration(TestFiles::fixture(QStringLiteral("migration/program")));
    SaveSharedSetting(kApp, QStringLiteral("Startup"), QStringLiteral("AppPath"), earlier);

    script->answer({QStringLiteral("Use Default"), QStringLiteral("Ok")});
    QString shown;
    const auto looking = whenWaiting(this, [&](UpdateProgress &w) {
        shown = w.Text1()->toPlainText();
        QTest::mouseClick(w.Command(), Qt::LeftButton);
    });
    Form1 mainWindow;
    QVERIFY(mainWindow.Load());

    QVERIFY(!*looking);
    QVERIFY2(shown.contains(QStringLiteral("\nCopied previous ini\n")), qPrintable(shown));
    QCOMPARE(script->records().size(), 2);
    QCOMPARE(gHeaderReason, 2);
    QVERIFY(!IsFormLoaded(QStringLiteral("UpdateProgress")));
    QVERIFY(gForeNames && gForeNames->TestForName(QStringLiteral("EBENEZER")));
    QCOMPARE(gProject->DoBQtr(), 4);
    mainWindow.close();
}

PELKAR_TEST(tst_UpdateProgress)
#include "tst_UpdateProgress.moc"
