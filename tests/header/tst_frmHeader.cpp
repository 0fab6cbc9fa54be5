// The batch header form for real: typed fields and their rules, the colours,
// the OK button's state and caption, the preview name, each refusal's exact
// message, OK for a new and for an edited header, Cancel and the close box.

#include "PelkarTest.h"

#include "core/Globals.h"
#include "core/HeaderTypes.h"
#include "core/Project.h"
#include "core/Services.h"
#include "header/HeaderRules.h"
#include "header/frmHeader.h"
#include "transcription/Recent_files.h"
#include "transcription/Transcription.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include <memory>

using namespace HeaderRules;

namespace {

// Types into a box as the transcriber does: focus, then keys.
void typeInto(QLineEdit *box, const QString &text, bool replace = false)
{
    box->setFocus(Qt::OtherFocusReason);
    if (replace)
        box->selectAll();
    QTest::keyClicks(box, text);
}

// Moves the focus on, as Tab does.
void leave(QWidget *box)
{
    QTest::keyClick(box, Qt::Key_Tab);
}

} // namespace

class tst_frmHeader : public PelkarTest
{
    Q_OBJECT

protected:
    void setUpCase() override
    {
        ProgramObjects::createEvents();
        ProgramObjects::createProject();
        ProgramObjects::createChangeMonitor();
        ProgramObjects::createTranscription();
        ProgramObjects::createRecentFiles();
        const QString data = homePath(QStringLiteral("data"));
        QVERIFY(QDir().mkpath(data + QStringLiteral("/Output")));
        gProject->setDataPath(data);
        // The settings' defaults (the column quarters among them).
        QVERIFY(gProject->GetRegistryValues());
        gProject->setSavePath(data + QStringLiteral("/Output"));
        gProject->setBeepit(true);
        gProject->setHdrX(-1);
        gProject->setUserID(QStringLiteral("Ann Smith"));
        gProject->setSyndicate(QStringLiteral("Kent"));
        gProject->setSourceRef(QStringLiteral("REF1"));
        results.clear();
    }

    void tearDownCase() override
    {
        form.reset();
        ProgramObjects::releaseAll();
    }

    void openForm()
    {
        form = std::make_unique<frmHeader>();
        connect(form.get(), &frmHeader::HeaderFormFinished, form.get(),
                [this](int &result) { results << result; });
        form->show();
        QApplication::setActiveWindow(form.get());
        QVERIFY(QTest::qWaitForWindowActive(form.get()));
    }

    // Every required field of a new header but the year: births, March,
    // fiche 5, page 12, letter A.
    void fillAllButYear()
    {
        form->cboEvent()->setCurrentIndex(0);
        form->cboQuarter()->setCurrentIndex(0);
        form->cboSource()->setCurrentIndex(0);
        typeInto(form->tbBatch(), QStringLiteral("5"), true);
        typeInto(form->tbPage(), QStringLiteral("12"));
        typeInto(form->tbPageLetter(), QStringLiteral("a"));
    }

    QString lastPrompt() const
    {
        return script->records().isEmpty() ? QString() : script->records().last().prompt;
    }

    // An open births batch of 1910 whose header is edited.
    void storeOpenBatch(int year)
    {
        gProject->setEventType(EventType::Births);
        gProject->setIYear(year);
        gProject->setQtr(1);
        gProject->setSourceType(SourceType::Fiche);
        gProject->setBatchnumber(5);
        gProject->setPage(QStringLiteral("12"));
        gProject->setPageLetter(QStringLiteral("A"));
        gProject->setIVnf(1);
        gProject->setBatchName(gProject->BuildBatchName());
        gTranscription->setKeepGrid(true);
    }

