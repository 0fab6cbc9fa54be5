// The rich-text box on screen, under the offscreen platform: placed at its
// twips, keys reaching the box with their codes and Shift states, typed and
// pasted characters passing KeyPress, the window's menu shortcuts left to
// the menu, the mouse placing the caret and raising MouseUp, and the grey
// ghost text painted grey.

#include "PelkarTest.h"

#include "core/Globals.h"
#include "core/Project.h"
#include "entry/RichTextBox.h"
#include "entry/RichTextView.h"
#include "entry/VbKeyCodes.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QInputMethodEvent>
#include <QLineEdit>
#include <QMainWindow>
#include <QSignalSpy>

#include <memory>

using namespace VbKeys;

class tst_RichTextView : public PelkarTest
{
    Q_OBJECT

protected:
    void setUpCase() override;
    void tearDownCase() override;

private slots:
    void placedAtItsTwips();
    void keysReachTheBox_data();
    void keysReachTheBox();
    void typedTextFillsTheBox();
    void pastePassesKeyPress();
    void menuShortcuts_data();
    void menuShortcuts();
    void mouseButtons();
    void focusOnRequest();
    void focusBackWithTheWindow();
    void ghostTextIsPaintedGrey();
    void caretStaysInView();

private:
    // The box's text, caret at its end.
    void load(const QString &text);

    std::unique_ptr<QMainWindow> mWindow;
    RichTextBox *mBox = nullptr;   // owned by the window
    RichTextView *mView = nullptr; // owned by the window
    QLineEdit *mOther = nullptr;   // another control to hold the focus
    QList<QPoint> mKeyDowns;       // x: KeyCode, y: Shift
    QList<int> mKeyPresses;
};

void tst_RichTextView::setUpCase()
{
    mWindow = std::make_unique<QMainWindow>();
    auto *central = new QWidget;
    mWindow->setCentralWidget(central);
    mOther = new QLineEdit(central);
    mOther->setGeometry(10, 200, 100, 20);
    mBox = new RichTextBox(mWindow.get());
    mView = new RichTextView(central);
    mView->setObjectName(QStringLiteral("rtb1"));
    mView->setBox(mBox);
    mBox->Move(150, 300, 3000, 375);
    mBox->setVisible(true);
    mKeyDowns.clear();
    mKeyPresses.clear();
    connect(mBox, &RichTextBox::KeyDown, this,
            [this](int &KeyCode, int Shift) { mKeyDowns << QPoint(KeyCode, Shift); });
    connect(mBox, &RichTextBox::KeyPress, this, [this](int &KeyAscii) { mKeyPresses << KeyAscii; });
    mWindow->resize(400, 300);
    mWindow->show();
    mWindow->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(mWindow.get()));
    mBox->SetFocus();
    QVERIFY(mView->hasFocus());
}

void tst_RichTextView::tearDownCase()
{
    mWindow.reset();
    mBox = nullptr;
    mView = nullptr;
}

void tst_RichTextView::load(const QString &text)
{
    mBox->setText(text);
    mBox->setSelStart(int(text.size()));
}

void tst_RichTextView::placedAtItsTwips()
{
    // 15 twips a pixel on the scripted screen.
    QCOMPARE(mView->geometry(), QRect(10, 20, 200, 25));
    mBox->Move(300, 450, 1500, 300);
    QCOMPARE(mView->geometry(), QRect(20, 30, 100, 20));
    QCOMPARE(mBox->screenRect(), QRect(mView->mapToGlobal(QPoint(0, 0)), QSize(100, 20)));

    // In front of a control it was laid over.
    mOther->setGeometry(mView->geometry());
    mOther->raise();
    mBox->ZOrder(0);
    QCOMPARE(mView->parentWidget()->childAt(mView->geometry().center()), mView);

    mBox->setVisible(false);
    QVERIFY(!mView->isVisible());
    mBox->setVisible(true);
    QVERIFY(mView->isVisible());
}

