#include "header/HeaderRules.h"

#include "core/Project.h"
#include "core/VbHelpers.h"

#include <QStringList>

namespace HeaderRules {

namespace {

const QString kCrLf = QStringLiteral("\r\n");

bool isDigit(int c)
{
    return c >= '0' && c <= '9';
}
bool isUpper(int c)
{
    return c >= 'A' && c <= 'Z';
}
bool isLower(int c)
{
    return c >= 'a' && c <= 'z';
}
bool allDigits(const QString &text)
{
    if (text.isEmpty())
        return false;
    for (QChar c : text) {
        if (!isDigit(c.unicode()))
            return false;
    }
    return true;
}

// The leading whole number of a text, as the batch box holds it; 0 when it
// does not begin with a digit.
int leadingValue(const QString &text)
{
    const QString t = VbTrim(text);
    int n = 0;
    for (QChar c : t) {
        if (!isDigit(c.unicode()) || n > 99999)
            break;
        n = n * 10 + (c.unicode() - '0');
    }
    return n;
}

QString eventLetter(int eventType)
{
    switch (eventType) {
    case 1: return QStringLiteral("B");
    case 2: return QStringLiteral("D");
    case 3: return QStringLiteral("M");
    default: return QString();
    }
}

QString quarterDigit(int quarter)
{
    return quarter >= 1 && quarter <= 4 ? QString::number(quarter) : QString();
}

QString joinWarning(const QStringList &lines, const QString &closing)
{
    return lines.join(kCrLf) + kCrLf + kCrLf + closing;
}

} // namespace

int FilterKey(KeyField field, int keyAscii)
{
    const int c = keyAscii;
    switch (field) {
    case KeyField::Year:
        return (c <= 10 || isDigit(c)) ? c : 0;
    case KeyField::Batch:
        return (c <= 13 || isDigit(c)) ? c : 0;
    case KeyField::Page:
        return (c == 8 || isDigit(c) || isUpper(c) || isLower(c)) ? c : 0;
    case KeyField::PageLetter:
        if (isLower(c))
            return c - 'a' + 'A';
        return (c == 8 || isUpper(c)) ? c : 0;
    case KeyField::SubmitterID:
        return (c == 8 || isDigit(c) || isUpper(c) || isLower(c) || c == '-' || c == '_') ? c : 0;
    case KeyField::NoQuote:
        return c == '"' ? 0 : c;
    }
    return 0;
}

bool IsValidYear(const QString &text, int currentYear)
{
    if (text.size() != 4 || !allDigits(text))
        return false;
    const int y = text.toInt();
    return y >= kFirstYear && y <= currentYear;
}

int YearValue(const QString &text)
{
    const QString t = VbTrim(text);
    if (!allDigits(t) || t.size() > 6)
        return 0;
    return t.toInt();
}

int PresetVnf(int year)
{
    if (year <= 1851)
        return VolumeNumberFormat::None;
    if (year <= 1974)
        return VolumeNumberFormat::Vnf9z;
    return VolumeNumberFormat::Vnf99;
}

VnfChoice CheckVnfChoice(int year, int chosenVnf)
{
    VnfChoice choice;
    if (year <= 1851) {
        if (chosenVnf == VolumeNumberFormat::Vnf9z)
            choice.message = kPre1852Warning;
    } else if (year < 1974) {
        if (chosenVnf != VolumeNumberFormat::Vnf9z) {
            choice.beep = true;
            choice.message = kOnly9zMessage;
            choice.backTo9z = true;
        }
    } else if (chosenVnf != VolumeNumberFormat::Vnf99) {
        choice.beep = true;
        choice.message = k1974Warning;
    }
    return choice;
}

QString PageCheck(const QString &page)
{
    const QString t = VbTrim(page);
    if (t.isEmpty() || isDigit(t.at(0).unicode()))
        return QString();
    return kPageFirstNumeric;
}

bool CheckSubmitterIdChars(const QString &id)
{
    for (QChar c : VbUCase(id)) {
        const int u = c.unicode();
        if (!(isUpper(u) || isDigit(u) || u == '-' || u == '_'))
            return false;
    }
    return true;
}

bool AnyCredit(const HeaderFields &f)
{
    return !f.tbCreditName.isEmpty() || !f.tbCreditEmail.isEmpty() || !f.tbCreditType.isEmpty();
}

bool CreditPartial(const HeaderFields &f)
{
    const int given = int(!VbTrim(f.tbCreditName).isEmpty())
                      + int(!VbTrim(f.tbCreditEmail).isEmpty())
                      + int(!VbTrim(f.tbCreditType).isEmpty());
    return given != 0 && given != 3;
}

int FirstIncompleteStep(const HeaderFields &f, int currentYear)
{
    const auto empty = [](const QString &s) { return VbTrim(s).isEmpty(); };
    if (empty(f.tbPassword) && !empty(f.tbSubmitterID))
        return 1;
    if (!empty(f.tbPassword) && empty(f.tbSubmitterID))
        return 2;
    if (empty(f.tbName))
        return 3;
    if (empty(f.tbSyndicate))
        return 4;
    if (empty(f.tbSourceRef))
        return 5;
    if (f.cboEvent < 1 || f.cboEvent > 3)
        return 6;
    const bool creditFailed = CreditPartial(f); // step 7: noted, reported last
    if (!IsValidYear(VbTrim(f.tbYear), currentYear))
        return 8;
    if (f.cboQuarter < 1 || f.cboQuarter > 4)
        return 9;
    if (f.cboSource < 1 || f.cboSource > 3)
        return 10;
    if (f.batchVisible && empty(f.tbBatch))
        return 11;
    if (empty(f.tbPage))
        return 12;
    if (f.cboVNF < 1 || f.cboVNF > 3)
        return 13;
    if (empty(f.tbPageLetter))
        return 14;
    if (creditFailed)
        return 15;
    return 0;
}

QString PreviewBatchId(const HeaderFields &f, bool lumivark, bool noLetter)
{
    const QString letter = VbTrim(f.tbPageLetter);
    const QString page = VbTrim(f.tbPage);
    const QString event = eventLetter(f.cboEvent);
    const QString quarter = quarterDigit(f.cboQuarter);
    if (!lumivark) {
        QString name = f.tbYear + event + quarter + letter;
        if (!page.isEmpty())
            name += page.size() >= 4 ? page : QString(4 - page.size(), u'0') + page;
        return name + QStringLiteral(".ZEL");
    }

    const QString year = VbTrim(f.tbYear).size() > 1 ? f.tbYear.right(2) : QString();
    const QString siblingLetter = noLetter ? QString() : letter;
    const QString pagePart = VbTrim((QStringLiteral("0000") + page).right(4));
    switch (f.cboSource) {
    case SourceType::Scan:
        return year + event + quarter + siblingLetter + pagePart + QStringLiteral(".SCA");
    case SourceType::Fiche:
    case SourceType::Film: {
        QString name = QStringLiteral("P") + event + pagePart + u'.';
        if (!VbTrim(f.tbBatch).isEmpty()) {
            int number = leadingValue(f.tbBatch);
            if (number < 100)
                number += 100;
            name += QString::number(number);
        }
        return name;
    }
    default:
        return year + event + quarter + siblingLetter;
    }
}

QString EventTypeWarning(int newType, const StoredBatch &s)
{
    const QString old = s.zelLetter;
    const int mothersYear = Project::MothersYear();
    const int spouseYear = Project::SpouseYear();
    const QString toDeath =
        QStringLiteral("Converting to Death Event will result in problems in any data already "
                       "entered in this batch.");
    const QString blankAge =
        QStringLiteral("The field, Age at Death,or , Date of Birth will be blank.");
    QStringList lines;
    switch (newType) {
    case EventType::Births:
        if (old == u"D") {
            lines << QStringLiteral("Converting from Deaths to Births can result in Data Loss")
                  << QStringLiteral("If you have already entered data then the Age at Death or "
                                    "Date of Birth details will be lost.");
        } else if (old == u"M") {
            if (s.year >= mothersYear) {
                lines << QStringLiteral("Converting from Post-") + QString::number(mothersYear)
                                 + QStringLiteral(" Qtr") + QString::number(s.momsQtr)
                                 + QStringLiteral(" Marriages to Births can cause data corruption.")
                      << QStringLiteral("If the Births are Pre-") + QString::number(spouseYear)
                                 + QStringLiteral(" then any data entered as SpouseName will be lost.")
                      << QStringLiteral("If the Births are Post-") + QString::number(mothersYear)
                                 + QStringLiteral(" then any data entered as SpouseName will appear "
                                                  "as Mother's Name.");
            } else {
                lines << QStringLiteral("Converting from Pre-1912 Marriages to Births can cause "
                                        "data corruption.")
                      << QStringLiteral("If the Births are Pre-1912 then any data already entered "
                                        "will convert correctly.")
                      << QStringLiteral("If the Births are Post-1911 then any data already entered "
                                        "will have the Mother's Name blank.");
            }
        }
        break;
    case EventType::Deaths:
        if (old == u"B") {
            lines << toDeath << blankAge;
            if (s.year >= mothersYear)
                lines << QStringLiteral("The field Mother's Name will be lost.");
        } else if (old == u"M") {
            lines << toDeath << blankAge;
            if (s.year >= spouseYear)
                lines << QStringLiteral("The field Spouse's Name will be lost.");
        } else if (old == u"D") {
            lines << QStringLiteral("Death entries prior to 1969 Q") + QString::number(s.dobQtr)
                             + QStringLiteral(" held a field Age at Death, from then this")
                  << QStringLiteral("was replaced with Date of Birth.  If you go from one year "
                                    "range to the other then")
                  << QStringLiteral("the field will contain incorrect values.");
        }
        break;
    case EventType::Marriages:
        if (old == u"B") {
            if (s.year >= mothersYear) {
                lines << QStringLiteral("Converting from Post-1910 Births to Marriages can cause "
                                        "data corruption.")
                      << QStringLiteral("If the Marriages are Pre-1912 then any data entered as "
                                        "Mother's Name will be lost.")
                      << QStringLiteral("If the Marriages are Post-1911 then any data entered as "
                                        "Mother's Name will appear as Spouse's Name.");
            } else {
                lines << QStringLiteral("Converting from Pre-1911 Births to Marriages can cause "
                                        "data corruption.")
                      << QStringLiteral("If the Marriages are Pre-1912 then any data already "
                                        "entered will convert correctly.")
                      << QStringLiteral("If the Marriages are Post-1911 then any data already "
                                        "entered will have the Spouse's Name blank.");
            }
        }
        break;
    default:
        break;
    }
    if (lines.isEmpty())
        return QString();
    return joinWarning(lines, QStringLiteral("Please be sure that you really want to do this."));
}

QString YearRangeWarning(int eventType, const QString &newYearText, const StoredBatch &s)
{
    int threshold = 0;
    switch (eventType) {
    case EventType::Births: threshold = Project::MothersYear(); break;
    case EventType::Deaths: threshold = Project::DoBYear(); break;
    case EventType::Marriages: threshold = Project::SpouseYear(); break;
    default: return QString();
    }
    const int newYear = YearValue(newYearText);
    const bool crosses = (newYear < threshold) != (s.year < threshold);
    if (!crosses)
        return QString();
    const QString t = QString::number(threshold);
    const QString already =
        QStringLiteral("If you have entered any data already in this batch then after conversion "
                       "those");
    QStringList lines;
    switch (eventType) {
    case EventType::Births:
        if (!s.mother) {
            lines << QStringLiteral("Births from Quarter ") + QString::number(s.momsQtr) + u' ' + t
                             + QStringLiteral(" have an additional field - Mother's Name.")
                  << already << QStringLiteral("names will be blank.");
        } else {
            lines << QStringLiteral("Births prior to Quarter ") + QString::number(s.momsQtr) + u' '
                             + t + QStringLiteral(" do not have the field - Mother's Name.")
                  << already << QStringLiteral("names will be lost.");
        }
        break;
    case EventType::Deaths:
        lines << QStringLiteral("Deaths prior to Quarter ") + QString::number(s.dobQtr) + u' ' + t
                         + QStringLiteral(" had a field - Age at Death.")
              << QStringLiteral("From then this was replaced with Date of Birth.")
              << QStringLiteral("If you change from one year range to the other then this field may")
              << QStringLiteral("contain incorrect information.");
        break;
    default:
        if (!s.spouse) {
            lines << QStringLiteral("Marriages from Quarter ") + QString::number(s.spouseQtr) + u' '
                             + t + QStringLiteral(" have an additional field - Spouses's Name.")
                  << already << QStringLiteral("names will be blank.");
        } else {
            lines << QStringLiteral("Marriages prior to Quarter ") + QString::number(s.spouseQtr)
                             + u' ' + t + QStringLiteral(" do not have the field - Spouse's Name.")
                  << already << QStringLiteral("names will be lost.");
        }
        break;
    }
    return joinWarning(lines, QStringLiteral("Please be sure that you really want to do this!"));
}

QString NextPageNumber(const QString &page, int &length)
{
    const QString text = page.trimmed();
    bool ok = !text.isEmpty();
    for (const QChar c : text)
        ok = ok && c.isDigit() && c.unicode() < 128;
    // Ten digits and more are no page number; they would not fit the count.
    if (!ok || text.size() > 9)
        return QString();
    QString next = QString::number(text.toLongLong() + 1);
    if (next.size() > length)
        length = int(next.size());
    return next.rightJustified(length, u'0');
}

} // namespace HeaderRules
