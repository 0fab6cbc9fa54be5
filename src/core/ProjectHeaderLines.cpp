// The batch file's header: the lines written before the data, the reader
// that takes them back into the header, and the copies to and from the
// header form.

#include "core/Project.h"

#include "core/Globals.h"
#include "core/LineReader.h"
#include "core/MessageWindows.h"
#include "core/ProjectHooks.h"
#include "core/Services.h"
#include "core/TextHelpers.h"
#include "core/VbHelpers.h"
#include "core/clsEvents.h"

#include <QLocale>

#include <limits>
#include <optional>

namespace {

const QString kCrLf = QStringLiteral("\r\n");
const QString kDateFormat = QStringLiteral("d-MMM-yyyy");

bool fitsInt16(qint64 value)
{
    return value >= std::numeric_limits<qint16>::min()
           && value <= std::numeric_limits<qint16>::max();
}

// A whole number of 16 bits, spaces around it allowed; nullopt for anything
// else (empty, letters, decimals, too large).
std::optional<int> wholeNumber16(const QString &text)
{
    bool ok = false;
    const qint64 value = VbTrim(text).toLongLong(&ok);
    if (!ok || !fitsInt16(value))
        return std::nullopt;
    return int(value);
}

// The leading whole number of the text, after any spaces: "12a" is 12, a
// text that does not start with one is 0. nullopt when it does not fit 16
// bits.
std::optional<int> leadingNumber16(const QString &text)
{
    const QString s = VbLTrim(text);
    qsizetype i = 0;
    bool negative = false;
    if (i < s.size() && (s[i] == u'-' || s[i] == u'+')) {
        negative = s[i] == u'-';
        ++i;
    }
    qint64 value = 0;
    for (; i < s.size() && s[i] >= u'0' && s[i] <= u'9'; ++i) {
        value = value * 10 + (s[i].unicode() - u'0');
        if (value > std::numeric_limits<qint16>::max() + 1)
            return std::nullopt;
    }
    if (negative)
        value = -value;
    if (!fitsInt16(value))
        return std::nullopt;
    return int(value);
}

QString eventWord(int eventType)
{
    switch (eventType) {
    case EventType::Births: return QStringLiteral("BIRTHS");
    case EventType::Deaths: return QStringLiteral("DEATHS");
    case EventType::Marriages: return QStringLiteral("MARRIAGES");
    default: return QString();
    }
}

QString quarterWord(int quarter)
{
    switch (quarter) {
    case Quarter::March: return QStringLiteral("Mar");
    case Quarter::June: return QStringLiteral("Jun");
    case Quarter::September: return QStringLiteral("Sep");
    case Quarter::December: return QStringLiteral("Dec");
    default: return QString();
    }
}

// The format as the "#" batch line writes it: "XX" in capitals, unlike vnf().
QString vnfWord(int format)
{
    switch (format) {
    case VolumeNumberFormat::Vnf9z: return QStringLiteral("9z");
    case VolumeNumberFormat::Vnf99: return QStringLiteral("99");
    case VolumeNumberFormat::Vnfxx: return QStringLiteral("XX");
    default: return QString();
    }
}

QString yesNo(bool on)
{
    return on ? QStringLiteral("Y") : QStringLiteral("N");
}

QString programVersion()
{
    return QString::number(PELKAR_VERSION_MAJOR) + u'.' + QString::number(PELKAR_VERSION_MINOR);
}

void headerValueMessage(const QString &text)
{
    ShowMessage(text, Mb::Critical, kProductName);
}

QDate today()
{
    return Services::clock().today();
}

} // namespace

// ---- Writing ---------------------------------------------------------------

QString Project::FormatHeaderDate(const QDate &date)
{
    // English month names whatever the user's locale: the server and older
    // installations read these files.
    return QLocale::c().toString(date, kDateFormat);
}

QDate Project::ParseHeaderDate(const QString &text)
{
    const QString s = VbTrim(text);
    if (s.isEmpty())
        return QDate();
    QDate date = QLocale::c().toDate(s, kDateFormat);
    // A file written by hand or by an installation that used the system's
    // month names.
    if (!date.isValid())
        date = QLocale::system().toDate(s, kDateFormat);
    if (!date.isValid())
        date = QLocale::system().toDate(s, QLocale::ShortFormat);
    return date;
}

