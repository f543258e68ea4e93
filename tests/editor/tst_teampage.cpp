// The team page driven through its widgets: the three sub-pages, the slot selectors, codes and
// regions, flags and the modified mark, key rules, New, Delete, Search and what a save writes.

#include "EditorFixture.h"

#include "editor/TeamPage.h"
#include "gamedb/Schema.h"
#include "gamedb/TeamDb.h"
#include "sample/SampleGame.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QTabBar>
#include <QtTest>

using namespace gamedb;
using fixture::Editor;
using fixture::setTeamBytes;
using fixture::setTeamNumber;
using fixture::setTeamText;
using fixture::teamAt;
using fixture::teamRecord;
using Kind = ScriptedPrompts::Kind;

namespace {

const Field& F(const char* name)
{
    return fieldNamed(kTeamFormat.schema, name);
}

QByteArray rawField(const std::uint8_t* r, const char* name)
{
    return QByteArray(reinterpret_cast<const char*>(r + F(name).offset), F(name).width);
}

QByteArray padded(const QByteArray& text, const char* field)
{
    return text.leftJustified(F(field).width, '\0');
}

QByteArray wholeRecord(const std::uint8_t* r)
{
    return QByteArray(reinterpret_cast<const char*>(r), 1024);
}

const char* const kLang[] = {"UK", "Ita", "Ger", "Spa", "Fre", "Por", "Dut"};

// A team with every field holding a value the page shows and stores back unchanged.
QByteArray fullTeam(int id, const QByteArray& name)
{
    QByteArray r = teamRecord(id, name);
    for (int i = 0; i < 7; ++i) {
        const QByteArray k = QByteArray::number(i);
        if (i > 0)
            setTeamText(r, ("TeLong" + k).constData(), name + " " + kLang[i]);
        setTeamText(r, ("TeShort" + k).constData(), name.left(6) + " S" + kLang[i]);
        setTeamText(r, ("TeDesc" + k).constData(), "Desc " + QByteArray(kLang[i]));
    }
    setTeamText(r, "TeNat", "Norland");
    setTeamText(r, "TeReg", "Northern Europe");
    setTeamNumber(r, "TeDev", 2);
    setTeamNumber(r, "TeX", 120);
    setTeamNumber(r, "TeY", 45);
    setTeamNumber(r, "TeEU", 1);
    setTeamNumber(r, "TeTCoe", 33);
    setTeamText(r, "TeCity", "Aarhem");
    setTeamText(r, "TeStad", "Aarhem Park");
    setTeamNumber(r, "TeCap", 45000);
    setTeamNumber(r, "TeSeat", 12000);
    setTeamNumber(r, "TeFollow", 30);
    setTeamNumber(r, "TeRep", 14);
    setTeamNumber(r, "TeBlend", 9);
    setTeamText(r, "TeForm", "442A");
    setTeamText(r, "TeStyle", "PASS");
    setTeamText(r, "TeColor0", "WHI");
    setTeamText(r, "TeColor1", "RED");
    setTeamText(r, "TeColor2", "BLU");
    setTeamText(r, "TeColor3", "BLA");
    setTeamText(r, "TeDivi", "ND1");
    setTeamText(r, "TeLDivi", "BD1");
    setTeamNumber(r, "TeLPos", 3);
    setTeamNumber(r, "TeCash", 5000);
    setTeamNumber(r, "TeLStd", 12);
    setTeamNumber(r, "TeEsse", 1);
    setTeamNumber(r, "TeTrRec", 1200000);
    setTeamNumber(r, "TeGend0", 1);
    setTeamNumber(r, "TeGend1", 2);
    setTeamNumber(r, "TeGend2", 3);
    return r;
}

// Sorted, the list reads Aarhem United (2), Borgvik (3), Vadmo Rovers (1).
QList<QByteArray> three()
{
    return {fullTeam(0, "Vadmo Rovers"), fullTeam(1, "Aarhem United"), fullTeam(3, "Borgvik")};
}

struct Loaded {
    Editor e;
    editor::TeamPage* p = nullptr;
    explicit Loaded(const QList<QByteArray>& teams)
    {
        fixture::writeTeams(e, teams);
        e.load(false, true);
        p = &fixture::teamPage(e);
        e.ed().Menu->setCurrentWidget(p);
    }
};

void retype(QLineEdit* box, const QString& text)
{
    box->selectAll();
    QTest::keyClick(box, Qt::Key_Backspace);
    QTest::keyClicks(box, text);
}

// From first, the page's fields, list and buttons in the order Tab visits them.
QStringList tabOrder(QWidget* page, QWidget* first)
{
    auto isControl = [](QWidget* w) {
        return qobject_cast<QLineEdit*>(w) || qobject_cast<QComboBox*>(w) || qobject_cast<QCheckBox*>(w) ||
               qobject_cast<QPushButton*>(w) || qobject_cast<QListView*>(w);
    };
    QStringList out{first->objectName()};
    QWidget* w = first->nextInFocusChain();
    for (; w != first; w = w->nextInFocusChain()) {
        if ((w->focusPolicy() & Qt::TabFocus) && page->isAncestorOf(w) && isControl(w))
            out << w->objectName();
    }
    return out;
}

} // namespace

class TestTeamPage : public QObject {
    Q_OBJECT
private slots:
    void fieldsCaptionsAndNames();
    void entriesOfTheDropDowns();
    void tabOrderOfEachSubPage();
    void showsEveryFieldWithSelectorsOnTheirFirstEntries();
    void selectorsStoreTheirSlotAtOnce();
    void aSlotThatCannotBeStoredKeepsTheSelector();
    void codesAndRegionsShowAndStore_data();
    void codesAndRegionsShowAndStore();
    void untouchedValuesSurviveBrowsingSlotsAndSave();
    void flagsStoreOneOrZero_data();
    void flagsStoreOneOrZero();
    void flagChangesSetTheModifiedMark();
    void keyFilters_data();
    void keyFilters();
    void newKeepsWhatWasTypedAndStartsClean();
    void newAtTheLimitIsRefused();
    void deleteRemovesTheRecordShown_data();
    void deleteRemovesTheRecordShown();
    void searchAndReset();
    void numbersThatDoNotFitAreRefused_data();
    void numbersThatDoNotFitAreRefused();
    void saveChangesExactlyTheEditedBytes();
};

