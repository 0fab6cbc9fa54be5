// The code-page translation file (Translate.txt): the table of the code page
// its first line names is read and every byte translated through it.

#include "FuzzSupport.h"

#include "core/VbHelpers.h"
#include "transcription/clsTranslator.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    Fuzz::begin();
    Fuzz::newProject();
    const QByteArray file = Fuzz::bytes(data, size);
    Fuzz::write(Fuzz::dataPath(QStringLiteral("OriginalFiles/Translate.txt")), file);
    const QString first = Cp1252::decode(file.left(file.indexOf(',')));
    {
        clsTranslator translator;
        translator.GetCodePage(VbLCase(first));
        QByteArray all;
        for (int b = 1; b < 256; ++b)
            all += char(b);
        translator.Translate(Cp1252::decode(all));
        translator.Translate(QStringLiteral("SMITH,John \u00e9\u20ac\u4e2d"));
        for (int code = -1; code <= 256; ++code)
            translator.Entry(code);
    }
    Fuzz::end();
    return 0;
}
