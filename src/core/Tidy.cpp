#include "core/Tidy.h"

#include "core/Cp1252.h"
#include "core/FileHelpers.h"
#include "core/Globals.h"
#include "core/LineReader.h"
#include "core/MessageWindows.h"
#include "core/Project.h"
#include "core/Services.h"
#include "core/SettingsFileStore.h"
#include "core/UserSettings.h"
#include "core/VbHelpers.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QSet>
#include <QStandardPaths>

#include <array>
#include <optional>

namespace {

const QString kApp = QStringLiteral("Pelkar");
const QString kStartup = QStringLiteral("Startup");
const QString kSetupTitle = QStringLiteral("Pelkar Setup V7");
const QString kReportName = QStringLiteral("PelkarUpdateReport7.txt");
const QString kFiles = QStringLiteral("Files");
const QString kOriginalFiles = QStringLiteral("OriginalFiles");
const QString kOutput = QStringLiteral("Output");
// The settings file under its current name, and the name earlier versions
// gave it; either in the data folder is the transcriber's settings.
const QString kSettingsFile = QStringLiteral("Pelkarini.txt");
const QString kOldSettingsFile = QStringLiteral("Pelkar.ini");
const QString kDistrictFile = QStringLiteral("Pelkar_Districts.txt");
const QString kNameFile = QStringLiteral("Pelkar_Name2.txt");
const QString kSuppFile = QStringLiteral("Pelkar_Supp_Districts.txt");
// The reference files an earlier installation kept in its Files folder.
const std::array<QString, 5> kReferenceFiles = {
    kSuppFile,
    kNameFile,
    kDistrictFile,
    QStringLiteral("Pelkar_Supp_Districts_1946.txt"),
    QStringLiteral("Pelkar_Supp_Districts_1974.txt"),
};

// What a failed copy reports, as the shell's file operation numbered it.
constexpr int kCopySourceMissing = 2;
constexpr int kCopyNotWritten = 5;

// The one kind of error the migration can meet: the settings file is there
// but cannot be read.
constexpr int kPathFileAccess = 75;

class NullUpdateProgress final : public UpdateProgressSink
{
public:
    void AddText(const QString &) override {}
    void ShowModeless() override {}
    void ShowFinalModal() override {}
    void HideWindow() override {}
};

UpdateProgressSink *gUpdateProgress = nullptr;
QString gProgramFolderOverride;

// A path inside a folder; empty when the folder is unknown, so that nothing
// is ever looked for relative to the current folder.
QString under(const QString &folder, const QString &name)
{
    return folder.isEmpty() ? QString() : QDir(folder).filePath(name);
}

bool isFolder(const QString &path)
{
    return !path.isEmpty() && QFileInfo(path).isDir();
}

bool isFile(const QString &path)
{
    return !path.isEmpty() && QFileInfo(path).isFile();
}

// The general date format, the same in every locale.
QString nowText()
{
    return QLocale::c().toString(Services::clock().now(), QStringLiteral("dd/MM/yyyy HH:mm:ss"));
}

// The transcriber's settings file in the data folder, as the settings load
// would choose it; empty when there is none.
QString settingsFileIn(const QString &data)
{
    for (const QString &name : {kSettingsFile, kOldSettingsFile}) {
        const QString path = under(data, name);
        if (!path.isEmpty() && QFileInfo::exists(path))
            return path;
    }
    return QString();
}

// The entry of a folder whose name matches without regard to case (names
// here are case-sensitive, those of the shipped files were not); empty when
// there is none.
QString entryIgnoringCase(const QString &folder, const QString &name)
{
    if (!isFolder(folder))
        return QString();
    const QString exact = QDir(folder).filePath(name);
    if (QFileInfo::exists(exact))
        return exact;
    const QDir dir(folder);
    const auto entries = dir.entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
    for (const QString &entry : entries) {
        if (entry.compare(name, Qt::CaseInsensitive) == 0)
            return dir.filePath(entry);
    }
    return QString();
}

// ---- Copying -----------------------------------------------------------------

// Copies a folder with everything in it to target (made when missing).
// Returns 0, or the code of the first failure.
int copyFolder(const QString &from, const QString &target)
{
    // A folder copied into itself would never end.
    const QString source = QFileInfo(from).canonicalFilePath();
    const QString made = QFileInfo(target).absoluteFilePath();
    if (made == source || made.startsWith(source + u'/'))
        return kCopyNotWritten;
    if (!QDir().mkpath(target))
        return kCopyNotWritten;
    int result = 0;
    const QDir dir(from);
    for (const QFileInfo &entry :
         dir.entryInfoList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot)) {
        const QString to = QDir(target).filePath(entry.fileName());
        const int code = entry.isDir() ? copyFolder(entry.filePath(), to)
                                       : (CopyFileOver(entry.filePath(), to) ? 0 : kCopyNotWritten);
        if (result == 0)
            result = code;
    }
    return result;
}

