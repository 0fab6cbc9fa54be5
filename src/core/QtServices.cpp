#include "core/QtServices.h"

#include "core/FormRegistry.h"
#include "core/Globals.h"
#include "core/MessageLayout.h"
#include "core/frmCustomMessageBox.h"
#include "core/frmMessage.h"
#include "core/frmPopup1.h"

#include <QApplication>
#include <QCloseEvent>
#include <QColorDialog>
#include <QDesktopServices>
#include <QDir>
#include <QFileDialog>
#include <QFontDialog>
#include <QFontMetrics>
#include <QInputDialog>
#include <QKeyEvent>
#include <QLabel>
#include <QLayout>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QScreen>
#include <QStyle>

#include <algorithm>
#include <utility>
#include <vector>

namespace {

// Dialogs open over whichever window the transcriber is working in.
QWidget *dialogParent()
{
    return QApplication::activeWindow();
}

// QMessageBox takes a Reject-role button (Abort) as the Esc answer by
// itself; a box whose style has no Esc answer must ignore Esc and Close.
// QMessageBox also wraps every text longer than half the screen or 500
// pixels, which breaks a text's own lines again; such a text keeps its lines.
class StyledMessageBox : public QMessageBox
{
public:
    using QMessageBox::QMessageBox;
    bool escapeAnswers = true;

protected:
    bool event(QEvent *event) override
    {
        const bool handled = QMessageBox::event(event);
        // The box sizes itself again on every layout request.
        if (event->type() == QEvent::LayoutRequest)
            keepOwnLines();
        return handled;
    }
    void showEvent(QShowEvent *event) override
    {
        QMessageBox::showEvent(event);
        keepOwnLines();
    }
    void keyPressEvent(QKeyEvent *event) override
    {
        if (!escapeAnswers && event->matches(QKeySequence::Cancel)) {
            event->accept();
            return;
        }
        QMessageBox::keyPressEvent(event);
    }
    void closeEvent(QCloseEvent *event) override
    {
        if (!escapeAnswers) {
            event->ignore();
            return;
        }
        QMessageBox::closeEvent(event);
    }

private:
    // Widens a box that wrapped a text with its own lines until its widest
    // line fits, up to the screen's width.
    void keepOwnLines()
    {
        auto *label = findChild<QLabel *>(QStringLiteral("qt_msgbox_label"));
        if (!isVisible() || !label || !label->wordWrap() || !HasOwnLines(text()) || !layout())
            return;
        const int room = ScreenContentWidth(this);
        // The label's room for its widest line decides the box's width; the
        // layout adds the icon, the margins and a wider button row.
        label->setMinimumWidth(std::min(WidestLine(label->fontMetrics(), label->text()) + 1, room));
        layout()->activate();
        const int width = std::min(std::max(layout()->totalMinimumSize().width(), minimumWidth()),
                                   room);
        const int height = layout()->totalHeightForWidth(width);
        label->setMinimumWidth(0);
        setFixedSize(width, height);
        // As QMessageBox does after sizing itself: the changes above asked
        // for another layout pass, which would size the box again.
        QCoreApplication::removePostedEvents(this, QEvent::LayoutRequest);
    }
};

struct BoxButton
{
    QMessageBox::StandardButton button;
    int answer;
};

// The buttons of a style, in the order its default-button number counts them.
std::vector<BoxButton> buttonsOf(int style)
{
    switch (style & Mb::ButtonsMask) {
    case Mb::OkCancel:
        return {{QMessageBox::Ok, Mb::Ok}, {QMessageBox::Cancel, Mb::Cancel}};
    case Mb::AbortRetryIgnore:
        return {{QMessageBox::Abort, Mb::Abort},
                {QMessageBox::Retry, Mb::Retry},
                {QMessageBox::Ignore, Mb::Ignore}};
    case Mb::YesNoCancel:
        return {{QMessageBox::Yes, Mb::Yes},
                {QMessageBox::No, Mb::No},
                {QMessageBox::Cancel, Mb::Cancel}};
    case Mb::YesNo:
        return {{QMessageBox::Yes, Mb::Yes}, {QMessageBox::No, Mb::No}};
    case Mb::RetryCancel:
        return {{QMessageBox::Retry, Mb::Retry}, {QMessageBox::Cancel, Mb::Cancel}};
    default:
        return {{QMessageBox::Ok, Mb::Ok}};
    }
}

QMessageBox::Icon iconOf(int style)
{
    switch (style & Mb::IconMask) {
    case Mb::Critical: return QMessageBox::Critical;
    case Mb::Question: return QMessageBox::Question;
    case Mb::Exclamation: return QMessageBox::Warning;
    case Mb::Information: return QMessageBox::Information;
    default: return QMessageBox::NoIcon;
    }
}

} // namespace