void tst_RichTextView::keysReachTheBox_data()
{
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("modifiers");
    QTest::addColumn<QString>("text"); // what the platform gives with the key
    QTest::addColumn<int>("keyCode");
    QTest::addColumn<int>("shift");
    QTest::addColumn<QList<int>>("keyPresses");

    const int none = Qt::NoModifier;
    const int shift = Qt::ShiftModifier;
    const int ctrl = Qt::ControlModifier;
    const int alt = Qt::AltModifier;
    const int pad = Qt::KeypadModifier;
    using L = QList<int>;

    QTest::newRow("letter") << int(Qt::Key_A) << none << "a" << 65 << 0 << L{'a'};
    QTest::newRow("shift-letter") << int(Qt::Key_A) << shift << "A" << 65 << 1 << L{'A'};
    QTest::newRow("ctrl-letter") << int(Qt::Key_Z) << ctrl << "\x1a" << 90 << 2 << L{};
    QTest::newRow("alt-letter") << int(Qt::Key_M) << alt << "m" << 77 << 4 << L{};
    QTest::newRow("ctrl-shift-letter") << int(Qt::Key_Q) << (ctrl | shift) << "\x11" << 81 << 3 << L{};
    QTest::newRow("digit") << int(Qt::Key_7) << none << "7" << 55 << 0 << L{'7'};
    QTest::newRow("ctrl-digit") << int(Qt::Key_3) << ctrl << "3" << 51 << 2 << L{};
    QTest::newRow("keypad-digit") << int(Qt::Key_3) << pad << "3" << 99 << 0 << L{'3'};
    QTest::newRow("ctrl-keypad-digit") << int(Qt::Key_9) << (ctrl | pad) << "9" << 105 << 2 << L{};
    QTest::newRow("shifted-digit-symbol") << int(Qt::Key_ParenLeft) << shift << "(" << 57 << 1
                                          << L{'('};
    QTest::newRow("space") << int(Qt::Key_Space) << none << " " << 32 << 0 << L{' '};
    QTest::newRow("comma") << int(Qt::Key_Comma) << none << "," << 188 << 0 << L{','};
    QTest::newRow("left") << int(Qt::Key_Left) << none << "" << 37 << 0 << L{};
    QTest::newRow("up") << int(Qt::Key_Up) << none << "" << 38 << 0 << L{};
    QTest::newRow("right") << int(Qt::Key_Right) << none << "" << 39 << 0 << L{};
    QTest::newRow("down") << int(Qt::Key_Down) << none << "" << 40 << 0 << L{};
    QTest::newRow("shift-left") << int(Qt::Key_Left) << shift << "" << 37 << 1 << L{};
    QTest::newRow("ctrl-up") << int(Qt::Key_Up) << ctrl << "" << 38 << 2 << L{};
    QTest::newRow("alt-down") << int(Qt::Key_Down) << alt << "" << 40 << 4 << L{};
    QTest::newRow("shift-right") << int(Qt::Key_Right) << shift << "" << 39 << 1 << L{};
    QTest::newRow("keypad-arrow") << int(Qt::Key_Up) << pad << "" << 38 << 0 << L{};
    QTest::newRow("tab") << int(Qt::Key_Tab) << none << "\t" << 9 << 0 << L{9};
    QTest::newRow("shift-tab") << int(Qt::Key_Backtab) << shift << "" << 9 << 1 << L{9};
    QTest::newRow("enter") << int(Qt::Key_Return) << none << "\r" << 13 << 0 << L{13};
    QTest::newRow("shift-enter") << int(Qt::Key_Return) << shift << "\r" << 13 << 1 << L{13};
    QTest::newRow("keypad-enter") << int(Qt::Key_Enter) << pad << "\r" << 13 << 0 << L{13};
    QTest::newRow("backspace") << int(Qt::Key_Backspace) << none << "\b" << 8 << 0 << L{8};
    QTest::newRow("ctrl-backspace") << int(Qt::Key_Backspace) << ctrl << "" << 8 << 2 << L{};
    QTest::newRow("delete") << int(Qt::Key_Delete) << none << "\x7f" << 46 << 0 << L{};
    QTest::newRow("insert") << int(Qt::Key_Insert) << none << "" << 45 << 0 << L{};
    QTest::newRow("ctrl-insert") << int(Qt::Key_Insert) << ctrl << "" << 45 << 2 << L{};
    QTest::newRow("escape") << int(Qt::Key_Escape) << none << "\x1b" << 27 << 0 << L{27};
    QTest::newRow("home") << int(Qt::Key_Home) << none << "" << 36 << 0 << L{};
    QTest::newRow("end") << int(Qt::Key_End) << none << "" << 35 << 0 << L{};
    QTest::newRow("page-up") << int(Qt::Key_PageUp) << none << "" << 33 << 0 << L{};
    QTest::newRow("page-down") << int(Qt::Key_PageDown) << none << "" << 34 << 0 << L{};
    QTest::newRow("f1") << int(Qt::Key_F1) << none << "" << 112 << 0 << L{};
    QTest::newRow("f4") << int(Qt::Key_F4) << none << "" << 115 << 0 << L{};
    QTest::newRow("shift-f9") << int(Qt::Key_F9) << shift << "" << 120 << 1 << L{};
    QTest::newRow("f11") << int(Qt::Key_F11) << none << "" << 122 << 0 << L{};
    QTest::newRow("ctrl-f12") << int(Qt::Key_F12) << ctrl << "" << 123 << 2 << L{};
    QTest::newRow("alt-with-ctrl-held") << int(Qt::Key_Alt) << ctrl << "" << 18 << 6 << L{};
    QTest::newRow("shift-alone") << int(Qt::Key_Shift) << none << "" << 16 << 1 << L{};
    QTest::newRow("accented-letter") << int(Qt::Key_Eacute) << none << "\u00e9" << 0 << 0
                                     << L{0xE9};
    QTest::newRow("euro-sign-as-windows-1252") << int(Qt::Key_unknown) << none << "\u20ac" << 0
                                               << 0 << L{0x80};
}