// The shell's copy: from names a file, a folder, or "*.*" in a folder (all
// of that folder's files); to names the folder to copy into, or the new
// name. Existing targets are overwritten and missing folders made. Returns
// 0, or a code saying why not.
int copyEntries(const QString &from, const QString &to)
{
    if (from.isEmpty() || to.isEmpty())
        return kCopySourceMissing;
    const QFileInfo source(from);
    if (source.fileName() == QLatin1String("*.*")) {
        const QDir folder(source.path());
        if (!folder.exists())
            return kCopySourceMissing;
        if (!QDir().mkpath(to))
            return kCopyNotWritten;
        int result = 0;
        for (const QString &name : folder.entryList(QDir::Files | QDir::Hidden)) {
            if (!CopyFileOver(folder.filePath(name), QDir(to).filePath(name)) && result == 0)
                result = kCopyNotWritten;
        }
        return result;
    }
    if (!source.exists())
        return kCopySourceMissing;
    const QString target = isFolder(to) ? QDir(to).filePath(source.fileName()) : to;
    if (source.isDir())
        return copyFolder(from, target);
    if (!QDir().mkpath(QFileInfo(target).absolutePath()))
        return kCopyNotWritten;
    return CopyFileOver(from, target) ? 0 : kCopyNotWritten;
}

// ---- One run of the migration ----------------------------------------------------

struct TidyError
{
    int number;
    QString description;
};

class Migration
{
public:
    explicit Migration(UpdateProgressSink &window) : mWindow(window) {}

    bool run();

private:
    // Steps 4 to 16; an error ends them with the result as it stands.
    std::optional<TidyError> migrate();
    bool checksPass(bool migrating);
    void succeed(bool migrating);

    void openReport();
    void WriteReportLine(const QString &text);
    void AddText(const QString &text);
    bool ShellCopy(const QString &from, const QString &to, bool quiet = false);
    void CopyIfMissing(const QString &from, const QString &to);

    UpdateProgressSink &mWindow;
    QFile mReport;
    QString mData;
    QString mProgram;
    QString mPrevious;
    QString mMode = QStringLiteral("new");
    bool mFound = false;
    bool mResult = false;
};

bool Migration::run()
{
    openReport();
    if (const std::optional<TidyError> error = migrate()) {
        SystemMessageBox(QStringLiteral("Error ") + QString::number(error->number)
                             + QStringLiteral(" (") + error->description
                             + QStringLiteral(") in procedure Tidy_Version6 of Module Tidy"),
                         Mb::OkOnly);
    }
    WriteReportLine(QStringLiteral("Update exit at ") + nowText() + QStringLiteral(" Result=")
                    + (mResult ? QStringLiteral("True") : QStringLiteral("False")));
    mReport.close();
    return mResult;
}

void Migration::openReport()
{
    // With no desktop folder there is no report; the migration goes on.
    const QString desktop = QStandardPaths::writableLocation(QStandardPaths::DesktopLocation);
    if (!isFolder(desktop))
        return;
    mReport.setFileName(QDir(desktop).filePath(kReportName));
    if (!mReport.open(QIODevice::WriteOnly | QIODevice::Append))
        return;
    WriteReportLine(QStringLiteral("Update started at ") + nowText());
}

void Migration::WriteReportLine(const QString &text)
{
    if (!mReport.isOpen())
        return;
    // Each line at once, so that a run that breaks off still leaves its
    // report.
    mReport.write(Cp1252::encode(text) + "\r\n");
    mReport.flush();
}

void Migration::AddText(const QString &text)
{
    WriteReportLine(text);
    mWindow.AddText(text);
}

bool Migration::ShellCopy(const QString &from, const QString &to, bool quiet)
{
    const int code = copyEntries(from, to);
    if (!quiet) {
        if (code == 0) {
            AddText(QStringLiteral("vbCopied ") + from + QStringLiteral(" to ") + to);
        } else {
            AddText(QStringLiteral("vbCopy Failed to copy ") + from + QStringLiteral(" to ") + to
                    + QStringLiteral(" Errorcode=") + QString::number(code));
        }
    }
    return code == 0;
}

