#include "core/frmCustomMessageBox.h"

#include "core/FormRegistry.h"
#include "core/MessageLayout.h"
#include "core/MessageWindows.h"
#include "core/Services.h"

#include <QFontMetrics>
#include <QGuiApplication>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QStyle>

#include <algorithm>

namespace {

// Whatever pointer the program shows (the hourglass of a long operation),
// the box is answered with the arrow.
class ArrowPointer
{
public:
    ArrowPointer() { QGuiApplication::setOverrideCursor(Qt::ArrowCursor); }
    ~ArrowPointer() { QGuiApplication::restoreOverrideCursor(); }
    ArrowPointer(const ArrowPointer &) = delete;
    ArrowPointer &operator=(const ArrowPointer &) = delete;
};

constexpr int kMaxWidth = kParagraphWidth;
constexpr int kIconSize = 32;
constexpr int kIconMargin = 10;
constexpr int kMinButtonWidth = 75;
constexpr int kMinButtonHeight = 25;

bool hasStandardIcon(int icon)
{
    return icon == Mb::IconStop || icon == Mb::IconQuestion || icon == Mb::IconExclamation
           || icon == Mb::IconInformation;
}

QStyle::StandardPixmap standardPixmap(int icon)
{
    switch (icon) {
    case Mb::IconStop: return QStyle::SP_MessageBoxCritical;
    case Mb::IconQuestion: return QStyle::SP_MessageBoxQuestion;
    case Mb::IconExclamation: return QStyle::SP_MessageBoxWarning;
    default: return QStyle::SP_MessageBoxInformation;
    }
}

int widestLine(const QFontMetrics &fm, const QStringList &lines)
{
    int widest = 0;
    for (const QString &line : lines)
        widest = std::max(widest, fm.horizontalAdvance(line));
    return widest;
}

// A push button does not wrap its caption; break it between words so that
// each line fits the width (a single word wider than that stays whole).
QString wrapCaption(const QFontMetrics &fm, const QString &caption, int width)
{
    const QStringList words = caption.split(u' ', Qt::SkipEmptyParts);
    QStringList lines;
    QString line;
    for (const QString &word : words) {
        const QString longer = line.isEmpty() ? word : line + u' ' + word;
        if (!line.isEmpty() && fm.horizontalAdvance(longer) > width) {
            lines.append(line);
            line = word;
        } else {
            line = longer;
        }
    }
    if (!line.isEmpty())
        lines.append(line);
    return lines.isEmpty() ? caption : lines.join(u'\n');
}

} // namespace

frmCustomMessageBox::frmCustomMessageBox(const QString &prompt, int icon, const QString &title,
                                         const QStringList &buttons, QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint)
    , mPrompt(prompt)
    , mIcon(icon)
    , mCaptions(buttons)
{
    RegisterForm(this, QStringLiteral("frmCustomMessageBox"));
    setWindowTitle(title.isEmpty() ? kProductName : title);
    if (hasStandardIcon(icon)) {
        mIconPixmap = style()->standardIcon(standardPixmap(icon), nullptr, this)
                          .pixmap(QSize(kIconSize, kIconSize), devicePixelRatio());
    }

    mLblCaption = new QLabel(this);
    mLblCaption->setObjectName(QStringLiteral("lblCaption"));
    mLblCaption->setTextFormat(Qt::PlainText);
    mLblCaption->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    mLblCaption->setText(MessageDisplayText(prompt));

    for (int i = 0; i < buttons.size(); ++i) {
        auto *button = new QPushButton(this);
        button->setObjectName(QStringLiteral("cmdButton_%1").arg(i));
        // Enter presses the button that has the focus, not only the default one.
        button->setAutoDefault(true);
        connect(button, &QPushButton::clicked, this, [this, i] { cmdButton_Click(i); });
        mCmdButton.append(button);
    }

    layOut(buttons);
}

