// The rich-text box without a widget: caret and selection, SelText
// replacing the selection, a colour per character (grey ghost text among
// black, and the colour typing takes), one Change per change of the text,
// keys and characters swallowed by handlers, the default editing of the
// keys the handlers leave, and pasted text passing the character handlers.

#include "PelkarTest.h"

#include "core/Globals.h"
#include "core/Project.h"
#include "entry/RichTextBox.h"
#include "entry/VbKeyCodes.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QSignalSpy>

#include <memory>

using namespace VbKeys;

namespace {

constexpr std::uint32_t Black = RichTextBox::TypedColour;
constexpr std::uint32_t Grey = RichTextBox::GhostColour;
constexpr std::uint32_t Red = 0x0000FF;

// The colours of the box's characters, one letter each: b black, g grey,
// r red, ? anything else.
QString colours(const RichTextBox &box)
{
    QString letters;
    for (int i = 0; i < box.Text().size(); ++i) {
        switch (box.colorAt(i)) {
        case Black: letters += QLatin1Char('b'); break;
        case Grey: letters += QLatin1Char('g'); break;
        case Red: letters += QLatin1Char('r'); break;
        default: letters += QLatin1Char('?'); break;
        }
    }
    return letters;
}

// A text whose characters from ghostFrom on are grey, as a completion shows
// them; caret and selection as given (anchor, caret).
void load(RichTextBox &box, const QString &text, int ghostFrom, int anchor, int caret)
{
    box.setText(text);
    if (ghostFrom >= 0 && ghostFrom < text.size()) {
        box.setSelStart(ghostFrom);
        box.setSelLength(int(text.size()) - ghostFrom);
        box.setSelColor(Grey);
    }
    box.placeCaret(anchor, false);
    box.placeCaret(caret, true);
}

// Handlers that record what the box raises and swallow what they are told.
struct Handlers
{
    explicit Handlers(RichTextBox &box)
    {
        QObject::connect(&box, &RichTextBox::Change, [this] { ++changes; });
        QObject::connect(&box, &RichTextBox::KeyDown, [this](int &KeyCode, int Shift) {
            keyDowns << QPoint(KeyCode, Shift);
            if (KeyCode == swallowKey)
                KeyCode = 0;
        });
        QObject::connect(&box, &RichTextBox::KeyPress, [this](int &KeyAscii) {
            keyPresses << KeyAscii;
            if (swallowDigits && KeyAscii >= '0' && KeyAscii <= '9')
                KeyAscii = 0;
            else if (KeyAscii == swallowCharacter)
                KeyAscii = 0;
            else if (KeyAscii >= 'a' && KeyAscii <= 'z' && upperCase)
                KeyAscii -= 'a' - 'A';
        });
    }

    int changes = 0;
    QList<QPoint> keyDowns; // x: KeyCode, y: Shift
    QList<int> keyPresses;
    int swallowKey = -1;
    int swallowCharacter = -1;
    bool swallowDigits = false;
    bool upperCase = false;
};

} // namespace

class tst_RichTextBox : public PelkarTest
{
    Q_OBJECT

protected:
    void setUpCase() override;
    void tearDownCase() override;

private slots:
    void selection_data();
    void selection();
    void selTextReplaces_data();
    void selTextReplaces();
    void textWriteTakesGhostAsTyped();

    void selColorReadsOneCharacter();
    void typingColour_data();
    void typingColour();

    void oneChangePerTextChange_data();
    void oneChangePerTextChange();
    void changeHandlerMayWriteTheTextBack();

    void swallowedKeys_data();
    void swallowedKeys();
    void editingKeys_data();
    void editingKeys();

    void pastePassesKeyPress_data();
    void pastePassesKeyPress();
    void pasteStopsWhenTheBoxIsHidden();
    void cutAndCopy();

    void placeAndShow();
    void mouseUpAndFocus();

private:
    std::unique_ptr<RichTextBox> mBox;
};

void tst_RichTextBox::setUpCase()
{
    mBox = std::make_unique<RichTextBox>();
    mBox->setVisible(true);
}

