// The message windows for real under the offscreen platform: the custom
// captioned box, the popup, the notice window, and the standard box as the
// Qt message service builds it.

#include "PelkarTest.h"

#include "app/StartUp.h"
#include "core/FormRegistry.h"
#include "core/Globals.h"
#include "core/MessageLayout.h"
#include "core/MessageWindows.h"
#include "core/Project.h"
#include "core/QtServices.h"
#include "core/frmCustomMessageBox.h"
#include "core/frmMessage.h"
#include "core/frmPopup1.h"

#include <QApplication>
#include <QDir>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextDocumentLayout>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QTextBlock>
#include <QTextLayout>
#include <QTimer>

#include <cmath>
#include <functional>

using KeyList = QList<int>;

class tst_MessageWindows : public PelkarTest
{
    Q_OBJECT

protected:
    void setUpCase() override;
    void tearDownCase() override;

private slots:
    void customBoxKeys_data();
    void customBoxKeys();
    void customBoxThroughService();
    void customBoxSingleButtonIsCentred();
    void customBoxWideCaptionsFit();
    void customBoxLayout_data();
    void customBoxLayout();
    void customBoxRepeatsTextOnShiftCtrlClick_data();
    void customBoxRepeatsTextOnShiftCtrlClick();
    void myMsgBoxWithoutOneToSixCaptionsShowsNothing_data();
    void myMsgBoxWithoutOneToSixCaptionsShowsNothing();

    void popupKeys_data();
    void popupKeys();
    void popupButtons_data();
    void popupButtons();
    void popupThroughService();

    void noticeShowsTextsOnlyAfterFlashIt();
    void noticeThroughService();
    void saveResultsModelessOverMainWindow();
    void saveResultsReplacedAndClosed();

    void messageBoxStyles_data();
    void messageBoxStyles();
    void inputBox_data();
    void inputBox();
    void installQtServicesInstallsEveryKind();

    void windowsKeepTheTextsOwnLines_data();
    void windowsKeepTheTextsOwnLines();

private:
    // Runs act once the next modal dialog of type T is shown and active.
    template<typename T>
    void whenModal(std::function<void(T *)> act);
    // Shows a window and waits until it has the keyboard.
    static bool showActive(QWidget *w);
    // Sends each key to whatever widget has the focus.
    static void pressKeys(const KeyList &keys);

    QTimer *mSafety = nullptr;
    bool mSafetyFired = false;
    QList<QPointer<QTimer>> mWaiters;
};

void tst_MessageWindows::setUpCase()
{
    mSafetyFired = false;
    // No test may hang on a modal window that its driver failed to close.
    mSafety = new QTimer(this);
    mSafety->setInterval(4000);
    connect(mSafety, &QTimer::timeout, this, [this] {
        for (QWidget *w : QApplication::topLevelWidgets()) {
            if (auto *dialog = qobject_cast<QDialog *>(w); dialog && dialog->isVisible()) {
                mSafetyFired = true;
                dialog->done(QDialog::Rejected);
            }
        }
    });
    mSafety->start();
}

void tst_MessageWindows::tearDownCase()
{
    delete mSafety;
    mSafety = nullptr;
    for (const QPointer<QTimer> &t : std::as_const(mWaiters))
        delete t.data();
    mWaiters.clear();
    // A test that failed half-way may leave its pointer pushed.
    while (QGuiApplication::overrideCursor())
        QGuiApplication::restoreOverrideCursor();
    QVERIFY2(!mSafetyFired, "a modal window was left open and had to be closed");
}

template<typename T>
void tst_MessageWindows::whenModal(std::function<void(T *)> act)
{
    auto *waiter = new QTimer(this);
    waiter->setInterval(10);
    connect(waiter, &QTimer::timeout, this, [waiter, act] {
        auto *w = qobject_cast<T *>(QApplication::activeModalWidget());
        if (!w || !w->isActiveWindow())
            return;
        waiter->stop();
        act(w);
    });
    waiter->start();
    mWaiters.append(waiter);
}

bool tst_MessageWindows::showActive(QWidget *w)
{
    w->show();
    return QTest::qWaitForWindowActive(w);
}

void tst_MessageWindows::pressKeys(const KeyList &keys)
{
    for (int key : keys) {
        QWidget *target = QApplication::focusWidget();
        if (!target)
            target = QApplication::activeWindow();
        // The window closed early: what it answered is checked by the caller.
        if (!target)
            return;
        // A character carries its text ('Y' with Shift), as typing gives it.
        if (key < 0x80)
            QTest::keyClick(target, char(key));
        else
            QTest::keyClick(target, Qt::Key(key));
    }
}

// ---- the custom captioned box --------------------------------------------

