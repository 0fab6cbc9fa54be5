// The batch file's header lines: the bytes written for each source type,
// reading them back, every message the reader gives, the field quoting, the
// page letter carried by a file name, and the copies to and from the header
// form.

#include "PelkarTest.h"
#include "TestFiles.h"

#include "core/Globals.h"
#include "core/LineReader.h"
#include "core/Project.h"
#include "core/clsEvents.h"
#include "transcription/Change_Monitor.h"

#include <QDir>
#include <QFile>

#include <map>

using namespace TestFiles;

namespace {

const QString kCrLf = QStringLiteral("\r\n");
const QDate kToday(2026, 3, 14); // the scripted clock's date

// A header as the transcriber fills it in.
struct HeaderCase
{
    int event = 0;
    int year = 0;
    int quarter = 0;
    int source = 0;
    int vnf = 0;
    QString user;
    QString syndicate;
    QString email;
    QString batchName;
    QDate started;
    QString surnameCase;
    bool autoTab = false;
    QString letter;
    int batch = 0;
    QString ref;
    QString page;
    QString comment;
    QString creditName;
    QString creditEmail;
    QString creditType;
};

const std::map<QString, HeaderCase> &headerCases()
{
    static const std::map<QString, HeaderCase> cases = [] {
        HeaderCase fiche{1, 1911, 3, 1, 1, "Ann Smith", "Wessex", "ann@example.org",
                         "1911B3A0123.ZEL", QDate(2026, 3, 2), "U", true, "A", 12, "Fiche 12",
                         "123", {}, {}, {}, {}};
        HeaderCase ficheCredit = fiche;
        ficheCredit.comment = "Pages 1, 2 and 3 faint";
        ficheCredit.creditName = "Smith, Ann";
        ficheCredit.creditEmail = "ann@example.org";
        ficheCredit.creditType = "Checker, first pass";

        HeaderCase film{2, 1970, 1, 2, 2, "Bob Jones", "North, East", "bob@example.org",
                        "1970D1B2345.ZEL", QDate(2026, 1, 1), "L", false, "B", 250, "Film 7",
                        "2345", {}, {}, {}, {}};
        HeaderCase filmCredit = film;
        filmCredit.comment = "Checked twice, no gaps";
        filmCredit.creditName = "Bob Jones";
        filmCredit.creditEmail = "bob@example.org";
        filmCredit.creditType = "Transcriber";

        HeaderCase scan{3, 1912, 4, 3, 3, QStringLiteral("Cara L\u00e9e"), "Scanners", "",
                        "1912M4C0045.ZEL", QDate(2025, 12, 31), "U", true, "C", 0,
                        "Scan, box 4", "45", {}, {}, {}, {}};
        HeaderCase scanCredit = scan;
        scanCredit.comment = "Faint";
        scanCredit.creditName = "Lee, Cara";
        // A comma in the e-mail must not shift the credit type.
        scanCredit.creditEmail = "cara,lee@example.org";
        scanCredit.creditType = "Scan, check";

        HeaderCase none{1, 1950, 2, 0, 1, "Dan Roe", "Solo", "dan@example.org",
                        "1950B2D0001.ZEL", QDate(2026, 2, 10), "M", true, "D", 5,
                        "not written without a source", "1", {}, {}, {}, {}};
        HeaderCase noneCredit = none;
        noneCredit.comment = "Home copy";
        noneCredit.creditName = "Dan Roe"; // only a name: the other two fields stay empty

        return std::map<QString, HeaderCase>{
            {"header-fiche", fiche}, {"header-fiche-credit", ficheCredit},
            {"header-film", film},   {"header-film-credit", filmCredit},
            {"header-scan", scan},   {"header-scan-credit", scanCredit},
            {"header-none", none},   {"header-none-credit", noneCredit},
        };
    }();
    return cases;
}

void apply(Project &p, const HeaderCase &c)
{
    p.setEventType(c.event);
    p.setIYear(c.year);
    p.setQtr(c.quarter);
    p.setSourceType(c.source);
    p.setIVnf(c.vnf);
    p.setUserID(c.user);
    p.setSyndicate(c.syndicate);
    p.setEmail(c.email);
    p.setBatchName(c.batchName);
    p.setBatchStarted(c.started);
    p.setBatchModified(kToday);
    p.setSurnameCase(c.surnameCase);
    p.setAutoTab(c.autoTab);
    p.setPageLetter(c.letter);
    p.setBatchnumber(c.batch);
    p.setSourceRef(c.ref);
    p.setPage(c.page);
    p.setCommentLine(c.comment);
    p.setCreditName(c.creditName);
    p.setCreditEmail(c.creditEmail);
    p.setCreditType(c.creditType);
}

QString dateText(const QDate &d)
{
    return d.toString(Qt::ISODate);
}

QString yesNo(bool b)
{
    return b ? QStringLiteral("true") : QStringLiteral("false");
}

// Everything the reader can set, as "name=value".
std::map<QString, QString> snapshot(const Project &p)
{
    std::map<QString, QString> s{
        {"EventType", QString::number(p.EventType())},
        {"iYear", QString::number(p.iYear())},
        {"iQtr", QString::number(p.iQtr())},
        {"SourceType", QString::number(p.SourceType())},
        {"SourceRef", p.SourceRef()},
        {"Batchnumber", QString::number(p.Batchnumber())},
        {"BatchName", p.BatchName()},
        {"Page", p.Page()},
        {"PageLetter", p.PageLetter()},
        {"iVnf", QString::number(p.iVnf())},
        {"UserID", p.UserID()},
        {"Syndicate", p.Syndicate()},
        {"email", p.email()},
        {"CreditName", p.CreditName()},
        {"CreditEmail", p.CreditEmail()},
        {"CreditType", p.CreditType()},
        {"CommentLine", p.CommentLine()},
        {"CodePage", p.CodePage()},
        {"BatchStarted", dateText(p.BatchStarted())},
        {"BatchModified", dateText(p.BatchModified())},
        {"NoPageLetter", yesNo(p.NoPageLetter())},
        {"Invalid", yesNo(p.Invalid())},
    };
    for (int n = 1; n <= 5; ++n)
        s[QStringLiteral("HeadLine%1").arg(n)] = yesNo(p.HeadLineGet(n));
    return s;
}

QStringList asLines(const std::map<QString, QString> &s)
{
    QStringList lines;
    for (const auto &[key, value] : s)
        lines << key + u'=' + value;
    return lines;
}

// Clears what ClearHeader keeps too, so that a read must supply it.
void clearEverything(Project &p)
{
    p.ClearHeader();
    p.setBatchName(QString());
    p.setBatchnumber(-1);
    p.setUserID(QString());
    p.setSyndicate(QString());
    p.setEmail(QStringLiteral("left@over"));
    p.setBatchStarted(QDate());
    p.setBatchModified(QDate());
    p.setNoPageLetter(false);
}

// A record as "kind style title [buttons]: prompt", so that a failed
// comparison shows every part at once.
QString recordText(const MessageRecord &r)
{
    QString text = r.kind + u' ' + QString::number(r.style) + u' ' + r.title;
    if (!r.buttons.isEmpty())
        text += QStringLiteral(" [") + r.buttons.join(u'|') + u']';
    return text + QStringLiteral(": ") + r.prompt;
}

QStringList recordTexts(const Script &script)
{
    QStringList texts;
    for (const MessageRecord &r : script.records())
        texts << recordText(r);
    return texts;
}

QString critical(const QString &prompt)
{
    return QStringLiteral("box 16 Pelkar: ") + prompt;
}

QString unknownLine(const QString &line)
{
    return QStringLiteral("custom 32515 Pelkar [Ok|Cancel]: Unknown line in File - ") + line
           + kCrLf + QStringLiteral("Click Ok to ignore this line, or Cancel to abort this load");
}

QString missingFields(const QString &line)
{
    return QStringLiteral("box 48 Input Error: ") + line + kCrLf + kCrLf
           + QStringLiteral("This line has missing field(s), you need to check the header details")
           + kCrLf + QStringLiteral("Please do that with Edit Header once I've finished loading");
}

QString cannotRead(const QString &line)
{
    return critical(QStringLiteral("That file's header cannot be read - this line has missing "
                                   "fields or a number I cannot use:")
                    + kCrLf + line);
}

const QString kMissingDetails = critical(
    QStringLiteral("That File has details missing from the Header section.\r\n"
                   "When the Data Lines have been read I will display the Header Screen\r\n"
                   "Please use that to enter the missing details."));
const QString kYearOutOfRange =
    critical(QStringLiteral("Year out of range 1837-2999 in Project File - Changed to 1837"));
// The batch named from its header because the file's own name for it would
// lead out of the save folder.
QString nameRefused(const QString &refused, const QString &named)
{
    return critical(QStringLiteral("The file name in the header, ") + refused
                    + QStringLiteral(", is not a plain file name and has not been used.\r\n"
                                     "The batch is named ")
                    + named + QStringLiteral(" from its header details instead."));
}
const QString kNotInfo = critical(
    QStringLiteral("That is not a valid file - The first line does not start with +INFO."));

// A complete header followed by one data line. Indexes: 0 "+INFO", 1 "#"
// batch line, 2 "#" comment line, 3 source line, 4 "+PAGE", 5 data.
const QStringList kBase = {
    QStringLiteral("+INFO,ann@example.org,Password,SEQUENCED,BIRTHS"),
    QStringLiteral("#,9z,Ann Smith,Wessex,1911B3A0123.ZEL,2-Mar-2026,Y,Y,N,A,12,7.4"),
    QStringLiteral("#,"),
    QStringLiteral("+F,1911,Sep,,12,Fiche 12,5-Mar-2026"),
    QStringLiteral("+PAGE,123"),
    QStringLiteral("1,SMITH,John,Bath,5c,123"),
};

QStringList replaced(int index, const QString &line)
{
    QStringList lines = kBase;
    lines[index] = line;
    return lines;
}

QStringList inserted(int index, const QString &line)
{
    QStringList lines = kBase;
    lines.insert(index, line);
    return lines;
}

} // namespace

