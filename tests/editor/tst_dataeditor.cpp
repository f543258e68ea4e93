// The data editor window: Load and Save pages, progress, the close question, failures, and the
// team and player lists on the shared page mechanism.

#include "EditorFixture.h"
#include "WindowSystem.h"

#include "app/THovedmenu.h"
#include "editor/PlayerPage.h"
#include "editor/TeamPage.h"
#include "gamedb/ManagerDb.h"
#include "gamedb/PlayerDb.h"
#include "gamedb/Schema.h"
#include "gamedb/TeamDb.h"
#include "widgets/Prompts.h"

#include <QCheckBox>
#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QProgressBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QTabBar>
#include <QTabWidget>
#include <QtTest>

#include <algorithm>

using namespace gamedb;
using fixture::Editor;
using fixture::Mgr;
using Kind = ScriptedPrompts::Kind;

namespace {

QList<Mgr> three()
{
    return {{0, "Erik", "Borsk", "442A", "", 120, 0},
            {1, "Anna", "Dorm", "", "", 50, 0},
            {2, "Ola", "Ahlberg", "", "", 10, 0}};
}

// A click on the box itself, not on the empty width of a stretched check box.
void tick(QCheckBox* box)
{
    QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(8, box->height() / 2));
}

bool tabShown(TDataEditor& ed, QWidget* page)
{
    return ed.Menu->isTabVisible(ed.Menu->indexOf(page));
}

} // namespace

class TestDataEditor : public QObject {
    Q_OBJECT
private slots:
    void windowShape();
    void loadBoxesFollowTheFiles_data();
    void loadBoxesFollowTheFiles();
    void loadShowsManagersAndSave();
    void loadWithNothingTickedChangesNothing();
    void progressSteps();
    void progressRepaintsAtMostOnceAFrame();
    void editReachesTheFileOnSave();
    void closeQuestion();
    void closeQuestionThroughTheMainWindow();
    void closeQuestionOnTheRealBox_data();
    void closeQuestionOnTheRealBox();
    void failedSaveLeavesTheFileUntouched();
    void failedLoadKeepsWhatWasLoaded();
    void teamsAndPlayersBrowseSearchAndSave();
    void playerNewShowsTheNewRecord();
};

void TestDataEditor::windowShape()
{
    Editor e;
    TDataEditor& ed = e.open();
    QCOMPARE(ed.objectName(), QString("DataEditor"));
    QCOMPARE(ed.windowTitle(), QString("KRVX Data Editor"));
    QCOMPARE(ed.size(), QSize(501, 391));
    QStringList pages;
    QStringList captions;
    for (int i = 0; i < ed.Menu->count(); ++i) {
        pages << ed.Menu->widget(i)->objectName();
        captions << ed.Menu->tabText(i);
    }
    QCOMPARE(pages, QStringList({"Load", "Manager", "TeamTab", "Player", "History", "SaveTab"}));
    QCOMPARE(captions, QStringList({"&Load", "&Managers", "&Teams", "&Players", "Player &Histories", "&Save"}));
    for (QWidget* hidden : {static_cast<QWidget*>(ed.Manager), static_cast<QWidget*>(ed.TeamTab),
                            static_cast<QWidget*>(ed.Player), ed.History, ed.SaveTab})
        QVERIFY(!tabShown(ed, hidden));
    QCOMPARE(ed.Menu->currentWidget(), ed.Load);
    QVERIFY(ed.HistoC->isHidden());
    QVERIFY(ed.HisSa->isHidden());
    QVERIFY(ed.Prog->isHidden() && ed.ProgL->isHidden());
    QCOMPARE(ed.Manager->ManPa->tabPosition(), QTabWidget::South);
    QCOMPARE(ed.TeamTab->TeamPa->count(), 3);
    QCOMPARE(ed.Player->PlayPa->tabText(2), QString("Page 3"));
    QCOMPARE(ed.TeamTab->TeSrc->text(), QString("Search"));
    QCOMPARE(ed.Manager->ManSrc->text(), QString("S&earch"));
}

