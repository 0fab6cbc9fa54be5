#include "mainwindow/Form1BoxParts.h"

#include "core/Globals.h"
#include "core/Project.h"
#include "entry/ForenameBox.h"
#include "entry/RichTextBox.h"
#include "entry/frmChrPicker.h"
#include "entry/frmCopyPaste.h"
#include "mainwindow/Form1.h"

Form1BoxParts::Form1BoxParts(Form1 &form)
    : mForm(form),
      mOpenBox(
          &form.rtb1(),
          [] { return gForenameBox && gForenameBox->control() && gForenameBox->control()->Visible(); },
          [](const QString &c) {
              if (gForenameBox)
                  gForenameBox->SpecialChar(c);
          })
{
    // The paste texts are read from the settings as the window is made, and
    // the settings save reads them back from it.
    mPasteWindow = new frmCopyPaste(&form);
    if (gProject)
        gProject->setPasteWindowSource(mPasteWindow);
    SetBoxPicker(this);
}

Form1BoxParts::~Form1BoxParts()
{
    SetBoxPicker(nullptr);
    if (gProject)
        gProject->setPasteWindowSource(nullptr);
}

frmChrPicker *Form1BoxParts::picker() const
{
    return mPicker;
}

frmCopyPaste *Form1BoxParts::pasteWindow() const
{
    return mPasteWindow;
}

void Form1BoxParts::Wakeup()
{
    if (!mPicker) {
        mPicker = new frmChrPicker(&mForm);
        mPicker->setOpenBox(&mOpenBox);
    }
    mPicker->Wakeup();
}

QString Form1BoxParts::GetItem(int n) const
{
    return mPasteWindow ? mPasteWindow->GetItem(n) : QString();
}

bool Form1BoxParts::isVisible() const
{
    return mPasteWindow && mPasteWindow->isVisible();
}

void Form1BoxParts::setVisible(bool visible)
{
    if (!mPasteWindow)
        return;
    // Minimised with the main window by the window manager, the window
    // must not come back minimised: it would take the main window down
    // again with it.
    if (visible)
        mPasteWindow->setWindowState(mPasteWindow->windowState() & ~Qt::WindowMinimized);
    mPasteWindow->setVisible(visible);
}
