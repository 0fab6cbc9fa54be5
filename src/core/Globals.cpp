#include "core/Globals.h"

#include <QCoreApplication>
#include <QStringList>

#include <optional>

clsEvents *gEvents = nullptr;
Project *gProject = nullptr;
Change_Monitor *gChangeMonitor = nullptr;
ForeNames *gForeNames = nullptr;
Districts *gDistricts = nullptr;
Transcription *gTranscription = nullptr;
Recent_files *gRecentFiles = nullptr;
clsWorkFile *gWorkFile = nullptr;
Searcher *gSearcher = nullptr;
clsTressel *gTressel = nullptr;
myRichTextbox *gRichTextbox = nullptr;
ForenameBox *gForenameBox = nullptr;
DistrictBox *gDistrictBox = nullptr;

bool gForceMigration = false;
int gHeaderReason = -1;
int gHeaderResult = 0;
QString gHeaderOpenFile;
QString gBatchNameBeforeEdit;
int gHScrollHeight = 0;
int gVScrollWidth = 0;
QString gLongDataPath;
bool gAgeWarningShown = false;
int gCurrentRow = 0;
int gCurrentCol = 0;
bool gPopAnswer = false;

namespace {
std::optional<QString> sCommandLine;
} // namespace

QString CommandLine()
{
    if (sCommandLine)
        return *sCommandLine;
    return QCoreApplication::arguments().mid(1).join(QLatin1Char(' '));
}

void setCommandLine(const QString &commandLine)
{
    sCommandLine = commandLine;
}