void TestTeamPage::fieldsCaptionsAndNames()
{
    Editor e;
    fixture::writeTeams(e, three());
    auto& p = *e.open().TeamTab;

    QList<QWidget*> fields;
    for (auto* w : p.findChildren<QLineEdit*>())
        fields << w;
    for (auto* w : p.findChildren<QComboBox*>())
        fields << w;
    QCOMPARE(fields.size(), 31);
    const QStringList noHint{"TeLongC", "TeShortC", "TeColC"};
    for (QWidget* w : fields) {
        QString name = w->accessibleName();
        for (QLabel* l : p.findChildren<QLabel*>()) {
            if (l->buddy() == w)
                name = l->text();
        }
        QVERIFY2(!name.isEmpty(), qPrintable(w->objectName()));
        QVERIFY2(w->toolTip().isEmpty() == noHint.contains(w->objectName()), qPrintable(w->objectName()));
    }
    // Boxes without a caption read as their hint; selectors by what they choose.
    const QList<std::pair<QWidget*, QString>> spoken{
        {p.TeLong, "Long Name (30 Characters)"},
        {p.TeShort, "Short Name (30 Characters)"},
        {p.TeDesc, "Description of a Player from the Country"},
        {p.TeGend, "Gender (Don't Know What it Does)"},
        {p.TeColor, "Colours"},
        {p.TeLongC, "Long name language"},
        {p.TeShortC, "Short name language"},
        {p.TeDescC, "Description language"},
        {p.TeGendC, "Gender slot"},
        {p.TeColC, "Colour slot"},
    };
    for (const auto& [w, name] : spoken) {
        QCOMPARE(w->accessibleName(), name);
        // Linux reads a drop-down by its entry: the description must say what it is.
        if (qobject_cast<QComboBox*>(w))
            QCOMPARE(w->accessibleDescription(), name);
    }
    auto captionOf = [&](QWidget* w) {
        for (QLabel* l : p.findChildren<QLabel*>()) {
            if (l->buddy() == w)
                return l->text();
        }
        return QString();
    };
    QCOMPARE(captionOf(p.TeNat), QString("Nation:"));
    QCOMPARE(captionOf(p.TeTCoe), QString("T Coeff 89-93:"));
    QCOMPARE(captionOf(p.TeLDivi), QString("Last Division:"));
    QCOMPARE(p.TeCash->toolTip(), QString::fromUtf8("Money in UK £ (in 1000s)"));
    QCOMPARE(p.TeDescC->toolTip(),
             QString("Formation (Look in GX-helpfile (Appendix 3) for the meaning of these abbreviations)"));

    const QList<std::pair<QCheckBox*, QString>> flags{
        {p.TeEsse, "Essential:"}, {p.TeBT, "B-Team:"}, {p.TeEU, "EU-Member:"}, {p.TeU21, "U21 Team:"}};
    for (const auto& [box, caption] : flags) {
        QCOMPARE(box->text(), caption);
        QCOMPARE(box->layoutDirection(), Qt::RightToLeft);
        QVERIFY(!box->toolTip().isEmpty());
    }

    // The caption of the nations' group alone is bold and underlined.
    QCOMPARE(p.GroupBox1->title(), QString("Nations Only!"));
    QVERIFY(p.GroupBox1->font().bold());
    QVERIFY(p.GroupBox1->font().underline());
    for (QWidget* w :
         std::initializer_list<QWidget*>{p.TeReg, p.TeDev, p.TeEU, p.TeLStd, p.TeU21, p.TeTCoe, p.TeDesc, p.TeDescC}) {
        QVERIFY2(p.GroupBox1->isAncestorOf(w), qPrintable(w->objectName()));
        QVERIFY2(!w->font().bold() && !w->font().underline(), qPrintable(w->objectName()));
    }
    QVERIFY(!p.GroupBox1->isAncestorOf(p.TeGend));
    QVERIFY(!p.GroupBox1->isAncestorOf(p.TeGendC));
    QVERIFY(p.Team3->isAncestorOf(p.TeGendC));

    // Before anything is shown the selectors have no entry.
    for (QComboBox* s : {p.TeLongC, p.TeShortC, p.TeDescC, p.TeGendC, p.TeColC})
        QCOMPARE(s->currentIndex(), -1);
}

void TestTeamPage::entriesOfTheDropDowns()
{
    Editor e;
    fixture::writeTeams(e, three());
    auto& p = *e.open().TeamTab;
    auto entries = [](QComboBox* box) {
        QStringList out;
        for (int i = 0; i < box->count(); ++i)
            out << box->itemText(i);
        return out;
    };
    QCOMPARE(entries(p.TeLongC),
             QStringList({"UK Long", "Ita Long", "Ger Long", "Spa Long", "Fre Long", "Por Long", "Dut Long"}));
    QCOMPARE(entries(p.TeShortC), entries(p.TeLongC));
    QCOMPARE(entries(p.TeDescC), QStringList({"UK Description", "Ita Description", "Ger Description", "Spa Description",
                                              "Fre Description", "Por Description", "Dut  Description"}));
    QCOMPARE(entries(p.TeGendC), QStringList({"Ita Gender", "Fre Gender", "Por Gender"}));
    QCOMPARE(entries(p.TeColC), QStringList({"Secondary Home Colour", "Primary Home Colour", "Secondary Away Colour",
                                             "Primary Away Colour"}));
    for (QComboBox* s : {p.TeLongC, p.TeShortC, p.TeDescC, p.TeGendC, p.TeColC})
        QVERIFY(!s->isEditable());

    QCOMPARE(p.TeForm->count(), 19);
    QCOMPARE(p.TeStyle->count(), 4);
    QCOMPARE(p.TeColor->count(), 53);
    QCOMPARE(p.TeColor->itemText(52), QString("Very Dark Wine"));
    QCOMPARE(p.TeDivi->count(), 40);
    QCOMPARE(p.TeLDivi->count(), 40);
    QCOMPARE(p.TeDivi->itemText(0), QString("Belgian Top Division"));
    QCOMPARE(p.TeLDivi->itemText(0), QString("Belgian Top Division "));
    QCOMPARE(entries(p.TeLDivi).mid(1), entries(p.TeDivi).mid(1));
    QCOMPARE(entries(p.TeReg), QStringList({"Asia",           "Balkan",          "Brazil",         "Caribbean",
                                            "Central Africa", "Central America", "Central Europe", "Eastern Europe",
                                            "France",         "Germany",         "Great Britain",  "Italy",
                                            "Low Countries",  "Middle East",     "North Africa",   "Northern Europe",
                                            "Oceania",        "Russia",          "Scandinavia",    "South Africa",
                                            "South America",  "Southern Europe", "Spain"}));
}

