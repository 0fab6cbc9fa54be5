#include "mainwindow/Form1.h"

#include "core/Globals.h"
#include "core/Project.h"
#include "lists/PickListSink.h"
#include "mainwindow/Form1MenuItems.h"
#include "mainwindow/MenuState.h"
#include "mainwindow/OpenDialog.h"
#include "mainwindow/frmAbout.h"
#include "transcription/Recent_files.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>

// The menu bar, the grid's right-click menus and the state of their items.

namespace {

// Help topics of the menus.
constexpr int kHelpFile = 6104;
constexpr int kHelpEdit = 6134;
constexpr int kHelpScan = 6107;
constexpr int kHelpShowScan = 6124;
constexpr int kHelpOptions = 6137;
constexpr int kHelpAgeAtDeath = 6138;
constexpr int kHelpRowNumbering = 6162;
constexpr int kHelpDropDown = 6148;
constexpr int kHelpStdPicklist = 6114;
constexpr int kHelpCopyPaste = 5242;
constexpr int kHelpFormatting = 5232;
constexpr int kHelpHelp = 6111;
constexpr int kHelpContents = 6002;
constexpr int kHelpPopups = 6110;
constexpr int kHelpEditForenames = 8;
constexpr int kHelpEditDistricts = 7;
constexpr int kNoHelp = 0;

// Builds menus whose every item is named, carries its help topic and is
// recorded for finding by name.
class MenuBuilder
{
public:
    explicit MenuBuilder(Form1MenuItems *items) : mItems(items) {}

    QAction *item(QMenu *menu, const char *name, const QString &caption, int help,
                  const QKeySequence &keys = {})
    {
        QAction *action = menu->addAction(caption);
        named(action, name, help);
        action->setShortcut(keys);
        return action;
    }

    // An item with a check mark, held until its command exists.
    QAction *toggle(QMenu *menu, const char *name, const QString &caption, int help,
                    const QKeySequence &keys = {})
    {
        QAction *action = item(menu, name, caption, help, keys);
        action->setCheckable(true);
        mItems->holdCheck(action);
        return action;
    }

    QMenu *menu(QMenu *parent, const char *name, const QString &caption, int help)
    {
        return named(parent->addMenu(caption), name, help);
    }

    QMenu *menu(QMenuBar *bar, const char *name, const QString &caption, int help)
    {
        return named(bar->addMenu(caption), name, help);
    }

    // A separator; a named one is shown and hidden by code.
    QAction *separator(QMenu *menu, const char *name = nullptr)
    {
        QAction *action = menu->addSeparator();
        if (name) {
            action->setObjectName(QString::fromLatin1(name));
            mItems->add(action);
        }
        return action;
    }

    QMenu *named(QMenu *menu, const char *name, int help)
    {
        menu->setObjectName(QString::fromLatin1(name));
        named(menu->menuAction(), name, help);
        return menu;
    }

    QAction *named(QAction *action, const char *name, int help)
    {
        action->setObjectName(QString::fromLatin1(name));
        action->setProperty("HelpContextID", help);
        mItems->add(action);
        return action;
    }

private:
    Form1MenuItems *mItems;
};

QKeySequence keys(QKeyCombination combination)
{
    return QKeySequence(combination);
}

QKeySequence keys(Qt::Key key)
{
    return QKeySequence(QKeyCombination(key));
}

} // namespace

