#pragma once

// The enlarged character the picker shows while a mouse button is held on
// one of its cells: a small frameless window that never takes the focus.

#include <QWidget>

class QLabel;

class frmBigChr : public QWidget
{
    Q_OBJECT

public:
    // A window of its own; the parent (the picker) owns it.
    explicit frmBigChr(QWidget *parent = nullptr);

    QLabel *lbBig() const { return mBig; }
    // Shows the character with its window's left edge at x and its middle
    // at y (screen pixels).
    void ShowAt(const QString &character, int x, int middleY);

private:
    QLabel *mBig;
};