void tst_RichTextBox::tearDownCase()
{
    mBox.reset();
}

void tst_RichTextBox::selection_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("start");
    QTest::addColumn<int>("length");
    QTest::addColumn<int>("expectedStart");
    QTest::addColumn<int>("expectedLength");
    QTest::addColumn<QString>("selected");

    QTest::newRow("caret-alone") << "SMITH" << 2 << 0 << 2 << 0 << "";
    QTest::newRow("selection") << "SMITH" << 1 << 3 << 1 << 3 << "MIT";
    QTest::newRow("length-clamped-to-the-text") << "SMITH" << 3 << 10 << 3 << 2 << "TH";
    QTest::newRow("start-beyond-the-end") << "SMITH" << 9 << 0 << 5 << 0 << "";
    QTest::newRow("negative-start") << "SMITH" << -4 << 2 << 0 << 2 << "SM";
    QTest::newRow("negative-length") << "SMITH" << 2 << -3 << 2 << 0 << "";
    QTest::newRow("empty-box") << "" << 1 << 1 << 0 << 0 << "";
}

void tst_RichTextBox::selection()
{
    QFETCH(QString, text);
    QFETCH(int, start);
    QFETCH(int, length);
    QFETCH(int, expectedStart);
    QFETCH(int, expectedLength);
    QFETCH(QString, selected);

    mBox->setText(text);
    QCOMPARE(mBox->SelStart(), 0);
    mBox->setSelStart(start);
    mBox->setSelLength(length);
    QCOMPARE(mBox->SelStart(), expectedStart);
    QCOMPARE(mBox->SelLength(), expectedLength);
    QCOMPARE(mBox->SelText(), selected);

    // Writing SelStart drops the selection.
    mBox->setSelStart(mBox->SelStart());
    QCOMPARE(mBox->SelLength(), 0);
}

void tst_RichTextBox::selTextReplaces_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("start");
    QTest::addColumn<int>("length");
    QTest::addColumn<QString>("written");
    QTest::addColumn<QString>("expected");
    QTest::addColumn<int>("caret");
    QTest::addColumn<int>("changes");

    QTest::newRow("replaces-the-selection") << "SMITH" << 1 << 3 << "x" << "SxH" << 2 << 1;
    QTest::newRow("inserts-at-the-caret") << "SMITH" << 2 << 0 << "ab" << "SMabITH" << 4 << 1;
    QTest::newRow("appends-at-the-end") << "SMITH" << 5 << 0 << "E" << "SMITHE" << 6 << 1;
    QTest::newRow("empty-deletes-the-selection") << "SMITH" << 0 << 2 << "" << "ITH" << 0 << 1;
    QTest::newRow("same-text-is-no-change") << "SMITH" << 1 << 1 << "M" << "SMITH" << 2 << 0;
    QTest::newRow("empty-at-the-caret-is-no-change") << "SMITH" << 3 << 0 << "" << "SMITH" << 3 << 0;
}

void tst_RichTextBox::selTextReplaces()
{
    QFETCH(QString, text);
    QFETCH(int, start);
    QFETCH(int, length);
    QFETCH(QString, written);
    QFETCH(QString, expected);
    QFETCH(int, caret);
    QFETCH(int, changes);

    mBox->setText(text);
    mBox->setSelStart(start);
    mBox->setSelLength(length);
    QSignalSpy change(mBox.get(), &RichTextBox::Change);
    mBox->setSelText(written);
    QCOMPARE(mBox->Text(), expected);
    QCOMPARE(mBox->SelStart(), caret);
    QCOMPARE(mBox->SelLength(), 0);
    QCOMPARE(change.count(), changes);
    QCOMPARE(colours(*mBox), QString(expected.size(), QLatin1Char('b')));
}