void tst_MessageWindows::customBoxKeys_data()
{
    QTest::addColumn<QStringList>("captions");
    QTest::addColumn<KeyList>("keys");
    QTest::addColumn<QString>("answer"); // empty: the box is still open

    const QStringList okCancel{"Ok", "Cancel"};
    QTest::newRow("esc-answers-cancel") << okCancel << KeyList{Qt::Key_Escape} << "Cancel";
    QTest::newRow("enter-answers-focused-first-button")
        << okCancel << KeyList{Qt::Key_Return} << "Ok";
    QTest::newRow("tab-then-enter-answers-second")
        << okCancel << KeyList{Qt::Key_Tab, Qt::Key_Enter} << "Cancel";
    QTest::newRow("lower-case-cancel-answers-as-given")
        << QStringList{"yes", "No", "cancel"} << KeyList{Qt::Key_Escape} << "cancel";
    QTest::newRow("enter-presses-focused-not-default-yes")
        << QStringList{"No", "Yes"} << KeyList{Qt::Key_Return} << "No";
    QTest::newRow("esc-does-nothing-without-cancel")
        << QStringList{"Yes", "No"} << KeyList{Qt::Key_Escape} << "";
    QTest::newRow("first-button-cancel-does-not-answer-esc")
        << QStringList{"Cancel", "Retry"} << KeyList{Qt::Key_Escape} << "";
}

void tst_MessageWindows::customBoxKeys()
{
    QFETCH(QStringList, captions);
    QFETCH(KeyList, keys);
    QFETCH(QString, answer);

    frmCustomMessageBox box(QStringLiteral("Save the batch?"), Mb::IconQuestion,
                            QStringLiteral("Pelkar"), captions);
    QVERIFY(showActive(&box));
    QCOMPARE(QApplication::focusWidget(), box.cmdButton().first());

    pressKeys(keys);
    QCOMPARE(box.resultText(), answer);
    QCOMPARE(box.isVisible(), answer.isEmpty());
    box.done(QDialog::Rejected);
}

void tst_MessageWindows::customBoxThroughService()
{
    QtMessageService service;
    whenModal<frmCustomMessageBox>([](frmCustomMessageBox *box) {
        QCOMPARE(box->windowTitle(), QStringLiteral("Check district"));
        QCOMPARE(box->lblCaption()->text(), QStringLiteral("Not a known district."));
        QVERIFY(QGuiApplication::overrideCursor());
        QCOMPARE(QGuiApplication::overrideCursor()->shape(), Qt::ArrowCursor);
        pressKeys({Qt::Key_Escape});
    });
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    const QString answer = service.customBox(QStringLiteral("Not a known district."),
                                             Mb::IconExclamation, QStringLiteral("Check district"),
                                             {"Accept", "Edit", "Cancel"});
    QCOMPARE(answer, QStringLiteral("Cancel"));
    // The pointer the program had before the box comes back.
    QVERIFY(QGuiApplication::overrideCursor());
    QCOMPARE(QGuiApplication::overrideCursor()->shape(), Qt::WaitCursor);
    QGuiApplication::restoreOverrideCursor();
    QVERIFY(!QGuiApplication::overrideCursor());
}

void tst_MessageWindows::customBoxSingleButtonIsCentred()
{
    frmCustomMessageBox box(QStringLiteral("The batch has been saved as a new file name."),
                            Mb::IconInformation, QString(), {"Continue"});
    QCOMPARE(box.windowTitle(), QStringLiteral("Pelkar"));
    QCOMPARE(box.cmdButton().size(), 1);
    QPushButton *button = box.cmdButton().first();
    QVERIFY(qAbs(button->x() + button->width() / 2.0 - box.width() / 2.0) <= 1.0);

    QVERIFY(showActive(&box));
    QTest::mouseClick(button, Qt::LeftButton);
    QCOMPARE(box.resultText(), QStringLiteral("Continue"));
    QVERIFY(!box.isVisible());
}

void tst_MessageWindows::customBoxWideCaptionsFit()
{
    const QStringList captions{
        "Keep the district as typed and go on",      "Look the district up in the list again",
        "Add the district to the supplementary file", "Replace it with the nearest known name",
        "Leave the cell empty for now",               "Stop and go back to the previous cell"};
    frmCustomMessageBox box(QStringLiteral("What should be done?"), Mb::IconNone, QString(),
                            captions);
    const QList<QPushButton *> &buttons = box.cmdButton();
    QCOMPARE(buttons.size(), 6);

    const int width = buttons.first()->width();
    QVERIFY2((buttons.size() - 1) * (width + 20) <= 500, qPrintable(QString::number(width)));
    QVERIFY(width >= 10);
    for (int i = 0; i < buttons.size(); ++i) {
        QPushButton *b = buttons.at(i);
        QCOMPARE(b->width(), width);
        QCOMPARE(b->y(), buttons.first()->y());
        QVERIFY(b->geometry().right() < box.width());
        if (i > 0)
            QVERIFY(b->x() > buttons.at(i - 1)->geometry().right());
        // The caption wraps onto more lines, and the button is tall enough for them.
        QVERIFY(b->text().contains(u'\n'));
        QVERIFY(b->height() >= (b->text().count(u'\n') + 1) * b->fontMetrics().lineSpacing());
    }
    QVERIFY(buttons.last()->geometry().right() >= box.width() - 11);

    QVERIFY(showActive(&box));
    QTest::mouseClick(buttons.at(3), Qt::LeftButton);
    QCOMPARE(box.resultText(), captions.at(3));
}