class tst_HeaderLines : public PelkarTest
{
    Q_OBJECT

protected:
    void setUpCase() override
    {
        ProgramObjects::createEvents();
        ProgramObjects::createProject();
        ProgramObjects::createChangeMonitor();
        const QString data = homePath(QStringLiteral("data"));
        QVERIFY(QDir().mkpath(data));
        gProject->setDataPath(data);
    }

private slots:
    // ---- Writing and reading back ---------------------------------------------

    void goldenHeader_data()
    {
        QTest::addColumn<QString>("caseName");
        for (const auto &[name, header] : headerCases())
            QTest::newRow(qPrintable(name)) << name;
    }

    void goldenHeader()
    {
        QFETCH(QString, caseName);
        const HeaderCase &header = headerCases().at(caseName);
        Project &p = *gProject;
        apply(p, header);
        const auto written = snapshot(p);

        QStringList lines;
        const int sizeBefore = p.FileSize();
        const int count = p.BuildHeaderLines(lines);
        const QByteArray expected = readBytes(fixture(caseName + QStringLiteral("/expected.txt")));
        QCOMPARE(JoinCrLf(lines), expected);
        QCOMPARE(count, int(lines.size()));
        const bool hasCredit = !header.creditName.isEmpty();
        QCOMPARE(count, hasCredit ? 6 : 5);
        // The line ends are not counted.
        QCOMPARE(p.FileSize() - sizeBefore, int(expected.size()) - 2 * count);
        for (int n = 1; n <= 5; ++n)
            QVERIFY(p.HeadLineGet(n));

        clearEverything(p);
        const bool noSource = header.source == 0;
        if (noSource)
            script->answer({QStringLiteral("Ok"), QStringLiteral("Ok")});
        LineReader reader(expected);
        p.GetProjFromFile(reader);
        QVERIFY(reader.atEnd());

        auto want = written;
        if (noSource) {
            // A source line without a tag is not a header line: the
            // transcriber is asked about it, and the header comes back
            // without year, quarter and source.
            QCOMPARE(recordTexts(*script),
                     QStringList({unknownLine(lines[3]), kMissingDetails}));
            want["iYear"] = "0";
            want["iQtr"] = "0";
            want["SourceType"] = "0";
            want["SourceRef"] = "";
            want["BatchModified"] = "";
            want["HeadLine4"] = "false";
        } else {
            QVERIFY(script->records().isEmpty());
        }
        for (int n = 1; n <= 5; ++n)
            want[QStringLiteral("HeadLine%1").arg(n)] = n == 4 && noSource ? "false" : "true";
        QCOMPARE(asLines(snapshot(p)), asLines(want));

        if (!noSource) {
            QStringList again;
            p.BuildHeaderLines(again);
            QCOMPARE(JoinCrLf(again), expected);
        }
    }

    void buildProjLineKindsOutsideTheHeader()
    {
        apply(*gProject, headerCases().at("header-fiche"));
        QCOMPARE(gProject->BuildProjLine(0), QString());
        QCOMPARE(gProject->BuildProjLine(7), QString());
        QCOMPARE(gProject->BuildProjLine(5), QString()); // no credit
        QCOMPARE(gProject->BuildProjLine(6), QStringLiteral("+PAGE,123"));
    }

    void creditLine_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("email");
        QTest::addColumn<QString>("type");
        QTest::addColumn<QString>("line");
        QTest::addColumn<QStringList>("readBack"); // name, e-mail, type

