#include "core/ScriptedServices.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace {
const QString kCancel = QStringLiteral("<cancel>");
}

bool Script::loadAnswers(const QString &path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly | QIODevice::Text))
        return false;
    const QString text = QString::fromUtf8(f.readAll());
    for (const QString &line : text.split(QLatin1Char('\n'))) {
        if (!line.isEmpty())
            mPending.append(line);
    }
    return true;
}

std::optional<QString> Script::take(MessageRecord record)
{
    std::optional<QString> result;
    if (!mPending.isEmpty()) {
        result = mPending.takeFirst();
        record.answer = *result;
    }
    mRecords.append(record);
    log(record);
    if (!result && onUnexpected)
        onUnexpected(record);
    return result;
}

void Script::note(MessageRecord record)
{
    mRecords.append(record);
    log(record);
}

void Script::log(const MessageRecord &r)
{
    if (mLogPath.isEmpty())
        return;
    QFile f(mLogPath);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Append))
        return;
    QJsonObject o{{QStringLiteral("kind"), r.kind},
                  {QStringLiteral("prompt"), r.prompt},
                  {QStringLiteral("title"), r.title},
                  {QStringLiteral("style"), r.style},
                  {QStringLiteral("buttons"), QJsonArray::fromStringList(r.buttons)},
                  {QStringLiteral("info"), r.info},
                  {QStringLiteral("answer"), r.answer}};
    f.write(QJsonDocument(o).toJson(QJsonDocument::Compact) + '\n');
    f.flush();
}

int ScriptedMessageService::messageBox(const QString &prompt, int style, const QString &title)
{
    const auto a = mScript->take({QStringLiteral("box"), prompt, title, style, {}, {}, {}});
    if (a)
        return Mb::answerFromName(*a);
    // Nobody expected it: take the answer that changes least.
    switch (style & Mb::ButtonsMask) {
    case Mb::OkOnly: return Mb::Ok;
    case Mb::YesNo: return Mb::No;
    case Mb::AbortRetryIgnore: return Mb::Abort;
    default: return Mb::Cancel;
    }
}

QString ScriptedMessageService::customBox(const QString &prompt, int icon, const QString &title,
                                          const QStringList &buttons)
{
    const auto a = mScript->take({QStringLiteral("custom"), prompt, title, icon, buttons, {}, {}});
    if (a)
        return *a;
    for (const QString &b : buttons) {
        if (b.compare(QLatin1String("Cancel"), Qt::CaseInsensitive) == 0)
            return b;
    }
    return QString();
}

bool ScriptedMessageService::popup(const QString &text, bool question, const QColor &)
{
    const auto a = mScript->take(
        {QStringLiteral("popup"), text, QString(), question ? 1 : 0, {}, {}, {}});
    return question && a && a->compare(QLatin1String("Yes"), Qt::CaseInsensitive) == 0;
}

void ScriptedMessageService::notice(const QString &resultText, const QString &infoText)
{
    mScript->take({QStringLiteral("notice"), resultText, QString(), 0, {}, infoText, {}});
}

void ScriptedMessageService::saveResults(const QString &resultText, const QString &infoText,
                                         bool takeFocus)
{
    closeSaveResults();
    mScript->note({QStringLiteral("results"), resultText, QStringLiteral("Save Results"),
                   takeFocus ? 1 : 0, {}, infoText, {}});
    mResultsOpen = true;
}

void ScriptedMessageService::closeSaveResults()
{
    if (!mResultsOpen)
        return;
    mResultsOpen = false;
    mScript->note({QStringLiteral("results-closed"), QString(), QStringLiteral("Save Results"), 0,
                   {}, {}, {}});
}

std::optional<QString> ScriptedMessageService::inputBox(const QString &prompt, const QString &title,
                                                        const QString &defaultText)
{
    const auto a = mScript->take({QStringLiteral("input"), prompt, title, 0, {}, defaultText, {}});
    if (!a || *a == kCancel)
        return std::nullopt;
    return *a;
}

QString ScriptedDialogService::path(MessageRecord record)
{
    const auto a = mScript->take(std::move(record));
    if (!a || *a == kCancel)
        return QString();
    return *a;
}

QString ScriptedDialogService::openFile(const QString &title, const QString &folder,
                                        const QString &filter, const QString &fileName,
                                        bool mustExist)
{
    return path({QStringLiteral("openFile"), title, title, mustExist ? 1 : 0, {}, folder, {},
                 filter, fileName});
}

QString ScriptedDialogService::saveFile(const QString &title, const QString &folder,
                                        const QString &suggestedName, const QString &filter)
{
    return path({QStringLiteral("saveFile"), title, title, 0, {}, folder, {}, filter,
                 suggestedName});
}

QString ScriptedDialogService::chooseFolder(const QString &title, const QString &startFolder)
{
    return path({QStringLiteral("chooseFolder"), title, title, 0, {}, startFolder, {}});
}

std::optional<QFont> ScriptedDialogService::chooseFont(const QFont &initial)
{
    const auto a = mScript->take({QStringLiteral("chooseFont"), QString(), QString(), 0, {},
                                  initial.toString(), {}});
    if (!a || *a == kCancel)
        return std::nullopt;
    QFont f;
    if (!f.fromString(*a))
        return std::nullopt;
    return f;
}

std::optional<QColor> ScriptedDialogService::chooseColour(const QColor &initial)
{
    const auto a = mScript->take({QStringLiteral("chooseColour"), QString(), QString(), 0, {},
                                  initial.name(), {}});
    if (!a || *a == kCancel)
        return std::nullopt;
    const QColor c = QColor::fromString(*a);
    return c.isValid() ? std::optional<QColor>(c) : std::nullopt;
}

bool ScriptedDialogService::printerSetup()
{
    const auto a = mScript->take({QStringLiteral("printerSetup"), QString(), QString(), 0, {}, {}, {}});
    return a && *a != kCancel;
}

bool ScriptedShellService::openUrl(const QUrl &url)
{
    mScript->note({QStringLiteral("openUrl"), url.toString(), QString(), 0, {}, {}, {}});
    return mOpens;
}

std::shared_ptr<Script> installScriptedServices()
{
    auto script = std::make_shared<Script>();
    Services::install(std::make_unique<ScriptedMessageService>(script));
    Services::install(std::make_unique<ScriptedDialogService>(script));
    Services::install(std::make_unique<ScriptedShellService>(script));
    Services::install(std::make_unique<ScriptedInputService>());
    Services::install(std::make_unique<ScriptedClock>());
    Services::install(std::make_unique<ScriptedScreen>());
    return script;
}
