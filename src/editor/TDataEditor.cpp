#include "editor/TDataEditor.h"

#include "widgets/AppConfig.h"
#include "widgets/Guard.h"
#include "widgets/Prompts.h"
#include "widgets/SideWindow.h"
#include "editor/ChangesWindow.h"
#include "editor/CsvMenu.h"
#include "editor/LoadedTables.h"
#include "editor/ManagerPage.h"
#include "editor/PlayerPage.h"
#include "editor/TableWindow.h"
#include "editor/TeamPage.h"
#include "gamedb/Database.h"

#include <QAction>
#include <QCheckBox>
#include <QCloseEvent>
#include <QGroupBox>
#include <QLabel>
#include <QListView>
#include <QProgressBar>
#include <QPushButton>
#include <QShortcut>
#include <QTabWidget>
#include <QTableView>
#include <QVBoxLayout>

#include <algorithm>
#include <array>

namespace {

template <class W> W* named(W* w, const char* name)
{
    w->setObjectName(QString::fromLatin1(name));
    return w;
}

// Hides the progress bar and label when the load or save ends, also on an error.
class HideOnExit {
public:
    HideOnExit(QWidget* a, QWidget* b) : a_(a), b_(b) {}
    ~HideOnExit()
    {
        a_->hide();
        b_->hide();
    }
    HideOnExit(const HideOnExit&) = delete;
    HideOnExit& operator=(const HideOnExit&) = delete;

private:
    QWidget* a_;
    QWidget* b_;
};

QLabel* progressLabel(QWidget* parent, const char* name)
{
    auto* label = named(new QLabel(parent), name);
    label->setAlignment(Qt::AlignCenter);
    QFont font = label->font();
    font.setPixelSize(16);
    label->setFont(font);
    label->hide();
    return label;
}

QProgressBar* progressBar(QWidget* parent, const char* name, const char* accessible)
{
    auto* bar = named(new QProgressBar(parent), name);
    bar->setRange(0, 100);
    bar->setValue(0);
    bar->setAccessibleName(QString::fromLatin1(accessible));
    bar->hide();
    return bar;
}

// The Load and Save pages share one layout: a group of the four database boxes (the last, player
// histories, never shown), the button, and the progress label and bar shown while it works.
struct FilesPageNames {
    const char* group;
    const char* groupCaption;
    std::array<const char*, 4> boxes;
    const char* button;
    const char* buttonCaption;
    const char* label;
    const char* bar;
    const char* barAccessible;
};

struct FilesPage {
    QGroupBox* group;
    std::array<QCheckBox*, 4> boxes;
    QPushButton* button;
    QLabel* label;
    QProgressBar* bar;
};

FilesPage buildFilesPage(QWidget* page, const FilesPageNames& n)
{
    static const char* const kCaptions[] = {"Managers", "Teams", "Players", "Player Histories"};
    FilesPage p{};
    p.group = named(new QGroupBox(QString::fromLatin1(n.groupCaption), page), n.group);
    auto* boxes = new QVBoxLayout(p.group);
    for (std::size_t i = 0; i < p.boxes.size(); ++i) {
        p.boxes[i] = named(new QCheckBox(QString::fromLatin1(kCaptions[i]), p.group), n.boxes[i]);
        boxes->addWidget(p.boxes[i]);
    }
    p.boxes[3]->hide(); // player histories are never loaded or saved
    p.button = named(new QPushButton(QString::fromLatin1(n.buttonCaption), page), n.button);
    p.label = progressLabel(page, n.label);
    p.bar = progressBar(page, n.bar, n.barAccessible);

    auto* layout = new QVBoxLayout(page);
    layout->setContentsMargins(40, 16, 40, 16);
    layout->addWidget(p.group);
    layout->addSpacing(8);
    layout->addWidget(p.button, 0, Qt::AlignHCenter);
    layout->addSpacing(12);
    layout->addWidget(p.label);
    layout->addWidget(p.bar);
    layout->addStretch(1);
    return p;
}

} // namespace

