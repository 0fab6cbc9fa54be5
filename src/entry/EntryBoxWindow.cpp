#include "entry/EntryBoxWindow.h"

namespace {

class NullWindow final : public EntryBoxWindow
{
public:
    void Set_TextBox() override {}
    void PopupCellMenu() override {}
    void PopupRowMenu() override {}
    int MouseCol() const override { return 1; }
    void mnuZoomIn_Click() override {}
    void mnuZoomOut_Click() override {}
    void Position_DropDown() override {}
    QPoint GridOrigin() const override { return {}; }
};

class NullScan final : public EntryBoxScan
{
public:
    void ScrollLeft() override {}
    void ScrollRight() override {}
    void ScrollUp() override {}
    void ScrollDown() override {}
    void ScrollPage(int) override {}
    void MoveRuler1Line(bool) override {}
};

class NullPicker final : public EntryBoxPicker
{
public:
    void Wakeup() override {}
};

EntryBoxWindow *sWindow = nullptr;
EntryBoxScan *sScan = nullptr;
EntryBoxPicker *sPicker = nullptr;

} // namespace

EntryBoxWindow &BoxWindow()
{
    static NullWindow standIn;
    return sWindow ? *sWindow : standIn;
}

void SetBoxWindow(EntryBoxWindow *window)
{
    sWindow = window;
}

EntryBoxScan &BoxScan()
{
    static NullScan standIn;
    return sScan ? *sScan : standIn;
}

void SetBoxScan(EntryBoxScan *scan)
{
    sScan = scan;
}

EntryBoxPicker &BoxPicker()
{
    static NullPicker standIn;
    return sPicker ? *sPicker : standIn;
}

void SetBoxPicker(EntryBoxPicker *picker)
{
    sPicker = picker;
}