void tst_RichTextBox::textWriteTakesGhostAsTyped()
{
    load(*mBox, QStringLiteral("JOHN"), 2, 2, 2);
    QCOMPARE(colours(*mBox), QStringLiteral("bbgg"));
    QSignalSpy change(mBox.get(), &RichTextBox::Change);

    // The same text written again: the grey part becomes typed text and
    // the caret goes to the start, but the text did not change.
    mBox->setText(QStringLiteral("JOHN"));
    QCOMPARE(colours(*mBox), QStringLiteral("bbbb"));
    QCOMPARE(mBox->SelStart(), 0);
    QCOMPARE(change.count(), 0);
}

void tst_RichTextBox::selColorReadsOneCharacter()
{
    load(*mBox, QStringLiteral("SMITHSON"), 5, 3, 3);

    // How a box finds its typed text: select each character alone and stop
    // at the first grey one.
    int typed = 0;
    for (; typed < mBox->Text().size(); ++typed) {
        mBox->setSelStart(typed);
        mBox->setSelLength(1);
        if (mBox->SelColor() == Grey)
            break;
    }
    QCOMPARE(typed, 5);

    // A selection of several colours reads its first character's.
    mBox->setSelStart(4);
    mBox->setSelLength(3);
    QCOMPARE(mBox->SelColor(), Black);
    mBox->setSelColor(Red);
    QCOMPARE(colours(*mBox), QStringLiteral("bbbbrrrg"));
}

void tst_RichTextBox::typingColour_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("ghostFrom"); // -1: no grey characters
    QTest::addColumn<int>("anchor");
    QTest::addColumn<int>("caret");
    QTest::addColumn<int>("setColour"); // -1: none written before typing
    QTest::addColumn<bool>("moveFirst"); // the caret written again after the colour
    QTest::addColumn<QString>("expectedText");
    QTest::addColumn<QString>("expectedColours");

    QTest::newRow("before-the-ghost-black") << "JOHN" << 2 << 2 << 2 << -1 << false
                                            << "JOxHN" << "bbbgg";
    QTest::newRow("after-a-grey-character-grey") << "JOHN" << 2 << 4 << 4 << -1 << false
                                                 << "JOHNx" << "bbggg";
    QTest::newRow("colour-written-at-the-caret") << "JOHN" << 2 << 2 << 2 << int(Grey) << false
                                                 << "JOxHN" << "bbggg";
    QTest::newRow("colour-forgotten-when-the-caret-moves")
        << "JOHN" << 2 << 4 << 4 << int(Black) << true << "JOHNx" << "bbggg";
    QTest::newRow("black-written-after-the-ghost") << "JOHN" << 2 << 4 << 4 << int(Black) << false
                                                   << "JOHNx" << "bbggb";
    QTest::newRow("over-a-selection-its-first-colour") << "JOHN" << 2 << 1 << 3 << -1 << false
                                                       << "JxN" << "bbg";
    QTest::newRow("at-0-the-first-character") << "JOHN" << 0 << 0 << 0 << -1 << false
                                              << "xJOHN" << "ggggg";
    QTest::newRow("empty-box-black") << "" << -1 << 0 << 0 << -1 << false << "x" << "b";
    QTest::newRow("empty-box-colour-written") << "" << -1 << 0 << 0 << int(Red) << false
                                              << "x" << "r";
}

void tst_RichTextBox::typingColour()
{
    QFETCH(QString, text);
    QFETCH(int, ghostFrom);
    QFETCH(int, anchor);
    QFETCH(int, caret);
    QFETCH(int, setColour);
    QFETCH(bool, moveFirst);
    QFETCH(QString, expectedText);
    QFETCH(QString, expectedColours);

    load(*mBox, text, ghostFrom, anchor, caret);
    if (setColour >= 0) {
        mBox->setSelColor(std::uint32_t(setColour));
        QCOMPARE(mBox->SelColor(), std::uint32_t(setColour));
    }
    if (moveFirst)
        mBox->setSelStart(mBox->SelStart());
    mBox->pressKey(vbKeyA + ('X' - 'A'), 0, QStringLiteral("x"));
    QCOMPARE(mBox->Text(), expectedText);
    QCOMPARE(colours(*mBox), expectedColours);
}