TDataEditor::TDataEditor(ToolContext ctx, QWidget* parent) : QWidget(parent), ctx_(ctx)
{
    setObjectName(QStringLiteral("DataEditor"));
    setWindowTitle(QStringLiteral("KRVX Data Editor"));
    setFixedSize(501, 391);

    Menu = named(new QTabWidget(this), "Menu");
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(Menu);

    Load = named(new QWidget(Menu), "Load");
    buildLoadPage();
    Manager = new editor::ManagerPage(ctx_.prompts, Menu);
    TeamTab = new editor::TeamPage(ctx_.prompts, Menu);
    Player = new editor::PlayerPage(ctx_.prompts, Menu);
    editor::attachCsvMenu(Manager, ctx_);
    editor::attachCsvMenu(TeamTab, ctx_);
    editor::attachCsvMenu(Player, ctx_);
    History = named(new QWidget(Menu), "History");
    SaveTab = named(new QWidget(Menu), "SaveTab");
    tables_ = new editor::LoadedTables(pages(), ctx_.prompts, this);
    buildSavePage();

    Menu->addTab(Load, QStringLiteral("&Load"));
    Menu->addTab(Manager, QStringLiteral("&Managers"));
    Menu->addTab(TeamTab, QStringLiteral("&Teams"));
    Menu->addTab(Player, QStringLiteral("&Players"));
    Menu->addTab(History, QStringLiteral("Player &Histories"));
    Menu->addTab(SaveTab, QStringLiteral("&Save"));

    for (editor::RecordPage* page :
         {static_cast<editor::RecordPage*>(Manager), static_cast<editor::RecordPage*>(TeamTab),
          static_cast<editor::RecordPage*>(Player)}) {
        page->onShowPages = [this](editor::RecordPage* p) { showPageAndSave(p); };
        // A screen reader names the list after its tab ("Managers"), not after its control.
        page->listView()->setAccessibleName(Menu->tabText(Menu->indexOf(page)).remove(QLatin1Char('&')));
        auto* review = new QShortcut(QKeySequence(QStringLiteral("Ctrl+R")), page);
        review->setContext(Qt::WidgetWithChildrenShortcut);
        connect(review, &QShortcut::activated, this, &TDataEditor::ReviewBClick);
        connect(editor::attachBrowseAction(page), &QAction::triggered, this, [this, page] { openTable(page); });
    }

    connect(LoadB, &QPushButton::clicked, this, &TDataEditor::LoadBClick);
    connect(SaveB, &QPushButton::clicked, this, &TDataEditor::SaveBClick);
    connect(ReviewB, &QPushButton::clicked, this, &TDataEditor::ReviewBClick);
    connect(tables_, &editor::LoadedTables::changed, this, [this](int table) {
        if (Menu->currentWidget() == SaveTab)
            showSummary(table); // otherwise when the Save page opens
    });
    connect(Menu, &QTabWidget::currentChanged, this, [this](int index) {
        if (Menu->widget(index) == SaveTab)
            SaveTabEnter();
    });
}

TDataEditor::~TDataEditor()
{
    // Before the pages whose tables they show; in the main frame they are not our children.
    deleteBeside(changes_);
    for (const QPointer<editor::TableWindow>& w : tableWindows_)
        deleteBeside(w);
}

void TDataEditor::buildLoadPage()
{
    const FilesPage p = buildFilesPage(Load, {"LoadBox",
                                              "Load Which &Files",
                                              {"ManC", "TeamC", "PlayC", "HistoC"},
                                              "LoadB",
                                              "L&oad",
                                              "ProgL",
                                              "Prog",
                                              "Load progress"});
    LoadBox = p.group;
    ManC = p.boxes[0];
    TeamC = p.boxes[1];
    PlayC = p.boxes[2];
    HistoC = p.boxes[3];
    LoadB = p.button;
    ProgL = p.label;
    Prog = p.bar;
    loadProgress_.emplace(Prog, ProgL);
}

