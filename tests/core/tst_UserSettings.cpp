#include "PelkarTest.h"

#include "core/UserSettings.h"

#include <QDir>
#include <QFile>
#include <QSettings>

namespace {
// A literal with characters beyond ASCII, spelled by code point.
inline QString u16(const char16_t *text)
{
    return QString::fromUtf16(text);
}

const QString kApp = QStringLiteral("Pelkar");

QString iniFileName()
{
    return QSettings(QSettings::IniFormat, QSettings::UserScope, kApp, kApp).fileName();
}
} // namespace

class UserSettingsTest : public PelkarTest
{
    Q_OBJECT

private slots:
    void roundTrip_data()
    {
        QTest::addColumn<QString>("value");

        QTest::newRow("plain-path") << "/home/anne/Pelkar Data";
        QTest::newRow("backspace") << u16(u"a\u0008b");
        QTest::newRow("control-characters") << u16(u"\u0001\t\r\n\u001F\u007F");
        QTest::newRow("nul") << u16(u"a") + QChar(0) + u16(u"b");
        QTest::newRow("commas") << "Aberystwyth,Bangor, Conwy";
        QTest::newRow("quotes") << "\"quoted\" and \"";
        QTest::newRow("leading-and-trailing-spaces") << "  both ends  ";
        QTest::newRow("non-ascii") << u16(u"é€’ Ÿ");
        QTest::newRow("ini-punctuation") << "a;b=c#d[e]\\f";
        QTest::newRow("looks-like-a-qt-variant") << "@Variant(abc)";
        QTest::newRow("looks-like-a-byte-array") << "@ByteArray(abc)";
        QTest::newRow("empty") << "";
        QTest::newRow("leading-byte-order-mark") << u16(u"\uFEFFx");
        QTest::newRow("unpaired-surrogate") << QString(QChar(0xD800)) + "x";
    }

    // Reads back through a copy of the file in a new place, so that the value
    // is parsed from the bytes on disk and not served from QSettings' cache.
    void roundTrip()
    {
        QFETCH(QString, value);
        SaveUserSetting(kApp, "Startup", "DataPath", value);
        QCOMPARE(GetUserSetting(kApp, "Startup", "DataPath", "default"), value);

        const QString moved = homePath("moved");
        QVERIFY(QDir().mkpath(moved + "/" + kApp));
        QVERIFY(QFile::copy(iniFileName(), moved + "/" + kApp + "/" + kApp + ".ini"));
        QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, moved);
        QCOMPARE(iniFileName(), moved + "/" + kApp + "/" + kApp + ".ini");
        QCOMPARE(GetUserSetting(kApp, "Startup", "DataPath", "default"), value);
    }

    void absentValueGivesDefault()
    {
        QCOMPARE(GetUserSetting(kApp, "Startup", "DataPath", "/default"), QString("/default"));
        QCOMPARE(GetUserSetting(kApp, "Startup", "DataPath"), QString());
    }

    void anotherUsersValueIsNotRead()
    {
        QSettings raw(iniFileName(), QSettings::IniFormat);
        raw.setValue("Startup_someone-else/DataPath", "/home/someone-else");
        raw.setValue("Startup/DataPath", "/shared");
        raw.sync();
        QCOMPARE(GetUserSetting(kApp, "Startup", "DataPath", "mine"), QString("mine"));
    }

    void storedUnderSectionWithLoginName_data()
    {
        QTest::addColumn<QString>("section");
        QTest::addColumn<QString>("key");

        QTest::newRow("startup") << "Startup" << "DataPath";
        QTest::newRow("section-with-a-space") << "Recent Files" << "1";
        QTest::newRow("district-initial") << "DistrictMRU" << "A";
    }

    void storedUnderSectionWithLoginName()
    {
        QFETCH(QString, section);
        QFETCH(QString, key);
        const QString value = "/home/anne/Pelkar/Batch 1.ZEL";
        SaveUserSetting(kApp, section, key, value);

        const QSettings raw(iniFileName(), QSettings::IniFormat);
        QCOMPARE(raw.value(section + "_" + LoginName() + "/" + key).toString(), value);
        QCOMPARE(raw.childGroups(), QStringList{section + "_" + LoginName()});
        QCOMPARE(GetUserSetting(kApp, section, key), value);
    }

    void plainValueIsReadableInTheFile()
    {
        SaveUserSetting(kApp, "Startup", "V6Cleaned", "Y");
        SaveUserSetting(kApp, "Startup", "DataPath", "/home/anne/Pelkar");
        QFile file(iniFileName());
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray text = file.readAll();
        QVERIFY2(text.contains("\nV6Cleaned=Y\n"), text.constData());
        QVERIFY2(text.contains("\nDataPath=/home/anne/Pelkar\n"), text.constData());
    }

    void laterValueReplacesEarlier()
    {
        SaveUserSetting(kApp, "Crash", "Handle", "3");
        SaveUserSetting(kApp, "Crash", "Handle", "-1");
        QCOMPARE(GetUserSetting(kApp, "Crash", "Handle", "x"), QString("-1"));
    }

    void loginNameIsKnown() { QVERIFY(!LoginName().isEmpty()); }
};

PELKAR_TEST(UserSettingsTest)

#include "tst_UserSettings.moc"
