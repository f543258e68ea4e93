// Page timings on full-size sample databases, headless. Not a ctest test: run it by hand in a
// Release build (build-rel/bench_editor).

#include "ScriptedPrompts.h"

#include "editor/ChangesWindow.h"
#include "editor/LoadedTables.h"
#include "editor/ManagerPage.h"
#include "editor/PlayerPage.h"
#include "editor/RecordTableModel.h"
#include "editor/TDataEditor.h"
#include "editor/TableWindow.h"
#include "editor/TeamPage.h"
#include "gamedb/Backups.h"
#include "gamedb/Changes.h"
#include "sample/SampleGame.h"
#include "widgets/AppConfig.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QElapsedTimer>
#include <QFile>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QTabWidget>
#include <QTableView>
#include <QTemporaryDir>
#include <QtTest>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <vector>

#ifdef _WIN32
#include <io.h>
#else
#include <unistd.h>
#endif

namespace {

double median(std::vector<double> ms)
{
    std::sort(ms.begin(), ms.end());
    return ms[ms.size() / 2];
}

// first, when given, receives the first run's figure.
double medianMs(int runs, const std::function<void()>& setup, const std::function<void()>& action,
                double* first = nullptr)
{
    std::vector<double> ms;
    for (int i = 0; i < runs; ++i) {
        setup();
        QElapsedTimer t;
        t.start();
        action();
        ms.push_back(static_cast<double>(t.nsecsElapsed()) / 1e6);
    }
    if (first)
        *first = ms.front();
    return median(std::move(ms));
}

// A line of /proc/self/status in kB ("VmRSS:"); -1 where there is none.
long statusKb(const char* key)
{
    long kb = -1;
    if (std::FILE* f = std::fopen("/proc/self/status", "r")) {
        char line[256];
        while (std::fgets(line, sizeof line, f)) {
            if (std::strncmp(line, key, std::strlen(key)) == 0)
                kb = std::atol(line + std::strlen(key));
        }
        std::fclose(f);
    }
    return kb;
}

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QTemporaryDir dir;
    sample::writeSampleGame(dir.path(), sample::Size::Full);
    QTemporaryDir backupRoot; // nothing of the run goes into the user's own backups
    AppConfig config(dir.path(), backupRoot.path());
    ScriptedPrompts prompts;
    TDataEditor ed(ToolContext{config, prompts});
    ed.show();
    constexpr int runs = 15;

    auto loadOnly = [&](bool managers, bool players) {
        ed.ManC->setChecked(managers);
        ed.TeamC->setChecked(false);
        ed.PlayC->setChecked(players);
    };
    const double loadMgr = medianMs(
        runs, [&] { loadOnly(true, false); }, [&] { ed.LoadBClick(); });
    auto& m = *ed.Manager;
    std::printf("managers (%d): load, fill the list, show the first record: %.2f ms\n", m.table().count(), loadMgr);
    const double resetMgr = medianMs(
        runs, [] {}, [&] { m.ManResClick(); });
    std::printf("managers: Reset %.2f ms\n", resetMgr);
    const double searchMgr = medianMs(
        runs, [&] { prompts.textAnswers = {QString("an")}; }, [&] { m.ManSrcClick(); });
    std::printf("managers: Search \"an\" %.2f ms (%d lines)\n", searchMgr, m.ManList->model()->rowCount());
    const double stepMgr = medianMs(
        runs, [] {}, [&] { m.ManListClick(); });
    std::printf("managers: store-and-show %.3f ms\n", stepMgr);

    // Teams: the load with the first record shown, a slot switch, the store-and-show step.
    {
        const double loadTeams = medianMs(
            runs,
            [&] {
                ed.ManC->setChecked(false);
                ed.TeamC->setChecked(true);
                ed.PlayC->setChecked(false);
            },
            [&] { ed.LoadBClick(); });
        auto& t = *ed.TeamTab;
        std::printf("teams (%d): load, fill the list, show the first record: %.2f ms\n", t.table().count(), loadTeams);
        int slot = 0;
        const double switchTeams = medianMs(
            101, [&] { t.TeLongC->setCurrentIndex(slot = (slot + 1) % 7); }, [&] { t.TeLongCChange(); });
        std::printf("teams: selector switch %.3f ms\n", switchTeams);
        const double stepTeams = medianMs(
            101, [] {}, [&] { t.TeamListClick(); });
        std::printf("teams: store-and-show %.3f ms\n", stepTeams);
        const double resetTeams = medianMs(
            runs, [] {}, [&] { t.TeResClick(); });
        std::printf("teams: Reset %.2f ms\n", resetTeams);
    }