void TDataEditor::buildSavePage()
{
    const FilesPage p = buildFilesPage(SaveTab, {"SaveBox",
                                                 "Save Which &Files",
                                                 {"ManSa", "TeamSa", "PlaySa", "HisSa"},
                                                 "SaveB",
                                                 "S&ave",
                                                 "ProgLS",
                                                 "ProgS",
                                                 "Save progress"});
    SaveBox = p.group;
    ManSa = p.boxes[0];
    TeamSa = p.boxes[1];
    PlaySa = p.boxes[2];
    HisSa = p.boxes[3];
    SaveB = p.button;
    ProgLS = p.label;
    ProgS = p.bar;
    saveProgress_.emplace(ProgS, ProgLS);

    // Each box's summary beside it, and the changes window's button beside Save.
    auto* rows = static_cast<QVBoxLayout*>(SaveBox->layout());
    const std::array<const char*, 3> sums{"ManSum", "TeamSum", "PlaySum"};
    std::array<QLabel*, 3> labels{};
    int boxWidth = 0; // the summaries line up
    for (std::size_t i = 0; i < labels.size(); ++i)
        boxWidth = std::max(boxWidth, p.boxes[i]->sizeHint().width());
    for (std::size_t i = 0; i < labels.size(); ++i) {
        p.boxes[i]->setMinimumWidth(boxWidth);
        labels[i] = named(new QLabel(SaveBox), sums[i]);
        const int at = rows->indexOf(p.boxes[i]);
        rows->removeWidget(p.boxes[i]);
        auto* row = new QHBoxLayout;
        row->addWidget(p.boxes[i]);
        row->addSpacing(12);
        row->addWidget(labels[i], 1);
        rows->insertLayout(at, row);
    }
    ManSum = labels[0];
    TeamSum = labels[1];
    PlaySum = labels[2];
    ReviewB = named(new QPushButton(QStringLiteral("Review &Changes\u2026"), SaveTab), "ReviewB");
    auto* page = static_cast<QVBoxLayout*>(SaveTab->layout());
    const int at = page->indexOf(SaveB);
    page->removeWidget(SaveB);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(SaveB);
    buttons->addSpacing(12);
    buttons->addWidget(ReviewB);
    buttons->addStretch(1);
    page->insertLayout(at, buttons);
}

void TDataEditor::showSummary(int table)
{
    QLabel* label = std::array<QLabel*, 3>{ManSum, TeamSum, PlaySum}[static_cast<std::size_t>(table)];
    QCheckBox* box = std::array<QCheckBox*, 3>{ManSa, TeamSa, PlaySa}[static_cast<std::size_t>(table)];
    const QString text = tables_->summary(table);
    label->setText(text);
    label->setAccessibleName(text);
    box->setAccessibleDescription(text); // read out with the box
}

bool TDataEditor::anyModified() const
{
    // The History page carries a mark too, but nothing ever sets it.
    return Manager->isModified() || TeamTab->isModified() || Player->isModified();
}

void TDataEditor::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    if (!shown_) {
        shown_ = true;
        FormShow();
    }
}

void TDataEditor::closeEvent(QCloseEvent* event)
{
    FormClose(event);
}

void TDataEditor::FormShow()
{
    for (QWidget* page : {static_cast<QWidget*>(Manager), static_cast<QWidget*>(TeamTab), static_cast<QWidget*>(Player),
                          History, SaveTab})
        Menu->setTabVisible(Menu->indexOf(page), false);
    Menu->setCurrentWidget(Load);
    Manager->subPages()->setCurrentIndex(0);
    TeamTab->subPages()->setCurrentIndex(0);
    Player->subPages()->setCurrentIndex(0);

    for (QCheckBox* c : {ManC, TeamC, PlayC, HistoC, ManSa, TeamSa, PlaySa, HisSa})
        c->setChecked(false);
    ManC->setEnabled(ctx_.config.gameFileExists(QStringLiteral("Mgdata.db1")));
    TeamC->setEnabled(ctx_.config.gameFileExists(QStringLiteral("Tmdata.db1")));
    PlayC->setEnabled(ctx_.config.gameFileExists(QStringLiteral("Players.db1")));
    HistoC->setEnabled(ctx_.config.gameFileExists(QStringLiteral("Plhist98.bin")));
    // The keys start at the first file there is to tick, as in a dialog.
    for (QWidget* w : {static_cast<QWidget*>(ManC), static_cast<QWidget*>(TeamC), static_cast<QWidget*>(PlayC),
                       static_cast<QWidget*>(LoadB)}) {
        if (w->isEnabled()) {
            w->setFocus();
            break;
        }
    }
}

void TDataEditor::showPageAndSave(editor::RecordPage* page)
{
    Menu->setTabVisible(Menu->indexOf(page), true);
    Menu->setTabVisible(Menu->indexOf(SaveTab), true);
}

std::array<editor::RecordPage*, 3> TDataEditor::pages() const
{
    return {Manager, TeamTab, Player};
}

