#include "entry/EntryBoxText.h"

#include "core/Cp1252.h"

#include <QByteArray>
#include <QString>

bool IsCaseSeparator(QChar c)
{
    return c == u' ' || c == u'\'' || c == u'-' || c == u'.' || c == u',';
}

bool IsStorableCharacter(int code)
{
    if (code < 32 || code > 255 || code == 127 || code == '"')
        return false;
    switch (code) {
    case 0x81:
    case 0x8D:
    case 0x8F:
    case 0x90:
    case 0x9D:
        return false;
    default:
        return true;
    }
}

QChar CharacterOf(int code)
{
    return Cp1252::decode(QByteArray(1, char(code))).at(0);
}
