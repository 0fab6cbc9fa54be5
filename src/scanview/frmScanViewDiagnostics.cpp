// The scan viewer's diagnostics box: the numbers a transcriber reads out
// when the image or the ruler behaves oddly.

#include "scanview/frmScanView.h"

#include "core/Globals.h"
#include "core/VbHelpers.h"

#include <QFrame>
#include <QPlainTextEdit>
#include <QScreen>
#include <QScrollBar>
#include <QStringList>

void frmScanView::DiagBoxRefresh()
{
    if (!DiagFrame || DiagFrame->isHidden())
        return;
    DiagFrame->raise();
    DiagFrame->move(imageArea()->width() - DiagFrame->width() - TwipsToPixelsX(gVScrollWidth),
                    TwipsToPixelsY(50));

    const auto whole = [](double v) { return QString::number(qint64(VbRound(v))); };
    const auto fixed2 = [](double v) { return QString::number(v, 'f', 2); };
    QStringList lines;
    const auto line = [&lines](const QString &label, const QStringList &values = {}) {
        lines << label + values.join(QLatin1Char(' '));
    };
    const QSize screenSize = screen() ? screen()->size() : QSize();
    const float zoom = mImage.ZoomFactor();
    const int scrollY = mImage.ScrollY();
    const int scrollX = mImage.ScrollX();
    line(QStringLiteral("Diagnostics -"));
    line(QStringLiteral("Screen Height/Width    : "),
         {whole(PixelsToTwipsY(screenSize.height())), whole(PixelsToTwipsX(screenSize.width()))});
    line(QStringLiteral("-- TwipsPerPixel Y/X   : "),
         {whole(PixelsToTwipsY(1)), whole(PixelsToTwipsX(1))});
    line(QStringLiteral("Scanview Height/Width  : "),
         {whole(PixelsToTwipsY(height())), whole(PixelsToTwipsX(width()))});
    line(QStringLiteral("-- Top/Left            : "),
         {whole(PixelsToTwipsY(y())), whole(PixelsToTwipsX(x()))});
    line(QStringLiteral("Imagex1 Height/Width   : "),
         {whole(PixelsToTwipsY(imageArea()->height())), whole(PixelsToTwipsX(imageArea()->width()))});
    line(QStringLiteral("-- ScrollY/X (pixels)  : "), {whole(scrollY), whole(scrollX)});
    line(QStringLiteral("--           (twips)   : "),
         {whole(PixelsToTwipsY(scrollY)), whole(PixelsToTwipsX(scrollX))});
    line(QStringLiteral("Image Height/Width     : "),
         {whole(mImage.ImageHeight()), whole(mImage.ImageWidth())});
    line(QStringLiteral("-- modified by zoom    : "),
         {whole(mImage.ImageHeight() * double(zoom)), whole(mImage.ImageWidth() * double(zoom))});
    line(QStringLiteral("Image Zoom / Rotation  : "), {fixed2(zoom), fixed2(mRotation)});
    line(QStringLiteral("Gap                    : "), {fixed2(mJumpDistance)});
    line(QStringLiteral("Ypos / Row1Vsc         : "), {whole(mYPos), whole(mHome)});
    line(QStringLiteral("Scale100               : "), {fixed2(mScale100)});
    line(QStringLiteral("Scroll Max (Image/Vsc) : "),
         {whole(mImage.maxScrollY()), whole(VScroll1->maximum())});
    line(QStringLiteral("Vscroll (pixels)       : "), {whole(VScroll1->value())});
    line(QStringLiteral("myHeight               : "), {whole(mImage.controlSize().height())});
    line(QStringLiteral("Ruler Pos(twips/Pixels): "),
         {whole(PixelsToTwipsY(mLineTop)), whole(mLineTop)});
    line(QStringLiteral("Track Image/Ruler/Vsc  : "),
         {whole(scrollY), whole(mLineTop), whole(VScroll1->value())});
    line(QStringLiteral("Ruler Home             : "), {whole(mLineCentre)});
    line(QStringLiteral("Press ALT and D keys to hide"));
    DiagBox->setPlainText(lines.join(QStringLiteral("\r\n")));
}
