#pragma once

// The special-character picker "Pelkar - Special Characters": the codes 192
// to 255 of Windows-1252 in seven rows of ten cells. Double-clicking a cell
// inserts its character into the entry box open over the grid and hides the
// picker; holding a mouse button on a cell shows it enlarged (frmBigChr).
// Characters the settings list as not used (NotUsedChars) are left out:
// their cells are empty and disabled, as are the six cells past 255. The
// picker's size and its cells' font size are kept in the settings (CPWidth,
// CPHeight, CPSize) whenever the transcriber resizes it.
//
// The main window creates it on the first F4 and keeps it for the run:
// closing it with its close box only hides it.

#include <QLineEdit>
#include <QPointer>
#include <QWidget>

#include <array>
#include <memory>

class OpenEntryBox;
class Resizer;
class frmBigChr;

// One cell of the picker: it cannot be edited, and it reports its mouse
// buttons to the picker.
class ChrCell : public QLineEdit
{
    Q_OBJECT

public:
    ChrCell(int index, QWidget *parent);
    int index() const { return mIndex; }

signals:
    void pressed(int index);
    void released(int index);
    void doubleClicked(int index);

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;

private:
    int mIndex;
};

class frmChrPicker : public QWidget
{
    Q_OBJECT

public:
    static constexpr int kCellCount = 70;

    // Form_Load: builds the cells from the settings of gProject (every
    // character when there is none), at the stored size when one is stored.
    // The window stays hidden until Wakeup.
    explicit frmChrPicker(QWidget *parent = nullptr);
    ~frmChrPicker() override;

    // Where double-clicked characters go (not owned); nullptr for nowhere.
    void setOpenBox(OpenEntryBox *box);

    // Shows the picker (events held off meanwhile, so that showing it does
    // not count as the transcriber resizing it) and brings it to the front.
    void Wakeup();

    ChrCell *tbChr(int index) const;
    frmBigChr *bigChr() const { return mBigChr; }

    // The handlers of the cells' mouse buttons.
    void tbChr_DblClick(int index);
    void tbChr_MouseDown(int index);
    void tbChr_MouseUp(int index);

protected:
    void resizeEvent(QResizeEvent *event) override;
    void changeEvent(QEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    // Every cell takes cell 0's size and font and the table fills seven rows
    // of ten from cell 0's place.
    void layOutCells();
    void Form_Resize();
    void Form_Activate();
    void Form_LostFocus();
    void newResizer();

    std::array<ChrCell *, kCellCount> mCells{};
    frmBigChr *mBigChr = nullptr;
    std::unique_ptr<Resizer> mResizer;
    OpenEntryBox *mOpenBox = nullptr;
};
