#pragma once

// The image tools: a small window beside the scan viewer that turns and
// flips the page, changes the colours standing in for paper and ink of a
// black-and-white scan, sets the display filters, brightness, contrast and
// gamma, zooms, and sets up the ruler's look. Every control acts at once on
// the viewer; the choices that last go to the settings.
//
// The viewer owns the window (it is the window's parent) and unloads it
// when another scan opens or the viewer closes.

#include <QWidget>

class ImagingControl;
class QCheckBox;
class QComboBox;
class QFrame;
class QPushButton;
class QSlider;
class frmScanView;

class frmScanTools : public QWidget
{
    Q_OBJECT

public:
    explicit frmScanTools(frmScanView &view);
    ~frmScanTools() override;

    // The colour a swatch shows (stored value, 0x00BBGGRR).
    static int swatchColour(const QFrame *swatch);

signals:
    // The window was closed (by its close box or by the viewer); it is
    // deleted later.
    void unloaded();

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void buildControls();
    void Form_Load();
    void Form_Unload();
    bool haveScan() const;

    void cmbRotate_Click();
    void RotateLeft_Click();
    void RotateRight_Click();
    void rotateBy(float degrees);
    void cmdFlipLeft_Click();
    void cmdFlipUp_Click();
    void cbNegate_Click();
    void cmdBackColour_Click();
    void cmdTextColour_Click();
    void cmdBlackWhite_Click();
    void chkDeSpeckle_Click(bool ticked);
    void chkSmooth_Click(bool ticked);
    void chkAnti_Click(bool ticked);
    void slBrightness_Change(int value);
    void slContrast_Change(int value);
    void SliderGamma_Change(int value);
    void ChkTrans_Click(bool ticked);
    void cmdRuleColour_Click();
    void chkAutoMove_Click(bool ticked);
    void slRulerWidth_Change(int value);
    void cmdZoomIn_Click();
    void cmdZoomOut_Click();

    static void setSwatch(QFrame *swatch, int colour);

    frmScanView &mView;
    // The viewer's imaging control, kept from load to unload.
    ImagingControl *mImage = nullptr;

    QWidget *mImageControls = nullptr;
    QComboBox *cmbRotate = nullptr;
    QPushButton *RotateLeft = nullptr;
    QPushButton *RotateRight = nullptr;
    QPushButton *cmdFlipLeft = nullptr;
    QPushButton *cmdFlipUp = nullptr;
    QPushButton *cbNegate = nullptr;
    QPushButton *cmdBlackWhite = nullptr;
    QPushButton *cmdTextColour = nullptr;
    QFrame *picText = nullptr;
    QPushButton *cmdBackColour = nullptr;
    QFrame *picBackGrnd = nullptr;
    QCheckBox *chkDeSpeckle = nullptr;
    QCheckBox *chkSmooth = nullptr;
    QCheckBox *chkAnti = nullptr;
    QCheckBox *ChkTrans = nullptr;
    QPushButton *cmdRuleColour = nullptr;
    QFrame *picRuleColour = nullptr;
    QCheckBox *chkAutoMove = nullptr;
    QSlider *slRulerWidth = nullptr;
    QPushButton *cmdZoomOut = nullptr;
    QPushButton *cmdZoomIn = nullptr;
    QSlider *slBrightness = nullptr;
    QSlider *slContrast = nullptr;
    QSlider *SliderGamma = nullptr;
};
