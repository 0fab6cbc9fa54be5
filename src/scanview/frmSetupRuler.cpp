#include "scanview/frmSetupRuler.h"

#include "core/FormRegistry.h"
#include "core/Globals.h"
#include "core/MessageWindows.h"
#include "core/Project.h"
#include "core/Services.h"
#include "core/VbHelpers.h"
#include "scanview/ScanViewerHost.h"
#include "scanview/frmScanView.h"

#include <QCloseEvent>
#include <QHBoxLayout>
#include <QScreen>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>

namespace {

const QString kCrLf = QStringLiteral("\r\n");

// Colours as stored, 0x00BBGGRR.
constexpr int kWindowColour = 0xC0E0FF;
constexpr int kLabelColour = 0x80C0FF;
constexpr int kLabelDoneColour = 0x93FDC0;
constexpr int kOkColour = 0x80FF80;
constexpr int kCancelColour = 0x8080FF;

QColor fromStored(int colour)
{
    return QColor(colour & 0xFF, (colour >> 8) & 0xFF, (colour >> 16) & 0xFF);
}

void paint(QWidget *widget, QPalette::ColorRole role, int colour)
{
    QPalette p = widget->palette();
    p.setColor(role, fromStored(colour));
    widget->setPalette(p);
    widget->setAutoFillBackground(true);
}

QString introText()
{
    return QStringLiteral("A line has been placed across the centre of the scanview.") + kCrLf
           + QStringLiteral("The line is fixed but the scan will move behind it using the "
                            "scroll-bars.")
           + kCrLf + QStringLiteral("The line is initially Blue but you can change its colour,")
           + kCrLf
           + QStringLiteral("its height, and make it translucent using Image Tools on the View "
                            "menu after this set-up sequence.")
           + kCrLf
           + QStringLiteral("See the Pelkar Help File (Scan Tools) for alternative ways to use "
                            "the ruler.")
           + kCrLf;
}

QString firstEntryText()
{
    return QStringLiteral("Move the Scan Image using the scroll bars so that the line is "
                          "immediately below the first entry in column 1 of the scan")
           + kCrLf + QStringLiteral("Then click Ok below.") + kCrLf
           + QStringLiteral("NOTE: In this setup you absolutely MUST use a block of 10 "
                            "consecutive entries. If the 1st 10 are not consecutive")
           + kCrLf
           + QStringLiteral("for example there are blank lines, or single surname lines within "
                            "them then use a different 10. Where these")
           + kCrLf
           + QStringLiteral("10 lines are located is less important than them being "
                            "consecutive.");
}

QString tenthEntryText()
{
    return QStringLiteral("Move the Image so that the line is immediately below the 10th entry.")
           + kCrLf + QStringLiteral("Then click Ok below.");
}

QString thankYouText()
{
    return QStringLiteral("Thank You.") + kCrLf
           + QStringLiteral("When this window closes you may need to scroll the image") + kCrLf
           + QStringLiteral("so that the line is below the line you are transcribing.") + kCrLf
           + QStringLiteral("Note that you can make fine adjustments to the position") + kCrLf
           + QStringLiteral("of the line image using the shift key with the up or down arrow.");
}

QString tenthNotBelowText()
{
    return QStringLiteral("The 10th entry must be below the first entry, further down the "
                          "scan.")
           + kCrLf
           + QStringLiteral("Move the image so that the line is immediately below the 10th "
                            "entry, then click Ok.");
}

} // namespace

frmSetupRuler::frmSetupRuler(frmScanView &viewer)
    : QWidget(&viewer, Qt::Tool | Qt::WindowStaysOnTopHint), mViewer(viewer)
{
    setObjectName(QStringLiteral("frmSetupRuler"));
    RegisterForm(this, QStringLiteral("frmSetupRuler"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("Align Ruler"));
    paint(this, QPalette::Window, kWindowColour);

    Label1 = new QLabel(this);
    Label1->setObjectName(QStringLiteral("Label1"));
    // The instructions' long lines wrap at a steady width, so the window
    // keeps its size and place (and its buttons) from step to step.
    Label1->setWordWrap(true);
    Label1->setMargin(6);
    Label1->setFixedWidth(Label1->fontMetrics().averageCharWidth() * 72);
    paint(Label1, QPalette::Window, kLabelColour);

    cmdOk = new QPushButton(QStringLiteral("Ok"), this);
    cmdOk->setObjectName(QStringLiteral("cmdOk"));
    paint(cmdOk, QPalette::Button, kOkColour);
    cmdCancel = new QPushButton(QStringLiteral("Cancel"), this);
    cmdCancel->setObjectName(QStringLiteral("cmdCancel"));
    paint(cmdCancel, QPalette::Button, kCancelColour);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cmdOk);
    buttons->addWidget(cmdCancel);
    buttons->addStretch();
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(Label1);
    layout->addLayout(buttons);

    connect(cmdOk, &QPushButton::clicked, this, &frmSetupRuler::cmdOk_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &frmSetupRuler::cmdCancel_Click);

    Form_Load();
}

