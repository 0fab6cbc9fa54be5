#include "mainwindow/ShowStatus.h"

#include "core/Globals.h"
#include "core/Project.h"
#include "core/VbHelpers.h"

#include <QFontMetrics>
#include <QLabel>
#include <QPainter>
#include <QPixmap>

namespace {

QColor fromStored(std::uint32_t colour)
{
    return QColor(int(colour & 0xFF), int((colour >> 8) & 0xFF), int((colour >> 16) & 0xFF));
}

// Sized so that the usual texts fit: a batch name with its page, the
// count and the minutes.
constexpr int kMinimumWidths[4] = {200, 220, 120, 110};

// A panel keeps its width while the window has room for it, and is clipped
// when the window is made narrower, as a status bar's panels are: its width
// never holds the window wider than the transcriber made it.
class StatusPanel : public QLabel
{
public:
    StatusPanel(int width, QWidget *parent) : QLabel(parent), mWidth(width) {}
    QSize sizeHint() const override
    {
        const QSize hint = QLabel::sizeHint();
        return {std::max(mWidth, hint.width()), hint.height()};
    }
    QSize minimumSizeHint() const override { return {0, QLabel::minimumSizeHint().height()}; }

private:
    int mWidth;
};

} // namespace

ShowStatus::ShowStatus(QStatusBar *bar) : mBar(bar)
{
    for (int i = 0; i < 4; ++i) {
        auto *label = new StatusPanel(kMinimumWidths[i], bar);
        label->setObjectName(QStringLiteral("Panel") + QString::number(i + 1));
        label->setFrameShape(QFrame::Panel);
        label->setFrameShadow(QFrame::Sunken);
        label->setTextFormat(Qt::PlainText);
        mPanels[i] = label;
        // The message panel takes the room that is left; the others keep
        // their width at the right.
        if (i == 0)
            bar->addWidget(label, 1);
        else
            bar->addPermanentWidget(label);
    }
}

QLabel *ShowStatus::panel(int n) const
{
    return n >= 1 && n <= 4 ? mPanels[n - 1].data() : nullptr;
}

void ShowStatus::ShowMsg(const QString &text, bool error, bool warning)
{
    mMessage = text;
    if (error) {
        DrawStatusPanel(1, text, kErrorBack, kErrorText, 0);
    } else if (warning) {
        DrawStatusPanel(1, text, kWarningBack, kWarningText, 0);
    } else if (QLabel *label = panel(1)) {
        // Only what differs: any change to a panel lays out the whole status
        // bar again and repaints it, and most cells leave it as it was.
        if (!label->pixmap().isNull())
            label->clear();
        label->setText(text);
    }
}

void ShowStatus::ShowFile()
{
    QLabel *label = panel(2);
    if (!label || !gProject)
        return;
    QString word;
    switch (gProject->SourceType()) {
    case 1:
        word = QStringLiteral("Fiche ");
        break;
    case 2:
        word = QStringLiteral("Film ");
        break;
    case 3:
        word = QStringLiteral("Scan ");
        break;
    default:
        break;
    }
    label->setText(word + gProject->BuildBatchName() + QStringLiteral("  Page ")
                   + gProject->LastPageString() + QStringLiteral("  "));
}

void ShowStatus::ShowPanel3(const QString &text)
{
    if (QLabel *label = panel(3))
        label->setText(text);
}

void ShowStatus::ShowDuration()
{
    ++mDuration;
    if (QLabel *label = panel(4))
        label->setText(QStringLiteral("Dur'n: ") + QString::number(mDuration - 1)
                       + QStringLiteral(" mins"));
}

void ShowStatus::DrawStatusPanel(int panelIndex, const QString &text, std::uint32_t backColour,
                                 std::uint32_t textColour, int alignment)
{
    QLabel *label = panel(panelIndex);
    if (!label || !mBar)
        return;
    const QFont font = mBar->font();
    const QFontMetrics metrics(font);
    // As high as the bar less a small margin, as wide as the text with
    // "XX" and 25 twips beside it.
    const int height = std::max(1, mBar->height() - TwipsToPixelsY(5));
    const int width = metrics.horizontalAdvance(text + QStringLiteral("XX")) + TwipsToPixelsX(25);
    const qreal ratio = label->devicePixelRatioF();
    QPixmap picture(QSize(width, std::max(height, metrics.height())) * ratio);
    picture.setDevicePixelRatio(ratio);
    picture.fill(fromStored(backColour));
    QPainter painter(&picture);
    painter.setFont(font);
    painter.setPen(fromStored(textColour));
    const int textWidth = metrics.horizontalAdvance(text);
    const int pictureHeight = std::max(height, metrics.height());
    int x = 0;
    if (alignment == 1)
        x = width - textWidth - 2;
    else if (alignment == 2)
        x = (width - textWidth) / 2;
    const int y = (pictureHeight - metrics.height()) / 2 + metrics.ascent();
    painter.drawText(x, y, QStringLiteral(" ") + text);
    painter.end();
    label->setText(QString());
    label->setPixmap(picture);
    label->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
}
