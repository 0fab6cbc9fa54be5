// The Options menu's commands: the working options of the pick lists, the
// entry boxes, the warnings, the row numbering and the batch-file naming.
// Every option lives in Project; an item's check mark only mirrors it, so
// each command reads the setting back after changing it (a setting that
// refuses changes while events are held off keeps its mark too). A change
// is written to the settings file at once, except the oversized drop-down,
// which waits for the next full save.

#include "mainwindow/Form1.h"

#include "core/FormRegistry.h"
#include "core/Globals.h"
#include "core/MessageWindows.h"
#include "core/Project.h"
#include "core/Services.h"
#include "core/clsEvents.h"
#include "entry/DistrictBox.h"
#include "entry/FlexGrid.h"
#include "lists/PickListSink.h"
#include "lists/frmPickList.h"
#include "mainwindow/Form1MenuItems.h"
#include "transcription/EntryBoxes.h"
#include "transcription/Recent_files.h"
#include "transcription/Transcription.h"

#include <QAction>

namespace {

const QString kCrLf = QStringLiteral("\r\n");

void SaveSettings()
{
    gProject->SetRegistryValues(true);
}

frmPickList *PickListWindow()
{
    return qobject_cast<frmPickList *>(FindForm(QStringLiteral("frmPickList")));
}

bool PickListVisible()
{
    const frmPickList *pick = PickListWindow();
    return pick && pick->isVisible();
}

int DistrictColumn()
{
    return gTranscription ? gTranscription->DistrictCol() : -1;
}

int ForenameColumn()
{
    return gTranscription ? gTranscription->ForenamesCol() : -1;
}

// An option that only flips its setting (and, mostly, saves it).
struct PlainToggle
{
    const char *name;
    bool (Project::*get)() const;
    void (Project::*set)(bool);
    bool guarded;
    bool saves;
};

const PlainToggle kPlainToggles[] = {
    {"mnuAutotab", &Project::AutoTab, &Project::setAutoTab, true, true},
    {"mnuBeep", &Project::Beepit, &Project::setBeepit, false, true},
    {"mnuDontReformatPaste", &Project::DontformatPaste, &Project::setDontformatPaste, false, true},
    {"mnuDontReformatPicklist", &Project::DontformatPick, &Project::setDontformatPick, false,
     true},
    {"mnuIgnoreEnter", &Project::IgnoreEnter, &Project::setIgnoreEnter, false, true},
    {"mnuIgnoreOdd", &Project::IgnoreOdd, &Project::setIgnoreOdd, false, true},
    {"mnuOversizeBoxes", &Project::OverSize, &Project::setOverSize, false, true},
    {"mnuColWidths", &Project::RestoreColWidth, &Project::setRestoreColWidth, false, true},
    {"mnuPeriodSpace", &Project::PeriodSpace, &Project::setPeriodSpace, false, true},
    {"mnuWarnNewForename", &Project::ForenameWarning, &Project::setForenameWarning, false, true},
    {"mnuChangeWarning", &Project::ChangeWarning, &Project::setChangeWarning, false, true},
    {"mnu1letterwarn", &Project::SingleLetterWarning, &Project::setSingleLetterWarning, true,
     true},
    {"mnuAutoComplete", &Project::bForeGhost, &Project::setBForeGhost, true, true},
    {"mnuDistAuto", &Project::bDistGhost, &Project::setBDistGhost, true, true},
    {"mnuHidePassword", &Project::HidePassword, &Project::setHidePassword, false, true},
    // Written with the next full save of the settings.
    {"mnuOsDrop", &Project::OversizedDrop, &Project::setOversizedDrop, false, false},
    {"mnuShowFullPath", &Project::ShowFullPath, &Project::setShowFullPath, false, true},
    {"mnuAaDIgnore", &Project::IgnoreAaD, &Project::setIgnoreAaD, true, true},
};

} // namespace

