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

    QStringList texts;
    int clears = 0;

private:
    int mRows;
};
