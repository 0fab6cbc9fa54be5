#pragma once

// The program's options, folders and the state of the open batch's header.
// This holds what start-up and shut-down need so far; the settings file,
// the header and the rest of the options join it as they are built.

#include <QString>

class Project
{
public:
    // ---- Folders (ProjectFolders.cpp) ----------------------------------
    // Finds the system-files folder and the data folder (the per-user
    // Startup/DataPath, or on a first run the transcriber's choice). Returns
    // false when the transcriber cancelled the choice or the remembered
    // folder has gone; nothing is created then.
    bool GetPathToFolders();
    // True when the path can serve as a data folder.
    static bool ValidDrive(const QString &path);
    // Makes the save folder current, falling back to Output when it is gone.
    void GoToSaveDir();
    // Makes the files folder the current folder.
    void GoToFileDir();

    QString DataPath() const { return mDataPath; }
    void setDataPath(const QString &path) { mDataPath = path; }
    QString FilesPath() const { return mFilesPath; }
    void setFilesPath(const QString &path) { mFilesPath = path; }
    QString GetFilePath() const { return mFilesPath; }
    QString GetOriginalFilesPath() const;
    QString CommonAppData() const { return mCommonAppData; }
    // DataPath's Output while none is stored.
    QString SavePath() const;
    void setSavePath(const QString &path) { mSavePath = path; }
    // DataPath while none is stored.
    QString ScanPath() const;
    void setScanPath(const QString &path) { mScanPath = path; }

    // The folder of the shipped reference files, help pages and icons: the
    // installed share folder beside the program, or resources/ of the source
    // tree when run from a build folder. Empty when neither exists.
    static QString SystemFilesFolder();
    // ---- end of folders --------------------------------------------------

    // Loads every setting. Until the settings file is read, the files folder
    // is the data folder's "Files".
    void Setup();
    // Saves every setting.
    void SetRegistryValues();

    // Opens the trace file / writes one line to it.
    void Tracing();
    void TraceLine(const QString &text);

    bool InitialHelp() const { return mInitialHelp; }
    void setInitialHelp(bool shown) { mInitialHelp = shown; }

    bool GetDistrictFile() const { return mGetDistrictFile; }
    void setGetDistrictFile(bool get) { mGetDistrictFile = get; }
    QString DistrictVersion() const { return mDistrictVersion; }
    void setDistrictVersion(const QString &version) { mDistrictVersion = version; }

    int iYear() const { return mYear; }
    void setIYear(int year) { mYear = year; }

    // The main window's last place and size, in twips.
    int Form1Height() const { return mForm1Height; }
    void setForm1Height(int twips) { mForm1Height = twips; }
    int Form1left() const { return mForm1Left; }
    void setForm1left(int twips) { mForm1Left = twips; }
    int Form1Top() const { return mForm1Top; }
    void setForm1Top(int twips) { mForm1Top = twips; }
    int Form1Width() const { return mForm1Width; }
    void setForm1Width(int twips) { mForm1Width = twips; }

    // The address named in messages that ask the transcriber to get help.
    static QString SupportEmail() { return QStringLiteral("support@quorvel.example"); }

private:
    // Folders
    QString mDataPath;
    QString mFilesPath;
    QString mCommonAppData;
    QString mSavePath;
    QString mScanPath;

    QString mDistrictVersion;
    bool mInitialHelp = false;
    bool mGetDistrictFile = false;
    int mYear = 0;
    int mForm1Height = 0;
    int mForm1Left = 0;
    int mForm1Top = 0;
    int mForm1Width = 0;
};
