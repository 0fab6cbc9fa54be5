// The Formatting menu (how each name column is cased, and re-casing what is
// already typed) and the Edit menu's font, colour and pick-list row commands.

#include "mainwindow/Form1.h"

#include "core/FormRegistry.h"
#include "core/Globals.h"
#include "core/MessageWindows.h"
#include "core/Project.h"
#include "core/Services.h"
#include "core/VbHelpers.h"
#include "core/clsEvents.h"
#include "entry/DistrictBox.h"
#include "entry/FlexGrid.h"
#include "entry/FlexGridView.h"
#include "entry/ForenameBox.h"
#include "entry/myRichTextbox.h"
#include "lists/frmPickList.h"
#include "mainwindow/Choose_Font.h"
#include "mainwindow/Form1MenuItems.h"
#include "transcription/Change_Monitor.h"
#include "transcription/EntryBoxes.h"
#include "transcription/Transcription.h"
#include "transcription/clsWorkFile.h"

#include <QAction>
#include <QFont>
#include <QPalette>
#include <QTreeWidget>

namespace {

// A column whose case is one letter: "M" name case, "U" upper, "L" lower,
// "D" as typed, in the order of the submenu's items.
struct LetterCaseMenu
{
    const char *items[4]; // Name Case, Upper Case, Lower Case, As Typed
    const char *label;    // as the conversion question names the column
    void (Project::*set)(const QString &);
    int (Transcription::*column)() const;
};

const LetterCaseMenu kLetterMenus[] = {
    {{"mnuNameCaseSurnames", "mnuUpCaseSurnames", "mnuLowCaseSurnames", "mnuLeaveCaseSurnames"},
     "Surnames",
     &Project::setSurnameCase,
     &Transcription::SurnameCol},
    {{"mnuNameCaseSpouse", "mnuUpCaseSpouse", "mnuLowCaseSpouse", "mnuLeaveCaseSpouse"},
     "Spouse Names",
     &Project::setSpouseNameCase,
     &Transcription::SpouseCol},
    {{"mnuNameCaseMother", "mnuUpCaseMother", "mnuLowCaseMother", "mnuLeaveCaseMother"},
     "Mother Names",
     &Project::setMotherNameCase,
     &Transcription::MotherCol},
    {{"mnuNameCaseForename", "mnuUpCaseForename", "mnuLowcaseForename", "mnuLeaveCaseForename"},
     "Forenames",
     &Project::setForenameCase,
     &Transcription::ForenamesCol},
};

const char *const kCaseLetters[] = {"M", "U", "L", "D"};

const char *const kDistrictItems[] = {"mnuNameCaseDistrict", "mnuUpCaseDistricts",
                                      "mnuLowCaseDistricts", "mnuLeaveCaseDistricts"};
void (Project::*const kDistrictSetters[])(bool) = {
    &Project::setDistrictName, &Project::setDistrictUpper, &Project::setDistrictLower,
    &Project::setDistrictLeave};

const char *const kDoBItems[] = {"mnuUppercaseDoB", "mnuLowercaseDoB", "mnuLeavecaseDoB"};
void (Project::*const kDoBSetters[])(bool) = {&Project::setDoBUpper, &Project::setDoBLower,
                                              &Project::setDoBLeave};

} // namespace

void Form1::ConnectFormattingCommands()
{
    // The items' commands set their check marks from here on.
    const auto take = [this](const char *name) {
        QAction *action = mMenus->item(QString::fromLatin1(name));
        Q_ASSERT(action);
        mMenus->releaseCheck(action);
        return action;
    };

    for (const LetterCaseMenu &menu : kLetterMenus) {
        QAction *items[4];
        for (int k = 0; k < 4; ++k)
            items[k] = take(menu.items[k]);
        for (int k = 0; k < 4; ++k) {
            connect(items[k], &QAction::triggered, this, [this, menu, items, k](bool checked) {
                // A click on the checked item changes nothing.
                if (!checked) {
                    items[k]->setChecked(true);
                    return;
                }
                for (int other = 0; other < 4; ++other) {
                    if (other != k)
                        items[other]->setChecked(false);
                }
                if (!gProject)
                    return;
                (gProject->*menu.set)(QString::fromLatin1(kCaseLetters[k]));
                // As typed leaves the entries as they are: nothing to ask.
                if (k == 3)
                    return;
                const int col = gTranscription ? (gTranscription->*menu.column)() : -1;
                ConvertColumnCase(QString::fromLatin1(menu.label), col, k == 1, k == 2);
            });
        }
    }

    QAction *district[4];
    for (int k = 0; k < 4; ++k)
        district[k] = take(kDistrictItems[k]);
    for (int k = 0; k < 4; ++k) {
        const auto setDistrict = kDistrictSetters[k];
        connect(district[k], &QAction::triggered, this,
                [this, district, k, setDistrict](bool checked) {
            // Name Case stays checked when clicked again; the other three
            // are toggles, and unchecking one leaves none checked.
            if (k == 0 && !checked) {
                district[k]->setChecked(true);
                return;
            }
            if (gProject)
                (gProject->*setDistrict)(checked);
            if (!checked)
                return;
            for (int other = 0; other < 4; ++other) {
                if (other != k)
                    district[other]->setChecked(false);
            }
            const int col = gTranscription ? gTranscription->DistrictCol() : -1;
            ConvertColumnCase(QStringLiteral("Districts"), col, k == 1, k == 2);
        });
    }

    QAction *dob[3];
    for (int k = 0; k < 3; ++k)
        dob[k] = take(kDoBItems[k]);
    for (int k = 0; k < 3; ++k) {
        const auto setDoB = kDoBSetters[k];
        connect(dob[k], &QAction::triggered, this, [this, dob, k, setDoB](bool checked) {
            if (gProject)
                (gProject->*setDoB)(checked);
            if (!checked)
                return;
            for (int other = 0; other < 3; ++other) {
                if (other != k)
                    dob[other]->setChecked(false);
            }
            if (k == 2)
                return;
            const int col = gTranscription ? gTranscription->DoBCol() : -1;
            ConvertColumnCase(QStringLiteral("DoB"), col, k == 0, k == 1);
        });
    }

    connect(mMenus->item(QStringLiteral("mnuChangeFont")), &QAction::triggered, this,
            &Form1::mnuChangeFont_Click);
    connect(mMenus->item(QStringLiteral("mnuChangePickFont")), &QAction::triggered, this,
            &Form1::mnuChangePickFont_Click);
    connect(mMenus->item(QStringLiteral("mnuChangePickRows")), &QAction::triggered, this,
            &Form1::mnuChangePickRows_Click);
}

