// File > Restore a Backup…: the list of the game folder's copies, a restore after the question, its
// undo through the copy it made, a copy that no longer loads refused, and a data editor that
// still holds the old table asking before its next save. Also the changes window inside the
// main frame, which closes with its data editor.
#include "../editor/EditorFixture.h"
#include "WindowSystem.h"

#include "app/THovedmenu.h"
#include "editor/ChangesWindow.h"
#include "editor/PlayerPage.h"
#include "gamedb/HallOfFame.h"
#include "gamedb/PlayerDb.h"
#include "tools/RestoreWindow.h"
#include "widgets/Prompts.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QTreeWidget>
#include <QtTest>

using namespace fixture;
using namespace testfiles;
using gamedb::Backups;
using gamedb::kPlayerFormat;
using Kind = ScriptedPrompts::Kind;

namespace {

QList<QByteArray> players(int n)
{
    QList<QByteArray> out;
    for (int i = 0; i < n; ++i)
        out << playerRecord(i, "First" + QByteArray::number(i), "Second");
    return out;
}

// A game folder whose Players.db1 was backed up holding three players and now holds two.
struct Folder {
    Folder()
    {
        e.config = std::make_unique<AppConfig>(e.dir.path(), root.path());
        writePlayers(e, players(3));
        three = readAll(e.path(kPlayerFormat));
        Backups(root.path()).beforeSave(e.dir.path(), e.path(kPlayerFormat), false);
        writePlayers(e, players(2));
        two = readAll(e.path(kPlayerFormat));
        main = std::make_unique<THovedmenu>(*e.config, e.prompts);
        main->show();
    }

    RestoreWindow* openRestore()
    {
        main->RestoreBackup1->trigger();
        return main->mdiArea()->findChild<RestoreWindow*>();
    }

    QTemporaryDir root;
    Editor e;
    QByteArray three;
    QByteArray two;
    std::unique_ptr<THovedmenu> main;
};

QStringList rows(RestoreWindow* w)
{
    QStringList out;
    for (int i = 0; i < w->BackupList->topLevelItemCount(); ++i) {
        const QTreeWidgetItem* item = w->BackupList->topLevelItem(i);
        out << item->text(RestoreWindow::File) + "|" + item->text(RestoreWindow::Records);
    }
    return out;
}

void choose(RestoreWindow* w, int row)
{
    w->BackupList->setCurrentItem(w->BackupList->topLevelItem(row));
}

// A click on the row, as the user picks a copy.
void click(RestoreWindow* w, int row)
{
    QTreeWidgetItem* item = w->BackupList->topLevelItem(row);
    w->BackupList->scrollToItem(item);
    QTest::mouseClick(w->BackupList->viewport(), Qt::LeftButton, {}, w->BackupList->visualItemRect(item).center());
}

} // namespace

class TestRestore : public QObject {
    Q_OBJECT
private slots:
    void restoreAndItsUndo();
    void restoreOnTheRealQuestion();
    void oldestAndNewestTwentyKeptOverManyRuns();
    void copyThatNoLongerLoadsIsRefused();
    void editorHoldingTheOldTableAsks();
    void changesWindowClosesWithItsEditor();
};