    std::unique_ptr<frmHeader> form;
    QList<int> results;

private slots:
    void newHeaderTypedToOk()
    {
        openForm();
        QCOMPARE(form->windowTitle(), QStringLiteral("Pelkar v%1.%2.%3 - Batch Header")
                                          .arg(PELKAR_VERSION_MAJOR)
                                          .arg(PELKAR_VERSION_MINOR)
                                          .arg(PELKAR_VERSION_PATCH));
        QCOMPARE(form->tbName()->text(), QStringLiteral("Ann Smith"));
        QVERIFY(!form->cbOk()->isEnabled());
        QVERIFY(!form->cmdCancel()->isVisibleTo(form.get()));
        fillAllButYear();
        QCOMPARE(form->tbPageLetter()->text(), QStringLiteral("A"));
        QVERIFY(!form->cbOk()->isEnabled());
        QCOMPARE(form->cbOk()->text(), kIncompleteCaption);

        typeInto(form->tbYear(), QStringLiteral("191"));
        QVERIFY(!form->cbOk()->isEnabled());
        QTest::keyClick(form->tbYear(), Qt::Key_1);
        QCOMPARE(form->cboVNF()->currentText(), QStringLiteral("9z"));
        QVERIFY(form->cbOk()->isEnabled());
        QCOMPARE(form->cbOk()->text(), kStartCaption);
        QCOMPARE(form->lblBatchID()->text(), QStringLiteral("1911B1A0012.ZEL"));
        QCOMPARE(form->lblCreated()->text(), QStringLiteral("14-Mar-2026"));

        script->answer(QStringLiteral("Ok"));
        QTest::mouseClick(form->cbOk(), Qt::LeftButton);
        QCOMPARE(lastPrompt(),
                 QStringLiteral("You have not entered a submitterID and will not be able to use "
                                "the File Upload to Quorvel feature.\r\nClick OK to ignore this "
                                "omission or Cancel to enter your ID and Password now."));
        QCOMPARE(results, QList<int>{HeaderResult::NewBatch});
        QCOMPARE(gHeaderResult, int(HeaderResult::NewBatch));
        QVERIFY(!form->isVisible());
        QCOMPARE(gProject->iYear(), 1911);
        QCOMPARE(gProject->BatchName(), QStringLiteral("1911B1A0012.ZEL"));
        QCOMPARE(gProject->Batchnumber(), 5);
        QCOMPARE(gProject->PageNumberLength(), 2);
        QCOMPARE(gRecentFiles->FileName(1),
                 QDir(gProject->SavePath()).filePath(QStringLiteral("1911B1A0012.ZEL")));
    }

    void missingIdCancelReturnsToTheBox()
    {
        openForm();
        fillAllButYear();
        typeInto(form->tbYear(), QStringLiteral("1911"));
        script->answer(QStringLiteral("Cancel"));
        QTest::mouseClick(form->cbOk(), Qt::LeftButton);
        QVERIFY(results.isEmpty());
        QVERIFY(form->isVisible());
        QCOMPARE(QApplication::focusWidget(), form->tbSubmitterID());
    }

    void yearPresetsAndOk_data()
    {
        QTest::addColumn<QString>("year");
        QTest::addColumn<QString>("vnf");
        QTest::addColumn<bool>("ok");
        QTest::newRow("1851-no-format") << "1851" << "" << false;
        QTest::newRow("1852-9z") << "1852" << "9z" << true;
        QTest::newRow("1946-9z") << "1946" << "9z" << true;
        QTest::newRow("1965-9z") << "1965" << "9z" << true;
        QTest::newRow("1974-9z") << "1974" << "9z" << true;
        QTest::newRow("1975-99") << "1975" << "99" << true;
        QTest::newRow("1836-refused") << "1836" << "" << false;
        QTest::newRow("next-year-refused") << "2027" << "99" << false;
    }
    void yearPresetsAndOk()
    {
        QFETCH(QString, year);
        QFETCH(QString, vnf);
        QFETCH(bool, ok);
        openForm();
        fillAllButYear();
        typeInto(form->tbYear(), year);
        QCOMPARE(form->cboVNF()->currentText(), vnf);
        QCOMPARE(form->cbOk()->isEnabled(), ok);
    }

