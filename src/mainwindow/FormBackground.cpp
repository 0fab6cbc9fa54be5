#include "mainwindow/FormBackground.h"

#include "core/FileHelpers.h"
#include "core/Globals.h"
#include "core/MessageWindows.h"
#include "core/Project.h"
#include "core/Services.h"

#include <QDir>
#include <QImageReader>
#include <QPalette>
#include <QPixmap>
#include <QWidget>

void SetFormBackground(QWidget *form)
{
    if (!form || !gProject || gProject->CommonAppData().isEmpty())
        return;
    const QString path = QDir(gProject->CommonAppData()).filePath(QStringLiteral("webback.jpg"));
    if (FileExists(path))
        TileBackground(form, path);
}

bool TileBackground(QWidget *form, const QString &path)
{
    QImageReader reader(path);
    const QImage picture = reader.read();
    if (picture.isNull()) {
        const QString crLf = QStringLiteral("\r\n");
        ShowMessage(QStringLiteral("Unable to load background: ") + path + crLf
                        + QStringLiteral("Non-fatal error=") + reader.errorString() + crLf
                        + QStringLiteral("Pelkar can continue so Press Ok"),
                    Mb::Exclamation, kProductName);
        return false;
    }
    // A pixmap brush is tiled from the form's top left corner, over
    // whatever size the form takes later.
    QPalette palette = form->palette();
    palette.setBrush(form->backgroundRole(), QBrush(QPixmap::fromImage(picture)));
    form->setPalette(palette);
    form->setAutoFillBackground(true);
    return true;
}
