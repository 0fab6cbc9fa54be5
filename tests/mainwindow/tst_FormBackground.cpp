// The background picture tiled over a form from its top-left corner, and a
// picture that will not load: a warning, and the form as it was.

#include "PelkarTest.h"

#include "mainwindow/FormBackground.h"

#include <QFile>
#include <QImage>
#include <QWidget>

class tst_FormBackground : public PelkarTest
{
    Q_OBJECT

private slots:
    void pictureIsTiled()
    {
        // Left half red, right half blue, 4 by 4 pixels.
        QImage tile(4, 4, QImage::Format_RGB32);
        for (int y = 0; y < 4; ++y)
            for (int x = 0; x < 4; ++x)
                tile.setPixel(x, y, x < 2 ? qRgb(255, 0, 0) : qRgb(0, 0, 255));
        const QString path = homePath("back.png");
        QVERIFY(tile.save(path));
        QWidget form;
        form.resize(21, 9);
        QVERIFY(TileBackground(&form, path));
        const QImage shown = form.grab().toImage();
        for (int x : {0, 1, 4, 5, 20})
            QCOMPARE(QColor(shown.pixel(x, 7)), QColor(Qt::red));
        for (int x : {2, 3, 6, 7, 18})
            QCOMPARE(QColor(shown.pixel(x, 7)), QColor(Qt::blue));
    }

    void brokenPictureWarnsAndLeavesTheForm()
    {
        const QString path = homePath("webback.jpg");
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("not a picture");
        file.close();
        QWidget form;
        const QPalette before = form.palette();
        script->answer(QStringLiteral("Ok"));
        QVERIFY(!TileBackground(&form, path));
        const MessageRecord &told = script->records().last();
        QVERIFY(told.prompt.startsWith(QStringLiteral("Unable to load background: ") + path
                                       + QStringLiteral("\r\nNon-fatal error=")));
        QVERIFY(told.prompt.endsWith(QStringLiteral("\r\nPelkar can continue so Press Ok")));
        QCOMPARE(told.title, QStringLiteral("Pelkar"));
        QCOMPARE(form.palette(), before);
        QVERIFY(!form.autoFillBackground());
    }
};

PELKAR_TEST(tst_FormBackground)
#include "tst_FormBackground.moc"
