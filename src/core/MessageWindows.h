#pragma once

// The program's ways of telling the transcriber things and asking questions.
// All go through the message service (core/Services.h).

#include <QColor>
#include <QString>
#include <QStringList>

#include <optional>

// The product word, the default title of every message.
inline const QString kProductName = QStringLiteral("Pelkar");

// The common message box. An empty title becomes "Pelkar". Events are held
// off while the box is open. Returns the Mb::Answer pressed, 0 when the box
// could not be shown. Never beeps.
int ShowMessage(const QString &prompt, int style = 0, const QString &title = QString());

// The message box shown directly, without holding events off (start-up,
// folder choice, restore, migration, upload confirmation use it).
int SystemMessageBox(const QString &prompt, int style = 0, const QString &title = QString());

// A box with one to six buttons carrying the given captions, and a standard
// icon (Mb::Icon). Returns the caption pressed; with no captions or more
// than six shows nothing and returns the empty text. Events are held off
// while it is open.
QString MyMsgBox(const QString &prompt, int icon, const QString &title, const QStringList &buttons);

// The small popup. A question (Yes/No) stores its answer in gPopAnswer and
// returns it; a notice (OK only) leaves gPopAnswer as it was and returns it.
bool ShowPopup(const QString &text, bool question, const QColor &textColour = QColor());

// The notice window: its result line and information text ("Save Results",
// upload and download results). The result text is trimmed.
void ShowNotice(const QString &resultText, const QString &infoText);

// The "Save Results" window, modeless; the call returns at once. The result
// text is trimmed. Closes one still open from an earlier save first.
void ShowSaveResults(const QString &resultText, const QString &infoText, bool takeFocus);
// Closes the "Save Results" window when one is open.
void CloseSaveResults();

// The warning beep, when the Beep option is on.
void BeepIfEnabled();

// A one-line text question; nullopt when cancelled.
std::optional<QString> InputBox(const QString &prompt, const QString &title = QString(),
                                const QString &defaultText = QString());
