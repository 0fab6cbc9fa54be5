// The companion hand-off: the four values the companion program reads, in
// their formats, under section "Tressel" without the login-name suffix;
// "~" while the program runs, empty once it has ended; and the batch save
// and load reaching them through the batch-file hooks.

#include "PelkarTest.h"

#include "core/Globals.h"
#include "core/Project.h"
#include "core/UserSettings.h"
#include "entry/FlexGrid.h"
#include "mainwindow/clsTressel.h"
#include "transcription/Transcription.h"

#include <QDir>
#include <QFile>
#include <QSettings>

#include <memory>

namespace {
const QString kApp = QStringLiteral("Pelkar");
const QStringList kKeys{"YTQ", "District", "OldRow", "Saved"};

// Read from the file itself, as the companion reads it; "<none>" when the
// key was never written.
QString stored(const QString &key)
{
    QSettings raw(QSettings(QSettings::IniFormat, QSettings::UserScope, kApp, kApp).fileName(),
                  QSettings::IniFormat);
    return raw.value(QStringLiteral("Tressel/") + key, QStringLiteral("<none>")).toString();
}

QStringList storedAll()
{
    QStringList values;
    for (const QString &key : kKeys)
        values << stored(key);
    return values;
}
} // namespace

class tst_Tressel : public PelkarTest
{
    Q_OBJECT

private slots:
    void valuesAsWritten_data()
    {
        QTest::addColumn<QString>("property");
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("value");

        QTest::newRow("ytq-batch-key") << "YTQ" << QStringList{"1900B1"} << "1900B1";
        QTest::newRow("ytq-empty-is-tilde") << "YTQ" << QStringList{""} << "~";
        QTest::newRow("district-and-page") << "District" << QStringList{"Leeds", "0045"}
                                           << "Leeds,0045";
        QTest::newRow("district-with-volume-three-parts")
            << "District" << QStringList{"Leeds,9b", "0045"} << "Leeds,9b,0045";
        QTest::newRow("district-empty-is-tilde") << "District" << QStringList{"", "0045"} << "~";
        QTest::newRow("district-page-empty-is-tilde")
            << "District" << QStringList{"Leeds", ""} << "Leeds,~";
        QTest::newRow("district-reset-by-header-form")
            << "District" << QStringList{"~", "~"} << "~,~";
        QTest::newRow("oldrow-whole") << "OldRow" << QStringList{"12", "Leeds,9b", "0045"}
                                      << "12,Leeds,9b,0045";
        QTest::newRow("oldrow-empty-district-kept-empty")
            << "OldRow" << QStringList{"12", "", "0045"} << "12,,0045";
        QTest::newRow("oldrow-empty-label-and-page")
            << "OldRow" << QStringList{"", "Leeds", ""} << "~,Leeds,~";
        QTest::newRow("oldrow-tilde-district-is-tilde")
            << "OldRow" << QStringList{"12", "~", "0045"} << "~";
        QTest::newRow("oldrow-reset-by-header-form")
            << "OldRow" << QStringList{"~", "~", "~"} << "~";
    }

    void valuesAsWritten()
    {
        QFETCH(QString, property);
        QFETCH(QStringList, arguments);
        QFETCH(QString, value);

        clsTressel tressel;
        if (property == QLatin1String("YTQ"))
            tressel.setYTQ(arguments[0]);
        else if (property == QLatin1String("District"))
            tressel.setDistrict(arguments[0], arguments[1]);
        else
            tressel.setOldRow(arguments[0], arguments[1], arguments[2]);
        tressel.flush();
        QCOMPARE(stored(property), value);
        // Nothing under the program's own per-user section name.
        QCOMPARE(GetUserSetting(kApp, clsTressel::section(), property, "<none>"), "<none>");
    }

    void saved_data()
    {
        QTest::addColumn<QDateTime>("now");
        QTest::addColumn<bool>("unsavedBefore");
        QTest::addColumn<QString>("tail");

        QTest::newRow("no-leading-zeros")
            << QDateTime(QDate(2026, 1, 5), QTime(9, 5, 7)) << true << "5/1,9:5,T";
        QTest::newRow("two-digit-parts")
            << QDateTime(QDate(2026, 12, 23), QTime(14, 30, 59)) << false << "23/12,14:30,F";
        QTest::newRow("midnight-is-hour-0")
            << QDateTime(QDate(2026, 3, 14), QTime(0, 0)) << false << "14/3,0:0,F";
    }

