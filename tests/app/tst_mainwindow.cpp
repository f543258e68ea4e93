#include "Platform.h"
#include "ScriptedPrompts.h"
#include "TestFiles.h"

#include "app/THovedmenu.h"
#include "widgets/AppConfig.h"
#include "widgets/Guard.h"

#include <QtTest>

#include <QAccessible>
#include <QCloseEvent>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QCheckBox>

namespace {

// A tool window that asks nothing and may refuse to close, as a window with unsaved edits does.
class StubbornTool : public QWidget {
public:
    bool refuse = true;
    int asked = 0;

protected:
    void closeEvent(QCloseEvent* e) override
    {
        ++asked;
        if (refuse)
            e->ignore();
        else
            e->accept();
    }
};

QStringList captions(const QMenu* menu)
{
    QStringList out;
    for (const QAction* a : menu->actions())
        out << (a->isSeparator() ? QStringLiteral("-") : a->text());
    return out;
}

} // namespace

class TestMainWindow : public QObject {
    Q_OBJECT
private slots:
    void init();
    void frameAndBanner();
    void menuCaptionsInOrder();
    void hallOfFameQuestionAnsweredNo();
    void dataEditorOpensWithTheKeysOnItsFirstFile_data();
    void dataEditorOpensWithTheKeysOnItsFirstFile();
    void exitWaitsForEveryToolWindow();
    void guardShowsErrorsWithFullStop();

private:
    std::unique_ptr<QTemporaryDir> dir_;
    std::unique_ptr<AppConfig> config_;
    ScriptedPrompts prompts_;
};

void TestMainWindow::init()
{
    dir_ = std::make_unique<QTemporaryDir>();
    config_ = std::make_unique<AppConfig>(dir_->path());
    prompts_ = ScriptedPrompts();
}

