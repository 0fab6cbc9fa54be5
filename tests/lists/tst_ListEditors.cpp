// The forename and district editors, driven as the transcriber drives them:
// their modes (which buttons are shown, enabled and captioned after each
// click or key), adding, deleting and renaming with the grid replacement,
// the messages, refusing to close while an action is under way, giving the
// main window back once, and the district box's key filter and sort orders.

#include "PelkarTest.h"
#include "TestBatch.h"
#include "TestFiles.h"

#include "core/FormRegistry.h"
#include "core/Globals.h"
#include "core/HeaderTypes.h"
#include "core/LineReader.h"
#include "core/Project.h"
#include "core/Services.h"
#include "core/VbHelpers.h"
#include "entry/FlexGrid.h"
#include "lists/Districts.h"
#include "lists/EditorHost.h"
#include "lists/ForeNames.h"
#include "lists/frmDistricts.h"
#include "lists/frmForenames.h"
#include "transcription/Change_Monitor.h"
#include "transcription/Transcription.h"
#include "transcription/clsWorkFile.h"

#include <QAction>
#include <QApplication>
#include <QHeaderView>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QTreeWidget>

#include <memory>

using namespace TestFiles;

namespace {

constexpr int kForenames = 2;
constexpr int kDistrict = 3;

class RecordingHost final : public EditorHost
{
public:
    QStringList calls;
    void HideForm1() override { calls << QStringLiteral("hide"); }
    void editExit() override { calls << QStringLiteral("exit"); }
};

// A district-file line in use all the time, its 1852-1946 volume given.
QString districtLine(const QString &name, const QString &volume)
{
    return name + QStringLiteral("|1837|1|9999|4|0|") + volume + QStringLiteral("|0|0|0");
}

// One of the three action buttons: "hidden", or its caption and state.
QString actionButton(const QPushButton *b)
{
    if (b->isHidden())
        return b->isEnabled() ? QStringLiteral("hidden but enabled") : QStringLiteral("hidden");
    return b->text() + (b->isEnabled() ? QStringLiteral(" on") : QStringLiteral(" off"));
}

QString onOff(const QWidget *w)
{
    return w->isEnabled() ? QStringLiteral("on") : QStringLiteral("off");
}

// The browse layout and its fellows, alike in both editors but for the
// captions given.
QString state(const QString &doAdd, const QString &cancel, const QString &del, bool addNew,
              bool edit, bool list)
{
    const auto on = [](bool b) { return b ? QStringLiteral("on") : QStringLiteral("off"); };
    return QStringLiteral("DoAdd=%1; Cancel=%2; Del=%3; AddNew=%4; Exit=%4; Edit=%5; List=%6")
            .arg(doAdd, cancel, del, on(addNew), on(edit), on(list));
}

const QString kBrowse = state("hidden", "hidden", "hidden", true, false, true);

} // namespace

// Both editors over one batch: the forename and district lists read from
// their files, a grid whose forename and district cells the renames search,
// and a work file that must hold what was replaced.
class EditorTestBase : public PelkarTest
{
    Q_OBJECT

protected:
    void setUpCase() override
    {
        ProgramObjects::createEvents();
        ProgramObjects::createProject();
        ProgramObjects::createChangeMonitor();
        ProgramObjects::createTranscription();
        ProgramObjects::createWorkFile();
        QVERIFY(TestBatch::useDataFolder(homePath("data")));
        QVERIFY(QDir().mkpath(gProject->GetFilePath()));

        Project &p = *gProject;
        p.setEventType(EventType::Births);
        p.setIYear(1911);
        p.setQtr(2);
        p.setSourceType(SourceType::Scan);
        p.setIVnf(VolumeNumberFormat::Vnf9z);
        p.setBatchName(QStringLiteral("1911B2S0123.ZEL"));
        p.setPageLetter(QStringLiteral("S"));
        p.setPage(QStringLiteral("0123"));

        QVERIFY(writeBytes(filesFile("Pelkar_Name2.txt"),
                           JoinCrLf({" Pelkar forename list", "", "@John", "", "Ann", "",
                                     "Henry", "", "John", "", "Mary"})));
        QVERIFY(writeBytes(filesFile("Pelkar_Districts.txt"),
                           JoinCrLf({districtLine("Ashford", "5A"), districtLine("Bury", "8A"),
                                     districtLine("Leeds", "9B")})));
        QVERIFY(writeBytes(filesFile("Pelkar_Supp_Districts.txt"),
                           JoinCrLf({"Dover,5B", "Eton,5C"})));
        ProgramObjects::createForeNames();
        ProgramObjects::createDistricts();
        QVERIFY(gDistricts->Read_Districts());

        grid = TestBatch::makeGrid();
        gTranscription->setGrid(grid.get());
        gWorkFile->setGrid(grid.get());
        host = RecordingHost();
        SetEditorHost(&host);
    }

    void tearDownCase() override
    {
        forenames.reset();
        districts.reset();
        SetEditorHost(nullptr);
        ProgramObjects::releaseAll();
        grid.reset();
    }

    QString filesFile(const QString &name) const
    {
        return QDir(gProject->GetFilePath()).filePath(name);
    }

    // Entries with the given forename and district cells (surnames "John",
    // so that a replacement straying out of its column shows), saved whole
    // to a fresh work file; nothing counts as changed.
    void loadBatch(const QStringList &forenameCells, const QStringList &districtCells)
    {
        gTranscription->SetupInputGrid();
        gTranscription->AddLine1();
        const qsizetype n = std::max(forenameCells.size(), districtCells.size());
        grid->setRows(int(2 + n));
        for (int i = 0; i < n; ++i) {
            grid->setTextMatrix(2 + i, 1, QStringLiteral("John"));
            grid->setTextMatrix(2 + i, kForenames, forenameCells.value(i));
            grid->setTextMatrix(2 + i, kDistrict, districtCells.value(i));
            grid->setTextMatrix(2 + i, 4, QStringLiteral("123"));
        }
        gTranscription->RenumberAllRows(-1);
        gWorkFile->StartNewWorkfile();
        QVERIFY(gWorkFile->SaveHeaderToWork());
        QVERIFY(gWorkFile->SaveGridToWork());
        gChangeMonitor->DataSaved();
    }