void Migration::CopyIfMissing(const QString &from, const QString &to)
{
    if (QFileInfo::exists(to)) {
        AddText(QStringLiteral("Did not copy ") + to + QStringLiteral(" as it already exists"));
    } else if (isFile(from)) {
        if (CopyFileOver(from, to))
            AddText(QStringLiteral("Copied file ") + to);
        else
            AddText(QStringLiteral("Failed to copy file ") + to);
    } else {
        AddText(QStringLiteral("Did not copy ") + to
                + QStringLiteral(" as it does not exist **********"));
    }
}

std::optional<TidyError> Migration::migrate()
{
    AddText(QStringLiteral("This report is copied to a file on your desktop which you can delete "
                           "when no longer wanted"));
    mData = gProject->DataPath();
    mProgram = ProgramFolderForMigration();
    mWindow.ShowModeless();

    const QString appPath = GetSharedSetting(kApp, kStartup, QStringLiteral("AppPath"));
    if (!appPath.isEmpty() && isFolder(appPath)) {
        mPrevious = appPath;
        mFound = true;
        mMode = QStringLiteral("previous");
        WriteReportLine(QStringLiteral("Previous install folder exists"));
    } else if (!appPath.isEmpty()) {
        mPrevious = mProgram;
        WriteReportLine(QStringLiteral("Previous install folder doesn't exist - set to AppPath"));
    } else {
        WriteReportLine(QStringLiteral("Registry key not found"));
        mPrevious = mProgram;
    }

    if (mFound) {
        AddText(QStringLiteral("Found a Previous install"));
        // The same folder under two spellings (a link, "..") is still the
        // same folder; nothing is written into either to find out.
        const QString previous = QFileInfo(mPrevious).canonicalFilePath();
        if (!previous.isEmpty() && previous == QFileInfo(mProgram).canonicalFilePath())
            AddText(QStringLiteral("Previous install has same path as current"));
    } else {
        AddText(QStringLiteral("Didn't find a previous install"));
    }
    AddText(QStringLiteral("Previous Path=") + mPrevious);
    AddText(QStringLiteral("DataPath=") + mData);
    AddText(QStringLiteral("App.path=") + mProgram);

    const QString files = under(mData, kFiles);
    if (!isFolder(files)) {
        ShellCopy(under(mPrevious, kFiles), mData);
        // A new transcriber has no earlier Files folder: the lists are made
        // in an empty one from the shipped files when they are first read.
        if (!QFileInfo::exists(files) && QDir().mkdir(files))
            AddText(QStringLiteral("Made the folder ") + files);
    }

    if (mFound) {
        // The transcriber's own lists are never replaced by older ones.
        for (const QString &name : kReferenceFiles)
            CopyIfMissing(under(under(mPrevious, kFiles), name), QDir(files).filePath(name));
        for (const QString &name : kReferenceFiles)
            CopyIfMissing(under(under(mProgram, kFiles), name), QDir(files).filePath(name));
    }

    const QString originals = under(mData, kOriginalFiles);
    if (!isFolder(originals)) {
        ShellCopy(under(mProgram, kOriginalFiles), mData);
    } else if (ShellCopy(under(under(mProgram, kOriginalFiles), QStringLiteral("*.*")),
                         originals)) {
        AddText(QStringLiteral("Copied all files from OriginalFiles"));
    } else {
        AddText(QStringLiteral("Failed to copy all files from OriginalFiles"));
    }

    // The transcriber's settings, under either name, are kept; an earlier
    // settings file is brought in only when there are none.
    bool earlierSettings = true;
    if (settingsFileIn(mData).isEmpty()) {
        const QString target = under(mData, kOldSettingsFile);
        QString source;
        for (const QString &folder : {mPrevious, mProgram}) {
            if (isFile(under(folder, kOldSettingsFile))) {
                source = under(folder, kOldSettingsFile);
                break;
            }
        }
        if (source.isEmpty()) {
            AddText(QStringLiteral("Can't find an ini to copy?"));
            earlierSettings = false;
        } else if (ShellCopy(source, target)) {
            AddText(QStringLiteral("Copied ") + mMode + QStringLiteral(" ini"));
        } else {
            AddText(QStringLiteral("Failed to copy ") + mMode + QStringLiteral(" ini"));
        }
    } else {
        AddText(QStringLiteral("Already an ini in ourpath"));
    }

    // Without a settings file there is no save folder to keep: the earlier
    // output is brought in as for an empty one, and the settings load later
    // gives every key its default.
    QString savePath;
    const QString settings = settingsFileIn(mData);
    if (!settings.isEmpty()) {
        // The settings load then works on these lines: the transcriber's.
        ClearIniStore();
        bool readable = true;
        savePath = VbTrim(GetProfileString(settings, kStartup, QStringLiteral("SavePath"),
                                           QString(), &readable));
        if (!readable)
            return TidyError{kPathFileAccess, QStringLiteral("Path/File access error")};
    }
    if (savePath.isEmpty() || !isFolder(savePath)) {
        if (!savePath.isEmpty())
            AddText(QStringLiteral("Savepath defined but not found, copying contents of Output"));
        ShellCopy(under(under(mPrevious, kOutput), QStringLiteral("*.*")), under(mData, kOutput));
    }

    // A new transcriber brings nothing in to check: the lists are made from
    // the shipped files, the settings with their defaults, when first read.
    const bool migrating = mFound || earlierSettings;
    if (checksPass(migrating))
        succeed(migrating);
    return std::nullopt;
}

