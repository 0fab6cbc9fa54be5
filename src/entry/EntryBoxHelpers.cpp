#include "entry/EntryBoxHelpers.h"

#include "core/MessageWindows.h"
#include "core/Services.h"
#include "core/VbHelpers.h"
#include "transcription/EntryBoxes.h"
#include "transcription/Transcription.h"

namespace EntryBoxHelpers {

FlexGrid *gridOrTranscriptions(FlexGrid *grid)
{
    if (grid)
        return grid;
    return gTranscription ? gTranscription->grid() : nullptr;
}

void disconnectAll(QList<QMetaObject::Connection> &connections)
{
    for (const auto &connection : std::as_const(connections))
        QObject::disconnect(connection);
    connections.clear();
}

void fillWith(const QString &text, bool up)
{
    if (!gTranscription)
        return;
    if (VbTrim(text).isEmpty()) {
        ShowMessage(QStringLiteral("You can't fill with an empty field - type something first"),
                    Mb::Exclamation, kProductName + QStringLiteral(" - Invalid Fill"));
        Boxes().GiveFocusBack();
        return;
    }
    if (up)
        gTranscription->FillUp(text);
    else
        gTranscription->FillDown(text);
}

} // namespace EntryBoxHelpers
