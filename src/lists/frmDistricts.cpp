#include "lists/frmDistricts.h"

#include "core/FormRegistry.h"
#include "core/Globals.h"
#include "core/MessageWindows.h"
#include "core/Services.h"
#include "core/VbHelpers.h"
#include "core/WaitCursor.h"
#include "lists/Districts.h"
#include "lists/EditorHost.h"
#include "lists/GridReplace.h"

#include <QCloseEvent>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLayout>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QPushButton>
#include <QTreeWidget>

#include <algorithm>

namespace {

constexpr int kNameCol = 0;
constexpr int kCodeCol = 1;
constexpr int kUserCol = 2;

// Names and codes sort without regard to case, as the transcriber reads them.
class DistrictItem final : public QTreeWidgetItem
{
public:
    explicit DistrictItem(const QStringList &texts) : QTreeWidgetItem(texts) {}

    bool operator<(const QTreeWidgetItem &other) const override
    {
        const int column = treeWidget() ? treeWidget()->sortColumn() : 0;
        return text(column).compare(other.text(column), Qt::CaseInsensitive) < 0;
    }
};

// One row of the list, volume and "*" centred under their headings.
QTreeWidgetItem *districtRow(const QString &name, const QString &volume, bool userAdded)
{
    auto *item = new DistrictItem({name, volume, userAdded ? QStringLiteral("*") : QString()});
    item->setTextAlignment(kCodeCol, Qt::AlignCenter);
    item->setTextAlignment(kUserCol, Qt::AlignCenter);
    return item;
}

} // namespace

frmDistricts::frmDistricts(QWidget *parent)
    : QWidget(parent, Qt::Window)
{
    setObjectName(QStringLiteral("frmDistricts"));
    setWindowTitle(QStringLiteral("Pelkar District Editor"));

    auto *menuBar = new QMenuBar(this);
    mViewMenu = menuBar->addMenu(QStringLiteral("&View"));
    mViewMenu->setObjectName(QStringLiteral("mnuView"));
    const auto entry = [this](const char *name, const QString &caption) {
        QAction *a = mViewMenu->addAction(caption);
        a->setObjectName(QString::fromLatin1(name));
        a->setCheckable(true);
        return a;
    };
    mByName = entry("mnuViewByName", QStringLiteral("List by District Name"));
    mByCode = entry("mnuViewByCode", QStringLiteral("List by District Code"));
    mEditsFirst = entry("mnuEditsFirst", QStringLiteral("Show Editables First"));

    mList = new QTreeWidget(this);
    mList->setObjectName(QStringLiteral("lvDistricts"));
    mList->setColumnCount(3);
    mList->setRootIsDecorated(false);
    // The columns keep the shares sizeColumns gives them.
    mList->header()->setStretchLastSection(false);
    mList->installEventFilter(this);
    mList->setUniformRowHeights(true);
    mList->setSelectionMode(QAbstractItemView::SingleSelection);
    // Rows are never edited in place.
    mList->setEditTriggers(QAbstractItemView::NoEditTriggers);
    mEdit = new QLineEdit(this);
    mEdit->setObjectName(QStringLiteral("tbEdit"));
    mEdit->installEventFilter(this);

    const EditorControls c = LayOutEditor(this, mList, mEdit, QStringLiteral("Add &New District"),
                                          QStringLiteral("Add this District"), "cmdDelDist",
                                          QStringLiteral("Delete District"), menuBar);
    mAddNew = c.addNew;
    mDoAdd = c.doAdd;
    mCancelAdd = c.cancelAdd;
    mDelDist = c.del;
    mExit = c.exit;

    connect(mAddNew, &QPushButton::clicked, this, &frmDistricts::cmdAddNew_Click);
    connect(mDoAdd, &QPushButton::clicked, this, &frmDistricts::cmdDoAdd_Click);
    connect(mCancelAdd, &QPushButton::clicked, this, &frmDistricts::cmdCancelAdd_Click);
    connect(mDelDist, &QPushButton::clicked, this, &frmDistricts::cmdDelDist_Click);
    connect(mExit, &QPushButton::clicked, this, &frmDistricts::cmdExit_Click);
    connect(mEdit, &QLineEdit::textChanged, this, &frmDistricts::tbEdit_Change);
    connect(mList, &QTreeWidget::itemClicked, this, &frmDistricts::lvDistricts_Click);
    connect(mByName, &QAction::triggered, this, &frmDistricts::mnuViewByName_Click);
    connect(mByCode, &QAction::triggered, this, &frmDistricts::mnuViewByCode_Click);
    connect(mEditsFirst, &QAction::triggered, this, &frmDistricts::mnuEditsFirst_Click);
    // A click on a column heading sorts too; the menu then shows which of its
    // orders (if any) is in force.
    connect(mList->header(), &QHeaderView::sortIndicatorChanged, this,
            &frmDistricts::checkSortEntry);

    RegisterForm(this, QStringLiteral("frmDistricts"));

    Host().HideForm1();
    mHostHidden = true;
    resize(560, 460);
    // The list's width at the window's opening size shares out its columns.
    layout()->activate();
    fillList();
    mMode = Browse;
    SetEditorMode();
}