void TestTeamPage::tabOrderOfEachSubPage()
{
    Editor e;
    fixture::writeTeams(e, three());
    auto& p = *e.open().TeamTab;
    auto* tabs = p.TeamPa->findChild<QTabBar*>();
    QVERIFY(tabs);
    // From the sub-pages' tabs through the fields in the order of their pages, then the list.
    const QStringList expected =
        QStringList{tabs->objectName()} + QStringList{"TeLongC", "TeLong", "TeShort", "TeShortC", "TeNat",  "TeCity",
                                                      "TeStad",  "TeCap",  "TeSeat",  "TeFollow", "TeForm", "TeStyle"} +
        QStringList{"TeRep",   "TeBlend", "TeX",    "TeY",    "TeColor", "TeColC", "TeDivi",
                    "TeLDivi", "TeLPos",  "TeEsse", "TeCash", "TeTrRec", "TeBT"} +
        QStringList{"TeReg", "TeDev", "TeEU", "TeLStd", "TeU21", "TeTCoe", "TeDesc", "TeDescC", "TeGend", "TeGendC"} +
        QStringList{"TeamList", "TeNew", "TeDel", "TeSrc", "TeRes"};
    QCOMPARE(tabOrder(&p, tabs), expected);
}

void TestTeamPage::showsEveryFieldWithSelectorsOnTheirFirstEntries()
{
    Loaded l(three());
    auto& p = *l.p;
    QCOMPARE(Editor::names(p.TeamList), QStringList({"Aarhem United", "Borgvik", "Vadmo Rovers"}));
    QCOMPARE(p.TeamPa->currentWidget(), p.Team1);
    QCOMPARE(p.TeRec->text(), QString("2"));
    QCOMPARE(p.TeID->text(), QString("1"));
    const QList<std::pair<QLineEdit*, QString>> boxes{
        {p.TeLong, "Aarhem United"},
        {p.TeShort, "Aarhem SUK"},
        {p.TeNat, "Norland"},
        {p.TeCity, "Aarhem"},
        {p.TeStad, "Aarhem Park"},
        {p.TeCap, "45000"},
        {p.TeSeat, "12000"},
        {p.TeFollow, "30"},
        {p.TeRep, "14"},
        {p.TeBlend, "9"},
        {p.TeX, "120"},
        {p.TeY, "45"},
        {p.TeLPos, "3"},
        {p.TeCash, "5000"},
        {p.TeTrRec, "1200000"},
        {p.TeDev, "2"},
        {p.TeLStd, "12"},
        {p.TeTCoe, "33"},
        {p.TeDesc, "Desc UK"},
        {p.TeGend, "1"},
    };
    for (const auto& [box, text] : boxes)
        QCOMPARE(box->text(), text);
    const QList<std::pair<QComboBox*, QString>> drops{
        {p.TeForm, "4-4-2 Attacking"},
        {p.TeStyle, "Passing"},
        {p.TeColor, "White"},
        {p.TeDivi, "Norwegian Top Division"},
        {p.TeLDivi, "Belgian Top Division "},
        {p.TeReg, "Northern Europe"},
        {p.TeLongC, "UK Long"},
        {p.TeShortC, "UK Long"},
        {p.TeColC, "Secondary Home Colour"},
        {p.TeDescC, "UK Description"},
        {p.TeGendC, "Ita Gender"},
    };
    for (const auto& [box, text] : drops)
        QCOMPARE(box->currentText(), text);
    QVERIFY(p.TeEsse->isChecked());
    QVERIFY(p.TeEU->isChecked());
    QVERIFY(!p.TeBT->isChecked());
    QVERIFY(!p.TeU21->isChecked());
    // The value labels are read out by their values.
    QCOMPARE(p.TeRec->accessibleName(), QString("2"));
    QCOMPARE(p.TeID->accessibleName(), QString("1"));

    // Moved away from their first entries, every selector is back there after a record is shown.
    for (QComboBox* s : {p.TeLongC, p.TeShortC, p.TeDescC, p.TeGendC, p.TeColC})
        QTest::keyClick(s, Qt::Key_Down);
    QCOMPARE(p.TeGendC->currentIndex(), 1);
    Editor::clickRow(p.TeamList, 2);
    QCOMPARE(p.TeRec->text(), QString("1"));
    for (QComboBox* s : {p.TeLongC, p.TeShortC, p.TeDescC, p.TeGendC, p.TeColC})
        QCOMPARE(s->currentIndex(), 0);
    QCOMPARE(p.TeLong->text(), QString("Vadmo Rovers"));
    QCOMPARE(p.TeGend->text(), QString("1"));
}