int QtMessageService::messageBox(const QString &prompt, int style, const QString &title)
{
    StyledMessageBox box(dialogParent());
    box.setWindowTitle(title);
    box.setTextFormat(Qt::PlainText);
    box.setText(MessageDisplayText(prompt));
    box.setIcon(iconOf(style));

    const std::vector<BoxButton> buttons = buttonsOf(style);
    std::vector<std::pair<QAbstractButton *, int>> answers;
    QPushButton *escape = nullptr;
    for (const BoxButton &b : buttons) {
        QPushButton *button = box.addButton(b.button);
        answers.emplace_back(button, b.answer);
        if (b.answer == Mb::Cancel || (b.answer == Mb::No && !escape))
            escape = button;
    }
    if (buttons.size() == 1)
        escape = static_cast<QPushButton *>(answers.front().first);
    box.escapeAnswers = escape != nullptr;
    if (escape)
        box.setEscapeButton(escape);

    // 256 picks the second button, 512 the third; one beyond the set keeps the first.
    const std::size_t defaultIndex = std::size_t((style >> 8) & 0x3);
    box.setDefaultButton(static_cast<QPushButton *>(
        answers.at(defaultIndex < answers.size() ? defaultIndex : 0).first));

    // A system-modal box has no counterpart here: the box is application-modal.
    box.exec();
    for (const auto &[button, answer] : answers) {
        if (box.clickedButton() == button)
            return answer;
    }
    return Mb::NoAnswer;
}

QString QtMessageService::customBox(const QString &prompt, int icon, const QString &title,
                                    const QStringList &buttons)
{
    frmCustomMessageBox box(prompt, icon, title, buttons, dialogParent());
    return box.run();
}

bool QtMessageService::popup(const QString &text, bool question, const QColor &textColour)
{
    frmPopup1 form(dialogParent());
    form.setText(text, textColour);
    form.setQuestion(question);
    form.exec();
    return question && gPopAnswer;
}

QtMessageService::QtMessageService() = default;

QtMessageService::~QtMessageService()
{
    closeSaveResults();
}

void QtMessageService::saveResults(const QString &resultText, const QString &infoText,
                                   bool takeFocus)
{
    closeSaveResults();
    auto *owner = qobject_cast<QWidget *>(FindForm(QStringLiteral("Form1")));
    auto *form = new frmMessage(owner ? owner : dialogParent());
    form->setWindowTitle(QStringLiteral("Save Results"));
    // The fixed text speaks of a reply from the server: the upload's, not
    // the save's.
    form->lbFixedText()->hide();
    // The two result lines in small type, with room for the second to wrap.
    QFont small = form->lbResult()->font();
    small.setPointSize(8);
    form->lbResult()->setFont(small);
    form->lbResult()->setMinimumHeight(4 * QFontMetrics(small).lineSpacing());
    form->setModal(false);
    form->setAttribute(Qt::WA_ShowWithoutActivating, !takeFocus);
    QObject::connect(form, &QDialog::finished, form, &QObject::deleteLater);
    form->setResultText(resultText);
    form->setInfoText(infoText);
    form->FlashIt();
    form->show();
    if (takeFocus) {
        form->activateWindow();
        form->Command1()->setFocus();
    }
    mSaveResults = form;
}

void QtMessageService::closeSaveResults()
{
    const QPointer<frmMessage> form = mSaveResults;
    mSaveResults = nullptr;
    if (!form)
        return;
    form->close();
    // A window closed while hidden never finishes, so it is not deleted
    // by its own signal.
    if (form)
        form->deleteLater();
}

void QtMessageService::notice(const QString &resultText, const QString &infoText)
{
    frmMessage form(dialogParent());
    form.setResultText(resultText);
    form.setInfoText(infoText);
    form.FlashIt();
    form.exec();
}

std::optional<QString> QtMessageService::inputBox(const QString &prompt, const QString &title,
                                                  const QString &defaultText)
{
    bool ok = false;
    const QString text = QInputDialog::getText(dialogParent(), title, MessageDisplayText(prompt),
                                               QLineEdit::Normal, defaultText, &ok);
    if (!ok)
        return std::nullopt;
    return text;
}

QString QtFileFilter(const QString &filter)
{
    if (!filter.contains(u'|'))
        return filter;
    const QStringList parts = filter.split(u'|');
    QStringList entries;
    for (int i = 0; i + 1 < parts.size(); i += 2) {
        QString description = parts.at(i).trimmed();
        const int open = description.lastIndexOf(u'(');
        if (open > 0 && description.endsWith(u')'))
            description = description.left(open).trimmed();
        QStringList patterns;
        const auto add = [&patterns](const QString &p) {
            if (!p.isEmpty() && !patterns.contains(p))
                patterns.append(p);
        };
        for (QString pattern : parts.at(i + 1).split(u';', Qt::SkipEmptyParts)) {
            pattern = pattern.trimmed();
            if (pattern == QLatin1String("*.*")) {
                add(QStringLiteral("*"));
                continue;
            }
            add(pattern);
            add(pattern.toUpper());
            add(pattern.toLower());
        }
        entries.append(description + QLatin1String(" (") + patterns.join(u' ') + u')');
    }
    return entries.join(QLatin1String(";;"));
}

