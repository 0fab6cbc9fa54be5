#pragma once

// The one scan viewer of the program, made on first use and released when
// it is closed, as the main window, the header form and the start-up's
// recovery reach it. It also gives the viewer what it needs of the main
// window (hiding and showing it around the ruler's set-up, the grid row).

#include "header/HeaderScan.h"
#include "scanview/ScanViewerHost.h"
#include "scanview/frmScanView.h"
#include "transcription/CrashRecovery.h"

#include <QObject>
#include <QPointer>

#include <memory>

class Form1;
class ScanViewerAdapter;

class ScanViewerOwner final : public QObject,
                              public ScanViewerHost,
                              public HeaderScanWindow,
                              public RecoveryWindows
{
    Q_OBJECT

public:
    explicit ScanViewerOwner(Form1 &mainWindow);
    ~ScanViewerOwner() override;

    // The viewer while it is loaded; nullptr otherwise.
    frmScanView *view() const { return mView; }
    // The viewer, made (and its settings read) when none is loaded.
    frmScanView &load();

    // HeaderScanWindow
    bool isLoaded() const override { return mView != nullptr; }
    void enableToolMenus() override;
    // Closes the viewer (which stores its settings) and releases it.
    void unload() override;

    // ScanViewerHost
    void HideForm1() override;
    void ShowForm1() override;
    void ActivateForm1() override;
    int CurrentRow() const override;
    bool headerFormLoaded() const override;

    // RecoveryWindows: the start-up's recovery and ShowScanImage.
    void Edit_Header() override;
    bool GetPicture(const QString &path) override;
    void setScanMenuCaption(const QString &caption) override;
    void setZoomEnabled(bool enabled) override;

private:
    void placeBesideMainWindow(frmScanView &view) const;
    // The transcriber closed the viewer with its close box.
    void viewerClosed();

    Form1 &mMainWindow;
    QPointer<frmScanView> mView;
    std::unique_ptr<ScanViewerAdapter> mAdapter;
};
