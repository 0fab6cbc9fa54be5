// The open batch's header: the period rules that pick the grid's optional
// column, the letters and trims of its properties, the completeness test,
// the header-line count, the supplementary file ranges, ClearHeader, the
// supplementary menu captions, the saves some setters make, and the trace
// file.

#include "PelkarTest.h"
#include "TestFiles.h"

#include "core/Globals.h"
#include "core/HeaderTypes.h"
#include "core/Project.h"
#include "transcription/Change_Monitor.h"

#include <QDir>
#include <QFileInfo>

#include <functional>
#include <map>

using namespace TestFiles;

namespace {

// The main window's supplementary menu, recording each caption it is given.
struct RecordingSuppMenu : SuppMenuSink
{
    QList<QPair<int, QString>> captions;
    void setSuppCaption(int i, const QString &fileName) override { captions.append({i, fileName}); }
};

// A header complete in every field, less the ones named in omit ("year",
// "quarter", "event", "source", "page", "letter", "vnf", "ref",
// "transcriber", "syndicate"). Starts from ClearHeader, as the readers do,
// so that an omitted text is truly empty.
void fillHeader(Project &p, const QStringList &omit = {})
{
    p.ClearHeader();
    const auto keep = [&omit](const char *field) { return !omit.contains(QLatin1String(field)); };
    if (keep("year"))
        p.setIYear(1905);
    if (keep("quarter"))
        p.setQtr(Quarter::June);
    if (keep("event"))
        p.setEventType(EventType::Births);
    if (keep("source"))
        p.setSourceType(SourceType::Fiche);
    if (keep("page"))
        p.setPage("12");
    if (keep("letter"))
        p.setPageLetter("A");
    if (keep("vnf"))
        p.setIVnf(VolumeNumberFormat::Vnf9z);
    if (keep("ref"))
        p.setSourceRef("RG1/23");
    if (keep("transcriber"))
        p.setUserID("Ann Smith");
    if (keep("syndicate"))
        p.setSyndicate("North");
}

struct TextProperty
{
    std::function<void(Project &, const QString &)> set;
    std::function<QString(const Project &)> get;
};

// Properties that neither save nor depend on anything else.
const std::map<QString, TextProperty> &textProperties()
{
    static const std::map<QString, TextProperty> map = {
        {"Page", {&Project::setPage, &Project::Page}},
        {"PageNumber", {&Project::setPage, &Project::PageNumber}},
        {"SourceRef", {&Project::setSourceRef, &Project::SourceRef}},
        {"UserID", {&Project::setUserID, &Project::UserID}},
        {"Syndicate", {&Project::setSyndicate, &Project::Syndicate}},
        {"email", {&Project::setEmail, &Project::email}},
        {"Password", {&Project::setPassword, &Project::Password}},
        {"CodePage", {&Project::setCodePage, &Project::CodePage}},
    };
    return map;
}

// Setters that store and then save every setting, or (Password) only store.
const std::map<QString, TextProperty> &savingProperties()
{
    static const std::map<QString, TextProperty> map = {
        {"Submitter", {&Project::setSubmitter, &Project::Submitter}},
        {"CreditEmail", {&Project::setCreditEmail, &Project::CreditEmail}},
        {"CreditType", {&Project::setCreditType, &Project::CreditType}},
        {"Password", {&Project::setPassword, &Project::Password}},
    };
    return map;
}

} // namespace

class tst_HeaderState : public PelkarTest
{
    Q_OBJECT

protected:
    void setUpCase() override
    {
        ProgramObjects::createEvents();
        ProgramObjects::createProject();
        QVERIFY(QDir().mkpath(homePath("data")));
        gProject->setDataPath(homePath("data"));
        gProject->setFilesPath(homePath("data/Files"));
    }

private:
    QString dataFile(const QString &name) const { return QDir(homePath("data")).filePath(name); }

private slots:
    // ---- Period rules ---------------------------------------------------------------

