// The image tools window over a real scan viewer: each control acting on the
// page shown and on the settings, the colours standing in for paper and ink,
// the window's opening and closing from the viewer's menu, and a window
// opened with no scan loaded.

#include "PelkarTest.h"
#include "RecordingEntryBoxes.h"

#include "core/Globals.h"
#include "core/Project.h"
#include "core/VbHelpers.h"
#include "scanview/frmScanTools.h"
#include "scanview/frmScanView.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFrame>
#include <QImage>
#include <QPushButton>
#include <QSlider>

namespace {

constexpr int kWhite = 0xFFFFFF;
constexpr int kBlack = 0;
constexpr int kYellow = 0x00FFFF;
constexpr int kBlue = 0xFF0000;
constexpr int kGreen = 0x00FF00;
constexpr int kRed = 0x0000FF;
constexpr int kMagenta = 0xFF00FF;
constexpr int kNone = -1;

// Pages are 40 by 30 pixels: paper, with a 10-pixel block of ink in the
// top-left corner and, on colour pages, one stray pixel at (20, 20).
const QPoint kInk(2, 2);
const QPoint kPaper(30, 25);
const QPoint kStray(20, 20);

QRgb rgbOf(int stored)
{
    return qRgb(stored & 0xFF, (stored >> 8) & 0xFF, (stored >> 16) & 0xFF);
}

int storedOf(QRgb c)
{
    return qRed(c) | (qGreen(c) << 8) | (qBlue(c) << 16);
}

QString colourName(int stored)
{
    return QColor(rgbOf(stored)).name();
}

} // namespace

class tst_ScanTools : public PelkarTest
{
    Q_OBJECT

protected:
    void setUpCase() override
    {
        ProgramObjects::createEvents();
        ProgramObjects::createProject();
        QVERIFY(QDir().mkpath(homePath("data")));
        gProject->setDataPath(homePath("data"));
        gProject->setScanWidth(PixelsToTwipsX(400));
        gProject->setScanHeight(PixelsToTwipsY(300));
        gProject->setScanBackColour(kNone);
        gProject->setScanTextColour(kNone);
        gProject->setRotation(0);
        gProject->setRuleWidth(3);
        gProject->setRuleColour(0xFF8080);
        gProject->setAutoMoveRuler(true);
        gProject->setRuleSeeThru(false);
    }
    void tearDownCase() override { ProgramObjects::releaseAll(); }

    QString makeOneBit()
    {
        QImage image(40, 30, QImage::Format_Mono);
        image.setColorTable({qRgb(255, 255, 255), qRgb(0, 0, 0)});
        image.fill(0);
        for (int y = 0; y < 10; ++y)
            for (int x = 0; x < 10; ++x)
                image.setPixel(x, y, 1);
        return save(image, QStringLiteral("mono.png"));
    }

    QString makeGrey()
    {
        QImage image(40, 30, QImage::Format_Grayscale8);
        image.fill(230);
        for (int y = 0; y < 10; ++y)
            for (int x = 0; x < 10; ++x)
                image.scanLine(y)[x] = 20;
        return save(image, QStringLiteral("grey.png"));
    }

    QString makeColour(int paper, int ink, int stray)
    {
        QImage image(40, 30, QImage::Format_RGB32);
        image.fill(rgbOf(paper));
        for (int y = 0; y < 10; ++y)
            for (int x = 0; x < 10; ++x)
                image.setPixel(x, y, rgbOf(ink));
        image.setPixel(kStray, rgbOf(stray));
        return save(image, QStringLiteral("colour.png"));
    }

    QString save(const QImage &image, const QString &name)
    {
        const QString path = homePath(name);
        return image.save(path, "PNG") ? path : QString();
    }

    static QAction *action(frmScanView &view, const char *name)
    {
        return view.findChild<QAction *>(QLatin1String(name));
    }

    // Opens the tools from the viewer's menu.
    static frmScanTools *openTools(frmScanView &view)
    {
        action(view, "mnuShowHide")->trigger();
        return view.imageTools();
    }

    template<typename T>
    static T *control(frmScanTools *tools, const char *name)
    {
        auto *c = tools->findChild<T *>(QLatin1String(name));
        if (!c)
            qFatal("no control %s", name);
        return c;
    }

