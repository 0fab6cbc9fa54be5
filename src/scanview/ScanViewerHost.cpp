#include "scanview/ScanViewerHost.h"

namespace {

class NullViewerHost final : public ScanViewerHost
{
public:
    void HideForm1() override {}
    void ShowForm1() override {}
    int CurrentRow() const override { return 1; }
    bool headerFormLoaded() const override { return false; }
};

NullViewerHost gNullHost;
ScanViewerHost *gHost = nullptr;

} // namespace

ScanViewerHost &ViewerHost()
{
    return gHost ? *gHost : gNullHost;
}

void SetViewerHost(ScanViewerHost *host)
{
    gHost = host;
}
