#pragma once

// The paste-texts window "Copy/Paste": nine numbered texts that Ctrl+1 to
// Ctrl+9 in the main window add to the open entry box (GetItem). Clicking a
// line asks for its new text. The texts, the window's place and its width
// are kept in the settings (Forms/CpyPaste, PasteX, PasteY, PasteW), read
// when the window is built and written by every settings save, which reads
// them back through Project's PasteWindowSource.
//
// The main window creates it at start-up, keeps it for the run and shows
// it with itself while the ShowCPY option is on. Only its width can be
// changed: the height always shows the nine lines.

#include "core/Project.h"
#include "entry/PasteTextList.h"

#include <QWidget>

class QListWidget;
class QListWidgetItem;

class frmCopyPaste : public QWidget, public PasteWindowSource
{
    Q_OBJECT

public:
    // Form_Load: the texts from Project's PasteList, and the stored place
    // and width when PasteX is 0 or more (gProject; defaults without one).
    // A stored place off the screen is not taken.
    explicit frmCopyPaste(QWidget *parent = nullptr);

    // Text n (1 to 9); the empty text for any other n or a line without text.
    QString GetItem(int n) const;
    // The nine texts as stored in the settings.
    QString GetList() const override;
    // The window's left, top and width in twips (the height is fixed).
    QRect geometryTwips() const override;

    QListWidget *List1() const { return mList; }

    // Asks for the new text of line i (0 to 8) through the message service's
    // input box. Double quotes are removed (with a message); a text that a
    // one-line box or the batch file cannot take is refused with a message
    // and the line is kept. A cancelled question changes nothing. The focus
    // goes back to the entry box in every case.
    void List1_Click(int i);

protected:
    // The first showing without a stored place puts the window beside its
    // parent's right edge, not at the screen's corner over the parent's
    // menu bar.
    void showEvent(QShowEvent *event) override;

private:
    void SetList(const QString &stored);
    void showLines();

    QListWidget *mList;
    PasteTextList mTexts;
    bool mPlaced = false;
};
