#include "KeySend.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QWindow>

int QtKeyFromVk(int vk)
{
    // Digits and letters share their codes with Qt::Key_0..9 and Key_A..Z.
    if ((vk >= 48 && vk <= 57) || (vk >= 65 && vk <= 90))
        return vk;
    if (vk >= 112 && vk <= 123)
        return Qt::Key_F1 + (vk - 112);
    switch (vk) {
    case 8: return Qt::Key_Backspace;
    case 9: return Qt::Key_Tab;
    case 13: return Qt::Key_Return;
    case 16: return Qt::Key_Shift;
    case 17: return Qt::Key_Control;
    case 18: return Qt::Key_Alt;
    case 27: return Qt::Key_Escape;
    case 32: return Qt::Key_Space;
    case 33: return Qt::Key_PageUp;
    case 34: return Qt::Key_PageDown;
    case 35: return Qt::Key_End;
    case 36: return Qt::Key_Home;
    case 37: return Qt::Key_Left;
    case 38: return Qt::Key_Up;
    case 39: return Qt::Key_Right;
    case 40: return Qt::Key_Down;
    case 45: return Qt::Key_Insert;
    case 46: return Qt::Key_Delete;
    default: return 0;
    }
}

namespace {
// What typing the key would insert: text editors read the text, not the key
// code, so a sent space must carry " " to appear.
QString typedText(int key, Qt::KeyboardModifiers modifiers)
{
    if (modifiers & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier))
        return {};
    if (key >= Qt::Key_A && key <= Qt::Key_Z) {
        const QChar letter(key);
        return modifiers & Qt::ShiftModifier ? QString(letter) : QString(letter.toLower());
    }
    if (key >= Qt::Key_0 && key <= Qt::Key_9)
        return modifiers & Qt::ShiftModifier ? QString() : QString(QChar(key));
    switch (key) {
    case Qt::Key_Space: return QStringLiteral(" ");
    case Qt::Key_Tab: return QStringLiteral("\t");
    case Qt::Key_Return: return QStringLiteral("\r");
    case Qt::Key_Backspace: return QStringLiteral("\b");
    case Qt::Key_Escape: return QStringLiteral("\x1b");
    default: return {};
    }
}
} // namespace

void SendKeyTo(QObject *target, int vk, bool bKeyDown)
{
    const int key = QtKeyFromVk(vk);
    if (!target || key == 0)
        return;
    const auto modifiers = QGuiApplication::keyboardModifiers();
    QCoreApplication::postEvent(target,
                                new QKeyEvent(bKeyDown ? QEvent::KeyPress : QEvent::KeyRelease,
                                              key, modifiers, typedText(key, modifiers)));
}

void SendKey(int vk, bool bKeyDown)
{
    QObject *target = QGuiApplication::focusObject();
    if (!target)
        target = QGuiApplication::focusWindow();
    SendKeyTo(target, vk, bKeyDown);
}