void tst_RichTextBox::oneChangePerTextChange_data()
{
    QTest::addColumn<QString>("action");
    QTest::addColumn<int>("changes");
    QTest::addColumn<QString>("expected");

    // The box holds "SMITH", caret at 2, before each action.
    QTest::newRow("text-written") << "text:JONES" << 1 << "JONES";
    QTest::newRow("same-text-written") << "text:SMITH" << 0 << "SMITH";
    QTest::newRow("seltext-written") << "seltext:Y" << 1 << "SMYITH";
    QTest::newRow("colour-written") << "colour" << 0 << "SMITH";
    QTest::newRow("caret-moved") << "caret" << 0 << "SMITH";
    QTest::newRow("background") << "back" << 0 << "SMITH";
    QTest::newRow("character-typed") << "type:e" << 1 << "SMeITH";
    QTest::newRow("three-characters-typed") << "type:abc" << 3 << "SMabcITH";
    QTest::newRow("backspace") << "type:\b" << 1 << "SITH";
    QTest::newRow("delete") << "key:46" << 1 << "SMTH";
    QTest::newRow("ctrl-backspace") << "ctrlkey:8" << 1 << "ITH";
    QTest::newRow("arrow") << "key:37" << 0 << "SMITH";
    QTest::newRow("pasted-two-characters") << "paste:ab" << 2 << "SMabITH";
}

void tst_RichTextBox::oneChangePerTextChange()
{
    QFETCH(QString, action);
    QFETCH(int, changes);
    QFETCH(QString, expected);

    mBox->setText(QStringLiteral("SMITH"));
    mBox->setSelStart(2);
    Handlers handlers(*mBox);

    const QString verb = action.section(QLatin1Char(':'), 0, 0);
    const QString arg = action.section(QLatin1Char(':'), 1);
    if (verb == QLatin1String("text"))
        mBox->setText(arg);
    else if (verb == QLatin1String("seltext"))
        mBox->setSelText(arg);
    else if (verb == QLatin1String("colour")) {
        mBox->setSelLength(2);
        mBox->setSelColor(Grey);
    } else if (verb == QLatin1String("caret"))
        mBox->setSelStart(4);
    else if (verb == QLatin1String("back"))
        mBox->setBackColor(0xFFFFC0);
    else if (verb == QLatin1String("type"))
        mBox->typeText(arg);
    else if (verb == QLatin1String("key"))
        mBox->pressKey(arg.toInt(), 0);
    else if (verb == QLatin1String("ctrlkey"))
        mBox->pressKey(arg.toInt(), vbCtrlMask);
    else if (verb == QLatin1String("paste"))
        mBox->pasteText(arg);
    else
        QFAIL("unknown action");

    QCOMPARE(handlers.changes, changes);
    QCOMPARE(mBox->Text(), expected);
}

void tst_RichTextBox::changeHandlerMayWriteTheTextBack()
{
    // A handler that upper-cases the text and writes it back runs once more
    // for its own write, finds nothing to change, and stops there.
    int runs = 0;
    connect(mBox.get(), &RichTextBox::Change, this, [&] {
        ++runs;
        QVERIFY(runs < 10);
        const int caret = mBox->SelStart();
        mBox->setText(mBox->Text().toUpper());
        mBox->setSelStart(caret);
    });
    mBox->typeText(QStringLiteral("ab"));
    QCOMPARE(mBox->Text(), QStringLiteral("AB"));
    QCOMPARE(mBox->SelStart(), 2);
    QCOMPARE(runs, 4);
}

