#pragma once

// Character translation for batch files written under another code page.
// The restore creates one for the read of such a file, calls GetCodePage
// once before the data lines and Translate on each line read.

#include <QString>

#include <array>
#include <cstdint>

class clsTranslator
{
public:
    // Every table entry 0: lines pass unchanged until a table is loaded.
    clsTranslator();

    // Loads the table for gProject's CodePage, trimmed. With no code page
    // named nothing is looked for and the table stays as it was. When the
    // translation file is missing, or holds no line for that code page, the
    // transcriber is told that the file may not load properly, the code page
    // name is emptied and Translate passes lines unchanged. A translation
    // file that cannot be read is reported as an error, with the same
    // outcome. Never fails the caller: the batch is then read untranslated.
    void GetCodePage();
    // The same for the code page named; the name is matched as given, so a
    // name holding capitals matches no line of the file.
    void GetCodePage(const QString &codePage);

    // The line with every character whose table entry is above 0 replaced by
    // the character of that code; the length never changes. A line of spaces
    // only gives the empty text; with no code page loaded the line comes back
    // unchanged.
    QString Translate(const QString &line) const;

    // The code page whose table is loaded; empty when none.
    QString CodePageName() const { return mCodePage; }
    // The replacement code for a character code 0 to 255 (0: unchanged).
    int Entry(int code) const;

    // "Translate.txt" in systemFolder, else in originalFilesFolder; empty
    // when in neither. An empty folder name is never searched (it would
    // mean the current folder).
    static QString FindTranslationFile(const QString &systemFolder,
                                       const QString &originalFilesFolder);

private:
    std::array<std::int16_t, 256> mTable{};
    QString mCodePage;
};
