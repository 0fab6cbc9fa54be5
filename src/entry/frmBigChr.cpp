#include "entry/frmBigChr.h"

#include <QFrame>
#include <QLabel>
#include <QVBoxLayout>

namespace {
constexpr int kSidePixels = 96;
constexpr int kPoints = 44;
} // namespace

frmBigChr::frmBigChr(QWidget *parent)
    : QWidget(parent, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowDoesNotAcceptFocus)
{
    setObjectName(QStringLiteral("frmBigChr"));
    // The picker keeps the focus: the character is only looked at.
    setAttribute(Qt::WA_ShowWithoutActivating);
    setFixedSize(kSidePixels, kSidePixels);

    mBig = new QLabel(this);
    mBig->setObjectName(QStringLiteral("lbBig"));
    mBig->setAlignment(Qt::AlignCenter);
    mBig->setFrameShape(QFrame::Box);
    mBig->setAutoFillBackground(true);
    QPalette palette = mBig->palette();
    palette.setColor(QPalette::Window, Qt::white);
    palette.setColor(QPalette::WindowText, Qt::black);
    mBig->setPalette(palette);
    QFont font = mBig->font();
    font.setPointSize(kPoints);
    mBig->setFont(font);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(mBig);
}

void frmBigChr::ShowAt(const QString &character, int x, int middleY)
{
    mBig->setText(character);
    move(x, middleY - height() / 2);
    show();
    raise();
}