    void fieldRefusals_data()
    {
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("message");
        QTest::newRow("year-1836") << "year" << "1836" << kInvalidYear;
        QTest::newRow("year-187") << "year" << "187" << kInvalidYear;
        QTest::newRow("page-letter-first") << "page" << "A" << kPageFirstNumeric;
        QTest::newRow("batch-0") << "batch" << "0" << kBatchAtLeastOne;
    }
    void fieldRefusals()
    {
        QFETCH(QString, field);
        QFETCH(QString, typed);
        QFETCH(QString, message);
        openForm();
        form->cboSource()->setCurrentIndex(0);
        QLineEdit *box = field == u"year" ? form->tbYear()
                         : field == u"page" ? form->tbPage()
                                            : form->tbBatch();
        // The page shows its message at the keystroke, then again on leaving.
        if (field == u"page")
            script->answer(QStringLiteral("Ok"));
        typeInto(box, typed, true);
        QVERIFY(!form->cbOk()->isEnabled());
        script->answer(QStringLiteral("Ok"));
        leave(box);
        QCOMPARE(lastPrompt(), message);
        QTRY_COMPARE(QApplication::focusWidget(), box);
    }

    void validValuesPass()
    {
        openForm();
        form->cboSource()->setCurrentIndex(0);
        typeInto(form->tbPage(), QStringLiteral("12A"));
        leave(form->tbPage());
        typeInto(form->tbBatch(), QStringLiteral("7"), true);
        leave(form->tbBatch());
        QCOMPARE(gProject->Batchnumber(), 7);
        QVERIFY(script->records().isEmpty());
    }

    void keyFilters()
    {
        openForm();
        const int before = input().beeps;
        typeInto(form->tbYear(), QStringLiteral("19x"));
        QTest::keyClick(form->tbYear(), Qt::Key_Return);
        QCOMPARE(form->tbYear()->text(), QStringLiteral("19"));
        QCOMPARE(input().beeps, before + 2);
        // Leaving the unfinished year says so.
        script->answer(QStringLiteral("Ok"));
        typeInto(form->tbSourceRef(), QStringLiteral("a\"b"));
        QCOMPARE(lastPrompt(), kInvalidYear);
        QCOMPARE(form->tbSourceRef()->text(), QStringLiteral("REF1ab"));
        typeInto(form->tbSubmitterID(), QStringLiteral("an n"));
        QCOMPARE(form->tbSubmitterID()->text(), QStringLiteral("ann"));
    }

    void volumeFormatChoice_data()
    {
        QTest::addColumn<QString>("year");
        QTest::addColumn<int>("choice");
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("after");
        QTest::newRow("1851-9z") << "1851" << 0 << kPre1852Warning << "9z";
        QTest::newRow("1900-99-back") << "1900" << 1 << kOnly9zMessage << "9z";
        QTest::newRow("1980-xx") << "1980" << 2 << k1974Warning << "XX";
    }
    void volumeFormatChoice()
    {
        QFETCH(QString, year);
        QFETCH(int, choice);
        QFETCH(QString, message);
        QFETCH(QString, after);
        openForm();
        typeInto(form->tbYear(), year);
        script->answer(QStringLiteral("Ok"));
        form->cboVNF()->setCurrentIndex(choice);
        QCOMPARE(lastPrompt(), message);
        QCOMPARE(form->cboVNF()->currentText(), after);
    }

    void colours()
    {
        openForm();
        QCOMPARE(frmHeader::backColour(form->tbName()), kLightRed);
        QCOMPARE(frmHeader::backColour(form->tbPassword()), frmHeader::kWindowBackground);
        form->tbName()->setFocus(Qt::TabFocusReason);
        QCOMPARE(frmHeader::backColour(form->tbName()), kLightCyan);
        QCOMPARE(form->tbName()->palette().color(QPalette::Base), ColorFromVbHelper(kLightCyan));
        leave(form->tbName());
        QCOMPARE(frmHeader::backColour(form->tbName()), kLightRed);

        typeInto(form->tbSubmitterID(), QStringLiteral("ANN"));
        QCOMPARE(frmHeader::backColour(form->tbPassword()), kLightRed);

        typeInto(form->tbCreditName(), QStringLiteral("Bob"));
        QCOMPARE(frmHeader::backColour(form->tbCreditEmail()), kLightRed);
        QCOMPARE(frmHeader::backColour(form->tbCreditType()), kLightRed);
        QCOMPARE(frmHeader::backColour(form->tbCreditName()), kLightCyan);
        leave(form->tbCreditName());
        QCOMPARE(frmHeader::backColour(form->tbCreditName()), kLightRed);
        form->tbCreditName()->clear();
        QCOMPARE(frmHeader::backColour(form->tbCreditType()), frmHeader::kWindowBackground);
    }