void Form1::CreateMenus()
{
    mMenus = new Form1MenuItems(this);
    MenuBuilder b(mMenus);
    QMenuBar *bar = menuBar();

    // ---- File --------------------------------------------------------------------
    QMenu *file = b.menu(bar, "mnuFile", QStringLiteral("&File"), kHelpFile);
    b.item(file, "mnuFileOpen", QStringLiteral("&Open File"), kHelpFile);
    QMenu *supp = b.menu(file, "mnuSuppFile", QStringLiteral("Open Supplementary District File"),
                         kHelpFile);
    const std::pair<const char *, const char *> ranges[] = {
        {"mnuSuppPre1946", "Pre Sept 1946"},
        {"mnuSupp1946", "Sept 1946 to Pre June 1965"},
        {"mnuSupp1965On", "Jun 1965 to Pre Jun 1974"},
        {"mnuSupp1974On", "Jun 1974 onwards"},
    };
    for (int i = 1; i <= 4; ++i) {
        QMenu *range = b.menu(supp, ranges[i - 1].first, QString::fromLatin1(ranges[i - 1].second),
                              kHelpFile);
        const QByteArray name = MenuState::suppItemName(i).toLatin1();
        b.toggle(range, name.constData(), QStringLiteral("None Set Yet"), kHelpFile);
    }
    b.separator(file);
    b.item(file, "mnuSaveCont", QStringLiteral("&Save Current Batch"), kHelpFile);
    b.item(file, "mnuSaveAs", QStringLiteral("Save &As..."), kHelpFile);
    b.item(file, "mnuSaveExit", QStringLiteral("Save Batch and Exit"), kHelpFile);
    b.separator(file);
    b.item(file, "mnuNewPage", QStringLiteral("Start &New Batch"), kHelpFile);
    b.separator(file);
    QAction *transmit = b.item(file, "mnuTransmit", QStringLiteral("Send file to Quorvel"),
                               kHelpFile);
    QAction *downloadDistrict = b.item(file, "mnuDownloadDistrict",
                                       QStringLiteral("Download District File"), kHelpFile);
    b.separator(file);
    QAction *print = b.item(file, "mnuprint", QStringLiteral("Print"), kHelpFile);
    b.item(file, "mnuSetPrinter", QStringLiteral("Select Printer"), kHelpFile);
    b.separator(file);
    b.item(file, "mnuFileLocate", QStringLiteral("Where are my files"), kHelpFile);
    QAction *defPath = b.item(file, "mnuDefPath", QStringLiteral("&Define Save Path"), kHelpFile);
    connect(defPath, &QAction::triggered, this, [this] {
        // The item's caption names the folder, so it follows the choice.
        if (!CantUseMenues() && DefineSavePath())
            ApplySettingsToMenus();
    });
    // The recent files appear here once the list fills them.
    b.separator(file, "mnurecentsep")->setVisible(false);
    for (int n = 1; n <= Recent_files::kMaxShown; ++n) {
        const QByteArray name = Form1MenuItems::recentName(n).toLatin1();
        b.item(file, name.constData(), QStringLiteral("File%1").arg(n), kHelpFile)
            ->setVisible(false);
    }
    b.separator(file);
    QAction *exit = b.item(file, "mnuExit", QStringLiteral("E&xit without saving"), kHelpFile);

    // ---- Edit --------------------------------------------------------------------
    QMenu *edit = b.menu(bar, "mnuEdit", QStringLiteral("&Edit"), kHelpEdit);
    b.item(edit, "mnuCopySurname", QStringLiteral("Copy Surname"), kHelpEdit,
           keys(Qt::CTRL | Qt::Key_M))
        ->setVisible(false);
    QAction *undo = b.item(edit, "mnuUndo", QStringLiteral("Undo"), kHelpEdit);
    undo->setVisible(false);
    undo->setEnabled(false);
    b.separator(edit, "mnuCopySurnameSep")->setVisible(false);
    b.item(edit, "mnuUppercase", QStringLiteral("Uppercase"), kHelpEdit,
           keys(Qt::CTRL | Qt::Key_U));
    b.item(edit, "mnuLowercase", QStringLiteral("Lowercase"), kHelpEdit,
           keys(Qt::CTRL | Qt::Key_L));
    b.item(edit, "mnuProperCase", QStringLiteral("Proper Case"), kHelpEdit,
           keys(Qt::CTRL | Qt::Key_P));
    b.item(edit, "mnuInvertCase", QStringLiteral("Invert case"), kHelpEdit,
           keys(Qt::CTRL | Qt::Key_I));
    b.separator(edit);
    b.item(edit, "mnuFindEmpty", QStringLiteral("Find Empty Box"), kHelpEdit,
           keys(Qt::CTRL | Qt::Key_E));
    b.item(edit, "mnuFindWarning", QStringLiteral("Find Next Warning"), kHelpEdit,
           keys(Qt::CTRL | Qt::Key_W));
    b.item(edit, "mnuFindPageStart", QStringLiteral("Find Start of Page"), kHelpEdit,
           keys(Qt::CTRL | Qt::Key_S));
    b.separator(edit);
    b.item(edit, "mnuFindString", QStringLiteral("Find Text"), kHelpEdit,
           keys(Qt::CTRL | Qt::Key_F));
    b.item(edit, "mnuFindNextString", QStringLiteral("Find Next Text"), kHelpEdit,
           keys(Qt::CTRL | Qt::Key_C));
    b.separator(edit);
    b.item(edit, "mnuInsertDown", QStringLiteral("Insert Blank - Move others down"), kHelpEdit,
           keys(Qt::Key_F5));
    b.item(edit, "mnuInsertUp", QStringLiteral("Replace Blank - Pull others Up"), kHelpEdit,
           keys(Qt::Key_F6));
    b.separator(edit);
    b.item(edit, "mnuFillUp", QStringLiteral("Fill Up"), kHelpEdit,
           keys(Qt::SHIFT | Qt::Key_Insert));
    b.item(edit, "mnuFillDown", QStringLiteral("Fill Down"), kHelpEdit);
    b.separator(edit);
    b.item(edit, "mnuInsertRow", QStringLiteral("Insert New Row"), kHelpEdit, keys(Qt::Key_F7));
    b.item(edit, "mnuDelRow", QStringLiteral("Delete this Row"), kHelpEdit, keys(Qt::Key_F8));
    b.item(edit, "mnuDelWord", QStringLiteral("Delete last word"), kHelpEdit, keys(Qt::Key_F9));
    b.item(edit, "mnuClearBox", QStringLiteral("Clear current box"), kHelpEdit,
           keys(Qt::SHIFT | Qt::Key_F9));
    // Shown only between a row's deletion and its undoing.
    b.item(edit, "mnuReplaceRow", QStringLiteral("Replace Deleted Row"), kHelpEdit)
        ->setVisible(false);
    b.separator(edit);
    b.item(edit, "mnuChangeFont", QStringLiteral("Change Font"), kHelpEdit);
    b.separator(edit);
    b.item(edit, "mnuChangePickFont", QStringLiteral("Change Picklist Font"), kHelpEdit);
    b.item(edit, "mnuChangePickRows", QStringLiteral("Change number of Picklist Rows"), kHelpEdit);
    b.item(edit, "mnuEditForenames", QStringLiteral("Edit &Forenames"), kHelpEditForenames);
    b.item(edit, "mnuEditDistricts", QStringLiteral("Edit &Districts"), kHelpEditDistricts);
    b.separator(edit);
    b.item(edit, "mnuEditHeader", QStringLiteral("Edit &Header Details"), kHelpEdit);

    // ---- Scan Viewer -------------------------------------------------------------
    // The viewer shows the items after "Show Scan Image" once a scan is loaded.
    QMenu *scan = b.menu(bar, "mnuScanViewer", QStringLiteral("&Scan Viewer"), kHelpScan);
    b.item(scan, "mnuShowScanImage", QStringLiteral("Show Scan Image"), kHelpShowScan);
    b.item(scan, "mnuOpenNewScan", QStringLiteral("Open New Scan"), kHelpScan)->setVisible(false);
    b.separator(scan, "mnuScanSep")->setVisible(false);
    b.item(scan, "mnuZoomIn", QStringLiteral("Zoom In"), kHelpScan)->setVisible(false);
    b.item(scan, "mnuZoomOut", QStringLiteral("Zoom Out"), kHelpScan)->setVisible(false);

    // ---- Options -----------------------------------------------------------------
    QMenu *options = b.menu(bar, "mnuOptions", QStringLiteral("&Options"), kHelpOptions);
    b.toggle(options, "mnuLumivarkNaming", QStringLiteral("Lumivark Filenames"), kHelpOptions);
    b.toggle(options, "mnuNoLumivarkLetter",
             QStringLiteral("Lumivark filenames do NOT include a Page Letter"), kHelpOptions);
    b.separator(options);
    b.toggle(options, "mnuAutotab", QStringLiteral("Auto Tab on Picklist Select"), kHelpOptions)
        ->setChecked(true);
    b.toggle(options, "mnuBeep", QStringLiteral("Beep"), kHelpOptions);
    b.toggle(options, "mnuDontReformatPaste", QStringLiteral("Do NOT reformat Copy/Paste"),
             kHelpOptions);
    b.toggle(options, "mnuDontReformatPicklist", QStringLiteral("Do NOT reformat Picklist"),
             kHelpOptions);
    b.toggle(options, "mnuIgnoreEnter", QStringLiteral("Enter key ignores Auto-Complete"),
             kHelpOptions);
    b.toggle(options, "mnuAaDIgnore", QStringLiteral("Ignore Age at Death"), kHelpAgeAtDeath);
    b.toggle(options, "mnuIgnoreOdd", QStringLiteral("Ignore Unusual Characters"), kNoHelp);
    QMenu *numbering =
        b.menu(options, "mnugridnumbers", QStringLiteral("Input grid row numbering"),
               kHelpRowNumbering);
    b.toggle(numbering, "mnuNumberPelkar", QStringLiteral("Number as Pelkar"), kHelpRowNumbering);
    b.toggle(numbering, "mnuNumberQuorvel", QStringLiteral("Number as Quorvel"),
             kHelpRowNumbering);
    b.toggle(numbering, "mnuNumberData", QStringLiteral("Number only data rows"),
             kHelpRowNumbering);
    b.toggle(options, "mnuMovePicklist", QStringLiteral("Move Picklist with Main Window"),
             kHelpOptions);
    b.toggle(options, "mnuKeepPickVisible", QStringLiteral("Keep Picklist visible"), kHelpOptions);
    b.toggle(options, "mnuOversizeBoxes", QStringLiteral("Oversized Entry Boxes"), kHelpOptions);
    b.toggle(options, "mnuColWidths", QStringLiteral("Remember Column Widths"), kHelpOptions);
    b.toggle(options, "mnuShowStripes", QStringLiteral("Show Stripes"), kHelpOptions);
    b.toggle(options, "mnuSkipSurname", QStringLiteral("Skip Surname"), kHelpOptions,
             keys(Qt::Key_F2));
    b.toggle(options, "mnuPeriodSpace", QStringLiteral("Space after Forename Period"),
             kHelpOptions);
    // Two options that were never finished: kept out of sight and out of use.
    QAction *useMyEmail =
        b.toggle(options, "mnuUseMyEmail", QStringLiteral("Use My Email"), kHelpOptions);
    useMyEmail->setVisible(false);
    useMyEmail->setEnabled(false);
    b.toggle(options, "mnuVertical", QStringLiteral("&Vertical Tab"), kHelpOptions,
             keys(Qt::SHIFT | Qt::Key_F2));
    b.toggle(options, "mnuWarnNewForename", QStringLiteral("Warn on Unknown Forename"),
             kHelpOptions);
    b.toggle(options, "mnuChangeWarning", QStringLiteral("Warn only when Changed"), kHelpOptions);
    QAction *timeToSave =
        b.toggle(options, "mnuTimeToSave", QStringLiteral("Warn when time to Save"), kHelpOptions);
    timeToSave->setVisible(false);
    timeToSave->setEnabled(false);
    b.toggle(options, "mnu1letterwarn", QStringLiteral("Warnings include 1 letter names"),
             kHelpOptions);
    b.separator(options);
    b.toggle(options, "mnuAutoComplete", QStringLiteral("Show Forename Auto Complete"),
             kHelpOptions);
    b.toggle(options, "mnuDistAuto", QStringLiteral("Show District Auto Complete"), kHelpOptions);
    QAction *specialChar = b.item(options, "mnuSpecialChar",
                                  QStringLiteral("Show Special Character Table"), kHelpOptions,
                                  keys(Qt::Key_F4));
    connect(specialChar, &QAction::triggered, this, &Form1::ShowChrPicker);
    b.toggle(options, "mnuShowCopyPaste", QStringLiteral("Show Copy/Paste Form"), kHelpCopyPaste);
    b.toggle(options, "mnuShowFullPath", QStringLiteral("Show full pathnames on File menu"),
             kNoHelp);
    b.separator(options);
    // Usable on a district or page cell only; the cell-entry handling says.
    b.toggle(options, "mnuValidateEntry", QStringLiteral("Do Not Validate This Entry"),
             kHelpOptions, keys(Qt::SHIFT | Qt::Key_F1))
        ->setEnabled(false);
    b.separator(options);
    b.toggle(options, "mnuDistrictPicklist", QStringLiteral("Show District Picklist"),
             kHelpOptions)
        ->setChecked(true);
    b.toggle(options, "mnuForenamePicklist", QStringLiteral("Show Forename Picklist"),
             kHelpOptions)
        ->setChecked(true);
    b.separator(options, "mnuDistSep");
    b.toggle(options, "mnuDropDownPicklist", QStringLiteral("Drop-Down Picklist"), kHelpDropDown);
    b.toggle(options, "mnuOsDrop", QStringLiteral("Oversized Drop-Down"), kHelpOptions);
    b.toggle(options, "mnuStdDistPicklist", QStringLiteral("Standard District Picklist"),
             kHelpStdPicklist);
    b.toggle(options, "mnuMRUDistPicklist", QStringLiteral("MRU District Picklist"),
             kHelpDropDown);
    b.separator(options);
    b.toggle(options, "mnuHidePassword", QStringLiteral("Hide Password"), kHelpOptions);

    // ---- Formatting --------------------------------------------------------------
    QMenu *formatting = b.menu(bar, "mnuFormatting", QStringLiteral("For&matting"),
                               kHelpFormatting);
    struct CaseMenu
    {
        const char *name;
        const char *caption;
        const char *items[4]; // Name Case, Upper Case, Lower Case, As Typed
    };
    const CaseMenu caseMenus[] = {
        {"mnuFormatSurnames",
         "Surnames",
         {"mnuNameCaseSurnames", "mnuUpCaseSurnames", "mnuLowCaseSurnames",
          "mnuLeaveCaseSurnames"}},
        {"mnuSpouse",
         "Spouse Name",
         {"mnuNameCaseSpouse", "mnuUpCaseSpouse", "mnuLowCaseSpouse", "mnuLeaveCaseSpouse"}},
        {"mnuMother",
         "Mother's Name",
         {"mnuNameCaseMother", "mnuUpCaseMother", "mnuLowCaseMother", "mnuLeaveCaseMother"}},
        {"mnuFormatForenames",
         "Forenames",
         {"mnuNameCaseForename", "mnuUpCaseForename", "mnuLowcaseForename",
          "mnuLeaveCaseForename"}},
        {"mnuDistricts",
         "Districts",
         {"mnuNameCaseDistrict", "mnuUpCaseDistricts", "mnuLowCaseDistricts",
          "mnuLeaveCaseDistricts"}},
        {"mnuDoB", "DoB", {nullptr, "mnuUppercaseDoB", "mnuLowercaseDoB", "mnuLeavecaseDoB"}},
    };
    const char *const caseCaptions[] = {"Name Case", "Upper Case", "Lower Case", "As Typed"};
    bool first = true;
    for (const CaseMenu &m : caseMenus) {
        if (!first)
            b.separator(formatting);
        first = false;
        QMenu *sub = b.menu(formatting, m.name, QString::fromLatin1(m.caption), kHelpFormatting);
        for (int k = 0; k < 4; ++k) {
            if (m.items[k])
                b.toggle(sub, m.items[k], QString::fromLatin1(caseCaptions[k]), kHelpFormatting);
        }
    }

    // ---- Help --------------------------------------------------------------------
    QMenu *help = b.menu(bar, "mnuHelp", QStringLiteral("&Help"), kHelpHelp);
    QAction *contents = b.item(help, "mnuPelkarHelp", QStringLiteral("Pelkar Help"), kHelpContents);
    connect(contents, &QAction::triggered, this, [] { mnuPelkarHelp_Click(); });
    b.separator(help);
    QAction *about = b.item(help, "mnuAbout", QStringLiteral("About"), kHelpHelp);
    connect(about, &QAction::triggered, this, [this] { mnuAbout_Click(*this); });

    // ---- The grid's right-click menus, never on the bar ---------------------------
    mMenus->rowPopup = b.named(new QMenu(QStringLiteral("Row Menu"), this), "mnuRowPopup",
                               kHelpPopups);
    b.item(mMenus->rowPopup, "mnuDelRow2", QStringLiteral("Delete This Row"), kHelpPopups);
    b.item(mMenus->rowPopup, "mnuInsertRow2", QStringLiteral("Insert New Row"), kHelpPopups);
    mMenus->cellPopup = b.named(new QMenu(QStringLiteral("Cell Menu"), this), "mnuCellPopup",
                                kHelpPopups);
    b.item(mMenus->cellPopup, "mnuInsertDown2", QStringLiteral("Insert Blank - Move others down"),
           kHelpPopups);
    b.item(mMenus->cellPopup, "mnuDellUp", QStringLiteral("Delete Cell - Move others Up"),
           kHelpPopups);

    connect(print, &QAction::triggered, this, &Form1::mnuPrint_Click);
    connect(exit, &QAction::triggered, this, &Form1::mnuExit_Click);
    connect(transmit, &QAction::triggered, this, &Form1::mnuTransmit_Click);
    connect(downloadDistrict, &QAction::triggered, this, &Form1::mnuDownloadDistrict_Click);
    ConnectFileCommands();
    ConnectEditCommands();
    ConnectFormattingCommands();
    ConnectOptionCommands();
    ConnectScanCommands();
}

QAction *Form1::MenuItem(const QString &controlName) const
{
    return mMenus ? mMenus->item(controlName) : nullptr;
}

QMenu *Form1::RowPopup() const
{
    return mMenus ? mMenus->rowPopup : nullptr;
}

QMenu *Form1::CellPopup() const
{
    return mMenus ? mMenus->cellPopup : nullptr;
}

void Form1::ApplySettingsToMenus()
{
    if (!gProject)
        return;
    // The batch's saved state is not this routine's business: it runs at
    // every lay-out, also right after a crash recovery, whose batch must
    // still count as unsaved.
    const MenuState state = MenuState::FromProject(*gProject);
    for (const MenuItemState &s : state.items()) {
        QAction *action = mMenus->item(s.name);
        if (!action)
            continue;
        if (s.checked)
            action->setChecked(*s.checked);
        if (s.enabled)
            action->setEnabled(*s.enabled);
        if (s.visible)
            action->setVisible(*s.visible);
        if (s.caption)
            action->setText(*s.caption);
    }
    if (state.hidePickList()) {
        PickList().PickClear();
        gProject->HidePickList();
    }
    mMenus->attach();
    if (gRecentFiles)
        gRecentFiles->ShowMenu();
}
