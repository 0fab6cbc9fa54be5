// The nine paste texts without their window: the stored list read and
// written as the settings file holds it, blanks-only texts read as empty,
// texts a one-line box or a batch file cannot take refused with their
// reason, and the list's round trip through the real settings file.

#include "PelkarTest.h"
#include "TestFiles.h"

#include "core/FormRegistry.h"
#include "core/Globals.h"
#include "core/Project.h"
#include "core/SettingsFileStore.h"
#include "entry/PasteTextList.h"

#include <QDir>

using namespace TestFiles;

namespace {

QStringList nine(std::initializer_list<QString> first)
{
    QStringList texts(first);
    while (texts.size() < PasteTextList::kCount)
        texts.append(QString());
    return texts;
}

// The paste window as the settings save reads it.
class PasteWindow final : public PasteWindowSource
{
public:
    PasteTextList list;
    QRect place{1200, 2400, 4800, 2460};
    QString GetList() const override { return list.GetList(); }
    QRect geometryTwips() const override { return place; }
};

} // namespace

class tst_PasteTextList : public PelkarTest
{
    Q_OBJECT

private slots:
    void storedListLoads_data()
    {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<QStringList>("texts");

        QTest::newRow("stored-default-single-blanks") << " , , , , , , , , , " << nine({});
        QTest::newRow("empty-setting") << "" << nine({});
        QTest::newRow("ten-fields-loads-first-nine")
            << "\"1\",\"2\",\"3\",\"4\",\"5\",\"6\",\"7\",\"8\",\"9\",\"10\""
            << QStringList{"1", "2", "3", "4", "5", "6", "7", "8", "9"};
        QTest::newRow("fewer-fields-rest-empty") << "\"Kent\",\"Ann\"" << nine({"Kent", "Ann"});
        QTest::newRow("comma-inside-quotes-does-not-split")
            << "\"Smith, John\",\"x\"" << nine({"Smith, John", "x"});
        QTest::newRow("blanks-only-quoted-is-empty") << "\"   \",\"a\"" << nine({"", "a"});
        QTest::newRow("inner-blanks-kept") << "\" St Ives \"" << nine({" St Ives "});
        QTest::newRow("hand-edited-tab-dropped") << "\"Ann\tLee\",\"b\"" << nine({"AnnLee", "b"});
    }

    void storedListLoads()
    {
        QFETCH(QString, stored);
        QFETCH(QStringList, texts);
        PasteTextList list;
        list.SetList(stored);
        QCOMPARE(list.texts(), texts);
        for (int n = 1; n <= PasteTextList::kCount; ++n) {
            QCOMPARE(list.GetItem(n), texts.at(n - 1));
            QCOMPARE(list.Line(n), QString::number(n) + ". " + texts.at(n - 1));
        }
    }

    void storedForm_data()
    {
        QTest::addColumn<QStringList>("texts");
        QTest::addColumn<QString>("stored");

        QTest::newRow("all-empty") << nine({}) << "\"\",\"\",\"\",\"\",\"\",\"\",\"\",\"\",\"\"";
        QTest::newRow("first-only") << nine({"Kent"}) << "\"Kent\",\"\",\"\",\"\",\"\",\"\",\"\",\"\",\"\"";
        QTest::newRow("comma-and-blanks")
            << nine({"", "Smith, John", " ", "a b "})
            << "\"\",\"Smith, John\",\"\",\"a b \",\"\",\"\",\"\",\"\",\"\"";
    }

    void storedForm()
    {
        QFETCH(QStringList, texts);
        QFETCH(QString, stored);
        PasteTextList list;
        for (int n = 1; n <= PasteTextList::kCount; ++n)
            list.setItem(n, texts.at(n - 1));
        QCOMPARE(list.GetList(), stored);

        PasteTextList back;
        back.SetList(stored);
        QCOMPARE(back.texts(), list.texts());
    }

    void itemsOutsideOneToNine()
    {
        PasteTextList list;
        list.SetList("\"a\",\"b\",\"c\",\"d\",\"e\",\"f\",\"g\",\"h\",\"i\"");
        for (int n : {0, 10, -1, 100})
            QCOMPARE(list.GetItem(n), QString());
        list.setItem(0, "x");
        list.setItem(10, "x");
        QCOMPARE(list.GetList(), QString("\"a\",\"b\",\"c\",\"d\",\"e\",\"f\",\"g\",\"h\",\"i\""));
        QCOMPARE(list.GetItem(9), QString("i"));
    }

