#pragma once

// The windows that serve the main window's entry boxes: the character
// picker, the paste-texts window, and the parts the boxes' handlers reach
// (picker, scan keys). Owned by the main window; made once the program's
// objects exist.

#include "entry/EntryBoxWindow.h"
#include "entry/PickerChars.h"
#include "mainwindow/MainWindowParts.h"

#include <QPointer>

#include <memory>

class Form1;
class frmChrPicker;
class frmCopyPaste;

class Form1BoxParts final : public EntryBoxPicker, public PasteTexts
{
public:
    explicit Form1BoxParts(Form1 &form);
    ~Form1BoxParts() override;

    // EntryBoxPicker: the picker, made on first use, for the box on view.
    void Wakeup() override;
    frmChrPicker *picker() const;
    frmCopyPaste *pasteWindow() const;

    // PasteTexts over the paste-texts window.
    QString GetItem(int n) const override;
    bool isVisible() const override;
    void setVisible(bool visible) override;

private:
    Form1 &mForm;
    EntryBoxesOpenBox mOpenBox;
    QPointer<frmChrPicker> mPicker;
    QPointer<frmCopyPaste> mPasteWindow;
};
