#include "editor/TeamPage.h"

#include "gamedb/TeamDb.h"
#include "gamedb/TextField.h"

#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

namespace editor {
namespace {

const PageNames kNames{
    "TeamList", "TeamPa", {"Team1", "Team2", "Team3"},
    "TeRec",    "TeID",   "TeNew",
    "New",      "TeDel",  "Delete",
    "TeSrc",    "Search", "TeRes",
    "Reset",
};

// The UK long name.
std::string teamSearchKey(const std::uint8_t* r)
{
    return std::string(gamedb::listText(r + 4, 35));
}

} // namespace

TeamPage::TeamPage(Prompts& prompts, QWidget* parent)
    : RecordPage(kNames,
                 {&gamedb::kTeamFormat,
                  QStringLiteral("The Team database can only contain 2300 records. You can delete a record, "
                                 "and then add the new!"),
                  false, QStringLiteral("0"), &teamSearchKey},
                 prompts, parent)
{
    setObjectName(QStringLiteral("TeamTab"));
    TeamList = list_;
    TeamPa = subPages_;
    Team1 = subPages_->widget(0);
    Team2 = subPages_->widget(1);
    Team3 = subPages_->widget(2);
    TeNew = new_;
    TeSrc = src_;
    TeDel = del_;
    TeRes = res_;
    TeRec = rec_;
    TeID = id_;
    for (int i = 0; i < 3; ++i)
        pageLayout(i)->addStretch(1);

    connect(TeNew, &QPushButton::clicked, this, &TeamPage::TeNewClick);
    connect(TeDel, &QPushButton::clicked, this, &TeamPage::TeDelClick);
    connect(TeSrc, &QPushButton::clicked, this, &TeamPage::TeSrcClick);
    connect(TeRes, &QPushButton::clicked, this, &TeamPage::TeResClick);
}

} // namespace editor
