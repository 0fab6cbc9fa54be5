#include "core/frmMessage.h"

#include "core/FormRegistry.h"
#include "core/MessageLayout.h"
#include "core/VbHelpers.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>

namespace {
constexpr int kMinInfoWidth = 440;
} // namespace

frmMessage::frmMessage(QWidget *parent) : QDialog(parent)
{
    RegisterForm(this, QStringLiteral("frmMessage"));
    setWindowTitle(QStringLiteral("Pelkar - File Upload"));

    mLbFixedText = new QLabel(
        QStringLiteral("The Information message shown below was received from Quorvel.  "
                       "Please read it and then click the button at the bottom of this form."),
        this);
    mLbFixedText->setObjectName(QStringLiteral("lbFixedText"));
    mLbFixedText->setTextFormat(Qt::PlainText);
    mLbFixedText->setWordWrap(true);

    mLbResult = new QLabel(this);
    mLbResult->setObjectName(QStringLiteral("lbResult"));
    mLbResult->setTextFormat(Qt::PlainText);
    mLbResult->setWordWrap(true);
    QFont bold = mLbResult->font();
    bold.setBold(true);
    mLbResult->setFont(bold);

    mTxInfo = new QPlainTextEdit(this);
    mTxInfo->setObjectName(QStringLiteral("txInfo"));
    mTxInfo->setReadOnly(true);
    mTxInfo->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    mTxInfo->setMinimumSize(kMinInfoWidth, 200);

    mCommand1 = new QPushButton(tr("Click Here"), this);
    mCommand1->setObjectName(QStringLiteral("Command1"));
    mCommand1->setDefault(true);
    connect(mCommand1, &QPushButton::clicked, this, &frmMessage::Command1_Click);

    auto *row = new QHBoxLayout;
    row->addStretch();
    row->addWidget(mCommand1);
    row->addStretch();

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(mLbFixedText);
    layout->addWidget(mLbResult);
    layout->addWidget(mTxInfo, 1);
    layout->addLayout(row);
    keepWrappedLabelsWhole();
}

void frmMessage::setResultText(const QString &text)
{
    mResultText = VbTrim(text);
}

void frmMessage::setInfoText(const QString &text)
{
    mInfoText = text;
}

void frmMessage::FlashIt()
{
    const QString result = MessageDisplayText(mResultText);
    const QString info = MessageDisplayText(mInfoText);
    mLbResult->setText(result);
    mTxInfo->setPlainText(info);

    // The texts' own lines stand as written while they fit the screen; the
    // explanation above them wraps to whatever width they take.
    const QMargins margins = layout()->contentsMargins();
    const int besides = margins.left() + margins.right();
    if (HasOwnLines(result)) {
        const int room = MessageContentWidth(this, result) - besides;
        const bool wraps = WidestLine(mLbResult->fontMetrics(), result) > room;
        mLbResult->setWordWrap(wraps);
        mLbResult->setMinimumWidth(wraps ? room : 0);
    } else {
        mLbResult->setWordWrap(true);
        mLbResult->setMinimumWidth(0);
    }
    // The information box's text starts inside its frame and the document's
    // margin, and must leave room for a scroll bar.
    const int infoBesides = 2 * mTxInfo->frameWidth()
                            + 2 * int(std::ceil(mTxInfo->document()->documentMargin()))
                            + mTxInfo->verticalScrollBar()->sizeHint().width()
                            + mTxInfo->fontMetrics().averageCharWidth();
    const int infoWidth = WidestLine(mTxInfo->fontMetrics(), info) + infoBesides;
    mTxInfo->setMinimumWidth(
        std::max(kMinInfoWidth, std::min(infoWidth, MessageContentWidth(this, info) - besides)));
    keepWrappedLabelsWhole();

    QApplication::alert(this);
}

void frmMessage::keepWrappedLabelsWhole()
{
    // A window's minimum height counts a wrapping label as one line, so a
    // tall window would squeeze the labels. Each is given the height it
    // needs at the narrowest the window can be; wider, it needs less.
    for (QLabel *label : {mLbFixedText, mLbResult})
        label->setMinimumHeight(0);
    layout()->activate();
    const QMargins margins = layout()->contentsMargins();
    const int narrowest = layout()->totalMinimumSize().width() - margins.left() - margins.right();
    for (QLabel *label : {mLbFixedText, mLbResult}) {
        if (label->wordWrap())
            label->setMinimumHeight(std::max(label->heightForWidth(narrowest), 0));
    }
}

void frmMessage::Command1_Click()
{
    accept();
}