void frmCustomMessageBox::layOut(const QStringList &buttons)
{
    const int n = int(buttons.size());
    const bool withIcon = !mIconPixmap.isNull();

    const QFontMetrics buttonMetrics =
        mCmdButton.isEmpty() ? fontMetrics() : mCmdButton.first()->fontMetrics();
    int buttonWidth = std::max(widestLine(buttonMetrics, buttons) + 10, kMinButtonWidth);
    int buttonHeight = kMinButtonHeight;
    if (!mCmdButton.isEmpty())
        buttonHeight = std::max(buttonHeight, mCmdButton.first()->sizeHint().height());
    bool wrapCaptions = false;
    while ((n - 1) * (buttonWidth + 20) > kMaxWidth) {
        buttonWidth /= 2;
        buttonHeight += buttonMetrics.lineSpacing();
        wrapCaptions = true;
    }
    const int rowWidth = n * (buttonWidth + 20);

    const QFontMetrics fm = mLblCaption->fontMetrics();
    const QStringList lines = mLblCaption->text().split(u'\n');
    const int textWidth = widestLine(fm, lines);
    const int textHeight = fm.lineSpacing() * int(lines.size());
    const int labelLeft = withIcon ? 52 : 10;
    const int margins = withIcon ? 62 : 20;
    const int labelTop = 16;
    // A paragraph wraps at 500 pixels; a text with its own lines keeps them
    // up to the screen's width.
    const int widest = std::max(kMaxWidth, MessageContentWidth(this, mPrompt));

    int formWidth = 0;
    int labelWidth = 0;
    int labelHeight = 0;
    if (textWidth + margins <= widest) {
        labelHeight = textHeight + 5;
        formWidth = std::max(textWidth + margins, rowWidth);
        // A couple of pixels over the measured width, so rounding never clips it.
        labelWidth = textWidth + 2;
        if (!withIcon && rowWidth > textWidth + margins)
            labelWidth = rowWidth - 20;
    } else {
        formWidth = widest;
        labelWidth = formWidth - margins;
        mLblCaption->setWordWrap(true);
        const int estimate = (fm.lineSpacing() + 2) * textWidth / 450 + 10;
        labelHeight = std::max(estimate, mLblCaption->heightForWidth(labelWidth));
    }
    mLblCaption->setGeometry(labelLeft, labelTop, labelWidth, labelHeight);

    const int buttonTop =
        (withIcon && labelHeight < kIconSize) ? 52 : labelTop + labelHeight + 10;
    for (int i = 0; i < n; ++i) {
        const QString &caption = buttons.at(i);
        if (!wrapCaptions) {
            mCmdButton.at(i)->setText(caption);
            continue;
        }
        // At least a line taller per halving; more when a caption wraps further.
        const QString wrapped = wrapCaption(buttonMetrics, caption, buttonWidth - 10);
        mCmdButton.at(i)->setText(wrapped);
        buttonHeight = std::max(buttonHeight, int(wrapped.count(u'\n') + 1)
                                                  * buttonMetrics.lineSpacing() + 10);
    }
    for (int i = 0; i < n; ++i) {
        QPushButton *button = mCmdButton.at(i);
        const QString &caption = buttons.at(i);
        int left = 10;
        if (n == 1)
            left = (formWidth - buttonWidth) / 2;
        else if (i > 0)
            left = (formWidth - 10 - buttonWidth) * i / (n - 1);
        button->setGeometry(left, buttonTop, buttonWidth, buttonHeight);

        if (i == 0)
            continue;
        // Of the buttons after the first, "Cancel" answers Esc and "Yes" or
        // "Ok" answers Enter when no button has the focus; the last wins.
        if (caption.compare(QLatin1String("Cancel"), Qt::CaseInsensitive) == 0)
            mCancelIndex = i;
        if (caption.compare(QLatin1String("Yes"), Qt::CaseInsensitive) == 0
            || caption.compare(QLatin1String("Ok"), Qt::CaseInsensitive) == 0)
            button->setDefault(true);
    }

    setFixedSize(formWidth, buttonTop + buttonHeight + 10);
}

QString frmCustomMessageBox::run()
{
    mResult.clear();
    ArrowPointer arrow;
    exec();
    return mResult;
}

void frmCustomMessageBox::reject()
{
    if (mCancelIndex >= 0)
        cmdButton_Click(mCancelIndex);
}

void frmCustomMessageBox::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (!mCmdButton.isEmpty())
        mCmdButton.first()->setFocus(Qt::OtherFocusReason);
}

void frmCustomMessageBox::paintEvent(QPaintEvent *event)
{
    QDialog::paintEvent(event);
    if (mIconPixmap.isNull())
        return;
    QPainter painter(this);
    painter.drawPixmap(kIconMargin, kIconMargin, mIconPixmap);
}

void frmCustomMessageBox::mousePressEvent(QMouseEvent *event)
{
    const Qt::KeyboardModifiers both = Qt::ShiftModifier | Qt::ControlModifier;
    if (event->button() == Qt::LeftButton && (event->modifiers() & both) == both
        && !childAt(event->position().toPoint())) {
        // The standard box lets the transcriber copy the text; this one waits on.
        ArrowPointer arrow;
        ShowMessage(mPrompt, Mb::styleForIcon(mIcon), windowTitle());
        event->accept();
        return;
    }
    QDialog::mousePressEvent(event);
}

void frmCustomMessageBox::cmdButton_Click(int index)
{
    mResult = mCaptions.value(index);
    accept();
}