void TestTeamPage::selectorsStoreTheirSlotAtOnce()
{
    Loaded l(three());
    auto& p = *l.p;
    QByteArray expected = fullTeam(1, "Aarhem United");
    QCOMPARE(wholeRecord(teamAt(l.e, 2)), expected);

    retype(p.TeLong, "Nordby Athletic");
    p.clearModified();
    QTest::keyClick(p.TeLongC, Qt::Key_Down);
    QCOMPARE(p.TeLongC->currentText(), QString("Ita Long"));
    QCOMPARE(rawField(teamAt(l.e, 2), "TeLong0"), padded("Nordby Athletic", "TeLong0"));
    QCOMPARE(p.TeLong->text(), QString("Aarhem United Ita"));
    QVERIFY(!p.isModified());
    QTest::keyClick(p.TeLongC, Qt::Key_Down);
    QTest::keyClick(p.TeLongC, Qt::Key_Down);
    QCOMPARE(p.TeLong->text(), QString("Aarhem United Spa"));
    QTest::keyClick(p.TeLongC, Qt::Key_Home);
    QCOMPARE(p.TeLong->text(), QString("Nordby Athletic"));
    setTeamText(expected, "TeLong0", "Nordby Athletic");

    // Each selector keeps its own slot.
    QTest::keyClick(p.TeLongC, Qt::Key_End);
    QCOMPARE(p.TeLong->text(), QString("Aarhem United Dut"));
    QCOMPARE(p.TeShortC->currentIndex(), 0);
    QCOMPARE(p.TeShort->text(), QString("Aarhem SUK"));
    for (int i = 0; i < 4; ++i)
        QTest::keyClick(p.TeShortC, Qt::Key_Down);
    QCOMPARE(p.TeShort->text(), QString("Aarhem SFre"));
    retype(p.TeShort, "Aarhem F");
    QCOMPARE(p.TeLongC->currentIndex(), 6);
    retype(p.TeLong, "Aarhem Dutch");
    p.TeamPa->setCurrentWidget(p.Team3);
    QTest::keyClick(p.TeDescC, Qt::Key_Down);
    QCOMPARE(p.TeDesc->text(), QString("Desc Ita"));
    retype(p.TeDesc, "Italian desc");

    // The gender box is a number over one byte per slot.
    QTest::keyClick(p.TeGendC, Qt::Key_Down);
    QCOMPARE(p.TeGend->text(), QString("2"));
    QTest::keyClicks(p.TeGend, "7");
    QTest::keyClick(p.TeGendC, Qt::Key_Down);
    QCOMPARE(p.TeGend->text(), QString("3"));
    QCOMPARE(readNumber(teamAt(l.e, 2), F("TeGend1")), 27LL);
    setTeamNumber(expected, "TeGend1", 27);

    // The colour box is a value drop-down over a code per slot.
    p.TeamPa->setCurrentWidget(p.Team2);
    p.clearModified();
    QTest::keyClick(p.TeColC, Qt::Key_Down);
    QCOMPARE(p.TeColor->currentText(), QString("Red"));
    QTest::keyClick(p.TeColor, Qt::Key_Down); // a choice of the user's: it marks the page
    QCOMPARE(p.TeColor->currentText(), QString("Dark Red"));
    QVERIFY(p.isModified());
    p.clearModified();
    QTest::keyClick(p.TeColC, Qt::Key_Down);
    QCOMPARE(p.TeColor->currentText(), QString("Blue"));
    QCOMPARE(rawField(teamAt(l.e, 2), "TeColor1"), padded("DRED", "TeColor1"));
    QVERIFY(!p.isModified());
    setTeamText(expected, "TeColor1", "DRED");

    // The store step writes the boxes into the slots they hold; every other slot keeps its bytes.
    Editor::clickRow(p.TeamList, 0);
    setTeamText(expected, "TeLong6", "Aarhem Dutch");
    setTeamText(expected, "TeShort4", "Aarhem F");
    setTeamText(expected, "TeDesc1", "Italian desc");
    QCOMPARE(wholeRecord(teamAt(l.e, 2)), expected);
    for (QComboBox* s : {p.TeLongC, p.TeShortC, p.TeDescC, p.TeGendC, p.TeColC})
        QCOMPARE(s->currentIndex(), 0);
    QCOMPARE(p.TeLong->text(), QString("Nordby Athletic"));
    QVERIFY(l.e.prompts.asked.isEmpty());
}

void TestTeamPage::aSlotThatCannotBeStoredKeepsTheSelector()
{
    Loaded l(three());
    auto& p = *l.p;
    const QByteArray before = wholeRecord(teamAt(l.e, 2));
    p.TeGend->setText("300"); // as pasted: typing stops at two digits
    QTest::keyClick(p.TeGendC, Qt::Key_Down);
    QCOMPARE(l.e.prompts.texts(Kind::GeneralError),
             QStringList("'300' does not fit this field: allowed are 0 to 255."));
    QCOMPARE(p.TeGendC->currentIndex(), 0);
    QCOMPARE(p.TeGend->text(), QString("300"));
    QCOMPARE(wholeRecord(teamAt(l.e, 2)), before);

    // Corrected, the switch goes through.
    l.e.prompts.clear();
    retype(p.TeGend, "25");
    QTest::keyClick(p.TeGendC, Qt::Key_Down);
    QCOMPARE(p.TeGendC->currentIndex(), 1);
    QCOMPARE(readNumber(teamAt(l.e, 2), F("TeGend0")), 25LL);
    QVERIFY(l.e.prompts.asked.isEmpty());
}

void TestTeamPage::codesAndRegionsShowAndStore_data()
{
    QTest::addColumn<QByteArray>("field");
    QTest::addColumn<QString>("control");
    QTest::addColumn<QByteArray>("raw");
    QTest::addColumn<QString>("shown");
    QTest::newRow("formation code, other bytes after it")
        << QByteArray("TeForm") << "TeForm" << QByteArray("442AXYZ12Q") << "4-4-2 Attacking";
    QTest::newRow("unknown style") << QByteArray("TeStyle") << "TeStyle" << QByteArray("SHORT") << "";
    QTest::newRow("style in small letters") << QByteArray("TeStyle") << "TeStyle" << QByteArray("pass") << "";
    QTest::newRow("unknown colour") << QByteArray("TeColor0") << "TeColor" << QByteArray("PINK") << "";
    QTest::newRow("colour with a zero and a byte after it")
        << QByteArray("TeColor0") << "TeColor" << QByteArray("VDWIN\0Q", 7) << "Very Dark Wine";
    QTest::newRow("division code then letters")
        << QByteArray("TeDivi") << "TeDivi" << QByteArray("EPRX") << "English Premier League";
    QTest::newRow("last division, first entry")
        << QByteArray("TeLDivi") << "TeLDivi" << QByteArray("BD1") << "Belgian Top Division ";
    QTest::newRow("unknown last division") << QByteArray("TeLDivi") << "TeLDivi" << QByteArray("XD1") << "";
    QTest::newRow("region") << QByteArray("TeReg") << "TeReg" << QByteArray("Spain") << "Spain";
    QTest::newRow("region followed by more letters")
        << QByteArray("TeReg") << "TeReg" << QByteArray("Central Americas") << "Central America";
    QTest::newRow("unknown region") << QByteArray("TeReg") << "TeReg" << QByteArray("Atlantis") << "";
    QTest::newRow("region in small letters") << QByteArray("TeReg") << "TeReg" << QByteArray("spain") << "";
    QTest::newRow("no region") << QByteArray("TeReg") << "TeReg" << QByteArray() << "";
}

