#include "editor/TDataEditor.h"

#include "app/AppConfig.h"
#include "app/Guard.h"
#include "app/Prompts.h"
#include "editor/ManagerPage.h"
#include "editor/PlayerPage.h"
#include "editor/TeamPage.h"
#include "gamedb/Database.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QGroupBox>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

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
    History = named(new QWidget(Menu), "History");
    SaveTab = named(new QWidget(Menu), "SaveTab");
    buildSavePage();

    Menu->addTab(Load, QStringLiteral("&Load"));
    Menu->addTab(Manager, QStringLiteral("&Managers"));
    Menu->addTab(TeamTab, QStringLiteral("&Teams"));
    Menu->addTab(Player, QStringLiteral("&Players"));
    Menu->addTab(History, QStringLiteral("Player &Histories"));
    Menu->addTab(SaveTab, QStringLiteral("&Save"));

    for (editor::RecordPage* page :
         {static_cast<editor::RecordPage*>(Manager), static_cast<editor::RecordPage*>(TeamTab),
          static_cast<editor::RecordPage*>(Player)})
        page->onShowPages = [this](editor::RecordPage* p) { showPageAndSave(p); };

    connect(LoadB, &QPushButton::clicked, this, &TDataEditor::LoadBClick);
    connect(SaveB, &QPushButton::clicked, this, &TDataEditor::SaveBClick);
    connect(Menu, &QTabWidget::currentChanged, this, [this](int index) {
        if (Menu->widget(index) == SaveTab)
            SaveTabEnter();
    });
}

TDataEditor::~TDataEditor() = default;

void TDataEditor::buildLoadPage()
{
    LoadBox = named(new QGroupBox(QStringLiteral("Load Which &Files"), Load), "LoadBox");
    ManC = named(new QCheckBox(QStringLiteral("Managers"), LoadBox), "ManC");
    TeamC = named(new QCheckBox(QStringLiteral("Teams"), LoadBox), "TeamC");
    PlayC = named(new QCheckBox(QStringLiteral("Players"), LoadBox), "PlayC");
    HistoC = named(new QCheckBox(QStringLiteral("Player Histories"), LoadBox), "HistoC");
    HistoC->hide(); // player histories are never loaded
    auto* boxes = new QVBoxLayout(LoadBox);
    for (QCheckBox* c : {ManC, TeamC, PlayC, HistoC})
        boxes->addWidget(c);

    LoadB = named(new QPushButton(QStringLiteral("L&oad"), Load), "LoadB");
    ProgL = progressLabel(Load, "ProgL");
    Prog = progressBar(Load, "Prog", "Load progress");
    loadProgress_.emplace(Prog, ProgL);

    auto* page = new QVBoxLayout(Load);
    page->setContentsMargins(40, 16, 40, 16);
    page->addWidget(LoadBox);
    page->addSpacing(8);
    page->addWidget(LoadB, 0, Qt::AlignHCenter);
    page->addSpacing(12);
    page->addWidget(ProgL);
    page->addWidget(Prog);
    page->addStretch(1);
}

void TDataEditor::buildSavePage()
{
    SaveBox = named(new QGroupBox(QStringLiteral("Save Which &Files"), SaveTab), "SaveBox");
    ManSa = named(new QCheckBox(QStringLiteral("Managers"), SaveBox), "ManSa");
    TeamSa = named(new QCheckBox(QStringLiteral("Teams"), SaveBox), "TeamSa");
    PlaySa = named(new QCheckBox(QStringLiteral("Players"), SaveBox), "PlaySa");
    HisSa = named(new QCheckBox(QStringLiteral("Player Histories"), SaveBox), "HisSa");
    HisSa->hide();
    auto* boxes = new QVBoxLayout(SaveBox);
    for (QCheckBox* c : {ManSa, TeamSa, PlaySa, HisSa})
        boxes->addWidget(c);

    SaveB = named(new QPushButton(QStringLiteral("S&ave"), SaveTab), "SaveB");
    ProgLS = progressLabel(SaveTab, "ProgLS");
    ProgS = progressBar(SaveTab, "ProgS", "Save progress");
    saveProgress_.emplace(ProgS, ProgLS);

    auto* page = new QVBoxLayout(SaveTab);
    page->setContentsMargins(40, 16, 40, 16);
    page->addWidget(SaveBox);
    page->addSpacing(8);
    page->addWidget(SaveB, 0, Qt::AlignHCenter);
    page->addSpacing(12);
    page->addWidget(ProgLS);
    page->addWidget(ProgS);
    page->addStretch(1);
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
}

void TDataEditor::showPageAndSave(editor::RecordPage* page)
{
    Menu->setTabVisible(Menu->indexOf(page), true);
    Menu->setTabVisible(Menu->indexOf(SaveTab), true);
}

void TDataEditor::LoadBClick()
{
    guarded(ctx_.prompts, this, [this] {
        Prog->setValue(0);
        Prog->show();
        ProgL->show();
        HideOnExit hide(Prog, ProgL);
        const QString folder = ctx_.config.gameFolder();
        if (ManC->isEnabled() && ManC->isChecked())
            gamedb::loadDatabase(Manager->table(), folder, *loadProgress_, *Manager);
        if (TeamC->isEnabled() && TeamC->isChecked())
            gamedb::loadDatabase(TeamTab->table(), folder, *loadProgress_, *TeamTab);
        if (PlayC->isEnabled() && PlayC->isChecked())
            gamedb::loadDatabase(Player->table(), folder, *loadProgress_, *Player);
    });
}

void TDataEditor::SaveTabEnter()
{
    ManSa->setEnabled(Manager->isLoaded());
    TeamSa->setEnabled(TeamTab->isLoaded());
    PlaySa->setEnabled(Player->isLoaded());
    HisSa->setEnabled(false); // player histories are never loaded
}

void TDataEditor::SaveBClick()
{
    guarded(ctx_.prompts, this, [this] {
        ProgS->setValue(0);
        ProgS->show();
        ProgLS->show();
        HideOnExit hide(ProgS, ProgLS);
        const QString folder = ctx_.config.gameFolder();
        // Only a table read in this window is ever written.
        if (ManSa->isChecked() && Manager->isLoaded())
            gamedb::saveDatabase(Manager->table(), folder, *saveProgress_, *Manager);
        if (TeamSa->isChecked() && TeamTab->isLoaded())
            gamedb::saveDatabase(TeamTab->table(), folder, *saveProgress_, *TeamTab);
        if (PlaySa->isChecked() && Player->isLoaded())
            gamedb::saveDatabase(Player->table(), folder, *saveProgress_, *Player);
    });
}

void TDataEditor::FormClose(QCloseEvent* event)
{
    if (anyModified() && !ctx_.prompts.confirm(this, QStringLiteral("Exit Data Editor without saving?"))) {
        event->ignore();
        Menu->setCurrentWidget(SaveTab);
        return;
    }
    event->accept();
}
