#pragma once

// What the forename and district editors need of the main window: it hides
// while an editor is open and comes back when the editor closes. The main
// window implements it; until one is set, a host that does nothing stands in.

class EditorHost
{
public:
    virtual ~EditorHost() = default;
    // Called once when an editor opens.
    virtual void HideForm1() = 0;
    // Called exactly once when an open editor closes.
    virtual void editExit() = 0;
};

// The host in use; never null.
EditorHost &Host();
// Installs a host (not owned); nullptr puts the stand-in back.
void SetEditorHost(EditorHost *host);

// ---- Shared by the editor windows ---------------------------------------------

class QLineEdit;
class QMenuBar;
class QPainter;
class QPushButton;
class QString;
class QWidget;

// What an editor's mode switches: its action, cancel and delete buttons,
// "Add New", "Exit", the edit box and the list.
struct EditorControls
{
    QPushButton *doAdd;
    QPushButton *cancelAdd;
    QPushButton *del;
    QPushButton *addNew;
    QPushButton *exit;
    QWidget *edit;
    QWidget *list;
};

// Lays an editor out: its list with the edit box below on the left, the
// buttons on the right with "E&xit" at the bottom, under the menu bar when
// given; creates the buttons (cmdAddNew, cmdDoAdd, cmdCancelAdd, the delete
// button named deleteName, cmdExit) and returns them with list and edit.
EditorControls LayOutEditor(QWidget *form, QWidget *list, QLineEdit *edit,
                            const QString &addNewCaption, const QString &addCaption,
                            const char *deleteName, const QString &deleteCaption,
                            QMenuBar *menuBar = nullptr);

// Whether an editor may close now: not while an action is under way
// (mode other than 0), which is told under title. When it may, the main
// window comes back, once (hostHidden is cleared).
bool EditorMayClose(int mode, const QString &title, bool &hostHidden);

// The mode table both editors share: mode 0 browse, 1 rename, 2 add, 4 a
// name selected. Captions are set only where the table gives one; the add
// mode's action caption and whether its button starts enabled, and the
// delete button's caption, are the editor's own.
void ApplyEditorMode(const EditorControls &c, int mode, const QString &addCaption, bool addEnabled,
                     const QString &deleteCaption);

// Tiles the background picture (webback.jpg of the system files folder)
// over the widget's whole area; paints nothing when the picture is missing.
void PaintEditorBackground(QWidget *form, QPainter &painter);

// The edit box's background: light cyan while it has the focus, the
// system's text-background colour otherwise.
void TintEditBox(QWidget *box, bool focused);
// The light cyan of a focused edit box.
inline constexpr unsigned kFocusTintRgb = 0xC0FFFF;