    QStringList column(int col) const
    {
        QStringList texts;
        for (int r = 2; r < grid->Rows(); ++r)
            texts << grid->TextMatrix(r, col);
        return texts;
    }

    // The column as a rebuild from the work file at this moment gives it.
    QStringList rebuiltColumn(int col)
    {
        gWorkFile->CloseWork();
        if (!gWorkFile->RestoreWorkfile())
            return {QStringLiteral("<rebuild failed>")};
        return column(col);
    }

    // Messages asked, as "style|title|prompt".
    QStringList messages() const
    {
        QStringList texts;
        for (const MessageRecord &r : script->records())
            texts << QString::number(r.style) + u'|' + r.title + u'|' + r.prompt;
        return texts;
    }

    template<class Form>
    Form *open(std::unique_ptr<Form> &form)
    {
        form = std::make_unique<Form>();
        form->show();
        if (!QTest::qWaitForWindowExposed(form.get()))
            return nullptr;
        return form.get();
    }

    // Runs steps on the editor: "add", "ok", "cancel", "delete", "exit"
    // click its buttons; "pick:<text>" clicks the list row whose first
    // column holds the text; "type:<text>" types into the edit box;
    // "clear" selects the box's text with the keyboard and rubs it out;
    // "back" presses Backspace.
    void run(QWidget *form, const QStringList &steps)
    {
        auto *edit = form->findChild<QLineEdit *>(QStringLiteral("tbEdit"));
        const auto click = [form](const char *name) {
            auto *b = form->findChild<QPushButton *>(QString::fromLatin1(name));
            QVERIFY(b);
            QTest::mouseClick(b, Qt::LeftButton);
        };
        for (const QString &step : steps) {
            if (step == u"add") {
                click("cmdAddNew");
            } else if (step == u"ok") {
                click("cmdDoAdd");
            } else if (step == u"cancel") {
                click("cmdCancelAdd");
            } else if (step == u"delete") {
                if (form->findChild<QPushButton *>(QStringLiteral("cmdDelName")))
                    click("cmdDelName");
                else
                    click("cmdDelDist");
            } else if (step == u"exit") {
                click("cmdExit");
            } else if (step.startsWith(u"pick:")) {
                pick(form, step.mid(5));
            } else if (step.startsWith(u"type:")) {
                for (const QChar c : step.mid(5)) {
                    if (c.unicode() < 128)
                        QTest::keyClick(edit, char(c.unicode()));
                    else
                        QTest::sendKeyEvent(QTest::Click, edit, Qt::Key_unknown, QString(c), {});
                }
            } else if (step == u"clear") {
                QTest::keyClick(edit, Qt::Key_End);
                QTest::keyClick(edit, Qt::Key_Home, Qt::ShiftModifier);
                QTest::keyClick(edit, Qt::Key_Backspace);
            } else if (step == u"back") {
                QTest::keyClick(edit, Qt::Key_Backspace);
            } else {
                QFAIL(qPrintable(QStringLiteral("unknown step ") + step));
            }
        }
    }

    void pick(QWidget *form, const QString &text)
    {
        if (auto *lb = form->findChild<QListWidget *>(QStringLiteral("lbForenames"))) {
            const QList<QListWidgetItem *> found = lb->findItems(text, Qt::MatchExactly);
            QVERIFY2(found.size() == 1, qPrintable(text));
            lb->scrollToItem(found.front());
            QTest::mouseClick(lb->viewport(), Qt::LeftButton, {},
                              lb->visualItemRect(found.front()).center());
            return;
        }
        auto *lv = form->findChild<QTreeWidget *>(QStringLiteral("lvDistricts"));
        QVERIFY(lv);
        const QList<QTreeWidgetItem *> found = lv->findItems(text, Qt::MatchExactly, 0);
        QVERIFY2(found.size() == 1, qPrintable(text));
        lv->scrollToItem(found.front());
        QTest::mouseClick(lv->viewport(), Qt::LeftButton, {},
                          lv->visualItemRect(found.front()).center());
    }

    std::unique_ptr<FlexGrid> grid;
    RecordingHost host;
    std::unique_ptr<frmForenames> forenames;
    std::unique_ptr<frmDistricts> districts;
};

// ---- The forename editor ----------------------------------------------------------

class ForenameEditorTest : public EditorTestBase
{
    Q_OBJECT

    static QString stateOf(const frmForenames &f)
    {
        return QStringLiteral("DoAdd=%1; Cancel=%2; Del=%3; AddNew=%4; Exit=%5; Edit=%6; List=%7")
                .arg(actionButton(f.cmdDoAdd()), actionButton(f.cmdCancelAdd()),
                     actionButton(f.cmdDelName()), onOff(f.cmdAddNew()), onOff(f.cmdExit()),
                     onOff(f.tbEdit()), onOff(f.lbForenames()));
    }

    QStringList listed() const
    {
        QStringList names;
        for (int i = 0; i < forenames->lbForenames()->count(); ++i)
            names << forenames->lbForenames()->item(i)->text();
        return names;
    }

private slots:
    void opensListingEveryForenameAndHidesMainWindow()
    {
        QVERIFY(open(forenames));
        QCOMPARE(forenames->windowTitle(), QStringLiteral("Pelkar Forename Editor"));
        QCOMPARE(listed(), (QStringList{"Ann", "Henry", "John", "Mary"}));
        QCOMPARE(host.calls, QStringList{"hide"});
        QVERIFY(IsFormLoaded(QStringLiteral("frmForenames")));
        QCOMPARE(forenames->cmdAddNew()->text(), QStringLiteral("Add &New Name"));
        QCOMPARE(forenames->cmdExit()->text(), QStringLiteral("E&xit"));
    }