void tst_RichTextBox::swallowedKeys_data()
{
    QTest::addColumn<int>("keyCode");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<int>("swallowKey");
    QTest::addColumn<int>("swallowCharacter");
    QTest::addColumn<bool>("upperCase");
    QTest::addColumn<QString>("expected");
    QTest::addColumn<int>("keyPresses");

    // The box holds "SMITH", caret at 2.
    QTest::newRow("letter-typed") << 69 << "e" << -1 << -1 << false << "SMeITH" << 1;
    QTest::newRow("letter-swallowed-in-keydown-raises-no-keypress")
        << 69 << "e" << 69 << -1 << false << "SMITH" << 0;
    QTest::newRow("letter-swallowed-in-keypress") << 69 << "e" << -1 << int('e') << false
                                                  << "SMITH" << 1;
    QTest::newRow("keypress-types-another-character") << 69 << "e" << -1 << -1 << true
                                                      << "SMEITH" << 1;
    QTest::newRow("backspace-swallowed-in-keydown") << 8 << "\b" << 8 << -1 << false
                                                    << "SMITH" << 0;
    QTest::newRow("backspace-swallowed-in-keypress") << 8 << "\b" << -1 << 8 << false
                                                     << "SMITH" << 1;
    QTest::newRow("delete-swallowed") << 46 << "" << 46 << -1 << false << "SMITH" << 0;
    QTest::newRow("enter-types-nothing") << 13 << "\r" << -1 << -1 << false << "SMITH" << 1;
    QTest::newRow("tab-types-nothing") << 9 << "\t" << -1 << -1 << false << "SMITH" << 1;
    QTest::newRow("escape-types-nothing") << 27 << "\x1b" << -1 << -1 << false << "SMITH" << 1;
    QTest::newRow("key-without-a-code-still-types") << 0 << "\u00e9" << -1 << -1 << false
                                                    << "SM\u00e9ITH" << 1;
}

void tst_RichTextBox::swallowedKeys()
{
    QFETCH(int, keyCode);
    QFETCH(QString, typed);
    QFETCH(int, swallowKey);
    QFETCH(int, swallowCharacter);
    QFETCH(bool, upperCase);
    QFETCH(QString, expected);
    QFETCH(int, keyPresses);

    mBox->setText(QStringLiteral("SMITH"));
    mBox->setSelStart(2);
    Handlers handlers(*mBox);
    handlers.swallowKey = swallowKey;
    handlers.swallowCharacter = swallowCharacter;
    handlers.upperCase = upperCase;

    mBox->pressKey(keyCode, 0, typed);
    QCOMPARE(mBox->Text(), expected);
    QCOMPARE(handlers.keyDowns.size(), keyCode == 0 ? 0 : 1);
    QCOMPARE(handlers.keyPresses.size(), keyPresses);
    if (keyPresses == 1) {
        // The character as its Windows-1252 code.
        QCOMPARE(handlers.keyPresses.at(0), int(static_cast<unsigned char>(typed.toLatin1().at(0))));
    }
    QCOMPARE(handlers.changes, expected == QLatin1String("SMITH") ? 0 : 1);
}

