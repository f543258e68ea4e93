#include "editor/ManagerPage.h"

#include "editor/PageForms.h"

#include "gamedb/ManagerDb.h"
#include "gamedb/TextField.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

namespace editor {
namespace {

const PageNames kNames{
    "ManList", "ManPa",   {"Man1", "Man2"}, "MaRec",   "MaID",   "ManNew", "&New",
    "ManDel",  "&Delete", "ManSrc",         "S&earch", "ManRes", "&Reset",
};

// First name, a blank, last name: what Search looks in.
void managerSearchKey(const std::uint8_t* r, std::string& key)
{
    key += gamedb::listText(r + 4, 20);
    key += ' ';
    key += gamedb::listText(r + 24, 35);
}

const KeyRow kKeyRules[] = {
    {"MaForN", {15, {}}},       {"MaEft", {30, {}}},        {"MaNat", {30, {}}},      {"MaClub", {30, {}}},
    {"MaJoin", {}, true},       {"MaNatio", {30, {}}},      {"MaStart", {}, true},    {"MaFClub", {30, {}}},
    {"MaMot", {-1, kDigits}},   {"MaJudge", {-1, kDigits}}, {"MaRep", {-1, kDigits}}, {"MaAr", {-1, kDigits}},
    {"MaBoard", {-1, kDigits}},
};

} // namespace

ManagerPage::ManagerPage(Prompts& prompts, QWidget* parent)
    : RecordPage(kNames,
                 {&gamedb::kManagerFormat,
                  QStringLiteral("The manager database can only contain 1000 records. You can delete a record, "
                                 "and then add the new!"),
                  false, QString(), &managerSearchKey},
                 prompts, parent)
{
    setObjectName(QStringLiteral("Manager"));
    ManList = list_;
    ManPa = subPages_;
    Man1 = subPages_->widget(0);
    Man2 = subPages_->widget(1);
    ManNew = new_;
    ManDel = del_;
    ManSrc = src_;
    ManRes = res_;
    MaRec = rec_;
    MaID = id_;

    auto field = [](QWidget* page, QFormLayout* form, const char* caption, const char* name, const char* hint) {
        return captionedRow<QLineEdit>(page, form, caption, name, hint);
    };
    auto dropDown = [](QWidget* page, QFormLayout* form, const char* caption, const char* name, const char* hint) {
        return captionedRow<QComboBox>(page, form, caption, name, hint);
    };

    // Page 1, in tab order.
    QFormLayout* f1 = formOn(pageLayout(0));
    MaForN = field(Man1, f1, "First Name:", "MaForN", "First Name (15 Characters)");
    MaEft = field(Man1, f1, "Last Name:", "MaEft", "Last Name (30 Characters)");
    MaNat = field(Man1, f1, "Nationality:", "MaNat", "Nationality (30 Characters)");
    MaClub = field(Man1, f1, "Current Club:", "MaClub", "Club he is managing (30 Characters)");
    MaJoin = field(Man1, f1, "Joined Club:", "MaJoin", "Date he joined the club (mm.yy)");
    MaNatio = field(Man1, f1, "National Job:", "MaNatio", "National team he is  managing (30 Characters)");
    MaStart =
        field(Man1, f1, "Started National Job:", "MaStart", "Date he became manager of the national team (mm.yy)");
    MaFClub = field(Man1, f1, "Favoured Club:", "MaFClub", "Club he would like to manage (30 Characters)");
    MaForma = dropDown(Man1, f1, "Formation:", "MaForma", "Formation");
    MaStyle = dropDown(Man1, f1, "Style:", "MaStyle", "Style");
    pageLayout(0)->addStretch(1);

    // Page 2, in tab order.
    QFormLayout* f2 = formOn(pageLayout(1));
    MaMot = field(Man2, f2, "Motivating Ability", "MaMot", "Motivating Ability (0-200)");
    MaJudge = field(Man2, f2, "Judgment:", "MaJudge", "Judgment (0-200)");
    MaRep = field(Man2, f2, "Reputation:", "MaRep", "Reputation (0-200)");
    MaAr = field(Man2, f2, "Years Of Experience:", "MaAr", "Years as manager (0-128)");
    MaBoard = field(Man2, f2, "Board Confidence:", "MaBoard", "The level of confidence the board has in him (0-100)");
    MaPlay = captionLeftBox(Man2, "Player Manager:", "MaPlay", "Is he still playing?");
    f2->addRow(MaPlay);
    pageLayout(1)->addStretch(1);

    // Store order: texts, codes, numbers, flag.
    for (QLineEdit* box : {MaForN, MaEft, MaNat, MaClub, MaJoin, MaFClub, MaNatio, MaStart})
        bindText(box);
    bindCode(MaForma);
    bindCode(MaStyle);
    for (QLineEdit* box : {MaRep, MaJudge, MaMot, MaAr, MaBoard})
        bindNumber(box);
    bindFlag(MaPlay);
    installKeyRules(kKeyRules);

    connect(ManNew, &QPushButton::clicked, this, &ManagerPage::ManNewClick);
    connect(ManDel, &QPushButton::clicked, this, &ManagerPage::ManDelClick);
    connect(ManSrc, &QPushButton::clicked, this, &ManagerPage::ManSrcClick);
    connect(ManRes, &QPushButton::clicked, this, &ManagerPage::ManResClick);
    connect(MaForma, &QComboBox::activated, this, &ManagerPage::MaFormaClick);
    connect(MaStyle, &QComboBox::activated, this, &ManagerPage::MaStyleClick);
    connect(MaPlay, &QCheckBox::toggled, this, &ManagerPage::MaPlayClick);
}

} // namespace editor
