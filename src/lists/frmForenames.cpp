#include "lists/frmForenames.h"

#include "core/FormRegistry.h"
#include "core/Globals.h"
#include "core/MessageWindows.h"
#include "core/Services.h"
#include "core/VbHelpers.h"
#include "lists/EditorHost.h"
#include "lists/ForeNames.h"
#include "lists/GridReplace.h"

#include <QCloseEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QPainter>
#include <QPushButton>

frmForenames::frmForenames(QWidget *parent)
    : QWidget(parent, Qt::Window)
{
    setObjectName(QStringLiteral("frmForenames"));
    setWindowTitle(QStringLiteral("Pelkar Forename Editor"));

    mList = new QListWidget(this);
    mList->setObjectName(QStringLiteral("lbForenames"));
    mList->setSelectionMode(QAbstractItemView::SingleSelection);
    mEdit = new QLineEdit(this);
    mEdit->setObjectName(QStringLiteral("tbEdit"));
    mEdit->installEventFilter(this);

    const EditorControls c = LayOutEditor(this, mList, mEdit, QStringLiteral("Add &New Name"),
                                          QStringLiteral("Add this Name"), "cmdDelName",
                                          QStringLiteral("Delete Name"));
    mAddNew = c.addNew;
    mDoAdd = c.doAdd;
    mCancelAdd = c.cancelAdd;
    mDelName = c.del;
    mExit = c.exit;

    connect(mAddNew, &QPushButton::clicked, this, &frmForenames::cmdAddNew_Click);
    connect(mDoAdd, &QPushButton::clicked, this, &frmForenames::cmdDoAdd_Click);
    connect(mCancelAdd, &QPushButton::clicked, this, &frmForenames::cmdCancelAdd_Click);
    connect(mDelName, &QPushButton::clicked, this, &frmForenames::cmdDelName_Click);
    connect(mExit, &QPushButton::clicked, this, &frmForenames::cmdExit_Click);
    connect(mEdit, &QLineEdit::textChanged, this, &frmForenames::tbEdit_Change);
    // A click chooses the name, and so does Enter on the row reached with
    // the keys. Moving the current row alone does not: the list makes its
    // first row current when it first takes the focus.
    connect(mList, &QListWidget::itemClicked, this, &frmForenames::lbForenames_Click);
    connect(mList, &QListWidget::itemActivated, this, &frmForenames::lbForenames_Click);

    RegisterForm(this, QStringLiteral("frmForenames"));

    Host().HideForm1();
    mHostHidden = true;
    if (gForeNames)
        mList->addItems(gForeNames->ListAllForenames());
    mList->setCurrentRow(-1);
    mMode = Browse;
    SetEditorMode();
    resize(520, 420);
}

frmForenames::~frmForenames() = default;

void frmForenames::SetEditorMode()
{
    ApplyEditorMode({mDoAdd, mCancelAdd, mDelName, mAddNew, mExit, mEdit, mList}, mMode,
                    QStringLiteral("Add this Name"), !VbTrim(mEdit->text()).isEmpty(),
                    QStringLiteral("Delete Name"));
}

void frmForenames::cmdAddNew_Click()
{
    mEdit->clear();
    mMode = Add;
    SetEditorMode();
    mOldName.clear();
    mEdit->setFocus();
}

void frmForenames::cmdCancelAdd_Click()
{
    mEdit->clear();
    mMode = Browse;
    SetEditorMode();
    // A rename given up leaves no old name behind: it would disable "Edit
    // Name" for that same name and title later messages.
    mOldName.clear();
    mSelected = nullptr;
}

void frmForenames::removeSelectedName()
{
    if (!mSelected)
        return;
    delete mList->takeItem(mList->row(mSelected));
    mSelected = nullptr;
    mList->setCurrentRow(-1);
}

void frmForenames::cmdDelName_Click()
{
    if (gForeNames)
        gForeNames->DeleteName(mEdit->text());
    removeSelectedName();
    mMode = Browse;
    mEdit->clear();
    SetEditorMode();
}

void frmForenames::cmdDoAdd_Click()
{
    switch (mMode) {
    case Selected:
        mOldName = VbTrim(mEdit->text());
        mMode = Rename;
        SetEditorMode();
        mEdit->setFocus();
        break;
    case Add: {
        const QString added = gForeNames ? gForeNames->AddName(VbTrim(mEdit->text())) : QString();
        if (added.isEmpty()) {
            ShowMessage(QStringLiteral("That name already exists"), Mb::Exclamation, mOldName);
            return;
        }
        mList->addItem(added);
        mMode = Browse;
        mEdit->clear();
        SetEditorMode();
        break;
    }
    case Rename:
        doRename();
        break;
    default:
        break;
    }
}

void frmForenames::doRename()
{
    // The new name is added before the old one goes, so that a refused new
    // name loses nothing.
    const QString added = gForeNames ? gForeNames->AddName(VbTrim(mEdit->text())) : QString();
    if (added.isEmpty()) {
        ShowMessage(QStringLiteral("The new name already exists"), Mb::Exclamation);
        return;
    }
    mList->addItem(added);
    gForeNames->DeleteName(mOldName);
    removeSelectedName();

    const int answer = ShowMessage(QStringLiteral("Would you like me to replace all entries using ")
                                           + mOldName + QStringLiteral(" with ") + added,
                                   Mb::YesNo | Mb::Question, mOldName);
    if (answer == Mb::Yes) {
        const int count = ReplaceForenameInGrid(mOldName, added);
        ShowMessage(count == 0 ? QStringLiteral("No entries found")
                               : QString::number(count) + QStringLiteral(" Entries changed"),
                    Mb::Information, mOldName);
    }
    mEdit->clear();
    mMode = Browse;
    SetEditorMode();
    mOldName.clear();
}

void frmForenames::cmdExit_Click()
{
    close();
}

void frmForenames::lbForenames_Click()
{
    QListWidgetItem *item = mList->currentItem();
    if (!item || (mMode != Browse && mMode != Selected))
        return;
    mSelected = item;
    mMode = Selected;
    SetEditorMode();
    mEdit->setText(item->text());
}

void frmForenames::tbEdit_Change()
{
    const QString trimmed = VbTrim(mEdit->text());
    mDoAdd->setEnabled(!trimmed.isEmpty() && trimmed != mOldName);
}

void frmForenames::closeEvent(QCloseEvent *event)
{
    if (EditorMayClose(mMode, mOldName, mHostHidden))
        event->accept();
    else
        event->ignore();
}

void frmForenames::paintEvent(QPaintEvent *event)
{
    QPainter painter(this);
    PaintEditorBackground(this, painter);
    QWidget::paintEvent(event);
}

bool frmForenames::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == mEdit) {
        if (event->type() == QEvent::FocusIn)
            TintEditBox(mEdit, true);
        else if (event->type() == QEvent::FocusOut)
            TintEditBox(mEdit, false);
    }
    return QWidget::eventFilter(watched, event);
}
