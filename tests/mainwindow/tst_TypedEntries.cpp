// Entries typed into the real main window as a transcriber types them: keys
// (and the odd click) from a given cell, then the cells, the current cell,
// the status bar, the messages and the saved batch file's lines. Each case
// is a slip that once lost, carried over or refused what was typed.

#include "MainWindowFixture.h"
#include "TestFiles.h"

#include "core/Cp1252.h"
#include "core/clsEvents.h"
#include "entry/FlexGrid.h"
#include "entry/FlexGridView.h"
#include "entry/RichTextBox.h"
#include "entry/RichTextView.h"
#include "entry/frmChrPicker.h"
#include "header/frmHeader.h"
#include "mainwindow/ShowStatus.h"

#include <QAction>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTest>

namespace {

// Numbered paste texts as the transcriber keeps them.
class PasteList : public PasteTexts
{
public:
    QString GetItem(int n) const override
    {
        static const QStringList texts{QStringLiteral("leeds,9b"), QStringLiteral("Henry")};
        return n == 3 ? texts.at(0) : n == 4 ? texts.at(1) : QStringLiteral("paste%1").arg(n);
    }
    bool isVisible() const override { return false; }
    void setVisible(bool) override {}
};

// "r,c" as a cell.
QPoint cellOf(const QString &text)
{
    const QStringList parts = text.split(u',');
    return {parts.value(1).toInt(), parts.value(0).toInt()};
}

// A named key with its modifiers: "S+Tab", "C+Left", "C+S+Down", "C+3".
QKeyCombination keyOf(const QString &token)
{
    static const QHash<QString, Qt::Key> names{
        {QStringLiteral("Tab"), Qt::Key_Tab},       {QStringLiteral("Enter"), Qt::Key_Return},
        {QStringLiteral("Back"), Qt::Key_Backspace}, {QStringLiteral("PgDn"), Qt::Key_PageDown},
        {QStringLiteral("PgUp"), Qt::Key_PageUp},   {QStringLiteral("Left"), Qt::Key_Left},
        {QStringLiteral("Right"), Qt::Key_Right},   {QStringLiteral("Up"), Qt::Key_Up},
        {QStringLiteral("Down"), Qt::Key_Down},     {QStringLiteral("F4"), Qt::Key_F4},
        {QStringLiteral("F9"), Qt::Key_F9},
    };
    QStringList parts = token.split(u'+');
    const QString name = parts.takeLast();
    Qt::KeyboardModifiers mods;
    for (const QString &m : parts)
        mods |= m == QLatin1String("S")   ? Qt::ShiftModifier
                : m == QLatin1String("C") ? Qt::ControlModifier
                                          : Qt::AltModifier;
    Qt::Key key = names.value(name, Qt::Key_unknown);
    if (key == Qt::Key_unknown && name.size() == 1)
        key = Qt::Key(name.at(0).toUpper().unicode());
    if (key == Qt::Key_Tab && (mods & Qt::ShiftModifier))
        key = Qt::Key_Backtab;
    return QKeyCombination(mods, key);
}

} // namespace

class tst_TypedEntries : public MainWindowFixture
{
    Q_OBJECT

    FlexGrid &grid() const { return window->fgInput(); }

    PasteList mPaste;

    // The main window started on a copy of a fixture batch.
    void startOn(const QString &fixture, const QString &name)
    {
        script->answer({QStringLiteral("Use Default"), QStringLiteral("Ok")});
        window = std::make_unique<Form1>();
        QVERIFY(window->Load());
        window->setScanViewer(&scan);
        window->setPasteTexts(&mPaste);
        QVERIFY(QDir().mkpath(gProject->SavePath()));
        batch = QDir(gProject->SavePath()).filePath(name);
        QFile::remove(batch);
        QVERIFY(QFile::copy(TestFiles::fixture(fixture + QStringLiteral("/input.ZEL")), batch));
        QVERIFY(QFile::setPermissions(batch, QFile::ReadOwner | QFile::WriteOwner));
        QVERIFY(window->LoadFile(batch));
        script->clearRecords();
    }