        QTest::newRow("all-empty-no-line") << "" << "" << "" << "" << QStringList{"", "", ""};
        QTest::newRow("spaces-only-no-line")
            << "  " << " " << "   " << "" << QStringList{"", "", ""};
        QTest::newRow("only-a-name") << "Ann" << "" << "" << "+CREDIT,Ann,,"
                                     << QStringList{"Ann", "", ""};
        QTest::newRow("only-a-type") << "" << "" << "Checker" << "+CREDIT,,,Checker"
                                     << QStringList{"", "", "Checker"};
        QTest::newRow("fields-trimmed") << " Ann " << " a@b.c " << " Typist "
                                        << "+CREDIT,Ann,a@b.c,Typist"
                                        << QStringList{"Ann", "a@b.c", "Typist"};
        QTest::newRow("comma-in-name-and-type")
            << "Smith, Ann" << "a@b.c" << "Checker, second"
            << "+CREDIT,\"Smith, Ann\",a@b.c,\"Checker, second\""
            << QStringList{"Smith, Ann", "a@b.c", "Checker, second"};
        QTest::newRow("comma-in-email-quoted")
            << "Ann" << "ann,smith@b.c" << "Typist" << "+CREDIT,Ann,\"ann,smith@b.c\",Typist"
            << QStringList{"Ann", "ann,smith@b.c", "Typist"};
        // A double quote would open a quoted run and swallow the type.
        QTest::newRow("quote-in-email-made-apostrophe")
            << "Ann" << "ann\"x@b.c" << "Typist" << "+CREDIT,Ann,ann'x@b.c,Typist"
            << QStringList{"Ann", "ann'x@b.c", "Typist"};
    }

    void creditLine()
    {
        QFETCH(QString, name);
        QFETCH(QString, email);
        QFETCH(QString, type);
        QFETCH(QString, line);
        QFETCH(QStringList, readBack);
        Project &p = *gProject;
        p.setCreditName(name);
        p.setCreditEmail(email);
        p.setCreditType(type);
        QCOMPARE(p.BuildProjLine(5), line);
        QStringList lines;
        QCOMPARE(p.BuildHeaderLines(lines), line.isEmpty() ? 5 : 6);
        if (line.isEmpty())
            return;

        p.ClearHeader();
        bool credit = false;
        bool recognised = true;
        QVERIFY(p.ParseHeaderLine(line, 5, credit, recognised));
        QVERIFY(credit);
        QVERIFY(!recognised);
        QCOMPARE(QStringList({p.CreditName(), p.CreditEmail(), p.CreditType()}), readBack);
        QCOMPARE(p.HeadLineCount(), 0);
    }

    void commentLine_data()
    {
        QTest::addColumn<QString>("comment");
        QTest::addColumn<QString>("line");
        QTest::addColumn<QString>("readBack");
        QTest::newRow("empty") << "" << "#," << "";
        QTest::newRow("plain") << "All clear" << "#,All clear" << "All clear";
        QTest::newRow("one-comma") << "Faint, page 3" << "#,\"Faint, page 3\"" << "Faint, page 3";
        QTest::newRow("five-commas-still-comment")
            << "a,b,c,d,e,f" << "#,\"a,b,c,d,e,f\"" << "a,b,c,d,e,f";
        QTest::newRow("inner-quotes-become-apostrophes")
            << "\"Said \"faint\", twice\"" << "#,\"Said 'faint', twice\"" << "Said 'faint', twice";
    }

    void commentLine()
    {
        QFETCH(QString, comment);
        QFETCH(QString, line);
        QFETCH(QString, readBack);
        Project &p = *gProject;
        p.setCommentLine(comment);
        QCOMPARE(p.BuildProjLine(3), line);
        p.ClearHeader();
        bool credit = true;
        bool recognised = false;
        QVERIFY(p.ParseHeaderLine(line, 3, credit, recognised));
        QVERIFY(recognised);
        QVERIFY(!credit);
        QVERIFY(p.HeadLineGet(3));
        QVERIFY(!p.HeadLineGet(2));
        QCOMPARE(p.CommentLine(), readBack);
    }

    void batchLineFlags_data()
    {
        QTest::addColumn<QString>("surnameCase");
        QTest::addColumn<bool>("autoTab");
        QTest::addColumn<int>("vnf");
        QTest::addColumn<QString>("flags"); // fields 1 and 6 to 8
        QTest::newRow("upper-autotab-9z") << "U" << true << 1 << "9z Y Y N";
        QTest::newRow("lower-99") << "L" << false << 2 << "99 N N N";
        QTest::newRow("mixed-xx") << "M" << true << 3 << "XX N Y N";
        QTest::newRow("no-format") << "U" << false << 0 << " Y N N";
    }

    void batchLineFlags()
    {
        QFETCH(QString, surnameCase);
        QFETCH(bool, autoTab);
        QFETCH(int, vnf);
        QFETCH(QString, flags);
        Project &p = *gProject;
        p.setSurnameCase(surnameCase);
        p.setAutoTab(autoTab);
        p.setIVnf(vnf);
        const QStringList fields = p.BuildProjLine(2).split(u',');
        QCOMPARE(fields.size(), 12);
        QCOMPARE(QStringList({fields[1], fields[6], fields[7], fields[8]}).join(u' '), flags);
        QCOMPARE(fields[11],
                 QStringLiteral("%1.%2").arg(PELKAR_VERSION_MAJOR).arg(PELKAR_VERSION_MINOR));
    }

    // ---- Reading: messages and values -------------------------------------------

    void getProjFromFile_data()
    {
        QTest::addColumn<QStringList>("lines");
        QTest::addColumn<QStringList>("answers"); // to the unknown-line questions
        QTest::addColumn<QStringList>("messages");
        QTest::addColumn<bool>("invalid");
        QTest::addColumn<QStringList>("state"); // "name=value" to check

        const QStringList none;
        QTest::newRow("complete-header-no-messages")
            << kBase << none << none << false
            << QStringList{"EventType=1", "email=ann@example.org", "iVnf=1", "UserID=Ann Smith",
                           "Syndicate=Wessex", "BatchName=1911B3A0123.ZEL",
                           "BatchStarted=2026-03-02", "PageLetter=A", "Batchnumber=12",
                           "CommentLine=", "iYear=1911", "iQtr=3", "SourceType=1",
                           "SourceRef=Fiche 12", "BatchModified=2026-03-05", "Page=123",
                           "CodePage=", "NoPageLetter=false"};

        // "+INFO" line
        QTest::newRow("event-word-unknown")
            << replaced(0, "+INFO,ann@example.org,Password,SEQUENCED,BIRTH") << none
            << QStringList{critical("Invalid Event Type in Project File - Marriages assumed")}
            << false << QStringList{"EventType=3"};
        QTest::newRow("event-word-lower-case")
            << replaced(0, "+INFO,ann@example.org,Password,SEQUENCED,births") << none
            << QStringList{critical("Invalid Event Type in Project File - Marriages assumed")}
            << false << QStringList{"EventType=3"};
        QTest::newRow("event-word-empty")
            << replaced(0, "+INFO,ann@example.org,Password,SEQUENCED,") << none
            << QStringList{critical("Invalid Event Type in Project File - Marriages assumed")}
            << false << QStringList{"EventType=3"};
        QTest::newRow("info-code-page-lower-cased")
            << replaced(0, "+INFO,ann@example.org,Password,SEQUENCED,DEATHS,CP1252") << none
            << none << false << QStringList{"EventType=2", "CodePage=cp1252"};
        QTest::newRow("info-tag-lower-case")
            << replaced(0, "+info,ann@example.org,Password,SEQUENCED,BIRTHS") << none << none
            << false << QStringList{"EventType=1", "HeadLine1=true"};
        QTest::newRow("info-after-spaces")
            << replaced(0, "   +INFO,ann@example.org,Password,SEQUENCED,BIRTHS") << none << none
            << false << QStringList{"EventType=1", "HeadLine1=true"};
        QTest::newRow("info-too-few-fields")
            << replaced(0, "+INFO,ann@example.org,Password,SEQUENCED") << none
            << QStringList{cannotRead("+INFO,ann@example.org,Password,SEQUENCED")} << true
            << QStringList{"HeadLine2=false", "Page="};
        QTest::newRow("info-second-is-unknown-ok")
            << inserted(1, "+INFO,bob@example.org,Password,SEQUENCED,DEATHS")
            << QStringList{"Ok"}
            << QStringList{unknownLine("+INFO,bob@example.org,Password,SEQUENCED,DEATHS")}
            << false << QStringList{"EventType=1", "email=ann@example.org", "Page=123"};

        // First line
        QTest::newRow("first-line-batch-line") << kBase.mid(1) << none << QStringList{kNotInfo}
                                               << true
                                               << QStringList{"HeadLine2=false", "UserID="};
        QTest::newRow("first-line-credit")
            << inserted(0, "+CREDIT,Ann,a@b.c,Typist") << none << QStringList{kNotInfo} << true
            << QStringList{"CreditName=", "HeadLine1=false"};
        QTest::newRow("first-line-blank") << inserted(0, "") << none << QStringList{kNotInfo}
                                          << true << QStringList{"HeadLine1=false"};

        // "#" batch line
        QTest::newRow("vnf-unknown")
            << replaced(1, "#,9y,Ann Smith,Wessex,1911B3A0123.ZEL,2-Mar-2026,Y,Y,N,A,12,7.4")
            << none << QStringList{critical("Invalid VFN in Project File - 9z assumed")} << false
            << QStringList{"iVnf=1"};
        QTest::newRow("vnf-lower-case-xx")
            << replaced(1, "#,xx,Ann Smith,Wessex,1911B3A0123.ZEL,2-Mar-2026,Y,Y,N,A,12,7.4")
            << none << none << false << QStringList{"iVnf=3"};
        QTest::newRow("start-date-invalid-today-silently")
            << replaced(1, "#,99,Ann Smith,Wessex,1911B3A0123.ZEL,30-Feb-2026,Y,Y,N,A,12,7.4")
            << none << none << false << QStringList{"iVnf=2", "BatchStarted=2026-03-14"};
        QTest::newRow("batch-line-ten-fields")
            << replaced(1, "#,9z,Ann Smith,Wessex,1911B3A0123.ZEL,2-Mar-2026,Y,Y,B,34") << none
            << none << false << QStringList{"PageLetter=B", "Batchnumber=34"};
        QTest::newRow("batch-line-nine-fields-letter-from-name")
            << replaced(1, "#,9z,Ann Smith,Wessex,1911B3C0123.ZEL,2-Mar-2026,Y,Y,N") << none
            << none << false << QStringList{"PageLetter=C", "Batchnumber=0"};
        QTest::newRow("batch-line-six-fields-hand-written")
            << replaced(1, "#,9z,Ann Smith,Wessex,11D3E0123.SCA,2-Mar-2026") << none << none
            << false
            << QStringList{"HeadLine2=true", "HeadLine3=true", "PageLetter=E", "Batchnumber=0",
                           "BatchName=11D3E0123.SCA", "CommentLine="};
        QTest::newRow("batch-line-lower-case-letter-dropped")
            << replaced(1, "#,9z,Ann Smith,Wessex,1911B3A0123.ZEL,2-Mar-2026,Y,Y,N,a,12,7.4")
            << none << QStringList{kMissingDetails} << false
            << QStringList{"PageLetter=", "NoPageLetter=true"};
        // The letter goes into the batch file's name: anything but one
        // letter would lead the name elsewhere.
        QTest::newRow("batch-line-letter-leading-out-dropped")
            << replaced(1, "#,9z,Ann Smith,Wessex,1911B3A0123.ZEL,2-Mar-2026,Y,Y,N,A/../../x,12,7.4")
            << none << QStringList{kMissingDetails} << false
            << QStringList{"PageLetter=", "NoPageLetter=true"};
        QTest::newRow("batch-line-two-letters-dropped")
            << replaced(1, "#,9z,Ann Smith,Wessex,1911B3A0123.ZEL,2-Mar-2026,Y,Y,N,AB,12,7.4")
            << none << QStringList{kMissingDetails} << false
            << QStringList{"PageLetter=", "NoPageLetter=true"};
        QTest::newRow("batch-line-no-letter-in-name")
            << replaced(1, "#,9z,Ann Smith,Wessex,Notes.txt,2-Mar-2026,Y,Y,N") << none
            << QStringList{kMissingDetails} << false
            << QStringList{"PageLetter=", "NoPageLetter=true", "Batchnumber=0"};
        QTest::newRow("batch-number-leading-digits")
            << replaced(1, "#,9z,Ann Smith,Wessex,1911B3A0123.ZEL,2-Mar-2026,Y,Y,N,A, 12b,7.4")
            << none << none << false << QStringList{"Batchnumber=12"};
        QTest::newRow("batch-number-not-a-number-is-0")
            << replaced(1, "#,9z,Ann Smith,Wessex,1911B3A0123.ZEL,2-Mar-2026,Y,Y,N,A,x,7.4")
            << none << none << false << QStringList{"Batchnumber=0"};
        QTest::newRow("batch-number-does-not-fit")
            << replaced(1, "#,9z,Ann Smith,Wessex,1911B3A0123.ZEL,2-Mar-2026,Y,Y,N,A,99999,7.4")
            << none
            << QStringList{cannotRead(
                   "#,9z,Ann Smith,Wessex,1911B3A0123.ZEL,2-Mar-2026,Y,Y,N,A,99999,7.4")}
            << true << QStringList{"HeadLine3=false"};
        // The batch name goes into save and delete paths: only a plain file
        // name is taken; anything else names the batch from the header.
        const auto withName = [](const QString &name) {
            return replaced(1, "#,9z,Ann Smith,Wessex," + name + ",2-Mar-2026,Y,Y,N,A,12,7.4");
        };
        for (const char *name : {"../x.ZEL", "/tmp/x.ZEL", "sub/x.ZEL", "..\\x.ZEL",
                                 "C:x.ZEL", "..", "1911B3A0123..ZEL"}) {
            QTest::newRow(qPrintable(QStringLiteral("batch-name-refused-") + name))
                << withName(name) << none
                << QStringList{nameRefused(name, "1911B3A0123.ZEL")} << false
                << QStringList{"BatchName=1911B3A0123.ZEL", "PageLetter=A", "Page=123"};
        }
        QTest::newRow("batch-name-refused-without-page-line")
            << withName("../x.ZEL").first(4) << none
            << QStringList{nameRefused("../x.ZEL", "1911B3A0000.ZEL"), kMissingDetails} << false
            << QStringList{"BatchName=1911B3A0000.ZEL"};
        QStringList badPage = withName("../x.ZEL");
        badPage[4] = QStringLiteral("+PAGE,1/../../x");
        QTest::newRow("batch-name-refused-page-not-plain-either")
            << badPage << none
            << QStringList{critical("The file name in the header, ../x.ZEL, is not a plain file "
                                    "name and has not been used.\r\n"
                                    "Please give the batch its details with Edit Header.")}
            << false << QStringList{"BatchName="};
        QTest::newRow("batch-name-plain-kept")
            << withName("Pages 12-13.zel") << none << none << false
            << QStringList{"BatchName=Pages 12-13.zel"};
        QTest::newRow("quoted-name-with-comma-keeps-fields")
            << replaced(1, "#,9z,\"Smith, Ann\",Wessex,1911B3A0123.ZEL,2-Mar-2026,Y,Y,N,A,12,7.4")
            << none << none << false
            << QStringList{"UserID=Smith, Ann", "Syndicate=Wessex", "Batchnumber=12"};

        // Source line
        QTest::newRow("year-below-range")
            << replaced(3, "+F,1836,Sep,,12,Fiche 12,5-Mar-2026") << none
            << QStringList{kYearOutOfRange}
            << false << QStringList{"iYear=1837"};
        QTest::newRow("year-above-range")
            << replaced(3, "+M,3000,Sep,,12,Fiche 12,5-Mar-2026") << none
            << QStringList{kYearOutOfRange}
            << false << QStringList{"iYear=1837", "SourceType=2"};
        QTest::newRow("year-range-ends-accepted")
            << replaced(3, "+F,2999,Sep,,12,Fiche 12,5-Mar-2026") << none << none << false
            << QStringList{"iYear=2999"};
        QTest::newRow("year-not-a-number")
            << replaced(3, "+F,19x1,Sep,,12,Fiche 12,5-Mar-2026") << none
            << QStringList{cannotRead("+F,19x1,Sep,,12,Fiche 12,5-Mar-2026")} << true
            << QStringList{"HeadLine5=false", "Page="};
        QTest::newRow("year-does-not-fit-16-bits")
            << replaced(3, "+F,40000,Sep,,12,Fiche 12,5-Mar-2026") << none
            << QStringList{cannotRead("+F,40000,Sep,,12,Fiche 12,5-Mar-2026")} << true
            << QStringList{"Page="};
        QTest::newRow("quarter-unknown")
            << replaced(3, "+F,1911,Spr,,12,Fiche 12,5-Mar-2026") << none
            << QStringList{critical("Invalid Quarter in Project File - March assumed")} << false
            << QStringList{"iQtr=1"};
        QTest::newRow("last-change-date-invalid")
            << replaced(3, "+F,1911,Sep,,12,Fiche 12,31-Feb-2026") << none
            << QStringList{critical("Invalid Last Change Date in Project File - Today assumed")}
            << false << QStringList{"BatchModified=2026-03-14"};
        QTest::newRow("every-source-value-wrong-in-order")
            << replaced(3, "+F,1200,Foo,,12,Fiche 12,never") << none
            << QStringList{kYearOutOfRange,
                           critical("Invalid Quarter in Project File - March assumed"),
                           critical("Invalid Last Change Date in Project File - Today assumed")}
            << false << QStringList{"iYear=1837", "iQtr=1", "BatchModified=2026-03-14"};
        QTest::newRow("fiche-line-six-fields")
            << replaced(3, "+F,1911,Sep,,12,Fiche 12") << none
            << QStringList{missingFields("+F,1911,Sep,,12,Fiche 12"),
                           critical("Invalid Last Change Date in Project File - Today assumed")}
            << false << QStringList{"SourceRef=Fiche 12", "BatchModified=2026-03-14"};
        QTest::newRow("scan-line-missing-fields")
            << replaced(3, "+S,1911,Sep") << none
            << QStringList{missingFields("+S,1911,Sep"),
                           critical("Invalid Last Change Date in Project File - Today assumed"),
                           kMissingDetails}
            << false << QStringList{"SourceType=3", "SourceRef=", "iQtr=3"};
        QTest::newRow("scan-line-lower-case-quarter")
            << replaced(3, "+S,1911,sep,Box 4,5-Mar-2026") << none << none << false
            << QStringList{"SourceType=3", "iQtr=3", "SourceRef=Box 4",
                           "BatchModified=2026-03-05"};
        QTest::newRow("scan-tag-lower-case-only-flag")
            << replaced(3, "+s,1911,Sep,Box 4,5-Mar-2026") << none
            << QStringList{kMissingDetails} << false
            << QStringList{"HeadLine4=true", "SourceType=0", "iYear=0", "iQtr=0", "SourceRef="};
        QTest::newRow("source-tag-b-only-flag")
            << replaced(3, "+B,1911,Sep,,12,Fiche 12,5-Mar-2026") << none
            << QStringList{kMissingDetails} << false
            << QStringList{"HeadLine4=true", "SourceType=0", "iYear=0"};
        QTest::newRow("source-reference-empty-incomplete")
            << replaced(3, "+F,1911,Sep,,12,,5-Mar-2026") << none << QStringList{kMissingDetails}
            << false << QStringList{"SourceRef=", "HeadLine5=true"};

        // "+CREDIT" line
        QTest::newRow("credit-line-not-counted")
            << inserted(4, "+CREDIT,\"Smith, Ann\",a@b.c,\"Checker, first\"") << none << none
            << false
            << QStringList{"CreditName=Smith, Ann", "CreditEmail=a@b.c",
                           "CreditType=Checker, first"};
        QTest::newRow("credit-tag-lower-case")
            << inserted(4, "+credit,Ann") << none << none << false
            << QStringList{"CreditName=Ann", "CreditEmail=", "CreditType="};
        QTest::newRow("credit-after-spaces-is-unknown")
            << inserted(4, " +CREDIT,Ann,a@b.c,Typist") << QStringList{"Ok"}
            << QStringList{unknownLine(" +CREDIT,Ann,a@b.c,Typist")} << false
            << QStringList{"CreditName="};

        // Unknown lines
        QTest::newRow("unknown-line-ok")
            << inserted(2, "Stray text") << QStringList{"Ok"}
            << QStringList{unknownLine("Stray text")} << false
            << QStringList{"Page=123", "HeadLine3=true"};
        QTest::newRow("unknown-line-cancel")
            << inserted(2, "Stray text") << QStringList{"Cancel"}
            << QStringList{unknownLine("Stray text")} << true
            << QStringList{"HeadLine3=false", "Page="};
        QTest::newRow("one-field-line-is-unknown")
            << inserted(2, "#") << QStringList{"Ok"} << QStringList{unknownLine("#")} << false
            << QStringList{"HeadLine3=true"};
        QTest::newRow("no-page-line-data-lines-unknown")
            << QStringList{kBase[0], kBase[1], kBase[2], kBase[3], "1,SMITH,John", "2,JONES,Mary"}
            << QStringList{"Ok", "Ok"}
            << QStringList{unknownLine("1,SMITH,John"), unknownLine("2,JONES,Mary"),
                           kMissingDetails}
            << false << QStringList{"HeadLine5=false", "Page="};

        // Whole files
        QTest::newRow("empty-file") << QStringList() << none << QStringList{kMissingDetails}
                                    << false << QStringList{"HeadLine1=false"};
        QTest::newRow("page-first-header-complete-later")
            << QStringList{kBase[0], kBase[4], kBase[1], kBase[2], kBase[3]} << none
            << QStringList{kMissingDetails} << false
            << QStringList{"Page=123", "HeadLine2=false"};
    }

    void getProjFromFile()
    {
        QFETCH(QStringList, lines);
        QFETCH(QStringList, answers);
        QFETCH(QStringList, messages);
        QFETCH(bool, invalid);
        QFETCH(QStringList, state);

        Project &p = *gProject;
        clearEverything(p);
        p.setInvalid(!invalid); // the read must set it either way
        gChangeMonitor->Changed();
        // Every box is acknowledged; the unknown-line questions take the
        // row's answers in turn.
        qsizetype nextAnswer = 0;
        for (const QString &message : messages)
            script->answer(message.startsWith(QLatin1String("custom")) ? answers.value(nextAnswer++)
                                                                       : QStringLiteral("Ok"));

        LineReader reader(JoinCrLf(lines));
        p.GetProjFromFile(reader);

        QCOMPARE(recordTexts(*script), messages);
        QCOMPARE(p.Invalid(), invalid);
        QVERIFY(!gChangeMonitor->AnyChange());
        QVERIFY(!gChangeMonitor->CellChanged());
        const auto now = snapshot(p);
        for (const QString &check : state) {
            const QString key = check.section(u'=', 0, 0);
            QVERIFY2(now.count(key), qPrintable(key));
            QCOMPARE(key + u'=' + now.at(key), check);
        }
    }

    void readingStopsAtTheFirstPageLine()
    {
        QStringList lines = kBase;
        lines << QStringLiteral("+PAGE,999");
        LineReader reader(JoinCrLf(lines));
        gProject->GetProjFromFile(reader);
        QVERIFY(!gProject->Invalid());
        QCOMPARE(gProject->Page(), QStringLiteral("123"));
        QCOMPARE(reader.readLine(), kBase[5]);
        QCOMPARE(reader.readLine(), QStringLiteral("+PAGE,999"));
        QVERIFY(reader.atEnd());
    }

    void abandonedReadLeavesTheTraceFileOpen()
    {
        gProject->Tracing();
        script->answer(QStringLiteral("Cancel"));
        LineReader reader(JoinCrLf(inserted(1, QStringLiteral("Stray text"))));
        gProject->GetProjFromFile(reader);
        QVERIFY(gProject->Invalid());
        gProject->TraceLine(QStringLiteral("after the abandoned read"));
        ProgramObjects::releaseAll(); // closes the trace file
        const QByteArray trace = readBytes(homePath(QStringLiteral("data/PelkarTrace")));
        QVERIFY2(trace.contains("after the abandoned read"), trace.constData());
    }

    // The work-file restore feeds stored header records one at a time.
    void parseHeaderLineHandsBackUnreadableLines_data()
    {
        QTest::addColumn<QString>("line");
        QTest::newRow("info-four-fields") << "+INFO,a@b.c,Password,SEQUENCED";
        QTest::newRow("info-two-fields") << "+INFO,a@b.c";
        QTest::newRow("scan-year-empty") << "+S,,Sep,Box,5-Mar-2026";
        QTest::newRow("film-year-decimal") << "+M,1911.5,Sep,,1,Film,5-Mar-2026";
    }

    void parseHeaderLineHandsBackUnreadableLines()
    {
        QFETCH(QString, line);
        Project &p = *gProject;
        p.ClearHeader();
        p.setInvalid(false);
        bool credit = true;
        bool recognised = true;
        QVERIFY(!p.ParseHeaderLine(line, 1, credit, recognised));
        QVERIFY(p.Invalid());
        QVERIFY(!credit);
        QVERIFY(!recognised);
        // The caller says it in its own words.
        QVERIFY(script->records().isEmpty());
    }

    // The work file's header records end with the "+PAGE" line, which names
    // a batch whose own name was refused.
    void headerRecordsNameARefusedBatch()
    {
        Project &p = *gProject;
        clearEverything(p);
        p.setBatchName(QStringLiteral("open.ZEL"));
        script->answer(QStringLiteral("Ok"));
        for (const QString &line : replaced(1, "#,9z,Ann Smith,Wessex,/etc/x.ZEL,2-Mar-2026,Y,Y,N,"
                                               "A,12,7.4").first(5)) {
            bool credit = false;
            bool recognised = false;
            QVERIFY(p.ParseHeaderLine(line, 1, credit, recognised));
            QVERIFY(recognised);
            if (!line.startsWith(QLatin1String("+PAGE")))
                QVERIFY(p.BatchName().isEmpty() || line.startsWith(QLatin1String("+INFO")));
        }
        QCOMPARE(recordTexts(*script), QStringList{nameRefused("/etc/x.ZEL", "1911B3A0123.ZEL")});
        QCOMPARE(p.BatchName(), QStringLiteral("1911B3A0123.ZEL"));

        // A header cleared before its "+PAGE" line leaves nothing pending.
        script->clearRecords();
        bool credit = false;
        bool recognised = false;
        QVERIFY(p.ParseHeaderLine(kBase[1].section(u',', 0, 3) + ",../y.ZEL,2-Mar-2026", 1, credit,
                                  recognised));
        p.ClearHeader();
        QVERIFY(p.ParseHeaderLine(kBase[4], 1, credit, recognised));
        QVERIFY(p.BatchName().isEmpty());
        QVERIFY(script->records().isEmpty());
    }

    void plainFileName_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("plain");
        QTest::newRow("own-naming") << "1911B3A0123.ZEL" << true;
        QTest::newRow("sibling-naming") << "PB0123.112" << true;
        QTest::newRow("spaces-and-hyphen") << "Pages 12-13.zel" << true;
        QTest::newRow("leading-dot") << ".hidden.ZEL" << true;
        QTest::newRow("empty") << "" << false;
        QTest::newRow("parent-folder") << "../x.ZEL" << false;
        QTest::newRow("parent-only") << ".." << false;
        QTest::newRow("absolute") << "/tmp/x.ZEL" << false;
        QTest::newRow("sub-folder") << "Output/x.ZEL" << false;
        QTest::newRow("windows-separator") << "Output\\x.ZEL" << false;
        QTest::newRow("windows-drive") << "C:x.ZEL" << false;
        QTest::newRow("double-dot-inside") << "x..ZEL" << false;
    }

    void plainFileName()
    {
        QFETCH(QString, name);
        QFETCH(bool, plain);
        QCOMPARE(Project::IsPlainFileName(name), plain);
    }

    // ---- Quoting and file names ---------------------------------------------------

    void quoteField_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("field");
        QTest::newRow("plain") << "Ann Smith" << "Ann Smith";
        QTest::newRow("empty") << "" << "";
        QTest::newRow("spaces-only") << "   " << "";
        QTest::newRow("trimmed") << "  Ann  " << "Ann";
        QTest::newRow("tab-kept") << "\tAnn" << "\tAnn";
        QTest::newRow("comma-enclosed") << "Smith, Ann" << "\"Smith, Ann\"";
        QTest::newRow("outer-quotes-dropped") << "\"Ann\"" << "Ann";
        QTest::newRow("outer-quotes-after-trim") << "  \"Ann\"  " << "Ann";
        QTest::newRow("leading-quote-only") << "\"Ann" << "Ann";
        QTest::newRow("trailing-quote-only") << "Ann\"" << "Ann";
        QTest::newRow("lone-quote") << "\"" << "";
        QTest::newRow("spaces-inside-quotes-kept") << "\" Ann \"" << " Ann ";
        QTest::newRow("inner-pair-to-apostrophes") << "\"He said \"hi\" twice\""
                                                   << "He said 'hi' twice";
        QTest::newRow("inner-pair-and-comma") << "\"He said \"hi\", twice\""
                                              << "\"He said 'hi', twice\"";
        QTest::newRow("already-quoted-comma") << "\"Smith, Ann\"" << "\"Smith, Ann\"";
        QTest::newRow("doubled-outer-quotes-one-pair-dropped") << "\"\"Ann\"\"" << "'Ann'";
    }

    void quoteField()
    {
        QFETCH(QString, text);
        QFETCH(QString, field);
        QCOMPARE(Project::QuoteField(text), field);
    }

    void pageLetterFromFileName_data()
    {
        QTest::addColumn<QString>("fileName");
        QTest::addColumn<QString>("letter");
        QTest::newRow("own-naming") << "1911B3A0123.ZEL" << "A";
        QTest::newRow("sibling-naming") << "11B3A0123.SCA" << "A";
        QTest::newRow("no-event-letter") << "1911X3A0123.ZEL" << "";
        QTest::newRow("no-year") << "Notes.txt" << "";
        QTest::newRow("lower-case-upper-cased") << "1911d3b0123.zel" << "B";
        QTest::newRow("marriages-no-extension") << "1912M4C0045" << "C";
        QTest::newRow("letter-is-blank-zero") << "1970D100007.ZEL" << "";
        QTest::newRow("too-short") << "11B3A.SCA" << "";
        QTest::newRow("six-characters-no-letter-place") << "1911B3.ZEL" << "";
        QTest::newRow("only-last-extension-dropped") << "11B3A0.1.ZEL" << "A";
        QTest::newRow("dot-before-six-characters") << "11B3A.0123" << "";
        QTest::newRow("empty") << "" << "";
        QTest::newRow("non-ascii-letter") << QStringLiteral("1911B3\u00c90123.ZEL") << "";
    }

    void pageLetterFromFileName()
    {
        QFETCH(QString, fileName);
        QFETCH(QString, letter);
        QCOMPARE(Project::PageLetterFromFileName(fileName), letter);
    }

    void headerDates_data()
    {
        QTest::addColumn<QDate>("date");
        QTest::addColumn<QString>("text");
        QTest::newRow("day-without-zero") << QDate(1911, 12, 9) << "9-Dec-1911";
        QTest::newRow("two-digit-day") << QDate(2026, 3, 14) << "14-Mar-2026";
        QTest::newRow("may") << QDate(1950, 5, 31) << "31-May-1950";
        QTest::newRow("never-set") << QDate() << "";
    }

    void headerDates()
    {
        QFETCH(QDate, date);
        QFETCH(QString, text);
        QCOMPARE(Project::FormatHeaderDate(date), text);
        QCOMPARE(Project::ParseHeaderDate(text), date);
        QCOMPARE(Project::ParseHeaderDate(QStringLiteral("  ") + text + QStringLiteral(" ")), date);
    }

    // ---- The header form ----------------------------------------------------------

    void showProject()
    {
        apply(*gProject, headerCases().at("header-fiche-credit"));
        gProject->setSubmitter(QStringLiteral("SUB1"));
        gProject->setPassword(QStringLiteral("secret"));
        gProject->setUserID(QStringLiteral(" Ann Smith ")); // shown as stored

        const HeaderFields f = gProject->ShowProject();
        QCOMPARE(gEvents->count(), 0);
        QCOMPARE(f.cboEvent, 1);
        QCOMPARE(f.cboQuarter, 3);
        QCOMPARE(f.cboSource, 1);
        QCOMPARE(f.cboVNF, 1);
        QCOMPARE(f.tbYear, QStringLiteral("1911"));
        QCOMPARE(f.tbPage, QStringLiteral("123"));
        QCOMPARE(f.tbPageLetter, QStringLiteral("A"));
        QVERIFY(f.batchVisible);
        QCOMPARE(f.tbBatch, QStringLiteral("12"));
        QCOMPARE(f.tbName, QStringLiteral(" Ann Smith "));
        QCOMPARE(f.tbSyndicate, QStringLiteral("Wessex"));
        QCOMPARE(f.tbEmail, QStringLiteral("ann@example.org"));
        QCOMPARE(f.tbSubmitterID, QStringLiteral("SUB1"));
        QCOMPARE(f.tbPassword, QStringLiteral("secret"));
        QCOMPARE(f.tbSourceRef, QStringLiteral("Fiche 12"));
        QCOMPARE(f.tbComments, QStringLiteral("Pages 1, 2 and 3 faint"));
        QCOMPARE(f.tbCreditName, QStringLiteral("Smith, Ann"));
        QCOMPARE(f.tbCreditEmail, QStringLiteral("ann@example.org"));
        QCOMPARE(f.tbCreditType, QStringLiteral("Checker, first pass"));
        QCOMPARE(f.lblCreated, QStringLiteral("2-Mar-2026"));
        QCOMPARE(f.lblUpdated, QStringLiteral("14-Mar-2026"));
        QCOMPARE(f.lblBatchID, QStringLiteral("1911B3A0123.ZEL"));
    }

    void showProjectRules_data()
    {
        QTest::addColumn<int>("event");
        QTest::addColumn<int>("quarter");
        QTest::addColumn<int>("source");
        QTest::addColumn<int>("vnf");
        QTest::addColumn<int>("year");
        QTest::addColumn<QDate>("started");
        QTest::addColumn<QString>("shown"); // event quarter source vnf|year|visible|created

        QTest::newRow("all-in-range") << 3 << 4 << 2 << 3 << 1837 << QDate(1911, 12, 9)
                                      << "3 4 2 3|1837|true|9-Dec-1911";
        QTest::newRow("year-below-1837-empty") << 1 << 1 << 1 << 1 << 1836 << QDate(2026, 1, 1)
                                               << "1 1 1 1||true|1-Jan-2026";
        QTest::newRow("out-of-range-none-chosen") << 4 << 5 << 4 << 4 << 1911 << QDate(2026, 1, 1)
                                                  << "0 0 0 0|1911|false|1-Jan-2026";
        QTest::newRow("zeros-none-chosen") << 0 << 0 << 0 << 0 << 0 << QDate(2026, 1, 1)
                                           << "0 0 0 0||false|1-Jan-2026";
        QTest::newRow("scan-hides-batch") << 1 << 1 << 3 << 1 << 1911 << QDate(2026, 1, 1)
                                          << "1 1 3 1|1911|false|1-Jan-2026";
        QTest::newRow("start-date-never-set-today") << 1 << 1 << 1 << 1 << 1911 << QDate()
                                                    << "1 1 1 1|1911|true|14-Mar-2026";
        QTest::newRow("start-date-1899-today") << 1 << 1 << 1 << 1 << 1911 << QDate(1899, 12, 30)
                                               << "1 1 1 1|1911|true|14-Mar-2026";
    }

    void showProjectRules()
    {
        QFETCH(int, event);
        QFETCH(int, quarter);
        QFETCH(int, source);
        QFETCH(int, vnf);
        QFETCH(int, year);
        QFETCH(QDate, started);
        QFETCH(QString, shown);
        Project &p = *gProject;
        p.setEventType(event);
        p.setQtr(quarter);
        p.setSourceType(source);
        p.setIVnf(vnf);
        p.setIYear(year);
        p.setBatchStarted(started);
        const HeaderFields f = p.ShowProject();
        const QString got = QStringLiteral("%1 %2 %3 %4|%5|%6|%7")
                                .arg(f.cboEvent)
                                .arg(f.cboQuarter)
                                .arg(f.cboSource)
                                .arg(f.cboVNF)
                                .arg(f.tbYear, yesNo(f.batchVisible), f.lblCreated);
        QCOMPARE(got, shown);
        QCOMPARE(p.BatchStarted(), started); // showing changes nothing
    }

    void store()
    {
        HeaderFields f;
        f.lblBatchID = QStringLiteral(" 1911B3A0123.ZEL");
        f.lblCreated = QStringLiteral("2-Mar-2026");
        f.lblUpdated = QStringLiteral("1-Jan-2000");
        f.cboEvent = 1;
        f.cboQuarter = 3;
        f.cboSource = 1;
        f.cboVNF = 2;
        f.tbYear = QStringLiteral(" 1911 ");
        f.tbPage = QStringLiteral(" 123 ");
        f.tbPageLetter = QStringLiteral(" A ");
        f.tbBatch = QStringLiteral("12");
        f.tbSourceRef = QStringLiteral(" Fiche 12 ");
        f.tbComments = QStringLiteral(" Faint, page 3 ");
        f.tbName = QStringLiteral(" Ann Smith ");
        f.tbEmail = QStringLiteral(" ann@example.org ");
        f.tbSyndicate = QStringLiteral(" Wessex ");
        f.tbSubmitterID = QStringLiteral(" SUB1 ");
        f.tbPassword = QStringLiteral(" secret ");
        f.tbCreditName = QStringLiteral(" Smith, Ann ");
        f.tbCreditEmail = QStringLiteral(" a@b.c ");
        f.tbCreditType = QStringLiteral(" Checker ");

        Project &p = *gProject;
        p.Store(f);
        QCOMPARE(p.BatchName(), QStringLiteral(" 1911B3A0123.ZEL")); // untrimmed
        QCOMPARE(p.EventType(), 1);
        QCOMPARE(p.iQtr(), 3);
        QCOMPARE(p.SourceType(), 1);
        QCOMPARE(p.iVnf(), 2);
        QCOMPARE(p.iYear(), 1911);
        QCOMPARE(p.Page(), QStringLiteral("123"));
        QCOMPARE(p.PageLetter(), QStringLiteral("A"));
        QCOMPARE(p.Batchnumber(), 12);
        QCOMPARE(p.SourceRef(), QStringLiteral("Fiche 12"));
        QCOMPARE(p.CommentLine(), QStringLiteral("Faint, page 3"));
        QString user, syndicate, mail, submitter, password;
        p.GetProjNames(user, syndicate, mail, submitter, password);
        QCOMPARE(QStringList({user, syndicate, mail, submitter, password}),
                 QStringList({"Ann Smith", "Wessex", "ann@example.org", "SUB1", "secret"}));
        QCOMPARE(QStringList({p.CreditName(), p.CreditEmail(), p.CreditType()}),
                 QStringList({"Smith, Ann", "a@b.c", "Checker"}));
        QCOMPARE(p.BatchStarted(), QDate(2026, 3, 2));
        QCOMPARE(p.BatchModified(), kToday);

        const QByteArray settings = readBytes(homePath(QStringLiteral("data/Pelkarini.txt")));
        QVERIFY2(settings.contains("\r\nBatchYear=1911\r\n"), settings.constData());
        QVERIFY(settings.contains("\r\nBatchRef=Fiche 12\r\n"));
        QVERIFY(settings.contains("\r\nTranscriber=Ann Smith\r\n"));
    }

    void storeRules_data()
    {
        QTest::addColumn<int>("source");
        QTest::addColumn<QString>("year");
        QTest::addColumn<QString>("batch");
        QTest::addColumn<QString>("letter");
        QTest::addColumn<QString>("created");
        QTest::addColumn<QString>("stored"); // year|batch|letter|started

        QTest::newRow("scan-batch-0") << 3 << "1911" << "12" << "B" << "2-Mar-2026"
                                      << "1911|0|B|2026-03-02";
        QTest::newRow("film-batch-kept") << 2 << "1911" << "250" << "B" << "2-Mar-2026"
                                         << "1911|250|B|2026-03-02";
        QTest::newRow("batch-leading-number") << 1 << "1911" << " 7x" << "B" << "2-Mar-2026"
                                              << "1911|7|B|2026-03-02";
        QTest::newRow("batch-too-large-0") << 1 << "1911" << "70000" << "B" << "2-Mar-2026"
                                           << "1911|0|B|2026-03-02";
        QTest::newRow("blank-letter-stays-empty") << 1 << "1911" << "1" << "  " << "2-Mar-2026"
                                                  << "1911|1||2026-03-02";
        QTest::newRow("letter-case-kept") << 1 << "1911" << "1" << "b" << "2-Mar-2026"
                                          << "1911|1|b|2026-03-02";
        QTest::newRow("year-not-a-number-0") << 1 << "19x1" << "1" << "B" << "2-Mar-2026"
                                             << "0|1|B|2026-03-02";
        QTest::newRow("year-empty-0") << 1 << "" << "1" << "B" << "2-Mar-2026"
                                      << "0|1|B|2026-03-02";
        QTest::newRow("created-unreadable-today") << 1 << "1911" << "1" << "B" << "soon"
                                                  << "1911|1|B|2026-03-14";
    }

    void storeRules()
    {
        QFETCH(int, source);
        QFETCH(QString, year);
        QFETCH(QString, batch);
        QFETCH(QString, letter);
        QFETCH(QString, created);
        QFETCH(QString, stored);
        HeaderFields f;
        f.cboSource = source;
        f.tbYear = year;
        f.tbBatch = batch;
        f.tbPageLetter = letter;
        f.lblCreated = created;
        Project &p = *gProject;
        p.Store(f);
        QCOMPARE(QStringLiteral("%1|%2|%3|%4")
                     .arg(p.iYear())
                     .arg(p.Batchnumber())
                     .arg(p.PageLetter(), dateText(p.BatchStarted())),
                 stored);
    }

    void storeWhatShowProjectShows()
    {
        Project &p = *gProject;
        apply(p, headerCases().at("header-film-credit"));
        p.setBatchModified(QDate(2026, 1, 5));
        auto before = snapshot(p);
        p.Store(p.ShowProject());
        auto after = snapshot(p);
        // Only the last change moves: the header was stored now.
        before["BatchModified"] = dateText(kToday);
        before["BatchName"] = "1970D1B2345.ZEL";
        QCOMPARE(asLines(after), asLines(before));
    }
};

PELKAR_TEST(tst_HeaderLines)
#include "tst_HeaderLines.moc"