void TestDataEditor::loadBoxesFollowTheFiles_data()
{
    QTest::addColumn<QStringList>("files");
    QTest::addColumn<QList<bool>>("enabled"); // ManC, TeamC, PlayC, HistoC
    QTest::newRow("none") << QStringList() << QList<bool>{false, false, false, false};
    QTest::newRow("teams only") << QStringList{"Tmdata.db1"} << QList<bool>{false, true, false, false};
    QTest::newRow("all, names in capitals") << QStringList{"MGDATA.DB1", "Tmdata.db1", "PLAYERS.DB1", "Plhist98.bin"}
                                            << QList<bool>{true, true, true, true};
}

void TestDataEditor::loadBoxesFollowTheFiles()
{
    QFETCH(QStringList, files);
    QFETCH(QList<bool>, enabled);
    Editor e;
    for (const QString& f : files)
        testfiles::writeAll(e.dir.path() + "/" + f, QByteArray(10, '\0'));
    TDataEditor& ed = e.open();
    const QList<QCheckBox*> boxes{ed.ManC, ed.TeamC, ed.PlayC, ed.HistoC};
    for (int i = 0; i < boxes.size(); ++i) {
        QCOMPARE(boxes[i]->isEnabled(), enabled[i]);
        QVERIFY(!boxes[i]->isChecked());
    }
    // A disabled box cannot be ticked by the user.
    if (!ed.ManC->isEnabled()) {
        tick(ed.ManC);
        QVERIFY(!ed.ManC->isChecked());
    }
}

void TestDataEditor::loadShowsManagersAndSave()
{
    Editor e;
    e.writeManagers(three());
    TDataEditor& ed = e.open();
    tick(ed.ManC);
    QTest::mouseClick(ed.LoadB, Qt::LeftButton);
    QVERIFY(tabShown(ed, ed.Manager));
    QVERIFY(tabShown(ed, ed.SaveTab));
    QVERIFY(!tabShown(ed, ed.TeamTab));
    QVERIFY(!tabShown(ed, ed.Player));
    QVERIFY(!tabShown(ed, ed.History));
    QCOMPARE(ed.Menu->currentWidget(), ed.Load); // the user switches himself
    QVERIFY(ed.ManC->isChecked());
    QVERIFY(ed.Prog->isHidden() && ed.ProgL->isHidden());
    QVERIFY(!QGuiApplication::overrideCursor());

    auto& p = *ed.Manager;
    QCOMPARE(p.MaRec->text(), QString("3"));
    QCOMPARE(p.MaEft->text(), QString("Ahlberg"));
    QVERIFY(p.ManList->selectionModel()->selectedIndexes().isEmpty());
    QVERIFY(!ed.anyModified());

    QTabBar* tabs = ed.Menu->tabBar();
    QTest::mouseClick(tabs, Qt::LeftButton, {}, tabs->tabRect(ed.Menu->indexOf(ed.SaveTab)).center());
    QCOMPARE(ed.Menu->currentWidget(), ed.SaveTab);
    QVERIFY(ed.ManSa->isEnabled());
    QVERIFY(!ed.TeamSa->isEnabled());
    QVERIFY(!ed.PlaySa->isEnabled());

    // Closing with nothing changed asks nothing.
    QVERIFY(ed.close());
    QVERIFY(e.prompts.asked.isEmpty());
}

void TestDataEditor::loadWithNothingTickedChangesNothing()
{
    Editor e;
    e.writeManagers(three());
    TDataEditor& ed = e.open();
    QSignalSpy shown(ed.Prog, &QProgressBar::valueChanged);
    QTest::mouseClick(ed.LoadB, Qt::LeftButton);
    QVERIFY(!tabShown(ed, ed.Manager));
    QVERIFY(!tabShown(ed, ed.SaveTab));
    QVERIFY(ed.Prog->isHidden());
    QCOMPARE(shown.count(), 0);
    QVERIFY(e.prompts.asked.isEmpty());
}