bool Migration::checksPass(bool migrating)
{
    struct Check
    {
        bool passes;
        QString message; // empty: no message box
        int icon;
        QString progress;
        bool fatal;
    };
    const QString files = under(mData, kFiles);
    const auto reference = [&](const QString &name) {
        return !migrating || isFile(QDir(files).filePath(name));
    };
    const auto missing = [](const QString &name) {
        return QStringLiteral("Failed to find ") + name + QStringLiteral(" in setup");
    };
    // The help pages and the shipped reference files are what an
    // installation brings; their absence is told, and the start goes on.
    const Check checks[] = {
        {isFolder(files), QString(), 0, QStringLiteral("Update Failed, Can't find Files folder"),
         true},
        {!migrating || !settingsFileIn(mData).isEmpty(), missing(kOldSettingsFile), Mb::Critical,
         QStringLiteral("Update Failed, Can't find Pelkar.ini"), true},
        {reference(kDistrictFile), missing(kDistrictFile), Mb::Critical,
         QStringLiteral("Update Failed, Can't find Pelkar_Districts"), true},
        {isFile(under(under(mProgram, QStringLiteral("help")), QStringLiteral("index.html"))),
         missing(QStringLiteral("index.html")), Mb::Critical,
         QStringLiteral("Update Error but Continued, Can't find index.html"), false},
        {isFolder(under(mProgram, kOriginalFiles)), missing(kOriginalFiles), Mb::Exclamation,
         QStringLiteral("Update error but continued, Can't find OriginalFiles"), false},
        {reference(kNameFile), missing(kNameFile), Mb::Critical,
         QStringLiteral("Update Failed, Can't find Pelkar_Name2"), true},
        {reference(kSuppFile), missing(kSuppFile), Mb::Critical,
         QStringLiteral("Update Failed, Can't find Pelkar_Supp_Districts"), true},
        {reference(kDistrictFile), missing(kDistrictFile), Mb::Critical,
         QStringLiteral("Update Failed, Can't find Pelkar_Districts"), true},
    };
    for (const Check &check : checks) {
        if (check.passes)
            continue;
        if (!check.message.isEmpty())
            SystemMessageBox(check.message, check.icon, kSetupTitle);
        AddText(check.progress);
        if (check.fatal)
            return false;
    }
    return true;
}

void Migration::succeed(bool migrating)
{
    SaveUserSetting(kApp, kStartup, QStringLiteral("V6Cleaned"), QStringLiteral("Y"));
    mResult = true;
    // The next upload asks the server for a full district file.
    gProject->setGetDistrictFile(true);
    gProject->setDataPath(mData);
    // The load told the transcriber why it failed; saving now would put
    // defaults over the file it could not read.
    const bool loaded = gProject->GetRegistryValues();
    // The earlier settings name the earlier folders: the data folder's own
    // take their place.
    gProject->setDataPath(mData);
    const QString files = QDir(mData).filePath(kFiles);
    gProject->setFilesPath(files);
    const QStringList supp = {kSuppFile, QStringLiteral("Pelkar_Supp_Districts_1946.txt"),
                              QStringLiteral("Pelkar_Supp_Districts_1965.txt"),
                              QStringLiteral("Pelkar_Supp_Districts_1974.txt")};
    for (int i = 1; i <= 4; ++i)
        gProject->setSuppPath(i, QDir(files).filePath(supp.at(i - 1)));
    if (loaded)
        gProject->SetRegistryValues();
    if (migrating)
        mWindow.ShowFinalModal();
    else
        mWindow.HideWindow();
}

