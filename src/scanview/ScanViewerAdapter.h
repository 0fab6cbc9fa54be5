#pragma once

// The scan viewer as the main window and the entry boxes reach it.

#include "mainwindow/MainWindowParts.h"
#include "scanview/frmScanView.h"

class ScanViewerAdapter final : public ScanViewer
{
public:
    explicit ScanViewerAdapter(frmScanView &view) : mView(view) {}

    void ScrollLeft() override { mView.ScrollLeft(); }
    void ScrollRight() override { mView.ScrollRight(); }
    void ScrollUp() override { mView.ScrollUp(); }
    void ScrollDown() override { mView.ScrollDown(); }
    // 0 a page up, 2 a page down.
    void ScrollPage(int direction) override { mView.ScrollPage(direction == 2); }
    void MoveRuler1Line(bool up) override { mView.MoveRuler1Line(up); }
    void ZoomIn() override { mView.Zoomin(); }
    void ZoomOut() override { mView.ZoomOut(); }
    void MoveRulerToLine(int lines) override { mView.MoveRulerToLine(lines, 0, false); }

private:
    frmScanView &mView;
};