void tst_RichTextView::keysReachTheBox()
{
    QFETCH(int, key);
    QFETCH(int, modifiers);
    QFETCH(QString, text);
    QFETCH(int, keyCode);
    QFETCH(int, shift);
    QFETCH(QList<int>, keyPresses);

    QTest::sendKeyEvent(QTest::Click, mView, Qt::Key(key), text, Qt::KeyboardModifiers(modifiers));
    if (keyCode == 0) {
        QVERIFY(mKeyDowns.isEmpty());
    } else {
        // QTest presses the modifier keys first: the key itself comes last.
        QVERIFY(!mKeyDowns.isEmpty());
        QCOMPARE(mKeyDowns.last(), QPoint(keyCode, shift));
    }
    QCOMPARE(mKeyPresses, keyPresses);
    // Tab included, every key stays with the box.
    QVERIFY(mView->hasFocus());
}

void tst_RichTextView::typedTextFillsTheBox()
{
    QSignalSpy change(mBox, &RichTextBox::Change);
    QTest::keyClicks(mView, QStringLiteral("o'brien"));
    QCOMPARE(mBox->Text(), QStringLiteral("o'brien"));
    QCOMPARE(change.count(), 7);
    QCOMPARE(mKeyPresses.size(), 7);

    // A character that Windows-1252 cannot hold is refused, with the beep.
    ProgramObjects::createProject();
    gProject->setBeepit(true);
    QTest::sendKeyEvent(QTest::Click, mView, Qt::Key_unknown, QStringLiteral("\u0142"), {});
    QCOMPARE(mBox->Text(), QStringLiteral("o'brien"));
    QCOMPARE(mKeyPresses.size(), 7);
    QCOMPARE(input().beeps, 1);

    // What an input method composes is typed when committed.
    QInputMethodEvent composed;
    composed.setCommitString(QStringLiteral("\u00e9"));
    QCoreApplication::sendEvent(mView, &composed);
    QCOMPARE(mBox->Text(), QStringLiteral("o'brien\u00e9"));
    QCOMPARE(mKeyPresses.last(), 0xE9);

    // Backspace through the handlers.
    QTest::keyClick(mView, Qt::Key_Backspace);
    QTest::keyClick(mView, Qt::Key_Home);
    QTest::keyClick(mView, Qt::Key_Delete);
    QCOMPARE(mBox->Text(), QStringLiteral("'brien"));
}

