#pragma once
// The Players tab: the player table's list, its buttons and its (still empty) field pages.

#include "editor/RecordPage.h"

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

protected:
    void listChosen() override { PlayListClick(); }
};

} // namespace editor
