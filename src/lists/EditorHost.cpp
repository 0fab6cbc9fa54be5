#include "lists/EditorHost.h"

#include "core/Project.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QPainter>
#include <QPalette>
#include <QPixmap>
#include <QWidget>

namespace {
class NullEditorHost final : public EditorHost
{
public:
    void HideForm1() override {}
    void editExit() override {}
};

EditorHost *gHost = nullptr;
} // namespace

EditorHost &Host()
{
    static NullEditorHost standIn;
    return gHost ? *gHost : standIn;
}

void SetEditorHost(EditorHost *host)
{
    gHost = host;
}

void PaintEditorBackground(QWidget *form, QPainter &painter)
{
    // Loaded once per path: a repaint must not read the file again.
    static QString loadedPath;
    static QPixmap picture;
    const QString folder = Project::SystemFilesFolder();
    const QString path = folder.isEmpty() ? QString()
                                          : QDir(folder).filePath(QStringLiteral("webback.jpg"));
    if (path != loadedPath) {
        loadedPath = path;
        picture = !path.isEmpty() && QFileInfo::exists(path) ? QPixmap(path) : QPixmap();
    }
    if (!picture.isNull())
        painter.drawTiledPixmap(form->rect(), picture);
}

void TintEditBox(QWidget *box, bool focused)
{
    QPalette palette = box->palette();
    const QPalette system = QApplication::palette(box);
    for (const auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
        palette.setColor(group, QPalette::Base,
                         focused ? QColor(QRgb(kFocusTintRgb)) : system.color(group, QPalette::Base));
    }
    box->setPalette(palette);
}
