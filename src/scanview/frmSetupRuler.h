#pragma once

// "Align Ruler": the small always-on-top window that calibrates the scan
// viewer's ruler. It takes the transcriber through a block of ten
// consecutive entries: the line under the first, then under the tenth; from
// the two scroll-bar readings it works out the ruler's home and the distance
// from one entry to the next, stores them in the settings and hands them to
// the viewer (DoneRulerSetup). Cancel, or the window's close box, abandons
// the calibration (CancelRuler). Every way the window goes shows the main
// window again.
//
// The viewer owns the window (as its child); it deletes itself once unloaded.

#include <QWidget>

class QLabel;
class QPushButton;
class frmScanView;

class frmSetupRuler : public QWidget
{
    Q_OBJECT

public:
    // The step after Cancel.
    static constexpr int CancelledStep = 99;

    explicit frmSetupRuler(frmScanView &viewer);
    ~frmSetupRuler() override;

    // Runs the step that is due; after a Cancel ends the set-up.
    void DoSetup();

    // Closes the window as the program does (no Cancel implied); the main
    // window is shown again. Safe to call more than once.
    void Unload();
    bool isUnloaded() const { return mUnloaded; }

    int step() const { return mStep; }
    QString instructions() const;

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void Form_Load();
    void cmdOk_Click();
    void cmdCancel_Click();
    // The viewer's image scroll positions and its ruler bar's value.
    void readPosition(double &y, double &x, double &bar) const;
    void setInstructions(const QString &text);

    frmScanView &mViewer;
    QLabel *Label1 = nullptr;
    QPushButton *cmdOk = nullptr;
    QPushButton *cmdCancel = nullptr;

    int mStep = 1;
    bool mCancelled = false;
    double mFirstY = 0.0;
    double mFirstX = 0.0;
    double mFirstBar = 0.0;
    double mTenthY = 0.0;
    double mTenthX = 0.0;
    double mTenthBar = 0.0;
    double mJumpDistance = 0.0;

    bool mUnloading = false;
    bool mUnloaded = false;
};