void tst_MessageWindows::customBoxLayout_data()
{
    QTest::addColumn<int>("icon");
    QTest::addColumn<QString>("prompt");
    QTest::addColumn<int>("labelLeft");
    QTest::addColumn<bool>("buttonsBelowIcon"); // buttons at 52, else 10 below the label
    QTest::addColumn<int>("formWidth");          // 0: not fixed by the rule

    const QString shortText = QStringLiteral("Delete this row?");
    const QString longText = QStringLiteral(
        "The volume number does not match any volume recorded for this district in the "
        "district file, so it cannot be checked; please look at the scan again and correct "
        "the volume, or add the volume to the supplementary district file if it is right.");
    QTest::newRow("short-with-icon") << int(Mb::IconQuestion) << shortText << 52 << true << 0;
    QTest::newRow("short-without-icon") << int(Mb::IconNone) << shortText << 10 << false << 0;
    QTest::newRow("unknown-icon-number-shows-none") << 12345 << shortText << 10 << false << 0;
    QTest::newRow("long-with-icon") << int(Mb::IconStop) << longText << 52 << false << 500;
    QTest::newRow("long-without-icon") << int(Mb::IconNone) << longText << 10 << false << 500;
}

void tst_MessageWindows::customBoxLayout()
{
    QFETCH(int, icon);
    QFETCH(QString, prompt);
    QFETCH(int, labelLeft);
    QFETCH(bool, buttonsBelowIcon);
    QFETCH(int, formWidth);

    frmCustomMessageBox box(prompt, icon, QString(), {"Yes", "No"});
    const QLabel *label = box.lblCaption();
    const QPushButton *first = box.cmdButton().first();
    QCOMPARE(label->x(), labelLeft);
    QCOMPARE(label->text(), prompt);
    if (buttonsBelowIcon)
        QCOMPARE(first->y(), 52);
    else
        QCOMPARE(first->y(), label->geometry().bottom() + 1 + 10);
    if (formWidth) {
        QCOMPARE(box.width(), formWidth);
        QCOMPARE(label->width(), labelLeft == 52 ? 438 : 480);
        // The wrapped text fits its label.
        QVERIFY(label->height() >= label->heightForWidth(label->width()));
    } else {
        QVERIFY(label->geometry().right() < box.width());
        QVERIFY(box.width() <= 500);
    }
    QVERIFY(box.cmdButton().last()->geometry().bottom() < box.height());
}

void tst_MessageWindows::customBoxRepeatsTextOnShiftCtrlClick_data()
{
    QTest::addColumn<int>("modifiers");
    QTest::addColumn<bool>("repeats");

    QTest::newRow("shift-ctrl-repeats") << int(Qt::ShiftModifier | Qt::ControlModifier) << true;
    QTest::newRow("shift-alone-does-nothing") << int(Qt::ShiftModifier) << false;
    QTest::newRow("ctrl-alone-does-nothing") << int(Qt::ControlModifier) << false;
    QTest::newRow("plain-click-does-nothing") << int(Qt::NoModifier) << false;
}

void tst_MessageWindows::customBoxRepeatsTextOnShiftCtrlClick()
{
    QFETCH(int, modifiers);
    QFETCH(bool, repeats);

    const QString prompt = QStringLiteral("The forename file could not be written.");
    frmCustomMessageBox box(prompt, Mb::IconExclamation, QStringLiteral("Forenames"),
                            {"Retry", "Cancel"});
    QVERIFY(showActive(&box));

    const QPoint background(box.width() - 3, 3);
    QVERIFY(!box.childAt(background));
    if (repeats)
        script->answer(QStringLiteral("Ok"));
    QTest::mouseClick(&box, Qt::LeftButton, Qt::KeyboardModifiers(modifiers), background);

    QCOMPARE(script->records().size(), repeats ? 1 : 0);
    if (repeats) {
        const MessageRecord &r = script->records().last();
        QCOMPARE(r.kind, QStringLiteral("box"));
        QCOMPARE(r.style, 48);
        QCOMPARE(r.prompt, prompt);
        QCOMPARE(r.title, QStringLiteral("Forenames"));
    }
    QVERIFY(box.isVisible());
    QVERIFY(box.resultText().isEmpty());
    QVERIFY(!QGuiApplication::overrideCursor());
    box.done(QDialog::Rejected);
}