    static void click(frmScanTools *tools, const char *name)
    {
        control<QAbstractButton>(tools, name)->click();
    }

    static int swatch(frmScanTools *tools, const char *name)
    {
        return frmScanTools::swatchColour(control<QFrame>(tools, name));
    }

    static int pixel(frmScanView &view, QPoint at)
    {
        return storedOf(view.ImageX1().image().pixel(at));
    }

    static void chooseRotation(frmScanTools *tools, const QString &amount)
    {
        auto *combo = control<QComboBox>(tools, "cmbRotate");
        const int index = combo->findText(amount);
        QVERIFY(index >= 0);
        combo->setCurrentIndex(index);
        emit combo->activated(index);
    }

    QList<MessageRecord> boxes() const
    {
        QList<MessageRecord> found;
        for (const auto &r : script->records())
            if (r.kind == QLatin1String("box"))
                found << r;
        return found;
    }

private slots:
    void opensShowingTheViewerAndSettings()
    {
        gProject->setRuleWidth(7);
        gProject->setAutoMoveRuler(false);
        gProject->setRuleSeeThru(true);
        frmScanView view;
        QVERIFY(view.GetPicture(makeOneBit()));
        QVERIFY(action(view, "mnuShowHide")->isEnabled());
        frmScanTools *tools = openTools(view);
        QVERIFY(tools && tools->isVisible());
        QCOMPARE(tools->windowTitle(), QString("Image Tools"));
        QCOMPARE(action(view, "mnuShowHide")->text(), QString("Hide Image Tools"));
        QCOMPARE(control<QSlider>(tools, "slRulerWidth")->value(), 7);
        QCOMPARE(gProject->RuleWidth(), 7);
        QVERIFY(!control<QCheckBox>(tools, "chkAutoMove")->isChecked());
        QVERIFY(control<QCheckBox>(tools, "ChkTrans")->isChecked());
        QCOMPARE(swatch(tools, "picText"), kBlack);
        QCOMPARE(swatch(tools, "picBackGrnd"), kWhite);
        QCOMPARE(swatch(tools, "picRuleColour"), kBlue); // the ruler is hidden
        QCOMPARE(control<QPushButton>(tools, "cmdBlackWhite")->text(), QString("Black&&White"));
        QCOMPARE(control<QComboBox>(tools, "cmbRotate")->currentIndex(), -1);
        QCOMPARE(control<QComboBox>(tools, "cmbRotate")->count(), 7);
        const auto *gamma = control<QSlider>(tools, "SliderGamma");
        QCOMPARE(gamma->minimum(), 1);
        QCOMPARE(gamma->maximum(), 100);
        QCOMPARE(gamma->pageStep(), 5);
        QCOMPARE(control<QSlider>(tools, "slBrightness")->minimum(), -100);
        QCOMPARE(control<QSlider>(tools, "slRulerWidth")->maximum(), 15);
    }

    void controlsFollowTheKindOfScan_data()
    {
        QTest::addColumn<bool>("grey");
        QTest::newRow("black and white") << false;
        QTest::newRow("grey scale") << true;
    }
    void controlsFollowTheKindOfScan()
    {
        QFETCH(bool, grey);
        frmScanView view;
        QVERIFY(view.GetPicture(grey ? makeGrey() : makeOneBit()));
        QCOMPARE(gProject->GreyScale(), grey);
        frmScanTools *tools = openTools(view);
        for (const char *name : {"cbNegate", "cmdBlackWhite", "cmdTextColour", "cmdBackColour",
                                 "chkAnti", "picText", "picBackGrnd"})
            QVERIFY2(control<QWidget>(tools, name)->isEnabled() == !grey, name);
        QCOMPARE(control<QWidget>(tools, "chkSmooth")->isEnabled(), grey);
    }