    void sourceChoiceAndBatchBox()
    {
        gProject->setBatchnumber(0);
        openForm();
        form->cboSource()->setCurrentIndex(2);
        QVERIFY(!form->tbBatch()->isVisibleTo(form.get()));
        QCOMPARE(gProject->Batchnumber(), 0);
        form->cboSource()->setCurrentIndex(0);
        QVERIFY(form->tbBatch()->isVisibleTo(form.get()));
        QCOMPARE(form->tbBatch()->text(), QString());
        QCOMPARE(form->lbBatch()->text(), QStringLiteral("Fiche Number"));
    }

    void pageFocusWithoutSource()
    {
        openForm();
        form->tbPage()->setFocus(Qt::TabFocusReason);
        QCOMPARE(QApplication::focusWidget(), form->cboSource());
    }

    void submitterIdRefusedAtOk()
    {
        gProject->setSubmitter(QStringLiteral("ann smith"));
        gProject->setPassword(QStringLiteral("pw"));
        openForm();
        fillAllButYear();
        typeInto(form->tbYear(), QStringLiteral("1911"));
        QVERIFY(form->cbOk()->isEnabled());
        script->answer(QStringLiteral("Ok"));
        QTest::mouseClick(form->cbOk(), Qt::LeftButton);
        QCOMPARE(lastPrompt(), kSubmitterIdMessage);
        QVERIFY(results.isEmpty());
        QCOMPARE(QApplication::focusWidget(), form->tbSubmitterID());
    }

    void clashWithExistingFile_data()
    {
        QTest::addColumn<QString>("answer");
        QTest::addColumn<bool>("kept");
        QTest::newRow("open-it") << "Open It" << true;
        QTest::newRow("delete-it") << "Delete It" << false;
    }
    void clashWithExistingFile()
    {
        QFETCH(QString, answer);
        QFETCH(bool, kept);
        const QString existing =
            QDir(gProject->SavePath()).filePath(QStringLiteral("1911B1A0012.ZEL"));
        QFile file(existing);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.close();
        gProject->setSubmitter(QStringLiteral("ANN"));
        gProject->setPassword(QStringLiteral("pw"));
        openForm();
        fillAllButYear();
        typeInto(form->tbYear(), QStringLiteral("1911"));
        script->answer(answer);
        QTest::mouseClick(form->cbOk(), Qt::LeftButton);
        QCOMPARE(lastPrompt(),
                 QStringLiteral("A file with the name 1911B1A0012.ZEL already exists.\r\n\r\nTo "
                                "continue with that name you have 2 options...\r\n\r\n1. Open it "
                                "using the File->Open Menu.\r\n2. Delete the file."));
        QCOMPARE(QFile::exists(existing), kept);
        QCOMPARE(results.isEmpty(), kept);
        if (kept)
            QVERIFY(form->mnuFileOpen()->isEnabled());
    }

    void cancelledEditRestoresBatchNumber()
    {
        storeOpenBatch(1910);
        openForm();
        QCOMPARE(form->cbOk()->text(), kContinueCaption);
        QVERIFY(form->cbOk()->isEnabled());
        QVERIFY(!form->mnuFileOpen()->isEnabled());
        QCOMPARE(form->tbBatch()->text(), QStringLiteral("5"));
        typeInto(form->tbBatch(), QStringLiteral("9"), true);
        leave(form->tbBatch());
        QCOMPARE(gProject->Batchnumber(), 9);
        QVERIFY(form->cmdCancel()->isVisibleTo(form.get()));
        QCOMPARE(form->cbOk()->text(), kSaveContinueCaption);
        QTest::mouseClick(form->cmdCancel(), Qt::LeftButton);
        QCOMPARE(results, QList<int>{HeaderResult::Cancelled});
        QCOMPARE(gProject->Batchnumber(), 5);
    }

