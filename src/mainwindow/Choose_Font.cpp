#include "mainwindow/Choose_Font.h"

#include "core/Services.h"
#include "core/VbHelpers.h"

#include <QColor>
#include <QFont>
#include <QRegularExpression>

#include <cmath>

QColor colourFromStored(int colour)
{
    return QColor(colour & 0xFF, (colour >> 8) & 0xFF, (colour >> 16) & 0xFF);
}

int colourToStored(const QColor &colour)
{
    return colour.red() | (colour.green() << 8) | (colour.blue() << 16);
}

bool ChooseFontDialog(FontChoice &font)
{
    QFont initial(font.name);
    initial.setPointSize(std::max(1, font.size));
    initial.setBold(font.bold);
    initial.setItalic(font.italic);
    const std::optional<QFont> chosen = Services::dialogs().chooseFont(initial);
    if (!chosen)
        return false;
    const std::optional<QColor> colour =
        Services::dialogs().chooseColour(colourFromStored(font.colour));
    if (!colour)
        return false;
    font.name = chosen->family();
    font.size = int(VbRound(chosen->pointSizeF()));
    font.bold = chosen->bold();
    font.italic = chosen->italic();
    font.colour = colourToStored(*colour);
    return true;
}

bool ChooseColourDialog(int &colour)
{
    const std::optional<QColor> chosen = Services::dialogs().chooseColour(colourFromStored(colour));
    if (!chosen)
        return false;
    colour = colourToStored(*chosen);
    return true;
}

PickRowsAnswer ReadPickRowsAnswer(const QString &answer)
{
    if (answer.isEmpty())
        return {PickRowsAnswer::Nothing, 0};
    // A plain decimal number, signed, with an optional exponent; any size.
    static const QRegularExpression number(
        QStringLiteral("^[+-]?(\\d+\\.?\\d*|\\.\\d+)([eE][+-]?\\d+)?$"));
    const QString text = answer.trimmed();
    if (!number.match(text).hasMatch())
        return {PickRowsAnswer::NotANumber, 0};
    bool ok = false;
    const double value = text.toDouble(&ok);
    // Too large to hold (or too small to matter) is still a number: only
    // the range is wrong, or it rounds to 0.
    if (!ok || !std::isfinite(value))
        return {PickRowsAnswer::OutOfRange, 0};
    const long long rows = VbRound(value);
    if (rows < 1 || rows > 999)
        return {PickRowsAnswer::OutOfRange, 0};
    return {PickRowsAnswer::Rows, int(rows)};
}
