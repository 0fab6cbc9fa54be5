#include "core/frmMessage.h"

#include "core/FormRegistry.h"
#include "core/VbHelpers.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

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
    mTxInfo->setMinimumSize(440, 200);

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
    mLbResult->setText(mResultText);
    mTxInfo->setPlainText(mInfoText);
    QApplication::alert(this);
}

void frmMessage::Command1_Click()
{
    accept();
}
