// Reading batch files written under another code page: the translation
// table, the notices when it cannot be had, and the translation of lines.

#include "PelkarTest.h"
#include "TestFiles.h"

#include "core/Cp1252.h"
#include "core/Globals.h"
#include "core/Project.h"
#include "transcription/clsTranslator.h"

#include <QDir>
#include <QFile>

namespace {

const QString kSupport = QStringLiteral("Please tell ") + Project::SupportEmail()
                         + QStringLiteral(" which file it was.");

// Text as the restore hands it over: the file's bytes decoded one to one.
QString fromBytes(const QByteArray &bytes)
{
    return Cp1252::decode(bytes);
}

} // namespace

class tst_Translator : public PelkarTest
{
    Q_OBJECT

private slots:
    void translatesThroughTheNamedTable_data();
    void translatesThroughTheNamedTable();
    void noCodePageReadsUnchangedAndLooksForNoFile();
    void missingTableIsReportedAndReadsUnchanged_data();
    void missingTableIsReportedAndReadsUnchanged();
    void unreadableFileIsAnErrorAndReadsUnchanged();
    void systemFolderComesBeforeOriginalFiles_data();
    void systemFolderComesBeforeOriginalFiles();

protected:
    void setUpCase() override
    {
        ProgramObjects::createEvents();
        ProgramObjects::createProject();
        gProject->setDataPath(home());
    }

private:
    // The shipped tables, in the OriginalFiles folder (the system-files
    // folder is not set in these tests).
    void installTables()
    {
        QVERIFY(QDir(home()).mkpath(QStringLiteral("OriginalFiles")));
        QVERIFY(QFile::copy(TestFiles::fixture(QStringLiteral("translate-tables/Translate.txt")),
                            QDir(gProject->GetOriginalFilesPath()).filePath("Translate.txt")));
    }
};

void tst_Translator::translatesThroughTheNamedTable_data()
{
    QTest::addColumn<QString>("codePage");
    QTest::addColumn<QString>("line");
    QTest::addColumn<QString>("expected");

    const QString cafe = fromBytes("Caf\x82 M\x81ller \x9A");
    QTest::newRow("name-in-capitals-in-file-matches")
        << "cp850" << cafe << QStringLiteral("Café Müller Ü");
    QTest::newRow("code-page-name-trimmed") << "  cp850 " << cafe << QStringLiteral("Café Müller Ü");
    QTest::newRow("zero-entry-keeps-character") << "cp850" << "Hello, 1875" << "Hello, 1875";
    QTest::newRow("value-above-255-ignored") << "cp850" << "A" << "A";
    QTest::newRow("negative-value-ignored") << "cp850" << "B" << "B";
    QTest::newRow("value-beyond-16-bits-ignored-quietly") << "cp850" << "C" << "C";
    QTest::newRow("field-without-number-ignored") << "cp850" << "D" << "D";
    QTest::newRow("blanks-skipped-and-fraction-rounded") << "cp850" << "E" << "F";
    QTest::newRow("empty-field-ignored") << "cp850" << "G" << "G";
    QTest::newRow("code-254-is-the-last-translated")
        << "cp850" << fromBytes("\xfe") << QStringLiteral("t");
    QTest::newRow("code-255-never-translated")
        << "cp850" << fromBytes("\xff") << fromBytes("\xff");
    QTest::newRow("character-outside-the-code-page-kept")
        << "cp850" << fromBytes("\x82") + QStringLiteral("\u0142") << QStringLiteral("é\u0142");
    QTest::newRow("three-numbers-translate-codes-0-to-2-only")
        << "short" << fromBytes("\x01\x02" "AB\x82") << fromBytes("ZYAB\x82");
    QTest::newRow("line-of-blanks-gives-empty-text") << "cp850" << "    " << "";
    QTest::newRow("spaces-around-text-kept") << "cp850" << " Caf " << " Caf ";
}

void tst_Translator::translatesThroughTheNamedTable()
{
    QFETCH(QString, codePage);
    QFETCH(QString, line);
    QFETCH(QString, expected);
    installTables();
    gProject->setCodePage(codePage);

    clsTranslator translator;
    translator.GetCodePage();
    QCOMPARE(translator.CodePageName(), codePage.trimmed());
    const QString translated = translator.Translate(line);
    QCOMPARE(translated, expected);
    if (!expected.isEmpty())
        QCOMPARE(translated.size(), line.size());
}

void tst_Translator::noCodePageReadsUnchangedAndLooksForNoFile()
{
    // No file anywhere: looking for one would show the not-found notice.
    gProject->setCodePage(QString());
    clsTranslator translator;
    translator.GetCodePage();
    QVERIFY(translator.CodePageName().isEmpty());
    const QString line = fromBytes("1875,Caf\x82,\xff");
    QCOMPARE(translator.Translate(line), line);
    QCOMPARE(translator.Translate(QStringLiteral("   ")), QString());
    QVERIFY(script->records().isEmpty());
}

