// The settings file's vocabulary: which key feeds which property of Project,
// with what default and what encoding. One table drives both the load and the
// save; the line mechanics belong to the settings-file store.

#include "core/Project.h"

#include "core/Cp1252.h"
#include "core/FileHelpers.h"
#include "core/FormRegistry.h"
#include "core/MessageWindows.h"
#include "core/Services.h"
#include "core/SettingsFileStore.h"
#include "core/UserSettings.h"
#include "core/VbHelpers.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QVariant>

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <functional>
#include <optional>
#include <type_traits>
#include <utility>

namespace {

const QString kApp = QStringLiteral("Pelkar");
const QString kSettingsFile = QStringLiteral("Pelkarini.txt");
// The file's name before this version: read while it is the only one, and
// deleted once its contents are safely saved under the new name.
const QString kOldSettingsFile = QStringLiteral("Pelkar.ini");
// The order in which a new file gets its sections.
const QStringList kSections = {
    QStringLiteral("Startup"), QStringLiteral("Forms"),    QStringLiteral("Picklist"),
    QStringLiteral("Options"), QStringLiteral("Warnings"), QStringLiteral("Web"),
    QStringLiteral("Fonts"),   QStringLiteral("Ruler"),    QStringLiteral("Batch"),
    QStringLiteral("Files"),
};
const QString kDateFormat = QStringLiteral("d/MMM/yyyy");

// Error numbers as the transcriber's reports have always named them.
enum ErrorNumber : int {
    NoError = 0,
    Overflow = 6,
    TypeMismatch = 13,
    PathFileAccess = 75,
};

QString errorDescription(int error)
{
    switch (error) {
    case Overflow:
        return QStringLiteral("Overflow");
    case TypeMismatch:
        return QStringLiteral("Type mismatch");
    case PathFileAccess:
        return QStringLiteral("Path/File access error");
    default:
        return QStringLiteral("Application-defined or object-defined error");
    }
}

void reportLoadError(int error, int line)
{
    ShowMessage(QStringLiteral("Error ") + QString::number(error) + QStringLiteral(" (")
                    + errorDescription(error)
                    + QStringLiteral(") in procedure GetRegistryValues, Line ")
                    + QString::number(line),
                Mb::OkOnly, kProductName);
}

// True for a settings file that no save could have written and no hand
// edit would leave: a zero byte (UTF-16, random bytes), no section at all
// (an empty file), or a line that is neither a section, a note nor a key
// (random bytes, a file cut inside a line). Its values cannot be trusted.
bool SettingsFileDamaged(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false; // the read says why
    const QByteArray bytes = file.readAll();
    if (bytes.contains('\0'))
        return true;
    bool section = false;
    const QString text = Cp1252::decode(bytes);
    for (QStringView line : QStringView(text).tokenize(u'\n')) {
        while (!line.isEmpty() && (line.back() == u'\r' || line.back() == u' '))
            line.chop(1);
        while (!line.isEmpty() && line.front() == u' ')
            line = line.mid(1);
        if (line.isEmpty())
            continue;
        const QChar lead = line.front();
        if (lead == u'[')
            section = true;
        else if (lead != u';' && !line.contains(u'='))
            return true;
    }
    return !section;
}

// Moves a damaged settings file aside as "Pelkarini.bad" (a move needs no
// room on a full disk) and tells the transcriber that the defaults take its
// place; without the move its values would be lost at the next save. True
// when it was moved.
bool SetAsideDamagedSettings(const QDir &data, const QString &path)
{
    const QString bad = data.filePath(QStringLiteral("Pelkarini.bad"));
    const bool kept = MoveFileReplacing(path, bad);
    const QString crLf = QStringLiteral("\r\n");
    QString text = QStringLiteral("Pelkar's settings file could not be read:") + crLf
                   + QDir::toNativeSeparators(path) + crLf
                   + QStringLiteral("Your settings have been reset to their defaults.") + crLf;
    if (kept)
        text += QStringLiteral("The damaged file has been kept as ") + QDir::toNativeSeparators(bad);
    else
        text += QStringLiteral("The damaged file could not be kept aside.");
    ShowMessage(text, Mb::Exclamation, kProductName);
    return kept;
}

QString versionText()
{
    return QString::number(PELKAR_VERSION_MAJOR) + QLatin1Char('.')
           + QString::number(PELKAR_VERSION_MINOR) + QLatin1Char('.')
           + QString::number(PELKAR_VERSION_PATCH);
}

QString programFolder()
{
    return QCoreApplication::applicationDirPath();
}

int screenWidthTwips()
{
    ScreenMetrics &screen = Services::screen();
    return int(VbRound(screen.screenRect().width() * screen.twipsPerPixelX()));
}

// ---- Reading numbers and dates ------------------------------------------------

// "&H1F" / "&O17": the hexadecimal and octal forms a hand-edited file may hold.
std::optional<double> radixNumber(const QString &digits, int base)
{
    if (digits.isEmpty())
        return std::nullopt;
    bool ok = false;
    const qulonglong value = digits.toULongLong(&ok, base);
    if (!ok)
        return std::nullopt;
    return double(value);
}

// A whole text as a number: the C locale first, as this program writes it;
// then the user's locale, and a lone decimal comma, as other programs and
// other locales wrote it. Surrounding blanks do not matter.
std::optional<double> strictNumber(const QString &text)
{
    const QString t = text.trimmed();
    if (t.isEmpty())
        return std::nullopt;
    if (t.startsWith(QLatin1String("&H"), Qt::CaseInsensitive))
        return radixNumber(t.mid(2), 16);
    if (t.startsWith(QLatin1String("&O"), Qt::CaseInsensitive))
        return radixNumber(t.mid(2), 8);

    bool ok = false;
    QLocale c = QLocale::c();
    c.setNumberOptions(QLocale::RejectGroupSeparator);
    double value = c.toDouble(t, &ok);
    if (!ok) {
        QLocale system = QLocale::system();
        system.setNumberOptions(QLocale::RejectGroupSeparator);
        value = system.toDouble(t, &ok);
    }
    if (!ok && t.count(u',') == 1 && !t.contains(u'.')) {
        QString point = t;
        point.replace(u',', u'.');
        value = c.toDouble(point, &ok);
    }
    if (!ok || !std::isfinite(value))
        return std::nullopt;
    return value;
}

// The leading number of a text, 0 when it does not begin with one; blanks,
// tabs and line feeds anywhere are passed over ("12ab" gives 12).
double leadingNumber(const QString &text)
{
    QString t;
    for (const QChar ch : text) {
        if (ch != u' ' && ch != u'\t' && ch != u'\n')
            t.append(ch);
    }
    if (t.startsWith(QLatin1String("&H"), Qt::CaseInsensitive)
        || t.startsWith(QLatin1String("&O"), Qt::CaseInsensitive)) {
        const bool hex = t[1].toUpper() == u'H';
        qsizetype end = 2;
        while (end < t.size()
               && (hex ? t[end].isDigit() || QStringLiteral("abcdefABCDEF").contains(t[end])
                       : t[end] >= u'0' && t[end] <= u'7'))
            ++end;
        return radixNumber(t.mid(2, end - 2), hex ? 16 : 8).value_or(0);
    }

    qsizetype i = 0;
    QString number;
    if (i < t.size() && (t[i] == u'+' || t[i] == u'-'))
        number.append(t[i++]);
    int digits = 0;
    while (i < t.size() && t[i].isDigit()) {
        number.append(t[i++]);
        ++digits;
    }
    if (i < t.size() && t[i] == u'.') {
        number.append(t[i++]);
        while (i < t.size() && t[i].isDigit()) {
            number.append(t[i++]);
            ++digits;
        }
    }
    if (digits == 0)
        return 0;
    if (i + 1 < t.size() && QStringLiteral("eEdD").contains(t[i])) {
        qsizetype j = i + 1;
        QString exponent = QStringLiteral("e");
        if (t[j] == u'+' || t[j] == u'-')
            exponent.append(t[j++]);
        const qsizetype firstDigit = j;
        while (j < t.size() && t[j].isDigit())
            exponent.append(t[j++]);
        if (j > firstDigit)
            number.append(exponent);
    }
    bool ok = false;
    const double value = QLocale::c().toDouble(number, &ok);
    return ok && std::isfinite(value) ? value : 0;
}

struct Decoded
{
    QVariant value;
    int error = NoError;
};

Decoded fitWhole(double value, qint64 lowest, qint64 highest)
{
    const double whole = std::nearbyint(value);
    if (whole < double(lowest) || whole > double(highest))
        return {QVariant(), Overflow};
    return {QVariant(qint64(whole)), NoError};
}

Decoded strictWhole(const QString &text, qint64 lowest, qint64 highest)
{
    const std::optional<double> value = strictNumber(text);
    if (!value)
        return {QVariant(), TypeMismatch};
    return fitWhole(*value, lowest, highest);
}

constexpr qint64 kInt16Min = -32768;
constexpr qint64 kInt16Max = 32767;
constexpr qint64 kInt32Min = -2147483648LL;
constexpr qint64 kInt32Max = 2147483647LL;

std::optional<QDate> readDate(const QString &text)
{
    const QString t = text.trimmed();
    QDate date = QLocale::c().toDate(t, kDateFormat);
    if (!date.isValid())
        date = QLocale::system().toDate(t, kDateFormat);
    if (!date.isValid())
        date = QLocale::system().toDate(t, QLocale::ShortFormat);
    if (!date.isValid())
        return std::nullopt;
    return date;
}

QString joinNumbers(const QList<int> &numbers, QChar separator)
{
    QStringList parts;
    for (const int n : numbers)
        parts.append(QString::number(n));
    return parts.join(separator);
}

// How a key's value is written in the file.
enum class SettingForm {
    YN,          // "Y" is true; anything else, "y" included, is false
    Case,        // a CaseMode letter; "Y" reads as "U", "N" as "M"; written upper-cased
    Int,         // 16-bit, strict
    Long,        // 32-bit, strict
    Single,      // strict
    Double,      // strict
    Num16,       // the text's leading number, fitted to 16 bits
    Num32,       // the text's leading number, fitted to 32 bits
    Date,        // "d/MMM/yyyy", English month names
    Text,        // as it stands
    TextTrimmed, // trimmed of spaces both ways
    Widths,      // whole numbers joined by ":"
    Codes,       // whole numbers joined by ","; a part that is no number is 0
    Paste,       // the paste texts' own list, kept as it stands
};

Decoded decode(SettingForm form, const QString &raw)
{
    switch (form) {
    case SettingForm::YN:
        return {QVariant(raw == QLatin1String("Y"))};
    case SettingForm::Case:
        if (raw == QLatin1String("Y"))
            return {QVariant(QStringLiteral("U"))};
        if (raw == QLatin1String("N"))
            return {QVariant(QStringLiteral("M"))};
        return {QVariant(raw)};
    case SettingForm::Int:
        return strictWhole(raw, kInt16Min, kInt16Max);
    case SettingForm::Long:
        return strictWhole(raw, kInt32Min, kInt32Max);
    case SettingForm::Single:
    case SettingForm::Double: {
        const std::optional<double> value = strictNumber(raw);
        if (!value)
            return {QVariant(), TypeMismatch};
        if (form == SettingForm::Single && std::fabs(*value) > double(FLT_MAX))
            return {QVariant(), Overflow};
        return {form == SettingForm::Single ? QVariant(float(*value)) : QVariant(*value)};
    }
    case SettingForm::Num16:
        return fitWhole(leadingNumber(raw), kInt16Min, kInt16Max);
    case SettingForm::Num32:
        return fitWhole(leadingNumber(raw), kInt32Min, kInt32Max);
    case SettingForm::Date: {
        const std::optional<QDate> date = readDate(raw);
        if (!date)
            return {QVariant(), TypeMismatch};
        return {QVariant(*date)};
    }
    case SettingForm::Text:
    case SettingForm::Paste:
        return {QVariant(raw)};
    case SettingForm::TextTrimmed:
        return {QVariant(VbTrim(raw))};
    case SettingForm::Widths: {
        // Fewer than two parts is the table's "no widths" case (an empty
        // value or a single number). The table holds six widths a layout:
        // parts beyond the sixth have no place and are passed over.
        const QStringList parts = raw.split(u':');
        QList<int> widths;
        if (parts.size() < 2)
            return {QVariant::fromValue(widths)};
        for (qsizetype i = 0; i < parts.size() && i < 6; ++i) {
            const Decoded part = strictWhole(parts[i], kInt16Min, kInt16Max);
            if (part.error != NoError)
                return part;
            widths.append(int(part.value.toLongLong()));
        }
        return {QVariant::fromValue(widths)};
    }
    case SettingForm::Codes: {
        QList<int> codes;
        for (const QString &part : raw.split(u',')) {
            const Decoded code = strictWhole(part, kInt16Min, kInt16Max);
            codes.append(code.error == NoError ? int(code.value.toLongLong()) : 0);
        }
        return {QVariant::fromValue(codes)};
    }
    }
    return {QVariant(), TypeMismatch};
}

QString encode(SettingForm form, const QVariant &value)
{
    switch (form) {
    case SettingForm::YN:
        return value.toBool() ? QStringLiteral("Y") : QStringLiteral("N");
    case SettingForm::Case:
        return VbUCase(value.toString());
    case SettingForm::Int:
    case SettingForm::Long:
    case SettingForm::Num16:
    case SettingForm::Num32:
        return QString::number(value.toLongLong());
    case SettingForm::Single:
        // Seven significant digits: all a single-precision value holds, so
        // that 0.1 is written "0.1".
        return QString::number(double(value.toFloat()), 'g', 7);
    case SettingForm::Double:
        return QString::number(value.toDouble(), 'g', 15);
    case SettingForm::Date:
        return QLocale::c().toString(value.toDate(), kDateFormat);
    case SettingForm::Text:
    case SettingForm::Paste:
        return value.toString();
    case SettingForm::TextTrimmed:
        return VbTrim(value.toString());
    case SettingForm::Widths:
        return joinNumbers(value.value<QList<int>>(), u':');
    case SettingForm::Codes:
        return joinNumbers(value.value<QList<int>>(), u',');
    }
    return QString();
}

} // namespace

