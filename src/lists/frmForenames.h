#pragma once

// The forename list editor ("Pelkar Forename Editor"): add a forename,
// delete one, or rename one and optionally replace the old name throughout
// the grid's forename column. The main window is hidden while the editor is
// open and shown again when it closes (EditorHost).
//
// A small state machine decides which buttons are shown, enabled and
// captioned: 0 browse, 1 rename under way, 2 add under way, 4 a name
// selected. The window cannot be closed while an action is under way.
//
// The forename list writes its own file on every add and delete; the editor
// writes nothing itself. The window does not delete itself when closed: its
// opener owns it (or sets Qt::WA_DeleteOnClose).

#include <QWidget>

class QLineEdit;
class QListWidget;
class QListWidgetItem;
class QPushButton;

class frmForenames : public QWidget
{
    Q_OBJECT

public:
    enum EditorMode { Browse = 0, Rename = 1, Add = 2, Selected = 4 };

    // Form_Load: hides the main window, lists every forename of gForeNames
    // (which must exist) and opens in browse mode. Registers as
    // "frmForenames".
    explicit frmForenames(QWidget *parent = nullptr);
    ~frmForenames() override;

    int mode() const { return mMode; }
    QString oldName() const { return mOldName; }
    QListWidget *lbForenames() const { return mList; }
    QLineEdit *tbEdit() const { return mEdit; }
    QPushButton *cmdAddNew() const { return mAddNew; }
    QPushButton *cmdDoAdd() const { return mDoAdd; }
    QPushButton *cmdCancelAdd() const { return mCancelAdd; }
    QPushButton *cmdDelName() const { return mDelName; }
    QPushButton *cmdExit() const { return mExit; }

public slots:
    void cmdAddNew_Click();
    void cmdCancelAdd_Click();
    void cmdDelName_Click();
    void cmdDoAdd_Click();
    void cmdExit_Click();
    void lbForenames_Click();
    void tbEdit_Change();

protected:
    void closeEvent(QCloseEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void SetEditorMode();
    void doRename();
    void removeSelectedName();

    QListWidget *mList = nullptr;
    QLineEdit *mEdit = nullptr;
    QPushButton *mAddNew = nullptr;
    QPushButton *mDoAdd = nullptr;
    QPushButton *mCancelAdd = nullptr;
    QPushButton *mDelName = nullptr;
    QPushButton *mExit = nullptr;

    int mMode = Browse;
    QString mOldName;
    // The list entry the edit box was filled from (mode 4 and a rename).
    QListWidgetItem *mSelected = nullptr;
    bool mHostHidden = false;
};
