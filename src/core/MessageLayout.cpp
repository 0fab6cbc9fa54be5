#include "core/MessageLayout.h"

#include <QFontMetrics>
#include <QGuiApplication>
#include <QScreen>
#include <QString>
#include <QStringList>
#include <QWidget>

#include <algorithm>

QString MessageDisplayText(const QString &text)
{
    return QString(text).replace(QLatin1String("\r\n"), QLatin1String("\n")).replace(u'\r', u'\n');
}

bool HasOwnLines(const QString &text)
{
    return text.contains(u'\n') || text.contains(u'\r');
}

int WidestLine(const QFontMetrics &fm, const QString &text)
{
    int widest = 0;
    for (const QString &line : text.split(u'\n'))
        widest = std::max(widest, fm.horizontalAdvance(line));
    return widest;
}

int ScreenContentWidth(const QWidget *window)
{
    const QScreen *screen = window ? window->screen() : nullptr;
    if (!screen)
        screen = QGuiApplication::primaryScreen();
    // Without a screen, the smallest desktop the program is meant for.
    const int available = screen ? screen->availableGeometry().width() : 1024;
    // The window system draws its frame only once the window is shown, and
    // may report it later still: until then, allow for a usual frame.
    constexpr int kFrameAllowance = 16;
    const int frame = window && window->isVisible() ? window->frameGeometry().width() - window->width()
                                                    : 0;
    return std::max(available - std::max(frame, kFrameAllowance), 1);
}

int MessageContentWidth(const QWidget *window, const QString &text)
{
    const int screen = ScreenContentWidth(window);
    return HasOwnLines(text) ? screen : std::min(kParagraphWidth, screen);
}