// Stored back untouched, a drop-down keeps the field's bytes, whatever they hold; the entry the
// user chooses stores its code and zero bytes.
void TestTeamPage::codesAndRegionsShowAndStore()
{
    QFETCH(QByteArray, field);
    QFETCH(QString, control);
    QFETCH(QByteArray, raw);
    QFETCH(QString, shown);
    QByteArray team = fullTeam(0, "Aarhem United");
    setTeamBytes(team, field.constData(), QByteArray(F(field.constData()).width, '\0'));
    setTeamBytes(team, field.constData(), raw);
    Loaded l({team});
    auto& p = *l.p;
    auto* box = p.findChild<QComboBox*>(control);
    QCOMPARE(box->currentText(), shown);
    QCOMPARE(box->currentIndex() >= 0, !shown.isEmpty());
    Editor::clickRow(p.TeamList, 0);
    QCOMPARE(rawField(teamAt(l.e, 1), field.constData()), padded(raw, field.constData()));

    const int before = box->currentIndex();
    QTest::keyClick(box, before == box->count() - 1 ? Qt::Key_Up : Qt::Key_Down);
    const int chosen = box->currentIndex();
    QVERIFY(chosen >= 0 && chosen != before);
    const std::string_view code = (*F(field.constData()).codes)[std::size_t(chosen)].code;
    Editor::clickRow(p.TeamList, 0);
    QCOMPARE(rawField(teamAt(l.e, 1), field.constData()),
             padded(QByteArray(code.data(), qsizetype(code.size())), field.constData()));
}

// Codes the drop-downs cannot show, in plain fields and in colour slots, and flag bytes of 2:
// shown, every colour slot visited, left and saved, not one byte changes. A colour the user
// chooses is written into its own slot only.
void TestTeamPage::untouchedValuesSurviveBrowsingSlotsAndSave()
{
    QByteArray odd = fullTeam(1, "Aarhem United");
    setTeamText(odd, "TeForm", "BOGUS");
    setTeamText(odd, "TeReg", "Atlantis");
    setTeamText(odd, "TeColor0", "PLAID");
    setTeamText(odd, "TeColor2", "ZZZ");
    setTeamBytes(odd, "TeColor3", QByteArray("RED\0X", 5));
    setTeamBytes(odd, "TeEsse", QByteArray(1, '\2'));
    setTeamBytes(odd, "TeU21", QByteArray(1, '\2'));
    Loaded l({fullTeam(0, "Vadmo Rovers"), odd});
    auto& p = *l.p;
    const QByteArray before = wholeRecord(teamAt(l.e, 2));
    QCOMPARE(p.TeRec->text(), QString("2"));
    QCOMPARE(p.TeForm->currentIndex(), -1);
    QCOMPARE(p.TeReg->currentIndex(), -1);

    p.TeamPa->setCurrentWidget(p.Team2);
    for (int slot = 1; slot <= 3; ++slot)
        QTest::keyClick(p.TeColC, Qt::Key_Down);
    QCOMPARE(p.TeColor->currentText(), QString("Red"));
    QTest::keyClick(p.TeColC, Qt::Key_Home);
    Editor::clickRow(p.TeamList, 1);
    Editor::clickRow(p.TeamList, 0);
    QTest::mouseClick(p.TeRes, Qt::LeftButton);
    l.e.save(false, true);
    QCOMPARE(l.e.prompts.texts(Kind::GeneralError), QStringList());
    QCOMPARE(wholeRecord(teamAt(l.e, 2)), before);
    const auto at = qsizetype(kTeamFormat.recordsStart() + kTeamFormat.recordSize);
    QCOMPARE(testfiles::readAll(l.e.path(kTeamFormat)).mid(at, qsizetype(kTeamFormat.recordSize)), before);

    // Slot 2 given a colour: that slot is written; slot 0's unknown code stays.
    QCOMPARE(p.TeRec->text(), QString("2"));
    QTest::keyClick(p.TeColC, Qt::Key_Down);
    QTest::keyClick(p.TeColC, Qt::Key_Down);
    QCOMPARE(p.TeColor->currentIndex(), -1);
    QTest::keyClick(p.TeColor, Qt::Key_Down);
    QCOMPARE(p.TeColor->currentText(), QString("Black"));
    Editor::clickRow(p.TeamList, 1);
    QByteArray expected = before;
    setTeamText(expected, "TeColor2", "BLA");
    QCOMPARE(wholeRecord(teamAt(l.e, 2)), expected);
}

void TestTeamPage::flagsStoreOneOrZero_data()
{
    QTest::addColumn<QByteArray>("flag");
    for (const char* f : {"TeEsse", "TeBT", "TeEU", "TeU21"})
        QTest::newRow(f) << QByteArray(f);
}