void tst_RichTextBox::editingKeys_data()
{
    QTest::addColumn<int>("anchor");
    QTest::addColumn<int>("caret");
    QTest::addColumn<int>("keyCode");
    QTest::addColumn<int>("shift");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("expected");
    QTest::addColumn<int>("selStart");
    QTest::addColumn<int>("selLength");

    // The box holds "ANN MARY SMITH".
    const QString text = QStringLiteral("ANN MARY SMITH");
    QTest::newRow("backspace-before-the-caret") << 6 << 6 << 8 << 0 << "\b" << "ANN MRY SMITH" << 5 << 0;
    QTest::newRow("backspace-the-selection") << 4 << 9 << 8 << 0 << "\b" << "ANN SMITH" << 4 << 0;
    QTest::newRow("backspace-at-0") << 0 << 0 << 8 << 0 << "\b" << text << 0 << 0;
    QTest::newRow("delete-after-the-caret") << 4 << 4 << 46 << 0 << "" << "ANN ARY SMITH" << 4 << 0;
    QTest::newRow("delete-the-selection") << 9 << 4 << 46 << 0 << "" << "ANN SMITH" << 4 << 0;
    QTest::newRow("delete-at-the-end") << 14 << 14 << 46 << 0 << "" << text << 14 << 0;
    QTest::newRow("typing-over-the-selection") << 4 << 8 << 74 << 1 << "J" << "ANN J SMITH" << 5 << 0;
    QTest::newRow("typing-over-a-backward-selection") << 8 << 4 << 74 << 1 << "J" << "ANN J SMITH" << 5 << 0;
    QTest::newRow("left") << 5 << 5 << 37 << 0 << "" << text << 4 << 0;
    QTest::newRow("left-at-0") << 0 << 0 << 37 << 0 << "" << text << 0 << 0;
    QTest::newRow("left-collapses-the-selection") << 4 << 8 << 37 << 0 << "" << text << 4 << 0;
    QTest::newRow("shift-left-extends") << 5 << 5 << 37 << 1 << "" << text << 4 << 1;
    QTest::newRow("right") << 5 << 5 << 39 << 0 << "" << text << 6 << 0;
    QTest::newRow("right-at-the-end") << 14 << 14 << 39 << 0 << "" << text << 14 << 0;
    QTest::newRow("right-collapses-the-selection") << 8 << 4 << 39 << 0 << "" << text << 8 << 0;
    QTest::newRow("shift-right-shrinks-a-backward-selection") << 8 << 4 << 39 << 1 << "" << text << 5 << 3;
    QTest::newRow("home") << 5 << 5 << 36 << 0 << "" << text << 0 << 0;
    QTest::newRow("shift-home") << 5 << 5 << 36 << 1 << "" << text << 0 << 5;
    QTest::newRow("end") << 5 << 5 << 35 << 0 << "" << text << 14 << 0;
    QTest::newRow("shift-end") << 5 << 5 << 35 << 1 << "" << text << 5 << 9;
    QTest::newRow("ctrl-left-to-the-word-start") << 6 << 6 << 37 << 2 << "" << text << 4 << 0;
    QTest::newRow("ctrl-left-over-a-blank") << 4 << 4 << 37 << 2 << "" << text << 0 << 0;
    QTest::newRow("ctrl-right-to-the-next-word") << 5 << 5 << 39 << 2 << "" << text << 9 << 0;
    QTest::newRow("ctrl-shift-right-selects") << 4 << 4 << 39 << 3 << "" << text << 4 << 5;
    QTest::newRow("ctrl-backspace-the-word") << 8 << 8 << 8 << 2 << "" << "ANN  SMITH" << 4 << 0;
    QTest::newRow("ctrl-delete-the-word") << 4 << 4 << 46 << 2 << "" << "ANN SMITH" << 4 << 0;
    QTest::newRow("up-does-nothing") << 5 << 5 << 38 << 0 << "" << text << 5 << 0;
    QTest::newRow("down-does-nothing") << 5 << 5 << 40 << 0 << "" << text << 5 << 0;
    QTest::newRow("insert-does-nothing") << 5 << 5 << 45 << 0 << "" << text << 5 << 0;
    QTest::newRow("alt-left-does-nothing") << 5 << 5 << 37 << 4 << "" << text << 5 << 0;
}

void tst_RichTextBox::editingKeys()
{
    QFETCH(int, anchor);
    QFETCH(int, caret);
    QFETCH(int, keyCode);
    QFETCH(int, shift);
    QFETCH(QString, typed);
    QFETCH(QString, expected);
    QFETCH(int, selStart);
    QFETCH(int, selLength);

    load(*mBox, QStringLiteral("ANN MARY SMITH"), -1, anchor, caret);
    Handlers handlers(*mBox);
    mBox->pressKey(keyCode, shift, typed);
    QCOMPARE(mBox->Text(), expected);
    QCOMPARE(mBox->SelStart(), selStart);
    QCOMPARE(mBox->SelLength(), selLength);
    QCOMPARE(handlers.keyDowns, QList<QPoint>{QPoint(keyCode, shift)});
    QCOMPARE(handlers.changes, expected == QLatin1String("ANN MARY SMITH") ? 0 : 1);
}

