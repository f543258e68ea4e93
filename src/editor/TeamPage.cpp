#include "editor/TeamPage.h"

#include "editor/PageForms.h"

#include "gamedb/TeamDb.h"
#include "gamedb/TextField.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
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
void teamSearchKey(const std::uint8_t* r, std::string& key)
{
    key += gamedb::listText(r + 4, 35);
}

const KeyRow kKeyRules[] = {
    {"TeLong", {30, {}}},      {"TeShort", {30, {}}},
    {"TeNat", {30, {}}},       {"TeCity", {30, {}}},
    {"TeStad", {30, {}}},      {"TeDesc", {30, {}}},
    {"TeCap", {6, kDigits}},   {"TeSeat", {6, kDigits}},
    {"TeCash", {6, kDigits}},  {"TeTCoe", {6, kDigits}},
    {"TeTrRec", {8, kDigits}}, {"TeFollow", {3, kDigits}},
    {"TeX", {3, kDigits}},     {"TeY", {3, kDigits}},
    {"TeRep", {2, kDigits}},   {"TeBlend", {2, kDigits}},
    {"TeLPos", {2, kDigits}},  {"TeLStd", {2, kDigits}},
    {"TeGend", {2, kDigits}},  {"TeDev", {1, QStringLiteral("123")}},
};

const char* const kLanguages[] = {"UK", "Ita", "Ger", "Spa", "Fre", "Por", "Dut"};

QLineEdit* field(QWidget* page, QFormLayout* form, const char* caption, const char* name, const char* hint)
{
    return captionedRow<QLineEdit>(page, form, caption, name, hint);
}

// Long entries ("Italian Serie C and Non League teams") must not widen the narrow page.
void fitNarrow(QComboBox* box)
{
    box->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    box->setMinimumContentsLength(12);
}

QComboBox* dropDown(QWidget* page, QFormLayout* form, const char* caption, const char* name, const char* hint)
{
    auto* box = captionedRow<QComboBox>(page, form, caption, name, hint);
    fitNarrow(box);
    return box;
}

// Caption left of the box, which keeps its own width.
QCheckBox* flag(QWidget* page, QFormLayout* form, const char* caption, const char* name, const char* hint)
{
    auto* box = captionLeftBox(page, caption, name, hint);
    box->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    form->addRow(box);
    return box;
}

// A selector: a fixed list that cannot be typed into, with no entry until a record is shown.
QComboBox* selector(QWidget* page, const char* name, const QStringList& entries, const char* accessible,
                    const char* hint = nullptr)
{
    auto* box = namedBox<QComboBox>(page, name, hint);
    box->addItems(entries);
    box->setCurrentIndex(-1);
    box->setAccessibleName(QString::fromLatin1(accessible));
    // On Linux a drop-down is announced by its entry; the description carries what it chooses.
    box->setAccessibleDescription(box->accessibleName());
    box->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    return box;
}

QStringList languageEntries(const char* what)
{
    QStringList out;
    for (const char* language : kLanguages)
        out << QStringLiteral("%1 %2").arg(QString::fromLatin1(language), QString::fromLatin1(what));
    return out;
}

void chainTabOrder(std::initializer_list<QWidget*> widgets)
{
    QWidget* previous = nullptr;
    for (QWidget* w : widgets) {
        if (previous)
            QWidget::setTabOrder(previous, w);
        previous = w;
    }
}

const char kAbbreviationHint[] = "Formation (Look in GX-helpfile (Appendix 3) for the meaning of these abbreviations)";

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

    buildPage1();
    buildPage2();
    buildPage3();
    bindFields();
    installKeyRules(kKeyRules);
    connectHandlers();
    // From the sub-pages' tabs through the shown page's fields, then the list and its buttons.
    chainTabOrder({TeamPa,  TeLongC, TeLong,  TeShort,  TeShortC, TeNat, TeCity,  TeStad, TeCap,  TeSeat,  TeFollow,
                   TeForm,  TeStyle, TeRep,   TeBlend,  TeX,      TeY,   TeColor, TeColC, TeDivi, TeLDivi, TeLPos,
                   TeEsse,  TeCash,  TeTrRec, TeBT,     TeReg,    TeDev, TeEU,    TeLStd, TeU21,  TeTCoe,  TeDesc,
                   TeDescC, TeGend,  TeGendC, TeamList, TeNew,    TeDel, TeSrc,   TeRes});
}