void TestRestore::restoreAndItsUndo()
{
    Folder f;
    writeAll(Backups(f.root.path()).folderFor(f.e.dir.path()) + "/Hiscores.bin 2020-01-02 03-04-05.bak",
             QByteArray(int(gamedb::kHallOfFameSize), '\0'));
    RestoreWindow* w = f.openRestore();
    QVERIFY(w);
    QVERIFY(qobject_cast<QMdiSubWindow*>(w->parentWidget()));
    QVERIFY2(w->FolderL->text().contains(QDir::toNativeSeparators(Backups(f.root.path()).folderFor(f.e.dir.path()))),
             qPrintable(w->FolderL->text()));
    // Newest first: file and record count.
    QCOMPARE(rows(w), (QStringList{"Players.db1|3", "Hiscores.bin|"}));
    QCOMPARE(w->BackupList->topLevelItem(0)->text(RestoreWindow::Size),
             QLocale().formattedDataSize(f.three.size(), 1, QLocale::DataSizeTraditionalFormat));
    const QString time = w->BackupList->topLevelItem(0)->text(RestoreWindow::Time);

    choose(w, 0);
    f.e.prompts.confirmAnswers << false;
    QTest::mouseClick(w->RestoreB, Qt::LeftButton);
    QCOMPARE(f.e.prompts.texts(Kind::Confirm), QStringList{"Replace Players.db1 with the copy from " + time + "?"});
    QCOMPARE(readAll(f.e.path(kPlayerFormat)), f.two);

    f.e.prompts.clear();
    f.e.prompts.confirmAnswers << true;
    QTest::mouseClick(w->RestoreB, Qt::LeftButton);
    QCOMPARE(f.e.prompts.texts(Kind::GeneralError), QStringList());
    QCOMPARE(readAll(f.e.path(kPlayerFormat)), f.three);
    // What it replaced is now the newest copy: restoring that undoes the restore.
    QCOMPARE(rows(w), (QStringList{"Players.db1|2", "Players.db1|3", "Hiscores.bin|"}));
    choose(w, 0);
    f.e.prompts.confirmAnswers << true;
    QTest::mouseClick(w->RestoreB, Qt::LeftButton);
    QCOMPARE(readAll(f.e.path(kPlayerFormat)), f.two);
    QCOMPARE(rows(w), (QStringList{"Players.db1|3", "Players.db1|2", "Players.db1|3", "Hiscores.bin|"}));
}

// The question on the real message box, answered by its keys: N keeps the file, Y restores.
void TestRestore::restoreOnTheRealQuestion()
{
    Folder f;
    DialogPrompts real;
    THovedmenu main(*f.e.config, real);
    main.show();
    QVERIFY(QTest::qWaitForWindowExposed(&main));
    main.RestoreBackup1->trigger();
    auto* w = main.mdiArea()->findChild<RestoreWindow*>();
    QVERIFY(w);
    QCOMPARE(rows(w), QStringList{"Players.db1|3"});
    const QString time = w->BackupList->topLevelItem(0)->text(RestoreWindow::Time);
    click(w, 0);
    QCOMPARE(w->BackupList->currentItem(), w->BackupList->topLevelItem(0));
    const QString question = "Replace Players.db1 with the copy from " + time + "?";

    const auto no = windowsystem::answerNextBox(windowsystem::BoxAct::KeyN);
    QTest::mouseClick(w->RestoreB, Qt::LeftButton);
    QTRY_VERIFY(no->answered);
    QCOMPARE(no->text, question);
    QVERIFY(!no->stuck);
    QCOMPARE(readAll(f.e.path(kPlayerFormat)), f.two);
    QCOMPARE(rows(w), QStringList{"Players.db1|3"});

    const auto yes = windowsystem::answerNextBox(windowsystem::BoxAct::KeyY);
    QTest::mouseClick(w->RestoreB, Qt::LeftButton);
    QTRY_VERIFY(yes->answered);
    QCOMPARE(yes->text, question);
    QVERIFY(!yes->stuck);
    QCOMPARE(readAll(f.e.path(kPlayerFormat)), f.three);
    QCOMPARE(rows(w), (QStringList{"Players.db1|2", "Players.db1|3"}));
}

// Twenty-five runs of the data editor, each adding a player and saving: the restore window lists
// the copy made before the first save and those before the last 20, newest first.
void TestRestore::oldestAndNewestTwentyKeptOverManyRuns()
{
    QTemporaryDir root;
    Editor e;
    writePlayers(e, players(1));
    const QByteArray first = readAll(e.path(kPlayerFormat));
    std::vector<std::unique_ptr<AppConfig>> earlier; // each run's editor outlives its config otherwise
    constexpr int kRuns = 25;
    for (int run = 0; run < kRuns; ++run) {
        earlier.push_back(std::move(e.config));
        e.config = std::make_unique<AppConfig>(e.dir.path(), root.path());
        e.open();
        e.load(false, false, true);
        QCOMPARE(e.ed().Player->table().count(), 1 + run);
        QTest::mouseClick(e.ed().Player->PlNew, Qt::LeftButton);
        e.save(false, false, true);
        QCOMPARE(e.prompts.texts(Kind::GeneralError), QStringList());
    }
    QCOMPARE(readAll(Backups(root.path()).list(e.dir.path()).front().path), first);

    THovedmenu main(*e.config, e.prompts);
    main.show();
    main.RestoreBackup1->trigger();
    auto* w = main.mdiArea()->findChild<RestoreWindow*>();
    QVERIFY(w);
    QStringList expected;
    for (int run = kRuns - 1; run >= kRuns - Backups::kKeptNewest; --run)
        expected << "Players.db1|" + QString::number(1 + run);
    expected << "Players.db1|1";
    QCOMPARE(rows(w), expected);
}