void tst_MessageWindows::myMsgBoxWithoutOneToSixCaptionsShowsNothing_data()
{
    QTest::addColumn<QStringList>("captions");
    QTest::newRow("no-captions") << QStringList();
    QTest::newRow("seven-captions") << QStringList{"1", "2", "3", "4", "5", "6", "7"};
}

void tst_MessageWindows::myMsgBoxWithoutOneToSixCaptionsShowsNothing()
{
    QFETCH(QStringList, captions);
    QCOMPARE(MyMsgBox(QStringLiteral("Pick one"), Mb::IconQuestion, QString(), captions),
             QString());
    QVERIFY(script->records().isEmpty());
}

// ---- frmPopup1 -------------------------------------------------------------

void tst_MessageWindows::popupKeys_data()
{
    QTest::addColumn<bool>("question");
    QTest::addColumn<bool>("before");
    QTest::addColumn<KeyList>("keys");
    QTest::addColumn<bool>("closes");
    QTest::addColumn<bool>("after");

    QTest::newRow("y-answers-yes") << true << false << KeyList{'y'} << true << true;
    QTest::newRow("Y-answers-yes") << true << false << KeyList{'Y'} << true << true;
    QTest::newRow("n-answers-no") << true << true << KeyList{'n'} << true << false;
    QTest::newRow("N-answers-no") << true << true << KeyList{'N'} << true << false;
    QTest::newRow("esc-does-nothing") << true << true << KeyList{Qt::Key_Escape} << false << true;
    QTest::newRow("other-key-does-nothing") << true << false << KeyList{'x'} << false << false;
    QTest::newRow("y-in-a-notice-does-nothing") << false << false << KeyList{'y'} << false << false;
    QTest::newRow("esc-in-a-notice-does-nothing")
        << false << true << KeyList{Qt::Key_Escape} << false << true;
}

void tst_MessageWindows::popupKeys()
{
    QFETCH(bool, question);
    QFETCH(bool, before);
    QFETCH(KeyList, keys);
    QFETCH(bool, closes);
    QFETCH(bool, after);

    gPopAnswer = before;
    frmPopup1 form;
    form.setText(QStringLiteral("Recover the batch you were working on?"), QColor());
    form.setQuestion(question);
    QVERIFY(IsFormLoaded(QStringLiteral("FRMPOPUP1")));
    QVERIFY(showActive(&form));
    // The keys go to the focused button, as the transcriber's do.
    QVERIFY(qobject_cast<QPushButton *>(QApplication::focusWidget()));

    pressKeys(keys);
    QCOMPARE(form.isVisible(), !closes);
    QCOMPARE(gPopAnswer, after);
    form.done(QDialog::Rejected);
}

void tst_MessageWindows::popupButtons_data()
{
    QTest::addColumn<QString>("button");
    QTest::addColumn<bool>("before");
    QTest::addColumn<bool>("after");

    QTest::newRow("PopYes-answers-yes") << "PopYes" << false << true;
    QTest::newRow("PopNo-answers-no") << "PopNo" << true << false;
    QTest::newRow("Command1-leaves-yes") << "Command1" << true << true;
    QTest::newRow("Command1-leaves-no") << "Command1" << false << false;
}

void tst_MessageWindows::popupButtons()
{
    QFETCH(QString, button);
    QFETCH(bool, before);
    QFETCH(bool, after);

    gPopAnswer = before;
    frmPopup1 form;
    form.setText(QStringLiteral("The work file was recovered."), QColor(Qt::red));
    const bool question = button != QLatin1String("Command1");
    form.setQuestion(question);
    QVERIFY(showActive(&form));
    QCOMPARE(form.PopYes()->isVisible(), question);
    QCOMPARE(form.PopNo()->isVisible(), question);
    QCOMPARE(form.Command1()->isVisible(), !question);
    QCOMPARE(form.Label1()->palette().color(QPalette::WindowText), QColor(Qt::red));

    QTest::mouseClick(form.findChild<QPushButton *>(button), Qt::LeftButton);
    QVERIFY(!form.isVisible());
    QCOMPARE(gPopAnswer, after);
}

void tst_MessageWindows::popupThroughService()
{
    QtMessageService service;
    whenModal<frmPopup1>([](frmPopup1 *form) {
        QCOMPARE(form->Label1()->text(), QStringLiteral("Restore the last batch?"));
        pressKeys({'y'});
    });
    QVERIFY(service.popup(QStringLiteral("Restore the last batch?"), true, QColor()));
    QVERIFY(gPopAnswer);

    // A notice says no, whatever the last question's answer was.
    whenModal<frmPopup1>([](frmPopup1 *form) { QTest::mouseClick(form->Command1(), Qt::LeftButton); });
    QVERIFY(!service.popup(QStringLiteral("Nothing to restore."), false, QColor()));
    QVERIFY(gPopAnswer);
}

