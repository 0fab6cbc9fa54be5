#include "app/ProgramObjects.h"

#include "core/Globals.h"
#include "core/Project.h"
#include "core/ProjectHooks.h"
#include "core/UserSettings.h"
#include "core/clsEvents.h"
#include "entry/EntryBoxSet.h"
#include "entry/DistrictBox.h"
#include "entry/ForenameBox.h"
#include "entry/myRichTextbox.h"
#include "lists/Districts.h"
#include "lists/ForeNames.h"
#include "mainwindow/clsTressel.h"
#include "transcription/Change_Monitor.h"
#include "transcription/Recent_files.h"
#include "transcription/Searcher.h"
#include "transcription/Transcription.h"
#include "transcription/clsWorkFile.h"

#include <memory>

namespace {
struct Owner
{
    std::unique_ptr<clsEvents> events;
    std::unique_ptr<Project> project;
    std::unique_ptr<Change_Monitor> changeMonitor;
    std::unique_ptr<ForeNames> foreNames;
    std::unique_ptr<Districts> districts;
    std::unique_ptr<Transcription> transcription;
    std::unique_ptr<Recent_files> recentFiles;
    std::unique_ptr<clsWorkFile> workFile;
    std::unique_ptr<Searcher> searcher;
    std::unique_ptr<clsTressel> tressel;
    std::unique_ptr<ForenameBox> forenameBox;
    std::unique_ptr<DistrictBox> districtBox;
    std::unique_ptr<myRichTextbox> richTextbox;
    std::unique_ptr<EntryBoxSet> entryBoxes;
};

Owner &owner()
{
    static Owner o;
    return o;
}

// Clears the g-pointer before the object goes, so that nothing released
// later can reach an object already gone.
template<typename T>
void release(std::unique_ptr<T> &holder, T *&global)
{
    global = nullptr;
    holder.reset();
}
} // namespace

namespace ProgramObjects {

void createEvents()
{
    owner().events = std::make_unique<clsEvents>();
    gEvents = owner().events.get();
}

void createProject()
{
    owner().project = std::make_unique<Project>();
    gProject = owner().project.get();
}

void createChangeMonitor()
{
    owner().changeMonitor = std::make_unique<Change_Monitor>();
    gChangeMonitor = owner().changeMonitor.get();
    // A header emptied or read leaves no change to warn of.
    projectHooks().clearChange = [] {
        if (gChangeMonitor)
            gChangeMonitor->ClearChange();
    };
    projectHooks().dataSaved = [] {
        if (gChangeMonitor)
            gChangeMonitor->DataSaved();
    };
}

void createForeNames()
{
    owner().foreNames = std::make_unique<ForeNames>();
    gForeNames = owner().foreNames.get();
}

void createDistricts()
{
    owner().districts = std::make_unique<Districts>();
    gDistricts = owner().districts.get();
}

void createTranscription()
{
    owner().transcription = std::make_unique<Transcription>();
    gTranscription = owner().transcription.get();
    // The pick list's placement asks which columns the lists serve.
    projectHooks().districtCol = [] {
        return gTranscription ? gTranscription->DistrictCol() : -1;
    };
    projectHooks().forenamesCol = [] {
        return gTranscription ? gTranscription->ForenamesCol() : -1;
    };
}

void createRecentFiles()
{
    owner().recentFiles = std::make_unique<Recent_files>();
    gRecentFiles = owner().recentFiles.get();
}

void createWorkFile()
{
    owner().workFile = std::make_unique<clsWorkFile>();
    gWorkFile = owner().workFile.get();
}

void createSearcher()
{
    owner().searcher = std::make_unique<Searcher>();
    gSearcher = owner().searcher.get();
}

void createTressel()
{
    owner().tressel = std::make_unique<clsTressel>();
    gTressel = owner().tressel.get();
}

void createEntryBoxes()
{
    owner().forenameBox = std::make_unique<ForenameBox>();
    gForenameBox = owner().forenameBox.get();
    owner().richTextbox = std::make_unique<myRichTextbox>();
    gRichTextbox = owner().richTextbox.get();
    owner().districtBox = std::make_unique<DistrictBox>();
    gDistrictBox = owner().districtBox.get();
    if (gTranscription) {
        gForenameBox->setColumn(gTranscription->ForenamesCol());
        gDistrictBox->setColumn(gTranscription->DistrictCol());
    }
    owner().entryBoxes = std::make_unique<EntryBoxSet>(gRichTextbox, gForenameBox, gDistrictBox);
    SetBoxes(owner().entryBoxes.get());
}

void bindBatchFileHooks()
{
    if (!gTranscription)
        return;
    auto &hooks = gTranscription->batchFileHooks();
    hooks.companionSaved = [](bool unsavedBefore) {
        if (gTressel)
            gTressel->setSaved(unsavedBefore);
    };
    hooks.companionBatchKey = [](const QString &key) {
        if (gTressel)
            gTressel->setYTQ(key);
    };
    if (gRecentFiles) {
        hooks.proposeRecentFile = [](const QString &path) {
            if (!gRecentFiles)
                return true;
            gRecentFiles->Propose(path);
            // Propose answers whether the list changed, not whether it was
            // stored: the stored first entry tells that.
            return GetUserSetting(QStringLiteral("Pelkar"), QStringLiteral("Recent Files"),
                                  QStringLiteral("1"))
                   == gRecentFiles->FileName(1);
        };
    }
    if (gWorkFile) {
        hooks.workFileExists = [] { return gWorkFile && gWorkFile->WorkExists(); };
        hooks.restoreWorkfile = [] { return gWorkFile && gWorkFile->RestoreWorkfile(); };
        hooks.saveToWorkFile = [] {
            if (!gWorkFile)
                return;
            gWorkFile->SaveBatchToWork();
        };
    }
}

void releaseWorkFile()
{
    release(owner().workFile, gWorkFile);
}

void releaseAll()
{
    // The shut-down order; releasing the district list saves its recent
    // districts, so it goes while Project still exists.
    releaseWorkFile();
    if (owner().entryBoxes) {
        SetBoxes(nullptr);
        owner().entryBoxes.reset();
    }
    release(owner().richTextbox, gRichTextbox);
    release(owner().forenameBox, gForenameBox);
    release(owner().districtBox, gDistrictBox);
    release(owner().searcher, gSearcher);
    release(owner().changeMonitor, gChangeMonitor);
    release(owner().foreNames, gForeNames);
    release(owner().districts, gDistricts);
    release(owner().transcription, gTranscription);
    release(owner().recentFiles, gRecentFiles);
    // Emptying the companion's values tells it that the program has ended.
    release(owner().tressel, gTressel);
    release(owner().project, gProject);
    release(owner().events, gEvents);
}

void resetState()
{
    gForceMigration = false;
    gHeaderReason = -1;
    gHeaderResult = 0;
    gHeaderOpenFile.clear();
    gBatchNameBeforeEdit.clear();
    gHScrollHeight = 0;
    gVScrollWidth = 0;
    gLongDataPath.clear();
    gAgeWarningShown = false;
    gCurrentRow = 0;
    gCurrentCol = 0;
    gLastCol = 0;
    gNewRow = 0;
    gNewCol = 0;
    gPopAnswer = false;
    setCommandLine(QString());
}

} // namespace ProgramObjects