QtDialogService::QtDialogService() = default;
QtDialogService::~QtDialogService() = default;

QString QtDialogService::openFile(const QString &title, const QString &folder,
                                  const QString &filter, const QString &fileName, bool mustExist)
{
    QFileDialog dialog(dialogParent(), title, folder, QtFileFilter(filter));
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(mustExist ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
    if (!fileName.isEmpty())
        dialog.selectFile(fileName);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return QString();
    return dialog.selectedFiles().constFirst();
}

QString QtDialogService::saveFile(const QString &title, const QString &folder,
                                  const QString &suggestedName, const QString &filter)
{
    const QString start = folder.isEmpty() ? suggestedName : QDir(folder).filePath(suggestedName);
    // The Save As command asks about an existing file itself; the dialog
    // asking too would put the same question twice.
    return QFileDialog::getSaveFileName(dialogParent(), title, start, QtFileFilter(filter),
                                        nullptr, QFileDialog::DontConfirmOverwrite);
}

QString QtDialogService::chooseFolder(const QString &title, const QString &startFolder)
{
    return QFileDialog::getExistingDirectory(
        dialogParent(), title, startFolder,
        QFileDialog::ShowDirsOnly | QFileDialog::DontUseNativeDialog);
}

std::optional<QFont> QtDialogService::chooseFont(const QFont &initial)
{
    bool ok = false;
    const QFont font = QFontDialog::getFont(&ok, initial, dialogParent());
    if (!ok)
        return std::nullopt;
    return font;
}

std::optional<QColor> QtDialogService::chooseColour(const QColor &initial)
{
    const QColor colour = QColorDialog::getColor(initial, dialogParent());
    if (!colour.isValid())
        return std::nullopt;
    return colour;
}

bool QtDialogService::printerSetup()
{
    QPrintDialog dialog(printer(), dialogParent());
    return dialog.exec() == QDialog::Accepted;
}

QPrinter *QtDialogService::printer()
{
    // Built at first use: a printer looks up the system's print queues.
    if (!mPrinter)
        mPrinter = std::make_unique<QPrinter>(QPrinter::HighResolution);
    return mPrinter.get();
}

bool QtShellService::openUrl(const QUrl &url)
{
    return QDesktopServices::openUrl(url);
}

void QtInputService::beep()
{
    QApplication::beep();
}

bool QtInputService::shiftDown()
{
    // As the last event delivered left it, not as the keyboard is now: the
    // latter may already belong to keys still queued.
    return QGuiApplication::keyboardModifiers() & Qt::ShiftModifier;
}

QtInputService::QtInputService(KeySender sendKey)
    : mSendKey(sendKey)
{
}

void QtInputService::sendKey(int vk, bool down)
{
    if (mSendKey)
        mSendKey(vk, down);
}

QDateTime QtClock::now()
{
    return QDateTime::currentDateTime();
}

namespace {
constexpr double kTwipsPerInch = 1440.0;
constexpr double kDefaultTwipsPerPixel = 15.0;
} // namespace

double QtScreenMetrics::twipsPerPixelX()
{
    const QScreen *screen = QGuiApplication::primaryScreen();
    return screen ? kTwipsPerInch / screen->logicalDotsPerInchX() : kDefaultTwipsPerPixel;
}

double QtScreenMetrics::twipsPerPixelY()
{
    const QScreen *screen = QGuiApplication::primaryScreen();
    return screen ? kTwipsPerInch / screen->logicalDotsPerInchY() : kDefaultTwipsPerPixel;
}

int QtScreenMetrics::horizontalScrollBarHeight()
{
    return QApplication::style()->pixelMetric(QStyle::PM_ScrollBarExtent);
}

int QtScreenMetrics::verticalScrollBarWidth()
{
    return QApplication::style()->pixelMetric(QStyle::PM_ScrollBarExtent);
}

QRect QtScreenMetrics::screenRect()
{
    const QScreen *screen = QGuiApplication::primaryScreen();
    return screen ? screen->availableGeometry() : QRect(0, 0, 1024, 768);
}

void installQtServices(KeySender sendKey)
{
    Services::install(std::make_unique<QtMessageService>());
    Services::install(std::make_unique<QtDialogService>());
    Services::install(std::make_unique<QtShellService>());
    Services::install(std::make_unique<QtInputService>(sendKey));
    Services::install(std::make_unique<QtClock>());
    Services::install(std::make_unique<QtScreenMetrics>());
}