    // The settings a case asks for, "Name=Y" or "Name=N" or "PickRows=n".
    static void applyOptions(const QStringList &options)
    {
        Project &p = *gProject;
        for (const QString &option : options) {
            const QString name = option.section(u'=', 0, 0);
            const QString value = option.section(u'=', 1);
            const bool on = value == QLatin1String("Y");
            if (name == QLatin1String("PickRows"))
                p.setPickRows(value.toInt());
            else if (name == QLatin1String("ForePick"))
                p.setForePick(on);
            else if (name == QLatin1String("ForeGhost"))
                p.setBForeGhost(on);
            else if (name == QLatin1String("PeriodSpace"))
                p.setPeriodSpace(on);
            else if (name == QLatin1String("Beep"))
                p.setBeepit(on);
            else
                QFAIL(qPrintable(QStringLiteral("unknown option ") + option));
        }
    }

    // The entry box on view.
    RichTextView *shownView() const
    {
        for (RichTextView *v : {window->rtb1View(), window->tbForeNameView(), window->tbDistrictView()}) {
            if (v->isVisibleTo(window.get()))
                return v;
        }
        return nullptr;
    }

    QPoint cellCentre(int row, int col, QWidget *&target) const
    {
        FlexGridView *view = window->gridView();
        if (row == 0) {
            QHeaderView *titles = view->horizontalHeader();
            target = titles->viewport();
            return {titles->sectionViewportPosition(col) + 5, titles->height() / 2};
        }
        target = view->viewport();
        return view->visualRect(view->model()->index(row, col)).center();
    }

    // Keys the program sends to itself arrive at the focused box after the
    // key that sent them, as the real key sending posts them.
    void deliverSentKeys()
    {
        const QList<QPoint> sent = input().sentKeys;
        input().sentKeys.clear();
        for (const QPoint &key : sent) {
            if (key.y() != 1)
                continue;
            RichTextView *box = shownView();
            QVERIFY(box);
            if (key.x() == 32)
                QTest::keyClick(box, ' ');
            else if (key.x() == 9)
                QTest::keyClick(box, Qt::Key_Tab);
            else
                QFAIL(qPrintable(QStringLiteral("sent key %1").arg(key.x())));
        }
    }

