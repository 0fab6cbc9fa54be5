#pragma once

// A pick list that keeps what the list fillers put into it, with the same
// row limit as the window.

#include "lists/PickListSink.h"

#include <QStringList>

class RecordingPickList : public PickListSink
{
public:
    explicit RecordingPickList(int rows = 9) : mRows(rows) { SetPickList(this); }
    ~RecordingPickList() override { SetPickList(nullptr); }

    void PickClear() override
    {
        texts.clear();
        ++clears;
    }
    void NextText(const QString &text) override
    {
        if (texts.size() < mRows)
            texts.append(text.trimmed());
    }
    int iCount() const override { return int(texts.size()); }
    QString PickText(int n) override
    {
        if (n < 1 || n > texts.size())
            return QString();
        fromPickList = true;
        return texts.at(n - 1);
    }
    bool bFromPickList() const override { return fromPickList; }
    void setBFromPickList(bool on) override { fromPickList = on; }
    void MakeVisible() override { visible = true; }
    void FitToContents() override { ++fits; }

    QStringList texts;
    int clears = 0;
    bool fromPickList = false;
    bool visible = false;
    int fits = 0;

private:
    int mRows;
};
