#pragma once
// The Players tab: the player table's list and its fields on three sub-pages (personal data,
// positions and ratings, skills).

#include "editor/RecordPage.h"

class QCheckBox;
class QLineEdit;

namespace editor {

class PlayerPage : public RecordPage {
    Q_OBJECT
public:
    explicit PlayerPage(Prompts& prompts, QWidget* parent = nullptr);

    void PlayListClick() { runStep(); }
    void PlNewClick() { runNew(); }
    void PlDelClick() { runDelete(); }
    void PlResClick() { runReset(); }
    void PlSrcClick() { runSearch(); }
    // Any of the ten position boxes clicked by the user.
    void PlPositionClick() { setModified(); }

    QListView* PlayList;
    QTabWidget* PlayPa;
    QWidget* Play1;
    QWidget* Play2;
    QWidget* Play3;
    QPushButton* PlNew;
    QPushButton* PlDel;
    QPushButton* PlRes;
    QPushButton* PlSrc;
    QLabel* PlRec;
    QLabel* PlID;

    // Page 1
    QLineEdit* PlFName;
    QLineEdit* PlSName;
    QLineEdit* PlNation;
    QLineEdit* PlClub;
    QLineEdit* PlDOB;
    QLineEdit* PlAge;
    QLineEdit* PlJDate;
    QLineEdit* PlCEnds;
    QLineEdit* PlCaps;
    QLineEdit* PlGoals;

    // Page 2
    QCheckBox* PlGK;
    QCheckBox* PlDef;
    QCheckBox* PlMid;
    QCheckBox* PlAtt;
    QCheckBox* PlSw;
    QCheckBox* PlAnc;
    QCheckBox* PlSup;
    QCheckBox* PlRight;
    QCheckBox* PlLeft;
    QCheckBox* PlCentral;
    QLineEdit* PlMSk1;
    QLineEdit* PlMSk2;
    QLineEdit* PlMSk3;

    // Page 3
    QLineEdit* PlSk1;
    QLineEdit* PlSk2;
    QLineEdit* PlSk3;
    QLineEdit* PlSk4;
    QLineEdit* PlSk5;
    QLineEdit* PlSk6;
    QLineEdit* PlSk7;
    QLineEdit* PlSk8;
    QLineEdit* PlSk9;
    QLineEdit* PlSk10;
    QLineEdit* PlSk11;
    QLineEdit* PlSk12;
    QLineEdit* PlSk13;
    QLineEdit* PlSk14;
    QLineEdit* PlSk15;
    QLineEdit* PlSk16;
    QLineEdit* PlSk17;
    QLineEdit* PlSk18;
    QLineEdit* PlSk19;
    QLineEdit* PlSk20;
    QLineEdit* PlSk21;
    QLineEdit* PlSk22;
    QLineEdit* PlSk23;
    QLineEdit* PlSk24;

protected:
    void listChosen() override { PlayListClick(); }

private:
    void buildPage1();
    void buildPage2();
    void buildPage3();
    void bindFields();
};

} // namespace editor