void TestDataEditor::progressSteps()
{
    Editor e;
    e.writeManagers(three());
    TDataEditor& ed = e.open();
    QSignalSpy steps(ed.Prog, &QProgressBar::valueChanged);
    QStringList labels;
    QList<bool> busy;
    connect(ed.Prog, &QProgressBar::valueChanged, this, [&](int) {
        labels << ed.ProgL->text();
        busy << (QGuiApplication::overrideCursor() != nullptr);
    });
    e.load();
    // Where the load got to, at most once a frame, and 100 at the end.
    QList<int> values;
    for (const auto& s : steps)
        values << s.first().toInt();
    QVERIFY(!values.isEmpty() && values.size() <= 3);
    QVERIFY(std::is_sorted(values.begin(), values.end()));
    QCOMPARE(values.last(), 100);
    QCOMPARE(labels, QStringList(values.size(), "Loading Manager Data"));
    QCOMPARE(busy, QList<bool>(values.size(), true));
    QVERIFY(!QGuiApplication::overrideCursor());

    // The save reports to its own bar.
    QSignalSpy saveSteps(ed.ProgS, &QProgressBar::valueChanged);
    e.save();
    QVERIFY(saveSteps.count() >= 1 && saveSteps.count() <= 3);
    QCOMPARE(saveSteps.last().first().toInt(), 100);
    QCOMPARE(ed.ProgLS->text(), QString("Saving Manager Data"));
    QVERIFY(ed.ProgS->isHidden());
}

// A repaint of the bar costs more than many records: it repaints at the start, at most once a
// frame while the load runs, and at the end, however many whole percentages go by.
void TestDataEditor::progressRepaintsAtMostOnceAFrame()
{
    Editor e;
    QList<QByteArray> players;
    for (int i = 0; i < 20000; ++i)
        players << fixture::playerRecord(i, "First" + QByteArray::number(i % 97), "Second" + QByteArray::number(i));
    fixture::writePlayers(e, players);
    TDataEditor& ed = e.open();
    QVERIFY(QTest::qWaitForWindowExposed(&ed));
    struct PaintCount : QObject {
        int paints = 0;
        bool eventFilter(QObject*, QEvent* ev) override
        {
            paints += ev->type() == QEvent::Paint;
            return false;
        }
    } count;
    ed.Prog->installEventFilter(&count);
    QElapsedTimer t;
    t.start();
    e.load(false, false, true);
    const qint64 ms = t.elapsed();
    QCOMPARE(ed.Player->table().count(), 20000);
    QVERIFY2(count.paints >= 2, qPrintable(QString::number(count.paints)));
    QVERIFY2(count.paints <= ms / 16 + 3, qPrintable(QString("%1 repaints in %2 ms").arg(count.paints).arg(ms)));
}

void TestDataEditor::editReachesTheFileOnSave()
{
    Editor e;
    e.writeManagers(three());
    const QByteArray original = testfiles::readAll(e.path(kManagerFormat));
    e.load();
    auto& p = e.page();
    e.ed().Menu->setCurrentWidget(&p);
    p.ManPa->setCurrentWidget(p.Man2);
    p.MaRep->selectAll();
    QTest::keyClicks(p.MaRep, "199");
    QVERIFY(p.isModified());
    Editor::clickRow(p.ManList, 1); // Borsk: stores Ahlberg (record 3)
    const Field& rep = fieldNamed(kManagerFormat.schema, "MaRep");
    QCOMPARE(readNumber(e.record(3), rep), 199LL);
    QCOMPARE(readNumber(testfiles::toBytes(original).data() + 268 + 2 * 248, rep), 10LL);

    e.save();
    QVERIFY(e.prompts.asked.isEmpty());
    QVERIFY(!p.isModified());
    const QByteArray saved = testfiles::readAll(e.path(kManagerFormat));
    QCOMPARE(saved.size(), original.size());
    QCOMPARE(readNumber(testfiles::toBytes(saved).data() + 268 + 2 * 248, rep), 199LL);
    // Header and carried word kept, cleared word zeroed.
    QCOMPARE(saved.left(264), original.left(264));
    QCOMPARE(saved.mid(266, 2), QByteArray(2, '\0'));
    QCOMPARE(testfiles::filesIn(e.dir.path()), QStringList({"Mgdata.db1"}));
    // After the save, closing asks nothing.
    QVERIFY(e.ed().close());
    QVERIFY(e.prompts.asked.isEmpty());
}