frmDistricts::~frmDistricts() = default;

void frmDistricts::fillList()
{
    WaitCursor hourglass;
    mList->setSortingEnabled(false);
    mList->clear();
    mList->setHeaderLabels(
            {QStringLiteral("District"), QStringLiteral("Volume"), QStringLiteral("*")});
    mList->headerItem()->setTextAlignment(kCodeCol, Qt::AlignCenter);
    mList->headerItem()->setTextAlignment(kUserCol, Qt::AlignCenter);
    sizeColumns();
    if (gDistricts) {
        QList<QTreeWidgetItem *> rows;
        for (const DistrictListRow &d : gDistricts->ListAllDistricts())
            rows << districtRow(d.name, d.volume, d.userAdded);
        mList->addTopLevelItems(rows);
    }
    sortBy(kNameCol, Qt::AscendingOrder);
}

void frmDistricts::sizeColumns()
{
    const double width = PixelsToTwipsX(mList->width());
    const double user = width / 10;
    const double volume = width / 3.5;
    const double name = width - user - volume - 300;
    mList->setColumnWidth(kNameCol, std::max(0, TwipsToPixelsX(name)));
    mList->setColumnWidth(kCodeCol, TwipsToPixelsX(volume));
    mList->setColumnWidth(kUserCol, TwipsToPixelsX(user));
}

void frmDistricts::SetEditorMode()
{
    // In add mode the action is enabled even while empty: an empty entry
    // then fails validation.
    ApplyEditorMode({mDoAdd, mCancelAdd, mDelDist, mAddNew, mExit, mEdit, mList}, mMode,
                    QStringLiteral("Add this District"), true, QStringLiteral("Delete District"));
}

void frmDistricts::backToBrowse()
{
    mEdit->clear();
    mMode = Browse;
    SetEditorMode();
    // No old entry outlives its rename: it would disable "Edit Name" for
    // that same entry when chosen again.
    mOldEntry.clear();
    mSelected = nullptr;
}

void frmDistricts::cmdAddNew_Click()
{
    mEdit->clear();
    mMode = Add;
    SetEditorMode();
    mOldEntry.clear();
    mEdit->setFocus();
}

void frmDistricts::cmdCancelAdd_Click()
{
    backToBrowse();
}

void frmDistricts::removeSelectedRow()
{
    delete mSelected;
    mSelected = nullptr;
}

void frmDistricts::cmdDelDist_Click()
{
    // The row goes only with its record: the list never shows what the
    // table no longer holds, nor loses what it still does.
    if (gDistricts && gDistricts->DeleteDistrict(mEdit->text()))
        removeSelectedRow();
    backToBrowse();
}

bool frmDistricts::acceptEntry(const QString &entry)
{
    if (gDistricts && gDistricts->ValidateDistrict(entry, false, false))
        return true;
    ShowMessage(QStringLiteral("Invalid District\r\nMust be - name,code"), Mb::Critical,
                kProductName);
    mEdit->setFocus();
    return false;
}

void frmDistricts::cmdDoAdd_Click()
{
    switch (mMode) {
    case Selected:
        mOldEntry = mEdit->text();
        mMode = Rename;
        SetEditorMode();
        mEdit->setFocus();
        break;
    case Add: {
        QString entry = VbTrim(mEdit->text());
        if (!acceptEntry(entry))
            return;
        if (gDistricts->AddDistrict(entry))
            AddListRow(entry);
        backToBrowse();
        break;
    }
    case Rename:
        doRename();
        break;
    default:
        break;
    }
}

