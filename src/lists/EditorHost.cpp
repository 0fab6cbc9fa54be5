#include "lists/EditorHost.h"

#include "core/MessageWindows.h"
#include "core/Project.h"
#include "core/Services.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QMenuBar>
#include <QPainter>
#include <QPalette>
#include <QPixmap>
#include <QPushButton>
#include <QVBoxLayout>
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

void ApplyEditorMode(const EditorControls &c, int mode, const QString &addCaption, bool addEnabled,
                     const QString &deleteCaption)
{
    const auto show = [](QPushButton *button, bool visible, bool enabled) {
        button->setVisible(visible);
        button->setEnabled(enabled);
    };
    switch (mode) {
    case 0: // browse
        show(c.doAdd, false, false);
        show(c.cancelAdd, false, false);
        show(c.del, false, false);
        break;
    case 1: // rename: "Ok" waits for a changed name
        c.doAdd->setText(QStringLiteral("Ok"));
        show(c.doAdd, true, false);
        c.cancelAdd->setText(QStringLiteral("Cancel"));
        show(c.cancelAdd, true, true);
        show(c.del, false, false);
        break;
    case 2: // add
        c.doAdd->setText(addCaption);
        show(c.doAdd, true, addEnabled);
        c.cancelAdd->setText(QStringLiteral("Cancel Add"));
        show(c.cancelAdd, true, true);
        show(c.del, false, false);
        break;
    case 4: // selected
        c.doAdd->setText(QStringLiteral("Edit Name"));
        show(c.doAdd, true, true);
        c.cancelAdd->setText(QStringLiteral("Cancel"));
        show(c.cancelAdd, true, true);
        c.del->setText(deleteCaption);
        show(c.del, true, true);
        break;
    default:
        return;
    }
    c.addNew->setEnabled(mode == 0);
    c.exit->setEnabled(mode == 0);
    c.edit->setEnabled(mode == 1 || mode == 2);
    c.list->setEnabled(mode == 0 || mode == 4);
}

EditorControls LayOutEditor(QWidget *form, QWidget *list, QLineEdit *edit,
                            const QString &addNewCaption, const QString &addCaption,
                            const char *deleteName, const QString &deleteCaption,
                            QMenuBar *menuBar)
{
    const auto button = [form](const char *name, const QString &caption) {
        auto *b = new QPushButton(caption, form);
        b->setObjectName(QString::fromLatin1(name));
        b->setAutoDefault(false);
        return b;
    };
    const EditorControls c{button("cmdDoAdd", addCaption),
                           button("cmdCancelAdd", QStringLiteral("Cancel Add")),
                           button(deleteName, deleteCaption),
                           button("cmdAddNew", addNewCaption),
                           button("cmdExit", QStringLiteral("E&xit")),
                           edit,
                           list};

    auto *left = new QVBoxLayout;
    left->addWidget(list, 1);
    left->addWidget(edit);
    auto *right = new QVBoxLayout;
    for (QPushButton *b : {c.addNew, c.doAdd, c.cancelAdd, c.del})
        right->addWidget(b);
    right->addStretch(1);
    right->addWidget(c.exit);
    auto *layout = new QHBoxLayout(form);
    if (menuBar)
        layout->setMenuBar(menuBar);
    layout->addLayout(left, 1);
    layout->addLayout(right);
    return c;
}

bool EditorMayClose(int mode, const QString &title, bool &hostHidden)
{
    if (mode != 0) {
        ShowMessage(QStringLiteral("Finish or Cancel current action first"), Mb::Exclamation,
                    title);
        return false;
    }
    if (hostHidden) {
        hostHidden = false;
        Host().editExit();
    }
    return true;
}