    // Mode and buttons after each sequence of events.
    void modes_data()
    {
        QTest::addColumn<QStringList>("steps");
        QTest::addColumn<int>("mode");
        QTest::addColumn<QString>("buttons");
        QTest::addColumn<QString>("edit");

        const QString addOff = state("Add this Name off", "Cancel Add on", "hidden", false, true,
                                     false);
        const QString addOn = state("Add this Name on", "Cancel Add on", "hidden", false, true,
                                    false);
        const QString selected = state("Edit Name on", "Cancel on", "Delete Name on", false, false,
                                       true);
        const QString renameOff = state("Ok off", "Cancel on", "hidden", false, true, false);
        const QString renameOn = state("Ok on", "Cancel on", "hidden", false, true, false);

        QTest::newRow("opens-browsing") << QStringList{} << 0 << kBrowse << "";
        QTest::newRow("add-new-empty-box-add-disabled") << QStringList{"add"} << 2 << addOff << "";
        QTest::newRow("add-only-spaces-add-disabled")
                << QStringList{"add", "type:   "} << 2 << addOff << "   ";
        QTest::newRow("add-text-typed-add-enabled")
                << QStringList{"add", "type:Zoe"} << 2 << addOn << "Zoe";
        QTest::newRow("add-text-rubbed-out-add-disabled")
                << QStringList{"add", "type:Zoe", "clear"} << 2 << addOff << "";
        QTest::newRow("cancel-add-browses") << QStringList{"add", "type:Zoe", "cancel"} << 0
                                            << kBrowse << "";
        QTest::newRow("click-name-selects-it")
                << QStringList{"pick:Mary"} << 4 << selected << "Mary";
        QTest::newRow("click-another-name-while-selected")
                << QStringList{"pick:Mary", "pick:Ann"} << 4 << selected << "Ann";
        QTest::newRow("edit-name-starts-rename-ok-disabled")
                << QStringList{"pick:Mary", "ok"} << 1 << renameOff << "Mary";
        QTest::newRow("rename-text-changed-ok-enabled")
                << QStringList{"pick:Mary", "ok", "type:n"} << 1 << renameOn << "Maryn";
        QTest::newRow("rename-old-name-typed-again-ok-disabled")
                << QStringList{"pick:Mary", "ok", "type:n", "back"} << 1 << renameOff << "Mary";
        QTest::newRow("rename-old-name-with-spaces-ok-disabled")
                << QStringList{"pick:Mary", "ok", "type: "} << 1 << renameOff << "Mary ";
        QTest::newRow("cancel-selection-browses")
                << QStringList{"pick:Mary", "cancel"} << 0 << kBrowse << "";
        QTest::newRow("cancel-rename-browses")
                << QStringList{"pick:Mary", "ok", "type:x", "cancel"} << 0 << kBrowse << "";
        QTest::newRow("same-name-after-cancelled-rename-can-be-edited")
                << QStringList{"pick:Mary", "ok", "cancel", "pick:Mary"} << 4 << selected
                << "Mary";
        QTest::newRow("add-done-browses")
                << QStringList{"add", "type:Zoe", "ok"} << 0 << kBrowse << "";
        QTest::newRow("delete-browses") << QStringList{"pick:Mary", "delete"} << 0 << kBrowse
                                        << "";
    }

    void modes()
    {
        QFETCH(QStringList, steps);
        QFETCH(int, mode);
        QFETCH(QString, buttons);
        QFETCH(QString, edit);

        QVERIFY(open(forenames));
        run(forenames.get(), steps);
        QCOMPARE(forenames->mode(), mode);
        QCOMPARE(stateOf(*forenames), buttons);
        QCOMPARE(forenames->tbEdit()->text(), edit);
        QCOMPARE(messages(), QStringList{});
    }

    void addAppendsNameToListAndFile()
    {
        QVERIFY(open(forenames));
        run(forenames.get(), {"add", "type: Zoe ", "ok"});
        QCOMPARE(listed(), (QStringList{"Ann", "Henry", "John", "Mary", "Zoe"}));
        QVERIFY(readBytes(filesFile("Pelkar_Name2.txt")).contains("\r\nZoe\r\n"));
    }

    void addExistingNameRefusedStaysInAdd()
    {
        QVERIFY(open(forenames));
        script->answer("Ok");
        run(forenames.get(), {"add", "type:mary", "ok"});
        QCOMPARE(messages(), QStringList{"48|Pelkar|That name already exists"});
        QCOMPARE(forenames->mode(), 2);
        QCOMPARE(forenames->tbEdit()->text(), QStringLiteral("mary"));
        QCOMPARE(listed(), (QStringList{"Ann", "Henry", "John", "Mary"}));
    }

    void deleteRemovesNameWithoutAsking()
    {
        QVERIFY(open(forenames));
        run(forenames.get(), {"pick:Henry", "delete"});
        QCOMPARE(listed(), (QStringList{"Ann", "John", "Mary"}));
        QVERIFY(!gForeNames->TestForName(QStringLiteral("Henry")));
        QCOMPARE(messages(), QStringList{});
    }