void TestMainWindow::frameAndBanner()
{
    THovedmenu w(*config_, prompts_);
    QCOMPARE(w.windowTitle(), QString("Korvex"));
    QCOMPARE(w.minimumSize(), QSize(520, 575));
    auto* panel = w.findChild<QFrame*>("Panel1");
    QVERIFY(panel);
    QCOMPARE(panel->height(), 105);
    QCOMPARE(w.findChild<QLabel*>("Label1")->text(), QString("Korvex 1.01"));
    QVERIFY(w.findChild<QLabel*>("Label1")->font().bold());
    QCOMPARE(w.findChild<QLabel*>("Image1")->size(), QSize(90, 75));
    QCOMPARE(w.findChild<QLabel*>("Image2")->size(), QSize(82, 75));
    QVERIFY(!w.findChild<QLabel*>("Image1")->pixmap().isNull());
    // The second credit line is bold teal in the title's font; every line fits at the smallest size.
    auto* title = w.findChild<QLabel*>("Label1");
    auto* credit = w.findChild<QLabel*>("Label3");
    QVERIFY(credit);
    QCOMPARE(title->font().pixelSize(), 27);
    QCOMPARE(credit->font(), title->font());
    QCOMPARE(credit->palette().color(QPalette::WindowText), QColor(0, 128, 128));
    QCOMPARE(title->palette().color(QPalette::WindowText), QColor(0, 128, 128));
    w.resize(w.minimumSize());
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    QCOMPARE(panel->height(), 105);
    if (platform::underWine())
        QSKIP("Wine has no Arial: its substitute's letters are taller than the banner's lines");
    // The letters of each line, as drawn centred in its label, lie wholly inside it, and the
    // lines neither overlap nor leave the panel.
    int below = 0;
    for (const char* name : {"Label1", "Label2", "Label3", "Label4"}) {
        const auto* line = w.findChild<QLabel*>(name);
        QVERIFY2(line, name);
        const QFontMetrics fm = line->fontMetrics();
        const int baseline = (line->height() - fm.height()) / 2 + fm.ascent();
        const QRect ink = fm.tightBoundingRect(line->text())
                              .translated((line->width() - fm.horizontalAdvance(line->text())) / 2, baseline);
        QVERIFY2(line->rect().adjusted(0, -1, 0, 1).contains(ink), name);
        const QRect onPanel(line->mapTo(panel, QPoint(0, 0)), line->size());
        QVERIFY2(panel->contentsRect().contains(onPanel), name);
        QVERIFY2(onPanel.top() >= below, name);
        below = onPanel.bottom() + 1;
    }
    QCOMPARE(w.mdiArea()->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
    QCOMPARE(w.mdiArea()->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
}

void TestMainWindow::menuCaptionsInOrder()
{
    THovedmenu w(*config_, prompts_);
    QStringList top;
    for (const QAction* a : w.menuBar()->actions())
        top << a->text();
    QCOMPARE(top, (QStringList{"&File", "&Edit"}));
    QCOMPARE(captions(w.findChild<QMenu*>("File1")),
             (QStringList{"&GX Folder", "&Restore a Backup\u2026", "-", "&Exit"}));
    QCOMPARE(captions(w.findChild<QMenu*>("Edit1")),
             (QStringList{"&Rename Saved Games", "&Hall of Fame Editor", "&Data Editor"}));
    for (const char* name :
         {"GXFolder1", "RestoreBackup1", "N1", "Exit1", "RenameSavedGames1", "EditHiscores1", "DataEditor1"})
        QVERIFY2(w.findChild<QAction*>(name), name);
}

void TestMainWindow::hallOfFameQuestionAnsweredNo()
{
    THovedmenu w(*config_, prompts_);
    prompts_.confirmAnswers = {false};
    w.findChild<QAction*>("EditHiscores1")->trigger();
    QCOMPARE(prompts_.texts(ScriptedPrompts::Kind::Confirm), QStringList{"File doesn't exist. Create?"});
    QVERIFY(w.mdiArea()->subWindowList().isEmpty());
    QVERIFY(testfiles::filesIn(dir_->path()).isEmpty());
}

void TestMainWindow::dataEditorOpensWithTheKeysOnItsFirstFile_data()
{
    QTest::addColumn<QStringList>("files");
    QTest::addColumn<QString>("focused");
    QTest::newRow("managers there") << QStringList{"Mgdata.db1", "Players.db1"} << "ManC";
    QTest::newRow("only players") << QStringList{"Players.db1"} << "PlayC";
    QTest::newRow("none there") << QStringList{} << "LoadB";
}

// Opened from the menu, the data editor takes the keys at the first file there is to tick, so
// Space ticks it; its frame alone would take them nowhere.
void TestMainWindow::dataEditorOpensWithTheKeysOnItsFirstFile()
{
    QFETCH(QStringList, files);
    QFETCH(QString, focused);
    for (const QString& f : files)
        testfiles::writeAll(dir_->path() + "/" + f, "x");
    THovedmenu w(*config_, prompts_);
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    w.activateWindow();
    w.findChild<QAction*>("DataEditor1")->trigger();
    QTRY_VERIFY(QApplication::focusWidget());
    QCOMPARE(QApplication::focusWidget()->objectName(), focused);
    if (auto* box = qobject_cast<QCheckBox*>(QApplication::focusWidget())) {
        QTest::keyClick(box, Qt::Key_Space);
        QVERIFY(box->isChecked());
    }
}

void TestMainWindow::exitWaitsForEveryToolWindow()
{
    THovedmenu w(*config_, prompts_);
    w.show();
    auto* stubborn = new StubbornTool;
    auto* willing = new StubbornTool;
    willing->refuse = false;
    w.openTool(willing);
    w.openTool(stubborn);
    QCOMPARE(w.mdiArea()->subWindowList().size(), 2);

    w.findChild<QAction*>("Exit1")->trigger();
    QVERIFY(w.isVisible());
    QCOMPARE(stubborn->asked, 1);
    QCOMPARE(w.mdiArea()->subWindowList().size(), 1); // the willing one closed, the other stays

    stubborn->refuse = false;
    QVERIFY(w.close());
    QVERIFY(!w.isVisible());
}

void TestMainWindow::guardShowsErrorsWithFullStop()
{
    bool after = false;
    QVERIFY(!guarded(prompts_, nullptr, [] { throw std::runtime_error("File not found"); }));
    QVERIFY(guarded(prompts_, nullptr, [&] { after = true; }));
    QVERIFY(!guarded(prompts_, nullptr, [] { throw std::runtime_error("Done."); }));
    QVERIFY(after);
    QCOMPARE(prompts_.texts(ScriptedPrompts::Kind::GeneralError), (QStringList{"File not found.", "Done."}));
}

QTEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"
