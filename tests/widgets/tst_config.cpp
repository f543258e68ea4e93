#include "TestFiles.h"

#include "widgets/AppConfig.h"
#include "widgets/IniFile.h"

#include <QtTest>

using testfiles::readAll;
using testfiles::writeAll;

class TestConfig : public QObject {
    Q_OBJECT
private slots:
    void rootLosesItsSeparator_data();
    void rootLosesItsSeparator();
    void gameFolderFromIni_data();
    void gameFolderFromIni();
    void writeKeepsEverythingElse();
    void writeCreatesMissingFile();
    void writeReplacesKeyWhateverItsCase();
    void writeFailsOnUnwritablePath();
    void longValuesAreCut();
};

void TestConfig::rootLosesItsSeparator_data()
{
    QTest::addColumn<QString>("dir");
    QTest::addColumn<QString>("held");
    QTest::newRow("posix root") << "/"
                                << "";
    QTest::newRow("drive root") << "C:\\"
                                << "C:";
    QTest::newRow("deeper") << "/home/user/game"
                            << "/home/user/game";
    QTest::newRow("drive folder") << "C:\\GAMES"
                                  << "C:\\GAMES";
}

void TestConfig::rootLosesItsSeparator()
{
    QFETCH(QString, dir);
    QFETCH(QString, held);
    QCOMPARE(withoutRootSeparator(dir), held);
}

void TestConfig::gameFolderFromIni_data()
{
    QTest::addColumn<QByteArray>("ini"); // "-" for no file at all
    QTest::addColumn<QString>("folder"); // "@" stands for the start-up directory
    QTest::newRow("no file") << QByteArray("-") << "@";
    QTest::newRow("no section") << QByteArray("[Other]\r\nGXPath=/x\r\n") << "@";
    QTest::newRow("no key") << QByteArray("[Path]\r\nOther=/x\r\n") << "@";
    QTest::newRow("empty value stays empty") << QByteArray("[Path]\r\nGXPath=\r\n") << "";
    QTest::newRow("backslashes raw") << QByteArray("[Path]\r\nGXPath=C:\\Games\\OLD\r\n") << "C:\\Games\\OLD";
    QTest::newRow("commas and quotes raw") << QByteArray("[Path]\nGXPath=/a,b \"c\"\n") << "/a,b \"c\"";
    QTest::newRow("case-insensitive names") << QByteArray("[PATH]\r\ngxpath=/games/x\r\n") << "/games/x";
    QTest::newRow("missing folder is kept") << QByteArray("[Path]\r\nGXPath=/no/such/folder\r\n") << "/no/such/folder";
    QTest::newRow("trailing separator kept") << QByteArray("[Path]\r\nGXPath=/games/x/\r\n") << "/games/x/";
}

void TestConfig::gameFolderFromIni()
{
    QFETCH(QByteArray, ini);
    QFETCH(QString, folder);
    QTemporaryDir dir;
    if (ini != "-")
        writeAll(dir.path() + "/KRVX.ini", ini);
    const AppConfig config(dir.path());
    QCOMPARE(config.gameFolder(), folder == "@" ? dir.path() : folder);
    QCOMPARE(config.ini().path(), dir.path() + "/KRVX.ini");
    QCOMPARE(config.gameFile("Mgdata.db1"), config.gameFolder() + "/Mgdata.db1");
}

void TestConfig::writeKeepsEverythingElse()
{
    QTemporaryDir dir;
    const QString path = dir.path() + "/KRVX.ini";
    writeAll(path,
             "; user notes\r\n[Window]\r\nLeft=10\r\n\r\n[path]\r\nGXPath=C:\\OLD\r\nExtra=a\\b\r\n[Last]\r\nX=1\r\n");
    QVERIFY(IniFile(path).write("Path", "GXPath", "D:\\New\\Game"));
    QCOMPARE(readAll(path),
             QByteArray("; user notes\r\n[Window]\r\nLeft=10\r\n\r\n[path]\r\nGXPath=D:\\New\\Game\r\nExtra=a\\b\r\n"
                        "[Last]\r\nX=1\r\n"));
    QCOMPARE(IniFile(path).read("Path", "GXPath", "x"), QString("D:\\New\\Game"));
}

void TestConfig::writeCreatesMissingFile()
{
    QTemporaryDir dir;
    const QString path = dir.path() + "/KRVX.ini";
    QVERIFY(IniFile(path).write("Path", "GXPath", ""));
    QCOMPARE(readAll(path), QByteArray("[Path]\r\nGXPath=\r\n"));
    QCOMPARE(AppConfig(dir.path()).gameFolder(), QString());

    // A file without the section gets it appended, the rest untouched.
    writeAll(path, "[Other]\nA=1\n");
    QVERIFY(IniFile(path).write("Path", "GXPath", "/g"));
    QCOMPARE(readAll(path), QByteArray("[Other]\r\nA=1\r\n[Path]\r\nGXPath=/g\r\n"));
}

void TestConfig::writeReplacesKeyWhateverItsCase()
{
    QTemporaryDir dir;
    const QString path = dir.path() + "/KRVX.ini";
    writeAll(path, "[Path]\r\ngxPATH=/old\r\n");
    QVERIFY(IniFile(path).write("Path", "GXPath", "/new"));
    QCOMPARE(readAll(path), QByteArray("[Path]\r\nGXPath=/new\r\n"));
}

void TestConfig::writeFailsOnUnwritablePath()
{
    QTemporaryDir dir;
    // The start-up "directory" is a file: no KRVX.ini can be made in it, not even by root.
    writeAll(dir.path() + "/plainfile", "x");
    QVERIFY(!IniFile(dir.path() + "/plainfile/KRVX.ini").write("Path", "GXPath", "/g"));
    // KRVX.ini that is a folder cannot be replaced.
    QVERIFY(QDir(dir.path()).mkdir("KRVX.ini"));
    QVERIFY(!IniFile(dir.path() + "/KRVX.ini").write("Path", "GXPath", "/g"));
}

void TestConfig::longValuesAreCut()
{
    QTemporaryDir dir;
    const QString path = dir.path() + "/KRVX.ini";
    writeAll(path, "[Path]\r\nGXPath=/" + QByteArray(3000, 'a') + "\r\n");
    QCOMPARE(IniFile(path).read("Path", "GXPath", "").size(), qsizetype(2047));
}

QTEST_APPLESS_MAIN(TestConfig)
#include "tst_config.moc"