void tst_RichTextBox::pastePassesKeyPress_data()
{
    QTest::addColumn<QString>("clipboard");
    QTest::addColumn<int>("keyCode");
    QTest::addColumn<int>("shift");
    QTest::addColumn<QString>("expected");
    QTest::addColumn<QList<int>>("keyPresses");
    QTest::addColumn<int>("beeps");

    // The box holds "AB" with "B" selected; the handler refuses digits.
    QTest::newRow("ctrl-v") << "x1y" << 86 << 2 << "Axy" << QList<int>{'x', '1', 'y'} << 0;
    QTest::newRow("shift-insert") << "x1y" << 45 << 1 << "Axy" << QList<int>{'x', '1', 'y'} << 0;
    QTest::newRow("first-line-only") << "xy\r\nzz" << 86 << 2 << "Axy" << QList<int>{'x', 'y'} << 0;
    QTest::newRow("first-line-only-lf") << "xy\nzz\r" << 86 << 2 << "Axy" << QList<int>{'x', 'y'} << 0;
    QTest::newRow("windows-1252-codes") << "\u00e9\u20ac" << 86 << 2 << "A\u00e9\u20ac"
                                        << QList<int>{0xE9, 0x80} << 0;
    QTest::newRow("characters-outside-windows-1252-refused")
        << "x\u0141y\u4e2d" << 86 << 2 << "Axy" << QList<int>{'x', 'y'} << 1;
    QTest::newRow("only-digits-leaves-the-selection") << "12" << 86 << 2 << "AB"
                                                      << QList<int>{'1', '2'} << 0;
    QTest::newRow("ctrl-v-with-alt-is-no-paste") << "xy" << 86 << 6 << "AB" << QList<int>{} << 0;
}

void tst_RichTextBox::pastePassesKeyPress()
{
    QFETCH(QString, clipboard);
    QFETCH(int, keyCode);
    QFETCH(int, shift);
    QFETCH(QString, expected);
    QFETCH(QList<int>, keyPresses);
    QFETCH(int, beeps);

    ProgramObjects::createProject();
    gProject->setBeepit(true);
    QGuiApplication::clipboard()->setText(clipboard);
    mBox->setText(QStringLiteral("AB"));
    mBox->setSelStart(1);
    mBox->setSelLength(1);
    Handlers handlers(*mBox);
    handlers.swallowDigits = true;

    mBox->pressKey(keyCode, shift);
    QCOMPARE(mBox->Text(), expected);
    QCOMPARE(handlers.keyPresses, keyPresses);
    QCOMPARE(input().beeps, beeps);
    // One Change for each character typed, as if typed at the keyboard.
    const int typed = expected == QLatin1String("AB") ? 0 : int(expected.size()) - 1;
    QCOMPARE(handlers.changes, typed);
}

void tst_RichTextBox::pasteStopsWhenTheBoxIsHidden()
{
    // A handler that moves on to the next cell after a comma, as a pick
    // does, hides the box: what is left of the paste is not typed into it.
    connect(mBox.get(), &RichTextBox::KeyPress, this, [&](int &KeyAscii) {
        if (KeyAscii == ',') {
            KeyAscii = 0;
            mBox->setVisible(false);
        }
    });
    mBox->pasteText(QStringLiteral("ab,cd"));
    QCOMPARE(mBox->Text(), QStringLiteral("ab"));
}

void tst_RichTextBox::cutAndCopy()
{
    mBox->setText(QStringLiteral("ANN MARY"));
    mBox->placeCaret(4, false);
    mBox->placeCaret(8, true);
    Handlers handlers(*mBox);

    mBox->pressKey(vbKeyInsert, vbCtrlMask);
    QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("MARY"));
    QCOMPARE(handlers.changes, 0);

    mBox->placeCaret(0, false);
    mBox->placeCaret(3, true);
    mBox->pressKey(vbKeyA + ('X' - 'A'), vbCtrlMask);
    QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("ANN"));
    QCOMPARE(mBox->Text(), QStringLiteral(" MARY"));
    QCOMPARE(handlers.changes, 1);

    // Shift+Delete cuts; with no selection nothing is cut.
    mBox->pressKey(vbKeyDelete, vbShiftMask);
    QCOMPARE(mBox->Text(), QStringLiteral(" MARY"));
    QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("ANN"));

    mBox->selectWordAt(3);
    QCOMPARE(mBox->SelText(), QStringLiteral("MARY"));
    mBox->pressKey(vbKeyDelete, vbShiftMask);
    QCOMPARE(mBox->Text(), QStringLiteral(" "));
    QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("MARY"));
    QCOMPARE(handlers.changes, 2);
}