void Form1::ConvertColumnCase(const QString &label, int column, bool toUpper, bool toLower)
{
    EventsOffGuard quiet;
    // A column the batch does not have holds nothing to re-case.
    const bool hasColumn = gTranscription && column >= 1 && column < mGrid->Cols();
    if (hasColumn && mGrid->Rows() > 2) {
        const QString question = Transcription::ColumnCaseQuestion(label, toUpper, toLower);
        if (ShowMessage(question, Mb::YesNo | Mb::Question, kProductName) == Mb::Yes) {
            const int changed = gTranscription->ConvertColumn(column);
            if (gCurrentCol == column) {
                if (column == gTranscription->DistrictCol() && gDistrictBox)
                    gDistrictBox->CaseChange();
                else if (column == gTranscription->ForenamesCol() && gForenameBox)
                    gForenameBox->CaseChange();
                else if (gRichTextbox)
                    gRichTextbox->CaseChange(column);
            }
            if (changed > 0) {
                if (gChangeMonitor)
                    gChangeMonitor->Changed();
                // Rows are written to the work file only as they are left:
                // after a crash the rows re-cased here would come back in
                // their old case.
                if (gWorkFile)
                    gWorkFile->SaveGridToWork();
            }
        }
    }
    if (gProject)
        gProject->SetRegistryValues(true);
}

void Form1::mnuChangeFont_Click()
{
    if (CantUseMenues() || !gProject)
        return;
    const QFont present = mGrid->Font();
    FontChoice font{present.family(), int(VbRound(present.pointSizeF())), present.bold(),
                    present.italic(),
                    colourToStored(mGridView->palette().color(QPalette::Text))};
    if (!ChooseFontDialog(font))
        return;
    {
        EventsOffGuard quiet;
        gProject->Set_Font(font.name, font.size, font.bold, font.italic, font.colour);
        // The grid takes the font and colour; the entry boxes the font two
        // points larger, their colour unchanged.
        ApplyGridFont();
    }
    myResizer().FormResize();
}

void Form1::mnuChangePickFont_Click()
{
    if (CantUseMenues() || !gProject)
        return;
    auto *pickList = qobject_cast<frmPickList *>(FindForm(QStringLiteral("frmPickList")));
    QTreeWidget *list = pickList ? pickList->lvPick() : nullptr;
    FontChoice font{gProject->Pfontname(), gProject->PFontSize(), gProject->PFontBold(),
                    gProject->PFontItal(), gProject->PFontColour()};
    if (list) {
        const QFont present = list->font();
        font = {present.family(), int(VbRound(present.pointSizeF())), present.bold(),
                present.italic(), colourToStored(list->palette().color(QPalette::Text))};
    }
    if (ChooseFontDialog(font)) {
        if (pickList) {
            QFont chosen = list->font();
            chosen.setFamily(font.name);
            chosen.setPointSize(std::max(1, font.size));
            chosen.setBold(font.bold);
            chosen.setItalic(font.italic);
            list->setFont(chosen);
            QPalette palette = list->palette();
            palette.setColor(QPalette::Text, colourFromStored(font.colour));
            list->setPalette(palette);
            pickList->setFont(chosen);
            QPalette windowPalette = pickList->palette();
            windowPalette.setColor(QPalette::WindowText, colourFromStored(font.colour));
            pickList->setPalette(windowPalette);
            pickList->NewFontSize();
            myResizer().ResetBox();
        }
        gProject->Set_PickFont(font.name, font.size, font.bold, font.italic, font.colour);
    }
    Boxes().GiveFocusBack();
}

void Form1::mnuChangePickRows_Click()
{
    if (CantUseMenues())
        return;
    const std::optional<QString> answer = InputBox(
        QStringLiteral("Please enter the number of rows to display in the Picklist (1-999)"),
        kProductName, QString());
    const PickRowsAnswer rows = ReadPickRowsAnswer(answer.value_or(QString()));
    switch (rows.kind) {
    case PickRowsAnswer::Nothing:
        return;
    case PickRowsAnswer::NotANumber:
        ShowMessage(QStringLiteral("Sorry - it must be a number"), Mb::Exclamation, kProductName);
        break;
    case PickRowsAnswer::OutOfRange:
        ShowMessage(QStringLiteral("The value must be in the range 1 to 999"), Mb::Exclamation,
                    kProductName);
        break;
    case PickRowsAnswer::Rows:
        if (auto *pickList =
                qobject_cast<frmPickList *>(FindForm(QStringLiteral("frmPickList"))))
            pickList->ChangeRows(rows.rows);
        else if (gProject)
            gProject->setPickRows(rows.rows);
        break;
    }
    Boxes().GiveFocusBack();
}
