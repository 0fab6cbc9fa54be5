#include "core/ShowStatusSink.h"

namespace {
class NullStatusBar : public ShowStatusSink
{
public:
    void ShowMsg(const QString &, bool, bool) override {}
    void ShowFile() override {}
    void ShowPanel3(const QString &) override {}
    void ShowDuration() override {}
};

NullStatusBar gNullStatusBar;
ShowStatusSink *gInstalled = nullptr;
} // namespace

ShowStatusSink &StatusBar()
{
    return gInstalled ? *gInstalled : gNullStatusBar;
}

void SetStatusBar(ShowStatusSink *sink)
{
    gInstalled = sink;
}
