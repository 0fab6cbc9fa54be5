#include "transcription/frmFind.h"

#include "core/FormRegistry.h"
#include "core/VbHelpers.h"
#include "transcription/Searcher.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QShowEvent>
#include <QVBoxLayout>

frmFind::frmFind(Searcher &searcher, QWidget *parent) : QDialog(parent), mSearcher(searcher)
{
    setWindowTitle(QStringLiteral("Find"));
    setObjectName(QStringLiteral("frmFind"));

    auto *label = new QLabel(QStringLiteral("Find what:"), this);
    mText1 = new QLineEdit(this);
    mText1->setObjectName(QStringLiteral("Text1"));
    label->setBuddy(mText1);

    mChkCase = new QCheckBox(QStringLiteral("Match Case"), this);
    mChkCase->setObjectName(QStringLiteral("chkCase"));

    auto *frame = new QGroupBox(QStringLiteral("Search"), this);
    mOptSearch[1] = new QRadioButton(QStringLiteral("All Columns"), frame);
    mOptSearch[0] = new QRadioButton(QStringLiteral("Current Column"), frame);
    mOptGroup = new QButtonGroup(this);
    for (int i : {1, 0}) {
        mOptSearch[i]->setObjectName(QStringLiteral("optSearch%1").arg(i));
        mOptGroup->addButton(mOptSearch[i], i);
    }
    auto *frameLayout = new QVBoxLayout(frame);
    frameLayout->addWidget(mOptSearch[1]);
    frameLayout->addWidget(mOptSearch[0]);

    mCmdFind = new QPushButton(QStringLiteral("Find Next"), this);
    mCmdFind->setObjectName(QStringLiteral("cmdFind"));
    mCmdFind->setDefault(true);
    mCmdCancel = new QPushButton(QStringLiteral("Cancel"), this);
    mCmdCancel->setObjectName(QStringLiteral("cmdCancel"));

    auto *grid = new QGridLayout(this);
    grid->addWidget(label, 0, 0);
    grid->addWidget(mText1, 0, 1);
    grid->addWidget(mCmdFind, 0, 2);
    grid->addWidget(mChkCase, 1, 0, 1, 2);
    grid->addWidget(mCmdCancel, 1, 2);
    grid->addWidget(frame, 2, 0, 1, 2);
    grid->setRowStretch(3, 1);

    connect(mText1, &QLineEdit::textChanged, this, &frmFind::Text1_Change);
    connect(mChkCase, &QCheckBox::clicked, this, &frmFind::chkCase_Click);
    connect(mOptGroup, &QButtonGroup::idClicked, this, &frmFind::optSearch_Click);
    connect(mCmdFind, &QPushButton::clicked, this, &frmFind::cmdFind_Click);
    connect(mCmdCancel, &QPushButton::clicked, this, &frmFind::cmdCancel_Click);

    Text1_Change();
    RegisterForm(this, QStringLiteral("frmFind"));
}

QRadioButton *frmFind::optSearch(int index) const
{
    return index == 0 || index == 1 ? mOptSearch[index] : nullptr;
}

void frmFind::showEvent(QShowEvent *event)
{
    if (!event->spontaneous())
        Form_Load();
    QDialog::showEvent(event);
}

void frmFind::Form_Load()
{
    // Reading FindText also records the grid's current cell as where the
    // search will stop.
    mText1->setText(mSearcher.FindText());
    if (!mText1->text().isEmpty())
        mText1->selectAll();
    mChkCase->setChecked(mSearcher.MatchCase());
    mOptSearch[mSearcher.FindInCol() ? 0 : 1]->setChecked(true);
    mText1->setFocus();
}

void frmFind::Text1_Change()
{
    mCmdFind->setEnabled(!VbTrim(mText1->text()).isEmpty());
}

void frmFind::chkCase_Click()
{
    mSearcher.setMatchCase(mChkCase->isChecked());
}

void frmFind::optSearch_Click(int index)
{
    mSearcher.setFindInCol(index == 0);
}

void frmFind::cmdFind_Click()
{
    mSearcher.setFindText(VbTrim(mText1->text()));
    mSearcher.Find();
    if (mSearcher.Found())
        accept();
}

void frmFind::cmdCancel_Click()
{
    reject();
}
