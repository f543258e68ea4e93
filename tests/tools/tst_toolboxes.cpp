// The side tools' "Save Changes?" on the real question box, answered by real input: the hall of
// fame saves unless told No, the renamer discards unless told Yes.

#include "TestFiles.h"
#include "WindowSystem.h"

#include "tools/THallFame.h"
#include "tools/TSaveGame.h"
#include "widgets/AppConfig.h"
#include "widgets/Prompts.h"

#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

#include <memory>

using namespace testfiles;
using windowsystem::BoxAct;

namespace {

QByteArray field(const QByteArray& text)
{
    return text.leftJustified(80, '\0', true);
}

// Thirty hall-of-fame entries of 164 bytes: manager, team, points.
QByteArray hallOfFame()
{
    QByteArray f;
    for (int k = 1; k <= 30; ++k)
        f += field("Manager " + QByteArray::number(k)) + field("Team " + QByteArray::number(k)) +
             QByteArray("\x64\0\0\0", 4);
    return f;
}

QByteArray savedGames()
{
    QByteArray f;
    for (const char* name : {"Spring save", "", "Cup run", "", "", "", "Last"})
        f += field(name);
    return f;
}

} // namespace

class TestToolBoxes : public QObject {
    Q_OBJECT
private slots:
    void init();
    void hallOfFameSavesUnlessNo_data();
    void hallOfFameSavesUnlessNo();
    void renamerDiscardsUnlessYes_data();
    void renamerDiscardsUnlessYes();

private:
    std::unique_ptr<QTemporaryDir> dir_;
};

void TestToolBoxes::init()
{
    dir_ = std::make_unique<QTemporaryDir>();
    QVERIFY(dir_->isValid());
}

void TestToolBoxes::hallOfFameSavesUnlessNo_data()
{
    QTest::addColumn<int>("act");
    QTest::addColumn<bool>("saved");
    QTest::newRow("Escape") << int(BoxAct::Escape) << true;
    QTest::newRow("close box") << int(BoxAct::CloseBox) << true;
    QTest::newRow("closed") << int(BoxAct::Close) << true;
    QTest::newRow("No") << int(BoxAct::ClickNo) << false;
    QTest::newRow("Yes") << int(BoxAct::ClickYes) << true;
}

void TestToolBoxes::hallOfFameSavesUnlessNo()
{
    QFETCH(int, act);
    QFETCH(bool, saved);
    const QString path = dir_->path() + "/Hiscores.bin";
    const QByteArray original = hallOfFame();
    writeAll(path, original);
    AppConfig config(dir_->path());
    DialogPrompts prompts;
    THallFame window(ToolContext{config, prompts});
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    auto* team = window.findChild<QLineEdit*>("Team");
    QTest::keyClick(team, Qt::Key_End);
    QTest::keyClicks(team, "X");

    const auto watch = windowsystem::answerNextBox(BoxAct(act));
    QTest::mouseClick(window.findChild<QPushButton*>("Button2"), Qt::LeftButton);
    QVERIFY(watch->answered);
    QVERIFY(!watch->stuck);
    QCOMPARE(watch->text, QStringLiteral("Save Changes?"));
    QVERIFY(!window.isVisible());
    QByteArray edited = original;
    edited.replace(80, 80, field("Team 1X"));
    QCOMPARE(readAll(path), saved ? edited : original);
}

void TestToolBoxes::renamerDiscardsUnlessYes_data()
{
    QTest::addColumn<int>("act");
    QTest::addColumn<bool>("saved");
    QTest::newRow("Escape") << int(BoxAct::Escape) << false;
    QTest::newRow("close box") << int(BoxAct::CloseBox) << false;
    QTest::newRow("closed") << int(BoxAct::Close) << false;
    QTest::newRow("No") << int(BoxAct::ClickNo) << false;
    QTest::newRow("Yes") << int(BoxAct::ClickYes) << true;
}

void TestToolBoxes::renamerDiscardsUnlessYes()
{
    QFETCH(int, act);
    QFETCH(bool, saved);
    const QString path = dir_->path() + "/Gamess16.idx";
    const QByteArray original = savedGames();
    writeAll(path, original);
    AppConfig config(dir_->path());
    DialogPrompts prompts;
    TSaveGame window(ToolContext{config, prompts});
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    auto* name = window.findChild<QLineEdit*>("Mb162");
    QTest::keyClicks(name, "New");

    const auto watch = windowsystem::answerNextBox(BoxAct(act));
    QTest::mouseClick(window.findChild<QPushButton*>("Button2"), Qt::LeftButton);
    QVERIFY(watch->answered);
    QVERIFY(!watch->stuck);
    QCOMPARE(watch->text, QStringLiteral("Save Changes?"));
    QVERIFY(!window.isVisible());
    QByteArray edited = original;
    edited.replace(80, 80, field("New"));
    QCOMPARE(readAll(path), saved ? edited : original);
}

QTEST_MAIN(TestToolBoxes)
#include "tst_toolboxes.moc"
