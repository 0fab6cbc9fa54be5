// `cmake --install` into the test's own folder: every shared file, the
// desktop entry and its icons land where a Linux desktop looks, and the
// installed program starts and finds its shared files there.

#include "PelkarTest.h"
#include "ProgramRun.h"

#include "app/StartUp.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QProcess>
#include <QStandardPaths>

namespace {

const QString kResources = QStringLiteral(PELKAR_SOURCE_RESOURCES);

QByteArray readAll(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// The keys of the [Desktop Entry] group.
QMap<QString, QString> desktopEntry(const QString &path)
{
    QMap<QString, QString> keys;
    bool inGroup = false;
    for (const QByteArray &raw : readAll(path).split('\n')) {
        const QString line = QString::fromUtf8(raw).trimmed();
        if (line.startsWith(u'['))
            inGroup = line == QLatin1String("[Desktop Entry]");
        else if (inGroup && line.contains(u'=') && !line.startsWith(u'#'))
            keys.insert(line.section(u'=', 0, 0).trimmed(), line.section(u'=', 1).trimmed());
    }
    return keys;
}

} // namespace

class tst_Install : public PelkarTest
{
    Q_OBJECT

    QString prefix() const { return homePath(QStringLiteral("prefix")); }
    QString installed(const QString &relative) const { return QDir(prefix()).filePath(relative); }