    // As many runs as the plain read below: the first loads take memory the process never had
    // (where a new page is dear, as under some sandboxes, they cost several times a later load),
    // so the first is shown on its own.
    double firstLoadPl = 0;
    const double loadPl = medianMs(
        runs, [&] { loadOnly(false, true); }, [&] { ed.LoadBClick(); }, &firstLoadPl);
    auto& p = *ed.Player;
    std::printf("players (%d): load, fill the list, show the first record: %.2f ms (the first of the run %.2f ms)\n",
                p.table().count(), loadPl, firstLoadPl);
    // The list is laid out when its page is first shown, not while the load fills it hidden.
    const double showPl = medianMs(
        runs,
        [&] {
            ed.Menu->setCurrentIndex(0);
            ed.LoadBClick();
        },
        [&] {
            ed.Menu->setCurrentWidget(&p);
            p.PlayList->grab(); // laid out and painted
        });
    ed.Menu->setCurrentIndex(0);
    std::printf("players: showing the page after a load, its list laid out and painted %.2f ms\n", showPl);
    const double resetPl = medianMs(
        5, [] {}, [&] { p.PlResClick(); });
    std::printf("players: Reset %.2f ms\n", resetPl);
    const double searchPl = medianMs(
        5, [&] { prompts.textAnswers = {QString("an")}; }, [&] { p.PlSrcClick(); });
    std::printf("players: Search \"an\" %.2f ms (%d lines)\n", searchPl, p.PlayList->model()->rowCount());
    // Where a player refill goes: building the lines, and sorting them.
    gamedb::ListLines lines;
    const double build = medianMs(
        5, [&] { lines = {}; },
        [&] {
            lines.reserve(static_cast<std::size_t>(p.table().count()));
            for (int i = 1; i <= p.table().count(); ++i)
                lines.add(p.table(), i);
        });
    gamedb::ListLines sorted;
    const double sort = medianMs(
        5, [&] { sorted = lines; }, [&] { sorted.sort(); }); // each run from record order
    std::printf("players: building %zu lines %.2f ms, sorting them %.2f ms\n", lines.size(), build, sort);
    // Players beside the plain read of the same file in this run, and the step that runs on every
    // click in the list.
    double plainPl = 0;
    {
        const QString file = dir.path() + "/Players.db1";
        qint64 bytes = 0;
        const double plain = medianMs(
            runs, [] {},
            [&] {
                QFile f(file);
                if (f.open(QIODevice::ReadOnly))
                    bytes = f.readAll().size();
            });
        std::printf("players: plain read of Players.db1 (%lld bytes) %.2f ms; load %.1fx, Reset %.1fx, Search %.1fx "
                    "that\n",
                    static_cast<long long>(bytes), plain, loadPl / plain, resetPl / plain, searchPl / plain);
        plainPl = plain;
        QTest::mouseClick(p.PlRes, Qt::LeftButton);
        const double stepPl = medianMs(
            101, [] {}, [&] { p.PlayListClick(); });
        std::printf("players: store-and-show %.3f ms\n", stepPl);

        // Peak resident memory from here on (Linux: 5 resets the high-water mark), while all
        // three databases are loaded again and each page is shown.
        if (std::FILE* f = std::fopen("/proc/self/clear_refs", "w")) {
            std::fputs("5", f);
            std::fclose(f);
        }
        ed.ManC->setChecked(true);
        ed.TeamC->setChecked(true);
        ed.PlayC->setChecked(true);
        ed.LoadBClick();
        for (int i = 0; i < ed.Menu->count(); ++i) {
            if (!ed.Menu->isTabVisible(i))
                continue;
            ed.Menu->setCurrentIndex(i);
            ed.grab(); // paints the page and its list
        }
        std::printf("all three loaded: peak resident %.1f MB (now %.1f MB)\n", statusKb("VmHWM:") / 1024.0,
                    statusKb("VmRSS:") / 1024.0);
    }