    // The rename's question and report carry the old name as their title;
    // the replacement counts words and touches only the forename column.
    void rename_data()
    {
        QTest::addColumn<QString>("from");
        QTest::addColumn<QString>("to");
        QTest::addColumn<QString>("answer");
        QTest::addColumn<QStringList>("expectedMessages");
        QTest::addColumn<QStringList>("expectedCells");
        QTest::addColumn<QStringList>("expectedList");

        const QStringList cells{"John Henry", "Mary", "john john"};
        QTest::newRow("yes-replaces-each-word-any-case")
                << "John" << "Jon" << "Yes"
                << QStringList{"36|John|Would you like me to replace all entries using John with Jon",
                               "64|John|3 Entries changed"}
                << QStringList{"Jon Henry", "Mary", "Jon Jon"}
                << QStringList{"Ann", "Henry", "Mary", "Jon"};
        QTest::newRow("yes-nothing-found")
                << "Ann" << "Anne" << "Yes"
                << QStringList{"36|Ann|Would you like me to replace all entries using Ann with Anne",
                               "64|Ann|No entries found"}
                << cells << QStringList{"Henry", "John", "Mary", "Anne"};
        QTest::newRow("no-leaves-grid-alone")
                << "John" << "Jon" << "No"
                << QStringList{"36|John|Would you like me to replace all entries using John with Jon"}
                << cells << QStringList{"Ann", "Henry", "Mary", "Jon"};
    }

    void rename()
    {
        QFETCH(QString, from);
        QFETCH(QString, to);
        QFETCH(QString, answer);
        QFETCH(QStringList, expectedMessages);
        QFETCH(QStringList, expectedCells);
        QFETCH(QStringList, expectedList);

        loadBatch({"John Henry", "Mary", "john john"}, {});
        QVERIFY(open(forenames));
        script->answer(answer);
        if (answer == u"Yes")
            script->answer("Ok");
        run(forenames.get(), {"pick:" + from, "ok", "clear", "type:" + to, "ok"});

        QCOMPARE(messages(), expectedMessages);
        QCOMPARE(forenames->mode(), 0);
        QCOMPARE(forenames->tbEdit()->text(), QString());
        QCOMPARE(listed(), expectedList);
        QStringList stored = expectedList;
        stored.sort();
        QCOMPARE(gForeNames->ListAllForenames(), stored);
        QCOMPARE(column(1), QStringList(3, QStringLiteral("John")));
        QCOMPARE(column(kForenames), expectedCells);
        const bool replaced = expectedCells != QStringList{"John Henry", "Mary", "john john"};
        QCOMPARE(gChangeMonitor->AnyChange(), replaced);
        QCOMPARE(rebuiltColumn(kForenames), expectedCells);
    }

    void renameToExistingNameKeepsOldAndStaysInRename()
    {
        QVERIFY(open(forenames));
        script->answer("Ok");
        run(forenames.get(), {"pick:John", "ok", "clear", "type:MARY", "ok"});
        QCOMPARE(messages(), QStringList{"48|Pelkar|The new name already exists"});
        QCOMPARE(forenames->mode(), 1);
        QCOMPARE(listed(), (QStringList{"Ann", "Henry", "John", "Mary"}));
        QVERIFY(gForeNames->TestForName(QStringLiteral("John")));
    }

    // Closing is refused while an action is under way; the title is the
    // name taken for renaming, if any.
    void closeRefusedWhileBusy_data()
    {
        QTest::addColumn<QStringList>("steps");
        QTest::addColumn<QString>("title");
        QTest::newRow("adding") << QStringList{"add"} << "Pelkar";
        QTest::newRow("selected") << QStringList{"pick:Mary"} << "Pelkar";
        QTest::newRow("renaming") << QStringList{"pick:Mary", "ok"} << "Mary";
    }

    void closeRefusedWhileBusy()
    {
        QFETCH(QStringList, steps);
        QFETCH(QString, title);

        QVERIFY(open(forenames));
        run(forenames.get(), steps);
        const int mode = forenames->mode();
        script->answer("Ok");
        QVERIFY(!forenames->close());
        QCOMPARE(messages(), QStringList{"48|" + title + "|Finish or Cancel current action first"});
        QVERIFY(forenames->isVisible());
        QCOMPARE(forenames->mode(), mode);
        QCOMPARE(host.calls, QStringList{"hide"});

        run(forenames.get(), {"cancel"});
        QVERIFY(forenames->close());
        QVERIFY(!forenames->isVisible());
        QCOMPARE(host.calls, (QStringList{"hide", "exit"}));
    }

    void exitButtonClosesAndShowsMainWindowOnce()
    {
        QVERIFY(open(forenames));
        run(forenames.get(), {"exit"});
        QVERIFY(!forenames->isVisible());
        forenames->close();
        QCOMPARE(host.calls, (QStringList{"hide", "exit"}));
    }

    void editBoxLightCyanWhileFocused()
    {
        QVERIFY(open(forenames));
        QApplication::setActiveWindow(forenames.get());
        QVERIFY(QTest::qWaitForWindowActive(forenames.get()));
        QLineEdit *edit = forenames->tbEdit();
        const QPalette system = QApplication::palette(edit);
        run(forenames.get(), {"add"});
        QTRY_VERIFY(edit->hasFocus());
        QCOMPARE(edit->palette().color(QPalette::Active, QPalette::Base), QColor(0xC0, 0xFF, 0xFF));
        forenames->cmdCancelAdd()->setFocus();
        QTRY_VERIFY(!edit->hasFocus());
        for (const auto group : {QPalette::Active, QPalette::Disabled})
            QCOMPARE(edit->palette().color(group, QPalette::Base), system.color(group, QPalette::Base));
    }
};

// ---- The district editor ----------------------------------------------------------

class DistrictEditorTest : public EditorTestBase
{
    Q_OBJECT

    static QString stateOf(const frmDistricts &f)
    {
        return QStringLiteral("DoAdd=%1; Cancel=%2; Del=%3; AddNew=%4; Exit=%5; Edit=%6; List=%7")
                .arg(actionButton(f.cmdDoAdd()), actionButton(f.cmdCancelAdd()),
                     actionButton(f.cmdDelDist()), onOff(f.cmdAddNew()), onOff(f.cmdExit()),
                     onOff(f.tbEdit()), onOff(f.lvDistricts()));
    }

