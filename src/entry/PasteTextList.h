#pragma once

// The nine numbered paste texts without their window: reading and writing
// the stored list (the settings' Forms/CpyPaste, each text in double
// quotes, separated by commas), and the rules a new text must pass.

#include <QString>
#include <QStringList>

class PasteTextList
{
public:
    static constexpr int kCount = 9;

    PasteTextList();

    // Fills the nine texts from the stored form. Commas inside double quotes
    // do not split; fields past the ninth are ignored and missing ones are
    // empty. A text of blanks only is empty (the stored default is a list of
    // single blanks), and control characters, which a hand-edited file may
    // hold, are dropped: no paste may carry a tab or a line break.
    void SetList(const QString &stored);
    // The stored form: the nine texts, each in double quotes, joined by
    // commas. A text never holds a double quote, so none is written.
    QString GetList() const;

    // Text n (1 to 9); the empty text for any other n.
    QString GetItem(int n) const;
    // Sets text n (1 to 9) as given, blanks only as empty; n outside that
    // does nothing. The caller checks the text first (Refusal).
    void setItem(int n, const QString &text);
    QStringList texts() const { return mTexts; }

    // The line of the window's list for text n: the number, ". ", the text.
    QString Line(int n) const;

    // The text with every double quote removed (it is the list's quoting
    // character).
    static QString WithoutDoubleQuotes(const QString &text);
    // Why text n cannot take the text, as told to the transcriber, or the
    // empty text when it can: a paste goes into a one-line box and then into
    // the batch file, so it may hold neither a control character (tab, line
    // break) nor a character the files cannot store.
    static QString Refusal(int n, const QString &text);

private:
    QStringList mTexts;
};
