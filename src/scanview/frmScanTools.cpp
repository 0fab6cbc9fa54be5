#include "scanview/frmScanTools.h"

#include "core/FormRegistry.h"
#include "core/Globals.h"
#include "core/MessageWindows.h"
#include "core/Project.h"
#include "core/Services.h"
#include "core/VbHelpers.h"
#include "core/WaitCursor.h"
#include "mainwindow/Choose_Font.h"
#include "scanview/frmScanView.h"
#include "transcription/EntryBoxes.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSlider>
#include <QVBoxLayout>

#include <algorithm>
#include <array>

namespace {

constexpr int kWhite = 0xFFFFFF;
constexpr int kBlack = 0;
constexpr int kBlue = 0xFF0000;
constexpr int kYellow = 0x00FFFF;
constexpr int kGreen = 0x00FF00;
constexpr int kMagenta = 0xFF00FF;

const char *const kSwatchColour = "swatchColour";

// The colour that holds the paper while paper and ink change places: blue,
// or yellow when the ink is blue, or green when that is the paper. It must
// be neither of the two, or the page would end in one colour; a further
// choice covers the pairs the first rule misses (blue paper, green ink).
int swapColour(int paper, int ink)
{
    int t = ink == kBlue ? kYellow : kBlue;
    if (t == paper)
        t = kGreen;
    if (t != paper && t != ink)
        return t;
    for (int c : {kBlue, kYellow, kGreen, kMagenta})
        if (c != paper && c != ink)
            return c;
    return kMagenta;
}

QGroupBox *frame(const QString &caption, QWidget *parent)
{
    auto *box = new QGroupBox(caption, parent);
    return box;
}

QSlider *slider(const char *name, int minimum, int maximum, int value, QWidget *parent)
{
    auto *s = new QSlider(Qt::Horizontal, parent);
    s->setObjectName(QLatin1String(name));
    s->setRange(minimum, maximum);
    s->setSingleStep(1);
    s->setPageStep(5);
    s->setValue(value);
    // Acts when the slider is let go, not at every step of a drag: a page
    // scan takes a moment to adjust.
    s->setTracking(false);
    return s;
}

} // namespace

