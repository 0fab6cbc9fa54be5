#include "core/MessageWindows.h"

#include "core/Globals.h"
#include "core/Project.h"
#include "core/Services.h"
#include "core/VbHelpers.h"
#include "core/clsEvents.h"

namespace {
QString titleOrProduct(const QString &title)
{
    return title.isEmpty() ? kProductName : title;
}
} // namespace

int ShowMessage(const QString &prompt, int style, const QString &title)
{
    EventsOffGuard quiet;
    return Services::messages().messageBox(prompt, style, titleOrProduct(title));
}

int SystemMessageBox(const QString &prompt, int style, const QString &title)
{
    return Services::messages().messageBox(prompt, style, titleOrProduct(title));
}

QString MyMsgBox(const QString &prompt, int icon, const QString &title, const QStringList &buttons)
{
    if (buttons.isEmpty() || buttons.size() > 6)
        return QString();
    EventsOffGuard quiet;
    return Services::messages().customBox(prompt, icon, titleOrProduct(title), buttons);
}

bool ShowPopup(const QString &text, bool question, const QColor &textColour)
{
    const bool yes = Services::messages().popup(text, question, textColour);
    if (question)
        gPopAnswer = yes;
    return gPopAnswer;
}

void ShowNotice(const QString &resultText, const QString &infoText)
{
    Services::messages().notice(VbTrim(resultText), infoText);
}

void ShowSaveResults(const QString &resultText, const QString &infoText, bool takeFocus)
{
    Services::messages().saveResults(VbTrim(resultText), infoText, takeFocus);
}

void CloseSaveResults()
{
    Services::messages().closeSaveResults();
}

void BeepIfEnabled()
{
    if (gProject && gProject->Beepit())
        Services::input().beep();
}

std::optional<QString> InputBox(const QString &prompt, const QString &title,
                                const QString &defaultText)
{
    return Services::messages().inputBox(prompt, titleOrProduct(title), defaultText);
}