struct Project::SettingKey
{
    QString section;
    QString key;
    SettingForm form = SettingForm::Text;
    // What a missing key reads as; computed when it depends on other values
    // or on the day.
    QString defaultText;
    std::function<QString(const Project &)> computedDefault;
    // Null for a key that is written only.
    std::function<void(Project &, const QVariant &)> load;
    // Null for a key that is read only.
    std::function<QVariant(const Project &)> save;
    // Written only while the main window is loaded.
    bool withMainWindow = false;

    QString defaultFor(const Project &project) const
    {
        return computedDefault ? computedDefault(project) : defaultText;
    }
};

// Every key, in the order of the save. A new file gets its keys in this
// order within each section, since the store adds an unknown key at the end
// of its section.
const std::vector<Project::SettingKey> &Project::settingKeys()
{
    using F = SettingForm;
    using Load = std::function<void(Project &, const QVariant &)>;
    using Save = std::function<QVariant(const Project &)>;

    // A key bound straight to a field.
    const auto field = [](const char *section, const char *key, F form, const char *defaultText,
                          auto member, bool withMainWindow = false) {
        using T = std::remove_reference_t<decltype(std::declval<Project &>().*member)>;
        SettingKey k;
        k.section = QString::fromLatin1(section);
        k.key = QString::fromLatin1(key);
        k.form = form;
        k.defaultText = QString::fromLatin1(defaultText);
        k.load = [member](Project &p, const QVariant &v) { p.*member = v.value<T>(); };
        k.save = [member](const Project &p) { return QVariant::fromValue(p.*member); };
        k.withMainWindow = withMainWindow;
        return k;
    };
    // A key with its own reading or writing.
    const auto custom = [](const char *section, const char *key, F form, const char *defaultText,
                           Load load, Save save, bool withMainWindow = false) {
        SettingKey k;
        k.section = QString::fromLatin1(section);
        k.key = QString::fromLatin1(key);
        k.form = form;
        k.defaultText = QString::fromLatin1(defaultText);
        k.load = std::move(load);
        k.save = std::move(save);
        k.withMainWindow = withMainWindow;
        return k;
    };
    const auto writtenOnly = [&custom](const char *section, const char *key, Save save) {
        return custom(section, key, F::Text, "", nullptr, std::move(save));
    };
    const auto withDefault = [](SettingKey k, std::function<QString(const Project &)> def) {
        k.computedDefault = std::move(def);
        return k;
    };
    const auto suppFile = [&](const char *key, int i, const char *fileName) {
        return withDefault(
            custom("Files", key, F::TextTrimmed, "",
                   [i](Project &p, const QVariant &v) { p.mSuppPath[i - 1] = v.toString(); },
                   [i](const Project &p) { return QVariant(p.SuppPath(i)); }),
            [fileName](const Project &p) {
                return QDir(p.mFilesPath).filePath(QString::fromLatin1(fileName));
            });
    };
    const auto widths = [&custom](const char *key, int layout, int columns, const char *def) {
        return custom(
            "Forms", key, F::Widths, def,
            [layout](Project &p, const QVariant &v) {
                const QList<int> given = v.value<QList<int>>();
                auto &row = p.mColWidths[layout];
                if (given.size() < 2)
                    row[1] = 0;
                for (qsizetype i = 0; i < given.size(); ++i)
                    row[i] = given[i];
            },
            [layout, columns](const Project &p) {
                const auto &row = p.mColWidths[layout];
                return QVariant::fromValue(QList<int>(row.begin(), row.begin() + columns));
            });
    };
    const auto today = [](const Project &) {
        return QLocale::c().toString(Services::clock().today(), kDateFormat);
    };

    static const std::vector<SettingKey> keys = {
        // Startup
        writtenOnly("Startup", "SysPath",
                    [](const Project &) { return QVariant(programFolder()); }),
        writtenOnly("Startup", "DataPath",
                    [](const Project &p) { return QVariant(p.mDataPath); }),
        writtenOnly("Startup", "CommonAppData",
                    [](const Project &p) { return QVariant(p.mCommonAppData); }),
        // Files: the folder comes first, since the four defaults after it
        // are built from it.
        custom(
            "Files", "FilesFolderpath", F::TextTrimmed, "",
            [](Project &p, const QVariant &v) {
                const QString folder = v.toString();
                p.mFilesPath = folder.isEmpty()
                                   ? QDir(p.mDataPath).filePath(QStringLiteral("Files"))
                                   : folder;
            },
            [](const Project &p) { return QVariant(p.mFilesPath); }),
        field("Files", "DistrictFileVersion", F::TextTrimmed, "", &Project::mDistrictVersion),
        suppFile("SuppFile1", 1, "Pelkar_Supp_Districts.txt"),
        suppFile("SuppFile2", 2, "Pelkar_Supp_Districts_1946.txt"),
        suppFile("SuppFile3", 3, "Pelkar_Supp_Districts_1965.txt"),
        suppFile("SuppFile4", 4, "Pelkar_Supp_Districts_1974.txt"),
        // Forms
        field("Forms", "F1Top", F::Long, "0", &Project::mForm1Top),
        field("Forms", "F1Left", F::Long, "0", &Project::mForm1left),
        field("Forms", "F1Height", F::Long, "3500", &Project::mForm1Height),
        field("Forms", "F1Width", F::Long, "7200", &Project::mForm1Width),
        field("Forms", "NotUsedChars", F::Codes, "208,215,222,240,247,254",
              &Project::mNotUsedChars),
        // Picklist
        field("Picklist", "DistPick", F::YN, "Y", &Project::mDistPick),
        field("Picklist", "ForePick", F::YN, "Y", &Project::mForePick),
        field("Picklist", "KeepVisible", F::YN, "N", &Project::mKeepPickListVisible),
        // Options
        field("Options", "AllCaps", F::Case, "M", &Project::mSurnameCase),
        field("Options", "CapSpouse", F::Case, "M", &Project::mSpouseNameCase),
        field("Options", "CapMother", F::Case, "M", &Project::mMotherNameCase),
        field("Options", "CapForename", F::Case, "M", &Project::mForenameCase),
        field("Options", "AutoTab", F::YN, "N", &Project::mAutoTab),
        field("Options", "Beep", F::YN, "Y", &Project::mBeepit),
        field("Options", "DistWarned", F::YN, "N", &Project::mDistWarned),
        field("Options", "PageWarned", F::YN, "N", &Project::mPageWarned),
        field("Options", "VerticalTab", F::YN, "N", &Project::mVerticalTab),
        field("Options", "RowNumbering", F::Int, "1", &Project::mRowNumbering),
        field("Options", "PeriodSpace", F::YN, "Y", &Project::mPeriodSpace),
        field("Options", "DistUpCase", F::YN, "N", &Project::mDistrictUpper),
        field("Options", "DistLowCase", F::YN, "N", &Project::mDistrictLower),
        field("Options", "DistLeaveCase", F::YN, "N", &Project::mDistrictLeave),
        // Some district case is always in force: with none of the other
        // three on, name case is, whatever the key says.
        custom(
            "Options", "DistNameCase", F::YN, "N",
            [](Project &p, const QVariant &v) {
                p.mDistrictName = v.toBool()
                                  || (!p.mDistrictUpper && !p.mDistrictLower && !p.mDistrictLeave);
            },
            [](const Project &p) { return QVariant(p.mDistrictName); }),
        field("Options", "DoBUpCase", F::YN, "N", &Project::mDoBUpper),
        field("Options", "DoBLowCase", F::YN, "N", &Project::mDoBLower),
        field("Options", "DoBLeaveCase", F::YN, "N", &Project::mDoBLeave),
        field("Options", "DontFormatPaste", F::YN, "N", &Project::mDontformatPaste),
        field("Options", "DontFormatPick", F::YN, "N", &Project::mDontformatPick),
        field("Options", "IgnoreOddChars", F::YN, "N", &Project::mIgnoreOdd),
        field("Options", "RulerTrace", F::YN, "N", &Project::mRulerTrace),
        field("Options", "ShowFullPathname", F::YN, "N", &Project::mShowFullPath),
        // Warnings
        field("Warnings", "Warn1Char", F::YN, "Y", &Project::mSingleLetterWarning),
        // Web
        field("Web", "Port", F::Long, "80", &Project::mPort),
        withDefault(field("Web", "WebSite", F::Text, "", &Project::mSite),
                    [](const Project &) { return DefaultUploadHost(); }),
        withDefault(custom(
                        "Web", "Ping", F::Text, "",
                        [](Project &p, const QVariant &v) {
                            const QString host = v.toString();
                            p.mPing = host.contains(FormerCheckHost(), Qt::CaseInsensitive)
                                          ? DefaultUploadHost()
                                          : host;
                        },
                        [](const Project &p) { return QVariant(VbTrim(p.mPing)); }),
                    [](const Project &) { return DefaultUploadHost(); }),
        // Fonts
        field("Fonts", "FontName", F::Text, "", &Project::mFontname),
        field("Fonts", "FontSize", F::Num16, "0", &Project::mFontSize),
        field("Fonts", "FontBold", F::YN, "N", &Project::mFontBold),
        field("Fonts", "FontItal", F::YN, "N", &Project::mFontItal),
        field("Fonts", "ForeColour", F::Num32, "0", &Project::mFontColour),
        field("Fonts", "PFontName", F::Text, "Times New Roman", &Project::mPfontname),
        field("Fonts", "PFontSize", F::Num16, "8", &Project::mPFontSize),
        field("Fonts", "PFontBold", F::YN, "N", &Project::mPFontBold),
        field("Fonts", "PFontItal", F::YN, "N", &Project::mPFontItal),
        field("Fonts", "PForeColour", F::Num32, "0", &Project::mPFontColour),
        // Ruler
        field("Ruler", "RuleColour", F::Long, "16744576", &Project::mRuleColour),
        field("Ruler", "RuleWidth", F::Long, "3", &Project::mRuleWidth),
        field("Ruler", "RuleJump", F::Double, "0", &Project::mRuleJumpDistance),
        field("Ruler", "ScrollX1", F::Long, "0", &Project::mRuleScrollX1),
        field("Ruler", "ScrollY1", F::Long, "0", &Project::mRuleVScY1),
        field("Ruler", "SeeThru", F::YN, "N", &Project::mRuleSeeThru),
        field("Ruler", "AutoMoveRuler", F::YN, "Y", &Project::mAutoMoveRuler),
        // Batch: the header of the batch last worked on
        field("Batch", "ZelType", F::Num16, "0", &Project::mEventType),
        field("Batch", "BatchYear", F::Num16, "1837", &Project::miYear),
        field("Batch", "BatchQtr", F::Num16, "1", &Project::miQtr),
        field("Batch", "BatchNo", F::Num16, "1", &Project::mBatchnumber),
        withDefault(field("Batch", "BatchStarted", F::Date, "", &Project::mBatchStarted), today),
        withDefault(field("Batch", "BatchModified", F::Date, "", &Project::mBatchModified), today),
        field("Batch", "BatchSrceType", F::Num16, "1", &Project::mSourceType),
        field("Batch", "BatchRef", F::Text, "", &Project::mSourceRef),
        field("Batch", "BatchVolFmt", F::Num16, "1", &Project::miVnf),
        field("Batch", "BatchComment", F::Text, "", &Project::mCommentLine),
        field("Batch", "BatchPage", F::Text, "1", &Project::mPage),
        custom(
            "Batch", "BatchLetter", F::Text, "",
            [](Project &p, const QVariant &v) { p.setPageLetter(v.toString()); },
            [](const Project &p) { return QVariant(p.mPageLetter); }),
        custom(
            "Batch", "BatchSuffix", F::Text, "",
            [](Project &p, const QVariant &v) { p.setPageSuffix(v.toString()); },
            [](const Project &p) { return QVariant(p.mPageSuffix); }),
        field("Batch", "CreditName", F::Text, "", &Project::mCreditName),
        field("Batch", "CreditEmail", F::Text, "", &Project::mCreditEmail),
        field("Batch", "CreditType", F::Text, "", &Project::mCreditType),
        // Read after Startup/BatchName and so the value that stays; never
        // written, so a file of this program's own gives an empty name.
        custom(
            "Batch", "Batchname", F::Text, "",
            [](Project &p, const QVariant &v) { p.mBatchName = v.toString(); }, nullptr),
        // Startup
        writtenOnly("Startup", "Version", [](const Project &) { return QVariant(versionText()); }),
        field("Startup", "BatchName", F::Text, "", &Project::mBatchName),
        field("Startup", "Submitter", F::Text, "", &Project::mSubmitter),
        field("Startup", "SubEmail", F::Text, "", &Project::mEmail),
        field("Startup", "Syndicate", F::Text, "", &Project::mSyndicate),
        field("Startup", "Transcriber", F::Text, "", &Project::mUserID),
        field("Startup", "Password", F::Text, "", &Project::mPassword),
        field("Startup", "InitialHelp", F::YN, "N", &Project::mInitialHelp),
        // Warnings
        field("Warnings", "ForeWarn", F::YN, "Y", &Project::mForenameWarning),
        // Picklist
        field("Picklist", "OverSize", F::YN, "N", &Project::mOverSize),
        field("Picklist", "DropDownPick", F::YN, "N", &Project::mDropDownPick),
        field("Picklist", "OversizeDrop", F::YN, "N", &Project::mOversizedDrop),
        field("Picklist", "ForeGhost", F::YN, "N", &Project::mbForeGhost),
        field("Picklist", "DistGhost", F::YN, "N", &Project::mbDistGhost),
        // Startup
        field("Startup", "DoBQtr", F::Int, "2", &Project::mDoBQtr),
        field("Startup", "MomQtr", F::Int, "3", &Project::mMomsQtr),
        field("Startup", "SpouseQtr", F::Int, "1", &Project::mSpouseQtr),
        field("Startup", "SavePath", F::Text, "", &Project::mSavePath),
        field("Startup", "ScanPath", F::Text, "", &Project::mScanPath),
        field("Startup", "ScanFile", F::Text, "", &Project::mScanFile),
        // Picklist
        field("Picklist", "MovePick", F::YN, "N", &Project::mMovePick),
        field("Picklist", "MoveState", F::YN, "N", &Project::mbMoveState),
        withDefault(field("Picklist", "PickLeft", F::Long, "", &Project::mPickleft),
                    [](const Project &) {
                        return QString::number(VbRound(screenWidthTwips() / 2.0));
                    }),
        field("Picklist", "PickTop", F::Long, "0", &Project::mPicktop),
        field("Picklist", "PickRows", F::Int, "9", &Project::mPickRows),
        field("Picklist", "PickHeight", F::Long, "2700", &Project::mPickHeight),
        field("Picklist", "PickWidth", F::Long, "1695", &Project::mPickWidth),
        // Forms
        field("Forms", "CPHeight", F::Int, "0", &Project::mCPHeight),
        field("Forms", "CPWidth", F::Int, "0", &Project::mCPWidth),
        field("Forms", "CPSize", F::Single, "0", &Project::mCPSize),
        field("Forms", "ScanLeft", F::Long, "0", &Project::mScanleft),
        field("Forms", "ScanTop", F::Long, "0", &Project::mScanTop),
        field("Forms", "ScanWidth", F::Long, "13800", &Project::mScanWidth),
        field("Forms", "ScanHeight", F::Long, "7330", &Project::mScanHeight),
        field("Forms", "ScanZoom", F::Double, "1", &Project::mZoom),
        field("Forms", "Rotate", F::Single, "0", &Project::mRotation),
        field("Forms", "ScanBackC", F::Long, "-1", &Project::mScanBackColour),
        field("Forms", "ScanTextC", F::Long, "-1", &Project::mScanTextColour),
        field("Forms", "GridQuality", F::Long, "20", &Project::mGridQuality),
        widths("ColWidth5", 0, 5, "225:2205:3510:3600:1245"),
        widths("ColWidth6", 1, 6, "225:2205:2205:840:3030:765"),
        field("Forms", "RestoreCols", F::YN, "N", &Project::mRestoreColWidth),
        field("Forms", "Stripes", F::YN, "Y", &Project::mStripes),
        // What the main window and its companions hold: written only while
        // it is loaded.
        field("Forms", "CpyPaste", F::Paste, " , , , , , , , , , ", &Project::mPasteList, true),
        field("Forms", "PasteX", F::Long, "-1", &Project::mPasteX, true),
        field("Forms", "PasteY", F::Long, "-1", &Project::mPasteY, true),
        field("Forms", "PasteW", F::Long, "500", &Project::mPasteW, true),
        field("Forms", "HeaderX", F::Long, "-1", &Project::mHdrX, true),
        field("Forms", "HeaderY", F::Long, "-1", &Project::mHdrY, true),
        field("Forms", "ShowCPY", F::YN, "Y", &Project::mCopyPaste, true),
        field("Forms", "HidePW", F::YN, "N", &Project::mHidePassword, true),
        field("Picklist", "MRUPicklist", F::YN, "N", &Project::mMRUPicklist, true),
        field("Picklist", "StdPicklist", F::YN, "Y", &Project::mDistPickStd, true),
        field("Warnings", "ChangeWarning", F::YN, "N", &Project::mChangeWarning, true),
        field("Options", "LumivarkFn", F::YN, "N", &Project::mbLumivark, true),
        field("Options", "LumivarkNoLetter", F::YN, "Y", &Project::mbLumivarkNoLetter, true),
        field("Options", "IgnoreEnter", F::YN, "N", &Project::mIgnoreEnter, true),
        field("Options", "SkipSurname", F::YN, "N", &Project::mSkip, true),
        field("Warnings", "IgnoreAaD", F::YN, "N", &Project::mIgnoreAaD, true),
    };
    return keys;
}