QString Project::QuoteField(const QString &text)
{
    QString s = VbTrim(text);
    if (s.startsWith(u'"'))
        s.remove(0, 1);
    if (s.endsWith(u'"'))
        s.chop(1);
    s.replace(u'"', u'\'');
    if (s.contains(u','))
        s = u'"' + s + u'"';
    return s;
}

QString Project::BuildProjLine(int n) const
{
    const QString comma = QStringLiteral(",");
    switch (n) {
    case 1:
        return QStringLiteral("+INFO,") + QuoteField(email())
               + QStringLiteral(",Password,SEQUENCED,") + eventWord(EventType());
    case 2:
        return QStringLiteral("#,") + vnfWord(iVnf()) + comma + QuoteField(UserID()) + comma
               + QuoteField(Syndicate()) + comma + BatchName() + comma
               + FormatHeaderDate(BatchStarted()) + comma
               + yesNo(SurnameCase() == QLatin1String("U")) + comma + yesNo(AutoTab())
               + QStringLiteral(",N,") + PageLetter() + comma + QString::number(Batchnumber())
               + comma + programVersion();
    case 3:
        return QStringLiteral("#,") + QuoteField(CommentLine());
    case 4: {
        const QString yearAndQuarter = QString::number(iYear()) + comma + quarterWord(iQtr());
        const QString written = FormatHeaderDate(today());
        switch (SourceType()) {
        case SourceType::Fiche:
        case SourceType::Film:
            return (SourceType() == SourceType::Fiche ? QStringLiteral("+F,")
                                                      : QStringLiteral("+M,"))
                   + yearAndQuarter + QStringLiteral(",,") + QString::number(Batchnumber())
                   + comma + QuoteField(SourceRef()) + comma + written;
        case SourceType::Scan:
            return QStringLiteral("+S,") + yearAndQuarter + comma + QuoteField(SourceRef())
                   + comma + written;
        default:
            return yearAndQuarter + comma + written;
        }
    }
    case 5: {
        // The e-mail is written as it is unless it would split the line: a
        // comma or a double quote in it would shift the credit type.
        QString creditEmail = VbTrim(CreditEmail());
        if (creditEmail.contains(u',') || creditEmail.contains(u'"'))
            creditEmail = QuoteField(creditEmail);
        const QString fields = QuoteField(VbTrim(CreditName())) + comma + creditEmail + comma
                               + QuoteField(VbTrim(CreditType()));
        if (fields == QLatin1String(",,"))
            return QString();
        return QStringLiteral("+CREDIT,") + fields;
    }
    case 6:
        return QStringLiteral("+PAGE,") + PageNumber();
    default:
        return QString();
    }
}

int Project::BuildHeaderLines(QStringList &lines)
{
    lines.clear();
    for (int kind = 1; kind <= 4; ++kind)
        lines.append(BuildProjLine(kind));
    const QString credit = BuildProjLine(5);
    if (!credit.isEmpty())
        lines.append(credit);
    lines.append(BuildProjLine(6));

    int total = 0;
    for (const QString &line : lines)
        total += int(line.size());
    setFileSizeAddition(total);
    for (int kind = HeadLines::Info; kind <= HeadLines::PageLine; ++kind)
        HeadLineSet(kind);
    return int(lines.size());
}

// ---- Reading ---------------------------------------------------------------

QString Project::HeaderLineFault(const QString &line)
{
    return QStringLiteral("That file's header cannot be read - this line has missing fields "
                          "or a number I cannot use:")
           + kCrLf + line;
}

