#include "scanview/ZoomCaption.h"

#include <QRegularExpression>

QString ZoomPercentText(float zoom)
{
    // Worked out in single precision, as the zoom is kept, and shown to
    // seven significant digits so that 1.5625 reads 156.25, not 156.2500001.
    const float percent = zoom * 100.0f;
    return QString::number(double(percent), 'g', 7);
}

QString CaptionWithZoom(const QString &caption, float zoom)
{
    static const QRegularExpression zoomPart(QStringLiteral(" \\([^()]*%\\)$"));
    const QRegularExpressionMatch m = zoomPart.match(caption);
    if (!m.hasMatch())
        return caption;
    return caption.left(m.capturedStart()) + QStringLiteral(" (") + ZoomPercentText(zoom)
           + QStringLiteral("%)");
}
