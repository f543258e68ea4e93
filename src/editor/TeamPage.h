#pragma once
// The Teams tab: the team table's list and its fields on three sub-pages. Five selectors choose
// which language, colour or gender slot the box beside them edits.

#include "editor/RecordPage.h"

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLineEdit;

namespace editor {

class TeamPage : public RecordPage {
    Q_OBJECT
public:
    explicit TeamPage(Prompts& prompts, QWidget* parent = nullptr);

    void TeamListClick() { runStep(); }
    void TeNewClick() { runNew(); }
    void TeDelClick() { runDelete(); }
    void TeSrcClick() { runSearch(); }
    void TeResClick() { runReset(); }
    void TeLongCChange() { runSlotSwitch(TeLongC); }
    void TeShortCChange() { runSlotSwitch(TeShortC); }
    void TeDescCChange() { runSlotSwitch(TeDescC); }
    void TeGendCChange() { runSlotSwitch(TeGendC); }
    void TeColCChange() { runSlotSwitch(TeColC); }
    void TeFormClick() { setModified(); }
    void TeStyleClick() { setModified(); }
    void TeColorClick() { setModified(); }
    void TeDiviClick() { setModified(); }
    void TeLDiviClick() { setModified(); }
    void TeRegClick() { setModified(); }
    void TeEsseClick() { setModified(); }
    void TeBTClick() { setModified(); }
    void TeEUClick() { setModified(); }
    void TeU21Click() { setModified(); }

    QListView* TeamList;
    QTabWidget* TeamPa;
    QWidget* Team1;
    QWidget* Team2;
    QWidget* Team3;
    QPushButton* TeNew;
    QPushButton* TeSrc;
    QPushButton* TeDel;
    QPushButton* TeRes;
    QLabel* TeRec;
    QLabel* TeID;
    // Page 1
    QComboBox* TeLongC;
    QLineEdit* TeLong;
    QLineEdit* TeShort;
    QComboBox* TeShortC;
    QLineEdit* TeNat;
    QLineEdit* TeCity;
    QLineEdit* TeStad;
    QLineEdit* TeCap;
    QLineEdit* TeSeat;
    QLineEdit* TeFollow;
    QComboBox* TeForm;
    QComboBox* TeStyle;
    // Page 2
    QLineEdit* TeRep;
    QLineEdit* TeBlend;
    QLineEdit* TeX;
    QLineEdit* TeY;
    QComboBox* TeColor;
    QComboBox* TeColC;
    QComboBox* TeDivi;
    QComboBox* TeLDivi;
    QLineEdit* TeLPos;
    QCheckBox* TeEsse;
    QLineEdit* TeCash;
    QLineEdit* TeTrRec;
    QCheckBox* TeBT;
    // Page 3
    QGroupBox* GroupBox1;
    QComboBox* TeReg;
    QLineEdit* TeDev;
    QCheckBox* TeEU;
    QLineEdit* TeLStd;
    QCheckBox* TeU21;
    QLineEdit* TeTCoe;
    QLineEdit* TeDesc;
    QComboBox* TeDescC;
    QLineEdit* TeGend;
    QComboBox* TeGendC;

protected:
    void listChosen() override { TeamListClick(); }

private:
    void buildPage1();
    void buildPage2();
    void buildPage3();
    void bindFields();
    void connectHandlers();
};

} // namespace editor