void Project::GetProjFromFile(LineReader &reader)
{
    if (projectHooks().dataSaved)
        projectHooks().dataSaved();
    if (projectHooks().clearChange)
        projectHooks().clearChange();

    int lineCount = 1;
    while (!reader.atEnd()) {
        const QString line = reader.readLine();
        if (lineCount == 1 && VbUCase(VbTrim(line).left(5)) != QLatin1String("+INFO")) {
            headerValueMessage(QStringLiteral(
                "That is not a valid file - The first line does not start with +INFO."));
            setInvalid(true);
            return;
        }

        bool credit = false;
        bool recognised = false;
        if (!ParseHeaderLine(line, lineCount, credit, recognised)) {
            headerValueMessage(HeaderLineFault(line));
            setInvalid(true);
            return;
        }

        if (recognised) {
            ++lineCount;
        } else if (!credit) {
            const QString answer = MyMsgBox(
                QStringLiteral("Unknown line in File - ") + line + kCrLf
                    + QStringLiteral("Click Ok to ignore this line, or Cancel to abort this load"),
                Mb::IconExclamation, kProductName,
                {QStringLiteral("Ok"), QStringLiteral("Cancel")});
            if (answer == QLatin1String("Cancel")) {
                setInvalid(true);
                return;
            }
            ++lineCount;
        }

        if (HeadLineGet(HeadLines::PageLine))
            break;
    }

    // A header without a "+PAGE" line has not named its batch yet.
    NameRefusedBatch();
    if (!HeaderIsComplete()) {
        headerValueMessage(
            QStringList{
                QStringLiteral("That File has details missing from the Header section."),
                QStringLiteral(
                    "When the Data Lines have been read I will display the Header Screen"),
                QStringLiteral("Please use that to enter the missing details."),
            }
                .join(kCrLf));
    }
    setInvalid(false);
}

bool Project::ParseHeaderLine(const QString &line, int lineNumber, bool &credit,
                              bool &recognised)
{
    Q_UNUSED(lineNumber)
    credit = false;
    recognised = false;

    if (VbUCase(line.left(7)) == QLatin1String("+CREDIT")) {
        QString name, mail, type;
        SplitCsvFields(line, name, mail, type);
        setCreditName(name);
        setCreditEmail(mail);
        setCreditType(type);
        credit = true;
        return true;
    }

    const QStringList fields = SplitQuoted(VbTrim(line), u',');
    if (fields.size() < 2)
        return true;
    // A missing field reads as empty.
    const auto field = [&fields](int i) { return fields.value(i); };
    const qsizetype count = fields.size();

    const QString tag = VbUCase(fields.first());
    if (tag == QLatin1String("+INFO")) {
        setNoPageLetter(false);
        if (HeadLineGet(HeadLines::Info))
            return true; // a second "+INFO" is an unknown line
        HeadLineSet(HeadLines::Info);
        if (count < 5) {
            setInvalid(true);
            return false;
        }
        setEmail(field(1));
        const QString word = field(4);
        int event = EventType::Marriages;
        if (word == QLatin1String("BIRTHS"))
            event = EventType::Births;
        else if (word == QLatin1String("DEATHS"))
            event = EventType::Deaths;
        else if (word != QLatin1String("MARRIAGES"))
            headerValueMessage(
                QStringLiteral("Invalid Event Type in Project File - Marriages assumed"));
        setEventType(event);
        const QString codePage = VbTrim(field(5));
        setCodePage(codePage);
    } else if (tag == QLatin1String("#") && count >= 6) {
        HeadLineSet(HeadLines::BatchLine);
        const QString format = VbUCase(field(1));
        int vnf = VolumeNumberFormat::Vnf9z;
        if (format == QLatin1String("XX"))
            vnf = VolumeNumberFormat::Vnfxx;
        else if (format == QLatin1String("99"))
            vnf = VolumeNumberFormat::Vnf99;
        else if (format != QLatin1String("9Z"))
            headerValueMessage(QStringLiteral("Invalid VFN in Project File - 9z assumed"));
        setIVnf(vnf);
        setUserID(field(2));
        setSyndicate(field(3));
        const QString name = field(4);
        if (name.isEmpty() || IsPlainFileName(name)) {
            setBatchName(name);
        } else {
            // Named once the header is read, from its fields.
            mRefusedBatchName = name;
            setBatchName(QString());
        }
        const QDate started = ParseHeaderDate(field(5));
        setBatchStarted(started.isValid() ? started : today());

        // Older files carry fewer fields: ten lack the "N" flag, six to nine
        // lack the letter and number, which the batch name then supplies.
        QString letter;
        std::optional<int> number = 0;
        if (count >= 11) {
            letter = VbTrim(field(9));
            number = leadingNumber16(VbTrim(field(10)));
        } else if (count == 10) {
            letter = VbTrim(field(8));
            number = leadingNumber16(VbTrim(field(9)));
        } else {
            letter = PageLetterFromFileName(field(4));
        }
        if (!number) {
            setInvalid(true);
            return false;
        }
        // Exactly one letter: the letter goes into the batch file's name.
        if (letter.size() != 1 || letter.at(0) < u'A' || letter.at(0) > u'Z')
            letter.clear();
        // Stored as read: the property's rule would turn an empty letter
        // into "0", which is not what the file says.
        mPageLetter = letter;
        if (VbTrim(letter).isEmpty())
            setNoPageLetter(true);
        setBatchnumber(*number);
    } else if (tag == QLatin1String("#")) {
        HeadLineSet(HeadLines::CommentLine);
        setCommentLine(field(1));
    } else if (tag == QLatin1String("+S") || tag == QLatin1String("+F")
               || tag == QLatin1String("+B") || tag == QLatin1String("+M")) {
        HeadLineSet(HeadLines::SourceLine);
        // The tag exactly as written: "+B" and lower-case tags only mark
        // the line as taken.
        const QString written = fields.first();
        int source = SourceType::None;
        if (written == QLatin1String("+F"))
            source = SourceType::Fiche;
        else if (written == QLatin1String("+M"))
            source = SourceType::Film;
        else if (written == QLatin1String("+S"))
            source = SourceType::Scan;
        if (source != SourceType::None) {
            const bool scan = source == SourceType::Scan;
            if (count < (scan ? 5 : 7)) {
                SystemMessageBox(line + kCrLf + kCrLf
                                     + QStringLiteral("This line has missing field(s), you need "
                                                      "to check the header details")
                                     + kCrLf
                                     + QStringLiteral("Please do that with Edit Header once "
                                                      "I've finished loading"),
                                 Mb::Exclamation, QStringLiteral("Input Error"));
            }
            const std::optional<int> year = wholeNumber16(field(1));
            if (!year) {
                setInvalid(true);
                return false;
            }
            if (*year < 1837 || *year > 2999) {
                headerValueMessage(QStringLiteral(
                    "Year out of range 1837-2999 in Project File - Changed to 1837"));
                setIYear(1837);
            } else {
                setIYear(*year);
            }

            const QString quarter = VbUCase(field(2));
            int qtr = Quarter::March;
            if (quarter == QLatin1String("JUN"))
                qtr = Quarter::June;
            else if (quarter == QLatin1String("SEP"))
                qtr = Quarter::September;
            else if (quarter == QLatin1String("DEC"))
                qtr = Quarter::December;
            else if (quarter != QLatin1String("MAR"))
                headerValueMessage(
                    QStringLiteral("Invalid Quarter in Project File - March assumed"));
            setQtr(qtr);

            setSourceType(source);
            setSourceRef(field(scan ? 3 : 5));
            const QDate changed = ParseHeaderDate(field(scan ? 4 : 6));
            if (changed.isValid()) {
                setBatchModified(changed);
            } else {
                headerValueMessage(QStringLiteral(
                    "Invalid Last Change Date in Project File - Today assumed"));
                setBatchModified(today());
            }
        }
    } else if (tag == QLatin1String("+PAGE")) {
        HeadLineSet(HeadLines::PageLine);
        setPage(field(1));
        NameRefusedBatch();
    } else {
        return true;
    }
    recognised = true;
    return true;
}