// ---- frmMessage ------------------------------------------------------------

void tst_MessageWindows::noticeShowsTextsOnlyAfterFlashIt()
{
    frmMessage form;
    QCOMPARE(form.windowTitle(), QStringLiteral("Pelkar - File Upload"));
    QCOMPARE(form.lbFixedText()->text(),
             QStringLiteral("The Information message shown below was received from Quorvel.  "
                            "Please read it and then click the button at the bottom of this form."));
    QCOMPARE(form.Command1()->text(), QStringLiteral("Click Here"));
    QVERIFY(form.txInfo()->isReadOnly());
    QVERIFY(IsFormLoaded(QStringLiteral("frmMessage")));

    const QString info = QStringLiteral("Batch accepted.\nRows: 212\nRejected: 0\n");
    form.setResultText(QStringLiteral("  \tUpload complete  "));
    form.setInfoText(info);
    QVERIFY(form.lbResult()->text().isEmpty());
    QVERIFY(form.txInfo()->toPlainText().isEmpty());

    form.FlashIt();
    // Only spaces are trimmed.
    QCOMPARE(form.lbResult()->text(), QStringLiteral("\tUpload complete"));
    QCOMPARE(form.txInfo()->toPlainText(), info);

    QVERIFY(showActive(&form));
    QTest::mouseClick(form.Command1(), Qt::LeftButton);
    QVERIFY(!form.isVisible());
}

void tst_MessageWindows::noticeThroughService()
{
    QtMessageService service;
    QString shownResult;
    QString shownInfo;
    whenModal<frmMessage>([&](frmMessage *form) {
        shownResult = form->lbResult()->text();
        shownInfo = form->txInfo()->toPlainText();
        QTest::mouseClick(form->Command1(), Qt::LeftButton);
    });
    service.notice(QStringLiteral(" Save Results "), QStringLiteral("Saved 40 rows."));
    QCOMPARE(shownResult, QStringLiteral("Save Results"));
    QCOMPARE(shownInfo, QStringLiteral("Saved 40 rows."));
}

// The "Save Results" windows open now.
static QList<frmMessage *> saveResultsWindows()
{
    QList<frmMessage *> found;
    for (QWidget *w : QApplication::allWidgets()) {
        auto *form = qobject_cast<frmMessage *>(w);
        if (form && form->isVisible() && form->windowTitle() == QLatin1String("Save Results"))
            found << form;
    }
    return found;
}

void tst_MessageWindows::saveResultsModelessOverMainWindow()
{
    QWidget mainWindow;
    RegisterForm(&mainWindow, QStringLiteral("Form1"));
    QVERIFY(showActive(&mainWindow));

    QtMessageService service;
    // Nothing waits for the window: the call comes back with it open.
    service.saveResults(QStringLiteral("Your file has been saved.\r\nMost messages"),
                        QStringLiteral("Row 2: Row is incomplete"), false);
    const QList<frmMessage *> open = saveResultsWindows();
    QCOMPARE(open.size(), 1);
    frmMessage *form = open.first();
    QVERIFY(!form->isModal());
    QCOMPARE(QApplication::activeModalWidget(), nullptr);
    QCOMPARE(form->parentWidget(), &mainWindow);
    // The upload's caption and notice are not the save's.
    QVERIFY(form->lbFixedText()->isHidden());
    // A label breaks lines at LF only: the text's CR LF shows as its line break.
    QCOMPARE(form->lbResult()->text(), QStringLiteral("Your file has been saved.\nMost messages"));
    QCOMPARE(form->lbResult()->font().pointSize(), 8);
    QCOMPARE(form->txInfo()->toPlainText(), QStringLiteral("Row 2: Row is incomplete"));
    // Opened without the focus, the transcriber goes on typing in the main
    // window.
    QVERIFY(mainWindow.isActiveWindow());
    service.closeSaveResults();
}