    void periodRules_data()
    {
        QTest::addColumn<int>("event");
        QTest::addColumn<int>("year");
        QTest::addColumn<int>("quarter");
        QTest::addColumn<bool>("mother");
        QTest::addColumn<bool>("spouse");
        QTest::addColumn<bool>("dob");

        const int B = EventType::Births, D = EventType::Deaths, M = EventType::Marriages;
        const auto row = [](const char *name, int event, int year, int quarter, bool mother,
                            bool spouse, bool dob) {
            QTest::newRow(name) << event << year << quarter << mother << spouse << dob;
        };
        // The thresholds the test loads: MomQtr 3, SpouseQtr 2, DoBQtr 2.
        row("births-1911-march-before-momsqtr", B, 1911, 1, false, false, false);
        row("births-1911-june-before-momsqtr", B, 1911, 2, false, false, false);
        row("births-1911-september-at-momsqtr", B, 1911, 3, true, false, false);
        row("births-1911-december", B, 1911, 4, true, false, false);
        row("births-1910-december", B, 1910, 4, false, false, false);
        row("births-1912-march", B, 1912, 1, true, false, false);
        row("births-1990-june", B, 1990, 2, true, false, false);
        row("marriages-1911-september-no-mother", M, 1911, 3, false, false, false);
        row("deaths-1950-no-mother", D, 1950, 3, false, false, false);
        row("marriages-1912-march-before-spouseqtr", M, 1912, 1, false, false, false);
        row("marriages-1912-june-at-spouseqtr", M, 1912, 2, false, true, false);
        row("marriages-1911-december", M, 1911, 4, false, false, false);
        row("marriages-1913-march", M, 1913, 1, false, true, false);
        row("births-1913-no-spouse", B, 1913, 1, true, false, false);
        row("deaths-1969-march-age-at-death", D, 1969, 1, false, false, false);
        row("deaths-1969-june-at-dobqtr", D, 1969, 2, false, false, true);
        row("deaths-1969-december", D, 1969, 4, false, false, true);
        row("deaths-1968-december", D, 1968, 4, false, false, false);
        row("deaths-1970-march", D, 1970, 1, false, false, true);
        row("births-1975-no-dob", B, 1975, 2, true, false, false);
        row("marriages-1980-no-dob", M, 1980, 2, false, true, false);
        row("no-event-type", int(EventType::None), 1990, 2, false, false, false);
    }

    void periodRules()
    {
        QFETCH(int, event);
        QFETCH(int, year);
        QFETCH(int, quarter);
        QFETCH(bool, mother);
        QFETCH(bool, spouse);
        QFETCH(bool, dob);

        // The thresholds come from the settings; SpouseQtr 2 differs from
        // its default, so a rule that ignored the setting would show.
        QVERIFY(writeBytes(dataFile("Pelkarini.txt"),
                           "[Startup]\r\nMomQtr=3\r\nSpouseQtr=2\r\nDoBQtr=2\r\n"));
        QVERIFY(gProject->GetRegistryValues());
        gProject->setEventType(event);
        gProject->setIYear(year);
        gProject->setQtr(quarter);

        QCOMPARE(gProject->Mother(), mother);
        QCOMPARE(gProject->Spouse(), spouse);
        QCOMPARE(gProject->DoB(), dob);
    }

    // ---- Letters and texts ------------------------------------------------------------

    void zelLetter_data()
    {
        QTest::addColumn<int>("before");
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("event");
        QTest::addColumn<QString>("letter");

        QTest::newRow("leading-spaces-lower-births") << 0 << "   births" << 1 << "B";
        QTest::newRow("deaths-word") << 1 << "Deaths" << 2 << "D";
        QTest::newRow("lower-m-marriages") << 0 << "m" << 3 << "M";
        QTest::newRow("other-letter-unchanged") << 2 << "xyz" << 2 << "D";
        QTest::newRow("empty-unchanged") << 3 << "" << 3 << "M";
        // Only spaces are trimmed: a tab is the first character.
        QTest::newRow("tab-before-letter-unchanged") << 2 << "\tBirths" << 2 << "D";
        QTest::newRow("out-of-range-event-has-no-letter") << 7 << "q" << 7 << "";
    }

