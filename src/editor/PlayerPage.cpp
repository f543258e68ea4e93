#include "editor/PlayerPage.h"

#include "editor/PageForms.h"

#include "gamedb/PlayerDb.h"
#include "gamedb/TextField.h"

#include <QCheckBox>
#include <QFormLayout>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

#include <span>
#include <stdexcept>
#include <string>
#include <vector>

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
void playerSearchKey(const std::uint8_t* r, std::string& key)
{
    key += gamedb::listText(r + 4, 30);
    key += ' ';
    key += gamedb::listText(r + 34, 35);
}

// A captioned text box: its caption, control name, hint, and the member that holds it.
struct Row {
    const char* caption;
    const char* name;
    const char* hint;
    QLineEdit* PlayerPage::*box;
    bool number; // a narrow box for a few digits
};

using P = PlayerPage;

// clang-format off
const Row kPage1[] = {
    {"First Name:", "PlFName", "First Name (25 Characters)", &P::PlFName, false},
    {"Second Name:", "PlSName", "Second Name (30 Characters)", &P::PlSName, false},
    {"Nationality:", "PlNation", "Nationality (30 Characters)", &P::PlNation, false},
    {"Current Club:", "PlClub", "Current Club (30 Characters)", &P::PlClub, false},
    {"Date of Birth:", "PlDOB", "Date of Birth (dd.mm.yy)", &P::PlDOB, false},
    {"Age:", "PlAge", "Age (0-255)", &P::PlAge, true},
    {"Contract Started:", "PlJDate", "Date he Joined Club (mm.yy)", &P::PlJDate, false},
    {"Contract Ends:", "PlCEnds", "Date Contract Ends (mm.yy)", &P::PlCEnds, false},
    {"Caps:", "PlCaps", "Games Played for National Team (0-255)", &P::PlCaps, true},
    {"Goals:", "PlGoals", "Goals Scored For National Team (0-255)", &P::PlGoals, true},
};

const Row kRatings[] = {
    {"Ability:", "PlMSk1", "Overall Rating (0-200)", &P::PlMSk1, true},
    {"Potential:", "PlMSk2", "Potential (-1 - 200)", &P::PlMSk2, true},
    {"Reputation:", "PlMSk3", "Reputation (0-200)", &P::PlMSk3, true},
};

// Left column, then right column.
const Row kSkills[] = {
    {"Adaptability:", "PlSk1", "How good a player is to adapt to a new club (0-20)", &P::PlSk1, true},
    {"Aggression:", "PlSk2", "Does the player try hard (not being dirty) (0-20)", &P::PlSk2, true},
    {"Big-Occasion:", "PlSk3", "Does he rise in big games (0-20)", &P::PlSk3, true},
    {"Character:", "PlSk4", "How he reacts to bad events (0-20) (20=reacts often bad)", &P::PlSk4, true},
    {"Consistency:", "PlSk5", "How often does he play to his ability (0-20)", &P::PlSk5, true},
    {"Creativity:", "PlSk6", "Creating Chances for other (0-20)", &P::PlSk6, true},
    {"Determination:", "PlSk7", "Does he battle (0-20)", &P::PlSk7, true},
    {"Dirtyness:", "PlSk8", "Does he play dirty (0-20) (20=dirty)", &P::PlSk8, true},
    {"Dribbling:", "PlSk9", "Ability to dribble (0-20)", &P::PlSk9, true},
    {"Flair:", "PlSk10", "Does he do the unexpected (0-20)", &P::PlSk10, true},
    {"Heading:", "PlSk11", "Good in the air (0-20) ", &P::PlSk11, true},
    {"Influence:", "PlSk12", "Does he motivate and inspire other (0-20)", &P::PlSk12, true},
    {"Injury Proned:", "PlSk13", "How often he's injured (0-20) (20=often)", &P::PlSk13, true},
    {"Marking:", "PlSk14", "Good at marking opponents (0-20)", &P::PlSk14, true},
    {"Off the Ball:", "PlSk15", "Moves to get the ball (0-20)", &P::PlSk15, true},
    {"Pace:", "PlSk16", "Speed and Acceleration (0-20)", &P::PlSk16, true},
    {"Passing:", "PlSk17", "Good at passing the ball (0-20)", &P::PlSk17, true},
    {"Positioning:", "PlSk18", "Good defensive postional sense (0-20)", &P::PlSk18, true},
    {"Set Pieces:", "PlSk19", "Good at Set Piece situations (0-20)", &P::PlSk19, true},
    {"Shooting:", "PlSk20", "Does he score (0-20)", &P::PlSk20, true},
    {"Stamina:", "PlSk21", "Keeps going (0-20)", &P::PlSk21, true},
    {"Strength:", "PlSk22", "Strong (0-20)", &P::PlSk22, true},
    {"Tackling:", "PlSk23", "Good at Tackling (0-20)", &P::PlSk23, true},
    {"Technique:", "PlSk24", "Technical ability (0-20)", &P::PlSk24, true},
};
// clang-format on