void TeamPage::buildPage1()
{
    QFormLayout* f = formOn(pageLayout(0), 2);
    // Created in tab order; the short name's box comes before its selector.
    TeLongC = selector(Team1, "TeLongC", languageEntries("Long"), "Long name language");
    TeLong = uncaptioned<QLineEdit>(Team1, "TeLong", "Long Name (30 Characters)");
    TeShort = uncaptioned<QLineEdit>(Team1, "TeShort", "Short Name (30 Characters)");
    TeShortC = selector(Team1, "TeShortC", languageEntries("Long"), "Short name language");
    f->addRow(TeLongC, TeLong);
    f->addRow(TeShortC, TeShort);
    TeNat = field(Team1, f, "Nation:", "TeNat", "Nation (30 Characters)");
    TeCity = field(Team1, f, "City or Area:", "TeCity", "City (30 Characters)");
    TeStad = field(Team1, f, "Stadium Name:", "TeStad", "Stadium Name (30 Characters)");
    TeCap = field(Team1, f, "Capacity:", "TeCap", "Capacity");
    TeSeat = field(Team1, f, "Seating:", "TeSeat", "Seating");
    TeFollow = field(Team1, f, "Following:", "TeFollow", "Fan Base For The Club (in 1000s)");
    TeForm = dropDown(Team1, f, "Formation:", "TeForm", "Formation");
    TeStyle = dropDown(Team1, f, "Style:", "TeStyle", "Style");
    pageLayout(0)->addStretch(1);
}

void TeamPage::buildPage2()
{
    QFormLayout* f = formOn(pageLayout(1), 2);
    TeRep = field(Team2, f, "Reputation:", "TeRep", "Reputation (1-20)");
    TeBlend = field(Team2, f, "Blend:", "TeBlend", "Blend (1-20)");
    TeX = field(Team2, f, "X Co-ord:", "TeX", "X Co-ord");
    TeY = field(Team2, f, "Y Co-ord:", "TeY", "Y Co-ord");
    TeColor = uncaptioned<QComboBox>(Team2, "TeColor", "Colours");
    TeColor->setAccessibleDescription(TeColor->accessibleName());
    TeColC = selector(Team2, "TeColC",
                      {QStringLiteral("Secondary Home Colour"), QStringLiteral("Primary Home Colour"),
                       QStringLiteral("Secondary Away Colour"), QStringLiteral("Primary Away Colour")},
                      "Colour slot");
    TeColor->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    TeColor->setMinimumContentsLength(8);
    // The colour slots' names are long: selector and box share a whole row.
    auto* colours = new QHBoxLayout;
    colours->setSpacing(6);
    TeColC->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    TeColC->setMinimumContentsLength(int(QStringLiteral("Secondary Away Colour").size()));
    TeColC->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    colours->addWidget(TeColC);
    colours->addWidget(TeColor, 1);
    f->addRow(colours);
    TeDivi = dropDown(Team2, f, "Current Division:", "TeDivi", "Current Division");
    TeLDivi = dropDown(Team2, f, "Last Division:", "TeLDivi", "The Division of Last Season");
    TeLPos = field(Team2, f, "Last Position:", "TeLPos", "The Position of Last Season");
    TeEsse = flag(Team2, f, "Essential:", "TeEsse", "Is The Team Essential To All Version?");
    TeCash = field(Team2, f, "Cash:", "TeCash", "Money in UK \u00a3 (in 1000s)");
    TeTrRec = field(Team2, f, "Transfer Record:", "TeTrRec", "Transfer Record in UK \u00a3");
    TeBT = flag(Team2, f, "B-Team:", "TeBT", "Is The Team a B-Team?");
    pageLayout(1)->addStretch(1);
}

void TeamPage::buildPage3()
{
    GroupBox1 = new QGroupBox(QStringLiteral("Nations Only!"), Team3);
    GroupBox1->setObjectName(QStringLiteral("GroupBox1"));
    QFont title = GroupBox1->font();
    title.setBold(true);
    title.setUnderline(true);
    GroupBox1->setFont(title);
    // The caption alone is bold and underlined: the fields inside take the plain font back.
    auto* inside = new QWidget(GroupBox1);
    QFont plain;
    plain.setBold(false);
    plain.setUnderline(false);
    inside->setFont(plain);
    auto* groupLayout = new QVBoxLayout(GroupBox1);
    groupLayout->setContentsMargins(4, 2, 4, 4);
    groupLayout->addWidget(inside);
    auto* insideLayout = new QVBoxLayout(inside);
    insideLayout->setContentsMargins(0, 0, 0, 0);
    QFormLayout* g = formOn(insideLayout, 2);

    TeReg = dropDown(inside, g, "Region:", "TeReg", "Region of The World");
    TeDev = field(inside, g, "Developed:", "TeDev", "Developed (1=Developed, 2=Developing, 3=Third World)");
    TeEU = flag(inside, g, "EU-Member:", "TeEU", "Is The Nation Member of The EU?");
    TeLStd = field(inside, g, "League Standard:", "TeLStd", "League Standard (1-20, 20=Best)");
    TeU21 = flag(inside, g, "U21 Team:", "TeU21", "Is The Team a U21-Team?");
    TeTCoe = field(inside, g, "T Coeff 89-93:", "TeTCoe", "T Coeff 89-93 (Higher number=more UEFA-Cup places)");
    TeDesc = uncaptioned<QLineEdit>(inside, "TeDesc", "Description of a Player from the Country");
    QStringList descriptions = languageEntries("Description");
    descriptions.last() = QStringLiteral("Dut  Description");
    TeDescC = selector(inside, "TeDescC", descriptions, "Description language", kAbbreviationHint);
    g->addRow(TeDescC, TeDesc);
    pageLayout(2)->addWidget(GroupBox1);

    QFormLayout* f = formOn(pageLayout(2), 2);
    TeGend = uncaptioned<QLineEdit>(Team3, "TeGend", "Gender (Don't Know What it Does)");
    TeGendC = selector(Team3, "TeGendC",
                       {QStringLiteral("Ita Gender"), QStringLiteral("Fre Gender"), QStringLiteral("Por Gender")},
                       "Gender slot", kAbbreviationHint);
    f->addRow(TeGendC, TeGend);
    pageLayout(2)->addStretch(1);
}