    void zelLetter()
    {
        QFETCH(int, before);
        QFETCH(QString, text);
        QFETCH(int, event);
        QFETCH(QString, letter);

        gProject->setEventType(before);
        gProject->setZelLetter(text);
        QCOMPARE(gProject->EventType(), event);
        QCOMPARE(gProject->ZelLetter(), letter);
        QCOMPARE(gProject->bDeath(), event == EventType::Deaths);
    }

    void pageLetterAndSuffix_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("letter");
        QTest::addColumn<QString>("suffix");

        QTest::newRow("blank-letter-stores-zero") << "   " << "0" << "";
        QTest::newRow("empty-letter-stores-zero") << "" << "0" << "";
        QTest::newRow("space-then-two-lower-keeps-case") << " ab" << "a" << "a";
        QTest::newRow("trailing-spaces") << "Q  " << "Q" << "Q";
        QTest::newRow("tab-is-a-character") << "\tb" << "\t" << "\t";
    }

    void pageLetterAndSuffix()
    {
        QFETCH(QString, text);
        QFETCH(QString, letter);
        QFETCH(QString, suffix);

        gProject->setPageLetter(text);
        gProject->setPageSuffix(text);
        QCOMPARE(gProject->PageLetter(), letter);
        QCOMPARE(gProject->PageSuffix(), suffix);
    }

    void textProperty_data()
    {
        QTest::addColumn<QString>("property");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("read");

        QTest::newRow("page-trimmed") << "Page" << "  12A " << "12A";
        QTest::newRow("page-keeps-tab") << "Page" << "\t12 " << "\t12";
        QTest::newRow("page-number-is-the-page") << "PageNumber" << " 7 " << "7";
        QTest::newRow("source-ref-untrimmed") << "SourceRef" << " RG1 " << " RG1 ";
        QTest::newRow("transcriber-read-trimmed") << "UserID" << " Ann " << "Ann";
        QTest::newRow("syndicate-read-trimmed") << "Syndicate" << "North  " << "North";
        QTest::newRow("email-read-trimmed") << "email" << "  a@b.example" << "a@b.example";
        QTest::newRow("password-trimmed") << "Password" << " secret " << "secret";
        QTest::newRow("code-page-lower-cased") << "CodePage" << "CP1252" << "cp1252";
    }

    void textProperty()
    {
        QFETCH(QString, property);
        QFETCH(QString, text);
        QFETCH(QString, read);
        const TextProperty &p = textProperties().at(property);

        p.set(*gProject, text);
        QCOMPARE(p.get(*gProject), read);
    }

    void vnf_data()
    {
        QTest::addColumn<int>("format");
        QTest::addColumn<QString>("text");

        QTest::newRow("none") << 0 << "";
        QTest::newRow("number-and-letter") << Project::iVNF9z() << "9z";
        QTest::newRow("digits") << Project::iVNF99() << "99";
        QTest::newRow("roman") << Project::iVNFxx() << "xx";
        QTest::newRow("out-of-range") << 4 << "";
    }

    void vnf()
    {
        QFETCH(int, format);
        QFETCH(QString, text);

        gProject->setIVnf(format);
        QCOMPARE(gProject->vnf(), text);
    }

    // ---- Completeness -------------------------------------------------------------------

    void headerIsComplete_data()
    {
        QTest::addColumn<QStringList>("omit");
        QTest::addColumn<QString>("submitter");
        QTest::addColumn<QString>("password");
        QTest::addColumn<bool>("complete");
        QTest::addColumn<bool>("noPageLetter");

        const QStringList none;
        QTest::newRow("neither-submitter-nor-password") << none << "" << "" << true << false;
        QTest::newRow("submitter-and-password") << none << "S1" << "pw" << true << false;
        QTest::newRow("password-only") << none << "" << "pw" << false << false;
        QTest::newRow("submitter-only") << none << "S1" << "" << false << false;
        QTest::newRow("no-year") << QStringList{"year"} << "" << "" << false << false;
        QTest::newRow("no-quarter") << QStringList{"quarter"} << "" << "" << false << false;
        QTest::newRow("no-event-type") << QStringList{"event"} << "" << "" << false << false;
        QTest::newRow("no-source-type") << QStringList{"source"} << "" << "" << false << false;
        QTest::newRow("empty-page-letter") << QStringList{"letter"} << "" << "" << false << true;
        QTest::newRow("empty-page-letter-checked-before-vnf")
            << QStringList{"letter", "vnf", "ref"} << "" << "" << false << true;
        QTest::newRow("empty-page-with-letter") << QStringList{"page"} << "" << "" << false
                                                << false;
        QTest::newRow("empty-page-and-letter")
            << QStringList{"page", "letter"} << "" << "" << false << false;
        QTest::newRow("no-year-and-no-letter")
            << QStringList{"year", "letter"} << "" << "" << false << false;
        QTest::newRow("no-volume-format") << QStringList{"vnf"} << "" << "" << false << false;
        QTest::newRow("no-source-ref") << QStringList{"ref"} << "" << "" << false << false;
        QTest::newRow("no-transcriber") << QStringList{"transcriber"} << "" << "" << false << false;
        QTest::newRow("no-syndicate") << QStringList{"syndicate"} << "" << "" << false << false;
    }

    void headerIsComplete()
    {
        QFETCH(QStringList, omit);
        QFETCH(QString, submitter);
        QFETCH(QString, password);
        QFETCH(bool, complete);
        QFETCH(bool, noPageLetter);

        fillHeader(*gProject, omit);
        gProject->setSubmitter(submitter);
        gProject->setPassword(password);
        // The flag is set both ways, whatever it held before.
        gProject->setNoPageLetter(!noPageLetter);

        QCOMPARE(gProject->HeaderIsComplete(), complete);
        QCOMPARE(gProject->NoPageLetter(), noPageLetter);
    }

    // The texts are tested as stored: spaces count as present, although
    // the getters read them trimmed.
    void headerIsCompleteCountsSpacesAsPresent()
    {
        fillHeader(*gProject);
        gProject->setUserID("   ");
        gProject->setSyndicate(" ");
        QCOMPARE(gProject->UserID(), QString());
        QVERIFY(gProject->HeaderIsComplete());
    }

    void headerLines_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("email");
        QTest::addColumn<QString>("type");
        QTest::addColumn<int>("lines");

        QTest::newRow("no-credit") << "" << "" << "" << 4;
        QTest::newRow("credit-type-only") << "" << "" << "Photographs" << 5;
        QTest::newRow("credit-name-only") << "Bob" << "" << "" << 5;
        QTest::newRow("credit-email-only") << "" << "bob@x.example" << "" << 5;
        QTest::newRow("credit-of-spaces") << "  " << " " << "   " << 4;
    }

    void headerLines()
    {
        QFETCH(QString, name);
        QFETCH(QString, email);
        QFETCH(QString, type);
        QFETCH(int, lines);

        gProject->setCreditName(name);
        gProject->setCreditEmail(email);
        gProject->setCreditType(type);
        QCOMPARE(gProject->HeaderLines(), lines);
    }

    // ---- Supplementary district files -------------------------------------------------

    void iSuppRange_data()
    {
        QTest::addColumn<int>("year");
        QTest::addColumn<int>("quarter");
        QTest::addColumn<int>("file");

        QTest::newRow("year-1") << 1 << 1 << 1;
        QTest::newRow("1945-december") << 1945 << 4 << 1;
        QTest::newRow("1946-march") << 1946 << 1 << 1;
        QTest::newRow("1946-june") << 1946 << 2 << 1;
        QTest::newRow("1946-september") << 1946 << 3 << 2;
        QTest::newRow("1946-december") << 1946 << 4 << 2;
        QTest::newRow("1947-march") << 1947 << 1 << 2;
        QTest::newRow("1964-december") << 1964 << 4 << 2;
        QTest::newRow("1965-march") << 1965 << 1 << 2;
        QTest::newRow("1965-june") << 1965 << 2 << 3;
        QTest::newRow("1966-march") << 1966 << 1 << 3;
        QTest::newRow("1973-december") << 1973 << 4 << 3;
        QTest::newRow("1974-march") << 1974 << 1 << 3;
        QTest::newRow("1974-june") << 1974 << 2 << 4;
        QTest::newRow("1975-march") << 1975 << 1 << 4;
        QTest::newRow("year-0") << 0 << 1 << 4;
        QTest::newRow("negative-year") << -5 << 3 << 4;
    }

    void iSuppRange()
    {
        QFETCH(int, year);
        QFETCH(int, quarter);
        QFETCH(int, file);

        gProject->setIYear(year);
        gProject->setQtr(quarter);
        QCOMPARE(gProject->iSuppRange(), file);
    }

    void suppPathShowsFileNameOnMenu_data()
    {
        QTest::addColumn<int>("index");
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("caption");

        QTest::newRow("file-2-name-after-last-slash")
            << 2 << "/srv/pelkar/Supp 1946.txt" << "Supp 1946.txt";
        QTest::newRow("file-1-empty-names-shipped-default")
            << 1 << "" << "Pelkar_Supp_Districts.txt";
        QTest::newRow("file-1-own-path") << 1 << "/x/mine.txt" << "mine.txt";
        QTest::newRow("file-3-empty-stays-empty") << 3 << "" << "";
        QTest::newRow("file-4-no-folder") << 4 << "supp74.txt" << "supp74.txt";
    }

    void suppPathShowsFileNameOnMenu()
    {
        QFETCH(int, index);
        QFETCH(QString, path);
        QFETCH(QString, caption);

        RecordingSuppMenu menu;
        gProject->setSuppMenuSink(&menu);
        gProject->setSuppPath(index, path);
        gProject->setSuppMenuSink(nullptr);

        QCOMPARE(menu.captions, (QList<QPair<int, QString>>{{index, caption}}));
        QCOMPARE(gProject->SuppPath(index), path);
    }

    void suppPathRefusesIndexOutsideOneToFour()
    {
        RecordingSuppMenu menu;
        gProject->setSuppMenuSink(&menu);
        gProject->setSuppPath(0, "/x/zero.txt");
        gProject->setSuppPath(5, "/x/five.txt");
        gProject->setSuppMenuSink(nullptr);

        QVERIFY(menu.captions.isEmpty());
        QCOMPARE(gProject->SuppPath(5), QString());
        for (int i = 1; i <= 4; ++i)
            QCOMPARE(gProject->SuppPath(i), QString());
    }

    // ---- ClearHeader ----------------------------------------------------------------------

    void clearHeaderClearsOnlyTheHeaderFields()
    {
        ProgramObjects::createChangeMonitor();
        Project &p = *gProject;
        fillHeader(p);
        p.setPageSuffix("x");
        p.setCreditName("Bob");
        p.setCreditEmail("bob@x.example");
        p.setCreditType("Photographs");
        p.setCommentLine("a comment");
        p.setCodePage("CP1252");
        p.HeadLineSet(HeadLines::Info);
        p.HeadLineSet(HeadLines::PageLine);
        p.setBatchName("B1905F12A");
        p.setBatchnumber(42);
        p.setEmail("ann@x.example");
        p.setSubmitter("S1");
        p.setPassword("pw");
        p.setBatchStarted(QDate(2020, 1, 2));
        p.setBatchModified(QDate(2021, 3, 4));
        gChangeMonitor->Changed();
        QVERIFY(gChangeMonitor->CellChanged());

        p.ClearHeader();

        QCOMPARE(p.CreditEmail(), QString());
        QCOMPARE(p.CreditName(), QString());
        QCOMPARE(p.CreditType(), QString());
        QCOMPARE(p.CommentLine(), QString());
        QCOMPARE(p.PageLetter(), QString());
        QCOMPARE(p.PageSuffix(), QString());
        QCOMPARE(p.SourceRef(), QString());
        QCOMPARE(p.CodePage(), QString());
        QCOMPARE(p.iYear(), 0);
        QCOMPARE(p.iQtr(), 0);
        QCOMPARE(p.EventType(), 0);
        QCOMPARE(p.SourceType(), 0);
        QCOMPARE(p.Page(), QString());
        QCOMPARE(p.iVnf(), 0);
        QCOMPARE(p.HeadLineCount(), 0);
        QVERIFY(!gChangeMonitor->CellChanged());

        QCOMPARE(p.BatchName(), QString("B1905F12A"));
        QCOMPARE(p.Batchnumber(), 42);
        QCOMPARE(p.UserID(), QString("Ann Smith"));
        QCOMPARE(p.Syndicate(), QString("North"));
        QCOMPARE(p.email(), QString("ann@x.example"));
        QCOMPARE(p.Submitter(), QString("S1"));
        QCOMPARE(p.Password(), QString("pw"));
        QCOMPARE(p.BatchStarted(), QDate(2020, 1, 2));
        QCOMPARE(p.BatchModified(), QDate(2021, 3, 4));
    }

    // ---- Setters that save ------------------------------------------------------------------

    void setterSavesSettings_data()
    {
        QTest::addColumn<QString>("property");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("read");
        QTest::addColumn<QByteArray>("savedLine"); // empty: nothing is saved

        QTest::newRow("submitter-trimmed-then-saved")
            << "Submitter" << "  S123 " << "S123" << QByteArray("\r\nSubmitter=S123\r\n");
        QTest::newRow("credit-email-saved")
            << "CreditEmail" << "bob@x.example" << "bob@x.example"
            << QByteArray("\r\nCreditEmail=bob@x.example\r\n");
        QTest::newRow("credit-type-saved")
            << "CreditType" << "Photographs" << "Photographs"
            << QByteArray("\r\nCreditType=Photographs\r\n");
        QTest::newRow("password-not-saved") << "Password" << " pw " << "pw" << QByteArray();
    }

    void setterSavesSettings()
    {
        QFETCH(QString, property);
        QFETCH(QString, text);
        QFETCH(QString, read);
        QFETCH(QByteArray, savedLine);
        const TextProperty &p = savingProperties().at(property);
        QVERIFY(!QFileInfo::exists(dataFile("Pelkarini.txt")));

        p.set(*gProject, text);

        QCOMPARE(p.get(*gProject), read);
        if (savedLine.isEmpty()) {
            QVERIFY(!QFileInfo::exists(dataFile("Pelkarini.txt")));
        } else {
            const QByteArray saved = readBytes(dataFile("Pelkarini.txt"));
            QVERIFY2(saved.contains(savedLine), saved.constData());
        }
    }

    // The load takes these keys without the setters' saves: reading the file
    // must leave it as it was.
    void settingsLoadNeverSaves()
    {
        const QByteArray file = "[Startup]\r\nSubmitter=  S9 \r\n"
                                "[Batch]\r\nCreditEmail=c@x.example\r\nCreditType=Scans\r\n"
                                "BatchLetter= ab\r\nBatchSuffix= cd\r\n";
        QVERIFY(writeBytes(dataFile("Pelkarini.txt"), file));

        QVERIFY(gProject->GetRegistryValues());

        QCOMPARE(readBytes(dataFile("Pelkarini.txt")), file);
        QCOMPARE(gProject->Submitter(), QString("S9"));
        QCOMPARE(gProject->CreditType(), QString("Scans"));
        QCOMPARE(gProject->PageLetter(), QString("a"));
        QCOMPARE(gProject->PageSuffix(), QString("c"));
    }

    // ---- Trace file ----------------------------------------------------------------------------

    void traceLineBeforeTracingWritesNothing()
    {
        gProject->TraceLine("not traced");
        QVERIFY(QDir(homePath("data")).isEmpty());
    }

    void tracingReplacesEarlierTraceAndWritesCrLfLines()
    {
        QVERIFY(writeBytes(dataFile("PelkarTrace"), "an earlier run's trace\r\n"));

        gProject->Tracing();
        gProject->TraceLine("Run Started \u20AC");
        gProject->TraceLine("second");

        // Each line is on disk as soon as it is written.
        QCOMPARE(readBytes(dataFile("PelkarTrace")), QByteArray("Run Started \x80\r\nsecond\r\n"));
        ProgramObjects::releaseAll();
        QCOMPARE(readBytes(dataFile("PelkarTrace")), QByteArray("Run Started \x80\r\nsecond\r\n"));
    }
};

PELKAR_TEST(tst_HeaderState)
#include "tst_HeaderState.moc"
