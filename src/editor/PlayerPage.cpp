#include "editor/PlayerPage.h"

#include "gamedb/PlayerDb.h"
#include "gamedb/TextField.h"

#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

namespace editor {
namespace {

const PageNames kNames{
    "PlayList", "PlayPa", {"Play1", "Play2", "Play3"},
    "PlRec",    "PlID",   "PlNew",
    "New",      "PlDel",  "Delete",
    "PlSrc",    "Search", "PlRes",
    "Reset",
};

// First name, a blank, second name.
std::string playerSearchKey(const std::uint8_t* r)
{
    std::string key(gamedb::listText(r + 4, 30));
    key += ' ';
    key += gamedb::listText(r + 34, 35);
    return key;
}

} // namespace

PlayerPage::PlayerPage(Prompts& prompts, QWidget* parent)
    : RecordPage(kNames,
                 {&gamedb::kPlayerFormat,
                  QStringLiteral("The Player database can only contain 20000 records. You can delete a record, "
                                 "and then add the new!"),
                  true, QStringLiteral("0"), &playerSearchKey},
                 prompts, parent)
{
    setObjectName(QStringLiteral("Player"));
    PlayList = list_;
    PlayPa = subPages_;
    Play1 = subPages_->widget(0);
    Play2 = subPages_->widget(1);
    Play3 = subPages_->widget(2);
    PlNew = new_;
    PlDel = del_;
    PlRes = res_;
    PlSrc = src_;
    PlRec = rec_;
    PlID = id_;
    for (int i = 0; i < 3; ++i)
        pageLayout(i)->addStretch(1);

    connect(PlNew, &QPushButton::clicked, this, &PlayerPage::PlNewClick);
    connect(PlDel, &QPushButton::clicked, this, &PlayerPage::PlDelClick);
    connect(PlRes, &QPushButton::clicked, this, &PlayerPage::PlResClick);
    connect(PlSrc, &QPushButton::clicked, this, &PlayerPage::PlSrcClick);
}

} // namespace editor