struct Position {
    const char* caption;
    const char* name;
    QCheckBox* PlayerPage::*box;
};

const Position kKeeperAndLines[] = {
    {"Goalkeeper:", "PlGK", &P::PlGK},
    {"Defender:", "PlDef", &P::PlDef},
    {"Midfielder:", "PlMid", &P::PlMid},
    {"Attacker:", "PlAtt", &P::PlAtt},
};
const Position kRoles[] = {
    {"Sweeper:", "PlSw", &P::PlSw},
    {"Anchor:", "PlAnc", &P::PlAnc},
    {"Support:", "PlSup", &P::PlSup},
};
const Position kSides[] = {
    {"Right-Sided:", "PlRight", &P::PlRight},
    {"Left-Sided:", "PlLeft", &P::PlLeft},
    {"Central:", "PlCentral", &P::PlCentral},
};

std::vector<KeyRow> makeKeyRules()
{
    const QString dateChars = kDigits + QLatin1Char('.');
    std::vector<KeyRow> rows{
        {"PlFName", {25, {}}},     {"PlSName", {30, {}}},       {"PlNation", {30, {}}},      {"PlClub", {30, {}}},
        {"PlDOB", {8, dateChars}}, {"PlJDate", {5, dateChars}}, {"PlCEnds", {5, dateChars}},
    };
    for (const char* name : {"PlAge", "PlCaps", "PlGoals", "PlMSk1", "PlMSk2", "PlMSk3"})
        rows.push_back({name, {3, kDigits}});
    for (const Row& skill : kSkills)
        rows.push_back({skill.name, {2, kDigits}});
    return rows;
}

} // namespace

PlayerPage::PlayerPage(Prompts& prompts, QWidget* parent)
    : RecordPage(kNames,
                 {&gamedb::kPlayerFormat,
                  QStringLiteral("The Player database can only contain 20000 records. You can delete a record, "
                                 "and then add the new!"),
                  true, QString(), &playerSearchKey},
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

    buildPage1();
    buildPage2();
    buildPage3();
    bindFields();
    static const std::vector<KeyRow> keyRules = makeKeyRules();
    installKeyRules(keyRules);

    connect(PlNew, &QPushButton::clicked, this, &PlayerPage::PlNewClick);
    connect(PlDel, &QPushButton::clicked, this, &PlayerPage::PlDelClick);
    connect(PlRes, &QPushButton::clicked, this, &PlayerPage::PlResClick);
    connect(PlSrc, &QPushButton::clicked, this, &PlayerPage::PlSrcClick);
}

