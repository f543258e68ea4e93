#include "WindowSystem.h"

#include "widgets/Prompts.h"

#include <QtTest>

using windowsystem::BoxAct;
using A = Prompts::Answer;

class TestPrompts : public QObject {
    Q_OBJECT
private slots:
    void confirmAnswersByHowTheBoxWasLeft_data();
    void confirmAnswersByHowTheBoxWasLeft();
};

void TestPrompts::confirmAnswersByHowTheBoxWasLeft_data()
{
    QTest::addColumn<int>("act");
    QTest::addColumn<int>("answer");
    QTest::newRow("Yes clicked") << int(BoxAct::ClickYes) << int(A::Yes);
    QTest::newRow("No clicked") << int(BoxAct::ClickNo) << int(A::No);
    QTest::newRow("Y key") << int(BoxAct::KeyY) << int(A::Yes);
    QTest::newRow("N key") << int(BoxAct::KeyN) << int(A::No);
    QTest::newRow("Escape") << int(BoxAct::Escape) << int(A::Dismissed);
    QTest::newRow("closed") << int(BoxAct::Close) << int(A::Dismissed);
    QTest::newRow("close box") << int(BoxAct::CloseBox) << int(A::Dismissed);
}

// The real box, answered by real input while it runs.
void TestPrompts::confirmAnswersByHowTheBoxWasLeft()
{
    QFETCH(int, act);
    QFETCH(int, answer);
    QWidget parent;
    parent.show();
    QVERIFY(QTest::qWaitForWindowExposed(&parent));
    DialogPrompts prompts;
    const auto watch = windowsystem::answerNextBox(BoxAct(act));
    const A got = prompts.confirm(&parent, QStringLiteral("Save Changes?"));
    QVERIFY(watch->answered);
    QVERIFY(!watch->stuck);
    QCOMPARE(watch->caption, QStringLiteral("Confirm"));
    QCOMPARE(watch->text, QStringLiteral("Save Changes?"));
    QCOMPARE(int(got), answer);
}

QTEST_MAIN(TestPrompts)
#include "tst_prompts.moc"