void frmDistricts::doRename()
{
    // The new entry is checked as an added one before anything changes, so
    // that a refused rename leaves the old district where it was.
    QString entry = VbTrim(mEdit->text());
    if (!acceptEntry(entry))
        return;

    const QString oldEntry = mOldEntry;
    const bool oldDeleted = gDistricts->DeleteDistrict(oldEntry);
    if (oldDeleted)
        removeSelectedRow();
    if (gDistricts->AddDistrict(entry)) {
        AddListRow(entry);
    } else if (oldDeleted) {
        // The new entry is a district the table already holds: the old one
        // is put back, so that the rename loses nothing.
        QString restored = oldEntry;
        if (gDistricts->AddDistrict(restored))
            AddListRow(restored);
    }

    const int answer = ShowMessage(
            QStringLiteral("Would you like me to replace all entries using District ") + oldEntry
                    + QStringLiteral(" with ") + entry,
            Mb::YesNo | Mb::Question, kProductName);
    if (answer == Mb::Yes) {
        const int count = ReplaceDistrictInGrid(oldEntry, entry);
        ShowMessage(count == 0 ? QStringLiteral("No entries found")
                               : QString::number(count) + QStringLiteral(" Entries changed"),
                    Mb::Information, kProductName);
    }
    backToBrowse();
}

void frmDistricts::cmdExit_Click()
{
    close();
}

void frmDistricts::lvDistricts_Click()
{
    QTreeWidgetItem *item = mList->currentItem();
    if (!item || (mMode != Browse && mMode != Selected))
        return;
    if (item->text(kUserCol).isEmpty()) {
        BeepIfEnabled();
        return;
    }
    mSelected = item;
    mMode = Selected;
    SetEditorMode();
    mEdit->setText(item->text(kNameCol) + u',' + item->text(kCodeCol));
}

void frmDistricts::AddListRow(const QString &text)
{
    const DistrictParts parts = Districts::SplitDistrict(text);
    // Sorting is switched off and on so that the new row takes its place
    // under the current order.
    mList->setSortingEnabled(false);
    mList->addTopLevelItem(districtRow(parts.name, parts.volume, true));
    mList->setSortingEnabled(true);
}

void frmDistricts::sortBy(int column, Qt::SortOrder order)
{
    mList->setSortingEnabled(false);
    mList->sortByColumn(column, order);
    mList->setSortingEnabled(true);
    checkSortEntry(column, order);
}

void frmDistricts::checkSortEntry(int column, Qt::SortOrder order)
{
    mByName->setChecked(column == kNameCol && order == Qt::AscendingOrder);
    mByCode->setChecked(column == kCodeCol && order == Qt::AscendingOrder);
    mEditsFirst->setChecked(column == kUserCol && order == Qt::DescendingOrder);
}

void frmDistricts::mnuViewByName_Click()
{
    sortBy(kNameCol, Qt::AscendingOrder);
}

void frmDistricts::mnuViewByCode_Click()
{
    sortBy(kCodeCol, Qt::AscendingOrder);
}

void frmDistricts::mnuEditsFirst_Click()
{
    sortBy(kUserCol, Qt::DescendingOrder);
}

void frmDistricts::tbEdit_Change()
{
    const QString text = mEdit->text();
    mDoAdd->setEnabled(!VbTrim(text).isEmpty() && text != mOldEntry);
}

bool frmDistricts::KeyAllowed(QChar key, const QString &text)
{
    const char16_t k = key.unicode();
    if ((k >= u'A' && k <= u'Z') || (k >= u'a' && k <= u'z'))
        return true;
    if (k >= u'0' && k <= u'9')
        return text.contains(u',');
    switch (k) {
    case u'&':
    case u',':
    case u'-':
    case u'.':
    case u'\b':
    case u'%':
    case u'\'':
    case u' ':
        return true;
    default:
        return false;
    }
}

void frmDistricts::closeEvent(QCloseEvent *event)
{
    if (EditorMayClose(mMode, kProductName, mHostHidden))
        event->accept();
    else
        event->ignore();
}

void frmDistricts::paintEvent(QPaintEvent *event)
{
    QPainter painter(this);
    PaintEditorBackground(this, painter);
    QWidget::paintEvent(event);
}

bool frmDistricts::eventFilter(QObject *watched, QEvent *event)
{
    // The list follows the window's size; its columns keep their shares.
    if (watched == mList && event->type() == QEvent::Resize)
        sizeColumns();
    if (watched == mEdit) {
        switch (event->type()) {
        case QEvent::FocusIn:
            TintEditBox(mEdit, true);
            break;
        case QEvent::FocusOut:
            TintEditBox(mEdit, false);
            break;
        case QEvent::KeyPress: {
            const auto *key = static_cast<QKeyEvent *>(event);
            // Keys that type nothing (arrows, Home, Delete) and the focus
            // keys are not characters, and always pass.
            const QString typed = key->text();
            const bool character = !typed.isEmpty() && key->key() != Qt::Key_Delete
                                   && key->key() != Qt::Key_Tab && key->key() != Qt::Key_Backtab;
            if (character && !KeyAllowed(typed.front(), mEdit->text()))
                return true;
            break;
        }
        default:
            break;
        }
    }
    return QWidget::eventFilter(watched, event);
}
