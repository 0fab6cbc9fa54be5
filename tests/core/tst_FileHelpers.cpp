#include "PelkarTest.h"
#include "TestFiles.h"

#include "core/FileHelpers.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <csignal>
#include <sys/resource.h>

using namespace TestFiles;

namespace {


QStringList entriesOf(const QString &folder)
{
    return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::System
                                      | QDir::NoDotAndDotDot,
                                  QDir::Name);
}
} // namespace

class FileHelpersTest : public PelkarTest
{
    Q_OBJECT

protected:
    void setUpCase() override
    {
        QVERIFY(QDir(home()).mkpath("data/sub"));
        QVERIFY(writeBytes(homePath("data/batch1.ZEL"), "batch"));
        QVERIFY(writeBytes(homePath("data/.hidden"), "h"));
        QVERIFY(writeBytes(homePath("data/br[1].txt"), "b"));
    }

    QString data(const QString &relative) const { return homePath("data/" + relative); }

private slots:
    void fileExists_data()
    {
        QTest::addColumn<QString>("relative");
        QTest::addColumn<bool>("exists");

        QTest::newRow("plain-file") << "batch1.ZEL" << true;
        QTest::newRow("missing-file") << "batch2.ZEL" << false;
        QTest::newRow("folder-counts") << "sub" << true;
        QTest::newRow("star-matches") << "*.ZEL" << true;
        QTest::newRow("star-without-match") << "*.DAT" << false;
        QTest::newRow("question-mark-matches-one") << "batch?.ZEL" << true;
        QTest::newRow("question-marks-need-as-many") << "batch??.ZEL" << false;
        QTest::newRow("names-compare-with-case") << "*.zel" << false;
        QTest::newRow("hidden-file-matched") << ".hid*" << true;
        QTest::newRow("folder-matched-by-wildcard") << "su?" << true;
        QTest::newRow("bracket-is-an-ordinary-character") << "br[1].*" << true;
        QTest::newRow("wildcard-in-missing-folder") << "nofolder/*.ZEL" << false;
    }

    void fileExists()
    {
        QFETCH(QString, relative);
        QFETCH(bool, exists);
        QCOMPARE(FileExists(data(relative)), exists);
    }

    void fileExistsOfEmptyPath() { QVERIFY(!FileExists(QString())); }

    void folderExists_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<bool>("exists");