void Form1::ConnectOptionCommands()
{
    // A checkable item's command sets its own check mark.
    auto command = [this](const char *name, auto handler) {
        QAction *action = mMenus->item(QString::fromLatin1(name));
        if (!action)
            return;
        if (action->isCheckable())
            mMenus->releaseCheck(action);
        connect(action, &QAction::triggered, this, handler);
    };
    auto check = [this](const char *name, bool on) {
        if (QAction *action = mMenus->item(QString::fromLatin1(name)))
            action->setChecked(on);
    };
    auto checked = [this](const char *name) {
        QAction *action = mMenus->item(QString::fromLatin1(name));
        return action && action->isChecked();
    };
    auto enable = [this](const char *name, bool on) {
        if (QAction *action = mMenus->item(QString::fromLatin1(name)))
            action->setEnabled(on);
    };
    auto show = [this](const char *name, bool on) {
        if (QAction *action = mMenus->item(QString::fromLatin1(name)))
            action->setVisible(on);
    };
    auto showDistrictKinds = [show](bool on) {
        show("mnuStdDistPicklist", on);
        show("mnuMRUDistPicklist", on);
        show("mnuDistSep", on);
    };

    for (const PlainToggle &t : kPlainToggles) {
        command(t.name, [this, t, check] {
            if (!gProject)
                return;
            Project &project = *gProject;
            if (t.guarded && CantUseMenues()) {
                check(t.name, (project.*t.get)());
                return;
            }
            (project.*t.set)(!(project.*t.get)());
            check(t.name, (project.*t.get)());
            if (t.saves)
                SaveSettings();
            const QLatin1String name(t.name);
            if (name == QLatin1String("mnuShowFullPath") && gRecentFiles) {
                gRecentFiles->ShowMenu();
            } else if (name == QLatin1String("mnuAaDIgnore") && project.IgnoreAaD()
                       && project.iYear() > 1864) {
                ShowMessage(QStringLiteral("Warning - Ignore Age at Death is normally only "
                                           "ignored prior to 1865"),
                            Mb::Exclamation, kProductName);
            }
        });
    }

    // The paste-texts window follows its own visibility, not the setting.
    command("mnuShowCopyPaste", [this, check] {
        if (!gProject)
            return;
        PasteTexts &paste = myCopyPaste();
        if (!paste.isVisible()) {
            paste.setVisible(true);
            check("mnuShowCopyPaste", true);
            gProject->setCopyPaste(true);
            Boxes().GiveFocusBack();
        } else {
            paste.setVisible(false);
            check("mnuShowCopyPaste", false);
            gProject->setCopyPaste(false);
        }
        SaveSettings();
    });

    // Row numbering: the three items act as one choice; choosing the one
    // already checked numbers the grid again all the same.
    const std::pair<const char *, const char *> numberings[] = {
        {"mnuNumberPelkar", "P"}, {"mnuNumberQuorvel", "Q"}, {"mnuNumberData", "D"}};
    for (const auto &[name, style] : numberings) {
        command(name, [this, check, name = name, style = style] {
            if (!gProject)
                return;
            check("mnuNumberPelkar", false);
            check("mnuNumberQuorvel", false);
            check("mnuNumberData", false);
            check(name, true);
            gProject->setRowNumbering(QString::fromLatin1(style));
            SaveSettings();
            if (gTranscription)
                gTranscription->RenumberAllRows(2);
            Boxes().GiveFocusBack();
        });
    }

    command("mnuShowStripes", [this, check] {
        if (!gProject)
            return;
        if (CantUseMenues()) {
            check("mnuShowStripes", gProject->Stripes());
            return;
        }
        gProject->setStripes(!gProject->Stripes());
        check("mnuShowStripes", gProject->Stripes());
        SaveSettings();
        // Row 0 holds the titles and row 1 the batch's first page line.
        if (gTranscription) {
            for (int row = 2; row < fgInput().Rows(); ++row)
                gTranscription->ColourRow(row);
        }
    });

    // Skip Surname and Vertical Tab exclude each other; turning either off
    // is always allowed.
    const QString bothTabs =
        QStringLiteral("Sorry but you can't select both Vertical Tabbing and Surname Skip");
    command("mnuSkipSurname", [this, check, bothTabs] {
        if (!gProject)
            return;
        Project &project = *gProject;
        if (!project.Skip() && project.VerticalTab()) {
            check("mnuSkipSurname", false);
            ShowMessage(bothTabs, Mb::Exclamation);
            return;
        }
        project.setSkip(!project.Skip());
        check("mnuSkipSurname", project.Skip());
        SaveSettings();
    });
    command("mnuVertical", [this, check, bothTabs] {
        if (!gProject)
            return;
        Project &project = *gProject;
        if (!project.VerticalTab() && project.Skip()) {
            check("mnuVertical", false);
            ShowMessage(bothTabs, Mb::Exclamation);
            return;
        }
        project.setVerticalTab(!project.VerticalTab());
        check("mnuVertical", project.VerticalTab());
        SaveSettings();
    });

    command("mnuKeepPickVisible", [this, check] {
        if (!gProject)
            return;
        gProject->setKeepPickListVisible(!gProject->KeepPickListVisible());
        check("mnuKeepPickVisible", gProject->KeepPickListVisible());
        if (gProject->KeepPickListVisible())
            PickList().MakeVisible();
        SaveSettings();
    });

    // While the list is docked it always moves with the window; the choice
    // waits for the list to be set free again.
    command("mnuMovePicklist", [this, check] {
        if (!gProject)
            return;
        if (gProject->DropDownPick()) {
            check("mnuMovePicklist", gProject->MovePick());
            return;
        }
        gProject->setMovePick(!gProject->MovePick());
        check("mnuMovePicklist", gProject->MovePick());
        SaveSettings();
    });

    command("mnuDropDownPicklist", [this, check] {
        if (!gProject)
            return;
        Project &project = *gProject;
        if (CantUseMenues()) {
            check("mnuDropDownPicklist", project.DropDownPick());
            return;
        }
        if (!project.DropDownPick())
            project.SavePickPosition();
        project.setDropDownPick(!project.DropDownPick());
        check("mnuDropDownPicklist", project.DropDownPick());
        // The list and the boxes must not react to a half-made change.
        EventsOffGuard quiet;
        frmPickList *pick = PickListWindow();
        if (!project.DropDownPick()) {
            project.setMovePick(project.bMoveState());
            if (pick)
                pick->setWindowTitle(QStringLiteral("Picklist"));
            if (project.ForePick() || project.DistPick()) {
                PickList().MakeVisible();
                PositionPickList();
            }
        } else {
            project.setBMoveState(project.MovePick());
            project.setMovePick(true);
            if (pick) {
                pick->setVisible(false);
                pick->setWindowTitle(QString());
            }
            if (gCurrentCol == DistrictColumn() || gCurrentCol == ForenameColumn())
                Position_DropDown();
        }
        check("mnuMovePicklist", project.MovePick());
        SaveSettings();
        Boxes().GiveFocusBack();
    });

    command("mnuDistrictPicklist", [this, check, enable, showDistrictKinds] {
        if (!gProject)
            return;
        Project &project = *gProject;
        if (CantUseMenues()) {
            check("mnuDistrictPicklist", project.DistPick());
            return;
        }
        const bool on = !project.DistPick();
        PickList().PickClear();
        project.setDistPick(on);
        check("mnuDistrictPicklist", project.DistPick());
        const bool forenameListStays = gCurrentCol == ForenameColumn() && project.ForePick();
        if (on) {
            ApplyPickListFont();
            if (gCurrentCol != DistrictColumn() && !forenameListStays)
                project.HidePickIfNotWanted();
            if (gCurrentCol == DistrictColumn() && !PickListVisible()) {
                PickList().MakeVisible();
                Boxes().GiveFocusBack();
            }
            Hook();
            showDistrictKinds(true);
            enable("mnuChangePickRows", true);
        } else {
            if (!forenameListStays)
                project.HidePickIfNotWanted();
            if (!project.ForePick())
                enable("mnuChangePickRows", false);
            showDistrictKinds(false);
        }
        SaveSettings();
    });

    command("mnuForenamePicklist", [this, check, enable] {
        if (!gProject)
            return;
        Project &project = *gProject;
        const bool wanted = !project.ForePick();
        project.setForePick(wanted);
        check("mnuForenamePicklist", project.ForePick());
        // Held off events refuse the change: nothing more to do.
        if (project.ForePick() != wanted)
            return;
        PickList().PickClear();
        const bool districtListStays = gCurrentCol == DistrictColumn() && project.DistPick();
        if (wanted) {
            enable("mnuChangePickRows", true);
            ApplyPickListFont();
            if (gCurrentCol != ForenameColumn() && !districtListStays)
                project.HidePickIfNotWanted();
            if (gCurrentCol == ForenameColumn() && !PickListVisible())
                Boxes().GiveFocusBack();
        } else {
            if (!districtListStays)
                project.HidePickIfNotWanted();
            if (!project.DistPick())
                enable("mnuChangePickRows", false);
        }
        SaveSettings();
    });

    command("mnuStdDistPicklist", [this, check] {
        if (!gProject)
            return;
        check("mnuMRUDistPicklist", false);
        check("mnuStdDistPicklist", true);
        gProject->setDistPickStd(true);
        SaveSettings();
        // The district box is laid over its cell again (which fills the
        // list anew) only on its own column, where elsewhere it would take
        // the text of a cell that is not a district, and only while nothing
        // is typed in it, which would be lost; the list then fills with
        // the next key.
        if (gCurrentCol == DistrictColumn() && gDistrictBox && !gDistrictBox->Edited()) {
            if (gProject->DistPick())
                PickList().PickClear();
            gDistrictBox->Show();
        }
    });

    command("mnuMRUDistPicklist", [this, check] {
        if (!gProject)
            return;
        Project &project = *gProject;
        if (CantUseMenues()) {
            check("mnuMRUDistPicklist", !project.DistPickStd());
            return;
        }
        project.setDistPickStd(!project.DistPickStd());
        check("mnuMRUDistPicklist", !project.DistPickStd());
        check("mnuStdDistPicklist", project.DistPickStd());
        if (gCurrentCol == DistrictColumn() && project.DistPick())
            PickList().PickClear();
        SaveSettings();
    });

    command("mnuLumivarkNaming", [this, check, checked, enable] {
        if (!gProject)
            return;
        Project &project = *gProject;
        if (CantUseMenues()) {
            check("mnuLumivarkNaming", project.bLumivark());
            return;
        }
        const QString oldName = project.BatchName();
        const bool on = !project.bLumivark();
        check("mnuLumivarkNaming", on);
        enable("mnuNoLumivarkLetter", on);
        if (on) {
            check("mnuNoLumivarkLetter", project.bLumivarkNoLetter());
            const QStringList lines = {
                QStringLiteral("Warning, You have selected to use Lumivark filename format."),
                QStringLiteral("This format is no longer recommended."),
                QStringLiteral("You should ONLY use this option if your syndicate Coodinator has "
                               "requested it."),
                QStringLiteral("If you are uncertain you should not use this option before "
                               "checking with your coordinator."),
                QStringLiteral("Are you certain you want to change to Lumivark filenames?"),
            };
            if (ShowMessage(lines.join(kCrLf), Mb::YesNo | Mb::Exclamation, kProductName)
                == Mb::No) {
                check("mnuLumivarkNaming", false);
                enable("mnuNoLumivarkLetter", false);
                return;
            }
        }
        // The setting saves the settings file itself.
        project.setBLumivark(checked("mnuLumivarkNaming"));
        project.setBatchName(project.BuildBatchName());
        SaveWithNewName(oldName);
    });

    command("mnuNoLumivarkLetter", [this, check, checked] {
        if (!gProject)
            return;
        Project &project = *gProject;
        if (CantUseMenues()) {
            check("mnuNoLumivarkLetter", project.bLumivarkNoLetter());
            return;
        }
        const QString oldName = project.BatchName();
        project.setBLumivarkNoLetter(!project.bLumivarkNoLetter());
        check("mnuNoLumivarkLetter", project.bLumivarkNoLetter());
        EventsOffGuard quiet;
        if (checked("mnuLumivarkNaming")) {
            project.setBatchName(project.BuildBatchName());
            SaveWithNewName(oldName);
        }
    });
}