void TestTeamPage::flagsStoreOneOrZero()
{
    QFETCH(QByteArray, flag);
    QByteArray two = teamRecord(0, "Aarhem");
    setTeamBytes(two, flag.constData(), QByteArray(1, '\2')); // the flag's encoding holds only 0 and 1
    QByteArray one = teamRecord(1, "Borgvik");
    setTeamNumber(one, flag.constData(), 1);
    Loaded l({two, one});
    auto& p = *l.p;
    auto* box = p.findChild<QCheckBox*>(QString::fromLatin1(flag));
    QVERIFY(!box->isChecked());
    Editor::clickRow(p.TeamList, 1);
    // Untouched, the byte stays as it was.
    QCOMPARE(readNumber(teamAt(l.e, 1), F(flag.constData())), 2LL);
    QVERIFY(box->isChecked());
    // Unchecked by the user, it stores 0; the next show from the table agrees.
    p.TeamPa->setCurrentIndex(flag == "TeEsse" || flag == "TeBT" ? 1 : 2);
    QTest::keyClick(box, Qt::Key_Space);
    QVERIFY(!box->isChecked());
    Editor::clickRow(p.TeamList, 1);
    QCOMPARE(readNumber(teamAt(l.e, 2), F(flag.constData())), 0LL);
    QVERIFY(!box->isChecked());
    // The 2, ticked by the user, becomes 1.
    Editor::clickRow(p.TeamList, 0);
    QVERIFY(!box->isChecked());
    QTest::keyClick(box, Qt::Key_Space);
    Editor::clickRow(p.TeamList, 1);
    QCOMPARE(readNumber(teamAt(l.e, 1), F(flag.constData())), 1LL);
}

void TestTeamPage::flagChangesSetTheModifiedMark()
{
    // Sorted: Aarhem (2, no flags), Borgvik (3, no flags), Vadmo (1, B-team).
    QByteArray vadmo = teamRecord(0, "Vadmo");
    setTeamNumber(vadmo, "TeBT", 1);
    Loaded l({vadmo, teamRecord(1, "Aarhem"), teamRecord(3, "Borgvik")});
    auto& p = *l.p;
    QVERIFY(!p.isModified()); // the first record's flags match the boxes
    Editor::clickRow(p.TeamList, 1);
    QVERIFY(!p.isModified());
    Editor::clickRow(p.TeamList, 2);
    QVERIFY(p.TeBT->isChecked());
    QVERIFY(p.isModified());
    QVERIFY(l.e.ed().anyModified());

    // New unchecks the box: a change of state too.
    p.clearModified();
    QTest::mouseClick(p.TeNew, Qt::LeftButton);
    QVERIFY(!p.TeBT->isChecked());
    QVERIFY(p.isModified());

    // A record whose flag is set, shown first after a load, marks the page at once.
    Editor e2;
    QByteArray essential = teamRecord(0, "Aarhem");
    setTeamNumber(essential, "TeEsse", 1);
    fixture::writeTeams(e2, {essential});
    e2.load(false, true);
    QVERIFY(fixture::teamPage(e2).TeEsse->isChecked());
    QVERIFY(e2.ed().anyModified());
}

void TestTeamPage::keyFilters_data()
{
    QTest::addColumn<QString>("control");
    QTest::addColumn<QString>("before");
    QTest::addColumn<QString>("keys");
    QTest::addColumn<QString>("after");
    const QString thirty(30, QLatin1Char('n'));
    QTest::newRow("31st character of a name") << "TeLong" << thirty << "x" << thirty;
    QTest::newRow("names take any character") << "TeStad"
                                              << ""
                                              << "A-1 b."
                                              << "A-1 b.";
    QTest::newRow("backspace at the limit") << "TeDesc" << thirty << "\b" << thirty.left(29);
    QTest::newRow("a longer text from the file takes more")
        << "TeNat" << QString(35, QLatin1Char('n')) << "x" << QString(35, QLatin1Char('n')) + "x";
    QTest::newRow("seventh digit of the capacity") << "TeCap"
                                                   << "123456"
                                                   << "7"
                                                   << "123456";
    QTest::newRow("digits only") << "TeSeat"
                                 << ""
                                 << "1a2 -3"
                                 << "123";
    QTest::newRow("transfer record to eight") << "TeTrRec"
                                              << ""
                                              << "123456789"
                                              << "12345678";
    QTest::newRow("following to three") << "TeFollow"
                                        << ""
                                        << "1234"
                                        << "123";
    QTest::newRow("reputation to two") << "TeRep"
                                       << ""
                                       << "123"
                                       << "12";
    QTest::newRow("gender to two") << "TeGend"
                                   << ""
                                   << "9x99"
                                   << "99";
    QTest::newRow("developed takes 1 to 3") << "TeDev"
                                            << ""
                                            << "0456792"
                                            << "2";
    QTest::newRow("developed takes one character") << "TeDev"
                                                   << ""
                                                   << "13"
                                                   << "1";
    QTest::newRow("developed backspace") << "TeDev"
                                         << "3"
                                         << "\b1"
                                         << "1";
}

void TestTeamPage::keyFilters()
{
    QFETCH(QString, control);
    QFETCH(QString, before);
    QFETCH(QString, keys);
    QFETCH(QString, after);
    Loaded l({teamRecord(0, "Aarhem")});
    auto& p = *l.p;
    auto* box = p.findChild<QLineEdit*>(control);
    box->setText(before);
    box->setCursorPosition(int(before.size()));
    p.clearModified();
    bool anyTaken = false;
    for (QChar c : keys) {
        const QString was = box->text();
        if (c == QLatin1Char('\b'))
            QTest::keyClick(box, Qt::Key_Backspace);
        else
            QTest::keyClicks(box, QString(c));
        anyTaken = anyTaken || box->text() != was;
    }
    QCOMPARE(box->text(), after);
    QCOMPARE(p.isModified(), anyTaken); // refused keys leave the mark alone
}

