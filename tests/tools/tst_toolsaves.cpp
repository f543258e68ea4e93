// The side tools' saves over a file another program changed after the window read it: asked
// first; on anything but Yes that file keeps the other program's bytes and the window its edits.
#include "ScriptedPrompts.h"
#include "TestFiles.h"

#include "tools/THallFame.h"
#include "tools/TSaveGame.h"
#include "widgets/AppConfig.h"

#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QtTest>

#include <memory>

using namespace testfiles;
using Kind = ScriptedPrompts::Kind;
using Answer = Prompts::Answer;

namespace {

QByteArray names(const QByteArray& first, int count, int width = 80)
{
    QByteArray f = first.leftJustified(width, '\0', true);
    for (int i = 1; i < count; ++i)
        f.append(QByteArray().leftJustified(width, '\0'));
    return f;
}

QByteArray hallOfFameFile(const QByteArray& first)
{
    QByteArray f;
    for (int r = 0; r < 30; ++r)
        f.append((r == 0 ? first : QByteArray("M")).leftJustified(80, '\0'))
            .append(QByteArray("T").leftJustified(80, '\0'))
            .append(QByteArray(4, '\0'));
    return f;
}

} // namespace

class TestToolSaves : public QObject {
    Q_OBJECT
private slots:
    void hallOfFame_data();
    void hallOfFame();
    void renamerSavesTheUnchangedIndex_data();
    void renamerSavesTheUnchangedIndex();
};

void TestToolSaves::hallOfFame_data()
{
    QTest::addColumn<int>("answer");
    QTest::addColumn<bool>("overwritten");
    QTest::newRow("Yes") << int(Answer::Yes) << true;
    QTest::newRow("No") << int(Answer::No) << false;
    QTest::newRow("Escape") << int(Answer::Dismissed) << false;
}

void TestToolSaves::hallOfFame()
{
    QFETCH(int, answer);
    QFETCH(bool, overwritten);
    QTemporaryDir dir;
    const QString path = dir.path() + "/Hiscores.bin";
    writeAll(path, hallOfFameFile("Ours"));
    AppConfig config(dir.path());
    ScriptedPrompts prompts;
    THallFame window(ToolContext{config, prompts});
    window.show();
    auto* box = window.findChild<QLineEdit*>("Manager");
    box->selectAll();
    QTest::keyClicks(box, "Edited");
    writeAll(path, hallOfFameFile("Theirs"));

    prompts.confirmAnswers << ScriptedPrompts::Reply(Answer(answer));
    QTest::mouseClick(window.findChild<QPushButton*>("Button1"), Qt::LeftButton);
    QCOMPARE(prompts.texts(Kind::Confirm),
             QStringList{"Hiscores.bin was changed by another program after it was loaded. Overwrite it?"});
    QCOMPARE(readAll(path).left(6), overwritten ? QByteArray("Edited") : QByteArray("Theirs"));
    // Not written: the window stays with the edit in it.
    QCOMPARE(window.isVisible(), !overwritten);
    QCOMPARE(window.findChild<QTableWidget*>("Manag")->item(0, 0)->text(), QString("Edited"));
}

void TestToolSaves::renamerSavesTheUnchangedIndex_data()
{
    hallOfFame_data();
}

// Of the two indexes only the changed one is asked about; the other is saved either way.
void TestToolSaves::renamerSavesTheUnchangedIndex()
{
    QFETCH(int, answer);
    QFETCH(bool, overwritten);
    QTemporaryDir dir;
    writeAll(dir.path() + "/Gamess16.idx", names("Big", 7));
    writeAll(dir.path() + "/Gamess8.idx", names("Small", 7));
    AppConfig config(dir.path());
    ScriptedPrompts prompts;
    TSaveGame window(ToolContext{config, prompts});
    window.show();
    for (const char* name : {"Mb161", "Mb81"}) {
        auto* box = window.findChild<QLineEdit*>(name);
        box->selectAll();
        QTest::keyClicks(box, "Renamed");
    }
    writeAll(dir.path() + "/Gamess8.idx", names("Theirs", 7));

    prompts.confirmAnswers << ScriptedPrompts::Reply(Answer(answer));
    QTest::mouseClick(window.findChild<QPushButton*>("Button1"), Qt::LeftButton);
    QCOMPARE(prompts.texts(Kind::Confirm),
             QStringList{"Gamess8.idx was changed by another program after it was loaded. Overwrite it?"});
    QCOMPARE(readAll(dir.path() + "/Gamess16.idx"), names("Renamed", 7));
    QCOMPARE(readAll(dir.path() + "/Gamess8.idx"), names(overwritten ? "Renamed" : "Theirs", 7));
    QCOMPARE(window.isVisible(), !overwritten);
}

QTEST_MAIN(TestToolSaves)
#include "tst_toolsaves.moc"