    void rotation_data()
    {
        QTest::addColumn<QString>("amount");
        QTest::addColumn<QString>("button");
        QTest::addColumn<int>("clicks");
        QTest::addColumn<float>("stored");
        QTest::newRow("left 90 twice is 180") << "90" << "RotateLeft" << 2 << 180.0f;
        QTest::newRow("right 90 is clockwise") << "90" << "RotateRight" << 1 << -90.0f;
        QTest::newRow("left 1 three times") << "1" << "RotateLeft" << 3 << 3.0f;
        QTest::newRow("left 0.4") << "0.4" << "RotateLeft" << 1 << 0.4f;
    }
    void rotation()
    {
        QFETCH(QString, amount);
        QFETCH(QString, button);
        QFETCH(int, clicks);
        QFETCH(float, stored);
        frmScanView view;
        QVERIFY(view.GetPicture(makeOneBit()));
        frmScanTools *tools = openTools(view);
        QVERIFY(!control<QPushButton>(tools, "RotateLeft")->isEnabled());
        QVERIFY(!control<QPushButton>(tools, "RotateRight")->isEnabled());
        chooseRotation(tools, amount);
        QVERIFY(control<QPushButton>(tools, "RotateLeft")->isEnabled());
        QVERIFY(control<QPushButton>(tools, "RotateRight")->isEnabled());
        for (int i = 0; i < clicks; ++i)
            click(tools, qPrintable(button));
        QCOMPARE(gProject->Rotation(), stored);
        if (stored == 180.0f) {
            // Turned from the page as stored: the ink block is bottom right.
            QCOMPARE(view.ImageX1().ImageWidth(), 40);
            QCOMPARE(pixel(view, {37, 27}), kBlack);
            QCOMPARE(pixel(view, kInk), kWhite);
        } else if (std::abs(stored) == 90.0f) {
            QCOMPARE(view.ImageX1().ImageWidth(), 30);
            QCOMPARE(view.ImageX1().ImageHeight(), 40);
        }
    }

    void flips_data()
    {
        QTest::addColumn<QString>("button");
        QTest::addColumn<QPoint>("inkNow");
        QTest::newRow("left/right") << "cmdFlipLeft" << QPoint(37, 2);
        QTest::newRow("up/down") << "cmdFlipUp" << QPoint(2, 27);
    }
    void flips()
    {
        QFETCH(QString, button);
        QFETCH(QPoint, inkNow);
        frmScanView view;
        QVERIFY(view.GetPicture(makeOneBit()));
        frmScanTools *tools = openTools(view);
        click(tools, qPrintable(button));
        QCOMPARE(pixel(view, inkNow), kBlack);
        QCOMPARE(pixel(view, kInk), kWhite);
    }

    void swapOnBlackAndWhiteNegates()
    {
        frmScanView view;
        QVERIFY(view.GetPicture(makeOneBit()));
        frmScanTools *tools = openTools(view);
        click(tools, "cbNegate");
        QCOMPARE(view.ImageX1().BitsPerPixel(), 1);
        QCOMPARE(pixel(view, kInk), kWhite);
        QCOMPARE(pixel(view, kPaper), kBlack);
        QCOMPARE(view.BackCol(), kBlack);
        QCOMPARE(view.TextCol(), kWhite);
        QCOMPARE(swatch(tools, "picBackGrnd"), kBlack);
        QCOMPARE(swatch(tools, "picText"), kWhite);
        QCOMPARE(gProject->ScanBackColour(), kBlack);
        QCOMPARE(gProject->ScanTextColour(), kWhite);

        // A turn starts from the page as stored and keeps the swapped colours.
        chooseRotation(tools, "90");
        click(tools, "RotateLeft");
        QCOMPARE(view.ImageX1().ImageWidth(), 30);
        QCOMPARE(pixel(view, {20, 5}), kBlack);
        QCOMPARE(pixel(view, {2, 37}), kWhite);
        QCOMPARE(view.BackCol(), kBlack);
        QCOMPARE(view.TextCol(), kWhite);
        QCOMPARE(swatch(tools, "picBackGrnd"), kBlack);

        // Reopening the scan shows it turned and in the colours chosen.
        QVERIFY(view.GetPicture(QDir(gProject->ScanPath()).filePath(gProject->ScanFile())));
        QCOMPARE(pixel(view, {20, 5}), kBlack);
        QCOMPARE(pixel(view, {2, 37}), kWhite);
    }

