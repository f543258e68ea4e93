#include "TestFiles.h"

#include "widgets/AppConfig.h"
#include "widgets/IniFile.h"

#include <QtTest>

using testfiles::filesIn;
using testfiles::readAll;
using testfiles::writeAll;

class TestConfig : public QObject {
    Q_OBJECT
private slots:
    void rootLosesItsSeparator_data();
    void rootLosesItsSeparator();
    void gameFolderFromIni_data();
    void gameFolderFromIni();
    void writeChangesOnlyTheValue_data();
    void writeChangesOnlyTheValue();
    void writeFailsOnUnwritablePath();
    void readOnlyFileIsLeftAlone();
    void lineBreakIsNeverWritten_data();
    void lineBreakIsNeverWritten();
    void longValuesAreCut();
};

void TestConfig::rootLosesItsSeparator_data()
{
    QTest::addColumn<QString>("dir");
    QTest::addColumn<QString>("held");
    if (QDir::separator() == QLatin1Char('/')) // Windows' roots are drives
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
    QTest::newRow("enclosing quotes dropped") << QByteArray("[Path]\r\nGXPath=\"C:\\Games\"\r\n") << "C:\\Games";
    QTest::newRow("a lone quote kept") << QByteArray("[Path]\r\nGXPath=\"/a\r\n") << "\"/a";
    QTest::newRow("blanks around names and value") << QByteArray("[ Path ]\n \tGXPath =  /x y \t\n") << "/x y";
    QTest::newRow("byte-order mark") << QByteArray("\xEF\xBB\xBF[Path]\r\nGXPath=/b\r\n") << "/b";
    QTest::newRow("8-bit byte elsewhere, LF") << QByteArray("[Players]\nName=Ren\xE9\n[Path]\nGXPath=/g\n") << "/g";
    QTest::newRow("CR endings") << QByteArray("[Path]\rGXPath=/cr\r") << "/cr";
    QTest::newRow("UTF-8 value") << QByteArray("[Path]\nGXPath=/jeux/\xC3\xA9quipe\n")
                                 << QString::fromUtf8("/jeux/\u00e9quipe");
    QTest::newRow("value starting with U+FEFF") << QByteArray("[Path]\nGXPath=\xEF\xBB\xBFx\n")
                                                << QString(QChar(0xFEFF)) + "x";
    QTest::newRow("key of another section") << QByteArray("[Path]\nX=1\n[Other]\nGXPath=/no\n") << "@";
    QTest::newRow("commented key") << QByteArray("[Path]\n;GXPath=/no\n") << "@";
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
    QCOMPARE(config.ini().path(), dir.path() + QDir::separator() + "KRVX.ini");
    QCOMPARE(config.gameFile("Mgdata.db1"), config.gameFolder() + QDir::separator() + "Mgdata.db1");
}