    // One token of a case's keys: a character, or a braced name.
    void perform(const QString &token)
    {
        if (token.startsWith(QLatin1String("Pick:"))) {
            auto *picker = window->findChild<frmChrPicker *>();
            QVERIFY(picker && picker->isVisible());
            const int code = static_cast<unsigned char>(Cp1252::encode(token.mid(5)).at(0));
            QTest::mouseDClick(picker->tbChr(code - 192), Qt::LeftButton);
            return;
        }
        if (token.startsWith(QLatin1String("RClick:")) || token.startsWith(QLatin1String("Click:"))) {
            const QPoint cell = cellOf(token.section(u':', 1));
            QWidget *target = nullptr;
            const QPoint at = cellCentre(cell.y(), cell.x(), target);
            QTest::mouseClick(target,
                              token.startsWith(u'R') ? Qt::RightButton : Qt::LeftButton, {}, at);
            return;
        }
        if (token.startsWith(QLatin1String("Sel:"))) {
            // A click at the first place and a Shift+click at the second.
            RichTextView *box = shownView();
            QVERIFY(box);
            const int from = token.mid(4).section(u'-', 0, 0).toInt();
            const int to = token.mid(4).section(u'-', 1).toInt();
            const int y = box->height() / 2;
            QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(box->xOfPosition(from), y));
            QTest::mouseClick(box, Qt::LeftButton, Qt::ShiftModifier,
                              QPoint(box->xOfPosition(to), y));
            return;
        }
        if (token == QLatin1String("EditHeader")) {
            // Opened and cancelled, nothing changed.
            script->answer(QStringLiteral("Ok")); // the copy kept of the batch
            window->MenuItem(QStringLiteral("mnuEditHeader"))->trigger();
            auto *form = qobject_cast<frmHeader *>(window->headerForm());
            QVERIFY(form);
            QTest::mouseClick(form->cmdCancel(), Qt::LeftButton);
            QTRY_VERIFY(!window->headerForm());
            return;
        }
        RichTextView *box = shownView();
        QVERIFY2(box, qPrintable(QStringLiteral("no entry box for ") + token));
        if (token.size() == 1 && token.at(0).unicode() < 128) {
            QTest::keyClick(box, token.at(0).toLatin1());
        } else if (token.size() == 1) {
            // A letter the keyboard gives through its layout.
            QTest::sendKeyEvent(QTest::Press, box, Qt::Key_unknown, token, {});
            QTest::sendKeyEvent(QTest::Release, box, Qt::Key_unknown, token, {});
        } else {
            const QKeyCombination key = keyOf(token);
            QTest::keyClick(box, key.key(), key.keyboardModifiers());
        }
        deliverSentKeys();
    }

    void type(const QString &keys)
    {
        for (qsizetype i = 0; i < keys.size(); ++i) {
            QString token(keys.at(i));
            if (keys.at(i) == u'{') {
                const qsizetype end = keys.indexOf(u'}', i);
                token = keys.mid(i + 1, end - i - 1);
                i = end;
            }
            perform(token);
            if (QTest::currentTestFailed())
                return;
        }
    }

    QStringList savedLines()
    {
        if (!gTranscription->SaveData(false))
            return {QStringLiteral("<not saved>")};
        return Cp1252::decode(TestFiles::readBytes(batch)).split(QStringLiteral("\r\n"));
    }

    void check(const QString &expectation)
    {
        const QString what = expectation.section(u'=', 0, 0);
        const QString value = expectation.section(u'=', 1);
        if (what == QLatin1String("at")) {
            QCOMPARE(QStringLiteral("%1,%2").arg(grid().Row()).arg(grid().Col()), value);
            QCOMPARE(gCurrentRow, grid().Row());
        } else if (what == QLatin1String("page")) {
            QVERIFY2(window->gShowStatus()->panel(2)->text().endsWith(
                         QStringLiteral("  Page ") + value + QStringLiteral("  ")),
                     qPrintable(window->gShowStatus()->panel(2)->text()));
        } else if (what == QLatin1String("hidden")) {
            const auto *item = window->findChild<QAction *>(value);
            QVERIFY(item);
            QVERIFY(!item->isVisible());
        } else if (what == QLatin1String("said")) {
            QStringList prompts;
            for (const MessageRecord &r : script->records())
                prompts << r.prompt;
            QVERIFY2(prompts.contains(value), qPrintable(prompts.join(u'|')));
        } else if (what == QLatin1String("beeps")) {
            QCOMPARE(input().beeps, value.toInt());
        } else if (what == QLatin1String("line")) {
            const QStringList lines = savedLines();
            QVERIFY2(lines.contains(value), qPrintable(lines.join(u'|')));
        } else {
            const QPoint cell = cellOf(what);
            QCOMPARE(grid().TextMatrix(cell.y(), cell.x()), value);
        }
    }

