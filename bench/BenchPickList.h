#pragma once

// The pick list's rows, without a window: keeps as many as the settings
// allow, as the window does.

#include "core/Globals.h"
#include "core/Project.h"
#include "lists/PickListSink.h"

#include <QStringList>

class BenchPickList : public PickListSink
{
public:
    void PickClear() override { mTexts.clear(); }
    void NextText(const QString &text) override
    {
        if (mTexts.size() < gProject->PickRows())
            mTexts.append(text.trimmed());
    }
    int iCount() const override { return int(mTexts.size()); }
    QString PickText(int n) override
    {
        if (n < 1 || n > mTexts.size())
            return QString();
        mFrom = true;
        return mTexts.at(n - 1);
    }
    bool bFromPickList() const override { return mFrom; }
    void setBFromPickList(bool on) override { mFrom = on; }

private:
    QStringList mTexts;
    bool mFrom = false;
};