void tst_RichTextView::pastePassesKeyPress()
{
    // A handler that refuses digits refuses them pasted.
    connect(mBox, &RichTextBox::KeyPress, this, [](int &KeyAscii) {
        if (KeyAscii >= '0' && KeyAscii <= '9')
            KeyAscii = 0;
    });
    load(QStringLiteral("AB"));
    QApplication::clipboard()->setText(QStringLiteral("c1d\r\nnext"));
    QTest::keyClick(mView, Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(mBox->Text(), QStringLiteral("ABcd"));
    QCOMPARE(mKeyPresses, (QList<int>{'c', '1', 'd'}));
    QCOMPARE(mKeyDowns.last(), QPoint(86, 2));

    // Cut out and pasted back.
    QTest::keyClick(mView, Qt::Key_Home, Qt::ShiftModifier);
    QCOMPARE(mBox->SelText(), QStringLiteral("ABcd"));
    QTest::keyClick(mView, Qt::Key_X, Qt::ControlModifier);
    QCOMPARE(mBox->Text(), QString());
    QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("ABcd"));
    QTest::keyClick(mView, Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(mBox->Text(), QStringLiteral("ABcd"));
}

void tst_RichTextView::menuShortcuts_data()
{
    QTest::addColumn<QString>("shortcut");
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("modifiers");
    QTest::addColumn<bool>("toMenu");

    QTest::newRow("ctrl-s") << "Ctrl+S" << int(Qt::Key_S) << int(Qt::ControlModifier) << true;
    QTest::newRow("ctrl-c") << "Ctrl+C" << int(Qt::Key_C) << int(Qt::ControlModifier) << true;
    QTest::newRow("ctrl-1") << "Ctrl+1" << int(Qt::Key_1) << int(Qt::ControlModifier) << true;
    QTest::newRow("shift-insert") << "Shift+Ins" << int(Qt::Key_Insert) << int(Qt::ShiftModifier)
                                  << true;
    QTest::newRow("f9") << "F9" << int(Qt::Key_F9) << int(Qt::NoModifier) << true;
    QTest::newRow("shift-f2") << "Shift+F2" << int(Qt::Key_F2) << int(Qt::ShiftModifier) << true;
    // Typing and editing within the line stay with the box.
    QTest::newRow("letter") << "A" << int(Qt::Key_A) << int(Qt::NoModifier) << false;
    QTest::newRow("backspace") << "Backspace" << int(Qt::Key_Backspace) << int(Qt::NoModifier)
                               << false;
    QTest::newRow("shift-home") << "Shift+Home" << int(Qt::Key_Home) << int(Qt::ShiftModifier)
                                << false;
}

void tst_RichTextView::menuShortcuts()
{
    QFETCH(QString, shortcut);
    QFETCH(int, key);
    QFETCH(int, modifiers);
    QFETCH(bool, toMenu);

    auto *action = new QAction(QStringLiteral("item"), mWindow.get());
    action->setShortcut(QKeySequence(shortcut));
    mWindow->addAction(action);
    QSignalSpy triggered(action, &QAction::triggered);
    load(QStringLiteral("AB"));

    QTest::keyClick(mView, Qt::Key(key), Qt::KeyboardModifiers(modifiers));
    QCOMPARE(triggered.count(), toMenu ? 1 : 0);
    const Key pressed = vbKey(key, Qt::KeyboardModifiers(modifiers));
    QCOMPARE(mKeyDowns.contains(QPoint(pressed.code, pressed.shift)), !toMenu);
    QVERIFY(mView->hasFocus());
}

void tst_RichTextView::mouseButtons()
{
    load(QStringLiteral("SMITH"));
    QSignalSpy mouseUp(mBox, &RichTextBox::MouseUp);
    const int y = mView->height() / 2;

    QTest::mouseClick(mView, Qt::LeftButton, {}, QPoint(mView->xOfPosition(2) + 1, y));
    QCOMPARE(mBox->SelStart(), 2);
    QCOMPARE(mBox->SelLength(), 0);
    QCOMPARE(mouseUp.count(), 1);
    QCOMPARE(mouseUp.at(0),
             (QList<QVariant>{1, 0, (mView->xOfPosition(2) + 1) * 15, y * 15}));

    // Shift extends the selection from the caret.
    QTest::mouseClick(mView, Qt::LeftButton, Qt::ShiftModifier, QPoint(mView->xOfPosition(5), y));
    QCOMPARE(mBox->SelText(), QStringLiteral("ITH"));
    QCOMPARE(mouseUp.at(1).at(1).toInt(), 1);

    // The right button leaves the caret and opens no menu of the view's
    // own, nor its parent's: the boxes pop up theirs from MouseUp.
    auto *parent = mView->parentWidget();
    parent->setContextMenuPolicy(Qt::CustomContextMenu);
    QSignalSpy parentMenu(parent, &QWidget::customContextMenuRequested);
    QTest::mouseClick(mView, Qt::RightButton, Qt::ControlModifier, QPoint(5, y));
    QContextMenuEvent menu(QContextMenuEvent::Mouse, QPoint(5, y), mView->mapToGlobal(QPoint(5, y)));
    QCoreApplication::sendEvent(mView, &menu);
    QCOMPARE(parentMenu.count(), 0);
    QCOMPARE(mBox->SelText(), QStringLiteral("ITH"));
    QCOMPARE(mouseUp.count(), 3);
    QCOMPARE(mouseUp.at(2), (QList<QVariant>{2, 2, 75, y * 15}));
    QVERIFY(!QApplication::activePopupWidget());

    QTest::mouseDClick(mView, Qt::LeftButton, {}, QPoint(mView->xOfPosition(1), y));
    QCOMPARE(mBox->SelText(), QStringLiteral("SMITH"));
}

void tst_RichTextView::focusOnRequest()
{
    QSignalSpy got(mBox, &RichTextBox::GotFocus);
    mOther->setFocus();
    QVERIFY(!mBox->hasFocus());
    mBox->SetFocus();
    QVERIFY(mView->hasFocus());
    QVERIFY(mBox->hasFocus());
    QCOMPARE(got.count(), 1);

    // A hidden box cannot take the focus.
    mOther->setFocus();
    mBox->setVisible(false);
    mBox->SetFocus();
    QVERIFY(mOther->hasFocus());
    QCOMPARE(got.count(), 1);

    // A click gives it the focus too.
    mBox->setVisible(true);
    QTest::mouseClick(mView, Qt::LeftButton, {}, QPoint(5, 5));
    QVERIFY(mView->hasFocus());
    QCOMPARE(got.count(), 2);
}

void tst_RichTextView::focusBackWithTheWindow()
{
    QSignalSpy got(mBox, &RichTextBox::GotFocus);
    QWidget other;
    const auto toOther = [&] {
        other.show();
        other.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&other));
    };
    const auto back = [&] {
        mWindow->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(mWindow.get()));
    };

    // The box held the focus: coming back is not getting it.
    toOther();
    QVERIFY(!mBox->hasFocus());
    back();
    QVERIFY(mBox->hasFocus());
    QCOMPARE(got.count(), 0);

    // Another control held it and the box was asked for it meanwhile (as
    // after a message): it arrives with the window, and is news.
    mOther->setFocus();
    toOther();
    mBox->SetFocus();
    QVERIFY(!mBox->hasFocus());
    back();
    QVERIFY(mBox->hasFocus());
    QCOMPARE(got.count(), 1);
}