namespace {

// A captioned box: the form's label becomes its buddy, so the caption is its accessible name.
void addRows(PlayerPage* page, QWidget* parent, QFormLayout* form, std::span<const Row> rows, int numberWidth)
{
    for (const Row& row : rows) {
        auto* box = captionedRow<QLineEdit>(parent, form, row.caption, row.name, row.hint);
        if (row.number)
            box->setFixedWidth(numberWidth);
        page->*row.box = box;
    }
}

// One group of position boxes, captions left of the boxes.
QFrame* positionGroup(PlayerPage* page, QWidget* parent, std::span<const Position> positions)
{
    auto* frame = new QFrame(parent);
    frame->setFrameShape(QFrame::StyledPanel);
    auto* column = new QVBoxLayout(frame);
    column->setContentsMargins(6, 4, 6, 4);
    column->setSpacing(2);
    for (const Position& p : positions) {
        auto* box = captionLeftBox(frame, p.caption, p.name);
        column->addWidget(box);
        page->*p.box = box;
    }
    column->addStretch(1);
    return frame;
}

} // namespace

void PlayerPage::buildPage1()
{
    QFormLayout* form = newForm();
    addRows(this, Play1, form, kPage1, 48);
    pageLayout(0)->addLayout(form);
    pageLayout(0)->addStretch(1);
}

void PlayerPage::buildPage2()
{
    QVBoxLayout* page = pageLayout(1);
    auto* note = new QLabel(
        QStringLiteral("Gray means that the player can sometimes play that position, but prefers not to."), Play2);
    note->setAlignment(Qt::AlignCenter);
    note->setWordWrap(true);
    page->addWidget(note);

    // Three columns would not fit beside the list: the lines on the left, roles and sides stacked
    // on the right.
    auto* groups = new QHBoxLayout;
    groups->setSpacing(4);
    groups->addWidget(positionGroup(this, Play2, kKeeperAndLines), 0, Qt::AlignTop);
    auto* right = new QVBoxLayout;
    right->setSpacing(4);
    right->addWidget(positionGroup(this, Play2, kRoles));
    right->addWidget(positionGroup(this, Play2, kSides));
    groups->addLayout(right);
    page->addLayout(groups);
    for (QCheckBox* box : {PlGK, PlDef, PlMid, PlAtt, PlSw, PlAnc, PlSup, PlRight, PlLeft, PlCentral})
        connect(box, &QCheckBox::clicked, this, &PlayerPage::PlPositionClick);

    QFormLayout* form = newForm();
    addRows(this, Play2, form, kRatings, 48);
    page->addLayout(form);
    page->addStretch(1);
}

void PlayerPage::buildPage3()
{
    auto* columns = new QHBoxLayout;
    columns->setSpacing(12);
    const std::span<const Row> skills(kSkills);
    for (const std::span<const Row> half : {skills.first(12), skills.last(12)}) {
        QFormLayout* form = newForm();
        addRows(this, Play3, form, half, 36);
        columns->addLayout(form);
    }
    pageLayout(2)->addLayout(columns);
    pageLayout(2)->addStretch(1);
}

// In the record's field order, which is the store order; each box by its schema field's name.
void PlayerPage::bindFields()
{
    for (const gamedb::Field& f : gamedb::kPlayerFormat.schema) {
        const QString name = QString::fromLatin1(f.control.data(), static_cast<qsizetype>(f.control.size()));
        if (f.control == kNames.idLabel)
            continue;
        if (f.encoding == gamedb::Encoding::PositionFlag) {
            auto* box = findChild<QCheckBox*>(name);
            if (!box)
                throw std::logic_error("no position box " + name.toStdString());
            bindTriState(box);
            continue;
        }
        auto* box = findChild<QLineEdit*>(name);
        if (!box)
            throw std::logic_error("no box " + name.toStdString());
        if (f.encoding == gamedb::Encoding::Text)
            bindText(box);
        else if (box == PlCaps || box == PlGoals)
            bindNumber(box, WhenEmpty::KeepsBytes);
        else
            bindNumber(box, WhenEmpty::StoresZero);
    }
}

} // namespace editor