        // Rows are relative to the data folder; "/" marks an absolute path.
        QTest::newRow("folder") << "sub" << true;
        QTest::newRow("trailing-separator-dropped") << "sub/" << true;
        QTest::newRow("missing-folder") << "nothing" << false;
        QTest::newRow("root") << "/" << true;
        QTest::newRow("empty") << "" << false;
        QTest::newRow("only-spaces") << "   " << false;
    }

    void folderExists()
    {
        QFETCH(QString, path);
        QFETCH(bool, exists);
        const bool asGiven = path.startsWith(u'/') || path.trimmed().isEmpty();
        const QString full = asGiven ? path : data(path);
        QCOMPARE(FolderExists(full), exists);
        QVERIFY(script->records().isEmpty());
    }

    void folderExistsTrimsSpaces()
    {
        QVERIFY(FolderExists("  " + data("sub") + "/  "));
    }

    void folderExistsWarnsOfFileInItsPlace()
    {
        const QString path = data("batch1.ZEL");
        script->answer("Ok");
        QVERIFY(!FolderExists(path));
        QCOMPARE(script->records().size(), 1);
        const MessageRecord &r = script->records().first();
        QCOMPARE(r.kind, QString("box"));
        QCOMPARE(r.prompt, "There is a file existing with the same name as a needed Folder, this "
                           "will probably cause the program to fail - folder= "
                           + path);
        QCOMPARE(r.title, QString("Pelkar"));
        QCOMPARE(r.style, int(Mb::Critical));
        QCOMPARE(readBytes(path), QByteArray("batch"));
    }

    void folderExistsNeverCreates()
    {
        QVERIFY(!FolderExists(data("new/deeper")));
        QVERIFY(!QFileInfo::exists(data("new")));
    }

    void driveExists_data()
    {
        QTest::addColumn<QString>("drive");
        QTest::addColumn<bool>("exists");

        QTest::newRow("root") << "/" << true;
        QTest::newRow("empty") << "" << false;
        QTest::newRow("missing") << "/no-such-drive-here" << false;
    }

    void driveExists()
    {
        QFETCH(QString, drive);
        QFETCH(bool, exists);
        QCOMPARE(DriveExists(drive), exists);
    }

    void deleteFileIfExists()
    {
        QVERIFY(DeleteFileIfExists(data("batch1.ZEL")));
        QVERIFY(!QFileInfo::exists(data("batch1.ZEL")));
        QVERIFY(!DeleteFileIfExists(data("batch1.ZEL")));
    }

    void moveFileReplacingReplacesTarget()
    {
        QVERIFY(writeBytes(data("old.ZEL"), "old contents"));
        QVERIFY(MoveFileReplacing(data("batch1.ZEL"), data("old.ZEL")));
        QCOMPARE(readBytes(data("old.ZEL")), QByteArray("batch"));
        QVERIFY(!QFileInfo::exists(data("batch1.ZEL")));
    }

    void moveFileReplacingRenames()
    {
        QVERIFY(MoveFileReplacing(data("batch1.ZEL"), data("sub/batch1.BAK")));
        QCOMPARE(readBytes(data("sub/batch1.BAK")), QByteArray("batch"));
        QVERIFY(!QFileInfo::exists(data("batch1.ZEL")));
    }

    void moveFileReplacingKeepsTargetWhenSourceMissing()
    {
        QVERIFY(writeBytes(data("old.ZEL"), "old contents"));
        QVERIFY(!MoveFileReplacing(data("missing.ZEL"), data("old.ZEL")));
        QCOMPARE(readBytes(data("old.ZEL")), QByteArray("old contents"));
    }

    void moveFileReplacingKeepsSourceWhenTargetFolderMissing()
    {
        QVERIFY(!MoveFileReplacing(data("batch1.ZEL"), data("nofolder/batch1.ZEL")));
        QCOMPARE(readBytes(data("batch1.ZEL")), QByteArray("batch"));
    }

    void copyFileOverReplacesTarget()
    {
        const QByteArray contents("+INFO\r\n\x80\0\xFF\r\n", 11);
        QVERIFY(writeBytes(data("source.ZEL"), contents));
        QVERIFY(writeBytes(data("target.ZEL"), "old target, longer than the source"));
        QVERIFY(CopyFileOver(data("source.ZEL"), data("target.ZEL")));
        QCOMPARE(readBytes(data("target.ZEL")), contents);
        QCOMPARE(readBytes(data("source.ZEL")), contents);
    }

    void copyFileOverKeepsTargetWhenSourceMissing()
    {
        QVERIFY(writeBytes(data("sub/target.ZEL"), "old target"));
        QVERIFY(!CopyFileOver(data("missing.ZEL"), data("sub/target.ZEL")));
        QCOMPARE(readBytes(data("sub/target.ZEL")), QByteArray("old target"));
        // No temporary file is left beside the target.
        QCOMPARE(entriesOf(data("sub")), QStringList{"target.ZEL"});
    }

    void copyFileOverFailures_data()
    {
        QTest::addColumn<QString>("from");
        QTest::addColumn<QString>("to");

        QTest::newRow("source-is-a-folder") << "sub" << "copy.ZEL";
        QTest::newRow("target-folder-missing") << "batch1.ZEL" << "nofolder/copy.ZEL";
        QTest::newRow("target-is-a-folder") << "batch1.ZEL" << "sub";
    }

    void copyFileOverFailures()
    {
        QFETCH(QString, from);
        QFETCH(QString, to);
        const QStringList before = entriesOf(data(""));
        QVERIFY(!CopyFileOver(data(from), data(to)));
        QCOMPARE(entriesOf(data("")), before);
    }

    // A marked write cut short (here: the file size limit reached in the
    // middle of the new content) leaves the old file whole and nothing
    // beside it; one that succeeds keeps the old file's permissions.
    void markedWriteCutShortKeepsTheOldFile()
    {
        const QString target = data("batch1.ZEL");
        QVERIFY(QFile::setPermissions(target, QFile::ReadOwner | QFile::WriteOwner
                                                  | QFile::ReadGroup));
        const QStringList before = entriesOf(data(""));
        const QByteArray large(256 * 1024, 'x');
        QString error;
        {
            rlimit saved{};
            QVERIFY(getrlimit(RLIMIT_FSIZE, &saved) == 0);
            rlimit small = saved;
            small.rlim_cur = 64 * 1024;
            const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
            QVERIFY(setrlimit(RLIMIT_FSIZE, &small) == 0);
            const bool written = WriteFileWholeMarked(target, large, &error);
            setrlimit(RLIMIT_FSIZE, &saved);
            std::signal(SIGXFSZ, oldHandler);
            QVERIFY(!written);
        }
        QCOMPARE(error, QStringLiteral("File too large"));
        QCOMPARE(readBytes(target), QByteArray("batch"));
        QCOMPARE(entriesOf(data("")), before);

        QVERIFY(WriteFileWholeMarked(target, large, &error));
        QCOMPARE(readBytes(target), large);
        QCOMPARE(QFile::permissions(target) & ~(QFile::ReadUser | QFile::WriteUser),
                 QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup);
        QCOMPARE(entriesOf(data("")), before);
    }

    void dllHasFunction_data()
    {
        QTest::addColumn<QString>("library");
        QTest::addColumn<QString>("function");
        QTest::addColumn<bool>("has");

        QTest::newRow("exported-function") << "libc.so.6" << "strlen" << true;
        QTest::newRow("function-not-exported") << "libc.so.6" << "pelkarNoSuchFunction" << false;
        QTest::newRow("library-missing") << "libpelkar-no-such-library.so" << "strlen" << false;
    }

    void dllHasFunction()
    {
        QFETCH(QString, library);
        QFETCH(QString, function);
        QFETCH(bool, has);
        QCOMPARE(DllHasFunction(library, function), has);
    }
};

PELKAR_TEST(FileHelpersTest)

#include "tst_FileHelpers.moc"
