#pragma once

// The migration's progress window: what is being copied and checked, and at
// the end of a migration that brought something in, a button the
// transcriber presses once the report has been read.

#include "core/Tidy.h"

#include <QDialog>

class QPlainTextEdit;
class QPushButton;

class UpdateProgress : public QDialog, public UpdateProgressSink
{
    Q_OBJECT

public:
    explicit UpdateProgress(QWidget *parent = nullptr);
    // Stops being the migration's progress window when it still is.
    ~UpdateProgress() override;

    void AddText(const QString &text) override;
    void ShowModeless() override;
    void ShowFinalModal() override;
    void HideWindow() override;

    QPlainTextEdit *Text1() const { return mText1; }
    QPushButton *Command() const { return mCommand; }

    void Command_Click();

private:
    QPlainTextEdit *mText1 = nullptr;
    QPushButton *mCommand = nullptr;
};

// Runs Tidy_Version6 with an UpdateProgress window as its progress window,
// and returns its result. After a failed migration the window, when it was
// shown, stays until the transcriber closes it, so that the reason can be
// read before the run ends.
bool Tidy_Version6WithProgress();
