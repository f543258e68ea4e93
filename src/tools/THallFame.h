#pragma once
// The hall-of-fame editor: the 30 entries of Hiscores.bin in a grid, edited through three boxes.

#include "widgets/LoadedFile.h"
#include "widgets/ToolContext.h"
#include "widgets/ToolWindow.h"

class QLineEdit;
class QPushButton;
class QTableWidget;

class THallFame : public ToolWindow {
    Q_OBJECT
public:
    static constexpr int kRows = 30;

    // Reads Hiscores.bin when it exists; throws GameError when it cannot be read, before the
    // window is ever shown.
    explicit THallFame(ToolContext ctx, QWidget* parent = nullptr);

    void FormShow();
    void ManagSelectCell(int row);
    void ManagerKeyUp();
    void TeamKeyUp();
    void PointsKeyUp();
    void Button1Click() override;
    void Button2Click() override;
    bool FormClose() override;

    bool isModified() const { return modified_; }

    QTableWidget* Manag;
    QLineEdit* Manager;
    QLineEdit* Team;
    QLineEdit* Points;
    QPushButton* Button1;
    QPushButton* Button2;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void copyToCell(QLineEdit* box, int column);
    // False when nothing was written (an error, or another program's change the user chose to
    // keep): the window then stays open with its edits.
    bool save();

    ToolContext ctx_;
    LoadedFile loaded_;
    bool modified_ = false; // the grid's modified mark
    bool saved_ = false;    // a successful save closes without asking again
};
