#include "header/HeaderScan.h"

namespace {

class NullHeaderScan final : public HeaderScanWindow
{
public:
    bool isLoaded() const override { return false; }
    void enableToolMenus() override {}
    void unload() override {}
};

NullHeaderScan gNullScan;
HeaderScanWindow *gScan = &gNullScan;

} // namespace

HeaderScanWindow &HeaderScan()
{
    return *gScan;
}

void SetHeaderScan(HeaderScanWindow *window)
{
    gScan = window ? window : &gNullScan;
}
