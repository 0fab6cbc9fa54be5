// The main window's commands as the transcriber reaches them: Find and
// Find Next move the grid to the cell found, the list editors take the
// main window's place while they are open, and Print prints the grid.

#include "PelkarTest.h"

#include "core/Globals.h"
#include "core/Project.h"
#include "entry/FlexGrid.h"
#include "lists/frmDistricts.h"
#include "lists/frmForenames.h"
#include "mainwindow/Form1.h"
#include "transcription/Transcription.h"
#include "transcription/frmFind.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPrinter>
#include <QPushButton>
#include <QTimer>

#include <functional>
#include <memory>

class tst_Form1Commands : public PelkarTest
{
    Q_OBJECT

protected:
    void setUpCase() override
    {
        script->answer({QStringLiteral("Use Default"), QStringLiteral("Ok")});
        window = std::make_unique<Form1>();
        QVERIFY(window->Load());
        script->clearRecords();
        const QString batch = homePath(QStringLiteral("1905B1A0012.ZEL"));
        QVERIFY(QFile::copy(QDir(QStringLiteral(PELKAR_FIXTURES))
                                    .filePath(QStringLiteral("batch-births-plain-fiche/input.ZEL")),
                            batch));
        QVERIFY(gTranscription->Restore(batch));
        QVERIFY(script->records().isEmpty());
    }

    void tearDownCase() override
    {
        if (window)
            window->close();
        window.reset();
    }

    // Runs action once the modal window of type T is open.
    template<typename T>
    void whenOpen(std::function<void(T *)> action)
    {
        QTimer::singleShot(0, this, [action] {
            auto *open = qobject_cast<T *>(QApplication::activeModalWidget());
            QVERIFY(open);
            action(open);
        });
    }

    std::unique_ptr<Form1> window;

private slots:
    // Find starts after the current cell and goes down each column in turn;
    // Find Next goes on from the cell found.
    void findAndFindNextMoveTheGrid()
    {
        // Laid out, so that the found cell's column shows and takes the box.
        window->SetUpMainForm();
        FlexGrid &grid = window->fgInput();
        grid.setRowCol(2, 1);
        whenOpen<frmFind>([](frmFind *find) {
            find->Text1()->setText(QStringLiteral("adams"));
            find->cmdFind()->click();
        });
        window->findChild<QAction *>(QStringLiteral("mnuFindString"))->trigger();
        QCOMPARE(grid.Row(), 4);
        QCOMPARE(grid.Col(), 1);
        QCOMPARE(gCurrentRow, 4);

        window->findChild<QAction *>(QStringLiteral("mnuFindNextString"))->trigger();
        QCOMPARE(grid.Row(), 5);
        QCOMPARE(grid.Col(), 1);
        QCOMPARE(gCurrentRow, 5);
        QVERIFY(script->records().isEmpty());
    }

    // An editor hides the main window and brings it back when it closes.
    void editorsTakeTheMainWindowsPlace_data()
    {
        QTest::addColumn<QString>("menu");
        QTest::newRow("forenames") << QStringLiteral("mnuEditForenames");
        QTest::newRow("districts") << QStringLiteral("mnuEditDistricts");
    }

    void editorsTakeTheMainWindowsPlace()
    {
        QFETCH(QString, menu);
        window->findChild<QAction *>(menu)->trigger();
        QVERIFY(!window->isVisible());
        QWidget *editor = window->findChild<frmForenames *>();
        if (!editor)
            editor = window->findChild<frmDistricts *>();
        QVERIFY(editor && editor->isVisible());

        QPointer<QWidget> guard(editor);
        auto *exit = editor->findChild<QPushButton *>(QStringLiteral("cmdExit"));
        QVERIFY(exit);
        exit->click();
        QVERIFY(window->isVisible());
        // The editor is gone once the close is handled.
        QTRY_VERIFY(guard.isNull());
    }

    // Print: the loaded batch printed to a PDF file.
    void printPrintsTheGrid()
    {
        const QString pdf = homePath(QStringLiteral("grid.pdf"));
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(pdf);
        QVERIFY(window->PrintTo(&printer));
        QFile file(pdf);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QVERIFY(file.readAll().startsWith("%PDF"));
    }
};

PELKAR_TEST(tst_Form1Commands)
#include "tst_Form1Commands.moc"
