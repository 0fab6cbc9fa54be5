#pragma once

// The main window's status bar StatusBar1 and the one object that writes
// it (gShowStatus): four panels, 1 messages, 2 the batch, 3 the data-row
// count, 4 the minutes of work in this run. Errors and warnings are drawn
// as a coloured picture as wide as their text (errors white on red,
// warnings black on yellow); plain messages are the panel's text.

#include "core/ShowStatusSink.h"

#include <QPointer>
#include <QStatusBar>

#include <array>
#include <cstdint>

class QLabel;

class ShowStatus : public ShowStatusSink
{
public:
    // Colours as stored (0x00BBGGRR).
    static constexpr std::uint32_t kErrorBack = 0x0000FF;
    static constexpr std::uint32_t kErrorText = 0xFFFFFF;
    static constexpr std::uint32_t kWarningBack = 0x00FFFF;
    static constexpr std::uint32_t kWarningText = 0x000000;

    // Builds the four panels (QLabels named "Panel1" to "Panel4") on bar,
    // which stays the caller's. Each keeps a width that its usual text fits
    // while the window has room, and is clipped in a narrower window.
    explicit ShowStatus(QStatusBar *bar);

    // ShowStatusSink
    void ShowMsg(const QString &text, bool error = false, bool warning = false) override;
    void ShowFile() override;
    void ShowPanel3(const QString &text) override;
    void ShowDuration() override;

    // Draws text on a picture of the given colours (0x00BBGGRR) and makes
    // it the panel's picture (panel 1-based; the panel's text is emptied).
    // alignment: 0 left, 1 right, 2 centred.
    void DrawStatusPanel(int panel, const QString &text, std::uint32_t backColour,
                         std::uint32_t textColour, int alignment);

    // Panel n (1 to 4); null for another n.
    QLabel *panel(int n) const;
    // The message panel 1 shows, whether as text or as a picture.
    QString message() const { return mMessage; }
    // Minutes counted so far (ShowDuration calls).
    int durationCount() const { return mDuration; }

private:
    QPointer<QStatusBar> mBar;
    std::array<QPointer<QLabel>, 4> mPanels;
    QString mMessage;
    int mDuration = 0;
};