void tst_MessageWindows::saveResultsReplacedAndClosed()
{
    QtMessageService service;
    service.saveResults(QStringLiteral("Your file has been saved."), QStringLiteral("first"),
                        false);
    const QPointer<frmMessage> first = saveResultsWindows().value(0);
    QVERIFY(first);

    // The next save's window replaces it, and may take the focus.
    service.saveResults(QStringLiteral("Your data has NOT been saved"), QStringLiteral("second"),
                        true);
    QTRY_VERIFY(!first);
    const QPointer<frmMessage> second = saveResultsWindows().value(0);
    QVERIFY(second);
    QCOMPARE(saveResultsWindows().size(), 1);
    QVERIFY(QTest::qWaitForWindowActive(second));
    QCOMPARE(QApplication::focusWidget(), second->Command1());

    // Its button closes it for good.
    QTest::mouseClick(second->Command1(), Qt::LeftButton);
    QTRY_VERIFY(!second);

    // So does the next save, before it writes.
    service.saveResults(QStringLiteral("Your file has been saved."), QStringLiteral("third"),
                        false);
    const QPointer<frmMessage> third = saveResultsWindows().value(0);
    QVERIFY(third);
    service.closeSaveResults();
    QTRY_VERIFY(!third);
    service.closeSaveResults(); // none open: nothing happens
}

// ---- the standard box and the input box -----------------------------------

void tst_MessageWindows::messageBoxStyles_data()
{
    QTest::addColumn<int>("style");
    QTest::addColumn<int>("icon");
    QTest::addColumn<int>("buttons");
    QTest::addColumn<int>("defaultButton");
    QTest::addColumn<KeyList>("keys");
    QTest::addColumn<int>("answer");

    const int yesNo = QMessageBox::Yes | QMessageBox::No;
    const int yesNoCancel = yesNo | QMessageBox::Cancel;
    const int abortRetryIgnore = QMessageBox::Abort | QMessageBox::Retry | QMessageBox::Ignore;
    const KeyList enter{Qt::Key_Return};
    const KeyList esc{Qt::Key_Escape};

    QTest::newRow("exclamation-ok") << 48 << int(QMessageBox::Warning) << int(QMessageBox::Ok)
                                    << int(QMessageBox::Ok) << enter << int(Mb::Ok);
    QTest::newRow("ok-only-esc-answers-ok") << 0 << int(QMessageBox::NoIcon)
                                            << int(QMessageBox::Ok) << int(QMessageBox::Ok)
                                            << esc << int(Mb::Ok);
    QTest::newRow("question-yes-no-default-yes") << 36 << int(QMessageBox::Question) << yesNo
                                                 << int(QMessageBox::Yes) << enter << int(Mb::Yes);
    QTest::newRow("yes-no-esc-answers-no") << 36 << int(QMessageBox::Question) << yesNo
                                           << int(QMessageBox::Yes) << esc << int(Mb::No);
    QTest::newRow("yes-no-second-default") << 4 + 32 + 256 << int(QMessageBox::Question) << yesNo
                                           << int(QMessageBox::No) << enter << int(Mb::No);
    QTest::newRow("system-modal-yes-no-cancel") << 4131 << int(QMessageBox::Question)
                                                << yesNoCancel << int(QMessageBox::Yes) << enter
                                                << int(Mb::Yes);
    QTest::newRow("yes-no-cancel-esc-answers-cancel")
        << 3 + 48 << int(QMessageBox::Warning) << yesNoCancel << int(QMessageBox::Yes) << esc
        << int(Mb::Cancel);
    QTest::newRow("yes-no-cancel-third-default")
        << 3 + 512 << int(QMessageBox::NoIcon) << yesNoCancel << int(QMessageBox::Cancel) << enter
        << int(Mb::Cancel);
    QTest::newRow("ok-cancel-esc-answers-cancel")
        << 1 + 64 << int(QMessageBox::Information)
        << int(QMessageBox::Ok | QMessageBox::Cancel) << int(QMessageBox::Ok) << esc
        << int(Mb::Cancel);
    QTest::newRow("retry-cancel-critical") << 5 + 16 << int(QMessageBox::Critical)
                                           << int(QMessageBox::Retry | QMessageBox::Cancel)
                                           << int(QMessageBox::Retry) << enter << int(Mb::Retry);
    // Esc must not take the Abort answer that QMessageBox would give it.
    QTest::newRow("abort-retry-ignore-esc-does-nothing")
        << 2 + 16 + 512 << int(QMessageBox::Critical) << abortRetryIgnore
        << int(QMessageBox::Ignore) << KeyList{Qt::Key_Escape, Qt::Key_Return} << int(Mb::Ignore);
}

void tst_MessageWindows::messageBoxStyles()
{
    QFETCH(int, style);
    QFETCH(int, icon);
    QFETCH(int, buttons);
    QFETCH(int, defaultButton);
    QFETCH(KeyList, keys);
    QFETCH(int, answer);

    QtMessageService service;
    bool checked = false;
    whenModal<QMessageBox>([&](QMessageBox *box) {
        QCOMPARE(box->windowTitle(), QStringLiteral("Pelkar"));
        QCOMPARE(box->text(), QStringLiteral("Line one\nLine two"));
        QCOMPARE(int(box->icon()), icon);
        QCOMPARE(int(box->standardButtons()), buttons);
        QCOMPARE(box->defaultButton(), box->button(QMessageBox::StandardButton(defaultButton)));
        // The default button holds the focus, so Enter answers it.
        QCOMPARE(QApplication::focusWidget(), box->defaultButton());
        checked = true;
        pressKeys(keys);
    });
    QCOMPARE(service.messageBox(QStringLiteral("Line one\r\nLine two"), style,
                                QStringLiteral("Pelkar")),
             answer);
    QVERIFY(checked);
}