void Project::NameRefusedBatch()
{
    if (mRefusedBatchName.isEmpty())
        return;
    const QString refused = mRefusedBatchName;
    mRefusedBatchName.clear();
    // The page comes from the same file: the name made with it must be
    // plain too, or the batch stays without a name (which no save takes).
    const QString built = BuildBatchName();
    setBatchName(IsPlainFileName(built) ? built : QString());
    headerValueMessage(QStringLiteral("The file name in the header, ") + refused
                       + QStringLiteral(", is not a plain file name and has not been used.")
                       + kCrLf
                       + (BatchName().isEmpty()
                                  ? QStringLiteral("Please give the batch its details with Edit "
                                                   "Header.")
                                  : QStringLiteral("The batch is named ") + BatchName()
                                            + QStringLiteral(" from its header details instead.")));
}

QString Project::PageLetterFromFileName(const QString &fileName)
{
    QString name = fileName;
    const qsizetype dot = name.lastIndexOf(u'.');
    if (dot >= 0)
        name.truncate(dot);
    if (name.size() < 6)
        return QString();

    const auto allDigits = [](QStringView s) {
        for (const QChar c : s) {
            if (c < u'0' || c > u'9')
                return false;
        }
        return true;
    };
    // Four-digit years are the program's own names, two-digit years the
    // sibling program's.
    qsizetype eventAt = 0;
    qsizetype letterAt = 0;
    if (allDigits(QStringView(name).first(4))) {
        eventAt = 4;
        letterAt = 6;
    } else if (allDigits(QStringView(name).first(2))) {
        eventAt = 2;
        letterAt = 4;
    } else {
        return QString();
    }

    const QString event = VbUCase(name.mid(eventAt, 1));
    if (event != QLatin1String("B") && event != QLatin1String("D")
        && event != QLatin1String("M"))
        return QString();
    const QString letter = VbUCase(name.mid(letterAt, 1));
    if (letter.isEmpty() || letter < QLatin1String("A") || letter > QLatin1String("Z"))
        return QString();
    return letter;
}