void TestDataEditor::closeQuestion()
{
    Editor e;
    e.writeManagers(three());
    const QByteArray original = testfiles::readAll(e.path(kManagerFormat));
    e.load();
    auto& p = e.page();
    QTest::keyClicks(p.MaForN, "x");
    QVERIFY(e.ed().anyModified());

    // No, and a question dismissed by Escape or its close box, keep the editor open.
    for (const ScriptedPrompts::Reply answer :
         {ScriptedPrompts::Reply(false), ScriptedPrompts::Reply(Prompts::Answer::Dismissed)}) {
        e.ed().Menu->setCurrentWidget(e.ed().Load);
        e.prompts.confirmAnswers << answer;
        QVERIFY(!e.ed().close());
        QCOMPARE(e.prompts.texts(Kind::Confirm).last(), QString("Exit Data Editor without saving?"));
        QVERIFY(e.ed().isVisible());
        QCOMPARE(e.ed().Menu->currentWidget(), e.ed().SaveTab);
    }

    e.prompts.confirmAnswers << true;
    QVERIFY(e.ed().close());
    QCOMPARE(e.prompts.texts(Kind::Confirm).size(), 3);
    QCOMPARE(testfiles::readAll(e.path(kManagerFormat)), original);
}

void TestDataEditor::closeQuestionThroughTheMainWindow()
{
    Editor e;
    e.writeManagers(three());
    THovedmenu main(*e.config, e.prompts);
    main.resize(700, 800);
    main.show();
    QVERIFY(QTest::qWaitForWindowExposed(&main));
    main.DataEditor1->trigger();
    QCOMPARE(main.mdiArea()->subWindowList().size(), 1);
    QMdiSubWindow* sub = main.mdiArea()->subWindowList().first();
    auto* ed = qobject_cast<TDataEditor*>(sub->widget());
    QVERIFY(ed);
    const QRect free = main.mdiArea()->viewport()->rect();
    QCOMPARE(sub->y(), std::max(0, (free.height() - sub->height()) / 2) + 52);
    QCOMPARE(ed->Menu->currentWidget(), ed->Load);

    ed->ManC->setChecked(true);
    QTest::mouseClick(ed->LoadB, Qt::LeftButton);
    QTest::keyClicks(ed->Manager->MaForN, "x");

    QPointer<TDataEditor> alive(ed);
    e.prompts.confirmAnswers << false;
    QVERIFY(!main.close());
    QCOMPARE(e.prompts.texts(Kind::Confirm), QStringList("Exit Data Editor without saving?"));
    QVERIFY(main.isVisible());
    QVERIFY(alive);
    QCOMPARE(ed->Menu->currentWidget(), ed->SaveTab);

    e.prompts.confirmAnswers << true;
    QVERIFY(main.close());
    QTRY_VERIFY(!alive);
}

void TestDataEditor::closeQuestionOnTheRealBox_data()
{
    using windowsystem::BoxAct;
    QTest::addColumn<int>("act");
    QTest::addColumn<bool>("closes");
    QTest::newRow("Escape") << int(BoxAct::Escape) << false;
    QTest::newRow("close box") << int(BoxAct::CloseBox) << false;
    QTest::newRow("No") << int(BoxAct::ClickNo) << false;
    QTest::newRow("Yes") << int(BoxAct::ClickYes) << true;
}