void tst_MessageWindows::inputBox_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<int>("key");
    QTest::addColumn<bool>("answered");
    QTest::addColumn<QString>("result");

    QTest::newRow("enter-gives-text") << "Hyde" << int(Qt::Key_Return) << true << "Hyde";
    QTest::newRow("enter-on-default-gives-default") << "" << int(Qt::Key_Return) << true << "Ashton";
    QTest::newRow("esc-cancels") << "Hyde" << int(Qt::Key_Escape) << false << "";
}

void tst_MessageWindows::inputBox()
{
    QFETCH(QString, typed);
    QFETCH(int, key);
    QFETCH(bool, answered);
    QFETCH(QString, result);

    QtMessageService service;
    whenModal<QInputDialog>([&](QInputDialog *dialog) {
        QCOMPARE(dialog->windowTitle(), QStringLiteral("Find"));
        QCOMPARE(dialog->labelText(), QStringLiteral("Find which district?"));
        auto *edit = dialog->findChild<QLineEdit *>();
        QVERIFY(edit);
        if (!typed.isEmpty()) {
            edit->selectAll();
            QTest::keyClicks(edit, typed);
        }
        pressKeys({key});
    });
    const auto text = service.inputBox(QStringLiteral("Find which district?"),
                                       QStringLiteral("Find"), QStringLiteral("Ashton"));
    QCOMPARE(text.has_value(), answered);
    if (answered)
        QCOMPARE(*text, result);
}

void tst_MessageWindows::installQtServicesInstallsEveryKind()
{
    installQtServices();
    QVERIFY(dynamic_cast<QtMessageService *>(&Services::messages()));
    QVERIFY(dynamic_cast<QtDialogService *>(&Services::dialogs()));
    QVERIFY(dynamic_cast<QtInputService *>(&Services::input()));
    QVERIFY(dynamic_cast<QtClock *>(&Services::clock()));
    QVERIFY(dynamic_cast<QtScreenMetrics *>(&Services::screen()));
    script = installScriptedServices();
}

// ---- the texts' own lines, in every window the service shows -----------------

namespace {

// What a window showed of its text, read while it was open.
struct ShownText
{
    QImage picture;
    bool found = false;    // the text's widget was there, holding the text
    int windowWidth = 0;   // with its frame
    int screenWidth = 0;   // the screen's available width
    int textRoom = 0;      // the width the text's lines are laid out in
    int widestLine = 0;    // the text's widest line
    int asWritten = 0;     // the text laid out in its own lines only
    int laidOut = 0;       // the text as the window lays it out
    bool cutOff = false;   // part of a label's text falls outside it
};

// A label's text: its height laid out at the label's width, against the
// same text in its own lines only.
void readLabel(const QLabel *label, const QString &text, ShownText &shown)
{
    const QString lines = MessageDisplayText(text);
    shown.found = label && label->isVisible() && label->text() == lines;
    if (!shown.found)
        return;
    QLabel asWritten;
    asWritten.setFont(label->font());
    asWritten.setTextFormat(label->textFormat());
    asWritten.setTextInteractionFlags(label->textInteractionFlags());
    asWritten.setMargin(label->margin());
    asWritten.setIndent(label->indent());
    asWritten.setWordWrap(false);
    asWritten.setText(lines);
    shown.asWritten = asWritten.heightForWidth(label->width());
    shown.laidOut = label->heightForWidth(label->width());
    shown.cutOff = label->height() < shown.laidOut;
    shown.textRoom = label->contentsRect().width() - 2 * label->margin();
    shown.widestLine = WidestLine(label->fontMetrics(), lines);
}

// An information box's text: the lines its blocks are laid out in, against
// one line a block.
void readInfoBox(const QPlainTextEdit *box, const QString &text, ShownText &shown)
{
    shown.found = box && box->isVisible() && box->toPlainText() == MessageDisplayText(text);
    if (!shown.found)
        return;
    auto *layout = qobject_cast<QPlainTextDocumentLayout *>(box->document()->documentLayout());
    for (QTextBlock block = box->document()->begin(); block.isValid(); block = block.next()) {
        layout->blockBoundingRect(block); // lays the block out
        ++shown.asWritten;
        shown.laidOut += block.layout()->lineCount();
    }
    shown.textRoom =
        box->viewport()->width() - 2 * int(std::ceil(box->document()->documentMargin()));
    shown.widestLine = WidestLine(box->fontMetrics(), MessageDisplayText(text));
}

} // namespace