    // Paper and ink exchange places through a third colour, which must be
    // neither of them: the stray pixel shows which one was used.
    void swapThroughATemporaryColour_data()
    {
        QTest::addColumn<int>("paper");
        QTest::addColumn<int>("ink");
        QTest::addColumn<int>("stray");
        QTest::addColumn<int>("strayAfter");
        QTest::newRow("blue ink goes through yellow") << kWhite << kBlue << kYellow << kBlue;
        QTest::newRow("black ink goes through blue") << kWhite << kBlack << kBlue << kBlack;
        QTest::newRow("blue paper goes through green") << kBlue << kRed << kGreen << kRed;
        // Blue paper and green ink: green would merge paper and ink.
        QTest::newRow("blue paper, green ink, not green") << kBlue << kGreen << kMagenta
                                                         << kMagenta;
    }
    void swapThroughATemporaryColour()
    {
        QFETCH(int, paper);
        QFETCH(int, ink);
        QFETCH(int, stray);
        QFETCH(int, strayAfter);
        frmScanView view;
        QVERIFY(view.GetPicture(makeColour(paper, ink, stray)));
        // Shown as a black-and-white scan in these colours.
        gProject->setGreyScale(false);
        view.setBackCol(paper);
        view.setTextCol(ink);
        frmScanTools *tools = openTools(view);
        QVERIFY(control<QPushButton>(tools, "cbNegate")->isEnabled());
        click(tools, "cbNegate");
        QCOMPARE(pixel(view, kPaper), ink);
        QCOMPARE(pixel(view, kInk), paper);
        QCOMPARE(pixel(view, kStray), strayAfter);
        QCOMPARE(view.BackCol(), ink);
        QCOMPARE(view.TextCol(), paper);
        QCOMPARE(gProject->ScanBackColour(), ink);
        QCOMPARE(gProject->ScanTextColour(), paper);
    }

    void colourChoices_data()
    {
        QTest::addColumn<QString>("button");
        QTest::addColumn<QString>("answer");
        QTest::addColumn<QString>("dialogOpensOn");
        QTest::addColumn<QString>("message");
        QTest::addColumn<int>("paper");
        QTest::addColumn<int>("ink");
        QTest::addColumn<int>("storedBack");
        QTest::addColumn<int>("storedText");
        // Opening the scan records white paper and black ink.
        QTest::newRow("background yellow")
            << "cmdBackColour" << colourName(kYellow) << colourName(kWhite) << QString()
            << kYellow << kBlack << kYellow << kBlack;
        QTest::newRow("text red") << "cmdTextColour" << colourName(kRed) << colourName(kBlack)
                                  << QString() << kWhite << kRed << kWhite << kRed;
        QTest::newRow("background as text refused")
            << "cmdBackColour" << colourName(kBlack) << colourName(kWhite)
            << "Can't change to same colour as text" << kWhite << kBlack << kWhite << kBlack;
        QTest::newRow("text as background refused")
            << "cmdTextColour" << colourName(kWhite) << colourName(kBlack)
            << "Can't change to same colour as background" << kWhite << kBlack << kWhite
            << kBlack;
        QTest::newRow("background cancelled") << "cmdBackColour" << "<cancel>"
                                              << colourName(kWhite) << QString() << kWhite
                                              << kBlack << kWhite << kBlack;
        QTest::newRow("same background again") << "cmdBackColour" << colourName(kWhite)
                                               << colourName(kWhite) << QString() << kWhite
                                               << kBlack << kWhite << kBlack;
    }
    void colourChoices()
    {
        QFETCH(QString, button);
        QFETCH(QString, answer);
        QFETCH(QString, dialogOpensOn);
        QFETCH(QString, message);
        QFETCH(int, paper);
        QFETCH(int, ink);
        QFETCH(int, storedBack);
        QFETCH(int, storedText);
        frmScanView view;
        QVERIFY(view.GetPicture(makeOneBit()));
        frmScanTools *tools = openTools(view);
        script->answer(answer);
        if (!message.isEmpty())
            script->answer("Ok");
        click(tools, qPrintable(button));
        QCOMPARE(script->records().first().kind, QString("chooseColour"));
        QCOMPARE(script->records().first().info, dialogOpensOn);
        const auto shown = boxes();
        QCOMPARE(shown.size(), message.isEmpty() ? 0 : 1);
        if (!message.isEmpty()) {
            QCOMPARE(shown[0].prompt, message);
            QCOMPARE(shown[0].style, 48);
            QCOMPARE(shown[0].title, QString("Pelkar"));
        }
        QCOMPARE(view.BackCol(), paper);
        QCOMPARE(view.TextCol(), ink);
        QCOMPARE(swatch(tools, "picBackGrnd"), paper);
        QCOMPARE(swatch(tools, "picText"), ink);
        QCOMPARE(pixel(view, kPaper), paper);
        QCOMPARE(pixel(view, kInk), ink);
        QCOMPARE(gProject->ScanBackColour(), storedBack);
        QCOMPARE(gProject->ScanTextColour(), storedText);
        QVERIFY(QGuiApplication::overrideCursor() == nullptr);
    }

