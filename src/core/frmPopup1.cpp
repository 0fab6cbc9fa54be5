#include "core/frmPopup1.h"

#include "core/FormRegistry.h"
#include "core/Globals.h"
#include "core/MessageLayout.h"
#include "core/MessageWindows.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPalette>
#include <QPushButton>
#include <QVBoxLayout>

namespace {
// However short the text, the popup keeps a small window's width.
constexpr int kMinTextWidth = 280;
} // namespace

frmPopup1::frmPopup1(QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint)
{
    RegisterForm(this, QStringLiteral("frmPopup1"));
    setWindowTitle(kProductName);

    mLabel1 = new QLabel(this);
    mLabel1->setObjectName(QStringLiteral("Label1"));
    mLabel1->setTextFormat(Qt::PlainText);
    mLabel1->setAlignment(Qt::AlignCenter);
    mLabel1->setMinimumWidth(kMinTextWidth);

    mPopYes = new QPushButton(tr("Yes"), this);
    mPopYes->setObjectName(QStringLiteral("PopYes"));
    mPopNo = new QPushButton(tr("No"), this);
    mPopNo->setObjectName(QStringLiteral("PopNo"));
    mCommand1 = new QPushButton(tr("OK"), this);
    mCommand1->setObjectName(QStringLiteral("Command1"));

    auto *row = new QHBoxLayout;
    row->addStretch();
    for (QPushButton *button : {mPopYes, mPopNo, mCommand1}) {
        row->addWidget(button);
        // The buttons hold the focus; Y and N must reach the form all the same.
        button->installEventFilter(this);
    }
    row->addStretch();

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(mLabel1);
    layout->addLayout(row);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    connect(mPopYes, &QPushButton::clicked, this, &frmPopup1::PopYes_Click);
    connect(mPopNo, &QPushButton::clicked, this, &frmPopup1::PopNo_Click);
    connect(mCommand1, &QPushButton::clicked, this, &frmPopup1::Command1_Click);

    setQuestion(false);
}

void frmPopup1::setQuestion(bool question)
{
    mQuestion = question;
    mPopYes->setVisible(question);
    mPopNo->setVisible(question);
    mCommand1->setVisible(!question);
}

void frmPopup1::setText(const QString &text, const QColor &colour)
{
    // The text's own lines stand as written while they fit the screen (a
    // paragraph: 500 pixels); only a longer line wraps.
    const QString shown = MessageDisplayText(text);
    mLabel1->setText(shown);
    const QMargins margins = layout()->contentsMargins();
    const int room = MessageContentWidth(this, text) - margins.left() - margins.right();
    const bool wraps = WidestLine(mLabel1->fontMetrics(), shown) > room;
    mLabel1->setWordWrap(wraps);
    mLabel1->setMinimumWidth(wraps ? room : kMinTextWidth);
    QPalette palette = mLabel1->palette();
    palette.setColor(QPalette::WindowText,
                     colour.isValid() ? colour : this->palette().color(QPalette::WindowText));
    mLabel1->setPalette(palette);
}

void frmPopup1::reject()
{
    // Only the buttons (or Y and N) leave the popup.
}

bool frmPopup1::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::KeyPress && answerKey(static_cast<QKeyEvent *>(event)))
        return true;
    return QDialog::eventFilter(watched, event);
}

void frmPopup1::keyPressEvent(QKeyEvent *event)
{
    if (!answerKey(event))
        QDialog::keyPressEvent(event);
}

bool frmPopup1::answerKey(const QKeyEvent *event)
{
    if (!mQuestion || (event->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)))
        return false;
    const QString key = event->text();
    if (key.compare(QLatin1String("y"), Qt::CaseInsensitive) == 0) {
        PopYes_Click();
        return true;
    }
    if (key.compare(QLatin1String("n"), Qt::CaseInsensitive) == 0) {
        PopNo_Click();
        return true;
    }
    return false;
}

void frmPopup1::PopYes_Click()
{
    gPopAnswer = true;
    accept();
}

void frmPopup1::PopNo_Click()
{
    gPopAnswer = false;
    accept();
}

void frmPopup1::Command1_Click()
{
    accept();
}