// The window's close box asks on the real question box; only Yes lets the edits go.
void TestDataEditor::closeQuestionOnTheRealBox()
{
    QFETCH(int, act);
    QFETCH(bool, closes);
    Editor e;
    e.writeManagers(three());
    const QByteArray original = testfiles::readAll(e.path(kManagerFormat));
    DialogPrompts real;
    TDataEditor ed(ToolContext{*e.config, real});
    ed.show();
    QVERIFY(QTest::qWaitForWindowExposed(&ed));
    ed.ManC->setChecked(true);
    QTest::mouseClick(ed.LoadB, Qt::LeftButton);
    QTest::keyClicks(ed.Manager->MaForN, "x");
    QVERIFY(ed.anyModified());

    const auto watch = windowsystem::answerNextBox(windowsystem::BoxAct(act));
    windowsystem::closeBox(&ed);
    QVERIFY(watch->answered);
    QVERIFY(!watch->stuck);
    QCOMPARE(watch->text, QString("Exit Data Editor without saving?"));
    QCOMPARE(ed.isVisible(), !closes);
    if (!closes)
        QCOMPARE(ed.Menu->currentWidget(), ed.SaveTab);
    QCOMPARE(testfiles::readAll(e.path(kManagerFormat)), original);
}

void TestDataEditor::failedSaveLeavesTheFileUntouched()
{
    Editor e;
    e.writeManagers(three());
    const QByteArray original = testfiles::readAll(e.path(kManagerFormat));
    e.load();
    QTest::keyClicks(e.page().MaForN, "x");
    // The run's backup is made, so that the fault hits the write of the file itself.
    e.config->backups().beforeSave(e.dir.path(), e.path(kManagerFormat), false);
    {
        IoFaults faults;
        faults.writeLimit = 300;
        testfiles::FaultScope scope(faults);
        e.save();
    }
    QCOMPARE(e.prompts.texts(Kind::GeneralError), QStringList("Disk full."));
    QCOMPARE(testfiles::readAll(e.path(kManagerFormat)), original);
    QCOMPARE(testfiles::filesIn(e.dir.path()), QStringList({"Mgdata.db1"}));
    QVERIFY(e.page().isModified()); // still unsaved: closing asks
    QVERIFY(e.ed().ProgS->isHidden() && e.ed().ProgLS->isHidden());
    QVERIFY(!QGuiApplication::overrideCursor());

    // Once the disk has room, the same Save goes through.
    e.prompts.clear();
    QTest::mouseClick(e.ed().SaveB, Qt::LeftButton);
    QVERIFY(e.prompts.asked.isEmpty());
    QVERIFY(!e.page().isModified());
    QVERIFY(testfiles::readAll(e.path(kManagerFormat)) != original);
}

void TestDataEditor::failedLoadKeepsWhatWasLoaded()
{
    Editor e;
    e.writeManagers(three());
    e.load();
    auto& p = e.page();
    QTest::keyClicks(p.MaForN, "x");
    // The file now promises more records than it holds.
    QByteArray cut = testfiles::readAll(e.path(kManagerFormat));
    cut[263] = 5;
    testfiles::writeAll(e.path(kManagerFormat), cut);
    QTest::mouseClick(e.ed().LoadB, Qt::LeftButton);
    QCOMPARE(e.prompts.texts(Kind::GeneralError), QStringList("Read beyond end of file."));
    QCOMPARE(p.table().count(), 3);
    QCOMPARE(p.ManList->model()->rowCount(), 3);
    QCOMPARE(p.MaForN->text(), QString("Olax"));
    QVERIFY(p.isModified());
    QVERIFY(e.ed().Prog->isHidden() && e.ed().ProgL->isHidden());
    QVERIFY(!QGuiApplication::overrideCursor());
}

