// The upload server's reply as the conversation reads it: its result,
// reason, tagged blocks, upload link and district-file update block.

#include "FuzzSupport.h"

#include "upload/UploadReply.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString reply = Cp1252::decode(Fuzz::bytes(data, size));
    UploadReply::HasSystemError(reply);
    UploadReply::CompleteAt(reply);
    const qsizetype start = UploadReply::StartAt(reply);
    const QStringList lines = UploadReply::Lines(reply, start < 0 ? 0 : start);
    UploadReply::ResultOf(lines);
    UploadReply::ReasonOf(lines);
    for (const char16_t *name : {u"uploadlink", u"information", u"warnings", u"errors"}) {
        const UploadReply::Block block = UploadReply::GetMessages(reply, QStringView(name));
        if (QStringView(name) == u"uploadlink")
            UploadReply::ParseUploadLink(block.content());
    }
    UploadReply::ParseUploadLink(reply);
    UploadReply::ParseUpdate(reply, start < 0 ? 0 : start);
    UploadReply::ParseUpdate(reply, 0);
    QString why;
    UploadReply::UpdateKey(reply, &why);
    return 0;
}