// Store order is bind order: the record's field order, each slotted box at its first slot.
void TeamPage::bindFields()
{
    bindSlots(TeLongC, TeLong, {"TeLong0", "TeLong1", "TeLong2", "TeLong3", "TeLong4", "TeLong5", "TeLong6"});
    // The short names' selector repeats the long names' entries; elsewhere they are told apart.
    bindSlots(TeShortC, TeShort, {"TeShort0", "TeShort1", "TeShort2", "TeShort3", "TeShort4", "TeShort5", "TeShort6"},
              languageEntries("Short"));
    bindSlots(TeDescC, TeDesc, {"TeDesc0", "TeDesc1", "TeDesc2", "TeDesc3", "TeDesc4", "TeDesc5", "TeDesc6"});
    bindText(TeNat);
    bindCode(TeReg);
    bindNumber(TeDev);
    bindNumber(TeX);
    bindNumber(TeY);
    bindFlag(TeEU);
    bindNumber(TeTCoe);
    bindText(TeCity);
    bindText(TeStad);
    bindNumber(TeCap);
    bindNumber(TeSeat);
    bindNumber(TeFollow);
    bindNumber(TeRep);
    bindNumber(TeBlend);
    bindCode(TeForm);
    bindCode(TeStyle);
    bindSlots(TeColC, TeColor, {"TeColor0", "TeColor1", "TeColor2", "TeColor3"});
    bindCode(TeDivi);
    bindCode(TeLDivi);
    bindNumber(TeLPos);
    bindNumber(TeCash);
    bindNumber(TeLStd);
    bindFlag(TeU21);
    bindFlag(TeBT);
    bindFlag(TeEsse);
    bindNumber(TeTrRec);
    bindSlots(TeGendC, TeGend, {"TeGend0", "TeGend1", "TeGend2"});
}

void TeamPage::connectHandlers()
{
    connect(TeNew, &QPushButton::clicked, this, &TeamPage::TeNewClick);
    connect(TeDel, &QPushButton::clicked, this, &TeamPage::TeDelClick);
    connect(TeSrc, &QPushButton::clicked, this, &TeamPage::TeSrcClick);
    connect(TeRes, &QPushButton::clicked, this, &TeamPage::TeResClick);
    connect(TeLongC, &QComboBox::activated, this, &TeamPage::TeLongCChange);
    connect(TeShortC, &QComboBox::activated, this, &TeamPage::TeShortCChange);
    connect(TeDescC, &QComboBox::activated, this, &TeamPage::TeDescCChange);
    connect(TeGendC, &QComboBox::activated, this, &TeamPage::TeGendCChange);
    connect(TeColC, &QComboBox::activated, this, &TeamPage::TeColCChange);
    connect(TeForm, &QComboBox::activated, this, &TeamPage::TeFormClick);
    connect(TeStyle, &QComboBox::activated, this, &TeamPage::TeStyleClick);
    connect(TeColor, &QComboBox::activated, this, &TeamPage::TeColorClick);
    connect(TeDivi, &QComboBox::activated, this, &TeamPage::TeDiviClick);
    connect(TeLDivi, &QComboBox::activated, this, &TeamPage::TeLDiviClick);
    connect(TeReg, &QComboBox::activated, this, &TeamPage::TeRegClick);
    // Every change of state counts, also one made by showing a record or by New.
    connect(TeEsse, &QCheckBox::toggled, this, &TeamPage::TeEsseClick);
    connect(TeBT, &QCheckBox::toggled, this, &TeamPage::TeBTClick);
    connect(TeEU, &QCheckBox::toggled, this, &TeamPage::TeEUClick);
    connect(TeU21, &QCheckBox::toggled, this, &TeamPage::TeU21Click);
}

} // namespace editor