void TestRestore::copyThatNoLongerLoadsIsRefused()
{
    Folder f;
    const QString folder = Backups(f.root.path()).folderFor(f.e.dir.path());
    // A copy cut short after its count of three records.
    writeAll(folder + "/Players.db1 2020-01-02 03-04-05.bak", f.three.left(int(kPlayerFormat.recordsStart()) + 100));
    RestoreWindow* w = f.openRestore();
    QCOMPARE(rows(w), (QStringList{"Players.db1|3", "Players.db1|does not load"}));
    choose(w, 1);
    f.e.prompts.confirmAnswers << true;
    QTest::mouseClick(w->RestoreB, Qt::LeftButton);
    QCOMPARE(f.e.prompts.texts(Kind::GeneralError),
             QStringList{"The copy of Players.db1 from 2020-01-02 03:04:05 no longer loads (Read beyond end of file); "
                         "nothing was restored."});
    QCOMPARE(readAll(f.e.path(kPlayerFormat)), f.two);
    QCOMPARE(Backups(f.root.path()).list(f.e.dir.path()).size(), std::size_t(2)); // nothing backed up either
}

void TestRestore::editorHoldingTheOldTableAsks()
{
    Folder f;
    f.main->DataEditor1Click();
    auto* ed = f.main->mdiArea()->findChild<TDataEditor*>();
    QVERIFY(ed);
    ed->PlayC->setChecked(true);
    QTest::mouseClick(ed->LoadB, Qt::LeftButton);
    QCOMPARE(ed->Player->table().count(), 2);
    ed->Menu->setCurrentWidget(ed->Player);
    ed->Player->PlFName->selectAll();
    QTest::keyClicks(ed->Player->PlFName, "Edited");
    QVERIFY(ed->Player->isModified());

    RestoreWindow* w = f.openRestore();
    choose(w, 0);
    f.e.prompts.confirmAnswers << true;
    QTest::mouseClick(w->RestoreB, Qt::LeftButton);
    QCOMPARE(readAll(f.e.path(kPlayerFormat)), f.three);

    f.e.prompts.clear();
    f.e.prompts.confirmAnswers << false;
    ed->Menu->setCurrentWidget(ed->SaveTab);
    ed->PlaySa->setChecked(true);
    QTest::mouseClick(ed->SaveB, Qt::LeftButton);
    QCOMPARE(f.e.prompts.texts(Kind::Confirm),
             QStringList{"Players.db1 was changed by another program after it was loaded. Overwrite it?"});
    QCOMPARE(readAll(f.e.path(kPlayerFormat)), f.three);
    QVERIFY(ed->Player->isModified());
}

void TestRestore::changesWindowClosesWithItsEditor()
{
    Folder f;
    f.main->DataEditor1Click();
    auto* ed = f.main->mdiArea()->findChild<TDataEditor*>();
    ed->PlayC->setChecked(true);
    QTest::mouseClick(ed->LoadB, Qt::LeftButton);
    ed->Menu->setCurrentWidget(ed->SaveTab);
    QTest::mouseClick(ed->ReviewB, Qt::LeftButton);
    QPointer<editor::ChangesWindow> changes = ed->changesWindow();
    QVERIFY(changes);
    QPointer<QMdiSubWindow> frame = qobject_cast<QMdiSubWindow*>(changes->parentWidget());
    QVERIFY(frame);
    QCOMPARE(frame->mdiArea(), f.main->mdiArea());
    QCOMPARE(changes->lines()->rowCount(), 0);
    QVERIFY(qobject_cast<QMdiSubWindow*>(ed->parentWidget())->close());
    QTRY_VERIFY(!changes);
    QVERIFY(!frame);
}

QTEST_MAIN(TestRestore)
#include "tst_restore.moc"
