#include "transcription/clsTranslator.h"

#include "core/Cp1252.h"
#include "core/Globals.h"
#include "core/LineReader.h"
#include "core/MessageWindows.h"
#include "core/Project.h"
#include "core/Services.h"
#include "core/VbHelpers.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>

#include <algorithm>

namespace {

const QString kCrLf = QStringLiteral("\r\n");
const QString kFileName = QStringLiteral("Translate.txt");

QString supportLine()
{
    return QStringLiteral("Please tell ") + Project::SupportEmail()
           + QStringLiteral(" which file it was.");
}

// The number a table field starts with, read the way the file's writers
// expect: blanks anywhere are skipped, reading stops at the first character
// that cannot continue a decimal number, and a field with no number is 0.
double leadingNumber(QString field)
{
    field.remove(u' ');
    field.remove(u'\t');
    static const QRegularExpression number(
        QStringLiteral("^[+-]?(\\d+\\.?\\d*|\\.\\d+)([eE][+-]?\\d+)?"));
    const auto match = number.match(field);
    if (!match.hasMatch())
        return 0.0;
    bool ok = false;
    const double value = match.captured(0).toDouble(&ok);
    return ok ? value : 0.0;
}

// A code a character can be replaced by: anything else (0, negative, beyond
// a single byte, beyond any whole number) leaves the character as it is.
std::int16_t tableValue(const QString &field)
{
    const double value = leadingNumber(field);
    if (!(value >= 0.5 && value < 255.5))
        return 0;
    return static_cast<std::int16_t>(VbRound(value));
}

} // namespace

clsTranslator::clsTranslator() = default;

int clsTranslator::Entry(int code) const
{
    if (code < 0 || code >= int(mTable.size()))
        return 0;
    return mTable[code];
}

QString clsTranslator::FindTranslationFile(const QString &systemFolder,
                                           const QString &originalFilesFolder)
{
    for (const QString &folder : {systemFolder, originalFilesFolder}) {
        if (VbTrim(folder).isEmpty())
            continue;
        const QString path = QDir(folder).filePath(kFileName);
        if (QFileInfo(path).isFile())
            return path;
    }
    return QString();
}

void clsTranslator::GetCodePage()
{
    GetCodePage(gProject ? gProject->CodePage() : QString());
}

void clsTranslator::GetCodePage(const QString &codePage)
{
    mCodePage = VbTrim(codePage);
    if (mCodePage.isEmpty())
        return;

    QString path;
    if (gProject) {
        // Without a data folder, OriginalFiles would be looked for in the
        // current folder.
        const QString original = gProject->DataPath().isEmpty() ? QString()
                                                                : gProject->GetOriginalFilesPath();
        path = FindTranslationFile(gProject->CommonAppData(), original);
    }
    if (path.isEmpty()) {
        mCodePage.clear();
        ShowMessage(QStringLiteral("Unable to find the codepage translation file.") + kCrLf
                        + QStringLiteral("Your file may not load properly.") + kCrLf
                        + supportLine(),
                    Mb::Exclamation, kProductName);
        return;
    }

    const auto lines = ReadTextLines(path);
    if (!lines) {
        // Read untranslated rather than with a table of unknown state.
        mCodePage.clear();
        SystemMessageBox(QStringLiteral("Error 75 (Path/File access error) in GetCodePage ") + kCrLf
                             + QStringLiteral("Your file may not load properly but press Ok to try."),
                         Mb::OkOnly | Mb::Critical, kProductName);
        return;
    }

    for (const QString &line : *lines) {
        const QStringList fields = line.split(u',');
        if (VbLCase(fields.first()) != mCodePage)
            continue;
        mTable.fill(0);
        const int count = std::min<int>(fields.size() - 1, 255);
        for (int k = 1; k <= count; ++k)
            mTable[k - 1] = tableValue(fields.at(k));
        return;
    }

    const QString name = mCodePage;
    mCodePage.clear();
    ShowMessage(QStringLiteral("Unknown codepage - ") + name + kCrLf
                    + QStringLiteral("Your file may not load properly.") + kCrLf + supportLine(),
                Mb::Exclamation, kProductName);
}

QString clsTranslator::Translate(const QString &line) const
{
    if (VbTrim(line).isEmpty())
        return QString();
    if (mCodePage.isEmpty())
        return line;

    bool allEncodable = false;
    QByteArray bytes = Cp1252::encode(line, &allEncodable);
    if (allEncodable && bytes.size() == line.size()) {
        for (auto &byte : bytes) {
            const int replacement = mTable[static_cast<unsigned char>(byte)];
            if (replacement > 0)
                byte = static_cast<char>(replacement);
        }
        return Cp1252::decode(bytes);
    }

    // A character outside the single-byte set has no code to look up: keep it.
    QString result = line;
    for (QChar &c : result) {
        if (!Cp1252::canEncode(c))
            continue;
        const int code = static_cast<unsigned char>(Cp1252::encode(QString(c)).at(0));
        if (mTable[code] > 0)
            c = Cp1252::decode(QByteArray(1, static_cast<char>(mTable[code]))).at(0);
    }
    return result;
}