frmSetupRuler::~frmSetupRuler() = default;

QString frmSetupRuler::instructions() const
{
    return Label1->text();
}

void frmSetupRuler::setInstructions(const QString &text)
{
    Label1->setText(text);
    adjustSize();
    // A taller text must not push the buttons off the screen.
    if (const QScreen *where = screen()) {
        const QRect area = where->availableGeometry();
        const QRect frame = frameGeometry();
        if (frame.bottom() > area.bottom() || frame.right() > area.right())
            move(std::max(area.left(), std::min(frame.left(), area.right() + 1 - frame.width())),
                 std::max(area.top(), std::min(frame.top(), area.bottom() + 1 - frame.height())));
    }
}

void frmSetupRuler::Form_Load()
{
    mCancelled = false;
    mStep = 1;
    DoSetup();
    cmdOk->setFocus();
}

void frmSetupRuler::cmdOk_Click()
{
    ++mStep;
    DoSetup();
}

void frmSetupRuler::cmdCancel_Click()
{
    mCancelled = true;
    mStep = CancelledStep;
    DoSetup();
}

void frmSetupRuler::readPosition(double &y, double &x, double &bar) const
{
    y = mViewer.ImageX1().ScrollY();
    x = mViewer.ImageX1().ScrollX();
    bar = mViewer.rulerBarValue();
}

void frmSetupRuler::DoSetup()
{
    switch (mStep) {
    case 1:
        setInstructions(introText());
        break;
    case 2:
        mViewer.MoveRulerToLine(0, 0, true);
        setInstructions(firstEntryText());
        break;
    case 3:
        readPosition(mFirstY, mFirstX, mFirstBar);
        // A first guess at the tenth entry, from the distance stored so far.
        mViewer.MoveRulerToLine(9, 1, true);
        setInstructions(tenthEntryText());
        break;
    case 4: {
        double y = 0.0;
        double x = 0.0;
        double bar = 0.0;
        readPosition(y, x, bar);
        // A tenth entry at or above the first would give a ruler that never
        // moves or goes backwards: measure again rather than store it.
        if (bar <= mFirstBar) {
            ShowMessage(tenthNotBelowText(), Mb::Exclamation, QStringLiteral("Align Ruler"));
            mStep = 3;
            cmdOk->setFocus();
            return;
        }
        mTenthY = y;
        mTenthX = x;
        mTenthBar = bar;
        // Nine gaps between ten entries.
        mJumpDistance = (mTenthBar - mFirstBar) / 9.0;
        if (gProject) {
            gProject->setRuleJumpDistance(mJumpDistance);
            gProject->setRuleVScY1(int(VbRound(mFirstBar)));
        }
        paint(Label1, QPalette::Window, kLabelDoneColour);
        setInstructions(thankYouText());
        break;
    }
    case 5:
        hide();
        mViewer.DoneRulerSetup(mFirstY, mFirstX, mFirstBar, mJumpDistance);
        Unload();
        break;
    default:
        break;
    }
    cmdOk->setFocus();
    if (mCancelled) {
        mViewer.CancelRuler();
        Unload();
    }
}

void frmSetupRuler::Unload()
{
    if (mUnloaded)
        return;
    mUnloading = true;
    close();
}

void frmSetupRuler::closeEvent(QCloseEvent *event)
{
    if (mUnloaded) {
        event->accept();
        return;
    }
    if (!mUnloading && !mCancelled && mStep != 5) {
        // The close box: without a word to the viewer its ruler menus would
        // stay disabled, so it is a Cancel.
        mCancelled = true;
        mStep = CancelledStep;
        mViewer.CancelRuler();
    }
    mUnloaded = true;
    ViewerHost().ShowForm1();
    event->accept();
}