// The keys in the order of the load. A key's place in this list (from 1) is
// the line number that a message about its value gives. "BatchName"
// (Startup) and "Batchname" (Batch) are two keys: names are matched exactly.
const std::vector<const Project::SettingKey *> &Project::loadOrder()
{
    static const std::vector<const SettingKey *> order = [] {
        const char *const names[] = {
            "FilesFolderpath", "DistrictFileVersion", "SuppFile1", "SuppFile2", "SuppFile3",
            "SuppFile4", "Warn1Char", "BatchName", "DistPick", "OverSize", "ForePick", "ForeWarn",
            "ForeGhost", "DistGhost", "AllCaps", "CapSpouse", "CapMother", "CapForename",
            "AutoTab", "VerticalTab", "DistUpCase", "DistLowCase", "DistLeaveCase", "DistNameCase",
            "DoBUpCase", "DoBLowCase", "DoBLeaveCase", "DontFormatPaste", "DontFormatPick",
            "SavePath", "ScanPath", "ScanFile", "MovePick", "KeepVisible", "MoveState",
            "MRUPicklist", "LumivarkFn", "LumivarkNoLetter", "StdPicklist", "DropDownPick",
            "OversizeDrop", "IgnoreEnter", "IgnoreOddChars", "SkipSurname", "PeriodSpace", "Beep",
            "PageWarned", "DistWarned", "RulerTrace", "ShowFullPathname", "IgnoreAaD", "Stripes",
            "NotUsedChars", "InitialHelp", "RowNumbering", "PickLeft", "PickTop", "PickHeight",
            "PickWidth", "PickRows", "CPHeight", "CPWidth", "CPSize", "ScanHeight", "ScanWidth",
            "ScanTop", "ScanLeft", "ScanBackC", "Rotate", "ScanTextC", "RuleColour", "RuleWidth",
            "RuleJump", "ScrollX1", "ScrollY1", "SeeThru", "AutoMoveRuler", "ScanZoom",
            "RestoreCols", "F1Top", "F1Left", "F1Height", "F1Width", "ColWidth5", "ColWidth6",
            "Port", "WebSite", "Ping", "FontName", "FontSize", "FontBold", "FontItal",
            "ForeColour", "PFontName", "PFontSize", "PFontBold", "PFontItal", "PForeColour",
            "ChangeWarning", "ZelType", "BatchYear", "BatchQtr", "Batchname", "BatchNo",
            "BatchStarted", "BatchModified", "BatchSrceType", "BatchRef", "BatchVolFmt",
            "BatchComment", "BatchPage", "BatchLetter", "BatchSuffix", "CreditName",
            "CreditEmail", "CreditType", "Submitter", "Password", "SubEmail", "Syndicate",
            "Transcriber", "DoBQtr", "MomQtr", "SpouseQtr", "CpyPaste", "ShowCPY", "HidePW",
            "PasteX", "PasteY", "PasteW", "HeaderX", "HeaderY", "GridQuality",
        };
        std::vector<const SettingKey *> list;
        for (const char *name : names) {
            const QString key = QString::fromLatin1(name);
            const SettingKey *found = nullptr;
            for (const SettingKey &k : settingKeys()) {
                if (k.key == key && k.load)
                    found = &k;
            }
            if (!found)
                qFatal("The settings load names a key the table does not have: %s", name);
            list.push_back(found);
        }
        // Every key that can be read is read, once.
        const auto readable = std::count_if(settingKeys().begin(), settingKeys().end(),
                                            [](const SettingKey &k) { return bool(k.load); });
        std::vector<const SettingKey *> unique = list;
        std::sort(unique.begin(), unique.end());
        if (std::unique(unique.begin(), unique.end()) != unique.end()
            || qsizetype(list.size()) != qsizetype(readable))
            qFatal("The settings load order and the key table disagree");
        return list;
    }();
    return order;
}

