// A whole small batch typed into the main window key by key, as a
// transcriber would: surnames cased, forenames completed from the grey
// ghost, districts with their volumes, page lines and a comment. Saved, the
// batch file is byte for byte what was typed; the work file holds every
// row typed.

#include "MainWindowFixture.h"
#include "TestFiles.h"
#include "TypedBatch.h"

#include "entry/RichTextBox.h"
#include "transcription/clsWorkFile.h"

#include <QTest>

namespace {

// The work file's written records, the padding after each dropped.
QStringList workRecords(const QByteArray &bytes)
{
    QStringList out;
    for (qsizetype at = 0; at < bytes.size(); at += 250) {
        QByteArray r = bytes.mid(at, 250);
        while (r.endsWith('\0'))
            r.chop(1);
        while (r.endsWith(' '))
            r.chop(1);
        if (!r.isEmpty())
            out << QString::fromLatin1(r);
    }
    return out;
}

} // namespace

class tst_TypedBatch : public MainWindowFixture
{
    Q_OBJECT

    // The main window started on an empty births batch.
    void startEmptyBatch()
    {
        script->answer({QStringLiteral("Use Default"), QStringLiteral("Ok")});
        window = std::make_unique<Form1>();
        QVERIFY(window->Load());
        window->setScanViewer(&scan);
        window->setPasteTexts(&paste);
        QVERIFY(QDir().mkpath(gProject->SavePath()));
        TypedBatch::startBatch(*window);
        script->clearRecords();
    }

private slots:
    void typedBatchIsSavedAsTyped()
    {
        startEmptyBatch();
        FlexGrid &grid = window->fgInput();
        QCOMPARE(grid.Rows(), 3);
        QCOMPARE(TypedBatch::gridRows(grid), QStringList(QStringLiteral("\t\t\t")));

        // The second entry's forename prefix "Jo" shows the rest of "Joan"
        // in grey until Tab takes it.
        const QList<TypedBatch::Keystroke> keys = TypedBatch::keystrokes();
        const qsizetype afterJo = TypedBatch::typedRows().at(0).size()
                                  + TypedBatch::typedRows().at(1).indexOf(u'\t') + 3;
        for (qsizetype i = 0; i < keys.size(); ++i) {
            if (i == afterJo) {
                const RichTextBox &box = window->tbForeName();
                QCOMPARE(box.Text(), QStringLiteral("Joan"));
                QVERIFY(box.colorAt(1) != RichTextBox::GhostColour);
                QCOMPARE(box.colorAt(2), RichTextBox::GhostColour);
                QCOMPARE(box.colorAt(3), RichTextBox::GhostColour);
            }
            QVERIFY2(TypedBatch::press(*window, keys.at(i).ch),
                     qPrintable(QStringLiteral("no entry box at key %1").arg(i)));
        }

        // Every row as typed, and the box waiting on a fresh row after them.
        const QStringList expected = TypedBatch::expectedRows();
        QCOMPARE(TypedBatch::gridRows(grid), expected + QStringList(QStringLiteral("\t\t\t")));
        QCOMPARE(grid.Row(), int(expected.size()) + 2);
        QCOMPARE(grid.Col(), 1);

        // Each row was written to the work file as it was left; the fresh
        // row, never left, is not there.
        QCOMPARE(workRecords(TestFiles::readBytes(clsWorkFile::WorkFilePath())),
                 QString::fromLatin1(TestFiles::readBytes(
                                         TestFiles::fixture(QStringLiteral("typed-births-batch/workfile.txt"))))
                     .split(u'\n', Qt::SkipEmptyParts));

        // Saved as the save command saves it.
        QVERIFY(gTranscription->SaveData(false));
        const QString saved = QDir(gProject->SavePath()).filePath(TypedBatch::batchName());
        QCOMPARE(TestFiles::readBytes(saved),
                 TestFiles::readBytes(TestFiles::fixture(QStringLiteral("typed-births-batch/expected.ZEL"))));
    }

    // The disk holding the work file fills while the transcriber types:
    // told once, not at every row; once there is room again, the next row
    // left puts the whole file back, so that it holds every row typed.
    void fullDiskWhileTypingIsToldOnceAndMended()
    {
        startEmptyBatch();
        const QList<TypedBatch::Keystroke> keys = TypedBatch::keystrokes();
        const qsizetype half = keys.size() / 2;
        {
            // Room for the header records and no row.
            TestFiles::FileSizeLimit full(10 * 250);
            script->answer(QStringLiteral("Ok"));
            for (qsizetype i = 0; i < half; ++i)
                QVERIFY(TypedBatch::press(*window, keys.at(i).ch));
        }
        QCOMPARE(script->records().size(), 1);
        QCOMPARE(script->records().at(0).prompt,
                 QStringLiteral("Pelkar cannot write its work file:\r\n")
                     + clsWorkFile::WorkFilePath()
                     + QStringLiteral("\r\nFile too large\r\nYour work is not kept safe against a "
                                      "crash until the work file can be written again.\r\nPlease "
                                      "make room on that disk: Pelkar writes the whole work file "
                                      "again as soon as it can."));
        for (qsizetype i = half; i < keys.size(); ++i)
            QVERIFY(TypedBatch::press(*window, keys.at(i).ch));
        QCOMPARE(script->records().size(), 1);

        // Every record that typing with room all along writes is there.
        const QStringList records = workRecords(TestFiles::readBytes(clsWorkFile::WorkFilePath()));
        const QStringList expected =
            QString::fromLatin1(TestFiles::readBytes(
                                    TestFiles::fixture(QStringLiteral("typed-births-batch/workfile.txt"))))
                .split(u'\n', Qt::SkipEmptyParts);
        for (const QString &record : expected)
            QVERIFY2(records.contains(record), qPrintable(record));
    }
};

PELKAR_TEST(tst_TypedBatch)
#include "tst_TypedBatch.moc"