    void unchangedEditIsCancelled()
    {
        storeOpenBatch(1910);
        openForm();
        QTest::mouseClick(form->cbOk(), Qt::LeftButton);
        QCOMPARE(results, QList<int>{HeaderResult::Cancelled});
        QVERIFY(script->records().isEmpty());
    }

    void editedYearWarnsThenLastChance()
    {
        storeOpenBatch(1910);
        openForm();
        const QString created = form->lblCreated()->text();
        script->answer(QStringLiteral("Ok"));
        typeInto(form->tbYear(), QStringLiteral("1911"), true);
        QVERIFY(lastPrompt().startsWith(
            QStringLiteral("Births from Quarter 3 1911 have an additional field - Mother's Name.")));
        QCOMPARE(form->lblCreated()->text(), created);
        QCOMPARE(form->lblBatchID()->text(), QStringLiteral("1911B1A0012.ZEL"));

        script->answer(QStringLiteral("No"));
        QTest::mouseClick(form->cbOk(), Qt::LeftButton);
        QVERIFY(lastPrompt().startsWith(
            QStringLiteral("This is your last chance to cancel these changes.")));
        QVERIFY(results.isEmpty());
        QCOMPARE(gProject->iYear(), 1910);

        script->answer(QStringLiteral("Yes"));
        QTest::mouseClick(form->cbOk(), Qt::LeftButton);
        QCOMPARE(results, QList<int>{HeaderResult::HeaderEdited});
        QCOMPARE(gProject->iYear(), 1911);
        QCOMPARE(gProject->BatchName(), QStringLiteral("1911B1A0012.ZEL"));
    }

    void editedNameClashAsksFirst()
    {
        storeOpenBatch(1910);
        const QString other = QDir(gProject->SavePath()).filePath(QStringLiteral("1911B1A0012.ZEL"));
        QFile file(other);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.close();
        openForm();
        script->answer(QStringLiteral("Ok"));
        typeInto(form->tbYear(), QStringLiteral("1911"), true);
        script->answer(QStringLiteral("No"));
        QTest::mouseClick(form->cbOk(), Qt::LeftButton);
        QVERIFY(lastPrompt().startsWith(
            QStringLiteral("A file with the name 1911B1A0012.ZEL already exists.")));
        QVERIFY(results.isEmpty());
        QCOMPARE(gProject->BatchName(), QStringLiteral("1910B1A0012.ZEL"));
    }

    void editedEventTypeWarns()
    {
        storeOpenBatch(1920);
        openForm();
        script->answer(QStringLiteral("Ok"));
        form->cboEvent()->setCurrentIndex(1);
        QCOMPARE(lastPrompt(),
                 QStringLiteral("Converting to Death Event will result in problems in any data "
                                "already entered in this batch.\r\nThe field, Age at Death,or , "
                                "Date of Birth will be blank.\r\nThe field Mother's Name will be "
                                "lost.\r\n\r\nPlease be sure that you really want to do this."));
    }

    void closeBoxEndsTheProgram()
    {
        openForm();
        form->move(300, 200);
        form->close();
        QCOMPARE(results, QList<int>{HeaderResult::ExitProgram});
        QCOMPARE(gHeaderResult, int(HeaderResult::ExitProgram));
        QCOMPARE(gProject->HdrX(), form->x() * 15);
    }

    // File > Open asks for the file while the form stands: cancelled, the
    // form stays; chosen, the file is handed back.
    void menusHandBack()
    {
        openForm();
        script->answer(QStringLiteral("<cancel>"));
        form->mnuFileOpen()->trigger();
        QVERIFY(results.isEmpty());
        QVERIFY(form->isVisible());
        const QString chosen = homePath(QStringLiteral("1905B1A0012.ZEL"));
        QFile file(chosen);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.close();
        script->answer(chosen);
        form->mnuFileOpen()->trigger();
        QCOMPARE(results, QList<int>{HeaderResult::OpenFile});
        QCOMPARE(gHeaderOpenFile, chosen);
    }