bool Project::Setup()
{
    mBatchnumber = -1;
    mColType = 0;
    const bool loaded = GetRegistryValues();
    mWrongPageletter = false;
    mGreyScale = false;
    mDistValidate = true;
    mPageValidate = true;
    ClearHeadLines();
    mScanOn = false;
    return loaded;
}

bool Project::GetRegistryValues()
{
    // With no data folder known there is no file to read: every key takes
    // its default, rather than a settings file appearing in the current
    // folder.
    QString path;
    if (!mDataPath.isEmpty()) {
        const QDir data(mDataPath);
        path = data.filePath(kSettingsFile);
        if (!QFileInfo::exists(path) && QFileInfo::exists(data.filePath(kOldSettingsFile)))
            path = data.filePath(kOldSettingsFile);
        if (QFileInfo(path).isFile() && SettingsFileDamaged(path)
            && SetAsideDamagedSettings(data, path)) {
            // Made afresh below, as on a first start.
            ClearIniStore();
            path = data.filePath(kSettingsFile);
        }
        if (!QFileInfo::exists(path)) {
            for (const QString &section : kSections) {
                // The store has told the transcriber; once is enough.
                if (!WriteProfileSection(section, QString(), path))
                    break;
            }
        }
        // A file that could not be created leaves every key at its default:
        // the options must still make sense for the rest of the run.
        if (!QFileInfo::exists(path))
            path.clear();
    }

    int line = 0;
    for (const SettingKey *k : loadOrder()) {
        ++line;
        const QString fallback = k->defaultFor(*this);
        QString raw = fallback;
        if (!path.isEmpty()) {
            bool readable = true;
            raw = GetProfileString(path, k->section, k->key, fallback, &readable);
            if (!readable) {
                reportLoadError(PathFileAccess, 0);
                return false;
            }
        }
        Decoded value = decode(k->form, raw);
        // A value that cannot be read must not stop every later start: the
        // transcriber is told, the key takes its default, the load goes on.
        if (value.error != NoError) {
            reportLoadError(value.error, line);
            value = decode(k->form, fallback);
        }
        k->load(*this, value.value);
    }
    return true;
}

bool Project::SetRegistryValues(bool)
{
    if (mDataPath.isEmpty())
        return false;

    SaveSharedSetting(kApp, QStringLiteral("Startup"), QStringLiteral("App.Path"), programFolder());
    SaveSharedSetting(kApp, QStringLiteral("Startup"), QStringLiteral("AppVersion"), versionText());

    const bool mainWindow = IsFormLoaded(QStringLiteral("Form1"));
    if (mainWindow && mPasteWindow) {
        mPasteList = mPasteWindow->GetList();
        const QRect place = mPasteWindow->geometryTwips();
        mPasteX = place.x();
        mPasteY = place.y();
        mPasteW = place.width();
    }

    const QDir data(mDataPath);
    const QString path = data.filePath(kSettingsFile);
    for (const SettingKey &k : settingKeys()) {
        if (!k.save || (k.withMainWindow && !mainWindow))
            continue;
        WriteProfileString(path, k.section, k.key, encode(k.form, k.save(*this)));
    }
    if (!SaveiniFile(path))
        return false;
    // Only now is the older file's content safely in the new one.
    const QString old = data.filePath(kOldSettingsFile);
    if (QFileInfo(old).isFile())
        QFile::remove(old);
    return true;
}