void tst_RichTextView::ghostTextIsPaintedGrey()
{
    QFont font = mView->font();
    font.setPointSize(14);
    // Whole pixels only: every pixel of a glyph is the character's colour.
    font.setStyleStrategy(QFont::NoAntialias);
    mView->setFont(font);
    mBox->Move(150, 300, 4500, 600);
    mBox->setBackColor(0xFFFFC0);
    load(QStringLiteral("HHNN"));
    mBox->setSelStart(2);
    mBox->setSelLength(2);
    mBox->setSelColor(RichTextBox::GhostColour);
    // The selection and the caret show only with the focus.
    mOther->setFocus();

    const QImage image = mView->grab().toImage().convertToFormat(QImage::Format_RGB32);
    const QRgb back = qRgb(0xC0, 0xFF, 0xFF);
    QCOMPARE(image.pixel(3, 3), back);

    // Count each colour in the typed part and in the grey part.
    const auto count = [&](int from, int to, QRgb colour) {
        int n = 0;
        for (int x = from; x < to; ++x)
            for (int y = 1; y < image.height() - 1; ++y)
                if (image.pixel(x, y) == colour)
                    ++n;
        return n;
    };
    const int typedFrom = mView->xOfPosition(0);
    const int ghostFrom = mView->xOfPosition(2);
    const int ghostTo = mView->xOfPosition(4);
    const QRgb black = qRgb(0, 0, 0);
    const QRgb grey = qRgb(0x80, 0x80, 0x80);
    QVERIFY(count(typedFrom, ghostFrom, black) > 20);
    QCOMPARE(count(typedFrom, ghostFrom, grey), 0);
    QVERIFY(count(ghostFrom, ghostTo, grey) > 20);
    QCOMPARE(count(ghostFrom, ghostTo, black), 0);
    // Nothing but glyphs and background in the grey part.
    const int area = (ghostTo - ghostFrom) * (image.height() - 2);
    QCOMPARE(count(ghostFrom, ghostTo, grey) + count(ghostFrom, ghostTo, back), area);
}

void tst_RichTextView::caretStaysInView()
{
    load(QString(80, QLatin1Char('W')));
    const int caretX = mView->xOfPosition(mBox->caretPosition());
    QVERIFY(caretX > 0);
    QVERIFY(caretX < mView->width());
    QTest::keyClick(mView, Qt::Key_Home);
    QCOMPARE(mView->xOfPosition(0), 2);
}

PELKAR_TEST(tst_RichTextView)
#include "tst_RichTextView.moc"