void TestConfig::writeChangesOnlyTheValue_data()
{
    QTest::addColumn<QByteArray>("before"); // "-" for no file at all
    QTest::addColumn<QString>("value");
    QTest::addColumn<QByteArray>("after");
    QTest::newRow("CRLF, other sections and comments")
        << QByteArray(
               "; user notes\r\n[Window]\r\nLeft=10\r\n\r\n[path]\r\nGXPath=C:\\OLD\r\nExtra=a\\b\r\n[Last]\r\nX=1\r\n")
        << "D:\\New\\Game"
        << QByteArray(
               "; user "
               "notes\r\n[Window]\r\nLeft=10\r\n\r\n[path]\r\nGXPath=D:\\New\\Game\r\nExtra=a\\b\r\n[Last]\r\nX=1\r\n");
    QTest::newRow("LF and a byte that is not UTF-8")
        << QByteArray("[Players]\nName=Ren\xE9 \x80\xFF\n[Path]\nGXPath=/old\n[Tail]\nT=\xE9\n") << "/new"
        << QByteArray("[Players]\nName=Ren\xE9 \x80\xFF\n[Path]\nGXPath=/new\n[Tail]\nT=\xE9\n");
    QTest::newRow("no final line ending")
        << QByteArray("[Path]\nGXPath=/old") << "/new" << QByteArray("[Path]\nGXPath=/new");
    QTest::newRow("byte-order mark") << QByteArray("\xEF\xBB\xBF[Path]\r\nGXPath=/old\r\n") << "/new"
                                     << QByteArray("\xEF\xBB\xBF[Path]\r\nGXPath=/new\r\n");
    QTest::newRow("CR endings, key added")
        << QByteArray("[Path]\rA=1\r") << "/new" << QByteArray("[Path]\rA=1\rGXPath=/new\r");
    QTest::newRow("key spelling and blanks kept")
        << QByteArray("[PATH]\r\n gxPATH = C:\\OLD  \r\n") << "/new" << QByteArray("[PATH]\r\n gxPATH = /new\r\n");
    QTest::newRow("quoted value replaced")
        << QByteArray("[Path]\nGXPath=\"/old dir\"\n") << "/new" << QByteArray("[Path]\nGXPath=/new\n");
    QTest::newRow("key added after the section's last line")
        << QByteArray("[Path]\nOther=1\n\n[X]\nY=2\n") << "/new"
        << QByteArray("[Path]\nOther=1\nGXPath=/new\n\n[X]\nY=2\n");
    QTest::newRow("key added to a last line without ending")
        << QByteArray("[Path]") << "/new" << QByteArray("[Path]\r\nGXPath=/new");
    QTest::newRow("section appended, LF")
        << QByteArray("[Other]\nA=1\n") << "/g" << QByteArray("[Other]\nA=1\n[Path]\nGXPath=/g\n");
    QTest::newRow("section appended, no final ending")
        << QByteArray("[Other]\nA=1") << "/g" << QByteArray("[Other]\nA=1\n[Path]\nGXPath=/g");
    QTest::newRow("new file, empty value") << QByteArray("-") << "" << QByteArray("[Path]\r\nGXPath=\r\n");
    QTest::newRow("empty file") << QByteArray("") << "/g" << QByteArray("[Path]\r\nGXPath=/g\r\n");
    QTest::newRow("only a byte-order mark")
        << QByteArray("\xEF\xBB\xBF") << "/g" << QByteArray("\xEF\xBB\xBF[Path]\r\nGXPath=/g\r\n");
    QTest::newRow("UTF-8 path") << QByteArray("-") << QString::fromUtf8("/jeux/\u00e9quipe")
                                << QByteArray("[Path]\r\nGXPath=/jeux/\xC3\xA9quipe\r\n");
    QTest::newRow("blanks at the ends quoted")
        << QByteArray("-") << " /sp " << QByteArray("[Path]\r\nGXPath=\" /sp \"\r\n");
    QTest::newRow("wholly quoted name quoted again")
        << QByteArray("-") << "\"q\"" << QByteArray("[Path]\r\nGXPath=\"\"q\"\"\r\n");
}

void TestConfig::writeChangesOnlyTheValue()
{
    QFETCH(QByteArray, before);
    QFETCH(QString, value);
    QFETCH(QByteArray, after);
    QTemporaryDir dir;
    const QString path = dir.path() + "/KRVX.ini";
    if (before != "-")
        writeAll(path, before);
    QVERIFY(IniFile(path).write("Path", "GXPath", value));
    QCOMPARE(readAll(path), after);
    QCOMPARE(IniFile(path).read("Path", "GXPath", "x"), value);
    QCOMPARE(AppConfig(dir.path()).gameFolder(), value);
    QCOMPARE(filesIn(dir.path()), QStringList{"KRVX.ini"});
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

void TestConfig::readOnlyFileIsLeftAlone()
{
    // Without any write permission the file is read-only also for root.
    QTemporaryDir dir;
    const QString path = dir.path() + "/KRVX.ini";
    const QByteArray before("[Path]\nGXPath=/old\n");
    writeAll(path, before);
    QVERIFY(QFile::setPermissions(path, QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther));
    QVERIFY(!IniFile(path).write("Path", "GXPath", "/new"));
    QCOMPARE(readAll(path), before);
    QCOMPARE(filesIn(dir.path()), QStringList{"KRVX.ini"});
}

void TestConfig::lineBreakIsNeverWritten_data()
{
    QTest::addColumn<QString>("value");
    QTest::newRow("line feed") << "/games/a\nb";
    QTest::newRow("carriage return") << "/games/a\rb";
    QTest::newRow("CRLF at the end") << "/games/a\r\n";
    QTest::newRow("zero") << QString("/games/a") + QChar(0) + "b";
}

void TestConfig::lineBreakIsNeverWritten()
{
    QFETCH(QString, value);
    QVERIFY(!IniFile::holdsOnOneLine(value));
    QTemporaryDir dir;
    const QString path = dir.path() + "/KRVX.ini";
    const QByteArray before("[Path]\nGXPath=/old\n");
    writeAll(path, before);
    QVERIFY(!IniFile(path).write("Path", "GXPath", value));
    QCOMPARE(readAll(path), before);
    QVERIFY(!IniFile(dir.path() + "/new.ini").write("Path", "GXPath", value));
    QVERIFY(!QFile::exists(dir.path() + "/new.ini"));
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