void TestDataEditor::teamsAndPlayersBrowseSearchAndSave()
{
    Editor e;
    e.writeManagers(three());
    e.write(kTeamFormat,
            {fixture::namedRecord(kTeamFormat, 0, "Vadmo Rovers"),
             fixture::namedRecord(kTeamFormat, 1, "Aarhem United"), fixture::namedRecord(kTeamFormat, 2, "Borgvik")});
    e.write(kPlayerFormat, {fixture::namedRecord(kPlayerFormat, 0, "Jan", "Lund"),
                            fixture::namedRecord(kPlayerFormat, 1, "Anja", "Berg")});
    e.load(true, true, true);
    TDataEditor& ed = e.ed();
    for (QWidget* page : {static_cast<QWidget*>(ed.Manager), static_cast<QWidget*>(ed.TeamTab),
                          static_cast<QWidget*>(ed.Player), ed.SaveTab})
        QVERIFY(tabShown(ed, page));
    auto& t = *ed.TeamTab;
    QCOMPARE(Editor::names(t.TeamList), QStringList({"Aarhem United", "Borgvik", "Vadmo Rovers"}));
    QCOMPARE(t.TeRec->text(), QString("2"));
    QCOMPARE(t.TeID->text(), QString("1"));
    QCOMPARE(Editor::names(ed.Player->PlayList), QStringList({"Berg, Anja", "Lund, Jan"}));
    QCOMPARE(ed.Player->PlRec->text(), QString("2"));

    e.prompts.textAnswers << QString("ROV");
    QTest::mouseClick(t.TeSrc, Qt::LeftButton);
    QCOMPARE(Editor::names(t.TeamList), QStringList({"Vadmo Rovers"}));
    QTest::mouseClick(t.TeRes, Qt::LeftButton);
    QCOMPARE(t.TeamList->model()->rowCount(), 3);

    QTest::mouseClick(t.TeNew, Qt::LeftButton);
    QCOMPARE(t.TeID->text(), QString("3"));
    QCOMPARE(t.TeRec->text(), QString("4"));
    QTest::mouseClick(t.TeNew, Qt::LeftButton);
    QCOMPARE(t.table().count(), 5);

    ed.Menu->setCurrentWidget(ed.SaveTab);
    for (QCheckBox* c : {ed.ManSa, ed.TeamSa, ed.PlaySa})
        QVERIFY(c->isEnabled());
    e.save(true, true, true);
    QVERIFY(e.prompts.texts(Kind::GeneralError).isEmpty());
    const QByteArray teams = testfiles::readAll(e.path(kTeamFormat));
    QCOMPARE(teams.size(), qsizetype(895 + 5 * 1024));
    QCOMPARE(teams.mid(889, 2), QByteArray("\x00\x05", 2));
    QCOMPARE(testfiles::readAll(e.path(kPlayerFormat)).size(), qsizetype(666 + 2 * 215));
}

void TestDataEditor::playerNewShowsTheNewRecord()
{
    Editor e;
    e.write(kPlayerFormat, {fixture::namedRecord(kPlayerFormat, 0, "Jan", "Lund"),
                            fixture::namedRecord(kPlayerFormat, 1, "Anja", "Berg"),
                            fixture::namedRecord(kPlayerFormat, 3, "Per", "Ek")});
    e.load(false, false, true);
    auto& pl = *e.ed().Player;
    QCOMPARE(pl.PlRec->text(), QString("2"));
    QTest::mouseClick(pl.PlNew, Qt::LeftButton);
    QCOMPARE(pl.table().count(), 4);
    QCOMPARE(readNumber(pl.table().record(4), kPlayerFormat.schema[0]), 2LL);
    // The new line sorts first and is the current line; the page shows its record.
    QCOMPARE(Editor::names(pl.PlayList).first(), QString(" , "));
    QCOMPARE(pl.PlayList->currentIndex().row(), 0);
    QCOMPARE(pl.PlRec->text(), QString("4"));
    QCOMPARE(pl.PlID->text(), QString("2"));
    QVERIFY(!pl.isModified());
}

QTEST_MAIN(TestDataEditor)
#include "tst_dataeditor.moc"
