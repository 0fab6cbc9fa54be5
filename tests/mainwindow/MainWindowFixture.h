#pragma once

// A started main window with the plain births batch loaded from the
// output folder, and recording stand-ins for the paste texts and the scan
// viewer.

#include "PelkarTest.h"

#include "app/StartUp.h"
#include "core/Globals.h"
#include "core/Project.h"
#include "mainwindow/Form1.h"
#include "mainwindow/MainWindowParts.h"
#include "transcription/Transcription.h"

#include <QDir>
#include <QFile>

#include <memory>

class RecordingScanViewer : public ScanViewer
{
public:
    void ScrollLeft() override { calls << QStringLiteral("ScrollLeft"); }
    void ScrollRight() override { calls << QStringLiteral("ScrollRight"); }
    void ScrollUp() override { calls << QStringLiteral("ScrollUp"); }
    void ScrollDown() override { calls << QStringLiteral("ScrollDown"); }
    void ScrollPage(int d) override { calls << QStringLiteral("ScrollPage%1").arg(d); }
    void MoveRuler1Line(bool up) override
    {
        calls << (up ? QStringLiteral("RulerUp") : QStringLiteral("RulerDown"));
    }
    void MoveRulerToLine(int lines) override { calls << QStringLiteral("Ruler%1").arg(lines); }
    void ZoomIn() override { calls << QStringLiteral("ZoomIn"); }
    void ZoomOut() override { calls << QStringLiteral("ZoomOut"); }
    QStringList calls;
};

class RecordingPasteTexts : public PasteTexts
{
public:
    QString GetItem(int n) const override { return QStringLiteral("paste%1").arg(n); }
    bool isVisible() const override { return visible; }
    void setVisible(bool v) override { visible = v; }
    bool visible = false;
};

class MainWindowFixture : public PelkarTest
{
    Q_OBJECT

protected:
    static QString batchName() { return QStringLiteral("1905B1A0012.ZEL"); }

    // Starts the program in a window and loads the batch.
    void startWindow()
    {
        script->answer({QStringLiteral("Use Default"), QStringLiteral("Ok")});
        window = std::make_unique<Form1>();
        QVERIFY(window->Load());
        window->setScanViewer(&scan);
        window->setPasteTexts(&paste);
        QVERIFY(QDir().mkpath(gProject->SavePath()));
        batch = QDir(gProject->SavePath()).filePath(batchName());
        QFile::remove(batch);
        QVERIFY(QFile::copy(QDir(QStringLiteral(PELKAR_FIXTURES))
                                .filePath(QStringLiteral("batch-births-plain-fiche/input.ZEL")),
                            batch));
        QVERIFY(QFile::setPermissions(batch, QFile::ReadOwner | QFile::WriteOwner));
        QVERIFY(window->LoadFile(batch));
        QVERIFY(!window->headerForm());
        script->clearRecords();
    }

    void setUpCase() override
    {
        scan.calls.clear();
        paste.visible = false;
    }

    void tearDownCase() override
    {
        // The orderly shut-down, without the close box's question.
        if (gProject)
            CloseDown(0, QString(), QString());
        window.reset();
    }

    RecordingScanViewer scan;
    RecordingPasteTexts paste;
    std::unique_ptr<Form1> window;
    QString batch;
};
