#pragma once

// The find dialog ("Find"): the text to find, Match Case, and whether to
// search all columns or the current one. "Find Next" searches from the
// grid's current cell through the Searcher it was given and closes the
// dialog (accepted) when a cell was found, so that the caller can move the
// grid to FoundRow, FoundCol; otherwise it stays open. "Cancel" closes it
// (rejected). The Searcher keeps the text and the options between uses.

#include <QDialog>

class QButtonGroup;
class QCheckBox;
class QLineEdit;
class QPushButton;
class QRadioButton;
class Searcher;

class frmFind : public QDialog
{
    Q_OBJECT

public:
    // The searcher is not owned and must outlive the dialog. Registers as
    // "frmFind".
    explicit frmFind(Searcher &searcher, QWidget *parent = nullptr);

    QLineEdit *Text1() const { return mText1; }
    QCheckBox *chkCase() const { return mChkCase; }
    // 0 "Current Column", 1 "All Columns"; nullptr for any other index.
    QRadioButton *optSearch(int index) const;
    QPushButton *cmdFind() const { return mCmdFind; }
    QPushButton *cmdCancel() const { return mCmdCancel; }

public slots:
    void Text1_Change();
    void chkCase_Click();
    void optSearch_Click(int index);
    void cmdFind_Click();
    void cmdCancel_Click();

protected:
    // Each opening shows the searcher's current state.
    void showEvent(QShowEvent *event) override;

private:
    void Form_Load();

    Searcher &mSearcher;
    QLineEdit *mText1 = nullptr;
    QCheckBox *mChkCase = nullptr;
    QRadioButton *mOptSearch[2] = {nullptr, nullptr};
    QButtonGroup *mOptGroup = nullptr;
    QPushButton *mCmdFind = nullptr;
    QPushButton *mCmdCancel = nullptr;
};