    // Installs the build into prefix(); the output on failure.
    QString install()
    {
        QProcess cmake;
        cmake.setProcessChannelMode(QProcess::MergedChannels);
        cmake.start(QStringLiteral(PELKAR_CMAKE),
                    {QStringLiteral("--install"), QStringLiteral(PELKAR_BUILD_DIR),
                     QStringLiteral("--prefix"), prefix()});
        if (!cmake.waitForFinished(120000))
            return QStringLiteral("cmake --install did not finish");
        const QString output = QString::fromLocal8Bit(cmake.readAll());
        if (cmake.exitStatus() != QProcess::NormalExit || cmake.exitCode() != 0)
            return output.isEmpty() ? QStringLiteral("cmake --install failed") : output;
        return QString();
    }

private slots:
    void everyFileLandsInPlace();
    void desktopEntryStartsTheProgram();
    void installedProgramFindsItsSharedFiles();
};

void tst_Install::everyFileLandsInPlace()
{
    const QString failure = install();
    QVERIFY2(failure.isEmpty(), qPrintable(failure));

    const QFileInfo program(installed(QStringLiteral("bin/pelkar")));
    QVERIFY(program.isFile());
    QVERIFY(program.isExecutable());

    // Every shipped file (reference files, help pages, pictures, the icon
    // file) is in share/pelkar, byte for byte.
    QStringList shipped;
    QDirIterator it(kResources, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString source = it.next();
        const QString relative = QDir(kResources).relativeFilePath(source);
        shipped << relative;
        QCOMPARE(readAll(installed(QStringLiteral("share/pelkar/") + relative)), readAll(source));
    }
    for (const char *name : {"OriginalFiles/Pelkar_Districts.txt", "OriginalFiles/Pelkar_Name.txt",
                             "help/index.html", "webback.jpg", "Pelkar.ico"})
        QVERIFY2(shipped.contains(QString::fromLatin1(name)), name);

    // The desktop's icon theme: one picture of each size.
    for (int size : {16, 24, 32, 48, 64, 128}) {
        const QString dims = QString::number(size) + u'x' + QString::number(size);
        const QImage icon(installed(QStringLiteral("share/icons/hicolor/") + dims
                                    + QStringLiteral("/apps/pelkar.png")));
        QVERIFY2(!icon.isNull(), qPrintable(dims));
        QCOMPARE(icon.size(), QSize(size, size));
    }
}

void tst_Install::desktopEntryStartsTheProgram()
{
    const QString failure = install();
    QVERIFY2(failure.isEmpty(), qPrintable(failure));

    const QString entry = installed(QStringLiteral("share/applications/pelkar.desktop"));
    const QMap<QString, QString> keys = desktopEntry(entry);
    QCOMPARE(keys.value(QStringLiteral("Type")), QStringLiteral("Application"));
    QCOMPARE(keys.value(QStringLiteral("Name")), QStringLiteral("Pelkar"));
    QCOMPARE(keys.value(QStringLiteral("Exec")), QStringLiteral("pelkar %f"));
    QCOMPARE(keys.value(QStringLiteral("Icon")), QStringLiteral("pelkar"));
    QCOMPARE(keys.value(QStringLiteral("Categories")), QStringLiteral("Office;"));
    // The program the entry names is the one installed beside it.
    QVERIFY(QFileInfo(installed(QStringLiteral("bin/") + keys.value(QStringLiteral("Exec"))
                                                              .section(u' ', 0, 0)))
                .isExecutable());

    const QString validator = QStandardPaths::findExecutable(QStringLiteral("desktop-file-validate"));
    if (validator.isEmpty())
        QSKIP("desktop-file-validate is not installed (package desktop-file-utils)");
    QProcess validate;
    validate.setProcessChannelMode(QProcess::MergedChannels);
    validate.start(validator, {entry});
    QVERIFY(validate.waitForFinished(30000));
    const QString output = QString::fromLocal8Bit(validate.readAll());
    QVERIFY2(validate.exitCode() == 0 && output.trimmed().isEmpty(), qPrintable(output));
}

void tst_Install::installedProgramFindsItsSharedFiles()
{
    // Installed somewhere, then moved as a whole: the program finds its
    // shared files beside itself wherever the tree now is.
    const QString failure = install();
    QVERIFY2(failure.isEmpty(), qPrintable(failure));
    const QString moved = homePath(QStringLiteral("moved"));
    QVERIFY(QDir().rename(prefix(), moved));
    const QString share = QDir(moved).filePath(QStringLiteral("share/pelkar"));

    // A file only the installed copy holds tells its reference files from
    // those of the source tree.
    const QByteArray marker = "installed copy\r\n";
    QVERIFY(QFile::remove(QDir(share).filePath(QStringLiteral("OriginalFiles/Pelkar_Supp_Districts_1974.txt"))));
    {
        QFile f(QDir(share).filePath(QStringLiteral("OriginalFiles/Pelkar_Supp_Districts_1974.txt")));
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(marker);
    }

    ProgramRun run(homePath(QStringLiteral("script")),
                   {QStringLiteral("Use Default"), QStringLiteral("Ok")});
    run.setProgram(QDir(moved).filePath(QStringLiteral("bin/pelkar")));
    run.setEnvironment(QStringLiteral("PELKAR_CLOSE_WHEN_STARTED"), QStringLiteral("1"));
    QVERIFY(run.start());
    QVERIFY2(run.waitForExit(), qPrintable(run.errorOutput()));
    QCOMPARE(run.exitStatus(), QProcess::NormalExit);
    QCOMPARE(run.exitCode(), 0);

    // Only the first-run choice and the welcome: no missing system-files
    // folder, no missing help.
    const QList<MessageRecord> asked = run.messages();
    QStringList prompts;
    for (const MessageRecord &r : asked)
        prompts << r.prompt;
    QVERIFY2(asked.size() == 2, qPrintable(prompts.join(QLatin1String("\n---\n"))));
    QCOMPARE(asked[1].prompt, WelcomeText());

    // The first run installed the shipped reference files from there.
    const QDir data(QDir(QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation))
                        .filePath(QStringLiteral("Pelkar_Files")));
    QCOMPARE(readAll(data.filePath(QStringLiteral("OriginalFiles/Pelkar_Supp_Districts_1974.txt"))),
             marker);
    QCOMPARE(readAll(data.filePath(QStringLiteral("OriginalFiles/Pelkar_Districts.txt"))),
             readAll(QDir(kResources).filePath(QStringLiteral("OriginalFiles/Pelkar_Districts.txt"))));
    const QByteArray settings = readAll(data.filePath(QStringLiteral("Pelkarini.txt")));
    QVERIFY2(settings.contains("CommonAppData=" + QFile::encodeName(share) + "\r\n"),
             settings.constData());
}

PELKAR_TEST(tst_Install)
#include "tst_Install.moc"