private slots:
    void keysFromACell_data()
    {
        QTest::addColumn<QString>("fixture");
        QTest::addColumn<QStringList>("options");
        QTest::addColumn<QString>("start");
        QTest::addColumn<QString>("keys");
        QTest::addColumn<QStringList>("answers");
        QTest::addColumn<QStringList>("expected");

        // Keys: a character is typed as it stands; braces hold a key with
        // its modifiers ({Tab}, {S+Tab}, {C+Left}), a double click on the
        // character picker's cell ({Pick:ü}), a click on a cell ({RClick:0,1}
        // right, row 0 being the titles), a selection made in the box with
        // a click and a Shift+click ({Sel:2-3}), or the header form opened
        // and cancelled ({EditHeader}). Expected: "r,c=text" a cell, "at=r,c"
        // the current cell, "page=n" the status bar's page, "hidden=name" a
        // menu item, "said=text" a message, "beeps=n", "line=text" a line of
        // the batch file saved afterwards.
        const QString plain = QStringLiteral("batch-births-plain-fiche");
        const QString mother = QStringLiteral("batch-births-mother-film");

        // A header edit clears the entry boxes; the forename box, hidden on
        // the surname, no longer owns its last cell.
        QTest::newRow("header-edit-keeps-the-forename")
            << plain << QStringList() << "3,2" << "{S+Tab}{EditHeader}" << QStringList()
            << QStringList{"3,2=John William ",
                           "line=ABBOT,John William,\"Leeds, West\",9b,12"};

        // From the page cell of the last entry, Tab opens a fresh row. Tab
        // ends a pick-list number, and each forename cell starts a new one: with
        // 20 names listed, "2" is the second, whatever was picked before.
        QTest::newRow("pick-number-starts-afresh-in-each-forename-cell")
            << plain << QStringList{"ForePick=Y", "ForeGhost=N", "PickRows=20"} << "11,4"
            << "{Tab}AMOS{Tab}1{Tab}Bath,5c{Tab}13{Tab}AMOS{Tab}2{Tab}Bath,5c{Tab}13{Tab}"
            << QStringList()
            << QStringList{"12,2=Mary ", "13,2=John ", "line=Amos,John,Bath,5c,13"};

        // Backspace at the start of the box, used up by the box, ends the
        // number too: "1" took "Mary ", the box was emptied, "2" is row 2.
        QTest::newRow("backspace-ends-a-pick-number")
            << plain << QStringList{"ForePick=Y", "ForeGhost=N", "PickRows=20"} << "11,4"
            << "{Tab}AMOS{Tab}1{Left}{Left}{Left}{Left}{Left}{Back}2{Tab}Bath,5c{Tab}13{Tab}"
            << QStringList() << QStringList{"12,2=John ", "line=Amos,John,Bath,5c,13"};

        // The character picker gives the letters the keyboard may not: a typed
        // "ü" is refused in a surname, a picked one goes in.
        QTest::newRow("picker-puts-an-accented-letter-in-a-surname")
            << plain << QStringList() << "11,4"
            << "{Tab}Mü{F4}{Pick:ü}ller{Tab}Ann{Tab}Bath,5c{Tab}13{Tab}" << QStringList()
            << QStringList{"12,1=Müller", "line=Müller,Ann,Bath,5c,13"};

        // Ctrl+4 and Ctrl+3 add paste texts 4 and 3 through the forename and
        // district boxes: the word typed, or the district, is replaced and the cell
        // written.
        QTest::newRow("paste-texts-go-through-the-forename-and-district-boxes")
            << plain << QStringList() << "2,2" << "{C+4}{Tab}{C+3}{Tab}" << QStringList()
            << QStringList{"2,2=Henry ", "2,3=Leeds,9b", "line=ABBOT,Henry,Leeds,9b,12"};

        // A right click on the titles beeps and leaves the box where it was.
        QTest::newRow("right-click-on-the-titles-keeps-the-cell")
            << plain << QStringList{"Beep=Y"} << "11,1" << "{RClick:0,1}S{Tab}" << QStringList()
            << QStringList{"0,1=Surname", "11,1=AMOSs", "at=11,2", "beeps=1",
                           "line=AMOSs,Eli,Bath,5c,13"};

        // A district without its volume is refused with a comma added; the
        // volume typed next goes after the comma.
        QTest::newRow("district-without-volume-takes-the-volume-after-the-comma")
            << plain << QStringList() << "11,4" << "{Tab}AMOS{Tab}Eli{Tab}Atlantis{Tab}6d{Tab}13{Tab}"
            << QStringList{"Ok", "No"}
            << QStringList{"said=Volume Number is missing",
                           "said=Atlantis,6d is a new District.\r\nWould you like to add it to "
                           "your District File?",
                           "12,3=Atlantis,6d",
                           "line=Amos,Eli,Atlantis,6d,13"};

        // Backspace on a selection cuts the text there: the selection and what
        // follows it go; from the start of the box, the whole cell.
        QTest::newRow("backspace-cuts-the-text-at-a-selection")
            << plain << QStringList() << "11,1" << "{Sel:2-3}{Back}BER{Tab}" << QStringList()
            << QStringList{"11,1=AMber", "line=AMber,Eli,Bath,5c,13"};

        QTest::newRow("backspace-on-a-selection-from-the-start-empties-the-cell")
            << plain << QStringList() << "11,1" << "{Sel:0-2}{Back}AMOS{Tab}" << QStringList()
            << QStringList{"11,1=Amos", "line=Amos,Eli,Bath,5c,13"};

        // Shift+Tab from the first entry's first cell goes to its last.
        QTest::newRow("shift-tab-from-the-first-entry-goes-to-its-last-column")
            << plain << QStringList() << "2,1" << "{S+Tab}" << QStringList()
            << QStringList{"at=2,4"};

        // Without a scan, Ctrl+Left moves no caret in the general box and
        // Shift+Left selects nothing in the district box: the letter and the
        // Backspace act at the end.
        QTest::newRow("modified-arrows-stay-out-of-the-boxes-without-a-scan")
            << plain << QStringList() << "11,1" << "{C+Left}X{Tab}{Tab}{S+Left}{S+Left}{Back}c{Tab}"
            << QStringList()
            << QStringList{"11,1=AMOSx", "11,3=Bath,5c", "line=AMOSx,Eli,Bath,5c,13"};

        // Page Down from the first entry passes the "+PAGE,13" line: the status
        // bar shows page 13.
        QTest::newRow("status-bar-shows-the-page-after-page-down")
            << plain << QStringList() << "2,1" << "{PgDn}" << QStringList()
            << QStringList{"at=11,1", "page=13"};

        // Copy Surname is never shown; Ctrl+M still copies the surname into the
        // mother's column and moves on.
        QTest::newRow("copy-surname-stays-hidden-and-ctrl-m-copies")
            << mother << QStringList() << "6,3" << "{C+M}" << QStringList()
            << QStringList{"hidden=mnuCopySurname", "hidden=mnuCopySurnameSep", "6,3=BELL",
                           "at=6,4", "line=BELL,Eve,BELL,York,12,7A"};

        // With "Space after Forename Period" on, "J" then "." is followed by a
        // space.
        QTest::newRow("full-stop-in-a-forename-is-followed-by-a-space")
            << plain << QStringList{"PeriodSpace=Y", "ForeGhost=N"} << "11,4"
            << "{Tab}AMOS{Tab}J.Henry{Tab}Bath,5c{Tab}13{Tab}" << QStringList{"No"}
            << QStringList{"12,2=J. Henry ", "line=Amos,J. Henry,Bath,5c,13"};
    }

    void keysFromACell()
    {
        QFETCH(QString, fixture);
        QFETCH(QStringList, options);
        QFETCH(QString, start);
        QFETCH(QString, keys);
        QFETCH(QStringList, answers);
        QFETCH(QStringList, expected);
        startOn(fixture, fixture == QLatin1String("batch-births-mother-film")
                             ? QStringLiteral("1915B2B0007.ZEL")
                             : batchName());
        applyOptions(options);
        const QPoint cell = cellOf(start);
        perform(QStringLiteral("Click:%1,%2").arg(cell.y()).arg(cell.x()));
        QCOMPARE(QStringLiteral("%1,%2").arg(grid().Row()).arg(grid().Col()), start);
        input().beeps = 0;
        script->clearRecords();
        script->answer(answers);
        type(keys);
        if (QTest::currentTestFailed()) {
            for (const MessageRecord &r : script->records())
                qInfo() << "asked:" << r.prompt << "answered:" << r.answer;
            return;
        }
        for (const QString &expectation : expected) {
            check(expectation);
            if (QTest::currentTestFailed())
                return;
        }
    }
};

PELKAR_TEST(tst_TypedEntries)
#include "tst_TypedEntries.moc"