    // The list's rows in view order, as "name,code" with "*" for the
    // transcriber's own.
    QStringList listed() const
    {
        QStringList rows;
        QTreeWidget *lv = districts->lvDistricts();
        for (int i = 0; i < lv->topLevelItemCount(); ++i) {
            const QTreeWidgetItem *item = lv->topLevelItem(i);
            rows << item->text(0) + u',' + item->text(1) + item->text(2);
        }
        return rows;
    }

    QString checkedSortEntries() const
    {
        QStringList on;
        for (QAction *a : districts->mnuView()->actions()) {
            if (a->isChecked())
                on << a->text();
        }
        return on.join(u'|');
    }

private slots:
    void opensListingEveryDistrictMarkingOwn()
    {
        QVERIFY(open(districts));
        QCOMPARE(districts->windowTitle(), QStringLiteral("Pelkar District Editor"));
        QTreeWidget *lv = districts->lvDistricts();
        QCOMPARE(lv->headerItem()->text(0), QStringLiteral("District"));
        QCOMPARE(lv->headerItem()->text(1), QStringLiteral("Volume"));
        QCOMPARE(lv->headerItem()->text(2), QStringLiteral("*"));
        QCOMPARE(listed(),
                 (QStringList{"Ashford,5A", "Bury,8A", "Dover,5B*", "Eton,5C*", "Leeds,9B"}));
        QCOMPARE(host.calls, QStringList{"hide"});
        QVERIFY(IsFormLoaded(QStringLiteral("frmDistricts")));
        QCOMPARE(districts->mnuView()->title(), QStringLiteral("&View"));
    }

    void modes_data()
    {
        QTest::addColumn<QStringList>("steps");
        QTest::addColumn<int>("mode");
        QTest::addColumn<QString>("buttons");
        QTest::addColumn<QString>("edit");

        const QString addOn = state("Add this District on", "Cancel Add on", "hidden", false, true,
                                    false);
        const QString addOff = state("Add this District off", "Cancel Add on", "hidden", false,
                                     true, false);
        const QString selected = state("Edit Name on", "Cancel on", "Delete District on", false,
                                       false, true);
        const QString renameOff = state("Ok off", "Cancel on", "hidden", false, true, false);
        const QString renameOn = state("Ok on", "Cancel on", "hidden", false, true, false);

        QTest::newRow("opens-browsing") << QStringList{} << 0 << kBrowse << "";
        QTest::newRow("add-new-enabled-at-once-though-empty")
                << QStringList{"add"} << 2 << addOn << "";
        QTest::newRow("add-text-rubbed-out-add-disabled")
                << QStringList{"add", "type:Frome", "clear"} << 2 << addOff << "";
        QTest::newRow("click-own-district-selects-it")
                << QStringList{"pick:Dover"} << 4 << selected << "Dover,5B";
        QTest::newRow("click-file-district-changes-nothing")
                << QStringList{"pick:Ashford"} << 0 << kBrowse << "";
        QTest::newRow("click-file-district-while-selected-keeps-selection")
                << QStringList{"pick:Dover", "pick:Leeds"} << 4 << selected << "Dover,5B";
        QTest::newRow("edit-name-starts-rename-ok-disabled")
                << QStringList{"pick:Dover", "ok"} << 1 << renameOff << "Dover,5B";
        QTest::newRow("rename-text-changed-ok-enabled")
                << QStringList{"pick:Dover", "ok", "back", "type:D"} << 1 << renameOn
                << "Dover,5D";
        QTest::newRow("rename-old-entry-typed-again-ok-disabled")
                << QStringList{"pick:Dover", "ok", "back", "type:B"} << 1 << renameOff
                << "Dover,5B";
        QTest::newRow("rename-trailing-space-differs-ok-enabled")
                << QStringList{"pick:Dover", "ok", "type: "} << 1 << renameOn << "Dover,5B ";
        QTest::newRow("cancel-rename-browses")
                << QStringList{"pick:Dover", "ok", "type:x", "cancel"} << 0 << kBrowse << "";
        QTest::newRow("same-entry-after-cancelled-rename-can-be-edited")
                << QStringList{"pick:Dover", "ok", "cancel", "pick:Dover"} << 4 << selected
                << "Dover,5B";
        QTest::newRow("add-done-browses")
                << QStringList{"add", "type:Frome,5D", "ok"} << 0 << kBrowse << "";
        QTest::newRow("delete-browses") << QStringList{"pick:Eton", "delete"} << 0 << kBrowse
                                        << "";
    }

    void modes()
    {
        QFETCH(QStringList, steps);
        QFETCH(int, mode);
        QFETCH(QString, buttons);
        QFETCH(QString, edit);

        QVERIFY(open(districts));
        run(districts.get(), steps);
        QCOMPARE(districts->mode(), mode);
        QCOMPARE(stateOf(*districts), buttons);
        QCOMPARE(districts->tbEdit()->text(), edit);
        QCOMPARE(messages(), QStringList{});
    }