void tst_Translator::missingTableIsReportedAndReadsUnchanged_data()
{
    QTest::addColumn<bool>("withFile");
    QTest::addColumn<QString>("codePage");
    QTest::addColumn<QString>("prompt");

    const QString mayNotLoad = QStringLiteral("\r\nYour file may not load properly.\r\n") + kSupport;
    QTest::newRow("no-translation-file")
        << false << "cp850"
        << QStringLiteral("Unable to find the codepage translation file.") + mayNotLoad;
    QTest::newRow("unknown-code-page")
        << true << "cp1251" << QStringLiteral("Unknown codepage - cp1251") + mayNotLoad;
    // Only the file's names are lower-cased before comparing.
    QTest::newRow("code-page-name-in-capitals-matches-no-line")
        << true << "Greek" << QStringLiteral("Unknown codepage - Greek") + mayNotLoad;
}

void tst_Translator::missingTableIsReportedAndReadsUnchanged()
{
    QFETCH(bool, withFile);
    QFETCH(QString, codePage);
    QFETCH(QString, prompt);
    if (withFile)
        installTables();

    clsTranslator translator;
    script->answer(QStringLiteral("Ok"));
    translator.GetCodePage(codePage);

    QCOMPARE(script->records().size(), 1);
    const MessageRecord &notice = script->records().first();
    QCOMPARE(notice.kind, QStringLiteral("box"));
    QCOMPARE(notice.prompt, prompt);
    QCOMPARE(notice.title, QStringLiteral("Pelkar"));
    QCOMPARE(notice.style, int(Mb::Exclamation));
    QVERIFY(translator.CodePageName().isEmpty());
    const QString line = fromBytes("@Caf\x82");
    QCOMPARE(translator.Translate(line), line);
}

void tst_Translator::unreadableFileIsAnErrorAndReadsUnchanged()
{
    installTables();
    const QString path = QDir(gProject->GetOriginalFilesPath()).filePath("Translate.txt");
    QVERIFY(QFile::setPermissions(path, QFileDevice::Permissions()));
    QFile probe(path);
    if (probe.open(QIODevice::ReadOnly))
        QSKIP("This user can read a file without read permission.");

    clsTranslator translator;
    script->answer(QStringLiteral("Ok"));
    gProject->setCodePage(QStringLiteral("cp850"));
    translator.GetCodePage();

    QCOMPARE(script->records().size(), 1);
    const MessageRecord &error = script->records().first();
    QCOMPARE(error.prompt, QStringLiteral("Error 75 (Path/File access error) in GetCodePage \r\n"
                                          "Your file may not load properly but press Ok to try."));
    QCOMPARE(error.style, Mb::OkOnly | Mb::Critical);
    QVERIFY(translator.CodePageName().isEmpty());
    const QString line = fromBytes("Caf\x82");
    QCOMPARE(translator.Translate(line), line);
}

void tst_Translator::systemFolderComesBeforeOriginalFiles_data()
{
    QTest::addColumn<bool>("inSystem");
    QTest::addColumn<bool>("inOriginal");
    QTest::addColumn<bool>("systemUnknown");
    QTest::addColumn<QString>("found");

    QTest::newRow("in-both-system-wins") << true << true << false << "system";
    QTest::newRow("only-in-system") << true << false << false << "system";
    QTest::newRow("only-in-original-files") << false << true << false << "original";
    QTest::newRow("in-neither") << false << false << false << "";
    // An unknown system folder must not become the current folder.
    QTest::newRow("unknown-system-folder-skipped") << true << true << true << "original";
    QTest::newRow("unknown-system-folder-and-none-in-original") << true << false << true << "";
}

void tst_Translator::systemFolderComesBeforeOriginalFiles()
{
    QFETCH(bool, inSystem);
    QFETCH(bool, inOriginal);
    QFETCH(bool, systemUnknown);
    QFETCH(QString, found);
    const QDir dir(home());
    for (const QString &folder : {QStringLiteral("system"), QStringLiteral("original")}) {
        QVERIFY(dir.mkpath(folder));
        if ((folder == QLatin1String("system") && inSystem)
            || (folder == QLatin1String("original") && inOriginal))
            QVERIFY(TestFiles::writeBytes(dir.filePath(folder + "/Translate.txt"), "x,1\r\n"));
    }
    const QString expected = found.isEmpty() ? QString() : dir.filePath(found + "/Translate.txt");
    const QString oldCurrent = QDir::currentPath();
    QDir::setCurrent(dir.filePath("system"));
    const QString system = systemUnknown ? QString() : dir.filePath("system");
    const QString result = clsTranslator::FindTranslationFile(system, dir.filePath("original"));
    QDir::setCurrent(oldCurrent);
    QCOMPARE(result, expected);
}

PELKAR_TEST(tst_Translator)
#include "tst_Translator.moc"