void TestTeamPage::newKeepsWhatWasTypedAndStartsClean()
{
    Loaded l(three()); // IDs 0, 1 and 3
    auto& p = *l.p;
    // Typed into the record shown (Aarhem, 2), one name in a slot its selector points at.
    retype(p.TeNat, "Typed Nation");
    QTest::keyClick(p.TeLongC, Qt::Key_Down);
    retype(p.TeLong, "Typed Italian");
    QTest::mouseClick(p.TeNew, Qt::LeftButton);

    QCOMPARE(rawField(teamAt(l.e, 2), "TeNat"), padded("Typed Nation", "TeNat"));
    QCOMPARE(rawField(teamAt(l.e, 2), "TeLong1"), padded("Typed Italian", "TeLong1"));
    QCOMPARE(p.table().count(), 4);
    QCOMPARE(p.TeID->text(), QString("2"));
    QCOMPARE(p.TeRec->text(), QString("4"));
    QCOMPARE(readNumber(teamAt(l.e, 4), F("TeID")), 2LL);
    QCOMPARE(wholeRecord(teamAt(l.e, 4)).mid(4), QByteArray(1020, '\0'));
    for (QLineEdit* box : {p.TeLong, p.TeShort, p.TeNat, p.TeStad, p.TeCity, p.TeDesc})
        QVERIFY2(box->text().isEmpty(), qPrintable(box->objectName()));
    for (QLineEdit* box : {p.TeCap, p.TeSeat, p.TeFollow, p.TeRep, p.TeBlend, p.TeX, p.TeY, p.TeLPos, p.TeCash,
                           p.TeTrRec, p.TeDev, p.TeLStd, p.TeTCoe, p.TeGend})
        QCOMPARE(box->text(), QString("0"));
    for (QComboBox* box : {p.TeForm, p.TeStyle, p.TeColor, p.TeDivi, p.TeLDivi, p.TeReg}) {
        QCOMPARE(box->currentIndex(), -1);
        QVERIFY(box->currentText().isEmpty());
    }
    for (QCheckBox* box : {p.TeEsse, p.TeBT, p.TeEU, p.TeU21})
        QVERIFY(!box->isChecked());
    for (QComboBox* s : {p.TeLongC, p.TeShortC, p.TeDescC, p.TeGendC, p.TeColC})
        QCOMPARE(s->currentIndex(), 0);
    QCOMPARE(Editor::names(p.TeamList).first(), QString(" , "));
    QCOMPARE(Editor::recordAt(p.TeamList, 0), 4);

    // The new record takes what is typed into it at the next store; its line stays " , ".
    QTest::keyClicks(p.TeLong, "Nyby");
    QTest::keyClick(p.TeGendC, Qt::Key_End);
    QTest::keyClicks(p.TeGend, "5");
    Editor::clickRow(p.TeamList, Editor::rowOfRecord(p.TeamList, 1));
    QCOMPARE(rawField(teamAt(l.e, 4), "TeLong0"), padded("Nyby", "TeLong0"));
    QCOMPARE(readNumber(teamAt(l.e, 4), F("TeGend2")), 5LL);
    QCOMPARE(readNumber(teamAt(l.e, 4), F("TeGend0")), 0LL);
    QCOMPARE(Editor::names(p.TeamList).first(), QString(" , "));

    // With no records the first New gives ID 0 and record number 1.
    Editor empty;
    fixture::writeTeams(empty, {});
    empty.load(false, true);
    auto& q = fixture::teamPage(empty);
    QTest::mouseClick(q.TeNew, Qt::LeftButton);
    QCOMPARE(q.TeID->text(), QString("0"));
    QCOMPARE(q.TeRec->text(), QString("1"));
    QVERIFY(empty.prompts.asked.isEmpty());
}

void TestTeamPage::newAtTheLimitIsRefused()
{
    Editor e;
    sample::writeSampleTeams(e.dir.path(), 2299);
    e.load(false, true);
    auto& p = fixture::teamPage(e);
    QTest::mouseClick(p.TeNew, Qt::LeftButton);
    QCOMPARE(p.TeRec->text(), QString("2300"));
    QCOMPARE(p.table().count(), 2300);
    QVERIFY(e.prompts.asked.isEmpty());
    retype(p.TeLong, "Last One");
    QTest::mouseClick(p.TeNew, Qt::LeftButton);
    QCOMPARE(e.prompts.texts(Kind::Notice),
             QStringList("The Team database can only contain 2300 records. You can delete a record, and then add the "
                         "new!"));
    QCOMPARE(p.table().count(), 2300);
    QCOMPARE(p.TeRec->text(), QString("2300"));
    QCOMPARE(p.TeamList->model()->rowCount(), 2300);
    QCOMPARE(rawField(teamAt(e, 2300), "TeLong0"), padded("Last One", "TeLong0"));
}

void TestTeamPage::deleteRemovesTheRecordShown_data()
{
    QTest::addColumn<int>("shown");
    QTest::addColumn<QString>("search");
    QTest::addColumn<QStringList>("left");
    QTest::newRow("a middle record") << 2 << QString() << QStringList({"Borgvik", "Vadmo Rovers"});
    QTest::newRow("the last record") << 3 << QString() << QStringList({"Aarhem United", "Vadmo Rovers"});
    QTest::newRow("after a search that hides it") << 2 << QString("vad") << QStringList({"Borgvik", "Vadmo Rovers"});
}

void TestTeamPage::deleteRemovesTheRecordShown()
{
    QFETCH(int, shown);
    QFETCH(QString, search);
    QFETCH(QStringList, left);
    Loaded l(three());
    auto& p = *l.p;
    Editor::clickRow(p.TeamList, Editor::rowOfRecord(p.TeamList, shown));
    retype(p.TeNat, "dropped");
    if (!search.isEmpty()) {
        l.e.prompts.textAnswers << search;
        QTest::mouseClick(p.TeSrc, Qt::LeftButton);
        QCOMPARE(Editor::names(p.TeamList), QStringList("Vadmo Rovers"));
        QCOMPARE(p.TeRec->text(), QString::number(shown));
    }
    p.clearModified();
    QTest::mouseClick(p.TeDel, Qt::LeftButton);

    QCOMPARE(p.table().count(), 2);
    QVERIFY(p.isModified());
    QCOMPARE(Editor::names(p.TeamList), left);
    if (shown == 2) {
        // Borgvik moved into the freed number with its own ID.
        QCOMPARE(rawField(teamAt(l.e, 2), "TeLong0"), padded("Borgvik", "TeLong0"));
        QCOMPARE(readNumber(teamAt(l.e, 2), F("TeID")), 3LL);
    }
    QCOMPARE(rawField(teamAt(l.e, 1), "TeLong0"), padded("Vadmo Rovers", "TeLong0"));
    for (int i = 1; i <= 2; ++i)
        QCOMPARE(rawField(teamAt(l.e, i), "TeNat"), padded("Norland", "TeNat"));
    // The first line is current and highlighted, and its record shown.
    QCOMPARE(p.TeamList->currentIndex().row(), 0);
    QCOMPARE(p.TeamList->selectionModel()->selectedIndexes().size(), 1);
    QCOMPARE(p.TeRec->text(), QString::number(Editor::recordAt(p.TeamList, 0)));
    QCOMPARE(p.TeLong->text(), left.first());
    QCOMPARE(l.e.prompts.texts(Kind::GeneralError), QStringList());
}