    // What typed keys leave in the edit box.
    void keyFilter_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("expected");
        QTest::newRow("digit-before-comma-dropped") << "Leeds9,9B" << "Leeds,9B";
        QTest::newRow("digits-after-comma-pass") << "Bury,12A" << "Bury,12A";
        QTest::newRow("name-punctuation-passes") << "St. Mary's & Co-op %" << "St. Mary's & Co-op %";
        QTest::newRow("other-characters-dropped") << "Ly(nn)!/e;,5\"B" << "Lynne,5B";
        QTest::newRow("accented-letter-dropped") << "Ch\u00e9ster" << "Chster";
    }

    void keyFilter()
    {
        QFETCH(QString, typed);
        QFETCH(QString, expected);
        QVERIFY(open(districts));
        run(districts.get(), {"add", "type:" + typed});
        QCOMPARE(districts->tbEdit()->text(), expected);
        // Backspace and the editing keys are not filtered.
        QTest::keyClick(districts->tbEdit(), Qt::Key_Home);
        QTest::keyClick(districts->tbEdit(), Qt::Key_Delete);
        QTest::keyClick(districts->tbEdit(), Qt::Key_End);
        QTest::keyClick(districts->tbEdit(), Qt::Key_Backspace);
        QCOMPARE(districts->tbEdit()->text(), expected.mid(1).chopped(1));
    }

    // The columns share the list's width (a tenth for "*", the width over
    // 3.5 for the volume, the rest less 300 twips for the name) when the
    // editor opens and as the window is resized; volume and "*" are centred
    // in the heading and in every row, an added one included.
    void columnsShareTheListsWidth_data()
    {
        QTest::addColumn<QSize>("resizedTo");
        QTest::newRow("as-opened") << QSize();
        QTest::newRow("widened") << QSize(900, 500);
        QTest::newRow("narrowed") << QSize(420, 400);
    }

    void columnsShareTheListsWidth()
    {
        QFETCH(QSize, resizedTo);
        QVERIFY(open(districts));
        if (resizedTo.isValid()) {
            districts->resize(resizedTo);
            QTRY_COMPARE(districts->size(), resizedTo);
        }
        run(districts.get(), {"add", "type:Frome,5D", "ok"});

        QTreeWidget *lv = districts->lvDistricts();
        const int width = PixelsToTwipsX(lv->width());
        QVERIFY(width > 3000);
        const QList<int> expected = {TwipsToPixelsX(width - width / 10.0 - width / 3.5 - 300),
                                     TwipsToPixelsX(width / 3.5), TwipsToPixelsX(width / 10.0)};
        QCOMPARE((QList<int>{lv->columnWidth(0), lv->columnWidth(1), lv->columnWidth(2)}),
                 expected);

        const auto alignments = [](const QTreeWidgetItem *item) {
            return QList<int>{item->textAlignment(0) & Qt::AlignHorizontal_Mask,
                              item->textAlignment(1) & Qt::AlignHorizontal_Mask,
                              item->textAlignment(2) & Qt::AlignHorizontal_Mask};
        };
        const QList<int> centred = {0, Qt::AlignHCenter, Qt::AlignHCenter};
        QCOMPARE(alignments(lv->headerItem()), centred);
        QCOMPARE(lv->topLevelItemCount(), 6);
        for (int i = 0; i < lv->topLevelItemCount(); ++i)
            QCOMPARE(alignments(lv->topLevelItem(i)), centred);
    }

    // The list fills under the hourglass, which is gone once it is full.
    void listFillsUnderTheHourglass()
    {
        QVERIFY(open(districts));
        QTreeWidget *lv = districts->lvDistricts();
        QList<int> shapes;
        connect(lv->model(), &QAbstractItemModel::rowsInserted, this, [&shapes] {
            const QCursor *cursor = QGuiApplication::overrideCursor();
            shapes << (cursor ? int(cursor->shape()) : -1);
        });
        districts->fillList();
        QVERIFY(!shapes.isEmpty());
        for (const int shape : std::as_const(shapes))
            QCOMPARE(shape, int(Qt::WaitCursor));
        QVERIFY(!QGuiApplication::overrideCursor());
        QCOMPARE(listed(),
                 (QStringList{"Ashford,5A", "Bury,8A", "Dover,5B*", "Eton,5C*", "Leeds,9B"}));
    }

    // Added wherever its initial stands among the others, also where no
    // district has that initial yet.
    void addListsDistrictAndWritesFile_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("initial-with-districts")
                << "  Axe,5D " << QStringList{"Ashford,5A", "Axe,5D*", "Bury,8A", "Dover,5B*",
                                              "Eton,5C*", "Leeds,9B"};
        QTest::newRow("initial-without-districts")
                << "  Frome,5D " << QStringList{"Ashford,5A", "Bury,8A", "Dover,5B*",
                                                "Eton,5C*", "Frome,5D*", "Leeds,9B"};
        QTest::newRow("initial-after-the-last")
                << "Zeals,5D" << QStringList{"Ashford,5A", "Bury,8A", "Dover,5B*", "Eton,5C*",
                                             "Leeds,9B", "Zeals,5D*"};
    }

    void addListsDistrictAndWritesFile()
    {
        QFETCH(QString, typed);
        QFETCH(QStringList, expected);
        QVERIFY(open(districts));
        run(districts.get(), {"add", "type:" + typed, "ok"});
        QCOMPARE(listed(), expected);
        const QString added = VbTrim(typed);
        QVERIFY(readBytes(filesFile("Pelkar_Supp_Districts.txt"))
                        .contains(added.toLatin1() + "\r\n"));
        QVERIFY(gDistricts->TestForDistrict(added));
        QCOMPARE(messages(), QStringList{});
    }

    void addKnownDistrictEndsAddQuietly()
    {
        QVERIFY(open(districts));
        run(districts.get(), {"add", "type:ashford,5a", "ok"});
        QCOMPARE(districts->mode(), 0);
        QCOMPARE(listed(),
                 (QStringList{"Ashford,5A", "Bury,8A", "Dover,5B*", "Eton,5C*", "Leeds,9B"}));
        QCOMPARE(messages(), QStringList{});
    }

    // An entry refused in add or rename mode: the validator's own message
    // (when it has one), then the editor's; the mode stays and nothing in
    // the list or the file changes.
    void invalidEntryRefused_data()
    {
        QTest::addColumn<QStringList>("steps");
        QTest::addColumn<int>("mode");
        QTest::addColumn<QStringList>("expectedMessages");

        const QString invalid = "16|Pelkar|Invalid District\r\nMust be - name,code";
        QTest::newRow("add-empty") << QStringList{"add"} << 2 << QStringList{invalid};
        QTest::newRow("add-no-code") << QStringList{"add", "type:Frome"} << 2
                                     << QStringList{invalid};
        QTest::newRow("add-code-of-another-format")
                << QStringList{"add", "type:Frome,5"} << 2
                << QStringList{"16|Pelkar|The format of the Volume Number does not match that "
                               "specified on the Header Form - it should be 9z",
                               invalid};
        QTest::newRow("rename-no-code")
                << QStringList{"pick:Dover", "ok", "clear", "type:Dover"} << 1
                << QStringList{invalid};
        QTest::newRow("rename-code-out-of-range")
                << QStringList{"pick:Dover", "ok", "clear", "type:Dover,100B"} << 1
                << QStringList{"16|Pelkar|Volume Number must be in the range 1-99", invalid};
    }

    void invalidEntryRefused()
    {
        QFETCH(QStringList, steps);
        QFETCH(int, mode);
        QFETCH(QStringList, expectedMessages);

        QVERIFY(open(districts));
        const QByteArray supp = readBytes(filesFile("Pelkar_Supp_Districts.txt"));
        run(districts.get(), steps);
        for (int i = 0; i < expectedMessages.size(); ++i)
            script->answer("Ok");
        run(districts.get(), {"ok"});
        QCOMPARE(messages(), expectedMessages);
        QCOMPARE(districts->mode(), mode);
        QCOMPARE(listed(),
                 (QStringList{"Ashford,5A", "Bury,8A", "Dover,5B*", "Eton,5C*", "Leeds,9B"}));
        QVERIFY(gDistricts->TestForDistrict(QStringLiteral("Dover,5B")));
        QCOMPARE(readBytes(filesFile("Pelkar_Supp_Districts.txt")), supp);
    }

    // A rename replaces whole cells that equal the old entry exactly; the
    // question and the report come with the title "Pelkar".
    void rename_data()
    {
        QTest::addColumn<QString>("from");
        QTest::addColumn<QString>("to");
        QTest::addColumn<QString>("answer");
        QTest::addColumn<QStringList>("expectedMessages");
        QTest::addColumn<QStringList>("expectedCells");
        QTest::addColumn<QStringList>("expectedList");

        const QStringList cells{"Dover,5B", "Dover,6B", "dover,5b", "Eton,5c", "Dover,5B"};
        const auto question = [](const char *from, const char *to) {
            return QStringLiteral("36|Pelkar|Would you like me to replace all entries using District ")
                    + from + " with " + to;
        };
        QTest::newRow("yes-replaces-whole-cells-exactly")
                << "Dover" << "Dover,5D" << "Yes"
                << QStringList{question("Dover,5B", "Dover,5D"), "64|Pelkar|2 Entries changed"}
                << QStringList{"Dover,5D", "Dover,6B", "dover,5b", "Eton,5c", "Dover,5D"}
                << QStringList{"Ashford,5A", "Bury,8A", "Dover,5D*", "Eton,5C*", "Leeds,9B"};
        QTest::newRow("new-entry-trimmed")
                << "Dover" << "  Dover Priory,5B  " << "Yes"
                << QStringList{question("Dover,5B", "Dover Priory,5B"),
                               "64|Pelkar|2 Entries changed"}
                << QStringList{"Dover Priory,5B", "Dover,6B", "dover,5b", "Eton,5c",
                               "Dover Priory,5B"}
                << QStringList{"Ashford,5A", "Bury,8A", "Dover Priory,5B*", "Eton,5C*",
                               "Leeds,9B"};
        QTest::newRow("yes-nothing-found")
                << "Eton" << "Eton,5D" << "Yes"
                << QStringList{question("Eton,5C", "Eton,5D"), "64|Pelkar|No entries found"}
                << QStringList{"Dover,5B", "Dover,6B", "dover,5b", "Eton,5c", "Dover,5B"}
                << QStringList{"Ashford,5A", "Bury,8A", "Dover,5B*", "Eton,5D*", "Leeds,9B"};
        QTest::newRow("no-leaves-grid-alone")
                << "Dover" << "Dover,5D" << "No"
                << QStringList{question("Dover,5B", "Dover,5D")} << cells
                << QStringList{"Ashford,5A", "Bury,8A", "Dover,5D*", "Eton,5C*", "Leeds,9B"};
        QTest::newRow("known-district-keeps-old-entry")
                << "Dover" << "Leeds,9B" << "Yes"
                << QStringList{question("Dover,5B", "Leeds,9B"), "64|Pelkar|2 Entries changed"}
                << QStringList{"Leeds,9B", "Dover,6B", "dover,5b", "Eton,5c", "Leeds,9B"}
                << QStringList{"Ashford,5A", "Bury,8A", "Dover,5B*", "Eton,5C*", "Leeds,9B"};
    }

    void rename()
    {
        QFETCH(QString, from);
        QFETCH(QString, to);
        QFETCH(QString, answer);
        QFETCH(QStringList, expectedMessages);
        QFETCH(QStringList, expectedCells);
        QFETCH(QStringList, expectedList);

        const QStringList cells{"Dover,5B", "Dover,6B", "dover,5b", "Eton,5c", "Dover,5B"};
        loadBatch({"Dover,5B", "Ann", "Ann", "Ann", "Ann"}, cells);
        QVERIFY(open(districts));
        script->answer(answer);
        if (answer == u"Yes")
            script->answer("Ok");
        run(districts.get(), {"pick:" + from, "ok", "clear", "type:" + to, "ok"});

        QCOMPARE(messages(), expectedMessages);
        QCOMPARE(districts->mode(), 0);
        QCOMPARE(districts->tbEdit()->text(), QString());
        QCOMPARE(listed(), expectedList);
        QCOMPARE(column(kForenames), (QStringList{"Dover,5B", "Ann", "Ann", "Ann", "Ann"}));
        QCOMPARE(column(kDistrict), expectedCells);
        QCOMPARE(gChangeMonitor->AnyChange(), expectedCells != cells);
        QCOMPARE(rebuiltColumn(kDistrict), expectedCells);
    }

    // The user's district goes from the list, the table and the file; no
    // other row goes with it, even after a click on a district-file row.
    void deleteRemovesOnlyItsOwnRow_data()
    {
        QTest::addColumn<QStringList>("steps");
        QTest::newRow("selected-and-deleted") << QStringList{"pick:Dover", "delete"};
        QTest::newRow("file-district-clicked-between")
                << QStringList{"pick:Dover", "pick:Leeds", "delete"};
    }

    void deleteRemovesOnlyItsOwnRow()
    {
        QFETCH(QStringList, steps);
        gProject->setBeepit(false);
        QVERIFY(open(districts));
        run(districts.get(), steps);
        QCOMPARE(listed(), (QStringList{"Ashford,5A", "Bury,8A", "Eton,5C*", "Leeds,9B"}));
        QVERIFY(!gDistricts->TestForDistrict(QStringLiteral("Dover,5B")));
        QCOMPARE(readBytes(filesFile("Pelkar_Supp_Districts.txt")), QByteArray("Eton,5C\r\n"));
        QCOMPARE(messages(), QStringList{});
    }

    // When the table no longer holds the district, nothing was deleted and
    // the list keeps its row.
    void deleteOfVanishedDistrictKeepsRow()
    {
        QVERIFY(open(districts));
        run(districts.get(), {"pick:Dover"});
        QVERIFY(gDistricts->DeleteDistrict(QStringLiteral("Dover,5B")));
        run(districts.get(), {"delete"});
        QCOMPARE(districts->mode(), 0);
        QCOMPARE(listed(),
                 (QStringList{"Ashford,5A", "Bury,8A", "Dover,5B*", "Eton,5C*", "Leeds,9B"}));
    }

    void fileDistrictClickBeepsOnlyWhenBeepOn_data()
    {
        QTest::addColumn<bool>("beepit");
        QTest::addColumn<int>("beeps");
        QTest::newRow("beep-on") << true << 1;
        QTest::newRow("beep-off") << false << 0;
    }

    void fileDistrictClickBeepsOnlyWhenBeepOn()
    {
        QFETCH(bool, beepit);
        QFETCH(int, beeps);
        gProject->setBeepit(beepit);
        QVERIFY(open(districts));
        run(districts.get(), {"pick:Ashford"});
        QCOMPARE(input().beeps, beeps);
        QCOMPARE(districts->tbEdit()->text(), QString());
        QCOMPARE(districts->mode(), 0);
    }

    void sortOrders_data()
    {
        QTest::addColumn<QStringList>("entries");
        QTest::addColumn<QStringList>("expected");
        QTest::addColumn<QString>("checked");

        QTest::newRow("by-code")
                << QStringList{"mnuViewByCode"}
                << QStringList{"Ashford,5A", "Dover,5B*", "Eton,5C*", "Bury,8A", "Leeds,9B"}
                << "List by District Code";
        QTest::newRow("editables-first")
                << QStringList{"mnuEditsFirst"}
                << QStringList{"Dover,5B*", "Eton,5C*", "Ashford,5A", "Bury,8A", "Leeds,9B"}
                << "Show Editables First";
        QTest::newRow("by-name-restores-alphabetical")
                << QStringList{"mnuEditsFirst", "mnuViewByName"}
                << QStringList{"Ashford,5A", "Bury,8A", "Dover,5B*", "Eton,5C*", "Leeds,9B"}
                << "List by District Name";
    }

    void sortOrders()
    {
        QFETCH(QStringList, entries);
        QFETCH(QStringList, expected);
        QFETCH(QString, checked);
        QVERIFY(open(districts));
        for (const QString &name : entries)
            districts->findChild<QAction *>(name)->trigger();
        QCOMPARE(listed(), expected);
        QCOMPARE(checkedSortEntries(), checked);
    }

    // A district added while the user's come first joins them at the top.
    void addedRowTakesItsPlaceInCurrentOrder()
    {
        QVERIFY(open(districts));
        districts->mnuEditsFirst()->trigger();
        run(districts.get(), {"add", "type:Axe,5D", "ok"});
        const QStringList rows = listed();
        QCOMPARE(rows.mid(3), (QStringList{"Ashford,5A", "Bury,8A", "Leeds,9B"}));
        QVERIFY(rows.mid(0, 3).contains(QStringLiteral("Axe,5D*")));
    }

    void closeRefusedWhileBusy_data()
    {
        QTest::addColumn<QStringList>("steps");
        QTest::newRow("adding") << QStringList{"add"};
        QTest::newRow("selected") << QStringList{"pick:Dover"};
        QTest::newRow("renaming") << QStringList{"pick:Dover", "ok"};
    }

    void closeRefusedWhileBusy()
    {
        QFETCH(QStringList, steps);
        QVERIFY(open(districts));
        run(districts.get(), steps);
        const int mode = districts->mode();
        script->answer("Ok");
        QVERIFY(!districts->close());
        QCOMPARE(messages(), QStringList{"48|Pelkar|Finish or Cancel current action first"});
        QVERIFY(districts->isVisible());
        QCOMPARE(districts->mode(), mode);
        QCOMPARE(host.calls, QStringList{"hide"});

        run(districts.get(), {"cancel", "exit"});
        QVERIFY(!districts->isVisible());
        districts->close();
        QCOMPARE(host.calls, (QStringList{"hide", "exit"}));
    }
};

PELKAR_TEST(ForenameEditorTest)
PELKAR_TEST(DistrictEditorTest)
#include "tst_ListEditors.moc"