// ---- The header form ---------------------------------------------------------

void Project::Store(const HeaderFields &fields)
{
    setBatchName(fields.lblBatchID);
    setEventType(fields.cboEvent);
    setCommentLine(VbTrim(fields.tbComments));
    setCreditName(VbTrim(fields.tbCreditName));
    setCreditEmail(VbTrim(fields.tbCreditEmail));
    setCreditType(VbTrim(fields.tbCreditType));
    setEmail(VbTrim(fields.tbEmail));
    setBatchModified(today());
    setQtr(fields.cboQuarter);
    // The form checks the year before it stores; anything else must not
    // become a plausible year.
    setIYear(wholeNumber16(fields.tbYear).value_or(0));
    setSubmitter(VbTrim(fields.tbSubmitterID));
    setPassword(VbTrim(fields.tbPassword));
    setSourceRef(VbTrim(fields.tbSourceRef));
    setSourceType(fields.cboSource);
    const QDate created = ParseHeaderDate(fields.lblCreated);
    setBatchStarted(created.isValid() ? created : today());
    setSyndicate(VbTrim(fields.tbSyndicate));
    setUserID(VbTrim(fields.tbName));
    setIVnf(fields.cboVNF);
    setPage(fields.tbPage);
    // The box's text as typed, without the property's "0" for a blank.
    mPageLetter = VbTrim(fields.tbPageLetter);
    setBatchnumber(fields.cboSource == SourceType::Scan
                       ? 0
                       : leadingNumber16(fields.tbBatch).value_or(0));
    SetRegistryValues();
}

HeaderFields Project::ShowProject() const
{
    // The form's change handlers must not take these values for the
    // transcriber's edits.
    EventsOffGuard quiet;

    const auto inRange = [](int value, int last) {
        return value >= 1 && value <= last ? value : 0;
    };
    HeaderFields f;
    f.cboEvent = inRange(EventType(), 3);
    f.cboQuarter = inRange(iQtr(), 4);
    f.cboSource = inRange(SourceType(), 3);
    f.cboVNF = inRange(iVnf(), 3);
    f.tbYear = iYear() < 1837 ? QString() : QString::number(iYear());
    f.tbPage = Page();
    f.tbPageLetter = VbTrim(PageLetter());
    f.batchVisible = SourceType() == SourceType::Fiche || SourceType() == SourceType::Film;
    f.tbBatch = QString::number(Batchnumber());
    GetProjNames(f.tbName, f.tbSyndicate, f.tbEmail, f.tbSubmitterID, f.tbPassword);
    f.tbSourceRef = SourceRef();
    f.tbComments = CommentLine();
    f.tbCreditName = CreditName();
    f.tbCreditEmail = CreditEmail();
    f.tbCreditType = CreditType();

    const auto shown = [](const QDate &date) {
        return date.isValid() && date.year() >= 1900 ? date : today();
    };
    f.lblCreated = FormatHeaderDate(shown(BatchStarted()));
    f.lblUpdated = FormatHeaderDate(shown(BatchModified()));
    // The form's own label shows this name until the transcriber changes a
    // field that is part of it; the form then builds it again.
    f.lblBatchID = BuildBatchName();
    return f;
}

void Project::GetProjNames(QString &userId, QString &syndicate, QString &mail,
                           QString &submitter, QString &password) const
{
    userId = mUserID;
    syndicate = mSyndicate;
    mail = mEmail;
    submitter = mSubmitter;
    password = mPassword;
}