    void blackAndWhiteRestores()
    {
        frmScanView view;
        QVERIFY(view.GetPicture(makeOneBit()));
        frmScanTools *tools = openTools(view);
        script->answer(colourName(kYellow));
        click(tools, "cmdBackColour");
        script->answer(colourName(kRed));
        click(tools, "cmdTextColour");
        QCOMPARE(view.ImageX1().BitsPerPixel(), 8);
        QCOMPARE(pixel(view, kPaper), kYellow);
        QCOMPARE(pixel(view, kInk), kRed);
        click(tools, "cmdBlackWhite");
        QCOMPARE(swatch(tools, "picText"), kBlack);
        QCOMPARE(swatch(tools, "picBackGrnd"), kWhite);
        QCOMPARE(gProject->ScanBackColour(), kWhite);
        QCOMPARE(gProject->ScanTextColour(), kBlack);
        QCOMPARE(view.BackCol(), kWhite);
        QCOMPARE(view.TextCol(), kBlack);
        QCOMPARE(view.ImageX1().BitsPerPixel(), 1);
        QCOMPARE(pixel(view, kPaper), kWhite);
        QCOMPARE(pixel(view, kInk), kBlack);
    }

    // The viewer's colours from the settings, from the colours shown by a
    // first application.
    void applyColours_data()
    {
        QTest::addColumn<int>("firstBack");
        QTest::addColumn<int>("firstText");
        QTest::addColumn<int>("back");
        QTest::addColumn<int>("text");
        QTest::addColumn<int>("paper");
        QTest::addColumn<int>("ink");
        QTest::addColumn<int>("bits");
        QTest::newRow("nothing set") << kNone << kNone << kNone << kNone << kWhite << kBlack << 1;
        QTest::newRow("exchanged through a temporary ink")
            << kNone << kNone << kBlack << kWhite << kBlack << kWhite << 1;
        QTest::newRow("equal colours reset") << kNone << kNone << kRed << kRed << kWhite << kBlack
                                             << 1;
        // Black paper with the ink left as it is would blank the page.
        QTest::newRow("paper as the ink not set")
            << kNone << kNone << kBlack << kNone << kWhite << kBlack << 1;
        // The temporary ink may not be the yellow paper shown.
        QTest::newRow("ink takes the shown paper's yellow")
            << kYellow << kBlack << kWhite << kYellow << kWhite << kYellow << 8;
        QTest::newRow("back to black and white is 1 bit")
            << kYellow << kRed << kWhite << kBlack << kWhite << kBlack << 1;
    }
    void applyColours()
    {
        QFETCH(int, firstBack);
        QFETCH(int, firstText);
        QFETCH(int, back);
        QFETCH(int, text);
        QFETCH(int, paper);
        QFETCH(int, ink);
        QFETCH(int, bits);
        frmScanView view;
        QVERIFY(view.GetPicture(makeOneBit()));
        gProject->setScanBackColour(firstBack);
        gProject->setScanTextColour(firstText);
        view.ApplyColours();
        gProject->setScanBackColour(back);
        gProject->setScanTextColour(text);
        view.ApplyColours();
        QCOMPARE(pixel(view, kPaper), paper);
        QCOMPARE(pixel(view, kInk), ink);
        QCOMPARE(view.BackCol(), paper);
        QCOMPARE(view.TextCol(), ink);
        QCOMPARE(view.ImageX1().BitsPerPixel(), bits);
    }

    void viewOptions()
    {
        frmScanView view;
        QVERIFY(view.GetPicture(makeOneBit()));
        frmScanTools *tools = openTools(view);
        click(tools, "chkAnti");
        QVERIFY(view.ImageX1().AntiAlias());
        click(tools, "chkAnti");
        QVERIFY(!view.ImageX1().AntiAlias());
        view.ImageX1().setSmoothing(true);
        view.ImageX1().setAntiAlias(true);
        view.CloseImageTools();
        tools = openTools(view);
        QVERIFY(control<QCheckBox>(tools, "chkAnti")->isChecked());
        QVERIFY(control<QCheckBox>(tools, "chkSmooth")->isChecked());
        QVERIFY(!control<QCheckBox>(tools, "chkDeSpeckle")->isChecked());
        QVERIFY(QGuiApplication::overrideCursor() == nullptr);
    }