    void pastedNameOutOfTheFolderRefused()
    {
        gProject->setSubmitter(QStringLiteral("ANN"));
        gProject->setPassword(QStringLiteral("pw"));
        openForm();
        fillAllButYear();
        typeInto(form->tbYear(), QStringLiteral("1911"));
        // Pasted text passes no key filter.
        form->tbPageLetter()->setFocus(Qt::OtherFocusReason);
        form->tbPageLetter()->selectAll();
        form->tbPageLetter()->insert(QStringLiteral("/"));
        QCOMPARE(form->lblBatchID()->text(), QStringLiteral("1911B1/0012.ZEL"));
        QVERIFY(form->cbOk()->isEnabled());
        script->answer(QStringLiteral("Ok"));
        QTest::mouseClick(form->cbOk(), Qt::LeftButton);
        QCOMPARE(lastPrompt(), QStringLiteral("The batch name 1911B1/0012.ZEL is not a valid file "
                                              "name.\r\nPlease correct the page and the page "
                                              "letter."));
        QVERIFY(results.isEmpty());
        QCOMPARE(gProject->BatchName(), QString());
    }

    void credentialsAtLoadBothRed()
    {
        gProject->setSubmitter(QStringLiteral("ANN"));
        gProject->setPassword(QStringLiteral("pw"));
        openForm();
        QCOMPARE(frmHeader::backColour(form->tbSubmitterID()), kLightRed);
        QCOMPARE(frmHeader::backColour(form->tbPassword()), kLightRed);
        form->tbPassword()->clear();
        QCOMPARE(frmHeader::backColour(form->tbSubmitterID()), frmHeader::kWindowBackground);
        QVERIFY(!form->cbOk()->isEnabled());
    }

    void exitEndsTheProgram()
    {
        openForm();
        form->findChild<QAction *>(QStringLiteral("mnuExit"))->trigger();
        QCOMPARE(results, QList<int>{HeaderResult::ExitProgram});
        QVERIFY(!form->isVisible());
    }

    void scanChoiceCancelled()
    {
        gProject->setScanOn(true);
        openForm();
        script->answer(QStringLiteral("<cancel>"));
        form->mnuViewScan()->trigger();
        QVERIFY(!gProject->ScanOn());
        QCOMPARE(form->mnuViewScan()->text(), QStringLiteral("Show Scan Image"));
        QVERIFY(form->isVisible());
    }

    void missingRecentFile()
    {
        const QString gone = QDir(gProject->SavePath()).filePath(QStringLiteral("1900B1A0001.ZEL"));
        QFile file(gone);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.close();
        gRecentFiles->Propose(gone);
        openForm();
        QVERIFY(form->mnuruf(1)->isVisible());
        QFile::remove(gone);
        script->answer(QStringLiteral("Ok"));
        form->mnuruf(1)->trigger();
        QCOMPARE(lastPrompt(), QStringLiteral("Sorry - I can't find that file"));
        QVERIFY(results.isEmpty());
        QVERIFY(form->isVisible());
    }

    // Event Type keeps its light red once the focus has moved on from it,
    // also when its first focus came with the window.
    void eventTypeStaysRequiredColour()
    {
        openForm();
        form->cboEvent()->setFocus(Qt::ActiveWindowFocusReason);
        QCOMPARE(frmHeader::backColour(form->cboEvent()), kLightCyan);
        QTest::keyClick(form->cboEvent(), Qt::Key_Tab);
        QCOMPARE(frmHeader::backColour(form->cboEvent()), kLightRed);
    }

private:
    static QColor ColorFromVbHelper(std::uint32_t c)
    {
        return QColor(int(c & 0xFF), int((c >> 8) & 0xFF), int((c >> 16) & 0xFF));
    }
};

PELKAR_TEST(tst_frmHeader)
#include "tst_frmHeader.moc"