// "7.3.2" gives 7 and 3; nullopt when there is no "." or either part is
// not a number.
std::optional<std::pair<int, int>> majorMinor(const QString &version)
{
    const QStringList parts = version.split(u'.');
    if (parts.size() < 2)
        return std::nullopt;
    bool majorOk = false;
    bool minorOk = false;
    const int major = VbTrim(parts.at(0)).toInt(&majorOk);
    const int minor = VbTrim(parts.at(1)).toInt(&minorOk);
    if (!majorOk || !minorOk)
        return std::nullopt;
    return std::make_pair(major, minor);
}

// The file's lines trimmed, the empty ones left out; nullopt when it cannot
// be read.
std::optional<QStringList> trimmedLines(const QString &path)
{
    const std::optional<QStringList> read = ReadTextLines(path);
    if (!read)
        return std::nullopt;
    QStringList lines;
    for (const QString &line : *read) {
        const QString trimmed = VbTrim(line);
        if (!trimmed.isEmpty())
            lines.append(trimmed);
    }
    return lines;
}

} // namespace

void SetUpdateProgressSink(UpdateProgressSink *sink)
{
    gUpdateProgress = sink;
}

UpdateProgressSink &UpdateProgressWindow()
{
    static NullUpdateProgress standIn;
    return gUpdateProgress ? *gUpdateProgress : standIn;
}

void SetProgramFolderForMigration(const QString &folder)
{
    gProgramFolderOverride = folder;
}

QString ProgramFolderForMigration()
{
    return gProgramFolderOverride.isEmpty() ? Project::SystemFilesFolder()
                                            : gProgramFolderOverride;
}

bool Tidy_Version6()
{
    if (!gProject || gProject->DataPath().isEmpty())
        return true;
    if (!gForceMigration) {
        if (GetUserSetting(kApp, kStartup, QStringLiteral("V6Cleaned"), QStringLiteral("N"))
            == QLatin1String("Y"))
            return true;
        // Only a data folder chosen just now can need the shipped files: an
        // existing one has had them since it was chosen, and without an
        // earlier installation there is nothing else to bring in.
        const QString appPath = GetSharedSetting(kApp, kStartup, QStringLiteral("AppPath"));
        if (!isFolder(appPath))
            return true;
    }
    Migration migration(UpdateProgressWindow());
    return migration.run();
}

void MergeSuppDistricts1974()
{
    const std::optional<std::pair<int, int>> version =
        majorMinor(GetSharedSetting(kApp, kStartup, QStringLiteral("AppVersion")));
    if (!version)
        return;
    const auto [major, minor] = *version;
    if (!(major < 8 && (minor < 4 || major != 7)))
        return;

    if (!gProject)
        return;
    const QString userFile = gProject->SuppPath(4);
    if (userFile.isEmpty())
        return;
    if (!QFileInfo::exists(userFile) && !WriteFileWhole(userFile, QByteArray()))
        return;
    const std::optional<QStringList> userLines = trimmedLines(userFile);
    if (!userLines)
        return;

    const QString shipped = entryIgnoringCase(
        entryIgnoringCase(ProgramFolderForMigration(), kOriginalFiles),
        QStringLiteral("Pelkar_Supp_Districts_1974.txt"));
    if (!isFile(shipped))
        return;
    const std::optional<QStringList> shippedLines = trimmedLines(shipped);
    if (!shippedLines)
        return;

    QSet<QString> known;
    for (const QString &line : *userLines)
        known.insert(VbUCase(line));
    QStringList added;
    for (const QString &line : *shippedLines) {
        if (!known.contains(VbUCase(line)))
            added.append(line);
    }
    if (added.isEmpty())
        return;

    QFile file(userFile);
    if (!file.open(QIODevice::ReadOnly))
        return;
    QByteArray bytes = file.readAll();
    file.close();
    // The new lines start on a line of their own.
    if (!bytes.isEmpty() && !bytes.endsWith('\n') && !bytes.endsWith('\r'))
        bytes += "\r\n";
    WriteFileWhole(userFile, bytes + JoinCrLf(added));
}