    void imageSliders_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("value");
        QTest::addColumn<int>("bits");
        QTest::newRow("brightness turns 1 bit into 24") << "slBrightness" << 30 << 24;
        QTest::newRow("contrast turns 1 bit into 24") << "slContrast" << -20 << 24;
        QTest::newRow("gamma 100") << "SliderGamma" << 100 << 1;
        QTest::newRow("gamma 1") << "SliderGamma" << 1 << 1;
    }
    void imageSliders()
    {
        QFETCH(QString, name);
        QFETCH(int, value);
        QFETCH(int, bits);
        frmScanView view;
        QVERIFY(view.GetPicture(makeOneBit()));
        frmScanTools *tools = openTools(view);
        control<QSlider>(tools, qPrintable(name))->setValue(value);
        QCOMPARE(view.ImageX1().BitsPerPixel(), bits);
        const ImagingControl &image = view.ImageX1();
        if (name == "slBrightness")
            QCOMPARE(image.Brightness(), value);
        else if (name == "slContrast")
            QCOMPARE(image.Contrast(), value);
        else
            QCOMPARE(image.Gamma(), value == 100 ? 1.0f : 0.01f);
    }

    void reopenedSlidersStartAgain()
    {
        frmScanView view;
        QVERIFY(view.GetPicture(makeOneBit()));
        frmScanTools *tools = openTools(view);
        control<QSlider>(tools, "slBrightness")->setValue(40);
        control<QSlider>(tools, "slContrast")->setValue(10);
        control<QSlider>(tools, "SliderGamma")->setValue(80);
        action(view, "mnuShowHide")->trigger(); // hide
        tools = openTools(view);
        QCOMPARE(control<QSlider>(tools, "slBrightness")->value(), 0);
        QCOMPARE(control<QSlider>(tools, "slContrast")->value(), 0);
        QCOMPARE(control<QSlider>(tools, "SliderGamma")->value(), 45);
        QCOMPARE(view.ImageX1().Brightness(), 40);
        QCOMPARE(view.ImageX1().Gamma(), 0.8f);
    }

    void rulerSettings()
    {
        RecordingEntryBoxes entry;
        frmScanView view;
        view.show();
        QVERIFY(view.GetPicture(makeOneBit()));
        action(view, "mnuShowRuler")->trigger();
        // Held off while the ruler is being set up.
        QVERIFY(!action(view, "mnuShowHide")->isEnabled());
        view.DoneRulerSetup(0, 0, 100, 20);
        QVERIFY(action(view, "mnuShowHide")->isEnabled());
        frmScanTools *tools = openTools(view);
        QCOMPARE(swatch(tools, "picRuleColour"), 0xFF8080);

        script->answer(colourName(kGreen));
        click(tools, "cmdRuleColour");
        QCOMPARE(script->records().last().info, colourName(0xFF8080));
        QCOMPARE(swatch(tools, "picRuleColour"), kGreen);
        QCOMPARE(view.RulerColour(), kGreen);
        QCOMPARE(gProject->RuleColour(), kGreen);
        script->answer("<cancel>");
        click(tools, "cmdRuleColour");
        QCOMPARE(gProject->RuleColour(), kGreen);

        const int lineBefore = view.rulerRect().height();
        const int focusBacks = entry.focusBacks();
        control<QSlider>(tools, "slRulerWidth")->setValue(10);
        QCOMPARE(gProject->RuleWidth(), 10);
        QVERIFY(view.rulerRect().height() > lineBefore);
        QCOMPARE(entry.focusBacks(), focusBacks + 1);

        click(tools, "ChkTrans");
        QVERIFY(view.seeThru());
        QVERIFY(gProject->RuleSeeThru());
        click(tools, "ChkTrans");
        QVERIFY(!gProject->RuleSeeThru());

        click(tools, "chkAutoMove");
        QVERIFY(!gProject->AutoMoveRuler());
        click(tools, "chkAutoMove");
        QVERIFY(gProject->AutoMoveRuler());
    }

    void zoomButtons()
    {
        frmScanView view;
        QVERIFY(view.GetPicture(makeOneBit()));
        frmScanTools *tools = openTools(view);
        click(tools, "cmdZoomIn");
        QCOMPARE(view.ImageX1().ZoomFactor(), 1.25f);
        click(tools, "cmdZoomOut");
        click(tools, "cmdZoomOut");
        QCOMPARE(view.ImageX1().ZoomFactor(), 0.703125f);
    }

    void openingAndClosing()
    {
        frmScanView view;
        view.show();
        const QString page = makeOneBit();
        QVERIFY(view.GetPicture(page));
        QAction *menu = action(view, "mnuShowHide");

        // The close box puts the menu back.
        QPointer<frmScanTools> tools = openTools(view);
        tools->close();
        QCOMPARE(menu->text(), QString("Show Image Tools"));
        QVERIFY(!view.imageTools());
        QTRY_VERIFY(!tools);

        // The menu opens and closes it.
        tools = openTools(view);
        QCOMPARE(menu->text(), QString("Hide Image Tools"));
        menu->trigger();
        QCOMPARE(menu->text(), QString("Show Image Tools"));
        QTRY_VERIFY(!tools);

        // Opening another scan, and closing the viewer, unload it.
        tools = openTools(view);
        QVERIFY(view.GetPicture(page));
        QVERIFY(!view.imageTools());
        QCOMPARE(menu->text(), QString("Show Image Tools"));
        QTRY_VERIFY(!tools);
        tools = openTools(view);
        view.close();
        QVERIFY(!view.imageTools());
        QTRY_VERIFY(!tools);
    }

    void rightButtonGivesFocusBack()
    {
        RecordingEntryBoxes entry;
        frmScanView view;
        view.show();
        QVERIFY(view.GetPicture(makeOneBit()));
        QTest::mouseClick(view.imageArea(), Qt::LeftButton);
        QCOMPARE(entry.focusBacks(), 0);
        QTest::mouseClick(view.imageArea(), Qt::RightButton);
        QCOMPARE(entry.focusBacks(), 1);
    }

    // With no scan every control is safe: nothing is turned, coloured or
    // stored for the next scan; the ruler and zoom still serve.
    void noScanLoaded()
    {
        frmScanView view;
        frmScanTools *tools = openTools(view);
        QVERIFY(tools);
        for (const char *name : {"cmbRotate", "cbNegate", "cmdFlipLeft", "slBrightness"})
            QVERIFY2(!control<QWidget>(tools, name)->isEnabled(), name);
        for (const char *name : {"cmdZoomIn", "slRulerWidth", "ChkTrans", "cmdRuleColour"})
            QVERIFY2(control<QWidget>(tools, name)->isEnabled(), name);
        // Straight to the handlers, as if the controls had been reachable.
        chooseRotation(tools, "90");
        for (const char *name : {"RotateLeft", "RotateRight", "cmdFlipLeft", "cmdFlipUp",
                                 "cbNegate", "cmdBlackWhite", "chkDeSpeckle", "chkSmooth",
                                 "chkAnti", "cmdZoomIn"})
            emit control<QAbstractButton>(tools, name)->clicked(true);
        emit control<QAbstractButton>(tools, "cmdBackColour")->clicked(false);
        emit control<QAbstractButton>(tools, "cmdTextColour")->clicked(false);
        for (const char *name : {"slBrightness", "slContrast", "SliderGamma"})
            control<QSlider>(tools, name)->setValue(20);
        QCOMPARE(gProject->Rotation(), 0.0f);
        QCOMPARE(gProject->ScanBackColour(), kNone);
        QCOMPARE(gProject->ScanTextColour(), kNone);
        QVERIFY(!view.ImageX1().hasImage());
        QCOMPARE(view.ImageX1().ZoomFactor(), 1.25f);
        control<QSlider>(tools, "slRulerWidth")->setValue(5);
        QCOMPARE(gProject->RuleWidth(), 5);
        QVERIFY(script->records().isEmpty());
        QVERIFY(QGuiApplication::overrideCursor() == nullptr);
    }
};

PELKAR_TEST(tst_ScanTools)
#include "tst_ScanTools.moc"
