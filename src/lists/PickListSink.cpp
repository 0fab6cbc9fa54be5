#include "lists/PickListSink.h"

namespace {
class NullPickList : public PickListSink
{
public:
    void PickClear() override {}
    void NextText(const QString &) override {}
    int iCount() const override { return 0; }
};

NullPickList gNullPickList;
PickListSink *gInstalled = nullptr;
} // namespace

PickListSink &PickList()
{
    return gInstalled ? *gInstalled : gNullPickList;
}

void SetPickList(PickListSink *sink)
{
    gInstalled = sink;
}