    // What a save would write: the changes of 20000 players after 100 edits (and with a Delete,
    // which matches by ID), and the changes window over 1000 changed fields; what remembering the
    // three loaded tables holds; the backup copy of Players.db1 beside a plain copy with flush.
    {
        editor::LoadedTables& tables = ed.loadedTables();
        std::size_t remembered = 0;
        for (int i = 0; i < editor::LoadedTables::kTables; ++i)
            remembered += tables.loaded(i).bytes().capacity();
        std::printf("remembering the three loaded tables: %.2f MB\n", static_cast<double>(remembered) / 1048576.0);

        gamedb::RecordTable& players = ed.Player->table();
        const gamedb::Field& goals = gamedb::fieldNamed(players.format().schema, "PlGoals");
        auto edit = [&](int from, int to) {
            for (int k = from; k < to; ++k) { // 7919 is prime to 20000: every k its own record
                std::uint8_t* b = players.record(1 + (k * 7919) % players.count()) + goals.offset;
                *b = static_cast<std::uint8_t>(*b + 1);
            }
        };
        edit(0, 100);
        gamedb::ChangeCount n;
        const double count = medianMs(
            101, [] {}, [&] { n = gamedb::countOf(gamedb::changesBetween(tables.loaded(2), players)); });
        gamedb::RecordTable deleted = players;
        deleted.remove(1);
        gamedb::ChangeCount nd;
        const double countDeleted = medianMs(
            101, [] {}, [&] { nd = gamedb::countOf(gamedb::changesBetween(tables.loaded(2), deleted)); });
        std::printf("players: counting the changes after 100 edits %.3f ms (%d changed); after a Delete too %.3f ms "
                    "(%d changed, %d deleted)\n",
                    count, n.changed, countDeleted, nd.changed, nd.deleted);

        edit(100, 1000);
        ed.Menu->setCurrentWidget(ed.Player);
        int lines = 0;
        const double open = medianMs(
            runs, [&] { delete ed.changesWindow(); },
            [&] {
                ed.ReviewBClick();
                ed.changesWindow()->grab(); // laid out and painted
                lines = ed.changesWindow()->lines()->rowCount();
            });
        delete ed.changesWindow();
        std::printf("changes window over %d changed fields: open and paint %.2f ms\n", lines, open);
        tables.revertAll(2);

        const QString file = dir.path() + "/Players.db1";
        QTemporaryDir copies;
        const QString plainCopy = copies.path() + "/plain copy";
        // The two take turns, each first in every other round: a flush waits on the disk, and
        // a disk other programs share would otherwise weigh on whichever ran while it was busy.
        std::vector<double> plainMs;
        std::vector<double> backupMs;
        auto timed = [](const std::function<void()>& action) {
            QElapsedTimer t;
            t.start();
            action();
            return static_cast<double>(t.nsecsElapsed()) / 1e6;
        };
        auto plainRun = [&] {
            QFile::remove(plainCopy);
            plainMs.push_back(timed([&] {
                QFile in(file);
                QFile out(plainCopy);
                if (!in.open(QIODevice::ReadOnly) || !out.open(QIODevice::WriteOnly))
                    std::abort();
                out.write(in.readAll());
                out.flush();
#ifdef _WIN32
                _commit(out.handle());
#else
                ::fsync(out.handle());
#endif
            }));
        };
        auto backupRun = [&] {
            backupMs.push_back(
                timed([&] { gamedb::Backups(copies.path() + "/backups").beforeSave(dir.path(), file, false); }));
        };
        for (int i = 0; i < 2 * runs + 1; ++i) {
            if (i % 2 == 0) {
                plainRun();
                backupRun();
            } else {
                backupRun();
                plainRun();
            }
        }
        const double plain = median(plainMs);
        const double backup = median(backupMs);
        std::printf("backup copy of Players.db1 %.2f ms, plain copy with flush %.2f ms: %.2fx (medians of %zu turns "
                    "each)\n",
                    backup, plain, backup / plain, plainMs.size());
    }
    // The table window over 20000 players, each figure beside its target.
    {
        ed.Menu->setCurrentWidget(ed.Player);
        auto& players = *ed.Player;
        const long before = statusKb("VmRSS:");
        const double open = medianMs(
            runs, [&] { delete ed.tableWindow(2); },
            [&] {
                ed.openTable(&players);
                ed.tableWindow(2)->grab(); // laid out, its first rows painted
            });
        editor::TableWindow* w = ed.tableWindow(2);
        const long after = statusKb("VmRSS:");
        if (!QTest::qWaitForWindowExposed(w))
            std::printf("the table window was never shown\n");
        editor::RecordTableModel& model = *w->model();
        auto column = [&](const char* control) {
            for (int c = 1; c < model.columnCount(); ++c) {
                if (model.fieldOf(c)->control == control)
                    return c;
            }
            std::abort();
        };
        const int pace = column("PlSk16");
        const int second = column("PlSName");
        QLineEdit* box = w->filterBox(pace);
        // The last key of ">=18": the filter read, 20000 records filtered, the rows painted.
        const double key = medianMs(
            101,
            [&] {
                box->setText(">=1");
                model.setFilter(pace, box->text());
                model.apply();
            },
            [&] {
                QTest::keyClick(box, Qt::Key_8);
                w->TableView->viewport()->repaint();
            });
        const int shown = model.rowCount();
        box->clear();
        model.setFilter(pace, QString());
        model.apply();
        bool down = false;
        auto sortBy = [&](int c) {
            return medianMs(
                runs, [&] { down = !down; },
                [&] {
                    model.sort(c, down ? Qt::DescendingOrder : Qt::AscendingOrder);
                    w->TableView->viewport()->repaint();
                });
        };
        const double byText = sortBy(second);
        const double byNumber = sortBy(pace);
        std::printf("table window over %d players: open and first rows painted %.2f ms (target under 50)\n",
                    model.rowCount(), open);
        std::printf("table window: filter keystroke (>=18 on pace, %d rows) %.2f ms (target under 10)\n", shown, key);
        std::printf("table window: sort by a text column %.2f ms (target under 15), by a number column %.2f ms "
                    "(target under 5)\n",
                    byText, byNumber);
        std::printf("table window: memory it adds %.2f MB resident (target under 2)\n", (after - before) / 1024.0);
        std::printf("players: load to the first record %.2f ms, %.1fx the plain read (target at most 20x)\n", loadPl,
                    loadPl / plainPl);
    }
    if (!prompts.texts(ScriptedPrompts::Kind::GeneralError).isEmpty()) {
        std::printf("error: %s\n", qPrintable(prompts.texts(ScriptedPrompts::Kind::GeneralError).join("; ")));
        return 1;
    }
    return 0;
}