void TDataEditor::LoadBClick()
{
    guarded(ctx_.prompts, this, [this] {
        Prog->setValue(0);
        Prog->show();
        ProgL->show();
        HideOnExit hide(Prog, ProgL);
        const QString folder = ctx_.config.gameFolder();
        const std::array<QCheckBox*, 3> ticks{ManC, TeamC, PlayC};
        for (std::size_t i = 0; i < ticks.size(); ++i) {
            if (!ticks[i]->isEnabled() || !ticks[i]->isChecked())
                continue;
            editor::RecordPage* page = pages()[i];
            // The file is read once: its stamp is that of the bytes the table was made from.
            loaded_[i] = LoadedFile(gamedb::loadDatabase(page->table(), folder, *loadProgress_, *page));
            tables_->remember(static_cast<int>(i));
        }
    });
}

void TDataEditor::SaveTabEnter()
{
    ManSa->setEnabled(Manager->isLoaded());
    TeamSa->setEnabled(TeamTab->isLoaded());
    PlaySa->setEnabled(Player->isLoaded());
    HisSa->setEnabled(false); // player histories are never loaded
    // The summaries tell what a save would write: what the pages show is stored first. A value
    // that cannot be stored is the Save button's to report.
    tables_->storeShown(true);
    for (int i = 0; i < editor::LoadedTables::kTables; ++i)
        showSummary(i);
}

void TDataEditor::SaveBClick()
{
    guarded(ctx_.prompts, this, [this] {
        ProgS->setValue(0);
        ProgS->show();
        ProgLS->show();
        HideOnExit hide(ProgS, ProgLS);
        const QString folder = ctx_.config.gameFolder();
        const gamedb::FolderLock lock(folder);
        const std::array<QCheckBox*, 3> ticks{ManSa, TeamSa, PlaySa};
        for (std::size_t i = 0; i < ticks.size(); ++i) {
            editor::RecordPage* page = pages()[i];
            // Only a table read in this window is ever written, and never over another
            // program's change unless the user says so; the other databases are still saved.
            if (!ticks[i]->isChecked() || !page->isLoaded())
                continue;
            const QString path = ctx_.config.gameFile(QString::fromUtf8(page->table().format().fileName));
            if (!loaded_[i].readyToReplace(ctx_, this, path))
                continue;
            loaded_[i].wrote(gamedb::saveDatabase(page->table(), folder, *saveProgress_, *page));
            tables_->remember(static_cast<int>(i)); // the earlier state is in the backups
        }
    });
}

void TDataEditor::ReviewBClick()
{
    guarded(ctx_.prompts, this, [this] {
        tables_->storeShown();
        if (changes_) {
            changes_->refresh();
            raiseBeside(changes_);
            return;
        }
        changes_ = new editor::ChangesWindow(*tables_, ctx_.prompts);
        connect(changes_, &editor::ChangesWindow::showRecord, this, &TDataEditor::showRecord);
        showBeside(this, changes_);
    });
}

editor::ChangesWindow* TDataEditor::changesWindow() const
{
    return changes_;
}

void TDataEditor::openTable(editor::RecordPage* page)
{
    guarded(ctx_.prompts, this, [&] {
        const auto all = pages();
        const auto i = static_cast<std::size_t>(std::find(all.begin(), all.end(), page) - all.begin());
        if (tableWindows_[i]) {
            raiseBeside(tableWindows_[i]);
            return;
        }
        // The page's edits belong in what the table shows.
        page->storeShown();
        auto* w = new editor::TableWindow(*page, ctx_, Menu->tabText(Menu->indexOf(page)).remove(QLatin1Char('&')));
        connect(w, &editor::TableWindow::showRecord, this, [this, i](int number) { showRecord(int(i), number); });
        tableWindows_[i] = w;
        showBeside(this, w);
        w->TableView->setFocus(); // the keys go to the table: arrows, typing, Ctrl+Enter
    });
}

editor::TableWindow* TDataEditor::tableWindow(int page) const
{
    return tableWindows_[static_cast<std::size_t>(page)];
}

void TDataEditor::showRecord(int table, int number)
{
    editor::RecordPage* page = pages()[static_cast<std::size_t>(table)];
    Menu->setCurrentWidget(page);
    page->goToRecord(number);
    raiseBeside(this);
}

void TDataEditor::FormClose(QCloseEvent* event)
{
    // Only Yes drops the changes; No, Escape and the close box keep the editor open.
    if (anyModified() &&
        ctx_.prompts.confirm(this, QStringLiteral("Exit Data Editor without saving?")) != Prompts::Answer::Yes) {
        event->ignore();
        Menu->setCurrentWidget(SaveTab);
        return;
    }
    event->accept();
}