    void saved()
    {
        QFETCH(QDateTime, now);
        QFETCH(bool, unsavedBefore);
        QFETCH(QString, tail);

        ProgramObjects::createProject();
        gProject->setSavePath(homePath("Output"));
        gProject->setBatchName(QStringLiteral("1905B1A0012.ZEL"));
        clock().current = now;
        clsTressel tressel;
        tressel.setSaved(unsavedBefore);
        QCOMPARE(stored("Saved"), homePath("Output/1905B1A0012.ZEL") + u',' + tail);
    }

    // Row moves come faster than the file is rewritten: the latest of each
    // value is what stays, and a value set at once after them is not
    // overtaken by them.
    void latestRowValuesKept()
    {
        clsTressel tressel;
        for (int page = 1; page <= 20; ++page) {
            tressel.setOldRow(QString::number(page), QStringLiteral("Leeds"), QString::number(page));
            tressel.setDistrict(QStringLiteral("Bath"), QString::number(page + 1));
        }
        tressel.setYTQ(QStringLiteral("1901B3"));
        QCOMPARE(stored("YTQ"), QStringLiteral("1901B3"));
        QCOMPARE(stored("OldRow"), QStringLiteral("20,Leeds,20"));
        QCOMPARE(stored("District"), QStringLiteral("Bath,21"));
    }

    // Created: running, nothing yet (the row left last time stays); released:
    // the program has ended.
    void creationMarksRunningAndReleaseEmptiesAll()
    {
        SaveSharedSetting(kApp, "Tressel", "OldRow", "3,Leeds,0012");
        SaveSharedSetting(kApp, "Tressel", "Saved", "/old/1900B1.ZEL,1/1,1:1,F");

        ProgramObjects::createTressel();
        QVERIFY(gTressel);
        QCOMPARE(storedAll(), (QStringList{"~", "~", "3,Leeds,0012", "~"}));

        gTressel->setYTQ("1901B3");
        gTressel->setDistrict("Leeds", "0045");
        gTressel->setOldRow("4", "Leeds", "0045");
        ProgramObjects::releaseAll();
        QVERIFY(!gTressel);
        QCOMPARE(storedAll(), (QStringList{"", "", "", ""}));
    }

    // A restored batch hands over its key, a save its saved state, through
    // the hooks the owner binds.
    void batchLoadAndSaveReachTheCompanion()
    {
        ProgramObjects::createEvents();
        ProgramObjects::createProject();
        ProgramObjects::createChangeMonitor();
        ProgramObjects::createTranscription();
        ProgramObjects::createTressel();
        ProgramObjects::bindBatchFileHooks();
        gProject->setDataPath(home());
        gProject->setSavePath(homePath("Output"));
        QVERIFY(QDir().mkpath(homePath("Output")));
        FlexGrid grid;
        gTranscription->setGrid(&grid);
        const QString batch = homePath("Output/1905B1A0012.ZEL");
        QVERIFY(QFile::copy(QDir(QStringLiteral(PELKAR_FIXTURES))
                                .filePath(QStringLiteral("batch-births-plain-fiche/input.ZEL")),
                            batch));

        QVERIFY(gTranscription->Restore(batch));
        QCOMPARE(storedAll(), (QStringList{"1905B1", "~", "<none>", "~"}));

        // A batch just read holds no change; after an edit the save finds one.
        clock().current = QDateTime(QDate(2026, 3, 14), QTime(9, 26, 53));
        QVERIFY(gTranscription->SaveData(false));
        QCOMPARE(stored("Saved"), batch + QStringLiteral(",14/3,9:26,F"));
        gTranscription->AddRow();
        clock().current = QDateTime(QDate(2026, 3, 14), QTime(10, 2, 0));
        QVERIFY(gTranscription->SaveData(false));
        QCOMPARE(stored("Saved"), batch + QStringLiteral(",14/3,10:2,T"));
        gTranscription->setGrid(nullptr);
    }
};

PELKAR_TEST(tst_Tressel)
#include "tst_Tressel.moc"