void tst_RichTextBox::placeAndShow()
{
    QSignalSpy geometry(mBox.get(), &RichTextBox::geometryChanged);
    mBox->Move(1200, 450, 2400, 300);
    QCOMPARE(geometry.count(), 1);
    QCOMPARE(mBox->Left(), 1200);
    QCOMPARE(mBox->Top(), 450);
    QCOMPARE(mBox->Width(), 2400);
    QCOMPARE(mBox->Height(), 300);

    // Left and width only, top unchanged, as a wider box for a long text.
    mBox->Move(900, mBox->Top(), 3000);
    QCOMPARE(geometry.count(), 2);
    QCOMPARE(mBox->Left(), 900);
    QCOMPARE(mBox->Width(), 3000);
    QCOMPARE(mBox->Height(), 300);

    mBox->Move(900, 450);
    QCOMPARE(geometry.count(), 2);
    mBox->setTop(600);
    mBox->setHeight(-15);
    QCOMPARE(mBox->Top(), 600);
    QCOMPARE(mBox->Height(), 0);
    QCOMPARE(geometry.count(), 4);

    QSignalSpy shown(mBox.get(), &RichTextBox::visibleChanged);
    QVERIFY(!RichTextBox().Visible());
    mBox->setVisible(true);
    QCOMPARE(shown.count(), 0);
    mBox->setVisible(false);
    QCOMPARE(shown.count(), 1);
    QCOMPARE(shown.at(0).at(0).toBool(), false);

    QSignalSpy order(mBox.get(), &RichTextBox::zOrderRequested);
    mBox->ZOrder(0);
    QCOMPARE(order.count(), 1);
    QCOMPARE(order.at(0).at(0).toInt(), 0);

    QSignalSpy back(mBox.get(), &RichTextBox::displayChanged);
    mBox->setBackColor(0xFFFFC0);
    QCOMPARE(mBox->BackColor(), std::uint32_t(0xFFFFC0));
    QCOMPARE(back.count(), 1);

    // Without a window there is no screen rectangle.
    QVERIFY(mBox->screenRect().isEmpty());
    struct Placed : RichTextBox::Window
    {
        QRect screenRect() const override { return {100, 200, 160, 20}; }
    } window;
    mBox->setWindow(&window);
    QCOMPARE(mBox->screenRect(), QRect(100, 200, 160, 20));
    mBox->setWindow(nullptr);
}

void tst_RichTextBox::mouseUpAndFocus()
{
    QSignalSpy mouseUp(mBox.get(), &RichTextBox::MouseUp);
    mBox->releaseMouseButton(2, vbShiftMask, 150, 45);
    QCOMPARE(mouseUp.count(), 1);
    QCOMPARE(mouseUp.at(0), (QList<QVariant>{2, 1, 150, 45}));

    QSignalSpy asked(mBox.get(), &RichTextBox::focusRequested);
    QSignalSpy got(mBox.get(), &RichTextBox::GotFocus);
    mBox->SetFocus();
    QCOMPARE(mBox->focusRequests(), 1);
    QCOMPARE(asked.count(), 1);
    QVERIFY(!mBox->hasFocus());
    QCOMPARE(got.count(), 0);

    mBox->focusIn();
    QVERIFY(mBox->hasFocus());
    QCOMPARE(got.count(), 1);
    mBox->focusOut();
    QVERIFY(!mBox->hasFocus());
    // Back with its window: focused, but not got anew.
    mBox->focusIn(false);
    QVERIFY(mBox->hasFocus());
    QCOMPARE(got.count(), 1);
}

PELKAR_TEST(tst_RichTextBox)
#include "tst_RichTextBox.moc"
