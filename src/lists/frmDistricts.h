#pragma once

// The district list editor ("Pelkar District Editor"): lists every district
// of the batch's period, marks the transcriber's own with "*", and lets the
// transcriber add one (typed as name, comma, volume code), delete one of
// their own, or rename one of their own and optionally replace every grid
// cell holding the old entry. Districts of the district file are listed
// but cannot be chosen. The main window is hidden while the editor is open
// and shown again when it closes (EditorHost).
//
// Modes, as in the forename editor: 0 browse, 1 rename under way, 2 add
// under way, 4 a user district selected. The window cannot be closed while
// an action is under way.
//
// The district list writes its own files on every add and delete. The
// window does not delete itself when closed: its opener owns it (or sets
// Qt::WA_DeleteOnClose).

#include <QWidget>

class QAction;
class QLineEdit;
class QMenu;
class QPushButton;
class QTreeWidget;
class QTreeWidgetItem;

class frmDistricts : public QWidget
{
    Q_OBJECT

public:
    enum EditorMode { Browse = 0, Rename = 1, Add = 2, Selected = 4 };

    // Form_Load: hides the main window, lists every district of gDistricts
    // (which must exist) by name and opens in browse mode. Registers as
    // "frmDistricts".
    explicit frmDistricts(QWidget *parent = nullptr);
    ~frmDistricts() override;

    int mode() const { return mMode; }
    QString oldEntry() const { return mOldEntry; }
    QTreeWidget *lvDistricts() const { return mList; }
    QLineEdit *tbEdit() const { return mEdit; }
    QPushButton *cmdAddNew() const { return mAddNew; }
    QPushButton *cmdDoAdd() const { return mDoAdd; }
    QPushButton *cmdCancelAdd() const { return mCancelAdd; }
    QPushButton *cmdDelDist() const { return mDelDist; }
    QPushButton *cmdExit() const { return mExit; }
    QMenu *mnuView() const { return mViewMenu; }
    QAction *mnuViewByName() const { return mByName; }
    QAction *mnuViewByCode() const { return mByCode; }
    QAction *mnuEditsFirst() const { return mEditsFirst; }

    // Lists every district of gDistricts afresh, under the hourglass:
    // "District", "Volume" (centred) and "*" (centred) for the transcriber's
    // own, sorted by name.
    void fillList();

    // Whether a typed character (its code) reaches the edit box whose text
    // is currently text: letters, "&", ",", "-", ".", backspace, "%", "'"
    // and space always; digits only once the text holds a comma.
    static bool KeyAllowed(QChar key, const QString &text);

public slots:
    void cmdAddNew_Click();
    void cmdCancelAdd_Click();
    void cmdDelDist_Click();
    void cmdDoAdd_Click();
    void cmdExit_Click();
    void lvDistricts_Click();
    void mnuViewByName_Click();
    void mnuViewByCode_Click();
    void mnuEditsFirst_Click();
    void tbEdit_Change();

protected:
    void closeEvent(QCloseEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void SetEditorMode();
    // The columns share the list's width: a tenth for "*", the width over
    // 3.5 for the volume, the rest less 300 twips (room for the scroll bar)
    // for the name.
    void sizeColumns();
    void AddListRow(const QString &text);
    void sortBy(int column, Qt::SortOrder order);
    void checkSortEntry(int column, Qt::SortOrder order);
    // Checks the trimmed entry as an added district must be; false after
    // telling the transcriber, with the focus back in the edit box.
    bool acceptEntry(const QString &entry);
    void doRename();
    void removeSelectedRow();
    void backToBrowse();

    QTreeWidget *mList = nullptr;
    QLineEdit *mEdit = nullptr;
    QPushButton *mAddNew = nullptr;
    QPushButton *mDoAdd = nullptr;
    QPushButton *mCancelAdd = nullptr;
    QPushButton *mDelDist = nullptr;
    QPushButton *mExit = nullptr;
    QMenu *mViewMenu = nullptr;
    QAction *mByName = nullptr;
    QAction *mByCode = nullptr;
    QAction *mEditsFirst = nullptr;

    int mMode = Browse;
    QString mOldEntry;
    // The user district's row the edit box was filled from. Kept apart from
    // the list's selection, which a click on a district-file row moves.
    QTreeWidgetItem *mSelected = nullptr;
    bool mHostHidden = false;
};