    void newTextRules_data()
    {
        QTest::addColumn<int>("n");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("refusal");

        const QString oneLine = "Item #%1 can only hold one line of text, without tabs or "
                                "line breaks, so it was not changed.";
        const QString cannotStore
            = "Pelkar can't store the character \"%1\" in its files, so item #%2 was not changed.";
        QTest::newRow("plain") << 1 << "Kent" << "";
        QTest::newRow("empty") << 1 << "" << "";
        QTest::newRow("accents-of-the-code-page") << 2 << "Zoë Müller, Œuvre €" << "";
        QTest::newRow("tab") << 3 << "Ann\tLee" << oneLine.arg(3);
        QTest::newRow("carriage-return") << 4 << "Ann\rLee" << oneLine.arg(4);
        QTest::newRow("line-feed") << 9 << "Ann\nLee" << oneLine.arg(9);
        QTest::newRow("outside-code-page") << 5 << "Łódź" << cannotStore.arg("Ł").arg(5);
        QTest::newRow("outside-code-page-not-first") << 6 << "Ann ą" << cannotStore.arg("ą").arg(6);
        QTest::newRow("emoji-named-whole") << 7 << "a😀" << cannotStore.arg("😀").arg(7);
    }

    void newTextRules()
    {
        QFETCH(int, n);
        QFETCH(QString, text);
        QFETCH(QString, refusal);
        QCOMPARE(PasteTextList::Refusal(n, text), refusal);
    }

    void doubleQuotesRemoved()
    {
        QCOMPARE(PasteTextList::WithoutDoubleQuotes("the \"old\" mill\""),
                 QString("the old mill"));
    }

    // Nine texts, one of them blank and one with a comma, written into the
    // settings file by the save and read back by the next run's load.
    void settingsFileRoundTrip()
    {
        ClearIniStore();
        ProgramObjects::createEvents();
        ProgramObjects::createProject();
        const QString data = homePath("data");
        QVERIFY(QDir().mkpath(data));
        gProject->setDataPath(data);
        QVERIFY(gProject->Setup());

        const QStringList texts{"Kent", "", "Smith, John", "Zoë", "   ", "St. Ives",
                                "a-b", "O'Neill", "Ann Mary"};
        PasteWindow window;
        for (int n = 1; n <= 9; ++n)
            window.list.setItem(n, texts.at(n - 1));
        gProject->setPasteWindowSource(&window);
        QObject form1;
        RegisterForm(&form1, "Form1");
        QVERIFY(gProject->SetRegistryValues());
        gProject->setPasteWindowSource(nullptr);

        const QByteArray bytes = readBytes(QDir(data).filePath("Pelkarini.txt"));
        // Windows-1252 in the file: one byte for the ë.
        const QByteArray line = QByteArray("CpyPaste=\"Kent\",\"\",\"Smith, John\",\"Zo")
                                + char(0xEB)
                                + "\",\"\",\"St. Ives\",\"a-b\",\"O'Neill\",\"Ann Mary\"";
        QVERIFY2(bytes.contains("\r\n" + line + "\r\n"), bytes.constData());
        QVERIFY(bytes.contains("\r\nPasteX=1200\r\nPasteY=2400\r\nPasteW=4800\r\n"));

        ClearIniStore();
        ProgramObjects::createProject();
        gProject->setDataPath(data);
        QVERIFY(gProject->Setup());
        PasteTextList back;
        back.SetList(gProject->PasteList());
        QCOMPARE(back.texts(), (QStringList{"Kent", "", "Smith, John", "Zoë", "", "St. Ives",
                                            "a-b", "O'Neill", "Ann Mary"}));
        QCOMPARE(gProject->PasteX(), 1200);
        QCOMPARE(gProject->PasteY(), 2400);
        QCOMPARE(gProject->PasteW(), 4800);
        ClearIniStore();
    }
};

PELKAR_TEST(tst_PasteTextList)
#include "tst_PasteTextList.moc"