void TestTeamPage::searchAndReset()
{
    QList<QByteArray> teams{
        teamRecord(0, "Vadmo Rovers"),   teamRecord(1, "Aarhem United"),
        teamRecord(2, "ROVANIEMI City"), teamRecord(3, "Skj\xf8rn"), // ø in the game's code page
        teamRecord(4, "\xd8rsta"),                                   // Ø
        teamRecord(5, "Borgvik"),
    };
    Loaded l(teams);
    auto& p = *l.p;
    const QString shown = p.TeRec->text();
    retype(p.TeCity, "edited");

    l.e.prompts.textAnswers << QString("rov");
    QTest::mouseClick(p.TeSrc, Qt::LeftButton);
    QCOMPARE(l.e.prompts.texts(Kind::AskText), QStringList("Search|Text to search for"));
    QCOMPARE(Editor::names(p.TeamList), QStringList({"ROVANIEMI City", "Vadmo Rovers"}));
    QCOMPARE(p.TeRec->text(), shown); // nothing stored, nothing shown
    QCOMPARE(p.TeCity->text(), QString("edited"));

    // A second search replaces the first one's list; a letter outside A to Z matches only itself.
    l.e.prompts.textAnswers << QString::fromUtf8("ø");
    QTest::mouseClick(p.TeSrc, Qt::LeftButton);
    QCOMPARE(Editor::names(p.TeamList), QStringList(QString::fromUtf8("Skjørn")));
    l.e.prompts.textAnswers << QString::fromUtf8("Ø");
    QTest::mouseClick(p.TeSrc, Qt::LeftButton);
    QCOMPARE(Editor::names(p.TeamList), QStringList(QString::fromUtf8("Ørsta")));

    // Cancel changes nothing; Reset stores the page and lists every team again.
    QTest::mouseClick(p.TeSrc, Qt::LeftButton);
    QCOMPARE(Editor::names(p.TeamList).size(), 1);
    QTest::mouseClick(p.TeRes, Qt::LeftButton);
    QCOMPARE(p.TeamList->model()->rowCount(), 6);
    QCOMPARE(Editor::names(p.TeamList).first(), QString("Aarhem United"));
    QCOMPARE(rawField(teamAt(l.e, shown.toInt()), "TeCity"), padded("edited", "TeCity"));
    QCOMPARE(p.TeLong->text(), QString::fromUtf8("Ørsta")); // the line current before the Reset
}

void TestTeamPage::numbersThatDoNotFitAreRefused_data()
{
    QTest::addColumn<QString>("box");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("message");
    QTest::newRow("following above 255") << "TeFollow"
                                         << "300"
                                         << "'300' does not fit this field: allowed are 0 to 255.";
    QTest::newRow("X above 255") << "TeX"
                                 << "256"
                                 << "'256' does not fit this field: allowed are 0 to 255.";
    QTest::newRow("Y above 255") << "TeY"
                                 << "999"
                                 << "'999' does not fit this field: allowed are 0 to 255.";
}

void TestTeamPage::numbersThatDoNotFitAreRefused()
{
    QFETCH(QString, box);
    QFETCH(QString, text);
    QFETCH(QString, message);
    Loaded l(three());
    auto& p = *l.p;
    const QByteArray before = wholeRecord(teamAt(l.e, 2));
    retype(p.TeNat, "Changed");
    p.TeamPa->setCurrentWidget(box == "TeFollow" ? p.Team1 : p.Team2);
    retype(p.findChild<QLineEdit*>(box), text); // three digits pass the key rule
    Editor::clickRow(p.TeamList, 2);
    QCOMPARE(l.e.prompts.texts(Kind::GeneralError), QStringList(message));
    QCOMPARE(p.TeRec->text(), QString("2"));
    QCOMPARE(p.TeNat->text(), QString("Changed"));
    QCOMPARE(wholeRecord(teamAt(l.e, 2)), before);
}

void TestTeamPage::saveChangesExactlyTheEditedBytes()
{
    Loaded l(three());
    auto& p = *l.p;
    const QByteArray before = testfiles::readAll(l.e.path(kTeamFormat));

    // One field of each slot kind: a text, a code and a number.
    QTest::keyClick(p.TeLongC, Qt::Key_Down);
    QTest::keyClick(p.TeLongC, Qt::Key_Down);
    retype(p.TeLong, "Aarhem Vereinigt");
    p.TeamPa->setCurrentWidget(p.Team2);
    QTest::keyClick(p.TeColC, Qt::Key_Down);
    QTest::keyClick(p.TeColC, Qt::Key_Down);
    for (int i = 0; i < 5; ++i)
        QTest::keyClick(p.TeColor, Qt::Key_Up); // Blue to Green
    QCOMPARE(p.TeColor->currentText(), QString("Green"));
    p.TeamPa->setCurrentWidget(p.Team3);
    QTest::keyClick(p.TeGendC, Qt::Key_End);
    retype(p.TeGend, "9");
    l.e.save(false, true);
    QCOMPARE(l.e.prompts.texts(Kind::GeneralError), QStringList());
    QVERIFY(!p.isModified());

    QByteArray expected = before;
    expected[893] = '\0';
    expected[894] = '\0';
    QByteArray record = expected.mid(895 + 1024, 1024);
    setTeamText(record, "TeLong2", "Aarhem Vereinigt");
    setTeamText(record, "TeColor2", "GRN");
    setTeamNumber(record, "TeGend2", 9);
    expected.replace(895 + 1024, 1024, record);
    const QByteArray after = testfiles::readAll(l.e.path(kTeamFormat));
    QCOMPARE(after.size(), expected.size());
    QCOMPARE(after, expected);
}

QTEST_MAIN(TestTeamPage)
#include "tst_teampage.moc"