frmScanTools::frmScanTools(frmScanView &view)
    : QWidget(&view, Qt::Tool), mView(view)
{
    setObjectName(QStringLiteral("frmScanTools"));
    RegisterForm(this, QStringLiteral("frmScanTools"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("Image Tools"));
    buildControls();
    Form_Load();
}

frmScanTools::~frmScanTools() = default;

void frmScanTools::buildControls()
{
    auto button = [](const char *name, const QString &caption, QWidget *parent) {
        auto *b = new QPushButton(caption, parent);
        b->setObjectName(QLatin1String(name));
        b->setAutoDefault(false);
        return b;
    };
    auto check = [](const char *name, const QString &caption, QWidget *parent) {
        auto *c = new QCheckBox(caption, parent);
        c->setObjectName(QLatin1String(name));
        return c;
    };
    auto swatch = [](const char *name, QWidget *parent) {
        auto *f = new QFrame(parent);
        f->setObjectName(QLatin1String(name));
        f->setFrameShape(QFrame::Box);
        f->setAutoFillBackground(true);
        f->setMinimumSize(24, 18);
        return f;
    };

    auto *top = new QVBoxLayout(this);
    // Everything that changes the page; idle while no scan is loaded.
    mImageControls = new QWidget(this);
    auto *imageLayout = new QGridLayout(mImageControls);
    imageLayout->setContentsMargins(0, 0, 0, 0);
    top->addWidget(mImageControls);

    auto *rotation = frame(QStringLiteral("Rotation"), mImageControls);
    auto *rotationLayout = new QHBoxLayout(rotation);
    cmbRotate = new QComboBox(rotation);
    cmbRotate->setObjectName(QStringLiteral("cmbRotate"));
    cmbRotate->addItems({QStringLiteral("0.4"), QStringLiteral("1"), QStringLiteral("2"),
                         QStringLiteral("3"), QStringLiteral("4"), QStringLiteral("5"),
                         QStringLiteral("90")});
    cmbRotate->setToolTip(
        QStringLiteral("The amount to rotate the scan - negative values are clockwise"));
    RotateLeft = button("RotateLeft", QStringLiteral("Left"), rotation);
    RotateRight = button("RotateRight", QStringLiteral("Right"), rotation);
    rotationLayout->addWidget(cmbRotate);
    rotationLayout->addWidget(RotateLeft);
    rotationLayout->addWidget(RotateRight);
    imageLayout->addWidget(rotation, 0, 0);

    auto *flip = frame(QStringLiteral("Flip"), mImageControls);
    auto *flipLayout = new QHBoxLayout(flip);
    cmdFlipLeft = button("cmdFlipLeft", QStringLiteral("Left/Right"), flip);
    cmdFlipUp = button("cmdFlipUp", QStringLiteral("Up/Down"), flip);
    flipLayout->addWidget(cmdFlipLeft);
    flipLayout->addWidget(cmdFlipUp);
    imageLayout->addWidget(flip, 0, 1);

    auto *colours = frame(QStringLiteral("Colours"), mImageControls);
    auto *coloursLayout = new QGridLayout(colours);
    cbNegate = button("cbNegate", QStringLiteral("Swap"), colours);
    cbNegate->setToolTip(QStringLiteral("Makes the background and text colours on the scan the "
                                        "opposite of what they are currently"));
    // The doubled ampersand shows as one.
    cmdBlackWhite = button("cmdBlackWhite", QStringLiteral("Black&&White"), colours);
    cmdBlackWhite->setToolTip(QStringLiteral("Reverts the scan to Black & White"));
    cmdTextColour = button("cmdTextColour", QStringLiteral("Text"), colours);
    cmdTextColour->setToolTip(QStringLiteral("Changes the colour of text on the scan"));
    picText = swatch("picText", colours);
    cmdBackColour = button("cmdBackColour", QStringLiteral("Background"), colours);
    cmdBackColour->setToolTip(QStringLiteral("CHanges the scan background colour"));
    picBackGrnd = swatch("picBackGrnd", colours);
    coloursLayout->addWidget(cbNegate, 0, 0);
    coloursLayout->addWidget(cmdBlackWhite, 0, 1);
    coloursLayout->addWidget(cmdTextColour, 1, 0);
    coloursLayout->addWidget(picText, 1, 1);
    coloursLayout->addWidget(cmdBackColour, 2, 0);
    coloursLayout->addWidget(picBackGrnd, 2, 1);
    imageLayout->addWidget(colours, 1, 0);

    auto *options = frame(QStringLiteral("View Options"), mImageControls);
    auto *optionsLayout = new QVBoxLayout(options);
    chkDeSpeckle = check("chkDeSpeckle", QStringLiteral("DeSpeckle"), options);
    chkSmooth = check("chkSmooth", QStringLiteral("Smooth"), options);
    chkAnti = check("chkAnti", QStringLiteral("Anti-Alias"), options);
    optionsLayout->addWidget(chkDeSpeckle);
    optionsLayout->addWidget(chkSmooth);
    optionsLayout->addWidget(chkAnti);
    imageLayout->addWidget(options, 1, 1);

    auto *sliders = new QGridLayout;
    slBrightness = slider("slBrightness", -100, 100, 0, mImageControls);
    slContrast = slider("slContrast", -100, 100, 0, mImageControls);
    SliderGamma = slider("SliderGamma", 1, 100, 45, mImageControls);
    sliders->addWidget(new QLabel(QStringLiteral("Brightness"), mImageControls), 0, 0);
    sliders->addWidget(slBrightness, 0, 1);
    sliders->addWidget(new QLabel(QStringLiteral("Contrast"), mImageControls), 1, 0);
    sliders->addWidget(slContrast, 1, 1);
    sliders->addWidget(new QLabel(QStringLiteral("Gamma"), mImageControls), 2, 0);
    sliders->addWidget(SliderGamma, 2, 1);
    imageLayout->addLayout(sliders, 2, 0, 1, 2);

    auto *lower = new QHBoxLayout;
    top->addLayout(lower);
    auto *ruler = frame(QStringLiteral("Ruler"), this);
    auto *rulerLayout = new QGridLayout(ruler);
    ChkTrans = check("ChkTrans", QStringLiteral("Translucent"), ruler);
    ChkTrans->setToolTip(QStringLiteral("Makes the ruler see-through"));
    cmdRuleColour = button("cmdRuleColour", QStringLiteral("Colour"), ruler);
    picRuleColour = swatch("picRuleColour", ruler);
    chkAutoMove = check("chkAutoMove", QStringLiteral("Auto Move"), ruler);
    chkAutoMove->setToolTip(QStringLiteral(
        "When ticked the ruler moves automatically as you change rows on the input grid"));
    rulerLayout->addWidget(ChkTrans, 0, 0, 1, 2);
    rulerLayout->addWidget(cmdRuleColour, 1, 0);
    rulerLayout->addWidget(picRuleColour, 1, 1);
    rulerLayout->addWidget(chkAutoMove, 2, 0, 1, 2);
    lower->addWidget(ruler);

    auto *height = frame(QStringLiteral("Ruler Height"), this);
    auto *heightLayout = new QVBoxLayout(height);
    slRulerWidth = slider("slRulerWidth", 1, 15, 3, height);
    slRulerWidth->setPageStep(1);
    slRulerWidth->setToolTip(QStringLiteral("How thick the ruler is in millimeters"));
    heightLayout->addWidget(slRulerWidth);
    lower->addWidget(height);

    auto *zoom = frame(QStringLiteral("Zoom"), this);
    auto *zoomLayout = new QVBoxLayout(zoom);
    cmdZoomOut = button("cmdZoomOut", QStringLiteral("Zoom Out (F12)"), zoom);
    cmdZoomOut->setToolTip(QStringLiteral("Zoom Out (make smaller) on the scan - You can do "
                                          "this by pressing F12 on the input grid"));
    cmdZoomIn = button("cmdZoomIn", QStringLiteral("Zoom In (F11)"), zoom);
    cmdZoomIn->setToolTip(QStringLiteral("Zoom in (make larger) on the scan - You can do this "
                                         "by pressing F11 on the input grid"));
    zoomLayout->addWidget(cmdZoomOut);
    zoomLayout->addWidget(cmdZoomIn);
    lower->addWidget(zoom);

    connect(cmbRotate, &QComboBox::activated, this, &frmScanTools::cmbRotate_Click);
    connect(RotateLeft, &QPushButton::clicked, this, &frmScanTools::RotateLeft_Click);
    connect(RotateRight, &QPushButton::clicked, this, &frmScanTools::RotateRight_Click);
    connect(cmdFlipLeft, &QPushButton::clicked, this, &frmScanTools::cmdFlipLeft_Click);
    connect(cmdFlipUp, &QPushButton::clicked, this, &frmScanTools::cmdFlipUp_Click);
    connect(cbNegate, &QPushButton::clicked, this, &frmScanTools::cbNegate_Click);
    connect(cmdBackColour, &QPushButton::clicked, this, &frmScanTools::cmdBackColour_Click);
    connect(cmdTextColour, &QPushButton::clicked, this, &frmScanTools::cmdTextColour_Click);
    connect(cmdBlackWhite, &QPushButton::clicked, this, &frmScanTools::cmdBlackWhite_Click);
    connect(chkDeSpeckle, &QCheckBox::clicked, this, &frmScanTools::chkDeSpeckle_Click);
    connect(chkSmooth, &QCheckBox::clicked, this, &frmScanTools::chkSmooth_Click);
    connect(chkAnti, &QCheckBox::clicked, this, &frmScanTools::chkAnti_Click);
    connect(slBrightness, &QSlider::valueChanged, this, &frmScanTools::slBrightness_Change);
    connect(slContrast, &QSlider::valueChanged, this, &frmScanTools::slContrast_Change);
    connect(SliderGamma, &QSlider::valueChanged, this, &frmScanTools::SliderGamma_Change);
    connect(ChkTrans, &QCheckBox::clicked, this, &frmScanTools::ChkTrans_Click);
    connect(cmdRuleColour, &QPushButton::clicked, this, &frmScanTools::cmdRuleColour_Click);
    connect(chkAutoMove, &QCheckBox::clicked, this, &frmScanTools::chkAutoMove_Click);
    connect(slRulerWidth, &QSlider::valueChanged, this, &frmScanTools::slRulerWidth_Change);
    connect(cmdZoomIn, &QPushButton::clicked, this, &frmScanTools::cmdZoomIn_Click);
    connect(cmdZoomOut, &QPushButton::clicked, this, &frmScanTools::cmdZoomOut_Click);
}

void frmScanTools::Form_Load()
{
    mImage = &mView.ImageX1();

    setSwatch(picText, mView.TextCol());
    setSwatch(picBackGrnd, mView.BackCol());
    setSwatch(picRuleColour, mView.RulerColour());

    {
        // Showing the settings is not changing them.
        const QSignalBlocker blockWidth(slRulerWidth);
        slRulerWidth->setValue(gProject ? gProject->RuleWidth() : 3);
    }
    RotateLeft->setEnabled(false);
    RotateRight->setEnabled(false);
    cmbRotate->setCurrentIndex(-1);
    chkAutoMove->setChecked(gProject && gProject->AutoMoveRuler());

    const bool grey = gProject && gProject->GreyScale();
    for (QWidget *w : {static_cast<QWidget *>(cbNegate), static_cast<QWidget *>(cmdBlackWhite),
                       static_cast<QWidget *>(cmdTextColour), static_cast<QWidget *>(cmdBackColour),
                       static_cast<QWidget *>(chkAnti), static_cast<QWidget *>(picText),
                       static_cast<QWidget *>(picBackGrnd)})
        w->setEnabled(!grey);
    chkSmooth->setEnabled(grey);

    chkAnti->setChecked(mImage->AntiAlias());
    chkSmooth->setChecked(mImage->Smoothing());
    ChkTrans->setChecked(mView.seeThru());

    // With no scan there is nothing to turn, colour or adjust; the ruler
    // and zoom controls still serve.
    mImageControls->setEnabled(haveScan());
}

void frmScanTools::closeEvent(QCloseEvent *event)
{
    Form_Unload();
    QWidget::closeEvent(event);
}

void frmScanTools::Form_Unload()
{
    mImage = nullptr;
    emit unloaded();
}

bool frmScanTools::haveScan() const
{
    return mImage && mImage->hasImage();
}

int frmScanTools::swatchColour(const QFrame *swatch)
{
    return swatch->property(kSwatchColour).toInt();
}

void frmScanTools::setSwatch(QFrame *swatch, int colour)
{
    swatch->setProperty(kSwatchColour, colour);
    QPalette p = swatch->palette();
    p.setColor(QPalette::Window, colourFromStored(colour));
    swatch->setPalette(p);
}

// ---- Rotation ----------------------------------------------------------------------

void frmScanTools::cmbRotate_Click()
{
    const bool chosen = !VbTrim(cmbRotate->currentText()).isEmpty();
    RotateLeft->setEnabled(chosen);
    RotateRight->setEnabled(chosen);
}

void frmScanTools::RotateLeft_Click()
{
    rotateBy(cmbRotate->currentText().toFloat());
}

void frmScanTools::RotateRight_Click()
{
    rotateBy(-cmbRotate->currentText().toFloat());
}

void frmScanTools::rotateBy(float degrees)
{
    if (!haveScan())
        return;
    mView.doRotate(degrees);
    // The turn starts again from the page as stored and re-applies the colours.
    setSwatch(picText, mView.TextCol());
    setSwatch(picBackGrnd, mView.BackCol());
}

// ---- Flips ------------------------------------------------------------------------

void frmScanTools::cmdFlipLeft_Click()
{
    if (haveScan())
        mImage->FlipLeftRight();
}

void frmScanTools::cmdFlipUp_Click()
{
    if (haveScan())
        mImage->FlipTopBottom();
}

// ---- Colours ----------------------------------------------------------------------

void frmScanTools::cbNegate_Click()
{
    if (!haveScan())
        return;
    WaitCursor wait;
    const int bg = mView.BackCol();
    const int ink = mView.TextCol();
    if (std::max(mImage->BitsPerPixel(), 1) == 1) {
        mImage->Negate();
    } else {
        const int t = swapColour(bg, ink);
        mImage->ReplaceColor(quint32(bg), quint32(bg), quint32(t));
        mImage->ReplaceColor(quint32(ink), quint32(ink), quint32(bg));
        mImage->ReplaceColor(quint32(t), quint32(t), quint32(ink));
    }
    setSwatch(picBackGrnd, ink);
    mView.setBackCol(ink);
    setSwatch(picText, bg);
    mView.setTextCol(bg);
    if (gProject) {
        gProject->setScanBackColour(ink);
        gProject->setScanTextColour(bg);
    }
}

void frmScanTools::cmdBackColour_Click()
{
    if (!haveScan())
        return;
    // No hourglass over the dialog or the message: the transcriber is
    // choosing. Applying the colour shows its own.
    int c = mView.BackCol();
    if (!ChooseColourDialog(c))
        return;
    if (c == mView.TextCol()) {
        ShowMessage(QStringLiteral("Can't change to same colour as text"), Mb::Exclamation);
        return;
    }
    if (c != mView.BackCol()) {
        if (gProject)
            gProject->setScanBackColour(c);
        mView.ApplyColours();
        setSwatch(picBackGrnd, c);
    }
}

void frmScanTools::cmdTextColour_Click()
{
    if (!haveScan())
        return;
    // No hourglass over the dialog or the message: the transcriber is
    // choosing. Applying the colour shows its own.
    int c = swatchColour(picText);
    if (!ChooseColourDialog(c))
        return;
    if (c == mView.BackCol()) {
        ShowMessage(QStringLiteral("Can't change to same colour as background"), Mb::Exclamation);
        return;
    }
    if (c != mView.TextCol()) {
        if (gProject)
            gProject->setScanTextColour(c);
        mView.ApplyColours();
        setSwatch(picText, c);
    }
}

void frmScanTools::cmdBlackWhite_Click()
{
    if (!haveScan())
        return;
    setSwatch(picText, kBlack);
    setSwatch(picBackGrnd, kWhite);
    if (gProject) {
        gProject->setScanBackColour(kWhite);
        gProject->setScanTextColour(kBlack);
    }
    mView.ApplyColours();
}

// ---- View options -----------------------------------------------------------------

void frmScanTools::chkDeSpeckle_Click(bool ticked)
{
    if (ticked && haveScan())
        mImage->Despeckle();
}

void frmScanTools::chkSmooth_Click(bool ticked)
{
    if (!mImage)
        return;
    WaitCursor wait;
    mImage->setSmoothing(ticked);
}

void frmScanTools::chkAnti_Click(bool ticked)
{
    if (mImage)
        mImage->setAntiAlias(ticked);
}

// ---- Image sliders ----------------------------------------------------------------

void frmScanTools::slBrightness_Change(int value)
{
    if (!haveScan())
        return;
    // The adjustment needs shades between black and white.
    if (std::max(mImage->BitsPerPixel(), 1) == 1)
        mImage->ColorDepth(24, 2, 3);
    mImage->setBrightness(value);
}

void frmScanTools::slContrast_Change(int value)
{
    if (!haveScan())
        return;
    if (std::max(mImage->BitsPerPixel(), 1) == 1)
        mImage->ColorDepth(24, 2, 3);
    mImage->setContrast(value);
}

void frmScanTools::SliderGamma_Change(int value)
{
    if (haveScan())
        mImage->setGamma(float(value) / 100.0f);
}

// ---- Ruler ------------------------------------------------------------------------

void frmScanTools::ChkTrans_Click(bool ticked)
{
    mView.SeeThru(ticked);
}

void frmScanTools::cmdRuleColour_Click()
{
    int c = swatchColour(picRuleColour);
    if (!ChooseColourDialog(c))
        return;
    setSwatch(picRuleColour, c);
    mView.setRulerColour(c);
    if (gProject)
        gProject->setRuleColour(c);
}

void frmScanTools::chkAutoMove_Click(bool ticked)
{
    if (gProject)
        gProject->setAutoMoveRuler(ticked);
}

void frmScanTools::slRulerWidth_Change(int value)
{
    if (gProject)
        gProject->setRuleWidth(value);
    mView.RulerDepth(value);
    Boxes().GiveFocusBack();
}

// ---- Zoom -------------------------------------------------------------------------

void frmScanTools::cmdZoomIn_Click()
{
    mView.Zoomin();
}

void frmScanTools::cmdZoomOut_Click()
{
    mView.ZoomOut();
}
