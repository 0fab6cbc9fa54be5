// The service registry and the scripted message service that every other
// test relies on.

#include "PelkarTest.h"

#include "core/Globals.h"
#include "core/MessageWindows.h"
#include "core/clsEvents.h"

class tst_Services : public PelkarTest
{
    Q_OBJECT

private slots:
    void answerNamesRoundTrip_data();
    void answerNamesRoundTrip();
    void showMessageDefaultsTitleAndHoldsEventsOff();
    void systemMessageBoxLeavesEventsAlone();
    void myMsgBoxRefusesButtonCounts_data();
    void myMsgBoxRefusesButtonCounts();
    void popupQuestionSetsAnswerNoticeKeepsIt();
    void noticeTrimsResultSpacesOnly();
    void inputBoxCancel();
    void unexpectedMessageIsReported();
    void childRunLogSurvivesEachMessage();
};

void tst_Services::answerNamesRoundTrip_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("answer");
    QTest::newRow("ok") << "Ok" << int(Mb::Ok);
    QTest::newRow("yes-any-case") << "YES" << int(Mb::Yes);
    QTest::newRow("no") << "No" << int(Mb::No);
    QTest::newRow("cancel") << "cancel" << int(Mb::Cancel);
    QTest::newRow("number") << "4" << int(Mb::Retry);
    QTest::newRow("nonsense-is-no-answer") << "maybe" << int(Mb::NoAnswer);
}

void tst_Services::answerNamesRoundTrip()
{
    QFETCH(QString, name);
    QFETCH(int, answer);
    QCOMPARE(Mb::answerFromName(name), answer);
    if (answer != Mb::NoAnswer)
        QCOMPARE(Mb::answerFromName(Mb::answerName(answer)), answer);
}

void tst_Services::showMessageDefaultsTitleAndHoldsEventsOff()
{
    ProgramObjects::createEvents();
    bool suppressedWhileOpen = false;
    script->onUnexpected = [&](const MessageRecord &) { suppressedWhileOpen = gEvents->NoEvents(); };
    script->answer(QStringLiteral("Yes")); // answered, so onUnexpected is not the probe here

    QCOMPARE(ShowMessage(QStringLiteral("Save?"), Mb::YesNo | Mb::Question), int(Mb::Yes));
    QCOMPARE(script->records().size(), 1);
    QCOMPARE(script->records()[0].title, QStringLiteral("Pelkar"));
    QCOMPARE(script->records()[0].style, 36);
    QVERIFY(!gEvents->NoEvents());

    // An unanswered box shows the suppression state the box itself saw.
    ShowMessage(QStringLiteral("Probe"), 0, QStringLiteral("Own title"));
    QVERIFY(suppressedWhileOpen);
    QCOMPARE(script->records().last().title, QStringLiteral("Own title"));
    QVERIFY(!gEvents->NoEvents());
}

void tst_Services::systemMessageBoxLeavesEventsAlone()
{
    ProgramObjects::createEvents();
    bool suppressed = true;
    script->onUnexpected = [&](const MessageRecord &) { suppressed = gEvents->NoEvents(); };
    QCOMPARE(SystemMessageBox(QStringLiteral("Direct"), Mb::OkOnly), int(Mb::Ok));
    QVERIFY(!suppressed);
}

void tst_Services::myMsgBoxRefusesButtonCounts_data()
{
    QTest::addColumn<QStringList>("buttons");
    QTest::addColumn<bool>("shown");
    QTest::newRow("none-shows-nothing") << QStringList() << false;
    QTest::newRow("one") << QStringList{"Ok"} << true;
    QTest::newRow("six") << QStringList{"1", "2", "3", "4", "5", "6"} << true;
    QTest::newRow("seven-shows-nothing") << QStringList{"1", "2", "3", "4", "5", "6", "7"} << false;
}

void tst_Services::myMsgBoxRefusesButtonCounts()
{
    QFETCH(QStringList, buttons);
    QFETCH(bool, shown);
    if (shown)
        script->answer(buttons.last());
    const QString pressed = MyMsgBox(QStringLiteral("Choose"), Mb::IconQuestion, QString(), buttons);
    QCOMPARE(pressed, shown ? buttons.last() : QString());
    QCOMPARE(script->records().size(), shown ? 1 : 0);
    if (shown) {
        QCOMPARE(script->records()[0].buttons, buttons);
        QCOMPARE(script->records()[0].style, int(Mb::IconQuestion));
        QCOMPARE(script->records()[0].title, QStringLiteral("Pelkar"));
    }
}

void tst_Services::popupQuestionSetsAnswerNoticeKeepsIt()
{
    script->answer({QStringLiteral("Yes"), QStringLiteral("Ok"), QStringLiteral("No")});
    QVERIFY(ShowPopup(QStringLiteral("Reload?"), true));
    QVERIFY(gPopAnswer);
    ShowPopup(QStringLiteral("Just so you know"), false);
    QVERIFY(gPopAnswer);
    QVERIFY(!ShowPopup(QStringLiteral("Reload?"), true));
    QVERIFY(!gPopAnswer);
    QCOMPARE(script->records()[1].style, 0);
}

void tst_Services::noticeTrimsResultSpacesOnly()
{
    script->answer(QStringLiteral("Ok"));
    ShowNotice(QStringLiteral("  \tSaved  "), QStringLiteral(" info "));
    QCOMPARE(script->records()[0].prompt, QStringLiteral("\tSaved"));
    QCOMPARE(script->records()[0].info, QStringLiteral(" info "));
}

void tst_Services::inputBoxCancel()
{
    script->answer({QStringLiteral("typed"), QStringLiteral("<cancel>")});
    QCOMPARE(InputBox(QStringLiteral("Name?")), std::optional<QString>(QStringLiteral("typed")));
    QCOMPARE(InputBox(QStringLiteral("Name?")), std::nullopt);
}

void tst_Services::unexpectedMessageIsReported()
{
    QList<MessageRecord> unexpected;
    script->onUnexpected = [&](const MessageRecord &r) { unexpected.append(r); };
    QCOMPARE(ShowMessage(QStringLiteral("Sure?"), Mb::YesNo), int(Mb::No));
    QCOMPARE(MyMsgBox(QStringLiteral("Pick"), 0, QString(), {QStringLiteral("Go"), QStringLiteral("cancel")}),
             QStringLiteral("cancel"));
    QCOMPARE(unexpected.size(), 2);
    QCOMPARE(unexpected[0].prompt, QStringLiteral("Sure?"));
}

void tst_Services::childRunLogSurvivesEachMessage()
{
    const QString log = homePath(QStringLiteral("messages.log"));
    script->setLogFile(log);
    script->answer(QStringLiteral("Ok"));
    ShowMessage(QStringLiteral("line one\r\nline two"), Mb::Exclamation, QStringLiteral("T"));
    QFile f(log);
    QVERIFY(f.open(QIODevice::ReadOnly));
    const QByteArray text = f.readAll();
    QVERIFY(text.endsWith('\n'));
    QVERIFY(text.contains("line one\\r\\nline two"));
}

PELKAR_TEST(tst_Services)
#include "tst_Services.moc"