void tst_MessageWindows::windowsKeepTheTextsOwnLines_data()
{
    QTest::addColumn<QString>("window");
    QTest::addColumn<QString>("textName");
    QTest::addColumn<bool>("fitsScreen");

    for (const char *window : {"standard-box", "custom-box", "popup", "notice-result",
                               "notice-information"}) {
        QTest::addRow("%s-welcome", window) << QString::fromLatin1(window) << "welcome" << true;
        QTest::addRow("%s-first-run-question", window)
            << QString::fromLatin1(window) << "first-run-question" << true;
        QTest::addRow("%s-line-wider-than-the-screen", window)
            << QString::fromLatin1(window) << "line-wider-than-the-screen" << false;
    }
}

void tst_MessageWindows::windowsKeepTheTextsOwnLines()
{
    QFETCH(QString, window);
    QFETCH(QString, textName);
    QFETCH(bool, fitsScreen);

    QString text;
    if (textName == QLatin1String("welcome")) {
        text = WelcomeText();
    } else if (textName == QLatin1String("first-run-question")) {
        // The question as the program asks it on its first run.
        script->answer(QStringLiteral("Use Default"));
        Project project;
        QVERIFY(project.GetPathToFolders());
        QCOMPARE(script->records().size(), 1);
        text = script->records().first().prompt;
        QVERIFY(text.startsWith(QLatin1String("In version 7")));
    } else {
        QString words;
        while (words.size() < 400)
            words += QStringLiteral("far too many words for one line ");
        text = QStringLiteral("A short line first.\r\n") + words
               + QStringLiteral("\r\nAnd a short line last.");
    }
    QVERIFY(HasOwnLines(text));

    ShownText shown;
    whenModal<QDialog>([&](QDialog *dialog) {
        shown.picture = dialog->grab().toImage();
        shown.windowWidth = dialog->frameGeometry().width();
        shown.screenWidth = dialog->screen()->availableGeometry().width();
        if (window == QLatin1String("standard-box"))
            readLabel(dialog->findChild<QLabel *>(QStringLiteral("qt_msgbox_label")), text, shown);
        else if (window == QLatin1String("custom-box"))
            readLabel(dialog->findChild<QLabel *>(QStringLiteral("lblCaption")), text, shown);
        else if (window == QLatin1String("popup"))
            readLabel(dialog->findChild<QLabel *>(QStringLiteral("Label1")), text, shown);
        else if (window == QLatin1String("notice-result"))
            readLabel(dialog->findChild<QLabel *>(QStringLiteral("lbResult")), text, shown);
        else
            readInfoBox(dialog->findChild<QPlainTextEdit *>(QStringLiteral("txInfo")), text, shown);
        dialog->done(QDialog::Accepted);
    });

    QtMessageService service;
    if (window == QLatin1String("standard-box"))
        service.messageBox(text, Mb::Information, kProductName);
    else if (window == QLatin1String("custom-box"))
        service.customBox(text, Mb::IconInformation, kProductName,
                          {QStringLiteral("Use Default"), QStringLiteral("Locate a New Folder")});
    else if (window == QLatin1String("popup"))
        service.popup(text, false, QColor());
    else if (window == QLatin1String("notice-result"))
        service.notice(text, QStringLiteral("Row 12: Out of Sequence"));
    else
        service.notice(QStringLiteral("Your file has been saved"), text);

    // Kept for a look at the windows themselves; PELKAR_SHOTS names a folder
    // that outlives the test.
    const QString folder = qEnvironmentVariable("PELKAR_SHOTS", homePath(QStringLiteral("shots")));
    QVERIFY(QDir().mkpath(folder));
    QVERIFY(!shown.picture.isNull());
    QVERIFY(shown.picture.save(
        QDir(folder).filePath(QString::fromLatin1(QTest::currentDataTag()) + QLatin1String(".png"))));

    QVERIFY2(shown.found, "the window does not show the text");
    QVERIFY2(shown.windowWidth <= shown.screenWidth,
             qPrintable(QStringLiteral("%1 > %2").arg(shown.windowWidth).arg(shown.screenWidth)));
    QVERIFY(!shown.cutOff);
    if (fitsScreen) {
        // No line is broken again, and the window is as wide as the widest.
        QCOMPARE(shown.laidOut, shown.asWritten);
        QVERIFY2(shown.textRoom >= shown.widestLine,
                 qPrintable(QStringLiteral("%1 < %2").arg(shown.textRoom).arg(shown.widestLine)));
    } else {
        // Only the line wider than the screen wraps, within the screen.
        QVERIFY(shown.laidOut > shown.asWritten);
    }
}

PELKAR_TEST(tst_MessageWindows)
#include "tst_MessageWindows.moc"
