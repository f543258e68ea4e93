#pragma once
// The Teams tab: the team table's list, its buttons and its (still empty) field pages.

#include "editor/RecordPage.h"

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

protected:
    void listChosen() override { TeamListClick(); }
};

} // namespace editor
