#pragma once
// The Managers tab: the manager table's list and its fields on two sub-pages.

#include "editor/RecordPage.h"

class QCheckBox;
class QComboBox;
class QLineEdit;

namespace editor {

class ManagerPage : public RecordPage {
    Q_OBJECT
public:
    explicit ManagerPage(Prompts& prompts, QWidget* parent = nullptr);

    void ManListClick() { runStep(); }
    void ManNewClick() { runNew(); }
    void ManDelClick() { runDelete(); }
    void ManSrcClick() { runSearch(); }
    void ManResClick() { runReset(); }
    void MaFormaClick() { setModified(); }
    void MaStyleClick() { setModified(); }
    void MaPlayClick() { setModified(); }

    QListView* ManList;
    QTabWidget* ManPa;
    QWidget* Man1;
    QWidget* Man2;
    QPushButton* ManNew;
    QPushButton* ManDel;
    QPushButton* ManSrc;
    QPushButton* ManRes;
    QLabel* MaRec;
    QLabel* MaID;
    QLineEdit* MaForN;
    QLineEdit* MaEft;
    QLineEdit* MaNat;
    QLineEdit* MaClub;
    QLineEdit* MaJoin;
    QLineEdit* MaNatio;
    QLineEdit* MaStart;
    QLineEdit* MaFClub;
    QComboBox* MaForma;
    QComboBox* MaStyle;
    QLineEdit* MaMot;
    QLineEdit* MaJudge;
    QLineEdit* MaRep;
    QLineEdit* MaAr;
    QLineEdit* MaBoard;
    QCheckBox* MaPlay;

protected:
    void listChosen() override { ManListClick(); }
};

} // namespace editor
